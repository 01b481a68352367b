#include "settings/SensorTypes.h"
#include "settings/TextCodec.h"

#include <QtEndian>
#include <QtTest>

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

bool writeFile(const QString& name, const QByteArray& bytes) {
    QFile f(name);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

class TstSensorTypes : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void typeCode_data();
    void typeCode();
    void textField_data();
    void textField();
    void parse_data();
    void parse();
    void scanFolder();
    void scanStates();
    void scaleLabels_data();
    void scaleLabels();

private:
    QTemporaryDir* dir_ = nullptr;
    QString oldCwd_;
};

void TstSensorTypes::init() {
    oldCwd_ = QDir::currentPath();
    dir_ = new QTemporaryDir;
    QVERIFY(dir_->isValid());
    QVERIFY(QDir::setCurrent(dir_->path()));
}

void TstSensorTypes::cleanup() {
    QDir::setCurrent(oldCwd_);
    delete dir_;
    dir_ = nullptr;
}

void TstSensorTypes::typeCode_data() {
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("code");
    QTest::newRow("zero") << 0 << 0 << 0;
    QTest::newRow("low byte only") << 0 << 0x7F << 127;
    QTest::newRow("both bytes") << 2 << 5 << 517;
    QTest::newRow("high A") << 0xFF << 0x7F << 65407;
    QTest::newRow("negative, A ignored") << 0x12 << 0x80 << -128;
    QTest::newRow("minus one") << 0 << 0xFF << -1;
}

void TstSensorTypes::typeCode() {
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(int, code);
    QCOMPARE(SensorTypeCode(quint8(a), quint8(b)), code);
}

void TstSensorTypes::textField_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("text");
    QTest::newRow("ended by zero") << QByteArray("xABC\0DEF", 8) << 1 << 6 << "ABC";
    QTest::newRow("fills field") << QByteArray("xABCDEFG") << 1 << 3 << "ABC";
    QTest::newRow("cp1251") << ToCp1251("xДавление") << 1 << 127 << "Давление";
    QTest::newRow("field past end") << QByteArray("xAB") << 1 << 127 << "AB";
    QTest::newRow("offset past end") << QByteArray("xAB") << 5 << 10 << "";
    QTest::newRow("zero first") << QByteArray("x\0AB", 4) << 1 << 3 << "";
}

void TstSensorTypes::textField() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, offset);
    QFETCH(int, length);
    QFETCH(QString, text);
    QCOMPARE(SensorTextField(bytes, offset, length), text);
}

void TstSensorTypes::parse_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("unit");

    const QByteArray longName(200, 'N'); // runs into the bytes after the field
    QTest::newRow("full") << sensorFile(0, 7, ToCp1251("Температура"), ToCp1251("°C"), linear)
                          << true << "Температура"
                          << "°C";
    QTest::newRow("name fills its field") << sensorFile(0, 7, longName.left(127) + 'Z', "V", linear)
                                          << true << QString(127, 'N') << "V";
    QTest::newRow("longer, first values kept")
        << sensorFile(1, 2, "P", "bar", linear, sensorfile::kFullSize + 100) << true << "P"
        << "bar";
    QTest::newRow("one value short")
        << sensorFile(1, 2, "P", "bar", linear, sensorfile::kFullSize - 8) << false << ""
        << "";
    QTest::newRow("one byte short")
        << sensorFile(1, 2, "P", "bar", linear, sensorfile::kFullSize - 1) << false << ""
        << "";
    QTest::newRow("header only") << sensorFile(1, 2, "P", "bar", linear, 451) << false << ""
                                 << "";
    QTest::newRow("one byte") << QByteArray(1, 'x') << false << ""
                              << "";
    QTest::newRow("empty") << QByteArray() << false << ""
                           << "";
}

void TstSensorTypes::parse() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, accepted);
    QFETCH(QString, name);
    QFETCH(QString, unit);
    SensorRecord r;
    r.index = 9;
    r.code = 42;
    QCOMPARE(ParseSensorFile(bytes, r), accepted);
    QCOMPARE(r.index, 9);
    if (!accepted) {
        QCOMPARE(r.code, 42);
        QVERIFY(r.name.isEmpty() && r.table.isEmpty());
        return;
    }
    QCOMPARE(r.code, SensorTypeCode(quint8(bytes[0]), quint8(bytes[1])));
    QCOMPARE(r.name, name);
    QCOMPARE(r.unit, unit);
    QCOMPARE(r.table.size(), kAdcCodes);
    for (int k : {0, 1, 511, 1023})
        QCOMPARE(r.table[k], linear(k));
}

void TstSensorTypes::scanFolder() {
    QVERIFY(QDir().mkdir("sensors"));
    QVERIFY(writeFile("sensors/sensor_type_a.dat", sensorFile(0, 10, "A", "V", linear)));
    QVERIFY(writeFile("sensors/Sensor_type_b.dat", sensorFile(0, 0x90, "B", "%", squared)));
    QVERIFY(writeFile("sensors/sensor_type_c.dat", sensorFile(0, 11, "C", "K", linear, 451)));
    QVERIFY(writeFile("sensors/sensor_type_d.dat", sensorFile(0, 12, "D", "m", squared)));
    QVERIFY(writeFile("sensors/x_after.dat", sensorFile(0, 13, "X", "", linear)));
    QVERIFY(writeFile("sensors/zz_type.dat", sensorFile(0, 14, "Z", "", linear)));
    QVERIFY(writeFile("sensors/notes.txt", "not a sensor"));

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
    QVERIFY(writeFile("sensors/readme.txt", "x"));
    QCOMPARE(LoadSensorTypes(sensors), SensorScan::NoFiles);
    // A folder matching the filter is an entry but not a file.
    QVERIFY(QDir().mkdir("sensors/old.dat"));
    QCOMPARE(LoadSensorTypes(sensors), SensorScan::Scanned);
    // A name without the prefix first stops the scan before any file.
    QVERIFY(writeFile("sensors/A_type.dat", sensorFile(0, 1, "A", "", linear)));
    QVERIFY(writeFile("sensors/sensor_type_1.dat", sensorFile(0, 1, "A", "", linear)));
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
        << 2 << 7 << 1u << QStringList{"0 %", "65536 %", "262144 %", "589824 %", "1.04653e+06 %"};
    QTest::newRow("no records") << 0 << 0 << 0u << adc;
    QTest::newRow("type past the list") << 2 << 3 << 2u << adc;
    QTest::newRow("huge type") << 2 << 3 << 0xFFFFFFFFu << adc;
    QTest::newRow("loop out of range") << 2 << 8 << 0u << adc;
    QTest::newRow("negative loop") << 2 << -1 << 0u << adc;
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

QTEST_GUILESS_MAIN(TstSensorTypes)
#include "tst_sensortypes.moc"
