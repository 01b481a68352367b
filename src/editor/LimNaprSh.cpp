#include "editor/LimNaprSh.h"

#include "editor/NaprLines.h"
#include "editor/NastrShl.h"
#include "settings/DeviceSettings.h"
#include "settings/SensorTypes.h"
#include "ui_LimNaprSh.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

#include <algorithm>

namespace {
constexpr double kCodesPerPercent = 10.23;
constexpr int kTopCode = kAdcCodes - 1;

// A code as a bar position in percent, truncated like the dialog's bar.
int Percent(qint64 code) {
    return int(double(code) / kCodesPerPercent);
}

// A band bound as the device takes it: a 10-bit code. Applied states come
// unclamped from owners and default files.
u32 Code(int value) {
    return u32(std::clamp(value, 0, kTopCode));
}

// A stored bound as a slider takes it, without the wrap of a large u32.
int SliderValue(u32 code) {
    return int(std::min(code, u32(kTopCode)));
}

// The nine widgets of a loop's row, shown and hidden together.
const QStringList kRowStems{"rangeLine_%1",    "lScaleLeft_%1", "lScaleLC_%1",
                            "lScaleCenter_%1", "lScaleCR_%1",   "lScaleRight_%1",
                            "pbAlarmLoop_%1",  "cmbSensors_%1", "cbRadio_%1"};

// The loop whose sensor type follows the model (0-based).
constexpr int kModelSensorLoop = 6;
} // namespace

LimNaprSh::LimNaprSh(QWidget* parent) : ParamsPage(parent), ui(new Ui::LimNaprSh) {
    ui->setupUi(this);
    for (int i = 0; i < kLoops; ++i) {
        auto* d = new NastrShl(this);
        d->shlNum = i;
        if (auto* box = d->findChild<QGroupBox*>(QStringLiteral("GroupBox1")))
            box->setTitle(QStringLiteral("Настройка диапазонов на шлейфе №%1").arg(i + 1));
        connect(d, &NastrShl::SignalSetValues, this, &LimNaprSh::NaprChanged);
        dialogs[size_t(i)] = d;
    }
    for (int n = 1; n <= kLoops; ++n) {
        NastrShl* d = dialogs[size_t(n - 1)];
        if (auto* button = numbered<QPushButton>(QStringLiteral("pbAlarmLoop_%1"), n))
            connect(button, &QPushButton::clicked, d, [d] { d->exec(); });
    }
    connect(ui->pbDefaultAll, &QPushButton::clicked, this, &LimNaprSh::DefaultAllClic);
    for (int n = 1; n <= kLoops; ++n) {
        if (QComboBox* combo = sensorCombo(n))
            connect(combo, &QComboBox::currentIndexChanged, this, &LimNaprSh::ChangeSensorType);
    }
}

LimNaprSh::~LimNaprSh() {
    delete ui;
}

NastrShl* LimNaprSh::dialog(int loop) const {
    return loop >= 0 && loop < kLoops ? dialogs[size_t(loop)] : nullptr;
}

QComboBox* LimNaprSh::sensorCombo(int n) const {
    return numbered<QComboBox>(QStringLiteral("cmbSensors_%1"), n);
}

NaprLines* LimNaprSh::rangeLine(int n) const {
    return numbered<NaprLines>(QStringLiteral("rangeLine_%1"), n);
}

void LimNaprSh::showBand(int i, int min, int max, bool reverse) {
    dialogs[size_t(i)]->ValuesChangeOut(min, max, reverse);
    if (NaprLines* bar = rangeLine(i + 1))
        bar->RepaintLine(Percent(min), Percent(max), reverse);
}

void LimNaprSh::showScale(int i, const QStringList& texts) {
    dialogs[size_t(i)]->SetNewScale(texts.at(0), texts.at(1), texts.at(2), texts.at(3),
                                    texts.at(4));
    for (int k = 0; k < texts.size(); ++k) {
        if (auto* l = numbered<QLabel>(QString::fromLatin1(kScaleLabelNames[k]), i + 1))
            l->setText(texts.at(k));
    }
}

void LimNaprSh::TPribSlot(int type) {
    ShowLoopRows(kRowStems, type);
    if (type == DEV_D4M)
        return;
    // The 8-loop model measures loop 7 with the first sensor, the second
    // family with the second; the choice is stored at once.
    const int sensor = type == DEV_D8M ? 0 : 1;
    LoopLimits& limits = *settings().loopLimits;
    if (limits.sensors.size() <= sensor)
        return;
    limits.sensorType[kModelSensorLoop] = u32(sensor);
    if (QComboBox* combo = sensorCombo(kModelSensorLoop + 1))
        combo->setCurrentIndex(sensor);
    emit SigSetupTestScales();
}

