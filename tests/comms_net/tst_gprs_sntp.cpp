// The GPRS servers and time server pages inside the real parameters window:
// stored text forms, the protocol list by firmware, the gates, the forced
// GPRS state, and the controls the two pages and the navigation page share.

#include "NetPagesRig.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>

namespace {
QStringList Items(const QComboBox* box) {
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}
} // namespace

class TstGprsSntp : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PrepareApplication(); }
    void addressAndPortForms_data();
    void addressAndPortForms();
    void constructorProtocolList();
    void protocolList_data();
    void protocolList();
    void rememberedProtocol();
    void protocolDrivesNavigation_data();
    void protocolDrivesNavigation();
    void gates_data();
    void gates();
    void forcedGprs_data();
    void forcedGprs();
    void twins_data();
    void twins();
    void timeZoneOutsideList();
    void sntpForcedFlags();
    void sntpFollowsGprs_data();
    void sntpFollowsGprs();
    void sntpForms();
};

void TstGprsSntp::addressAndPortForms_data() {
    QTest::addColumn<QString>("ip");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("shown"); // empty: any 15-character address
    QTest::addColumn<int>("portValue");
    QTest::addColumn<QString>("portText");
    QTest::newRow("short groups") << "10.0.0.1"
                                  << "80"
                                  << "010.000.000.001" << 80 << "00080";
    QTest::newRow("mixed") << "192.168.1.1"
                           << "99999"
                           << "192.168.001.001" << 99999 << "99999";
    QTest::newRow("full form") << "010.200.003.004"
                               << "00000"
                               << "010.200.003.004" << 0 << "00000";
    QTest::newRow("empty") << ""
                           << "abc"
                           << "000.000.000.000" << 0 << "00000";
    QTest::newRow("three groups") << "1.2.3"
                                  << "123"
                                  << "" << 123 << "00123";
    QTest::newRow("letters") << "a.b"
                             << ""
                             << "" << 0 << "00000";
    QTest::newRow("too long") << "1.2.3.4.5.6.7.8"
                              << "65536"
                              << "" << 65536 << "65536";
}

void TstGprsSntp::addressAndPortForms() {
    QFETCH(QString, ip);
    QFETCH(QString, port);
    QFETCH(QString, shown);
    QFETCH(int, portValue);
    QFETCH(QString, portText);
    static const QRegularExpression kForm(QStringLiteral("^\\d{3}\\.\\d{3}\\.\\d{3}\\.\\d{3}$"));

    NetPagesRig rig;
    rig.firmware("19.04.2012/45");
    for (int k = 0; k < kServers; ++k) {
        rig.s.servers->serverIp[k] = ip;
        rig.s.servers->serverPort[k] = port;
    }
    rig.s.sntp->sntpIp = ip;
    rig.s.sntp->sntpPort = port;
    rig.load();
    const QLineEdit* edits[] = {rig.gprs<QLineEdit>("leIP1"), rig.gprs<QLineEdit>("leIP2"),
                                rig.time<QLineEdit>("leIPserv")};
    for (const QLineEdit* e : edits) {
        if (shown.isEmpty())
            QVERIFY2(kForm.match(e->displayText()).hasMatch(), qPrintable(e->displayText()));
        else
            QCOMPARE(e->displayText(), shown);
    }
    QCOMPARE(rig.gprs<QSpinBox>("sbPort2")->value(), qMin(portValue, 99999));
    QCOMPARE(rig.time<QSpinBox>("sbIPPort")->value(), qMin(portValue, 99999));

    rig.apply();
    for (int k = 0; k < kServers; ++k) {
        QCOMPARE(rig.s.servers->serverIp[k], edits[k]->displayText());
        QCOMPARE(rig.s.servers->serverPort[k], portText);
    }
    QVERIFY(kForm.match(rig.s.sntp->sntpIp).hasMatch());
    QCOMPARE(rig.s.sntp->sntpPort, portText);
}

void TstGprsSntp::constructorProtocolList() {
    NetPagesRig rig;
    QCOMPARE(Items(rig.gprs<QComboBox>("cmbProtocol")),
             (QStringList{"Ксар (старый)", "Ксар", "Мирвел "}));
}

