#include "link/Protocol.h"

#include "settings/DeviceSettings.h"
#include "settings/Firmware.h"
#include "settings/Sections.h"

namespace proto {

QByteArray GreetingBanner() {
    return QByteArray("\r\n\r\n\r\n\r\nAT\r\n", 12) + QByteArray(1, '\0');
}

QByteArray GreetingAnswer() {
    QByteArray a(10, '\0');
    a.append(char(0x37));
    a.append('\0');
    return a;
}

QByteArray AckPacket() {
    return QByteArray::fromHex("da00");
}

bool IsReadyPacket(const QByteArray& buf) {
    return buf.size() >= kReadyMinLength && buf.at(0) == kReadyLead &&
           buf.at(kReadyCrPos) == '\r' && buf.at(kReadyLfPos) == '\n';
}

QString ReadyVersionText(const QByteArray& buf) {
    QByteArray t;
    t.append(buf.at(kReadyDayPos)).append(buf.at(kReadyDayPos + 1)).append('.');
    t.append(buf.at(kReadyDayPos + 2)).append(buf.at(kReadyDayPos + 3)).append('.');
    t.append("20").append(buf.at(kReadyDayPos + 4)).append(buf.at(kReadyDayPos + 5));
    return QString::fromLatin1(t);
}

const char* ReadyTypeLine(int typeCode) {
    switch (typeCode) {
    case 1:
        return "Ready for programming. D.4";
    case 2:
        return "Ready for programming. Mirvel-K";
    case 3:
        return "Ready for programming. D.8";
    case 4:
        return "Ready for programming. Mirvel";
    default:
        return "Not Support!";
    }
}

QByteArray CmdProgram() {
    return QByteArray::fromHex("5a00");
}
QByteArray CmdReadMemory() {
    return QByteArray::fromHex("d400");
}
QByteArray CmdTest() {
    return QByteArray::fromHex("d700");
}
QByteArray CmdLeaveTest() {
    return QByteArray::fromHex("ad00");
}
QByteArray CmdRestart() {
    return QByteArray::fromHex("780400");
}
QByteArray CmdTimeMode() {
    return QByteArray::fromHex("780100");
}
QByteArray CmdGetTime() {
    return QByteArray::fromHex("780200");
}
QByteArray CmdWriteTime(const QByteArray& time) {
    return QByteArray::fromHex("7803") + time + QByteArray(1, '\0');
}
QByteArray CmdGsmLevel() {
    return QByteArray::fromHex("780500");
}
QByteArray CmdReadTherms(bool findNew) {
    return QByteArray::fromHex(findNew ? "a50000" : "a50100");
}
QByteArray CmdWriteTherms(const QByteArray& list) {
    return QByteArray(1, kThermLead) + list + QByteArray(1, '\0');
}
QByteArray CmdSoundStart() {
    return QByteArray::fromHex("5900");
}

namespace {
struct SectionEntry {
    const char* name;
    QByteArray (*build)(const DeviceSettings&);
};
// The section names in the order the dispatch tests them, with their builders.
constexpr SectionEntry kSections[] = {
    {"CRAA", BuildPackCRAA}, {"CRQQ", BuildPackCRQQ}, {"CRMM", BuildPackCRMM},
    {"CRHH", BuildPackCRHH}, {"CR77", BuildPackCR77}, {"CR88", BuildPackCR88},
    {"CR99", BuildPackCR99}, {"CRFF", BuildPackCRFF},
};
} // namespace

const QList<QByteArray>& SectionNames() {
    static const QList<QByteArray> names = [] {
        QList<QByteArray> n;
        for (const SectionEntry& e : kSections)
            n.append(e.name);
        return n;
    }();
    return names;
}

QByteArray BuildSection(const QByteArray& name) {
    for (const SectionEntry& e : kSections)
        if (name == e.name)
            return e.build(*g_deviceSettings);
    return {};
}

ReadLayout ReadLayoutFor(const QDate& firmware) {
    ReadLayout l;
    if (!FwOnOrAfter(firmware, fw::k15_04_2010))
        return l;
    l.newLayout = true;
    l.payloadOffset = 3;
    l.payloadLength = 10;
    const bool late = FwOnOrAfter(firmware, fw::k19_04_2012);
    l.endBlock = late ? 384 : 359;
    l.progressMax = late ? 383 : 358;
    l.imageLength = late ? 3840 : 3590;
    return l;
}

int FrameBlockNumber(const QByteArray& frame, const ReadLayout& layout) {
    if (frame.size() < kFrameLength)
        return -1;
    if (!layout.newLayout)
        return int(qint8(frame.at(1)));
    return (frame.at(1) != 0 ? 256 : 0) + int(quint8(frame.at(2)));
}

QByteArray FramePayload(const QByteArray& frame, const ReadLayout& layout) {
    if (frame.size() < layout.payloadOffset + layout.payloadLength)
        return {};
    return frame.mid(layout.payloadOffset, layout.payloadLength);
}

int BrokenReadProgress(const QDate& firmware) {
    return FwOnOrAfter(firmware, fw::k15_04_2010) ? 358 : 1023;
}

QByteArray ServiceHeader() {
    return QByteArray::fromHex("aa55aa53");
}

int TestPacketLoopCode(const QByteArray& pack, int m, bool* ok) {
    *ok = m >= 1 && 2 * m < pack.size() - 1;
    if (!*ok)
        return 0;
    // Sign-extended as the signed reading gives them, then shifted unsigned.
    const quint32 low = quint32(qint32(qint8(pack.at(2 * m - 1))));
    const quint32 high = quint32(qint32(qint8(pack.at(2 * m))));
    return int(((high << 5) & 0xFFFFu) | low);
}

TestAnswer AnswerFor(int command) {
    auto two = [](int b) { return QByteArray(1, char(b)) + QByteArray(1, '\0'); };
    TestAnswer a;
    switch (command) {
    case TC_EXIT_TEST:
        a.sends = {two(0xAD)};
        a.next = TestAnswer::NextZeroClearQueue;
        return a;
    case TC_SIREN_ON:
        a.sends = {two(0xC6)};
        return a;
    case TC_SIREN_OFF:
        a.sends = {two(0xB4)};
        return a;
    case TC_LIGHT_ON:
        a.sends = {two(0xC2)};
        return a;
    case TC_LIGHT_OFF:
        a.sends = {two(0xB3)};
        return a;
    case TC_READ_KEYS:
        a.sends = {two(0x2E)};
        a.next = TestAnswer::NextKeysRequested;
        return a;
    case TC_DEL_NON_MASTER:
        a.sends = {two(0x2B)};
        a.next = TestAnswer::NextReadKeys;
        return a;
    case TC_DEL_ROW18:
        a.sends = {two(0x2C)};
        a.next = TestAnswer::NextReadKeys;
        return a;
    case TC_DEL_ROW19:
        a.sends = {two(0x2D)};
        a.next = TestAnswer::NextReadKeys;
        return a;
    case TC_DEL_ALL:
        a.sends = {two(0x2B), two(0x2C), two(0x2D)};
        a.next = TestAnswer::NextReadKeys;
        return a;
    case TC_WRITE_KEYS:
        a.sends = {two(0x2F)};
        return a;
    default:
        break;
    }
    if (command >= TC_TM_SIGNAL_FIRST && command <= TC_TM_SIGNAL_LAST) {
        a.sends = {two(command)};
        return a;
    }
    if (command >= TC_DEL_KEY_FIRST && command <= TC_DEL_KEY_LAST) {
        a.sends = {two(command - 42)};
        a.next = TestAnswer::NextReadKeys;
        return a;
    }
    // 0 and anything no table row names: the plain acknowledgement.
    a.sends = {AckPacket()};
    a.next = TestAnswer::NextAck;
    return a;
}

QByteArray SoundNextPacket() {
    return "CRaa?";
}
QByteArray SoundRejected() {
    return "CR&&";
}
QByteArray SoundStored() {
    return "CR--?";
}
QByteArray KeyPackRequest() {
    return "CRGE";
}
QByteArray KeysWritten() {
    return "CRGA";
}

} // namespace proto
