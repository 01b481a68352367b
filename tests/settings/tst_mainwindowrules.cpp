#include "settings/DeviceSettings.h"
#include "settings/MainWindowRules.h"

#include <QtTest>

namespace {
DeviceHeader header(const QDate& date, int sub = 1, int mode = MODE_SYSTEM) {
    DeviceHeader h;
    h.firmwareDate = date;
    h.firmwareSubVersion = sub;
    h.workMode = mode;
    return h;
}
} // namespace

class TstMainWindowRules : public QObject {
    Q_OBJECT
private slots:
    void actions_data();
    void actions();
    void objectType_data();
    void objectType();
    void programmingMaximum_data();
    void programmingMaximum();
    void progressProgramming();
    void progressRead();
    void progressRelay();
    void progressOvershootAndOdd();
    void portReports_data();
    void portReports();
    void portLook();
    void refillRow_data();
    void refillRow();
};

void TstMainWindowRules::actions_data() {
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("voice");
    QTest::addColumn<int>("afterVersion"); // -1 left, 0 disabled, 1 enabled
    QTest::addColumn<bool>("sounds");
    QTest::addColumn<bool>("time");
    QTest::addColumn<bool>("therms");
    QTest::addColumn<bool>("breakOnReject");
    const QDate d27_11_2009(2009, 11, 27), d28_11_2009(2009, 11, 28);
    QTest::newRow("no date") << QDate() << 1 << true << 0 << false << false << false << true;
    QTest::newRow("27.11.2009 auto voice")
        << d27_11_2009 << 1 << true << 0 << false << false << false << true;
    QTest::newRow("28.11.2009 auto voice")
        << d28_11_2009 << 1 << true << 1 << true << false << false << true;
    QTest::newRow("28.11.2009 auto silent")
        << d28_11_2009 << 1 << false << -1 << false << false << false << true;
    QTest::newRow("28.11.2009 system voice")
        << d28_11_2009 << 0 << true << -1 << false << false << false << true;
    QTest::newRow("14.04.2010") << QDate(2010, 4, 14) << 0 << false << -1 << false << false << false
                                << true;
    QTest::newRow("15.04.2010") << QDate(2010, 4, 15) << 0 << false << -1 << false << true << false
                                << true;
    QTest::newRow("18.04.2012") << QDate(2012, 4, 18) << 1 << true << 1 << true << true << false
                                << true;
    QTest::newRow("19.04.2012") << QDate(2012, 4, 19) << 1 << true << 1 << true << true << true
                                << false;
    QTest::newRow("18.12.2018") << QDate(2018, 12, 18) << 0 << false << -1 << false << true << true
                                << false;
}

void TstMainWindowRules::actions() {
    QFETCH(QDate, date);
    QFETCH(int, mode);
    QFETCH(bool, voice);
    QFETCH(int, afterVersion);
    QFETCH(bool, sounds);
    QFETCH(bool, time);
    QFETCH(bool, therms);
    QFETCH(bool, breakOnReject);
    const DeviceHeader h = header(date, 1, mode);
    ExtraOptions x;
    x.useVoiceMessages = voice;
    const std::optional<bool> after = SoundsEnabledAfterVersionChange(h, x);
    QCOMPARE(after.has_value() ? int(*after) : -1, afterVersion);
    QCOMPARE(SoundsEnabled(h, x), sounds);
    QCOMPARE(TimeActionEnabled(h), time);
    QCOMPARE(ThermometersActionEnabled(h), therms);
    QCOMPARE(BreakOnTimeDialogRejected(h), breakOnReject);
}

void TstMainWindowRules::objectType_data() {
    QTest::addColumn<int>("techLoop");
    QTest::addColumn<int>("loopCount");
    QTest::addColumn<QList<int>>("row5"); // key row 5, loops 1..8
    QTest::addColumn<int>("type");
    QTest::newRow("all equal") << 0 << 8 << QList<int>{1, 1, 1, 1, 1, 1, 1, 1} << 0;
    QTest::newRow("all zero") << 0 << 4 << QList<int>{0, 0, 0, 0, 0, 0, 0, 0} << 0;
    QTest::newRow("loop 4 differs") << 0 << 4 << QList<int>{1, 1, 1, 0, 1, 1, 1, 1} << 1;
    QTest::newRow("difference beyond count") << 0 << 4 << QList<int>{1, 1, 1, 1, 0, 0, 0, 0} << 0;
    QTest::newRow("tech 1 skips loop 1") << 1 << 4 << QList<int>{0, 1, 1, 1, 0, 0, 0, 0} << 0;
    QTest::newRow("tech 1, loop 3 differs") << 1 << 4 << QList<int>{0, 1, 0, 1, 0, 0, 0, 0} << 1;
    QTest::newRow("tech 3 skipped") << 3 << 6 << QList<int>{1, 1, 0, 1, 1, 1, 0, 0} << 0;
    QTest::newRow("tech 3, loop 1 differs") << 3 << 6 << QList<int>{0, 1, 0, 1, 1, 1, 0, 0} << 1;
    QTest::newRow("tech beyond count") << 9 << 6 << QList<int>{1, 1, 1, 1, 1, 0, 0, 0} << 1;
    QTest::newRow("tech 15, 8 loops") << 15 << 8 << QList<int>{1, 1, 1, 1, 1, 1, 1, 1} << 0;
    QTest::newRow("negative tech") << -3 << 2 << QList<int>{1, 0, 0, 0, 0, 0, 0, 0} << 1;
    QTest::newRow("count above table") << 0 << 40 << QList<int>{1, 1, 1, 1, 1, 1, 1, 0} << 1;
    QTest::newRow("count above table, equal")
        << 0 << 1000 << QList<int>{1, 1, 1, 1, 1, 1, 1, 1} << 0;
    QTest::newRow("count 0") << 0 << 0 << QList<int>{1, 0, 1, 0, 1, 0, 1, 0} << 0;
    QTest::newRow("negative count") << 0 << -5 << QList<int>{1, 0, 1, 0, 1, 0, 1, 0} << 0;
    QTest::newRow("count 1") << 0 << 1 << QList<int>{1, 0, 1, 0, 1, 0, 1, 0} << 0;
    QTest::newRow("tech 1, count 1") << 1 << 1 << QList<int>{1, 0, 1, 0, 1, 0, 1, 0} << 0;
}

