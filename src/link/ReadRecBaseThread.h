#pragma once

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QRecursiveMutex>
#include <QString>
#include <QThread>

#include <atomic>
#include <utility>

// One receive thread per open port: run() polls the port and hands what
// arrived to the protocol parser ReceptByte(). The object itself lives in the
// GUI thread, so its slots TimeOut() and BreakOperation() run there; only
// run() and what it calls run in the receive thread.
//
// The parser fields are shared by both threads. They are guarded by
// stateMutex; replies produced while it is held are queued and written only
// after it is released, so the GUI thread never waits for a port write of the
// parser, and the parser never waits for the GUI thread.
class ReadRecBaseThread : public QThread {
    Q_OBJECT
public:
    explicit ReadRecBaseThread(QObject* parent = nullptr);
    ~ReadRecBaseThread() override;

    // Sends bytes, in blocks of at most 64, with a break pulse after every
    // block from the third on. The delay (ms) is slept in the calling thread
    // first. Calls from the two threads are serialised. A block that does not
    // go out whole ends the write: the device would misread what follows.
    virtual void WriteData(const QByteArray& data, int delayMs);
    // Ends a running upload (reported), stops the receive loop, then
    // releases the port (ReleasePort) while no write can be under way.
    // Always true.
    virtual bool ClosePort();

protected:
    // One block of a WriteData call; false when it did not go out whole.
    virtual bool WriteBlock(const char* data, int len) {
        Q_UNUSED(data);
        Q_UNUSED(len);
        return false;
    }
    // The break pulse that follows a block from the third on.
    virtual void BreakPulse() {}
    // Purges and closes the port; called by ClosePort with writeMutex held
    // once the receive loop has ended.
    virtual void ReleasePort() {}
    // Held while a block is written and while a port is released, so a
    // write never meets a half-closed port.
    QMutex writeMutex;

public:
    // ---- transport state ----
    QByteArray chunk;                     // bytes read in the current cycle
    std::atomic<bool> stopRequest{false}; // set by ClosePort, cleared by run()
    std::atomic<bool> portOpen{false};    // from a successful OpenPort until ClosePort
    std::atomic<bool> isComPort{false};   // COM thread (true) or USB thread (false)

    // ---- protocol constants ----
    QByteArray greetingBanner; // 0D 0A x4, "AT", 0D 0A, 00
    QByteArray greetingAnswer; // ten 00, 37, 00
    QByteArray ackPacket;      // DA 00

    // ---- parser state (guarded by stateMutex) ----
    QByteArray rxBuffer;
    QByteArray eepromImage;
    QByteArray packBuffer;
    bool firstTimeoutSeen = false;
    std::atomic<bool> imageForTransfer{false}; // set by the main window before a read
    bool testPackOpen = false;
    bool testMode = false;
    bool keyWriteMode = false;
    int blockCounter = 0;
    int repeatCount = 0;
    int soundIndex = 0;
    int packetIndex = 0;
    int soundAttempt = 0;
    // From BeginSoundUpload until the upload ends or is dropped. Block 21 is
    // read only meanwhile, so the window may replace it at any other time.
    bool soundUploadRunning = false;
    // From BeginMemoryRead until the read ends or fails.
    bool memoryReadRunning = false;
    // After a break, until the next BeginMemoryRead: memory frames still on
    // the line belong to a read that was given up and are dropped unread.
    bool memoryFramesIgnored = false;
    int currentCommand = 0;
    bool breakRequested = false;
    QList<int> testCommands;

    mutable QRecursiveMutex stateMutex;

    // Read-timer requests emitted (SigStartReadTimer/SigStopReadTimer) and
    // applied by PortWork. While they differ a timer change is still queued,
    // so an expiry that raced with it is stale and ignored.
    std::atomic<int> timerRequests{0};
    std::atomic<int> timerApplied{0};

    // Queue helpers used by PortWork from the GUI thread.
    void AppendTestCommand(int command);
    void ClearTestCommands();
    // A memory read is about to be asked for: it starts clean, also of what a
    // read broken off before it or a device leaving test mode left behind.
    void BeginMemoryRead();
    // Block 21 holds the packets of an upload about to be asked for.
    void BeginSoundUpload();
    // Gives up a running upload on this side: nothing more is sent, block 21
    // is emptied and the counters start again. With report, code
    // kSoundBrokenOff tells the window. False when no upload ran.
    bool DropSoundUpload(bool report);

signals:
    void SigSetupVersion(QString ver, uchar tp, uchar build);
    void SigFillFields();
    void SigSetProgress(bool reset, bool read, int value);
    void SigStartReadTimer(int ms);
    void SigStopReadTimer();
    void SigTransTestPack(bool chet, QByteArray pack);
    void SigResetTestWin();
    void SigTransKeysPack(QByteArray pack);
    void SigTransMiniKeyPack(QByteArray pack);
    void SigProgrammingOk();
    void SigMessage(int code, bool addToTable);
    void SigKeysProgramOk();
    void SigSetSoundWriteProgress(int code, int curSound, int curPack);
    void SigTimeProgrammEnabled();
    void SigGetDeviceTime(QByteArray time);
    void SigGetGSMSignalLevel(QByteArray level);
    void SigImageEEPROMTransfer(QByteArray img);
    void SigGetThermsStuct(QByteArray therms);
    void SigWriteThermsOK();
    // The port went away under the receive loop (cable pulled, adapter
    // unplugged, other end hung up). Emitted from the receive thread once;
    // the link then reports 301 and closes the port on the GUI thread.
    void SigPortLost();

public slots:
    void ReceptByte();
    void ResetAll();
    void TimeOut();
    void BreakReadEEPROM();
    void BreakOperation();
    virtual bool OpenPort(int num, ulong& errcode) = 0;

protected:
    // Queues a reply; it is written once the outermost locked section ends.
    void Send(const QByteArray& bytes, int delayMs);
    // The end of a successful OpenPort: marks the port open and starts run().
    void StartReceiving();
    // For run(): true (and the request cleared) when ClosePort asked the loop
    // to end.
    bool TakeStopRequest();
    // For run(), after each read cycle: hands what arrived to the parser, then
    // tells whether the loop ends (lost: the port reported a hang-up or a
    // fatal error, which is reported once; or a stop request).
    bool EndCycle(bool lost);
    void StartTimer(int ms);
    void StopTimer();
    // A reply was handled: its time-out ends and the next silence gets its
    // grace period again.
    void ReplyHandled();

private:
    // Parser steps, all called with stateMutex held.
    void ParseLocked();
    void ParseOnce(bool freshChunk);
    bool DispatchOutsideTestMode();
    void HandleMemoryFrame();
    void EndMemoryRead();
    bool HandleServiceFrame();
    bool HandleThermometerFrame();
    bool HandleSoundRequest();
    bool HandleKeyWriteReply();
    void HandleTestMode();
    void AnswerTestPacket();
    int TakeNextCommand();
    void ResetAllLocked();
    // No upload runs any more: counters back at the start.
    void EndSoundUploadLocked();
    void BreakOperationLocked();
    void BreakReadEEPROMLocked();

    QList<std::pair<QByteArray, int>> outbox;
    int lockDepth = 0;
    QMutex outboxWriteMutex; // keeps queued replies of one thread together
    friend class OutboxGuard;
};
