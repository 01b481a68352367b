// The wizard's frame on its own: construction, routing, buttons per page,
// the device's run through signals, lists and returns.

#include "WizardTestSupport.h"

#include <QSignalSpy>

namespace {
const QString kNoUsb = QStringLiteral("Нет USB-устройств");

struct Buttons {
    bool backVisible, backEnabled, nextVisible, editor, program, menu;
};
Buttons ButtonsOf(const WizardOM& w) {
    return {w.button(QWizard::BackButton)->isVisible(),
            w.button(QWizard::BackButton)->isEnabled(),
            w.button(QWizard::NextButton)->isVisible(),
            w.editorButton.isVisible(),
            w.programButton.isVisible(),
            w.menuButton.isVisible()};
}
} // namespace

class TestWizardFlow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { EnsureIconResources(); }
    void construction();
    void routesByHand_data();
    void routesByHand();
    void deviceRun();
    void returnsAndTimeOuts();
    void usbList();
};

void TestWizardFlow::construction() {
    LoneWizard lw;
    WizardOM& w = lw.wizard;
    QCOMPARE(w.size(), QSize(758, 408));
    QCOMPARE(w.minimumSize(), w.maximumSize());
    QCOMPARE(int(w.options()), 0xE004);
    QCOMPARE(w.wizardStyle(), QWizard::ModernStyle);
    QCOMPARE(w.pageIds().size(), 12);
    for (QPushButton* b : {&w.editorButton, &w.programButton, &w.menuButton})
        QVERIFY(b->isHidden());
    QCOMPARE(ComboItems(lw.w<QComboBox>("cbTypeDev")),
             (QStringList{"Дорна-4М", "Дорна-8М", "Мирвел", "Мирвел-К"}));
    QCOMPARE(lw.w<QComboBox>("comboBPoyas")->count(), 13);
    QCOMPARE(lw.w<QComboBox>("comboBPoyas")->itemText(12), QStringLiteral("+12"));
    for (int n = 1; n <= 5; ++n) {
        QCOMPARE(lw.w<QComboBox>(QStringLiteral("comboBSmsOC%1").arg(n))->count(), 4);
        QCOMPARE(lw.w<QComboBox>(QStringLiteral("comboBPopTr%1").arg(n))->count(), 10);
    }
    QCOMPARE(lw.w<QComboBox>("CombobV3")->count(), 6);
    QCOMPARE(w.currentVersion(), QStringLiteral("21.09.2009"));
    for (const char* hidden : {"cbConnectSIM2", "cbUpdateTimeGPS", "lePass1", "lPCN2", "cbPCN38"})
        QVERIFY2(lw.w(hidden)->isHidden(), hidden);
    QCOMPARE(lw.w<QProgressBar>("pBarRead")->format(), QStringLiteral("Чтение %p%"));
}

void TestWizardFlow::routesByHand_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("version");
    QTest::addColumn<bool>("gprs");
    QTest::addColumn<bool>("sntp");
    QTest::addColumn<QList<int>>("route");
    QTest::newRow("Дорна-4М, no server")
        << 0 << "21.09.2009" << false << false << QList<int>{0, 4, 6, 7, 8, 10};
    QTest::newRow("Дорна-8М, GPRS")
        << 1 << "03.12.2010/33" << true << false << QList<int>{0, 4, 5, 6, 7, 8, 10};
    QTest::newRow("Мирвел /33, SNTP")
        << 2 << "03.12.2010/33" << false << true << QList<int>{0, 4, 5, 6, 7, 8, 9, 10};
    QTest::newRow("Мирвел /35") << 2 << "03.12.2010/35" << false << false
                                << QList<int>{0, 4, 6, 7, 8, 10};
    QTest::newRow("Мирвел /59") << 2 << "03.12.2010/59" << false << false
                                << QList<int>{0, 4, 6, 7, 8, 9, 10};
    QTest::newRow("Мирвел /67") << 2 << "03.12.2010/67" << false << false
                                << QList<int>{0, 4, 6, 7, 8, 10};
    QTest::newRow("Мирвел-К /33, both")
        << 3 << "03.12.2010/33" << true << true << QList<int>{0, 4, 5, 6, 8, 9, 10};
    QTest::newRow("Мирвел-К, bare date")
        << 3 << "03.12.2010" << false << false << QList<int>{0, 4, 6, 8, 10};
}

