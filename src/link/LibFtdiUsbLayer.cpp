#include "link/LibFtdiUsbLayer.h"

#include <libftdi1/ftdi.h>

#include <QDeadlineTimer>
#include <QThread>

#include <utility>

namespace {
// One open adapter: the libftdi context and what was read ahead.
struct FtdiDevice {
    ftdi_context* ctx = nullptr;
    QByteArray ahead;
    ftdi_bits_type bits = BITS_8;
    ftdi_stopbits_type stop = STOP_BIT_1;
    ftdi_parity_type parity = NONE;
};

FtdiDevice* Dev(FT_HANDLE h) {
    return static_cast<FtdiDevice*>(h);
}

// Lists FTDI devices with libftdi's default vendor and product ids through
// ctx. A device is valid only inside f: the list releases it afterwards.
template <typename F> int ListDevices(ftdi_context* ctx, F&& f) {
    ftdi_device_list* list = nullptr;
    const int n = ftdi_usb_find_all(ctx, &list, 0, 0);
    int i = 0;
    for (ftdi_device_list* d = list; d && n > 0; d = d->next, ++i)
        f(ctx, d->dev, i);
    if (list)
        ftdi_list_free(&list);
    return n;
}

// The same through a context of its own; -1 when there is none.
template <typename F> int ForEachDevice(F&& f) {
    ftdi_context* ctx = ftdi_new();
    if (!ctx)
        return -1;
    const int n = ListDevices(ctx, std::forward<F>(f));
    ftdi_free(ctx);
    return n;
}

FT_STATUS Status(int libftdiResult) {
    return libftdiResult < 0 ? FT_IO_ERROR : FT_OK;
}
} // namespace

FT_STATUS LibFtdiUsbLayer::ListDevicesCount(unsigned long* count) {
    const int n = ForEachDevice([](ftdi_context*, libusb_device*, int) {});
    // No USB access at all reads as no device attached.
    *count = n < 0 ? 0 : (unsigned long)n;
    return FT_OK;
}

FT_STATUS LibFtdiUsbLayer::CreateDeviceInfoList(unsigned long* count) {
    QList<UsbDeviceInfo> infos;
    const int n = ForEachDevice([&infos](ftdi_context* ctx, libusb_device* dev, int) {
        char manufacturer[64] = {}, description[64] = {}, serial[64] = {};
        UsbDeviceInfo info;
        if (ftdi_usb_get_strings(ctx, dev, manufacturer, sizeof manufacturer, description,
                                 sizeof description, serial, sizeof serial) == 0) {
            info.serialNumber = QByteArray(serial);
            info.description = QByteArray(description);
        }
        infos.append(info);
    });
    QMutexLocker l(&mutex_);
    infos_ = infos;
    *count = n < 0 ? 0 : (unsigned long)infos.size();
    return FT_OK;
}

FT_STATUS LibFtdiUsbLayer::GetDeviceInfoList(QList<UsbDeviceInfo>* list) {
    QMutexLocker l(&mutex_);
    *list = infos_;
    return FT_OK;
}

FT_STATUS LibFtdiUsbLayer::Open(int index, FT_HANDLE* handle) {
    *handle = nullptr;
    ftdi_context* ctx = ftdi_new();
    if (!ctx)
        return FT_INSUFFICIENT_RESOURCES;
    FT_STATUS st = FT_DEVICE_NOT_FOUND;
    ListDevices(ctx, [index, &st](ftdi_context* c, libusb_device* dev, int i) {
        if (i == index)
            st = ftdi_usb_open_dev(c, dev) == 0 ? FT_OK : FT_DEVICE_NOT_OPENED;
    });
    if (st != FT_OK) {
        ftdi_free(ctx);
        return st;
    }
    auto* dev = new FtdiDevice;
    dev->ctx = ctx;
    *handle = dev;
    return FT_OK;
}

FT_STATUS LibFtdiUsbLayer::Close(FT_HANDLE handle) {
    FtdiDevice* d = Dev(handle);
    if (!d)
        return FT_INVALID_HANDLE;
    ftdi_usb_close(d->ctx);
    ftdi_free(d->ctx);
    delete d;
    return FT_OK;
}

FT_STATUS LibFtdiUsbLayer::ResetDevice(FT_HANDLE handle) {
    FtdiDevice* d = Dev(handle);
    return d ? Status(ftdi_usb_reset(d->ctx)) : FT_INVALID_HANDLE;
}

FT_STATUS LibFtdiUsbLayer::SetBaudRate(FT_HANDLE handle, unsigned long baud) {
    FtdiDevice* d = Dev(handle);
    return d ? Status(ftdi_set_baudrate(d->ctx, int(baud))) : FT_INVALID_HANDLE;
}

FT_STATUS LibFtdiUsbLayer::SetDataCharacteristics(FT_HANDLE handle, unsigned char bits,
                                                  unsigned char stopBits, unsigned char parity) {
    FtdiDevice* d = Dev(handle);
    if (!d)
        return FT_INVALID_HANDLE;
    d->bits = bits == 7 ? BITS_7 : BITS_8;
    d->stop = stopBits == 2 ? STOP_BIT_2 : (stopBits == 1 ? STOP_BIT_15 : STOP_BIT_1);
    d->parity = ftdi_parity_type(parity <= 4 ? parity : 0);
    return Status(ftdi_set_line_property(d->ctx, d->bits, d->stop, d->parity));
}

