// The wizard on its own: routes, buttons and page fit; port choice and signals
// out of turn; each settings page applied and loaded back, and the summary;
// the version, password and address rules.

#include "WizardTestSupport.h"

#include "outputs/CamerasExecTable.h"
#include "settings/ImageDecoder.h"
#include "settings/ImageLayout.h"
#include "settings/Ipv4Text.h"
#include "wizard/WizardRules.h"

#include <QRandomGenerator>

namespace {
const QString kTech = u"Технологический"_s;

// What a device's settings may change on their way through the wizard's
// pages: the normalisations the pages make on purpose, and nothing else. Texts
// passing through masks and line edits are proved on their pages and taken
// from the result here.
DeviceSettings Normalised(const DeviceSettings& read, const DeviceSettings& out, int type,
                          const QString& version) {
    DeviceSettings s(read);
    auto flags = [](auto&... fields) {
        auto one = [](auto& field) {
            if constexpr (std::is_arithmetic_v<std::decay_t<decltype(field)>>)
                field = field != 0;
            else
                for (auto& f : field)
                    f = f != 0;
        };
        (one(fields), ...);
    };
    auto number = [](auto text, int max, int width) {
        return QString::number(qBound(0, text.trimmed().toInt(), max)).rightJustified(width, '0');
    };
    std::copy_n(out.phones->number.begin(), kMainNumbers, s.phones->number.begin());
    s.outputs->adminPassword = out.outputs->adminPassword;
    s.outputs->userPassword[0] = out.outputs->userPassword[0];
    s.servers->serverIp = out.servers->serverIp;
    s.servers->dnsName = out.servers->dnsName;
    s.servers->useDns = out.servers->useDns;
    *s.sntp = *out.sntp;
    s.consoleSms->objectName = out.consoleSms->objectName;
    flags(s.header->useSim, s.header->checkBalance, s.smsFlags->checkbox, s.smsFlags->cbDrugieZa,
          s.smsFlags->cbts, s.extraSms->smsService, s.extraSms->smsSimChange,
          s.outputs->outputLoop[0], s.outputs->outputLoop[1], s.outputs->outputLoop[2],
          s.servers->useGprsMode2, s.consoleSms->cb1, s.navigation->updateTimeFromGps);
    s.connection->connectByGprs = read.connection->connectByGprs || read.sntp->useSntp;
    s.connection->objectNumber = number(read.connection->objectNumber, 9999, 4).toLatin1();
    for (QString& port : s.servers->serverPort)
        port = number(port, 99999, 5);
    for (i32& attempts : s.servers->udPop)
        attempts = qBound(0, attempts, 9);
    s.servers->udPop3 = qMin(s.servers->udPop[0] + s.servers->udPop[1] + 2, 9);

    // Loops by the function the model's list names; others stay as read.
    LoopFunctions& f = *s.loopFunctions;
    LoopLimits& lim = *s.loopLimits;
    auto lights = [&f](int k, u8 open, u8 close) {
        f.openLight[k] = f.openSiren[k] = open;
        f.closeLight[k] = f.closeSiren[k] = close;
    };
    const int techLoops[] = {4, 8, wizard::ThreeLoopFirmware(version) ? 3 : 6};
    const int tech =
        type < DEV_VoduzeR && read.extra->techLoop <= techLoops[type] ? read.extra->techLoop : 0;
    for (int k = 0; k < (type == DEV_VororaZ ? 6 : kLoops) && type != DEV_VoduzeR; ++k) {
        const int open = f.openAnalysis[k], close = f.closeAnalysis[k];
        const u8 alarm = f.closeLight[k] && f.closeSiren[k];
        if (k + 1 == tech)
            continue;
        if (open == 0 && close == 0) { // unused
            lim.minLevel[k] = 0, lim.maxLevel[k] = 1023;
            if (type == DEV_VororaZ)
                lights(k, 0, 0);
            else
                lim.reverse[k] = 0;
        } else if (type == DEV_VororaZ) {
            if (open == 0 && close == 1 && lim.maxLevel[k] >= 388) { // guard
                lim.minLevel[k] = 0, lim.maxLevel[k] = 388;
                lights(k, 0, 1);
            }
        } else if (open == 0 && close == 1 && !lim.reverse[k]) { // guard
            lights(k, 0, alarm);
        } else if (open == 2 && close == 2) { // alarm button, fire sensor
            lim.reverse[k] = lim.reverse[k] != 0;
            lights(k, lim.reverse[k] || alarm, lim.reverse[k] || alarm);
        }
    }
    if (type == DEV_VoduzeR) { // loop 1 technological, or working as loop 2
        const bool firstIsTech = read.extra->techLoop == 1;
        s.extra->techLoop = firstIsTech;
        for (int key = 0; key < kOrdinaryKeys; ++key)
            s.zones->keyLoop[key][0] = !firstIsTech;
        auto asSecond = [](auto&... a) { ((a[0] = a[1]), ...); };
        if (!firstIsTech)
            asSecond(lim.minLevel, lim.maxLevel, f.openAnalysis, f.closeAnalysis, f.openLight,
                     f.openSiren, f.closeLight, f.closeSiren);
    }
    if (type >= DEV_VororaZ) { // fitted cameras, present loops
        CamerasConfig& c = *s.cameras;
        flags(c.useCamera);
        for (int loop = 0; loop < kLoops; ++loop)
            for (int camera = 0; camera < kCameras; ++camera)
                c.execCamera[loop][camera] =
                    loop < 6 && c.useCamera[camera] && c.execCamera[loop][camera];
    }
    return s;
}
} // namespace