void TstGprsSntp::protocolList_data() {
    QTest::addColumn<QString>("firmware");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("items");
    QTest::addColumn<QString>("current");
    QTest::addColumn<int>("applied");
    const QString before = "Ксар (старый)|Ксар|Мирвел";
    const QString from = "Ксар|Мирвел";
    QTest::newRow("old, code 0") << "17.12.2018/1" << 0 << before << "Ксар (старый)" << 0;
    QTest::newRow("old, code 1") << "17.12.2018/1" << 1 << before << "Мирвел" << 1;
    QTest::newRow("old, code 2") << "17.12.2018/1" << 2 << before << "Ксар" << 2;
    QTest::newRow("new, code 0") << "18.12.2018/1" << 0 << from << "Ксар" << 2;
    QTest::newRow("new, code 1") << "18.12.2018/1" << 1 << from << "Мирвел" << 1;
    QTest::newRow("new, unknown code") << "18.12.2018/1" << 7 << from << "Ксар" << 2;
}

void TstGprsSntp::protocolList() {
    QFETCH(QString, firmware);
    QFETCH(int, stored);
    QFETCH(QString, items);
    QFETCH(QString, current);
    QFETCH(int, applied);

    NetPagesRig rig;
    rig.s.connection->connectByGprs = 1;
    rig.s.connection->serverProtocol = stored;
    rig.firmware(firmware.toLatin1());
    rig.load();
    const QComboBox* box = rig.gprs<QComboBox>("cmbProtocol");
    QCOMPARE(Items(box).join('|'), items);
    QCOMPARE(box->currentText(), current);
    QCOMPARE(rig.s.connection->serverProtocol, stored); // shown, not yet stored
    rig.apply();
    QCOMPARE(rig.s.connection->serverProtocol, applied);
}

// A code the new list lacks is kept until older firmware offers it again; an
// apply or a load of settings ends the keeping.
void TstGprsSntp::rememberedProtocol() {
    NetPagesRig rig;
    rig.s.connection->connectByGprs = 1;
    rig.firmware("17.12.2018/1");
    rig.load();
    const QComboBox* box = rig.gprs<QComboBox>("cmbProtocol");
    QCOMPARE(box->currentText(), QString("Ксар (старый)"));

    rig.firmware("18.12.2018/1");
    QCOMPARE(box->currentText(), QString("Ксар"));
    rig.firmware("17.12.2018/1");
    QCOMPARE(box->currentText(), QString("Ксар (старый)"));
    QCOMPARE(rig.s.connection->serverProtocol, 0);

    // A file loaded while the old code is kept: its own code stands.
    rig.firmware("18.12.2018/1");
    rig.s.connection->serverProtocol = 1;
    rig.load();
    rig.firmware("17.12.2018/1");
    QCOMPARE(box->currentText(), QString("Мирвел"));
    QCOMPARE(rig.s.connection->serverProtocol, 1);

    // An apply on the new firmware makes its choice final.
    rig.s.connection->serverProtocol = 0;
    rig.load();
    rig.firmware("18.12.2018/1");
    rig.apply();
    rig.firmware("17.12.2018/1");
    QCOMPARE(box->currentText(), QString("Ксар"));
    QCOMPARE(rig.s.connection->serverProtocol, 2);
}

void TstGprsSntp::protocolDrivesNavigation_data() {
    QTest::addColumn<int>("code");
    QTest::newRow("old") << 0;
    QTest::newRow("own") << 1;
    QTest::newRow("new") << 2;
}

void TstGprsSntp::protocolDrivesNavigation() {
    QFETCH(int, code);
    NetPagesRig rig;
    rig.deviceType(DEV_VoduzeR);
    rig.s.connection->connectByGprs = 1;
    rig.s.connection->serverProtocol = code == 0 ? 1 : 0; // start from the other state
    rig.firmware("19.04.2012/45");
    rig.load();
    QComboBox* box = rig.gprs<QComboBox>("cmbProtocol");
    box->setCurrentIndex(box->findData(code));

    const bool navigation = code != 0;
    for (const char* group : {"gbChastPos", "gbDopOpt", "gbFilter", "gbGPS"})
        QCOMPARE(rig.nav<QWidget>(group)->isEnabled(), navigation);
    QCOMPARE(rig.shown(PribParWindow::kNavigation, "lHint"), !navigation);
    QVERIFY(rig.nav<QLabel>("lHint")->text().contains("&quot;Мирвел&quot;"));
    QCOMPARE(rig.gprs<QCheckBox>("cbPrivSIM")->isEnabled(), code == 1);
    QCOMPARE(rig.gprs<QLineEdit>("leServConnectPass")->isEnabled(), code == 2);
}

