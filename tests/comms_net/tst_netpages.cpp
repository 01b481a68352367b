// The GPRS servers, time server, navigation and remote configuration pages
// in the real parameters window.

#include "../comms_link/CommsPages.h"

#include "app/AppTestSupport.h"
#include "comms/ConGPRS.h"
#include "comms/sntp.h"

#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QRadioButton>
#include <QRegularExpression>

namespace {
constexpr int kGprs = W::kConGPRS, kTime = W::kSntp, kNav = W::kNavigation;
constexpr int kRemote = W::kRemoteProgFrame;
} // namespace

class TestNetPages : public QObject {
    Q_OBJECT

private slots:
    void addressAndPortForms_data() {
        // shown: "" for any address of the 15-character form
        Columns<QString>({"ip", "port", "shown", "portText"});
        Row("short groups", "10.0.0.1", "80", "010.000.000.001", "00080");
        Row("three groups", "1.2.3", "99999", "", "99999");
        Row("too long", "1.2.3.4.5.6.7.8", "", "", "00000");
    }
    // Addresses of both servers and the time server, ports and the password.
    void addressAndPortForms() {
        QFETCH(QString, ip);
        QFETCH(QString, port);
        QFETCH(QString, shown);
        QFETCH(QString, portText);
        static const QRegularExpression kForm("^\\d{3}\\.\\d{3}\\.\\d{3}\\.\\d{3}$");
        CommsPages rig;
        rig.s.servers->serverIp = {ip, ip};
        rig.s.servers->serverPort = {port, port};
        rig.s.sntp->sntpIp = ip;
        rig.s.sntp->sntpPort = port;
        rig.s.servers->serverPassword = QString(40, 'p');
        rig.load();
        rig.apply();
        for (const QString& text : {rig.edit(kGprs, "leIP1")->displayText(),
                                    rig.s.servers->serverIp[1], rig.s.sntp->sntpIp}) {
            QVERIFY2(kForm.match(text).hasMatch(), qPrintable(text));
            QVERIFY(shown.isEmpty() || text == shown);
        }
        QCOMPARE(rig.s.servers->serverPort, (Arr<QString, 2>{portText, portText}));
        QCOMPARE(rig.s.sntp->sntpPort, portText);
        QCOMPARE(rig.s.servers->serverPassword, QString(31, 'p')); // the device's limit
    }

    void protocolList_data() {
        QTest::addColumn<QByteArray>("firmware");
        QTest::addColumn<int>("stored");
        Columns<QString>({"items", "current"});
        QTest::addColumn<int>("applied");
        const QByteArray old = "17.12.2018/1", now = "18.12.2018/1";
        const QString before = "Ксар (старый)|Ксар|Мирвел", from = "Ксар|Мирвел";
        Row("old, code 0", old, 0, before, "Ксар (старый)", 0);
        Row("new, code 0", now, 0, from, "Ксар", 2);
        Row("new, unknown code", now, 7, from, "Ксар", 2);
    }
    void protocolList() {
        QFETCH(QByteArray, firmware);
        QFETCH(int, stored);
        CommsPages rig(MODE_SYSTEM, firmware.constData());
        const QComboBox* box = rig.combo(kGprs, "cmbProtocol");
        rig.s.connection->connectByGprs = 1;
        rig.s.connection->serverProtocol = stored;
        rig.load();
        QStringList items;
        for (int i = 0; i < box->count(); ++i)
            items << box->itemText(i);
        QTEST(items.join('|'), "items");
        QTEST(box->currentText(), "current");
        QCOMPARE(rig.s.connection->serverProtocol, stored); // shown, not yet stored
        rig.apply();
        QTEST(rig.s.connection->serverProtocol, "applied");
    }

