#pragma once

#include "settings/DeviceSettings.h"

#include <QByteArray>
#include <QString>

#include <array>

// The key table of the device as the key windows hold it: one text
// "HH-HH-HH-HH-HH-HH" per slot (a password is a key text with leading FF
// bytes), the occupied slots and the ГБР attribute of the ordinary slots.
// Rules without a window, shared by the key window, its editor and its file.
namespace keys {

inline constexpr int kPackLength = 256; // the table as the device sends it
inline constexpr int kTextLength = 17;
inline constexpr int kMasterKey1 = kOrdinaryKeys; // row 18; row 19 is master key 2
inline const char* const kErasedKey = "FF-FF-FF-FF-FF-FF";

struct KeyTable {
    std::array<QByteArray, kKeySlots> key;
    std::array<bool, kKeySlots> present{};
    std::array<bool, kOrdinaryKeys> gbr{};
};

// Device types 2 and 3 keep a one-byte password, types 0 and 1 a two-byte one.
bool SecondFamily(int devType);
// The device type and work mode of the settings object (type 0 and the system
// mode while there is none).
int CurrentDeviceType();
bool AutonomousMode();

// The check byte a received table must end in (over bytes 0..254).
char KeyTableCheckByte(const QByteArray& pack);
// Exactly 256 bytes with a matching check byte.
bool KeyTableValid(const QByteArray& pack);
// The text of slot `row` of a valid table: displayed byte j comes from slot
// bytes 10 - 2j (high digit) and 11 - 2j (low digit), low nibbles only.
QByteArray SlotText(const QByteArray& pack, int row);
// Whether an ordinary slot's text holds a password: its leading bytes are
// all FF or all 00 (four of them, five for the second family).
bool IsPasswordText(const QByteArray& text, int devType);
// Texts and flags of a valid table.
KeyTable DecodeKeyTable(const QByteArray& pack);

// The password digits a key text carries: the last two bytes without the
// separator (first family), the last byte (second family).
QString PasswordDigits(const QByteArray& text, int devType);
// A password as the key table keeps it: FF bytes in front of the digits.
QByteArray PasswordKeyText(const QString& digits, int devType);

// The key table text file of a key table: 20 key lines, 20 presence lines,
// 18 ГБР lines ("да"/"нет"), then "---" twice; lines end in CR LF, the last
// has no line end.
QByteArray KeyTableFileText(const KeyCodes& keys);
// Reads a key table text file (CR LF or LF). False, with the number of the
// first missing or malformed line in *badLine, when the file is shorter than
// 58 lines or one of its first 20 lines is not six hexadecimal pairs joined
// by "-". A flag line starting with "нет" is absent, any other present.
bool ParseKeyTableFile(const QByteArray& bytes, KeyTable* table, int* badLine);

} // namespace keys