void TestWizardFlow::routesByHand() {
    QFETCH(int, type);
    QFETCH(QString, version);
    QFETCH(bool, gprs);
    QFETCH(bool, sntp);
    QFETCH(QList<int>, route);
    LoneWizard lw;
    WizardOM& w = lw.wizard;
    lw.choose(type, version);
    QCOMPARE(w.currentVersion(), version);
    QCOMPARE(w.currentDeviceType(), type);
    lw.w<QCheckBox>("cbConGPRS")->setChecked(gprs);
    lw.w<QCheckBox>("cbUseSNTP")->setChecked(sntp);
    QList<int> passed{w.currentId()};
    QVERIFY(!ButtonsOf(w).backVisible);
    while (w.currentId() != WizardOM::PageSummary && passed.size() < 12) {
        w.next();
        passed << w.currentId();
        const Buttons b = ButtonsOf(w);
        // By hand: no menu, nothing to program.
        QVERIFY(!b.menu);
        QVERIFY(!b.program);
        QCOMPARE(b.backEnabled, w.currentId() != WizardOM::PageBase);
        QCOMPARE(b.nextVisible, w.currentId() != WizardOM::PageSummary);
        QCOMPARE(b.editor, w.currentId() == WizardOM::PageSummary);
    }
    QCOMPARE(passed, route);
    // Back from the first settings page is closed; the menu button leads to
    // the first page.
    w.BackToMenuClick();
    QCOMPARE(w.currentId(), int(WizardOM::PageConnect));
}

void TestWizardFlow::deviceRun() {
    LoneWizard lw;
    WizardOM& w = lw.wizard;
    QSignalSpy open(&w, &WizardOM::SigOpenPort);
    QSignalSpy loads(&w, &WizardOM::SigLoadDefaultSettings);
    QSignalSpy reads(&w, &WizardOM::SigReadEEPROM);
    QSignalSpy breaks(&w, &WizardOM::SigBreakOperation);
    QSignalSpy handOff(&w, &WizardOM::SigSetupOptionsFromMaster);
    w.SetupList(0, {QStringLiteral("COM1"), QStringLiteral("COM2")});
    w.StartWizard();
    lw.w<QComboBox>("cbCOM")->setCurrentIndex(1);
    w.SetConnectOk(DEV_D8M, QStringLiteral("16.05.2012/22")); // not waiting yet
    QCOMPARE(w.currentId(), int(WizardOM::PageConnect));
    w.next();
    QCOMPARE(open.size(), 1);
    QCOMPARE(open.first(), (QList<QVariant>{true, 1}));
    QVERIFY(!w.button(QWizard::NextButton)->isEnabled());
    w.SetOpenPortStatus(0);
    QVERIFY(w.isPortOpen());
    w.SetConnectOk(DEV_D8M, QStringLiteral("16.05.2012/22"));
    QCOMPARE(w.currentId(), int(WizardOM::PageChoose));
    QCOMPARE(w.windowTitle(), QStringLiteral("Мастер настройки прибора \"Дорна-8М\""));
    QCOMPARE(IntArgs(loads), QList<int>{DEV_D8M});
    QCOMPARE(breaks.size(), 1); // entering the choice page ends any exchange
    QVERIFY(!w.button(QWizard::BackButton)->isEnabled());
    w.SetConnectOk(DEV_D4M, QStringLiteral("21.09.2009")); // off the wait page
    QCOMPARE(w.currentDeviceType(), int(DEV_D8M));

    lw.w<QRadioButton>("rbChooseChangeConfig")->setChecked(true);
    w.next();
    QCOMPARE(w.currentId(), int(WizardOM::PageReadEEPROM));
    QCOMPARE(reads.size(), 1);
    QVERIFY(!w.button(QWizard::NextButton)->isEnabled());
    QVERIFY(w.menuButton.isVisible());
    QVERIFY(lw.w<QRadioButton>("rbChooseNewConfig")->isChecked());
    auto* read = lw.w<QProgressBar>("pBarRead");
    w.SetReadProgress(100, 0); // a zero maximum is taken
    QCOMPARE(read->maximum(), 0);
    w.SetReadEEPROMStatus(true);
    QCOMPARE(w.currentId(), int(WizardOM::PageBase));
    QVERIFY(!w.button(QWizard::BackButton)->isEnabled());
    QVERIFY(lw.goTo(WizardOM::PageSummary));
    const Buttons b = ButtonsOf(w);
    QVERIFY(b.editor && b.program && b.menu && !b.nextVisible);

    w.programButton.click();
    QCOMPARE(handOff.size(), 1);
    QCOMPARE(handOff.first().at(2).toBool(), true);
    QCOMPARE(w.currentId(), int(WizardOM::PageProgramming));
    QVERIFY(!w.button(QWizard::BackButton)->isEnabled());
    QVERIFY(!w.button(QWizard::CancelButton)->isVisible());
    QVERIFY(!w.button(QWizard::FinishButton)->isVisible());
    QVERIFY(!w.menuButton.isEnabled());
    auto* bar = lw.w<QProgressBar>("pBarProgramming");
    w.SetProgrammingProgress(100, 0); // a zero maximum is not
    QCOMPARE(bar->maximum(), 700);
    QCOMPARE(bar->value(), 100);
    w.SetStatusProgramming(true);
    QVERIFY(w.menuButton.isEnabled());
    w.menuButton.click();
    QCOMPARE(w.currentId(), int(WizardOM::PageChoose));
}

