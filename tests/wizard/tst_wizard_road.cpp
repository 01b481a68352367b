// The wizard's road end to end: the start menu, the wizard, the main window,
// the link and the simulated device.

#include "WizardTestSupport.h"

#include "keys/KeysOptions.h"
#include "service/TestPrib.h"
#include "settings/ImageEEPROM.h"
#include "settings/ImageLayout.h"

#include <QTimer>

namespace {
const QDate k03_12_2010(2010, 12, 3);

// Sections the device asked for and got, each against the builder's bytes
// for the settings as they stand now.
void CompareProgrammedSections(const SimDevice& sim) {
    const QList<QByteArray> asked = sim.SectionsAsked();
    QVERIFY(!asked.isEmpty());
    QCOMPARE(sim.SectionAnswers().size(), asked.size());
    for (int i = 0; i < asked.size(); ++i)
        QCOMPARE(sim.SectionAnswers().at(i).toHex(), SimDevice::SectionFor(asked.at(i)).toHex());
}
} // namespace

class TestWizardRoad : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PrepareApplication(); }
    void newConfigurationProgrammed();
    void changeConfigurationKeepsTheDevice();
    void failedReads_data();
    void failedReads();
    void cancelAndWaiting();
    void keysAndTestHandOffs_data();
    void keysAndTestHandOffs();
    void editorHandOffByHand();
};

void TestWizardRoad::newConfigurationProgrammed() {
    WizardRun run;
    QVERIFY(run.start());
    QVERIFY(run.connect(2, k03_12_2010, 33));
    WizardOM& w = *run.wizard();
    QCOMPARE(w.windowTitle(), QStringLiteral("Мастер настройки прибора \"Мирвел-К\""));
    QVERIFY(!run.button(QWizard::BackButton)->isEnabled() && run.pageFits());

    // Pages 4 to 10 as this model and the servers route them.
    auto enter = [&run](int page) {
        run.next();
        return run.page() == page;
    };
    QVERIFY(enter(WizardOM::PageBase));
    run.w<QSpinBox>("sbNumObj")->setValue(42);
    run.check("cbObjName");
    run.type("leObjName", "Obj7");
    run.check("cbConGPRS");
    run.check("cbUseSNTP");
    run.check("cbUseShl1Teh");
    run.pick("comboBPoyas", 3);
    QVERIFY(enter(WizardOM::PageGPRS));
    run.w<QSpinBox>("sbPort2")->setValue(99999);
    run.w<QSpinBox>("sbPop1")->setValue(3);
    run.w<QSpinBox>("sbPop2")->setValue(4);
    QVERIFY(enter(WizardOM::PageNumbers));
    auto* number = run.w<QLineEdit>("leNum1");
    number->setFocus();
    number->home(false);
    QTest::keyClicks(number, "9161234567");
    QVERIFY(enter(WizardOM::PageExits)); // no loop page for this model
    run.pick("CombobV2", 4);
    run.type("lePass2", "a5");
    QVERIFY(enter(WizardOM::PageCams));
    QVERIFY(enter(WizardOM::PageSummary));
    QCOMPARE(run.summary().first(), QStringLiteral("Прибор \"Мирвел-К\" версии: 03.12.2010/33"));
    QVERIFY(run.summary().contains(QStringLiteral("2. 4 - пользовательский, пароль: A5")));
    QVERIFY(w.editorButton.isVisible() && w.programButton.isVisible() && w.menuButton.isVisible());
    QVERIFY(!run.button(QWizard::NextButton)->isVisible());

    // Refused first: the result, an empty bar and the way back.
    run.sim.SetProgrammingOk(false);
    w.programButton.click();
    QCOMPARE(run.page(), int(WizardOM::PageProgramming));
    QVERIFY(!run.button(QWizard::BackButton)->isEnabled() && !w.menuButton.isEnabled());
    QVERIFY(!run.button(QWizard::CancelButton)->isVisible());
    auto* status = run.w<QLabel>("lStatus");
    auto* bar = run.w<QProgressBar>("pBarProgramming");
    QTRY_VERIFY_WITH_TIMEOUT(status->isVisible(), 10000);
    QCOMPARE(status->text(), QStringLiteral("Ошибка программирования!"));
    QVERIFY(!status->isEnabled() && bar->value() == 0);
    run.back();
    QCOMPARE(run.page(), int(WizardOM::PageSummary));

    run.sim.Reset();
    run.sim.SetProgrammingOk(true);
    w.programButton.click();
    QTRY_VERIFY_WITH_TIMEOUT(status->isVisible(), 10000);
    QCOMPARE(status->text(), QStringLiteral("Прибор успешно запрограммирован!"));
    QCOMPARE(bar->value(), bar->maximum());
    QVERIFY(run.pageFits());
    CompareProgrammedSections(run.sim);

    const DeviceSettings& s = *g_deviceSettings;
    QCOMPARE(s.header->deviceType, int(DEV_VoduzeR));
    QCOMPARE(s.header->firmwareSubVersion, 33);
    QCOMPARE(s.header->workMode, int(MODE_AUTONOMOUS));
    QCOMPARE(s.connection->objectNumber, QByteArray("0042"));
    QCOMPARE(s.consoleSms->objectName, QStringLiteral("Obj7"));
    QCOMPARE(s.consoleSms->cb1, u8(1));
    QCOMPARE(s.navigation->timeZone, 3);
    QCOMPARE(s.servers->serverPort[1], QStringLiteral("99999"));
    QCOMPARE(s.servers->udPop3, 9);
    QCOMPARE(s.phones->number[0], QStringLiteral("9161234567"));
    QCOMPARE(s.outputs->outputType[1], 4);
    QCOMPARE(s.outputs->adminPassword[1], QStringLiteral("FFA5"));
    QCOMPARE(s.extra->techLoop, 1);

    // Back to the choice page for the next device.
    QVERIFY(w.menuButton.isEnabled());
    w.menuButton.click();
    QCOMPARE(run.page(), int(WizardOM::PageChoose));
}

