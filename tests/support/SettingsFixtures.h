#pragma once

// Shared settings fixtures: a settings object filled away from its defaults in
// every field, and a dump that names every field, so that two objects compare
// field by field and a mismatch names its field.

#include "settings/DeviceSettings.h"
#include "settings/Firmware.h"

#include <QMap>
#include <QStringList>

#include <array>
#include <type_traits>

namespace fixtures {

class FieldDump {
public:
    QMap<QString, QString> fields;

    void put(const QString& n, const QString& v) { fields.insert(n, v); }
    void put(const QString& n, const QByteArray& v) { put(n, QString::fromLatin1(v.toHex())); }
    void put(const QString& n, const QDate& v) { put(n, v.toString(Qt::ISODate)); }
    void put(const QString& n, const QTime& v) {
        put(n, v.isNull() ? QStringLiteral("null") : v.toString(QStringLiteral("HH:mm:ss.zzz")));
    }
    template <typename T> std::enable_if_t<std::is_arithmetic_v<T>> put(const QString& n, T v) {
        put(n, QString::number(qint64(v)));
    }
    template <typename T, size_t N> void put(const QString& n, const std::array<T, N>& a) {
        for (size_t i = 0; i < N; ++i)
            put(n + QLatin1Char('[') + QString::number(i) + QLatin1Char(']'), a[i]);
    }
    void put(const QString& n, const QList<GsmOperator>& ops) {
        for (int i = 0; i < ops.size(); ++i) {
            const GsmOperator& o = ops.at(i);
            put(n + QString::number(i),
                QStringList{o.name, o.ussd, o.initString, o.login, o.password}.join('|'));
        }
        put(n + QStringLiteral(".size"), int(ops.size()));
    }
    void put(const QString& n, const QVector<SensorRecord>& records) {
        QStringList codes;
        for (const SensorRecord& r : records)
            codes << QString::number(r.index) + ':' + QString::number(r.code);
        put(n, codes.join(','));
    }
};

// Every field of the settings object, named as in the code ("header->useSim[1]").
inline QMap<QString, QString> Dump(const DeviceSettings& s) {
    FieldDump d;
#define KW_DUMP(field) d.put(QStringLiteral(#field), s.field)
    // clang-format off
    KW_DUMP(header->deviceType); KW_DUMP(header->objectType); KW_DUMP(header->workMode);
    KW_DUMP(header->firmwareDate); KW_DUMP(header->firmwareSubVersion);
    KW_DUMP(header->simOperator); KW_DUMP(header->useSim); KW_DUMP(header->checkBalance);
    KW_DUMP(header->versionIndex);
    KW_DUMP(connection->objectNumber); KW_DUMP(connection->autoIncrementNumber);
    KW_DUMP(connection->csdDetail); KW_DUMP(connection->reserveReceiversFirst);
    KW_DUMP(connection->connectByGprs); KW_DUMP(connection->testWhenOpen);
    KW_DUMP(connection->testWhenClosed); KW_DUMP(connection->testInterval);
    KW_DUMP(connection->testAttempts); KW_DUMP(connection->testReceiver);
    KW_DUMP(connection->rapidResponseAttempts); KW_DUMP(connection->serverProtocol);
    KW_DUMP(connection->asyncTransfer); KW_DUMP(connection->deleteUnsent);
    KW_DUMP(phoneOptions->callAttemptsOpenClose); KW_DUMP(phoneOptions->callAttemptsAlarm);
    KW_DUMP(phoneOptions->alarmCallUntilAnswer);
    KW_DUMP(phones->number); KW_DUMP(phones->useFlag);
    KW_DUMP(port->comNumber); KW_DUMP(port->usbDeviceText); KW_DUMP(port->polledUsbText);
    KW_DUMP(port->comIndex); KW_DUMP(port->usbIndex); KW_DUMP(port->useCom);
    KW_DUMP(servers->serverIp); KW_DUMP(servers->serverPort); KW_DUMP(servers->useDns);
    KW_DUMP(servers->dnsName); KW_DUMP(servers->udPop); KW_DUMP(servers->perez);
    KW_DUMP(servers->obnov); KW_DUMP(servers->udPop3); KW_DUMP(servers->useGprsMode2);
    KW_DUMP(servers->serverPassword);
    KW_DUMP(extra->armDelayOn); KW_DUMP(extra->disarmDelayOn); KW_DUMP(extra->armDelayLoop);
    KW_DUMP(extra->disarmDelayLoop); KW_DUMP(extra->armDelayTime); KW_DUMP(extra->disarmDelayTime);
    KW_DUMP(extra->useTamper); KW_DUMP(extra->saveStateOnPowerOff);
    KW_DUMP(extra->useVoiceMessages); KW_DUMP(extra->silentArming);
    KW_DUMP(extra->useVoicePasswords); KW_DUMP(extra->techLoop); KW_DUMP(extra->callPrefix);
    KW_DUMP(outputs->outputType); KW_DUMP(outputs->adminPassword); KW_DUMP(outputs->userPassword);
    KW_DUMP(outputs->outputLoop); KW_DUMP(outputs->outputFlagA); KW_DUMP(outputs->keepOnPowerOff);
    KW_DUMP(outputs->outputZone);
    KW_DUMP(loopFunctions->openAnalysis); KW_DUMP(loopFunctions->closeAnalysis);
    KW_DUMP(loopFunctions->openLight); KW_DUMP(loopFunctions->openSiren);
    KW_DUMP(loopFunctions->closeLight); KW_DUMP(loopFunctions->closeSiren);
    KW_DUMP(loopFunctions->errorOpenClose);
    KW_DUMP(keys->key); KW_DUMP(keys->rapidResponseKey); KW_DUMP(keys->keyActive);
    KW_DUMP(loopLimits->minLevel); KW_DUMP(loopLimits->maxLevel); KW_DUMP(loopLimits->defaultMin);
    KW_DUMP(loopLimits->defaultMax); KW_DUMP(loopLimits->defaultReverse);
    KW_DUMP(loopLimits->reverse); KW_DUMP(loopLimits->radio); KW_DUMP(loopLimits->sensors);
    KW_DUMP(loopLimits->sensorType);
    KW_DUMP(gsmOperators);
    KW_DUMP(smsFlags->cboz); KW_DUMP(smsFlags->cbza); KW_DUMP(smsFlags->cb_p_vx_sn);
    KW_DUMP(smsFlags->checkbox); KW_DUMP(smsFlags->cbDrugieOt); KW_DUMP(smsFlags->cbDrugieZa);
    KW_DUMP(smsFlags->cbts); KW_DUMP(smsFlags->checkbox13); KW_DUMP(smsFlags->checkbox14);
    KW_DUMP(smsFlags->objectIdInSms);
    KW_DUMP(sntp->useSntp); KW_DUMP(sntp->sntpVersion); KW_DUMP(sntp->cb4); KW_DUMP(sntp->cb3);
    KW_DUMP(sntp->sntpDns); KW_DUMP(sntp->sntpPort); KW_DUMP(sntp->sntpIp);
    KW_DUMP(extraSms->smsService); KW_DUMP(extraSms->smsSimChange);
    KW_DUMP(extraSms->smsUserOut1); KW_DUMP(extraSms->smsUserOut2);
    KW_DUMP(zones->zoneCount); KW_DUMP(zones->loopCount); KW_DUMP(zones->keyName);
    KW_DUMP(zones->eepromKeyName); KW_DUMP(zones->zoneName); KW_DUMP(zones->keyZone);
    KW_DUMP(zones->loopZone); KW_DUMP(zones->keyLoop);
    KW_DUMP(callMatrix->openClose); KW_DUMP(callMatrix->alarm);
    KW_DUMP(navigation->gpsReceiver); KW_DUMP(navigation->distanceFilter);
    KW_DUMP(navigation->loopFrequent); KW_DUMP(navigation->relayFrequent);
    KW_DUMP(navigation->cb13); KW_DUMP(navigation->timeZone);
    KW_DUMP(navigation->updateTimeFromGps);
    KW_DUMP(consoleSms->eventNumber); KW_DUMP(consoleSms->number); KW_DUMP(consoleSms->objectName);
    KW_DUMP(consoleSms->loopName); KW_DUMP(consoleSms->cb1); KW_DUMP(consoleSms->cb2to5);
    KW_DUMP(consoleSms->eventKind); KW_DUMP(consoleSms->withKeyName);
    KW_DUMP(consoleSms->withLoopName); KW_DUMP(consoleSms->withTime);
    KW_DUMP(consoleSms->eventText);
    KW_DUMP(cameras->useCamera); KW_DUMP(cameras->execCamera);
    KW_DUMP(state->loopFlags); KW_DUMP(state->loopBitA); KW_DUMP(state->loopBitB);
    KW_DUMP(state->restartCount); KW_DUMP(state->stateByte); KW_DUMP(state->newestJournal);
    KW_DUMP(state->lastEvent); KW_DUMP(state->armedMask); KW_DUMP(state->alarmMask);
    KW_DUMP(state->state); KW_DUMP(state->keyNumber); KW_DUMP(state->journalEvent);
    KW_DUMP(state->journalParam); KW_DUMP(state->journalSecond); KW_DUMP(state->journalMinute);
    KW_DUMP(state->journalHour); KW_DUMP(state->journalDay); KW_DUMP(state->journalMonth);
    KW_DUMP(state->journalYear);
    KW_DUMP(remoteProg->serverAddress); KW_DUMP(remoteProg->serverPort);
    KW_DUMP(remoteProg->phoneNumber); KW_DUMP(remoteProg->smsKeyWord);
    KW_DUMP(remoteProg->connectToServer); KW_DUMP(remoteProg->useProgIfNoProtect);
    KW_DUMP(timeTriggers->evTime); KW_DUMP(timeTriggers->evType); KW_DUMP(timeTriggers->evDay);
    // clang-format on
#undef KW_DUMP
    return d.fields;
}

inline bool StartsWithAny(const QString& name, const QStringList& prefixes) {
    for (const QString& p : prefixes)
        if (name.startsWith(p))
            return true;
    return false;
}

// The fields of `got` that differ from `want`, as "name: got != want" lines;
// fields whose names start with one of `skip` are not looked at.
inline QStringList Differences(const DeviceSettings& got, const DeviceSettings& want,
                               const QStringList& skip = {}) {
    const QMap<QString, QString> g = Dump(got);
    const QMap<QString, QString> w = Dump(want);
    QStringList out;
    for (auto it = w.cbegin(); it != w.cend(); ++it)
        if (!StartsWithAny(it.key(), skip) && g.value(it.key()) != it.value())
            out << it.key() + ": " + g.value(it.key()) + " != " + it.value();
    return out;
}

inline QList<GsmOperator> Operators() {
    // name, ussd, access point, login, password; the second operator has its
    // login and access point at their full widths (10 and 25 bytes).
    return {
        {QStringLiteral("МТС"), QStringLiteral("*100#"), QStringLiteral("internet.mts.ru"),
         QStringLiteral("mts"), QStringLiteral("mts")},
        {QStringLiteral("Билайн"), QStringLiteral("#102#"),
         QStringLiteral("a123456789012345678901234"), QStringLiteral("abcdefghij"),
         QStringLiteral("beeline")},
        {QStringLiteral("Мегафон"), QStringLiteral("*105"), QStringLiteral("internet"),
         QStringLiteral("gdata"), QStringLiteral("0123456789")},
    };
}

// Four sensor records whose index is their position.
inline QVector<SensorRecord> Sensors() {
    const int codes[] = {300, -5, 7, 0x1234};
    QVector<SensorRecord> out;
    for (int i = 0; i < 4; ++i)
        out.append(
            SensorRecord{i, codes[i], QStringLiteral("s%1").arg(i), QStringLiteral("C"), {}});
    return out;
}

// Defaults at a firmware version, with the operator and sensor lists.
inline DeviceSettings Defaults(const QString& version) {
    DeviceSettings s;
    SetFirmwareVersion(*s.header, version);
    s.gsmOperators = Operators();
    s.loopLimits->sensors = Sensors();
    return s;
}

template <typename A> void Pattern(A& a, unsigned seed) {
    if constexpr (std::is_arithmetic_v<typename A::value_type>) {
        for (size_t i = 0; i < a.size(); ++i)
            a[i] = typename A::value_type(((seed >> (i % 16)) ^ (i * 7 + seed)) & 1u);
    } else {
        for (size_t i = 0; i < a.size(); ++i)
            Pattern(a[i], seed * 31 + unsigned(i) * 5);
    }
}

// Every field away from its default, each within what both the memory image
// and the settings file keep exactly: values within their bits, four-character
// passwords, whole minutes, texts at their full widths where a width applies,
// and INI-awkward characters in texts that only the settings file carries.
inline DeviceSettings Rich(const QString& version) {
    DeviceSettings s = Defaults(version);
    DeviceHeader& h = *s.header;
    ConnectionParams& c = *s.connection;
    ServerSettings& sv = *s.servers;
    ExtraOptions& e = *s.extra;
    OutputsConfig& o = *s.outputs;
    LoopFunctions& lf = *s.loopFunctions;
    LoopLimits& ll = *s.loopLimits;
    SmsNumberFlags& sf = *s.smsFlags;
    SntpSettings& sn = *s.sntp;
    ZonesConfig& z = *s.zones;
    NavigationSettings& nav = *s.navigation;
    ConsoleSmsSettings& cs = *s.consoleSms;
    RemoteProgSettings& rp = *s.remoteProg;
    TimeTriggers& tt = *s.timeTriggers;
    // clang-format off
    h.deviceType = DEV_D8M; h.objectType = OBJ_COMPLEX; h.workMode = MODE_AUTONOMOUS;
    h.useSim = {1, 1}; h.simOperator = {1, 2}; h.checkBalance = {1, 0}; h.versionIndex = 11;

    c.objectNumber = "4321";
    c.autoIncrementNumber = c.csdDetail = c.reserveReceiversFirst = c.connectByGprs = 1;
    c.testWhenOpen = c.testWhenClosed = c.asyncTransfer = c.deleteUnsent = 1;
    c.testInterval = 9; c.testAttempts = 3; c.rapidResponseAttempts = 4; c.serverProtocol = 2;
    Pattern(c.testReceiver, 5);

    s.phoneOptions->callAttemptsOpenClose = {3, 1, 0, 15, 2};
    s.phoneOptions->callAttemptsAlarm = {5, 0, 9, 1, 2};
    s.phoneOptions->alarmCallUntilAnswer = 1;
    for (int k = 0; k < kAllNumbers; ++k)
        s.phones->number[k] = QString::number(9161234500LL + k * 37);
    // Entries 5, 7, 8 and 9 make the raw use-flag byte of the second SIM ':'.
    s.phones->useFlag = {1, 0, 1, 1, 0, 1, 0, 1, 1, 1, 0};

    sv.serverIp = {QStringLiteral("192.168.001.010"), QStringLiteral("010.000.000.001")};
    sv.serverPort = {QStringLiteral("05000"), QStringLiteral("08080")};
    sv.dnsName = {QStringLiteral("srv.example.ru"), QStringLiteral("сервер, рф")};
    sv.useDns = {1, 0}; sv.udPop = {2, 5}; sv.perez = {1, 0}; sv.obnov = {0, 1};
    sv.udPop3 = 7; sv.useGprsMode2 = 1; sv.serverPassword = QStringLiteral("Пароль;=1");

    e.disarmDelayOn = 0; e.disarmDelayLoop = 5; e.disarmDelayTime = 3;
    e.armDelayLoop = 2; e.armDelayTime = 7; e.techLoop = 6;
    e.useTamper = e.saveStateOnPowerOff = e.useVoiceMessages = e.silentArming = 1;
    e.useVoicePasswords = 1;
    e.callPrefix = QStringLiteral("8101234567"); // full width

    o.outputType = {1, 2, 3, 15}; o.outputFlagA = {1, 0, 1, 1};
    o.keepOnPowerOff = {0, 1, 1, 0}; o.outputZone = {1, 2, 3, 7};
    o.adminPassword = {QStringLiteral("3333"), QStringLiteral("4444")};
    o.userPassword = {QStringLiteral("1111"), QStringLiteral("2222")};
    Pattern(o.outputLoop, 3);

    for (int j = 0; j < kLoops; ++j) {
        lf.openAnalysis[j] = j % 4; lf.closeAnalysis[j] = (j + 1) % 4;
        ll.minLevel[j] = u32(j * 97 + 3); ll.maxLevel[j] = u32(1023 - j * 41);
    }
    Pattern(lf.openLight, 1); Pattern(lf.openSiren, 2); Pattern(lf.closeLight, 3);
    Pattern(lf.closeSiren, 4); lf.errorOpenClose = 1;
    Pattern(ll.reverse, 6); Pattern(ll.radio, 7); ll.sensorType = {0, 1, 2, 3, 3, 2, 1, 0};

    Pattern(sf.cboz, 8); Pattern(sf.cbza, 9); Pattern(sf.cb_p_vx_sn, 10); Pattern(sf.checkbox, 11);
    Pattern(sf.cbDrugieOt, 12); Pattern(sf.cbDrugieZa, 13); Pattern(sf.cbts, 14);
    sf.checkbox13 = sf.checkbox14 = sf.objectIdInSms = 1;

    sn.useSntp = 0; sn.sntpVersion = 3; sn.cb3 = 0; sn.cb4 = 1;
    sn.sntpIp = QStringLiteral("193.123.045.067"); sn.sntpPort = QStringLiteral("00123");
    sn.sntpDns = QStringLiteral("pool.ntp.org");

    Pattern(s.extraSms->smsService, 15); Pattern(s.extraSms->smsSimChange, 16);
    Pattern(s.extraSms->smsUserOut1, 17); Pattern(s.extraSms->smsUserOut2, 18);

    z.zoneCount = kZones;
    for (int k = 0; k < kOrdinaryKeys; ++k) {
        z.keyName[k] = QStringLiteral("Ключ %1, \"к\"").arg(k);
        z.eepromKeyName[k] = QStringLiteral("Ключ%1").arg(k);
    }
    for (int i = 0; i < kZones; ++i)
        z.zoneName[i] = QStringLiteral("Склад №%1").arg(i);
    z.zoneName[2] = QStringLiteral("Офис, \"2\" этаж; \\ ok");
    Pattern(z.keyZone, 30); Pattern(z.loopZone, 31); Pattern(z.keyLoop, 19);
    Pattern(s.callMatrix->openClose, 20); Pattern(s.callMatrix->alarm, 21);

    nav.gpsReceiver = 1; nav.cb13 = 1; nav.timeZone = 11; nav.updateTimeFromGps = 1;
    nav.distanceFilter = QStringLiteral("1234"); // full width
    nav.relayFrequent = {1, 1, 0, 1}; Pattern(nav.loopFrequent, 22);

    Pattern(cs.eventNumber, 23); cs.cb1 = 1; cs.cb2to5 = {0, 1, 1, 0};
    for (int k = 0; k < kMainNumbers; ++k)
        cs.number[k] = QString::number(8910000000LL + k * 1111);
    cs.objectName = QStringLiteral("Объект-1");
    for (int j = 0; j < kLoops; ++j)
        cs.loopName[j] = QStringLiteral("Шлейф%1").arg(j);
    for (int ev = 0; ev < kConsoleEvents; ++ev) {
        cs.eventKind[ev] = ev + 1; // distinct per slot, so the slot order shows
        cs.eventText[0][ev] = QStringLiteral("Событие %1 длина").arg(ev); // 15 characters
        cs.eventText[1][ev] = QStringLiteral("Т%1").arg(ev);
        cs.eventText[2][ev] = QStringLiteral("Текст%1").arg(ev);
    }
    Pattern(cs.withKeyName, 24); Pattern(cs.withLoopName, 25); Pattern(cs.withTime, 26);
    Pattern(s.cameras->useCamera, 27); Pattern(s.cameras->execCamera, 28);

    rp.serverAddress = {QStringLiteral("remote.example.ru"), QStringLiteral("10.0.0.1")};
    rp.phoneNumber = {QStringLiteral("9031234567"), QStringLiteral("9267654321")};
    rp.serverPort = {65535, 443}; rp.smsKeyWord = QStringLiteral("Ключ№1");
    rp.connectToServer = rp.useProgIfNoProtect = 1;

    for (int i = 0; i < kTimeTriggers; ++i) {
        tt.evTime[i] = i % 3 == 2 ? QTime() : QTime(i * 2, i * 5, 0);
        tt.evType[i] = i % 4;
        Pattern(tt.evDay[i], 29 + unsigned(i));
    }
    // clang-format on
    return s;
}

} // namespace fixtures
