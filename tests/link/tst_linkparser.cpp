// The receive parser on its own: fed chunks directly, its replies recorded.
// Frames come from the simulated device's own encoders, not the link's.

#include "LinkRig.h"

#include "link/Protocol.h"
#include "settings/Sections.h"
#include "support/ByteCompare.h"

#include <QRandomGenerator>

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
    bool ClosePort() override { return true; }
    bool OpenPort(int, ulong&) override { return true; }
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
    QString SentHex() const {
        QStringList r;
        for (const Write& w : writes)
            r.append(QString::fromLatin1(w.bytes.toHex()));
        return r.join(' ');
    }

protected:
    void run() override {}
};

QByteArray Req(const char* t) {
    return SimDevice::Request(t);
}
QByteArray Frame(int block, const QByteArray& payload, bool twoByte) {
    return SimDevice::MemoryFrame(block, payload, twoByte);
}
} // namespace

class TstLinkParser : public QObject {
    Q_OBJECT
    DeviceSettings settings;

private slots:
    void init();
    void intake_data();
    void intake();
    void longThermometerList();
    void oldLayoutRead();
    void newLayoutEndRules_data();
    void newLayoutEndRules();
    void timeouts_data();
    void timeouts();
    void testQueue();
    void testPacketRules();
    void testPacketLoopCodes_data();
    void testPacketLoopCodes();
    void soundRequests_data();
    void soundRequests();
    void fuzz();
};

void TstLinkParser::init() {
    SetDefaultSettings(&settings, false);
    settings.header->firmwareDate = kNewest;
    g_deviceSettings = &settings;
}

// Chunks fed in turn; what is written back and how many bytes stay buffered.
// Modes: 0 normal, 1 test mode with a packet open, 2 key write, 3 port closed.
void TstLinkParser::intake_data() {
    QTest::addColumn<QList<QByteArray>>("chunks");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<int>("left");
    const QByteArray banner = SimDevice::Greeting();
    const QByteArray answer = SimDevice::GreetingAnswer();
    using L = QList<QByteArray>;
    QTest::newRow("greeting split") << L{banner.left(5), banner.mid(5)} << 0 << answer << 0;
    QTest::newRow("greeting and one more byte") << L{banner + "x"} << 0 << QByteArray() << 14;
    QTest::newRow("port closed") << L{banner} << 3 << QByteArray() << 0;
    QTest::newRow("lone 00 dropped") << L{bytes::hex("00")} << 0 << QByteArray() << 0;
    QTest::newRow("lone ff dropped") << L{bytes::hex("ff")} << 0 << QByteArray() << 0;
    QTest::newRow("lone ff kept in test mode") << L{bytes::hex("ff")} << 1 << QByteArray() << 1;
    QTest::newRow("CRAA, 7 bytes wait") << L{Req("CRAA").left(7)} << 0 << QByteArray() << 7;
    QTest::newRow("CRAA, 8 bytes") << L{Req("CRAA")} << 0 << BuildPackCRAA(settings) << 0;
    QTest::newRow("CR77 in two chunks")
        << L{"CR77\r\n", QByteArray(2, '\0')} << 0 << BuildPackCR77(settings) << 0;
    QTest::newRow("CRFF") << L{Req("CRFF")} << 0 << BuildPackCRFF(settings) << 0;
    QTest::newRow("CRZZ, four letters") << L{"CRZZ"} << 0 << QByteArray() << 0;
    QTest::newRow("service L=3, 7 bytes wait")
        << L{bytes::hex("aa55aa53030100")} << 0 << QByteArray() << 7;
    QTest::newRow("service L=3, 8 bytes")
        << L{bytes::hex("aa55aa5303010000")} << 0 << QByteArray() << 0;
    QTest::newRow("service L=0 waits for its type")
        << L{bytes::hex("aa55aa5300"), bytes::hex("01")} << 0 << QByteArray() << 0;
    QTest::newRow("service type 9 held below 128")
        << L{bytes::hex("aa55aa530209") + QByteArray(100, 'x')} << 0 << QByteArray() << 106;
    QTest::newRow("service time too short to read")
        << L{bytes::hex("aa55aa53020200") + "24/05"} << 0 << QByteArray() << 12;
    QTest::newRow("service level too short to read")
        << L{bytes::hex("aa55aa53000531")} << 0 << QByteArray() << 7;
    QTest::newRow("thermometer count is unsigned")
        << L{bytes::hex("a690") + QByteArray(60, '\x01')} << 0 << QByteArray() << 62;
    QTest::newRow("unrecognised bytes stay bounded")
        << L{QByteArray(200, 'q'), QByteArray(200, 'q')} << 0 << QByteArray() << 254;
    QTest::newRow("key write skips to the C")
        << L{"zz" + Req("CRGE")} << 2 << BuildKeysPack(settings) << 0;
    QTest::newRow("keys written, a test packet in the same read")
        << L{Req("CRGA") + "K012345678901M"} << 2 << bytes::hex("da00") << 0;
}

