// What the shell relies on of the windows it creates: parameters window and
// its pages, operator list, test, key, time, thermometer and sound windows.

#include "AppTestSupport.h"

#include "comms/ConnectParams.h"
#include "comms/OperatorsDialog.h"
#include "editor/LimNaprSh.h"
#include "editor/PribParWindow.h"
#include "keys/KeysOptions.h"
#include "service/RestartCauses.h"
#include "service/Sounds.h"
#include "service/StateTables.h"
#include "service/TestPrib.h"
#include "service/ThermsDSDialog.h"
#include "service/TimeDialog.h"
#include "settings/DeviceSettings.h"
#include "settings/Firmware.h"
#include "support/ScriptedPrompt.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include <cstring>

namespace {
QString Text(const QWidget& w, const QString& name) {
    if (auto* l = w.findChild<QLabel*>(name))
        return l->text();
    return w.findChild<QLineEdit*>(name)->text();
}

// A sensor whose table gives code / 2 in "°C".
SensorRecord HalfSensor(const QString& name) {
    SensorRecord r;
    r.name = name;
    r.unit = QStringLiteral("°C");
    for (int k = 0; k < kAdcCodes; ++k)
        r.table << k / 2.0;
    return r;
}
} // namespace

class TestNeighbours : public QObject {
    Q_OBJECT

private slots:
    void init();
    void incrementObjectNumber_data();
    void incrementObjectNumber();
    void sensorScales();
    void operatorList();
    void touchSignals_data();
    void touchSignals();
    void testWindow();
    void keyWindow();
    void thermometerList();
    void soundPackets();
    void deviceTime();
    void restartCounters();

private:
    DeviceSettings settings;
};

void TestNeighbours::init() {
    settings = DeviceSettings();
    SetDefaultSettings(&settings, false);
    g_deviceSettings = &settings;
}

void TestNeighbours::incrementObjectNumber_data() {
    QTest::addColumn<QByteArray>("number");
    QTest::addColumn<bool>("increment");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QByteArray>("next");
    QTest::newRow("plain") << QByteArray("0041") << true << 0 << QByteArray("0042");
    QTest::newRow("wraps") << QByteArray("9999") << true << 0 << QByteArray("0000");
    QTest::newRow("no number") << QByteArray("ab") << true << 0 << QByteArray("0001");
    QTest::newRow("not asked") << QByteArray("0041") << false << 0 << QByteArray("0041");
    QTest::newRow("autonomous") << QByteArray("0041") << true << 1 << QByteArray("0041");
}

void TestNeighbours::incrementObjectNumber() {
    QFETCH(QByteArray, number);
    QFETCH(bool, increment);
    QFETCH(int, mode);
    QFETCH(QByteArray, next);
    ConnectParams page;
    settings.connection->objectNumber = number;
    settings.connection->autoIncrementNumber = increment;
    settings.header->workMode = mode;
    page.IncrementNumObj();
    QCOMPARE(settings.connection->objectNumber, next);
}

// The loop-limits page and the test window label a loop's scale from the
// record its sensor type selects, and with plain ADC codes when it selects
// none, whatever they showed before.
void TestNeighbours::sensorScales() {
    const QStringList codes{"0", "256", "512", "768", "1023"};
    auto scale = [](const QWidget& w, int loop) {
        QStringList out;
        for (const char* name : LimNaprSh::kScaleLabelNames)
            out << Text(w, QString::fromLatin1(name).arg(loop));
        return out;
    };
    {
        LimNaprSh empty; // no sensor files: one "АЦП" choice, codes shown
        empty.SetLoadedSensors();
        QCOMPARE(empty.findChild<QComboBox*>(QStringLiteral("cmbSensors_8"))->count(), 1);
        QCOMPARE(scale(empty, 8), codes);
    }
    settings.loopLimits->sensors = {HalfSensor(QStringLiteral("Термо")),
                                    HalfSensor(QStringLiteral("Второй"))};
    const QStringList half{"0 °C", "128 °C", "256 °C", "384 °C", "511.5 °C"};
    LimNaprSh page;
    page.SetLoadedSensors();
    auto* combo = page.findChild<QComboBox*>(QStringLiteral("cmbSensors_3"));
    combo->setCurrentIndex(1);
    QCOMPARE(scale(page, 3), half);
    combo->setCurrentIndex(-1); // a type with no loaded record
    QCOMPARE(scale(page, 3), codes);
    // A file's type beyond the list survives a cancel and an apply.
    settings.loopLimits->sensorType[2] = 7;
    page.CancelClick();
    QCOMPARE(scale(page, 3), codes);
    page.ApplyClick();
    QCOMPARE(settings.loopLimits->sensorType[2], 7u);

    TestPrib test;
    settings.loopLimits->sensorType[0] = 1;
    settings.loopLimits->sensorType[1] = 0xFFFFFFFFu; // not -1 in disguise
    test.SetSensorScales();
    QCOMPARE(scale(test, 1), half);
    QCOMPARE(scale(test, 2), codes);
    // Loop codes from byte pairs (low, high << 5), through the chosen table;
    // a short packet stops early.
    QByteArray k("K");
    for (int loop = 1; loop <= 6; ++loop)
        k.append(char(loop * 3)).append(char(loop % 2));
    test.ReceptTestPack(true, k);
    QCOMPARE(Text(test, QStringLiteral("LeShl1")), QStringLiteral("17.5"));
    QCOMPARE(Text(test, QStringLiteral("LeShl3")), QStringLiteral("41"));
    const QString loop7 = Text(test, QStringLiteral("LeShl7"));
    test.ReceptTestPack(false, QByteArray("L\x05", 2));
    QCOMPARE(Text(test, QStringLiteral("LeShl7")), loop7);
}

