// The receive parser on its own: fed chunks directly, its replies recorded.

#include "link/Protocol.h"
#include "link/ReadRecBaseThread.h"
#include "settings/DeviceSettings.h"
#include "settings/Sections.h"
#include "sim/SimDevice.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

namespace {
struct Write {
    QByteArray bytes;
    int delay;
};

class FakeThread : public ReadRecBaseThread {
public:
    QList<Write> writes;
    FakeThread() { portOpen = true; }
    void WriteData(const QByteArray& data, int delayMs) override { writes.append({data, delayMs}); }
    bool ClosePort() override {
        portOpen = false;
        return true;
    }
    bool OpenPort(int, ulong& errcode) override {
        errcode = 0;
        return true;
    }
    void Feed(const QByteArray& bytes) {
        chunk = bytes;
        ReceptByte();
        chunk.clear();
    }
    // An expiry of the read timer with no timer change pending.
    void Expire() {
        timerApplied = timerRequests.load();
        TimeOut();
    }
    QByteArray Sent() const {
        QByteArray all;
        for (const Write& w : writes)
            all += w.bytes;
        return all;
    }

protected:
    void run() override {}
};

QByteArray Hex(const char* h) {
    return QByteArray::fromHex(h);
}
QByteArray Padded(const QByteArray& t) {
    QByteArray r = t + "\r\n";
    while (r.size() < 8)
        r.append('\0');
    return r;
}
} // namespace

class TstLinkParser : public QObject {
    Q_OBJECT
    DeviceSettings settings;

private slots:
    void init();
    void intake_data();
    void intake();
    void readyPacket();
    void oldLayoutRead();
    void newLayoutEndRules_data();
    void newLayoutEndRules();
    void brokenReadProgress_data();
    void brokenReadProgress();
    void timeouts();
    void testModeRestart_data();
    void testModeRestart();
    void testQueue();
    void testPacketRules();
    void keyTable_data();
    void keyTable();
    void keyWrite();
    void breakEndsTestMode();
    void soundUpload();
    void soundRejections();
    void soundBeyondLast();
    void soundTimeouts();
    void closedPortIgnoresBytes();
    void fuzz();
};

void TstLinkParser::init() {
    SetDefaultSettings(&settings, false);
    settings.header->firmwareDate = QDate(2012, 4, 19);
    g_deviceSettings = &settings;
}

// Chunks fed in turn; what is written back and what stays buffered.
void TstLinkParser::intake_data() {
    QTest::addColumn<QList<QByteArray>>("chunks");
    QTest::addColumn<bool>("testMode");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<int>("left");
    const QByteArray banner = proto::GreetingBanner();
    const QByteArray answer = proto::GreetingAnswer();
    QTest::newRow("greeting split")
        << QList<QByteArray>{banner.left(5), banner.mid(5)} << false << answer << 0;
    QTest::newRow("greeting with one more byte")
        << QList<QByteArray>{banner + "x"} << false << QByteArray() << 14;
    QTest::newRow("lone 00 dropped") << QList<QByteArray>{Hex("00")} << false << QByteArray() << 0;
    QTest::newRow("lone ff dropped") << QList<QByteArray>{Hex("ff")} << false << QByteArray() << 0;
    QTest::newRow("lone ff kept in test mode")
        << QList<QByteArray>{Hex("ff")} << true << QByteArray() << 0;
    QTest::newRow("CRAA with 7 bytes waits")
        << QList<QByteArray>{QByteArray("CRAA\r\n\0", 7)} << false << QByteArray() << 7;
    QTest::newRow("CRAA with 8 bytes") << QList<QByteArray>{QByteArray("CRAA\r\n\0\0", 8)} << false
                                       << BuildPackCRAA(settings) << 0;
    QTest::newRow("CRAA completed by a second chunk")
        << QList<QByteArray>{"CRAA\r\n", QByteArray("\0\0", 2)} << false << BuildPackCRAA(settings)
        << 0;
    QTest::newRow("service type 1, L=3, 7 bytes waits")
        << QList<QByteArray>{Hex("aa55aa53030100")} << false << QByteArray() << 7;
    QTest::newRow("service type 1, L=3, 8 bytes")
        << QList<QByteArray>{Hex("aa55aa5303010000")} << false << QByteArray() << 0;
    QTest::newRow("service type 9 held below 128")
        << QList<QByteArray>{Hex("aa55aa530209") + QByteArray(100, 'x')} << false << QByteArray()
        << 106;
    QTest::newRow("service type 2 too short for its text waits")
        << QList<QByteArray>{Hex("aa55aa53020200") + "24/05"} << false << QByteArray() << 12;
    QTest::newRow("service type 5 too short for its digits waits")
        << QList<QByteArray>{Hex("aa55aa53000531")} << false << QByteArray() << 7;
    QTest::newRow("thermometer count read unsigned waits")
        << QList<QByteArray>{Hex("a690") + QByteArray(60, '\x01')} << false << QByteArray() << 62;
    QTest::newRow("unrecognised bytes stay bounded")
        << QList<QByteArray>{QByteArray(200, 'q'), QByteArray(200, 'q')} << false << QByteArray()
        << 254;
    QTest::newRow("CRZZ") << QList<QByteArray>{"CRZZ"} << false << QByteArray() << 0;
}

