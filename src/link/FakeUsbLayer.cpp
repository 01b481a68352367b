#include "link/FakeUsbLayer.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>

#include <algorithm>
#include <cstring>

namespace {
qint64 SteadyUs() {
    static QElapsedTimer clock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return clock.nsecsElapsed() / 1000;
}
} // namespace

qint64 FakeUsbLayer::Now() const {
    return nowUs ? nowUs() : SteadyUs();
}

qint64 FakeUsbLayer::ReleaseAt(const Device& d) const {
    const qint64 period = qint64(d.latencyMs) * 1000;
    if (period <= 0 || d.heldSinceUs <= d.lastSendUs)
        return d.lastSendUs + period;
    // The end of the period the oldest held byte arrived in.
    return d.lastSendUs + ((d.heldSinceUs - d.lastSendUs + period - 1) / period) * period;
}

void FakeUsbLayer::Release(Device& d, qint64 now) {
    if (d.held.isEmpty())
        return;
    const qint64 at = ReleaseAt(d);
    if (now < at)
        return;
    d.rx.append(d.held);
    d.held.clear();
    d.lastSendUs = at;
    arrived_.wakeAll();
}

int FakeUsbLayer::AddDevice(const QByteArray& serial, const QByteArray& description) {
    QMutexLocker l(&mutex_);
    Device d;
    d.info.serialNumber = serial;
    d.info.description = description;
    devices_.append(d);
    openFailures_.append(FT_OK);
    return int(devices_.size()) - 1;
}

void FakeUsbLayer::Feed(int index, const QByteArray& bytes) {
    QMutexLocker l(&mutex_);
    if (index < 0 || index >= devices_.size())
        return;
    Device& d = devices_[index];
    const qint64 now = Now();
    Release(d, now);
    if (d.held.isEmpty())
        d.heldSinceUs = now;
    d.held.append(bytes);
    // A waiter sets its deadline by the held bytes: let it look again.
    arrived_.wakeAll();
    // Full packets, and with an event character everything up to its last
    // arrival, leave at once and start the timer's period anew.
    int full = int(d.held.size()) / kPacketData * kPacketData;
    if (d.eventCharOn)
        full = std::max(full, int(d.held.lastIndexOf(d.eventChar)) + 1);
    if (full > 0) {
        d.rx.append(d.held.left(full));
        d.held.remove(0, full);
        d.lastSendUs = now;
        d.heldSinceUs = now;
    }
}

void FakeUsbLayer::PinLatencyTimer(int index, int ms) {
    QMutexLocker l(&mutex_);
    if (index < 0 || index >= devices_.size())
        return;
    devices_[index].latencyMs = ms;
    devices_[index].latencyPinned = true;
}

FakeUsbLayer::~FakeUsbLayer() {
    // Taken once more, so the last call of a receive thread that has been
    // stopped is seen to end before the devices go.
    QMutexLocker l(&mutex_);
}

void FakeUsbLayer::Unplug(int index) {
    QMutexLocker l(&mutex_);
    if (index < 0 || index >= devices_.size())
        return;
    devices_[index].unplugged = true;
    arrived_.wakeAll();
}

FakeUsbLayer::Device FakeUsbLayer::DeviceState(int index) const {
    QMutexLocker l(&mutex_);
    return (index >= 0 && index < devices_.size()) ? devices_.at(index) : Device();
}

int FakeUsbLayer::DeviceCount() const {
    QMutexLocker l(&mutex_);
    return int(devices_.size());
}

void FakeUsbLayer::FailOpen(int index, FT_STATUS status) {
    QMutexLocker l(&mutex_);
    if (index >= 0 && index < openFailures_.size())
        openFailures_[index] = status;
}

