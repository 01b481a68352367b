#pragma once

// WAV files and playlists for the sound tests.

#include "support/Files.h"

#include <QByteArray>
#include <QStringList>
#include <QtEndian>

// Data bytes 0, 1, 2, ... modulo 251, so that every packet can be told apart.
inline QByteArray SoundData(int size) {
    QByteArray d(size, '\0');
    for (int i = 0; i < size; ++i)
        d[i] = char(i % 251);
    return d;
}

// A WAV file with the canonical 44-byte header and `dataSize` data bytes.
inline QByteArray Wav(int dataSize, quint32 rate = 8000, quint16 channels = 1, quint16 bits = 8,
                      quint16 format = 1) {
    QByteArray h(44, '\0');
    const auto put = [&h](int at, auto v) { qToLittleEndian(v, h.data() + at); };
    h.replace(0, 16, "RIFF....WAVEfmt ");
    put(4, quint32(36 + dataSize));
    put(16, quint32(16));
    put(20, format);
    put(22, channels);
    put(24, rate);
    put(28, quint32(rate * channels * bits / 8));
    put(32, quint16(channels * bits / 8));
    put(34, bits);
    h.replace(36, 4, "data");
    put(40, quint32(dataSize));
    return h + SoundData(dataSize);
}

// A playlist file's text with the count and the given names and paths.
inline QByteArray PlaylistText(int count, const QStringList& names, const QStringList& paths) {
    QString t = QStringLiteral("[Sound_count]\nsoundCount=%1\n\n[Sound]\n").arg(count);
    for (int i = 0; i < names.size(); ++i)
        t += QStringLiteral("Name%1=%2\nPath%1=%3\n").arg(i + 1).arg(names.at(i), paths.value(i));
    return t.toUtf8();
}
