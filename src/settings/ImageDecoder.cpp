#include "settings/ImageDecoder.h"

#include "settings/DeviceSettings.h"
#include "settings/Firmware.h"
#include "settings/ImageLayout.h"
#include "settings/OperatorPresetFile.h"
#include "settings/TextCodec.h"

#include <QDebug>

#include <initializer_list>

static_assert(image::kJournalSlots == kJournalRecords, "the image holds the model's journal");
static_assert(image::kShortJournalRecords <= kJournalRecords, "the short journal fits the model");

namespace {

using namespace image;
namespace lt = layout::text;

// Every read of the image goes through this, so a short or damaged image can
// only leave fields unchanged, never read past its end.
class Reader {
public:
    explicit Reader(const QByteArray& bytes) : b_(bytes) {}
    bool has(int at, int count = 1) const {
        return at >= 0 && count >= 0 && at <= b_.size() - count;
    }
    quint8 u8(int at) const { return quint8(b_.at(at)); }
    qint8 s8(int at) const { return qint8(b_.at(at)); }
    bool bit(int at, int n) const { return (u8(at) >> n) & 1u; }
    QByteArray bytes(int at, int count) const { return b_.mid(at, count); }
    int size() const { return int(b_.size()); }
    const QByteArray& all() const { return b_; }

private:
    const QByteArray& b_;
};

// The bytes up to the first of `ends` (all of them when none occurs).
QByteArray CutAt(const QByteArray& bytes, std::initializer_list<char> ends) {
    int cut = int(bytes.size());
    for (char e : ends) {
        const int at = int(bytes.indexOf(e));
        if (at >= 0 && at < cut)
            cut = at;
    }
    return bytes.left(cut);
}

// A fixed slice as text up to its first 0x00 (addresses, ports, passwords).
QString SliceText(const Reader& r, int at, int count) {
    return QString::fromLatin1(CutAt(r.bytes(at, count), {'\0'}));
}

// A name or event text in the device's code page, ended by the 0xFF fill.
QString NameText(const Reader& r, int at, int count) {
    return FromCp1251(CutAt(r.bytes(at, count), {kErased}));
}

// A text in the device's code page ended by 0x00 or 0xFF.
QString Cp1251Text(const Reader& r, int at, int count) {
    return FromCp1251(CutAt(r.bytes(at, count), {'\0', kErased}));
}

template <typename A> void SetBits(A& flags, quint8 byte, int count, int firstBit = 0) {
    for (int i = 0; i < count; ++i)
        flags[i] = u8((byte >> (firstBit + i)) & 1u);
}

bool IsOff(const QByteArray& field) {
    return field.isEmpty() || field.startsWith(lt::kSwitchedOff);
}

// Walks `count` fields from `start`; false when one of them is not complete.
bool WalkFields(const QByteArray& image, int start, const int* maxLens, int count,
                QByteArray* texts, int* next) {
    int p = start;
    for (int i = 0; i < count; ++i) {
        const ImageTextField f = ReadImageTextField(image, p, maxLens[i]);
        if (!f.complete)
            return false;
        if (texts)
            texts[i] = f.text;
        p = f.next;
    }
    *next = p;
    return true;
}

// The SIM's use flag, operator and balance check from its
// access point fields and its USSD field.
void DecodeSim(DeviceSettings* s, int sim, const QByteArray& login, const QByteArray& password,
               const QByteArray& accessPoint, const QByteArray& ussd, const QString& dir) {
    DeviceHeader& h = *s->header;
    if (IsOff(accessPoint)) {
        h.useSim[sim] = 0;
        h.checkBalance[sim] = 0;
        return;
    }
    h.useSim[sim] = 1;
    const QString apn = QString::fromLatin1(accessPoint);
    // The first operator with exactly this access point; failing that, the
    // first whose access point the section sends as these bytes (cut to its
    // field, Latin-1), so an operator whose access point the device could not
    // keep whole is still recognised.
    int found = -1;
    for (int i = 0; i < s->gsmOperators.size() && found < 0; ++i)
        if (s->gsmOperators.at(i).initString == apn)
            found = i;
    for (int i = 0; i < s->gsmOperators.size() && found < 0; ++i)
        if (lt::TextField(s->gsmOperators.at(i).initString, lt::kAccessPointMax) == accessPoint)
            found = i;
    if (found < 0) {
        GsmOperator decoded;
        decoded.initString = apn;
        decoded.login = QString::fromLatin1(login);
        decoded.password = QString::fromLatin1(password);
        // "-" is how the sections say "no balance request", not a USSD code.
        decoded.ussd = IsOff(ussd) ? QString() : QString::fromLatin1(ussd);
        found = AddUnknownGsmOperator(dir, s, decoded);
    }
    h.simOperator[sim] = found;
    // Known or new operator alike: an empty USSD field asks for no balance
    // check either, since there is no code to send.
    h.checkBalance[sim] = IsOff(ussd) ? 0 : 1;
}

void DecodeNumbers(const Reader& r, DeviceSettings* s) {
    namespace q = layout::crqq;
    namespace f = layout::cr77;
    const int p = kNumbersBlock;
    for (int k = 0; k < q::kNumberCount; ++k)
        if (r.has(p + q::NumberOffset(k), layout::kPhoneBytes))
            s->phones->number[k] = BcdToPhone(r.bytes(p + q::NumberOffset(k), layout::kPhoneBytes));
    for (int k = 0; k < q::kNumberCount; ++k) {
        const int oc = p + q::OpenCloseOffset(k);
        const int al = p + q::AlarmOffset(k);
        if (!r.has(oc) || !r.has(al))
            continue;
        const quint8 v = r.u8(oc);
        s->smsFlags->cboz[k] = (v & q::kCbozBit) ? 1 : 0;
        s->smsFlags->cbza[k] = (v & q::kCbzaBit) ? 1 : 0;
        s->smsFlags->cbts[k] = (v & q::kCbtsBit) ? 1 : 0;
        s->phoneOptions->callAttemptsOpenClose[k] = v & 0x0F;
        s->phoneOptions->callAttemptsAlarm[k] = r.s8(al);
    }
    for (int i = 0; i < f::kNumberCount; ++i) {
        const int at = kFederalNumbers + f::NumberOffset(i);
        if (r.has(at, layout::kPhoneBytes))
            s->phones->number[f::kFirstNumber + i] = BcdToPhone(r.bytes(at, layout::kPhoneBytes));
    }
    for (int n = 0; n < 2; ++n) {
        const int at = p + q::kAdminPasswordOffset[n];
        if (r.has(at, q::kAdminPasswordWidth))
            s->outputs->adminPassword[n] = SliceText(r, at, q::kAdminPasswordWidth);
    }
}

// The use-flag byte after the second SIM's fields, then server 2.
void DecodeSim2Tail(const Reader& r, DeviceSettings* s, int q) {
    if (!r.has(q, 2))
        return;
    int flagsAt = q;
    if (r.u8(q) == quint8(lt::kSeparator) && r.u8(q + 1) != quint8(lt::kSeparator)) {
        // The flag byte one further on: a layout shifted by a stray ':'.
        flagsAt = q + 1;
    }
    // A flag byte equal to ':' (use flags 5, 7, 8 and 9) is followed by its
    // own ':', which the check above leaves at q.
    if (!r.has(flagsAt))
        return;
    const quint8 flags = r.u8(flagsAt);
    for (int n = 0; n < layout::text::crmm::kUseFlagCount; ++n)
        s->phones->useFlag[lt::crmm::kFirstUseFlag + n] = (flags >> n) & 1u;
    const int server = flagsAt + 2;
    if (r.has(server, kServer2Size)) {
        s->servers->serverIp[1] = SliceText(r, server, lt::kServerIpWidth);
        s->servers->serverPort[1] = SliceText(r, server + lt::kServerIpWidth, lt::kServerPortWidth);
    }
}

// Option flags and call prefix of the balance region.
void DecodeBalanceOptions(const Reader& r, DeviceSettings* s, int q) {
    const quint8 sep = quint8(lt::kSeparator);
    if (!r.has(q, 2))
        return;
    int prefixAt;
    if (r.u8(q) == sep && r.u8(q + 1) == sep) {
        prefixAt = q + 1;
    } else {
        if (r.u8(q) == sep)
            ++q;
        if (!r.has(q, 3))
            return;
        const quint8 flags = r.u8(q);
        s->extra->saveStateOnPowerOff = (flags & lt::crhh::kFlagSaveStateOnPowerOff) ? 1 : 0;
        s->connection->csdDetail = (flags & lt::crhh::kFlagCsdDetail) ? 1 : 0;
        s->navigation->gpsReceiver = (flags & lt::crhh::kFlagNoGpsReceiver) ? 0 : 1;
        prefixAt = r.u8(q + 2) == sep ? q + 3 : q + 4;
    }
    const ImageTextField prefix = ReadImageTextField(r.all(), prefixAt, lt::kCallPrefixMax);
    if (!prefix.complete)
        return;
    // The section sends an empty prefix as "-".
    s->extra->callPrefix = prefix.text == QByteArray(1, lt::kSwitchedOff)
                               ? QString()
                               : QString::fromLatin1(prefix.text);
}

void DecodeCr88(const Reader& r, DeviceSettings* s) {
    namespace c = layout::cr88;
    for (int k = 0; k < c::kKeyMaskCount; ++k)
        if (r.has(kCr88 + c::kKeyMaskOffset + k))
            SetBits(s->zones->keyLoop[k], r.u8(kCr88 + c::kKeyMaskOffset + k), kLoops);
    for (int j = 0; j < c::kLoopCount; ++j) {
        const int at = kCr88 + c::LoopRangeOffset(j);
        if (!r.has(at, c::kLoopRangeStride))
            continue;
        s->loopLimits->minLevel[j] =
            c::LevelFromHalves(r.u8(at + c::kMinHigh), r.u8(at + c::kMinLow));
        s->loopLimits->maxLevel[j] =
            c::LevelFromHalves(r.u8(at + c::kMaxHigh), r.u8(at + c::kMaxLow));
    }
    const int lo = kCr88 + c::kReverseLowOffset;
    const int hi = kCr88 + c::kReverseHighOffset;
    if (r.has(lo) && r.has(hi)) {
        for (int j = 0; j < c::kLoopsPerReverseByte; ++j) {
            s->loopLimits->reverse[j] = r.bit(lo, j);
            s->loopLimits->reverse[c::kLoopsPerReverseByte + j] = r.bit(hi, j);
        }
        s->header->workMode = (r.u8(hi) & c::kAutonomousBit) ? MODE_AUTONOMOUS : MODE_SYSTEM;
    }
    const int fl = kCr88 + c::kFlagsOffset;
    if (r.has(fl)) {
        const quint8 v = r.u8(fl);
        s->connection->reserveReceiversFirst = (v & c::kReserveReceiversFirstBit) ? 1 : 0;
        s->connection->connectByGprs = (v & c::kConnectByGprsBit) ? 1 : 0;
        for (int n = 0; n < c::kUseFlagCount; ++n)
            s->phones->useFlag[n] = (v & (c::kUseFlag0Bit << n)) ? 1 : 0;
    }
}

// A CR99 byte by its section offset; -1 when the image does not reach it.
int Cr99Byte(const Reader& r, int cr99Offset) {
    const int at = Cr99ImageOffset(cr99Offset);
    return r.has(at) ? r.u8(at) : -1;
}

void DecodeDelay(int v, u8& on, i32& loop, i32& time) {
    on = (v & cr99::kDelayOffBit) ? 0 : 1;
    loop = (v >> cr99::kDelayLoopShift) & 7;
    time = v & 7;
}

void DecodeCr99Base(const Reader& r, DeviceSettings* s) {
    using namespace cr99;
    LoopFunctions& lf = *s->loopFunctions;
    for (int j = 0; j < kLoopFunctionsSize; ++j) {
        const int v = Cr99Byte(r, kLoopFunctions + j);
        if (v < 0)
            continue;
        lf.openAnalysis[j] = (v >> kOpenAnalysisShift) & 3;
        lf.closeAnalysis[j] = (v & kCloseAnalysisMask) >> kCloseAnalysisShift;
        lf.openSiren[j] = (v & kOpenSirenBit) ? 1 : 0;
        lf.closeSiren[j] = (v & kCloseSirenBit) ? 1 : 0;
        lf.openLight[j] = (v & kOpenLightBit) ? 1 : 0;
        lf.closeLight[j] = (v & kCloseLightBit) ? 1 : 0;
    }
    ExtraOptions& e = *s->extra;
    if (const int v = Cr99Byte(r, kTamper); v >= 0)
        e.useTamper = (v & kTamperBit) ? 1 : 0;
    if (const int v = Cr99Byte(r, kDisarmDelay); v >= 0)
        DecodeDelay(v, e.disarmDelayOn, e.disarmDelayLoop, e.disarmDelayTime);
    if (const int v = Cr99Byte(r, kArmDelay); v >= 0)
        DecodeDelay(v, e.armDelayOn, e.armDelayLoop, e.armDelayTime);
}

void DecodeCr99Gated(const Reader& r, DeviceSettings* s) {
    using namespace cr99;
    const DeviceHeader& h = *s->header;
    if (Cr99HasSmsOptions(h)) {
        if (const int v = Cr99Byte(r, kSmsOptions); v >= 0) {
            s->smsFlags->checkbox13 = (v & kCheckbox13Bit) ? 1 : 0;
            s->smsFlags->checkbox14 = (v & kCheckbox14Bit) ? 1 : 0;
            SetBits(s->smsFlags->checkbox, quint8(v), kMainNumbers);
        }
        if (const int v = Cr99Byte(r, kTechLoop); v >= 0) {
            s->phoneOptions->alarmCallUntilAnswer = (v & kCallUntilAnswerBit) ? 1 : 0;
            s->extra->techLoop = v & 0x0F;
        }
    }
    if (Cr99HasServerBlock(h)) {
        ServerSettings& sv = *s->servers;
        // From 19.04.2012 the attempt bits hold a constant, not the setting.
        const bool attemptsCarried = !Cr99FixedServerAttempts(h);
        for (int n = 0; n < kServerCount; ++n) {
            const int v = Cr99Byte(r, kServerOptions + n);
            if (v < 0)
                continue;
            sv.useDns[n] = (v & kUseDnsBit) ? 1 : 0;
            sv.perez[n] = (v & kPerezBit) ? 1 : 0;
            if (attemptsCarried)
                sv.udPop[n] = v & 0x0F;
        }
        if (const int v = Cr99Byte(r, kServerFallback); v >= 0) {
            sv.obnov[0] = (v & kObnov1Bit) ? 1 : 0;
            sv.obnov[1] = (v & kObnov2Bit) ? 1 : 0;
            sv.udPop3 = v & 0x0F;
        }
        const int dns[2] = {kDnsName1, kDnsName2};
        for (int n = 0; n < kServerCount; ++n) {
            const int at = Cr99ImageOffset(dns[n]);
            if (!r.has(at, kDnsNameSize))
                continue;
            // 0x00 bytes are skipped rather than ending the name.
            QByteArray name = r.bytes(at, kDnsNameSize);
            name.replace('\0', QByteArray());
            sv.dnsName[n] = FromCp1251(name);
        }
        ConnectionParams& c = *s->connection;
        if (const int v = Cr99Byte(r, kTestFlags); v >= 0) {
            c.testWhenClosed = (v & kTestWhenClosedBit) ? 1 : 0;
            c.testWhenOpen = (v & kTestWhenOpenBit) ? 1 : 0;
            c.testInterval = v & 0x0F;
        }
        if (const int v = Cr99Byte(r, kTestAttempts); v >= 0)
            c.testAttempts = (v & 0x0F) + 1;
        if (const int v = Cr99Byte(r, kTestReceivers); v >= 0)
            SetBits(c.testReceiver, quint8(v), int(c.testReceiver.size()));
        if (const int v = Cr99Byte(r, kVoiceGprs); v >= 0) {
            sv.useGprsMode2 = (v & kGprsMode2Bit) ? 1 : 0;
            s->extra->useVoiceMessages = (v & kVoiceMessagesBit) ? 1 : 0;
            c.rapidResponseAttempts = v & 0x0F;
        }
        if (const int v = Cr99Byte(r, kSmsNumberFlags); v >= 0) {
            SetBits(s->smsFlags->cb_p_vx_sn, quint8(v), kMainNumbers);
            if (Cr99HasObjectIdBit(h))
                s->smsFlags->objectIdInSms = (v & kObjectIdInSmsBit) ? 1 : 0;
        }
    }
    if (Cr99HasOutputs(h)) {
        OutputsConfig& o = *s->outputs;
        for (int k = 0; k < kOutputCount; ++k) {
            if (const int v = Cr99Byte(r, kOutputTypes + k); v >= 0)
                o.outputType[k] = v & 0x0F;
            if (const int v = Cr99Byte(r, kOutputLoops + k); v >= 0)
                SetBits(o.outputLoop[k], quint8(v), kLoops);
        }
    }
    if (Cr99HasCallMatrix(h)) {
        for (int k = 0; k < kMainNumbers; ++k) {
            if (const int v = Cr99Byte(r, CallMatrixOpenCloseOffset(k)); v >= 0)
                SetBits(s->callMatrix->openClose[k], quint8(v), kLoops);
            if (const int v = Cr99Byte(r, CallMatrixAlarmOffset(k)); v >= 0)
                SetBits(s->callMatrix->alarm[k], quint8(v), kLoops);
        }
    }
}

// Console SMS, names, event texts and SNTP (15.04.2010 on).
void DecodeConsole(const Reader& r, DeviceSettings* s) {
    using namespace cr99;
    const DeviceHeader& h = *s->header;
    ConsoleSmsSettings& cs = *s->consoleSms;
    if (const int v = Cr99Byte(r, kConsoleFlags); v >= 0) {
        s->extra->useVoicePasswords =
            Cr99VoicePasswordsAllowed(h) && (v & kVoicePasswordsBit) ? 1 : 0;
        SetBits(cs.cb2to5, quint8(v), int(cs.cb2to5.size()), kConsoleCb2Shift);
        cs.cb1 = (v & kConsoleCb1Bit) ? 1 : 0;
    }
    for (int k = 0; k < kConsoleNumberCount; ++k) {
        const int at = Cr99ImageOffset(ConsoleNumberOffset(k));
        if (r.has(at, kPhoneSize))
            cs.number[k] = BcdToPhone(r.bytes(at, kPhoneSize));
    }
    for (int e = 0; e < kEventCount; ++e)
        if (const int v = Cr99Byte(r, kEventNumbers + e); v >= 0)
            SetBits(cs.eventNumber[e], quint8(v), kMainNumbers);
    for (int n = 0; n < kEventCount; ++n) {
        const int e = kEventOrder[n];
        const int v = Cr99Byte(r, kEventKinds + n);
        if (v < 0)
            continue;
        cs.eventKind[e] = v & 0x0F;
        cs.withTime[e] = (v & kWithTimeBit) ? 1 : 0;
        cs.withKeyName[e] = (v & kWithKeyNameBit) ? 1 : 0;
        cs.withLoopName[e] = (v & kWithLoopNameBit) ? 1 : 0;
    }
    auto name = [&](int cr99Offset, QString& out) {
        const int at = Cr99ImageOffset(cr99Offset);
        if (r.has(at, kNameSize))
            out = NameText(r, at, kNameSize);
    };
    name(kObjectName, cs.objectName);
    for (int j = 0; j < kLoopNameCount; ++j)
        name(LoopNameOffset(j), cs.loopName[j]);
    for (int k = 0; k < kKeyNameCount; ++k)
        name(KeyNameOffset(k), s->zones->eepromKeyName[k]);

    for (int n = 0; n < kEventCount; ++n) {
        const int e = kEventOrder[n];
        const int rec = Cr99ImageOffset(EventRecordOffset(n));
        if (!r.has(rec, kEventRecordSize))
            continue;
        cs.eventText[0][e] = NameText(r, rec + kEventText0, kEventText0Size);
        cs.eventText[1][e] = NameText(r, rec + kEventText1, kEventText1Size);
        cs.eventText[2][e] = NameText(r, rec + kEventText2, kEventText2Size);
    }

    SntpSettings& sn = *s->sntp;
    if (const int v = Cr99Byte(r, kSntpFlags); v >= 0) {
        sn.sntpVersion = (v >> kSntpVersionShift) & 3;
        sn.cb3 = (v & kSntpCb3Bit) ? 1 : 0;
        sn.cb4 = (v & kSntpCb4Bit) ? 1 : 0;
        sn.useSntp = (v & kUseSntpBit) ? 1 : 0;
    }
    const int ip = Cr99ImageOffset(kSntpIp);
    if (r.has(ip, kSntpIpSize))
        sn.sntpIp = FromCp1251(CutAt(r.bytes(ip, kSntpIpSize), {'\0'}));
    const int port = Cr99ImageOffset(kSntpPort);
    if (r.has(port, kSntpPortSize))
        sn.sntpPort = FromCp1251(CutAt(r.bytes(port, kSntpPortSize), {'\0'}));
    const int dns = Cr99ImageOffset(kSntpDns);
    if (r.has(dns, kSntpDnsSize))
        sn.sntpDns = Cp1251Text(r, dns, kSntpDnsSize);
}

// The tail blocks, radio mask and cameras.
void DecodeCr99Tail(const Reader& r, DeviceSettings* s) {
    using namespace cr99;
    const DeviceHeader& h = *s->header;
    if (Cr99HasSmsEvents(h)) {
        if (const int v = Cr99Byte(r, kSmsNumberFlags); v >= 0)
            s->extra->silentArming = (v & kSilentArmingBit) ? 1 : 0;
        const int at = Cr99ImageOffset(kFullSmsEvents);
        if (r.has(at, kSmsEventsSize)) {
            SetBits(s->extraSms->smsService, r.u8(at + kSmsServiceAt), kMainNumbers);
            SetBits(s->extraSms->smsSimChange, r.u8(at + kSmsSimChangeAt), kMainNumbers);
            SetBits(s->smsFlags->cbDrugieZa, r.u8(at + kSmsDrugieZaAt), kMainNumbers);
            SetBits(s->smsFlags->cbDrugieOt, r.u8(at + kSmsDrugieOtAt), kMainNumbers);
        }
    }
    if (Cr99HasOutputFlags(h))
        if (const int v = Cr99Byte(r, kFullOutputFlags); v >= 0)
            SetBits(s->outputs->outputFlagA, quint8(v), kOutputCount);
    if (Cr99HasNavigation(h)) {
        NavigationSettings& nav = *s->navigation;
        if (const int v = Cr99Byte(r, kFullNavigation); v >= 0) {
            nav.cb13 = (v & kCb13Bit) ? 1 : 0;
            SetBits(nav.relayFrequent, quint8(v), kOutputCount, kRelayFrequentShift);
            s->connection->serverProtocol = v == 0xFF ? 0 : (v & 3);
        }
        if (const int v = Cr99Byte(r, kFullNavigation + 1); v >= 0)
            SetBits(nav.loopFrequent, quint8(v), kLoops);
    }
    if (Cr99HasTimeZone(h)) {
        const int at = Cr99ImageOffset(kFullTimeZone);
        if (r.has(at, kTimeZoneSize)) {
            const quint8 tz = r.u8(at + kTimeZoneAt);
            const bool erased = tz == 0xFF;
            s->navigation->updateTimeFromGps = !erased && (tz & kGpsTimeBit) ? 1 : 0;
            s->navigation->timeZone = erased ? 0 : (tz & 0x1F);
            SetBits(s->extraSms->smsUserOut1, r.u8(at + kSmsUserOut1At), kMainNumbers);
            SetBits(s->extraSms->smsUserOut2, r.u8(at + kSmsUserOut2At), kMainNumbers);
            SetBits(s->outputs->keepOnPowerOff, r.u8(at + kKeepOnPowerOffAt), kOutputCount);
        }
    }
    if (Cr99HasRadioMask(h))
        if (const int v = Cr99Byte(r, kRadioLoops); v >= 0)
            SetBits(s->loopLimits->radio, quint8(v), kLoops);
    if (Cr99HasCameras(h)) {
        CamerasConfig& cam = *s->cameras;
        if (const int v = Cr99Byte(r, kCameraUse); v >= 0)
            SetBits(cam.useCamera, quint8(v), kCameraCount);
        for (int c = 0; c < kCameraCount; ++c) {
            const int v = Cr99Byte(r, kCameraLoops + c);
            if (v < 0)
                continue;
            for (int j = 0; j < kLoops; ++j)
                cam.execCamera[j][c] = (v >> j) & 1;
        }
    }
}

// Remote configuration and the late additions.
void DecodeCrff(const Reader& r, DeviceSettings* s) {
    using namespace crff;
    const DeviceHeader& h = *s->header;
    if (!FwOnOrAfter(h, fw::k19_04_2012) || h.firmwareSubVersion == 0 || !r.has(kCrff, crff::kSize))
        return;
    const int b = kCrff;
    RemoteProgSettings& rp = *s->remoteProg;
    rp.serverAddress[0] = QString::fromLatin1(
        CutAt(r.bytes(b + kServerAddress1, kServerAddressSize), {'\0', kErased}));
    rp.serverAddress[1] = QString::fromLatin1(
        CutAt(r.bytes(b + kServerAddress2, kServerAddressSize), {'\0', kErased}));
    rp.serverPort[0] = u16(r.u8(b + kServerPort1) << 8 | r.u8(b + kServerPort1 + 1));
    rp.serverPort[1] = u16(r.u8(b + kServerPort2) << 8 | r.u8(b + kServerPort2 + 1));
    rp.phoneNumber[0] = BcdToPhone(r.bytes(b + kPhone1, kPhoneSize));
    rp.phoneNumber[1] = BcdToPhone(r.bytes(b + kPhone2, kPhoneSize));
    const quint8 flags = r.u8(b + kRemoteFlags);
    rp.connectToServer = (flags & kConnectToServerBit) ? 1 : 0;
    rp.useProgIfNoProtect = (flags & kUseProgIfNoProtectBit) ? 1 : 0;
    // The section writes the key word and the password in the device's code
    // page, so they are read back in it too.
    rp.smsKeyWord = Cp1251Text(r, b + kSmsKeyWord, kSmsKeyWordSize);
    s->loopFunctions->errorOpenClose = r.u8(b + kErrorOpenClose) & 1u;
    s->connection->asyncTransfer = r.u8(b + kAsyncTransfer) & 1u;
    s->connection->deleteUnsent = r.u8(b + kDeleteUnsent) & 1u;
    s->servers->serverPassword = Cp1251Text(r, b + kServerPassword, kServerPasswordSize);

    TimeTriggers& tt = *s->timeTriggers;
    for (int i = 0; i < kTimedEventCount; ++i) {
        const int at = b + kTimedEvents + kTimedEventSize * i;
        // FF FF (no time) is not a valid time and gives a null QTime.
        tt.evTime[i] = QTime(r.u8(at + kTriggerHourAt), r.u8(at + kTriggerMinuteAt), 0);
        tt.evType[i] = r.u8(at + kTriggerTypeAt);
        SetBits(tt.evDay[i], r.u8(at + kTriggerDaysAt), kWeekDays);
    }
    for (int k = 0; k < kOutputCount; ++k)
        s->outputs->outputZone[k] = r.u8(b + kOutputZones + k);
}

} // namespace

