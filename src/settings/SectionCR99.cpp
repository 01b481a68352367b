#include "settings/ByteFields.h"
#include "settings/DeviceSettings.h"
#include "settings/Firmware.h"
#include "settings/LayoutCR99.h"
#include "settings/LayoutText.h"
#include "settings/Sections.h"
#include "settings/TextCodec.h"

using namespace cr99;

// ---- Gates -------------------------------------------------------------------

bool Cr99HasSmsOptions(const DeviceHeader& h) {
    return FwLaterThan(h, fw::k21_09_2009);
}
bool Cr99HasServerBlock(const DeviceHeader& h) {
    return FwLaterThan(h, fw::k27_11_2009);
}
bool Cr99HasObjectIdBit(const DeviceHeader& h) {
    return FwOnOrAfter(h, fw::k28_01_2010);
}
bool Cr99HasOutputs(const DeviceHeader& h) {
    return FwOnOrAfter(h, fw::k17_02_2010);
}
bool Cr99HasCallMatrix(const DeviceHeader& h) {
    return FwOnOrAfter(h, fw::k26_03_2010);
}
bool Cr99HasConsoleBlock(const DeviceHeader& h) {
    return FwOnOrAfter(h, fw::k15_04_2010);
}
bool Cr99HasRadioMask(const DeviceHeader& h) {
    return FwOnOrAfter(h, fw::k01_12_2010);
}
bool Cr99HasCameras(const DeviceHeader& h) {
    return FwHasCameras(h);
}

bool Cr99HasSmsEvents(const DeviceHeader& h) {
    return FwEquals(h, fw::k19_12_2009) || FwOnOrAfter(h, fw::k05_06_2010);
}

bool Cr99HasOutputFlags(const DeviceHeader& h) {
    return FwOnOrAfter(h, fw::k05_06_2010);
}
bool Cr99HasNavigation(const DeviceHeader& h) {
    return FwOnOrAfter(h, fw::k07_06_2010);
}
bool Cr99HasTimeZone(const DeviceHeader& h) {
    return FwOnOrAfter(h, fw::k16_08_2010);
}
bool Cr99FixedServerAttempts(const DeviceHeader& h) {
    return FwOnOrAfter(h, fw::k19_04_2012);
}

bool Cr99VoicePasswordsAllowed(const DeviceHeader& h) {
    return h.deviceType != DEV_D4M || FwOnOrAfter(h, fw::k19_04_2012);
}

Cr99Layout Cr99LayoutFor(const DeviceHeader& h) {
    Cr99Layout l;
    // The body sizes nest: each later gate only opens when the earlier ones
    // have, but each is tested on its own so the layout never depends on that.
    if (Cr99HasSmsOptions(h))
        l.bodySize = kSize2109;
    if (Cr99HasServerBlock(h))
        l.bodySize = kSize2711;
    if (Cr99HasOutputs(h))
        l.bodySize = kSize1702;
    if (Cr99HasCallMatrix(h))
        l.bodySize = kSize2603;
    if (Cr99HasConsoleBlock(h))
        l.bodySize = kSize1504;

    int at = l.bodySize;
    if (Cr99HasSmsEvents(h)) {
        l.smsEvents = at;
        at += kSmsEventsSize;
    }
    if (Cr99HasOutputFlags(h)) {
        l.outputFlags = at;
        at += kOutputFlagsSize;
    }
    if (Cr99HasNavigation(h)) {
        l.navigation = at;
        at += kNavigationSize;
    }
    if (Cr99HasTimeZone(h)) {
        l.timeZone = at;
        at += kTimeZoneSize;
    }
    l.terminator = at;
    l.length = at + kTerminatorSize;
    return l;
}

int Cr99Length(const DeviceHeader& h) {
    return Cr99LayoutFor(h).length;
}

// ---- Builder -----------------------------------------------------------------

