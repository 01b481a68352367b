// Test mode, the key table, the key write and the sound upload against the
// simulated device over a pseudo-terminal.

#include "LinkRig.h"

#include "link/Protocol.h"
#include "settings/Sections.h"

namespace {
const QDate kNewest(2012, 4, 19);

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
    first.append(data.left(250));
    QList<QByteArray> packets{first};
    for (int pos = 250; pos < size; pos += 256)
        packets.append(data.mid(pos, 256));
    return packets;
}

QList<QList<int>> Progress(const QSignalSpy& spy) {
    QList<QList<int>> r;
    for (const auto& a : spy)
        r.append({a.at(0).toInt(), a.at(1).toInt(), a.at(2).toInt()});
    return r;
}
} // namespace

class TstLinkService : public QObject {
    Q_OBJECT
private slots:
    void testModeQueue();
    void keyTable_data();
    void keyTable();
    void keyWrite_data();
    void keyWrite();
    void soundUpload_data();
    void soundUpload();
    void soundDeviceStops();
};

void TstLinkService::testModeQueue() {
    LinkRig rig(kNewest);
    QVERIFY(rig.Open());
    PortWork& p = *rig.port;
    QSignalSpy packs(&p, &PortWork::SigTransTestPack);
    QSignalSpy mini(&p, &PortWork::SigTransMiniKeyPack);
    p.SetTestCommand(3); // dropped by RunTest: never sent
    p.RunTest();
    QVERIFY(rig.sim.WaitUntil([&] { return rig.sim.TestAnswers().size() >= 2; }, 3000));
    p.SetTestCommand(2);
    p.SetTestCommand(4);
    QVERIFY(rig.sim.WaitUntil([&] { return AnswersHex(rig.sim).contains("c200"); }, 3000));
    QVERIFY(rig.sim.WaitUntil(
        [&] {
            return AnswersHex(rig.sim).lastIndexOf("da00") > AnswersHex(rig.sim).indexOf("c200");
        },
        3000));
    const QStringList answers = AnswersHex(rig.sim);
    QVERIFY(!answers.contains("b400"));
    const int siren = int(answers.indexOf("c600"));
    QVERIFY(siren >= 2);
    QCOMPARE(answers.mid(siren, 3), (QStringList{"c600", "c200", "da00"}));
    for (int i = 0; i < siren; ++i)
        QCOMPARE(answers.at(i), QString("da00"));
    // One answer per packet, each sent 25 ms after the packet.
    for (const auto& a : rig.sim.TestAnswers()) {
        QVERIFY2(a.msAfterPacket >= 24.0, qPrintable(QString::number(a.msAfterPacket)));
        QVERIFY(a.msAfterPacket < 25.0 + 500.0);
    }
    QTRY_VERIFY(packs.count() >= 4);
    QVERIFY(mini.count() >= 1);
    QCOMPARE(mini.at(0).at(0).toByteArray(), QByteArray("4B"));
    p.SetTestCommand(1);
    QVERIFY(rig.sim.WaitUntil([&] { return !rig.sim.InTestMode(); }, 3000));
    QCOMPARE(AnswersHex(rig.sim).last(), QString("ad00"));
    QTRY_VERIFY(!p.readThread->testMode);
    const int sent = rig.sim.TestPacketsSent();
    QTest::qWait(300);
    QCOMPARE(rig.sim.TestPacketsSent(), sent);
}

void TstLinkService::keyTable_data() {
    QTest::addColumn<QList<int>>("pieces");
    QTest::newRow("one chunk") << QList<int>{};
    QTest::newRow("split in three") << QList<int>{90, 90};
    QTest::newRow("split, one byte last") << QList<int>{255};
}