void TstMainWindowRules::objectType() {
    QFETCH(int, techLoop);
    QFETCH(int, loopCount);
    QFETCH(QList<int>, row5);
    QFETCH(int, type);
    ZonesConfig z;
    z.loopCount = loopCount;
    ExtraOptions x;
    x.techLoop = techLoop;
    // Every other row is uniform, so only row 5 can make the object complex.
    for (auto& row : z.keyLoop)
        row.fill(1);
    for (int j = 0; j < kLoops; ++j)
        z.keyLoop[5][j] = u8(row5[j]);
    QCOMPARE(InferObjectType(z, x), type);
    // The last key row is examined as well.
    std::swap(z.keyLoop[5], z.keyLoop[kOrdinaryKeys - 1]);
    QCOMPARE(InferObjectType(z, x), type);
}

void TstMainWindowRules::programmingMaximum_data() {
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("sub");
    QTest::addColumn<int>("maximum");
    QTest::newRow("19.04.2012 build 0") << QDate(2012, 4, 19) << 0 << 700;
    QTest::newRow("19.04.2012 build 1") << QDate(2012, 4, 19) << 1 << 800;
    QTest::newRow("18.04.2012 build 1") << QDate(2012, 4, 18) << 1 << 700;
    QTest::newRow("18.04.2012 build 45") << QDate(2012, 4, 18) << 45 << 700;
    QTest::newRow("no date") << QDate() << 5 << 700;
    QTest::newRow("18.12.2018 build 7") << QDate(2018, 12, 18) << 7 << 800;
}

void TstMainWindowRules::programmingMaximum() {
    QFETCH(QDate, date);
    QFETCH(int, sub);
    QFETCH(int, maximum);
    const DeviceHeader h = header(date, sub);
    QCOMPARE(ProgrammingMaximum(h), maximum);
    // The bar takes that maximum on the first programming step.
    ProgressBarModel bar;
    bar.step(false, false, 100, h, false);
    QCOMPARE(bar.maximum(), maximum);
    QCOMPARE(bar.value(), 100);
}

void TstMainWindowRules::progressProgramming() {
    const DeviceHeader h = header(QDate(2012, 4, 19), 45);
    ProgressBarModel bar;
    QCOMPARE(bar.maximum(), 1023);
    QVERIFY(!bar.textVisible());
    for (int i = 1; i <= 7; ++i) {
        bar.step(false, false, 100, h, false);
        QCOMPARE(bar.value(), 100 * i);
        QVERIFY(bar.textVisible());
        QCOMPARE(bar.format(), QString("Программирование %p%"));
    }
    // The eighth section fills the bar: back to idle.
    bar.step(false, false, 100, h, false);
    QCOMPARE(bar.value(), 0);
    QVERIFY(!bar.textVisible());
    QCOMPARE(bar.maximum(), 800);
}

void TstMainWindowRules::progressRead() {
    const DeviceHeader h = header(QDate(2012, 4, 19), 45);
    ProgressBarModel bar;
    bar.step(false, false, 300, h, false);
    bar.step(true, false, 3840, h, false);
    QCOMPARE(bar.value(), 0);
    QCOMPARE(bar.maximum(), 3840);
    QVERIFY(!bar.textVisible());
    bar.step(false, true, 3000, h, false);
    QCOMPARE(bar.value(), 3000);
    QVERIFY(bar.textVisible());
    QCOMPARE(bar.format(), QString("Чтение памяти прибора %p%"));
    QCOMPARE(bar.maximum(), 3840); // a read step keeps the maximum
    bar.step(false, true, 840, h, false);
    QCOMPARE(bar.value(), 0);
    QVERIFY(!bar.textVisible());
}

