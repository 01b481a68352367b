// The phone-link pages in the real parameters window. The console link page:
// every widget to its field and back, the firmware gates, the test stations
// the federal page switches on, the warning when outgoing tests take every
// station. The numbers: what a typed field stores, how a number typed on the
// autonomous link or SMS sending page shows on the other number pages before
// any apply, and that a page of the other work mode stores nothing.

#include "LinkPages.h"

#include "comms/ConnectParams.h"

#include <QSignalSpy>

using W = PribParWindow;

class TestLinkPages : public QObject {
    Q_OBJECT

private slots:
    void everyWidgetBothWays();
    void loadClampsAndKeeps_data();
    void loadClampsAndKeeps();
    void gates_data();
    void gates();
    void federalStationsEnableTestBoxes();
    void gbrWarning_data();
    void gbrWarning();
    void typedDigitsStored_data();
    void typedDigitsStored();
    void mirrors_data();
    void mirrors();
    void otherModeStoresNothing_data();
    void otherModeStoresNothing();
};

namespace {
const std::pair<const char*, u8 ConnectionParams::*> kBoxes[] = {
    {"cbIncNum", &ConnectionParams::autoIncrementNumber},
    {"cbIshCSD", &ConnectionParams::csdDetail},
    {"cbRezPPM", &ConnectionParams::reserveReceiversFirst},
    {"cbUseAsyncTrans", &ConnectionParams::asyncTransfer},
    {"cbDelMsgs", &ConnectionParams::deleteUnsent},
    {"cbIshTestOpen", &ConnectionParams::testWhenOpen},
    {"cbIshTestClose", &ConnectionParams::testWhenClosed},
};

QCheckBox* Station(const LinkPages& p, int n) {
    return p.box(W::kConnectParams, QStringLiteral("cbUsePPM%1").arg(n));
}

// Sets every editable widget of a page away from what it shows.
void Scramble(QWidget* page) {
    for (auto* b : page->findChildren<QCheckBox*>())
        b->setChecked(!b->isChecked());
    for (auto* s : page->findChildren<QSpinBox*>())
        s->setValue(s->value() == s->maximum() ? s->minimum() : s->value() + 1);
    for (auto* c : page->findChildren<QComboBox*>())
        c->setCurrentIndex(c->currentIndex() == 0 ? c->count() - 1 : 0);
    for (auto* e : page->findChildren<QLineEdit*>())
        LinkPages::type(e, QStringLiteral("1234567"));
}
} // namespace

void TestLinkPages::everyWidgetBothWays() {
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
    QCOMPARE(p.combo(W::kConnectParams, "coBInterTest")->currentText(), QStringLiteral("24 ч."));
    QCOMPARE(p.combo(W::kConnectParams, "coBInterTest")->itemText(7), QStringLiteral("2 ч."));
    QCOMPARE(p.spin(W::kConnectParams, "sbPopTest")->value(), 4);
    QCOMPARE(p.spin(W::kConnectParams, "sbPopGBR")->value(), 6);
    for (int n = 9; n <= 15; ++n) {
        QCOMPARE(Station(p, n)->isEnabled(), n == 9 || n == 10 || n == 15);
        QCOMPARE(Station(p, n)->isChecked(), n == 9 || n == 11 || n == 15);
    }

    // Every widget changed; station 11 is disabled but checked and stays so.
    for (const auto& [name, field] : kBoxes)
        p.box(W::kConnectParams, name)->setChecked(false);
    p.combo(W::kConnectParams, "coBInterTest")->setCurrentIndex(5);
    p.spin(W::kConnectParams, "sbPopTest")->setValue(9);
    p.spin(W::kConnectParams, "sbPopGBR")->setValue(0);
    Station(p, 9)->setChecked(false);
    Station(p, 10)->setChecked(true);
    p.spin(W::kConnectParams, "sbNumObj")->setValue(7);
    p.apply();
    for (const auto& [name, field] : kBoxes)
        QCOMPARE(c.*field, u8(0));
    QCOMPARE((QList<int>{c.testInterval, c.testAttempts, c.rapidResponseAttempts}),
             (QList<int>{5, 9, 0}));
    QCOMPARE(c.testReceiver, (Arr<u8, 7>{0, 1, 1, 0, 0, 0, 1}));
    QCOMPARE(c.objectNumber, QByteArray("0007"));
}

void TestLinkPages::loadClampsAndKeeps_data() {
    QTest::addColumn<QByteArray>("number");
    QTest::addColumn<int>("attempts");
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("shown");
    QTest::addColumn<QByteArray>("numberBack");
    QTest::addColumn<int>("attemptsBack");
    QTest::newRow("leading zeros")
        << QByteArray("0123") << 3 << 2 << 123 << QByteArray("0123") << 3;
    QTest::newRow("no attempts") << QByteArray("9999") << 0 << 0 << 9999 << QByteArray("9999") << 1;
    QTest::newRow("not a number") << QByteArray("12ab") << 9 << 13 << 0 << QByteArray("0000") << 9;
    // An interval the list does not hold shows no item and is kept.
    QTest::newRow("odd interval") << QByteArray("0001") << 1 << 14 << 1 << QByteArray("0001") << 1;
    QTest::newRow("negative interval")
        << QByteArray("1") << 1 << -1 << 1 << QByteArray("0001") << 1;
}