    // A code the new list lacks is kept until older firmware offers it again;
    // an apply or a load of settings ends the keeping.
    void rememberedProtocol() {
        CommsPages rig(MODE_SYSTEM, "17.12.2018/1");
        rig.s.connection->connectByGprs = 1;
        rig.load();
        const QComboBox* box = rig.combo(kGprs, "cmbProtocol");
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

    // Protocol 0 turns navigation off and shows its hint; only code 1 offers
    // the SIM change-over, only code 2 the password.
    void protocolDrivesPages() {
        CommsPages rig;
        rig.s.connection->connectByGprs = 1;
        rig.load();
        auto* box = rig.combo(kGprs, "cmbProtocol");
        for (const auto& [code, state] : {std::pair(0, "0000 1 00"), std::pair(1, "1111 0 10"),
                                          std::pair(0, "0000 1 00"), std::pair(2, "1111 0 01")}) {
            box->setCurrentIndex(box->findData(code));
            QCOMPARE(rig.enabledMap(kNav, {"gbChastPos", "gbDopOpt", "gbFilter", "gbGPS"}) + ' ' +
                         rig.shownMap(kNav, {"lHint"}) + ' ' +
                         rig.enabledMap(kGprs, {"cbPrivSIM", "leServConnectPass"}),
                     QString(state));
        }
    }

    void gates_data() {
        // By firmware (the tag): enabled after 27.11.2009 (second server, DNS,
        // attempts); shown before 19.04.2012 (attempt rows on both pages) and
        // from it (password).
        QTest::addColumn<QString>("state");
        Row("none", "000000 11111 0");
        Row("27.11.2009/1", "000000 11111 0");
        Row("17.02.2010/1", "111111 11111 0");
        Row("18.04.2012/1", "111111 11111 0");
        Row("19.04.2012/1", "111111 00000 1");
    }
    // With GPRS off a new version waits until GPRS is on again.
    void gates() {
        CommsPages rig(MODE_SYSTEM, QTest::currentDataTag());
        rig.s.connection->connectByGprs = 1;
        rig.s.servers->useDns = {1, 1};
        rig.load();
        QVERIFY(rig.at(kGprs, "groupBox")->isEnabled());
        const auto state = [&] {
            return rig.enabledMap(kGprs, {"groupBox_2", "groupBox_3", "cbUseDNS1", "leDNS1",
                                          "sbPop1", "cbConIP1"}) +
                   ' ' + rig.shownMap(kGprs, {"sbPop1", "sbPop2", "cbConIP2", "sbPopunRest"}) +
                   rig.shownMap(kTime, {"sbPopunRest"}) + ' ' +
                   rig.shownMap(kGprs, {"leServConnectPass"});
        };
        QTEST(state(), "state");
        rig.box(kGprs, "cbConGPRS")->click();
        QVERIFY(!rig.at(kGprs, "groupBox")->isEnabled());
        const bool late = rig.shown(kGprs, "leServConnectPass");
        rig.firmware(late ? "17.02.2010/1" : "09.05.2012/28");
        QCOMPARE(rig.shown(kGprs, "leServConnectPass"), late);
        rig.box(kGprs, "cbConGPRS")->click();
        QCOMPARE(rig.shown(kGprs, "leServConnectPass"), !late);
    }

    void forcedGprs_data() {
        QTest::addColumn<bool>("initial");
        QTest::addColumn<int>("reloaded");                 // -1: no load while forced
        Columns<bool>({"applied", "after", "systemMode"}); // ended by the mode, not the model
        Row("off given back", false, -1, false, false, false);
        Row("reload on", false, 1, false, true, false);
        Row("reload off", true, 0, false, false, false);
        Row("apply makes it final", false, -1, true, true, false);
        Row("system mode gives off back", false, -1, false, false, true);
    }
    // An autonomous model without the GPRS page forces GPRS on, twice over;
    // the model with the page, or the system mode, gets the engineer's state
    // back.
    void forcedGprs() {
        QFETCH(bool, initial);
        QFETCH(int, reloaded);
        QFETCH(bool, applied);
        QFETCH(bool, systemMode);
        CommsPages rig(MODE_AUTONOMOUS);
        rig.s.connection->connectByGprs = initial;
        rig.deviceType(DEV_VoduzeR);
        rig.load();
        QCheckBox* box = rig.box(kGprs, "cbConGPRS");
        QCOMPARE(box->isChecked(), initial);
        rig.deviceType(DEV_VororaZ);
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
        if (systemMode) {
            rig.s.header->workMode = MODE_SYSTEM;
            rig.window->CreateMenuList(MODE_SYSTEM);
        } else {
            rig.deviceType(DEV_VoduzeR);
        }
        QTEST(box->isChecked(), "after");
        QTEST(rig.at(kTime, "cbUseSNTP")->isEnabled(), "after");
    }

    void twins_data() {
        Columns<int>({"from", "to", "zoneFrom", "zoneTo"});
        Row("from GPRS and time server pages", kGprs, kTime, kTime, kNav);
        Row("from time server and navigation pages", kTime, kGprs, kNav, kTime);
    }
    // Each change reaches the twin once and comes back no further; a stored
    // zone or version outside the lists shows no item and stays.
    void twins() {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, zoneFrom);
        QFETCH(int, zoneTo);
        CommsPages rig(MODE_SYSTEM, "17.02.2010/1");
        rig.s.connection->connectByGprs = 1;
        rig.load();
        QSignalSpy rest1(rig.window->page(kGprs), SIGNAL(sigPopunRestCountChange(int)));
        QSignalSpy rest2(rig.window->page(kTime), SIGNAL(sigPopunRestCountChange(int)));
        QSignalSpy sim1(rig.window->page(kGprs), SIGNAL(sigUseSim2Change(bool)));
        QSignalSpy sim2(rig.window->page(kTime), SIGNAL(sigUseSim2Change(bool)));
        QSignalSpy zone1(rig.window->page(kTime), SIGNAL(SigHourPoyasChange(int)));
        QSignalSpy zone2(rig.window->page(kNav), SIGNAL(SigHourPoyasChange(int)));
        rig.spin(from, "sbPopunRest")->setValue(7);
        rig.box(from, "cbUseSIM2")->click();
        rig.combo(zoneFrom, "comboBPoyas")->setCurrentIndex(12);
        QCOMPARE(rig.spin(to, "sbPopunRest")->value(), 7);
        QVERIFY(rig.box(to, "cbUseSIM2")->isChecked());
        QCOMPARE(rig.combo(zoneTo, "comboBPoyas")->currentText(), QString("+12"));
        QCOMPARE((QList<qsizetype>{rest1.size() + rest2.size(), sim1.size() + sim2.size(),
                                   zone1.size() + zone2.size()}),
                 (QList<qsizetype>{2, 1, 2}));
        rig.apply();
        QCOMPARE(rig.s.servers->udPop3, 7);
        QCOMPARE(rig.s.servers->useGprsMode2, 1);
        QCOMPARE(rig.s.navigation->timeZone, 12);

        rig.s.navigation->timeZone = 13;
        rig.s.sntp->sntpVersion = 3;
        rig.load();
        QCOMPARE(rig.combo(kTime, "comboBPoyas")->currentIndex(), -1);
        QCOMPARE(rig.combo(kNav, "comboBPoyas")->currentIndex(), -1);
        rig.apply();
        QCOMPARE(rig.s.navigation->timeZone, 13);
        QCOMPARE(rig.s.sntp->sntpVersion, 3);
    }

