// End to end over a pseudo-terminal: the real PortWork, receive thread and COM
// layer against the simulated device.

#include "LinkRig.h"

#include "link/Protocol.h"
#include "settings/Firmware.h"
#include "settings/ImageEEPROM.h"

#include <QElapsedTimer>
#include <QTimer>

#include <mutex>

namespace {
const QDate kNewest(2012, 4, 19);
const QDate kMiddle(2011, 1, 10); // new layout, 3590 bytes
const QDate kOld(2010, 1, 10);    // old layout, 1023 bytes

// A programmed image whose object number differs from the defaults.
QByteArray ProgrammedImage(const QDate& fw, const QByteArray& objectNumber) {
    DeviceSettings source;
    SetDefaultSettings(&source, false);
    source.header->firmwareDate = fw;
    source.header->firmwareSubVersion = 1;
    source.connection->objectNumber = objectNumber;
    return ImageEEPROM::BuildImage(source);
}
} // namespace

class TstLinkEnd2End : public QObject {
    Q_OBJECT
private slots:
    void handshake();
    void programming_data();
    void programming();
    void programmingRejected();
    void memoryRead_data();
    void memoryRead();
    void memoryReadNotProgrammed();
    void memoryReadForTransfer();
    void readFaults_data();
    void readFaults();
    void silenceAfterProgramCommand();
    void hangUpMidRead();
    void writeBlocking_data();
    void writeBlocking();
    void commandsWithoutPort();
    void serviceFrames();
    void openMissingPort();
    void closeAndReopen();
};

void TstLinkEnd2End::handshake() {
    LinkRig rig(kNewest, 45, 3);
    QVERIFY(rig.Open());
    QSignalSpy version(rig.port.get(), &PortWork::SigSetupVersion);
    rig.sim.SendGreeting();
    QVERIFY(version.wait(3000));
    QCOMPARE(rig.sim.Received(), QByteArray::fromHex("00000000000000000000"
                                                     "3700"));
    QCOMPARE(version.at(0).at(0).toString(), QString("19.04.2012"));
    QCOMPARE(version.at(0).at(1).value<uchar>(), uchar(3));
    QCOMPARE(version.at(0).at(2).value<uchar>(), uchar(45));
}

void TstLinkEnd2End::programming_data() {
    QTest::addColumn<QDate>("firmware");
    QTest::addColumn<int>("build");
    QTest::addColumn<int>("sections");
    QTest::newRow("newest, eight sections") << kNewest << 3 << 8;
    QTest::newRow("newest build 0, seven") << kNewest << 0 << 7;
    QTest::newRow("old layout, seven") << kOld << 1 << 7;
}

void TstLinkEnd2End::programming() {
    QFETCH(QDate, firmware);
    QFETCH(int, build);
    QFETCH(int, sections);
    LinkRig rig(firmware, uchar(build));
    rig.settings.connection->objectNumber = "5678";
    QVERIFY(rig.Open());
    QVERIFY(rig.Handshake());
    QSignalSpy ok(rig.port.get(), &PortWork::SigProgrammingOk);
    QSignalSpy msg(rig.port.get(), &PortWork::SigMessage);
    QSignalSpy progress(rig.port.get(), &PortWork::SigSetProgress);
    rig.port->StartProgramming();
    QVERIFY(ok.wait(5000));
    QTRY_VERIFY(Codes(msg).contains(120));
    QCOMPARE(Codes(msg), (QList<int>{128, 120}));
    const QList<QByteArray> asked = rig.sim.SectionsAsked();
    const QList<QByteArray> answers = rig.sim.SectionAnswers();
    QCOMPARE(asked.size(), sections);
    QCOMPARE(answers.size(), sections);
    for (int i = 0; i < sections; ++i)
        QCOMPARE(answers.at(i), proto::BuildSection(asked.at(i)));
    // One reset before CRAA's answer, then 100 per section.
    QCOMPARE(progress.at(0), (QList<QVariant>{true, false, 0}));
    int steps = 0;
    for (const auto& p : progress)
        steps += (!p.at(0).toBool() && p.at(2).toInt() == 100) ? 1 : 0;
    QCOMPARE(steps, sections);
    // Nothing expires afterwards.
    QTest::qWait(400);
    QVERIFY(!Codes(msg).contains(301));
}