class TestWizardPages : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        EnsureIconResources();
        PrepareApplication();
    }
    void routesByHand_data();
    void routesByHand();
    void portChoiceAndOutOfTurn();
    void basePage();
    void serverPage_data();
    void serverPage();
    void numbersPage();
    void loopsPage_data();
    void loopsPage();
    void outputsPage_data();
    void outputsPage();
    void camerasPage();
    void readDeviceStoredBack();
    void versions_data();
    void versions();
    void passwords_data();
    void passwords();
    void literalAddresses_data();
    void literalAddresses();
};

void TestWizardPages::routesByHand_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("version");
    QTest::addColumn<int>("servers"); // 1 GPRS, 2 SNTP
    QTest::addColumn<QList<int>>("route");
    using Route = QList<int>;
    QTest::newRow("Дорна-4М") << 0 << "21.09.2009" << 0 << Route{0, 4, 6, 7, 8, 10};
    QTest::newRow("Дорна-8М, GPRS") << 1 << "03.12.2010/33" << 1 << Route{0, 4, 5, 6, 7, 8, 10};
    QTest::newRow("Мирвел /33, SNTP")
        << 2 << "03.12.2010/33" << 2 << Route{0, 4, 5, 6, 7, 8, 9, 10};
    QTest::newRow("Мирвел /35") << 2 << "03.12.2010/35" << 0 << Route{0, 4, 6, 7, 8, 10};
    QTest::newRow("Мирвел-К, bare date, both")
        << 3 << "03.12.2010" << 3 << Route{0, 4, 5, 6, 8, 10};
}

void TestWizardPages::routesByHand() {
    QFETCH(int, type);
    QFETCH(QString, version);
    QFETCH(int, servers);
    QFETCH(QList<int>, route);
    LoneWizard lw;
    const WizardOM& w = lw.wiz;
    lw.choose(type, version);
    lw.check("cbConGPRS", servers & 1);
    lw.check("cbUseSNTP", servers & 2);
    lw.pick("CombobV1", 3); // loop boxes and password field shown
    lw.pick("CombobV2", 4);
    QList<int> passed{lw.page()};
    QVERIFY(!lw.button(QWizard::BackButton)->isVisible());
    QVERIFY(lw.pageFits());
    while (lw.page() != WizardOM::PageSummary && passed.size() < 12) {
        lw.next();
        passed << lw.page();
        QVERIFY(lw.pageFits());
        // By hand: no menu, nothing to program; no way back before the
        // first settings page.
        QVERIFY(!w.menuButton.isVisible() && !w.programButton.isVisible());
        QCOMPARE(lw.button(QWizard::BackButton)->isEnabled(), lw.page() != WizardOM::PageBase);
        QCOMPARE(lw.button(QWizard::NextButton)->isVisible(), lw.page() != WizardOM::PageSummary);
        QCOMPARE(w.editorButton.isVisible(), lw.page() == WizardOM::PageSummary);
    }
    QCOMPARE(passed, route);
    lw.wiz.BackToMenuClick();
    QCOMPARE(lw.page(), int(WizardOM::PageConnect));
}

