// The test window: what each test packet changes, the commands it queues,
// rows and signals by model, and a whole run against the simulated device.

#include "../app/DeviceFixture.h"

#include "link/Protocol.h"
#include "service/TestPrib.h"
#include "settings/DeviceSettings.h"
#include "settings/Firmware.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLCDNumber>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QSlider>
#include <QTimer>

namespace {

template <class W> W* Child(const QWidget& w, const QString& name) {
    return w.findChild<W*>(name);
}
QColor Led(const QWidget& w, int n) {
    return Child<QWidget>(w, QStringLiteral("wLed%1").arg(n))->palette().color(QPalette::Window);
}
QString Reading(const QWidget& w, int n) {
    return Child<QLineEdit>(w, QStringLiteral("LeShl%1").arg(n))->text();
}

SensorRecord TenthSensor() {
    SensorRecord r;
    r.name = QStringLiteral("Датчик");
    r.unit = QStringLiteral("мА");
    for (int k = 0; k < kAdcCodes; ++k)
        r.table << k / 10.0 - 12.34567;
    return r;
}

} // namespace

class TestTestPrib : public QObject {
    Q_OBJECT

private slots:
    void init();
    void layoutByModel_data();
    void layoutByModel();
    void lPacket_data();
    void lPacket();
    void readingsAndColours();
    void shortAndOddPackets_data();
    void shortAndOddPackets();
    void touchMemoryGroup();
    void wholeRun();

private:
    DeviceSettings settings;
};

void TestTestPrib::init() {
    settings = DeviceSettings();
    SetDefaultSettings(&settings, false);
    g_deviceSettings = &settings;
}

void TestTestPrib::layoutByModel_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QList<int>>("commands"); // index 0, a middle index, the last index
    QTest::newRow("4 loops") << 0 << 4 << QList<int>{19, 27, 38};
    QTest::newRow("8 loops") << 1 << 8 << QList<int>{19, 27, 42};
    QTest::newRow("second family") << 2 << 7 << QList<int>{19, 27, 40};
    QTest::newRow("second family K") << 3 << 7 << QList<int>{19, 27, 40};
}

// Rows by model (the second family shows its seventh channel) and the
// Touch-Memory commands of the first, an "open" and the last signal.
void TestTestPrib::layoutByModel() {
    QFETCH(int, type);
    QFETCH(int, rows);
    QFETCH(QList<int>, commands);
    TestPrib test;
    settings.header->deviceType = type;
    test.CrListSignalsbT(DEV_TYPE(type));
    for (int n = 1; n <= kLoops; ++n) {
        for (const QString& name : {QStringLiteral("LeShl%1"), QStringLiteral("wLed%1"),
                                    QStringLiteral("SlShl%1"), QStringLiteral("lScaleCR_%1")})
            QCOMPARE(Child<QWidget>(test, name.arg(n))->isVisibleTo(&test), n <= rows);
    }
    QVERIFY(Child<QWidget>(test, "LSh1")->isVisibleTo(&test));
    auto* combo = Child<QComboBox>(test, "CbTouchSigs");
    const int loops = TestPrib::LoopsOf(type);
    QCOMPARE(combo->count(), 3 * loops);
    QCOMPARE(combo->itemText(loops), QStringLiteral("Шлейф 1 - открыт"));
    QSignalSpy cmd(&test, &TestPrib::SigSetTestCommand);
    for (int index : {0, loops, combo->count() - 1}) {
        combo->setCurrentIndex(index);
        test.SendTMSignal();
    }
    QCOMPARE(IntArgs(cmd), commands);
}

void TestTestPrib::lPacket_data() {
    QTest::addColumn<int>("supply");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("mains");
    QTest::addColumn<int>("slider");
    QTest::addColumn<QString>("volts");
    QTest::addColumn<int>("keyShown");
    QTest::newRow("supply 0") << 0 << 20 << 1 << 0 << "0" << 20;
    QTest::newRow("supply 100") << 100 << 21 << 0 << 20 << "2.09" << 0;
    QTest::newRow("supply 512") << 512 << 200 << 2 << 107 << "10.7" << -56;
    QTest::newRow("supply 1023") << 1023 << 0 << 1 << 150 << "21.4" << 0;
}

