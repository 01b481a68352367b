// What the shell relies on of the windows it creates: parameters window and
// its pages, operator list, test, key, time, thermometer and sound windows.

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

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include <cstring>

class TestNeighbours : public QObject {
    Q_OBJECT

private slots:
    void init();
    void nextObjectNumber_data();
    void nextObjectNumber();
    void incrementOnlyWhenAsked();
    void pageList_data();
    void pageList();
    void applyAndCancelReachPages();
    void sensorScales();
    void operatorList();
    void touchSignals_data();
    void touchSignals();
    void testWindowLeaving();
    void keyTable();
    void keyDeletion();
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

void TestNeighbours::nextObjectNumber_data() {
    QTest::addColumn<QByteArray>("number");
    QTest::addColumn<QByteArray>("next");
    QTest::newRow("plain") << QByteArray("0041") << QByteArray("0042");
    QTest::newRow("wraps") << QByteArray("9999") << QByteArray("0000");
    QTest::newRow("no number") << QByteArray("ab") << QByteArray("0001");
    QTest::newRow("empty") << QByteArray() << QByteArray("0001");
    QTest::newRow("short") << QByteArray("7") << QByteArray("0008");
}

void TestNeighbours::nextObjectNumber() {
    QFETCH(QByteArray, number);
    QFETCH(QByteArray, next);
    QCOMPARE(ConnectParams::NextObjectNumber(number), next);
}

void TestNeighbours::incrementOnlyWhenAsked() {
    ConnectParams page;
    auto* spin = page.findChild<QSpinBox*>(QStringLiteral("sbNumObj"));
    settings.connection->objectNumber = "0041";
    settings.connection->autoIncrementNumber = 0;
    page.IncrementNumObj();
    QCOMPARE(settings.connection->objectNumber, QByteArray("0041"));
    settings.connection->autoIncrementNumber = 1;
    settings.header->workMode = MODE_AUTONOMOUS;
    page.IncrementNumObj();
    QCOMPARE(settings.connection->objectNumber, QByteArray("0041"));
    settings.header->workMode = MODE_SYSTEM;
    page.IncrementNumObj();
    QCOMPARE(settings.connection->objectNumber, QByteArray("0042"));
    QCOMPARE(spin->value(), 42);
}

void TestNeighbours::pageList_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QStringList>("titles");
    const QStringList base0{
        "Параметры связи",     "Федеральные номера",   "Настройка диапазонов", "Функции шлейфов",
        "Сервисные параметры", "Функция \"Задержка\"", "Ключи и шлейфы",       "Зоны"};
    QTest::newRow("system, first release")
        << 0 << 0 << QStringLiteral("21.09.2009") << (base0 + QStringList{"Параметры GPRS"});
    QTest::newRow("system, 2012") << 0 << 3 << QStringLiteral("19.04.2012/45")
                                  << (base0 + QStringList{"Функции выходов", "Пультовые SMS",
                                                          "Параметры GPRS", "Настройка SNTP",
                                                          "Параметры навигации",
                                                          "Дистанционная настройка",
                                                          "События по времени"});
    QTest::newRow("autonomous, cameras")
        << 1 << 2 << QStringLiteral("03.12.2010/33")
        << QStringList{"Параметры связи",     "SMS по пост./снятию",
                       "Служебные SMS",       "Настройка диапазонов",
                       "Функции шлейфов",     "Извещения по шлейфам",
                       "Сервисные параметры", "Функция \"Задержка\"",
                       "Ключи и шлейфы",      "Зоны",
                       "Функции выходов",     "Настройка SNTP",
                       "Параметры камер"};
}

void TestNeighbours::pageList() {
    QFETCH(int, mode);
    QFETCH(int, type);
    QFETCH(QString, version);
    QFETCH(QStringList, titles);
    PribParWindow window;
    settings.header->deviceType = type;
    settings.header->workMode = mode;
    SetFirmwareVersion(*settings.header, version);
    QSignalSpy typeSpy(&window, &PribParWindow::SignalTPrib);
    window.setDevType(DEV_TYPE(type));
    QCOMPARE(typeSpy.size(), 1);
    QCOMPARE(window.menuTitles(), titles);
}

