#pragma once

// Byte layout of the main parameter section "CR99". The section grows with
// the firmware: a fixed body whose size depends on the release (14, 16, 88,
// 96, 106 or 705 bytes), then a tail of optional blocks appended in a fixed
// order, then the 0x00 terminator. The builder, the memory-image decoder and
// the image writer all take their offsets from here.

#include "settings/LayoutNumbers.h"
#include "settings/LayoutText.h"

#include <QtGlobal>

#include <array>

struct DeviceHeader;

namespace cr99 {

// ---- Base part, always present ---------------------------------------------
inline constexpr int kLoopFunctions = 0; // one byte per loop 0..7
inline constexpr int kLoopFunctionsSize = 8;
inline constexpr quint8 kOpenAnalysisShift = 6; // bits 6-7
inline constexpr quint8 kOpenSirenBit = 0x20;
inline constexpr quint8 kOpenLightBit = 0x10;
inline constexpr quint8 kCloseAnalysisShift = 2;
inline constexpr quint8 kCloseAnalysisMask = 0x0C; // bits 2-3
inline constexpr quint8 kCloseSirenBit = 0x02;
inline constexpr quint8 kCloseLightBit = 0x01;

inline constexpr int kReserved8 = 8; // bytes 8..10 stay 0x00
inline constexpr int kReserved8Size = 3;

inline constexpr int kTamper = 11;
inline constexpr quint8 kTamperBit = 0x20;

// Delay bytes: 0x40 = no delay, loop in bits 3-5, time index in bits 0-2.
inline constexpr int kDisarmDelay = 12;
inline constexpr int kArmDelay = 13;
inline constexpr quint8 kDelayOffBit = 0x40;
inline constexpr quint8 kDelayLoopShift = 3;

inline constexpr int kBaseSize = 14;

// ---- Firmware later than 21.09.2009 -----------------------------------------
inline constexpr int kSmsOptions = 14; // bits 0..4 per main number
inline constexpr quint8 kCheckbox13Bit = 0x40;
inline constexpr quint8 kCheckbox14Bit = 0x20;
inline constexpr int kTechLoop = 15;
inline constexpr quint8 kCallUntilAnswerBit = 0x10;

inline constexpr int kSize2109 = 16;

// ---- Firmware later than 27.11.2009 -----------------------------------------
// Per server: 0x40 always, 0x20 DNS, 0x10 rewrite IP, attempts in the low bits.
inline constexpr int kServerOptions = 16; // main server; second at +1
inline constexpr int kServerCount = 2;
inline constexpr quint8 kServerMarker = 0x40;
inline constexpr quint8 kUseDnsBit = 0x20;
inline constexpr quint8 kPerezBit = 0x10;
// From 19.04.2012 the attempt bits of both server bytes carry this value.
inline constexpr quint8 kFixedServerAttempts = 3;

inline constexpr int kServerFallback = 18;
inline constexpr quint8 kObnov2Bit = 0x20; // obnov entry 1
inline constexpr quint8 kObnov1Bit = 0x10; // obnov entry 0

inline constexpr int kDnsName1 = 19;
inline constexpr int kDnsName2 = 51;
inline constexpr int kDnsNameSize = 32; // NUL-filled

inline constexpr int kTestFlags = 83;
inline constexpr quint8 kTestWhenClosedBit = 0x20;
inline constexpr quint8 kTestWhenOpenBit = 0x10;
inline constexpr int kTestAttempts = 84; // attempts minus 1
inline constexpr int kTestReceivers = 85;
inline constexpr int kVoiceGprs = 86;
inline constexpr quint8 kGprsMode2Bit = 0x20;
inline constexpr quint8 kVoiceMessagesBit = 0x10;

inline constexpr int kSmsNumberFlags = 87;        // cb_p_vx_sn in bits 0..4
inline constexpr quint8 kObjectIdInSmsBit = 0x20; // from 28.01.2010
inline constexpr quint8 kSilentArmingBit = 0x40;  // with the SMS-event block

inline constexpr int kSize2711 = 88;

// ---- Firmware on or after 17.02.2010 ----------------------------------------
inline constexpr int kOutputTypes = 88; // one byte per output 0..3
inline constexpr int kOutputLoops = 92; // loop mask per output 0..3
inline constexpr int kOutputCount = 4;

inline constexpr int kSize1702 = 96;

// ---- Firmware on or after 26.03.2010 ----------------------------------------
// Per main number r: loop mask for open/close at +2r, for alarm at +2r+1.
inline constexpr int kCallMatrix = 96;
inline constexpr int kCallMatrixStride = 2;
inline constexpr int kCallMatrixSize = 10;

inline constexpr int kSize2603 = 106;

// ---- Firmware on or after 15.04.2010 ----------------------------------------
inline constexpr int kRadioLoops = 106; // loop mask from 01.12.2010, else 0
inline constexpr int kConsoleFlags = 107;
inline constexpr quint8 kVoicePasswordsBit = 0x20;
// cb2to5 entries 0..3 sit in bits 1..4; cb1 in bit 0.
inline constexpr quint8 kConsoleCb2Shift = 1;
inline constexpr quint8 kConsoleCb1Bit = 0x01;

inline constexpr int kConsoleNumbers = 108; // 5 numbers of kPhoneSize BCD bytes
inline constexpr int kPhoneSize = layout::kPhoneBytes;
inline constexpr int kConsoleNumberCount = 5;

inline constexpr int kReserved133 = 133; // 0x00 up to 147
inline constexpr int kReserved133Size = 15;
// Camera firmware only: use mask, then per camera the mask of loops that
// trigger it.
inline constexpr int kCameraUse = 133;
inline constexpr int kCameraLoops = 134;
inline constexpr int kCameraCount = 8;

inline constexpr int kEventNumbers = 148; // per event e: numbers in bits 0..4
inline constexpr int kEventCount = 9;

// Kind bytes and text records list the events in this order (event 3 last).
inline constexpr std::array<int, kEventCount> kEventOrder{0, 1, 2, 4, 5, 6, 7, 8, 3};

inline constexpr int kEventKinds = 157; // one byte per position of kEventOrder
inline constexpr quint8 kWithTimeBit = 0x20;
inline constexpr quint8 kWithKeyNameBit = 0x40;
inline constexpr quint8 kWithLoopNameBit = 0x80;

inline constexpr int kNameSize = 8; // every name field, 0xFF-filled
inline constexpr int kObjectName = 166;
inline constexpr int kLoopNames = 174; // loop i at +8i
inline constexpr int kLoopNameCount = 8;
inline constexpr int kKeyNames = 238; // key k at +8k
inline constexpr int kKeyNameCount = 18;

// Event text records, one per position of kEventOrder.
inline constexpr int kEventRecords = 382;
inline constexpr int kEventRecordSize = 30;
inline constexpr int kEventText0 = 0; // offsets within a record
inline constexpr int kEventText0Size = 15;
inline constexpr int kEventTextGap = 15; // a single 0x00
inline constexpr int kEventText1 = 16;
inline constexpr int kEventText1Size = 4;
inline constexpr int kEventText2 = 20;
inline constexpr int kEventText2Size = 10;

inline constexpr int kSntpFlags = 652;
inline constexpr quint8 kSntpVersionShift = 6; // low 2 bits of the version
inline constexpr quint8 kSntpCb3Bit = 0x08;
inline constexpr quint8 kSntpCb4Bit = 0x04;
inline constexpr quint8 kUseSntpBit = 0x02;
inline constexpr quint8 kSntpAlwaysBit = 0x01;
inline constexpr int kSntpIp = 653;
// Address and port go by position in the main server's form: "010.000.000.001"
// and "00123".
inline constexpr int kSntpIpSize = layout::text::kServerIpWidth;
inline constexpr int kSntpPort = 668;
inline constexpr int kSntpPortSize = layout::text::kServerPortWidth;
inline constexpr int kSntpDns = 673;
inline constexpr int kSntpDnsSize = 32; // NUL-filled

inline constexpr int kSize1504 = 705;

// Where the 15.04.2010 region starts and how long it is (the image keeps it
// as one block).
inline constexpr int kConsoleRegion = kRadioLoops;
inline constexpr int kConsoleRegionSize = kSize1504 - kRadioLoops;

// ---- Tail blocks, appended after the body in this order ---------------------
// SMS events: 19.12.2009 exactly, or from 05.06.2010. One mask per flag
// array, bit k for main number k.
inline constexpr int kSmsEventsSize = 4;
inline constexpr int kSmsServiceAt = 0;
inline constexpr int kSmsSimChangeAt = 1;
inline constexpr int kSmsDrugieZaAt = 2;
inline constexpr int kSmsDrugieOtAt = 3;
// Output flags: from 05.06.2010, outputFlagA mask.
inline constexpr int kOutputFlagsSize = 1;
// Navigation: from 07.06.2010.
inline constexpr int kNavigationSize = 2;
inline constexpr quint8 kCb13Bit = 0x80;
inline constexpr quint8 kRelayFrequentShift = 3; // relay n in bit 3 + n
// Time zone: from 16.08.2010; four bytes each with 0x80 set.
inline constexpr int kTimeZoneSize = 4;
inline constexpr quint8 kTimeZoneMarker = 0x80;
inline constexpr quint8 kGpsTimeBit = 0x40;
inline constexpr quint8 kTimeZoneAlways = 0x20;
inline constexpr int kTimeZoneAt = 0;
inline constexpr int kSmsUserOut1At = 1;
inline constexpr int kSmsUserOut2At = 2;
inline constexpr int kKeepOnPowerOffAt = 3;

inline constexpr int kTerminatorSize = 1;

// The tail offsets of the longest layout (firmware from 16.08.2010), which
// the image keeps at fixed places.
inline constexpr int kFullSmsEvents = kSize1504;                            // 705
inline constexpr int kFullOutputFlags = kFullSmsEvents + kSmsEventsSize;    // 709
inline constexpr int kFullNavigation = kFullOutputFlags + kOutputFlagsSize; // 710
inline constexpr int kFullTimeZone = kFullNavigation + kNavigationSize;     // 712
inline constexpr int kFullTerminator = kFullTimeZone + kTimeZoneSize;       // 716
inline constexpr int kFullLength = kFullTerminator + kTerminatorSize;       // 717

// Offsets of the repeated fields.
constexpr int CallMatrixOpenCloseOffset(int r) {
    return kCallMatrix + kCallMatrixStride * r;
}
constexpr int CallMatrixAlarmOffset(int r) {
    return kCallMatrix + kCallMatrixStride * r + 1;
}
constexpr int ConsoleNumberOffset(int r) {
    return kConsoleNumbers + kPhoneSize * r;
}
constexpr int LoopNameOffset(int i) {
    return kLoopNames + kNameSize * i;
}
constexpr int KeyNameOffset(int k) {
    return kKeyNames + kNameSize * k;
}
// The record at position n of kEventOrder.
constexpr int EventRecordOffset(int n) {
    return kEventRecords + kEventRecordSize * n;
}

static_assert(kLoopFunctions + kLoopFunctionsSize == kReserved8, "loops then reserved bytes");
static_assert(kReserved8 + kReserved8Size == kTamper, "reserved bytes then tamper");
static_assert(kArmDelay + 1 == kBaseSize, "delays end the base part");
static_assert(kTechLoop + 1 == kSize2109, "technological loop ends the 21.09.2009 part");
static_assert(kDnsName1 + kDnsNameSize == kDnsName2, "DNS names back to back");
static_assert(kDnsName2 + kDnsNameSize == kTestFlags, "DNS names then test flags");
static_assert(kSmsNumberFlags + 1 == kSize2711, "byte 87 ends the 27.11.2009 part");
static_assert(kOutputLoops + kOutputCount == kSize1702, "output masks end the 17.02.2010 part");
static_assert(CallMatrixOpenCloseOffset(5) == kSize2603, "call matrix ends the 26.03.2010 part");
static_assert(ConsoleNumberOffset(kConsoleNumberCount) == kReserved133, "numbers then reserved");
static_assert(kCameraLoops + kCameraCount <= kReserved133 + kReserved133Size, "cameras fit");
static_assert(kReserved133 + kReserved133Size == kEventNumbers, "reserved then event numbers");
static_assert(kEventNumbers + kEventCount == kEventKinds, "event numbers then kinds");
static_assert(kEventKinds + kEventCount == kObjectName, "kinds then object name");
static_assert(kObjectName + kNameSize == kLoopNames, "object name then loop names");
static_assert(LoopNameOffset(kLoopNameCount) == kKeyNames, "loop names then key names");
static_assert(KeyNameOffset(kKeyNameCount) == kEventRecords, "key names then event records");
static_assert(kEventText0 + kEventText0Size == kEventTextGap && kEventTextGap + 1 == kEventText1 &&
                  kEventText1 + kEventText1Size == kEventText2 &&
                  kEventText2 + kEventText2Size == kEventRecordSize,
              "event record fields back to back");
static_assert(EventRecordOffset(kEventCount) == kSntpFlags, "event records then SNTP");
static_assert(kSntpFlags + 1 == kSntpIp && kSntpIp + kSntpIpSize == kSntpPort &&
                  kSntpPort + kSntpPortSize == kSntpDns,
              "SNTP fields back to back");
static_assert(kSntpDns + kSntpDnsSize == kSize1504, "SNTP name ends the 15.04.2010 part");
static_assert(kFullLength == 717, "the longest layout");

} // namespace cr99

