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
    void firmwareRules_data();
    void firmwareRules();
    void objectType_data();
    void objectType();
    void progress_data();
    void progress();
    void portReports();
    void refillRow();
};

// Expected: sounds after a version change (- left, 0, 1), sounds on a mode
// change, time window, thermometers, break on a rejected time dialog, and the
// programming bar's maximum.
void TstMainWindowRules::firmwareRules_data() {
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("sub");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("voice");
    QTest::addColumn<QString>("expected");
    const QDate d27_11_2009(2009, 11, 27), d28_11_2009(2009, 11, 28), d19_04_2012(2012, 4, 19);
    QTest::newRow("no date") << QDate() << 5 << 1 << true << "0 0 0 0 1 700";
    QTest::newRow("27.11.2009 auto voice") << d27_11_2009 << 1 << 1 << true << "0 0 0 0 1 700";
    QTest::newRow("28.11.2009 auto voice") << d28_11_2009 << 1 << 1 << true << "1 1 0 0 1 700";
    QTest::newRow("28.11.2009 auto silent") << d28_11_2009 << 1 << 1 << false << "- 0 0 0 1 700";
    QTest::newRow("28.11.2009 system voice") << d28_11_2009 << 1 << 0 << true << "- 0 0 0 1 700";
    QTest::newRow("15.04.2010") << QDate(2010, 4, 15) << 1 << 0 << false << "- 0 1 0 1 700";
    QTest::newRow("18.04.2012/45") << QDate(2012, 4, 18) << 45 << 1 << true << "1 1 1 0 1 700";
    QTest::newRow("19.04.2012/0") << d19_04_2012 << 0 << 1 << true << "1 1 1 1 0 700";
    QTest::newRow("19.04.2012/1") << d19_04_2012 << 1 << 0 << false << "- 0 1 1 0 800";
}

void TstMainWindowRules::firmwareRules() {
    QFETCH(QDate, date);
    QFETCH(int, sub);
    QFETCH(int, mode);
    QFETCH(bool, voice);
    const DeviceHeader h = header(date, sub, mode);
    ExtraOptions x;
    x.useVoiceMessages = voice;
    const std::optional<bool> after = SoundsEnabledAfterVersionChange(h, x);
    const QStringList got = {after ? QString::number(*after) : QString("-"),
                             QString::number(SoundsEnabled(h, x)),
                             QString::number(TimeActionEnabled(h)),
                             QString::number(ThermometersActionEnabled(h)),
                             QString::number(BreakOnTimeDialogRejected(h)),
                             QString::number(ProgrammingMaximum(h))};
    QTEST(got.join(' '), "expected");
}

void TstMainWindowRules::objectType_data() {
    QTest::addColumn<int>("techLoop");
    QTest::addColumn<int>("loopCount");
    QTest::addColumn<QList<int>>("row5"); // key row 5, loops 1..8
    QTest::addColumn<int>("type");
    QTest::newRow("all equal") << 0 << 8 << QList<int>{1, 1, 1, 1, 1, 1, 1, 1} << 0;
    QTest::newRow("loop 4 differs") << 0 << 4 << QList<int>{1, 1, 1, 0, 1, 1, 1, 1} << 1;
    QTest::newRow("difference beyond count") << 0 << 4 << QList<int>{1, 1, 1, 1, 0, 0, 0, 0} << 0;
    QTest::newRow("tech 1 skips loop 1") << 1 << 4 << QList<int>{0, 1, 1, 1, 0, 0, 0, 0} << 0;
    QTest::newRow("tech 1, loop 3 differs") << 1 << 4 << QList<int>{0, 1, 0, 1, 0, 0, 0, 0} << 1;
    QTest::newRow("tech 3 skipped") << 3 << 6 << QList<int>{1, 1, 0, 1, 1, 1, 0, 0} << 0;
    QTest::newRow("tech 3, loop 1 differs") << 3 << 6 << QList<int>{0, 1, 0, 1, 1, 1, 0, 0} << 1;
    QTest::newRow("tech beyond count") << 9 << 6 << QList<int>{1, 1, 1, 1, 1, 0, 0, 0} << 1;
    QTest::newRow("negative tech") << -3 << 2 << QList<int>{1, 0, 0, 0, 0, 0, 0, 0} << 1;
    QTest::newRow("count above table") << 0 << 40 << QList<int>{1, 1, 1, 1, 1, 1, 1, 0} << 1;
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

// Steps "r<max>" (reset), "R<n>" (read), "P<n>" (programming) on firmware
// 19.04.2012/45, with the wizard active; after them the bar's value, maximum
// and text, and the relays sent to the wizard ("increment/maximum").
void TstMainWindowRules::progress_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QList<int>>("bar"); // value, maximum, text shown
    QTest::addColumn<QString>("format");
    QTest::addColumn<QStringList>("relays");
    QTest::newRow("start") << QStringList{} << QList<int>{0, 1023, 0} << "%p%" << QStringList{};
    QTest::newRow("programming") << QStringList{"P100", "P100"} << QList<int>{200, 800, 1}
                                 << "Программирование %p%" << QStringList{"100/800", "100/800"};
    // The step that fills the bar is relayed too, and the bar goes idle.
    QTest::newRow("programming done")
        << QStringList{"P400", "P400"} << QList<int>{0, 800, 0} << "Программирование %p%"
        << QStringList{"400/800", "400/800"};
    // A reset is never relayed; a read keeps the maximum.
    QTest::newRow("read") << QStringList{"P300", "r3840", "R3000"} << QList<int>{3000, 3840, 1}
                          << "Чтение памяти прибора %p%" << QStringList{"300/800", "3000/3840"};
    QTest::newRow("read done") << QStringList{"r3840", "R3000", "R840"} << QList<int>{0, 3840, 0}
                               << "Чтение памяти прибора %p%"
                               << QStringList{"3000/3840", "840/3840"};
    // Overshooting the maximum completes the bar rather than leaving it stuck.
    QTest::newRow("overshoot") << QStringList{"r100", "R60", "R60"} << QList<int>{0, 100, 0}
                               << "Чтение памяти прибора %p%" << QStringList{"60/100", "60/100"};
    QTest::newRow("odd values") << QStringList{"r-5", "R-50"} << QList<int>{0, 0, 0}
                                << "Чтение памяти прибора %p%" << QStringList{"-50/0"};
}

