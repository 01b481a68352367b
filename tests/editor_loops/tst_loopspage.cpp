// The loop ranges page: bands through the eight range dialogs and bars,
// radio flags, defaults, the model's rows and loop 7's sensor, and the
// sensor scales shared with the range dialogs and the test window.

#include "editor/LimNaprSh.h"
#include "editor/NaprLines.h"
#include "editor/NastrShl.h"
#include "service/TestPrib.h"
#include "settings/DeviceSettings.h"

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
template <class T> T* Child(const QObject& parent, const QString& name) {
    auto* w = parent.findChild<T*>(name);
    if (!w)
        qFatal("no child %s", qPrintable(name));
    return w;
}
NaprLines* Bar(const LimNaprSh& page, int n) {
    return Child<NaprLines>(page, QStringLiteral("rangeLine_%1").arg(n));
}
QSlider* Slider(const NastrShl* d, const char* name) {
    return Child<QSlider>(*d, QString::fromLatin1(name));
}
QCheckBox* Radio(const LimNaprSh& page, int n) {
    return Child<QCheckBox>(page, QStringLiteral("cbRadio_%1").arg(n));
}
QComboBox* Sensors(const LimNaprSh& page, int n) {
    return Child<QComboBox>(page, QStringLiteral("cmbSensors_%1").arg(n));
}
// The five scale labels of loop n, of the page or of the test window.
QStringList Scale(const QWidget& w, int n) {
    QStringList out;
    for (const char* name : LimNaprSh::kScaleLabelNames)
        out << Child<QLabel>(w, QString::fromLatin1(name).arg(n))->text();
    return out;
}
QStringList DialogScale(const NastrShl* d) {
    QStringList out;
    for (const char* name : {"lScaleLeft", "lScaleLC", "lScaleCenter", "lScaleCR", "lScaleRight"})
        out << Child<QLabel>(*d, QString::fromLatin1(name))->text();
    return out;
}
QList<int> BarValues(const LimNaprSh& page, int n) {
    const NaprLines* bar = Bar(page, n);
    return {bar->min, bar->max, int(bar->rev)};
}
// Applies a band in loop n's dialog as a user does.
void ApplyBand(LimNaprSh& page, int n, int min, int max, bool rev, bool forAll = false) {
    NastrShl* d = page.dialog(n - 1);
    Slider(d, "slNMax")->setValue(max);
    Slider(d, "slNMin")->setValue(min);
    Child<QCheckBox>(*d, QStringLiteral("cbObrShl"))->setChecked(rev);
    Child<QCheckBox>(*d, QStringLiteral("cbForAll"))->setChecked(forAll);
    Child<QPushButton>(*d, QStringLiteral("pbApply"))->click();
}
// A record whose code c reads c * factor, named and with a unit.
SensorRecord Linear(const QString& name, double factor, const QString& unit) {
    SensorRecord r;
    r.name = name;
    r.unit = unit;
    for (int c = 0; c < kAdcCodes; ++c)
        r.table << c * factor;
    return r;
}
const QStringList kCodes{"0", "256", "512", "768", "1023"};
} // namespace

class TstLoopsPage : public QObject {
    Q_OBJECT

private slots:
    void init();
    void form();
    void loadAndStoreBands_data();
    void loadAndStoreBands();
    void cancelledDialogNeverReachesSettings();
    void forAll();
    void defaultAll_data();
    void defaultAll();
    void buttonOpensItsDialog();
    void rowsAndLoop7ByModel_data();
    void rowsAndLoop7ByModel();
    void noSensorFolder();
    void emptySensorFolder();
    void sensorChoiceIsPerLoop();
    void storedTypePastTheList();

private:
    DeviceSettings settings;
};

void TstLoopsPage::init() {
    settings = DeviceSettings();
    SetDefaultSettings(&settings, false);
    g_deviceSettings = &settings;
}

void TstLoopsPage::form() {
    LimNaprSh page;
    QCOMPARE(Child<QPushButton>(page, QStringLiteral("pbDefaultAll"))->text(),
             QStringLiteral("По умолчанию для всех шлейфов "));
    QCOMPARE(Child<QPushButton>(page, QStringLiteral("pbAlarmLoop_8"))->text(),
             QStringLiteral("Шлейф №8"));
    QCOMPARE(Radio(page, 2)->toolTip(), QStringLiteral("Радиодатчик"));
    for (int i = 0; i < kLoops; ++i) {
        QCOMPARE(page.dialog(i)->shlNum, i);
        QCOMPARE(Child<QGroupBox>(*page.dialog(i), QStringLiteral("GroupBox1"))->title(),
                 QStringLiteral("Настройка диапазонов на шлейфе №%1").arg(i + 1));
    }
    QVERIFY(!page.dialog(-1));
    QVERIFY(!page.dialog(kLoops));
}