void TstGprsSntp::gates_data() {
    QTest::addColumn<QString>("firmware");
    QTest::addColumn<bool>("later");  // after 27.11.2009: server 2, DNS, attempts
    QTest::addColumn<bool>("before"); // before 19.04.2012: attempts rows, no password
    QTest::newRow("27.11.2009") << "27.11.2009/1" << false << true;
    QTest::newRow("next release") << "17.02.2010/1" << true << true;
    QTest::newRow("09.05.2012") << "09.05.2012/28" << true << false;
    QTest::newRow("no version") << "" << false << true;
}

void TstGprsSntp::gates() {
    QFETCH(QString, firmware);
    QFETCH(bool, later);
    QFETCH(bool, before);

    NetPagesRig rig;
    rig.s.connection->connectByGprs = 1;
    rig.s.servers->useDns = {1, 1};
    rig.firmware(firmware.toLatin1());
    rig.load();
    QVERIFY(rig.gprs<QWidget>("groupBox")->isEnabled());
    for (const char* name :
         {"groupBox_2", "groupBox_3", "cbUseDNS1", "leDNS1", "sbPop1", "cbRewriteIP1", "cbConIP1"})
        QVERIFY2(rig.gprs<QWidget>(name)->isEnabled() == later, name);
    for (const char* name : {"sbPop1", "sbPop2", "cbConIP2", "sbPopunRest", "label_7"})
        QVERIFY2(rig.shown(PribParWindow::kConGPRS, name) == before, name);
    QCOMPARE(rig.shown(PribParWindow::kConGPRS, "leServConnectPass"), !before);
    QCOMPARE(rig.shown(PribParWindow::kSntp, "sbPopunRest"), before);

    // GPRS off: the groups close, and a new version waits until it is on.
    rig.gprs<QCheckBox>("cbConGPRS")->click();
    for (const char* name : {"groupBox", "groupBox_2", "groupBox_3"})
        QVERIFY(!rig.gprs<QWidget>(name)->isEnabled());
    rig.firmware(before ? "09.05.2012/28" : "17.02.2010/1");
    QCOMPARE(rig.shown(PribParWindow::kConGPRS, "leServConnectPass"), !before);
    rig.gprs<QCheckBox>("cbConGPRS")->click();
    QCOMPARE(rig.shown(PribParWindow::kConGPRS, "leServConnectPass"), before);
}

void TstGprsSntp::forcedGprs_data() {
    QTest::addColumn<bool>("initial");
    QTest::addColumn<int>("reloaded"); // -1: no load while forced
    QTest::addColumn<bool>("applied");
    QTest::addColumn<bool>("after");
    QTest::newRow("off given back") << false << -1 << false << false;
    QTest::newRow("on given back") << true << -1 << false << true;
    QTest::newRow("reload on") << false << 1 << false << true;
    QTest::newRow("reload off") << true << 0 << false << false;
    QTest::newRow("apply makes it final") << false << -1 << true << true;
}

void TstGprsSntp::forcedGprs() {
    QFETCH(bool, initial);
    QFETCH(int, reloaded);
    QFETCH(bool, applied);
    QFETCH(bool, after);

    NetPagesRig rig;
    rig.s.header->workMode = MODE_AUTONOMOUS;
    rig.s.connection->connectByGprs = initial;
    rig.firmware("19.04.2012/45");
    rig.deviceType(DEV_VoduzeR); // the model with the page: not forced
    rig.load();
    QCheckBox* box = rig.gprs<QCheckBox>("cbConGPRS");
    QCOMPARE(box->isChecked(), initial);

    // The other models are forced; every rebuild of the list forces again.
    rig.deviceType(DEV_VororaZ);
    rig.firmware("19.04.2012/45");
    QVERIFY(!rig.window->menuTitles().contains("Параметры GPRS"));
    QVERIFY(box->isChecked());
    if (reloaded >= 0) {
        rig.s.connection->connectByGprs = reloaded;
        rig.load();
        QVERIFY(box->isChecked());
    }
    if (applied) {
        rig.apply();
        QCOMPARE(rig.s.connection->connectByGprs, 1);
    }
    rig.deviceType(DEV_VoduzeR);
    QCOMPARE(box->isChecked(), after);
    QCOMPARE(rig.time<QWidget>("cbUseSNTP")->isEnabled(), after);
}