    // From 18.12.2018 the device takes address and name both; the engineer's
    // choice comes back with older firmware, and the two couplings of the IP
    // button exist once, only while the choice is offered.
    void sntpForcedFlags() {
        CommsPages rig;
        rig.s.connection->connectByGprs = 1;
        rig.s.sntp->cb3 = 0;
        rig.s.sntp->cb4 = 1;
        rig.load();
        auto* byIp = rig.at<QRadioButton>(kTime, "rbUseIP");
        const char* toggled = SIGNAL(toggled(bool));
        const int coupled = ReceiverCount::of(byIp, toggled);
        const QStringList fields = {"leIPserv", "leDNS"}, buttons = {"rbUseIP", "rbUseDNS"};
        rig.firmware("09.05.2012/28");
        QCOMPARE(ReceiverCount::of(byIp, toggled), coupled);
        QCOMPARE(rig.enabledMap(kTime, fields), QString("01"));
        rig.firmware("18.12.2018/1");
        QCOMPARE(ReceiverCount::of(byIp, toggled), coupled - 2);
        QCOMPARE(rig.enabledMap(kTime, fields) + rig.shownMap(kTime, buttons), QString("1100"));
        rig.apply();
        QCOMPARE(rig.s.sntp->cb3 + rig.s.sntp->cb4, 2);
        rig.firmware("19.04.2012/45");
        QCOMPARE(ReceiverCount::of(byIp, toggled), coupled);
        QCOMPARE(rig.s.sntp->cb3, 0);
        QCOMPARE(rig.enabledMap(kTime, fields) + rig.shownMap(kTime, buttons), QString("0111"));
        QVERIFY(rig.at<QRadioButton>(kTime, "rbUseDNS")->isChecked());
        byIp->click();
        QCOMPARE(rig.enabledMap(kTime, fields), QString("10"));
        rig.apply();
        QCOMPARE(rig.s.sntp->cb3 * 10 + rig.s.sntp->cb4, 10);
        // Neither flag (a damaged image) shows the address, as a fresh page
        // does, not the button the settings before it left.
        rig.at<QRadioButton>(kTime, "rbUseDNS")->click();
        rig.s.sntp->cb3 = rig.s.sntp->cb4 = 0;
        rig.load();
        QVERIFY(byIp->isChecked());
    }

