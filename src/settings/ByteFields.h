#pragma once

#include "settings/TextCodec.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// Small writers shared by the section builders and the image writer, so every
// block places its fields the same way.

// Writes `bytes` over `out` from `at`, never past the end of `out` and never
// growing it; a start outside `out` writes nothing.
inline void PutBytes(QByteArray& out, int at, const QByteArray& bytes) {
    if (at < 0)
        return;
    const int n = qMin(int(bytes.size()), int(out.size()) - at);
    if (n > 0)
        out.replace(at, n, bytes.left(n));
}

inline void OrByte(QByteArray& out, int at, quint8 bits) {
    out[at] = char(quint8(out.at(at)) | bits);
}

// A name or other text in the device's code page, cut to its field and
// filled out with `pad`.
inline QByteArray Cp1251Field(const QString& text, int width, char pad) {
    return FixedWidth(ToCp1251(text), width, pad);
}

// Bit i set when flags[first + i] is set, for the first `count` entries (at
// most 8, and only those the array has).
template <typename A> quint8 FlagMask(const A& flags, int count, int first = 0) {
    quint8 m = 0;
    for (int i = 0; i < count && i < 8 && first + i < int(flags.size()); ++i)
        if (flags[first + i])
            m |= quint8(1u << i);
    return m;
}