void TstLinkParser::intake() {
    QFETCH(QList<QByteArray>, chunks);
    QFETCH(int, mode);
    QFETCH(QByteArray, sent);
    QFETCH(int, left);
    FakeThread t;
    t.testMode = t.testPackOpen = mode == 1;
    t.keyWriteMode = mode == 2;
    t.portOpen = mode != 3;
    QSignalSpy timer(&t, &ReadRecBaseThread::SigStartReadTimer);
    for (const QByteArray& c : chunks)
        t.Feed(c);
    QCOMPARE(t.Sent().toHex(), sent.toHex());
    QCOMPARE(int(t.rxBuffer.size() + t.packBuffer.size()), left);
    QCOMPARE(timer.isEmpty(), mode == 3);
}

// A list longer than the bound on waiting bytes still arrives whole.
void TstLinkParser::longThermometerList() {
    FakeThread t;
    QSignalSpy therms(&t, &ReadRecBaseThread::SigGetThermsStuct);
    QByteArray records(20 * 20, '\0');
    for (int i = 0; i < records.size(); ++i)
        records[i] = char(i * 13);
    const QByteArray frame = bytes::hex("a614") + records + bytes::hex("00");
    for (int pos = 0; pos < frame.size(); pos += 15)
        t.Feed(frame.mid(pos, 15));
    QCOMPARE(therms.count(), 1);
    QCOMPARE(therms.at(0).at(0).toByteArray(), bytes::hex("14") + records);
}

// Old layout: a block without its 'M' is skipped up to the next 'J'; a stray
// 00 behind a frame does not stop the reply time-out; a repeat is tolerated
// without an acknowledgement; the end frame hands the image on for a file.
// A repeat with other contents fails the read.
void TstLinkParser::oldLayoutRead() {
    settings.header->firmwareDate = QDate(2010, 4, 14);
    FakeThread t;
    QSignalSpy transfer(&t, &ReadRecBaseThread::SigImageEEPROMTransfer);
    QSignalSpy stops(&t, &ReadRecBaseThread::SigStopReadTimer);
    t.imageForTransfer = true;
    QByteArray image;
    for (int b = 1; b <= 93; ++b)
        image += QByteArray(11, char('A' + b % 20));
    auto frame = [&](int b) { return Frame(b, image.mid((b - 1) * 11, 11), false); };
    t.Feed(frame(1));
    QByteArray bad = frame(2);
    bad[13] = 'x';
    t.Feed(bad + "xx");
    QVERIFY(t.rxBuffer.isEmpty());
    t.Feed(frame(2) + bytes::hex("00"));
    QCOMPARE(stops.count(), 3);
    t.Feed(frame(2));
    for (int b = 3; b <= 93; ++b)
        t.Feed(frame(b));
    QCOMPARE(t.SentHex(), QStringList(93, "da00").join(' '));
    t.Feed(Frame(0x5E, {}, false));
    QCOMPARE(transfer.count(), 1);
    QCOMPARE(transfer.at(0).at(0).toByteArray(), image);
    QVERIFY(!t.imageForTransfer);
    QCOMPARE(t.blockCounter, 0);
    QSignalSpy msg(&t, &ReadRecBaseThread::SigMessage);
    QSignalSpy progress(&t, &ReadRecBaseThread::SigSetProgress);
    t.Feed(frame(1));
    t.Feed(frame(1).replace(5, 1, "?"));
    QCOMPARE(Codes(msg), QList<int>{302});
    QCOMPARE(progress.last(), (QList<QVariant>{true, false, 1023}));
    QVERIFY(t.SentHex().endsWith("da00 d700 ad00"));
    QCOMPARE(t.ackPacket, bytes::hex("da00"));
}

