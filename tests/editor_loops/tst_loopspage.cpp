// The loop ranges page: bands through the eight dialogs and bars, radio
// flags, defaults, the model's rows and loop 7's sensor, and the sensor
// scales it shares with its dialogs and the test window.

#include "LoopsTestSupport.h"

#include "editor/LimNaprSh.h"
#include "editor/NaprLines.h"
#include "editor/NastrShl.h"
#include "service/TestPrib.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QTimer>

namespace {
QList<int> Bar(const LimNaprSh& page, int n) {
    const auto* bar = Child<NaprLines>(&page, QStringLiteral("rangeLine_%1").arg(n));
    return {bar->min, bar->max, int(bar->rev)};
}
QCheckBox* Radio(const LimNaprSh& page, int n) {
    return Child<QCheckBox>(&page, QStringLiteral("cbRadio_%1").arg(n));
}
QComboBox* Sensors(const LimNaprSh& page, int n) {
    return Child<QComboBox>(&page, QStringLiteral("cmbSensors_%1").arg(n));
}
// Loop n's five scale labels on the page or the test window; n = 0: the
// dialog's own.
QStringList Scale(const QWidget* w, int n = 0) {
    QStringList out;
    for (const char* name : LimNaprSh::kScaleLabelNames) {
        const QString stem = QString::fromLatin1(name);
        out << Child<QLabel>(w, n ? stem.arg(n) : stem.left(stem.size() - 3))->text();
    }
    return out;
}
// Applies a band in loop n's dialog as a user does.
void ApplyBand(LimNaprSh& page, int n, int min, int max, bool rev, bool forAll = false) {
    NastrShl* d = page.dialog(n - 1);
    Child<QSlider>(d, "slNMax")->setValue(max);
    Child<QSlider>(d, "slNMin")->setValue(min);
    Child<QCheckBox>(d, "cbObrShl")->setChecked(rev);
    Child<QCheckBox>(d, "cbForAll")->setChecked(forAll);
    Child<QPushButton>(d, "pbApply")->click();
}
SensorRecord Linear(const QString& name, double factor, const QString& unit) {
    SensorRecord r{0, 0, name, unit, {}};
    for (int c = 0; c < kAdcCodes; ++c)
        r.table << c * factor;
    return r;
}
const QStringList kCodes{"0", "256", "512", "768", "1023"};
} // namespace

class TstLoopsPage : public QObject {
    Q_OBJECT

private slots:
    void init() { UseDefaults(settings); }
    void loadAndStoreBands_data();
    void loadAndStoreBands();
    void appliedBands();
    void defaultAll();
    void rowsAndLoop7ByModel_data();
    void rowsAndLoop7ByModel();
    void withoutUsableSensor();
    void sensorChoiceIsPerLoop();

private:
    DeviceSettings settings;
};

// Stored bands reach dialogs and bars (code / 10.23, truncated); apply
// stores the dialogs' applied state, within the 10-bit codes.
void TstLoopsPage::loadAndStoreBands_data() {
    QTest::addColumn<uint>("max");
    QTest::addColumn<int>("percent");
    QTest::addColumn<uint>("stored");
    QTest::newRow("767") << 767u << 74 << 767u;
    QTest::newRow("768") << 768u << 75 << 768u;
    QTest::newRow("1022") << 1022u << 99 << 1022u;
    QTest::newRow("past int") << 0xFFFFFFF0u << 100 << 1023u;
}

void TstLoopsPage::loadAndStoreBands() {
    QFETCH(uint, max);
    QFETCH(int, percent);
    QFETCH(uint, stored);
    LimNaprSh page;
    LoopLimits& l = *settings.loopLimits;
    l.minLevel[4] = 300;
    l.maxLevel[4] = max;
    l.reverse[4] = 1;
    l.radio[4] = 1;
    page.CancelClick();
    QCOMPARE(Bar(page, 5), (QList<int>{29, percent, 1}));
    QCOMPARE(Bar(page, 4), (QList<int>{0, 0, 0}));
    QVERIFY(Radio(page, 5)->isChecked());
    l = LoopLimits();
    page.ApplyClick();
    QCOMPARE((QList<uint>{l.minLevel[4], l.maxLevel[4], l.reverse[4], l.radio[4]}),
             (QList<uint>{300, stored, 1, 1}));
}