// A USB adapter is preselected only when one is listed. Announcements,
// returns and time-outs out of turn change nothing, and the model list
// moves nothing unless the model is chosen by hand.
void TestWizardPages::portChoiceAndOutOfTurn() {
    LoneWizard lw;
    WizardOM& w = lw.wiz;
    auto* usb = lw.w<QRadioButton>("rbUSB");
    w.SetupList(1, {u"Нет USB-устройств"_s});
    w.StartWizard();
    QVERIFY(lw.w<QRadioButton>("rbCOM")->isChecked() && !usb->isEnabled());
    w.SetupList(1, {u"FT232R USB UART"_s});
    QVERIFY(usb->isEnabled() && usb->isChecked());
    lw.check("rbCOM");
    w.SetupList(1, {u"FT232R USB UART"_s}); // the same list keeps the choice
    QVERIFY(!usb->isChecked());
    w.StartWizard();
    QVERIFY(usb->isChecked() && lw.w("cbUSB")->isEnabled() && !lw.w("cbCOM")->isEnabled());

    w.SetConnectOk(DEV_D8M, u"16.05.2012/22"_s);
    lw.check("rbChooseChangeConfig");
    w.ExitFromKeysOrTest();
    lw.pick("cbTypeDev", DEV_VoduzeR);
    QCOMPARE(lw.page(), int(WizardOM::PageConnect));
    QVERIFY(lw.w<QRadioButton>("rbChooseChangeConfig")->isChecked());
    QCOMPARE(w.currentDeviceType(), int(DEV_D4M));
    lw.next();
    w.SetConnectOk(DEV_D4M, u"21.09.2009"_s);
    w.WaitTimeOut();
    QVERIFY(lw.w("lMessageDevFind")->isEnabled());
    ScriptedPrompt prompt;
    w.SetOpenPortStatus(2); // the wizard is not the active window: no box
    QVERIFY(prompt.asked.isEmpty() && !w.isPortOpen());

    // A run by hand stays one while adapters come and go: nothing to program.
    lw.choose(DEV_D8M, u"16.05.2012/22"_s);
    QVERIFY(lw.goTo(WizardOM::PageNumbers));
    for (const char* adapters : {"FT232H", "Нет USB-устройств"}) {
        w.SetupList(1, {QString::fromUtf8(adapters)});
        QVERIFY(lw.w<QRadioButton>("rbVersion")->isChecked());
    }
    QVERIFY(lw.goTo(WizardOM::PageSummary));
    QVERIFY(!w.programButton.isVisible() && !w.menuButton.isVisible());
}

