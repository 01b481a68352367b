#pragma once

#include "settings/DeviceSettings.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

// A simulated alarm device on the master end of a pseudo-terminal. The
// program under test opens SlavePath() as its serial port. The device speaks
// its side of the byte protocol: greeting and ready packet, programming
// requests, the memory read, service and thermometer frames, test mode with
// the key table and key write, and the sound upload. Scripted faults make it
// misbehave once at a chosen point. With pacing on, both directions run at
// the 9600-baud wire rate (960 bytes per second).
//
// Every method may be called from any thread; the device runs on its own.
class SimDevice {
public:
    enum class Fault {
        None,
        Silence,         // at the point, stop answering anything (until Reset/SetSilent(false))
        Garbage,         // at the point, send garbage in place of the reply, then fall silent
        ShortGarbage,    // at the point, send a few bytes of garbage, then fall silent
        DropFrame,       // memory read: skip block `at`
        RepeatFrame,     // memory read: send block `at` 1 + count times in a row
        WrongBlock,      // memory read: number block `at` as at + 7
        PrematureEnd,    // memory read: send the end frame in place of block `at`
        HangUp,          // at the point, close the line
        NoKeyRequest,    // key write: never ask for the key pack (no CRGE)
        NoKeyConfirm,    // key write: never send CRGA
        RejectSound,     // sound upload: answer sound `at` with CR&& `count` times
        NoDeleteConfirm, // test mode: the next deletion is neither done nor confirmed
        LateKeyConfirm,  // key write: send CRGA `count` ms late (packets resume after it)
        BadKeyCheck,     // key table: the next one ends in a wrong check byte
        AskPastEnd,      // sound upload: once sound `at` is complete, ask for one more packet
        Hold,            // at the point, hold (see SetHeld) before going on
    };

    // One slot of the device's key table.
    struct KeyRow {
        QByteArray key = "FF-FF-FF-FF-FF-FF"; // "HH-HH-HH-HH-HH-HH"
        bool present = false;
        bool gbr = false; // rows 0..17 only
        bool operator==(const KeyRow& o) const {
            return key == o.key && present == o.present && gbr == o.gbr;
        }
    };

    struct TestAnswerRecord {
        QByteArray bytes;         // the two bytes received
        int packet = 0;           // number of the test packet answered (from 1)
        double msAfterPacket = 0; // from the packet's last byte to the answer's arrival
    };

    SimDevice();
    ~SimDevice();
    SimDevice(const SimDevice&) = delete;
    SimDevice& operator=(const SimDevice&) = delete;

    bool Start();
    void Stop();
    QString SlavePath() const;

    // ---- identity and contents ----
    void SetIdentity(uchar modelCode, const QDate& firmwareDate, uchar build);
    QDate FirmwareDate() const;
    // The memory the read streams; cut or padded (0xFF) to the firmware's length.
    void SetMemoryImage(const QByteArray& image);
    // Sections asked for after 5A 00; empty means the firmware's default order
    // (seven sections, CRFF too from 19.04.2012 with a build other than 0).
    void SetSectionOrder(const QList<QByteArray>& names);
    void SetProgrammingOk(bool ok); // CR55 (default) or CRZZ at the end
    void SetPaced(bool paced);
    void SetSilent(bool silent);
    // While held, the device takes in what arrives but acts on nothing; on
    // release it goes on from where it held (a Hold fault's point) and then
    // handles what arrived meanwhile. Reset releases it without going on.
    void SetHeld(bool held);
    bool Held() const;
    // Thermometer records (20 bytes each) sent after A5 01 00. A search
    // (A5 00 00) first adds the searchable ones; a write (A6) replaces the
    // identifiers and limits, each sensor keeping its own temperature.
    void SetThermometers(const QByteArray& records, int count);
    void SetSearchableThermometers(const QByteArray& records, int count);
    void SetThermometerTemperature(int index, float celsius);
    QByteArray Thermometers() const; // the records as they stand
    // The clock 78 02 returns and 78 03 sets; empty: "no time" (byte 6 = 1).
    void SetDeviceTime(const QByteArray& text17);
    QByteArray DeviceTime() const;
    void SetGsmLevel(const QByteArray& twoDigits);
    // Test mode: the packets sent in turn (default a 'K' and an 'L' packet),
    // and the pause before the next packet after an answer.
    void SetTestPackets(const QList<QByteArray>& packets);
    void SetTestPacketIntervalMs(int ms);
    // Key table: bytes 1..254 (the check byte is computed); sent in pieces of
    // these sizes with a pause between them (empty: whole).
    void SetKeyTable(const QByteArray& body254);
    void SetKeyTableSplit(const QList<int>& pieces, int pauseMs);
    // The key table as rows (20; missing rows are empty), and as it stands
    // after the key writes and deletions the device took.
    void SetKeyRows(const QList<KeyRow>& rows);
    QList<KeyRow> KeyRows() const;

