#include "settings/SettingsIniFile.h"

#include "settings/SafeFile.h"
#include "settings/TextCodec.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>

// ---------------------------------------------------------------------------
// Encoding and the working copy

QByteArray IniTextToUtf8(const QByteArray& fileBytes) {
    if (IsValidUtf8(fileBytes))
        return fileBytes;
    return FromCp1251(fileBytes).toUtf8();
}

IniFileStore::IniFileStore(const QString& fileName, Mode mode) : m_fileName(fileName) {
    QByteArray text;
    const QFileInfo info(fileName);
    m_existed = info.exists();
    if (m_existed && mode == KeepContents) {
        QFile file(fileName);
        if (!file.open(QIODevice::ReadOnly))
            return;
        text = IniTextToUtf8(file.readAll());
        if (file.error() != QFileDevice::NoError)
            return;
    }
    m_dir = std::make_unique<QTemporaryDir>();
    if (!m_dir->isValid())
        return;
    m_workPath = m_dir->filePath(QStringLiteral("work.ini"));
    // A copy cut short (a full disk) would read as a file without the keys
    // it lost, and a commit would then drop them from the real file.
    if (!WriteFileAtomically(m_workPath, text))
        return;
    m_settings = std::make_unique<QSettings>(m_workPath, QSettings::IniFormat);
}

IniFileStore::~IniFileStore() {
    // QSettings must let go of the working copy before its folder goes.
    m_settings.reset();
    m_dir.reset();
}

namespace {

// Every key of `a` that QSettings can read is in `b` with the same text. A key
// it cannot read (a hand-made line such as "\\x=1" in [General]) may come back
// under another name, so it is not looked for.
bool HoldsEveryKey(const QSettings& a, const QSettings& b) {
    for (const QString& key : a.allKeys()) {
        if (key.isEmpty())
            continue;
        const QVariant v = a.value(key);
        if (!v.isValid())
            continue;
        if (!b.contains(key) || IniValueText(v) != IniValueText(b.value(key)))
            return false;
    }
    return true;
}

} // namespace