// Read and programmed back without an edit, offline: the device gets back
// every field it sent but the work mode the hand-off selects, also the loops
// and addresses the wizard cannot name or look up.
void TestWizardRoad::changeConfigurationKeepsTheDevice() {
    WizardRun run;
    FakeHosts offline;
    QVERIFY(run.start());
    QVERIFY(run.connect(2, k03_12_2010, 31));
    QCOMPARE(run.wizard()->currentDeviceType(), int(DEV_VororaZ));

    DeviceSettings device(*g_deviceSettings);
    device.connection->objectNumber = "0815";
    for (int k = 0; k < kMainNumbers; ++k) {
        device.phones->number[k] = QStringLiteral("91600000%1").arg(k, 2, 10, QLatin1Char('0'));
        device.smsFlags->checkbox[k] = k % 2;
        device.smsFlags->cbDrugieZa[k] = k / 2 % 2;
        device.smsFlags->cbts[k] = k == 3;
        device.extraSms->smsService[k] = k == 1;
        device.extraSms->smsSimChange[k] = k == 4;
    }
    device.servers->useDns = {1, 0};
    device.servers->dnsName[0] = QStringLiteral("srv.example.net");
    device.servers->serverIp = {QStringLiteral("010.000.000.001"),
                                QStringLiteral("192.168.001.010")};
    device.servers->udPop3 = device.servers->udPop[0] + device.servers->udPop[1] + 2;
    device.connection->connectByGprs = 1;
    device.outputs->outputType = {3, 6, 5, 0};
    device.outputs->outputLoop[0] = {1, 0, 1, 0, 0, 0, 0, 0};
    device.outputs->adminPassword = {QStringLiteral("FF12"), QStringLiteral("FF34")};
    device.outputs->userPassword[0] = QStringLiteral("FF56");
    device.extra->techLoop = 2;
    device.loopLimits->maxLevel.fill(1023);
    device.loopFunctions->closeAnalysis[2] = 2; // no function of the wizard's list
    device.loopFunctions->closeAnalysis[3] = 1; // a guard loop below the wizard's limit
    device.loopLimits->maxLevel[3] = 300;
    run.sim.SetMemoryImage(ImageEEPROM::BuildImage(device));

    run.check("rbChooseChangeConfig");
    run.next();
    QTRY_COMPARE_WITH_TIMEOUT(run.page(), int(WizardOM::PageBase), 15000);
    QCOMPARE(run.w<QSpinBox>("sbNumObj")->value(), 815);
    QCOMPARE(run.w<QComboBox>("cBoxShl2")->currentText(), QStringLiteral("Технологический"));
    QCOMPARE(run.w<QComboBox>("cBoxShl3")->currentIndex(), -1);
    QCOMPARE(run.w<QLineEdit>("leAdress1")->text(), QStringLiteral("srv.example.net"));
    DeviceSettings read(*g_deviceSettings);
    read.header->workMode = MODE_AUTONOMOUS;
    QVERIFY(run.goTo(WizardOM::PageSummary));
    run.sim.Reset();
    run.wizard()->programButton.click();
    QTRY_VERIFY_WITH_TIMEOUT(run.sim.ProgrammingDone(), 10000);
    QTRY_VERIFY(run.w<QLabel>("lStatus")->isVisible());

    const QString changed = FirstDifference(*g_deviceSettings, read);
    QVERIFY2(changed.isEmpty(), qPrintable(changed));
    CompareProgrammedSections(run.sim);
}