// Only a dialog's applied band is stored, at the page's apply. One applied
// for all loops sets every dialog and bar; the next is for its loop only.
void TstLoopsPage::appliedBands() {
    LimNaprSh page;
    LoopLimits& l = *settings.loopLimits;
    l.minLevel[1] = 200;
    l.maxLevel[1] = 600;
    page.CancelClick();
    Child<QSlider>(page.dialog(1), "slNMin")->setValue(500);
    Child<QPushButton>(page.dialog(1), "pbCancel")->click();
    page.ApplyClick();
    QCOMPARE(l.minLevel[1], 200u);
    ApplyBand(page, 3, 100, 900, true, true);
    for (int n = 1; n <= kLoops; ++n) {
        QCOMPARE(Bar(page, n), (QList<int>{9, 87, 1}));
        QCOMPARE(Child<QSlider>(page.dialog(n - 1), "slNMin")->value(), 100);
    }
    ApplyBand(page, 2, 250, 650, false);
    QCOMPARE(Bar(page, 2), (QList<int>{24, 63, 0}));
    QCOMPARE(Bar(page, 1), (QList<int>{9, 87, 1}));
    QCOMPARE(l.maxLevel[7], 0u); // until the page applies
    page.ApplyClick();
    QCOMPARE((QList<uint>{l.minLevel[1], l.maxLevel[1], l.reverse[1], l.maxLevel[7], l.reverse[0]}),
             (QList<uint>{250, 650, 0, 900, 1}));
}

// The default button takes every loop's defaults, within the 10-bit codes,
// and clears the radio flags; a cancel drops them, an apply stores them.
void TstLoopsPage::defaultAll() {
    LimNaprSh page;
    LoopLimits& l = *settings.loopLimits;
    l.minLevel.fill(10);
    l.maxLevel.fill(20);
    l.radio.fill(1);
    for (size_t k = 0; k < kLoops; ++k)
        std::tie(l.defaultMin[k], l.defaultMax[k], l.defaultReverse[k]) =
            std::tuple(100 + k, 800, k % 2);
    l.defaultMax[7] = 4000; // a hand-edited default file
    page.CancelClick();
    for (bool apply : {false, true}) {
        Child<QPushButton>(&page, "pbDefaultAll")->click();
        QCOMPARE(Bar(page, 2), (QList<int>{9, 78, 1}));
        QVERIFY(!Radio(page, 6)->isChecked());
        QCOMPARE(l.minLevel[0], 10u);
        if (apply)
            break;
        page.CancelClick();
        QCOMPARE(Bar(page, 2), (QList<int>{0, 1, 0}));
        QVERIFY(Radio(page, 6)->isChecked());
    }
    page.ApplyClick();
    QCOMPARE((QList<uint>{l.minLevel[5], l.maxLevel[7], l.reverse[1], l.radio[6]}),
             (QList<uint>{105, 1023, 1, 0}));
}

// Rows follow the model; loop 7's sensor is the model's own when the list
// holds it, written at once and told to the test window.
void TstLoopsPage::rowsAndLoop7ByModel_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("loops");
    QTest::addColumn<uint>("loop7");
    QTest::newRow("4 loops") << int(DEV_D4M) << 2 << 4 << 5u;
    QTest::newRow("8 loops, one record") << int(DEV_D8M) << 1 << 8 << 0u;
    QTest::newRow("6 loops, two records") << int(DEV_VororaZ) << 2 << 6 << 1u;
    QTest::newRow("6 loops, one record") << int(DEV_VoduzeR) << 1 << 6 << 5u;
}

