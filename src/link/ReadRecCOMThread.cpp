#include "link/ReadRecCOMThread.h"

#include "link/LinkTiming.h"

#include <QDebug>
#include <QLoggingCategory>

#include <cerrno>

Q_LOGGING_CATEGORY(lcComIo, "kw.link.io", QtInfoMsg)

namespace {
// A block that does not leave within this time is given up.
constexpr int kBlockWriteLimitMs = 2000;
} // namespace

ReadRecCOMThread::ReadRecCOMThread(QObject* parent) : ReadRecBaseThread(parent) {
    isComPort = true;
}

ReadRecCOMThread::~ReadRecCOMThread() {
    if (portOpen)
        ReadRecBaseThread::ClosePort();
}

bool ReadRecCOMThread::OpenPort(int num, ulong& errcode) {
    errcode = 0;
    if (portOpen)
        return true;
    const QString path = ComPortPath(num);
    if (path.isEmpty()) {
        errcode = ENOENT;
        return false;
    }
    int err = 0;
    if (!comHandle.Open(path, err)) {
        errcode = ulong(err);
        return false;
    }
    StartReceiving();
    return true;
}

void ReadRecCOMThread::run() {
    if (TakeStopRequest())
        return;
    static thread_local char buffer[kwlink::kReadPieceSize];
    for (;;) {
        bool lost = false;
        const ComPort::Wait w = comHandle.WaitForData(kwlink::kPollPeriodMs);
        if (w == ComPort::Wait::HangUp) {
            lost = true;
        } else if (w == ComPort::Wait::Data) {
            const int n = comHandle.BytesWaiting();
            int got = 0;
            // Read what was queued when the cycle began, 256 bytes at a time;
            // a read that yields nothing ends the cycle.
            do {
                const int want = qMin(qMax(n - got, 1), kwlink::kReadPieceSize);
                const int r = comHandle.Read(buffer, want);
                if (r < 0) {
                    if (errno == EIO || errno == ENXIO || errno == EBADF)
                        lost = true;
                    else
                        qCritical() << "Read error [buffered read]!";
                    break;
                }
                if (r == 0) {
                    // Readable but empty: the other end has gone away.
                    if (n == 0 && got == 0)
                        lost = true;
                    break;
                }
                chunk.append(buffer, r);
                got += r;
            } while (got < n);
        }
        if (EndCycle(lost))
            return;
    }
}

bool ReadRecCOMThread::WriteBlock(const char* data, int len) {
    const int written = comHandle.Write(data, len, kBlockWriteLimitMs);
    if (written != len) {
        qDebug() << "Write data COM timeout";
        return false;
    }
    qCDebug(lcComIo) << "COM write ok" << written;
    return true;
}

void ReadRecCOMThread::BreakPulse() {
    comHandle.BreakPulse();
}

void ReadRecCOMThread::ReleasePort() {
    comHandle.Purge();
    comHandle.Close();
}