// The end frame is accepted only at the expected count; any other end breaks
// the read with 302, tells the device to break off and resets the progress.
void TstLinkParser::newLayoutEndRules_data() {
    QTest::addColumn<QDate>("firmware");
    QTest::addColumn<int>("blocksBeforeEnd");
    QTest::addColumn<int>("endNumber");
    QTest::addColumn<int>("code");
    QTest::newRow("3590: complete") << QDate(2011, 1, 1) << 358 << 359 << 121;
    QTest::newRow("3590: end early") << QDate(2011, 1, 1) << 300 << 359 << 302;
    QTest::newRow("3590: end past the limit") << QDate(2011, 1, 1) << 358 << 360 << 302;
    QTest::newRow("3840: complete") << kNewest << 383 << 384 << 121;
    QTest::newRow("3840: end where 3590 ends") << kNewest << 358 << 384 << 302;
    QTest::newRow("3840: erased image") << kNewest << 383 << 384 << 210;
}

void TstLinkParser::newLayoutEndRules() {
    QFETCH(QDate, firmware);
    QFETCH(int, blocksBeforeEnd);
    QFETCH(int, endNumber);
    QFETCH(int, code);
    settings.header->firmwareDate = firmware;
    FakeThread t;
    QSignalSpy msg(&t, &ReadRecBaseThread::SigMessage);
    QSignalSpy fill(&t, &ReadRecBaseThread::SigFillFields);
    QSignalSpy progress(&t, &ReadRecBaseThread::SigSetProgress);
    const char first = code == 210 ? '\xff' : 'Z';
    for (int b = 1; b <= blocksBeforeEnd; ++b)
        t.Feed(Frame(b, QByteArray(10, b == 1 ? first : '\xff'), true));
    t.Feed(Frame(endNumber, QByteArray(10, '\xff'), true));
    QCOMPARE(Codes(msg), QList<int>{code});
    QCOMPARE(fill.count(), code == 121 ? 1 : 0);
    QCOMPARE(t.blockCounter, 0);
    QVERIFY(t.eepromImage.isEmpty());
    QCOMPARE(t.Sent().endsWith(bytes::hex("d700ad00")), code == 302);
    if (code != 121)
        QCOMPARE(progress.last(), (QList<QVariant>{true, false, 358}));
}

// First expiry: the buffer is dropped, a grace period begins, and test mode
// is restarted with firmware from 19.04.2012. A handled reply grants the grace
// again; the second silent expiry resets the link with 301.
void TstLinkParser::timeouts_data() {
    QTest::addColumn<QDate>("firmware");
    QTest::addColumn<bool>("testMode");
    QTest::addColumn<QString>("sent");
    QTest::newRow("19.04.2012, test mode restarted") << kNewest << true << "ad00 d700";
    QTest::newRow("18.04.2012, nothing sent") << QDate(2012, 4, 18) << true << "";
    QTest::newRow("not in test mode") << kNewest << false << "";
}

