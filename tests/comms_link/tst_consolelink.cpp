// The console link and federal numbers pages in the real parameters window:
// every widget to its field and back, the firmware gates, the test stations
// that the federal page switches on, and the warning when outgoing tests take
// every test station.

#include "LinkPages.h"

#include "comms/ConnectParams.h"

using W = PribParWindow;

class TestConsoleLink : public QObject {
    Q_OBJECT

private slots:
    void everyWidgetBothWays();
    void objectNumberAndAttempts_data();
    void objectNumberAndAttempts();
    void gates_data();
    void gates();
    void federalStationsEnableTestBoxes();
    void gbrWarning_data();
    void gbrWarning();
    void gbrWarningOnRaise();
};

namespace {
// The console link page's check boxes and their fields.
const std::pair<const char*, u8 ConnectionParams::*> kBoxes[] = {
    {"cbIncNum", &ConnectionParams::autoIncrementNumber},
    {"cbIshCSD", &ConnectionParams::csdDetail},
    {"cbRezPPM", &ConnectionParams::reserveReceiversFirst},
    {"cbUseAsyncTrans", &ConnectionParams::asyncTransfer},
    {"cbDelMsgs", &ConnectionParams::deleteUnsent},
    {"cbIshTestOpen", &ConnectionParams::testWhenOpen},
    {"cbIshTestClose", &ConnectionParams::testWhenClosed},
};
} // namespace

void TestConsoleLink::everyWidgetBothWays() {
    LinkPages p;
    ConnectionParams& c = *p.settings.connection;
    for (const auto& [name, field] : kBoxes)
        c.*field = 2; // any non-zero value is on
    c.testInterval = 13;
    c.testAttempts = 4;
    c.rapidResponseAttempts = 6;
    c.testReceiver = {1, 0, 1, 0, 0, 0, 1};
    p.settings.phones->useFlag = {0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 1}; // stations 9, 10, 15
    p.reload();

    for (const auto& [name, field] : kBoxes)
        QVERIFY2(p.box(W::kConnectParams, name)->isChecked(), name);
    auto* interval = p.combo(W::kConnectParams, "coBInterTest");
    QCOMPARE(interval->currentText(), QStringLiteral("24 ч."));
    QCOMPARE(interval->count(), 14);
    QCOMPARE(interval->itemText(7), QStringLiteral("2 ч."));
    QCOMPARE(p.spin(W::kConnectParams, "sbPopTest")->value(), 4);
    QCOMPARE(p.spin(W::kConnectParams, "sbPopGBR")->value(), 6);
    QList<bool> enabled, checked;
    for (int n = 9; n <= 15; ++n) {
        enabled << p.box(W::kConnectParams, QStringLiteral("cbUsePPM%1").arg(n))->isEnabled();
        checked << p.box(W::kConnectParams, QStringLiteral("cbUsePPM%1").arg(n))->isChecked();
    }
    QCOMPARE(enabled, (QList<bool>{true, true, false, false, false, false, true}));
    QCOMPARE(checked, (QList<bool>{true, false, true, false, false, false, true}));

    // Every box flipped; station 11 is disabled but checked and stays so.
    for (const auto& [name, field] : kBoxes)
        p.box(W::kConnectParams, name)->setChecked(false);
    interval->setCurrentIndex(5);
    p.spin(W::kConnectParams, "sbPopTest")->setValue(9);
    p.spin(W::kConnectParams, "sbPopGBR")->setValue(0);
    p.box(W::kConnectParams, "cbUsePPM9")->setChecked(false);
    p.box(W::kConnectParams, "cbUsePPM10")->setChecked(true);
    p.apply();
    for (const auto& [name, field] : kBoxes)
        QCOMPARE(c.*field, u8(0));
    QCOMPARE(c.testInterval, 5);
    QCOMPARE(c.testAttempts, 9);
    QCOMPARE(c.rapidResponseAttempts, 0);
    QCOMPARE(c.testReceiver, (Arr<u8, 7>{0, 1, 1, 0, 0, 0, 1}));
}

