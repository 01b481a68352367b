// Test mode, the key table, the key write and the sound upload against the
// simulated device over a pseudo-terminal.

#include "LinkRig.h"

#include "link/Protocol.h"
#include "settings/Sections.h"

#include <QTimer>

namespace {
QStringList AnswersHex(const SimDevice& sim) {
    QStringList r;
    for (const auto& a : sim.TestAnswers())
        r.append(QString::fromLatin1(a.bytes.toHex()));
    return r;
}

// One sound as the sound window prepares it: 'Y', its number, the size as
// four bytes little-endian and the first 250 bytes; then 256-byte packets.
QList<QByteArray> MakeSound(int number, int size) {
    QByteArray data(size, '\0');
    for (int i = 0; i < size; ++i)
        data[i] = char((i * 7 + number) % 0x70); // never the 7F filler
    QByteArray first("Y");
    first.append(char(number));
    for (int i = 0; i < 4; ++i)
        first.append(char((quint32(size) >> (8 * i)) & 0xFF));
    QList<QByteArray> packets{first + data.left(250)};
    for (int pos = 250; pos < size; pos += 256)
        packets.append(data.mid(pos, 256));
    return packets;
}
} // namespace

class TstLinkService : public QObject {
    Q_OBJECT
private slots:
    void testMode_data();
    void testMode();
    void keyWrite_data();
    void keyWrite();
    void soundUploadGivenUp_data();
    void soundUploadGivenUp();
    void soundUpload_data();
    void soundUpload();
    void soundDeviceStops();
};

// Test mode: entered with D7 00, every packet answered 25 ms after it from
// the queue (siren on, light on, read the keys) or with DA 00; the key table
// handed on whole and acknowledged; left with AD 00.
void TstLinkService::testMode_data() {
    QTest::addColumn<QList<int>>("pieces");
    QTest::newRow("key table in one chunk") << QList<int>{};
    QTest::newRow("key table split in three") << QList<int>{90, 90};
}

void TstLinkService::testMode() {
    QFETCH(QList<int>, pieces);
    LinkRig rig(kNewest);
    QByteArray body(254, '\0');
    for (int i = 0; i < body.size(); ++i)
        body[i] = char(0x40 + i % 50);
    rig.sim.SetKeyTable(body);
    rig.sim.SetKeyTableSplit(pieces, 40);
    QVERIFY(rig.Open());
    PortWork& p = *rig.port;
    QSignalSpy packs(&p, &PortWork::SigTransTestPack);
    QSignalSpy mini(&p, &PortWork::SigTransMiniKeyPack);
    QSignalSpy keys(&p, &PortWork::SigTransKeysPack);
    p.SetTestCommand(3); // dropped by RunTest: never sent
    p.RunTest();
    QVERIFY(rig.Wait([&] { return rig.sim.TestAnswers().size() >= 2; }));
    QCOMPARE(rig.sim.Received().left(2).toHex(), QByteArray("d700"));
    p.SetTestCommand(2);
    p.SetTestCommand(4);
    p.SetTestCommand(6);
    QVERIFY(keys.wait(15000));
    QCOMPARE(keys.at(0).at(0).toByteArray(), SimDevice::KeyTableBlock(body)); // A4 .. check byte
    QVERIFY(rig.Wait([&] { return rig.sim.KeyTableAcks() == 1; }));
    QVERIFY(rig.Wait([&] { return AnswersHex(rig.sim).endsWith("da00"); }));
    const QStringList answers = AnswersHex(rig.sim);
    const int siren = int(answers.indexOf("c600"));
    QVERIFY(siren >= 2);
    QCOMPARE(answers.mid(0, siren), QStringList(siren, "da00"));
    QCOMPARE(answers.mid(siren, 4), (QStringList{"c600", "c200", "2e00", "da00"}));
    for (const auto& a : rig.sim.TestAnswers())
        QVERIFY2(a.msAfterPacket >= 24.0 && a.msAfterPacket < 2000.0,
                 qPrintable(QString::number(a.msAfterPacket)));
    QTRY_VERIFY_WITH_TIMEOUT(packs.count() >= 4, 15000);
    QCOMPARE(mini.at(0).at(0).toByteArray(), QByteArray("4B"));
    p.SetTestCommand(1);
    QVERIFY(rig.Wait([&] { return !rig.sim.InTestMode(); }));
    QCOMPARE(AnswersHex(rig.sim).last(), QString("ad00"));
    QTRY_VERIFY_WITH_TIMEOUT(!ParserState(p.readThread, &ReadRecBaseThread::testMode), 15000);
    const int sent = rig.sim.TestPacketsSent();
    QTest::qWait(300);
    QCOMPARE(rig.sim.TestPacketsSent(), sent);
}