void TstLinkParser::timeouts() {
    QFETCH(QDate, firmware);
    QFETCH(bool, testMode);
    QFETCH(QString, sent);
    settings.header->firmwareDate = firmware;
    FakeThread t;
    QSignalSpy msg(&t, &ReadRecBaseThread::SigMessage);
    QSignalSpy start(&t, &ReadRecBaseThread::SigStartReadTimer);
    t.testMode = testMode;
    t.rxBuffer = "partial";
    t.imageForTransfer = true;
    t.Expire();
    QVERIFY(t.rxBuffer.isEmpty());
    QCOMPARE(start.last().at(0).toInt(), 10000);
    QCOMPARE(t.SentHex(), sent);
    if (!sent.isEmpty())
        QCOMPARE(t.writes.last().delay, 25);
    t.Feed(SimDevice::Greeting());
    t.Expire();
    QCOMPARE(msg.count(), 0);
    t.Expire();
    QCOMPARE(Codes(msg), QList<int>{301});
    QVERIFY(!t.testMode);
    QVERIFY(t.imageForTransfer); // a pending save still applies to the next read
    // An expiry that raced with a queued timer change is ignored.
    t.timerApplied = t.timerRequests - 1;
    t.TimeOut();
    QVERIFY(!t.firstTimeoutSeen);
}

// One answer per packet from the queue; what each command sends and which
// command answers the packet after it.
void TstLinkParser::testQueue() {
    FakeThread t;
    QSignalSpy mini(&t, &ReadRecBaseThread::SigTransMiniKeyPack);
    t.AppendTestCommand(10);
    t.Feed("L0123456789ABM"); // enters test mode; 10 is three sends
    QCOMPARE(mini.at(0).at(0).toByteArray(), QByteArray("4B"));
    t.Feed("K1M"); // answered with 6: read the keys
    t.AppendTestCommand(47);
    QCOMPARE(t.currentCommand, int(proto::TC_KEYS_REQUESTED));
    t.Feed(SimDevice::KeyTableBlock(QByteArray(254, '\x21')));
    t.Feed("K1M"); // 47 -> 05 00, then the table is read again
    QCOMPARE(t.SentHex(), QString("2b00 2c00 2d00 2e00 da00 0500"));
    QList<int> delays;
    for (const Write& w : t.writes)
        delays.append(w.delay);
    // Answers to packets wait 25 ms; the key table's acknowledgement does not.
    QCOMPARE(delays, (QList<int>{25, 25, 25, 25, 0, 25}));
    QCOMPARE(t.currentCommand, int(proto::TC_READ_KEYS));
}

void TstLinkParser::testPacketRules() {
    FakeThread t;
    QSignalSpy pack(&t, &ReadRecBaseThread::SigTransTestPack);
    QSignalSpy mini(&t, &ReadRecBaseThread::SigTransMiniKeyPack);
    QSignalSpy start(&t, &ReadRecBaseThread::SigStartReadTimer);
    t.testMode = true;
    t.Feed("xxK0123"); // bytes before the packet skipped; the rest waits
    QVERIFY(t.rxBuffer.isEmpty());
    QCOMPARE(t.packBuffer, QByteArray("K0123"));
    QCOMPARE(start.last().at(0).toInt(), 2500);
    t.Feed("45M");
    QCOMPARE(pack.count(), 1);
    QCOMPARE(pack.at(0).at(1).toByteArray(), QByteArray("K012345M"));
    t.Feed("K012345678901M"); // 14 bytes ending in 'M': a packet
    QCOMPARE(pack.count(), 2);
    t.Feed("K0123456789012"); // 14 without: dropped
    QCOMPARE(pack.count(), 2);
    QVERIFY(!t.testPackOpen);
    t.Feed("L01M"); // too short to carry the master-menu bytes
    QCOMPARE(pack.count(), 3);
    QCOMPARE(mini.count(), 0);
    // Command 1 leaves test mode and drops what was queued with it.
    t.AppendTestCommand(1);
    t.AppendTestCommand(3);
    t.Feed("K1M");
    QVERIFY(!t.testMode);
    QVERIFY(t.testCommands.isEmpty());
    QCOMPARE(t.writes.last().bytes, bytes::hex("ad00"));
    // After a break the next packet due a plain answer ends test mode unanswered.
    t.Feed("K2M");
    t.BreakOperation();
    t.Feed("K3M");
    QCOMPARE(t.SentHex().right(19), QString("ad00 da00 d700 ad00"));
    QVERIFY(!t.testMode);
    QVERIFY(!t.breakRequested);
}