void TestNeighbours::applyAndCancelReachPages() {
    PribParWindow window;
    auto* spin = window.connectParams()->findChild<QSpinBox*>(QStringLiteral("sbNumObj"));
    spin->setValue(77);
    QSignalSpy apply(&window, &PribParWindow::SigApplyOK);
    window.applySettings();
    QCOMPARE(apply.size(), 1);
    QCOMPARE(settings.connection->objectNumber, QByteArray("0077"));
    settings.connection->objectNumber = "0123";
    window.findChild<QPushButton*>(QStringLiteral("pbCancel"))->click();
    QCOMPARE(spin->value(), 123);
    QVERIFY(window.RevisionParams());
    QCOMPARE(apply.size(), 2);
}

void TestNeighbours::sensorScales() {
    SensorRecord r;
    r.unit = QStringLiteral("°C");
    r.table = QVector<double>(kAdcCodes, 0.0);
    r.table[0] = 1234.56;
    r.table[256] = 1234.56;
    r.table[512] = 1.5e8;
    r.table[768] = -55;
    r.table[1023] = 1.5e8;
    QCOMPARE(LimNaprSh::ScaleText(r, 0), QStringLiteral("1234.56 °C"));
    QCOMPARE(LimNaprSh::ScaleText(r, 256), QStringLiteral("1234. °C"));
    QCOMPARE(LimNaprSh::ScaleText(r, 512), QStringLiteral("1.5e+ °C"));
    QCOMPARE(LimNaprSh::ScaleText(r, 768), QStringLiteral("-55 °C"));
    QCOMPARE(LimNaprSh::ScaleText(r, 1023), QStringLiteral("1.5e+08 °C"));
    SensorRecord shortTable;
    QCOMPARE(LimNaprSh::ScaleText(shortTable, 512), QStringLiteral("512 "));

    // Loaded sensors fill every loop's choice; the first one's scale shows.
    r.name = QStringLiteral("Термо");
    settings.loopLimits->sensors = {r};
    LimNaprSh page;
    page.SetLoadedSensors();
    auto* combo = page.findChild<QComboBox*>(QStringLiteral("cmbSensors_8"));
    QCOMPARE(combo->count(), 1);
    QCOMPARE(combo->itemText(0), QStringLiteral("Термо"));
    QCOMPARE(page.findChild<QLabel*>(QStringLiteral("lScaleLeft_8"))->text(),
             QStringLiteral("1234.56 °C"));
    // The test window takes the same scale for the loop's sensor type.
    TestPrib test;
    test.SetSensorScales();
    QCOMPARE(test.findChild<QLabel*>(QStringLiteral("lScaleRight_2"))->text(),
             QStringLiteral("1.5e+08 °C"));
    settings.loopLimits->sensorType[1] = 5; // no such record
    test.SetSensorScales();
    QCOMPARE(test.findChild<QLabel*>(QStringLiteral("lScaleRight_2"))->text(),
             QStringLiteral("1023"));
}

void TestNeighbours::operatorList() {
    OperatorsDialog dialog;
    auto* del = dialog.findChild<QToolButton*>(QStringLiteral("tbDel"));
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
    QTest::addColumn<int>("entries");
    QTest::newRow("4 loops, first closed") << 0 << 0 << 19 << 12;
    QTest::newRow("4 loops, first open") << 0 << 4 << 27 << 12;
    QTest::newRow("4 loops, last alarm") << 0 << 11 << 38 << 12;
    QTest::newRow("8 loops, last alarm") << 1 << 23 << 42 << 24;
    QTest::newRow("6 loops, last alarm") << 3 << 17 << 40 << 18;
    QTest::newRow("6 loops, loop 6 closed") << 2 << 5 << 24 << 18;
}

