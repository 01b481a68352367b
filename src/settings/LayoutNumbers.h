#pragma once

#include <QtGlobal>

// Byte layouts of the fixed-size sections: telephone numbers and their
// options, federal numbers, key-to-loop matrix and loop ranges. The section
// builders, the memory-image decoder and the image writer share these.

namespace layout {

// A telephone number: 10 digits as 5 BCD bytes, first digit high nibble.
inline constexpr int kPhoneBytes = 5;

// Main numbers, administrator passwords and per-number call options.
namespace crqq {
inline constexpr int kSize = 44; // terminator included
inline constexpr int kNumbersOffset = 0;
inline constexpr int kNumberCount = 5; // main numbers 0..4
inline constexpr int kAdminPasswordOffset[2] = {25, 29};
inline constexpr int kAdminPasswordWidth = 4;
// Per main number k: the open/close byte at kOptionsOffset + kOptionsStride*k,
// the alarm byte right after it.
inline constexpr int kOptionsOffset = 33;
inline constexpr int kOptionsStride = 2;
inline constexpr int kOpenCloseByte = 0; // within the pair
inline constexpr int kAlarmByte = 1;
// Flag bits ORed into the open/close byte over the attempt count.
inline constexpr quint8 kCbzaBit = 0x40;
inline constexpr quint8 kCbozBit = 0x20;
inline constexpr quint8 kCbtsBit = 0x10;
inline constexpr int kTerminatorOffset = 43;

constexpr int NumberOffset(int k) {
    return kNumbersOffset + kPhoneBytes * k;
}
constexpr int OpenCloseOffset(int k) {
    return kOptionsOffset + kOptionsStride * k + kOpenCloseByte;
}
constexpr int AlarmOffset(int k) {
    return kOptionsOffset + kOptionsStride * k + kAlarmByte;
}
static_assert(NumberOffset(kNumberCount) == kAdminPasswordOffset[0], "numbers then passwords");
static_assert(kAdminPasswordOffset[1] + kAdminPasswordWidth == kOptionsOffset,
              "passwords then options");
static_assert(AlarmOffset(kNumberCount - 1) + 1 == kTerminatorOffset, "options then terminator");
static_assert(kTerminatorOffset + 1 == kSize, "terminator is the last byte");
} // namespace crqq

// Federal numbers 5..14.
namespace cr77 {
inline constexpr int kSize = 51;
inline constexpr int kNumbersOffset = 0;
inline constexpr int kFirstNumber = 5; // index into PhoneNumbers::number
inline constexpr int kNumberCount = 10;
inline constexpr int kTerminatorOffset = 50;

constexpr int NumberOffset(int i) {
    return kNumbersOffset + kPhoneBytes * i;
}
static_assert(NumberOffset(kNumberCount) == kTerminatorOffset, "numbers then terminator");
static_assert(kTerminatorOffset + 1 == kSize, "terminator is the last byte");
} // namespace cr77

// Key-to-loop masks, loop ranges and a few flags.
namespace cr88 {
inline constexpr int kSize = 84;
// One byte per ordinary key: bit j = the key controls loop j.
inline constexpr int kKeyMaskOffset = 0;
inline constexpr int kKeyMaskCount = 18;
inline constexpr int kGap1Offset = 18; // 6 zero bytes
inline constexpr int kGap1Size = 6;
// Per loop j, 4 bytes from kLoopRangeOffset + kLoopRangeStride*j: the high
// and low 5 bits of minLevel, then of maxLevel.
inline constexpr int kLoopRangeOffset = 24;
inline constexpr int kLoopRangeStride = 4;
inline constexpr int kLoopCount = 8;
inline constexpr int kMinHigh = 0;
inline constexpr int kMinLow = 1;
inline constexpr int kMaxHigh = 2;
inline constexpr int kMaxLow = 3;
// Reverse masks: loops 0..3 in bits 0..3 of the first byte, loops 4..7 in
// bits 0..3 of the second, which also carries the autonomous-mode bit.
inline constexpr int kReverseLowOffset = 56;
inline constexpr int kReverseHighOffset = 57;
inline constexpr int kLoopsPerReverseByte = 4;
inline constexpr quint8 kAutonomousBit = 0x10;
// Connection flags and PhoneNumbers::useFlag[0..3].
inline constexpr int kFlagsOffset = 58;
inline constexpr quint8 kReserveReceiversFirstBit = 0x40;
inline constexpr quint8 kConnectByGprsBit = 0x20;
inline constexpr quint8 kUseFlag0Bit = 0x02; // useFlag[n] is kUseFlag0Bit << n
inline constexpr int kUseFlagCount = 4;
inline constexpr int kGap2Offset = 59; // 24 zero bytes
inline constexpr int kGap2Size = 24;
inline constexpr int kTerminatorOffset = 83;

// A loop level is a 10-bit ADC value sent as two 5-bit halves.
inline constexpr quint32 kMaxLevel = 1023;
inline constexpr int kLevelShift = 5;
inline constexpr quint8 kLevelHalfMask = 0x1F;

constexpr int LoopRangeOffset(int j) {
    return kLoopRangeOffset + kLoopRangeStride * j;
}
// Levels above the ADC's range are sent as its top, so a half never spills
// past its 5 bits.
constexpr quint8 LevelHigh(quint32 level) {
    return quint8(((level > kMaxLevel ? kMaxLevel : level) >> kLevelShift) & kLevelHalfMask);
}
constexpr quint8 LevelLow(quint32 level) {
    return quint8((level > kMaxLevel ? kMaxLevel : level) & kLevelHalfMask);
}
constexpr quint32 LevelFromHalves(quint8 high, quint8 low) {
    return (quint32(high & kLevelHalfMask) << kLevelShift) | quint32(low & kLevelHalfMask);
}

static_assert(kKeyMaskOffset + kKeyMaskCount == kGap1Offset, "masks then gap");
static_assert(kGap1Offset + kGap1Size == kLoopRangeOffset, "gap then ranges");
static_assert(LoopRangeOffset(kLoopCount) == kReverseLowOffset, "ranges then reverse masks");
static_assert(kFlagsOffset + 1 == kGap2Offset, "flags then gap");
static_assert(kGap2Offset + kGap2Size == kTerminatorOffset, "gap then terminator");
static_assert(kTerminatorOffset + 1 == kSize, "terminator is the last byte");
} // namespace cr88

} // namespace layout