// Stored bands reach the dialogs and the bars (code / 10.23, truncated);
// apply stores each dialog's applied state, clamped to the 10-bit codes.
void TstLoopsPage::loadAndStoreBands_data() {
    QTest::addColumn<uint>("min");
    QTest::addColumn<uint>("max");
    QTest::addColumn<QList<int>>("bar");
    QTest::addColumn<uint>("storedMax");
    QTest::newRow("300..700") << 300u << 700u << QList<int>{29, 68, 1} << 700u;
    QTest::newRow("767") << 0u << 767u << QList<int>{0, 74, 1} << 767u;
    QTest::newRow("768") << 0u << 768u << QList<int>{0, 75, 1} << 768u;
    QTest::newRow("1022") << 0u << 1022u << QList<int>{0, 99, 1} << 1022u;
    QTest::newRow("above the range") << 10u << 5000u << QList<int>{0, 100, 1} << 1023u;
    QTest::newRow("past int") << 10u << 0xFFFFFFF0u << QList<int>{0, 100, 1} << 1023u;
}

void TstLoopsPage::loadAndStoreBands() {
    QFETCH(uint, min);
    QFETCH(uint, max);
    QFETCH(QList<int>, bar);
    QFETCH(uint, storedMax);
    LimNaprSh page;
    LoopLimits& l = *settings.loopLimits;
    l.minLevel[4] = min;
    l.maxLevel[4] = max;
    l.reverse[4] = 1;
    l.radio[4] = 1;
    page.CancelClick();
    QCOMPARE(BarValues(page, 5), bar);
    QCOMPARE(Slider(page.dialog(4), "slNMax")->value(), int(storedMax));
    QVERIFY(Radio(page, 5)->isChecked());
    QCOMPARE(BarValues(page, 4), (QList<int>{0, 0, 0}));

    l = LoopLimits();
    page.ApplyClick();
    QCOMPARE(l.maxLevel[4], storedMax);
    QCOMPARE(l.minLevel[4], min > storedMax ? storedMax : min);
    QCOMPARE(int(l.reverse[4]), 1);
    QCOMPARE(int(l.radio[4]), 1);
}

void TstLoopsPage::cancelledDialogNeverReachesSettings() {
    LimNaprSh page;
    settings.loopLimits->minLevel[1] = 200;
    settings.loopLimits->maxLevel[1] = 600;
    page.CancelClick();
    NastrShl* d = page.dialog(1);
    Slider(d, "slNMin")->setValue(500);
    Child<QCheckBox>(*d, QStringLiteral("cbObrShl"))->setChecked(true);
    Child<QPushButton>(*d, QStringLiteral("pbCancel"))->click();
    page.ApplyClick();
    QCOMPARE(settings.loopLimits->minLevel[1], 200u);
    QCOMPARE(int(settings.loopLimits->reverse[1]), 0);

    ApplyBand(page, 2, 250, 650, true);
    QCOMPARE(BarValues(page, 2), (QList<int>{24, 63, 1}));
    QCOMPARE(settings.loopLimits->minLevel[1], 200u); // until the page applies
    page.ApplyClick();
    QCOMPARE(settings.loopLimits->minLevel[1], 250u);
    QCOMPARE(settings.loopLimits->maxLevel[1], 650u);
    QCOMPARE(int(settings.loopLimits->reverse[1]), 1);
}

// A dialog applied for all loops sets every dialog and bar; the settings
// change at the page's apply, and the next dialog apply is for one loop.
void TstLoopsPage::forAll() {
    LimNaprSh page;
    page.CancelClick();
    ApplyBand(page, 3, 100, 900, true, true);
    for (int n = 1; n <= kLoops; ++n) {
        QCOMPARE(BarValues(page, n), (QList<int>{9, 87, 1}));
        QCOMPARE(page.dialog(n - 1)->savedMax, 900);
        QCOMPARE(Slider(page.dialog(n - 1), "slNMin")->value(), 100);
    }
    QCOMPARE(settings.loopLimits->maxLevel[7], 0u);
    page.ApplyClick();
    QCOMPARE(settings.loopLimits->maxLevel[7], 900u);
    QCOMPARE(int(settings.loopLimits->reverse[0]), 1);
    ApplyBand(page, 3, 200, 300, false);
    QCOMPARE(BarValues(page, 1), (QList<int>{9, 87, 1}));
}

