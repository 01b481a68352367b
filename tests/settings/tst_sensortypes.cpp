#include "settings/SensorTypes.h"
#include "settings/TextCodec.h"
#include "support/Files.h"

#include <QtEndian>
#include <QtTest>

#include <optional>

#include <cstring>

namespace {

// A sensor type file as the calibration tool writes it; value(k) fills the
// table, `size` cuts or extends the file.
QByteArray sensorFile(quint8 a, quint8 b, const QByteArray& name, const QByteArray& unit,
                      double (*value)(int), int size = sensorfile::kFullSize) {
    QByteArray bytes(qMax(size, sensorfile::kFullSize), '\0');
    bytes[sensorfile::kCodeA] = char(a);
    bytes[sensorfile::kCodeB] = char(b);
    bytes[2] = char(0x55); // bytes nobody reads
    bytes.replace(sensorfile::kNameOffset, name.size(), name);
    bytes[130] = char(0x55);
    bytes.replace(sensorfile::kUnitOffset, unit.size(), unit);
    for (int k = 0; k < kAdcCodes; ++k) {
        const double v = value(k);
        quint64 raw;
        std::memcpy(&raw, &v, sizeof raw);
        qToLittleEndian(raw, bytes.data() + sensorfile::kTableOffset + 8 * k);
    }
    return bytes.left(size);
}

double linear(int k) {
    return k * 0.5 - 40;
}
double squared(int k) {
    return double(k) * k;
}

} // namespace

class TstSensorTypes : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void codeAndTexts();
    void parse_data();
    void parse();
    void scanFolder();
    void scanStates();
    void scaleLabels_data();
    void scaleLabels();
    void scaleCutting_data();
    void scaleCutting();

private:
    std::optional<TempWorkDir> dir_;
};

void TstSensorTypes::init() {
    dir_.emplace();
    QVERIFY(dir_->isValid());
}

void TstSensorTypes::cleanup() {
    dir_.reset();
}

void TstSensorTypes::codeAndTexts() {
    // B below 0x80: A x 256 + B; else B - 256 (A does not count).
    const int codes[][3] = {
        {0, 0x7F, 127}, {2, 5, 517}, {0xFF, 0x7F, 65407}, {0x12, 0x80, -128}, {0, 0xFF, -1}};
    for (const auto& c : codes)
        QCOMPARE(SensorTypeCode(quint8(c[0]), quint8(c[1])), c[2]);
    QCOMPARE(SensorTextField(QByteArray("xABC\0DEF", 8), 1, 6), QString("ABC"));
    QCOMPARE(SensorTextField("xABCDEFG", 1, 3), QString("ABC"));
    QCOMPARE(SensorTextField(ToCp1251("xДавление"), 1, 127), QString("Давление"));
    QCOMPARE(SensorTextField("xAB", 1, 127), QString("AB"));
    QCOMPARE(SensorTextField("xAB", 5, 10), QString());
}

void TstSensorTypes::parse_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("texts");  // name|unit; empty: refused
    const QByteArray longName(200, 'N'); // runs into the bytes after the field
    QTest::newRow("full") << sensorFile(0, 7, ToCp1251("Температура"), ToCp1251("°C"), linear)
                          << "Температура|°C";
    QTest::newRow("name fills its field")
        << sensorFile(0, 7, longName.left(127) + 'Z', "V", linear) << QString(127, 'N') + "|V";
    QTest::newRow("longer, first values kept")
        << sensorFile(1, 2, "P", "bar", linear, sensorfile::kFullSize + 100) << "P|bar";
    QTest::newRow("one value short")
        << sensorFile(1, 2, "P", "bar", linear, sensorfile::kFullSize - 8) << "";
    QTest::newRow("header only") << sensorFile(1, 2, "P", "bar", linear, 451) << "";
    QTest::newRow("empty") << QByteArray() << "";
}

void TstSensorTypes::parse() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, texts);
    SensorRecord r;
    r.index = 9;
    r.code = 42;
    QCOMPARE(ParseSensorFile(bytes, r), !texts.isEmpty());
    QCOMPARE(r.index, 9);
    if (texts.isEmpty()) {
        QCOMPARE(r.code, 42);
        QVERIFY(r.name.isEmpty() && r.table.isEmpty());
        return;
    }
    QCOMPARE(r.code, SensorTypeCode(quint8(bytes[0]), quint8(bytes[1])));
    QCOMPARE(r.name + '|' + r.unit, texts);
    QCOMPARE(r.table.size(), kAdcCodes);
    for (int k : {0, 1, 511, 1023})
        QCOMPARE(r.table[k], linear(k));
}

void TstSensorTypes::scanFolder() {
    QVERIFY(QDir().mkdir("sensors"));
    QVERIFY(WriteAll("sensors/sensor_type_a.dat", sensorFile(0, 10, "A", "V", linear)));
    QVERIFY(WriteAll("sensors/Sensor_type_b.dat", sensorFile(0, 0x90, "B", "%", squared)));
    QVERIFY(WriteAll("sensors/sensor_type_c.dat", sensorFile(0, 11, "C", "K", linear, 451)));
    QVERIFY(WriteAll("sensors/sensor_type_d.dat", sensorFile(0, 12, "D", "m", squared)));
    QVERIFY(WriteAll("sensors/x_after.dat", sensorFile(0, 13, "X", "", linear)));
    QVERIFY(WriteAll("sensors/zz_type.dat", sensorFile(0, 14, "Z", "", linear)));
    QVERIFY(WriteAll("sensors/notes.txt", "not a sensor"));

    QVector<SensorRecord> sensors;
    QStringList refused;
    QCOMPARE(LoadSensorTypes(sensors, "sensors", &refused), SensorScan::Scanned);
    // Capitals sort first; the short file is refused; the scan stops at "x_".
    QCOMPARE(refused, QStringList{"sensor_type_c.dat"});
    QCOMPARE(sensors.size(), 3);
    const QStringList names{"B", "A", "D"};
    const QList<int> codes{-112, 10, 12};
    for (int i = 0; i < sensors.size(); ++i) {
        QCOMPARE(sensors[i].index, i);
        QCOMPARE(sensors[i].name, names[i]);
        QCOMPARE(sensors[i].code, codes[i]);
    }
    QCOMPARE(sensors[0].table[1023], squared(1023));

    // Appends to what is there.
    QCOMPARE(LoadSensorTypes(sensors), SensorScan::Scanned);
    QCOMPARE(sensors.size(), 6);
    QCOMPARE(sensors[3].index, 3);
}