void TestWizardPages::basePage() {
    LoneWizard lw;
    lw.choose(DEV_VoduzeR, u"03.12.2010/33"_s);
    for (bool on : {false, true}) {
        lw.check("cbUseSIM1", on);
        QVERIFY(lw.w("CbOperators1")->isEnabled() == on && lw.w("cbBalance1")->isEnabled() == on);
    }
    auto* name = lw.w<QLineEdit>("leObjName");
    lw.check("cbObjName");
    name->clear();
    for (const QString& typed :
         QStringList{"A", "b", " ", "1", ",", "Я", "-", "2", "3", "4", "5", "6", "7", "8", "x"})
        QTest::sendKeyEvent(QTest::Click, name, Qt::Key_unknown, typed, Qt::NoModifier);
    QCOMPARE(name->text(), u"Ab123456"_s);
    for (int number : {0, 1, 9999}) {
        lw.w<QSpinBox>("sbNumObj")->setValue(number);
        QCOMPARE(lw.applied().connection->objectNumber,
                 QByteArray::number(number).rightJustified(4, '0'));
    }
    // No operators: the stored choice stays.
    lw.settings.header->simOperator[0] = 2;
    lw.wiz.SetupList(3, {});
    QCOMPARE(lw.applied().header->simOperator[0], 2);

    // Мирвел-К's first loop is technological by the check box alone (its
    // settings: readDeviceStoredBack); the summary says so and lists no loops.
    QVERIFY(lw.goTo(WizardOM::PageSummary));
    QVERIFY(lw.summary().contains(u"Использовать первый шлейф как технологический: нет"_s));
    QVERIFY(!lw.summary().contains(u"Функции шлейфов:"_s));

    // Two boxes the engineer never sees; the technological loop by the check
    // box for Мирвел-К only.
    for (int type = DEV_D4M; type <= DEV_VoduzeR; ++type) {
        lw.choose(type, u"16.05.2012/22"_s);
        QVERIFY(lw.w("cbConnectSIM2")->isHidden() && lw.w("cbUpdateTimeGPS")->isHidden());
        QCOMPARE(lw.w("cbUseShl1Teh")->isHidden(), type != DEV_VoduzeR);
        QCOMPARE(lw.w("cbNTShl")->isHidden(), type == DEV_VoduzeR);
    }
}

void TestWizardPages::serverPage_data() {
    QTest::addColumn<bool>("gprs");
    QTest::addColumn<bool>("sntp");
    QTest::addColumn<QString>("timeServer");
    QTest::addColumn<QString>("timeServerIp");
    QTest::newRow("GPRS only") << true << false << "192.168.1.5"
                               << "192.168.001.005";
    QTest::newRow("SNTP only") << false << true << "nowhere.example.net"
                               << "000.000.000.000";
    QTest::newRow("both") << true << true << "one.example.net"
                          << "010.000.000.009";
}

// A name that resolves (to an IPv6 and an IPv4 address), a literal, and a
// name that does not; names are resolved only for the servers in use.
void TestWizardPages::serverPage() {
    QFETCH(bool, gprs);
    QFETCH(bool, sntp);
    QFETCH(QString, timeServer);
    QFETCH(QString, timeServerIp);
    FakeHosts hosts;
    hosts.table.insert("one.example.net", {QHostAddress("::1"), QHostAddress("10.0.0.9")});
    LoneWizard lw;
    lw.choose(DEV_D8M, u"16.05.2012/22"_s);
    lw.check("cbConGPRS", gprs);
    lw.check("cbUseSNTP", sntp);
    QVERIFY(lw.goTo(WizardOM::PageGPRS));
    QVERIFY(lw.w("gbServ1")->isVisible() == gprs && lw.w("gbServ2")->isVisible() == gprs);
    QCOMPARE(lw.w("gbSNTP")->isVisible(), sntp);
    lw.w<QLineEdit>("leAdress1")->setText("one.example.net");
    lw.w<QLineEdit>("leAdress2")->setText("10.0.1.25");
    lw.w<QLineEdit>("leIPserv")->setText(timeServer);
    QVERIFY(lw.goTo(WizardOM::PageSummary));
    const QStringList summary = lw.summary();
    QCOMPARE(summary.contains(u"IP-адрес сервера 1: 10.0.0.9"_s), gprs);
    QCOMPARE(summary.contains(u"IP-адрес сервера: 10.0.0.9"_s), gprs && sntp);
    QVERIFY(!summary.join('\n').contains(u"IP-адрес сервера 2"_s));
    const DeviceSettings& s = lw.applied();
    const ServerSettings& sv = *s.servers;
    QCOMPARE(sv.serverIp[0], gprs ? u"010.000.000.009"_s : u"000.000.000.000"_s);
    QCOMPARE(sv.dnsName[0], u"one.example.net"_s);
    QCOMPARE(sv.useDns, (Arr<u8, kServers>{1, 0}));
    QCOMPARE(sv.serverIp[1], u"010.000.001.025"_s);
    QCOMPARE(s.sntp->sntpIp, timeServerIp);
    const bool byName = !timeServer.startsWith('1');
    QCOMPARE(s.sntp->cb4 * 10 + s.sntp->cb3, byName ? 10 : 1);
    QCOMPARE(s.connection->connectByGprs, u8(1));

    // Loading shows the name only where the device uses it, and forgets the
    // addresses found.
    lw.settings.sntp->cb4 = 0;
    lw.wiz.SetupList(4, {});
    QCOMPARE(lw.w<QLineEdit>("leAdress1")->text(), u"one.example.net"_s);
    QCOMPARE(lw.w<QLineEdit>("leIPserv")->text(), timeServerIp);
    QVERIFY(lw.wiz.resolvedAddress(0).isNull() && lw.wiz.resolvedAddress(2).isNull());

    // A name is no longer than the device keeps it, so none reaches it cut.
    const QString longName(40, QLatin1Char('a'));
    for (const char* field : {"leAdress1", "leAdress2", "leIPserv"}) {
        lw.w<QLineEdit>(field)->setText(longName);
        QCOMPARE(lw.w<QLineEdit>(field)->text(), longName.left(32));
    }
}