void LimNaprSh::NaprChanged(int min, int max, bool reverse, bool forAll, QDialog* dialog) {
    for (int n = 1; n <= kLoops; ++n) {
        if (dialogs[size_t(n - 1)] == dialog) {
            if (NaprLines* bar = rangeLine(n))
                bar->RepaintLine(Percent(min), Percent(max), reverse);
        }
    }
    if (!forAll)
        return;
    for (int i = 0; i < kLoops; ++i)
        showBand(i, min, max, reverse);
}

void LimNaprSh::DefaultAllClic() {
    const LoopLimits& limits = *settings().loopLimits;
    for (int i = 0; i < kLoops; ++i) {
        const auto k = size_t(i);
        // A default file is edited by hand: its bounds are taken as codes.
        const int lower = SliderValue(limits.defaultMin[k]);
        const int upper = SliderValue(limits.defaultMax[k]);
        showBand(i, lower, upper, limits.defaultReverse[k] != 0);
        if (auto* radio = numbered<QCheckBox>(QStringLiteral("cbRadio_%1"), i + 1))
            radio->setChecked(false);
    }
}

void LimNaprSh::ApplyClick() {
    LoopLimits& limits = *settings().loopLimits;
    for (int i = 0; i < kLoops; ++i) {
        const auto k = size_t(i);
        const NastrShl* d = dialogs[k];
        limits.minLevel[k] = Code(d->savedMin);
        limits.maxLevel[k] = Code(d->savedMax);
        limits.reverse[k] = d->savedObr ? 1 : 0;
        if (auto* radio = numbered<QCheckBox>(QStringLiteral("cbRadio_%1"), i + 1))
            limits.radio[k] = radio->isChecked() ? 1 : 0;
        if (!limits.sensors.isEmpty())
            StoreComboIndex(sensorCombo(i + 1), limits.sensorType[k]);
    }
    emit SigSetupTestScales();
}

void LimNaprSh::CancelClick() {
    const LoopLimits& limits = *settings().loopLimits;
    for (int i = 0; i < kLoops; ++i) {
        const auto k = size_t(i);
        QComboBox* combo = sensorCombo(i + 1);
        if (!limits.sensors.isEmpty()) {
            // A type beyond the loaded list (a file from another machine)
            // shows no choice and the plain codes; apply leaves it as it is.
            const u32 type = limits.sensorType[k];
            const int sensor = type < u32(limits.sensors.size()) ? int(type) : -1;
            UpdateScaleLabels(i, sensor);
            LoadComboIndex(combo, sensor);
        } else {
            LoadComboIndex(combo, 0);
        }
        NastrShl* d = dialogs[k];
        d->findChild<QSlider*>(QStringLiteral("slNMin"))->setValue(SliderValue(limits.minLevel[k]));
        d->findChild<QSlider*>(QStringLiteral("slNMax"))->setValue(SliderValue(limits.maxLevel[k]));
        d->findChild<QCheckBox*>(QStringLiteral("cbObrShl"))->setChecked(limits.reverse[k] != 0);
        if (auto* radio = numbered<QCheckBox>(QStringLiteral("cbRadio_%1"), i + 1))
            radio->setChecked(limits.radio[k] != 0);
        d->findChild<QPushButton*>(QStringLiteral("pbApply"))->click();
    }
}

void LimNaprSh::SetLoadedSensors() {
    const QVector<SensorRecord>& sensors = settings().loopLimits->sensors;
    if (sensors.isEmpty()) {
        const QStringList codes = SensorScaleTexts(sensors, -1);
        for (int n = 1; n <= kLoops; ++n) {
            if (QComboBox* combo = sensorCombo(n))
                combo->addItem(QStringLiteral("АЦП"));
            showScale(n - 1, codes);
        }
        return;
    }
    QStringList names;
    for (const SensorRecord& r : sensors)
        names << r.name;
    // Filling an empty combo makes item 0 current, which labels the loop.
    for (int n = 1; n <= kLoops; ++n) {
        if (QComboBox* combo = sensorCombo(n))
            combo->addItems(names);
    }
}

void LimNaprSh::UpdateScaleLabels(int loop, int sensor) {
    NastrShl* d = dialog(loop);
    const QVector<SensorRecord>& sensors = settings().loopLimits->sensors;
    if (!d || sensors.isEmpty())
        return;
    showScale(loop, SensorScaleTexts(sensors, sensor));
    d->sensorIndex = sensor;
    d->MinSliderGo(d->savedMin);
    d->MaxSliderGo(d->savedMax);
}

void LimNaprSh::ChangeSensorType(int index) {
    for (int n = 1; n <= kLoops; ++n) {
        if (sender() == sensorCombo(n))
            UpdateScaleLabels(n - 1, index);
    }
}