void TstLinkEnd2End::programmingRejected() {
    LinkRig rig(kNewest);
    rig.sim.SetProgrammingOk(false);
    QVERIFY(rig.Open());
    QVERIFY(rig.Handshake());
    QSignalSpy msg(rig.port.get(), &PortWork::SigMessage);
    QSignalSpy version(rig.port.get(), &PortWork::SigSetupVersion);
    QSignalSpy ok(rig.port.get(), &PortWork::SigProgrammingOk);
    rig.port->StartProgramming();
    QTRY_VERIFY_WITH_TIMEOUT(Codes(msg).contains(300), 5000);
    QCOMPARE(ok.count(), 0);
    // The reset that follows clears the version.
    QTRY_VERIFY(!version.isEmpty());
    QCOMPARE(version.last().at(0).toString(), QString());
}

void TstLinkEnd2End::memoryRead_data() {
    QTest::addColumn<QDate>("firmware");
    QTest::addColumn<int>("blocks");
    QTest::newRow("old layout, 1023 bytes") << kOld << 93;
    QTest::newRow("15.04.2010 layout, 3590 bytes") << kMiddle << 358;
    QTest::newRow("newest, 3840 bytes") << kNewest << 383;
}

void TstLinkEnd2End::memoryRead() {
    QFETCH(QDate, firmware);
    QFETCH(int, blocks);
    LinkRig rig(firmware);
    rig.sim.SetMemoryImage(ProgrammedImage(firmware, "4321"));
    QVERIFY(rig.Open());
    QSignalSpy fill(rig.port.get(), &PortWork::SigFillFields);
    QSignalSpy msg(rig.port.get(), &PortWork::SigMessage);
    QSignalSpy progress(rig.port.get(), &PortWork::SigSetProgress);
    QVERIFY(rig.settings.connection->objectNumber != "4321");
    rig.port->ReadEEPROMClick();
    QVERIFY(fill.wait(10000));
    QTRY_VERIFY(Codes(msg).contains(121));
    QCOMPARE(Codes(msg), (QList<int>{129, 121}));
    QCOMPARE(rig.settings.connection->objectNumber, QByteArray("4321"));
    QCOMPARE(rig.sim.AcksReceived(), blocks);
    QTRY_COMPARE(rig.port->readThread->blockCounter, 0);
    const proto::ReadLayout layout = proto::ReadLayoutFor(firmware);
    QCOMPARE(progress.at(0), (QList<QVariant>{true, false, layout.progressMax}));
    QTest::qWait(300);
    QVERIFY(!Codes(msg).contains(301));
}

void TstLinkEnd2End::memoryReadNotProgrammed() {
    LinkRig rig(kNewest);
    rig.sim.SetMemoryImage(QByteArray(3840, char(0xFF)));
    QVERIFY(rig.Open());
    QSignalSpy fill(rig.port.get(), &PortWork::SigFillFields);
    QSignalSpy msg(rig.port.get(), &PortWork::SigMessage);
    rig.port->ReadEEPROMClick();
    QTRY_VERIFY_WITH_TIMEOUT(Codes(msg).contains(210), 10000);
    QCOMPARE(fill.count(), 0);
}

