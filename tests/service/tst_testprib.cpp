// The test window: what each test packet changes, rows and signals by model,
// readings through sensor tables, and a whole run against the simulated device.

#include "app/DeviceFixture.h"
#include "support/Modal.h"

#include "pagebase/ParamsPage.h"
#include "service/TestPrib.h"
#include "settings/Firmware.h"

#include <QLCDNumber>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

namespace {
template <class W = QWidget> W* Child(const QWidget& w, const QString& name) {
    return w.findChild<W*>(name);
}
QString Reading(const QWidget& w, int n) {
    return Child<QLineEdit>(w, QStringLiteral("LeShl%1").arg(n))->text();
}
// Everything a packet may change: each loop's reading and indicator (Red,
// Green, Yellow, - idle), supply voltage and its slider, key, mains.
QString Shown(const QWidget& w) {
    QStringList out;
    for (int n = 1; n <= kLoops; ++n) {
        const QColor c =
            Child(w, QStringLiteral("wLed%1").arg(n))->palette().color(QPalette::Window);
        out << Reading(w, n) + (c == Qt::red                 ? "R"
                                : c == Qt::darkGreen         ? "G"
                                : c == Qt::yellow            ? "Y"
                                : c == QColor(160, 160, 164) ? "-"
                                                             : "?");
    }
    const bool mains = Child(w, "frLed220")->isEnabled();
    const bool mainsText = Child<QLabel>(w, "leNapr220")->text().endsWith("присутствует");
    out << "|" << Child<QLineEdit>(w, "leNaprPower")->text()
        << QString::number(Child<QSlider>(w, "slNaprPower")->value()) << "|"
        << QString::number(Child<QLCDNumber>(w, "lcdNumKey")->intValue()) << "|"
        << QString(mains ? "220" : "-") + (mainsText ? "+" : "");
    return out.join(' ');
}
} // namespace

class TestTestPrib : public QObject {
    Q_OBJECT

private slots:
    void init();
    void layoutByModel_data();
    void layoutByModel();
    void packets_data();
    void packets();
    void sensorReadings();
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
    QTest::addColumn<QString>("version");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QList<int>>("commands"); // index 0, a middle index, the last index
    QTest::addColumn<bool>("touchGroup");
    QTest::newRow("4 loops") << 0 << "18.04.2012" << 4 << QList<int>{19, 27, 38} << true;
    QTest::newRow("8 loops") << 1 << "19.04.2012/1" << 8 << QList<int>{19, 27, 42} << false;
    QTest::newRow("second family") << 2 << "18.04.2012" << 7 << QList<int>{19, 27, 40} << true;
    QTest::newRow("second family K") << 3 << "19.04.2012/1" << 7 << QList<int>{19, 27, 40} << false;
}

// Rows by model (the second family shows its seventh channel), the
// Touch-Memory commands of the first, an "open" and the last signal, and the
// Touch-Memory group before 19.04.2012 only.
void TestTestPrib::layoutByModel() {
    QFETCH(int, type);
    QFETCH(QString, version);
    QFETCH(int, rows);
    TestPrib test;
    settings.header->deviceType = type;
    SetFirmwareVersion(*settings.header, version);
    test.CrListSignalsbT(DEV_TYPE(type));
    test.initialize();
    for (int n = 1; n <= kLoops; ++n) {
        for (const char* name : {"LeShl%1", "wLed%1", "SlShl%1", "lScaleCR_%1"})
            QCOMPARE(Child(test, QString::fromLatin1(name).arg(n))->isVisibleTo(&test), n <= rows);
    }
    QVERIFY(Child(test, "LSh1")->isVisibleTo(&test));
    QTEST(Child(test, "gbTouchMemoryTest")->isVisibleTo(&test), "touchGroup");
    auto* combo = Child<QComboBox>(test, "CbTouchSigs");
    const int loops = LoopCountOf(type);
    QCOMPARE(combo->count(), 3 * loops);
    QCOMPARE(combo->itemText(loops), QStringLiteral("Шлейф 1 - открыт"));
    QSignalSpy cmd(&test, &TestPrib::SigSetTestCommand);
    // The header may name another family than the list (a device announcing
    // an unknown version): the commands follow the list shown.
    settings.header->deviceType = (type + 2) % 4;
    for (int index : {0, loops, combo->count() - 1}) {
        combo->setCurrentIndex(index);
        test.SendTMSignal();
    }
    QTEST(IntArgs(cmd), "commands");
}

void TestTestPrib::packets_data() {
    QTest::addColumn<bool>("chet");
    QTest::addColumn<QByteArray>("pack");
    QTest::addColumn<QString>("shown");
    const QString idle = QStringLiteral("0- 0- 0- 0- 0- 0- ");
    auto row = [](const char* name, bool chet, const QByteArray& pack, const QString& shown) {
        QTest::newRow(name) << chet << pack << shown;
    };
    // Every loop's range is 300..700.
    row("K at the range's edges", true, SimDevice::TestPacketK({299, 300, 700, 701, 0, 1023}),
        "299R 300G 700G 701Y 0R 1023Y 0- 0- | 0.00 0 | 0 | -");
    row("L: supply 0, key 20, mains 1", false, SimDevice::TestPacketL(0, 0, 20, 1, 0),
        idle + "0R 0R | 0 0 | 20 | 220+");
    row("L: supply 100, key 21, mains 0", false, SimDevice::TestPacketL(0, 0, 21, 0, 100),
        idle + "0R 0R | 2.09 20 | 0 | -");
    row("L: supply 512, key 200, mains 2", false, SimDevice::TestPacketL(0, 0, 200, 2, 512),
        idle + "0R 0R | 10.7 107 | -56 | -");
    row("L: supply 1023, loops 300 and 701", false, SimDevice::TestPacketL(300, 701, 0, 1, 1023),
        idle + "300G 701Y | 21.4 150 | 0 | 220+");
    // A short packet changes only what lies before its "M"; bytes above 0x7F
    // are read as signed.
    row("K with one loop", true, "K\x05\x01M", "37R 0- 0- 0- 0- 0- 0- 0- | 0.00 0 | 0 | -");
    row("L up to the key", false, QByteArray("L\x01\0\0\0\x07M", 7),
        idle + "1R 0R | 0.00 0 | 7 | -");
    row("L bytes above 0x7F", false, QByteArray("L\xff\xff\0\0\x05\x01\0\0\xff\xff\xff\0M", 14),
        idle + "-1R 0R | -5.3 0 | 5 | 220+");
    row("empty", false, QByteArray(), idle + "0- 0- | 0.00 0 | 0 | -");
}