void TestWizardPages::numbersPage() {
    LoneWizard lw;
    lw.choose(DEV_D4M, u"21.09.2009"_s);
    lw.settings.phones->number[1] = u"4951234567"_s;
    lw.settings.smsFlags->cbDrugieZa[1] = 1;
    lw.wiz.SetupList(4, {});
    QCOMPARE(lw.w<QLineEdit>("leNum2")->displayText(), u"495-123-45-67"_s);

    auto* partly = lw.w<QLineEdit>("leNum1");
    partly->clear();
    QTest::keyClicks(partly, "9161");
    lw.w<QLineEdit>("leNum3")->clear();
    lw.pick("comboBPopOC4", 9);
    lw.pick("comboBPopTr4", 3);
    for (int n = 1; n <= kMainNumbers; ++n)
        lw.w<QComboBox>("comboBSmsOC", n)->setCurrentIndex((n - 1) % 4);
    lw.check("cbSmsService5");
    const DeviceSettings& s = lw.applied();
    QCOMPARE(s.phones->number[0], u"9161000000"_s);
    QCOMPARE(s.phones->number[1], u"4951234567"_s);
    QCOMPARE(s.phones->number[2], u"0000000000"_s);
    QCOMPARE(s.phoneOptions->callAttemptsOpenClose[3], 9);
    QCOMPARE(s.phoneOptions->callAttemptsAlarm[3], 3);
    QCOMPARE(s.smsFlags->checkbox, (Arr<u8, kMainNumbers>{1, 0, 1, 0, 1}));
    QCOMPARE(s.smsFlags->cbDrugieZa, (Arr<u8, kMainNumbers>{0, 1, 1, 0, 0}));
    QCOMPARE(s.extraSms->smsService, (Arr<u8, kMainNumbers>{0, 0, 0, 0, 1}));
    lw.wiz.SetupList(4, {}); // loaded back, the summary lists the stored digits
    QVERIFY(lw.goTo(WizardOM::PageSummary));
    const QStringList summary = lw.summary();
    const int first = summary.indexOf(u"1. 916-100-00-00"_s);
    QVERIFY2(first > 0, qPrintable(summary.join('|')));
    QCOMPARE(summary.at(first + 1), u"    Отправлять SMS: да"_s);
    QCOMPARE(summary.at(first + 7), u"    Отправлять SMS: нет"_s); // number 4: "Нет"
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
        QCOMPARE(lw.w("cBoxShl", n)->isHidden(), n > shownRows);
    auto* techLoop = lw.w<QComboBox>("cbNTShl");
    QCOMPARE(techLoop->count(), shownRows + 1);
    const bool first = type <= DEV_D8M;
    const int last = first ? 3 : 1; // the family's last item

    // The alarm box: shown only on a shown row, locked at index 3.
    auto* box = lw.w<QComboBox>("cBoxShl1");
    auto* alarm = lw.w<QCheckBox>("cbTrShl1");
    box->setCurrentIndex(last);
    QVERIFY(!alarm->isHidden());
    QCOMPARE(alarm->isEnabled(), !first);
    box->setCurrentIndex(0);
    QVERIFY(alarm->isHidden());
    lw.pick("cBoxShl8", 1);
    QCOMPARE(lw.w("cbTrShl8")->isHidden(), shownRows < 8);

    // The technological loop moved from loop 2 to 3, then freed.
    auto* loop2 = lw.w<QComboBox>("cBoxShl2");
    techLoop->setCurrentIndex(2);
    QVERIFY(loop2->currentText() == kTech && !loop2->isEnabled());
    techLoop->setCurrentIndex(3);
    QVERIFY(loop2->currentIndex() == last && loop2->isEnabled());
    QCOMPARE(lw.w<QComboBox>("cBoxShl3")->currentText(), kTech);
    alarm->setChecked(true);
    box->setCurrentIndex(1);
    // Stored (the codes: readDeviceStoredBack) and loaded back: the same
    // functions, the technological loop marked.
    QCOMPARE(lw.applied().extra->techLoop, 3);
    lw.wiz.SetupList(4, {});
    QVERIFY(box->currentIndex() == 1 && alarm->isChecked());
    QCOMPARE(lw.w<QComboBox>("cBoxShl3")->currentText(), kTech);
    QCOMPARE(loop2->currentIndex(), last);
}