void TstLoopsPage::defaultAll_data() {
    QTest::addColumn<bool>("apply");
    QTest::newRow("then cancel") << false;
    QTest::newRow("then apply") << true;
}

void TstLoopsPage::defaultAll() {
    QFETCH(bool, apply);
    LimNaprSh page;
    LoopLimits& l = *settings.loopLimits;
    for (int i = 0; i < kLoops; ++i) {
        l.minLevel[size_t(i)] = 10;
        l.maxLevel[size_t(i)] = 20;
        l.radio[size_t(i)] = 1;
        l.defaultMin[size_t(i)] = 100 + u32(i);
        l.defaultMax[size_t(i)] = 800;
        l.defaultReverse[size_t(i)] = i % 2;
    }
    l.defaultMax[7] = 4000; // a hand-edited default file
    page.CancelClick();
    Child<QPushButton>(page, QStringLiteral("pbDefaultAll"))->click();
    QCOMPARE(BarValues(page, 2), (QList<int>{9, 78, 1}));
    QCOMPARE(page.dialog(7)->savedMax, 1023);
    QVERIFY(!Radio(page, 6)->isChecked());
    QCOMPARE(l.minLevel[0], 10u); // nothing stored yet
    if (apply) {
        page.ApplyClick();
        QCOMPARE(l.minLevel[5], 105u);
        QCOMPARE(l.maxLevel[7], 1023u);
        QCOMPARE(int(l.reverse[1]), 1);
        QCOMPARE(int(l.radio[6]), 0);
    } else {
        page.CancelClick();
        QCOMPARE(BarValues(page, 2), (QList<int>{0, 1, 0}));
        QVERIFY(Radio(page, 6)->isChecked());
        page.ApplyClick();
        QCOMPARE(l.minLevel[5], 10u);
        QCOMPARE(int(l.radio[6]), 1);
    }
}

void TstLoopsPage::buttonOpensItsDialog() {
    LimNaprSh page;
    QDialog* shown = nullptr;
    QTimer::singleShot(0, &page, [&] {
        shown = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (shown)
            shown->reject();
    });
    Child<QPushButton>(page, QStringLiteral("pbAlarmLoop_6"))->click();
    QCOMPARE(shown, page.dialog(5));
}

// Rows follow the model; loop 7's sensor is the model's own when the list
// holds it, written at once and told to the test window.
void TstLoopsPage::rowsAndLoop7ByModel_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("loops");
    QTest::addColumn<uint>("loop7");
    QTest::addColumn<int>("told");
    QTest::newRow("4 loops") << int(DEV_D4M) << 2 << 4 << 5u << 0;
    QTest::newRow("8 loops, one record") << int(DEV_D8M) << 1 << 8 << 0u << 1;
    QTest::newRow("8 loops, no record") << int(DEV_D8M) << 0 << 8 << 5u << 0;
    QTest::newRow("6 loops, two records") << int(DEV_VororaZ) << 2 << 6 << 1u << 1;
    QTest::newRow("6 loops, one record") << int(DEV_VoduzeR) << 1 << 6 << 5u << 0;
}

void TstLoopsPage::rowsAndLoop7ByModel() {
    QFETCH(int, type);
    QFETCH(int, records);
    QFETCH(int, loops);
    QFETCH(uint, loop7);
    QFETCH(int, told);
    for (int i = 0; i < records; ++i)
        settings.loopLimits->sensors << Linear(QStringLiteral("S%1").arg(i), 1, "V");
    settings.loopLimits->sensorType[6] = 5;
    LimNaprSh page;
    page.SetLoadedSensors();
    QSignalSpy scales(&page, &LimNaprSh::SigSetupTestScales);
    page.TPribSlot(type);
    for (int n = 1; n <= kLoops; ++n) {
        for (const char* stem :
             {"rangeLine_%1", "lScaleRight_%1", "pbAlarmLoop_%1", "cmbSensors_%1", "cbRadio_%1"})
            QCOMPARE(Child<QWidget>(page, QString::fromLatin1(stem).arg(n))->isVisibleTo(&page),
                     n <= loops);
    }
    QCOMPARE(settings.loopLimits->sensorType[6], loop7);
    QCOMPARE(scales.size(), told);
    if (told)
        QCOMPARE(Sensors(page, 7)->currentIndex(), int(loop7));
}

