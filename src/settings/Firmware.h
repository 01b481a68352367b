#pragma once

#include <QDate>
#include <QString>

struct DeviceHeader;

// Release dates that gate fields, pages, section layouts and link rules.
namespace fw {
inline constexpr const char* k21_09_2009 = "21.09.2009";
inline constexpr const char* k27_11_2009 = "27.11.2009";
inline constexpr const char* k18_12_2009 = "18.12.2009";
inline constexpr const char* k19_12_2009 = "19.12.2009";
inline constexpr const char* k28_01_2010 = "28.01.2010";
inline constexpr const char* k17_02_2010 = "17.02.2010";
inline constexpr const char* k26_03_2010 = "26.03.2010";
inline constexpr const char* k15_04_2010 = "15.04.2010";
inline constexpr const char* k05_06_2010 = "05.06.2010";
inline constexpr const char* k07_06_2010 = "07.06.2010";
inline constexpr const char* k16_08_2010 = "16.08.2010";
inline constexpr const char* k01_12_2010 = "01.12.2010";
inline constexpr const char* k03_12_2010 = "03.12.2010";
inline constexpr const char* k19_04_2012 = "19.04.2012";
inline constexpr const char* k09_05_2012 = "09.05.2012";
inline constexpr const char* k16_05_2012 = "16.05.2012";
inline constexpr const char* k18_12_2018 = "18.12.2018";
// The camera table exists only on the 03.12.2010 release above this build.
inline constexpr int kCameraMinSubVersionExclusive = 30;
} // namespace fw

// "dd.MM.yyyy" to a date; a null date when the text does not match.
QDate StrToDate(const QString& text);

// Julian day as the gates compare it: unsigned, 0 for a null date, so a
// missing firmware date is earlier than every release.
quint32 GateDay(const QDate& date);

// Sets firmwareDate and firmwareSubVersion from a version text such as
// "19.04.2012/45". A short or malformed text gives a null date (every gate
// closed); a part after the separator that is not a number gives 1.
void SetFirmwareVersion(DeviceHeader& header, const QString& versionText);

// The comparison senses. `release` is a "dd.MM.yyyy" text (see fw::).
bool FwLaterThan(const QDate& firmware, const char* release);
bool FwOnOrAfter(const QDate& firmware, const char* release);
bool FwEquals(const QDate& firmware, const char* release);
bool FwEqualsWithSubAbove(const QDate& firmware, int subVersion, const char* release,
                          int minSubExclusive);

bool FwLaterThan(const DeviceHeader& h, const char* release);
bool FwOnOrAfter(const DeviceHeader& h, const char* release);
bool FwEquals(const DeviceHeader& h, const char* release);
// The camera-table gate: the exact 03.12.2010 release with sub-version > 30.
bool FwHasCameras(const DeviceHeader& h);