void TstMainWindowRules::progress() {
    QFETCH(QStringList, steps);
    QFETCH(QList<int>, bar);
    QFETCH(QStringList, relays);
    const DeviceHeader h = header(QDate(2012, 4, 19), 45);
    ProgressBarModel model;
    ProgressBarModel silent; // the same steps with the wizard inactive
    QStringList sent;
    for (const QString& step : steps) {
        const int v = step.mid(1).toInt();
        const bool reset = step[0] == 'r';
        const bool read = step[0] == 'R';
        QVERIFY(!silent.step(reset, read, v, h, false));
        if (const auto relay = model.step(reset, read, v, h, true))
            sent << QString::number(relay->increment) + '/' + QString::number(relay->maximum);
    }
    QCOMPARE((QList<int>{model.value(), model.maximum(), model.textVisible()}), bar);
    QTEST(model.format(), "format");
    QCOMPARE(sent, relays);
    QCOMPARE(silent.value(), model.value());
}

// Reports as "code:argument"; the COM number travels as an integer, the
// system error code as decimal text, the USB device as its text.
void TstMainWindowRules::portReports() {
    auto text = [](const StatusReport& r) {
        return QString::number(r.code) + ':' + r.argument.typeName() + ':' + r.argument.toString();
    };
    const QString usb = "FT232R A1";
    QCOMPARE(text(PortOpenedReport(true, 3, usb)), QString("110:int:3"));
    QCOMPARE(text(PortClosedReport(true, 3, usb)), QString("111:int:3"));
    QCOMPARE(text(PortOpenFailedReport(true, 4294967295ULL, usb)),
             QString("310:QString:4294967295"));
    QCOMPARE(text(PortOpenedReport(false, 3, usb)), QString("112:QString:FT232R A1"));
    QCOMPARE(text(PortClosedReport(false, 3, usb)), QString("113:QString:FT232R A1"));
    QCOMPARE(text(PortOpenFailedReport(false, 2, usb)), QString("311:QString:FT232R A1"));
    QCOMPARE(ComPortLabel(12), QString("Подключение: COM12 "));
    QCOMPARE(UsbPortLabel(usb), QString("Подключение: FT232R A1    "));
    QCOMPARE(PortActionLookFor(true).icon, QString(":/icons/serial_lock.png"));
    QCOMPARE(PortActionLookFor(false).text, QString("Открыть порт/устройство"));
}

// The saved row when below the count, else the last row; -1 for none.
void TstMainWindowRules::refillRow() {
    const int cases[][3] = {{2, 5, 2}, {5, 5, 4}, {40, 3, 2}, {0, 0, -1}, {-1, 3, -1}};
    for (const auto& c : cases)
        QCOMPARE(RowBelowCountOrLast(c[0], c[1]), c[2]);
}

QTEST_GUILESS_MAIN(TstMainWindowRules)
#include "tst_mainwindowrules.moc"
