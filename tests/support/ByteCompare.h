#pragma once

#include <QByteArray>
#include <QtTest>

// Small builders for golden byte vectors and a comparison that names the first
// differing offset instead of printing two long dumps.
namespace bytes {

inline QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}
inline QByteArray zeros(int n) {
    return QByteArray(n, '\0');
}
inline QByteArray ff(int n) {
    return QByteArray(n, '\xFF');
}
// A byte string literal with its embedded NULs kept: lit("a\0b") is 3 bytes.
template <int N> QByteArray lit(const char (&s)[N]) {
    return QByteArray(s, N - 1);
}
inline QByteArray text(const char* t, int width, char pad) {
    QByteArray b(t);
    b.append(width - b.size(), pad);
    return b;
}

inline bool same(const QByteArray& actual, const QByteArray& expected, QByteArray* why) {
    if (actual.size() != expected.size()) {
        *why = "length " + QByteArray::number(actual.size()) + ", expected " +
               QByteArray::number(expected.size());
        return false;
    }
    for (int i = 0; i < actual.size(); ++i) {
        if (actual[i] != expected[i]) {
            *why = "byte " + QByteArray::number(i) + " is " + actual.mid(i, 1).toHex() +
                   ", expected " + expected.mid(i, 1).toHex();
            return false;
        }
    }
    return true;
}

} // namespace bytes

#define COMPARE_BYTES(actual, expected)                                                            \
    do {                                                                                           \
        QByteArray why_;                                                                           \
        QVERIFY2(bytes::same((actual), (expected), &why_), why_.constData());                      \
    } while (0)