void TstGprsSntp::twins_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::newRow("GPRS to time server")
        << int(PribParWindow::kConGPRS) << int(PribParWindow::kSntp);
    QTest::newRow("time server to GPRS")
        << int(PribParWindow::kSntp) << int(PribParWindow::kConGPRS);
}

// Each change reaches the twin once and comes back no further.
void TstGprsSntp::twins() {
    QFETCH(int, from);
    QFETCH(int, to);

    NetPagesRig rig;
    rig.s.connection->connectByGprs = 1;
    rig.firmware("17.02.2010/1");
    rig.load();
    QSignalSpy gprsRest(rig.gprsPage(), &ConGPRS::sigPopunRestCountChange);
    QSignalSpy timeRest(rig.timePage(), &sntp::sigPopunRestCountChange);
    QSignalSpy gprsSim(rig.gprsPage(), &ConGPRS::sigUseSim2Change);
    QSignalSpy timeSim(rig.timePage(), &sntp::sigUseSim2Change);

    rig.at<QSpinBox>(from, "sbPopunRest")->setValue(7);
    QCOMPARE(rig.at<QSpinBox>(to, "sbPopunRest")->value(), 7);
    QCOMPARE(gprsRest.size(), 1);
    QCOMPARE(timeRest.size(), 1);

    rig.at<QCheckBox>(from, "cbUseSIM2")->click();
    QVERIFY(rig.at<QCheckBox>(to, "cbUseSIM2")->isChecked());
    QCOMPARE(gprsSim.size() + timeSim.size(), 1);

    // Only the GPRS page stores them, whichever page was edited.
    rig.apply();
    QCOMPARE(rig.s.servers->udPop3, 7);
    QCOMPARE(rig.s.servers->useGprsMode2, 1);

    // The time zone: time server and navigation pages.
    const int zoneFrom =
        from == PribParWindow::kSntp ? PribParWindow::kSntp : PribParWindow::kNavigation;
    const int zoneTo =
        zoneFrom == PribParWindow::kSntp ? PribParWindow::kNavigation : PribParWindow::kSntp;
    QSignalSpy timeZone(rig.timePage(), &sntp::SigHourPoyasChange);
    QSignalSpy navZone(rig.navPage(), &Navigation::SigHourPoyasChange);
    rig.at<QComboBox>(zoneFrom, "comboBPoyas")->setCurrentIndex(12);
    QCOMPARE(rig.at<QComboBox>(zoneTo, "comboBPoyas")->currentText(), QString("+12"));
    QCOMPARE(timeZone.size(), 1);
    QCOMPARE(navZone.size(), 1);
    rig.apply();
    QCOMPARE(rig.s.navigation->timeZone, 12);
}

void TstGprsSntp::timeZoneOutsideList() {
    NetPagesRig rig;
    rig.s.navigation->timeZone = 13;
    rig.s.sntp->sntpVersion = 3;
    rig.load();
    QCOMPARE(rig.time<QComboBox>("comboBPoyas")->currentIndex(), -1);
    QCOMPARE(rig.nav<QComboBox>("comboBPoyas")->currentIndex(), -1);
    rig.apply();
    QCOMPARE(rig.s.navigation->timeZone, 13);
    QCOMPARE(rig.s.sntp->sntpVersion, 3);
}

