#include "settings/MainWindowRules.h"

#include "settings/DeviceSettings.h"
#include "settings/Firmware.h"

#include <algorithm>

std::optional<bool> SoundsEnabledAfterVersionChange(const DeviceHeader& h, const ExtraOptions& x) {
    if (!FwLaterThan(h, fw::k27_11_2009))
        return false;
    if (h.workMode == MODE_AUTONOMOUS && x.useVoiceMessages)
        return true;
    return std::nullopt;
}

bool SoundsEnabled(const DeviceHeader& h, const ExtraOptions& x) {
    return h.workMode == MODE_AUTONOMOUS && x.useVoiceMessages && FwLaterThan(h, fw::k27_11_2009);
}

bool TimeActionEnabled(const DeviceHeader& h) {
    return FwOnOrAfter(h, fw::k15_04_2010);
}

bool ThermometersActionEnabled(const DeviceHeader& h) {
    return FwOnOrAfter(h, fw::k19_04_2012);
}

bool BreakOnTimeDialogRejected(const DeviceHeader& h) {
    return !FwOnOrAfter(h, fw::k19_04_2012);
}

int InferObjectType(const ZonesConfig& zones, const ExtraOptions& extra) {
    const int tech = extra.techLoop;
    const int last = std::min(zones.loopCount, kLoops);
    const int first = tech == 1 ? 2 : 1;
    if (first > last)
        return OBJ_SIMPLE;
    for (const auto& row : zones.keyLoop) {
        const u8 reference = row[first - 1];
        for (int loop = first; loop <= last; ++loop) {
            if (loop == tech)
                continue;
            if (row[loop - 1] != reference)
                return OBJ_COMPLEX;
        }
    }
    return OBJ_SIMPLE;
}

int ProgrammingMaximum(const DeviceHeader& h) {
    return FwOnOrAfter(h, fw::k19_04_2012) && h.firmwareSubVersion != 0 ? kProgrammingMaximumNew
                                                                        : kProgrammingMaximumOld;
}

void ProgressBarModel::advance(int increment) {
    value_ = std::max(0, value_ + increment);
    // A run that overshoots its maximum is complete as well; otherwise the
    // bar would stay just short of full until the next reset.
    if (value_ >= maximum_) {
        value_ = 0;
        textVisible_ = false;
    }
}

std::optional<ProgressBarModel::Relay>
ProgressBarModel::step(bool reset, bool read, int value, const DeviceHeader& h, bool wizardActive) {
    if (reset) {
        value_ = 0;
        textVisible_ = false;
        maximum_ = std::max(0, value);
        return std::nullopt;
    }
    // A read keeps the maximum its reset gave; programming has a fixed one.
    if (!read)
        maximum_ = ProgrammingMaximum(h);
    textVisible_ = true;
    format_ = QString::fromUtf8(read ? kReadFormat : kProgrammingFormat);
    const Relay relay{value, maximum_};
    advance(value);
    return wizardActive ? std::optional<Relay>(relay) : std::nullopt;
}

namespace {
constexpr int kStatusComOpened = 110;
constexpr int kStatusComClosed = 111;
constexpr int kStatusUsbOpened = 112;
constexpr int kStatusUsbClosed = 113;
constexpr int kStatusComOpenFailed = 310;
constexpr int kStatusUsbOpenFailed = 311;
} // namespace

StatusReport PortOpenedReport(bool com, int comNumber, const QString& usbText) {
    return com ? StatusReport{kStatusComOpened, comNumber}
               : StatusReport{kStatusUsbOpened, usbText};
}

StatusReport PortOpenFailedReport(bool com, qulonglong errorCode, const QString& usbText) {
    return com ? StatusReport{kStatusComOpenFailed, QString::number(errorCode)}
               : StatusReport{kStatusUsbOpenFailed, usbText};
}

StatusReport PortClosedReport(bool com, int comNumber, const QString& usbText) {
    return com ? StatusReport{kStatusComClosed, comNumber}
               : StatusReport{kStatusUsbClosed, usbText};
}

QString ComPortLabel(int comNumber) {
    return QStringLiteral("Подключение: COM%1 ").arg(comNumber);
}

QString UsbPortLabel(const QString& usbListText) {
    return QStringLiteral("Подключение: ") + usbListText + QStringLiteral("    ");
}

PortActionLook PortActionLookFor(bool portOpen) {
    if (portOpen)
        return {QStringLiteral("Закрыть порт/устройство"),
                QStringLiteral(":/icons/serial_lock.png")};
    return {QStringLiteral("Открыть порт/устройство"), QStringLiteral(":/icons/serial_unlock.png")};
}

int RowBelowCountOrLast(int row, int count) {
    return std::max(-1, row < count ? row : count - 1);
}