void TestNeighbours::operatorList() {
    OperatorsDialog dialog;
    auto* del = dialog.findChild<QPushButton*>(QStringLiteral("tbDel"));
    auto* list = dialog.findChild<QListWidget*>(QStringLiteral("lwOperators"));
    QSignalSpy updated(&dialog, &OperatorsDialog::SigListWasUpdated);
    settings.gsmOperators = {GsmOperator{QStringLiteral("A"), {}, {}, {}, {}}};
    dialog.UpdateInternalList(0);
    QVERIFY(!del->isEnabled());
    settings.gsmOperators << GsmOperator{QStringLiteral("B"), {}, {}, {}, {}};
    dialog.UpdateInternalList(1);
    QVERIFY(del->isEnabled());
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->currentRow(), 1);
    QCOMPARE(updated.size(), 2);
}

void TestNeighbours::touchSignals_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("loops");
    QTest::newRow("4 loops, first closed") << 0 << 0 << 19 << 4;
    QTest::newRow("4 loops, first open") << 0 << 4 << 27 << 4;
    QTest::newRow("8 loops, last alarm") << 1 << 23 << 42 << 8;
    QTest::newRow("6 loops, loop 6 closed") << 2 << 5 << 24 << 6;
}

void TestNeighbours::touchSignals() {
    QFETCH(int, type);
    QFETCH(int, index);
    QFETCH(int, command);
    QFETCH(int, loops);
    TestPrib test;
    settings.header->deviceType = type;
    test.CrListSignalsbT(DEV_TYPE(type));
    auto* combo = test.findChild<QComboBox*>(QStringLiteral("CbTouchSigs"));
    QCOMPARE(combo->count(), 3 * loops);
    combo->setCurrentIndex(index);
    QSignalSpy cmd(&test, &TestPrib::SigSetTestCommand);
    test.SendTMSignal();
    QCOMPARE(IntArgs(cmd), QList<int>{command});
    // One row per loop of the model.
    for (int n = 1; n <= kLoops; ++n) {
        for (const QString& name : {QStringLiteral("LeShl%1"), QStringLiteral("lScaleLeft_%1")})
            QCOMPARE(test.findChild<QWidget*>(name.arg(n))->isVisibleTo(&test), n <= loops);
    }
}

void TestNeighbours::testWindow() {
    TestPrib test;
    QSignalSpy cmd(&test, &TestPrib::SigSetTestCommand);
    QSignalSpy exit(&test, &TestPrib::SigExitWindow);
    QSignalSpy msg(&test, &TestPrib::SigMessage);
    test.StartStopSirenaClc();
    test.StartStopSirenaClc();
    test.StartStopLightClc();
    test.CancelClick();
    QCOMPARE(IntArgs(cmd), (QList<int>{2, 3, 4, 1}));
    QCOMPARE(exit.size(), 1);
    QVERIFY(msg.isEmpty()); // test mode was never reported
}

void TestNeighbours::keyWindow() {
    // The check character: XOR of bytes 0..254, low five bits, 'A' for 0.
    QByteArray pack(KeysOptions::kKeyTableSize, '\0');
    pack[0] = char(0xA4);
    QCOMPARE(KeysOptions::KeyTableCheck(pack), 'D');
    pack[7] = char(0x04);
    QCOMPARE(KeysOptions::KeyTableCheck(pack), 'A');
    pack[1] = char(0x12);
    pack[255] = KeysOptions::KeyTableCheck(pack);
    KeysOptions keys;
    auto* table = keys.findChild<QTableWidget*>(QStringLiteral("twKeys"));
    QByteArray broken = pack;
    broken[10] = char(broken.at(10) ^ 0x01);
    keys.ReceptKeysPack(broken);
    keys.ReceptKeysPack(pack.left(100));
    QVERIFY(!table->item(0, 1));
    keys.ReceptKeysPack(pack);
    QCOMPARE(table->item(0, 1)->text(), QStringLiteral("12-00-00-00-00-00"));

    QSignalSpy cmd(&keys, &KeysOptions::SigSetTestCommand);
    for (int row : {0, 17, 18, 19}) {
        table->setCurrentCell(row, 0);
        keys.DelKey();
    }
    keys.DelAllKeys();
    keys.DelNoMasterKey();
    keys.WriteKeyClick();
    keys.RequestClick();
    QSignalSpy exit(&keys, &KeysOptions::SigExitWindow);
    keys.CancelClick();
    QCOMPARE(IntArgs(cmd), (QList<int>{43, 60, 8, 9, 10, 7, 11, 6, 1}));
    QCOMPARE(exit.size(), 1);
}

