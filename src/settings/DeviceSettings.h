#pragma once

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QTime>
#include <QVector>

#include <array>
#include <cstdint>

using u8 = quint8;
using u16 = quint16;
using u32 = quint32;
using i32 = qint32;

enum DEV_TYPE { DEV_D4M = 0, DEV_D8M = 1, DEV_VororaZ = 2, DEV_VoduzeR = 3 };
enum OBJ_TYPE { OBJ_SIMPLE = 0, OBJ_COMPLEX = 1 };
enum DEV_WORK_MODE { MODE_SYSTEM = 0, MODE_AUTONOMOUS = 1 };

// Array sizes of the model; every table of the codec is indexed by these.
constexpr int kMainNumbers = 5;   // main phone numbers 0..4
constexpr int kAllNumbers = 15;   // 5 main + 10 federal numbers
constexpr int kLoops = 8;         // loops 0..7 (devices use 4, 6 or 8)
constexpr int kKeySlots = 20;     // 18 ordinary slots, then master keys 1 and 2
constexpr int kOrdinaryKeys = 18; // keys that belong to zones and loops
constexpr int kZones = 8;
constexpr int kOutputs = 4;
constexpr int kSims = 2;
constexpr int kServers = 2;
constexpr int kConsoleEvents = 9;
constexpr int kCameras = 8;
constexpr int kTimeTriggers = 10;
constexpr int kWeekDays = 7;
constexpr int kJournalRecords = 200;
constexpr int kAdcCodes = 1024;

template <typename T, int N> using Arr = std::array<T, N>;
template <typename T, int N, int M> using Arr2 = std::array<std::array<T, M>, N>;

// Block 0
struct DeviceHeader {
    i32 deviceType = DEV_D4M;
    i32 objectType = OBJ_SIMPLE;
    i32 workMode = MODE_SYSTEM;
    QDate firmwareDate; // null until a version is chosen
    i32 firmwareSubVersion = 1;
    Arr<i32, kSims> simOperator{0, 0};
    Arr<u8, kSims> useSim{};
    Arr<u8, kSims> checkBalance{};
    i32 versionIndex = 0;
};

// Block 1
struct ConnectionParams {
    QByteArray objectNumber;
    u8 autoIncrementNumber = 0;
    u8 csdDetail = 0;
    u8 reserveReceiversFirst = 0;
    u8 connectByGprs = 0;
    u8 testWhenOpen = 0;
    u8 testWhenClosed = 0;
    i32 testInterval = 0;
    i32 testAttempts = 0;
    Arr<u8, 7> testReceiver{};
    i32 rapidResponseAttempts = 0;
    i32 serverProtocol = 0;
    u8 asyncTransfer = 0;
    u8 deleteUnsent = 0;
};

// Block 2
struct PhoneNumberOptions {
    Arr<i32, kMainNumbers> callAttemptsOpenClose{};
    Arr<i32, kMainNumbers> callAttemptsAlarm{};
    i32 alarmCallUntilAnswer = 0;
};

// Block 3
struct PhoneNumbers {
    Arr<QString, kAllNumbers> number;
    Arr<u8, 11> useFlag{};
};

// Block 4: the link port chosen in the port dialog; never programmed or saved.
struct PortSettings {
    i32 comNumber = 0;
    QString usbDeviceText;
    QString polledUsbText;
    i32 comIndex = 0;
    i32 usbIndex = 0;
    u8 useCom = 1;
};

// Block 5
struct ServerSettings {
    Arr<QString, kServers> serverIp;
    Arr<QString, kServers> serverPort;
    Arr<u8, kServers> useDns{};
    Arr<QString, kServers> dnsName;
    Arr<i32, kServers> udPop{};
    Arr<u8, kServers> perez{};
    Arr<u8, kServers> obnov{};
    i32 udPop3 = 0;
    u8 useGprsMode2 = 0;
    QString serverPassword;
};

// Block 6. armDelayOn / disarmDelayOn hold 1 for "no delay" in practice: the
// defaults, the settings files and the pages all agree on that reading.
struct ExtraOptions {
    u8 armDelayOn = 1;
    u8 disarmDelayOn = 1;
    i32 armDelayLoop = 0;
    i32 disarmDelayLoop = 0;
    i32 armDelayTime = 0;
    i32 disarmDelayTime = 0;
    u8 useTamper = 0;
    u8 saveStateOnPowerOff = 0;
    u8 useVoiceMessages = 0;
    u8 silentArming = 0;
    u8 useVoicePasswords = 0;
    i32 techLoop = 0;
    QString callPrefix;
};