// Five bits from each byte; bytes above 0x7F count as negative, as the
// device's software always read them, with no undefined shift. Only pairs
// before the final "M" are read.
void TstLinkParser::testPacketLoopCodes_data() {
    QTest::addColumn<QByteArray>("pack");
    QTest::addColumn<int>("m");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("code");
    QTest::newRow("zero") << bytes::hex("4b00004d") << 1 << true << 0;
    QTest::newRow("full scale") << bytes::hex("4b1f1f4d") << 1 << true << 1023;
    QTest::newRow("second pair") << bytes::hex("4b000005024d") << 2 << true << 69;
    QTest::newRow("low byte negative") << bytes::hex("4b80004d") << 1 << true << -128;
    QTest::newRow("high byte negative") << bytes::hex("4b00804d") << 1 << true << 0xF000;
    QTest::newRow("high byte -1") << bytes::hex("4b01ff4d") << 1 << true << 0xFFE1;
    QTest::newRow("low byte -1") << bytes::hex("4bff014d") << 1 << true << -1;
    QTest::newRow("pair cut off") << bytes::hex("4b014d") << 1 << false << 0;
    QTest::newRow("pair is the M") << bytes::hex("4b01") << 1 << false << 0;
    QTest::newRow("no position 0") << bytes::hex("4b01014d") << 0 << false << 0;
}

void TstLinkParser::testPacketLoopCodes() {
    QFETCH(QByteArray, pack);
    QFETCH(int, m);
    bool ok = false;
    const int code = proto::TestPacketLoopCode(pack, m, &ok);
    QTEST(ok, "ok");
    QTEST(code, "code");
}

// Rejections, a request beyond the last packet and a request that is still
// too short; the full upload runs against the simulated device.
void TstLinkParser::soundRequests_data() {
    QTest::addColumn<QList<QByteArray>>("requests");
    QTest::addColumn<QList<QList<int>>>("progress");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<int>("dropAfter"); // requests handled before the upload is given up
    const QByteArray start = bytes::hex("5900");
    QTest::newRow("three rejections, then the upload ends")
        << QList<QByteArray>{Req("CRaa?"), Req("CR&&").left(7), bytes::hex("00"),
                             Req("CR&&"),  Req("CR&&"),         Req("CR&&")}
        << QList<QList<int>>{{0, 0, 0}, {3, 0, 1}, {3, 0, 2}, {3, 0, 3}, {6, 0, 0}}
        << QByteArray("a0") + start + start + start << -1;
    QTest::newRow("the device asks for the first packet after each rejection")
        << QList<QByteArray>{Req("CRaa?"), Req("CR&&"), Req("CRaa?"), Req("CR&&"),
                             Req("CRaa?"), Req("CR&&"), Req("CRaa?"), Req("CR&&")}
        << QList<QList<int>>{{0, 0, 0}, {3, 0, 1}, {0, 0, 0}, {3, 0, 2},
                             {0, 0, 0}, {3, 0, 3}, {0, 0, 0}, {6, 0, 0}}
        << QByteArray("a0") + start + "a0" + start + "a0" + start + "a0" << -1;
    QTest::newRow("beyond the last packet")
        << QList<QByteArray>{Req("CRaa?"), Req("CRaa?")} << QList<QList<int>>{{0, 0, 0}, {7, 0, 0}}
        << QByteArray("a0") << -1;
    const QList<QByteArray> all{Req("CRaa?"), Req("CR&&"), Req("CRaa?"), Req("CR--?")};
    QTest::newRow("never begun") << all << QList<QList<int>>{} << QByteArray() << 0;
    QTest::newRow("given up after a packet")
        << all << QList<QList<int>>{{0, 0, 0}} << QByteArray("a0") << 1;
}

