#pragma once

#include <QString>
#include <QVariant>

#include <optional>

struct DeviceHeader;
struct ExtraOptions;
struct ZonesConfig;

// --- Actions that depend on the firmware and the work mode ---------------

// The sounds action after a change of firmware version: disabled up to
// 27.11.2009, enabled for later firmware in autonomous mode with voice
// messages; otherwise (nullopt) its state is left as it is.
std::optional<bool> SoundsEnabledAfterVersionChange(const DeviceHeader& h, const ExtraOptions& x);
// The sounds action whenever the work mode or the voice-message use changes.
bool SoundsEnabled(const DeviceHeader& h, const ExtraOptions& x);
// The device time window needs 15.04.2010 or later.
bool TimeActionEnabled(const DeviceHeader& h);
// The thermometer window needs 19.04.2012 or later.
bool ThermometersActionEnabled(const DeviceHeader& h);

// Firmware before 19.04.2012 (or none chosen) waits in its time-setting
// exchange until told to stop: closing the time window without accepting
// must then send the break.
bool BreakOnTimeDialogRejected(const DeviceHeader& h);

// --- Object type from the key-to-loop table -------------------------------

// OBJ_COMPLEX when some key row differs between the examined loops, else
// OBJ_SIMPLE. The examined loops are 1-based numbers from s to loopCount
// (s = 2 when the technological loop is loop 1, else 1), without the
// technological loop. A loop count above the table is cut to it; one below 1
// examines nothing.
int InferObjectType(const ZonesConfig& zones, const ExtraOptions& extra);

// --- Progress bar of programming and memory reads -------------------------

inline constexpr int kProgressInitialMaximum = 1023;
inline constexpr int kProgrammingMaximumOld = 700;
inline constexpr int kProgrammingMaximumNew = 800;  // 19.04.2012 with a build
inline constexpr int kServiceProgressMaximum = 700; // reset by test and keys windows
inline constexpr const char* kReadFormat = "Чтение памяти прибора %p%";
inline constexpr const char* kProgrammingFormat = "Программирование %p%";

// The programming bar's maximum for the chosen firmware.
int ProgrammingMaximum(const DeviceHeader& h);

// The state of the main window's progress bar, driven by the link's
// (reset, read, value) steps. The window copies value, maximum, textVisible
// and format into its bar after each step.
class ProgressBarModel {
public:
    // What a step asks to pass on to the setup wizard.
    struct Relay {
        int increment = 0;
        int maximum = 0;
    };

    int value() const { return value_; }
    int maximum() const { return maximum_; }
    bool textVisible() const { return textVisible_; }
    QString format() const { return format_; }

    // One step as the link reports it. The result is what the wizard is sent
    // (only while it is active; never for a reset).
    std::optional<Relay> step(bool reset, bool read, int value, const DeviceHeader& h,
                              bool wizardActive);

private:
    void advance(int increment);

    int value_ = 0;
    int maximum_ = kProgressInitialMaximum;
    bool textVisible_ = false;
    QString format_ = QStringLiteral("%p%");
};

// --- Port toggle: reports, labels, the action's look ---------------------

// The int of the main window's port-status signal to the setup wizard.
namespace portstatus {
inline constexpr int kOpened = 0;
inline constexpr int kClosed = 1;
inline constexpr int kOpenFailed = 2;
} // namespace portstatus

// A status code and its one argument, as the main window logs it.
struct StatusReport {
    int code = 0;
    QVariant argument;
};

// 110 with the COM number / 112 with the USB device text.
StatusReport PortOpenedReport(bool com, int comNumber, const QString& usbText);
// 310 with the system error code as decimal text / 311 with the USB text.
StatusReport PortOpenFailedReport(bool com, qulonglong errorCode, const QString& usbText);
// 111 with the COM number / 113 with the USB text. `com` is the kind of the
// port that was open, not of the current port choice.
StatusReport PortClosedReport(bool com, int comNumber, const QString& usbText);

// The status bar's connection label for a chosen COM port / USB device.
QString ComPortLabel(int comNumber);
QString UsbPortLabel(const QString& usbListText);

// The toggle action shows what its next trigger does.
struct PortActionLook {
    QString text; // also the status tip
    QString icon;
};
PortActionLook PortActionLookFor(bool portOpen);

// --- Rows of lists refilled from the settings ------------------------------

// The row to select after refilling a list of `count` rows: `row` when it is
// below the count, else the last row; -1 (no row) for an empty list or a
// negative row.
int RowBelowCountOrLast(int row, int count);