void TstLinkParser::intake() {
    QFETCH(QList<QByteArray>, chunks);
    QFETCH(bool, testMode);
    QFETCH(QByteArray, sent);
    QFETCH(int, left);
    FakeThread t;
    t.testMode = testMode;
    t.currentCommand = 0;
    if (testMode)
        t.testPackOpen = true; // a packet is being collected
    for (const QByteArray& c : chunks)
        t.Feed(c);
    QCOMPARE(t.Sent().toHex(), sent.toHex());
    if (testMode)
        QCOMPARE(t.packBuffer, Hex("ff"));
    else
        QCOMPARE(t.rxBuffer.size(), left);
}

void TstLinkParser::readyPacket() {
    FakeThread t;
    QSignalSpy version(&t, &ReadRecBaseThread::SigSetupVersion);
    QByteArray ready = Hex("ec3030") + "170312" + Hex("07") + Hex("2d") + Hex("000d0a00");
    t.Feed(ready.left(10));
    QCOMPARE(version.count(), 0);
    t.Feed(ready.mid(10));
    QCOMPARE(version.count(), 1);
    QCOMPARE(version.at(0).at(0).toString(), QString("17.03.2012"));
    QCOMPARE(version.at(0).at(1).value<uchar>(), uchar(7));
    QCOMPARE(version.at(0).at(2).value<uchar>(), uchar(0x2d));
    QVERIFY(t.rxBuffer.isEmpty());
}

void TstLinkParser::oldLayoutRead() {
    settings.header->firmwareDate = QDate(2010, 4, 14);
    const proto::ReadLayout layout = proto::ReadLayoutFor(settings.header->firmwareDate);
    FakeThread t;
    QSignalSpy msg(&t, &ReadRecBaseThread::SigMessage);
    QSignalSpy transfer(&t, &ReadRecBaseThread::SigImageEEPROMTransfer);
    t.imageForTransfer = true;
    QByteArray image;
    for (int b = 1; b <= 93; ++b) {
        const QByteArray payload(11, char('A' + b % 20));
        image += payload;
        t.Feed(proto::MakeMemoryFrame(b, payload, layout));
        if (b == 5) {
            // A repeat of the last block, same payload: tolerated, not acknowledged.
            const int before = int(t.writes.size());
            t.Feed(proto::MakeMemoryFrame(b, payload, layout));
            QCOMPARE(int(t.writes.size()), before);
        }
        if (b == 7) {
            // A misframed block is skipped up to the next 'J'.
            QByteArray bad = proto::MakeMemoryFrame(b + 1, payload, layout);
            bad[13] = 'x';
            t.Feed(bad);
            QVERIFY(t.rxBuffer.isEmpty());
        }
    }
    QCOMPARE(t.writes.size(), 93);
    t.Feed(proto::MakeMemoryFrame(proto::kOldEndBlock, {}, layout));
    QCOMPARE(transfer.count(), 1);
    QCOMPARE(transfer.at(0).at(0).toByteArray(), image);
    QVERIFY(!t.imageForTransfer);
    QVERIFY(t.eepromImage.isEmpty());
    QCOMPARE(t.blockCounter, 0);
    QCOMPARE(msg.count(), 0);
}

