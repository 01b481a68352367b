// The wizard's settings pages: their rules, each page's values applied to the
// settings and loaded back, the summary, and how every page looks per model.

#include "WizardTestSupport.h"

#include "outputs/CamerasExecTable.h"

#include <QTableView>

namespace {
const QString kTech = QStringLiteral("Технологический");

QCheckBox* Box(const LoneWizard& lw, const QString& prefix, int n) {
    return lw.w<QCheckBox>(prefix + QString::number(n));
}
QComboBox* Combo(const LoneWizard& lw, const QString& prefix, int n) {
    return lw.w<QComboBox>(prefix + QString::number(n));
}
} // namespace

class TestWizardPages : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        EnsureIconResources();
        PrepareApplication();
    }
    void basePage();
    void serverPage_data();
    void serverPage();
    void numbersPage();
    void loopsPage_data();
    void loopsPage();
    void firstLoopOfMirvelK();
    void outputsPage_data();
    void outputsPage();
    void camerasPage();
    void everyPageFits_data();
    void everyPageFits();
};

void TestWizardPages::basePage() {
    LoneWizard lw;
    lw.choose(DEV_VoduzeR, QStringLiteral("03.12.2010/33"));
    auto* sim1 = lw.w<QCheckBox>("cbUseSIM1");
    for (bool on : {false, true}) {
        sim1->setChecked(on);
        QCOMPARE(lw.w("CbOperators1")->isEnabled(), on);
        QCOMPARE(lw.w("cbBalance1")->isEnabled(), on);
    }
    auto* name = lw.w<QLineEdit>("leObjName");
    lw.w<QCheckBox>("cbObjName")->setChecked(true);
    name->clear();
    for (const QString& typed :
         QStringList{"A", "b", " ", "1", ",", "Я", "-", "2", "3", "4", "5", "6", "7", "8", "x"})
        QTest::sendKeyEvent(QTest::Click, name, Qt::Key_unknown, typed, Qt::NoModifier);
    QCOMPARE(name->text(), QStringLiteral("Ab12345678").left(8));
    // The technological loop of this model is chosen by the check box only.
    QVERIFY(lw.w("cbNTShl")->isHidden());
    QVERIFY(!lw.w("cbUseShl1Teh")->isHidden());
    for (int number : {0, 1, 9999}) {
        lw.w<QSpinBox>("sbNumObj")->setValue(number);
        lw.wizard.ApplyWizardToSettings();
        QCOMPARE(lw.settings.connection->objectNumber,
                 QString::number(number).rightJustified(4, QLatin1Char('0')).toLatin1());
    }
    lw.w<QSpinBox>("sbNumObj")->setValue(10000);
    QCOMPARE(lw.w<QSpinBox>("sbNumObj")->value(), 9999);
    // No operators: the stored choice stays.
    lw.settings.header->simOperator[0] = 2;
    lw.wizard.SetupList(3, {});
    lw.wizard.ApplyWizardToSettings();
    QCOMPARE(lw.settings.header->simOperator[0], 2);
    // The two boxes the engineer never sees, whatever is loaded.
    for (int type = DEV_D4M; type <= DEV_VoduzeR; ++type) {
        lw.choose(type, QStringLiteral("16.05.2012/22"));
        QVERIFY(lw.w("cbConnectSIM2")->isHidden());
        QVERIFY(lw.w("cbUpdateTimeGPS")->isHidden());
        QCOMPARE(lw.w("cbUseShl1Teh")->isHidden(), type != DEV_VoduzeR);
    }
}

void TestWizardPages::serverPage_data() {
    QTest::addColumn<bool>("gprs");
    QTest::addColumn<bool>("sntp");
    QTest::newRow("GPRS only") << true << false;
    QTest::newRow("SNTP only") << false << true;
    QTest::newRow("both") << true << true;
}

