#pragma once

#include <QByteArray>
#include <QString>

// Texts the device keeps in its local 8-bit code page (names, SMS texts,
// remote-configuration keyword and password): Windows-1251 both ways.
QByteArray ToCp1251(const QString& text);
QString FromCp1251(const QByteArray& bytes);

// Texts the device keeps as Latin-1; characters outside it become '?'.
QByteArray ToLatin1(const QString& text);

// True when the bytes are well-formed UTF-8 (INI files from Russian Windows
// are Windows-1251 and fail this test).
bool IsValidUtf8(const QByteArray& bytes);

// Cuts or pads with `pad` to exactly `width` bytes.
QByteArray FixedWidth(const QByteArray& bytes, int width, char pad);

// A telephone number as 5 BCD bytes: its first 10 digits read as hexadecimal
// pairs, first digit in the high nibble. Shorter numbers are padded with '0',
// non-digits count as '0', so the result is always 5 bytes.
QByteArray PhoneToBcd(const QString& number);
// The reverse: two lower-case hexadecimal digits per byte, high nibble first.
// Reads at most 5 bytes of what it is given.
QString BcdToPhone(const QByteArray& bytes);