void TstLinkParser::soundRequests() {
    QFETCH(QList<QByteArray>, requests);
    QFETCH(QList<QList<int>>, progress);
    QFETCH(QByteArray, sent);
    QFETCH(int, dropAfter);
    settings.sounds->packets = {{"a0"}};
    FakeThread t;
    QSignalSpy spy(&t, &ReadRecBaseThread::SigSetSoundWriteProgress);
    if (dropAfter != 0)
        t.BeginSoundUpload();
    for (int i = 0; i < requests.size(); ++i) {
        if (i == dropAfter && i > 0) {
            // Given up on this side: block 21 is emptied and nothing reported.
            QVERIFY(t.DropSoundUpload(false));
            QVERIFY(settings.sounds->packets.isEmpty());
            settings.sounds->packets = {{"b0"}}; // the window's again
        }
        t.Feed(requests.at(i));
    }
    QCOMPARE(Progress(spy), progress);
    QCOMPARE(t.Sent(), sent);
    QCOMPARE(t.soundAttempt + t.soundIndex + t.packetIndex, 0);
}

// Every prefix and many corruptions of valid frames, in and out of test mode
// and at every stage of a read: nothing may read outside a buffer (the
// sanitizer build checks), and the buffers stay bounded.
void TstLinkParser::fuzz() {
    settings.sounds->packets = {{"a0", "a1"}};
    using S = SimDevice;
    QList<QByteArray> frames;
    frames << S::Greeting() << S::ReadyPacket(2, kNewest, 1) << Req("CRAA") << Req("CRHH")
           << Req("CR55") << "CRZZ" << Req("CRaa?") << Req("CR&&") << Req("CR--?") << Req("CRGE")
           << Req("CRGA") << "K012345678901M"
           << "L0123456789ABM"
           << "L01M" << S::KeyTableBlock(QByteArray(254, '\x10'))
           << bytes::hex("a602") + QByteArray(41, '\x05') << bytes::hex("a700")
           << Frame(1, QByteArray(10, 'Z'), true) << Frame(2, {}, true) << Frame(384, {}, true)
           << Frame(1, QByteArray(11, 'Z'), false) << Frame(94, {}, false);
    for (int type = 1; type <= 5; ++type)
        frames << S::ServiceFrame(type, bytes::hex("00") + "24/05/17,10:20:30");
    frames << S::ServiceFrame(2, bytes::hex("01")) << S::ServiceFrame(9, "xyz");
    QRandomGenerator rng(20240517);
    const int maxWaiting = 20 * 255 + 3 + 256; // a thermometer frame still arriving, one chunk
    auto check = [&](const FakeThread& t) {
        QVERIFY(t.rxBuffer.size() <= maxWaiting);
        QVERIFY(t.packBuffer.size() <= 256);
        QVERIFY(t.eepromImage.size() <= 3840);
    };
    for (int mode = 0; mode < 4; ++mode) {
        auto make = [&](FakeThread& t) {
            t.testMode = mode == 1 || mode == 2;
            t.currentCommand = mode == 2 ? proto::TC_KEYS_REQUESTED : 0;
            t.keyWriteMode = mode == 3;
            t.BeginSoundUpload();
        };
        for (const QByteArray& f : frames) {
            for (int cut = 1; cut <= f.size(); ++cut) {
                FakeThread t;
                make(t);
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
                make(t);
                t.blockCounter = int(rng.bounded(400));
                t.eepromImage = QByteArray(int(rng.bounded(3840)), 'Z');
                for (int pos = 0; pos < g.size();) {
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