// The end frame is accepted only at the expected count; any other end breaks
// the read with 302, as does a repeat with other contents.
void TstLinkParser::newLayoutEndRules_data() {
    QTest::addColumn<QDate>("firmware");
    QTest::addColumn<int>("blocksBeforeEnd");
    QTest::addColumn<int>("endNumber");
    QTest::addColumn<int>("code");
    QTest::newRow("3590: complete") << QDate(2011, 1, 1) << 358 << 359 << 121;
    QTest::newRow("3590: end early") << QDate(2011, 1, 1) << 300 << 359 << 302;
    QTest::newRow("3590: end numbered past the limit") << QDate(2011, 1, 1) << 358 << 360 << 302;
    QTest::newRow("3840: complete") << QDate(2012, 4, 19) << 383 << 384 << 121;
    QTest::newRow("3840: end where 3590 ends") << QDate(2012, 4, 19) << 358 << 384 << 302;
}

void TstLinkParser::newLayoutEndRules() {
    QFETCH(QDate, firmware);
    QFETCH(int, blocksBeforeEnd);
    QFETCH(int, endNumber);
    QFETCH(int, code);
    settings.header->firmwareDate = firmware;
    const proto::ReadLayout layout = proto::ReadLayoutFor(firmware);
    FakeThread t;
    QSignalSpy msg(&t, &ReadRecBaseThread::SigMessage);
    QSignalSpy fill(&t, &ReadRecBaseThread::SigFillFields);
    for (int b = 1; b <= blocksBeforeEnd; ++b)
        t.Feed(proto::MakeMemoryFrame(b, QByteArray(10, b == 1 ? 'Z' : '\xff'), layout));
    t.Feed(proto::MakeMemoryFrame(endNumber, QByteArray(10, '\xff'), layout));
    QCOMPARE(msg.count(), 1);
    QCOMPARE(msg.at(0).at(0).toInt(), code);
    QCOMPARE(fill.count(), code == 121 ? 1 : 0);
    QCOMPARE(t.blockCounter, 0);
    QVERIFY(t.eepromImage.isEmpty());
    if (code == 302) // the device is told to break off
        QVERIFY(t.Sent().endsWith(Hex("d700ad00")));
}

void TstLinkParser::brokenReadProgress_data() {
    QTest::addColumn<QDate>("firmware");
    QTest::addColumn<int>("range");
    QTest::newRow("14.04.2010") << QDate(2010, 4, 14) << 1023;
    QTest::newRow("15.04.2010") << QDate(2010, 4, 15) << 358;
}

void TstLinkParser::brokenReadProgress() {
    QFETCH(QDate, firmware);
    QFETCH(int, range);
    settings.header->firmwareDate = firmware;
    FakeThread t;
    QSignalSpy progress(&t, &ReadRecBaseThread::SigSetProgress);
    t.BreakReadEEPROM();
    QCOMPARE(progress.last(), (QList<QVariant>{true, false, range}));
    QCOMPARE(t.Sent(), Hex("d700ad00"));
    QCOMPARE(t.ackPacket, Hex("da00"));
    QVERIFY(t.breakRequested);
}