void TestConsoleLink::objectNumberAndAttempts_data() {
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<int>("storedAttempts");
    QTest::addColumn<int>("storedInterval");
    QTest::addColumn<int>("shown");
    QTest::addColumn<int>("typed");
    QTest::addColumn<QByteArray>("storedBack");
    QTest::addColumn<int>("attemptsBack");
    QTest::addColumn<int>("intervalBack");
    QTest::newRow("leading zeros")
        << QByteArray("0123") << 3 << 2 << 123 << 7 << QByteArray("0007") << 3 << 2;
    QTest::newRow("no attempts shows one")
        << QByteArray("9999") << 0 << 0 << 9999 << 9999 << QByteArray("9999") << 1 << 0;
    QTest::newRow("not a number") << QByteArray("12ab") << 9 << 13 << 0 << 0 << QByteArray("0000")
                                  << 9 << 13;
    // An interval the list does not hold shows no item and is kept.
    QTest::newRow("interval beyond the list")
        << QByteArray("0001") << 1 << 14 << 1 << 1234 << QByteArray("1234") << 1 << 14;
    QTest::newRow("negative interval")
        << QByteArray("0001") << 1 << -1 << 1 << 1 << QByteArray("0001") << 1 << -1;
}

void TestConsoleLink::objectNumberAndAttempts() {
    QFETCH(QByteArray, stored);
    QFETCH(int, storedAttempts);
    QFETCH(int, storedInterval);
    QFETCH(int, typed);
    LinkPages p;
    p.settings.connection->objectNumber = stored;
    p.settings.connection->testAttempts = storedAttempts;
    p.settings.connection->testInterval = storedInterval;
    p.reload();
    QTEST(p.spin(W::kConnectParams, "sbNumObj")->value(), "shown");
    p.spin(W::kConnectParams, "sbNumObj")->setValue(typed);
    p.apply();
    QTEST(p.settings.connection->objectNumber, "storedBack");
    QTEST(p.settings.connection->testAttempts, "attemptsBack");
    QTEST(p.settings.connection->testInterval, "intervalBack");
}

void TestConsoleLink::gates_data() {
    QTest::addColumn<QString>("version");
    QTest::addColumn<bool>("testGroups"); // console: testing and rapid response enabled
    QTest::addColumn<bool>("lateBoxes");  // both pages: async transfer and delete shown
    QTest::addColumn<bool>("dialOn");     // autonomous: dial until connected shown
    QTest::newRow("no firmware") << "" << false << false << false;
    QTest::newRow("21.09.2009") << "21.09.2009/1" << false << false << false;
    QTest::newRow("22.09.2009") << "22.09.2009/1" << false << false << true;
    QTest::newRow("27.11.2009") << "27.11.2009/1" << false << false << true;
    QTest::newRow("28.11.2009") << "28.11.2009/1" << true << false << true;
    QTest::newRow("18.04.2012") << "18.04.2012/1" << true << false << true;
    QTest::newRow("19.04.2012") << "19.04.2012/1" << true << true << true;
}

void TestConsoleLink::gates() {
    QFETCH(QString, version);
    QFETCH(bool, lateBoxes);
    LinkPages p;
    p.setFirmware(version);
    QTEST(p.at<QWidget>(W::kConnectParams, "groupBox_2")->isEnabled(), "testGroups");
    QTEST(p.at<QWidget>(W::kConnectParams, "groupBox_3")->isEnabled(), "testGroups");
    for (int slot : {W::kConnectParams, W::kAuConnectParams}) {
        QCOMPARE(!p.box(slot, "cbUseAsyncTrans")->isHidden(), lateBoxes);
        QCOMPARE(!p.box(slot, "cbDelMsgs")->isHidden(), lateBoxes);
    }
    QTEST(!p.box(W::kAuConnectParams, "cbDozvon")->isHidden(), "dialOn");
}

