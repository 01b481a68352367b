#include "editor/LimNaprSh.h"

#include "settings/DeviceSettings.h"
#include "settings/SensorTypes.h"
#include "ui_LimNaprSh.h"

#include <QComboBox>
#include <QLabel>

LimNaprSh::LimNaprSh(QWidget* parent) : ParamsPage(parent), ui(new Ui::LimNaprSh) {
    ui->setupUi(this);
    for (int n = 1; n <= kLoops; ++n) {
        if (QComboBox* combo = sensorCombo(n))
            connect(combo, &QComboBox::currentIndexChanged, this, &LimNaprSh::ChangeSensorType);
    }
}

LimNaprSh::~LimNaprSh() {
    delete ui;
}

QComboBox* LimNaprSh::sensorCombo(int n) const {
    return findChild<QComboBox*>(QStringLiteral("cmbSensors_%1").arg(n));
}

void LimNaprSh::SetLoadedSensors() {
    if (!g_deviceSettings)
        return;
    const auto& sensors = g_deviceSettings->loopLimits->sensors;
    QStringList names;
    for (const SensorRecord& r : sensors)
        names << r.name;
    if (names.isEmpty())
        names << QStringLiteral("АЦП");
    for (int n = 1; n <= kLoops; ++n) {
        if (QComboBox* combo = sensorCombo(n))
            combo->addItems(names);
        if (sensors.isEmpty())
            UpdateScaleLabels(n - 1, -1);
    }
}

void LimNaprSh::UpdateScaleLabels(int loop, int sensor) {
    if (!g_deviceSettings || loop < 0 || loop >= kLoops)
        return;
    // The combo's choice is not stored before Apply: label it through a
    // copy that holds the choice (the sensor list is shared, not copied).
    LoopLimits choice;
    choice.sensors = g_deviceSettings->loopLimits->sensors;
    choice.sensorType[size_t(loop)] = sensor < 0 ? quint32(-1) : quint32(sensor);
    const QStringList labels = SensorScaleLabels(choice, loop);
    for (int k = 0; k < labels.size(); ++k) {
        if (auto* l = findChild<QLabel*>(QString::fromLatin1(kScaleLabelNames[k]).arg(loop + 1)))
            l->setText(labels.at(k));
    }
}

void LimNaprSh::ChangeSensorType(int index) {
    for (int n = 1; n <= kLoops; ++n) {
        if (sender() == sensorCombo(n))
            UpdateScaleLabels(n - 1, index);
    }
}

void LimNaprSh::ApplyClick() {
    if (!g_deviceSettings)
        return;
    LoopLimits& limits = *g_deviceSettings->loopLimits;
    if (!limits.sensors.isEmpty()) {
        for (int n = 1; n <= kLoops; ++n) {
            QComboBox* combo = sensorCombo(n);
            if (combo && combo->currentIndex() >= 0)
                limits.sensorType[size_t(n - 1)] = u32(combo->currentIndex());
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
        QComboBox* combo = sensorCombo(n);
        const quint32 type = limits.sensorType[size_t(n - 1)];
        // A type beyond the loaded list (a file from another machine) is
        // shown as no choice, which Apply leaves as it is.
        const bool listed = type < quint32(limits.sensors.size());
        if (combo)
            combo->setCurrentIndex(listed && type < quint32(combo->count()) ? int(type) : -1);
        UpdateScaleLabels(n - 1, listed ? int(type) : -1);
    }
}

void LimNaprSh::TPribSlot(int) {}