bool IniFileStore::commit() {
    if (!m_settings)
        return false;
    m_settings->sync();
    // A FormatError stems from reading a hand-edited line; only a failed
    // write matters here.
    if (m_settings->status() == QSettings::AccessError)
        return false;
    QFile work(m_workPath);
    if (!work.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = work.readAll();
    if (work.error() != QFileDevice::NoError)
        return false;
    work.close();
    // QSettings writes through QSaveFile, whose commit() can report success
    // after its last flush failed; the copy may then be empty or cut short.
    // Reading it back under another name (so QSettings' cache cannot answer)
    // shows whether it holds every key before it replaces the real file.
    const QString checkPath = m_dir->filePath(QStringLiteral("check.ini"));
    if (!WriteFileAtomically(checkPath, text))
        return false;
    {
        const QSettings check(checkPath, QSettings::IniFormat);
        if (check.status() == QSettings::AccessError || !HoldsEveryKey(*m_settings, check))
            return false;
    }
    return WriteFileAtomically(m_fileName, text);
}

QString IniValueText(const QVariant& v) {
    switch (v.metaType().id()) {
    case QMetaType::QStringList:
        return v.toStringList().join(QLatin1Char(','));
    case QMetaType::QVariantList: {
        // An item starting with '@' makes QSettings hand back variants.
        QStringList items;
        for (const QVariant& item : v.toList())
            items << IniValueText(item);
        return items.join(QLatin1Char(','));
    }
    default:
        return v.toString();
    }
}

QString IniTextValue(const QSettings& ini, const QString& key) {
    return IniValueText(ini.value(key, QVariant()));
}

// ---------------------------------------------------------------------------
// Loop levels

QString LevelToVoltsText(qint32 level) {
    const double volts = level / double(adcscale::kMaxCode) * adcscale::kFullScaleVolts;
    return QString::number(volts, 'g', 6).replace(QLatin1Char('.'), QLatin1Char(','));
}

namespace {

// Truncated toward zero like the device software always did, then bounded to
// the converter's codes so no value of a file can overflow the conversion.
u32 VoltsToLevel(float volts) {
    const double code = double(volts) / adcscale::kFullScaleVolts * adcscale::kMaxCode;
    if (!(code > 0)) // negative or NaN
        return 0;
    if (code >= adcscale::kMaxCode)
        return adcscale::kMaxCode;
    return u32(code);
}

} // namespace

bool VoltsValueToLevel(const QVariant& value, u32* level) {
    bool ok = false;
    const float f = value.toFloat(&ok);
    if (ok) {
        *level = VoltsToLevel(f);
        return true;
    }
    *level = 0;
    const QStringList items = value.toStringList();
    if (items.size() >= 2) {
        // "1,65" written without quotes comes back split at the comma.
        *level = VoltsToLevel((items.at(0) + QLatin1Char('.') + items.at(1)).toFloat());
        return true;
    }
    if (items.size() == 1) {
        // Quoted "1,65161", the form this program's own writer produces.
        QString text = items.at(0);
        const float g = text.replace(QLatin1Char(','), QLatin1Char('.')).toFloat(&ok);
        if (ok) {
            *level = VoltsToLevel(g);
            return true;
        }
    }
    return false;
}

u32 AdcValueToLevel(const QVariant& value) {
    return u32(qBound(0, value.toInt(), adcscale::kMaxCode));
}

// ---------------------------------------------------------------------------
// One walk over the groups serves both directions: the writer and the reader
// below offer the same operations, one per kind of value in the file.

namespace {

QString num(const char* base, int n) {
    return QLatin1String(base) + QString::number(n);
}
QString num2(const char* base, int a, const char* mid, int b) {
    return QLatin1String(base) + QString::number(a) + QLatin1String(mid) + QString::number(b);
}
QString numIn(const char* base, int n, const char* suffix) {
    return QLatin1String(base) + QString::number(n) + QLatin1String(suffix);
}

// The output-to-zone choice; older files lack it and leave the field alone.
constexpr const char* kOutputZoneKey = "Form23.cbOutZone";

// "Form24": key number n (1..9) holds the console event of slot s. Slots 3
// and 4..8 are shifted: the key of slot 3 comes last.
int ConsoleSlotOfKey(int n) {
    if (n <= 3)
        return n - 1;
    if (n == 9)
        return 3;
    return n;
}

struct IniWriter {
    static constexpr bool kReading = false;
    QSettings& ini;

    template <typename T> void integer(const QString& key, const T& field) {
        ini.setValue(key, qint32(field));
    }
    template <typename T> void flag(const QString& key, const T& field) {
        ini.setValue(key, int(field));
    }
    template <typename T> void invertedFlag(const QString& key, const T& field) {
        ini.setValue(key, 1 - int(field));
    }
    template <typename T> void trueFalse(const QString& key, const T& field) {
        ini.setValue(key, field != 0);
    }
    void text(const QString& key, const QString& field) { ini.setValue(key, field); }
    void time(const QString& key, const QTime& field) {
        ini.setValue(key, field.toString(QStringLiteral("HH:mm")));
    }
};

struct IniReader {
    static constexpr bool kReading = true;
    QSettings& ini;

    QVariant value(const QString& key) const { return ini.value(key, QVariant()); }

    template <typename T> void integer(const QString& key, T& field) {
        field = T(value(key).toInt());
    }
    template <typename T> void flag(const QString& key, T& field) {
        field = value(key).toBool() ? 1 : 0;
    }
    template <typename T> void invertedFlag(const QString& key, T& field) {
        field = value(key).toBool() ? 0 : 1;
    }
    template <typename T> void trueFalse(const QString& key, T& field) { flag(key, field); }
    QString textOf(const QString& key) const { return IniTextValue(ini, key); }
    void text(const QString& key, QString& field) { field = textOf(key); }
    void time(const QString& key, QTime& field) {
        field = QTime::fromString(textOf(key), QStringLiteral("HH:mm"));
    }
};

struct Group {
    QSettings& ini;
    Group(QSettings& s, const char* name) : ini(s) { ini.beginGroup(QLatin1String(name)); }
    ~Group() { ini.endGroup(); }
};

// The walks take the root as const for both directions: it holds its blocks by
// pointer, so the reader still fills them (on a copy of the caller's settings).
template <class IO> void WalkGprs(IO& io, const DeviceSettings& s) {
    Group g(io.ini, "GPRS");
    DeviceHeader& h = *s.header;
    for (int i = 0; i < kSims; ++i) {
        const QString key = num("cbSIM", i + 1);
        if constexpr (IO::kReading) {
            // -1 stands for a SIM not in use; its operator stays as it was.
            // Any other index is kept as the file has it, also one the list
            // does not hold: the sections then send that SIM as not in use,
            // and the next save writes the same index back.
            const int v = io.value(key).toInt();
            h.useSim[i] = v >= 0 ? 1 : 0;
            if (v >= 0)
                h.simOperator[i] = v;
        } else {
            io.integer(key, h.useSim[i] ? h.simOperator[i] : -1);
        }
    }
    io.flag(QStringLiteral("cbBallans1"), h.checkBalance[0]);
    io.flag(QStringLiteral("cbBallans2"), h.checkBalance[1]);

    ServerSettings& sv = *s.servers;
    SntpSettings& sn = *s.sntp;
    io.text(QStringLiteral("ipadress"), sv.serverIp[0]);
    io.text(QStringLiteral("ipport"), sv.serverPort[0]);
    io.flag(QStringLiteral("cbConnectGPRS"), s.connection->connectByGprs);
    io.text(QStringLiteral("frmGPRSsettings.ipaddr2"), sv.serverIp[1]);
    io.text(QStringLiteral("frmGPRSsettings.ipport2"), sv.serverPort[1]);
    io.integer(QStringLiteral("frmGPRSsettings.udPop1"), sv.udPop[0]);
    io.integer(QStringLiteral("frmGPRSsettings.udPop2"), sv.udPop[1]);
    io.integer(QStringLiteral("frmGPRSsettings.udPop3"), sv.udPop3);
    io.flag(QStringLiteral("frmGPRSsettings.perez1"), sv.perez[0]);
    io.flag(QStringLiteral("frmGPRSsettings.perez2"), sv.perez[1]);
    io.flag(QStringLiteral("frmGPRSsettings.idns1"), sv.useDns[0]);
    io.flag(QStringLiteral("frmGPRSsettings.idns2"), sv.useDns[1]);
    io.flag(QStringLiteral("frmGPRSsettings.obnov1"), sv.obnov[0]);
    io.text(QStringLiteral("frmGPRSsettings.DNS1"), sv.dnsName[0]);
    io.text(QStringLiteral("frmGPRSsettings.DNS2"), sv.dnsName[1]);
    io.flag(QStringLiteral("frmGPRSsettings.obnov2"), sv.obnov[1]);
    io.flag(QStringLiteral("frmGPRSsettings.cbUseGPRSMod2"), sv.useGprsMode2);
    io.flag(QStringLiteral("cb2"), sn.useSntp);
    io.invertedFlag(QStringLiteral("cb3"), sn.cb3);
    io.invertedFlag(QStringLiteral("cb4"), sn.cb4);
    io.text(QStringLiteral("serverConnectPassword"), sv.serverPassword);
    io.text(QStringLiteral("ip_sntp"), sn.sntpIp);
    io.text(QStringLiteral("port_sntp"), sn.sntpPort);
    io.text(QStringLiteral("DNS_sntp"), sn.sntpDns);
    io.integer(QStringLiteral("cb_sntp_ver"), sn.sntpVersion);
}

// A group holding one array under one key base numbered first..first+N-1.
template <class IO, typename A>
void WalkFlagArray(IO& io, const char* group, const char* base, A& array, int first = 1) {
    Group g(io.ini, group);
    for (int i = 0; i < int(array.size()); ++i)
        io.flag(num(base, first + i), array[i]);
}

template <class IO, typename A>
void WalkIntArray(IO& io, const char* group, const char* base, A& array) {
    Group g(io.ini, group);
    for (int i = 0; i < int(array.size()); ++i)
        io.integer(num(base, i + 1), array[i]);
}

template <class IO> void WalkPhoneGroups(IO& io, const DeviceSettings& s) {
    {
        Group g(io.ini, "maskedit");
        for (int i = 0; i < kAllNumbers; ++i)
            io.text(num("maskedit", i + 1), s.phones->number[i]);
    }
    WalkFlagArray(io, "cboz", "cboz", s.smsFlags->cboz);
    WalkFlagArray(io, "cbza", "cbza", s.smsFlags->cbza);
    WalkFlagArray(io, "cbts", "cbts", s.smsFlags->cbts);
    WalkIntArray(io, "Coz", "Coz", s.phoneOptions->callAttemptsOpenClose);
    WalkIntArray(io, "ct", "ct", s.phoneOptions->callAttemptsAlarm);
}

// Two four-character passwords share one key.
template <class IO> void WalkPasswordPair(IO& io, const QString& key, Arr<QString, 2>& pair) {
    if constexpr (IO::kReading) {
        const QString both = io.textOf(key);
        pair[0] = both.left(4);
        pair[1] = both.right(4);
    } else {
        io.text(key, pair[0] + pair[1]);
    }
}

template <class IO> void WalkReleAndHeader(IO& io, const DeviceSettings& s) {
    {
        Group g(io.ini, "RELE_PWD");
        const QString idob = QStringLiteral("idob");
        if constexpr (IO::kReading)
            s.connection->objectNumber = io.textOf(idob).toUtf8();
        else
            io.text(idob, QString::fromUtf8(s.connection->objectNumber));
        WalkPasswordPair(io, QStringLiteral("Form23.meparadm_1_2"), s.outputs->adminPassword);
        WalkPasswordPair(io, QStringLiteral("Form23.parol_1_2"), s.outputs->userPassword);
    }
    {
        Group g(io.ini, "noname_001");
        io.invertedFlag(QStringLiteral("radiogroup1"), s.navigation->gpsReceiver);
        io.integer(QStringLiteral("rgShlCount"), s.header->deviceType);
        io.integer(QStringLiteral("cbVersion"), s.header->versionIndex);
        io.flag(QStringLiteral("cbVoicePassword"), s.extra->useVoicePasswords);
        io.text(QStringLiteral("callPrefix"), s.extra->callPrefix);
    }
    WalkFlagArray(io, "CB_isp", "CB_isp", s.phones->useFlag, 5);
}

// Loop n's levels: volts in "txx", codes in "adc".
QString VoltsMinKey(int n) {
    return numIn("t", n, "2");
}
QString VoltsMaxKey(int n) {
    return numIn("t", n, "4");
}
QString AdcMinKey(int n) {
    return numIn("shl", n, "min");
}
QString AdcMaxKey(int n) {
    return numIn("shl", n, "max");
}

void WriteLevels(QSettings& ini, const LoopLimits& ll) {
    {
        Group g(ini, "txx");
        for (int n = 1; n <= kLoops; ++n) {
            ini.setValue(VoltsMinKey(n), LevelToVoltsText(qint32(ll.minLevel[n - 1])));
            ini.setValue(VoltsMaxKey(n), LevelToVoltsText(qint32(ll.maxLevel[n - 1])));
        }
    }
    Group g(ini, "adc");
    for (int n = 1; n <= kLoops; ++n) {
        ini.setValue(AdcMinKey(n), qint32(ll.minLevel[n - 1]));
        ini.setValue(AdcMaxKey(n), qint32(ll.maxLevel[n - 1]));
    }
}

// "adc" when the file has it, else the volts of "txx". False when a "txx"
// value cannot be read; the arrays are then partly filled.
bool ReadLevels(QSettings& ini, Arr<u32, kLoops>& minLevel, Arr<u32, kLoops>& maxLevel) {
    {
        Group g(ini, "adc");
        if (ini.value(AdcMinKey(1), QVariant()).isValid()) {
            for (int n = 1; n <= kLoops; ++n) {
                minLevel[n - 1] = AdcValueToLevel(ini.value(AdcMinKey(n)));
                maxLevel[n - 1] = AdcValueToLevel(ini.value(AdcMaxKey(n)));
            }
            return true;
        }
    }
    Group g(ini, "txx");
    for (int n = 1; n <= kLoops; ++n) {
        if (!VoltsValueToLevel(ini.value(VoltsMinKey(n)), &minLevel[n - 1]))
            return false;
        if (!VoltsValueToLevel(ini.value(VoltsMaxKey(n)), &maxLevel[n - 1]))
            return false;
    }
    return true;
}

// Sensor types travel as the type code of the loaded record. With no record
// at that position (no "sensors" folder, or a stale position) there is no
// code to give, so the key is dropped and reads back as type 0.
void WriteSensorTypes(QSettings& ini, const LoopLimits& ll) {
    Group g(ini, "typeShl");
    for (int n = 1; n <= kLoops; ++n) {
        const u32 pos = ll.sensorType[n - 1];
        const QString key = num("shl", n);
        if (pos < u32(ll.sensors.size()))
            ini.setValue(key, ll.sensors.at(int(pos)).code);
        else
            ini.remove(key);
    }
}

void ReadSensorTypes(QSettings& ini, LoopLimits& ll) {
    Group g(ini, "typeShl");
    for (int n = 1; n <= kLoops; ++n) {
        ll.sensorType[n - 1] = 0;
        const QVariant v = ini.value(num("shl", n), QVariant());
        if (!v.isValid())
            continue;
        const int code = v.toInt();
        for (const SensorRecord& r : ll.sensors) {
            if (r.code == code) {
                ll.sensorType[n - 1] = u32(r.index);
                break;
            }
        }
    }
}

template <class IO> void WalkKeyLoops(IO& io, const DeviceSettings& s) {
    Group g(io.ini, "Form3.checkbox");
    for (int k = 0; k < kOrdinaryKeys; ++k)
        for (int l = 0; l < kLoops; ++l)
            io.flag(num("Form3.checkbox", 8 * k + l + 1), s.zones->keyLoop[k][l]);
}

template <class IO> void WalkZones(IO& io, const DeviceSettings& s) {
    Group g(io.ini, "Zones");
    ZonesConfig& z = *s.zones;
    io.integer(QStringLiteral("TypeObject"), s.header->objectType);
    const QString countKey = QStringLiteral("ZonesCount");
    if constexpr (IO::kReading) {
        bool ok = false;
        const int count = io.value(countKey).toInt(&ok);
        // The model holds kZones zones; a larger count must not reach past it.
        z.zoneCount = ok ? qBound(0, count, kZones) : 0;
        if (!ok)
            return;
    } else {
        io.integer(countKey, z.zoneCount);
    }
    const int zones = qBound(0, z.zoneCount, kZones);
    for (int i = 0; i < zones; ++i)
        io.text(num("ZoneName", i + 1), z.zoneName[i]);
    for (int k = 0; k < kOrdinaryKeys; ++k)
        for (int i = 0; i < zones; ++i)
            io.flag(num2("KeyZone", k + 1, ".", i), z.keyZone[k][i]);
    for (int l = 0; l < kLoops; ++l)
        for (int i = 0; i < zones; ++i)
            io.flag(num2("ShlZone", l + 1, ".", i), z.loopZone[l][i]);
}

// In "Form8"; a model's default file gives the default reversal from it.
template <class IO, typename A> void WalkReverse(IO& io, A& reverse) {
    for (int n = 1; n <= kLoops; ++n)
        io.flag(num("Form8.Chb", n), reverse[n - 1]);
}

template <class IO> void WalkOptions(IO& io, const DeviceSettings& s) {
    ConnectionParams& c = *s.connection;
    ExtraOptions& e = *s.extra;
    SmsNumberFlags& sf = *s.smsFlags;
    {
        Group g(io.ini, "checkbox");
        io.flag(QStringLiteral("incrementNumObj"), c.autoIncrementNumber);
        io.flag(QStringLiteral("checkbox3"), c.reserveReceiversFirst);
        io.flag(QStringLiteral("checkbox4"), c.csdDetail);
        io.integer(QStringLiteral("cbAutoMode"), s.header->workMode);
        io.flag(QStringLiteral("checkbox6"), e.useTamper);
        io.flag(QStringLiteral("checkbox7"), e.saveStateOnPowerOff);
        for (int n = 8; n <= 12; ++n)
            io.flag(num("checkbox", n), sf.checkbox[n - 8]);
        io.flag(QStringLiteral("checkbox13"), sf.checkbox13);
        io.flag(QStringLiteral("checkbox14"), sf.checkbox14);
        io.flag(QStringLiteral("checkbox16"), s.phoneOptions->alarmCallUntilAnswer);
        io.flag(QStringLiteral("cbUseSound"), e.useVoiceMessages);
        io.flag(QStringLiteral("useAsyncTrans"), c.asyncTransfer);
        io.flag(QStringLiteral("delMsgsAfterOutTrySend"), c.deleteUnsent);
    }
    {
        Group g(io.ini, "Form13");
        LoopFunctions& lf = *s.loopFunctions;
        for (int i = 0; i < kLoops; ++i) {
            io.integer(num("cbOpenAnalise0", i), lf.openAnalysis[i]);
            io.integer(num("cbCloseAnalise0", i), lf.closeAnalysis[i]);
            io.flag(num("cbOpenSiren0", i), lf.openSiren[i]);
            io.flag(num("cbOpenLight0", i), lf.openLight[i]);
            io.flag(num("cbCloseSiren0", i), lf.closeSiren[i]);
            io.flag(num("cbCloseLight0", i), lf.closeLight[i]);
        }
        io.flag(QStringLiteral("cbEnErrOpCl"), lf.errorOpenClose);
    }
    {
        Group g(io.ini, "Form3");
        for (int n = 1; n <= kOrdinaryKeys; ++n)
            io.text(num("Form3.Edit", n), s.zones->keyName[n - 1]);
        for (int n = 1; n <= kOrdinaryKeys; ++n)
            io.text(num("Form3.Edit", kOrdinaryKeys + n), s.zones->eepromKeyName[n - 1]);
    }
    {
        Group g(io.ini, "Form8");
        WalkReverse(io, s.loopLimits->reverse);
        for (int n = 1; n <= kLoops; ++n)
            io.flag(num("Wireless", n), s.loopLimits->radio[n - 1]);
    }
    {
        Group g(io.ini, "combobox");
        io.integer(QStringLiteral("combobox4"), e.techLoop);
    }
    {
        Group g(io.ini, "Form6");
        io.invertedFlag(QStringLiteral("Form6.Checkbox1"), e.disarmDelayOn);
        io.invertedFlag(QStringLiteral("Form6.Checkbox2"), e.armDelayOn);
        io.integer(QStringLiteral("Form6.combobox1"), e.disarmDelayTime);
        io.integer(QStringLiteral("Form6.combobox2"), e.armDelayTime);
        io.integer(QStringLiteral("Form6.cbWaitOpenNum"), e.disarmDelayLoop);
        io.integer(QStringLiteral("Form6.cbWaitCloseNum"), e.armDelayLoop);
    }
    {
        Group g(io.ini, "Form2");
        io.integer(QStringLiteral("Form2.isx_test_tmr"), c.testInterval);
        io.flag(QStringLiteral("Form2.isxtest_ot"), c.testWhenOpen);
        io.flag(QStringLiteral("Form2.isxtest_za"), c.testWhenClosed);
        // The file holds the count of attempts minus one.
        const QString pops = QStringLiteral("Form2.isx_test_pops");
        if constexpr (IO::kReading)
            c.testAttempts = io.value(pops).toInt() + 1;
        else
            io.integer(pops, c.testAttempts - 1);
        for (int n = 9; n <= 15; ++n)
            io.flag(num("Form2.isx_kan", n), c.testReceiver[n - 9]);
        io.integer(QStringLiteral("Form2.Pop_GBR"), c.rapidResponseAttempts);
    }
    WalkFlagArray(io, "cb_p_vx_sn", "cb_p_vx_sn", sf.cb_p_vx_sn);
    {
        Group g(io.ini, "Form1");
        io.flag(QStringLiteral("Form1.cbObjIDSMS"), sf.objectIdInSms);
    }
}

template <class IO> void WalkOutputsAndCalls(IO& io, const DeviceSettings& s) {
    OutputsConfig& o = *s.outputs;
    {
        Group g(io.ini, "Form23");
        for (int n = 1; n <= kOutputs; ++n)
            io.integer(num("Form23.combobox", n), o.outputType[n - 1]);
        for (int out = 0; out < kOutputs; ++out)
            for (int l = 0; l < kLoops; ++l)
                io.flag(num("Form23.CheckBox", 8 * out + l + 1), o.outputLoop[out][l]);
        for (int n = 1; n <= kOutputs; ++n) {
            const QString key = num(kOutputZoneKey, n);
            if constexpr (IO::kReading) {
                if (!io.value(key).isValid())
                    continue;
            }
            io.integer(key, o.outputZone[n - 1]);
        }
    }
    {
        Group g(io.ini, "Form22");
        CallMatrix& cm = *s.callMatrix;
        for (int k = 0; k < kMainNumbers; ++k)
            for (int j = 0; j < kLoops; ++j)
                io.flag(num("Form22.CheckBox", 8 * k + j + 1), cm.openClose[k][j]);
        for (int k = 0; k < kMainNumbers; ++k)
            for (int j = 0; j < kLoops; ++j)
                io.flag(num("Form22.CheckBox", 41 + 8 * k + j), cm.alarm[k][j]);
    }
}

template <class IO> void WalkConsoleSms(IO& io, const DeviceSettings& s) {
    Group g(io.ini, "Form24");
    ConsoleSmsSettings& cs = *s.consoleSms;
    io.text(QStringLiteral("Form24.edDevName"), cs.objectName);
    for (int n = 1; n <= kLoops; ++n)
        io.text(num("Form24.Edit", n), cs.loopName[n - 1]);
    for (int n = 1; n <= kMainNumbers; ++n)
        io.text(num("Form24.maskedit", n), cs.number[n - 1]);
    io.flag(QStringLiteral("cb1"), cs.cb1);
    for (int n = 2; n <= 5; ++n)
        io.flag(num("cb", n), cs.cb2to5[n - 2]);
    for (int e = 1; e <= kConsoleEvents; ++e)
        for (int k = 1; k <= kMainNumbers; ++k)
            io.flag(num2("Form24.Edit", e, "", k), cs.eventNumber[e - 1][k - 1]);
    for (int n = 1; n <= kConsoleEvents; ++n) {
        const int slot = ConsoleSlotOfKey(n);
        io.integer(num("Form24.cbid", n), cs.eventKind[slot]);
        io.flag(numIn("Form24.cb", n, "time"), cs.withTime[slot]);
        io.flag(num("Form24.cbkeyname", n), cs.withKeyName[slot]);
        io.flag(num("Form24.cbshlname", n), cs.withLoopName[slot]);
    }
    for (int n = 1; n <= kConsoleEvents; ++n) {
        const int slot = ConsoleSlotOfKey(n);
        io.text(numIn("Form24.ed", n, "z"), cs.eventText[0][slot]);
        io.text(numIn("Form24.ed", n, "p1"), cs.eventText[1][slot]);
        io.text(numIn("Form24.ed", n, "p2"), cs.eventText[2][slot]);
    }
}

template <class IO> void WalkDatedGroups(IO& io, const DeviceSettings& s) {
    SmsNumberFlags& sf = *s.smsFlags;
    ExtraSmsFlags& es = *s.extraSms;
    NavigationSettings& nav = *s.navigation;
    {
        Group g(io.ini, "191209");
        io.flag(QStringLiteral("cbSilentPostSn"), s.extra->silentArming);
        for (int n = 1; n <= kMainNumbers; ++n)
            io.flag(num("cbService", n), es.smsService[n - 1]);
        for (int n = 1; n <= kMainNumbers; ++n)
            io.flag(num("cbSmena", n), es.smsSimChange[n - 1]);
        for (int n = 1; n <= kMainNumbers; ++n)
            io.flag(num("cbDrugieOt", n), sf.cbDrugieOt[n - 1]);
        for (int n = 1; n <= kMainNumbers; ++n)
            io.flag(num("cbDrugieZa", n), sf.cbDrugieZa[n - 1]);
    }
    WalkFlagArray(io, "050610", "cbPcnOpen", s.outputs->outputFlagA);
    {
        Group g(io.ini, "070610");
        io.integer(QStringLiteral("Form28.rg1"), s.connection->serverProtocol);
        for (int n = 1; n <= kLoops; ++n)
            io.flag(num("cb", n), nav.loopFrequent[n - 1]);
        for (int n = 9; n <= 12; ++n)
            io.flag(num("cb", n), nav.relayFrequent[n - 9]);
        io.text(QStringLiteral("form28.MaskEdit1"), nav.distanceFilter);
        io.flag(QStringLiteral("cb13"), nav.cb13);
    }
    {
        Group g(io.ini, "160810");
        io.flag(QStringLiteral("cbUbdateTimeFromGPS"), nav.updateTimeFromGps);
        io.integer(QStringLiteral("cbTimeZone"), nav.timeZone);
        for (int n = 1; n <= kMainNumbers; ++n)
            io.flag(num("form27.cbSMSRazm1", n), es.smsUserOut1[n - 1]);
        for (int n = 1; n <= kMainNumbers; ++n)
            io.flag(num("form27.cbSMSRazm2", n), es.smsUserOut2[n - 1]);
        for (int n = 1; n <= kOutputs; ++n)
            io.flag(num("form23.cbSaveSostPwerOff", n), s.outputs->keepOnPowerOff[n - 1]);
    }
}

template <class IO> void WalkLastGroups(IO& io, const DeviceSettings& s) {
    {
        Group g(io.ini, "Cameras");
        CamerasConfig& cam = *s.cameras;
        for (int n = 1; n <= kCameras; ++n)
            io.flag(num("useCamera_", n), cam.useCamera[n - 1]);
        for (int l = 1; l <= kLoops; ++l)
            for (int c = 1; c <= kCameras; ++c)
                io.flag(num2("execCamera_", l, "", c), cam.execCamera[l - 1][c - 1]);
    }
    {
        Group g(io.ini, "RemoteProgram");
        RemoteProgSettings& rp = *s.remoteProg;
        io.text(QStringLiteral("adress_1"), rp.serverAddress[0]);
        io.text(QStringLiteral("adress_2"), rp.serverAddress[1]);
        io.integer(QStringLiteral("port_1"), rp.serverPort[0]);
        io.integer(QStringLiteral("port_2"), rp.serverPort[1]);
        io.flag(QStringLiteral("connectToServer"), rp.connectToServer);
        io.flag(QStringLiteral("useProgIfNoProtect"), rp.useProgIfNoProtect);
        io.text(QStringLiteral("phone_number_1"), rp.phoneNumber[0]);
        io.text(QStringLiteral("phone_number_2"), rp.phoneNumber[1]);
        io.text(QStringLiteral("sms_key_word"), rp.smsKeyWord);
    }
    {
        Group g(io.ini, "TriggByTime");
        TimeTriggers& tt = *s.timeTriggers;
        for (int e = 1; e <= kTimeTriggers; ++e)
            io.time(QStringLiteral("ev_time_%1").arg(e), tt.evTime[e - 1]);
        for (int e = 1; e <= kTimeTriggers; ++e)
            io.integer(QStringLiteral("ev_type_%1").arg(e), tt.evType[e - 1]);
        for (int e = 1; e <= kTimeTriggers; ++e)
            for (int d = 1; d <= kWeekDays; ++d)
                io.trueFalse(QStringLiteral("ev_day_%1_%2").arg(e).arg(d), tt.evDay[e - 1][d - 1]);
    }
}

// Every group both directions share; the levels and sensor types, which the
// two directions handle differently, are left to the callers.
template <class IO> void WalkAll(IO& io, const DeviceSettings& s) {
    WalkGprs(io, s);
    WalkPhoneGroups(io, s);
    WalkReleAndHeader(io, s);
    WalkKeyLoops(io, s);
    WalkZones(io, s);
    WalkOptions(io, s);
    WalkOutputsAndCalls(io, s);
    WalkConsoleSms(io, s);
    WalkDatedGroups(io, s);
    WalkLastGroups(io, s);
}

} // namespace

// ---------------------------------------------------------------------------

bool LoadSettingsFile(const QString& fileName, DeviceSettings* settings) {
    if (!settings)
        return false;
    IniFileStore store(fileName);
    if (!store.isOpen())
        return false;
    QSettings& ini = *store.settings();

    DeviceSettings copy(*settings);
    LoopLimits& ll = *copy.loopLimits;
    if (!ReadLevels(ini, ll.minLevel, ll.maxLevel))
        return false;

    IniReader io{ini};
    WalkAll(io, copy);
    ReadSensorTypes(ini, ll);

    *settings = copy;
    return true;
}

bool SaveSettingsFile(const QString& fileName, const DeviceSettings* settings) {
    if (!settings)
        return false;
    IniFileStore store(fileName);
    if (!store.isOpen())
        return false;
    QSettings& ini = *store.settings();

    IniWriter io{ini};
    WalkAll(io, *settings);
    WriteLevels(ini, *settings->loopLimits);
    WriteSensorTypes(ini, *settings->loopLimits);
    return store.commit();
}

bool ReadAdcScales(const QString& fileName, DeviceSettings* settings) {
    if (!settings)
        return false;
    IniFileStore store(fileName);
    if (!store.isOpen())
        return false;
    QSettings& ini = *store.settings();
    LoopLimits& ll = *settings->loopLimits;
    Arr<u32, kLoops> minLevel = ll.defaultMin;
    Arr<u32, kLoops> maxLevel = ll.defaultMax;
    if (!ReadLevels(ini, minLevel, maxLevel))
        return false;
    Arr<u8, kLoops> reverse{};
    {
        Group g(ini, "Form8");
        IniReader io{ini};
        WalkReverse(io, reverse);
    }
    ll.defaultMin = minLevel;
    ll.defaultMax = maxLevel;
    ll.defaultReverse = reverse;
    return true;
}
