#pragma once

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

// Byte layouts of the device protocol, as constants and small pure functions.
namespace proto {

// ---- greeting, ready packet, acknowledgement ----
QByteArray GreetingBanner(); // 13 bytes
QByteArray GreetingAnswer(); // 12 bytes
QByteArray AckPacket();      // DA 00

inline constexpr char kReadyLead = char(0xEC);
inline constexpr int kReadyMinLength = 15;
inline constexpr int kReadyDayPos = 3;  // two ASCII digits each: day, month, year
inline constexpr int kReadyTypePos = 9; // ReadyDeviceCode 1..4
inline constexpr int kReadyBuildPos = 10;
inline constexpr int kReadyCrPos = 12;
inline constexpr int kReadyLfPos = 13;
bool IsReadyPacket(const QByteArray& buf);
// "dd.MM.20yy" from a ready packet (IsReadyPacket must hold).
QString ReadyVersionText(const QByteArray& buf);
// The debug line of a ready packet's type byte.
const char* ReadyTypeLine(int typeCode);

// ---- commands of the program ----
QByteArray CmdProgram();                           // 5A 00
QByteArray CmdReadMemory();                        // D4 00
QByteArray CmdTest();                              // D7 00
QByteArray CmdLeaveTest();                         // AD 00
QByteArray CmdRestart();                           // 78 04 00
QByteArray CmdTimeMode();                          // 78 01 00
QByteArray CmdGetTime();                           // 78 02 00
QByteArray CmdWriteTime(const QByteArray& time);   // 78 03, time, 00
QByteArray CmdGsmLevel();                          // 78 05 00
QByteArray CmdReadTherms(bool findNew);            // A5, 00|01, 00
QByteArray CmdWriteTherms(const QByteArray& list); // A6, list, 00
QByteArray CmdSoundStart();                        // 59 00
inline constexpr int kSoundFillerLength = 128;
inline constexpr char kSoundFillerByte = char(0x7F);

// ---- section requests and programming outcome ----
inline constexpr int kRequestMinLength = 8;
// The section names in the order the dispatch tests them.
const QList<QByteArray>& SectionNames();
QByteArray BuildSection(const QByteArray& name); // from g_deviceSettings

// ---- memory read ----
inline constexpr char kFrameLead = 'J';
inline constexpr char kFrameMarker = 'M';
inline constexpr int kFrameLength = 15;
inline constexpr int kFrameMarkerPos = 13;
inline constexpr int kOldEndBlock = 0x5E; // block 94 ends an old-layout read

struct ReadLayout {
    bool newLayout = false; // firmware from 15.04.2010: two-byte block numbers
    int payloadOffset = 2;
    int payloadLength = 11;
    int endBlock = kOldEndBlock; // the block number of the end frame
    int progressMax = 1023;      // progress range at the first block
    int imageLength = 1023;      // bytes a complete read collects
};
ReadLayout ReadLayoutFor(const QDate& firmware);
// The frame's block number under the layout (frame holds >= 15 bytes).
int FrameBlockNumber(const QByteArray& frame, const ReadLayout& layout);
QByteArray FramePayload(const QByteArray& frame, const ReadLayout& layout);
// Progress range that a broken read leaves.
int BrokenReadProgress(const QDate& firmware);

// ---- service and thermometer frames ----
QByteArray ServiceHeader(); // AA 55 AA 53
inline constexpr int kServiceLenPos = 4;
inline constexpr int kServiceTypePos = 5;
inline constexpr int kServiceDataPos = 6;
inline constexpr int kServiceKeepUnknownBelow = 128;
inline constexpr int kTimeTextLength = 17;
inline constexpr int kTimeTextPos = 7;
enum ServiceType { SvcConfirm = 1, SvcTime = 2, SvcTimeReady = 3, SvcRestart = 4, SvcGsmLevel = 5 };

inline constexpr char kThermLead = char(0xA6);
inline constexpr char kThermWrittenLead = char(0xA7);
inline constexpr int kThermRecordLength = 20;
// Bytes a thermometer frame of n records needs (lead, count, records, one more).
inline int ThermFrameLength(int n) {
    return kThermRecordLength * n + 3;
}

// True while buf holds the head of a thermometer frame not yet complete.
inline bool ThermometerFrameArriving(const QByteArray& buf) {
    return buf.size() >= 2 && buf.at(0) == kThermLead &&
           buf.size() < ThermFrameLength(quint8(buf.at(1)));
}

inline constexpr int kMaxWaitingBytes = 254; // unrecognised bytes kept before dropping

// ---- test mode and keys ----
inline constexpr int kTestPacketMax = 14;
inline constexpr int kMasterMenuPosA = 5;
inline constexpr int kMasterMenuPosB = 12;
inline constexpr char kKeyTableLead = char(0xA4);
inline constexpr int kKeyTableLength = 256;

enum TestCommand {
    TC_KEYS_RECEIVING = -2,
    TC_KEYS_REQUESTED = -1,
    TC_ACK = 0,
    TC_EXIT_TEST = 1,
    TC_SIREN_ON = 2,
    TC_SIREN_OFF = 3,
    TC_LIGHT_ON = 4,
    TC_LIGHT_OFF = 5,
    TC_READ_KEYS = 6,
    TC_DEL_NON_MASTER = 7,
    TC_DEL_ROW18 = 8,
    TC_DEL_ROW19 = 9,
    TC_DEL_ALL = 10,
    TC_WRITE_KEYS = 11,
    TC_TM_SIGNAL_FIRST = 12,
    TC_TM_SIGNAL_LAST = 42,
    TC_DEL_KEY_FIRST = 43,
    TC_DEL_KEY_LAST = 60
};
// The 10-bit loop code at position m (from 1) of a test packet: the high
// byte (index 2m) shifted left by five, OR the low byte (index 2m - 1), each
// taken as a signed 8-bit value as the device's software always read them.
// The bits are put together on unsigned values, so a byte above 0x7F never
// shifts a negative number; such bytes give codes outside 0..1023, shown as
// they come. `ok` is false when the pair does not stand before the packet's
// final "M".
int TestPacketLoopCode(const QByteArray& pack, int m, bool* ok);

// What a test packet is answered with for a command.
struct TestAnswer {
    QList<QByteArray> sends; // each sent separately
    enum Next {
        NextQueued,
        NextReadKeys,
        NextKeysRequested,
        NextZeroClearQueue,
        NextAck
    } next = NextQueued;
};
TestAnswer AnswerFor(int command);

// ---- sound upload ----
QByteArray SoundNextPacket(); // "CRaa?"
QByteArray SoundRejected();   // "CR&&"
QByteArray SoundStored();     // "CR--?"
// The progress code of an upload given up on this side (the port was lost or
// closed): after the device's own codes 0..7.
inline constexpr int kSoundBrokenOff = 8;
QByteArray KeyPackRequest(); // "CRGE"
QByteArray KeysWritten();    // "CRGA"

} // namespace proto
