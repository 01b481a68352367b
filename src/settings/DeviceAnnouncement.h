#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

class DeviceSettings;
struct DeviceHeader;

// Status codes the main window logs around a device's announcement.
inline constexpr int kStatusDeviceReady = 100;        // model name, date, build
inline constexpr int kStatusVersionUnsupported = 212; // model name, version
inline constexpr int kStatusModelUnsupported = 213;   // model code

// What a device's ready packet (model code, firmware date text, build) asks
// the main window to do.
enum class AnnouncementKind {
    Reset,        // code 0 and build 0: the link lost the device; clear the mark
    UnknownModel, // a model code outside the table: status 213 with the code
    Device,       // a known model: look for lookupText among the version rows
};

struct DeviceAnnouncement {
    AnnouncementKind kind = AnnouncementKind::Reset;
    int modelCode = 0;
    int build = 0;
    // DEV_TYPE of a known model, written into the header at once; -1 otherwise.
    int deviceType = -1;
    // The version row to look for: the date text with its build suffix.
    QString lookupText;
    // The version as the device reported it ("date" or "date/build"): the
    // second argument of status 212, so the user sees what is unsupported.
    QString announcedVersion;
};

// The announcement's decision without any window. A version text that is not
// a date counts as earlier than every release.
DeviceAnnouncement InterpretAnnouncement(const QString& version, quint8 code, quint8 build);

// DEV_TYPE for a model code at a firmware date and build; -1 for a code that
// names no supported model (0 and 5..255).
int DeviceTypeOfModel(quint8 code, const QDate& firmware, quint8 build);

// "/n" when the release and build name a row of the version list that carries
// a build, else empty.
QString VersionBuildSuffix(const QDate& firmware, quint8 build);

// The version text with its build suffix: the text of the row to look for.
QString VersionLookupText(const QString& version, quint8 build);

// The row whose text equals text exactly (case-sensitive); -1 when none.
int FindVersionRow(const QStringList& rows, const QString& text);

// Takes a version row ("dd.MM.yyyy" or "dd.MM.yyyy/n") into the header: date,
// sub-version (1 for a bare date or a build that is not a number) and the
// row's index.
void ApplyVersionRow(DeviceHeader& header, const QString& rowText, int row);

// The device families: default settings file, looked up in the working
// directory and never written; loops of the model. Empty / 0 outside 0..3.
QString FamilyDefaultFile(int devType);
int FamilyLoopCount(int devType);
bool IsKnownDeviceType(int devType);

// The model part of a family change: deviceType := devType, and for a known
// family its loop count. Returns whether the family is known (only then are
// the default loop scales read from its default file).
bool SetDeviceType(DeviceSettings& settings, int devType);