void TstLinkParser::timeouts() {
    FakeThread t;
    QSignalSpy msg(&t, &ReadRecBaseThread::SigMessage);
    QSignalSpy start(&t, &ReadRecBaseThread::SigStartReadTimer);
    t.rxBuffer = "partial";
    t.imageForTransfer = true;
    t.Expire();
    QVERIFY(t.firstTimeoutSeen);
    QVERIFY(t.rxBuffer.isEmpty());
    QCOMPARE(start.last().at(0).toInt(), 10000);
    QCOMPARE(msg.count(), 0);
    // A handled reply grants the grace again.
    t.Feed(proto::GreetingBanner());
    QVERIFY(!t.firstTimeoutSeen);
    t.Expire();
    QCOMPARE(msg.count(), 0);
    t.Expire();
    QCOMPARE(msg.count(), 1);
    QCOMPARE(msg.at(0).at(0).toInt(), 301);
    QVERIFY(t.imageForTransfer); // a pending save still applies to the next read
    // An expiry that raced with a queued timer change is ignored.
    t.timerApplied = t.timerRequests - 1;
    t.TimeOut();
    QVERIFY(!t.firstTimeoutSeen);
}

void TstLinkParser::testModeRestart_data() {
    QTest::addColumn<QDate>("firmware");
    QTest::addColumn<QByteArray>("sent");
    QTest::newRow("19.04.2012 restarts") << QDate(2012, 4, 19) << Hex("ad00d700");
    QTest::newRow("18.04.2012 sends nothing") << QDate(2012, 4, 18) << QByteArray();
}

void TstLinkParser::testModeRestart() {
    QFETCH(QDate, firmware);
    QFETCH(QByteArray, sent);
    settings.header->firmwareDate = firmware;
    FakeThread t;
    t.testMode = true;
    t.Expire();
    QCOMPARE(t.Sent(), sent);
    if (!sent.isEmpty())
        QCOMPARE(t.writes.last().delay, 25);
}

void TstLinkParser::testQueue() {
    FakeThread t;
    QSignalSpy pack(&t, &ReadRecBaseThread::SigTransTestPack);
    QSignalSpy mini(&t, &ReadRecBaseThread::SigTransMiniKeyPack);
    t.AppendTestCommand(2);
    t.AppendTestCommand(4);
    const QByteArray k = "K012345678901M";
    const QByteArray l = "L0123456789ABM";
    t.Feed(k);
    QVERIFY(t.testMode);
    t.Feed(l);
    t.Feed(k);
    t.AppendTestCommand(10);
    t.Feed(k);
    t.Feed(k); // answered with 6: read the keys
    t.AppendTestCommand(47);
    QCOMPARE(t.currentCommand, int(proto::TC_KEYS_REQUESTED));
    t.Feed(SimDevice::KeyTableBlock(QByteArray(254, '\x21')));
    t.Feed(k); // 47 -> 05 00
    QCOMPARE(pack.count(), 6);
    QCOMPARE(pack.at(1).at(0).toBool(), false);
    QCOMPARE(mini.count(), 1);
    QCOMPARE(mini.at(0).at(0).toByteArray(), QByteArray("4B"));
    QStringList sent;
    QList<int> delays;
    for (const Write& w : t.writes) {
        sent.append(QString::fromLatin1(w.bytes.toHex()));
        delays.append(w.delay);
    }
    QCOMPARE(sent.join(' '), QString("c600 c200 da00 2b00 2c00 2d00 2e00 da00 0500"));
    // Answers to packets wait 25 ms; the key table's acknowledgement does not.
    QCOMPARE(delays, (QList<int>{25, 25, 25, 25, 25, 25, 25, 0, 25}));
    QCOMPARE(t.currentCommand, int(proto::TC_READ_KEYS));
}