FakeUsbLayer::Device* FakeUsbLayer::Find(FT_HANDLE handle, FT_STATUS* st) {
    const qintptr i = reinterpret_cast<qintptr>(handle) - 1;
    if (i < 0 || i >= devices_.size() || !devices_[i].open) {
        *st = FT_INVALID_HANDLE;
        return nullptr;
    }
    if (devices_[i].unplugged) {
        *st = FT_IO_ERROR;
        return nullptr;
    }
    *st = FT_OK;
    return &devices_[i];
}

FT_STATUS FakeUsbLayer::ListDevicesCount(unsigned long* count) {
    QMutexLocker l(&mutex_);
    unsigned long n = 0;
    for (const Device& d : devices_)
        n += d.unplugged ? 0 : 1;
    *count = n;
    return FT_OK;
}

FT_STATUS FakeUsbLayer::CreateDeviceInfoList(unsigned long* count) {
    return ListDevicesCount(count);
}

FT_STATUS FakeUsbLayer::GetDeviceInfoList(QList<UsbDeviceInfo>* list) {
    QMutexLocker l(&mutex_);
    list->clear();
    for (const Device& d : devices_)
        if (!d.unplugged)
            list->append(d.info);
    return FT_OK;
}

FT_STATUS FakeUsbLayer::Open(int index, FT_HANDLE* handle) {
    QMutexLocker l(&mutex_);
    *handle = nullptr;
    if (index < 0 || index >= devices_.size() || devices_[index].unplugged)
        return FT_DEVICE_NOT_FOUND;
    if (openFailures_[index] != FT_OK)
        return openFailures_[index];
    if (devices_[index].open)
        return FT_DEVICE_NOT_OPENED;
    devices_[index].open = true;
    *handle = reinterpret_cast<FT_HANDLE>(qintptr(index) + 1);
    return FT_OK;
}

FT_STATUS FakeUsbLayer::Close(FT_HANDLE handle) {
    QMutexLocker l(&mutex_);
    const qintptr i = reinterpret_cast<qintptr>(handle) - 1;
    if (i < 0 || i >= devices_.size() || !devices_[i].open)
        return FT_INVALID_HANDLE;
    devices_[i].open = false;
    return FT_OK;
}

FT_STATUS FakeUsbLayer::ResetDevice(FT_HANDLE handle) {
    QMutexLocker l(&mutex_);
    FT_STATUS st;
    Find(handle, &st);
    return st;
}

FT_STATUS FakeUsbLayer::SetBaudRate(FT_HANDLE handle, unsigned long baud) {
    QMutexLocker l(&mutex_);
    FT_STATUS st;
    if (Device* d = Find(handle, &st))
        d->baud = baud;
    return st;
}

FT_STATUS FakeUsbLayer::SetDataCharacteristics(FT_HANDLE handle, unsigned char bits,
                                               unsigned char stopBits, unsigned char parity) {
    QMutexLocker l(&mutex_);
    FT_STATUS st;
    if (Device* d = Find(handle, &st)) {
        d->bits = bits;
        d->stopBits = stopBits;
        d->parity = parity;
    }
    return st;
}

FT_STATUS FakeUsbLayer::SetTimeouts(FT_HANDLE handle, unsigned long readMs, unsigned long writeMs) {
    QMutexLocker l(&mutex_);
    FT_STATUS st;
    if (Device* d = Find(handle, &st)) {
        d->readTimeout = readMs;
        d->writeTimeout = writeMs;
    }
    return st;
}

FT_STATUS FakeUsbLayer::SetUSBParameters(FT_HANDLE handle, unsigned long inSize,
                                         unsigned long outSize) {
    QMutexLocker l(&mutex_);
    FT_STATUS st;
    if (Device* d = Find(handle, &st)) {
        d->inSize = inSize;
        d->outSize = outSize;
    }
    return st;
}

FT_STATUS FakeUsbLayer::Purge(FT_HANDLE handle, unsigned long mask) {
    QMutexLocker l(&mutex_);
    FT_STATUS st;
    if (Device* d = Find(handle, &st)) {
        ++d->purges;
        if (mask & FT_PURGE_RX) {
            d->rx.clear();
            d->held.clear();
        }
    }
    return st;
}

