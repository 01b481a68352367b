#pragma once

#include <QString>

class QLineEdit;

// Text forms shared by the pages that edit server addresses, ports and phone
// numbers, so every page stores them the way the section builders read them.

// A port as the device takes it: exactly five decimal digits (80 -> "00080").
QString PortText(int port);
// A stored port text as a number; 0 when it is not a number.
int PortValue(const QString& text);
// A stored server address with each of its four groups padded to three digits
// ("10.0.0.1" -> "010.000.000.001"); anything else in the 15-character form the
// device reads.
QString PaddedIpText(const QString& address);
// Gives an address field the validator of four dot-separated groups 0..255.
void SetIpv4Validator(QLineEdit* edit);
// The ten digits of a masked phone field: unfilled places ('*') become '0'
// and the dashes go.
QString PhoneDigits(const QLineEdit* edit);