namespace {

// The low 8 bits of an integer field, also for negative values.
char low8(qint64 v) {
    return char(quint8(quint64(v) & 0xFF));
}

// The low 8 bits of v shifted left; done unsigned so a negative field cannot
// make the shift undefined.
quint8 shifted(qint64 v, int bits) {
    return quint8((quint64(v) << bits) & 0xFF);
}

// A delay byte: the no-delay bit when off, the loop and the time index.
char delayByte(u8 on, qint64 loop, qint64 time) {
    const quint8 off = on == 0 ? kDelayOffBit : 0;
    return char(off | shifted(loop, kDelayLoopShift) | quint8(low8(time)));
}

void fillBase(QByteArray& b, const DeviceSettings& s) {
    const LoopFunctions& lf = *s.loopFunctions;
    for (int j = 0; j < kLoopFunctionsSize; ++j) {
        quint8 v = shifted(lf.openAnalysis[j], kOpenAnalysisShift);
        if (lf.openSiren[j])
            v |= kOpenSirenBit;
        if (lf.openLight[j])
            v |= kOpenLightBit;
        v |= shifted(lf.closeAnalysis[j], kCloseAnalysisShift) & kCloseAnalysisMask;
        if (lf.closeSiren[j])
            v |= kCloseSirenBit;
        if (lf.closeLight[j])
            v |= kCloseLightBit;
        b[kLoopFunctions + j] = char(v);
    }

    const ExtraOptions& e = *s.extra;
    if (e.useTamper)
        OrByte(b, kTamper, kTamperBit);

    b[kDisarmDelay] = delayByte(e.disarmDelayOn, e.disarmDelayLoop, e.disarmDelayTime);
    b[kArmDelay] = delayByte(e.armDelayOn, e.armDelayLoop, e.armDelayTime);
}

void fillSmsOptions(QByteArray& b, const DeviceSettings& s) {
    const SmsNumberFlags& sf = *s.smsFlags;
    quint8 v = FlagMask(sf.checkbox, kMainNumbers);
    if (sf.checkbox13)
        v |= kCheckbox13Bit;
    if (sf.checkbox14)
        v |= kCheckbox14Bit;
    b[kSmsOptions] = char(v);

    quint8 tech = quint8(low8(s.extra->techLoop));
    if (s.phoneOptions->alarmCallUntilAnswer != 0)
        tech |= kCallUntilAnswerBit;
    b[kTechLoop] = char(tech);
}

void fillServerBlock(QByteArray& b, const DeviceSettings& s) {
    const ServerSettings& sv = *s.servers;
    const bool fixedAttempts = Cr99FixedServerAttempts(*s.header);
    for (int n = 0; n < kServerCount; ++n) {
        quint8 v = kServerMarker;
        if (sv.useDns[n])
            v |= kUseDnsBit;
        if (sv.perez[n])
            v |= kPerezBit;
        v |= fixedAttempts ? kFixedServerAttempts : quint8(low8(sv.udPop[n]));
        b[kServerOptions + n] = char(v);
    }

    quint8 fallback = kServerMarker;
    if (sv.obnov[1])
        fallback |= kObnov2Bit;
    if (sv.obnov[0])
        fallback |= kObnov1Bit;
    fallback |= quint8(low8(sv.udPop3));
    b[kServerFallback] = char(fallback);

    PutBytes(b, kDnsName1, Cp1251Field(sv.dnsName[0], kDnsNameSize, '\0'));
    PutBytes(b, kDnsName2, Cp1251Field(sv.dnsName[1], kDnsNameSize, '\0'));

    const ConnectionParams& c = *s.connection;
    quint8 test = quint8(low8(c.testInterval));
    if (c.testWhenClosed)
        test |= kTestWhenClosedBit;
    if (c.testWhenOpen)
        test |= kTestWhenOpenBit;
    b[kTestFlags] = char(test);
    b[kTestAttempts] = low8(qint64(c.testAttempts) - 1);
    b[kTestReceivers] = char(FlagMask(c.testReceiver, int(c.testReceiver.size())));

    quint8 vg = quint8(low8(c.rapidResponseAttempts));
    if (sv.useGprsMode2)
        vg |= kGprsMode2Bit;
    if (s.extra->useVoiceMessages)
        vg |= kVoiceMessagesBit;
    b[kVoiceGprs] = char(vg);

    b[kSmsNumberFlags] = char(FlagMask(s.smsFlags->cb_p_vx_sn, kMainNumbers));
}

void fillOutputs(QByteArray& b, const DeviceSettings& s) {
    const OutputsConfig& o = *s.outputs;
    for (int n = 0; n < kOutputCount; ++n) {
        b[kOutputTypes + n] = low8(o.outputType[n]);
        b[kOutputLoops + n] = char(FlagMask(o.outputLoop[n], kLoops));
    }
}

void fillCallMatrix(QByteArray& b, const DeviceSettings& s) {
    const CallMatrix& cm = *s.callMatrix;
    for (int r = 0; r < kMainNumbers; ++r) {
        b[CallMatrixOpenCloseOffset(r)] = char(FlagMask(cm.openClose[r], kLoops));
        b[CallMatrixAlarmOffset(r)] = char(FlagMask(cm.alarm[r], kLoops));
    }
}

void fillConsoleBlock(QByteArray& b, const DeviceSettings& s) {
    const ConsoleSmsSettings& cs = *s.consoleSms;

    quint8 flags = 0;
    if (s.extra->useVoicePasswords && Cr99VoicePasswordsAllowed(*s.header))
        flags |= kVoicePasswordsBit;
    flags |= quint8(FlagMask(cs.cb2to5, int(cs.cb2to5.size())) << kConsoleCb2Shift);
    if (cs.cb1)
        flags |= kConsoleCb1Bit;
    b[kConsoleFlags] = char(flags);

    for (int r = 0; r < kConsoleNumberCount; ++r)
        PutBytes(b, ConsoleNumberOffset(r), PhoneToBcd(cs.number[r]));

    for (int e = 0; e < kEventCount; ++e)
        b[kEventNumbers + e] = char(FlagMask(cs.eventNumber[e], kMainNumbers));

    for (int n = 0; n < kEventCount; ++n) {
        const int e = kEventOrder[n];
        quint8 kind = quint8(low8(cs.eventKind[e]));
        if (cs.withTime[e])
            kind |= kWithTimeBit;
        if (cs.withKeyName[e])
            kind |= kWithKeyNameBit;
        if (cs.withLoopName[e])
            kind |= kWithLoopNameBit;
        b[kEventKinds + n] = char(kind);
    }

    PutBytes(b, kObjectName, Cp1251Field(cs.objectName, kNameSize, '\xFF'));
    for (int i = 0; i < kLoopNameCount; ++i)
        PutBytes(b, LoopNameOffset(i), Cp1251Field(cs.loopName[i], kNameSize, '\xFF'));
    for (int k = 0; k < kKeyNameCount; ++k)
        PutBytes(b, KeyNameOffset(k), Cp1251Field(s.zones->eepromKeyName[k], kNameSize, '\xFF'));

    for (int n = 0; n < kEventCount; ++n) {
        const int e = kEventOrder[n];
        const int r = EventRecordOffset(n);
        PutBytes(b, r + kEventText0, Cp1251Field(cs.eventText[0][e], kEventText0Size, '\xFF'));
        b[r + kEventTextGap] = '\0';
        PutBytes(b, r + kEventText1, Cp1251Field(cs.eventText[1][e], kEventText1Size, '\xFF'));
        PutBytes(b, r + kEventText2, Cp1251Field(cs.eventText[2][e], kEventText2Size, '\xFF'));
    }

    const SntpSettings& sn = *s.sntp;
    quint8 sntp = shifted(sn.sntpVersion & 3, kSntpVersionShift) | kSntpAlwaysBit;
    if (sn.cb3)
        sntp |= kSntpCb3Bit;
    if (sn.cb4)
        sntp |= kSntpCb4Bit;
    if (sn.useSntp)
        sntp |= kUseSntpBit;
    b[kSntpFlags] = char(sntp);
    // The device reads address and port by position, like the main server's:
    // "10.0.0.1" goes out as "010.000.000.001" and port "123" as "00123",
    // never with NUL bytes where it expects digits.
    PutBytes(b, kSntpIp, layout::text::ServerIpField(sn.sntpIp));
    PutBytes(b, kSntpPort, layout::text::DigitField(ToLatin1(sn.sntpPort), kSntpPortSize));
    PutBytes(b, kSntpDns, Cp1251Field(sn.sntpDns, kSntpDnsSize, '\0'));
}

void fillCameras(QByteArray& b, const DeviceSettings& s) {
    const CamerasConfig& cam = *s.cameras;
    b[kCameraUse] = char(FlagMask(cam.useCamera, kCameraCount));
    for (int c = 0; c < kCameraCount; ++c) {
        quint8 loops = 0;
        for (int l = 0; l < kLoops; ++l)
            if (cam.execCamera[l][c])
                loops |= quint8(1u << l);
        b[kCameraLoops + c] = char(loops);
    }
}

} // namespace

