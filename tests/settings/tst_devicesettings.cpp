#include "settings/DeviceSettings.h"

#include <QtTest>

class TstDeviceSettings : public QObject {
    Q_OBJECT
private slots:
    void defaultsOfEveryBlock();
    void keepDeviceStateLeavesStateAlone();
    void assignmentKeepsBlockAddresses();
};

void TstDeviceSettings::defaultsOfEveryBlock() {
    const DeviceSettings s;
    QVERIFY(s.header->firmwareDate.isNull());
    QCOMPARE(s.header->useSim, (Arr<u8, kSims>{1, 1}));
    QCOMPARE(s.header->checkBalance, (Arr<u8, kSims>{1, 1}));
    QCOMPARE(s.connection->objectNumber, QByteArray("0001"));
    QCOMPARE(s.servers->serverIp[1], QString("000.000.000.000"));
    QCOMPARE(s.servers->serverPort[0], QString("00000"));
    QCOMPARE(s.extra->callPrefix, QString("+7"));
    QCOMPARE(s.extra->armDelayOn + s.extra->disarmDelayOn, 2);
    QCOMPARE(s.outputs->adminPassword[1], QString("7391"));
    QCOMPARE(s.outputs->userPassword[0], QString("7391"));
    QCOMPARE(s.phones->number[14], QString("0000000000"));
    QCOMPARE(s.zones->zoneCount, 1);
    QCOMPARE(s.zones->loopCount, 6);
    for (int j = 0; j < kLoops; ++j) {
        QCOMPARE(s.zones->zoneName[j], QString("Зона %1").arg(j));
        QCOMPARE(s.consoleSms->loopName[j], QString("Shl%1").arg(j + 1));
        QCOMPARE(s.zones->loopZone[j], (Arr<u8, kZones>{1, 0, 0, 0, 0, 0, 0, 0}));
        for (int n = 0; n < kMainNumbers; ++n)
            QVERIFY(s.callMatrix->openClose[n][j] && s.callMatrix->alarm[n][j]);
    }
    QCOMPARE(s.consoleSms->number[4], QString("9000000000"));
    QCOMPARE(s.consoleSms->objectName, QString("Device1"));
    QCOMPARE(s.remoteProg->phoneNumber[1], QString("9000000000"));
    QCOMPARE(s.sntp->useSntp, u8(1));
    QCOMPARE(s.sntp->sntpVersion, 2);
    QCOMPARE(s.sntp->cb3 * 2 + s.sntp->cb4, 2);
    QCOMPARE(s.navigation->distanceFilter, QString("0"));
    QCOMPARE(s.state->stateByte, -1);
    QCOMPARE(s.state->newestJournal, -1);
    QCOMPARE(s.state->journalEvent[199], u8(0));
    QCOMPARE(s.timeTriggers->evTime[9].hour(), -1); // null: unset
    QCOMPARE(s.port->useCom, u8(1));
    QVERIFY(s.gsmOperators.isEmpty());
}

void TstDeviceSettings::keepDeviceStateLeavesStateAlone() {
    DeviceSettings s;
    s.state->stateByte = 3;
    s.state->newestJournal = 17;
    s.state->journalEvent[5] = 0x42;
    s.state->restartCount[2] = 9;
    s.zones->zoneName[3] = "Склад";

    SetDefaultSettings(&s, true);
    QCOMPARE(s.zones->zoneName[3], QString("Зона 3"));
    QCOMPARE(s.state->stateByte, 3);
    QCOMPARE(s.state->newestJournal, 17);
    QCOMPARE(s.state->journalEvent[5], u8(0x42));

    SetDefaultSettings(&s, false);
    QCOMPARE(s.state->stateByte, -1);
    QCOMPARE(s.state->newestJournal, -1);
    QCOMPARE(s.state->journalEvent[5], u8(0));
    QCOMPARE(s.state->restartCount[2], u32(0));
}

// Pointers to blocks are held across the program; assigning a settings
// object (a file read into a copy, then committed) must keep them valid.
void TstDeviceSettings::assignmentKeepsBlockAddresses() {
    DeviceSettings a;
    DeviceSettings b;
    b.zones->zoneName[0] = "Офис";
    b.gsmOperators.append({"Op", "*100#", "internet", "user", "pass"});
    ZonesConfig* const zonesBefore = a.zones;
    a = b;
    b.zones->zoneName[0] = "changed";
    QCOMPARE(a.zones, zonesBefore);
    zonesBefore->zoneName[1] = "через старый адрес"; // a use after free under the sanitizers
    QCOMPARE(a.zones->zoneName[1], zonesBefore->zoneName[1]);
    QCOMPARE(a.zones->zoneName[0], QString("Офис"));
    QCOMPARE(a.gsmOperators.size(), 1);
}

QTEST_GUILESS_MAIN(TstDeviceSettings)
#include "tst_devicesettings.moc"