void TstLinkEnd2End::memoryReadForTransfer() {
    LinkRig rig(kMiddle);
    const QByteArray image = ProgrammedImage(kMiddle, "1111").left(3590);
    rig.sim.SetMemoryImage(image);
    QVERIFY(rig.Open());
    QSignalSpy transfer(rig.port.get(), &PortWork::SigImageEEPROMTransfer);
    QSignalSpy fill(rig.port.get(), &PortWork::SigFillFields);
    rig.port->readThread->imageForTransfer = true;
    rig.port->ReadEEPROMClick();
    QVERIFY(transfer.wait(10000));
    QCOMPARE(transfer.at(0).at(0).toByteArray(), image);
    QVERIFY(!rig.port->readThread->imageForTransfer);
    QCOMPARE(fill.count(), 0);
}

// Each fault ends in its code within the scaled time-outs, and the link then
// reads the memory cleanly.
void TstLinkEnd2End::readFaults_data() {
    QTest::addColumn<int>("fault");
    QTest::addColumn<int>("at");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("code");
    using F = SimDevice::Fault;
    QTest::newRow("repeated twice is tolerated") << int(F::RepeatFrame) << 20 << 2 << 121;
    QTest::newRow("repeated three times") << int(F::RepeatFrame) << 20 << 3 << 302;
    QTest::newRow("dropped frame") << int(F::DropFrame) << 30 << 1 << 302;
    QTest::newRow("wrong block number") << int(F::WrongBlock) << 40 << 1 << 302;
    QTest::newRow("premature end frame") << int(F::PrematureEnd) << 50 << 1 << 302;
    QTest::newRow("garbage") << int(F::Garbage) << 10 << 1 << 301;
    QTest::newRow("short garbage") << int(F::ShortGarbage) << 10 << 1 << 301;
    QTest::newRow("silence") << int(F::Silence) << 60 << 1 << 301;
}

void TstLinkEnd2End::readFaults() {
    QFETCH(int, fault);
    QFETCH(int, at);
    QFETCH(int, count);
    QFETCH(int, code);
    LinkRig rig(kNewest);
    rig.sim.SetMemoryImage(ProgrammedImage(kNewest, "2468"));
    rig.sim.ArmFault(SimDevice::Fault(fault), at, count);
    QVERIFY(rig.Open());
    QSignalSpy msg(rig.port.get(), &PortWork::SigMessage);
    QElapsedTimer t;
    t.start();
    rig.port->ReadEEPROMClick();
    QTRY_VERIFY_WITH_TIMEOUT(Codes(msg).contains(code), 10000);
    // 4500 + 10000 ms scaled, with room for a loaded machine.
    QVERIFY(t.elapsed() < 1450 + 5000);
    QCOMPARE(Codes(msg).count(code), 1);
    if (code != 121) {
        QVERIFY(!Codes(msg).contains(121));
        // Let any time-out run out, then the link must serve the next read.
        QTest::qWait(1700);
        rig.sim.Reset();
        msg.clear();
        QSignalSpy fill(rig.port.get(), &PortWork::SigFillFields);
        rig.port->ReadEEPROMClick();
        QVERIFY(fill.wait(10000));
        QTRY_VERIFY(Codes(msg).contains(121));
    }
    QCOMPARE(rig.settings.connection->objectNumber, QByteArray("2468"));
}

void TstLinkEnd2End::silenceAfterProgramCommand() {
    LinkRig rig(kNewest);
    QVERIFY(rig.Open());
    QVERIFY(rig.Handshake());
    rig.sim.SetSilent(true);
    QSignalSpy msg(rig.port.get(), &PortWork::SigMessage);
    QSignalSpy version(rig.port.get(), &PortWork::SigSetupVersion);
    QSignalSpy progress(rig.port.get(), &PortWork::SigSetProgress);
    QElapsedTimer t;
    t.start();
    rig.port->StartProgramming();
    QTRY_VERIFY_WITH_TIMEOUT(Codes(msg).contains(301), 5000);
    // 2000 + 10000 ms scaled by 0.1: not before the second expiry.
    QVERIFY(t.elapsed() >= 1100);
    QCOMPARE(Codes(msg), (QList<int>{128, 301}));
    QCOMPARE(version.last().at(0).toString(), QString());
    QCOMPARE(progress.last(), (QList<QVariant>{true, false, 358}));
    // The link still serves the device.
    rig.sim.SetSilent(false);
    QSignalSpy ok(rig.port.get(), &PortWork::SigProgrammingOk);
    rig.port->StartProgramming();
    QVERIFY(ok.wait(5000));
}

