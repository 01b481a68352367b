#include "link/ComPort.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QSerialPortInfo>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {
QMutex g_hookMutex;
ComPort::Hook g_hook;

QMutex g_tableMutex;
QStringList g_addedPaths;

constexpr int kDrainLimitMs = 500;
} // namespace

ComPort::~ComPort() {
    Close();
}

bool ComPort::Open(const QString& path, int& errcode) {
    Close();
    errcode = 0;
    const QByteArray p = path.toLocal8Bit();
    const int fd = ::open(p.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        errcode = errno;
        return false;
    }
    // Nobody else may open the port while we hold it.
    ::ioctl(fd, TIOCEXCL);
    termios tio{};
    if (::tcgetattr(fd, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::cfsetispeed(&tio, B9600);
        ::cfsetospeed(&tio, B9600);
        tio.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
        tio.c_cflag |= CS8 | CLOCAL | CREAD;
        tio.c_iflag &= ~(IXON | IXOFF | IXANY);
        tio.c_cc[VMIN] = 0;
        tio.c_cc[VTIME] = 0;
        ::tcsetattr(fd, TCSANOW, &tio);
    }
    int lines = TIOCM_DTR | TIOCM_RTS;
    ::ioctl(fd, TIOCMBIS, &lines); // not every device has modem lines
    ::tcflush(fd, TCIOFLUSH);
    fd_ = fd;
    path_ = path;
    return true;
}

void ComPort::Close() {
    if (fd_ < 0)
        return;
    ::tcflush(fd_, TCIOFLUSH);
    ::ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    fd_ = -1;
}

ComPort::Wait ComPort::WaitForData(int timeoutMs) const {
    if (fd_ < 0)
        return Wait::HangUp;
    pollfd p{fd_, POLLIN, 0};
    const int r = ::poll(&p, 1, timeoutMs);
    if (r < 0)
        return errno == EINTR ? Wait::Idle : Wait::HangUp;
    if (r == 0)
        return Wait::Idle;
    if (p.revents & POLLIN)
        return Wait::Data; // a hang-up with bytes left: read them first
    if (p.revents & (POLLHUP | POLLERR | POLLNVAL))
        return Wait::HangUp;
    return Wait::Idle;
}

int ComPort::BytesWaiting() const {
    int n = 0;
    if (fd_ < 0 || ::ioctl(fd_, FIONREAD, &n) != 0)
        return 0;
    return n;
}

int ComPort::Read(char* buffer, int maxBytes) {
    if (fd_ < 0)
        return -1;
    for (;;) {
        const ssize_t r = ::read(fd_, buffer, size_t(maxBytes));
        if (r >= 0)
            return int(r);
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return 0;
        return -1;
    }
}

int ComPort::Write(const char* data, int size, int timeoutMs) {
    if (fd_ < 0)
        return 0;
    QElapsedTimer t;
    t.start();
    int done = 0;
    while (done < size) {
        const ssize_t w = ::write(fd_, data + done, size_t(size - done));
        if (w > 0) {
            done += int(w);
            continue;
        }
        if (w < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
            break;
        const int left = timeoutMs - int(t.elapsed());
        if (left <= 0)
            break;
        pollfd p{fd_, POLLOUT, 0};
        if (::poll(&p, 1, std::min(left, 50)) < 0 && errno != EINTR)
            break;
        if (p.revents & (POLLHUP | POLLERR | POLLNVAL))
            break;
    }
    if (done > 0)
        Notify(Event::Write, QByteArray(data, done));
    return done;
}

void ComPort::Purge() {
    if (fd_ >= 0)
        ::tcflush(fd_, TCIOFLUSH);
}

void ComPort::BreakPulse() {
    if (fd_ < 0)
        return;
    // Let the block leave the line first (bounded: a pseudo-terminal nobody
    // reads must not hold the writer).
    QElapsedTimer t;
    t.start();
    int pending = 0;
    while (::ioctl(fd_, TIOCOUTQ, &pending) == 0 && pending > 0 && t.elapsed() < kDrainLimitMs)
        QThread::usleep(500);
    ::ioctl(fd_, TIOCSBRK);
    ::ioctl(fd_, TIOCCBRK);
    Notify(Event::Break, {});
}

void ComPort::SetEventHook(Hook hook) {
    QMutexLocker l(&g_hookMutex);
    g_hook = std::move(hook);
}

void ComPort::Notify(Event e, const QByteArray& data) const {
    QMutexLocker l(&g_hookMutex);
    if (g_hook)
        g_hook(path_, e, data);
}

QStringList ComPortPaths() {
    QStringList paths;
    {
        QMutexLocker l(&g_tableMutex);
        paths = g_addedPaths;
    }
    const QString env = qEnvironmentVariable("KW_EXTRA_COM_PORTS");
    for (const QString& p : env.split(':', Qt::SkipEmptyParts))
        if (!paths.contains(p))
            paths.append(p);
    QStringList system;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        system.append(info.systemLocation());
    std::sort(system.begin(), system.end());
    for (const QString& p : system)
        if (!paths.contains(p))
            paths.append(p);
    return paths;
}

QString ComPortPath(int n) {
    const QStringList paths = ComPortPaths();
    if (n < 1 || n > paths.size())
        return {};
    return paths.at(n - 1);
}

int AddComPortPath(const QString& path) {
    QMutexLocker l(&g_tableMutex);
    int i = int(g_addedPaths.indexOf(path));
    if (i < 0) {
        g_addedPaths.append(path);
        i = int(g_addedPaths.size()) - 1;
    }
    return i + 1;
}

void ClearAddedComPortPaths() {
    QMutexLocker l(&g_tableMutex);
    g_addedPaths.clear();
}
