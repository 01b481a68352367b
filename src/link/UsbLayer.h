#pragma once

#include <QByteArray>
#include <QList>

// The FTDI USB adapter as the link and the port dialog use it, shaped after
// the vendor's D2XX calls: a status word (0 = success) from every call, a
// device handle from Open. The working layer sits on libftdi1; tests install
// an in-memory fake (FakeUsbLayer.h) with SetUsbLayer().
using FT_HANDLE = void*;
using FT_STATUS = unsigned long;

enum : FT_STATUS {
    FT_OK = 0,
    FT_INVALID_HANDLE = 1,
    FT_DEVICE_NOT_FOUND = 2,
    FT_DEVICE_NOT_OPENED = 3,
    FT_IO_ERROR = 4,
    FT_INSUFFICIENT_RESOURCES = 5,
    FT_INVALID_PARAMETER = 6,
    FT_OTHER_ERROR = 18,
};

inline constexpr unsigned char FT_BITS_8 = 8;
inline constexpr unsigned char FT_STOP_BITS_1 = 0;
inline constexpr unsigned char FT_PARITY_NONE = 0;
inline constexpr unsigned long FT_PURGE_RX = 1;
inline constexpr unsigned long FT_PURGE_TX = 2;

struct UsbDeviceInfo {
    unsigned long flags = 0;
    unsigned long type = 0;
    unsigned long id = 0;
    unsigned long locId = 0;
    QByteArray serialNumber; // empty when the device cannot be read
    QByteArray description;
};

class UsbLayer {
public:
    virtual ~UsbLayer();

    // Number of attached devices (the "number only" listing).
    virtual FT_STATUS ListDevicesCount(unsigned long* count) = 0;
    // Rebuilds the device information list; count receives its length.
    virtual FT_STATUS CreateDeviceInfoList(unsigned long* count) = 0;
    virtual FT_STATUS GetDeviceInfoList(QList<UsbDeviceInfo>* list) = 0;

    virtual FT_STATUS Open(int index, FT_HANDLE* handle) = 0;
    virtual FT_STATUS Close(FT_HANDLE handle) = 0;
    virtual FT_STATUS ResetDevice(FT_HANDLE handle) = 0;
    virtual FT_STATUS SetBaudRate(FT_HANDLE handle, unsigned long baud) = 0;
    virtual FT_STATUS SetDataCharacteristics(FT_HANDLE handle, unsigned char bits,
                                             unsigned char stopBits, unsigned char parity) = 0;
    virtual FT_STATUS SetTimeouts(FT_HANDLE handle, unsigned long readMs,
                                  unsigned long writeMs) = 0;
    virtual FT_STATUS SetUSBParameters(FT_HANDLE handle, unsigned long inSize,
                                       unsigned long outSize) = 0;
    virtual FT_STATUS Purge(FT_HANDLE handle, unsigned long mask) = 0;
    virtual FT_STATUS GetStatus(FT_HANDLE handle, unsigned long* rxQueue, unsigned long* txQueue,
                                unsigned long* eventStatus) = 0;
    virtual FT_STATUS Read(FT_HANDLE handle, void* buffer, unsigned long size,
                           unsigned long* got) = 0;
    virtual FT_STATUS Write(FT_HANDLE handle, const void* data, unsigned long size,
                            unsigned long* written) = 0;
    virtual FT_STATUS SetBreakOn(FT_HANDLE handle) = 0;
    virtual FT_STATUS SetBreakOff(FT_HANDLE handle) = 0;
    // How long the adapter holds received bytes that do not fill a USB
    // packet before it hands them over (1..255 ms; adapters start at 16).
    virtual FT_STATUS SetLatencyTimer(FT_HANDLE handle, unsigned char ms) = 0;
    // A received byte equal to `eventChar` makes the adapter hand over what
    // it holds at once (when enabled).
    virtual FT_STATUS SetEventChar(FT_HANDLE handle, char eventChar, bool enable) = 0;

    // Waits at most timeoutMs for received bytes and returns as soon as
    // some are there (the receive loop's bounded wait); the default just
    // sleeps.
    virtual void WaitForData(FT_HANDLE handle, int timeoutMs);
};

// The layer in use: the libftdi1 one unless a test installed another.
UsbLayer& ActiveUsbLayer();
// Installs a layer (not owned); nullptr goes back to libftdi1.
void SetUsbLayer(UsbLayer* layer);