// 2F 00, CRGE answered with the key pack, CRGA reported as success; a device
// that never asks for the pack or never confirms it ends in 301.
void TstLinkService::keyWrite_data() {
    QTest::addColumn<int>("fault");
    QTest::newRow("CRGA confirms") << int(SimDevice::Fault::None);
    QTest::newRow("no CRGA") << int(SimDevice::Fault::NoKeyConfirm);
    QTest::newRow("no CRGE") << int(SimDevice::Fault::NoKeyRequest);
}

void TstLinkService::keyWrite() {
    QFETCH(int, fault);
    const bool confirmed = fault == int(SimDevice::Fault::None);
    LinkRig rig(kNewest);
    rig.settings.keys->key[0] = "01-02-03-04-05-06";
    rig.sim.ArmFault(SimDevice::Fault(fault));
    QVERIFY(rig.Open());
    PortWork& p = *rig.port;
    QSignalSpy ok(&p, &PortWork::SigKeysProgramOk);
    QSignalSpy msg(&p, &PortWork::SigMessage);
    p.RunTest();
    p.SetTestCommand(11);
    QVERIFY(rig.Wait([&] { return AnswersHex(rig.sim).contains("2f00"); }));
    if (fault != int(SimDevice::Fault::NoKeyRequest)) {
        QVERIFY(rig.Wait([&] { return rig.sim.KeyPacks().size() == 1; }));
        QCOMPARE(rig.sim.KeyPacks().at(0), BuildKeysPack(rig.settings));
        QCOMPARE(rig.sim.KeyPacks().at(0).size(), 129);
    }
    if (confirmed) {
        QVERIFY(ok.wait(15000));
        QTRY_VERIFY_WITH_TIMEOUT(ParserState(p.readThread, &ReadRecBaseThread::testMode),
                                 15000); // the device's packets are answered again
        p.SetTestCommand(1);
        QVERIFY(rig.Wait([&] { return !rig.sim.InTestMode(); }));
        QTest::qWait(1500); // past every scaled time-out
    } else {
        QTRY_VERIFY_WITH_TIMEOUT(!msg.isEmpty(), 5000);
    }
    QCOMPARE(Codes(msg), confirmed ? QList<int>{} : QList<int>{301});
    QCOMPARE(ok.count(), confirmed ? 1 : 0);
}

void TstLinkService::soundUpload_data() {
    QTest::addColumn<QList<int>>("sizes");
    QTest::newRow("100 bytes: one packet") << QList<int>{100};
    QTest::newRow("250 and 251 bytes") << QList<int>{250, 251};
    QTest::newRow("800 and 1000 bytes") << QList<int>{800, 1000};
}

void TstLinkService::soundUpload() {
    QFETCH(QList<int>, sizes);
    LinkRig rig(kNewest);
    QList<QList<QByteArray>> prepared;
    for (int i = 0; i < sizes.size(); ++i)
        prepared.append(MakeSound(i + 1, sizes.at(i)));
    rig.settings.sounds->packets = prepared;
    QVERIFY(rig.Open());
    PortWork& p = *rig.port;
    QSignalSpy progress(&p, &PortWork::SigSetSoundWriteProgress);
    p.StartWriteSounds();
    QTRY_VERIFY_WITH_TIMEOUT(!progress.isEmpty() && progress.last().at(0).toInt() == 2, 10000);
    // Every packet arrived unchanged: the header and up to 250 bytes, then
    // 256 bytes each, the last one the rest.
    QCOMPARE(rig.sim.SoundPackets(), prepared);
    QList<QList<int>> expected;
    for (int s = 0; s < sizes.size(); ++s) {
        if (s > 0)
            expected.append({1, s, 0});
        for (int k = 0; k < prepared.at(s).size(); ++k)
            expected.append({0, s, k});
    }
    expected.append({2, int(sizes.size()), 0});
    QCOMPARE(Progress(progress), expected);
    QCOMPARE(rig.sim.SoundStarts(), int(sizes.size()));
    QTRY_VERIFY_WITH_TIMEOUT(rig.settings.sounds->packets.isEmpty(), 15000);
}