    // ---- the device's wire formats, written out independently of the link ----
    static QByteArray KeyTableBlock(const QByteArray& body254); // A4, body, check byte
    // Bytes 1..254 of a key table holding the rows: each slot's digits, one
    // per byte, least significant byte first; the flags four rows a byte,
    // the byte of the later rows first.
    static QByteArray KeyTableBody(const QList<KeyRow>& rows);
    static QList<KeyRow> KeyRowsOf(const QByteArray& body254);
    // A 14-byte 'L' test packet with the key number and master-menu byte.
    static QByteArray LPacket(uchar keyNumber, uchar menuState);
    static QByteArray Greeting();       // 13 bytes
    static QByteArray GreetingAnswer(); // what the program answers
    static QByteArray ReadyPacket(uchar model, const QDate& firmware, uchar build);
    static QByteArray Request(const QByteArray& text); // "CRAA" etc. padded to 8 bytes
    // A memory frame; twoByteNumbers for firmware from 15.04.2010.
    static QByteArray MemoryFrame(int block, const QByteArray& payload, bool twoByteNumbers);
    static QByteArray ServiceFrame(int type, const QByteArray& data);
    // Test packets from values: a "K" packet with loops 1-6, an "L" packet
    // with loops 7 and 8, the key number, the mains byte and the supply code.
    static QByteArray TestPacketK(const QList<int>& codes);
    static QByteArray TestPacketL(int code7, int code8, int key, int mains, int supply);
    // One 20-byte thermometer record.
    static QByteArray ThermometerRecord(const QByteArray& id8, float celsius, float upper,
                                        float lower);
    // What a section request must be answered with: the builder's bytes for
    // g_deviceSettings, read on the calling thread.
    static QByteArray SectionFor(const QByteArray& name);

    void ArmFault(Fault fault, int at = 1, int count = 1);
    // Clears faults, silence, records and the exchange state.
    void Reset();

    // ---- actions ----
    void SendGreeting();
    void SendRaw(const QByteArray& bytes);
    void HangUp();

    // ---- observation ----
    QByteArray Received() const;
    QList<QByteArray> SectionsAsked() const;
    QList<QByteArray> SectionAnswers() const;
    int AcksReceived() const;
    int FramesSent() const;
    bool InTestMode() const;
    QList<TestAnswerRecord> TestAnswers() const;
    int TestPacketsSent() const;
    QList<QByteArray> KeyPacks() const;
    int KeyTableAcks() const;
    // Per sound, the packets received.
    QList<QList<QByteArray>> SoundPackets() const;
    int SoundStarts() const; // 59 00 received
    int FillerBytes() const; // 7F bytes received during an upload
    QList<QByteArray> ServiceCommands() const;
    bool ProgrammingDone() const;
    bool ReadDone() const;
    qint64 BytesSent() const;
    qint64 BytesReceived() const;
    void ResetCounters();

    // Waits (without an event loop) until pred holds or the time passes.
    bool WaitUntil(const std::function<bool()>& pred, int timeoutMs) const;

private:
    enum class State {
        Idle,
        AwaitGreetingAnswer,
        AwaitSection,
        AwaitFrameAck,
        Test,
        AwaitKeyTableAck,
        AwaitKeyPack,
        AwaitSoundPacket,
        Dead,
    };
    using Clock = std::chrono::steady_clock;
    struct TimedByte {
        char byte;
        Clock::time_point at;
    };