void TstMainWindowRules::progressRelay() {
    const DeviceHeader h = header(QDate(2012, 4, 18), 3);
    ProgressBarModel bar;
    // Inactive wizard: nothing is relayed.
    QVERIFY(!bar.step(false, false, 100, h, false));
    QVERIFY(!bar.step(false, true, 15, h, false));
    // Active wizard: every step, with the increment and the maximum; never a reset.
    QVERIFY(!bar.step(true, false, 1023, h, true));
    auto relay = bar.step(false, true, 15, h, true);
    QVERIFY(relay);
    QCOMPARE(relay->increment, 15);
    QCOMPARE(relay->maximum, 1023);
    relay = bar.step(false, false, 100, h, true);
    QVERIFY(relay);
    QCOMPARE(relay->increment, 100);
    QCOMPARE(relay->maximum, 700);
    // The step that completes the bar is relayed too.
    bar.step(true, false, 700, h, false);
    for (int i = 0; i < 6; ++i)
        bar.step(false, false, 100, h, true);
    relay = bar.step(false, false, 100, h, true);
    QVERIFY(relay);
    QCOMPARE(relay->maximum, 700);
    QCOMPARE(bar.value(), 0);
}

void TstMainWindowRules::progressOvershootAndOdd() {
    const DeviceHeader h = header(QDate(2010, 1, 1));
    ProgressBarModel bar;
    bar.step(true, false, 100, h, false);
    bar.step(false, true, 60, h, false);
    bar.step(false, true, 60, h, false); // 120 > 100: complete, not stuck
    QCOMPARE(bar.value(), 0);
    QVERIFY(!bar.textVisible());
    bar.step(false, true, -50, h, false);
    QCOMPARE(bar.value(), 0);
    bar.step(true, false, -5, h, false);
    QCOMPARE(bar.maximum(), 0);
    bar.step(false, true, 1, h, false);
    QCOMPARE(bar.value(), 0);
}

void TstMainWindowRules::portReports_data() {
    QTest::addColumn<bool>("com");
    QTest::addColumn<int>("opened");
    QTest::addColumn<int>("failed");
    QTest::addColumn<int>("closed");
    QTest::addColumn<QVariant>("openArg");
    QTest::addColumn<QVariant>("failArg");
    QTest::newRow("COM") << true << 110 << 310 << 111 << QVariant(3) << QVariant(QString("2"));
    QTest::newRow("USB") << false << 112 << 311 << 113 << QVariant(QString("FT232R A1"))
                         << QVariant(QString("FT232R A1"));
}

void TstMainWindowRules::portReports() {
    QFETCH(bool, com);
    QFETCH(int, opened);
    QFETCH(int, failed);
    QFETCH(int, closed);
    QFETCH(QVariant, openArg);
    QFETCH(QVariant, failArg);
    const QString usb = "FT232R A1";
    StatusReport r = PortOpenedReport(com, 3, usb);
    QCOMPARE(r.code, opened);
    QCOMPARE(r.argument, openArg);
    r = PortOpenFailedReport(com, 2, usb);
    QCOMPARE(r.code, failed);
    QCOMPARE(r.argument, failArg);
    r = PortClosedReport(com, 3, usb);
    QCOMPARE(r.code, closed);
    QCOMPARE(r.argument, openArg);
    // A large system error code stays decimal.
    QCOMPARE(PortOpenFailedReport(true, 4294967295ULL, usb).argument.toString(),
             QString("4294967295"));
}

void TstMainWindowRules::portLook() {
    QCOMPARE(ComPortLabel(12), QString("Подключение: COM12 "));
    QCOMPARE(UsbPortLabel("FT232R A1"), QString("Подключение: FT232R A1    "));
    const PortActionLook open = PortActionLookFor(true);
    const PortActionLook closed = PortActionLookFor(false);
    QCOMPARE(open.text, QString("Закрыть порт/устройство"));
    QCOMPARE(open.icon, QString(":/icons/serial_lock.png"));
    QCOMPARE(closed.text, QString("Открыть порт/устройство"));
    QCOMPARE(closed.icon, QString(":/icons/serial_unlock.png"));
}

void TstMainWindowRules::refillRow_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("result");
    QTest::newRow("inside") << 2 << 5 << 2;
    QTest::newRow("first") << 0 << 5 << 0;
    QTest::newRow("at count") << 5 << 5 << 4;
    QTest::newRow("far beyond") << 40 << 3 << 2;
    QTest::newRow("empty list") << 0 << 0 << -1;
    QTest::newRow("none kept") << -1 << 3 << -1;
    QTest::newRow("negative") << -7 << 3 << -1;
}

void TstMainWindowRules::refillRow() {
    QFETCH(int, row);
    QFETCH(int, count);
    QFETCH(int, result);
    QCOMPARE(RowBelowCountOrLast(row, count), result);
}

QTEST_GUILESS_MAIN(TstMainWindowRules)
#include "tst_mainwindowrules.moc"