void TestNeighbours::touchSignals() {
    QFETCH(int, type);
    QFETCH(int, index);
    QFETCH(int, command);
    QFETCH(int, entries);
    TestPrib test;
    settings.header->deviceType = type;
    test.CrListSignalsbT(DEV_TYPE(type));
    auto* combo = test.findChild<QComboBox*>(QStringLiteral("CbTouchSigs"));
    QCOMPARE(combo->count(), entries);
    combo->setCurrentIndex(index);
    QSignalSpy cmd(&test, &TestPrib::SigSetTestCommand);
    test.SendTMSignal();
    QCOMPARE(cmd.size(), 1);
    QCOMPARE(cmd.at(0).at(0).toInt(), command);
    // Rows 5 to 8 follow the model; the second family shows seven rows.
    const bool row8 = type == DEV_D8M;
    const bool row5 = type != DEV_D4M;
    QCOMPARE(test.findChild<QWidget*>(QStringLiteral("LeShl8"))->isVisibleTo(&test), row8);
    QCOMPARE(test.findChild<QWidget*>(QStringLiteral("LeShl5"))->isVisibleTo(&test), row5);
}

void TestNeighbours::testWindowLeaving() {
    TestPrib test;
    QSignalSpy cmd(&test, &TestPrib::SigSetTestCommand);
    QSignalSpy exit(&test, &TestPrib::SigExitWindow);
    QSignalSpy msg(&test, &TestPrib::SigMessage);
    test.StartStopSirenaClc();
    test.StartStopSirenaClc();
    test.StartStopLightClc();
    test.CancelClick();
    QCOMPARE(cmd.size(), 4);
    QCOMPARE(cmd.at(0).at(0).toInt(), 2);
    QCOMPARE(cmd.at(1).at(0).toInt(), 3);
    QCOMPARE(cmd.at(2).at(0).toInt(), 4);
    QCOMPARE(cmd.at(3).at(0).toInt(), 1);
    QCOMPARE(exit.size(), 1);
    QVERIFY(msg.isEmpty()); // test mode was never reported
    // A 'K' packet: loop codes from byte pairs (low, high << 5).
    QByteArray k("K");
    for (int loop = 1; loop <= 6; ++loop)
        k.append(char(loop * 3)).append(char(loop % 2));
    k.append('M');
    test.ReceptTestPack(true, k);
    QCOMPARE(test.findChild<QLineEdit*>(QStringLiteral("LeShl3"))->text(), QStringLiteral("41"));
    QCOMPARE(test.findChild<QLineEdit*>(QStringLiteral("LeShl2"))->text(), QStringLiteral("6"));
    test.ReceptTestPack(false, QByteArray("L"));
}

void TestNeighbours::keyTable() {
    QByteArray pack(KeysOptions::kKeyTableSize, '\0');
    pack[0] = char(0xA4);
    for (int i = 1; i < 255; ++i)
        pack[i] = char(i * 7);
    pack[255] = KeysOptions::KeyTableCheck(pack);
    quint8 x = 0;
    for (int i = 0; i < 255; ++i)
        x ^= quint8(pack.at(i));
    const quint8 c = x & 0x1F;
    QCOMPARE(pack.at(255), c == 0 ? 'A' : char(c | 0x40));
    QVERIFY(KeysOptions::KeyTableValid(pack));
    KeysOptions keys;
    auto* table = keys.findChild<QTableWidget*>(QStringLiteral("twKeys"));
    QByteArray broken = pack;
    broken[10] = char(broken.at(10) ^ 0x01);
    keys.ReceptKeysPack(broken);
    QVERIFY(!table->item(0, 1));
    keys.ReceptKeysPack(pack.left(100));
    QVERIFY(!table->item(0, 1));
    keys.ReceptKeysPack(pack);
    QCOMPARE(table->item(0, 1)->text(), QString::fromLatin1(pack.mid(1, 6).toHex('-').toUpper()));
}

void TestNeighbours::keyDeletion() {
    KeysOptions keys;
    auto* table = keys.findChild<QTableWidget*>(QStringLiteral("twKeys"));
    QSignalSpy cmd(&keys, &KeysOptions::SigSetTestCommand);
    for (int row : {0, 17, 18, 19}) {
        table->setCurrentCell(row, 0);
        keys.DelKey();
    }
    keys.DelAllKeys();
    keys.DelNoMasterKey();
    keys.WriteKeyClick();
    keys.RequestClick();
    QList<int> got;
    for (const auto& a : cmd)
        got << a.at(0).toInt();
    QCOMPARE(got, (QList<int>{43, 60, 8, 9, 10, 7, 11, 6}));
    QSignalSpy exit(&keys, &KeysOptions::SigExitWindow);
    keys.CancelClick();
    QCOMPARE(cmd.last().at(0).toInt(), 1);
    QCOMPARE(exit.size(), 1);
}