    void Loop();
    void ProcessByte(char b, Clock::time_point at);
    void ProcessIdle();
    void Queue(const QByteArray& bytes);
    void QueueAfter(const QByteArray& bytes, int delayMs);
    void Wake();
    void StartProgramming();
    void NextSection();
    void StartRead();
    void SendFrame(int block);
    void SendTestPacket();
    void SendKeyTable();
    // A key pack received: the table takes its slots and flags.
    void StoreKeyPack(const QByteArray& pack);
    // A deletion command of test mode (2B, 2C, 2D, 01..12); false for others.
    bool Delete(quint8 command);
    void BeginSoundRequest();
    void FinishSoundPacket();
    bool TakeFault(Fault f, int at, int* count = nullptr);
    // Bytes of a section's answer as the device knows them: the number
    // sections and "CRFF" have fixed sizes, "CR99" the size of this firmware;
    // -1 for a text section, which ends at its '>' and NUL.
    int AnswerLength(const QByteArray& name) const;
    // Silence, HangUp, Garbage or ShortGarbage armed at this point: applied,
    // and true.
    bool TakeLineFault(int at);
    // The next two bytes received, taken; empty while fewer have arrived.
    QByteArray TakeTwo();
    // The next test packet goes out testIntervalMs_ after this moment.
    void ScheduleTestPacket(Clock::time_point after);
    void GoSilentWith(const QByteArray& garbage);
    // A Hold fault armed at this point: the device holds, and true.
    bool TakeHold(int at, std::function<void()> then);
    void CloseLine();

    mutable std::mutex m_;
    mutable std::condition_variable changed_;
    std::thread thread_;
    bool quit_ = false;
    int master_ = -1;
    int slave_ = -1;
    int wake_[2] = {-1, -1};
    QString slavePath_;

    // configuration
    // The device's own picture of itself, as the program keeps it once the
    // device has announced itself: the section layouts follow from it. The
    // device never reads the program's live settings.
    DeviceHeader header_;
    uchar model_ = 1;
    QDate fwDate_;
    uchar build_ = 1;
    QByteArray image_;
    QList<QByteArray> sectionOrder_;
    bool programOk_ = true;
    bool paced_ = false;
    bool silent_ = false;
    bool held_ = false;
    std::function<void()> onRelease_; // where a Hold fault stopped
    QByteArray therms_;
    int thermCount_ = 0;
    QByteArray searchable_;
    int searchableCount_ = 0;
    QByteArray time_ = "24/05/17,10:20:30";
    QByteArray gsm_ = "17";
    QList<QByteArray> testPackets_;
    int testIntervalMs_ = 60;
    QByteArray keyBody_;
    QList<int> keySplit_;
    bool deletionDone_ = false;  // the next 'L' packet names key 21
    bool refuseDeletes_ = false; // until the next test packet
    int keySplitPauseMs_ = 30;
    struct ArmedFault {
        Fault fault;
        int at;
        int count;
    };
    QList<ArmedFault> faults_;

    // exchange state
    State state_ = State::Idle;
    QByteArray in_;
    QList<QByteArray> sections_;
    int sectionIndex_ = 0;
    int sectionLength_ = 0;
    int block_ = 0;
    int repeatsLeft_ = 0;
    int testPacketNo_ = 0;
    Clock::time_point lastPacketAt_{};
    Clock::time_point nextPacketAt_{};
    bool packetDue_ = false;
    bool packetOutstanding_ = false;
    int soundNo_ = 0; // sound being received
    qint64 soundRemaining_ = 0;
    bool soundFirstPacket_ = true;
    int soundPacketLength_ = 0;

    // records
    QByteArray received_;
    QList<QByteArray> asked_;
    QList<QByteArray> answers_;
    int acks_ = 0;
    int framesSent_ = 0;
    QList<TestAnswerRecord> testAnswers_;
    QList<QByteArray> keyPacks_;
    int keyTableAcks_ = 0;
    QList<QList<QByteArray>> soundPackets_;
    int soundStarts_ = 0;
    int filler_ = 0;
    QList<QByteArray> service_;
    bool programmingDone_ = false;
    bool readDone_ = false;
    qint64 bytesSent_ = 0;
    qint64 bytesReceived_ = 0;

    // the wire
    std::deque<TimedByte> out_;
    std::deque<TimedByte> arriving_;
    Clock::time_point lastOut_{};
    Clock::time_point lastIn_{};
    struct Delayed {
        Clock::time_point at;
        QByteArray bytes;
    };
    QList<Delayed> delayed_;
};
