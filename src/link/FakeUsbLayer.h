#pragma once

#include "link/UsbLayer.h"

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QWaitCondition>

#include <functional>

// An in-memory USB layer for tests: a list of devices, each with a receive
// queue the test fills and a record of what the program wrote, the break
// pulses included. Install it with SetUsbLayer(&fake).
//
// Like the adapter, a device holds received bytes until its latency timer
// expires or a USB packet of 62 bytes is full. The timer runs in periods from
// the last packet handed over (an idle adapter sends a status packet every
// period), so a byte waits for the end of the period it arrived in; an event
// character, when the program enables one, hands over what is held at once.
class FakeUsbLayer : public UsbLayer {
public:
    static constexpr int kPacketData = 62;
    static constexpr int kDefaultLatencyMs = 16;
    ~FakeUsbLayer() override;

    struct Device {
        UsbDeviceInfo info;
        bool open = false;
        bool unplugged = false;
        QByteArray held;    // arrived, not yet handed over by the adapter
        QByteArray rx;      // handed over, waiting to be read by the program
        QByteArray written; // everything the program wrote
        // The program's writes and breaks in order: "W<n>" for a write of n
        // bytes, "B" for a break pulse.
        QList<QByteArray> events;
        unsigned long baud = 0;
        int bits = 0, stopBits = -1, parity = -1;
        unsigned long readTimeout = 0, writeTimeout = 0;
        unsigned long inSize = 0, outSize = 0;
        int purges = 0;
        bool breakOn = false;
        int latencyMs = kDefaultLatencyMs; // in effect
        int latencyAsked = -1;             // the program's last SetLatencyTimer
        bool latencyPinned = false;
        char eventChar = 0;
        bool eventCharOn = false;
        qint64 heldSinceUs = 0; // arrival of the oldest held byte
        qint64 lastSendUs = 0;  // the timer's periods count from here
    };

    // Adds a device; returns its index.
    int AddDevice(const QByteArray& serial, const QByteArray& description);
    // Bytes arriving from the device.
    void Feed(int index, const QByteArray& bytes);
    // The device disappears: every call on its handle fails from now on.
    void Unplug(int index);
    Device DeviceState(int index) const;
    int DeviceCount() const;
    // Makes Open of this index fail with the given status (0 clears it).
    void FailOpen(int index, FT_STATUS status);
    // An adapter that keeps this latency, and no event character, whatever
    // the program asks for: the adapter as its defaults leave it.
    void PinLatencyTimer(int index, int ms);
    // The clock of the latency model, in microseconds; a steady clock unless
    // a test sets its own (the fake then never waits for real time to pass).
    std::function<qint64()> nowUs;
    // Called (without the fake's lock) after every write of the program.
    std::function<void(int index, const QByteArray& bytes)> onWrite;

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
    // Handle = index + 1, so that a null handle is never valid.
    Device* Find(FT_HANDLE handle, FT_STATUS* st);
    qint64 Now() const;
    // When the held bytes are handed over; the adapter's side of it.
    qint64 ReleaseAt(const Device& d) const;
    void Release(Device& d, qint64 now);

    mutable QMutex mutex_;
    QWaitCondition arrived_;
    QList<Device> devices_;
    QList<FT_STATUS> openFailures_;
};