void TestNeighbours::thermometerList() {
    QList<ThermometerRecord> in;
    for (int i = 0; i < 2; ++i) {
        ThermometerRecord r;
        r.id = QByteArray(8, char('a' + i));
        r.upperLimit = 30.5f + float(i);
        r.lowerLimit = -10.25f;
        in << r;
    }
    const QByteArray out = ThermsDSDialog::BuildThermometerList(in);
    QCOMPARE(out.size(), 1 + 2 * ThermsDSDialog::kRecordSize);
    QCOMPARE(quint8(out.at(0)), quint8(2));
    QCOMPARE(out.mid(9, 4), QByteArray("0000"));
    // A device list: the same layout with a real temperature.
    QByteArray device = out;
    const float t = 21.5f;
    std::memcpy(device.data() + 9, &t, 4);
    const QList<ThermometerRecord> back = ThermsDSDialog::ParseThermometerList(device);
    QCOMPARE(back.size(), 2);
    QCOMPARE(back.at(1).id, QByteArray(8, 'b'));
    QCOMPARE(back.at(0).temperature, 21.5f);
    QCOMPARE(back.at(1).upperLimit, 31.5f);
    QCOMPARE(back.at(0).lowerLimit, -10.25f);
    // A count larger than the bytes: only whole records are taken.
    QCOMPARE(ThermsDSDialog::ParseThermometerList(device.left(30)).size(), 1);
    QCOMPARE(ThermsDSDialog::ParseThermometerList(QByteArray()).size(), 0);
}

void TestNeighbours::soundPackets() {
    QByteArray wav(44, 'h');
    for (int i = 0; i < 600; ++i)
        wav.append(char(i));
    const QList<QByteArray> packets = Sounds::BuildSoundPackets(3, wav);
    QCOMPARE(packets.size(), 3);
    QCOMPARE(packets.at(0).left(2), QByteArray("Y\x03", 2));
    QCOMPARE(packets.at(0).mid(2, 4), QByteArray("\x58\x02\x00\x00", 4)); // 600
    QCOMPARE(packets.at(0).size(), 6 + 250);
    QCOMPARE(packets.at(1).size(), 256);
    QCOMPARE(packets.at(2).size(), 600 - 250 - 256);
    QCOMPARE(packets.at(1).at(0), char(250));
    QVERIFY(Sounds::BuildSoundPackets(1, QByteArray(44, 'h')).isEmpty());
}

void TestNeighbours::deviceTime() {
    const QDateTime t = TimeDialog::ParseDeviceTime("24/05/01,13:07:09");
    QCOMPARE(t, QDateTime(QDate(2024, 5, 1), QTime(13, 7, 9)));
    QVERIFY(!TimeDialog::ParseDeviceTime("24/05/01").isValid());
    QCOMPARE(TimeDialog::FormatDeviceTime(t), QByteArray("24/05/01,13:07:09+00"));
}

void TestNeighbours::restartCounters() {
    settings.state->restartCount = {70000, 5, 65535};
    RestartCauses window;
    QCOMPARE(window.resetFlagsModel->rowCount(), 0); // until a memory read
    window.FillCounters();
    QCOMPARE(window.findChild<QLineEdit*>(QStringLiteral("leRestCount"))->text(),
             QStringLiteral("65535"));
    QCOMPARE(window.findChild<QLineEdit*>(QStringLiteral("leLowU"))->text(), QStringLiteral("5"));
    window.resetFlagsModel->filled = true;
    window.resetFlagsModel->ResetTable();
    QCOMPARE(window.resetFlagsModel->rowCount(), kLoops);
}

QTEST_MAIN(TestNeighbours)
#include "tst_neighbours.moc"
