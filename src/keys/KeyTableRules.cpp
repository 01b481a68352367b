#include "keys/KeyTableRules.h"

#include "settings/LayoutCRFF.h"

#include <QRegularExpression>

namespace keys {
namespace {

constexpr int kSlotBytes = 12; // one hexadecimal digit per byte
constexpr int kFirstSlot = 1;
constexpr int kCheckPos = kPackLength - 1;
constexpr int kRowsPerFlagByte = 4;
// Flag bytes of rows 0-3, 4-7, 8-11, 12-15 and 16-19: each pair is stored
// with the byte of the later rows first.
constexpr int kPresentAt[] = {242, 241, 244, 243, 246};
constexpr int kGbrAt[] = {248, 247, 250, 249, 252};
constexpr int kFileKeyLines = kKeySlots;
constexpr int kFileLines = kKeySlots + kKeySlots + kOrdinaryKeys;

const QByteArray kYes = QByteArrayLiteral("да");
const QByteArray kNo = QByteArrayLiteral("нет");
const char* const kLineEnd = "\r\n";

// A byte of the table; a shorter array reads as zeros past its end.
quint8 ByteAt(const QByteArray& pack, int i) {
    return i >= 0 && i < pack.size() ? quint8(pack[i]) : 0;
}

bool FlagBit(const QByteArray& pack, const int* offsets, int row) {
    return (ByteAt(pack, offsets[row / kRowsPerFlagByte]) >> (row % kRowsPerFlagByte)) & 1;
}

} // namespace

bool SecondFamily(int devType) {
    return devType == DEV_VororaZ || devType == DEV_VoduzeR;
}

int CurrentDeviceType() {
    return g_deviceSettings ? g_deviceSettings->header->deviceType : DEV_D4M;
}

bool AutonomousMode() {
    return g_deviceSettings && g_deviceSettings->header->workMode == MODE_AUTONOMOUS;
}

char KeyTableCheckByte(const QByteArray& pack) {
    return KeysCheckCharFromXor(KeysXorRange(pack, 0, kCheckPos - 1, 0));
}

bool KeyTableValid(const QByteArray& pack) {
    return pack.size() == kPackLength && pack.at(kCheckPos) == KeyTableCheckByte(pack);
}

QByteArray SlotText(const QByteArray& pack, int row) {
    static const char kHex[] = "0123456789ABCDEF";
    const int slot = kFirstSlot + kSlotBytes * row;
    QByteArray text;
    for (int j = 0; j < 6; ++j) {
        if (j > 0)
            text.append('-');
        text.append(kHex[ByteAt(pack, slot + 10 - 2 * j) & 0x0F]);
        text.append(kHex[ByteAt(pack, slot + 11 - 2 * j) & 0x0F]);
    }
    return text;
}

bool IsPasswordText(const QByteArray& text, int devType) {
    const int lead = SecondFamily(devType) ? 15 : 12;
    const QByteArray head = text.left(lead);
    return head == QByteArray(kErasedKey).left(lead) ||
           head == QByteArray("00-00-00-00-00-").left(lead);
}

KeyTable DecodeKeyTable(const QByteArray& pack) {
    KeyTable t;
    for (int r = 0; r < kKeySlots; ++r) {
        t.key[r] = SlotText(pack, r);
        t.present[r] = FlagBit(pack, kPresentAt, r);
        if (r < kOrdinaryKeys)
            t.gbr[r] = FlagBit(pack, kGbrAt, r);
    }
    return t;
}

QString PasswordDigits(const QByteArray& text, int devType) {
    if (SecondFamily(devType))
        return QString::fromLatin1(text.right(2));
    return QString::fromLatin1(text.mid(12, 2) + text.mid(15, 2));
}

QByteArray PasswordKeyText(const QString& digits, int devType) {
    const QByteArray d = digits.toLatin1();
    if (SecondFamily(devType))
        return QByteArrayLiteral("FF-FF-FF-FF-FF-") + d;
    return QByteArrayLiteral("FF-FF-FF-FF-") + d.left(2) + '-' + d.mid(2);
}

QByteArray KeyTableFileText(const KeyCodes& keys) {
    QByteArray out;
    for (const QByteArray& key : keys.key)
        out += key + kLineEnd;
    for (u8 p : keys.keyActive)
        out += (p ? kYes : kNo) + kLineEnd;
    for (u8 g : keys.rapidResponseKey)
        out += (g ? kYes : kNo) + kLineEnd;
    return out + "---" + kLineEnd + "---";
}

bool ParseKeyTableFile(const QByteArray& bytes, KeyTable* table, int* badLine) {
    static const QRegularExpression keyLine(QStringLiteral("^[0-9A-Fa-f]{2}(-[0-9A-Fa-f]{2}){5}$"));
    const int nul = bytes.indexOf('\0');
    QString text = QString::fromUtf8(nul < 0 ? bytes : bytes.left(nul));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.last().isEmpty())
        lines.removeLast(); // the line end of the last line, not a line
    KeyTable t;
    for (int i = 0; i < kFileLines; ++i) {
        if (i >= lines.size() || (i < kFileKeyLines && !keyLine.match(lines.at(i)).hasMatch())) {
            *badLine = i + 1;
            return false;
        }
        const bool yes = !lines.at(i).startsWith(QString::fromUtf8(kNo));
        if (i < kFileKeyLines)
            t.key[i] = lines.at(i).toLatin1();
        else if (i < kFileKeyLines + kKeySlots)
            t.present[i - kFileKeyLines] = yes;
        else
            t.gbr[i - kFileKeyLines - kKeySlots] = yes;
    }
    *table = t;
    return true;
}

} // namespace keys