void TestWizardPages::serverPage() {
    QFETCH(bool, gprs);
    QFETCH(bool, sntp);
    FakeHosts hosts;
    hosts.table.insert(
        QStringLiteral("one.example.net"),
        {QHostAddress(QStringLiteral("::1")), QHostAddress(QStringLiteral("10.0.0.9"))});
    LoneWizard lw;
    lw.choose(DEV_D8M, QStringLiteral("16.05.2012/22"));
    lw.w<QCheckBox>("cbConGPRS")->setChecked(gprs);
    lw.w<QCheckBox>("cbUseSNTP")->setChecked(sntp);
    QVERIFY(lw.goTo(WizardOM::PageGPRS));
    QCOMPARE(lw.w("gbServ1")->isVisible(), gprs);
    QCOMPARE(lw.w("gbServ2")->isVisible(), gprs);
    QCOMPARE(lw.w("gbSNTP")->isVisible(), sntp);
    QCOMPARE(lw.w<QSpinBox>("sbPort1")->maximum(), 99999);
    QCOMPARE(lw.w<QSpinBox>("sbPop2")->maximum(), 9);

    // A name that resolves, a literal, and a name that does not.
    lw.w<QLineEdit>("leAdress1")->setText(QStringLiteral("one.example.net"));
    lw.w<QLineEdit>("leAdress2")->setText(QStringLiteral("10.0.1.25"));
    lw.w<QLineEdit>("leIPserv")->setText(QStringLiteral("nowhere.example.net"));
    lw.w<QSpinBox>("sbPort1")->setValue(80);
    QVERIFY(lw.goTo(WizardOM::PageSummary));
    const QStringList summary = lw.summary();
    QCOMPARE(summary.contains(QStringLiteral("IP-адрес сервера 1: 10.0.0.9")), gprs);
    QVERIFY(!summary.join('\n').contains(QStringLiteral("IP-адрес сервера 2")));
    QVERIFY(!summary.join('\n').contains(QStringLiteral("IP-адрес сервера: ")));
    lw.wizard.ApplyWizardToSettings();
    const ServerSettings& sv = *lw.settings.servers;
    QCOMPARE(sv.serverIp[0],
             gprs ? QStringLiteral("010.000.000.009") : QStringLiteral("000.000.000.000"));
    QCOMPARE(sv.dnsName[0], QStringLiteral("one.example.net"));
    QCOMPARE(sv.useDns[0], u8(1));
    QCOMPARE(sv.serverIp[1], QStringLiteral("010.000.001.025"));
    QCOMPARE(sv.useDns[1], u8(0));
    QCOMPARE(sv.serverPort[0], QStringLiteral("00080"));
    QCOMPARE(lw.settings.sntp->sntpIp, QStringLiteral("000.000.000.000"));
    QCOMPARE(lw.settings.sntp->cb4 * 10 + lw.settings.sntp->cb3, 10);
    QCOMPARE(lw.settings.connection->connectByGprs, u8(1));

    // Loading shows the name only where the device uses it.
    lw.settings.sntp->cb4 = 0;
    lw.settings.sntp->sntpIp = QStringLiteral("192.168.001.001");
    lw.wizard.SetupList(4, {});
    QCOMPARE(lw.w<QLineEdit>("leAdress1")->text(), QStringLiteral("one.example.net"));
    QCOMPARE(lw.w<QLineEdit>("leIPserv")->text(), QStringLiteral("192.168.001.001"));
    QVERIFY(lw.wizard.resolvedAddress(0).isNull());
}

