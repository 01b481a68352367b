#include "settings/SettingsIniFile.h"
#include "settings/TextCodec.h"

#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QtTest>

#include "support/Files.h"

#include <unistd.h>

namespace {

// Every field the settings file carries, one "name=value" line each, so two
// objects compare field by field and a mismatch names its field.
struct Dumper {
    QStringList out;
    void add(const QString& name, const QString& v) { out << name + QLatin1Char('=') + v; }
    void add(const QString& name, qint64 v) { add(name, QString::number(v)); }
    void add(const QString& name, const QTime& t) {
        add(name, t.isNull() ? QStringLiteral("null") : t.toString(QStringLiteral("HH:mm:ss.zzz")));
    }
    template <typename A> void all(const QString& name, const A& a) {
        for (int i = 0; i < int(a.size()); ++i)
            add(name + QLatin1Char('[') + QString::number(i) + QLatin1Char(']'), a[i]);
    }
    template <typename A> void all2(const QString& name, const A& a) {
        for (int i = 0; i < int(a.size()); ++i)
            all(name + QLatin1Char('[') + QString::number(i) + QLatin1Char(']'), a[i]);
    }
};

QStringList CarriedFields(const DeviceSettings& s) {
    Dumper d;
    const DeviceHeader& h = *s.header;
    d.add("deviceType", h.deviceType);
    d.add("objectType", h.objectType);
    d.add("workMode", h.workMode);
    d.all("simOperator", h.simOperator);
    d.all("useSim", h.useSim);
    d.all("checkBalance", h.checkBalance);
    d.add("versionIndex", h.versionIndex);
    const ConnectionParams& c = *s.connection;
    d.add("objectNumber", QString::fromLatin1(c.objectNumber.toHex()));
    d.add("autoIncrementNumber", c.autoIncrementNumber);
    d.add("csdDetail", c.csdDetail);
    d.add("reserveReceiversFirst", c.reserveReceiversFirst);
    d.add("connectByGprs", c.connectByGprs);
    d.add("testWhenOpen", c.testWhenOpen);
    d.add("testWhenClosed", c.testWhenClosed);
    d.add("testInterval", c.testInterval);
    d.add("testAttempts", c.testAttempts);
    d.all("testReceiver", c.testReceiver);
    d.add("rapidResponseAttempts", c.rapidResponseAttempts);
    d.add("serverProtocol", c.serverProtocol);
    d.add("asyncTransfer", c.asyncTransfer);
    d.add("deleteUnsent", c.deleteUnsent);
    d.all("callAttemptsOpenClose", s.phoneOptions->callAttemptsOpenClose);
    d.all("callAttemptsAlarm", s.phoneOptions->callAttemptsAlarm);
    d.add("alarmCallUntilAnswer", s.phoneOptions->alarmCallUntilAnswer);
    d.all("number", s.phones->number);
    d.all("useFlag", s.phones->useFlag);
    const ServerSettings& sv = *s.servers;
    d.all("serverIp", sv.serverIp);
    d.all("serverPort", sv.serverPort);
    d.all("useDns", sv.useDns);
    d.all("dnsName", sv.dnsName);
    d.all("udPop", sv.udPop);
    d.all("perez", sv.perez);
    d.all("obnov", sv.obnov);
    d.add("udPop3", sv.udPop3);
    d.add("useGprsMode2", sv.useGprsMode2);
    d.add("serverPassword", sv.serverPassword);
    const ExtraOptions& e = *s.extra;
    d.add("armDelayOn", e.armDelayOn);
    d.add("disarmDelayOn", e.disarmDelayOn);
    d.add("armDelayLoop", e.armDelayLoop);
    d.add("disarmDelayLoop", e.disarmDelayLoop);
    d.add("armDelayTime", e.armDelayTime);
    d.add("disarmDelayTime", e.disarmDelayTime);
    d.add("useTamper", e.useTamper);
    d.add("saveStateOnPowerOff", e.saveStateOnPowerOff);
    d.add("useVoiceMessages", e.useVoiceMessages);
    d.add("silentArming", e.silentArming);
    d.add("useVoicePasswords", e.useVoicePasswords);
    d.add("techLoop", e.techLoop);
    d.add("callPrefix", e.callPrefix);
    const OutputsConfig& o = *s.outputs;
    d.all("outputType", o.outputType);
    d.all("adminPassword", o.adminPassword);
    d.all("userPassword", o.userPassword);
    d.all2("outputLoop", o.outputLoop);
    d.all("outputFlagA", o.outputFlagA);
    d.all("keepOnPowerOff", o.keepOnPowerOff);
    d.all("outputZone", o.outputZone);
    const LoopFunctions& lf = *s.loopFunctions;
    d.all("openAnalysis", lf.openAnalysis);
    d.all("closeAnalysis", lf.closeAnalysis);
    d.all("openLight", lf.openLight);
    d.all("openSiren", lf.openSiren);
    d.all("closeLight", lf.closeLight);
    d.all("closeSiren", lf.closeSiren);
    d.add("errorOpenClose", lf.errorOpenClose);
    const LoopLimits& ll = *s.loopLimits;
    d.all("minLevel", ll.minLevel);
    d.all("maxLevel", ll.maxLevel);
    d.all("reverse", ll.reverse);
    d.all("radio", ll.radio);
    d.all("sensorType", ll.sensorType);
    const SmsNumberFlags& sf = *s.smsFlags;
    d.all("cboz", sf.cboz);
    d.all("cbza", sf.cbza);
    d.all("cb_p_vx_sn", sf.cb_p_vx_sn);
    d.all("checkbox", sf.checkbox);
    d.all("cbDrugieOt", sf.cbDrugieOt);
    d.all("cbDrugieZa", sf.cbDrugieZa);
    d.all("cbts", sf.cbts);
    d.add("checkbox13", sf.checkbox13);
    d.add("checkbox14", sf.checkbox14);
    d.add("objectIdInSms", sf.objectIdInSms);
    const SntpSettings& sn = *s.sntp;
    d.add("useSntp", sn.useSntp);
    d.add("sntpVersion", sn.sntpVersion);
    d.add("cb4", sn.cb4);
    d.add("cb3", sn.cb3);
    d.add("sntpDns", sn.sntpDns);
    d.add("sntpPort", sn.sntpPort);
    d.add("sntpIp", sn.sntpIp);
    const ExtraSmsFlags& es = *s.extraSms;
    d.all("smsService", es.smsService);
    d.all("smsSimChange", es.smsSimChange);
    d.all("smsUserOut1", es.smsUserOut1);
    d.all("smsUserOut2", es.smsUserOut2);
    const ZonesConfig& z = *s.zones;
    d.add("zoneCount", z.zoneCount);
    d.all("keyName", z.keyName);
    d.all("eepromKeyName", z.eepromKeyName);
    d.all("zoneName", z.zoneName);
    d.all2("keyZone", z.keyZone);
    d.all2("loopZone", z.loopZone);
    d.all2("keyLoop", z.keyLoop);
    d.all2("openClose", s.callMatrix->openClose);
    d.all2("alarm", s.callMatrix->alarm);
    const NavigationSettings& n = *s.navigation;
    d.add("gpsReceiver", n.gpsReceiver);
    d.add("distanceFilter", n.distanceFilter);
    d.all("loopFrequent", n.loopFrequent);
    d.all("relayFrequent", n.relayFrequent);
    d.add("cb13", n.cb13);
    d.add("timeZone", n.timeZone);
    d.add("updateTimeFromGps", n.updateTimeFromGps);
    const ConsoleSmsSettings& cs = *s.consoleSms;
    d.all2("eventNumber", cs.eventNumber);
    d.all("consoleNumber", cs.number);
    d.add("objectName", cs.objectName);
    d.all("loopName", cs.loopName);
    d.add("cb1", cs.cb1);
    d.all("cb2to5", cs.cb2to5);
    d.all("eventKind", cs.eventKind);
    d.all("withKeyName", cs.withKeyName);
    d.all("withLoopName", cs.withLoopName);
    d.all("withTime", cs.withTime);
    d.all2("eventText", cs.eventText);
    d.all("useCamera", s.cameras->useCamera);
    d.all2("execCamera", s.cameras->execCamera);
    const RemoteProgSettings& rp = *s.remoteProg;
    d.all("serverAddress", rp.serverAddress);
    d.all("rpServerPort", rp.serverPort);
    d.all("phoneNumber", rp.phoneNumber);
    d.add("smsKeyWord", rp.smsKeyWord);
    d.add("connectToServer", rp.connectToServer);
    d.add("useProgIfNoProtect", rp.useProgIfNoProtect);
    d.all("evTime", s.timeTriggers->evTime);
    d.all("evType", s.timeTriggers->evType);
    d.all2("evDay", s.timeTriggers->evDay);
    return d.out;
}

// Fields the file does not hold: a load must leave them as they were.
QStringList OtherFields(const DeviceSettings& s) {
    Dumper d;
    d.add("firmwareDate", s.header->firmwareDate.toString(Qt::ISODate));
    d.add("firmwareSubVersion", s.header->firmwareSubVersion);
    d.add("comNumber", s.port->comNumber);
    d.add("usbDeviceText", s.port->usbDeviceText);
    d.all("key", s.keys->key);
    d.all("keyActive", s.keys->keyActive);
    d.all("defaultMin", s.loopLimits->defaultMin);
    d.all("defaultMax", s.loopLimits->defaultMax);
    d.all("defaultReverse", s.loopLimits->defaultReverse);
    d.add("sensors", s.loopLimits->sensors.size());
    d.add("operators", s.gsmOperators.size());
    d.add("loopCount", s.zones->loopCount);
    d.add("stateByte", s.state->stateByte);
    return d.out;
}

// Distinct non-default values in every carried field, within what the file
// keeps exactly: four-character passwords, levels as ADC codes, whole minutes.
void FillRich(DeviceSettings& s, quint32 seed) {
    quint32 x = seed;
    auto next = [&x](quint32 mod) {
        x = x * 1103515245u + 12345u;
        return int((x >> 8) % mod);
    };
    auto flag = [&]() { return u8(next(2)); };
    auto text = [&](const char* base) {
        return QString::fromUtf8(base) + QString::number(next(1000));
    };
    auto flags = [&](auto& a) {
        for (auto& v : a)
            v = flag();
    };
    auto flags2 = [&](auto& a) {
        for (auto& row : a)
            for (auto& v : row)
                v = flag();
    };
    auto ints = [&](auto& a, int mod) {
        for (auto& v : a)
            v = next(mod);
    };

    for (int i = 0; i < 4; ++i)
        s.gsmOperators.append(GsmOperator{QString("op%1").arg(i), {}, {}, {}, {}});
    s.loopLimits->sensors.clear();
    const int codes[] = {300, -5, 7, 0x1234};
    for (int i = 0; i < 4; ++i)
        s.loopLimits->sensors.append(SensorRecord{i, codes[i], QString("s%1").arg(i), "C", {}});

    DeviceHeader& h = *s.header;
    h.deviceType = DEV_VoduzeR;
    h.objectType = OBJ_COMPLEX;
    h.workMode = MODE_AUTONOMOUS;
    h.useSim = {1, 1};
    h.simOperator = {3, 2};
    h.checkBalance = {0, 1};
    h.versionIndex = 11;
    ConnectionParams& c = *s.connection;
    c.objectNumber = "4321";
    c.autoIncrementNumber = 1;
    c.csdDetail = 1;
    c.reserveReceiversFirst = 1;
    c.connectByGprs = 1;
    c.testWhenOpen = 1;
    c.testWhenClosed = 0;
    c.testInterval = 17;
    c.testAttempts = 5;
    flags(c.testReceiver);
    c.rapidResponseAttempts = 3;
    c.serverProtocol = 2;
    c.asyncTransfer = 1;
    c.deleteUnsent = 1;
    ints(s.phoneOptions->callAttemptsOpenClose, 9);
    ints(s.phoneOptions->callAttemptsAlarm, 9);
    s.phoneOptions->alarmCallUntilAnswer = 1;
    for (auto& num : s.phones->number)
        num = QString::number(9000000000LL + next(1000000));
    flags(s.phones->useFlag);
    ServerSettings& sv = *s.servers;
    sv.serverIp = {"192.168.001.010", "010.000.000.001"};
    sv.serverPort = {"05000", "12345"};
    sv.useDns = {1, 0};
    sv.dnsName = {"alarm.example.org", "backup, second"};
    sv.udPop = {4, 6};
    sv.perez = {0, 1};
    sv.obnov = {1, 1};
    sv.udPop3 = 8;
    sv.useGprsMode2 = 1;
    sv.serverPassword = "p=ss;word";
    ExtraOptions& e = *s.extra;
    e.armDelayOn = 0;
    e.disarmDelayOn = 0;
    e.armDelayLoop = 5;
    e.disarmDelayLoop = 6;
    e.armDelayTime = 30;
    e.disarmDelayTime = 45;
    e.useTamper = 1;
    e.saveStateOnPowerOff = 1;
    e.useVoiceMessages = 1;
    e.silentArming = 1;
    e.useVoicePasswords = 1;
    e.techLoop = 4;
    e.callPrefix = "8";
    OutputsConfig& o = *s.outputs;
    ints(o.outputType, 6);
    o.adminPassword = {"1234", "5678"};
    o.userPassword = {"abcd", "Вход"};
    flags2(o.outputLoop);
    flags(o.outputFlagA);
    flags(o.keepOnPowerOff);
    o.outputZone = {1, 2, 7, 4};
    LoopFunctions& lf = *s.loopFunctions;
    ints(lf.openAnalysis, 5);
    ints(lf.closeAnalysis, 5);
    flags(lf.openLight);
    flags(lf.openSiren);
    flags(lf.closeLight);
    flags(lf.closeSiren);
    lf.errorOpenClose = 1;
    LoopLimits& ll = *s.loopLimits;
    ll.minLevel = {0, 1, 100, 511, 512, 700, 1000, 1022};
    ll.maxLevel = {1023, 900, 800, 600, 513, 701, 1001, 1023};
    flags(ll.reverse);
    flags(ll.radio);
    ll.sensorType = {0, 1, 2, 3, 3, 2, 1, 0};
    SmsNumberFlags& sf = *s.smsFlags;
    flags(sf.cboz);
    flags(sf.cbza);
    flags(sf.cb_p_vx_sn);
    flags(sf.checkbox);
    flags(sf.cbDrugieOt);
    flags(sf.cbDrugieZa);
    flags(sf.cbts);
    sf.checkbox13 = 1;
    sf.checkbox14 = 1;
    sf.objectIdInSms = 1;
    SntpSettings& sn = *s.sntp;
    sn.useSntp = 0;
    sn.sntpVersion = 4;
    sn.cb4 = 1;
    sn.cb3 = 0;
    sn.sntpDns = "pool.ntp.org";
    sn.sntpPort = "00123";
    sn.sntpIp = "085.021.078.023";
    flags(s.extraSms->smsService);
    flags(s.extraSms->smsSimChange);
    flags(s.extraSms->smsUserOut1);
    flags(s.extraSms->smsUserOut2);
    ZonesConfig& z = *s.zones;
    z.zoneCount = kZones;
    for (int i = 0; i < kOrdinaryKeys; ++i) {
        z.keyName[i] = text("Ключ ");
        z.eepromKeyName[i] = text("key ");
    }
    for (int i = 0; i < kZones; ++i)
        z.zoneName[i] = text("Склад №");
    z.zoneName[2] = "Офис, \"2\" этаж; \\ ok";
    flags2(z.keyZone);
    flags2(z.loopZone);
    flags2(z.keyLoop);
    flags2(s.callMatrix->openClose);
    flags2(s.callMatrix->alarm);
    NavigationSettings& n = *s.navigation;
    n.gpsReceiver = 1;
    n.distanceFilter = "1500";
    flags(n.loopFrequent);
    flags(n.relayFrequent);
    n.cb13 = 1;
    n.timeZone = -3;
    n.updateTimeFromGps = 1;
    ConsoleSmsSettings& cs = *s.consoleSms;
    flags2(cs.eventNumber);
    for (auto& num : cs.number)
        num = QString::number(9100000000LL + next(1000000));
    cs.objectName = "Объект 7";
    for (auto& name : cs.loopName)
        name = text("Шлейф ");
    cs.cb1 = 1;
    flags(cs.cb2to5);
    for (int i = 0; i < kConsoleEvents; ++i)
        cs.eventKind[i] = 10 + i; // distinct per slot, so the slot mapping shows
    flags(cs.withKeyName);
    flags(cs.withLoopName);
    flags(cs.withTime);
    for (auto& row : cs.eventText)
        for (auto& t : row)
            t = text("Тревога ");
    flags(s.cameras->useCamera);
    flags2(s.cameras->execCamera);
    RemoteProgSettings& rp = *s.remoteProg;
    rp.serverAddress = {"prog.example.org", "10.0.0.2"};
    rp.serverPort = {65535, 8080};
    rp.phoneNumber = {"9031234567", "9161234567"};
    rp.smsKeyWord = "ПРОГ";
    rp.connectToServer = 1;
    rp.useProgIfNoProtect = 1;
    TimeTriggers& tt = *s.timeTriggers;
    for (int i = 0; i < kTimeTriggers; ++i)
        tt.evTime[i] = i == 4 ? QTime() : QTime(next(24), next(60));
    ints(tt.evType, 4);
    flags2(tt.evDay);
}

// Non-carried fields set apart from the defaults, to see that a load keeps them.
void MarkOtherFields(DeviceSettings& s) {
    s.header->firmwareDate = QDate(2010, 12, 3);
    s.header->firmwareSubVersion = 33;
    s.port->comNumber = 4;
    s.keys->key[3] = "01-02-03-04-05-06";
    s.loopLimits->defaultMin[2] = 123;
    s.zones->loopCount = 8;
    s.state->stateByte = 9;
}

// group -> key -> value text exactly as it stands in the file
using IniText = QMap<QString, QMap<QString, QString>>;

IniText ParseIni(const QByteArray& bytes) {
    IniText out;
    QString group;
    for (const QString& line : QString::fromUtf8(bytes).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            group = line.mid(1, line.size() - 2);
            out[group];
        } else if (const int eq = int(line.indexOf(QLatin1Char('='))); eq > 0) {
            out[group][line.left(eq)] = line.mid(eq + 1);
        }
    }
    return out;
}

} // namespace