void TestWizardPages::outputsPage_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("version");
    QTest::addColumn<int>("loops");
    QTest::addColumn<QString>("functions"); // the items offered
    QTest::addColumn<bool>("shortPasswords");
    QTest::newRow("Дорна-4М") << 0 << "09.05.2012/28" << 4 << "01235" << false;
    QTest::newRow("Дорна-8М") << 1 << "03.12.2010/35" << 8 << "0123456" << true;
    QTest::newRow("Мирвел, 03.12.2010/31") << 2 << "03.12.2010/31" << 3 << "012345678" << true;
    QTest::newRow("Мирвел, 18.12.2018/1") << 2 << "18.12.2018/1" << 3 << "012345" << true;
    QTest::newRow("Мирвел-К") << 3 << "19.04.2012/45" << 2 << "012345" << false;
}

void TestWizardPages::outputsPage() {
    QFETCH(int, type);
    QFETCH(QString, version);
    QFETCH(int, loops);
    QFETCH(QString, functions);
    QFETCH(bool, shortPasswords);
    LoneWizard lw;
    lw.settings.outputs->outputLoop[1] = {1, 1, 0, 0, 0, 0, 0, 1};
    lw.settings.outputs->outputType[1] = 3;
    lw.settings.outputs->adminPassword[0] = u"FF42"_s;
    lw.choose(type, version);
    auto* output2 = lw.w<QComboBox>("CombobV2");
    QString offered;
    for (int i = 0; i < output2->count(); ++i)
        offered += QString::number(wizard::OutputFunction(output2->itemText(i)));
    QCOMPARE(offered, functions);
    QCOMPARE(output2->currentIndex(), 3);
    for (int j = 1; j <= 8; ++j) {
        QCOMPARE(lw.w("cbPCN2", j)->isHidden(), j > loops);
        QCOMPARE(lw.w<QCheckBox>("cbPCN2", j)->isChecked(), j <= 2 || j == 8);
    }
    QVERIFY(lw.w("lePass2")->isHidden());
    // Index 4: the user function with its password where offered, else the
    // pulse function.
    const bool user = functions.contains('4');
    output2->setCurrentIndex(4);
    QVERIFY(lw.w("lPCN2")->isHidden());
    QCOMPARE(lw.w("lePass2")->isHidden(), !user);
    QCOMPARE(lw.applied().outputs->outputType[1], user ? 4 : 5);
    output2->setCurrentIndex(3);
    QVERIFY(lw.goTo(WizardOM::PageExits));
    QCOMPARE(lw.w<QLineEdit>("lePass1")->text(), shortPasswords ? u"42"_s : u"FF42"_s);
    QVERIFY(lw.goTo(WizardOM::PageSummary));
    const QString listed = u"2. 3 - ПЦН: "_s + (loops >= 8 ? "1,2,8" : "1,2");
    QVERIFY2(lw.summary().contains(listed), qPrintable(lw.summary().join('|')));
    // Hidden boxes keep their ticks and are stored with them.
    QCOMPARE(lw.applied().outputs->outputLoop[1][7], u8(1));
    QCOMPARE(lw.settings.outputs->adminPassword[0], u"FF42"_s);
}

