// The fixed-size sections: telephone numbers and their call options, the
// federal numbers, and the key-to-loop matrix with the loop ranges. None of
// them depends on the firmware date.

#include "settings/DeviceSettings.h"
#include "settings/LayoutNumbers.h"
#include "settings/LayoutText.h"
#include "settings/Sections.h"
#include "settings/TextCodec.h"

namespace {

// Writes `bytes` over `out` from `offset`, never past the end of `out`.
void Put(QByteArray& out, int offset, const QByteArray& bytes) {
    const int n = qMin(bytes.size(), out.size() - offset);
    for (int i = 0; i < n; ++i)
        out[offset + i] = bytes.at(i);
}

void Or(QByteArray& out, int offset, quint8 bits) {
    out[offset] = char(quint8(out.at(offset)) | bits);
}

} // namespace

QByteArray BuildPackCRQQ(const DeviceSettings& s) {
    using namespace layout::crqq;
    QByteArray out(kSize, '\0');
    for (int k = 0; k < kNumberCount; ++k)
        Put(out, NumberOffset(k), PhoneToBcd(s.phones->number[k]));
    for (int i = 0; i < 2; ++i) {
        Put(out, kAdminPasswordOffset[i],
            layout::text::DigitField(ToLatin1(s.outputs->adminPassword[i]), kAdminPasswordWidth));
    }
    const SmsNumberFlags& sms = *s.smsFlags;
    const PhoneNumberOptions& opt = *s.phoneOptions;
    for (int k = 0; k < kNumberCount; ++k) {
        const int oc = OpenCloseOffset(k);
        if (sms.cbza[k])
            Or(out, oc, kCbzaBit);
        if (sms.cboz[k])
            Or(out, oc, kCbozBit);
        if (sms.cbts[k])
            Or(out, oc, kCbtsBit);
        Or(out, oc, quint8(opt.callAttemptsOpenClose[k] & 0xFF));
        out[AlarmOffset(k)] = char(quint8(opt.callAttemptsAlarm[k] & 0xFF));
    }
    out[kTerminatorOffset] = '\0';
    return out;
}

QByteArray BuildPackCR77(const DeviceSettings& s) {
    using namespace layout::cr77;
    QByteArray out(kSize, '\0');
    for (int i = 0; i < kNumberCount; ++i)
        Put(out, NumberOffset(i), PhoneToBcd(s.phones->number[kFirstNumber + i]));
    out[kTerminatorOffset] = '\0';
    return out;
}

QByteArray BuildPackCR88(const DeviceSettings& s) {
    using namespace layout::cr88;
    QByteArray out(kSize, '\0'); // the gaps and the terminator stay zero

    for (int k = 0; k < kKeyMaskCount; ++k) {
        quint8 mask = 0;
        for (int j = 0; j < kLoopCount; ++j) {
            if (s.zones->keyLoop[k][j])
                mask |= quint8(1u << j);
        }
        out[kKeyMaskOffset + k] = char(mask);
    }

    const LoopLimits& ll = *s.loopLimits;
    for (int j = 0; j < kLoopCount; ++j) {
        const int at = LoopRangeOffset(j);
        out[at + kMinHigh] = char(LevelHigh(ll.minLevel[j]));
        out[at + kMinLow] = char(LevelLow(ll.minLevel[j]));
        out[at + kMaxHigh] = char(LevelHigh(ll.maxLevel[j]));
        out[at + kMaxLow] = char(LevelLow(ll.maxLevel[j]));
    }

    quint8 low = 0;
    quint8 high = 0;
    for (int n = 0; n < kLoopsPerReverseByte; ++n) {
        if (ll.reverse[n])
            low |= quint8(1u << n);
        if (ll.reverse[kLoopsPerReverseByte + n])
            high |= quint8(1u << n);
    }
    if (s.header->workMode == MODE_AUTONOMOUS)
        high |= kAutonomousBit;
    out[kReverseLowOffset] = char(low);
    out[kReverseHighOffset] = char(high);

    quint8 flags = 0;
    if (s.connection->reserveReceiversFirst)
        flags |= kReserveReceiversFirstBit;
    if (s.connection->connectByGprs)
        flags |= kConnectByGprsBit;
    for (int n = 0; n < kUseFlagCount; ++n) {
        if (s.phones->useFlag[n])
            flags |= quint8(kUseFlag0Bit << n);
    }
    out[kFlagsOffset] = char(flags);
    return out;
}
