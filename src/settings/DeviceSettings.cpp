#include "settings/DeviceSettings.h"

DeviceSettings* g_deviceSettings = nullptr;

DeviceSettings::DeviceSettings() {
    allocate();
    SetDefaultSettings(this, false);
    port->comIndex = 0;
    port->useCom = 1;
}

DeviceSettings::DeviceSettings(const DeviceSettings& o) {
    allocate();
    copyFrom(o);
}

// Assignment copies block contents, so pointers to blocks held elsewhere stay
// valid: a file read into a copy is committed by assigning it back.
DeviceSettings& DeviceSettings::operator=(const DeviceSettings& o) {
    if (this != &o)
        copyFrom(o);
    return *this;
}

DeviceSettings::~DeviceSettings() {
    release();
}

void DeviceSettings::allocate() {
    // The order in which the device's own software created its blocks.
    gsmOperators.clear();
    phoneOptions = new PhoneNumberOptions;
    port = new PortSettings;
    servers = new ServerSettings;
    connection = new ConnectionParams;
    extra = new ExtraOptions;
    outputs = new OutputsConfig;
    phones = new PhoneNumbers;
    loopFunctions = new LoopFunctions;
    keys = new KeyCodes;
    loopLimits = new LoopLimits;
    header = new DeviceHeader;
    smsFlags = new SmsNumberFlags;
    sntp = new SntpSettings;
    extraSms = new ExtraSmsFlags;
    zones = new ZonesConfig;
    callMatrix = new CallMatrix;
    navigation = new NavigationSettings;
    consoleSms = new ConsoleSmsSettings;
    cameras = new CamerasConfig;
    spare = new SpareBlock;
    sounds = new SoundPackets;
    state = new DeviceStateLog;
    remoteProg = new RemoteProgSettings;
    timeTriggers = new TimeTriggers;
}

void DeviceSettings::release() {
    delete header;
    delete connection;
    delete phoneOptions;
    delete phones;
    delete port;
    delete servers;
    delete extra;
    delete outputs;
    delete loopFunctions;
    delete keys;
    delete loopLimits;
    delete smsFlags;
    delete sntp;
    delete extraSms;
    delete zones;
    delete callMatrix;
    delete navigation;
    delete consoleSms;
    delete cameras;
    delete spare;
    delete sounds;
    delete state;
    delete remoteProg;
    delete timeTriggers;
}

void DeviceSettings::copyFrom(const DeviceSettings& o) {
    *header = *o.header;
    *connection = *o.connection;
    *phoneOptions = *o.phoneOptions;
    *phones = *o.phones;
    *port = *o.port;
    *servers = *o.servers;
    *extra = *o.extra;
    *outputs = *o.outputs;
    *loopFunctions = *o.loopFunctions;
    *keys = *o.keys;
    *loopLimits = *o.loopLimits;
    gsmOperators = o.gsmOperators;
    *smsFlags = *o.smsFlags;
    *sntp = *o.sntp;
    *extraSms = *o.extraSms;
    *zones = *o.zones;
    *callMatrix = *o.callMatrix;
    *navigation = *o.navigation;
    *consoleSms = *o.consoleSms;
    *cameras = *o.cameras;
    *sounds = *o.sounds;
    *state = *o.state;
    *remoteProg = *o.remoteProg;
    *timeTriggers = *o.timeTriggers;
}

namespace {

template <typename A> void zero(A& a) {
    a.fill({});
}
template <typename A> void zero2(A& a) {
    for (auto& row : a)
        row.fill(0);
}

const QString kZeroIp = QStringLiteral("000.000.000.000");
const QString kZeroPort = QStringLiteral("00000");
const QString kZeroPhone = QStringLiteral("0000000000");
const QString kConsolePhone = QStringLiteral("9000000000");

} // namespace

