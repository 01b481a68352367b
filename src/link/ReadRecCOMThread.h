#pragma once

#include "link/ComPort.h"
#include "link/ReadRecBaseThread.h"

// The receive thread of a serial port (see ComPort.h).
class ReadRecCOMThread : public ReadRecBaseThread {
    Q_OBJECT
public:
    explicit ReadRecCOMThread(QObject* parent = nullptr);
    ~ReadRecCOMThread() override;

    ComPort comHandle; // closed from construction and after a close

public slots:
    // num is the COM number: entry num of the port table (ComPortPaths()).
    bool OpenPort(int num, ulong& errcode) override;

protected:
    void run() override;
    bool WriteBlock(const char* data, int len) override;
    void BreakPulse() override;
    void ReleasePort() override;
};