void TstLinkParser::testPacketRules() {
    FakeThread t;
    QSignalSpy pack(&t, &ReadRecBaseThread::SigTransTestPack);
    QSignalSpy mini(&t, &ReadRecBaseThread::SigTransMiniKeyPack);
    QSignalSpy start(&t, &ReadRecBaseThread::SigStartReadTimer);
    // In test mode bytes before a packet are skipped; a packet split over two chunks.
    t.testMode = true;
    t.Feed("xxK0123");
    QVERIFY(t.testMode);
    QVERIFY(t.rxBuffer.isEmpty());
    QCOMPARE(t.packBuffer, QByteArray("K0123"));
    QCOMPARE(start.last().at(0).toInt(), 2500);
    QCOMPARE(pack.count(), 0);
    t.Feed("45M");
    QCOMPARE(pack.count(), 1);
    QCOMPARE(pack.at(0).at(1).toByteArray(), QByteArray("K012345M"));
    // 14 bytes ending in 'M' are a packet; 14 without an 'M' are not.
    t.Feed("K012345678901M");
    QCOMPARE(pack.count(), 2);
    t.Feed("K0123456789012");
    QCOMPARE(pack.count(), 2);
    QVERIFY(!t.testPackOpen);
    // A short 'L' packet has no master-menu bytes to read.
    t.Feed("L01M");
    QCOMPARE(pack.count(), 3);
    QCOMPARE(mini.count(), 0);
    // Command 1 leaves test mode and drops the queue.
    t.AppendTestCommand(1);
    t.AppendTestCommand(3);
    t.Feed("K1M");
    QVERIFY(!t.testMode);
    QVERIFY(t.testCommands.isEmpty());
    QCOMPARE(t.writes.last().bytes, Hex("ad00"));
}

void TstLinkParser::keyTable_data() {
    QTest::addColumn<QList<int>>("pieces");
    QTest::newRow("one chunk") << QList<int>{256};
    QTest::newRow("with leading noise") << QList<int>{-3, 256};
    QTest::newRow("three chunks") << QList<int>{100, 100, 56};
    QTest::newRow("byte by byte at the end") << QList<int>{250, 1, 1, 1, 1, 1, 1};
}

void TstLinkParser::keyTable() {
    QFETCH(QList<int>, pieces);
    FakeThread t;
    QSignalSpy keys(&t, &ReadRecBaseThread::SigTransKeysPack);
    t.testMode = true;
    t.currentCommand = proto::TC_KEYS_REQUESTED;
    const QByteArray block = SimDevice::KeyTableBlock(QByteArray(254, '\x33'));
    int pos = 0;
    for (int n : pieces) {
        if (n < 0) {
            t.Feed(QByteArray(-n, '\x01'));
            continue;
        }
        QCOMPARE(keys.count(), 0);
        t.Feed(block.mid(pos, n));
        pos += n;
    }
    // Handed on in the call that completed it, and acknowledged.
    QCOMPARE(keys.count(), 1);
    const QByteArray got = keys.at(0).at(0).toByteArray();
    QCOMPARE(got, block);
    QCOMPARE(got.at(0), char(0xA4));
    QCOMPARE(got.at(255), proto::KeyTableCheck(got.left(255)));
    QCOMPARE(t.writes.last().bytes, Hex("da00"));
    QCOMPARE(t.currentCommand, 0);
}

void TstLinkParser::keyWrite() {
    FakeThread t;
    QSignalSpy ok(&t, &ReadRecBaseThread::SigKeysProgramOk);
    QSignalSpy start(&t, &ReadRecBaseThread::SigStartReadTimer);
    t.AppendTestCommand(11);
    t.Feed("K1M");
    QCOMPARE(t.writes.last().bytes, Hex("2f00"));
    QVERIFY(!t.testMode);
    QVERIFY(t.keyWriteMode);
    // A reply time-out stays armed so a device that never asks fails.
    QCOMPARE(start.last().at(0).toInt(), 2500);
    t.Feed("zz" + Padded("CRGE"));
    QCOMPARE(t.writes.last().bytes, BuildKeysPack(settings));
    QCOMPARE(t.writes.last().bytes.size(), 129);
    QCOMPARE(ok.count(), 0);
    t.Feed(Padded("CRGA"));
    QCOMPARE(ok.count(), 1);
    QVERIFY(t.testMode);
    QVERIFY(!t.keyWriteMode);
}

void TstLinkParser::breakEndsTestMode() {
    FakeThread t;
    t.Feed("K1M");
    QVERIFY(t.testMode);
    t.BreakOperation();
    QCOMPARE(t.writes.last().bytes, Hex("ad00"));
    const int before = int(t.writes.size());
    t.Feed("K2M");
    QCOMPARE(int(t.writes.size()), before); // no answer
    QVERIFY(!t.testMode);
    QVERIFY(!t.breakRequested);
}