void TstSensorTypes::scanStates() {
    QVector<SensorRecord> sensors;
    QCOMPARE(LoadSensorTypes(sensors), SensorScan::NoFolder);
    QVERIFY(QDir().mkdir("sensors"));
    QVERIFY(WriteAll("sensors/readme.txt", "x"));
    QCOMPARE(LoadSensorTypes(sensors), SensorScan::NoFiles);
    // A folder matching the filter is an entry but not a file.
    QVERIFY(QDir().mkdir("sensors/old.dat"));
    QCOMPARE(LoadSensorTypes(sensors), SensorScan::Scanned);
    // A name without the prefix first stops the scan before any file.
    QVERIFY(WriteAll("sensors/A_type.dat", sensorFile(0, 1, "A", "", linear)));
    QVERIFY(WriteAll("sensors/sensor_type_1.dat", sensorFile(0, 1, "A", "", linear)));
    QCOMPARE(LoadSensorTypes(sensors), SensorScan::Scanned);
    QVERIFY(sensors.isEmpty());
}

void TstSensorTypes::scaleLabels_data() {
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("loop");
    QTest::addColumn<uint>("sensorType");
    QTest::addColumn<QStringList>("labels");
    const QStringList adc{"0", "256", "512", "768", "1023"};
    QTest::newRow("first record") << 2 << 0 << 0u
                                  << QStringList{"-40 V", "88 V", "216 V", "344 V", "471.5 V"};
    QTest::newRow("second record, last loop")
        << 2 << 7 << 1u << QStringList{"0 %", "65536 %", "26214 %", "58982 %", "1.04653e+06 %"};
    QTest::newRow("no records") << 0 << 0 << 0u << adc;
    QTest::newRow("type past the list") << 2 << 3 << 2u << adc;
    QTest::newRow("huge type") << 2 << 3 << 0xFFFFFFFFu << adc;
    QTest::newRow("loop out of range") << 2 << 8 << 0u << adc;
    QTest::newRow("record without table") << 3 << 1 << 2u << adc;
}

void TstSensorTypes::scaleLabels() {
    QFETCH(int, records);
    QFETCH(int, loop);
    QFETCH(uint, sensorType);
    QFETCH(QStringList, labels);
    LoopLimits limits;
    SensorRecord r;
    for (int i = 0; i < records; ++i) {
        const bool withTable = i < 2;
        if (withTable)
            QVERIFY(ParseSensorFile(
                sensorFile(0, quint8(i), "S", i ? "%" : "V", i ? squared : linear), r));
        else
            r = SensorRecord{};
        r.index = i;
        limits.sensors.append(r);
    }
    if (loop >= 0 && loop < kLoops)
        limits.sensorType[loop] = sensorType;
    QCOMPARE(SensorScaleLabels(limits, loop), labels);
}

// The three inner labels stand in narrow columns and are cut to five
// characters, exponent and all; the outer two keep the whole value.
void TstSensorTypes::scaleCutting_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("outer");
    QTest::addColumn<QString>("inner");
    QTest::newRow("fraction cut") << 1234.56 << "V"
                                  << "1234.56 V"
                                  << "1234. V";
    QTest::newRow("exponent cut") << 1.5e8 << "Pa"
                                  << "1.5e+08 Pa"
                                  << "1.5e+ Pa";
    QTest::newRow("six digits") << 99999.5 << "V"
                                << "99999.5 V"
                                << "99999 V";
    QTest::newRow("short negative") << -55.0 << "°C"
                                    << "-55 °C"
                                    << "-55 °C";
    QTest::newRow("short fraction") << 0.152 << "A"
                                    << "0.152 A"
                                    << "0.152 A";
    QTest::newRow("no unit") << 7.0 << ""
                             << "7 "
                             << "7 ";
}

void TstSensorTypes::scaleCutting() {
    QFETCH(double, value);
    QFETCH(QString, unit);
    QFETCH(QString, outer);
    QFETCH(QString, inner);
    SensorRecord r;
    r.unit = unit;
    r.table.fill(value, kAdcCodes);
    const QVector<SensorRecord> sensors{SensorRecord{}, r};
    QCOMPARE(SensorScaleTexts(sensors, 1), (QStringList{outer, inner, inner, inner, outer}));
    // The value fields take the whole text and cut it themselves.
    QCOMPARE(SensorCodeText(sensors, 1, 512), outer.left(outer.size() - unit.size() - 1));
    QCOMPARE(SensorCodeText(sensors, 1, kAdcCodes), QStringLiteral("1024"));
    QCOMPARE(SensorCodeText(sensors, 0, 5), QStringLiteral("5"));
}

QTEST_GUILESS_MAIN(TstSensorTypes)
#include "tst_sensortypes.moc"
