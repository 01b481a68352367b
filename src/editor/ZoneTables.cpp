#include "editor/ZoneTables.h"

#include "pagebase/KeyLoopMatrix.h"

QString DefaultZoneName(int index) {
    return QStringLiteral("Зона ") + QString::number(index);
}

namespace {
template <class Names> void FillDefaultZoneNames(Names& names) {
    for (int i = 0; i < int(names.size()); ++i)
        names[size_t(i)] = DefaultZoneName(i);
}

template <class Names> QString ZoneNameAt(const Names& names, int zone) {
    return zone >= 0 && zone < int(names.size()) ? names[size_t(zone)] : QString();
}

template <class Names> void SetZoneNameAt(Names& names, int zone, const QString& text) {
    if (zone >= 0 && zone < int(names.size()))
        names[size_t(zone)] = text;
}
} // namespace

KeyZone::KeyZone(int rows, int columns, QObject* parent)
    : CheckTableModel(rows, kKeyNameColumns, kZones, parent) {
    setOneCheckPerRow(true);
    setShownChecks(columns - kKeyNameColumns);
    FillDefaultZoneNames(m_zoneNames);
}

QString KeyZone::zoneName(int zone) const {
    return ZoneNameAt(m_zoneNames, zone);
}

void KeyZone::setZoneName(int zone, const QString& text) {
    SetZoneNameAt(m_zoneNames, zone, text);
}

QString KeyZone::columnTitle(int column) const {
    return column < kKeyNameColumns ? KeyNameColumnTitle(column)
                                    : zoneName(column - kKeyNameColumns);
}

ZoneShl::ZoneShl(int rows, int columns, QObject* parent)
    : CheckTableModel(rows, 0, kZones, parent) {
    setOneCheckPerRow(true);
    setShownChecks(columns);
    FillDefaultZoneNames(m_zoneNames);
    // Every loop starts in the first zone.
    for (int loop = 0; loop < rows; ++loop)
        setCheck(loop, 0, true);
}

QString ZoneShl::zoneName(int zone) const {
    return ZoneNameAt(m_zoneNames, zone);
}

void ZoneShl::setZoneName(int zone, const QString& text) {
    SetZoneNameAt(m_zoneNames, zone, text);
}

QString ZoneShl::columnTitle(int column) const {
    return zoneName(column);
}

QString ZoneShl::rowTitle(int row) const {
    return QStringLiteral("Шлейф №") + QString::number(row + 1);
}
