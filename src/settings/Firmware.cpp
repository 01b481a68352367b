#include "settings/Firmware.h"

#include "settings/DeviceSettings.h"

QDate StrToDate(const QString& text) {
    return QDate::fromString(text, QStringLiteral("dd.MM.yyyy"));
}

quint32 GateDay(const QDate& date) {
    if (!date.isValid())
        return 0;
    return static_cast<quint32>(date.toJulianDay());
}

void SetFirmwareVersion(DeviceHeader& header, const QString& versionText) {
    header.firmwareDate = versionText.size() >= 10 ? StrToDate(versionText.left(10)) : QDate();
    bool ok = false;
    const int sub = versionText.mid(11).toInt(&ok, 10);
    header.firmwareSubVersion = ok ? sub : 1;
}

namespace {
quint32 releaseDay(const char* release) {
    return GateDay(StrToDate(QLatin1String(release)));
}
} // namespace

bool FwLaterThan(const QDate& firmware, const char* release) {
    return GateDay(firmware) > releaseDay(release);
}

bool FwOnOrAfter(const QDate& firmware, const char* release) {
    return GateDay(firmware) >= releaseDay(release);
}

bool FwEquals(const QDate& firmware, const char* release) {
    return GateDay(firmware) == releaseDay(release);
}

bool FwEqualsWithSubAbove(const QDate& firmware, int subVersion, const char* release,
                          int minSubExclusive) {
    return FwEquals(firmware, release) && subVersion > minSubExclusive;
}

bool FwLaterThan(const DeviceHeader& h, const char* release) {
    return FwLaterThan(h.firmwareDate, release);
}

bool FwOnOrAfter(const DeviceHeader& h, const char* release) {
    return FwOnOrAfter(h.firmwareDate, release);
}

bool FwEquals(const DeviceHeader& h, const char* release) {
    return FwEquals(h.firmwareDate, release);
}

bool FwHasCameras(const DeviceHeader& h) {
    return FwEqualsWithSubAbove(h.firmwareDate, h.firmwareSubVersion, fw::k03_12_2010,
                                fw::kCameraMinSubVersionExclusive);
}
