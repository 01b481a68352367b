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
const QString kBreak = QStringLiteral("d700");

// Sections the device asked for and got, each against the builder's bytes
// for the settings as they stand now.
void CompareProgrammedSections(const SimDevice& sim) {
    const QList<QByteArray> asked = sim.SectionsAsked();
    const QList<QByteArray> answers = sim.SectionAnswers();
    QVERIFY(!asked.isEmpty());
    QCOMPARE(answers.size(), asked.size());
    for (int i = 0; i < asked.size(); ++i)
        QCOMPARE(answers.at(i).toHex(), SimDevice::SectionFor(asked.at(i)).toHex());
}

// Cancels a modal service window as soon as it runs.
void CancelWhenShown(QDialog* dialog, std::function<void()> cancel) {
    auto* poll = new QTimer(dialog);
    QObject::connect(poll, &QTimer::timeout, dialog, [dialog, poll, cancel] {
        if (!dialog->isVisible())
            return;
        poll->deleteLater();
        cancel();
    });
    poll->start(20);
}
} // namespace

class TestWizardRoad : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PrepareApplication(); }
    void newConfigurationProgrammed();
    void changeConfigurationKeepsTheDevice();
    void unreadableDeviceReturnsToTheChoice_data();
    void unreadableDeviceReturnsToTheChoice();
    void cancelAndWaiting();
    void lostDeviceRestarts();
    void keysAndTestHandOffs_data();
    void keysAndTestHandOffs();
    void editorHandOffByHand();
};