// Block 7
struct OutputsConfig {
    Arr<i32, kOutputs> outputType{};
    Arr<QString, 2> adminPassword;
    Arr<QString, 2> userPassword;
    Arr2<u8, kOutputs, kLoops> outputLoop{};
    Arr<u8, kOutputs> outputFlagA{};
    Arr<u8, kOutputs> keepOnPowerOff{};
    Arr<i32, kOutputs> outputZone{};
};

// Block 8
struct LoopFunctions {
    Arr<i32, kLoops> openAnalysis{};
    Arr<i32, kLoops> closeAnalysis{};
    Arr<u8, kLoops> openLight{};
    Arr<u8, kLoops> openSiren{};
    Arr<u8, kLoops> closeLight{};
    Arr<u8, kLoops> closeSiren{};
    u8 errorOpenClose = 0;
};

// Block 9: the Touch-Memory key table. A key is six hexadecimal bytes joined
// by hyphens, most significant first; "FF-FF-FF-FF-FF-FF" is an empty slot.
struct KeyCodes {
    Arr<QByteArray, kKeySlots> key;
    Arr<u8, kOrdinaryKeys> rapidResponseKey{};
    Arr<u8, kKeySlots> keyActive{};
};

// One loaded sensor type (a "*.dat" file of the "sensors" folder).
struct SensorRecord {
    i32 index = 0;
    i32 code = 0;
    QString name;
    QString unit;
    QVector<double> table; // one value per ADC code, at most kAdcCodes
};

// Block 10: loop ranges on the 10-bit ADC scale.
struct LoopLimits {
    Arr<u32, kLoops> minLevel{};
    Arr<u32, kLoops> maxLevel{};
    Arr<u32, kLoops> defaultMin{};
    Arr<u32, kLoops> defaultMax{};
    Arr<u8, kLoops> defaultReverse{};
    Arr<u8, kLoops> reverse{};
    Arr<u8, kLoops> radio{};
    QVector<SensorRecord> sensors;
    Arr<u32, kLoops> sensorType{};
};

// Slot 11
struct GsmOperator {
    QString name;
    QString ussd;
    QString initString;
    QString login;
    QString password;
};

// Block 12: the field names are the settings-file keys.
struct SmsNumberFlags {
    Arr<u8, kMainNumbers> cboz{};
    Arr<u8, kMainNumbers> cbza{};
    Arr<u8, kMainNumbers> cb_p_vx_sn{};
    Arr<u8, kMainNumbers> checkbox{};
    Arr<u8, kMainNumbers> cbDrugieOt{};
    Arr<u8, kMainNumbers> cbDrugieZa{};
    Arr<u8, kMainNumbers> cbts{};
    u8 checkbox13 = 0;
    u8 checkbox14 = 0;
    u8 objectIdInSms = 0;
};

// Block 13
struct SntpSettings {
    u8 useSntp = 1;
    i32 sntpVersion = 2;
    u8 cb4 = 0;
    u8 cb3 = 1;
    QString sntpDns;
    QString sntpPort;
    QString sntpIp;
};

// Block 14
struct ExtraSmsFlags {
    Arr<u8, kMainNumbers> smsService{};
    Arr<u8, kMainNumbers> smsSimChange{};
    Arr<u8, kMainNumbers> smsUserOut1{};
    Arr<u8, kMainNumbers> smsUserOut2{};
};

// Block 15
struct ZonesConfig {
    i32 zoneCount = 1;
    i32 loopCount = 6;
    Arr<QString, kOrdinaryKeys> keyName;
    Arr<QString, kOrdinaryKeys> eepromKeyName;
    Arr<QString, kZones> zoneName;
    Arr2<u8, kOrdinaryKeys, kZones> keyZone{};
    Arr2<u8, kLoops, kZones> loopZone{};
    Arr2<u8, kOrdinaryKeys, kLoops> keyLoop{};
};

// Block 16
struct CallMatrix {
    Arr2<u8, kMainNumbers, kLoops> openClose{};
    Arr2<u8, kMainNumbers, kLoops> alarm{};
};

// Block 17
struct NavigationSettings {
    u8 gpsReceiver = 0;
    QString distanceFilter;
    Arr<u8, kLoops> loopFrequent{};
    Arr<u8, kOutputs> relayFrequent{};
    i32 cb13 = 0;
    i32 timeZone = 0;
    u8 updateTimeFromGps = 0;
};