void TstLinkEnd2End::hangUpMidRead() {
    LinkRig rig(kNewest);
    rig.sim.SetMemoryImage(ProgrammedImage(kNewest, "1357"));
    rig.sim.ArmFault(SimDevice::Fault::HangUp, 100);
    QVERIFY(rig.Open());
    QSignalSpy msg(rig.port.get(), &PortWork::SigMessage);
    QSignalSpy lost(rig.port.get(), &PortWork::SigPortLost);
    rig.port->ReadEEPROMClick();
    QVERIFY(lost.wait(5000));
    QVERIFY(!rig.port->IsPortOpen());
    QTest::qWait(1500); // no stream of errors, no time-out reports afterwards
    QCOMPARE(lost.count(), 1);
    QCOMPARE(Codes(msg), (QList<int>{129, 301}));
    // Commands on the closed port do nothing.
    rig.port->ReadEEPROMClick();
    QTest::qWait(100);
    QCOMPARE(msg.count(), 2);
}

void TstLinkEnd2End::writeBlocking_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("events");
    QTest::newRow("64: one block") << 64 << "W64";
    QTest::newRow("128: two blocks") << 128 << "W64 W64";
    QTest::newRow("200: breaks after 3 and 4") << 200 << "W64 W64 W64 B W8 B";
    QTest::newRow("empty") << 0 << "";
}

void TstLinkEnd2End::writeBlocking() {
    QFETCH(int, size);
    QFETCH(QString, events);
    LinkRig rig(kNewest);
    QVERIFY(rig.Open());
    std::mutex m;
    QStringList seen;
    ComPort::SetEventHook([&](const QString&, ComPort::Event e, const QByteArray& d) {
        std::lock_guard<std::mutex> l(m);
        seen.append(e == ComPort::Event::Break ? QString("B") : "W" + QString::number(d.size()));
    });
    QByteArray data(size, '\x11');
    QElapsedTimer t;
    t.start();
    rig.port->readThread->WriteData(data, 30);
    QVERIFY(t.elapsed() >= 29); // the delay is slept even for nothing to send
    ComPort::SetEventHook({});
    QCOMPARE(seen.join(' '), events);
    QTRY_COMPARE(rig.sim.Received().size(), size);
}

void TstLinkEnd2End::commandsWithoutPort() {
    LinkRig rig(kNewest);
    QVERIFY(rig.sim.Start());
    rig.port = std::make_unique<PortWork>();
    QSignalSpy msg(rig.port.get(), &PortWork::SigMessage);
    std::mutex m;
    int writes = 0;
    ComPort::SetEventHook([&](const QString&, ComPort::Event, const QByteArray&) {
        std::lock_guard<std::mutex> l(m);
        ++writes;
    });
    PortWork& p = *rig.port;
    p.StartProgramming();
    p.ReadEEPROMClick();
    p.RunTest();
    p.SetTestCommand(2);
    p.RestartDevice();
    p.StartTimeProgramm();
    p.GetCurrentDeviceTime();
    p.WriteNewTime("24/01/01,00:00:00+00");
    p.GetSignalGSMLevel();
    p.ReadTherms(true);
    p.WriteTherms(QByteArray(1, '\0'));
    p.StartWriteSounds();
    QTest::qWait(300);
    ComPort::SetEventHook({});
    QCOMPARE(msg.count(), 0);
    QCOMPARE(writes, 0);
    QVERIFY(!p.readTimer->isActive());
    QVERIFY(p.readThread->testCommands.isEmpty());
}