FT_STATUS FakeUsbLayer::GetStatus(FT_HANDLE handle, unsigned long* rxQueue, unsigned long* txQueue,
                                  unsigned long* eventStatus) {
    QMutexLocker l(&mutex_);
    FT_STATUS st;
    *rxQueue = *txQueue = *eventStatus = 0;
    if (Device* d = Find(handle, &st)) {
        Release(*d, Now());
        *rxQueue = (unsigned long)d->rx.size();
    }
    return st;
}

FT_STATUS FakeUsbLayer::Read(FT_HANDLE handle, void* buffer, unsigned long size,
                             unsigned long* got) {
    QMutexLocker l(&mutex_);
    FT_STATUS st;
    *got = 0;
    Device* d = Find(handle, &st);
    if (!d)
        return st;
    Release(*d, Now());
    const int n = int(qMin<unsigned long>(size, (unsigned long)d->rx.size()));
    std::memcpy(buffer, d->rx.constData(), size_t(n));
    d->rx.remove(0, n);
    *got = (unsigned long)n;
    return FT_OK;
}

FT_STATUS FakeUsbLayer::Write(FT_HANDLE handle, const void* data, unsigned long size,
                              unsigned long* written) {
    QByteArray bytes(static_cast<const char*>(data), int(size));
    int index = -1;
    {
        QMutexLocker l(&mutex_);
        FT_STATUS st;
        *written = 0;
        Device* d = Find(handle, &st);
        if (!d)
            return st;
        d->written.append(bytes);
        d->events.append("W" + QByteArray::number(int(size)));
        *written = size;
        index = int(reinterpret_cast<qintptr>(handle) - 1);
    }
    if (onWrite)
        onWrite(index, bytes);
    return FT_OK;
}

FT_STATUS FakeUsbLayer::SetBreakOn(FT_HANDLE handle) {
    QMutexLocker l(&mutex_);
    FT_STATUS st;
    if (Device* d = Find(handle, &st))
        d->breakOn = true;
    return st;
}

FT_STATUS FakeUsbLayer::SetBreakOff(FT_HANDLE handle) {
    QMutexLocker l(&mutex_);
    FT_STATUS st;
    if (Device* d = Find(handle, &st)) {
        if (d->breakOn)
            d->events.append("B");
        d->breakOn = false;
    }
    return st;
}

FT_STATUS FakeUsbLayer::SetEventChar(FT_HANDLE handle, char eventChar, bool enable) {
    QMutexLocker l(&mutex_);
    FT_STATUS st;
    if (Device* d = Find(handle, &st)) {
        d->eventChar = eventChar;
        d->eventCharOn = enable && !d->latencyPinned;
    }
    return st;
}

FT_STATUS FakeUsbLayer::SetLatencyTimer(FT_HANDLE handle, unsigned char ms) {
    QMutexLocker l(&mutex_);
    FT_STATUS st;
    if (Device* d = Find(handle, &st)) {
        d->latencyAsked = ms;
        if (!d->latencyPinned)
            d->latencyMs = ms;
    }
    return st;
}

void FakeUsbLayer::WaitForData(FT_HANDLE handle, int timeoutMs) {
    QMutexLocker l(&mutex_);
    const qint64 end = Now() + qint64(timeoutMs) * 1000;
    for (;;) {
        FT_STATUS st;
        Device* d = Find(handle, &st);
        if (!d)
            return;
        const qint64 now = Now();
        Release(*d, now);
        if (!d->rx.isEmpty() || now >= end)
            return;
        // A test's own clock does not move while the fake waits.
        if (nowUs)
            return;
        const qint64 until = d->held.isEmpty() ? end : qMin(end, ReleaseAt(*d));
        QDeadlineTimer deadline(Qt::PreciseTimer);
        deadline.setPreciseRemainingTime(0, (until - now) * 1000, Qt::PreciseTimer);
        arrived_.wait(&mutex_, deadline);
    }
}
