// The console link page's object number after a successful programming;
// scales, the operator list and the service windows have their own tests.

#include "AppTestSupport.h"

#include "comms/ConnectParams.h"
#include "settings/DeviceSettings.h"

#include <QTest>

class TestObjectNumber : public QObject {
    Q_OBJECT

private slots:
    void init();
    void incrementObjectNumber_data();
    void incrementObjectNumber();

private:
    DeviceSettings settings;
};

void TestObjectNumber::init() {
    settings = DeviceSettings();
    SetDefaultSettings(&settings, false);
    g_deviceSettings = &settings;
}

void TestObjectNumber::incrementObjectNumber_data() {
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

void TestObjectNumber::incrementObjectNumber() {
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

QTEST_MAIN(TestObjectNumber)
#include "tst_objectnumber.moc"
