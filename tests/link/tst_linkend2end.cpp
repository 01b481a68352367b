// End to end over a pseudo-terminal: the real PortWork, receive thread and COM
// layer against the simulated device.

#include "LinkRig.h"

#include "settings/ImageEEPROM.h"

#include <QElapsedTimer>
#include <QTimer>

#include <mutex>

namespace {
// A programmed image whose object number differs from the defaults.
QByteArray ProgrammedImage(const QDate& fw, const QByteArray& objectNumber) {
    DeviceSettings source;
    SetDefaultSettings(&source, false);
    source.header->firmwareDate = fw;
    source.header->firmwareSubVersion = 1;
    source.connection->objectNumber = objectNumber;
    return ImageEEPROM::BuildImage(source);
}

// Generous bounds for what the simulated device and the receive thread do
// between two checks: a loaded machine may stall either for seconds.
constexpr int kSlowMs = 20000;

// No time-out left on the link: its read timer stopped, and no change of it
// still on its way from the receive thread.
bool ReadTimerIdle(const LinkRig& rig) {
    const ReadRecBaseThread* t = rig.port->readThread;
    return !rig.port->readTimer->isActive() && t->timerRequests == t->timerApplied;
}

// Every write and break pulse on the COM layer while it lives, as "W<n>"/"B".
struct LineLog {
    std::mutex m;
    QStringList events;
    LineLog() {
        ComPort::SetEventHook([this](const QString&, ComPort::Event e, const QByteArray& d) {
            std::lock_guard<std::mutex> l(m);
            events.append(e == ComPort::Event::Break ? QString("B")
                                                     : "W" + QString::number(d.size()));
        });
    }
    ~LineLog() { ComPort::SetEventHook({}); }
};
} // namespace

class TstLinkEnd2End : public QObject {
    Q_OBJECT
private slots:
    void programming_data();
    void programming();
    void memoryRead_data();
    void memoryRead();
    void readFaults_data();
    void readFaults();
    void silenceAfterProgramCommand();
    void hangUpMidRead();
    void writeBlocking_data();
    void writeBlocking();
    void commandsWithoutPort();
    void serviceFrames();
    void openCloseReopen();
};

void TstLinkEnd2End::programming_data() {
    QTest::addColumn<QDate>("firmware");
    QTest::addColumn<int>("build");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("sections");
    QTest::newRow("newest, eight sections") << kNewest << 3 << true << 8;
    QTest::newRow("newest build 0, seven") << kNewest << 0 << true << 7;
    QTest::newRow("old layout, seven") << kOld << 1 << true << 7;
    QTest::newRow("CRZZ") << kNewest << 3 << false << 8;
}

void TstLinkEnd2End::programming() {
    QFETCH(QDate, firmware);
    QFETCH(int, build);
    QFETCH(bool, accepted);
    QFETCH(int, sections);
    LinkRig rig(firmware, uchar(build), 3);
    rig.settings.connection->objectNumber = "5678";
    rig.sim.SetProgrammingOk(accepted);
    QVERIFY(rig.Open());
    // The greeting is answered with ten zero bytes, 37 and 00; the ready
    // packet gives the firmware date, the model code and the build.
    QCOMPARE(rig.Handshake(),
             (QList<QVariant>{firmware.toString("dd.MM.yyyy"), uchar(3), uchar(build)}));
    QCOMPARE(rig.sim.Received().toHex(), QByteArray("000000000000000000003700"));
    QSignalSpy ok(rig.port.get(), &PortWork::SigProgrammingOk);
    QSignalSpy msg(rig.port.get(), &PortWork::SigMessage);
    QSignalSpy progress(rig.port.get(), &PortWork::SigSetProgress);
    QSignalSpy version(rig.port.get(), &PortWork::SigSetupVersion);
    rig.port->StartProgramming();
    QTRY_COMPARE_WITH_TIMEOUT(msg.count(), 2, kSlowMs);
    QCOMPARE(Codes(msg), (QList<int>{128, accepted ? 120 : 300}));
    QCOMPARE(ok.count(), accepted ? 1 : 0);
    const QList<QByteArray> asked = rig.sim.SectionsAsked();
    const QList<QByteArray> answers = rig.sim.SectionAnswers();
    QCOMPARE(asked.size(), sections);
    QCOMPARE(answers.size(), sections);
    for (int i = 0; i < sections; ++i)
        QCOMPARE(answers.at(i), SimDevice::SectionFor(asked.at(i)));
    // One reset before CRAA's answer, then 100 per section.
    QCOMPARE(progress.at(0), (QList<QVariant>{true, false, 0}));
    QCOMPARE(progress.at(sections), (QList<QVariant>{false, false, 100}));
    // A rejection resets the link (the version is cleared) right behind its
    // message; success leaves nothing to expire.
    if (!accepted)
        QTRY_COMPARE_WITH_TIMEOUT(version.count(), 1, kSlowMs);
    QTest::qWait(400);
    QCOMPARE(Codes(msg).size(), 2);
    QCOMPARE(version.count(), accepted ? 0 : 1);
}

