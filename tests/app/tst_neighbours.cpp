// What the shell relies on of the windows it creates: parameters window and
// its pages, operator list, test, key and time windows.

#include "AppTestSupport.h"

#include "comms/ConnectParams.h"
#include "comms/OperatorsDialog.h"
#include "editor/LimNaprSh.h"
#include "editor/PribParWindow.h"
#include "service/TestPrib.h"
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
#include <QTest>

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

QTEST_MAIN(TestNeighbours)
#include "tst_neighbours.moc"
