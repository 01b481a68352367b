#pragma once

#include <QByteArray>

class DeviceSettings;
class QString;

// The device's programming sections, each built fresh from the settings and
// sent whole, terminator included.
QByteArray BuildPackCRAA(const DeviceSettings& settings);
QByteArray BuildPackCRMM(const DeviceSettings& settings);
QByteArray BuildPackCRHH(const DeviceSettings& settings);
QByteArray BuildPackCRQQ(const DeviceSettings& settings);
QByteArray BuildPackCR77(const DeviceSettings& settings);
QByteArray BuildPackCR88(const DeviceSettings& settings);
QByteArray BuildPackCR99(const DeviceSettings& settings);
QByteArray BuildPackCRFF(const DeviceSettings& settings); // exactly 256 bytes
QByteArray BuildKeysPack(const DeviceSettings& settings);
