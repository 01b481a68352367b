#pragma once

// WAV files and playlists for the sound tests.

#include "support/Files.h"

#include <QByteArray>
#include <QtEndian>

// A canonical 44-byte-header WAV file with `dataSize` bytes of data
// (0, 1, 2, ... modulo 251, so that every packet's bytes can be told apart).
struct WavSpec {
    int dataSize = 100;
    quint32 rate = 8000;
    int channels = 1;
    int bits = 8;
    int format = 1;
};

inline QByteArray SoundData(int size) {
    QByteArray d(size, '\0');
    for (int i = 0; i < size; ++i)
        d[i] = char(i % 251);
    return d;
}

inline QByteArray Wav(const WavSpec& w) {
    QByteArray h(44, '\0');
    auto u32 = [&h](int at, quint32 v) { qToLittleEndian(v, h.data() + at); };
    auto u16 = [&h](int at, quint16 v) { qToLittleEndian(v, h.data() + at); };
    h.replace(0, 4, "RIFF");
    u32(4, quint32(36 + w.dataSize));
    h.replace(8, 8, "WAVEfmt ");
    u32(16, 16);
    u16(20, quint16(w.format));
    u16(22, quint16(w.channels));
    u32(24, w.rate);
    u32(28, w.rate * quint32(w.channels * w.bits / 8));
    u16(32, quint16(w.channels * w.bits / 8));
    u16(34, quint16(w.bits));
    h.replace(36, 4, "data");
    u32(40, quint32(w.dataSize));
    return h + SoundData(w.dataSize);
}

inline QByteArray Wav(int dataSize) {
    WavSpec w;
    w.dataSize = dataSize;
    return Wav(w);
}

// A playlist as an INI text with `count` and the given names and paths.
inline QByteArray PlaylistText(int count, const QStringList& names, const QStringList& paths) {
    QString t = QStringLiteral("[Sound_count]\nsoundCount=%1\n\n[Sound]\n").arg(count);
    for (int i = 0; i < names.size(); ++i)
        t += QStringLiteral("Name%1=%2\nPath%1=%3\n").arg(i + 1).arg(names.at(i), paths.value(i));
    return t.toUtf8();
}
