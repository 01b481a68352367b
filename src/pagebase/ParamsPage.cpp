#include "pagebase/ParamsPage.h"

#include <QWidget>

bool IsAutonomous(const DeviceHeader& header) {
    return header.workMode == MODE_AUTONOMOUS;
}

int LoopCountOf(int deviceType) {
    switch (deviceType) {
    case DEV_D4M:
        return 4;
    case DEV_D8M:
        return 8;
    default:
        return 6;
    }
}

void LoadComboIndex(QComboBox* combo, int value) {
    if (combo)
        combo->setCurrentIndex(value >= 0 && value < combo->count() ? value : -1);
}

ParamsPage::ParamsPage(QWidget* parent) : QFrame(parent) {}

DeviceSettings& ParamsPage::settings() {
    return *g_deviceSettings;
}

const DeviceHeader& ParamsPage::header() {
    return *g_deviceSettings->header;
}

void ParamsPage::ShowLoopRows(const QStringList& stems, int deviceType, int first) const {
    const int loops = LoopCountOf(deviceType);
    for (int n = std::max(first, 1); n <= kLoops; ++n) {
        for (const QString& stem : stems) {
            const QString name =
                stem.contains(QLatin1String("%1")) ? stem.arg(n) : stem + QString::number(n);
            for (QWidget* w : findChildren<QWidget*>(name))
                w->setVisible(n <= loops);
        }
    }
}