void TstLinkEnd2End::memoryRead_data() {
    QTest::addColumn<QDate>("firmware");
    QTest::addColumn<bool>("programmed");
    QTest::addColumn<bool>("transfer");
    QTest::addColumn<int>("blocks");
    QTest::newRow("old layout, 1023 bytes") << kOld << true << false << 93;
    QTest::newRow("15.04.2010 layout, 3590 bytes") << kMiddle << true << false << 358;
    QTest::newRow("newest, 3840 bytes") << kNewest << true << false << 383;
    QTest::newRow("not programmed") << kNewest << false << false << 383;
    QTest::newRow("for an image file") << kMiddle << true << true << 358;
}

void TstLinkEnd2End::memoryRead() {
    QFETCH(QDate, firmware);
    QFETCH(bool, programmed);
    QFETCH(bool, transfer);
    QFETCH(int, blocks);
    LinkRig rig(firmware);
    const QByteArray image =
        programmed ? ProgrammedImage(firmware, "4321") : QByteArray(3840, '\xff');
    rig.sim.SetMemoryImage(image);
    QVERIFY(rig.Open());
    QSignalSpy fill(rig.port.get(), &PortWork::SigFillFields);
    QSignalSpy msg(rig.port.get(), &PortWork::SigMessage);
    QSignalSpy saved(rig.port.get(), &PortWork::SigImageEEPROMTransfer);
    rig.port->readThread->imageForTransfer = transfer;
    rig.port->ReadEEPROMClick();
    const int code = transfer ? 0 : programmed ? 121 : 210;
    QTRY_VERIFY_WITH_TIMEOUT(saved.count() + (Codes(msg).contains(code) ? 1 : 0) > 0, kSlowMs);
    QTest::qWait(300); // nothing more follows, no time-out
    QCOMPARE(Codes(msg), code ? (QList<int>{129, code}) : QList<int>{129});
    QCOMPARE(fill.count(), code == 121 ? 1 : 0);
    QCOMPARE(rig.settings.connection->objectNumber == "4321", code == 121);
    QCOMPARE(saved.count(), transfer ? 1 : 0);
    if (transfer)
        QCOMPARE(saved.at(0).at(0).toByteArray(), image.left(3590));
    QCOMPARE(rig.sim.AcksReceived(), blocks);
    QCOMPARE(ParserState(rig.port->readThread, &ReadRecBaseThread::blockCounter), 0);
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
    QTRY_VERIFY_WITH_TIMEOUT(Codes(msg).contains(code), 30000);
    // The scaled time-outs ran (4500 + 10000 ms scaled to 1450 ms): the
    // protocol's own would have taken at least 14500 ms.
    QVERIFY(t.elapsed() < kwlink::kChunkReplyMs + kwlink::kGraceMs);
    QCOMPARE(Codes(msg).count(code), 1);
    if (code != 121) {
        QVERIFY(!Codes(msg).contains(121));
        // Let any time-out run out, then the link must serve the next read.
        // Whatever the device still had under way for the broken read (a
        // frame behind a repeat, a packet after the break) arrives ahead of
        // the answer to a request sent once it is freed of its fault.
        QTRY_VERIFY_WITH_TIMEOUT(ReadTimerIdle(rig), kSlowMs);
        rig.sim.Reset();
        QSignalSpy gsm(rig.port.get(), &PortWork::SigGetGSMSignalLevel);
        rig.port->GetSignalGSMLevel();
        QVERIFY(gsm.wait(kSlowMs));
        msg.clear();
        rig.port->ReadEEPROMClick();
        QTRY_VERIFY_WITH_TIMEOUT(Codes(msg).contains(121), kSlowMs);
    }
    QCOMPARE(rig.settings.connection->objectNumber, QByteArray("2468"));
}

void TstLinkEnd2End::silenceAfterProgramCommand() {
    LinkRig rig(kNewest);
    QVERIFY(rig.Open());
    QVERIFY(!rig.Handshake().isEmpty());
    rig.sim.SetSilent(true);
    QSignalSpy msg(rig.port.get(), &PortWork::SigMessage);
    QSignalSpy version(rig.port.get(), &PortWork::SigSetupVersion);
    QSignalSpy progress(rig.port.get(), &PortWork::SigSetProgress);
    QElapsedTimer t;
    t.start();
    rig.port->StartProgramming();
    QTRY_VERIFY_WITH_TIMEOUT(Codes(msg).contains(301), kSlowMs);
    QVERIFY(t.elapsed() >= 1100); // 2000 + 10000 ms scaled: not before the second expiry
    QCOMPARE(Codes(msg), (QList<int>{128, 301}));
    QCOMPARE(version.last().at(0).toString(), QString());
    QCOMPARE(progress.last(), (QList<QVariant>{true, false, 358}));
    rig.sim.SetSilent(false); // the link still serves the device
    QSignalSpy ok(rig.port.get(), &PortWork::SigProgrammingOk);
    rig.port->StartProgramming();
    QVERIFY(ok.wait(kSlowMs));
}