namespace {
QList<QList<int>> Progress(const QSignalSpy& spy) {
    QList<QList<int>> r;
    for (const auto& a : spy)
        r.append({a.at(0).toInt(), a.at(1).toInt(), a.at(2).toInt()});
    return r;
}
} // namespace

void TstLinkParser::soundUpload() {
    settings.sounds->packets = {{"a0", "a1", "a2"}, {"b0", "b1"}};
    FakeThread t;
    QSignalSpy progress(&t, &ReadRecBaseThread::SigSetSoundWriteProgress);
    for (const char* req : {"CRaa?", "CRaa?", "CRaa?", "CR--?", "CRaa?", "CRaa?", "CR--?"})
        t.Feed(Padded(req));
    QCOMPARE(Progress(progress),
             (QList<QList<int>>{
                 {0, 0, 0}, {0, 0, 1}, {0, 0, 2}, {1, 1, 0}, {0, 1, 0}, {0, 1, 1}, {2, 2, 0}}));
    QCOMPARE(t.Sent(), QByteArray("a0a1a2") + Hex("5900") + "b0b1");
    QVERIFY(settings.sounds->packets.isEmpty());
    QCOMPARE(t.soundAttempt, 0);
}

void TstLinkParser::soundRejections() {
    settings.sounds->packets = {{"a0"}};
    FakeThread t;
    QSignalSpy progress(&t, &ReadRecBaseThread::SigSetSoundWriteProgress);
    t.Feed(Padded("CRaa?"));
    t.Feed(QByteArray("CR&&\r\n\0", 7)); // 7 bytes: not yet
    QCOMPARE(progress.count(), 1);
    t.Feed(QByteArray(1, '\0'));
    t.Feed(Padded("CR&&"));
    t.Feed(Padded("CR&&"));
    t.Feed(Padded("CR&&"));
    QCOMPARE(Progress(progress),
             (QList<QList<int>>{{0, 0, 0}, {3, 0, 1}, {3, 0, 2}, {3, 0, 3}, {6, 0, 0}}));
    QCOMPARE(t.Sent(), QByteArray("a0") + Hex("590059005900"));
    QCOMPARE(t.soundAttempt, 0);
}

void TstLinkParser::soundBeyondLast() {
    settings.sounds->packets = {{"a0"}};
    FakeThread t;
    QSignalSpy progress(&t, &ReadRecBaseThread::SigSetSoundWriteProgress);
    t.Feed(Padded("CRaa?"));
    t.Feed(Padded("CRaa?"));
    QCOMPARE(Progress(progress), (QList<QList<int>>{{0, 0, 0}, {7, 0, 0}}));
    QCOMPARE(t.soundAttempt, 0);
    QCOMPARE(t.packetIndex, 0);
}

void TstLinkParser::soundTimeouts() {
    settings.sounds->packets = {{"a0", "a1"}};
    FakeThread t;
    QSignalSpy progress(&t, &ReadRecBaseThread::SigSetSoundWriteProgress);
    QSignalSpy msg(&t, &ReadRecBaseThread::SigMessage);
    t.Feed(Padded("CRaa?"));
    for (int i = 0; i < 4; ++i)
        t.Expire();
    QCOMPARE(Progress(progress),
             (QList<QList<int>>{{0, 0, 0}, {4, 0, 1}, {4, 0, 2}, {4, 0, 3}, {5, 0, 0}}));
    QCOMPARE(msg.count(), 1);
    QCOMPARE(msg.at(0).at(0).toInt(), 301);
    QCOMPARE(t.Sent().count(char(0x7F)), 3 * 128);
}

void TstLinkParser::closedPortIgnoresBytes() {
    FakeThread t;
    t.portOpen = false;
    QSignalSpy start(&t, &ReadRecBaseThread::SigStartReadTimer);
    t.Feed(proto::GreetingBanner());
    QVERIFY(t.rxBuffer.isEmpty());
    QVERIFY(t.writes.isEmpty());
    QCOMPARE(start.count(), 0);
}

