#include "editor/LimNaprSh.h"

#include "settings/DeviceSettings.h"
#include "ui_LimNaprSh.h"

#include <QComboBox>
#include <QLabel>

namespace {
constexpr int kScaleCodes[5] = {0, 256, 512, 768, 1023};
const char* const kScaleLabels[5] = {"lScaleLeft_%1", "lScaleLC_%1", "lScaleCenter_%1",
                                     "lScaleCR_%1", "lScaleRight_%1"};
constexpr int kInnerScaleWidth = 5;
} // namespace

LimNaprSh::LimNaprSh(QWidget* parent) : QFrame(parent), ui(new Ui::LimNaprSh) {
    ui->setupUi(this);
    for (int n = 1; n <= kLoops; ++n) {
        auto* combo = findChild<QComboBox*>(QStringLiteral("cmbSensors_%1").arg(n));
        if (combo)
            connect(combo, &QComboBox::currentIndexChanged, this, &LimNaprSh::ChangeSensorType);
    }
}

LimNaprSh::~LimNaprSh() {
    delete ui;
}

QString LimNaprSh::ScaleText(const SensorRecord& sensor, int code) {
    QString text = (code >= 0 && code < sensor.table.size())
                       ? QString::number(sensor.table.at(code), 'g', 6)
                       : QString::number(code);
    if (code != kScaleCodes[0] && code != kScaleCodes[4])
        text = text.left(kInnerScaleWidth);
    return text + QLatin1Char(' ') + sensor.unit;
}

void LimNaprSh::SetLoadedSensors() {
    if (!g_deviceSettings)
        return;
    const auto& sensors = g_deviceSettings->loopLimits->sensors;
    QStringList names;
    for (const SensorRecord& r : sensors)
        names << r.name;
    for (int n = 1; n <= kLoops; ++n) {
        auto* combo = findChild<QComboBox*>(QStringLiteral("cmbSensors_%1").arg(n));
        if (!combo)
            continue;
        if (sensors.isEmpty()) {
            combo->addItem(QStringLiteral("АЦП"));
            for (int k = 0; k < 5; ++k) {
                if (auto* l = findChild<QLabel*>(QString::fromLatin1(kScaleLabels[k]).arg(n)))
                    l->setText(QString::number(kScaleCodes[k]));
            }
        } else {
            combo->addItems(names);
        }
    }
}

void LimNaprSh::UpdateScaleLabels(int loop, int sensor) {
    if (!g_deviceSettings)
        return;
    const auto& sensors = g_deviceSettings->loopLimits->sensors;
    if (sensors.isEmpty() || sensor < 0 || sensor >= sensors.size() || loop < 0 || loop >= kLoops)
        return;
    for (int k = 0; k < 5; ++k) {
        if (auto* l = findChild<QLabel*>(QString::fromLatin1(kScaleLabels[k]).arg(loop + 1)))
            l->setText(ScaleText(sensors.at(sensor), kScaleCodes[k]));
    }
}

void LimNaprSh::ChangeSensorType(int index) {
    for (int n = 1; n <= kLoops; ++n) {
        if (sender() == findChild<QComboBox*>(QStringLiteral("cmbSensors_%1").arg(n)))
            UpdateScaleLabels(n - 1, index);
    }
}

void LimNaprSh::ApplyClick() {
    if (!g_deviceSettings)
        return;
    LoopLimits& limits = *g_deviceSettings->loopLimits;
    if (!limits.sensors.isEmpty()) {
        for (int n = 1; n <= kLoops; ++n) {
            auto* combo = findChild<QComboBox*>(QStringLiteral("cmbSensors_%1").arg(n));
            if (combo && combo->currentIndex() >= 0)
                limits.sensorType[n - 1] = u32(combo->currentIndex());
        }
    }
    emit SigSetupTestScales();
}

void LimNaprSh::CancelClick() {
    if (!g_deviceSettings)
        return;
    const LoopLimits& limits = *g_deviceSettings->loopLimits;
    if (limits.sensors.isEmpty())
        return;
    for (int n = 1; n <= kLoops; ++n) {
        auto* combo = findChild<QComboBox*>(QStringLiteral("cmbSensors_%1").arg(n));
        const int type = int(limits.sensorType[n - 1]);
        if (combo && type < combo->count())
            combo->setCurrentIndex(type);
        UpdateScaleLabels(n - 1, type);
    }
}