void SetDefaultSettings(DeviceSettings* s, bool keepDeviceState) {
    DeviceHeader& h = *s->header;
    h.deviceType = DEV_D4M;
    h.objectType = OBJ_SIMPLE;
    h.workMode = MODE_SYSTEM;
    h.useSim = {1, 1};
    h.checkBalance = {1, 1};

    PhoneNumberOptions& po = *s->phoneOptions;
    zero(po.callAttemptsOpenClose);
    zero(po.callAttemptsAlarm);
    po.alarmCallUntilAnswer = 0;

    ServerSettings& sv = *s->servers;
    sv.serverIp.fill(kZeroIp);
    sv.serverPort.fill(kZeroPort);
    sv.dnsName.fill(QString());
    zero(sv.useDns);
    zero(sv.udPop);
    zero(sv.perez);
    zero(sv.obnov);
    sv.udPop3 = 0;
    sv.useGprsMode2 = 0;

    ConnectionParams& c = *s->connection;
    c.objectNumber = "0001";
    c.autoIncrementNumber = 0;
    c.csdDetail = 0;
    c.reserveReceiversFirst = 0;
    c.connectByGprs = 0;
    c.testWhenOpen = 0;
    c.testWhenClosed = 0;
    c.testInterval = 0;
    c.testAttempts = 0;
    zero(c.testReceiver);
    c.rapidResponseAttempts = 0;
    c.serverProtocol = 0;
    c.asyncTransfer = 0;
    c.deleteUnsent = 0;

    ExtraOptions& e = *s->extra;
    e.armDelayOn = 1;
    e.disarmDelayOn = 1;
    e.armDelayLoop = 0;
    e.disarmDelayLoop = 0;
    e.armDelayTime = 0;
    e.disarmDelayTime = 0;
    e.useTamper = 0;
    e.useVoiceMessages = 0;
    e.silentArming = 0;
    e.useVoicePasswords = 0;
    e.techLoop = 0;
    e.callPrefix = QStringLiteral("+7");

    OutputsConfig& o = *s->outputs;
    zero(o.outputType);
    o.adminPassword.fill(QString::fromLatin1(kDefaultDevicePassword));
    o.userPassword.fill(QString::fromLatin1(kDefaultDevicePassword));
    zero2(o.outputLoop);
    zero(o.outputFlagA);
    zero(o.keepOnPowerOff);
    zero(o.outputZone);

    PhoneNumbers& p = *s->phones;
    p.number.fill(kZeroPhone);
    zero(p.useFlag);

    LoopFunctions& lf = *s->loopFunctions;
    zero(lf.openAnalysis);
    zero(lf.closeAnalysis);
    zero(lf.openLight);
    zero(lf.openSiren);
    zero(lf.closeLight);
    zero(lf.closeSiren);
    lf.errorOpenClose = 0;

    LoopLimits& ll = *s->loopLimits;
    zero(ll.minLevel);
    zero(ll.maxLevel);
    zero(ll.reverse);
    zero(ll.radio);
    zero(ll.sensorType);

    SmsNumberFlags& sf = *s->smsFlags;
    zero(sf.cboz);
    zero(sf.cbza);
    zero(sf.cb_p_vx_sn);
    zero(sf.checkbox);
    zero(sf.cbDrugieOt);
    zero(sf.cbDrugieZa);
    zero(sf.cbts);
    sf.checkbox13 = 0;
    sf.checkbox14 = 0;
    sf.objectIdInSms = 0;

    ExtraSmsFlags& es = *s->extraSms;
    zero(es.smsService);
    zero(es.smsSimChange);
    zero(es.smsUserOut1);
    zero(es.smsUserOut2);

    ZonesConfig& z = *s->zones;
    z.zoneCount = 1;
    z.loopCount = 6;
    zero2(z.keyZone);
    zero2(z.keyLoop);
    zero2(z.loopZone);
    for (auto& row : z.loopZone)
        row[0] = 1;
    for (int i = 0; i < kZones; ++i)
        z.zoneName[i] = QStringLiteral("Зона ") + QString::number(i);

    CallMatrix& cm = *s->callMatrix;
    for (auto& row : cm.openClose)
        row.fill(1);
    for (auto& row : cm.alarm)
        row.fill(1);

    SntpSettings& sn = *s->sntp;
    sn.useSntp = 1;
    sn.sntpVersion = 2;
    sn.cb4 = 0;
    sn.cb3 = 1;
    sn.sntpPort = kZeroPort;
    sn.sntpIp = kZeroIp;

    NavigationSettings& n = *s->navigation;
    n.gpsReceiver = 0;
    n.distanceFilter = QStringLiteral("0");
    zero(n.loopFrequent);
    zero(n.relayFrequent);
    n.cb13 = 0;
    n.timeZone = 0;
    n.updateTimeFromGps = 0;

    ConsoleSmsSettings& cs = *s->consoleSms;
    zero2(cs.eventNumber);
    cs.number.fill(kConsolePhone);
    cs.objectName = QStringLiteral("Device1");
    for (int i = 0; i < kLoops; ++i)
        cs.loopName[i] = QStringLiteral("Shl") + QString::number(i + 1);
    cs.cb1 = 0;
    zero(cs.cb2to5);
    zero(cs.eventKind);
    zero(cs.withKeyName);
    zero(cs.withLoopName);
    zero(cs.withTime);

    CamerasConfig& cam = *s->cameras;
    zero(cam.useCamera);
    zero2(cam.execCamera);

    RemoteProgSettings& rp = *s->remoteProg;
    rp.phoneNumber.fill(kConsolePhone);
    zero(rp.serverPort);
    rp.connectToServer = 0;
    rp.useProgIfNoProtect = 0;

    TimeTriggers& tt = *s->timeTriggers;
    zero(tt.evType);
    zero2(tt.evDay);

    if (!keepDeviceState) {
        DeviceStateLog& st = *s->state;
        zero2(st.loopFlags);
        zero(st.loopBitA);
        zero(st.loopBitB);
        zero(st.restartCount);
        st.lastEvent = 0;
        st.armedMask = 0;
        st.alarmMask = 0;
        st.state = 0;
        st.keyNumber = 0;
        zero(st.journalEvent);
        zero(st.journalParam);
        zero(st.journalSecond);
        zero(st.journalMinute);
        zero(st.journalHour);
        zero(st.journalDay);
        zero(st.journalMonth);
        zero(st.journalYear);
        st.stateByte = -1;
        st.newestJournal = -1;
    }
}