// Every prefix and many corruptions of valid frames, in and out of test mode
// and at every stage of a read: nothing may read outside a buffer (the
// sanitizer build checks), and the buffers stay bounded.
void TstLinkParser::fuzz() {
    settings.sounds->packets = {{"a0", "a1"}};
    const proto::ReadLayout late = proto::ReadLayoutFor(QDate(2012, 4, 19));
    const proto::ReadLayout old = proto::ReadLayoutFor(QDate(2010, 1, 1));
    const QList<QByteArray> frames{proto::GreetingBanner(),
                                   Hex("ec3030") + "170312" + Hex("02010000d0a00"),
                                   Padded("CRAA"),
                                   Padded("CRHH"),
                                   Padded("CRFF"),
                                   Padded("CR55"),
                                   "CRZZ",
                                   proto::MakeServiceFrame(1, {}),
                                   proto::MakeServiceFrame(2, "\0"
                                                              "24/05/17,10:20:30"),
                                   proto::MakeServiceFrame(2, "\x01"),
                                   proto::MakeServiceFrame(3, {}),
                                   proto::MakeServiceFrame(4, {}),
                                   proto::MakeServiceFrame(5, "17"),
                                   proto::MakeServiceFrame(9, "xyz"),
                                   Hex("a602") + QByteArray(41, '\x05'),
                                   Hex("a700"),
                                   proto::MakeMemoryFrame(1, QByteArray(10, 'Z'), late),
                                   proto::MakeMemoryFrame(2, QByteArray(10, 'Z'), late),
                                   proto::MakeMemoryFrame(384, QByteArray(10, 'Z'), late),
                                   proto::MakeMemoryFrame(1, QByteArray(11, 'Z'), old),
                                   proto::MakeMemoryFrame(94, {}, old),
                                   Padded("CRaa?"),
                                   Padded("CR&&"),
                                   Padded("CR--?"),
                                   Padded("CRGE"),
                                   Padded("CRGA"),
                                   "K012345678901M",
                                   "L0123456789ABM",
                                   "L01M",
                                   SimDevice::KeyTableBlock(QByteArray(254, '\x10'))};
    QRandomGenerator rng(20240517);
    auto check = [](const FakeThread& t) {
        QVERIFY(t.rxBuffer.size() <= 254 + 256);
        QVERIFY(t.packBuffer.size() <= 256);
        QVERIFY(t.eepromImage.size() <= 3840);
    };
    for (int mode = 0; mode < 4; ++mode) {
        for (const QByteArray& f : frames) {
            for (int cut = 1; cut <= f.size(); ++cut) {
                FakeThread t;
                t.testMode = mode == 1;
                t.currentCommand = mode == 2 ? proto::TC_KEYS_REQUESTED : 0;
                t.testMode = t.testMode || mode == 2;
                t.keyWriteMode = mode == 3;
                t.Feed(f.left(cut));
                check(t);
                t.Feed(f.mid(cut));
                check(t);
            }
            for (int round = 0; round < 150; ++round) {
                QByteArray g = f;
                const int flips = 1 + int(rng.bounded(4));
                for (int i = 0; i < flips && !g.isEmpty(); ++i)
                    g[int(rng.bounded(int(g.size())))] = char(rng.bounded(256));
                if (rng.bounded(3) == 0)
                    g.truncate(int(rng.bounded(int(g.size()) + 1)));
                if (rng.bounded(3) == 0)
                    g.append(frames.at(int(rng.bounded(int(frames.size())))));
                FakeThread t;
                t.testMode = mode == 1 || mode == 2;
                t.currentCommand = mode == 2 ? proto::TC_KEYS_REQUESTED : 0;
                t.keyWriteMode = mode == 3;
                t.blockCounter = int(rng.bounded(400));
                t.eepromImage = QByteArray(int(rng.bounded(3840)), 'Z');
                int pos = 0;
                while (pos < g.size()) {
                    const int n = 1 + int(rng.bounded(20));
                    t.Feed(g.mid(pos, n));
                    pos += n;
                    check(t);
                }
            }
        }
    }
}

QTEST_GUILESS_MAIN(TstLinkParser)
#include "tst_linkparser.moc"