void TestWizardRoad::newConfigurationProgrammed() {
    WizardRun run;
    FakeHosts hosts;
    hosts.table.insert(QStringLiteral("gprs.example.net"),
                       {QHostAddress(QStringLiteral("10.1.2.3"))});
    QVERIFY(run.simStarted);
    QVERIFY(run.start());
    QCOMPARE(run.page(), int(WizardOM::PageConnect));
    QVERIFY(run.connect(2, k03_12_2010, 33));
    QCOMPARE(run.wizard()->currentDeviceType(), int(DEV_VoduzeR));
    QCOMPARE(run.wizard()->currentVersion(), QStringLiteral("03.12.2010/33"));
    QCOMPARE(run.wizard()->windowTitle(), QStringLiteral("Мастер настройки прибора \"Мирвел-К\""));
    QVERIFY(!run.button(QWizard::BackButton)->isEnabled());

    run.next();
    QCOMPARE(run.page(), int(WizardOM::PageBase));
    run.w<QSpinBox>("sbNumObj")->setValue(42);
    auto* name = run.w<QLineEdit>("leObjName");
    run.w<QCheckBox>("cbObjName")->setChecked(true);
    name->clear();
    QTest::keyClicks(name, "Obj7");
    run.w<QCheckBox>("cbConGPRS")->setChecked(true);
    run.w<QCheckBox>("cbUseSNTP")->setChecked(true);
    run.w<QCheckBox>("cbUseShl1Teh")->setChecked(true);
    run.w<QComboBox>("comboBPoyas")->setCurrentIndex(3);

    run.next();
    QCOMPARE(run.page(), int(WizardOM::PageGPRS));
    run.w<QLineEdit>("leAdress1")->setText(QStringLiteral("gprs.example.net"));
    run.w<QSpinBox>("sbPort1")->setValue(8080);
    run.w<QLineEdit>("leAdress2")->setText(QStringLiteral("10.0.0.7"));
    run.w<QSpinBox>("sbPort2")->setValue(99999);
    run.w<QSpinBox>("sbPop1")->setValue(3);
    run.w<QSpinBox>("sbPop2")->setValue(4);
    run.w<QLineEdit>("leIPserv")->setText(QStringLiteral("192.168.1.5"));
    run.w<QSpinBox>("sbIPPort")->setValue(123);

    run.next();
    QCOMPARE(run.page(), int(WizardOM::PageNumbers));
    auto* number = run.w<QLineEdit>("leNum1");
    number->setFocus();
    number->home(false);
    QTest::keyClicks(number, "9161234567");
    run.w<QComboBox>("comboBSmsOC1")->setCurrentIndex(2);
    run.w<QComboBox>("comboBPopTr1")->setCurrentIndex(7);
    run.w<QCheckBox>("cbSmsTr2")->setChecked(true);

    run.next();
    QCOMPARE(run.page(), int(WizardOM::PageExits)); // no loop page for this model
    run.w<QComboBox>("CombobV1")->setCurrentIndex(3);
    run.w<QCheckBox>("cbPCN11")->setChecked(true);
    run.w<QCheckBox>("cbPCN12")->setChecked(true);
    run.w<QComboBox>("CombobV2")->setCurrentIndex(4);
    auto* password = run.w<QLineEdit>("lePass2");
    QVERIFY(password->isVisible());
    password->selectAll();
    QTest::keyClicks(password, "a5");

    run.next();
    QCOMPARE(run.page(), int(WizardOM::PageCams));
    run.next();
    QCOMPARE(run.page(), int(WizardOM::PageSummary));
    const QStringList summary = run.summary();
    QCOMPARE(summary.first(), QStringLiteral("Прибор \"Мирвел-К\" версии: 03.12.2010/33"));
    QVERIFY(summary.contains(QStringLiteral("IP-адрес сервера 1: 10.1.2.3")));
    QVERIFY(summary.contains(QStringLiteral("2. 4 - пользовательский, пароль: A5")));
    QVERIFY(run.wizard()->programButton.isVisible());

    // Refused first: the result, an empty bar and the way back.
    run.sim.SetProgrammingOk(false);
    run.wizard()->programButton.click();
    QCOMPARE(run.page(), int(WizardOM::PageProgramming));
    auto* status = run.w<QLabel>("lStatus");
    QTRY_VERIFY_WITH_TIMEOUT(status->isVisible(), 10000);
    QCOMPARE(status->text(), QStringLiteral("Ошибка программирования!"));
    QVERIFY(!status->isEnabled());
    QCOMPARE(run.w<QProgressBar>("pBarProgramming")->value(), 0);
    QVERIFY(run.button(QWizard::BackButton)->isEnabled());
    run.back();
    QCOMPARE(run.page(), int(WizardOM::PageSummary));

    run.sim.Reset();
    run.sim.SetProgrammingOk(true);
    run.wizard()->programButton.click();
    QTRY_VERIFY_WITH_TIMEOUT(status->isVisible(), 10000);
    QCOMPARE(status->text(), QStringLiteral("Прибор успешно запрограммирован!"));
    auto* bar = run.w<QProgressBar>("pBarProgramming");
    QCOMPARE(bar->value(), bar->maximum());
    QVERIFY(run.wizard()->menuButton.isEnabled());
    CompareProgrammedSections(run.sim);

    const DeviceSettings& s = *g_deviceSettings;
    QCOMPARE(s.header->deviceType, int(DEV_VoduzeR));
    QCOMPARE(s.header->firmwareSubVersion, 33);
    QCOMPARE(s.header->workMode, int(MODE_AUTONOMOUS));
    QCOMPARE(s.connection->objectNumber, QByteArray("0042"));
    QCOMPARE(s.consoleSms->objectName, QStringLiteral("Obj7"));
    QCOMPARE(s.consoleSms->cb1, u8(1));
    QCOMPARE(s.navigation->timeZone, 3);
    QCOMPARE(s.servers->dnsName[0], QStringLiteral("gprs.example.net"));
    QCOMPARE(s.servers->serverIp[0], QStringLiteral("010.001.002.003"));
    QCOMPARE(s.servers->useDns[0], u8(1));
    QCOMPARE(s.servers->serverIp[1], QStringLiteral("010.000.000.007"));
    QCOMPARE(s.servers->serverPort[1], QStringLiteral("99999"));
    QCOMPARE(s.servers->udPop3, 9);
    QCOMPARE(s.sntp->sntpIp, QStringLiteral("192.168.001.005"));
    QCOMPARE(s.sntp->cb3, u8(1));
    QCOMPARE(s.phones->number[0], QStringLiteral("9161234567"));
    QCOMPARE(s.phoneOptions->callAttemptsAlarm[0], 7);
    QCOMPARE(s.smsFlags->checkbox[0] + s.smsFlags->cbDrugieZa[0], 2);
    QCOMPARE(s.smsFlags->cbts[1], u8(1));
    QCOMPARE(s.outputs->outputType[0], 3);
    QCOMPARE(s.outputs->outputType[1], 4);
    QCOMPARE(s.outputs->adminPassword[1], QStringLiteral("FFA5"));
    QCOMPARE(s.outputs->outputLoop[0][0] + s.outputs->outputLoop[0][1], 2);
    QCOMPARE(s.extra->techLoop, 1);
    QCOMPARE(s.zones->keyLoop[17][0], u8(0));

    // Back to the choice page for the next device.
    run.wizard()->menuButton.click();
    QCOMPARE(run.page(), int(WizardOM::PageChoose));
}