ImageTextField ReadImageTextField(const QByteArray& image, int start, int maxLen) {
    ImageTextField f;
    f.next = start;
    if (start < 0 || maxLen <= 0 || start > image.size())
        return f;
    const int end = qMin<int>(start + maxLen, int(image.size()));
    for (int i = start; i < end; ++i) {
        if (image.at(i) == layout::text::kSeparator) {
            f.text = image.mid(start, i - start);
            f.next = i + 1;
            f.complete = true;
            return f;
        }
    }
    f.text = image.mid(start, end - start);
    f.next = end;
    f.complete = end - start == maxLen;
    return f;
}

int AddUnknownGsmOperator(const QString& directory, DeviceSettings* settings,
                          const GsmOperator& decoded) {
    GsmOperator op = decoded;
    op.name = OperatorPresetFile::unknownName();
    // Recorded only now that its fields are known, so the preset file gains
    // a usable entry rather than an empty one.
    const OperatorPresetFile file(directory);
    if (!file.append(&settings->gsmOperators, op))
        qWarning() << "Could not record the new operator in" << file.fileName();
    return int(settings->gsmOperators.size()) - 1;
}

bool ParseImage(QByteArray& image, DeviceSettings* settings, const QString& operatorDir) {
    if (!settings) {
        image.clear();
        return true;
    }
    DeviceSettings* s = settings;
    const Reader r(image);

    // Main server address and port.
    if (r.has(kServer1Ip, lt::kServerIpWidth))
        s->servers->serverIp[0] = SliceText(r, kServer1Ip, lt::kServerIpWidth);
    if (r.has(kServer1Port, lt::kServerPortWidth))
        s->servers->serverPort[0] = SliceText(r, kServer1Port, lt::kServerPortWidth);

    // SIM 1 fields and its operator, with the USSD fields of the balance
    // region.
    QByteArray sim1[4];
    int afterSim1 = 0;
    const bool sim1Ok =
        WalkFields(image, kSim1Fields, lt::craa::kTextFieldMax, 4, sim1, &afterSim1);
    QByteArray ussd[2];
    int afterUssd = 0;
    const int ussdMax[2] = {lt::kUssdMax, lt::kUssdMax};
    const bool ussdOk = WalkFields(image, kBalanceFields, ussdMax, 2, ussd, &afterUssd);
    if (sim1Ok && ussdOk)
        DecodeSim(s, 0, sim1[0], sim1[1], sim1[2], ussd[0], operatorDir);

    // Distance filter, object number, user passwords.
    if (sim1Ok) {
        s->navigation->distanceFilter = QString::fromLatin1(sim1[3]);
        const int p = afterSim1;
        if (r.has(p, lt::kObjectNumberWidth))
            s->connection->objectNumber = r.bytes(p, lt::kObjectNumberWidth);
        for (int n = 0; n < 2; ++n) {
            const int at = p + lt::kObjectNumberWidth + lt::kPasswordWidth * n;
            if (r.has(at, lt::kPasswordWidth))
                s->outputs->userPassword[n] = SliceText(r, at, lt::kPasswordWidth);
        }
    }

    // Numbers, their options, administrator passwords.
    DecodeNumbers(r, s);

    // SIM 2, the use flags and server 2.
    QByteArray sim2[kSim2FieldCount];
    int afterSim2 = 0;
    const bool sim2Ok =
        WalkFields(image, kSim2Fields, lt::crmm::kTextFieldMax, kSim2FieldCount, sim2, &afterSim2);
    if (sim2Ok && ussdOk)
        DecodeSim(s, 1, sim2[0], sim2[1], sim2[2], ussd[1], operatorDir);
    if (sim2Ok)
        DecodeSim2Tail(r, s, afterSim2);

    // Balance-region options and call prefix.
    int optionsAt = 0;
    if (WalkFields(image, kBalanceFields, lt::crhh::kTextFieldMax, kBalanceUssdFields, nullptr,
                   &optionsAt))
        DecodeBalanceOptions(r, s, optionsAt);

    // Key-loop masks, loop limits, flags.
    DecodeCr88(r, s);

    // Main parameters under their gates.
    DecodeCr99Base(r, s);
    DecodeCr99Gated(r, s);

    // Console region.
    if (Cr99HasConsoleBlock(*s->header))
        DecodeConsole(r, s);

    // Tail blocks, radio mask, cameras.
    DecodeCr99Tail(r, s);

    // Device state and journal.
    ParseImageSubBlock(image, s);

    // Remote configuration.
    DecodeCrff(r, s);

    image.clear();
    return true;
}

