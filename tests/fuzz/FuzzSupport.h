#pragma once

// Shared pieces of the libFuzzer targets: a reader over the input, a check
// that stops the run with a message, and a private working directory, since
// some of the code under test writes "GSM.cfg" by its bare name.

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(cond, what)                                                                     \
    do {                                                                                           \
        if (!(cond)) {                                                                             \
            std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", what, __FILE__, __LINE__);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

// Takes the input apart front to back; past its end every read gives zeros.
class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size)
        : m_bytes(reinterpret_cast<const char*>(data), int(size)) {}

    bool empty() const { return m_pos >= m_bytes.size(); }
    int byte() { return empty() ? 0 : quint8(m_bytes.at(m_pos++)); }
    // A number in 0..count-1 (count >= 1).
    int below(int count) { return byte() % count; }
    QByteArray take(int n) {
        const QByteArray out = m_bytes.mid(m_pos, n);
        m_pos += int(out.size());
        return out;
    }
    QByteArray rest() { return take(int(m_bytes.size())); }

private:
    QByteArray m_bytes;
    int m_pos = 0;
};

// A fresh temporary folder for the files of the whole run. With `enter`, it
// also becomes the working directory, for code that writes "GSM.cfg" by its
// bare name; corpus folders must then be given as absolute paths, as libFuzzer
// reads them after the first run.
inline QString FuzzWorkDir(bool enter = false) {
    static QTemporaryDir* dir = [] {
        auto* d = new QTemporaryDir;
        if (!d->isValid()) {
            std::fprintf(stderr, "no folder for the fuzz run\n");
            std::abort();
        }
        return d;
    }();
    if (enter && QDir::currentPath() != dir->path())
        QDir::setCurrent(dir->path());
    return dir->path();
}

// The firmware releases at which a layout or a field appears, each with the
// day before it, so every gate is met from both sides.
inline const QStringList& FuzzFirmwareVersions() {
    static const QStringList versions = {
        "20.09.2009/1", "21.09.2009/1",  "26.11.2009/1",  "27.11.2009/1", "18.12.2009/1",
        "19.12.2009/1", "20.12.2009/1",  "28.01.2010/1",  "17.02.2010/1", "26.03.2010/1",
        "14.04.2010/1", "15.04.2010/1",  "05.06.2010/1",  "07.06.2010/1", "16.08.2010/1",
        "01.12.2010/1", "03.12.2010/30", "03.12.2010/31", "18.04.2012/1", "19.04.2012/0",
        "19.04.2012/1", "09.05.2012/28", "16.05.2012/22", "18.12.2018/1"};
    return versions;
}
