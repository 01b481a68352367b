#include "editor/Zones.h"

#include "ui_Zones.h"

#include <algorithm>

Zones::Zones(QWidget* parent) : ParamsPage(parent), ui(new Ui::Zones) {
    ui->setupUi(this);
}

Zones::~Zones() {
    delete ui;
}

void Zones::ApplyClick() {}

void Zones::CancelClick() {}

void Zones::TPribSlot(int) {}

void Zones::TypeObjChange() {}

void Zones::NumTShlChange(int) {}

void Zones::SetTableDataChange(const QModelIndex&, const QModelIndex&) {}

void Zones::EnterToFrame() {}

bool Zones::CheckZonesBound() const {
    const ZonesConfig& z = *settings().zones;
    const int zones = std::clamp(z.zoneCount, 0, kZones);
    const int loops = std::clamp(z.loopCount, 0, kLoops);
    for (int zone = 0; zone < zones; ++zone) {
        bool bound = false;
        for (int key = 0; key < kOrdinaryKeys && !bound; ++key)
            bound = z.keyZone[size_t(key)][size_t(zone)] != 0;
        for (int loop = 0; loop < loops && !bound; ++loop)
            bound = z.loopZone[size_t(loop)][size_t(zone)] != 0;
        if (!bound)
            return false;
    }
    return true;
}
