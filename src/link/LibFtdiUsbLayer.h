#pragma once

#include "link/UsbLayer.h"

#include <QMutex>

// The USB layer on libftdi1. libftdi has no receive-queue count, so bytes
// are read ahead into a per-device buffer and GetStatus reports its size.
// Only the receive thread reads; a libftdi read returns after at most one
// latency-timer period (the adapter then sends its status bytes), which is
// what the bounded wait polls on.
class LibFtdiUsbLayer : public UsbLayer {
public:
    FT_STATUS ListDevicesCount(unsigned long* count) override;
    FT_STATUS CreateDeviceInfoList(unsigned long* count) override;
    FT_STATUS GetDeviceInfoList(QList<UsbDeviceInfo>* list) override;
    FT_STATUS Open(int index, FT_HANDLE* handle) override;
    FT_STATUS Close(FT_HANDLE handle) override;
    FT_STATUS ResetDevice(FT_HANDLE handle) override;
    FT_STATUS SetBaudRate(FT_HANDLE handle, unsigned long baud) override;
    FT_STATUS SetDataCharacteristics(FT_HANDLE handle, unsigned char bits, unsigned char stopBits,
                                     unsigned char parity) override;
    FT_STATUS SetTimeouts(FT_HANDLE handle, unsigned long readMs, unsigned long writeMs) override;
    FT_STATUS SetUSBParameters(FT_HANDLE handle, unsigned long inSize,
                               unsigned long outSize) override;
    FT_STATUS Purge(FT_HANDLE handle, unsigned long mask) override;
    FT_STATUS GetStatus(FT_HANDLE handle, unsigned long* rxQueue, unsigned long* txQueue,
                        unsigned long* eventStatus) override;
    FT_STATUS Read(FT_HANDLE handle, void* buffer, unsigned long size, unsigned long* got) override;
    FT_STATUS Write(FT_HANDLE handle, const void* data, unsigned long size,
                    unsigned long* written) override;
    FT_STATUS SetBreakOn(FT_HANDLE handle) override;
    FT_STATUS SetBreakOff(FT_HANDLE handle) override;
    FT_STATUS SetLatencyTimer(FT_HANDLE handle, unsigned char ms) override;
    FT_STATUS SetEventChar(FT_HANDLE handle, char eventChar, bool enable) override;
    void WaitForData(FT_HANDLE handle, int timeoutMs) override;

private:
    QMutex mutex_;
    QList<UsbDeviceInfo> infos_;
};
