#pragma once

// The device's EEPROM memory map: where each programming section sits in a
// memory image read back from the device or kept in an "*.image" file. The
// image writer and the decoder both place and find every region through
// these constants, so they cannot drift apart.

#include "settings/LayoutCR99.h"
#include "settings/LayoutCRFF.h"
#include "settings/LayoutNumbers.h"
#include "settings/LayoutText.h"

#include <QtGlobal>

namespace image {

// ---- The image as a whole ---------------------------------------------------
inline constexpr int kSize = 3840; // an image made from the settings
// The lengths a memory read of the device produces, by firmware.
inline constexpr int kReadSizeShort = 1023;
inline constexpr int kReadSizeMiddle = 3590;
inline constexpr int kReadSizeFull = kSize;
inline constexpr int kMarker = 0;
inline constexpr char kProgrammed = 'Z';  // byte 0 of a programmed device
inline constexpr char kErased = '\xFF';   // unwritten EEPROM
inline constexpr char kMarkerZero = '\0'; // the single 0x00 bytes of a made image

// ---- First SIM and main server ("CRAA") ---------------------------------------
inline constexpr int kServer1Ip = 1;    // CRAA 0..14
inline constexpr int kServer1Port = 16; // CRAA 16..20
// Text fields from here: login, password, access point, distance filter;
// then the object number and both user passwords as fixed bytes.
inline constexpr int kSim1Fields = 21;
inline constexpr int kSim1RegionEnd = 83;
static_assert(kServer1Port == kServer1Ip + layout::text::kServerIpWidth, "address then port");
static_assert(kSim1Fields == kServer1Port + layout::text::kServerPortWidth, "port then fields");

// ---- Output types and loops (CR99 88..95) -------------------------------------
inline constexpr int kOutputs = 83;
inline constexpr int kOutputsCr99 = cr99::kOutputTypes;
inline constexpr int kOutputsSize = cr99::kSize1702 - cr99::kOutputTypes; // 8
static_assert(kOutputs + kOutputsSize <= 91, "outputs end before the fill");

// ---- Numbers ("CRQQ" without terminator, then "CR77") -------------------------
inline constexpr int kNumbersBlock = 128;
inline constexpr int kNumbersBlockSize = layout::crqq::kTerminatorOffset; // 43
inline constexpr int kFederalNumbers = 172;
inline constexpr int kFederalNumbersSize = layout::cr77::kTerminatorOffset; // 50
static_assert(kNumbersBlock + kNumbersBlockSize < kFederalNumbers, "numbers do not overlap");

// ---- Second SIM and second server ("CRMM") ------------------------------------
// Text fields: login, password, access point, three placeholders, the
// use-flag byte with its ':'; then 15 bytes address and 5 bytes port.
inline constexpr int kSim2Fields = 257;
inline constexpr int kSim2RegionEnd = 374;
inline constexpr int kSim2FieldCount = 6; // walked before the flag byte
inline constexpr int kServer2Size = layout::text::kServerIpWidth + layout::text::kServerPortWidth;
inline constexpr char kSim2Trailer = '0';

// ---- Call matrix (CR99 96..105) -----------------------------------------------
inline constexpr int kCallMatrix = 374;
static_assert(kCallMatrix == kSim2RegionEnd, "matrix right after the second SIM");

// ---- Balance requests and options ("CRHH") ------------------------------------
// Text fields: USSD 1, USSD 2, placeholder, option flags, dial code, call
// prefix, last field; then '0' and 0x00.
inline constexpr int kBalanceFields = 465;
inline constexpr int kBalanceRegionEnd = 512;
inline constexpr int kBalanceUssdFields = 3; // walked before the option flags
inline constexpr char kBalanceTrailer = '0';

// ---- Keys, ranges and flags ("CR88" without terminator) -----------------------
inline constexpr int kCr88 = 512;
inline constexpr int kCr88Size = layout::cr88::kTerminatorOffset; // 83
static_assert(kCr88 == kBalanceRegionEnd, "CR88 right after the balance region");

// ---- Main parameters (CR99 0..87) ---------------------------------------------
inline constexpr int kCr99Base = 595;
inline constexpr int kCr99BaseSize = cr99::kSize2711; // 88
static_assert(kCr99Base == kCr88 + kCr88Size, "CR99 right after CR88");

// ---- Device state (a device read only; 0x00 then fill in a made image) --------
inline constexpr int kState = 688;
inline constexpr int kLastEvent = 689;
inline constexpr int kArmedMask = 690;
inline constexpr int kAlarmMask = 691;
inline constexpr int kStateCode = 692;
inline constexpr int kKeyNumber = 693;
inline constexpr int kRestartCounts = 694; // three 16-bit values, low byte first
inline constexpr int kRestartCountCount = 3;
inline constexpr int kLoopBitsA = 700;
inline constexpr int kLoopBitsB = 701;
inline constexpr int kShortJournalIndex = 702; // signed, firmware before 15.04.2010
inline constexpr int kStateByte = 703;         // signed
inline constexpr int kLoopFlagPairs = 704;     // per loop: x then y
inline constexpr int kLoopFlagCount = 10;
// The state byte names one of eight records (1..8); anything else is none.
inline constexpr int kStateByteNone = -1;
inline constexpr int kStateByteMax = 8;

// Journal of firmware before 15.04.2010: code and parameter per record.
inline constexpr int kShortJournal = 720;
inline constexpr int kShortJournalRecords = 16;
inline constexpr int kShortJournalRecordSize = 2;

// ---- Time zone block of the CR99 tail (CR99 712..715) -------------------------
inline constexpr int kTimeZone = 759;

// ---- Key table (key pack bytes 1..126) ----------------------------------------
inline constexpr int kKeyTable = 768;
inline constexpr int kKeyTableSize = keypack::kSlotSize * keypack::kSlotCount; // 120
inline constexpr int kKeyActiveMask = 960;
inline constexpr int kKeyMaskGap1 = 963; // 0x00
inline constexpr int kKeyRapidMask = 964;
inline constexpr int kKeyMaskGap2 = 967; // 0x00
static_assert(kKeyMaskGap1 == kKeyActiveMask + keypack::kMaskSize, "gap after active mask");
static_assert(kKeyMaskGap2 == kKeyRapidMask + keypack::kMaskSize, "gap after rapid mask");

// ---- SMS, output and navigation blocks of the CR99 tail (CR99 705..711) -------
inline constexpr int kTailFlags = 1008;

// ---- Console SMS, names, event texts, SNTP (CR99 106..704) --------------------
inline constexpr int kConsole = 1024;
static_assert(kConsole + cr99::kConsoleRegionSize == 1623, "console region ends at 1622");

// ---- Journal of firmware from 15.04.2010 --------------------------------------
inline constexpr int kJournalIndex = 1790; // newest record + 1, high byte first
inline constexpr int kJournal = 1792;
inline constexpr int kJournalRecordSize = 8;
inline constexpr int kJournalSlots = 200;
// Within a record.
inline constexpr int kJournalCode = 0;
inline constexpr int kJournalParam = 1;
inline constexpr int kJournalSecond = 2;
inline constexpr int kJournalMinute = 3;
inline constexpr int kJournalHour = 4;
inline constexpr int kJournalDay = 5;
inline constexpr int kJournalMonth = 6;
inline constexpr int kJournalYear = 7;
inline constexpr int kNoJournalRecord = -1;

// ---- Remote configuration and late additions ("CRFF"; a file only) -----------
inline constexpr int kCrff = 3584;
static_assert(kCrff + crff::kSize == kSize, "CRFF fills the last 256 bytes");

// Where byte `offset` of "CR99" (in the layout of the newest firmware) sits in
// the image; -1 for a byte the image does not keep (its terminator).
constexpr int Cr99ImageOffset(int offset) {
    if (offset < 0)
        return -1;
    if (offset < kCr99BaseSize)
        return kCr99Base + offset;
    if (offset < cr99::kSize1702)
        return kOutputs + (offset - kOutputsCr99);
    if (offset < cr99::kSize2603)
        return kCallMatrix + (offset - cr99::kCallMatrix);
    if (offset < cr99::kSize1504)
        return kConsole + (offset - cr99::kConsoleRegion);
    if (offset < cr99::kFullTimeZone)
        return kTailFlags + (offset - cr99::kFullSmsEvents);
    if (offset < cr99::kFullTerminator)
        return kTimeZone + (offset - cr99::kFullTimeZone);
    return -1;
}

static_assert(Cr99ImageOffset(cr99::kTamper) == 606, "tamper byte");
static_assert(Cr99ImageOffset(cr99::kSmsNumberFlags) == 682, "SMS flags byte");
static_assert(Cr99ImageOffset(cr99::kConsoleFlags) == 1025, "console flags byte");
static_assert(Cr99ImageOffset(cr99::kSntpDns + cr99::kSntpDnsSize - 1) == 1622, "SNTP name end");
static_assert(Cr99ImageOffset(cr99::kFullSmsEvents) == 1008, "SMS events");
static_assert(Cr99ImageOffset(cr99::kFullNavigation + 1) == 1014, "navigation loops");
static_assert(Cr99ImageOffset(cr99::kFullTimeZone + cr99::kKeepOnPowerOffAt) == 762,
              "outputs kept on power loss");

// The CRFF byte `offset` in the image.
constexpr int CrffImageOffset(int offset) {
    return kCrff + offset;
}

} // namespace image
