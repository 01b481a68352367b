// The fixed-size sections: telephone numbers and their call options, the
// federal numbers, and the key-to-loop matrix with the loop ranges. None of
// them depends on the firmware date.

#include "settings/ByteFields.h"
#include "settings/DeviceSettings.h"
#include "settings/LayoutNumbers.h"
#include "settings/LayoutText.h"
#include "settings/Sections.h"
#include "settings/TextCodec.h"

QByteArray BuildPackCRQQ(const DeviceSettings& s) {
    using namespace layout::crqq;
    QByteArray out(kSize, '\0');
    for (int k = 0; k < kNumberCount; ++k)
        PutBytes(out, NumberOffset(k), PhoneToBcd(s.phones->number[k]));
    for (int i = 0; i < 2; ++i) {
        PutBytes(
            out, kAdminPasswordOffset[i],
            layout::text::DigitField(ToLatin1(s.outputs->adminPassword[i]), kAdminPasswordWidth));
    }
    const SmsNumberFlags& sms = *s.smsFlags;
    const PhoneNumberOptions& opt = *s.phoneOptions;
    for (int k = 0; k < kNumberCount; ++k) {
        const int oc = OpenCloseOffset(k);
        if (sms.cbza[k])
            OrByte(out, oc, kCbzaBit);
        if (sms.cboz[k])
            OrByte(out, oc, kCbozBit);
        if (sms.cbts[k])
            OrByte(out, oc, kCbtsBit);
        OrByte(out, oc, quint8(opt.callAttemptsOpenClose[k] & 0xFF));
        out[AlarmOffset(k)] = char(quint8(opt.callAttemptsAlarm[k] & 0xFF));
    }
    out[kTerminatorOffset] = '\0';
    return out;
}

QByteArray BuildPackCR77(const DeviceSettings& s) {
    using namespace layout::cr77;
    QByteArray out(kSize, '\0');
    for (int i = 0; i < kNumberCount; ++i)
        PutBytes(out, NumberOffset(i), PhoneToBcd(s.phones->number[kFirstNumber + i]));
    out[kTerminatorOffset] = '\0';
    return out;
}

QByteArray BuildPackCR88(const DeviceSettings& s) {
    using namespace layout::cr88;
    QByteArray out(kSize, '\0'); // the gaps and the terminator stay zero

    for (int k = 0; k < kKeyMaskCount; ++k)
        out[kKeyMaskOffset + k] = char(FlagMask(s.zones->keyLoop[k], kLoopCount));

    const LoopLimits& ll = *s.loopLimits;
    for (int j = 0; j < kLoopCount; ++j) {
        const int at = LoopRangeOffset(j);
        out[at + kMinHigh] = char(LevelHigh(ll.minLevel[j]));
        out[at + kMinLow] = char(LevelLow(ll.minLevel[j]));
        out[at + kMaxHigh] = char(LevelHigh(ll.maxLevel[j]));
        out[at + kMaxLow] = char(LevelLow(ll.maxLevel[j]));
    }

    const quint8 low = FlagMask(ll.reverse, kLoopsPerReverseByte);
    quint8 high = FlagMask(ll.reverse, kLoopsPerReverseByte, kLoopsPerReverseByte);
    if (s.header->workMode == MODE_AUTONOMOUS)
        high |= kAutonomousBit;
    out[kReverseLowOffset] = char(low);
    out[kReverseHighOffset] = char(high);

    quint8 flags = 0;
    if (s.connection->reserveReceiversFirst)
        flags |= kReserveReceiversFirstBit;
    if (s.connection->connectByGprs)
        flags |= kConnectByGprsBit;
    flags |= quint8(FlagMask(s.phones->useFlag, kUseFlagCount) * kUseFlag0Bit);
    out[kFlagsOffset] = char(flags);
    return out;
}
