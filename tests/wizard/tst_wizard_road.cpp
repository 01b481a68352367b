// The wizard's road end to end: the start menu, the wizard, the main window,
// the link and the simulated device.

#include "WizardTestSupport.h"

#include "app/EventTable.h"
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
    void readingTheDevice();
    void leavingTheRead_data();
    void leavingTheRead();
    void serviceWindows();
    void cancelAndWaiting();
};

void TestWizardRoad::newConfigurationProgrammed() {
    WizardRun run;
    QVERIFY(run.start());
    QVERIFY(run.connect(2, k03_12_2010, 33));
    WizardOM& w = *run.wizard();
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
    QCOMPARE(run.summary().first(), u"Прибор \"Мирвел-К\" версии: 03.12.2010/33"_s);
    QVERIFY(run.summary().contains(u"2. 4 - пользовательский, пароль: A5"_s));
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
    QCOMPARE(status->text(), u"Ошибка программирования!"_s);
    QVERIFY(!status->isEnabled() && bar->value() == 0);
    run.back();
    QCOMPARE(run.page(), int(WizardOM::PageSummary));

    run.sim.Reset();
    run.sim.SetProgrammingOk(true);
    w.programButton.click();
    QTRY_VERIFY_WITH_TIMEOUT(status->isVisible(), 10000);
    QCOMPARE(status->text(), u"Прибор успешно запрограммирован!"_s);
    QCOMPARE(bar->value(), bar->maximum());
    QVERIFY(run.pageFits());
    CompareProgrammedSections(run.sim);

    const DeviceSettings& s = *g_deviceSettings;
    QCOMPARE(s.connection->objectNumber, QByteArray("0042"));
    QCOMPARE(s.consoleSms->objectName, u"Obj7"_s);
    QCOMPARE(s.consoleSms->cb1, u8(1));
    QCOMPARE(s.navigation->timeZone, 3);
    QCOMPARE(s.servers->serverPort[1], u"99999"_s);
    QCOMPARE(s.servers->udPop3, 9);
    QCOMPARE(s.phones->number[0], u"9161234567"_s);
    QCOMPARE(s.outputs->outputType[1], 4);
    QCOMPARE(s.outputs->adminPassword[1], u"FFA5"_s);
    QCOMPARE(s.extra->techLoop, 1);

    // Back to the choice page, a new configuration handed to the editor.
    w.menuButton.click();
    QCOMPARE(run.page(), int(WizardOM::PageChoose));
    run.next();
    run.w<QSpinBox>("sbNumObj")->setValue(7);
    QVERIFY(run.goTo(WizardOM::PageSummary));
    w.editorButton.click();
    QCOMPARE(VisibleTopLevels(), QList<QWidget*>{run.main()});
    QVERIFY(!run.main()->isWizardActive());
    QCOMPARE(g_deviceSettings->connection->objectNumber, QByteArray("0007"));
    QVERIFY(Child<QRadioButton>(run.main(), "RbRegAuto")->isChecked());
    QVERIFY(Child<QRadioButton>(run.main(), "rbVoduzeR")->isChecked());
    QCOMPARE(Child<QComboBox>(run.main(), "cbVersion")->currentText(), u"03.12.2010/33"_s);
}