void TestLinkPages::loadClampsAndKeeps() {
    QFETCH(QByteArray, number);
    QFETCH(int, attempts);
    QFETCH(int, interval);
    LinkPages p;
    ConnectionParams& c = *p.settings.connection;
    c.objectNumber = number;
    c.testAttempts = attempts;
    c.testInterval = interval;
    p.reload();
    QTEST(p.spin(W::kConnectParams, "sbNumObj")->value(), "shown");
    p.apply();
    QTEST(c.objectNumber, "numberBack");
    QTEST(c.testAttempts, "attemptsBack");
    QCOMPARE(c.testInterval, interval);
}

void TestLinkPages::gates_data() {
    QTest::addColumn<QString>("version");
    QTest::addColumn<bool>("testGroups"); // console: testing and rapid response enabled
    QTest::addColumn<bool>("lateBoxes");  // both link pages: async transfer and delete shown
    QTest::addColumn<bool>("dialOn");     // autonomous: dial until connected shown
    QTest::newRow("no firmware") << "" << false << false << false;
    QTest::newRow("21.09.2009") << "21.09.2009/1" << false << false << false;
    QTest::newRow("22.09.2009") << "22.09.2009/1" << false << false << true;
    QTest::newRow("27.11.2009") << "27.11.2009/1" << false << false << true;
    QTest::newRow("28.11.2009") << "28.11.2009/1" << true << false << true;
    QTest::newRow("18.04.2012") << "18.04.2012/1" << true << false << true;
    QTest::newRow("19.04.2012") << "19.04.2012/1" << true << true << true;
}

