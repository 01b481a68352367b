#pragma once

#include "link/ReadRecBaseThread.h"
#include "link/UsbLayer.h"

#include <QMutex>

// The receive thread of an FTDI USB adapter (see UsbLayer.h).
class ReadRecUSBThread : public ReadRecBaseThread {
    Q_OBJECT
public:
    explicit ReadRecUSBThread(QObject* parent = nullptr);
    ~ReadRecUSBThread() override;

    void WriteData(const QByteArray& data, int delayMs) override;
    bool ClosePort() override;

    FT_HANDLE ftHandle = nullptr;
    FT_STATUS ftStatus = FT_OK;

public slots:
    // num is the index in the USB device list.
    bool OpenPort(int num, ulong& errcode) override;

protected:
    void run() override;

private:
    QMutex writeMutex_;
};