// A packet changes exactly its own widgets; a "K" packet after it changes
// only the six loops it carries.
void TestTestPrib::packets() {
    QFETCH(bool, chet);
    QFETCH(QByteArray, pack);
    QFETCH(QString, shown);
    settings.loopLimits->minLevel.fill(300);
    settings.loopLimits->maxLevel.fill(700);
    TestPrib test;
    test.CrListSignalsbT(DEV_D8M);
    test.initialize();
    test.ReceptTestPack(chet, pack);
    QCOMPARE(Shown(test), shown);
    test.ReceptTestPack(true, SimDevice::TestPacketK({1, 2, 3, 4, 5, 6}));
    QCOMPARE(Shown(test), "1R 2R 3R 4R 5R 6R " + shown.section(' ', 6));
}

// Readings through a sensor table: the idle reading is the value of code 0,
// uncut; a type with no loaded record shows the plain code.
void TestTestPrib::sensorReadings() {
    SensorRecord r;
    for (int k = 0; k < kAdcCodes; ++k)
        r.table << k / 10.0 - 12.34567;
    settings.loopLimits->sensors = {r};
    TestPrib test;
    test.initialize();
    QCOMPARE(Reading(test, 1), QStringLiteral("-12.3457"));
    test.ReceptTestPack(false, SimDevice::TestPacketL(0, 512, 0, 0, 0));
    QCOMPARE(Reading(test, 7) + ' ' + Reading(test, 8), QStringLiteral("-12.3 38.85"));
    settings.loopLimits->sensorType[7] = 5;
    test.ReceptTestPack(false, SimDevice::TestPacketL(0, 512, 0, 0, 0));
    QCOMPARE(Reading(test, 8), QStringLiteral("512"));
}

// Through the main window and the link: D7 00, packets shown, siren, light
// and a Touch-Memory signal after the next packet, AD 00 and 122/123 once on
// leaving.
void TestTestPrib::wholeRun() {
    DeviceFixture fx;
    QVERIFY(fx.open());
    QVERIFY(fx.connect(3, QDate(2010, 12, 3), 33));
    // A second-family device announcing a version the program does not know
    // changes the header's family, not the signal list: "Шлейф 8 - тревога"
    // must stay 42 and never become a key deletion.
    fx.sim.SetIdentity(4, QDate(2005, 1, 1), 1);
    const int connected = fx.rows();
    fx.sim.SendGreeting();
    QVERIFY(fx.waitForCode(212, connected));
    fx.sim.SetTestPackets({SimDevice::TestPacketK({10, 20, 30, 40, 50, 60}),
                           SimDevice::TestPacketL(70, 80, 5, 1, 512)});
    auto* test = fx.main->findChild<TestPrib*>();
    const int before = fx.rows();
    bool checked = false;
    InsideModal(
        test, [&] { fx.action("actTest")->trigger(); },
        [&] {
            QVERIFY(
                QTest::qWaitFor([&] { return Reading(*test, 8) == "80"; }, DeviceFixture::kSlowMs));
            QCOMPARE(Reading(*test, 1), QStringLiteral("10"));
            QCOMPARE(Child<QLCDNumber>(*test, "lcdNumKey")->intValue(), 5);
            QVERIFY(Child(*test, "frLed220")->isEnabled());
            Child<QPushButton>(*test, "pbSirena")->click();
            Child<QPushButton>(*test, "pbLight")->click();
            auto* signal = Child<QComboBox>(*test, "CbTouchSigs");
            signal->setCurrentIndex(signal->count() - 1);
            // Enter in the list presses no button (it switched the siren).
            QSignalSpy commands(test, &TestPrib::SigSetTestCommand);
            QTest::keyClick(signal, Qt::Key_Return);
            QVERIFY(commands.isEmpty());
            Child<QPushButton>(*test, "pbSendSignal")->click();
            QVERIFY(QTest::qWaitFor(
                [&] { return fx.sim.Received().contains(QByteArray::fromHex("2a00")); },
                DeviceFixture::kSlowMs));
            checked = true;
        });
    QVERIFY(checked);
    const QByteArray got = fx.sim.Received();
    QVERIFY(got.contains(QByteArray::fromHex("d700")));
    const int siren = int(got.indexOf(QByteArray::fromHex("c600")));
    const int light = int(got.indexOf(QByteArray::fromHex("c200")));
    QVERIFY(siren > 0 && light > siren);
    QTRY_VERIFY_WITH_TIMEOUT(fx.sim.Received().contains(QByteArray::fromHex("ad00")),
                             DeviceFixture::kSlowMs);
    QCOMPARE(fx.codes(before).count(122), 1);
    QCOMPARE(fx.codes(before).count(123), 1);
}

QTEST_MAIN(TestTestPrib)
#include "tst_testprib.moc"