// Without a sensor folder the page has nothing to offer and stores no type.
void TstLoopsPage::noSensorFolder() {
    LimNaprSh page;
    settings.loopLimits->sensorType[2] = 3;
    page.CancelClick();
    page.ApplyClick();
    QCOMPARE(Sensors(page, 3)->count(), 0);
    QCOMPARE(Scale(page, 3), kCodes);
    QCOMPARE(settings.loopLimits->sensorType[2], 3u);
}

void TstLoopsPage::emptySensorFolder() {
    LimNaprSh page;
    QSignalSpy scales(&page, &LimNaprSh::SigSetupTestScales);
    page.SetLoadedSensors();
    settings.loopLimits->sensorType[2] = 3;
    page.CancelClick();
    page.ApplyClick();
    QCOMPARE(Sensors(page, 3)->count(), 1);
    QCOMPARE(Sensors(page, 3)->itemText(0), QStringLiteral("АЦП"));
    QCOMPARE(Scale(page, 3), kCodes);
    QCOMPARE(DialogScale(page.dialog(2)), kCodes);
    QCOMPARE(settings.loopLimits->sensorType[2], 3u);
    QCOMPARE(scales.size(), 1);
}

// A choice on loop 3 relabels loop 3 and its dialog only; the settings and
// the test window follow at the page's apply.
void TstLoopsPage::sensorChoiceIsPerLoop() {
    settings.loopLimits->sensors = {Linear("ADC", 1, "ед"), Linear("Kilo", 1234.56, "V")};
    LimNaprSh page;
    page.SetLoadedSensors();
    settings.loopLimits->minLevel[2] = 100;
    settings.loopLimits->maxLevel[2] = 200;
    page.CancelClick();
    TestPrib test;
    test.SetSensorScales();
    QObject::connect(&page, &LimNaprSh::SigSetupTestScales, &test, &TestPrib::SetSensorScales);
    const QStringList first{"0 ед", "256 ед", "512 ед", "768 ед", "1023 ед"};
    QCOMPARE(Scale(page, 3), first);

    Sensors(page, 3)->setCurrentIndex(1);
    const QStringList kilo{"0 V", "31604 V", "63209 V", "94814 V", "1.26295e+06 V"};
    QCOMPARE(Scale(page, 3), kilo);
    QCOMPARE(DialogScale(page.dialog(2)), kilo);
    QCOMPARE(Child<QLineEdit>(*page.dialog(2), QStringLiteral("leMaxD1"))->text(),
             QStringLiteral("12345"));
    QCOMPARE(page.dialog(2)->sensorIndex, 1);
    QCOMPARE(Scale(page, 4), first);
    QCOMPARE(page.dialog(3)->sensorIndex, 0);
    QCOMPARE(Scale(test, 3), first);
    QCOMPARE(settings.loopLimits->sensorType[2], 0u);

    page.ApplyClick();
    QCOMPARE(settings.loopLimits->sensorType[2], 1u);
    QCOMPARE(Scale(test, 3), kilo);
    QCOMPARE(Scale(test, 4), first);
}

// A stored type no loaded record has (a file from another machine) shows no
// choice and plain codes, everywhere, and survives an apply.
void TstLoopsPage::storedTypePastTheList() {
    settings.loopLimits->sensors = {Linear("A", 2, "V")};
    LimNaprSh page;
    page.SetLoadedSensors();
    settings.loopLimits->sensorType[0] = 9;
    settings.loopLimits->minLevel[0] = 300;
    settings.loopLimits->maxLevel[0] = 600;
    page.CancelClick();
    QCOMPARE(Sensors(page, 1)->currentIndex(), -1);
    QCOMPARE(Scale(page, 1), kCodes);
    QCOMPARE(DialogScale(page.dialog(0)), kCodes);
    QCOMPARE(Child<QLineEdit>(*page.dialog(0), QStringLiteral("leMaxD1"))->text(),
             QStringLiteral("300"));
    page.ApplyClick();
    QCOMPARE(settings.loopLimits->sensorType[0], 9u);
    TestPrib test;
    test.SetSensorScales();
    QCOMPARE(Scale(test, 1), kCodes);
}

QTEST_MAIN(TstLoopsPage)
#include "tst_loopspage.moc"