// Ticking a test station on the federal page enables its box on the console
// link page at once; a reload takes the stored flags again.
void TestConsoleLink::federalStationsEnableTestBoxes() {
    LinkPages p;
    for (int n = 9; n <= 15; ++n) {
        auto* use = p.box(W::kFederalNums, QStringLiteral("cbUse%1").arg(n));
        auto* test = p.box(W::kConnectParams, QStringLiteral("cbUsePPM%1").arg(n));
        QVERIFY(!test->isEnabled());
        use->click();
        QVERIFY2(test->isEnabled(), qPrintable(test->objectName()));
        QCOMPARE(p.settings.phones->useFlag[n - 5], u8(0)); // nothing stored yet
    }
    p.box(W::kFederalNums, "cbUse12")->click();
    QVERIFY(!p.box(W::kConnectParams, "cbUsePPM12")->isEnabled());
    p.reload();
    QVERIFY(!p.box(W::kConnectParams, "cbUsePPM9")->isEnabled());
    QVERIFY(!p.box(W::kFederalNums, "cbUse9")->isChecked());
    QCOMPARE(p.prompt.asked.size(), 0);
}

void TestConsoleLink::gbrWarning_data() {
    QTest::addColumn<QList<int>>("inUse");
    QTest::addColumn<QList<int>>("tested");
    QTest::addColumn<int>("gbr");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("version");
    QTest::addColumn<bool>("warns");
    const QString late = "19.04.2012/45";
    QTest::newRow("all in use tested")
        << QList<int>{9, 12, 15} << QList<int>{9, 12, 15} << 1 << 0 << late << true;
    QTest::newRow("one untested") << QList<int>{9, 12, 15} << QList<int>{9, 12} << 1 << 0 << late
                                  << false;
    QTest::newRow("no attempts") << QList<int>{9} << QList<int>{9} << 0 << 0 << late << false;
    QTest::newRow("none in use") << QList<int>{} << QList<int>{9, 10, 11, 12, 13, 14, 15} << 9 << 0
                                 << late << false;
    QTest::newRow("disabled ones do not count")
        << QList<int>{10} << QList<int>{10, 11} << 2 << 0 << late << true;
    QTest::newRow("autonomous") << QList<int>{9} << QList<int>{9} << 1 << 1 << late << false;
    QTest::newRow("testing gated off")
        << QList<int>{9} << QList<int>{9} << 1 << 0 << "27.11.2009/1" << false;
}

// Never during a reload; exactly when every usable station is tested and the
// rapid response group has attempts.
void TestConsoleLink::gbrWarning() {
    QFETCH(QList<int>, inUse);
    QFETCH(QList<int>, tested);
    QFETCH(int, gbr);
    QFETCH(int, mode);
    QFETCH(QString, version);
    QFETCH(bool, warns);
    LinkPages p(mode, version);
    for (int n : inUse)
        p.settings.phones->useFlag[n - 5] = 1;
    for (int n : tested)
        p.settings.connection->testReceiver[n - 9] = 1;
    p.settings.connection->rapidResponseAttempts = gbr;
    p.reload();
    QCOMPARE(p.prompt.asked.size(), 0);

    auto* page = static_cast<ConnectParams*>(p.page(W::kConnectParams));
    QCOMPARE(page->RevisionUsingGBR(), !warns);
    QCOMPARE(p.prompt.asked.size(), int(warns));
    if (warns) {
        QCOMPARE(p.prompt.asked[0].title, QStringLiteral("Предупреждение"));
        QCOMPARE(p.prompt.asked[0].text,
                 QStringLiteral("Все тестовые каналы задействованы под исходящее тестирование. "
                                "\n Передача сигнала ГБР будет недоступна."));
    }
    // The programming run applies without asking.
    p.apply();
    QCOMPARE(p.prompt.asked.size(), int(warns));
}

void TestConsoleLink::gbrWarningOnRaise() {
    LinkPages p;
    for (int n : {9, 10, 11}) {
        p.settings.phones->useFlag[n - 5] = 1;
        p.settings.connection->testReceiver[n - 9] = 1;
    }
    p.reload();
    auto* gbr = p.spin(W::kConnectParams, "sbPopGBR");
    gbr->setValue(1);
    QCOMPARE(p.prompt.asked.size(), 1);
    // A fourth station switched on by the federal page is untested: silence.
    p.box(W::kFederalNums, "cbUse12")->click();
    gbr->setValue(2);
    QCOMPARE(p.prompt.asked.size(), 1);
    // Ticking it on the console page takes the last free station.
    p.box(W::kConnectParams, "cbUsePPM12")->click();
    QCOMPARE(p.prompt.asked.size(), 2);
}

QTEST_MAIN(TestConsoleLink)
#include "tst_consolelink.moc"