    // The time server follows GPRS after a load and after the engineer turned
    // GPRS over and back.
    void sntpFollowsGprs() {
        for (const auto& [gprs, useSntp] : Cells{{1, 1}, {1, 0}, {0, 1}}) {
            CommsPages rig;
            rig.s.connection->connectByGprs = gprs;
            rig.s.sntp->useSntp = useSntp;
            rig.load();
            const QString want =
                QString(3, QChar('0' + gprs)) + QChar('0' + (gprs && useSntp)) + '1';
            for (int round = 0; round < 2; ++round) {
                QCOMPARE(rig.enabledMap(kTime, {"cbUseSNTP", "sbPopunRest", "cbUseSIM2",
                                                "gbSntpSettings", "comboBPoyas"}),
                         want);
                rig.box(kGprs, "cbConGPRS")->click();
                rig.box(kGprs, "cbConGPRS")->click();
            }
        }
    }

    void filter_data() {
        QTest::addColumn<QString>("stored");
        Columns<double>({"shown", "typed"});
        QTest::addColumn<QString>("text");
        Row("100 steps, off the grid", "0100", 33.3, 2.331, "0007");
        Row("all steps, below half a step", "9999", 3329.667, 0.166, "0000");
        Row("no number, form maximum", "12a", 0.0, 3329.67, "9999");
        Row("too many, one step", "20000", 3329.67, 0.333, "0001");
    }
    // The nearest whole count of 0.333 km steps, in four digits, both ways.
    void filter() {
        QFETCH(QString, stored);
        QFETCH(double, typed);
        CommsPages rig;
        rig.s.navigation->distanceFilter = stored;
        rig.load();
        auto* field = rig.at<QDoubleSpinBox>(kNav, "dbFilter");
        QTEST(field->value(), "shown");
        field->setValue(typed);
        rig.apply();
        QTEST(rig.s.navigation->distanceFilter, "text");
    }

    // Loop 5..8 and relay 3, 4 rows by device type (relay 4 never shown);
    // hidden boxes are loaded and stored like shown ones.
    void navigationRows() {
        CommsPages rig;
        const QStringList rows = {"cbSh5", "cbSh6", "cbSh7", "cbSh8", "cbRele3", "cbRele4"};
        for (const auto& [type, shown] :
             {std::pair(DEV_D4M, "000000"), std::pair(DEV_D8M, "111110"),
              std::pair(DEV_VororaZ, "110010"), std::pair(DEV_D4M, "000000")}) {
            rig.deviceType(type);
            QCOMPARE(rig.shownMap(kNav, rows), QString(shown));
        }
        rig.deviceType(DEV_D4M);
        for (const char* name : {"cbSh2", "cbSh6", "cbSh8", "cbRele3", "cbRele4"})
            rig.box(kNav, name)->setChecked(true);
        rig.at<QRadioButton>(kNav, "rbGPSYes")->setChecked(true);
        rig.apply();
        const NavigationSettings& nv = *rig.s.navigation;
        QCOMPARE(nv.loopFrequent, (Arr<u8, kLoops>{0, 1, 0, 0, 0, 1, 0, 1}));
        QCOMPARE(nv.relayFrequent, (Arr<u8, kOutputs>{0, 0, 1, 1}));
        QCOMPARE(nv.gpsReceiver, 1);
        rig.s.navigation->loopFrequent = {1, 0, 0, 0, 0, 0, 1, 0};
        rig.s.navigation->gpsReceiver = 0;
        rig.load();
        QCOMPARE(rig.box(kNav, "cbSh7")->isChecked() * 10 + rig.box(kNav, "cbSh6")->isChecked(),
                 10);
        QVERIFY(rig.at<QRadioButton>(kNav, "rbGPSNo")->isChecked());
        rig.firmware("05.06.2010/1");
        QVERIFY(!rig.shown(kNav, "gbDopOpt"));
        rig.firmware("16.08.2010/1");
        QVERIFY(rig.shown(kNav, "gbDopOpt"));
    }

