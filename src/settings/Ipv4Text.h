#pragma once

#include <QString>

// Whether a text is a literal IPv4 address as this program reads one: exactly
// four dot-separated decimal groups of one to three digits, each at most 255;
// leading zeros are allowed and read as decimal ("010.000.001.025").
bool IsLiteralIpv4(const QString& text);
