#pragma once

#include "link/ReadRecBaseThread.h"
#include "link/UsbLayer.h"

// The receive thread of an FTDI USB adapter (see UsbLayer.h).
class ReadRecUSBThread : public ReadRecBaseThread {
    Q_OBJECT
public:
    explicit ReadRecUSBThread(QObject* parent = nullptr);
    ~ReadRecUSBThread() override;

    FT_HANDLE ftHandle = nullptr;
    FT_STATUS ftStatus = FT_OK;

public slots:
    // num is the index in the USB device list.
    bool OpenPort(int num, ulong& errcode) override;

protected:
    void run() override;
    bool WriteBlock(const char* data, int len) override;
    void BreakPulse() override;
    void ReleasePort() override;
};
