#pragma once

#include "settings/DeviceSettings.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// Layout of a sensor type file ("sensors/sensor_type_*.dat").
namespace sensorfile {
inline constexpr int kCodeA = 0; // high byte of a positive code
inline constexpr int kCodeB = 1; // low byte, or a negative code on its own
inline constexpr int kNameOffset = 3;
inline constexpr int kNameLength = 127;
inline constexpr int kUnitOffset = 131;
inline constexpr int kUnitLength = 63;
inline constexpr int kTableOffset = 451;
inline constexpr int kValueSize = 8; // IEEE 754 double, little-endian
inline constexpr int kFullSize = kTableOffset + kValueSize * kAdcCodes; // 8643
} // namespace sensorfile

inline constexpr const char* kSensorsFolder = "sensors";

// The type code of bytes A and B: A x 256 + B while B is below 0x80, else
// B - 256 (a negative code; A does not count).
qint32 SensorTypeCode(quint8 a, quint8 b);

// A fixed-width text field in Windows-1251, ended by its first zero byte.
// Reads only inside `bytes`.
QString SensorTextField(const QByteArray& bytes, int offset, int length);

// Parses one file's bytes into a record (index left to the caller). A file
// too short to hold its whole table is refused: false, the record untouched.
// A longer file gives its first kAdcCodes values.
bool ParseSensorFile(const QByteArray& bytes, SensorRecord& record);

// Whether a listed file name takes part in the scan; the scan stops at the
// first name that does not ("sensor_type_" / "Sensor_type_", case-sensitive).
bool IsSensorTypeFileName(const QString& fileName);

enum class SensorScan {
    NoFolder, // the folder is missing: nothing to tell the loop-limits page
    NoFiles,  // no "*.dat" entry: the page is told (its list stays empty)
    Scanned,  // the listing was scanned: the page is told
};

// Scans `folder` and appends one record per accepted file to `sensors`.
// Files are taken in sorted name order up to the first name without the
// sensor prefix. A file that cannot be read or is shorter than its table is
// refused and named in `refused`; it takes no place in the list, so that
// every record's index stays its position in `sensors` (the position is what
// loop sensor types and settings files refer to).
SensorScan LoadSensorTypes(QVector<SensorRecord>& sensors,
                           const QString& folder = QString::fromLatin1(kSensorsFolder),
                           QStringList* refused = nullptr);

// ADC codes at which a loop's scale is labelled.
inline constexpr int kSensorScaleCodes[5] = {0, 256, 512, 768, 1023};

// The record at position `sensor` of `sensors` when it is loaded with a full
// table; nullptr for any other position (a type from another machine's file).
const SensorRecord* SensorAt(const QVector<SensorRecord>& sensors, qint64 sensor);

// What ADC code `code` reads under the sensor at position `sensor`: the
// record's value in the general format with 6 significant digits, or the
// code itself when the position selects no loaded record or the code lies
// outside the table.
QString SensorCodeText(const QVector<SensorRecord>& sensors, qint64 sensor, int code);

// The five scale texts of the sensor at position `sensor` at the codes of
// kSensorScaleCodes: each value followed by a blank and the unit, the three
// inner ones cut to 5 characters first (they stand in narrow labels); the
// plain codes when the position selects no loaded record.
QStringList SensorScaleTexts(const QVector<SensorRecord>& sensors, qint64 sensor);

// The five scale labels of loop `loop` (0-based) under its stored sensor type.
QStringList SensorScaleLabels(const LoopLimits& limits, int loop);