class TstSettingsIniFile : public QObject {
    Q_OBJECT
private slots:
    void init();
    void roundTrip_data();
    void roundTrip();
    void goldenDefaults_data();
    void goldenDefaults();
    void groupKeyCounts_data();
    void groupKeyCounts();
    void voltsText_data();
    void voltsText();
    void levelsFromFile_data();
    void levelsFromFile();
    void refusedFileLeavesSettings_data();
    void refusedFileLeavesSettings();
    void garbageValues();
    void missingKeysTakeTheirDefaults();
    void zoneCountBoundsTheZoneKeys();
    void olderKeysSurviveASave();
    void sensorTypesByCode();
    void outputZoneKeyIsOptional();
    void windows1251File();
    void unwritableTarget();
    void adcScales();

private:
    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }
};

void TstSettingsIniFile::init() {
    QVERIFY(m_dir.isValid());
}

void TstSettingsIniFile::roundTrip_data() {
    QTest::addColumn<bool>("richSource");
    QTest::addColumn<int>("zoneCount");
    QTest::newRow("defaults") << false << 1;
    QTest::newRow("rich, 8 zones") << true << 8;
    QTest::newRow("rich, 3 zones") << true << 3;
    QTest::newRow("rich, no zones") << true << 0;
}

void TstSettingsIniFile::roundTrip() {
    QFETCH(bool, richSource);
    QFETCH(int, zoneCount);
    DeviceSettings source;
    if (richSource)
        FillRich(source, 7);
    source.zones->zoneCount = zoneCount;

    // The target differs from the source in every carried field, so a field
    // the reader skipped would show.
    DeviceSettings target;
    if (richSource) {
        target.gsmOperators = source.gsmOperators;
        target.loopLimits->sensors = source.loopLimits->sensors;
    } else {
        FillRich(target, 99);
        target.gsmOperators.append(GsmOperator{"only", {}, {}, {}, {}});
    }
    MarkOtherFields(target);
    const QStringList otherBefore = OtherFields(target);
    // Zone entries beyond the count do not travel: they keep the target's.
    for (int i = zoneCount; i < kZones; ++i) {
        source.zones->zoneName[i] = target.zones->zoneName[i];
        for (int k = 0; k < kOrdinaryKeys; ++k)
            source.zones->keyZone[k][i] = target.zones->keyZone[k][i];
        for (int l = 0; l < kLoops; ++l)
            source.zones->loopZone[l][i] = target.zones->loopZone[l][i];
    }

    const QString file = path("roundtrip.ini");
    QFile::remove(file);
    QVERIFY(SaveSettingsFile(file, &source));
    QVERIFY(LoadSettingsFile(file, &target));
    QCOMPARE(CarriedFields(target), CarriedFields(source));
    QCOMPARE(OtherFields(target), otherBefore);
}