// From 18.12.2018 the device takes address and name both; the engineer's
// choice comes back with older firmware, and the two couplings of the IP
// button exist once, only while the choice is offered.
void TstGprsSntp::sntpForcedFlags() {
    NetPagesRig rig;
    rig.s.connection->connectByGprs = 1;
    rig.s.sntp->cb3 = 0;
    rig.s.sntp->cb4 = 1;
    rig.firmware("19.04.2012/45");
    rig.load();
    auto* byIp = rig.time<QRadioButton>("rbUseIP");
    const char* toggled = SIGNAL(toggled(bool));
    const int coupled = ReceiverCount::of(byIp, toggled);
    rig.firmware("09.05.2012/28");
    QCOMPARE(ReceiverCount::of(byIp, toggled), coupled);
    QVERIFY(rig.time<QRadioButton>("rbUseDNS")->isChecked());
    QVERIFY(!rig.time<QWidget>("leIPserv")->isEnabled());

    rig.firmware("18.12.2018/1");
    QCOMPARE(ReceiverCount::of(byIp, toggled), coupled - 2);
    QVERIFY(!rig.shown(PribParWindow::kSntp, "rbUseIP"));
    QVERIFY(!rig.shown(PribParWindow::kSntp, "rbUseDNS"));
    QVERIFY(rig.time<QWidget>("leIPserv")->isEnabled());
    QVERIFY(rig.time<QWidget>("leDNS")->isEnabled());
    rig.apply();
    QCOMPARE(rig.s.sntp->cb3, 1);
    QCOMPARE(rig.s.sntp->cb4, 1);

    rig.firmware("19.04.2012/45");
    QCOMPARE(ReceiverCount::of(byIp, toggled), coupled);
    QCOMPARE(rig.s.sntp->cb3, 0);
    QVERIFY(rig.time<QRadioButton>("rbUseDNS")->isChecked());
    QVERIFY(!rig.time<QWidget>("leIPserv")->isEnabled());
    byIp->click(); // the coupling works again
    QVERIFY(rig.time<QWidget>("leIPserv")->isEnabled());
    QVERIFY(!rig.time<QWidget>("leDNS")->isEnabled());
    rig.apply();
    QCOMPARE(rig.s.sntp->cb3, 1);
    QCOMPARE(rig.s.sntp->cb4, 0);
}

void TstGprsSntp::sntpFollowsGprs_data() {
    QTest::addColumn<bool>("gprs");
    QTest::addColumn<bool>("useSntp");
    QTest::newRow("GPRS, SNTP") << true << true;
    QTest::newRow("GPRS, no SNTP") << true << false;
    QTest::newRow("no GPRS, SNTP") << false << true;
    QTest::newRow("no GPRS, no SNTP") << false << false;
}

void TstGprsSntp::sntpFollowsGprs() {
    QFETCH(bool, gprs);
    QFETCH(bool, useSntp);

    NetPagesRig rig;
    rig.firmware("17.02.2010/1");
    for (int round = 0; round < 2; ++round) {
        // First from a load, then from the other state by the engineer's click.
        if (round == 0) {
            rig.s.connection->connectByGprs = gprs;
            rig.s.sntp->useSntp = useSntp;
            rig.load();
        } else {
            rig.gprs<QCheckBox>("cbConGPRS")->click();
            rig.gprs<QCheckBox>("cbConGPRS")->click();
        }
        QCOMPARE(rig.time<QWidget>("cbUseSNTP")->isEnabled(), gprs);
        QCOMPARE(rig.time<QWidget>("gbSntpSettings")->isEnabled(), gprs && useSntp);
        QCOMPARE(rig.time<QWidget>("sbPopunRest")->isEnabled(), gprs);
        QCOMPARE(rig.time<QWidget>("cbUseSIM2")->isEnabled(), gprs);
        QVERIFY(rig.time<QWidget>("comboBPoyas")->isEnabled());
    }
}

void TstGprsSntp::sntpForms() {
    NetPagesRig rig;
    QCOMPARE(Items(rig.time<QComboBox>("combVer")), (QStringList{"V.2", "V.3", "V.4"}));
    QCOMPARE(rig.time<QComboBox>("comboBPoyas")->count(), 13);
    rig.s.connection->connectByGprs = 1;
    rig.s.sntp->sntpDns = "time.example.org";
    rig.s.sntp->sntpVersion = 1;
    rig.s.servers->serverPassword = QString(40, 'p');
    rig.firmware("19.04.2012/45");
    rig.load();
    QCOMPARE(rig.time<QComboBox>("combVer")->currentText(), QString("V.3"));
    QCOMPARE(rig.time<QLineEdit>("leDNS")->text(), QString("time.example.org"));
    rig.time<QComboBox>("combVer")->setCurrentIndex(2);
    rig.time<QSpinBox>("sbIPPort")->setValue(123);
    rig.apply();
    QCOMPARE(rig.s.sntp->sntpVersion, 2);
    QCOMPARE(rig.s.sntp->sntpPort, QString("00123"));
    // The device keeps 31 characters of the server password.
    QCOMPARE(rig.s.servers->serverPassword, QString(31, 'p'));
}

QTEST_MAIN(TstGprsSntp)
#include "tst_gprs_sntp.moc"