// Read and programmed back without an edit, offline, the device gets back
// every field it sent but the work mode the hand-off selects, also the loops
// and addresses the wizard cannot name or look up. A device that cannot be
// read leaves the settings alone: the wizard returns to the choice page, or,
// when the device went silent, starts again.
void TestWizardRoad::readingTheDevice() {
    WizardRun run;
    FakeHosts offline;
    QVERIFY(run.start());
    QVERIFY(run.connect(2, k03_12_2010, 31));
    QCOMPARE(run.wizard()->currentDeviceType(), int(DEV_VororaZ));
    DeviceSettings device(*g_deviceSettings);
    device.connection->objectNumber = "0815";
    for (int k = 0; k < kMainNumbers; ++k) {
        device.phones->number[k] = u"91600000%1"_s.arg(k, 2, 10, QLatin1Char('0'));
        device.smsFlags->checkbox[k] = k % 2;
        device.smsFlags->cbDrugieZa[k] = k / 2 % 2;
        device.smsFlags->cbts[k] = k == 3;
        device.extraSms->smsService[k] = k == 1;
        device.extraSms->smsSimChange[k] = k == 4;
    }
    device.servers->useDns = {1, 0};
    device.servers->dnsName[0] = u"srv.example.net"_s;
    device.servers->serverIp = {u"010.000.000.001"_s, u"192.168.001.010"_s};
    device.servers->udPop3 = device.servers->udPop[0] + device.servers->udPop[1] + 2;
    device.connection->connectByGprs = 1;
    device.outputs->outputType = {3, 6, 5, 0};
    device.outputs->outputLoop[0] = {1, 0, 1, 0, 0, 0, 0, 0};
    device.outputs->adminPassword = {u"FF12"_s, u"FF34"_s};
    device.outputs->userPassword[0] = u"FF56"_s;
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
    QCOMPARE(run.w<QComboBox>("cBoxShl2")->currentText(), u"Технологический"_s);
    QCOMPARE(run.w<QComboBox>("cBoxShl3")->currentIndex(), -1);
    QCOMPARE(run.w<QLineEdit>("leAdress1")->text(), u"srv.example.net"_s);
    DeviceSettings read(*g_deviceSettings);
    read.header->workMode = MODE_AUTONOMOUS;
    QVERIFY(run.goTo(WizardOM::PageSummary));
    run.sim.Reset();
    run.wizard()->programButton.click();
    QTRY_VERIFY_WITH_TIMEOUT(run.sim.ProgrammingDone(), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(run.w<QLabel>("lStatus")->isVisible(), 15000);

    const QString changed = FirstDifference(*g_deviceSettings, read);
    QVERIFY2(changed.isEmpty(), qPrintable(changed));
    CompareProgrammedSections(run.sim);
    run.wizard()->menuButton.click();

    const QByteArray number = g_deviceSettings->connection->objectNumber;
    for (int failure : {0, 1, 2}) { // never programmed, broken off, silent
        if (failure == 0)
            run.sim.SetMemoryImage(QByteArray(image::kSize, image::kErased));
        else if (failure == 1)
            run.sim.ArmFault(SimDevice::Fault::PrematureEnd, 3);
        else
            run.sim.SetSilent(true);
        const int page = failure == 2 ? WizardOM::PageConnect : WizardOM::PageChoose;
        const QString label = failure == 2 ? "lTimeOut" : "lErrReadEEPROM";
        // The device holds the read request until the page has been looked at.
        run.sim.SetHeld(true);
        run.check("rbChooseChangeConfig");
        run.next();
        QCOMPARE(run.page(), int(WizardOM::PageReadEEPROM));
        QVERIFY(!run.button(QWizard::NextButton)->isEnabled() && run.pageFits());
        QVERIFY(run.w(label)->isHidden());
        QCOMPARE(run.page(), int(WizardOM::PageReadEEPROM));
        run.sim.SetHeld(false);
        QTRY_COMPARE_WITH_TIMEOUT(run.page(), page, 15000);
        QVERIFY(run.w(label)->isVisible() && run.pageFits());
        QVERIFY(run.w<QRadioButton>("rbChooseNewConfig")->isChecked());
        QCOMPARE(g_deviceSettings->connection->objectNumber, number);
        QCOMPARE(run.main()->portWork()->IsPortOpen(), page == WizardOM::PageChoose);
    }
}

// Back, "Вернуться в меню" or Cancel while the device is in the middle of a
// read: the wizard stays where the user went, nothing of the read reaches the
// settings, the read's time-out does not follow, and a new read starts clean.
void TestWizardRoad::leavingTheRead_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("Back") << "back";
    QTest::newRow("menu") << "menu";
    QTest::newRow("Cancel") << "cancel";
}

void TestWizardRoad::leavingTheRead() {
    QFETCH(QString, how);
    WizardRun run(1.0); // the device holds for a while: far from any time-out
    QVERIFY(run.start());
    QVERIFY(run.connect(2, k03_12_2010, 31));
    DeviceSettings device(*g_deviceSettings);
    device.connection->objectNumber = "0815";
    const QByteArray image = ImageEEPROM::BuildImage(device);
    run.sim.SetMemoryImage(image);
    run.sim.ArmFault(SimDevice::Fault::Hold, 3);
    const DeviceSettings before(*g_deviceSettings);
    PortWork* link = run.main()->portWork();
    const int rows = run.main()->events()->rowCount();

    run.check("rbChooseChangeConfig");
    run.next();
    QTRY_VERIFY_WITH_TIMEOUT(run.sim.Held() && run.w<QProgressBar>("pBarRead")->value() > 0, 15000);
    const int target = how == "cancel" ? -1 : int(WizardOM::PageChoose);
    if (how == "back")
        run.back();
    else if (how == "menu")
        run.wizard()->menuButton.click();
    else
        run.button(QWizard::CancelButton)->click();
    QCOMPARE(run.page() == target || run.wizard()->isHidden(), true);
    QTRY_VERIFY_WITH_TIMEOUT(!link->readTimer->isActive(), 15000);
    // The frame the device held goes out after the break: it is not taken.
    run.sim.SetHeld(false);
    QTRY_VERIFY_WITH_TIMEOUT(run.sim.FramesSent() == 3 &&
                                 run.sim.Received().contains(QByteArray::fromHex("d700ad00")),
                             15000);
    QTest::qWait(300);
    QVERIFY(!link->readTimer->isActive());
    if (how != "cancel")
        QCOMPARE(run.page(), target);
    QVERIFY(run.w<QRadioButton>("rbChooseNewConfig")->isChecked());
    const QString changed = FirstDifference(*g_deviceSettings, before);
    QVERIFY2(changed.isEmpty(), qPrintable(changed));
    for (int r = rows; r < run.main()->events()->rowCount(); ++r)
        QVERIFY(!QList<int>({121, 210, 301, 302}).contains(run.main()->events()->Row(r)->code));

    run.sim.Reset();
    if (how == "cancel") {
        QVERIFY(run.start());
        QVERIFY(run.connect(2, k03_12_2010, 31));
    }
    run.check("rbChooseChangeConfig");
    run.next();
    QTRY_COMPARE_WITH_TIMEOUT(run.page(), int(WizardOM::PageBase), 15000);
    QCOMPARE(run.w<QSpinBox>("sbNumObj")->value(), 815);
}

