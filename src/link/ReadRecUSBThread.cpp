#include "link/ReadRecUSBThread.h"

#include "link/LinkTiming.h"

#include <QDebug>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcUsbIo, "kw.link.usbio", QtInfoMsg)

ReadRecUSBThread::ReadRecUSBThread(QObject* parent) : ReadRecBaseThread(parent) {}

ReadRecUSBThread::~ReadRecUSBThread() {
    if (portOpen)
        ReadRecBaseThread::ClosePort();
}

bool ReadRecUSBThread::OpenPort(int num, ulong& errcode) {
    errcode = 0;
    if (portOpen)
        return true;
    UsbLayer& usb = ActiveUsbLayer();
    ftStatus = usb.Open(num, &ftHandle);
    if (ftStatus != FT_OK) {
        qDebug() << "error connect usb!";
        errcode = ftStatus;
        ftHandle = nullptr;
        return false;
    }
    usb.ResetDevice(ftHandle);
    qDebug() << "connect usb ok";
    usb.SetBaudRate(ftHandle, 9600);
    usb.SetDataCharacteristics(ftHandle, FT_BITS_8, FT_STOP_BITS_1, FT_PARITY_NONE);
    usb.SetTimeouts(ftHandle, 3000, 3000);
    usb.SetUSBParameters(ftHandle, 2000, 2000);
    usb.SetLatencyTimer(ftHandle, kwlink::kUsbLatencyMs);
    usb.SetEventChar(ftHandle, kwlink::kUsbEventChar, true);
    usb.Purge(ftHandle, FT_PURGE_RX | FT_PURGE_TX);
    StartReceiving();
    return true;
}

void ReadRecUSBThread::run() {
    if (TakeStopRequest())
        return;
    UsbLayer& usb = ActiveUsbLayer();
    static thread_local char buffer[kwlink::kReadPieceSize];
    for (;;) {
        bool lost = false;
        unsigned long n = 0, tx = 0, ev = 0;
        const FT_STATUS st = usb.GetStatus(ftHandle, &n, &tx, &ev);
        if (st != FT_OK) {
            lost = true; // the adapter has gone: one report, then the port closes
        } else if (n > 0) {
            const unsigned long m = qMin<unsigned long>(n, kwlink::kReadPieceSize);
            unsigned long got = 0;
            while (got < n) {
                unsigned long r = 0;
                const FT_STATUS rs = usb.Read(ftHandle, buffer, qMin(m, n - got), &r);
                if (rs != FT_OK) {
                    qCritical() << " USB read err";
                    break;
                }
                if (r == 0)
                    break; // nothing came: end the cycle rather than spin
                chunk.append(buffer, int(r));
                got += r;
            }
        }
        if (EndCycle(lost))
            return;
        usb.WaitForData(ftHandle, kwlink::kPollPeriodMs);
        if (TakeStopRequest())
            return;
    }
}

bool ReadRecUSBThread::WriteBlock(const char* data, int len) {
    if (!ftHandle)
        return false;
    unsigned long written = 0;
    const FT_STATUS st = ActiveUsbLayer().Write(ftHandle, data, (unsigned long)len, &written);
    if (written != (unsigned long)len) {
        qDebug() << "Write data FTDI timeout: " << len << written;
        return false;
    }
    if (st != FT_OK) {
        qDebug() << "USB write error " << st;
        return false;
    }
    qCDebug(lcUsbIo) << "USB write ok" << written;
    return true;
}

void ReadRecUSBThread::BreakPulse() {
    UsbLayer& usb = ActiveUsbLayer();
    usb.SetBreakOn(ftHandle);
    usb.SetBreakOff(ftHandle);
}

void ReadRecUSBThread::ReleasePort() {
    if (ftHandle) {
        UsbLayer& usb = ActiveUsbLayer();
        usb.Purge(ftHandle, FT_PURGE_RX | FT_PURGE_TX);
        usb.Close(ftHandle);
    }
    ftHandle = nullptr;
    qDebug() << "usb close";
}