FT_STATUS LibFtdiUsbLayer::SetTimeouts(FT_HANDLE handle, unsigned long readMs,
                                       unsigned long writeMs) {
    FtdiDevice* d = Dev(handle);
    if (!d)
        return FT_INVALID_HANDLE;
    d->ctx->usb_read_timeout = int(readMs);
    d->ctx->usb_write_timeout = int(writeMs);
    return FT_OK;
}

FT_STATUS LibFtdiUsbLayer::SetUSBParameters(FT_HANDLE handle, unsigned long inSize,
                                            unsigned long outSize) {
    FtdiDevice* d = Dev(handle);
    if (!d)
        return FT_INVALID_HANDLE;
    const int a = ftdi_read_data_set_chunksize(d->ctx, unsigned(inSize));
    const int b = ftdi_write_data_set_chunksize(d->ctx, unsigned(outSize));
    return Status(a < 0 ? a : b);
}

FT_STATUS LibFtdiUsbLayer::Purge(FT_HANDLE handle, unsigned long mask) {
    FtdiDevice* d = Dev(handle);
    if (!d)
        return FT_INVALID_HANDLE;
    int r = 0;
    if ((mask & FT_PURGE_RX) && (mask & FT_PURGE_TX))
        r = ftdi_tcioflush(d->ctx);
    else if (mask & FT_PURGE_RX)
        r = ftdi_tciflush(d->ctx);
    else if (mask & FT_PURGE_TX)
        r = ftdi_tcoflush(d->ctx);
    if (mask & FT_PURGE_RX)
        d->ahead.clear();
    return Status(r);
}

FT_STATUS LibFtdiUsbLayer::GetStatus(FT_HANDLE handle, unsigned long* rxQueue,
                                     unsigned long* txQueue, unsigned long* eventStatus) {
    FtdiDevice* d = Dev(handle);
    if (!d)
        return FT_INVALID_HANDLE;
    *txQueue = 0;
    *eventStatus = 0;
    if (d->ahead.size() < 4096) {
        unsigned char buf[512];
        const int r = ftdi_read_data(d->ctx, buf, sizeof buf);
        if (r < 0) {
            *rxQueue = (unsigned long)d->ahead.size();
            return FT_IO_ERROR;
        }
        d->ahead.append(reinterpret_cast<const char*>(buf), r);
    }
    *rxQueue = (unsigned long)d->ahead.size();
    return FT_OK;
}

FT_STATUS LibFtdiUsbLayer::Read(FT_HANDLE handle, void* buffer, unsigned long size,
                                unsigned long* got) {
    FtdiDevice* d = Dev(handle);
    *got = 0;
    if (!d)
        return FT_INVALID_HANDLE;
    if (d->ahead.isEmpty()) {
        const int r = ftdi_read_data(d->ctx, static_cast<unsigned char*>(buffer), int(size));
        if (r < 0)
            return FT_IO_ERROR;
        *got = (unsigned long)r;
        return FT_OK;
    }
    const int n = int(qMin<unsigned long>(size, (unsigned long)d->ahead.size()));
    memcpy(buffer, d->ahead.constData(), size_t(n));
    d->ahead.remove(0, n);
    *got = (unsigned long)n;
    return FT_OK;
}

FT_STATUS LibFtdiUsbLayer::Write(FT_HANDLE handle, const void* data, unsigned long size,
                                 unsigned long* written) {
    FtdiDevice* d = Dev(handle);
    *written = 0;
    if (!d)
        return FT_INVALID_HANDLE;
    const int r = ftdi_write_data(d->ctx, static_cast<const unsigned char*>(data), int(size));
    if (r < 0)
        return FT_IO_ERROR;
    *written = (unsigned long)r;
    return FT_OK;
}

FT_STATUS LibFtdiUsbLayer::SetBreakOn(FT_HANDLE handle) {
    FtdiDevice* d = Dev(handle);
    return d ? Status(ftdi_set_line_property2(d->ctx, d->bits, d->stop, d->parity, BREAK_ON))
             : FT_INVALID_HANDLE;
}

FT_STATUS LibFtdiUsbLayer::SetBreakOff(FT_HANDLE handle) {
    FtdiDevice* d = Dev(handle);
    return d ? Status(ftdi_set_line_property2(d->ctx, d->bits, d->stop, d->parity, BREAK_OFF))
             : FT_INVALID_HANDLE;
}

FT_STATUS LibFtdiUsbLayer::SetLatencyTimer(FT_HANDLE handle, unsigned char ms) {
    FtdiDevice* d = Dev(handle);
    return d ? Status(ftdi_set_latency_timer(d->ctx, ms)) : FT_INVALID_HANDLE;
}

FT_STATUS LibFtdiUsbLayer::SetEventChar(FT_HANDLE handle, char eventChar, bool enable) {
    FtdiDevice* d = Dev(handle);
    return d ? Status(ftdi_set_event_char(d->ctx, static_cast<unsigned char>(eventChar),
                                          enable ? 1 : 0))
             : FT_INVALID_HANDLE;
}

void LibFtdiUsbLayer::WaitForData(FT_HANDLE handle, int timeoutMs) {
    FtdiDevice* d = Dev(handle);
    if (!d) {
        UsbLayer::WaitForData(handle, timeoutMs);
        return;
    }
    const QDeadlineTimer deadline(timeoutMs);
    while (d->ahead.isEmpty() && !deadline.hasExpired()) {
        unsigned char buf[512];
        const int r = ftdi_read_data(d->ctx, buf, sizeof buf);
        if (r < 0)
            return; // the next status query reports the failure
        if (r > 0) {
            d->ahead.append(reinterpret_cast<const char*>(buf), r);
            return;
        }
        // An adapter that answers at once with nothing must not make this
        // a busy loop.
        QThread::usleep(500);
    }
}