void TstLinkEnd2End::hangUpMidRead() {
    LinkRig rig(kNewest);
    rig.sim.SetMemoryImage(ProgrammedImage(kNewest, "1357"));
    rig.sim.ArmFault(SimDevice::Fault::HangUp, 100);
    QVERIFY(rig.Open());
    QSignalSpy msg(rig.port.get(), &PortWork::SigMessage);
    QSignalSpy lost(rig.port.get(), &PortWork::SigPortLost);
    rig.port->ReadEEPROMClick();
    QVERIFY(lost.wait(kSlowMs));
    QVERIFY(!rig.port->IsPortOpen());
    QTest::qWait(1500);          // no stream of errors, no time-out reports afterwards
    rig.port->ReadEEPROMClick(); // a closed port ignores commands
    QTest::qWait(100);
    QCOMPARE(lost.count(), 1);
    QCOMPARE(Codes(msg), (QList<int>{129, 301}));
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
    LineLog log;
    QElapsedTimer t;
    t.start();
    rig.port->readThread->WriteData(QByteArray(size, '\x11'), 30);
    QVERIFY(t.elapsed() >= 29); // the delay is slept even for nothing to send
    QCOMPARE(log.events.join(' '), events);
    QTRY_COMPARE_WITH_TIMEOUT(rig.sim.Received().size(), size, kSlowMs);
}

void TstLinkEnd2End::commandsWithoutPort() {
    LinkRig rig(kNewest);
    QVERIFY(rig.sim.Start());
    rig.port = std::make_unique<PortWork>();
    QSignalSpy msg(rig.port.get(), &PortWork::SigMessage);
    LineLog log;
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
    QCOMPARE(msg.count(), 0);
    QVERIFY(log.events.isEmpty());
    QVERIFY(!p.readTimer->isActive());
    QVERIFY(ParserState(p.readThread, &ReadRecBaseThread::testCommands).isEmpty());
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
    QVERIFY(enabled.wait(kSlowMs));
    p.GetCurrentDeviceTime();
    QVERIFY(time.wait(kSlowMs));
    rig.sim.SetDeviceTime({});
    p.GetCurrentDeviceTime();
    QVERIFY(time.wait(kSlowMs));
    QCOMPARE(time.at(0).at(0).toByteArray(), QByteArray("24/05/17,10:20:30"));
    QCOMPARE(time.at(1).at(0).toByteArray(), QByteArray());
    p.GetSignalGSMLevel();
    QVERIFY(gsm.wait(kSlowMs));
    QCOMPARE(gsm.at(0).at(0).toByteArray(), QByteArray("17"));
    p.WriteNewTime("24/06/01,12:00:00+00");
    p.ReadTherms(false);
    QVERIFY(therms.wait(kSlowMs));
    QCOMPARE(therms.at(0).at(0).toByteArray(), QByteArray(1, '\x02') + QByteArray(40, '\x05'));
    p.WriteTherms(QByteArray(1, '\0'));
    QVERIFY(thermsOk.wait(kSlowMs));
    p.RestartDevice();
    QTRY_VERIFY_WITH_TIMEOUT(Codes(msg).contains(211), kSlowMs);
    QCOMPARE(Codes(msg), (QList<int>{127, 126, 130, 211}));
    QStringList cmds;
    for (const QByteArray& c : rig.sim.ServiceCommands())
        cmds.append(QString::fromLatin1(c.toHex()));
    const QString time20 = QString::fromLatin1(QByteArray("24/06/01,12:00:00+00").toHex());
    QCOMPARE(cmds, (QStringList{"780100", "780200", "780200", "780500", "7803" + time20 + "00",
                                "a50100", "a60000", "780400"}));
}

// Opening a missing port fails with errno; close returns promptly and the
// same object reopens.
void TstLinkEnd2End::openCloseReopen() {
    LinkRig rig(kNewest);
    QVERIFY(rig.sim.Start());
    rig.comNumber = AddComPortPath(rig.sim.SlavePath());
    rig.port = std::make_unique<PortWork>();
    ulong err = 0;
    QVERIFY(!rig.port->readThread->OpenPort(AddComPortPath("/dev/kw-no-such-port"), err));
    QCOMPARE(err, ulong(ENOENT));
    QVERIFY(!rig.port->IsPortOpen());
    QVERIFY(rig.port->readThread->OpenPort(rig.comNumber, err));
    QElapsedTimer t;
    t.start();
    QVERIFY(rig.port->ClosePort());
    QVERIFY(t.elapsed() < 2000); // a polling cycle, not a wait for data that never comes
    QVERIFY(!rig.port->IsPortOpen());
    QVERIFY(!rig.port->readThread->stopRequest);
    QVERIFY(rig.port->readThread->OpenPort(rig.comNumber, err));
    QVERIFY(!rig.Handshake().isEmpty());
}

QTEST_GUILESS_MAIN(TstLinkEnd2End)
#include "tst_linkend2end.moc"