void TestWizardRoad::changeConfigurationKeepsTheDevice() {
    WizardRun run;
    FakeHosts hosts;
    hosts.table.insert(QStringLiteral("srv.example.net"),
                       {QHostAddress(QStringLiteral("10.0.0.1"))});
    QVERIFY(run.simStarted);
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
    device.connection->connectByGprs = 1;
    device.outputs->outputType = {3, 6, 5, 0};
    device.outputs->outputLoop[0] = {1, 0, 1, 0, 0, 0, 0, 0};
    device.outputs->adminPassword = {QStringLiteral("FF12"), QStringLiteral("FF34")};
    device.outputs->userPassword[0] = QStringLiteral("FF56");
    device.extra->techLoop = 2;
    run.sim.SetMemoryImage(ImageEEPROM::BuildImage(device));

    run.w<QRadioButton>("rbChooseChangeConfig")->setChecked(true);
    run.next();
    QTRY_COMPARE_WITH_TIMEOUT(run.page(), int(WizardOM::PageBase), 15000);
    QCOMPARE(run.w<QSpinBox>("sbNumObj")->value(), 815);
    QCOMPARE(run.w<QComboBox>("cbNTShl")->currentIndex(), 2);
    QCOMPARE(run.w<QComboBox>("cBoxShl2")->currentText(), QStringLiteral("Технологический"));
    run.nextUntil(WizardOM::PageSummary);
    QCOMPARE(run.page(), int(WizardOM::PageSummary));
    QCOMPARE(run.w<QLineEdit>("leAdress1")->text(), QStringLiteral("srv.example.net"));
    run.sim.Reset();
    run.wizard()->programButton.click();
    QTRY_VERIFY_WITH_TIMEOUT(run.sim.ProgrammingDone(), 10000);
    QTRY_VERIFY(run.w<QLabel>("lStatus")->isVisible());

    const DeviceSettings& s = *g_deviceSettings;
    QCOMPARE(s.connection->objectNumber, device.connection->objectNumber);
    QCOMPARE(s.phones->number, device.phones->number);
    QCOMPARE(s.smsFlags->checkbox, device.smsFlags->checkbox);
    QCOMPARE(s.smsFlags->cbDrugieZa, device.smsFlags->cbDrugieZa);
    QCOMPARE(s.smsFlags->cbts, device.smsFlags->cbts);
    QCOMPARE(s.extraSms->smsService, device.extraSms->smsService);
    QCOMPARE(s.extraSms->smsSimChange, device.extraSms->smsSimChange);
    QCOMPARE(s.servers->serverIp, device.servers->serverIp);
    QCOMPARE(s.servers->useDns, device.servers->useDns);
    QCOMPARE(s.servers->dnsName[0], device.servers->dnsName[0]);
    QCOMPARE(s.outputs->adminPassword, device.outputs->adminPassword);
    QCOMPARE(s.outputs->userPassword[0], device.outputs->userPassword[0]);
    for (int m = 0; m < 3; ++m) {
        QCOMPARE(s.outputs->outputType[m], device.outputs->outputType[m]);
        QCOMPARE(s.outputs->outputLoop[m], device.outputs->outputLoop[m]);
    }
    QCOMPARE(s.extra->techLoop, 2);
    CompareProgrammedSections(run.sim);
}

void TestWizardRoad::unreadableDeviceReturnsToTheChoice_data() {
    QTest::addColumn<bool>("erased");
    QTest::newRow("never programmed") << true;
    QTest::newRow("read fails") << false;
}

void TestWizardRoad::unreadableDeviceReturnsToTheChoice() {
    QFETCH(bool, erased);
    WizardRun run;
    QVERIFY(run.start());
    QVERIFY(run.connect(1, k03_12_2010, 33));
    if (erased)
        run.sim.SetMemoryImage(QByteArray(image::kSize, image::kErased));
    else
        run.sim.ArmFault(SimDevice::Fault::PrematureEnd, 3);
    const QByteArray number = g_deviceSettings->connection->objectNumber;
    run.w<QRadioButton>("rbChooseChangeConfig")->setChecked(true);
    run.next();
    QCOMPARE(run.page(), int(WizardOM::PageReadEEPROM));
    QVERIFY(!run.button(QWizard::NextButton)->isEnabled());
    QTRY_COMPARE_WITH_TIMEOUT(run.page(), int(WizardOM::PageChoose), 15000);
    QVERIFY(run.w("lErrReadEEPROM")->isVisible());
    QVERIFY(run.w<QRadioButton>("rbChooseNewConfig")->isChecked());
    QCOMPARE(g_deviceSettings->connection->objectNumber, number);
    // Entering the read page again hides the label.
    run.w<QRadioButton>("rbChooseChangeConfig")->setChecked(true);
    run.next();
    QVERIFY(run.w("lErrReadEEPROM")->isHidden());
}