void TestNeighbours::thermometerList() {
    ThermometerRecord r;
    r.id = QByteArray(8, 'b');
    r.upperLimit = 31.5f;
    r.lowerLimit = -10.25f;
    const QByteArray out = ThermsDSDialog::BuildThermometerList({r, r});
    QCOMPARE(out.size(), 1 + 2 * ThermsDSDialog::kRecordSize);
    QCOMPARE(quint8(out.at(0)), quint8(2));
    QCOMPARE(out.mid(9, 4), QByteArray("0000"));
    // A device list: the same layout with a real temperature.
    QByteArray device = out;
    const float t = 21.5f;
    std::memcpy(device.data() + 9, &t, 4);
    const QList<ThermometerRecord> back = ThermsDSDialog::ParseThermometerList(device);
    QCOMPARE(back.size(), 2);
    QCOMPARE(back.at(1).id, r.id);
    QCOMPARE(back.at(0).temperature, 21.5f);
    QCOMPARE(back.at(1).upperLimit, 31.5f);
    QCOMPARE(back.at(0).lowerLimit, -10.25f);
    // A count larger than the bytes: only whole records are taken.
    QCOMPARE(ThermsDSDialog::ParseThermometerList(device.left(30)).size(), 1);
}

void TestNeighbours::soundPackets() {
    QByteArray wav(44, 'h');
    for (int i = 0; i < 600; ++i)
        wav.append(char(i));
    const QList<QByteArray> packets = Sounds::BuildSoundPackets(3, wav);
    QCOMPARE(packets.size(), 3);
    QCOMPARE(packets.at(0).left(6), QByteArray("Y\x03\x58\x02\x00\x00", 6)); // 600 bytes
    QCOMPARE(packets.at(0).size(), 6 + 250);
    QCOMPARE(packets.at(1).size(), 256);
    QCOMPARE(packets.at(2).size(), 600 - 250 - 256);
    QVERIFY(Sounds::BuildSoundPackets(1, QByteArray(44, 'h')).isEmpty());
}

void TestNeighbours::deviceTime() {
    const QDateTime t = TimeDialog::ParseDeviceTime("24/05/01,13:07:09");
    QCOMPARE(t, QDateTime(QDate(2024, 5, 1), QTime(13, 7, 9)));

    TimeDialog window;
    window.now = [] { return QDateTime(QDate(2031, 12, 24), QTime(23, 59, 58)); };
    QSignalSpy written(&window, &TimeDialog::SigWriteNewTime);
    window.findChild<QPushButton*>(QStringLiteral("pbWriteSystemTime"))->click();
    QCOMPARE(written.value(0).value(0).toByteArray(), QByteArray("31/12/24,23:59:58+00"));
    // Each question goes out again only once its answer has come.
    QSignalSpy askTime(&window, &TimeDialog::SigGetDeviceTime);
    QSignalSpy askLevel(&window, &TimeDialog::SigGetGSMSignalLevel);
    window.RefreshTimeout();
    window.RefreshTimeout();
    window.SetCurrentDeviceTime("31/12/24,23:59:00");
    window.RefreshTimeout();
    QCOMPARE(askTime.size(), 2);
    QCOMPARE(askLevel.size(), 1);
    window.SetGSMSignalLevel("99");
    QCOMPARE(window.findChild<QProgressBar*>(QStringLiteral("pBarLevel"))->format(),
             QStringLiteral("Ошибка!"));
}

void TestNeighbours::restartCounters() {
    settings.state->restartCount = {70000, 5, 65535};
    RestartCauses window;
    QCOMPARE(window.resetFlagsModel->rowCount(), 0); // until a memory read
    window.FillCounters();
    QCOMPARE(Text(window, QStringLiteral("leRestCount")), QStringLiteral("65535"));
    window.resetFlagsModel->filled = true;
    window.resetFlagsModel->ResetTable();
    QCOMPARE(window.resetFlagsModel->rowCount(), kLoops);
}

QTEST_MAIN(TestNeighbours)
#include "tst_neighbours.moc"