void TestWizardPages::numbersPage() {
    LoneWizard lw;
    lw.choose(DEV_D4M, QStringLiteral("21.09.2009"));
    lw.settings.phones->number[1] = QStringLiteral("4951234567");
    lw.settings.smsFlags->checkbox[1] = 0;
    lw.settings.smsFlags->cbDrugieZa[1] = 1;
    lw.wizard.SetupList(4, {});
    QCOMPARE(lw.w<QLineEdit>("leNum2")->displayText(), QStringLiteral("495-123-45-67"));
    QCOMPARE(Combo(lw, "comboBSmsOC", 2)->currentIndex(), 1);

    auto* partly = lw.w<QLineEdit>("leNum1");
    partly->clear();
    QTest::keyClicks(partly, "9161");
    lw.w<QLineEdit>("leNum3")->clear();
    Combo(lw, "comboBPopOC", 4)->setCurrentIndex(9);
    Combo(lw, "comboBPopTr", 4)->setCurrentIndex(3);
    for (int choice = 0; choice < 4; ++choice)
        Combo(lw, "comboBSmsOC", choice + 1)->setCurrentIndex(choice);
    Box(lw, "cbSmsService", 5)->setChecked(true);
    lw.wizard.ApplyWizardToSettings();
    const DeviceSettings& s = lw.settings;
    QCOMPARE(s.phones->number[0], QStringLiteral("9161000000"));
    QCOMPARE(s.phones->number[1], QStringLiteral("4951234567"));
    QCOMPARE(s.phones->number[2], QStringLiteral("0000000000"));
    QCOMPARE(s.phoneOptions->callAttemptsOpenClose[3], 9);
    QCOMPARE(s.phoneOptions->callAttemptsAlarm[3], 3);
    const QList<int> thisNumber{1, 0, 1, 0}, otherNumbers{0, 1, 1, 0};
    for (int k = 0; k < 4; ++k) {
        QCOMPARE(int(s.smsFlags->checkbox[k]), thisNumber[k]);
        QCOMPARE(int(s.smsFlags->cbDrugieZa[k]), otherNumbers[k]);
    }
    QCOMPARE(s.extraSms->smsService[4], u8(1));
    QCOMPARE(s.extraSms->smsService[3], u8(0));
    // And back: the four choices from the flags.
    lw.wizard.SetupList(4, {});
    for (int choice = 0; choice < 4; ++choice)
        QCOMPARE(Combo(lw, "comboBSmsOC", choice + 1)->currentIndex(), choice);
    QVERIFY(lw.goTo(WizardOM::PageSummary));
    const QStringList summary = lw.summary();
    const int first = summary.indexOf(QStringLiteral("1. 916-100-00-00"));
    QVERIFY2(first > 0, qPrintable(summary.join('|')));
    QCOMPARE(summary.at(first + 1), QStringLiteral("    Отправлять SMS: да"));
    QCOMPARE(summary.at(first + 7), QStringLiteral("    Отправлять SMS: нет")); // number 4: "Нет"
}

void TestWizardPages::loopsPage_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("version");
    QTest::addColumn<int>("shownRows");
    QTest::newRow("Дорна-4М") << 0 << "21.09.2009" << 4;
    QTest::newRow("Дорна-8М") << 1 << "21.09.2009" << 8;
    QTest::newRow("Мирвел, six loops") << 2 << "19.04.2012/45" << 6;
    QTest::newRow("Мирвел, three loops") << 2 << "16.05.2012/22" << 3;
}