void TstSettingsIniFile::goldenDefaults_data() {
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    auto row = [](const char* g, const char* k, const QString& t) {
        QTest::addRow("%s/%s", g, k) << QString(g) << QString(k) << t;
    };
    row("GPRS", "cbSIM1", "0");
    row("GPRS", "cbBallans2", "1");
    row("GPRS", "ipadress", "000.000.000.000");
    row("GPRS", "frmGPRSsettings.ipport2", "00000");
    row("GPRS", "cb2", "1");
    row("GPRS", "cb3", "0"); // inverted: the field is 1
    row("GPRS", "cb4", "1");
    row("GPRS", "cb_sntp_ver", "2");
    row("GPRS", "DNS_sntp", "");
    row("maskedit", "maskedit15", "0000000000");
    row("Coz", "Coz5", "0");
    row("RELE_PWD", "idob", "0001");
    row("RELE_PWD", "Form23.meparadm_1_2", "73917391");
    row("RELE_PWD", "Form23.parol_1_2", "73917391");
    row("noname_001", "radiogroup1", "1");
    row("noname_001", "callPrefix", "+7");
    row("CB_isp", "CB_isp5", "0");
    row("CB_isp", "CB_isp15", "0");
    row("txx", "t12", "0");
    row("txx", "t84", "0");
    row("adc", "shl8max", "0");
    row("Form3.checkbox", "Form3.checkbox144", "0");
    row("Zones", "TypeObject", "0");
    row("Zones", "ZonesCount", "1");
    row("Zones", "ZoneName1", QStringLiteral("Зона 0"));
    row("Zones", "KeyZone18.0", "0");
    row("Zones", "ShlZone8.0", "1");
    row("checkbox", "delMsgsAfterOutTrySend", "0");
    row("Form13", "cbOpenAnalise00", "0");
    row("Form13", "cbCloseLight07", "0");
    row("Form6", "Form6.Checkbox1", "0"); // 1 = no delay in the model
    row("Form6", "Form6.Checkbox2", "0");
    row("Form2", "Form2.isx_test_pops", "-1");
    row("Form2", "Form2.isx_kan15", "0");
    row("Form23", "Form23.CheckBox32", "0");
    row("Form23", "Form23.cbOutZone4", "0");
    row("Form22", "Form22.CheckBox80", "1");
    row("Form24", "Form24.edDevName", "Device1");
    row("Form24", "Form24.Edit8", "Shl8");
    row("Form24", "Form24.Edit95", "0");
    row("Form24", "Form24.maskedit5", "9000000000");
    row("Form24", "Form24.cb9time", "0");
    row("Form24", "Form24.ed9p2", "");
    row("191209", "cbDrugieZa5", "0");
    row("050610", "cbPcnOpen4", "0");
    row("070610", "form28.MaskEdit1", "0");
    row("160810", "form23.cbSaveSostPwerOff4", "0");
    row("Cameras", "execCamera_88", "0");
    row("RemoteProgram", "port_2", "0");
    row("RemoteProgram", "phone_number_2", "9000000000");
    row("TriggByTime", "ev_time_10", "");
    row("TriggByTime", "ev_type_10", "0");
    row("TriggByTime", "ev_day_10_7", "false");
}