void TstLoopsPage::rowsAndLoop7ByModel() {
    QFETCH(int, type);
    QFETCH(int, records);
    QFETCH(int, loops);
    QFETCH(uint, loop7);
    for (int i = 0; i < records; ++i)
        settings.loopLimits->sensors << Linear(QStringLiteral("S%1").arg(i), 1, "V");
    settings.loopLimits->sensorType[6] = 5;
    LimNaprSh page;
    page.SetLoadedSensors();
    QSignalSpy told(&page, &LimNaprSh::SigSetupTestScales);
    page.TPribSlot(type);
    for (int n = 1; n <= kLoops; ++n) {
        for (const char* stem : {"rangeLine_%1", "lScaleRight_%1", "pbAlarmLoop_%1", "cbRadio_%1"})
            QCOMPARE(Child<QWidget>(&page, QString::fromLatin1(stem).arg(n))->isVisibleTo(&page),
                     n <= loops);
    }
    QCOMPARE(settings.loopLimits->sensorType[6], loop7);
    QCOMPARE(told.size(), loop7 == 5u ? 0 : 1);
    QCOMPARE(Sensors(page, 7)->currentIndex(), loop7 == 5u ? 0 : int(loop7));
}

// No "sensors" folder: empty choices; a folder without files: "АЦП"; a stored
// type no loaded record has (a file from another machine): no choice. Each
// shows plain codes on the page, the dialog and the test window, and the
// stored type survives an apply.
void TstLoopsPage::withoutUsableSensor() {
    for (int records : {-1, 0, 1}) { // -1: no folder
        UseDefaults(settings);
        settings.loopLimits->sensors = {Linear("A", 2, "V")};
        settings.loopLimits->sensors.resize(std::max(records, 0));
        LoopLimits& l = *settings.loopLimits;
        std::tie(l.sensorType[2], l.minLevel[2], l.maxLevel[2]) = std::tuple(9u, 300u, 600u);
        LimNaprSh page;
        if (records >= 0)
            page.SetLoadedSensors();
        page.CancelClick();
        page.ApplyClick();
        QCOMPARE(Sensors(page, 3)->count(), std::min(records + 1, 1));
        QCOMPARE(Sensors(page, 3)->currentIndex(), records == 0 ? 0 : -1); // "АЦП" alone
        QCOMPARE(Scale(&page, 3), kCodes);
        QCOMPARE(Scale(page.dialog(2)), kCodes);
        QCOMPARE(Child<QLineEdit>(page.dialog(2), "leMaxD1")->text(), QStringLiteral("300"));
        QCOMPARE(settings.loopLimits->sensorType[2], 9u);
        TestPrib test;
        test.SetSensorScales();
        QCOMPARE(Scale(&test, 3), kCodes);
    }
}

// A choice on loop 3 relabels loop 3 and its dialog only; the settings and
// the test window follow at the page's apply.
void TstLoopsPage::sensorChoiceIsPerLoop() {
    settings.loopLimits->sensors = {Linear("ADC", 1, "ед"), Linear("Kilo", 1234.56, "V")};
    settings.loopLimits->minLevel[2] = 100;
    settings.loopLimits->maxLevel[2] = 200;
    LimNaprSh page;
    page.SetLoadedSensors();
    page.CancelClick();
    TestPrib test;
    test.SetSensorScales();
    connect(&page, &LimNaprSh::SigSetupTestScales, &test, &TestPrib::SetSensorScales);
    const QStringList first{"0 ед", "256 ед", "512 ед", "768 ед", "1023 ед"};
    QCOMPARE(Scale(&page, 3), first);

    Sensors(page, 3)->setCurrentIndex(1);
    const QStringList kilo{"0 V", "31604 V", "63209 V", "94814 V", "1.26295e+06 V"};
    QCOMPARE(Scale(&page, 3), kilo);
    QCOMPARE(Scale(page.dialog(2)), kilo);
    QCOMPARE(Child<QLineEdit>(page.dialog(2), "leMaxD1")->text(), QStringLiteral("12345"));
    QCOMPARE(Scale(&page, 4), first);
    QCOMPARE(Scale(page.dialog(3)), first);
    QCOMPARE(Scale(&test, 3), first);

    page.ApplyClick();
    QCOMPARE(settings.loopLimits->sensorType[2], 1u);
    QCOMPARE(Scale(&test, 3), kilo);
    QCOMPARE(Scale(&test, 4), first);
}

QTEST_MAIN(TstLoopsPage)
#include "tst_loopspage.moc"