void TestLinkPages::gates() {
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

// Ticking a test station on the federal page enables its box here at once;
// a reload takes the stored flags again.
void TestLinkPages::federalStationsEnableTestBoxes() {
    LinkPages p;
    for (int n = 9; n <= 15; ++n) {
        QVERIFY(!Station(p, n)->isEnabled());
        p.box(W::kFederalNums, QStringLiteral("cbUse%1").arg(n))->click();
        QVERIFY(Station(p, n)->isEnabled());
    }
    p.box(W::kFederalNums, "cbUse12")->click();
    QVERIFY(!Station(p, 12)->isEnabled());
    QCOMPARE(p.settings.phones->useFlag, (Arr<u8, 11>{}));
    p.reload();
    QVERIFY(!Station(p, 9)->isEnabled());
}

void TestLinkPages::gbrWarning_data() {
    QTest::addColumn<QList<int>>("inUse");
    QTest::addColumn<QList<int>>("tested");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("version");
    QTest::addColumn<bool>("warns");
    const QString late = "19.04.2012/45";
    QTest::newRow("all in use tested")
        << QList<int>{9, 12, 15} << QList<int>{9, 12, 15} << 0 << late << true;
    QTest::newRow("one untested") << QList<int>{9, 12, 15} << QList<int>{9, 12} << 0 << late
                                  << false;
    QTest::newRow("none in use") << QList<int>{} << QList<int>{9, 10, 11, 12, 13, 14, 15} << 0
                                 << late << false;
    QTest::newRow("disabled ones do not count")
        << QList<int>{10} << QList<int>{10, 11} << 0 << late << true;
    QTest::newRow("autonomous") << QList<int>{9} << QList<int>{9} << 1 << late << false;
    QTest::newRow("testing gated off")
        << QList<int>{9} << QList<int>{9} << 0 << "27.11.2009/1" << false;
}

// Never during a reload nor a programming run; when the count of attempts
// rises from 0, or the revision before an apply, finds every usable station
// tested.
void TestLinkPages::gbrWarning() {
    QFETCH(QList<int>, inUse);
    QFETCH(QList<int>, tested);
    QFETCH(int, mode);
    QFETCH(QString, version);
    QFETCH(bool, warns);
    LinkPages p(mode, version);
    for (int n : inUse)
        p.settings.phones->useFlag[n - 5] = 1;
    for (int n : tested)
        p.settings.connection->testReceiver[n - 9] = 1;
    p.settings.connection->rapidResponseAttempts = 3;
    p.reload();
    p.apply();
    QCOMPARE(p.prompt.asked.size(), 0);

    auto* page = static_cast<ConnectParams*>(p.page(W::kConnectParams));
    QCOMPARE(page->RevisionUsingGBR(), !warns);
    p.spin(W::kConnectParams, "sbPopGBR")->setValue(0);
    p.spin(W::kConnectParams, "sbPopGBR")->setValue(1);
    QCOMPARE(p.prompt.asked.size(), warns ? 2 : 0);
    if (warns)
        QCOMPARE(p.prompt.asked[0].text,
                 QStringLiteral("Все тестовые каналы задействованы под исходящее тестирование. "
                                "\n Передача сигнала ГБР будет недоступна."));
    // A click on a station box checks again.
    if (!inUse.isEmpty()) {
        Station(p, inUse[0])->click();
        Station(p, inUse[0])->click();
        QCOMPARE(p.prompt.asked.size(), warns ? 3 : 0);
    }
}

void TestLinkPages::typedDigitsStored_data() {
    QTest::addColumn<int>("slot");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("k"); // number field k
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("stored");
    const int au = W::kAuConnectParams, fed = W::kFederalNums, sms = W::kPultSMS;
    QTest::newRow("autonomous, empty") << au << 1 << 1 << ""
                                       << "0000000000";
    QTest::newRow("autonomous, three") << au << 1 << 5 << "916"
                                       << "9160000000";
    QTest::newRow("federal, seven") << fed << 0 << 7 << "9161234"
                                    << "9161234000";
    QTest::newRow("federal, ten") << fed << 0 << 15 << "9161234567"
                                  << "9161234567";
    QTest::newRow("console SMS, letters") << sms << 0 << 2 << "91a6"
                                          << "9160000000";
}

void TestLinkPages::typedDigitsStored() {
    QFETCH(int, slot);
    QFETCH(int, mode);
    QFETCH(int, k);
    QFETCH(QString, keys);
    LinkPages p(mode);
    LinkPages::type(p.edit(slot, QStringLiteral("leNum%1").arg(k)), keys);
    p.apply();
    QTEST(slot == W::kPultSMS ? p.settings.consoleSms->number[k - 1]
                              : p.settings.phones->number[k - 1],
          "stored");
}

void TestLinkPages::mirrors_data() {
    QTest::addColumn<int>("source");
    QTest::addColumn<int>("other"); // the other editing page
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("shown");
    QTest::newRow("autonomous, full")
        << int(W::kAuConnectParams) << int(W::kOtprSMS) << "9161234567"
        << "916-123-45-67";
    QTest::newRow("autonomous, partial") << int(W::kAuConnectParams) << int(W::kOtprSMS) << "91612"
                                         << "916-12--";
    QTest::newRow("SMS sending, full")
        << int(W::kOtprSMS) << int(W::kAuConnectParams) << "4950000001"
        << "495-000-00-01";
    QTest::newRow("SMS sending, partial") << int(W::kOtprSMS) << int(W::kAuConnectParams) << "4"
                                          << "4---";
}

void TestLinkPages::mirrors() {
    QFETCH(int, source);
    QFETCH(int, other);
    QFETCH(QString, keys);
    QFETCH(QString, shown);
    LinkPages p(MODE_AUTONOMOUS);
    p.settings.phones->number[2] = "1112223344";
    p.reload();
    LinkPages::type(p.edit(source, "leNum3"), keys);
    for (int slot : {other, int(W::kDopSMS)})
        QCOMPARE(p.edit(slot, "leNum3")->text(), shown);
    QCOMPARE(p.edit(W::kZvonki, "leNum_3")->text(), shown);
    QCOMPARE(p.edit(W::kDopSMS, "leNum1")->text(), QStringLiteral("000-000-00-00"));
    QCOMPARE(p.settings.phones->number[2], QStringLiteral("1112223344"));

    // A reload shows the settings again and hands nothing on.
    QSignalSpy fromLink(p.page(W::kAuConnectParams),
                        SIGNAL(SigNumsChanged(QString, QString, QString, QString, QString)));
    QSignalSpy fromSms(p.page(W::kOtprSMS),
                       SIGNAL(SigNumsChanged(QString, QString, QString, QString, QString)));
    p.reload();
    QCOMPARE(fromLink.size() + fromSms.size(), 0);
    for (int slot : {int(W::kAuConnectParams), int(W::kOtprSMS), int(W::kDopSMS)})
        QCOMPARE(p.edit(slot, "leNum3")->text(), QStringLiteral("111-222-33-44"));
}

void TestLinkPages::otherModeStoresNothing_data() {
    QTest::addColumn<int>("slot");
    QTest::addColumn<int>("mode");
    QTest::newRow("console link, autonomous") << int(W::kConnectParams) << int(MODE_AUTONOMOUS);
    QTest::newRow("federal, autonomous") << int(W::kFederalNums) << int(MODE_AUTONOMOUS);
    QTest::newRow("autonomous link, system") << int(W::kAuConnectParams) << int(MODE_SYSTEM);
    QTest::newRow("autonomous link, mode 2") << int(W::kAuConnectParams) << 2;
    QTest::newRow("SMS sending, system") << int(W::kOtprSMS) << int(MODE_SYSTEM);
    QTest::newRow("service SMS, system") << int(W::kDopSMS) << int(MODE_SYSTEM);
}

void TestLinkPages::otherModeStoresNothing() {
    QFETCH(int, slot);
    QFETCH(int, mode);
    LinkPages p(mode);
    const DeviceSettings before = p.settings;
    Scramble(p.page(slot));
    p.page(slot)->ApplyClick();
    QCOMPARE(fixtures::Differences(p.settings, before, {}), QStringList());
}

QTEST_MAIN(TestLinkPages)
#include "tst_linkpages.moc"
