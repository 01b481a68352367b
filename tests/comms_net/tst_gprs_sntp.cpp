// The GPRS servers and time server pages inside the real parameters window:
// stored text forms, the protocol list by firmware, the gates, the forced
// GPRS state, and the controls the two pages and the navigation page share.

#include "NetPagesRig.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>

namespace {
QString Items(const QComboBox* box) {
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out.join('|');
}
} // namespace

class TstGprsSntp : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PrepareApplication(); }

    void addressAndPortForms_data() {
        QTest::addColumn<QString>("ip");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("shown"); // empty: any address of the 15-character form
        QTest::addColumn<QString>("portText");
        QTest::newRow("short groups") << "10.0.0.1"
                                      << "80"
                                      << "010.000.000.001"
                                      << "00080";
        QTest::newRow("mixed") << "192.168.1.1"
                               << "99999"
                               << "192.168.001.001"
                               << "99999";
        QTest::newRow("empty") << ""
                               << "abc"
                               << "000.000.000.000"
                               << "00000";
        QTest::newRow("three groups") << "1.2.3"
                                      << "123"
                                      << ""
                                      << "00123";
        QTest::newRow("letters") << "a.b"
                                 << ""
                                 << ""
                                 << "00000";
        QTest::newRow("too long") << "1.2.3.4.5.6.7.8"
                                  << "0"
                                  << ""
                                  << "00000";
    }
    void addressAndPortForms() {
        QFETCH(QString, ip);
        QFETCH(QString, port);
        QFETCH(QString, shown);
        QFETCH(QString, portText);
        static const QRegularExpression kForm("^\\d{3}\\.\\d{3}\\.\\d{3}\\.\\d{3}$");

        NetPagesRig rig;
        rig.firmware("19.04.2012/45");
        rig.s.servers->serverIp = {ip, ip};
        rig.s.servers->serverPort = {port, port};
        rig.s.sntp->sntpIp = ip;
        rig.s.sntp->sntpPort = port;
        rig.s.servers->serverPassword = QString(40, 'p');
        rig.load();
        for (const QLineEdit* e : {rig.gprs<QLineEdit>("leIP1"), rig.gprs<QLineEdit>("leIP2"),
                                   rig.time<QLineEdit>("leIPserv")}) {
            QVERIFY2(kForm.match(e->displayText()).hasMatch(), qPrintable(e->displayText()));
            if (!shown.isEmpty())
                QCOMPARE(e->displayText(), shown);
        }
        rig.apply();
        for (int k = 0; k < kServers; ++k) {
            QCOMPARE(rig.s.servers->serverIp[k],
                     rig.gprs<QLineEdit>(k ? "leIP2" : "leIP1")->displayText());
            QCOMPARE(rig.s.servers->serverPort[k], portText);
        }
        QVERIFY(kForm.match(rig.s.sntp->sntpIp).hasMatch());
        QCOMPARE(rig.s.sntp->sntpPort, portText);
        // The device keeps 31 characters of the server password.
        QCOMPARE(rig.s.servers->serverPassword, QString(31, 'p'));
    }

    void protocolList_data() {
        QTest::addColumn<QString>("firmware");
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("items");
        QTest::addColumn<QString>("current");
        QTest::addColumn<int>("applied");
        const QString before = "Ксар (старый)|Ксар|Мирвел", from = "Ксар|Мирвел";
        QTest::newRow("old, code 0") << "17.12.2018/1" << 0 << before << "Ксар (старый)" << 0;
        QTest::newRow("old, code 1") << "17.12.2018/1" << 1 << before << "Мирвел" << 1;
        QTest::newRow("new, code 0") << "18.12.2018/1" << 0 << from << "Ксар" << 2;
        QTest::newRow("new, code 1") << "18.12.2018/1" << 1 << from << "Мирвел" << 1;
        QTest::newRow("new, unknown") << "18.12.2018/1" << 7 << from << "Ксар" << 2;
    }
    void protocolList() {
        QFETCH(QString, firmware);
        QFETCH(int, stored);
        QFETCH(QString, items);
        QFETCH(QString, current);
        QFETCH(int, applied);

        NetPagesRig rig;
        const QComboBox* box = rig.gprs<QComboBox>("cmbProtocol");
        QCOMPARE(Items(box), QString("Ксар (старый)|Ксар|Мирвел ")); // the first list's blank
        rig.s.connection->connectByGprs = 1;
        rig.s.connection->serverProtocol = stored;
        rig.firmware(firmware.toLatin1());
        rig.load();
        QCOMPARE(Items(box), items);
        QCOMPARE(box->currentText(), current);
        QCOMPARE(rig.s.connection->serverProtocol, stored); // shown, not yet stored
        rig.apply();
        QCOMPARE(rig.s.connection->serverProtocol, applied);
    }

    // A code the new list lacks is kept until older firmware offers it again;
    // an apply or a load of settings ends the keeping.
    void rememberedProtocol() {
        NetPagesRig rig;
        rig.s.connection->connectByGprs = 1;
        rig.firmware("17.12.2018/1");
        rig.load();
        const QComboBox* box = rig.gprs<QComboBox>("cmbProtocol");
        rig.firmware("18.12.2018/1");
        rig.firmware("17.12.2018/1");
        QCOMPARE(box->currentText(), QString("Ксар (старый)"));

        rig.firmware("18.12.2018/1");
        rig.s.connection->serverProtocol = 1;
        rig.load();
        rig.firmware("17.12.2018/1");
        QCOMPARE(box->currentText(), QString("Мирвел"));
        QCOMPARE(rig.s.connection->serverProtocol, 1);

        rig.s.connection->serverProtocol = 0;
        rig.load();
        rig.firmware("18.12.2018/1");
        rig.apply();
        rig.firmware("17.12.2018/1");
        QCOMPARE(box->currentText(), QString("Ксар"));
        QCOMPARE(rig.s.connection->serverProtocol, 2);
    }

    void protocolDrivesNavigation_data() {
        QTest::addColumn<int>("code");
        QTest::newRow("old") << 0;
        QTest::newRow("own") << 1;
        QTest::newRow("new") << 2;
    }
    void protocolDrivesNavigation() {
        QFETCH(int, code);
        NetPagesRig rig;
        rig.s.connection->connectByGprs = 1;
        rig.s.connection->serverProtocol = code == 0 ? 1 : 0; // start from the other state
        rig.firmware("19.04.2012/45");
        rig.load();
        auto* box = rig.gprs<QComboBox>("cmbProtocol");
        box->setCurrentIndex(box->findData(code));
        for (const char* group : {"gbChastPos", "gbDopOpt", "gbFilter", "gbGPS"})
            QCOMPARE(rig.nav<QWidget>(group)->isEnabled(), code != 0);
        QCOMPARE(rig.shown(PribParWindow::kNavigation, "lHint"), code == 0);
        QCOMPARE(rig.gprs<QCheckBox>("cbPrivSIM")->isEnabled(), code == 1);
        QCOMPARE(rig.gprs<QLineEdit>("leServConnectPass")->isEnabled(), code == 2);
    }

    void gates_data() {
        QTest::addColumn<QString>("firmware");
        QTest::addColumn<bool>("later");  // after 27.11.2009: server 2, DNS, attempts
        QTest::addColumn<bool>("before"); // before 19.04.2012: attempts rows, no password
        QTest::newRow("27.11.2009") << "27.11.2009/1" << false << true;
        QTest::newRow("next release") << "17.02.2010/1" << true << true;
        QTest::newRow("09.05.2012") << "09.05.2012/28" << true << false;
        QTest::newRow("no version") << "" << false << true;
    }
    void gates() {
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
             {"groupBox_2", "groupBox_3", "cbUseDNS1", "leDNS1", "sbPop1", "cbConIP1"})
            QVERIFY2(rig.gprs<QWidget>(name)->isEnabled() == later, name);
        for (const char* name : {"sbPop1", "sbPop2", "cbConIP2", "sbPopunRest"})
            QVERIFY2(rig.shown(PribParWindow::kConGPRS, name) == before, name);
        QCOMPARE(rig.shown(PribParWindow::kConGPRS, "leServConnectPass"), !before);
        QCOMPARE(rig.shown(PribParWindow::kSntp, "sbPopunRest"), before);

        // With GPRS off a new version waits until GPRS is on again.
        rig.gprs<QCheckBox>("cbConGPRS")->click();
        QVERIFY(!rig.gprs<QWidget>("groupBox")->isEnabled());
        rig.firmware(before ? "09.05.2012/28" : "17.02.2010/1");
        QCOMPARE(rig.shown(PribParWindow::kConGPRS, "leServConnectPass"), !before);
        rig.gprs<QCheckBox>("cbConGPRS")->click();
        QCOMPARE(rig.shown(PribParWindow::kConGPRS, "leServConnectPass"), before);
    }

    void forcedGprs_data() {
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
    void forcedGprs() {
        QFETCH(bool, initial);
        QFETCH(int, reloaded);
        QFETCH(bool, applied);
        QFETCH(bool, after);
        NetPagesRig rig;
        rig.s.header->workMode = MODE_AUTONOMOUS;
        rig.s.connection->connectByGprs = initial;
        rig.firmware("19.04.2012/45");
        rig.deviceType(DEV_VoduzeR); // the model with the page is not forced
        rig.load();
        QCheckBox* box = rig.gprs<QCheckBox>("cbConGPRS");
        QCOMPARE(box->isChecked(), initial);

        rig.deviceType(DEV_VororaZ); // forced, and again by every rebuild of the list
        rig.firmware("19.04.2012/45");
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

    void twins_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("zoneFrom");
        QTest::addColumn<int>("zoneTo");
        const int gprs = PribParWindow::kConGPRS, time = PribParWindow::kSntp,
                  nav = PribParWindow::kNavigation;
        QTest::newRow("from the GPRS and time server pages") << gprs << time << time << nav;
        QTest::newRow("from the time server and navigation pages") << time << gprs << nav << time;
    }
    // Each change reaches the twin once and comes back no further; only the
    // GPRS page stores its two, whichever page was edited.
    void twins() {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, zoneFrom);
        QFETCH(int, zoneTo);
        NetPagesRig rig;
        rig.s.connection->connectByGprs = 1;
        rig.firmware("17.02.2010/1");
        rig.load();
        QSignalSpy gprsRest(rig.gprsPage(), &ConGPRS::sigPopunRestCountChange);
        QSignalSpy timeRest(rig.timePage(), &sntp::sigPopunRestCountChange);
        QSignalSpy gprsSim(rig.gprsPage(), &ConGPRS::sigUseSim2Change);
        QSignalSpy timeSim(rig.timePage(), &sntp::sigUseSim2Change);
        QSignalSpy timeZone(rig.timePage(), &sntp::SigHourPoyasChange);
        QSignalSpy navZone(rig.navPage(), &Navigation::SigHourPoyasChange);

        rig.at<QSpinBox>(from, "sbPopunRest")->setValue(7);
        rig.at<QCheckBox>(from, "cbUseSIM2")->click();
        rig.at<QComboBox>(zoneFrom, "comboBPoyas")->setCurrentIndex(12);
        QCOMPARE(rig.at<QSpinBox>(to, "sbPopunRest")->value(), 7);
        QVERIFY(rig.at<QCheckBox>(to, "cbUseSIM2")->isChecked());
        QCOMPARE(rig.at<QComboBox>(zoneTo, "comboBPoyas")->currentText(), QString("+12"));
        QCOMPARE(gprsRest.size() + timeRest.size(), 2);
        QCOMPARE(gprsSim.size() + timeSim.size(), 1);
        QCOMPARE(timeZone.size() + navZone.size(), 2);
        rig.apply();
        QCOMPARE(rig.s.servers->udPop3, 7);
        QCOMPARE(rig.s.servers->useGprsMode2, 1);
        QCOMPARE(rig.s.navigation->timeZone, 12);

        // A stored zone or version outside the lists shows no item and stays.
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
    void sntpForcedFlags() {
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
        byIp->click();
        QVERIFY(rig.time<QWidget>("leIPserv")->isEnabled());
        QVERIFY(!rig.time<QWidget>("leDNS")->isEnabled());
        rig.apply();
        QCOMPARE(rig.s.sntp->cb3, 1);
        QCOMPARE(rig.s.sntp->cb4, 0);
    }

    void sntpFollowsGprs_data() {
        QTest::addColumn<bool>("gprs");
        QTest::addColumn<bool>("useSntp");
        QTest::newRow("GPRS, SNTP") << true << true;
        QTest::newRow("GPRS, no SNTP") << true << false;
        QTest::newRow("no GPRS, SNTP") << false << true;
        QTest::newRow("no GPRS, no SNTP") << false << false;
    }
    // First after a load, then after the engineer turned GPRS over and back.
    void sntpFollowsGprs() {
        QFETCH(bool, gprs);
        QFETCH(bool, useSntp);
        NetPagesRig rig;
        rig.s.connection->connectByGprs = gprs;
        rig.s.sntp->useSntp = useSntp;
        rig.load();
        for (int round = 0; round < 2; ++round) {
            QCOMPARE(rig.time<QWidget>("cbUseSNTP")->isEnabled(), gprs);
            QCOMPARE(rig.time<QWidget>("gbSntpSettings")->isEnabled(), gprs && useSntp);
            QCOMPARE(rig.time<QWidget>("sbPopunRest")->isEnabled(), gprs);
            QCOMPARE(rig.time<QWidget>("cbUseSIM2")->isEnabled(), gprs);
            QVERIFY(rig.time<QWidget>("comboBPoyas")->isEnabled());
            rig.gprs<QCheckBox>("cbConGPRS")->click();
            rig.gprs<QCheckBox>("cbConGPRS")->click();
        }
    }
};

QTEST_MAIN(TstGprsSntp)
#include "tst_gprs_sntp.moc"