void TestWizardPages::loopsPage() {
    QFETCH(int, type);
    QFETCH(QString, version);
    QFETCH(int, shownRows);
    LoneWizard lw;
    lw.choose(type, version);
    for (int n = 1; n <= 8; ++n)
        QCOMPARE(Combo(lw, "cBoxShl", n)->isHidden(), n > shownRows);
    auto* techLoop = lw.w<QComboBox>("cbNTShl");
    QCOMPARE(techLoop->count(), shownRows + 1);
    const bool first = type <= DEV_D8M;
    const int last = first ? 3 : 1; // the family's last item

    // The alarm box: shown only on a shown row, locked at index 3.
    auto* box = Combo(lw, "cBoxShl", 1);
    auto* alarm = Box(lw, "cbTrShl", 1);
    box->setCurrentIndex(last);
    QCOMPARE(alarm->isHidden(), false);
    QCOMPARE(alarm->isEnabled(), !first);
    box->setCurrentIndex(0);
    QVERIFY(alarm->isHidden());
    Combo(lw, "cBoxShl", 8)->setCurrentIndex(1);
    QCOMPARE(Box(lw, "cbTrShl", 8)->isHidden(), shownRows < 8);

    // The technological loop moved from loop 2 to 3, then freed.
    techLoop->setCurrentIndex(2);
    QCOMPARE(Combo(lw, "cBoxShl", 2)->currentText(), kTech);
    QVERIFY(!Combo(lw, "cBoxShl", 2)->isEnabled());
    techLoop->setCurrentIndex(3);
    QCOMPARE(Combo(lw, "cBoxShl", 2)->currentIndex(), last);
    QVERIFY(Combo(lw, "cBoxShl", 2)->isEnabled());
    QCOMPARE(Combo(lw, "cBoxShl", 3)->currentText(), kTech);
    Box(lw, "cbTrShl", 1)->setChecked(true);
    box->setCurrentIndex(1);
    lw.wizard.ApplyWizardToSettings();
    const LoopFunctions& f = *lw.settings.loopFunctions;
    const LoopLimits& lim = *lw.settings.loopLimits;
    QCOMPARE(lw.settings.extra->techLoop, 3);
    QCOMPARE(f.closeAnalysis[0], 1);
    QCOMPARE(f.closeLight[0] + f.closeSiren[0], 2);
    if (first) {
        QCOMPARE(lim.reverse[1], u8(1)); // loop 2 freed to the fire sensor
        QCOMPARE(f.openAnalysis[1], 2);
    } else {
        QCOMPARE(lim.maxLevel[0], 388u);
    }
    // Loaded back: the same functions, the technological loop marked.
    lw.settings.loopLimits->maxLevel[0] = 388;
    lw.wizard.SetupList(4, {});
    QCOMPARE(box->currentIndex(), 1);
    QVERIFY(alarm->isChecked());
    QCOMPARE(Combo(lw, "cBoxShl", 3)->currentText(), kTech);
    QCOMPARE(Combo(lw, "cBoxShl", 2)->currentIndex(), last);
}

void TestWizardPages::firstLoopOfMirvelK() {
    LoneWizard lw;
    lw.choose(DEV_VoduzeR, QStringLiteral("03.12.2010/33"));
    LoopFunctions& f = *lw.settings.loopFunctions;
    f.openAnalysis[1] = 2;
    f.closeSiren[1] = 1;
    lw.settings.loopLimits->maxLevel[1] = 700;
    for (bool tech : {true, false}) {
        lw.w<QCheckBox>("cbUseShl1Teh")->setChecked(tech);
        lw.wizard.ApplyWizardToSettings();
        QCOMPARE(lw.settings.extra->techLoop, tech ? 1 : 0);
        for (int key = 0; key < kOrdinaryKeys; ++key)
            QCOMPARE(int(lw.settings.zones->keyLoop[key][0]), tech ? 0 : 1);
    }
    QCOMPARE(f.openAnalysis[0], 2);
    QCOMPARE(f.closeSiren[0], u8(1));
    QCOMPARE(lw.settings.loopLimits->maxLevel[0], 700u);
    QVERIFY(lw.goTo(WizardOM::PageSummary));
    QVERIFY2(
        lw.summary().contains(QStringLiteral("Использовать первый шлейф как технологический: нет")),
        qPrintable(lw.summary().join('|')));
    QVERIFY(!lw.summary().contains(QStringLiteral("Функции шлейфов:")));
}