// An "L" packet: supply voltage, key number and mains; a "K" packet leaves
// them alone.
void TestTestPrib::lPacket() {
    QFETCH(int, supply);
    QFETCH(int, key);
    QFETCH(int, mains);
    QFETCH(int, slider);
    QFETCH(QString, volts);
    QFETCH(int, keyShown);
    TestPrib test;
    test.initialize();
    test.ReceptTestPack(false, SimDevice::TestPacketL(0, 0, key, mains, supply));
    QCOMPARE(Child<QSlider>(test, "slNaprPower")->value(), slider);
    QCOMPARE(Child<QLineEdit>(test, "leNaprPower")->text(), volts);
    QCOMPARE(Child<QLCDNumber>(test, "lcdNumKey")->intValue(), keyShown);
    QCOMPARE(Child<QWidget>(test, "frLed220")->isEnabled(), mains == 1);
    QCOMPARE(Child<QLabel>(test, "leNapr220")->text().endsWith(QStringLiteral("присутствует")),
             mains == 1);
    test.ReceptTestPack(true, SimDevice::TestPacketK({1, 2, 3, 4, 5, 6}));
    QCOMPARE(Child<QLineEdit>(test, "leNaprPower")->text(), volts);
    QCOMPARE(Child<QLCDNumber>(test, "lcdNumKey")->intValue(), keyShown);
}

// Indicator colours at the range's edges, readings through a sensor table,
// and codes outside the table shown as they are.
void TestTestPrib::readingsAndColours() {
    for (int i = 0; i < kLoops; ++i) {
        settings.loopLimits->minLevel[size_t(i)] = 300;
        settings.loopLimits->maxLevel[size_t(i)] = 700;
    }
    TestPrib test;
    test.CrListSignalsbT(DEV_D8M);
    test.initialize();
    test.ReceptTestPack(true, SimDevice::TestPacketK({299, 300, 700, 701, 0, 1023}));
    QCOMPARE(Led(test, 1), QColor(Qt::red));
    QCOMPARE(Led(test, 2), QColor(Qt::darkGreen));
    QCOMPARE(Led(test, 3), QColor(Qt::darkGreen));
    QCOMPARE(Led(test, 4), QColor(Qt::yellow));
    QCOMPARE(Led(test, 7), QColor(160, 160, 164)); // untouched by a "K" packet
    QCOMPARE(Reading(test, 6), QStringLiteral("1023"));
    QCOMPARE(Child<QSlider>(test, "SlShl4")->value(), 701);

    settings.loopLimits->sensors = {TenthSensor()};
    test.SetSensorScales();
    QCOMPARE(Reading(test, 1), QStringLiteral("-12.3457")); // code 0, not cut
    test.ReceptTestPack(false, SimDevice::TestPacketL(0, 512, 0, 0, 0));
    QCOMPARE(Reading(test, 7), QStringLiteral("-12.3"));
    QCOMPARE(Reading(test, 8), QStringLiteral("38.85"));
    settings.loopLimits->sensorType[7] = 5; // no such record: the plain code
    test.ReceptTestPack(false, SimDevice::TestPacketL(0, 512, 0, 0, 0));
    QCOMPARE(Reading(test, 8), QStringLiteral("512"));
}

void TestTestPrib::shortAndOddPackets_data() {
    QTest::addColumn<bool>("chet");
    QTest::addColumn<QByteArray>("pack");
    QTest::addColumn<QString>("loop1"); // LeShl1 (or LeShl7) afterwards
    QTest::addColumn<QString>("volts");
    QTest::newRow("K then M") << true << QByteArray("KM") << "0"
                              << "0.00";
    QTest::newRow("K one loop") << true << QByteArray("K\x05\x01M") << "37"
                                << "0.00";
    QTest::newRow("L to key") << false << QByteArray("L\x01\0\0\0\x07M", 7) << "1"
                              << "0.00";
    QTest::newRow("L bytes above 0x7F")
        << false << QByteArray("L\xff\xff\0\0\x05\x01\0\0\xff\xff\xff\0M", 14) << "-1"
        << "-5.3";
    QTest::newRow("empty") << false << QByteArray() << "0"
                           << "0.00";
}