QByteArray BuildPackCR99(const DeviceSettings& s) {
    const DeviceHeader& h = *s.header;
    const Cr99Layout layout = Cr99LayoutFor(h);

    // Every byte not written below is 0x00, the terminator among them.
    QByteArray b(layout.length, '\0');

    fillBase(b, s);
    if (Cr99HasSmsOptions(h))
        fillSmsOptions(b, s);
    if (Cr99HasServerBlock(h)) {
        fillServerBlock(b, s);
        if (Cr99HasObjectIdBit(h) && s.smsFlags->objectIdInSms)
            OrByte(b, kSmsNumberFlags, kObjectIdInSmsBit);
    }
    if (Cr99HasOutputs(h))
        fillOutputs(b, s);
    if (Cr99HasCallMatrix(h))
        fillCallMatrix(b, s);
    if (Cr99HasConsoleBlock(h)) {
        fillConsoleBlock(b, s);
        if (Cr99HasRadioMask(h))
            b[kRadioLoops] = char(FlagMask(s.loopLimits->radio, kLoops));
        if (Cr99HasCameras(h))
            fillCameras(b, s);
    }

    if (layout.smsEvents >= 0) {
        // The silent-arming bit travels with the SMS-event block; byte 87
        // exists whenever the block does (19.12.2009 is past 27.11.2009).
        if (s.extra->silentArming && layout.bodySize > kSmsNumberFlags)
            OrByte(b, kSmsNumberFlags, kSilentArmingBit);
        const ExtraSmsFlags& es = *s.extraSms;
        const SmsNumberFlags& sf = *s.smsFlags;
        b[layout.smsEvents + kSmsServiceAt] = char(FlagMask(es.smsService, kMainNumbers));
        b[layout.smsEvents + kSmsSimChangeAt] = char(FlagMask(es.smsSimChange, kMainNumbers));
        b[layout.smsEvents + kSmsDrugieZaAt] = char(FlagMask(sf.cbDrugieZa, kMainNumbers));
        b[layout.smsEvents + kSmsDrugieOtAt] = char(FlagMask(sf.cbDrugieOt, kMainNumbers));
    }
    if (layout.outputFlags >= 0)
        b[layout.outputFlags] = char(FlagMask(s.outputs->outputFlagA, kOutputCount));
    if (layout.navigation >= 0) {
        const NavigationSettings& nav = *s.navigation;
        quint8 v = quint8(low8(s.connection->serverProtocol));
        if (nav.cb13 != 0)
            v |= kCb13Bit;
        v |= quint8(FlagMask(nav.relayFrequent, kOutputCount) << kRelayFrequentShift);
        b[layout.navigation] = char(v);
        b[layout.navigation + 1] = char(FlagMask(nav.loopFrequent, kLoops));
    }
    if (layout.timeZone >= 0) {
        const NavigationSettings& nav = *s.navigation;
        quint8 tz = kTimeZoneMarker | kTimeZoneAlways | quint8(low8(nav.timeZone));
        if (nav.updateTimeFromGps)
            tz |= kGpsTimeBit;
        b[layout.timeZone + kTimeZoneAt] = char(tz);
        b[layout.timeZone + kSmsUserOut1At] =
            char(kTimeZoneMarker | FlagMask(s.extraSms->smsUserOut1, kMainNumbers));
        b[layout.timeZone + kSmsUserOut2At] =
            char(kTimeZoneMarker | FlagMask(s.extraSms->smsUserOut2, kMainNumbers));
        b[layout.timeZone + kKeepOnPowerOffAt] =
            char(kTimeZoneMarker | FlagMask(s.outputs->keepOnPowerOff, kOutputCount));
    }
    b[layout.terminator] = '\0';
    return b;
}