void TstSettingsIniFile::goldenDefaults() {
    QFETCH(QString, group);
    QFETCH(QString, key);
    QFETCH(QString, text);
    const QString file = path("defaults.ini");
    QFile::remove(file);
    DeviceSettings s;
    QVERIFY(SaveSettingsFile(file, &s));
    const QByteArray bytes = ReadAll(file);
    QVERIFY(IsValidUtf8(bytes));
    const IniText ini = ParseIni(bytes);
    QVERIFY2(ini.value(group).contains(key), qPrintable(group + "/" + key));
    QCOMPARE(ini.value(group).value(key), text);
}

void TstSettingsIniFile::groupKeyCounts_data() {
    QTest::addColumn<QString>("group");
    QTest::addColumn<int>("count");
    const QList<QPair<const char*, int>> groups = {
        {"GPRS", 29},
        {"maskedit", 15},
        {"cboz", 5},
        {"cbza", 5},
        {"cbts", 5},
        {"Coz", 5},
        {"ct", 5},
        {"RELE_PWD", 3},
        {"noname_001", 5},
        {"CB_isp", 11},
        {"txx", 16},
        {"adc", 16},
        {"typeShl", 8},
        {"Form3.checkbox", 144},
        {"Zones", 2 + 8 + 18 * 8 + 8 * 8}, // eight zones
        {"checkbox", 17},
        {"Form13", 49},
        {"Form3", 36},
        {"Form8", 16},
        {"combobox", 1},
        {"Form6", 6},
        {"Form2", 12},
        {"cb_p_vx_sn", 5},
        {"Form1", 1},
        {"Form23", 36 + 4},
        {"Form22", 80},
        {"Form24", 127},
        {"191209", 21},
        {"050610", 4},
        {"070610", 15},
        {"160810", 16},
        {"Cameras", 72},
        {"RemoteProgram", 9},
        {"TriggByTime", 90},
    };
    QCOMPARE(groups.size(), 34);
    for (const auto& g : groups)
        QTest::newRow(g.first) << QString(g.first) << g.second;
}