// Which parts of "CR99" a firmware has, and where they sit. An absent tail
// block has offset -1.
struct Cr99Layout {
    int bodySize = cr99::kBaseSize;
    int smsEvents = -1;
    int outputFlags = -1;
    int navigation = -1;
    int timeZone = -1;
    int terminator = cr99::kBaseSize;
    int length = cr99::kBaseSize + cr99::kTerminatorSize; // terminator included
};

Cr99Layout Cr99LayoutFor(const DeviceHeader& header);
// The section's length for this firmware, terminator included.
int Cr99Length(const DeviceHeader& header);

// The gates of the section, one per feature, for the builder and the decoder.
bool Cr99HasSmsOptions(const DeviceHeader& header);   // bytes 14-15
bool Cr99HasServerBlock(const DeviceHeader& header);  // bytes 16-87
bool Cr99HasObjectIdBit(const DeviceHeader& header);  // byte 87 bit 5
bool Cr99HasOutputs(const DeviceHeader& header);      // bytes 88-95
bool Cr99HasCallMatrix(const DeviceHeader& header);   // bytes 96-105
bool Cr99HasConsoleBlock(const DeviceHeader& header); // bytes 106-704
bool Cr99HasRadioMask(const DeviceHeader& header);    // byte 106
bool Cr99HasCameras(const DeviceHeader& header);      // bytes 133-141
bool Cr99HasSmsEvents(const DeviceHeader& header);    // tail block 1, silent arming
bool Cr99HasOutputFlags(const DeviceHeader& header);  // tail block 2
bool Cr99HasNavigation(const DeviceHeader& header);   // tail block 3
bool Cr99HasTimeZone(const DeviceHeader& header);     // tail block 4
// The attempt bits of the server bytes hold kFixedServerAttempts.
bool Cr99FixedServerAttempts(const DeviceHeader& header);
// The voice-password bit may be sent (Дорна-4М has it only from 19.04.2012).
bool Cr99VoicePasswordsAllowed(const DeviceHeader& header);