void TestWizardPages::camerasPage() {
    LoneWizard lw;
    CamerasConfig& cams = *lw.settings.cameras;
    cams.execCamera[0][2] = 1;
    cams.execCamera[3][2] = 1;
    cams.execCamera[7][0] = 1;
    cams.useCamera.fill(1);
    lw.choose(DEV_VororaZ, u"03.12.2010/33"_s);
    auto* view = lw.w<QTableView>("tvCamerasExec");
    QCOMPARE(cams.execCamera[7][0], u8(0)); // loop 8 is absent
    QVERIFY(view->isRowHidden(6) && view->isRowHidden(7) && !view->isRowHidden(5));
    CamerasExecTable* table = lw.wiz.camerasTable();
    QCOMPARE(table->headerData(2, Qt::Horizontal, Qt::DisplayRole), QVariant("Камера №3"));
    QCOMPARE(table->headerData(7, Qt::Vertical, Qt::DisplayRole), QVariant("Шлейф №8"));
    QVERIFY(lw.goTo(WizardOM::PageSummary));
    QVERIFY(lw.summary().contains(u" - камера №3 связана со шлейфами: 1, 4"_s));
    QVERIFY(lw.summary().contains(u" - камера №1 связана со шлейфами"_s));

    lw.back();
    lw.check("cbUseCam_3", false);
    QVERIFY(view->isColumnHidden(2));
    QCOMPARE(cams.execCamera[0][2], u8(0)); // at once, before any hand-off
    QVERIFY(!table->check(3, 2));
    lw.check("cbUseCam_5", false);
    table->setData(table->index(1, 1), Qt::Checked, Qt::CheckStateRole);
    QCOMPARE(lw.applied().cameras->useCamera[4], u8(0));
    QCOMPARE(cams.execCamera[1][1], u8(1));

    // Reached from the outputs page, the summary writes no camera block.
    lw.choose(DEV_D8M, u"03.12.2010/33"_s);
    QVERIFY(lw.goTo(WizardOM::PageSummary));
    QVERIFY(!lw.summary().contains(u"Параметры камер:"_s));
}

// Every model at every firmware of the version list, one wizard after the
// other: a device whose memory is random (and a few numbers past every
// range), read into the wizard and stored back without an edit, keeps every
// field but the normalisations the pages make on purpose.
void TestWizardPages::readDeviceStoredBack() {
    QTemporaryDir operators;
    QRandomGenerator rng(20240611);
    LoneWizard lw;
    for (int type = DEV_D4M; type <= DEV_VoduzeR; ++type) {
        for (const QString& version : MainWindow::FirmwareVersions()) {
            lw.choose(type, version);
            DeviceSettings read;
            SetDefaultSettings(&read, false);
            read.header->deviceType = type;
            SetFirmwareVersion(*read.header, version);
            QByteArray memory(image::kSize, '\0');
            for (char& c : memory)
                c = char(rng.bounded(256));
            memory[image::kMarker] = image::kProgrammed;
            ParseImage(memory, &read, operators.path());
            // A settings file may hold any number where the memory holds a byte.
            const int wild[] = {INT_MIN, -1, 3, 9, 10, 13, 388, INT_MAX};
            for (i32* field :
                 {&read.extra->techLoop, &read.navigation->timeZone, &read.header->simOperator[1],
                  &read.servers->udPop[0], &read.outputs->outputType[2],
                  &read.phoneOptions->callAttemptsAlarm[4], &read.loopFunctions->closeAnalysis[1]})
                *field = rng.bounded(3) ? *field : wild[rng.bounded(8)];
            lw.settings = read;
            lw.wiz.SetupList(4, {});
            const DeviceSettings& out = lw.applied();
            const QString changed = FirstDifference(out, Normalised(read, out, type, version));
            QVERIFY2(changed.isEmpty(), qPrintable(u"%1 %2: "_s.arg(type).arg(version) + changed));
        }
    }
}