void TstSettingsIniFile::groupKeyCounts() {
    QFETCH(QString, group);
    QFETCH(int, count);
    const QString file = path("counts.ini");
    QFile::remove(file);
    DeviceSettings s;
    FillRich(s, 3);
    QVERIFY(SaveSettingsFile(file, &s));
    const IniText ini = ParseIni(ReadAll(file));
    QCOMPARE(ini.size(), 34);
    QCOMPARE(int(ini.value(group).size()), count);
}

void TstSettingsIniFile::voltsText_data() {
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("readBack");
    QTest::newRow("0") << 0 << "0" << 0;
    QTest::newRow("1") << 1 << "0,00322581" << 1;
    QTest::newRow("100") << 100 << "0,322581" << 100;
    QTest::newRow("512") << 512 << "1,65161" << 511;
    QTest::newRow("1000") << 1000 << "3,22581" << 1000;
    QTest::newRow("1023") << 1023 << "3,3" << 1022;
}

void TstSettingsIniFile::voltsText() {
    QFETCH(int, level);
    QFETCH(QString, text);
    QFETCH(int, readBack);
    QCOMPARE(LevelToVoltsText(level), text);
    // As a file without "adc" hands it back: unquoted, split at the comma.
    u32 got = 99;
    QVERIFY(VoltsValueToLevel(QVariant(text.split(QLatin1Char(','))), &got));
    QCOMPARE(int(got), readBack);
    // Quoted, as this program writes it.
    got = 99;
    QVERIFY(VoltsValueToLevel(QVariant(text), &got));
    QCOMPARE(int(got), readBack);
}