void TestWizardFlow::returnsAndTimeOuts() {
    LoneWizard lw;
    WizardOM& w = lw.wizard;
    QSignalSpy close(&w, &WizardOM::SigClosePort);
    w.StartWizard();
    lw.w<QRadioButton>("rbChooseChangeConfig")->setChecked(true);
    w.ExitFromKeysOrTest(); // not opened from the wizard
    QVERIFY(lw.w<QRadioButton>("rbChooseChangeConfig")->isChecked());
    // The model list moves nothing while the model is not chosen by hand.
    lw.w<QComboBox>("cbTypeDev")->setCurrentIndex(DEV_VoduzeR);
    QCOMPARE(w.currentDeviceType(), int(DEV_D4M));
    w.SetupTypeDevFromList(-1);
    QCOMPARE(w.currentDeviceType(), int(DEV_D4M));
    // The wait's time-out after the device was found changes nothing.
    w.next();
    w.SetConnectOk(DEV_D4M, QStringLiteral("21.09.2009"));
    w.WaitTimeOut();
    QVERIFY(lw.w("lMessageDevFind")->isEnabled());
    // A reset restarts at page 0 with the error shown.
    w.ReadTimeOut();
    QCOMPARE(w.currentId(), int(WizardOM::PageConnect));
    QVERIFY(!lw.w("lTimeOut")->isHidden());
    QVERIFY(!close.isEmpty());
    // The port dialog reports a failure while the wizard is not active: no box.
    ScriptedPrompt prompt;
    w.SetOpenPortStatus(2);
    QVERIFY(prompt.asked.isEmpty());
    QVERIFY(!w.isPortOpen());
}

void TestWizardFlow::usbList() {
    LoneWizard lw;
    WizardOM& w = lw.wizard;
    auto* usb = lw.w<QRadioButton>("rbUSB");
    auto* com = lw.w<QRadioButton>("rbCOM");
    w.SetupList(1, {kNoUsb});
    QVERIFY(com->isChecked());
    QVERIFY(!usb->isEnabled());
    w.StartWizard();
    QVERIFY(com->isChecked()); // nothing to preselect
    w.SetupList(1, {QStringLiteral("FT232R USB UART")});
    QVERIFY(usb->isEnabled());
    QVERIFY(usb->isChecked());
    com->setChecked(true);
    w.SetupList(1, {QStringLiteral("FT232R USB UART")}); // the same list keeps the choice
    QVERIFY(com->isChecked());
    w.StartWizard();
    QVERIFY(usb->isChecked());
    QVERIFY(lw.w("cbUSB")->isEnabled());
    QVERIFY(!lw.w("cbCOM")->isEnabled());
}

QTEST_MAIN(TestWizardFlow)
#include "tst_wizard_flow.moc"