    // Only the second family takes its time from GPS: the choice is put aside
    // while a first-family model is chosen; ticked there, it is never stored.
    // An apply or a load in between ends the keeping.
    void gpsTimeAcrossTypes() {
        for (const auto& [applyBetween, loadBetween, back] :
             {std::tuple(false, false, true), {true, false, false}, {false, true, false}}) {
            CommsPages rig;
            rig.deviceType(DEV_VoduzeR);
            rig.s.navigation->updateTimeFromGps = 1;
            rig.load();
            auto* gpsTime = rig.box(kNav, "cbUpdateTimeGPS");
            rig.deviceType(DEV_D8M);
            QVERIFY(!gpsTime->isChecked());
            QCOMPARE(rig.s.navigation->updateTimeFromGps, 0);
            rig.deviceType(DEV_D4M); // a second first-family type keeps the first memory
            if (applyBetween)
                rig.apply();
            if (loadBetween)
                rig.load();
            rig.deviceType(DEV_VororaZ);
            QCOMPARE(gpsTime->isChecked(), back);
            QCOMPARE(rig.s.navigation->updateTimeFromGps, u8(back));
            rig.deviceType(DEV_D8M);
            gpsTime->setChecked(true);
            rig.apply();
            QCOMPARE(rig.s.navigation->updateTimeFromGps, 0);
        }
    }

    void remoteFields_data() {
        // typed into the emptied field; shown in the phone field, "" for the key word
        Columns<QString>({"stored", "typed", "shown", "kept"});
        Row("two unfilled", "", "91612345", "916-123-45-**", "9161234500");
        Row("letters refused", "", "91a6", "916-***-**-**", "9160000000");
        Row("key word", "", "Ab 1~!{}", "", "Ab 1~!{}");
        Row("Cyrillic refused", "", "aЖb", "", "ab");
        Row("ninth character", "", "abcdefghi", "", "abcdefgh");
    }
    void remoteFields() {
        QFETCH(QString, stored);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        const bool phone = !shown.isEmpty();
        CommsPages rig;
        rig.s.remoteProg->phoneNumber = {stored, stored};
        rig.s.remoteProg->connectToServer = 1; // the fields take keys only then
        rig.load();
        auto* field = rig.edit(kRemote, phone ? "leNum2" : "leKeyWordSMS");
        if (!typed.isEmpty()) {
            field->clear();
            field->setCursorPosition(0);
            for (QChar c : typed) { // key by key, Cyrillic included
                QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
                QApplication::sendEvent(field, &press);
            }
        }
        QVERIFY(!phone || field->displayText() == shown);
        rig.apply();
        QTEST(phone ? rig.s.remoteProg->phoneNumber[1] : rig.s.remoteProg->smsKeyWord, "kept");
    }

    // Ports and addresses are bounded by the device's fields; the groups
    // closed by the permission box are stored all the same.
    void remoteLimitsAndDisabledGroups() {
        CommsPages rig;
        RemoteProgSettings& rp = *rig.s.remoteProg;
        rp.serverAddress = {QString(40, 'a'), QStringLiteral("second.example")};
        rp.serverPort = {65535, 8080};
        rp.connectToServer = 1;
        rp.useProgIfNoProtect = 1;
        rig.load();
        QCOMPARE(rig.edit(kRemote, "leAdress1")->text(), QString(32, 'a'));
        rig.box(kRemote, "cbConnect")->click();
        QCOMPARE(rig.enabledMap(kRemote, {"gbServer", "gbTelProg", "gbExtra"}), QString("000"));
        rig.spin(kRemote, "sbPort2")->setValue(70000);
        rig.edit(kRemote, "leAdress2")->setText("other.example");
        rig.apply();
        QCOMPARE(rp.connectToServer * 10 + rp.useProgIfNoProtect, 1);
        QCOMPARE(rp.serverAddress, (Arr<QString, 2>{QString(32, 'a'), "other.example"}));
        QCOMPARE(rp.serverPort, (Arr<u16, 2>{65535, 65535}));
    }
};

QTEST_MAIN(TestNetPages)
#include "tst_netpages.moc"