void TestWizardRoad::failedReads_data() {
    QTest::addColumn<int>("failure"); // 0 never programmed, 1 broken off, 2 silent
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("label");
    QTest::newRow("never programmed") << 0 << int(WizardOM::PageChoose) << "lErrReadEEPROM";
    QTest::newRow("read fails") << 1 << int(WizardOM::PageChoose) << "lErrReadEEPROM";
    QTest::newRow("device silent") << 2 << int(WizardOM::PageConnect) << "lTimeOut";
}

// A device that cannot be read leaves the settings alone: the wizard returns
// to the choice page, or, when the device went silent, starts again.
void TestWizardRoad::failedReads() {
    QFETCH(int, failure);
    QFETCH(int, page);
    QFETCH(QString, label);
    WizardRun run(failure == 2 ? 0.02 : 0.1);
    QVERIFY(run.start());
    QVERIFY(run.connect(1, k03_12_2010, 33));
    if (failure == 0)
        run.sim.SetMemoryImage(QByteArray(image::kSize, image::kErased));
    else if (failure == 1)
        run.sim.ArmFault(SimDevice::Fault::PrematureEnd, 3);
    else
        run.sim.SetSilent(true);
    const QByteArray number = g_deviceSettings->connection->objectNumber;
    run.check("rbChooseChangeConfig");
    run.next();
    QCOMPARE(run.page(), int(WizardOM::PageReadEEPROM));
    QVERIFY(!run.button(QWizard::NextButton)->isEnabled() && run.pageFits());
    QTRY_COMPARE_WITH_TIMEOUT(run.page(), page, 15000);
    QVERIFY(run.w(label)->isVisible() && run.pageFits());
    QVERIFY(run.w<QRadioButton>("rbChooseNewConfig")->isChecked());
    QCOMPARE(g_deviceSettings->connection->objectNumber, number);
    QCOMPARE(run.main()->portWork()->IsPortOpen(), page == WizardOM::PageChoose);
    if (page == WizardOM::PageChoose) { // entering the read page again hides the label
        run.check("rbChooseChangeConfig");
        run.next();
        QVERIFY(run.w(label)->isHidden());
    }
}