void TstLinkEnd2End::serviceFrames() {
    LinkRig rig(kNewest);
    rig.sim.SetThermometers(QByteArray(40, '\x05'), 2);
    QVERIFY(rig.Open());
    PortWork& p = *rig.port;
    QSignalSpy msg(&p, &PortWork::SigMessage);
    QSignalSpy enabled(&p, &PortWork::SigTimeProgrammEnabled);
    QSignalSpy time(&p, &PortWork::SigGetDeviceTime);
    QSignalSpy gsm(&p, &PortWork::SigGetGSMSignalLevel);
    QSignalSpy therms(&p, &PortWork::SigGetThermsStuct);
    QSignalSpy thermsOk(&p, &PortWork::SigWriteThermsOK);

    p.StartTimeProgramm();
    QVERIFY(enabled.wait(2000));
    QCOMPARE(Codes(msg), (QList<int>{127, 126}));
    p.GetCurrentDeviceTime();
    QVERIFY(time.wait(2000));
    QCOMPARE(time.at(0).at(0).toByteArray(), QByteArray("24/05/17,10:20:30"));
    rig.sim.SetDeviceTime({});
    p.GetCurrentDeviceTime();
    QVERIFY(time.wait(2000));
    QCOMPARE(time.at(1).at(0).toByteArray(), QByteArray());
    p.GetSignalGSMLevel();
    QVERIFY(gsm.wait(2000));
    QCOMPARE(gsm.at(0).at(0).toByteArray(), QByteArray("17"));
    p.WriteNewTime("24/06/01,12:00:00+00");
    p.ReadTherms(false);
    QVERIFY(therms.wait(2000));
    QCOMPARE(therms.at(0).at(0).toByteArray(), QByteArray(1, '\x02') + QByteArray(40, '\x05'));
    p.WriteTherms(QByteArray(1, '\0'));
    QVERIFY(thermsOk.wait(2000));
    p.RestartDevice();
    QTRY_VERIFY(Codes(msg).contains(211));
    const QList<QByteArray> cmds = rig.sim.ServiceCommands();
    QVERIFY(
        cmds.contains(QByteArray::fromHex("7803") + "24/06/01,12:00:00+00" + QByteArray(1, '\0')));
    QVERIFY(cmds.contains(QByteArray::fromHex("a50100")));
    QCOMPARE(Codes(msg), (QList<int>{127, 126, 130, 211}));
}

void TstLinkEnd2End::openMissingPort() {
    LinkRig rig(kNewest);
    rig.port = std::make_unique<PortWork>();
    AddComPortPath("/dev/kw-no-such-port");
    ulong err = 0;
    QVERIFY(!rig.port->readThread->OpenPort(1, err));
    QCOMPARE(err, ulong(ENOENT));
    QVERIFY(!rig.port->IsPortOpen());
    QVERIFY(!rig.port->readThread->OpenPort(9999, err));
    QVERIFY(err != 0);
}

void TstLinkEnd2End::closeAndReopen() {
    LinkRig rig(kNewest);
    QVERIFY(rig.Open());
    for (int round = 0; round < 3; ++round) {
        QElapsedTimer t;
        t.start();
        QVERIFY(rig.port->ClosePort());
        QVERIFY(t.elapsed() < 500); // one polling cycle, not a hang
        QVERIFY(!rig.port->IsPortOpen());
        QVERIFY(!rig.port->readThread->stopRequest);
        ulong err = 0;
        QVERIFY(rig.port->readThread->OpenPort(rig.comNumber, err));
    }
    // Replacing the thread object closes the open port first.
    QVERIFY(rig.port->CreateReadThread(true));
    QVERIFY(!rig.port->IsPortOpen());
    ulong err = 0;
    QVERIFY(rig.port->readThread->OpenPort(rig.comNumber, err));
    QVERIFY(rig.Handshake());
}

QTEST_GUILESS_MAIN(TstLinkEnd2End)
#include "tst_linkend2end.moc"
