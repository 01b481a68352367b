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
    void cameraGate_data();
    void cameraGate();
};

void TstFirmware::versionText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("sub");
    QTest::newRow("with build") << "19.04.2012/45" << QDate(2012, 4, 19) << 45;
    QTest::newRow("no build") << "03.12.2010" << QDate(2010, 12, 3) << 1;
    QTest::newRow("text build") << "18.12.2018/beta" << QDate(2018, 12, 18) << 1;
    QTest::newRow("short") << "1.1.2010" << QDate() << 1;
    QTest::newRow("empty") << "" << QDate() << 1;
    QTest::newRow("bad day") << "31.02.2010/5" << QDate() << 5;
    QTest::newRow("garbage") << "abcdefghijklmnop" << QDate() << 1;
}

void TstFirmware::versionText() {
    QFETCH(QString, text);
    QFETCH(QDate, date);
    QFETCH(int, sub);
    DeviceHeader h;
    h.firmwareDate = QDate(2000, 1, 1);
    SetFirmwareVersion(h, text);
    QCOMPARE(h.firmwareDate, date);
    QCOMPARE(h.firmwareSubVersion, sub);
}

void TstFirmware::gateSenses_data() {
    QTest::addColumn<QDate>("fw");
    QTest::addColumn<QString>("release");
    QTest::addColumn<bool>("later");
    QTest::addColumn<bool>("onOrAfter");
    QTest::addColumn<bool>("equal");
    QTest::newRow("27.11 exact") << QDate(2009, 11, 27) << "27.11.2009" << false << true << true;
    QTest::newRow("27.11 next day") << QDate(2009, 11, 28) << "27.11.2009" << true << true << false;
    QTest::newRow("28.01 exact") << QDate(2010, 1, 28) << "28.01.2010" << false << true << true;
    QTest::newRow("28.01 day before") << QDate(2010, 1, 27) << "28.01.2010" << false << false
                                      << false;
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

void TstFirmware::cameraGate_data() {
    QTest::addColumn<QString>("version");
    QTest::addColumn<bool>("open");
    QTest::newRow("sub 31") << "03.12.2010/31" << true;
    QTest::newRow("sub 30") << "03.12.2010/30" << false;
    QTest::newRow("no sub") << "03.12.2010" << false;
    QTest::newRow("next day") << "04.12.2010/67" << false;
    QTest::newRow("none") << "" << false;
}

void TstFirmware::cameraGate() {
    QFETCH(QString, version);
    QFETCH(bool, open);
    DeviceHeader h;
    SetFirmwareVersion(h, version);
    QCOMPARE(FwHasCameras(h), open);
}

QTEST_GUILESS_MAIN(TstFirmware)
#include "tst_firmware.moc"