void TestWizardRoad::cancelAndWaiting() {
    WizardRun run;
    QVERIFY(run.start());
    PortWork* link = run.main()->portWork();

    // Waiting: the port closes without a break.
    run.pick("cbCOM", run.comIndex);
    run.next();
    QTRY_VERIFY(link->IsPortOpen());
    QVERIFY(run.wizard()->isWaiting());
    run.button(QWizard::CancelButton)->click();
    QVERIFY(!link->IsPortOpen() && !run.wizard()->isWaiting());
    QVERIFY(!run.sim.Received().toHex().contains("d700"));
    QCOMPARE(VisibleTopLevels(), QList<QWidget*>{run.windows->menu});
    QVERIFY(!run.main()->isWizardActive());

    // After the announcement: the break goes out, then the port closes.
    QVERIFY(run.start());
    QVERIFY(run.connect(1, k03_12_2010, 33));
    QTRY_VERIFY(run.sim.Received().toHex().endsWith("d700ad00")); // the choice page's break
    const int before = run.sim.Received().size();
    run.button(QWizard::CancelButton)->click();
    QVERIFY(!link->IsPortOpen());
    QTRY_COMPARE(run.sim.Received().mid(before).toHex().left(8), QByteArray("d700ad00"));

    // A silent device: the wait text comes every period, and a late
    // announcement still moves on.
    WizardOM::SetWaitTimeoutMs(30);
    run.sim.Reset();
    QVERIFY(run.start());
    QCOMPARE(run.page(), int(WizardOM::PageConnect));
    QVERIFY(run.w("lTimeOut")->isHidden());
    run.pick("cbCOM", run.comIndex);
    run.next();
    auto* waiting = run.w<QLabel>("lMessageDevFind");
    QTRY_VERIFY(!waiting->isEnabled());
    QVERIFY(waiting->text().startsWith(QStringLiteral("Превышение времени ожидания прибора.")));
    QVERIFY(run.pageFits());
    QVERIFY(run.wizard()->isWaiting());
    run.sim.SetIdentity(1, k03_12_2010, 33);
    run.sim.SendGreeting();
    QTRY_COMPARE(run.page(), int(WizardOM::PageChoose));
    QVERIFY(!run.wizard()->isWaiting());

    // An announcement off the wait page changes nothing.
    run.button(QWizard::CancelButton)->click();
    QVERIFY(run.start());
    emit run.main()->SigDeviceWasConnect(DEV_D8M, QStringLiteral("16.05.2012/22"));
    QCOMPARE(run.page(), int(WizardOM::PageConnect));
    QCOMPARE(run.wizard()->currentDeviceType(), int(DEV_D4M));

    // No port to open: the access box, back on page 0.
    run.wizard()->SetupList(0, {});
    run.next();
    QCOMPARE(run.page(), int(WizardOM::PageConnect));
    QCOMPARE(run.shell.prompt.count(QStringLiteral("Ошибка доступа")), 1);
    QVERIFY(!link->IsPortOpen());
}

void TestWizardRoad::keysAndTestHandOffs_data() {
    QTest::addColumn<bool>("keys");
    QTest::newRow("keys") << true;
    QTest::newRow("test") << false;
}

// The chosen service window runs modally with the wizard hidden; cancelling
// it brings the wizard back on the choice page.
void TestWizardRoad::keysAndTestHandOffs() {
    QFETCH(bool, keys);
    WizardRun run;
    QVERIFY(run.start());
    QVERIFY(run.connect(1, k03_12_2010, 33));
    QDialog* window = keys ? static_cast<QDialog*>(run.main()->keysOptions())
                           : static_cast<QDialog*>(run.main()->testPrib());
    bool wizardHidden = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, window, [&] {
        if (!window->isVisible())
            return;
        poll.stop();
        wizardHidden = run.wizard()->isHidden();
        if (keys)
            run.main()->keysOptions()->CancelClick();
        else
            run.main()->testPrib()->CancelClick();
    });
    poll.start(20);
    run.check(keys ? QStringLiteral("rbChoosePassKeyOptions") : QStringLiteral("rbChooseTest"));
    run.next();
    QVERIFY(wizardHidden && run.wizard()->isVisible());
    QCOMPARE(run.page(), int(WizardOM::PageChoose));
    QVERIFY(run.w<QRadioButton>("rbChooseNewConfig")->isChecked());
}

void TestWizardRoad::editorHandOffByHand() {
    WizardRun run;
    QVERIFY(run.start());
    run.check("rbVersion");
    run.pick("cbTypeDev", DEV_VororaZ);
    auto* versions = run.w<QComboBox>("cbVersion");
    versions->setCurrentIndex(versions->findText(QStringLiteral("16.05.2012/22")));
    run.next();
    QCOMPARE(run.page(), int(WizardOM::PageBase));
    run.w<QSpinBox>("sbNumObj")->setValue(7);
    QVERIFY(run.goTo(WizardOM::PageSummary));
    run.wizard()->editorButton.click();

    QCOMPARE(VisibleTopLevels(), QList<QWidget*>{run.main()});
    QVERIFY(!run.main()->isWizardActive());
    QCOMPARE(g_deviceSettings->connection->objectNumber, QByteArray("0007"));
    QVERIFY(Child<QRadioButton>(run.main(), "RbRegAuto")->isChecked());
    QVERIFY(Child<QRadioButton>(run.main(), "rbVororaZ")->isChecked());
    QCOMPARE(Child<QComboBox>(run.main(), "cbVersion")->currentText(),
             QStringLiteral("16.05.2012/22"));
    QVERIFY(run.w<QRadioButton>("rbCOM")->isChecked());
}

QTEST_MAIN(TestWizardRoad)
#include "tst_wizard_road.moc"