void TstLinkService::keyTable() {
    QFETCH(QList<int>, pieces);
    LinkRig rig(kNewest);
    QByteArray body(254, '\0');
    for (int i = 0; i < body.size(); ++i)
        body[i] = char(0x40 + i % 50);
    rig.sim.SetKeyTable(body);
    rig.sim.SetKeyTableSplit(pieces, 40);
    QVERIFY(rig.Open());
    PortWork& p = *rig.port;
    QSignalSpy keys(&p, &PortWork::SigTransKeysPack);
    p.RunTest();
    p.SetTestCommand(6);
    QVERIFY(keys.wait(3000));
    const QByteArray pack = keys.at(0).at(0).toByteArray();
    QCOMPARE(pack, SimDevice::KeyTableBlock(body));
    QCOMPARE(pack.size(), 256);
    QCOMPARE(pack.at(255), proto::KeyTableCheck(pack.left(255)));
    QVERIFY(rig.sim.WaitUntil([&] { return rig.sim.KeyTableAcks() == 1; }, 2000));
    QVERIFY(AnswersHex(rig.sim).contains("2e00"));
    // Test mode goes on with plain answers.
    const int answered = int(rig.sim.TestAnswers().size());
    QVERIFY(rig.sim.WaitUntil([&] { return rig.sim.TestAnswers().size() > answered + 1; }, 2000));
    QCOMPARE(AnswersHex(rig.sim).last(), QString("da00"));
    p.SetTestCommand(1);
    QVERIFY(rig.sim.WaitUntil([&] { return !rig.sim.InTestMode(); }, 3000));
}

void TstLinkService::keyWrite_data() {
    QTest::addColumn<bool>("confirmed");
    QTest::newRow("CRGA confirms") << true;
    QTest::newRow("no CRGA") << false;
}

void TstLinkService::keyWrite() {
    QFETCH(bool, confirmed);
    LinkRig rig(kNewest);
    rig.settings.keys->key[0] = "01-02-03-04-05-06";
    if (!confirmed)
        rig.sim.ArmFault(SimDevice::Fault::NoKeyConfirm);
    QVERIFY(rig.Open());
    PortWork& p = *rig.port;
    QSignalSpy ok(&p, &PortWork::SigKeysProgramOk);
    QSignalSpy msg(&p, &PortWork::SigMessage);
    p.RunTest();
    p.SetTestCommand(11);
    QVERIFY(rig.sim.WaitUntil([&] { return rig.sim.KeyPacks().size() == 1; }, 3000));
    QVERIFY(AnswersHex(rig.sim).contains("2f00"));
    QCOMPARE(rig.sim.KeyPacks().at(0), BuildKeysPack(rig.settings));
    QCOMPARE(rig.sim.KeyPacks().at(0).size(), 129);
    if (confirmed) {
        QVERIFY(ok.wait(3000));
        QTRY_VERIFY(p.readThread->testMode);
        p.SetTestCommand(1);
        QVERIFY(rig.sim.WaitUntil([&] { return !rig.sim.InTestMode(); }, 3000));
        QTest::qWait(1500);
        QVERIFY(!Codes(msg).contains(301));
    } else {
        QTRY_VERIFY_WITH_TIMEOUT(Codes(msg).contains(301), 5000);
        QCOMPARE(ok.count(), 0);
    }
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
    QCOMPARE(rig.sim.SoundPackets(), prepared);
    // Packet sizes: header and up to 250 bytes, then 256, the last the rest.
    for (int i = 0; i < sizes.size(); ++i) {
        const QList<QByteArray>& got = rig.sim.SoundPackets().at(i);
        QCOMPARE(got.first().size(), 6 + qMin(250, sizes.at(i)));
        for (int k = 1; k + 1 < got.size(); ++k)
            QCOMPARE(got.at(k).size(), 256);
    }
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
    QTRY_VERIFY(rig.settings.sounds->packets.isEmpty());
    QCOMPARE(p.readThread->soundAttempt, 0);
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
    QVERIFY(rig.sim.WaitUntil([&] { return rig.sim.FillerBytes() == 3 * 128; }, 2000));
    QCOMPARE(p.readThread->soundAttempt, 0);
}

QTEST_GUILESS_MAIN(TstLinkService)
#include "tst_linkservice.moc"
