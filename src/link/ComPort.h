#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

// The serial port on POSIX termios: raw 9600 8N1, DTR and RTS raised,
// non-blocking reads, writes that block until the bytes are handed to the
// driver (bounded in time), tcflush for purge and TIOCSBRK/TIOCCBRK for the
// break. Error codes are errno values.
class ComPort {
public:
    ComPort() = default;
    ~ComPort();
    ComPort(const ComPort&) = delete;
    ComPort& operator=(const ComPort&) = delete;

    // Opens and configures the device; on failure returns false with errno
    // in errcode.
    bool Open(const QString& path, int& errcode);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }

    enum class Wait { Data, Idle, HangUp };
    // Waits at most timeoutMs for bytes to arrive.
    Wait WaitForData(int timeoutMs) const;
    // Bytes waiting in the input queue (0 on error).
    int BytesWaiting() const;
    // Reads at most maxBytes; returns the count, 0 when nothing is there,
    // -1 on an error (errno kept).
    int Read(char* buffer, int maxBytes);
    // Writes all bytes or gives up after timeoutMs; returns the count written.
    int Write(const char* data, int size, int timeoutMs);
    void Purge();
    // A short break condition on the line, after the bytes written so far
    // have left.
    void BreakPulse();

    // Observation of the line for tests: every write and every break pulse,
    // in order, with the path of the port.
    enum class Event { Write, Break };
    using Hook = std::function<void(const QString& path, Event event, const QByteArray& data)>;
    static void SetEventHook(Hook hook);

private:
    void Notify(Event e, const QByteArray& data) const;

    int fd_ = -1;
    QString path_;
};

// The table of COM ports: entry n (counted from 1) is "COMn". Paths added for
// tests (AddComPortPath, or the colon-separated list in the environment
// variable KW_EXTRA_COM_PORTS) come first, then the serial devices that
// QSerialPortInfo lists, sorted by path.
QStringList ComPortPaths();
// The device path of COM number n; empty when there is no such entry.
QString ComPortPath(int n);
// Adds a path (a pseudo-terminal, say) and returns its COM number.
int AddComPortPath(const QString& path);
void ClearAddedComPortPaths();