// A short packet changes only what lies before its "M"; bytes above 0x7F are
// read as signed and shown as they come.
void TestTestPrib::shortAndOddPackets() {
    QFETCH(bool, chet);
    QFETCH(QByteArray, pack);
    QFETCH(QString, loop1);
    QFETCH(QString, volts);
    TestPrib test;
    test.CrListSignalsbT(DEV_D8M);
    test.initialize();
    test.ReceptTestPack(chet, pack);
    QCOMPARE(Reading(test, chet ? 1 : 7), loop1);
    QCOMPARE(Child<QLineEdit>(test, "leNaprPower")->text(), volts);
    QCOMPARE(Reading(test, chet ? 2 : 8), QStringLiteral("0"));
}

void TestTestPrib::touchMemoryGroup() {
    TestPrib test;
    SetFirmwareVersion(*settings.header, QStringLiteral("18.04.2012"));
    test.initialize();
    QVERIFY(Child<QWidget>(test, "gbTouchMemoryTest")->isVisibleTo(&test));
    SetFirmwareVersion(*settings.header, QStringLiteral("19.04.2012/1"));
    test.initialize();
    QVERIFY(!Child<QWidget>(test, "gbTouchMemoryTest")->isVisibleTo(&test));
}

// Through the main window and the link: D7 00, packets shown, commands after
// the next packet, AD 00 and 122/123 once on leaving.
void TestTestPrib::wholeRun() {
    DeviceFixture fx;
    QVERIFY(fx.open());
    QVERIFY(fx.connect(3, QDate(2010, 12, 3), 33)); // Дорна-8М
    fx.sim.SetTestPackets({SimDevice::TestPacketK({10, 20, 30, 40, 50, 60}),
                           SimDevice::TestPacketL(70, 80, 5, 1, 512)});
    auto* test = fx.main->findChild<TestPrib*>();
    const int before = fx.rows();
    bool checked = false;
    QTimer::singleShot(0, test, [&] {
        // However the checks end, the window closes and the run goes on.
        const auto leave = qScopeGuard([&] { Child<QPushButton>(*test, "pbCancel")->click(); });
        QVERIFY(QTest::qWaitFor([&] { return Reading(*test, 8) == "80"; }, 5000));
        QCOMPARE(Reading(*test, 1), QStringLiteral("10"));
        QCOMPARE(Child<QLCDNumber>(*test, "lcdNumKey")->intValue(), 5);
        QVERIFY(Child<QWidget>(*test, "frLed220")->isEnabled());
        Child<QPushButton>(*test, "pbSirena")->click();
        Child<QPushButton>(*test, "pbLight")->click();
        auto* signal = Child<QComboBox>(*test, "CbTouchSigs");
        signal->setCurrentIndex(signal->count() - 1);
        Child<QPushButton>(*test, "pbSendSignal")->click();
        QVERIFY(QTest::qWaitFor(
            [&] { return fx.sim.Received().contains(QByteArray::fromHex("2a00")); }, 5000));
        checked = true;
    });
    fx.action("actTest")->trigger();
    QVERIFY(checked);
    const QByteArray got = fx.sim.Received();
    QVERIFY(got.contains(QByteArray::fromHex("d700")));
    const int siren = int(got.indexOf(QByteArray::fromHex("c600")));
    const int light = int(got.indexOf(QByteArray::fromHex("c200")));
    QVERIFY(siren > 0 && light > siren);
    QVERIFY(fx.sim.WaitUntil(
        [&] { return fx.sim.Received().contains(QByteArray::fromHex("ad00")); }, 3000));
    QCOMPARE(fx.codes(before).count(122), 1);
    QCOMPARE(fx.codes(before).count(123), 1);
}

QTEST_MAIN(TestTestPrib)
#include "tst_testprib.moc"