void TestWizardRoad::cancelAndWaiting() {
    WizardRun run;
    QVERIFY(run.start());
    PortWork* link = run.main()->portWork();

    // Waiting: the port closes without a break.
    run.w<QComboBox>("cbCOM")->setCurrentIndex(run.comIndex);
    run.next();
    QTRY_VERIFY(link->IsPortOpen());
    QVERIFY(run.wizard()->isWaiting());
    run.button(QWizard::CancelButton)->click();
    QVERIFY(!link->IsPortOpen());
    QVERIFY(!run.wizard()->isWaiting());
    QVERIFY(!run.sim.Received().toHex().contains(kBreak.toLatin1()));
    QCOMPARE(VisibleTopLevels(), QList<QWidget*>{run.windows->menu});
    QVERIFY(!run.main()->isWizardActive());

    // After the announcement: the break goes out, then the port closes.
    QVERIFY(run.start());
    QVERIFY(run.connect(1, k03_12_2010, 33));
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
    run.w<QComboBox>("cbCOM")->setCurrentIndex(run.comIndex);
    run.next();
    auto* waiting = run.w<QLabel>("lMessageDevFind");
    QTRY_VERIFY(!waiting->isEnabled());
    QVERIFY(waiting->text().startsWith(QStringLiteral("Превышение времени ожидания прибора.")));
    QVERIFY(run.wizard()->isWaiting());
    run.sim.SetIdentity(1, k03_12_2010, 33);
    run.sim.SendGreeting();
    QTRY_COMPARE(run.page(), int(WizardOM::PageChoose));
    QVERIFY(!run.wizard()->isWaiting());

    // An announcement off the wait page changes nothing.
    run.back();
    QCOMPARE(run.page(), int(WizardOM::PageChoose)); // Back is disabled here
    run.button(QWizard::CancelButton)->click();
    QVERIFY(run.start());
    emit run.main()->SigDeviceWasConnect(DEV_D8M, QStringLiteral("16.05.2012/22"));
    QCOMPARE(run.page(), int(WizardOM::PageConnect));
    QCOMPARE(run.wizard()->currentDeviceType(), int(DEV_D4M));

    // No port to open: the access box, back on page 0.
    run.wizard()->SetupList(0, {});
    run.next();
    QCOMPARE(run.page(), int(WizardOM::PageConnect));
    QCOMPARE(run.prompt.count(QStringLiteral("Ошибка доступа")), 1);
    QVERIFY(!link->IsPortOpen());
}

void TestWizardRoad::lostDeviceRestarts() {
    WizardRun run(0.02);
    QVERIFY(run.start());
    QVERIFY(run.connect(1, k03_12_2010, 33));
    run.sim.SetSilent(true);
    run.w<QRadioButton>("rbChooseChangeConfig")->setChecked(true);
    run.next();
    QTRY_COMPARE_WITH_TIMEOUT(run.page(), int(WizardOM::PageConnect), 15000);
    QVERIFY(run.w("lTimeOut")->isVisible());
    QVERIFY(!run.main()->portWork()->IsPortOpen());
}

void TestWizardRoad::keysAndTestHandOffs_data() {
    QTest::addColumn<QString>("choice");
    QTest::newRow("keys") << QStringLiteral("rbChoosePassKeyOptions");
    QTest::newRow("test") << QStringLiteral("rbChooseTest");
}

void TestWizardRoad::keysAndTestHandOffs() {
    QFETCH(QString, choice);
    WizardRun run;
    QVERIFY(run.start());
    QVERIFY(run.connect(1, k03_12_2010, 33));
    bool wizardHidden = false;
    const bool keys = choice == QStringLiteral("rbChoosePassKeyOptions");
    QDialog* window = keys ? static_cast<QDialog*>(run.main()->keysOptions())
                           : static_cast<QDialog*>(run.main()->testPrib());
    CancelWhenShown(window, [&] {
        wizardHidden = run.wizard()->isHidden();
        if (keys)
            run.main()->keysOptions()->CancelClick();
        else
            run.main()->testPrib()->CancelClick();
    });
    run.w<QRadioButton>(choice)->setChecked(true);
    run.next();
    QVERIFY(wizardHidden);
    QVERIFY(run.wizard()->isVisible());
    QCOMPARE(run.page(), int(WizardOM::PageChoose));
    QVERIFY(run.w<QRadioButton>("rbChooseNewConfig")->isChecked());
}

void TestWizardRoad::editorHandOffByHand() {
    WizardRun run;
    QVERIFY(run.start());
    run.w<QRadioButton>("rbVersion")->setChecked(true);
    run.w<QComboBox>("cbTypeDev")->setCurrentIndex(DEV_VororaZ);
    auto* versions = run.w<QComboBox>("cbVersion");
    versions->setCurrentIndex(versions->findText(QStringLiteral("16.05.2012/22")));
    QCOMPARE(run.wizard()->currentVersion(), QStringLiteral("16.05.2012/22"));
    run.next();
    QCOMPARE(run.page(), int(WizardOM::PageBase));
    QVERIFY(!run.wizard()->menuButton.isVisible());
    run.w<QSpinBox>("sbNumObj")->setValue(7);
    run.nextUntil(WizardOM::PageSummary);
    QVERIFY(run.wizard()->editorButton.isVisible());
    QVERIFY(!run.wizard()->programButton.isVisible());
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