void TestWizardPages::outputsPage_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("version");
    QTest::addColumn<int>("loops");
    QTest::addColumn<bool>("shortPasswords");
    QTest::newRow("Дорна-4М") << 0 << "02.12.2010" << 4 << false;
    QTest::newRow("Дорна-8М") << 1 << "03.12.2010/33" << 8 << true;
    QTest::newRow("Мирвел, 03.12.2010/31") << 2 << "03.12.2010/31" << 3 << true;
    QTest::newRow("Мирвел, 03.12.2010") << 2 << "03.12.2010" << 6 << true;
    QTest::newRow("Мирвел, 18.12.2018/1") << 2 << "18.12.2018/1" << 3 << true;
    QTest::newRow("Мирвел, 09.05.2012/28") << 2 << "09.05.2012/28" << 6 << false;
    QTest::newRow("Мирвел-К") << 3 << "19.04.2012/45" << 2 << false;
}

void TestWizardPages::outputsPage() {
    QFETCH(int, type);
    QFETCH(QString, version);
    QFETCH(int, loops);
    QFETCH(bool, shortPasswords);
    LoneWizard lw;
    lw.settings.outputs->outputLoop[1] = {1, 1, 0, 0, 0, 0, 0, 1};
    lw.settings.outputs->outputType[1] = 3;
    lw.settings.outputs->adminPassword[0] = QStringLiteral("FF42");
    lw.choose(type, version);
    auto* output2 = Combo(lw, "CombobV", 2);
    QCOMPARE(output2->currentIndex(), 3);
    for (int j = 1; j <= 8; ++j) {
        QCOMPARE(Box(lw, "cbPCN2", j)->isHidden(), j > loops);
        QCOMPARE(Box(lw, "cbPCN2", j)->isChecked(), j <= 2 || j == 8);
    }
    QVERIFY(lw.w("lePass2")->isHidden());
    output2->setCurrentIndex(4);
    QVERIFY(lw.w("lPCN2")->isHidden());
    QVERIFY(!lw.w("lePass2")->isHidden());
    output2->setCurrentIndex(3);
    QVERIFY(lw.goTo(WizardOM::PageExits));
    QCOMPARE(lw.w<QLineEdit>("lePass1")->text(),
             shortPasswords ? QStringLiteral("42") : QStringLiteral("FF42"));
    QVERIFY(lw.goTo(WizardOM::PageSummary));
    const QString listed = QStringLiteral("2. 3 - ПЦН: ") + (loops >= 8 ? "1,2,8" : "1,2");
    QVERIFY2(lw.summary().contains(listed), qPrintable(lw.summary().join('|')));
    lw.wizard.ApplyWizardToSettings();
    // Hidden boxes keep their ticks and are stored with them.
    QCOMPARE(lw.settings.outputs->outputLoop[1][7], u8(1));
    QCOMPARE(lw.settings.outputs->adminPassword[0], QStringLiteral("FF42"));
}

void TestWizardPages::camerasPage() {
    LoneWizard lw;
    CamerasConfig& cams = *lw.settings.cameras;
    cams.execCamera[0][2] = 1;
    cams.execCamera[3][2] = 1;
    cams.execCamera[7][0] = 1;
    cams.useCamera.fill(1);
    lw.choose(DEV_VororaZ, QStringLiteral("03.12.2010/33"));
    auto* view = lw.w<QTableView>("tvCamerasExec");
    QCOMPARE(cams.execCamera[7][0], u8(0)); // loop 8 is absent
    QVERIFY(view->isRowHidden(6) && view->isRowHidden(7) && !view->isRowHidden(5));
    CamerasExecTable* table = lw.wizard.camerasTable();
    QCOMPARE(table->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(),
             QStringLiteral("Камера №3"));
    QCOMPARE(table->headerData(7, Qt::Vertical, Qt::DisplayRole).toString(),
             QStringLiteral("Шлейф №8"));
    QVERIFY(lw.goTo(WizardOM::PageSummary));
    QVERIFY2(lw.summary().contains(QStringLiteral(" - камера №3 связана со шлейфами: 1, 4")),
             qPrintable(lw.summary().join('|')));
    QVERIFY(lw.summary().contains(QStringLiteral(" - камера №1 связана со шлейфами")));

    lw.wizard.back();
    Box(lw, "cbUseCam_", 3)->setChecked(false);
    QVERIFY(view->isColumnHidden(2));
    QCOMPARE(cams.execCamera[0][2], u8(0)); // at once, before any hand-off
    QVERIFY(!table->check(3, 2));
    Box(lw, "cbUseCam_", 5)->setChecked(false);
    table->setData(table->index(1, 1), Qt::Checked, Qt::CheckStateRole);
    lw.wizard.ApplyWizardToSettings();
    QCOMPARE(cams.useCamera[4], u8(0));
    QCOMPARE(cams.execCamera[1][1], u8(1));

    // Other models leave the cameras alone, and no camera block is written.
    lw.choose(DEV_D8M, QStringLiteral("03.12.2010/33"));
    cams.execCamera[5][5] = 1;
    lw.wizard.ApplyWizardToSettings();
    QCOMPARE(cams.execCamera[5][5], u8(1));
    lw.wizard.restart();
    QVERIFY(lw.goTo(WizardOM::PageSummary));
    QVERIFY(!lw.summary().contains(QStringLiteral("Параметры камер:")));
}

