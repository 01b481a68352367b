#include "settings/DeviceSettings.h"
#include "settings/Firmware.h"

#include <QtTest>

class TstFirmware : public QObject {
    Q_OBJECT
private slots:
    void versionText_data();
    void versionText();
    void gateSenses_data();
    void gateSenses();
};

void TstFirmware::versionText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("sub");
    QTest::addColumn<bool>("cameras");
    QTest::newRow("with build") << "19.04.2012/45" << QDate(2012, 4, 19) << 45 << false;
    QTest::newRow("no build") << "03.12.2010" << QDate(2010, 12, 3) << 1 << false;
    QTest::newRow("text build") << "18.12.2018/beta" << QDate(2018, 12, 18) << 1 << false;
    QTest::newRow("camera build 31") << "03.12.2010/31" << QDate(2010, 12, 3) << 31 << true;
    QTest::newRow("camera build 30") << "03.12.2010/30" << QDate(2010, 12, 3) << 30 << false;
    QTest::newRow("day after, build 67") << "04.12.2010/67" << QDate(2010, 12, 4) << 67 << false;
    QTest::newRow("short") << "1.1.2010" << QDate() << 1 << false;
    QTest::newRow("empty") << "" << QDate() << 1 << false;
    QTest::newRow("bad day") << "31.02.2010/31" << QDate() << 31 << false;
    QTest::newRow("garbage") << "abcdefghijklmnop" << QDate() << 1 << false;
}

void TstFirmware::versionText() {
    QFETCH(QString, text);
    QFETCH(QDate, date);
    QFETCH(int, sub);
    QFETCH(bool, cameras);
    DeviceHeader h;
    h.firmwareDate = QDate(2000, 1, 1);
    SetFirmwareVersion(h, text);
    QCOMPARE(h.firmwareDate, date);
    QCOMPARE(h.firmwareSubVersion, sub);
    QCOMPARE(FwHasCameras(h), cameras);
}

void TstFirmware::gateSenses_data() {
    QTest::addColumn<QDate>("fw");
    QTest::addColumn<QString>("release");
    QTest::addColumn<bool>("later");
    QTest::addColumn<bool>("onOrAfter");
    QTest::addColumn<bool>("equal");
    QTest::newRow("27.11 exact") << QDate(2009, 11, 27) << "27.11.2009" << false << true << true;
    QTest::newRow("27.11 next day") << QDate(2009, 11, 28) << "27.11.2009" << true << true << false;
    QTest::newRow("28.01 day before")
        << QDate(2010, 1, 27) << "28.01.2010" << false << false << false;
    QTest::newRow("19.12 exact") << QDate(2009, 12, 19) << "19.12.2009" << false << true << true;
    // A null date is day 0, not Qt's negative day: earlier than every release.
    QTest::newRow("null firmware") << QDate() << "21.09.2009" << false << false << false;
    QTest::newRow("far future") << QDate(2030, 1, 1) << "19.04.2012" << true << true << false;
}

void TstFirmware::gateSenses() {
    QFETCH(QDate, fw);
    QFETCH(QString, release);
    QFETCH(bool, later);
    QFETCH(bool, onOrAfter);
    QFETCH(bool, equal);
    const QByteArray r = release.toLatin1();
    QCOMPARE(FwLaterThan(fw, r.constData()), later);
    QCOMPARE(FwOnOrAfter(fw, r.constData()), onOrAfter);
    QCOMPARE(FwEquals(fw, r.constData()), equal);
}

QTEST_GUILESS_MAIN(TstFirmware)
#include "tst_firmware.moc"
