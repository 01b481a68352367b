#include "settings/TextCodec.h"

#include <QStringConverter>
#include <QTextCodec>

namespace {
QTextCodec* cp1251() {
    static QTextCodec* codec = QTextCodec::codecForName("Windows-1251");
    return codec;
}
} // namespace

QByteArray ToCp1251(const QString& text) {
    // The codec substitutes '?' for characters outside the code page.
    return cp1251()->fromUnicode(text);
}

QString FromCp1251(const QByteArray& bytes) {
    return cp1251()->toUnicode(bytes);
}

QByteArray ToLatin1(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text)
        out.append(c.unicode() < 256 ? char(c.unicode()) : '?');
    return out;
}

bool IsValidUtf8(const QByteArray& bytes) {
    QStringDecoder dec(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString s = dec.decode(bytes);
    return !dec.hasError();
}

QByteArray FixedWidth(const QByteArray& bytes, int width, char pad) {
    QByteArray out = bytes.left(width);
    if (out.size() < width)
        out.append(width - out.size(), pad);
    return out;
}

QByteArray PhoneToBcd(const QString& number) {
    QByteArray out(5, '\0');
    for (int i = 0; i < 10; ++i) {
        int digit = 0;
        if (i < number.size()) {
            const QChar c = number.at(i);
            if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
                digit = c.unicode() - '0';
        }
        const int byte = i / 2;
        out[byte] = char(uchar(out[byte]) | (i % 2 == 0 ? digit << 4 : digit));
    }
    return out;
}

QString BcdToPhone(const QByteArray& bytes) {
    return QString::fromLatin1(bytes.left(5).toHex());
}