void TstSettingsIniFile::levelsFromFile_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("min0");
    QTest::addColumn<int>("max7");
    QByteArray txxTail;
    for (int n = 1; n <= 8; ++n)
        txxTail += QByteArray("t") + QByteArray::number(n) + "4=3,3\n";
    QByteArray txxMins;
    for (int n = 2; n <= 8; ++n)
        txxMins += QByteArray("t") + QByteArray::number(n) + "2=0\n";
    QTest::newRow("adc wins over txx") << QByteArray("[adc]\nshl1min=200\nshl8max=800\n"
                                                     "[txx]\nt12=garbage\n")
                                       << true << 200 << 800;
    QTest::newRow("adc probe present but empty")
        << QByteArray("[adc]\nshl1min=\n[txx]\nt12=1\n") << true << 0 << 0;
    QTest::newRow("adc out of range is bounded")
        << QByteArray("[adc]\nshl1min=-5\nshl8max=99999\n") << true << 0 << 1023;
    QTest::newRow("txx unquoted comma")
        << QByteArray("[txx]\nt12=1,65\n") + txxMins + txxTail << true << 511 << 1022;
    QTest::newRow("txx three items")
        << QByteArray("[txx]\nt12=1,65,7\n") + txxMins + txxTail << true << 511 << 1022;
    QTest::newRow("txx quoted comma")
        << QByteArray("[txx]\nt12=\"1,65161\"\n") + txxMins + txxTail << true << 511 << 1022;
    QTest::newRow("txx point") << QByteArray("[txx]\nt12=0.5\n") + txxMins + txxTail << true << 155
                               << 1022;
    QTest::newRow("txx negative and huge") << QByteArray("[txx]\nt12=-1\n") + txxMins +
                                                  QByteArray(txxTail).replace("t84=3,3", "t84=1e30")
                                           << true << 0 << 1023;
    QTest::newRow("txx empty value")
        << QByteArray("[txx]\nt12=\n") + txxMins + txxTail << false << 0 << 0;
    QTest::newRow("txx text") << QByteArray("[txx]\nt12=abc\n") + txxMins + txxTail << false << 0
                              << 0;
    QTest::newRow("txx last key missing")
        << QByteArray("[txx]\nt12=1\n") + txxMins + QByteArray(txxTail).replace("t84=3,3\n", "")
        << false << 0 << 0;
}

void TstSettingsIniFile::levelsFromFile() {
    QFETCH(QByteArray, content);
    QFETCH(bool, ok);
    QFETCH(int, min0);
    QFETCH(int, max7);
    const QString file = path("levels.ini");
    QVERIFY(WriteAll(file, content));
    DeviceSettings s;
    s.loopLimits->minLevel.fill(77);
    s.loopLimits->maxLevel.fill(77);
    QCOMPARE(LoadSettingsFile(file, &s), ok);
    if (ok) {
        QCOMPARE(int(s.loopLimits->minLevel[0]), min0);
        QCOMPARE(int(s.loopLimits->maxLevel[7]), max7);
    } else {
        QCOMPARE(int(s.loopLimits->minLevel[0]), 77);
        QCOMPARE(int(s.loopLimits->maxLevel[7]), 77);
    }
}

void TstSettingsIniFile::refusedFileLeavesSettings_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("create");
    QTest::newRow("missing file") << QByteArray() << false;
    QTest::newRow("empty file") << QByteArray() << true;
    QTest::newRow("other kind of file") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0", 11) << true;
    QTest::newRow("groups read after a bad level")
        << QByteArray("[txx]\nt12=1\nt14=x\n[GPRS]\ncbSIM1=-1\n[Zones]\nZonesCount=0\n") << true;
}

void TstSettingsIniFile::refusedFileLeavesSettings() {
    QFETCH(QByteArray, content);
    QFETCH(bool, create);
    const QString file = path("refused.ini");
    QFile::remove(file);
    if (create)
        QVERIFY(WriteAll(file, content));
    DeviceSettings s;
    FillRich(s, 5);
    const QStringList before = CarriedFields(s) + OtherFields(s);
    QVERIFY(!LoadSettingsFile(file, &s));
    QCOMPARE(CarriedFields(s) + OtherFields(s), before);
}

void TstSettingsIniFile::garbageValues() {
    const QString file = path("garbage.ini");
    QVERIFY(WriteAll(file, "[adc]\nshl1min=abc\nshl1max=12x\n"
                           "[GPRS]\ncbSIM1=77\ncbSIM2=-4\ncbBallans1=yes\ncb3=FALSE\n"
                           "[Zones]\nZonesCount=250\nZoneName1=a\nZoneName8=h\n"
                           "KeyZone18.7=1\nShlZone8.7=TRUE\nZoneName9=i\n"
                           "[Form2]\nForm2.isx_test_pops=xyz\n"
                           "[RemoteProgram]\nport_1=70000\nport_2=-1\n"
                           "[TriggByTime]\nev_time_1=25:99\nev_time_2=7:5\nev_time_3=07:05\n"
                           "[RELE_PWD]\nidob=\nForm23.meparadm_1_2=12\n"
                           "[checkbox]\ncbAutoMode=1.5\n"));
    DeviceSettings s;
    s.gsmOperators.append(GsmOperator{"a", {}, {}, {}, {}});
    s.header->simOperator = {0, 0};
    s.header->useSim = {0, 1};
    QVERIFY(LoadSettingsFile(file, &s));
    QCOMPARE(s.loopLimits->minLevel[0], u32(0));
    QCOMPARE(s.loopLimits->maxLevel[0], u32(0));
    // An operator index past the list is not taken; the SIM is in use.
    QCOMPARE(s.header->useSim[0], u8(1));
    QCOMPARE(s.header->simOperator[0], 0);
    QCOMPARE(s.header->useSim[1], u8(0));
    QCOMPARE(s.header->checkBalance[0], u8(1));
    QCOMPARE(s.sntp->cb3, u8(1));
    QCOMPARE(s.zones->zoneCount, kZones);
    QCOMPARE(s.zones->zoneName[0], QString("a"));
    QCOMPARE(s.zones->zoneName[7], QString("h"));
    QCOMPARE(s.zones->keyZone[17][7], u8(1));
    QCOMPARE(s.zones->loopZone[7][7], u8(1));
    QCOMPARE(s.connection->testAttempts, 1);
    QCOMPARE(s.remoteProg->serverPort[0], u16(70000 & 0xFFFF));
    QCOMPARE(s.remoteProg->serverPort[1], u16(0xFFFF));
    QVERIFY(s.timeTriggers->evTime[0].isNull());
    QVERIFY(s.timeTriggers->evTime[1].isNull());
    QCOMPARE(s.timeTriggers->evTime[2], QTime(7, 5));
    QCOMPARE(s.connection->objectNumber, QByteArray());
    QCOMPARE(s.outputs->adminPassword[0], QString("12"));
    QCOMPARE(s.outputs->adminPassword[1], QString("12"));
    QCOMPARE(s.header->workMode, 0);

    // Random bytes: whatever the answer, no crash and no read outside.
    quint32 x = 1;
    for (int round = 0; round < 20; ++round) {
        QByteArray junk;
        for (int i = 0; i < 400; ++i) {
            x = x * 1103515245u + 12345u;
            junk.append(char(x >> 16));
        }
        if (round % 2)
            junk.prepend("[adc]\nshl1min=1\n[Zones]\n");
        QVERIFY(WriteAll(file, junk));
        DeviceSettings t;
        LoadSettingsFile(file, &t);
        QVERIFY(t.zones->zoneCount >= 0 && t.zones->zoneCount <= kZones);
    }
}

