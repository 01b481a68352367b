#include "settings/DeviceSettings.h"

#include <QtTest>

class TstDeviceSettings : public QObject {
    Q_OBJECT
private slots:
    void defaultsOfEveryBlock();
    void keepDeviceStateLeavesStateAlone();
    void copyKeepsBlockAddresses();
};

void TstDeviceSettings::defaultsOfEveryBlock() {
    DeviceSettings s;
    QCOMPARE(s.header->deviceType, int(DEV_D4M));
    QVERIFY(s.header->firmwareDate.isNull());
    QCOMPARE(s.header->useSim[0], u8(1));
    QCOMPARE(s.header->checkBalance[1], u8(1));
    QCOMPARE(s.connection->objectNumber, QByteArray("0001"));
    QCOMPARE(s.servers->serverIp[1], QString("000.000.000.000"));
    QCOMPARE(s.servers->serverPort[0], QString("00000"));
    QCOMPARE(s.extra->callPrefix, QString("+7"));
    QCOMPARE(s.extra->armDelayOn, u8(1));
    QCOMPARE(s.extra->disarmDelayOn, u8(1));
    QCOMPARE(s.outputs->adminPassword[1], QString("7391"));
    QCOMPARE(s.outputs->userPassword[0], QString("7391"));
    for (int i = 0; i < kAllNumbers; ++i)
        QCOMPARE(s.phones->number[i], QString("0000000000"));
    for (int z = 0; z < kZones; ++z)
        QCOMPARE(s.zones->zoneName[z], QString("Зона %1").arg(z));
    QCOMPARE(s.zones->zoneCount, 1);
    QCOMPARE(s.zones->loopCount, 6);
    for (int j = 0; j < kLoops; ++j) {
        QCOMPARE(s.zones->loopZone[j][0], u8(1));
        QCOMPARE(s.zones->loopZone[j][1], u8(0));
        QCOMPARE(s.consoleSms->loopName[j], QString("Shl%1").arg(j + 1));
        for (int n = 0; n < kMainNumbers; ++n) {
            QCOMPARE(s.callMatrix->openClose[n][j], u8(1));
            QCOMPARE(s.callMatrix->alarm[n][j], u8(1));
        }
    }
    QCOMPARE(s.consoleSms->number[4], QString("9000000000"));
    QCOMPARE(s.consoleSms->objectName, QString("Device1"));
    QCOMPARE(s.remoteProg->phoneNumber[1], QString("9000000000"));
    QCOMPARE(s.sntp->useSntp, u8(1));
    QCOMPARE(s.sntp->sntpVersion, 2);
    QCOMPARE(s.sntp->cb3, u8(1));
    QCOMPARE(s.sntp->cb4, u8(0));
    QCOMPARE(s.sntp->sntpIp, QString("000.000.000.000"));
    QCOMPARE(s.navigation->distanceFilter, QString("0"));
    QCOMPARE(s.state->stateByte, -1);
    QCOMPARE(s.state->newestJournal, -1);
    QCOMPARE(s.state->journalEvent[199], u8(0));
    QVERIFY(s.timeTriggers->evTime[0].isNull());
    QCOMPARE(s.timeTriggers->evTime[9].hour(), -1);
    QCOMPARE(s.timeTriggers->evTime[9].minute(), -1);
    QCOMPARE(s.port->useCom, u8(1));
    QCOMPARE(s.port->comIndex, 0);
    QVERIFY(s.gsmOperators.isEmpty());
}

void TstDeviceSettings::keepDeviceStateLeavesStateAlone() {
    DeviceSettings s;
    s.state->stateByte = 3;
    s.state->newestJournal = 17;
    s.state->journalEvent[5] = 0x42;
    s.state->restartCount[2] = 9;
    s.zones->zoneName[3] = "Склад";
    s.connection->objectNumber = "1234";

    SetDefaultSettings(&s, true);
    QCOMPARE(s.state->stateByte, 3);
    QCOMPARE(s.state->newestJournal, 17);
    QCOMPARE(s.state->journalEvent[5], u8(0x42));
    QCOMPARE(s.zones->zoneName[3], QString("Зона 3"));
    QCOMPARE(s.connection->objectNumber, QByteArray("0001"));

    SetDefaultSettings(&s, false);
    QCOMPARE(s.state->stateByte, -1);
    QCOMPARE(s.state->newestJournal, -1);
    QCOMPARE(s.state->journalEvent[5], u8(0));
    QCOMPARE(s.state->restartCount[2], u32(0));
}

void TstDeviceSettings::copyKeepsBlockAddresses() {
    DeviceSettings a;
    DeviceSettings b;
    b.zones->zoneName[0] = "Офис";
    b.gsmOperators.append({"Op", "*100#", "internet", "user", "pass"});
    ZonesConfig* const zonesBefore = a.zones;
    a = b;
    QCOMPARE(a.zones, zonesBefore);
    QCOMPARE(a.zones->zoneName[0], QString("Офис"));
    QCOMPARE(a.gsmOperators.size(), 1);
    b.zones->zoneName[0] = "changed";
    QCOMPARE(a.zones->zoneName[0], QString("Офис"));
}

QTEST_GUILESS_MAIN(TstDeviceSettings)
#include "tst_devicesettings.moc"