bool ParseImageSubBlock(const QByteArray& image, DeviceSettings* settings) {
    if (!settings)
        return true;
    const Reader r(image);
    DeviceStateLog& st = *settings->state;

    if (r.has(kLastEvent))
        st.lastEvent = r.u8(kLastEvent);
    if (r.has(kArmedMask))
        st.armedMask = r.u8(kArmedMask);
    if (r.has(kAlarmMask))
        st.alarmMask = r.u8(kAlarmMask);
    if (r.has(kStateCode))
        st.state = r.u8(kStateCode);
    if (r.has(kKeyNumber))
        st.keyNumber = r.u8(kKeyNumber);
    for (int n = 0; n < kRestartCountCount; ++n) {
        const int at = kRestartCounts + 2 * n;
        if (r.has(at, 2))
            st.restartCount[n] = u32(r.u8(at)) | u32(r.u8(at + 1)) << 8;
    }
    if (r.has(kLoopBitsA) && r.has(kLoopBitsB) && r.u8(kLoopBitsA) != 0xFF &&
        r.u8(kLoopBitsB) != 0xFF) {
        for (int k = 0; k < kLoops; ++k) {
            st.loopBitA[k] = r.bit(kLoopBitsA, k) ? 0 : 1;
            st.loopBitB[k] = r.bit(kLoopBitsB, k) ? 0 : 1;
        }
    }
    if (r.has(kStateByte)) {
        // Names one of eight records; an erased or out-of-range value is none.
        const int v = r.s8(kStateByte);
        st.stateByte = (v >= 1 && v <= kStateByteMax) ? v : kStateByteNone;
    }
    for (int k = 0; k < kLoops; ++k) {
        const int at = kLoopFlagPairs + 2 * k;
        if (!r.has(at, 2))
            continue;
        const quint8 x = r.u8(at);
        const quint8 y = r.u8(at + 1);
        if (x == 0xFF || y == 0xFF)
            continue;
        Arr<u8, kLoopFlagCount>& f = st.loopFlags[k];
        f[0] = (y >> 7) & 1;
        f[1] = (y >> 6) & 1;
        f[2] = (y >> 1) & 1;
        f[3] = (x >> 7) & 1;
        f[4] = (x >> 6) & 1;
        f[5] = (x >> 4) & 1;
        f[6] = (x >> 3) & 1;
        f[7] = (x >> 2) & 1;
        f[8] = (x >> 1) & 1;
        f[9] = x & 1;
    }

    if (!FwOnOrAfter(*settings->header, fw::k15_04_2010)) {
        // The short journal of the older firmware: code and parameter only.
        if (r.has(kShortJournalIndex)) {
            const int v = r.s8(kShortJournalIndex);
            st.newestJournal = (v >= 0 && v < kShortJournalRecords) ? v : kNoJournalRecord;
        }
        for (int n = 0; n < kShortJournalRecords; ++n) {
            const int at = kShortJournal + kShortJournalRecordSize * n;
            if (!r.has(at, kShortJournalRecordSize))
                break;
            st.journalEvent[n] = r.u8(at);
            st.journalParam[n] = r.u8(at + 1);
        }
        return true;
    }

    // Without the whole index there is no journal to speak of.
    if (!r.has(kJournalIndex, 2))
        return true;
    const int newest = (r.u8(kJournalIndex) << 8 | r.u8(kJournalIndex + 1)) - 1;
    // An erased index (FF FF) or one past the records is no newest record.
    st.newestJournal = (newest >= 0 && newest < kJournalSlots) ? newest : kNoJournalRecord;
    for (int n = 0; n < kJournalSlots; ++n) {
        const int at = kJournal + kJournalRecordSize * n;
        if (!r.has(at, kJournalRecordSize))
            break; // only whole records inside the image
        st.journalEvent[n] = r.u8(at + kJournalCode);
        st.journalParam[n] = r.u8(at + kJournalParam);
        st.journalSecond[n] = r.u8(at + kJournalSecond);
        st.journalMinute[n] = r.u8(at + kJournalMinute);
        st.journalHour[n] = r.u8(at + kJournalHour);
        st.journalDay[n] = r.u8(at + kJournalDay);
        st.journalMonth[n] = r.u8(at + kJournalMonth);
        st.journalYear[n] = r.u8(at + kJournalYear);
    }
    return true;
}