// Block 18
struct ConsoleSmsSettings {
    Arr2<u8, kConsoleEvents, kMainNumbers> eventNumber{};
    Arr<QString, kMainNumbers> number;
    QString objectName;
    Arr<QString, kLoops> loopName;
    u8 cb1 = 0;
    Arr<u8, 4> cb2to5{};
    Arr<i32, kConsoleEvents> eventKind{};
    Arr<u8, kConsoleEvents> withKeyName{};
    Arr<u8, kConsoleEvents> withLoopName{};
    Arr<u8, kConsoleEvents> withTime{};
    Arr2<QString, 3, kConsoleEvents> eventText;
};

// Block 19
struct CamerasConfig {
    Arr<u8, kCameras> useCamera{};
    Arr2<u8, kCameras, kLoops> execCamera{};
};

// Block 20: reserved, never read or written.
struct SpareBlock {};

// Block 21: per sound, the packets prepared for upload.
struct SoundPackets {
    QList<QList<QByteArray>> packets;
};

// Block 22: state read back from the device.
struct DeviceStateLog {
    Arr2<u8, kLoops, 10> loopFlags{};
    Arr<u8, kLoops> loopBitA{};
    Arr<u8, kLoops> loopBitB{};
    Arr<u32, 3> restartCount{};
    i32 stateByte = -1;
    i32 newestJournal = -1;
    u8 lastEvent = 0;
    u8 armedMask = 0;
    u8 alarmMask = 0;
    u8 state = 0;
    u8 keyNumber = 0;
    // The journal: eight parallel arrays, one entry per record.
    Arr<u8, kJournalRecords> journalEvent{};
    Arr<u8, kJournalRecords> journalParam{};
    Arr<u8, kJournalRecords> journalSecond{};
    Arr<u8, kJournalRecords> journalMinute{};
    Arr<u8, kJournalRecords> journalHour{};
    Arr<u8, kJournalRecords> journalDay{};
    Arr<u8, kJournalRecords> journalMonth{};
    Arr<u8, kJournalRecords> journalYear{};
};

// Block 23
struct RemoteProgSettings {
    Arr<QString, 2> serverAddress;
    Arr<u16, 2> serverPort{};
    Arr<QString, 2> phoneNumber;
    QString smsKeyWord;
    u8 connectToServer = 0;
    u8 useProgIfNoProtect = 0;
};

// Block 24
struct TimeTriggers {
    Arr<QTime, kTimeTriggers> evTime; // null = unset
    Arr<i32, kTimeTriggers> evType{};
    Arr2<u8, kTimeTriggers, kWeekDays> evDay{};
};

// The one picture of a device's parameter set: a root of 25 slots, one block
// record per slot (slot 11 is the operator list itself). Plain data; the
// pages, the codec and the files write its fields directly.
class DeviceSettings {
public:
    DeviceSettings();
    DeviceSettings(const DeviceSettings&);
    DeviceSettings& operator=(const DeviceSettings&);
    ~DeviceSettings();

    DeviceHeader* header;             // 0
    ConnectionParams* connection;     // 1
    PhoneNumberOptions* phoneOptions; // 2
    PhoneNumbers* phones;             // 3
    PortSettings* port;               // 4
    ServerSettings* servers;          // 5
    ExtraOptions* extra;              // 6
    OutputsConfig* outputs;           // 7
    LoopFunctions* loopFunctions;     // 8
    KeyCodes* keys;                   // 9
    LoopLimits* loopLimits;           // 10
    QList<GsmOperator> gsmOperators;  // 11
    SmsNumberFlags* smsFlags;         // 12
    SntpSettings* sntp;               // 13
    ExtraSmsFlags* extraSms;          // 14
    ZonesConfig* zones;               // 15
    CallMatrix* callMatrix;           // 16
    NavigationSettings* navigation;   // 17
    ConsoleSmsSettings* consoleSms;   // 18
    CamerasConfig* cameras;           // 19
    SpareBlock* spare;                // 20
    SoundPackets* sounds;             // 21
    DeviceStateLog* state;            // 22
    RemoteProgSettings* remoteProg;   // 23
    TimeTriggers* timeTriggers;       // 24

private:
    void allocate();
    void release();
    void copyFrom(const DeviceSettings& o);
};

// The device password that every password field starts with.
inline constexpr const char* kDefaultDevicePassword = "7391";

// Stores the defaults into every block; DeviceStateLog only when
// keepDeviceState is false.
void SetDefaultSettings(DeviceSettings* settings, bool keepDeviceState);

// The process-wide settings object; set once by the main window.
extern DeviceSettings* g_deviceSettings;