// The key and test windows run modally with the wizard hidden; cancelling
// them brings it back on the choice page.
void TestWizardRoad::serviceWindows() {
    WizardRun run;
    QVERIFY(run.start());
    QVERIFY(run.connect(1, k03_12_2010, 33));
    for (bool keys : {true, false}) {
        QDialog* window = keys ? static_cast<QDialog*>(run.main()->keysOptions())
                               : static_cast<QDialog*>(run.main()->testPrib());
        bool wizardHidden = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, window, [&] {
            if (!window->isVisible())
                return;
            poll.stop();
            wizardHidden = run.wizard()->isHidden();
            keys ? run.main()->keysOptions()->CancelClick() : run.main()->testPrib()->CancelClick();
        });
        poll.start(20);
        run.check(keys ? "rbChoosePassKeyOptions" : "rbChooseTest");
        run.next();
        QVERIFY(wizardHidden && run.wizard()->isVisible());
        QCOMPARE(run.page(), int(WizardOM::PageChoose));
        QVERIFY(run.w<QRadioButton>("rbChooseNewConfig")->isChecked());
    }

    // The choice page's break took the device out of test mode; a read then
    // gets the device's settings.
    DeviceSettings device(*g_deviceSettings);
    device.connection->objectNumber = "0815";
    run.sim.SetMemoryImage(ImageEEPROM::BuildImage(device));
    run.check("rbChooseChangeConfig");
    run.next();
    QTRY_COMPARE_WITH_TIMEOUT(run.page(), int(WizardOM::PageBase), 15000);
    QCOMPARE(run.w<QSpinBox>("sbNumObj")->value(), 815);
}

void TestWizardRoad::cancelAndWaiting() {
    WizardRun run;
    QVERIFY(run.start());
    PortWork* link = run.main()->portWork();

    // Waiting: the port closes without a break.
    run.pick("cbCOM", run.comIndex);
    run.next();
    QTRY_VERIFY_WITH_TIMEOUT(link->IsPortOpen(), 15000);
    QVERIFY(run.wizard()->isWaiting());
    run.button(QWizard::CancelButton)->click();
    QVERIFY(!link->IsPortOpen() && !run.wizard()->isWaiting());
    QVERIFY(!run.sim.Received().toHex().contains("d700"));
    QCOMPARE(VisibleTopLevels(), QList<QWidget*>{run.windows->menu});
    QVERIFY(!run.main()->isWizardActive());

    // After the announcement: the break goes out, then the port closes.
    QVERIFY(run.start());
    QVERIFY(run.connect(1, k03_12_2010, 33));
    QTRY_VERIFY_WITH_TIMEOUT(run.sim.Received().toHex().endsWith("d700ad00"),
                             15000); // the choice page's break
    const int before = run.sim.Received().size();
    run.button(QWizard::CancelButton)->click();
    QVERIFY(!link->IsPortOpen());
    QTRY_COMPARE_WITH_TIMEOUT(run.sim.Received().mid(before).toHex().left(8),
                              QByteArray("d700ad00"), 15000);

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
    QTRY_VERIFY_WITH_TIMEOUT(!waiting->isEnabled(), 15000);
    QVERIFY(waiting->text().startsWith(u"Превышение времени ожидания прибора."_s));
    QVERIFY(run.pageFits());
    QVERIFY(run.wizard()->isWaiting());
    run.sim.SetIdentity(1, k03_12_2010, 33);
    run.sim.SendGreeting();
    QTRY_COMPARE_WITH_TIMEOUT(run.page(), int(WizardOM::PageChoose), 15000);
    QVERIFY(!run.wizard()->isWaiting());

    // No port to open: the access box, back on page 0.
    run.button(QWizard::CancelButton)->click();
    QVERIFY(run.start());
    run.wizard()->SetupList(0, {});
    run.next();
    QCOMPARE(run.page(), int(WizardOM::PageConnect));
    QCOMPARE(run.shell.prompt.count(u"Ошибка доступа"_s), 1);
    QVERIFY(!link->IsPortOpen());
}

QTEST_MAIN(TestWizardRoad)
#include "tst_wizard_road.moc"