void TstSettingsIniFile::missingKeysTakeTheirDefaults() {
    // Only the level probe: every other key is missing.
    const QString file = path("sparse.ini");
    QVERIFY(WriteAll(file, "[adc]\nshl1min=5\n"));
    DeviceSettings s;
    FillRich(s, 11);
    s.header->useSim = {0, 0};
    s.header->simOperator = {3, 2};
    const auto zonesBefore = s.zones->zoneName;
    QVERIFY(LoadSettingsFile(file, &s));
    QCOMPARE(s.header->useSim[0], u8(1));
    QCOMPARE(s.header->simOperator[0], 0);
    QCOMPARE(s.navigation->gpsReceiver, u8(1)); // inverted flags become set
    QCOMPARE(s.sntp->cb3, u8(1));
    QCOMPARE(s.sntp->cb4, u8(1));
    QCOMPARE(s.extra->armDelayOn, u8(1));
    QCOMPARE(s.extra->disarmDelayOn, u8(1));
    QCOMPARE(s.connection->autoIncrementNumber, u8(0));
    QCOMPARE(s.connection->testAttempts, 1);
    QCOMPARE(s.zones->zoneCount, 0); // "ZonesCount" missing: names untouched
    QCOMPARE(s.zones->zoneName, zonesBefore);
    QCOMPARE(s.servers->serverIp[0], QString());
    QVERIFY(s.timeTriggers->evTime[3].isNull());
    QCOMPARE(s.loopLimits->minLevel[0], u32(5));
    QCOMPARE(s.loopLimits->maxLevel[0], u32(0));
    QCOMPARE(s.loopLimits->sensorType[1], u32(0));
}

void TstSettingsIniFile::zoneCountBoundsTheZoneKeys() {
    DeviceSettings s;
    FillRich(s, 13);
    s.zones->zoneCount = 12; // more than the model holds
    const QString file = path("zones.ini");
    QFile::remove(file);
    QVERIFY(SaveSettingsFile(file, &s));
    const IniText ini = ParseIni(ReadAll(file));
    QVERIFY(ini["Zones"].contains("ZoneName8"));
    QVERIFY(!ini["Zones"].contains("ZoneName9"));
    QVERIFY(!ini["Zones"].contains("KeyZone1.8"));
    DeviceSettings t;
    QVERIFY(LoadSettingsFile(file, &t));
    QCOMPARE(t.zones->zoneCount, kZones);
    QCOMPARE(t.zones->zoneName, s.zones->zoneName);
}

void TstSettingsIniFile::olderKeysSurviveASave() {
    const QString file = path("older.ini");
    QFile::remove(file);
    DeviceSettings s;
    FillRich(s, 17);
    s.zones->zoneCount = 5;
    QVERIFY(SaveSettingsFile(file, &s));
    QVERIFY(WriteAll(file, ReadAll(file) + "[Foreign]\nkeep=me\n"));
    s.zones->zoneCount = 2;
    QVERIFY(SaveSettingsFile(file, &s));
    const IniText ini = ParseIni(ReadAll(file));
    QCOMPARE(ini["Zones"]["ZonesCount"], QString("2"));
    QVERIFY(ini["Zones"].contains("ZoneName5"));
    QVERIFY(ini["Zones"].contains("ShlZone8.4"));
    QCOMPARE(ini["Foreign"]["keep"], QString("me"));

    DeviceSettings t;
    t.zones->zoneName[4] = "stays";
    QVERIFY(LoadSettingsFile(file, &t));
    QCOMPARE(t.zones->zoneCount, 2);
    QCOMPARE(t.zones->zoneName[1], s.zones->zoneName[1]);
    QCOMPARE(t.zones->zoneName[4], QString("stays"));
}

void TstSettingsIniFile::sensorTypesByCode() {
    const QString file = path("sensors.ini");
    QFile::remove(file);
    DeviceSettings s;
    FillRich(s, 19);
    QVERIFY(SaveSettingsFile(file, &s));
    IniText ini = ParseIni(ReadAll(file));
    QCOMPARE(ini["typeShl"]["shl2"], QString("-5")); // position 1 holds code -5
    QCOMPARE(ini["typeShl"]["shl4"], QString("4660"));

    // With a different listing the code finds the record, not the position.
    DeviceSettings t;
    t.loopLimits->sensors = {SensorRecord{0, 4660, {}, {}, {}}, SensorRecord{1, -5, {}, {}, {}}};
    QVERIFY(LoadSettingsFile(file, &t));
    QCOMPARE(t.loopLimits->sensorType[1], u32(1));
    QCOMPARE(t.loopLimits->sensorType[3], u32(0));
    QCOMPARE(t.loopLimits->sensorType[0], u32(0)); // code 300 unknown here

    // No sensor records (no "sensors" folder): the save must not look any up,
    // and a stale type key of the older file must not survive.
    s.loopLimits->sensors.clear();
    QVERIFY(SaveSettingsFile(file, &s));
    ini = ParseIni(ReadAll(file));
    QVERIFY(ini.value("typeShl").isEmpty());
    t.loopLimits->sensorType.fill(3);
    QVERIFY(LoadSettingsFile(file, &t));
    QCOMPARE(t.loopLimits->sensorType[1], u32(0));
}

