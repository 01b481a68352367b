// Sensor type files of any content in a "sensors" folder, the scan that
// loads them, the scale labels, and a settings file naming their codes.

#include "FuzzSupport.h"

#include "settings/DeviceSettings.h"
#include "settings/SensorTypes.h"
#include "settings/SettingsIniFile.h"
#include "support/Files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QString dir = FuzzWorkDir();
    static const QString folder = dir + "/sensors";
    QDir(folder).removeRecursively();
    QDir(dir).mkdir("sensors");
    FuzzInput in(data, size);
    const int files = in.below(4);
    QList<QByteArray> contents;
    for (int i = 0; i < files; ++i) {
        // A head from the input; a set flag stretches it over the whole table
        // (a file the scan takes), give or take a byte.
        const int flags = in.byte();
        QByteArray bytes = in.take(in.byte() * 4);
        if ((flags & 1) && !bytes.isEmpty()) {
            const int want = sensorfile::kFullSize + (flags >> 1) % 3 - 1;
            while (bytes.size() < want)
                bytes += bytes.left(want - int(bytes.size()));
        }
        contents << bytes;
        if (!WriteAll(QString("%1/sensor_type_%2.dat").arg(folder).arg(i), bytes))
            return 0;
    }

    QVector<SensorRecord> sensors;
    QStringList refused;
    const SensorScan scan = LoadSensorTypes(sensors, folder, &refused);
    FUZZ_CHECK(scan == (files ? SensorScan::Scanned : SensorScan::NoFiles), "scan result");
    FUZZ_CHECK(sensors.size() + refused.size() == files, "a file neither taken nor refused");
    int taken = 0;
    for (int i = 0; i < files; ++i) {
        const QByteArray& bytes = contents.at(i);
        const bool full = bytes.size() >= sensorfile::kFullSize;
        SensorRecord r;
        FUZZ_CHECK(ParseSensorFile(bytes, r) == full, "a file taken by its size only");
        if (!full)
            continue;
        const SensorRecord& got = sensors.at(taken);
        FUZZ_CHECK(got.index == taken, "a record's index is not its position");
        FUZZ_CHECK(got.code == SensorTypeCode(quint8(bytes.at(0)), quint8(bytes.at(1))),
                   "a record's code");
        FUZZ_CHECK(got.table.size() == kAdcCodes, "a table of another size");
        FUZZ_CHECK(got.name.size() <= sensorfile::kNameLength, "a name past its field");
        ++taken;
    }

    // A settings file naming a code: the first record with it is the type.
    LoopLimits limits;
    limits.sensors = sensors;
    for (int loop = 0; loop < kLoops; ++loop) {
        limits.sensorType[loop] = u32(in.byte());
        FUZZ_CHECK(SensorScaleLabels(limits, loop).size() == 5, "five scale labels");
    }
    const int code = sensors.isEmpty() ? in.byte() : sensors.at(in.below(int(sensors.size()))).code;
    const QString ini = dir + "/types.ini";
    WriteAll(ini, "[adc]\nshl1min=1\n[typeShl]\nshl1=" + QByteArray::number(code) + "\n");
    DeviceSettings s;
    SetDefaultSettings(&s, false);
    s.loopLimits->sensors = sensors;
    FUZZ_CHECK(LoadSettingsFile(ini, &s), "a settings file with levels refused");
    int first = -1;
    for (const SensorRecord& r : sensors)
        if (first < 0 && r.code == code)
            first = r.index;
    FUZZ_CHECK(int(s.loopLimits->sensorType[0]) == qMax(0, first), "a code read as another type");
    return 0;
}
