#pragma once

#include <QByteArray>
#include <QString>

// Layout of the three colon-separated text sections (first SIM and main
// server, second SIM and second server, balance requests and options).
// The section builders, the memory-image decoder and the image writer share
// these, so the device's field order is written down once.

namespace layout {
namespace text {

inline constexpr char kSeparator = ':';
inline constexpr char kSwitchedOff = '-'; // a field that is not in use
inline constexpr char kSectionEnd = '>';  // followed by the terminating NUL
inline constexpr char kTerminator = '\0';
// Stands in for a character that would break the field structure (a ':' or
// a NUL inside a text), as '?' stands in for characters outside Latin-1.
inline constexpr char kReplacement = '?';

// A SIM that is not in use (or whose operator is unknown): its login,
// password and access point fields each switched off.
inline constexpr const char* kUnusedSim = "-:-:-";

// Fixed-width fields: the device reads them by position.
inline constexpr int kServerIpWidth = 15;  // "ddd.ddd.ddd.ddd"
inline constexpr int kServerPortWidth = 5; // zero-padded decimal
inline constexpr int kObjectNumberWidth = 4;
inline constexpr int kPasswordWidth = 4; // user and administrator passwords

// Longest text the device keeps for each variable field; a field of exactly
// this length is stored without its ':'.
inline constexpr int kLoginMax = 10;
inline constexpr int kSimPasswordMax = 10;
inline constexpr int kAccessPointMax = 25;
inline constexpr int kDistanceFilterMax = 4;
inline constexpr int kUssdMax = 5;
inline constexpr int kCallPrefixMax = 10;

// First SIM and main server section:
//   serverIp[0] ':' serverPort[0] ':' login ':' password ':' accessPoint
//   ':' distanceFilter ':' objectNumber ':' userPassword[0] userPassword[1]
//   '>' NUL
namespace craa {
inline constexpr int kServerIpOffset = 0;
inline constexpr int kServerPortOffset = kServerIpWidth + 1;                      // 16
inline constexpr int kSimFieldsOffset = kServerPortOffset + kServerPortWidth + 1; // 22
// Variable fields from kSimFieldsOffset, in order, with their maxima.
inline constexpr int kTextFieldMax[] = {kLoginMax, kSimPasswordMax, kAccessPointMax,
                                        kDistanceFilterMax};
} // namespace craa

// Second SIM and second server section:
//   login ':' password ':' accessPoint ':' "-:-:-:" flags ':'
//   serverIp[1] serverPort[1] lastPortDigit '>' NUL
namespace crmm {
// Three placeholder fields that are always switched off, each followed by ':'.
inline constexpr const char* kPlaceholders = "-:-:-:";
// Flag byte: bit i set when PhoneNumbers::useFlag[kFirstUseFlag + i] is set.
inline constexpr int kFirstUseFlag = 4;
inline constexpr int kUseFlagCount = 7;
// Maxima of the variable fields as the device memory keeps them: login,
// password, access point, three placeholders, flag byte with its ':'.
inline constexpr int kTextFieldMax[] = {kLoginMax, kSimPasswordMax, kAccessPointMax, 10, 10, 25, 2};
} // namespace crmm

// Balance requests and option flags:
//   ussd1 ':' ussd2 ':' '-' ':' flags ':' "+7" ':' callPrefix ':' NUL ':'
//   '0' '>' NUL
namespace crhh {
inline constexpr const char* kDialCode = "+7";
inline constexpr char kFlagsBase = '0';
inline constexpr char kFlagSaveStateOnPowerOff = 0x08;
inline constexpr char kFlagCsdDetail = 0x04;
inline constexpr char kFlagNoGpsReceiver = 0x01;
inline constexpr char kLastField = '0';
// Maxima of the variable fields as the device memory keeps them: USSD 1,
// USSD 2, placeholder, flag byte, dial code, call prefix, last field.
inline constexpr int kTextFieldMax[] = {kUssdMax, kUssdMax, 5, 2, 2, kCallPrefixMax, 2};
} // namespace crhh

// Pure helpers for the fixed-width fields, so every field keeps its place
// whatever the settings hold.

// A decimal field (object number, password, port): cut to `width` bytes or
// padded on the left with '0' ("1" -> "0001"); ':' and NUL become '?'.
QByteArray DigitField(const QByteArray& bytes, int width);
// A server address as the device reads it, 15 characters "ddd.ddd.ddd.ddd":
// a dotted address with shorter groups gets its groups zero-padded, an empty
// one is the zero address, anything else is cut or padded with '0'.
QByteArray ServerIpField(const QString& address);
// A variable text field: Latin-1, cut to `maxLen` bytes, with ':' and NUL
// (which would split or end the section) replaced by '?'.
QByteArray TextField(const QString& text, int maxLen);

} // namespace text
} // namespace layout
