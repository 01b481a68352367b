#pragma once

// Byte layouts of the "CRFF" block (remote configuration, server password,
// timed events, output zones) and of the key pack sent on the device's
// key-write request. Shared by the builders, the memory-image decoder and the
// image writer.

#include "settings/LayoutNumbers.h"

#include <QByteArray>
#include <QtGlobal>

namespace crff {

inline constexpr int kSize = 256; // always; no terminator, 0xFF fill
inline constexpr char kFill = '\xFF';

inline constexpr int kServerAddress1 = 0; // Latin-1, NUL-filled
inline constexpr int kServerAddress2 = 32;
inline constexpr int kServerAddressSize = 32;

inline constexpr int kServerPort1 = 64; // big-endian
inline constexpr int kServerPort2 = 66;
inline constexpr int kServerPortSize = 2;

inline constexpr int kPhone1 = 68; // 5 BCD bytes each
inline constexpr int kPhone2 = 73;
inline constexpr int kPhoneSize = layout::kPhoneBytes;

inline constexpr int kReserved78 = 78; // 0x00

inline constexpr int kRemoteFlags = 79;
inline constexpr quint8 kConnectToServerBit = 0x01;
inline constexpr quint8 kUseProgIfNoProtectBit = 0x02;

inline constexpr int kSmsKeyWord = 80; // Windows-1251, NUL-filled
inline constexpr int kSmsKeyWordSize = 8;

inline constexpr int kReserved88 = 88; // 0x00 up to 143
inline constexpr int kReserved88Size = 56;

inline constexpr int kErrorOpenClose = 144;
inline constexpr int kAsyncTransfer = 145;
inline constexpr int kDeleteUnsent = 146;

// Windows-1251 text, at most 31 bytes, then one 0x00, then 0xFF fill.
inline constexpr int kServerPassword = 147;
inline constexpr int kServerPasswordSize = 32;
inline constexpr int kServerPasswordMaxText = 31;

inline constexpr int kReserved179 = 179; // 0xFF

// Ten timed events of 4 bytes: hour, minute, type, weekday mask. A null time
// is stored as hour and minute 0xFF.
inline constexpr int kTimedEvents = 180;
inline constexpr int kTimedEventSize = 4;
inline constexpr int kTimedEventCount = 10;
inline constexpr int kTriggerHourAt = 0;
inline constexpr int kTriggerMinuteAt = 1;
inline constexpr int kTriggerTypeAt = 2;
inline constexpr int kTriggerDaysAt = 3;
inline constexpr quint8 kNoTime = 0xFF;

inline constexpr int kOutputZones = 220; // one byte per output 0..3
inline constexpr int kOutputCount = 4;

inline constexpr int kTailFill = 224; // 0xFF up to kSize

} // namespace crff

namespace keypack {

inline constexpr int kSize = 129;
inline constexpr int kLead = 0;
inline constexpr char kLeadByte = 0x30; // '0'

// Key slot k at kSlots + 6k: the key's six bytes, least significant first.
inline constexpr int kSlots = 1;
inline constexpr int kSlotSize = 6;
inline constexpr int kSlotCount = 20;

// Slot masks: slot n in bit n % 8 of byte n / 8.
inline constexpr int kActiveMask = 121; // slots 0..19
inline constexpr int kRapidMask = 124;  // slots 0..17
inline constexpr int kMaskSize = 3;
inline constexpr int kRapidSlotCount = 18;

// The check character covers bytes kCheckFirst..kCheckLast, seeded with the
// lead byte.
inline constexpr int kCheck = 127;
inline constexpr int kCheckFirst = 1;
inline constexpr int kCheckLast = 126;
inline constexpr int kTerminator = 128;

} // namespace keypack

// The check character of the device's key blocks: the low 5 bits of an XOR
// sum, 'A' when they are 0, otherwise those bits with 0x40 set (0x41..0x5F).
char KeysCheckCharFromXor(quint8 xorSum);

// XOR of bytes [first, last] of `bytes` (positions outside the array are
// ignored), starting from `seed`.
quint8 KeysXorRange(const QByteArray& bytes, int first, int last, quint8 seed);

// The check character of a key pack as built by BuildKeysPack.
char KeyPackCheckCharacter(const QByteArray& pack);

// A key text ("01-23-45-67-89-AB", most significant byte first) as the six
// slot bytes, least significant first; hyphens and other non-hexadecimal
// characters are skipped, missing bytes are 0x00, extra bytes are ignored.
QByteArray KeySlotBytes(const QByteArray& keyText);