void TstLinkService::soundDeviceStops() {
    LinkRig rig(kNewest);
    rig.settings.sounds->packets = {MakeSound(1, 900)};
    rig.sim.ArmFault(SimDevice::Fault::Silence, 2); // after the second packet
    QVERIFY(rig.Open());
    PortWork& p = *rig.port;
    QSignalSpy progress(&p, &PortWork::SigSetSoundWriteProgress);
    QSignalSpy msg(&p, &PortWork::SigMessage);
    p.StartWriteSounds();
    QTRY_VERIFY_WITH_TIMEOUT(Codes(msg).contains(301), 8000);
    QCOMPARE(Progress(progress),
             (QList<QList<int>>{{0, 0, 0}, {0, 0, 1}, {4, 0, 1}, {4, 0, 2}, {4, 0, 3}, {5, 0, 0}}));
    QVERIFY(rig.Wait([&] { return rig.sim.FillerBytes() == 3 * 128; }));
}

// An upload that cannot go on ends on this side: the window hears of a lost
// or closed port, block 21 is emptied, and the next upload, once the device is
// there again, sends its own packets from the first.
void TstLinkService::soundUploadGivenUp_data() {
    QTest::addColumn<int>("how"); // 0 the device hangs up, 1 the port is closed, 2 the user
    QTest::addColumn<QList<QList<int>>>("ending");
    QTest::newRow("the device hangs up") << 0 << QList<QList<int>>{{proto::kSoundBrokenOff, 0, 0}};
    QTest::newRow("the port is closed") << 1 << QList<QList<int>>{{proto::kSoundBrokenOff, 0, 0}};
    QTest::newRow("given up by the user") << 2 << QList<QList<int>>{};
}

void TstLinkService::soundUploadGivenUp() {
    QFETCH(int, how);
    QFETCH(QList<QList<int>>, ending);
    LinkRig rig(kNewest);
    // The device holds in the middle of the upload, far from any time-out.
    kwlink::SetLinkTimeScale(1.0);
    rig.settings.sounds->packets = {MakeSound(1, 300), MakeSound(2, 600)};
    rig.sim.ArmFault(how == 0 ? SimDevice::Fault::HangUp : SimDevice::Fault::Hold, 2);
    QVERIFY(rig.Open());
    PortWork& p = *rig.port;
    QSignalSpy progress(&p, &PortWork::SigSetSoundWriteProgress);
    QSignalSpy lost(&p, &PortWork::SigPortLost);
    p.StartWriteSounds();
    if (how == 0) {
        QVERIFY(lost.wait(10000));
    } else {
        QVERIFY(rig.Wait([&] { return rig.sim.Held(); }, 10000));
        QTRY_COMPARE_WITH_TIMEOUT(progress.size(), 2, 10000);
        how == 1 ? void(p.ClosePort()) : p.StopWriteSounds();
    }
    QTRY_COMPARE_WITH_TIMEOUT(Progress(progress),
                              (QList<QList<int>>{{0, 0, 0}, {0, 0, 1}} + ending), 10000);
    QVERIFY(rig.settings.sounds->packets.isEmpty());
    QCOMPARE(ParserState(p.readThread, &ReadRecBaseThread::soundUploadRunning), false);
    QCOMPARE(ParserState(p.readThread, &ReadRecBaseThread::soundAttempt), 0);
    QTRY_VERIFY_WITH_TIMEOUT(!p.readTimer->isActive(), 15000);

    rig.sim.Reset();
    ulong err = 0;
    if (how == 0) {
        rig.sim.Stop(); // switched on again, on a line of its own
        QVERIFY(rig.sim.Start());
        QVERIFY(p.readThread->OpenPort(AddComPortPath(rig.sim.SlavePath()), err));
    } else if (how == 1) {
        QVERIFY(p.readThread->OpenPort(rig.comNumber, err));
    }
    const QList<QList<QByteArray>> second{MakeSound(3, 700), MakeSound(4, 100)};
    rig.settings.sounds->packets = second;
    progress.clear();
    p.StartWriteSounds();
    QTRY_VERIFY_WITH_TIMEOUT(!progress.isEmpty() && progress.last().at(0).toInt() == 2, 10000);
    QCOMPARE(rig.sim.SoundPackets(), second);
    QCOMPARE(rig.sim.SoundStarts(), 2);
}

QTEST_GUILESS_MAIN(TstLinkService)
#include "tst_linkservice.moc"