void TstSettingsIniFile::outputZoneKeyIsOptional() {
    const QString file = path("nozone.ini");
    QVERIFY(WriteAll(file, "[adc]\nshl1min=1\n[Form23]\nForm23.combobox1=2\n"));
    DeviceSettings s;
    s.outputs->outputZone = {3, 4, 5, 6};
    QVERIFY(LoadSettingsFile(file, &s));
    QCOMPARE(s.outputs->outputType[0], 2);
    QCOMPARE(s.outputs->outputZone, (Arr<i32, kOutputs>{3, 4, 5, 6}));
}

void TstSettingsIniFile::windows1251File() {
    const QString file = path("cp1251.ini");
    const QString text = QStringLiteral("[adc]\nshl1min=10\n[Zones]\nZonesCount=2\n"
                                        "ZoneName1=Склад\nZoneName2=\"Офис, 2 этаж\"\n"
                                        "[Form24]\nForm24.edDevName=Объект №5\n");
    const QByteArray bytes = ToCp1251(text);
    QVERIFY(!IsValidUtf8(bytes));
    QVERIFY(WriteAll(file, bytes));
    DeviceSettings s;
    QVERIFY(LoadSettingsFile(file, &s));
    QCOMPARE(s.zones->zoneName[0], QStringLiteral("Склад"));
    QCOMPARE(s.zones->zoneName[1], QStringLiteral("Офис, 2 этаж"));
    QCOMPARE(s.consoleSms->objectName, QStringLiteral("Объект №5"));

    // Saving over it turns the whole file into UTF-8, old keys included.
    QVERIFY(WriteAll(file, bytes + ToCp1251(QStringLiteral("[Old]\nnote=Привет\n"))));
    QVERIFY(SaveSettingsFile(file, &s));
    const QByteArray saved = ReadAll(file);
    QVERIFY(IsValidUtf8(saved));
    QCOMPARE(ParseIni(saved)["Old"]["note"], QStringLiteral("Привет"));
    QCOMPARE(IniTextToUtf8(bytes), text.toUtf8());
}

void TstSettingsIniFile::unwritableTarget() {
    DeviceSettings s;
    FillRich(s, 23);
    QVERIFY(!SaveSettingsFile(path("no/such/folder/x.ini"), &s));
    QVERIFY(!SaveSettingsFile(m_dir.path(), &s)); // a folder, not a file

    // A name so long that no temporary file can sit beside it: the write
    // fails, and the old file must be left as it was.
    const QString longName = path(QString(250, QLatin1Char('n')) + ".ini");
    const QByteArray old("[GPRS]\ncbSIM1=3\n");
    QVERIFY(WriteAll(longName, old));
    QVERIFY(!SaveSettingsFile(longName, &s));
    QCOMPARE(ReadAll(longName), old);

    if (geteuid() == 0)
        QSKIP("permissions do not bind the superuser");
    const QString roDir = path("readonly");
    QVERIFY(QDir().mkpath(roDir));
    const QString target = roDir + "/old.ini";
    QVERIFY(WriteAll(target, old));
    QVERIFY(QFile::setPermissions(roDir, QFile::ReadOwner | QFile::ExeOwner));
    const bool saved = SaveSettingsFile(target, &s);
    QFile::setPermissions(roDir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(!saved);
    QCOMPARE(ReadAll(target), old);
}

void TstSettingsIniFile::adcScales() {
    const QString file = path("family.dev");
    DeviceSettings s;
    s.loopLimits->minLevel.fill(9);
    s.loopLimits->defaultMin.fill(1);
    s.loopLimits->defaultMax.fill(2);
    QVERIFY(WriteAll(file, "[adc]\nshl1min=0\nshl3min=200\nshl3max=800\n[Form8]\nForm8.Chb2=1\n"
                           "[GPRS]\ncbSIM1=-1\n"));
    QVERIFY(ReadAdcScales(file, &s));
    QCOMPARE(s.loopLimits->defaultMin[2], u32(200));
    QCOMPARE(s.loopLimits->defaultMax[2], u32(800));
    QCOMPARE(s.loopLimits->defaultMin[0], u32(0));
    QCOMPARE(s.loopLimits->defaultReverse[1], u8(1));
    QCOMPARE(s.loopLimits->minLevel[0], u32(9)); // the user's levels stay
    QCOMPARE(s.header->useSim[0], u8(1));        // nothing else is read

    QByteArray txx = "[txx]\n";
    for (int n = 1; n <= 8; ++n)
        txx += QByteArray("t") + QByteArray::number(n) + "2=" + (n == 3 ? "1,65" : "0") + "\nt" +
               QByteArray::number(n) + "4=3,3\n";
    QVERIFY(WriteAll(file, txx));
    QVERIFY(ReadAdcScales(file, &s));
    QCOMPARE(s.loopLimits->defaultMin[2], u32(511));
    QCOMPARE(s.loopLimits->defaultReverse[1], u8(0));

    // A refused file changes nothing.
    QVERIFY(WriteAll(file, "[txx]\nt12=1\nt14=\n[Form8]\nForm8.Chb1=1\n"));
    const auto before = s.loopLimits->defaultMin;
    QVERIFY(!ReadAdcScales(file, &s));
    QCOMPARE(s.loopLimits->defaultMin, before);
    QCOMPARE(s.loopLimits->defaultReverse[0], u8(0));
}

QTEST_GUILESS_MAIN(TstSettingsIniFile)
#include "tst_settingsinifile.moc"
