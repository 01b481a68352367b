#include "settings/SensorTypes.h"

#include "settings/TextCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <cstring>

using namespace sensorfile;

qint32 SensorTypeCode(quint8 a, quint8 b) {
    if (b < 0x80)
        return qint32(a) * 256 + b;
    return qint32(b) - 256;
}

QString SensorTextField(const QByteArray& bytes, int offset, int length) {
    if (offset < 0 || length <= 0 || offset >= bytes.size())
        return {};
    QByteArray field = bytes.mid(offset, length);
    const int zero = field.indexOf('\0');
    if (zero >= 0)
        field.truncate(zero);
    return FromCp1251(field);
}

bool ParseSensorFile(const QByteArray& bytes, SensorRecord& record) {
    if (bytes.size() < kFullSize)
        return false;
    record.code = SensorTypeCode(quint8(bytes.at(kCodeA)), quint8(bytes.at(kCodeB)));
    record.name = SensorTextField(bytes, kNameOffset, kNameLength);
    record.unit = SensorTextField(bytes, kUnitOffset, kUnitLength);
    record.table.resize(kAdcCodes);
    const char* p = bytes.constData() + kTableOffset;
    for (int k = 0; k < kAdcCodes; ++k, p += kValueSize) {
        const quint64 raw = qFromLittleEndian<quint64>(p);
        double value;
        static_assert(sizeof value == sizeof raw, "sensor values are 64-bit doubles");
        std::memcpy(&value, &raw, sizeof value);
        record.table[k] = value;
    }
    return true;
}

bool IsSensorTypeFileName(const QString& fileName) {
    const QString head = fileName.left(12);
    return head == QLatin1String("sensor_type_") || head == QLatin1String("Sensor_type_");
}

SensorScan LoadSensorTypes(QVector<SensorRecord>& sensors, const QString& folder,
                           QStringList* refused) {
    QDir dir(folder);
    if (!dir.exists())
        return SensorScan::NoFolder;
    // One listing serves both questions: is there any "*.dat" entry at all,
    // and which of them are files to read.
    const QFileInfoList entries = dir.entryInfoList(
        {QStringLiteral("*.dat")}, QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
    if (entries.isEmpty())
        return SensorScan::NoFiles;

    for (const QFileInfo& entry : entries) {
        if (!entry.isFile())
            continue;
        const QString name = entry.fileName();
        if (!IsSensorTypeFileName(name))
            break;
        QFile f(entry.filePath());
        SensorRecord record;
        if (!f.open(QIODevice::ReadOnly) || !ParseSensorFile(f.readAll(), record)) {
            if (refused)
                refused->append(name);
            continue;
        }
        record.index = sensors.size();
        sensors.append(record);
    }
    return SensorScan::Scanned;
}

const SensorRecord* SensorAt(const QVector<SensorRecord>& sensors, qint64 sensor) {
    if (sensor < 0 || sensor >= sensors.size())
        return nullptr;
    const SensorRecord& record = sensors.at(int(sensor));
    return record.table.size() >= kAdcCodes ? &record : nullptr;
}

QString SensorCodeText(const QVector<SensorRecord>& sensors, qint64 sensor, int code) {
    const SensorRecord* record = SensorAt(sensors, sensor);
    if (!record || code < 0 || code >= kAdcCodes)
        return QString::number(code);
    return QString::number(record->table.at(code), 'g', 6);
}

QStringList SensorScaleTexts(const QVector<SensorRecord>& sensors, qint64 sensor) {
    const SensorRecord* record = SensorAt(sensors, sensor);
    QStringList texts;
    for (int code : kSensorScaleCodes) {
        if (!record) {
            texts.append(QString::number(code));
            continue;
        }
        QString text = SensorCodeText(sensors, sensor, code);
        if (code != kSensorScaleCodes[0] && code != kAdcCodes - 1)
            text.truncate(5);
        texts.append(text + QLatin1Char(' ') + record->unit);
    }
    return texts;
}

QStringList SensorScaleLabels(const LoopLimits& limits, int loop) {
    const qint64 type = loop >= 0 && loop < kLoops ? qint64(limits.sensorType[size_t(loop)]) : -1;
    return SensorScaleTexts(limits.sensors, type);
}