void TestWizardPages::everyPageFits_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("version");
    QTest::newRow("Дорна-4М") << 0 << "21.09.2009";
    QTest::newRow("Дорна-8М") << 1 << "03.12.2010/33";
    QTest::newRow("Мирвел") << 2 << "03.12.2010/33";
    QTest::newRow("Мирвел-К") << 3 << "03.12.2010/33";
}

// Every control of every page lies inside its page in the fixed window, on a
// device's road through all twelve pages; with KW_WIZARD_SHOTS set to a folder
// the pages are saved there as pictures.
void TestWizardPages::everyPageFits() {
    QFETCH(int, type);
    QFETCH(QString, version);
    LoneWizard lw;
    WizardOM& w = lw.wizard;
    const QString shots = qEnvironmentVariable("KW_WIZARD_SHOTS");
    QList<int> seen;
    connect(&w, &QWizard::currentIdChanged, this, [&](int id) {
        QCoreApplication::processEvents();
        QWizardPage* page = w.page(id);
        for (QWidget* c : page->findChildren<QWidget*>()) {
            if (c->isVisible() && c->parentWidget() == page &&
                !page->rect().contains(c->geometry()))
                QFAIL(qPrintable(QStringLiteral("%1 on page %2").arg(c->objectName()).arg(id)));
        }
        seen << id;
        if (!shots.isEmpty())
            w.grab().save(QStringLiteral("%1/wizard-%2-%3.png").arg(shots).arg(type).arg(id));
    });
    w.StartWizard();
    if (!shots.isEmpty())
        w.grab().save(QStringLiteral("%1/wizard-%2-0.png").arg(shots).arg(type));
    w.next();
    w.SetConnectOk(DEV_TYPE(type), version);
    w.SetupList(4, {});
    lw.w<QRadioButton>("rbChooseChangeConfig")->setChecked(true);
    for (const char* box : {"cbConGPRS", "cbUseSNTP"})
        lw.w<QCheckBox>(box)->setChecked(true);
    lw.w<QComboBox>("CombobV1")->setCurrentIndex(3);
    lw.w<QComboBox>("CombobV2")->setCurrentIndex(4);
    w.next();
    w.SetReadEEPROMStatus(true);
    QVERIFY(lw.goTo(WizardOM::PageSummary));
    w.programButton.click();
    const QList<int> all{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    for (int id : all)
        QCOMPARE(seen.contains(id), !(id == WizardOM::PageShlFunc && type == DEV_VoduzeR) &&
                                        !(id == WizardOM::PageCams && type < DEV_VororaZ));
}

QTEST_MAIN(TestWizardPages)
#include "tst_wizard_pages.moc"