// What a version text allows the wizard, the password forms, and the one rule
// that tells a literal IPv4 address from a host name.
void TestWizardPages::versions_data() {
    QTest::addColumn<QString>("version");
    QTest::addColumn<bool>("cameras");    // types 2 and 3
    QTest::addColumn<int>("loops");       // outputs page, type 2
    QTest::addColumn<QString>("extras");  // items beyond 5
    QTest::addColumn<bool>("userForD4M"); // "4 - пользовательский" for type 0
    QTest::newRow("/33") << "03.12.2010/33" << true << 3 << "678" << true;
    QTest::newRow("/35") << "03.12.2010/35" << false << 3 << "6" << true;
    QTest::newRow("/59") << "03.12.2010/59" << true << 3 << "678" << true;
    QTest::newRow("/67") << "03.12.2010/67" << false << 3 << "6" << true;
    QTest::newRow("/10") << "03.12.2010/10" << false << 6 << "" << true;
    QTest::newRow("bare 03.12.2010") << "03.12.2010" << false << 6 << "" << true;
    QTest::newRow("/131 reads 31") << "19.04.2012/131" << true << 6 << "" << true;
    QTest::newRow("16.05.2012/1") << "16.05.2012/1" << false << 3 << "" << true;
    QTest::newRow("18.12.2018/1") << "18.12.2018/1" << false << 3 << "" << true;
    QTest::newRow("09.05.2012/28") << "09.05.2012/28" << false << 6 << "" << false;
}

void TestWizardPages::versions() {
    QFETCH(QString, version);
    QFETCH(bool, cameras);
    QFETCH(int, loops);
    QFETCH(QString, extras);
    QFETCH(bool, userForD4M);
    QCOMPARE(wizard::CamerasPageShown(2, version), cameras);
    QCOMPARE(wizard::CamerasPageShown(3, version), cameras);
    QCOMPARE(wizard::OutputLoopCount(2, version), loops);
    QString found;
    for (const QString& item : wizard::OutputFunctions(1, version)) {
        if (wizard::OutputFunction(item) > 5)
            found += QString::number(wizard::OutputFunction(item));
    }
    QCOMPARE(found, extras);
    QCOMPARE(wizard::OutputFunctions(0, version).contains(u"4 - пользовательский"_s), userForD4M);
}

void TestWizardPages::passwords_data() {
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("stored");
    QTest::newRow("02.12.2010") << u"02.12.2010"_s << u"12#4"_s << u"1204"_s;
    QTest::newRow("03.12.2010") << u"03.12.2010/33"_s << u"A#"_s << u"FFA0"_s;
    QTest::newRow("04.12.2010") << u"04.12.2010"_s << u"7391"_s << u"7391"_s;
    QTest::newRow("15.05.2012") << u"15.05.2012"_s << u"##91"_s << u"0091"_s;
    QTest::newRow("16.05.2012") << u"16.05.2012/22"_s << u"5C"_s << u"FF5C"_s;
    QTest::newRow("no date") << QString() << u"1234"_s << u"1234"_s;
}

void TestWizardPages::passwords() {
    QFETCH(QString, version);
    QFETCH(QString, shown);
    QFETCH(QString, stored);
    const bool shortForm = wizard::ShortPasswords(version);
    QCOMPARE(wizard::StoredPassword(shown, shortForm), stored);
    // Loaded back as the field shows it: blanks come back as zeros.
    QCOMPARE(wizard::ShownPassword(stored, shortForm), QString(shown).replace('#', '0'));
}

void TestWizardPages::literalAddresses_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("literal");
    QTest::newRow("short groups") << "10.0.1.25" << true;
    QTest::newRow("leading zeros") << "010.000.001.025" << true;
    QTest::newRow("group above 255") << "10.0.0.256" << false;
    QTest::newRow("short form") << "10.1" << false;
    QTest::newRow("host name") << "ntp.example.org" << false;
}

void TestWizardPages::literalAddresses() {
    QFETCH(QString, text);
    QFETCH(bool, literal);
    QCOMPARE(IsLiteralIpv4(text), literal);
}

QTEST_MAIN(TestWizardPages)
#include "tst_wizard_pages.moc"
