#include "link/ReadRecBaseThread.h"

#include "link/LinkTiming.h"
#include "link/Protocol.h"
#include "settings/DeviceSettings.h"
#include "settings/Firmware.h"
#include "settings/ImageDecoder.h"
#include "settings/Sections.h"

#include <QDebug>

// Holds stateMutex for one parser step; replies queued meanwhile are written
// when the outermost guard ends, after the mutex is released.
class OutboxGuard {
public:
    explicit OutboxGuard(ReadRecBaseThread* t) : t_(t) {
        t_->stateMutex.lock();
        ++t_->lockDepth;
    }
    ~OutboxGuard() {
        QList<std::pair<QByteArray, int>> out;
        if (--t_->lockDepth == 0)
            out.swap(t_->outbox);
        t_->stateMutex.unlock();
        if (out.isEmpty())
            return;
        // One thread's replies go out together and in order.
        QMutexLocker lock(&t_->outboxWriteMutex);
        for (const auto& p : out)
            t_->WriteData(p.first, p.second);
    }
    OutboxGuard(const OutboxGuard&) = delete;
    OutboxGuard& operator=(const OutboxGuard&) = delete;

private:
    ReadRecBaseThread* t_;
};

using namespace proto;

ReadRecBaseThread::ReadRecBaseThread(QObject* parent)
    : QThread(parent), greetingBanner(GreetingBanner()), greetingAnswer(GreetingAnswer()),
      ackPacket(AckPacket()) {}

ReadRecBaseThread::~ReadRecBaseThread() = default;

void ReadRecBaseThread::AppendTestCommand(int command) {
    OutboxGuard g(this);
    testCommands.append(command);
}

void ReadRecBaseThread::ClearTestCommands() {
    OutboxGuard g(this);
    testCommands.clear();
}

void ReadRecBaseThread::BeginMemoryRead() {
    OutboxGuard g(this);
    rxBuffer.clear();
    blockCounter = 0;
    repeatCount = 0;
    eepromImage.clear();
    memoryFramesIgnored = false;
    memoryReadRunning = true;
}

void ReadRecBaseThread::BeginSoundUpload() {
    OutboxGuard g(this);
    soundIndex = packetIndex = soundAttempt = 0;
    soundUploadRunning = true;
}

bool ReadRecBaseThread::DropSoundUpload(bool report) {
    OutboxGuard g(this);
    if (!soundUploadRunning)
        return false;
    EndSoundUploadLocked();
    g_deviceSettings->sounds->packets.clear();
    StopTimer();
    if (report)
        emit SigSetSoundWriteProgress(kSoundBrokenOff, 0, 0);
    return true;
}

void ReadRecBaseThread::Send(const QByteArray& bytes, int delayMs) {
    // Outside a parser step the guard is the outermost one and writes at once.
    OutboxGuard g(this);
    outbox.append({bytes, delayMs});
}

void ReadRecBaseThread::StartTimer(int ms) {
    ++timerRequests;
    emit SigStartReadTimer(ms);
}

void ReadRecBaseThread::StopTimer() {
    ++timerRequests;
    emit SigStopReadTimer();
}

void ReadRecBaseThread::ReplyHandled() {
    StopTimer();
    firstTimeoutSeen = false;
}

void ReadRecBaseThread::StartReceiving() {
    stopRequest = false;
    portOpen = true;
    start(QThread::HighPriority);
}

bool ReadRecBaseThread::TakeStopRequest() {
    if (!stopRequest)
        return false;
    stopRequest = false;
    return true;
}

bool ReadRecBaseThread::EndCycle(bool lost) {
    if (!chunk.isEmpty()) {
        ReceptByte();
        chunk.clear();
    }
    if (lost) {
        emit SigPortLost();
        return true;
    }
    return TakeStopRequest();
}

void ReadRecBaseThread::EndSoundUploadLocked() {
    soundIndex = packetIndex = soundAttempt = 0;
    soundUploadRunning = false;
}

bool ReadRecBaseThread::ClosePort() {
    // An upload cannot go on without the port: the window must not wait for it.
    DropSoundUpload(true);
    StopTimer();
    stopRequest = true;
    if (QThread::currentThread() != this)
        wait();
    stopRequest = false;
    {
        QMutexLocker lock(&writeMutex);
        ReleasePort();
    }
    portOpen = false;
    return true;
}

// ---------------------------------------------------------------- intake

void ReadRecBaseThread::ReceptByte() {
    OutboxGuard g(this);
    if (!portOpen) {
        chunk.clear();
        return;
    }
    rxBuffer.append(chunk);
    StopTimer();
    StartTimer(kwlink::kChunkReplyMs);
    ParseLocked();
}

void ReadRecBaseThread::ParseLocked() {
    // Replies that arrived together are handled one after the other; the
    // loop ends when a step consumed nothing.
    for (int step = 0; step < 64; ++step) {
        const qsizetype before = rxBuffer.size();
        ParseOnce(step == 0);
        if (rxBuffer.isEmpty() || rxBuffer.size() >= before)
            break;
    }
}

void ReadRecBaseThread::ParseOnce(bool freshChunk) {
    // A lone 00 or FF is line noise. Left over behind a handled frame it is
    // dropped quietly: stopping the timer there would cancel the reply
    // time-out that the frame just armed.
    if (!testMode && rxBuffer.size() == 1 &&
        (rxBuffer.at(0) == '\0' || rxBuffer.at(0) == char(0xFF))) {
        rxBuffer.clear();
        if (freshChunk)
            StopTimer();
        return;
    }
    if (rxBuffer == greetingBanner) {
        StopTimer();
        Send(greetingAnswer, 0);
        rxBuffer.clear();
        StartTimer(kwlink::kNextStepMs);
        firstTimeoutSeen = false;
        return;
    }
    if (IsReadyPacket(rxBuffer)) {
        StopTimer();
        const int type = quint8(rxBuffer.at(kReadyTypePos));
        emit SigSetupVersion(ReadyVersionText(rxBuffer), uchar(type),
                             uchar(rxBuffer.at(kReadyBuildPos)));
        qDebug() << ReadyTypeLine(type);
        firstTimeoutSeen = false;
        rxBuffer.clear();
        return;
    }
    if (testMode) {
        HandleTestMode();
        return;
    }
    if (DispatchOutsideTestMode())
        return;
    // Unrecognised bytes wait for more, but never without bound. A thermometer
    // list of more than twelve records is longer than that bound, so a frame
    // still arriving keeps its bytes up to its own (bounded) length.
    if (rxBuffer.size() > kMaxWaitingBytes && !ThermometerFrameArriving(rxBuffer))
        rxBuffer.remove(0, rxBuffer.size() - kMaxWaitingBytes);
}

bool ReadRecBaseThread::DispatchOutsideTestMode() {
    QByteArray& rx = rxBuffer;
    if (rx.size() >= kFrameLength && rx.at(0) == kFrameLead) {
        if (memoryFramesIgnored) {
            // Nothing waits for it: no acknowledgement, no reply time-out.
            rx.remove(0, kFrameLength);
            StopTimer();
            return true;
        }
        HandleMemoryFrame();
        return true;
    }
    if (rx.size() >= kRequestMinLength) {
        const QList<QByteArray>& names = SectionNames();
        for (const QByteArray& name : names) {
            if (!rx.startsWith(name))
                continue;
            if (name == "CRAA")
                emit SigSetProgress(true, false, 0);
            Send(BuildSection(name), 0);
            emit SigSetProgress(false, false, 100);
            rx.clear();
            firstTimeoutSeen = false;
            return true;
        }
        if (rx.startsWith("CR55")) {
            StopTimer();
            emit SigProgrammingOk();
            rx.clear();
            qDebug() << "Programming OK!";
            emit SigMessage(120, true);
            firstTimeoutSeen = false;
            return true;
        }
    }
    if (rx.startsWith("CRZZ")) {
        StopTimer();
        rx.clear();
        qDebug() << "Programming error!";
        emit SigMessage(300, true);
        firstTimeoutSeen = false;
        ResetAllLocked();
        return true;
    }
    if (HandleServiceFrame())
        return true;
    if (HandleThermometerFrame())
        return true;
    if (HandleSoundRequest())
        return true;
    if (HandleKeyWriteReply())
        return true;
    if (!rx.isEmpty() && (rx.at(0) == 'K' || rx.at(0) == 'L')) {
        testMode = true;
        if (currentCommand != TC_READ_KEYS)
            currentCommand = TakeNextCommand();
        firstTimeoutSeen = false;
        HandleTestMode();
        return true;
    }
    return false;
}

// ---------------------------------------------------------------- memory read

void ReadRecBaseThread::HandleMemoryFrame() {
    const ReadLayout layout = ReadLayoutFor(g_deviceSettings->header->firmwareDate);
    QByteArray& rx = rxBuffer;
    int& X = blockCounter;
    // Frames are handled one after the other when several arrived together
    // (a frame repeated on the line lands in the same chunk as its original).
    while (rx.size() >= kFrameLength && rx.at(0) == kFrameLead) {
        const int B = FrameBlockNumber(rx, layout);
        const bool first = layout.newLayout ? (rx.at(1) == 0 && rx.at(2) == 1) : (B == 1);
        if (first && X != 2) {
            emit SigSetProgress(true, false, layout.progressMax);
            X = 1;
            repeatCount = 0;
            eepromImage.clear(); // a restarted read must not keep the old blocks
        }
        const bool endFrame =
            layout.newLayout ? (B >= layout.endBlock) : (quint8(rx.at(1)) == kOldEndBlock);
        if (endFrame) {
            if (layout.newLayout)
                eepromImage.append(FramePayload(rx, layout));
            const bool complete = B == layout.endBlock && X == layout.endBlock &&
                                  eepromImage.size() == layout.imageLength;
            if (!complete) {
                const bool running = X != 0;
                BreakReadEEPROMLocked();
                if (running)
                    emit SigMessage(302, true);
                return;
            }
            EndMemoryRead();
            return;
        }
        if (rx.at(kFrameMarkerPos) != kFrameMarker) {
            rx.remove(0, 1);
            const int j = rx.indexOf(kFrameLead);
            if (j < 0)
                rx.clear();
            else
                rx.remove(0, j);
            continue;
        }
        const QByteArray payload = FramePayload(rx, layout);
        if (B == X && X > 0) {
            repeatCount = 0;
            eepromImage.append(payload);
            Send(ackPacket, 0);
            emit SigSetProgress(false, true, layout.newLayout ? 1 : 11);
            firstTimeoutSeen = false;
            StartTimer(kwlink::kNextStepMs);
            ++X;
            rx.remove(0, kFrameLength);
            continue;
        }
        if (B == X - 1 && X > 1) {
            const bool same = eepromImage.size() >= payload.size() &&
                              eepromImage.right(payload.size()) == payload;
            if (!same || ++repeatCount > 2) {
                BreakReadEEPROMLocked();
                emit SigMessage(302, true);
                return;
            }
            rx.remove(0, kFrameLength);
            continue;
        }
        // A block out of order: the read cannot go on. A read in progress is
        // reported as failed; a stray frame outside a read is dropped quietly.
        const bool running = X != 0;
        BreakReadEEPROMLocked();
        if (running)
            emit SigMessage(302, true);
        return;
    }
}

void ReadRecBaseThread::EndMemoryRead() {
    if (imageForTransfer) {
        emit SigImageEEPROMTransfer(eepromImage);
        imageForTransfer = false;
        eepromImage.clear();
    } else if (!eepromImage.isEmpty() && eepromImage.at(0) == 'Z') {
        QByteArray copy = eepromImage;
        ParseImage(copy, g_deviceSettings, QString());
        eepromImage.clear();
        emit SigFillFields();
        emit SigMessage(121, true);
    } else {
        eepromImage.clear();
        emit SigMessage(210, true);
        emit SigSetProgress(true, false, 358);
    }
    StopTimer();
    // Cleared for the old layout too: a flag left set would cost the next
    // command its grace period.
    firstTimeoutSeen = false;
    qDebug() << "EEPROM read OK!";
    rxBuffer.clear();
    blockCounter = 0;
    repeatCount = 0;
    memoryReadRunning = false;
}

// ---------------------------------------------------------------- service frames

bool ReadRecBaseThread::HandleServiceFrame() {
    QByteArray& rx = rxBuffer;
    if (rx.size() < 5 || !rx.startsWith(ServiceHeader()))
        return false;
    const int L = quint8(rx.at(kServiceLenPos));
    // L counts the type byte; a frame claiming L = 0 still needs its type
    // before it can be read.
    int frameLen = qMax(L + 5, kServiceTypePos + 1);
    if (rx.size() < frameLen)
        return false;
    const int type = quint8(rx.at(kServiceTypePos));
    switch (type) {
    case SvcConfirm:
        break;
    case SvcTime: {
        if (rx.size() <= kServiceDataPos)
            return false;
        const bool noTime = quint8(rx.at(kServiceDataPos)) == 1;
        // The time text must be there before it is read.
        const int need = noTime ? kServiceDataPos + 1 : kTimeTextPos + kTimeTextLength;
        if (rx.size() < need)
            return false;
        frameLen = qMax(frameLen, need);
        emit SigGetDeviceTime(noTime ? QByteArray() : rx.mid(kTimeTextPos, kTimeTextLength));
        break;
    }
    case SvcTimeReady:
        rx.remove(0, frameLen);
        emit SigMessage(126, true);
        emit SigTimeProgrammEnabled();
        ReplyHandled();
        return true;
    case SvcRestart:
        rx.clear();
        emit SigMessage(211, true);
        ReplyHandled();
        return true;
    case SvcGsmLevel: {
        const int need = kServiceDataPos + 2;
        if (rx.size() < need)
            return false;
        frameLen = qMax(frameLen, need);
        emit SigGetGSMSignalLevel(rx.mid(kServiceDataPos, 2));
        break;
    }
    default:
        // Unknown types hold the buffer until it grows large.
        return rx.size() < kServiceKeepUnknownBelow;
    }
    rx.remove(0, frameLen);
    ReplyHandled();
    return true;
}

bool ReadRecBaseThread::HandleThermometerFrame() {
    QByteArray& rx = rxBuffer;
    if (rx.size() >= 3 && rx.at(0) == kThermLead) {
        const int n = quint8(rx.at(1));
        if (rx.size() < ThermFrameLength(n))
            return false;
        emit SigGetThermsStuct(rx.mid(1, kThermRecordLength * n + 1));
        rx.clear();
        ReplyHandled();
        return true;
    }
    if (rx.size() >= 2 && rx.at(0) == kThermWrittenLead) {
        emit SigWriteThermsOK();
        rx.clear();
        ReplyHandled();
        return true;
    }
    return false;
}

// ---------------------------------------------------------------- sound upload

bool ReadRecBaseThread::HandleSoundRequest() {
    QByteArray& rx = rxBuffer;
    if (rx.size() < kRequestMinLength)
        return false;
    if (!soundUploadRunning && (rx.startsWith(SoundNextPacket()) ||
                                rx.startsWith(SoundRejected()) || rx.startsWith(SoundStored()))) {
        // A request of an upload given up or never begun: block 21 is the
        // window's until the next upload begins.
        rx.clear();
        return true;
    }
    QList<QList<QByteArray>>& packets = g_deviceSettings->sounds->packets;
    if (rx.startsWith(SoundNextPacket())) {
        rx.clear();
        if (packets.isEmpty())
            return true;
        // Only the upload's very first request starts the retry count: the
        // device asks for message 0, packet 0 again after every restart of
        // that message, and those restarts must use up its retries.
        if (soundIndex == 0 && packetIndex == 0 && soundAttempt == 0)
            soundAttempt = 1;
        if (soundIndex < packets.size() && packetIndex < packets.at(soundIndex).size()) {
            emit SigSetSoundWriteProgress(0, soundIndex, packetIndex);
            Send(packets.at(soundIndex).at(packetIndex), 0);
            ++packetIndex;
            StartTimer(kwlink::kSoundPacketMs);
        } else {
            StopTimer();
            emit SigSetSoundWriteProgress(7, soundIndex, 0);
            EndSoundUploadLocked();
        }
        return true;
    }
    if (rx.startsWith(SoundRejected())) {
        qDebug() << "Sound write error from device:" << ('"' + rx.toHex() + '"').constData();
        rx.clear();
        packetIndex = 0;
        if (soundAttempt != 4) {
            const int before = soundAttempt++;
            emit SigSetSoundWriteProgress(3, soundIndex, before);
            Send(CmdSoundStart(), 0);
            StartTimer(kwlink::kSoundRestartMs);
        } else {
            StopTimer();
            emit SigSetSoundWriteProgress(6, soundIndex, 0);
            EndSoundUploadLocked();
        }
        return true;
    }
    if (rx.startsWith(SoundStored())) {
        rx.clear();
        packetIndex = 0;
        ++soundIndex;
        if (soundIndex < packets.size()) {
            Send(CmdSoundStart(), 0);
            emit SigSetSoundWriteProgress(1, soundIndex, 0);
            soundAttempt = 1;
            StartTimer(kwlink::kSoundRestartMs);
        } else {
            emit SigSetSoundWriteProgress(2, soundIndex, 0);
            packets.clear();
            StopTimer();
            EndSoundUploadLocked();
        }
        return true;
    }
    return false;
}

// ---------------------------------------------------------------- keys and test mode

bool ReadRecBaseThread::HandleKeyWriteReply() {
    QByteArray& rx = rxBuffer;
    if (keyWriteMode) {
        const int c = rx.indexOf('C');
        if (c < 0)
            rx.clear();
        else
            rx.remove(0, c);
    }
    if (rx.size() < kRequestMinLength)
        return keyWriteMode && rx.isEmpty();
    if (rx.startsWith(KeyPackRequest())) {
        rx.clear();
        Send(BuildKeysPack(*g_deviceSettings), 0);
        firstTimeoutSeen = false;
        return true;
    }
    if (rx.startsWith(KeysWritten())) {
        // The device goes straight back to test mode: a packet that came in
        // the same read must be answered, or test mode stops with no reply
        // time-out left to restart it.
        rx.remove(0, kRequestMinLength);
        emit SigKeysProgramOk();
        ReplyHandled();
        testMode = true;
        keyWriteMode = false;
        return true;
    }
    return false;
}

int ReadRecBaseThread::TakeNextCommand() {
    return testCommands.isEmpty() ? int(TC_ACK) : testCommands.takeFirst();
}

void ReadRecBaseThread::HandleTestMode() {
    QByteArray& rx = rxBuffer;
    if (currentCommand == TC_ACK)
        currentCommand = TakeNextCommand();

    if (currentCommand == TC_KEYS_REQUESTED) {
        packBuffer.clear();
        StartTimer(kwlink::kNextStepMs);
        const int a = rx.indexOf(kKeyTableLead);
        if (a < 0) {
            rx.clear();
            return;
        }
        rx.remove(0, a);
        currentCommand = TC_KEYS_RECEIVING;
        packBuffer = rx;
        rx.clear();
        // A table that came whole is handed on now: the device waits for DA 00.
    }
    if (currentCommand == TC_KEYS_RECEIVING) {
        if (packBuffer.size() < kKeyTableLength) {
            packBuffer.append(rx);
            rx.clear();
        }
        if (packBuffer.size() > kKeyTableLength)
            packBuffer.truncate(kKeyTableLength);
        if (packBuffer.size() == kKeyTableLength) {
            StopTimer();
            emit SigTransKeysPack(packBuffer);
            currentCommand = TakeNextCommand();
            Send(ackPacket, 0);
            qDebug() << "Keys is OK!" << packBuffer.size();
            packBuffer.clear();
            rx.clear();
            firstTimeoutSeen = false;
        } else {
            StartTimer(kwlink::kNextStepMs);
        }
        return;
    }

    if (!testPackOpen) {
        const int k = rx.indexOf('K');
        const int l = rx.indexOf('L');
        const int start = (k < 0) ? l : (l < 0 ? k : qMin(k, l));
        if (start < 0) {
            rx.clear();
            return;
        }
        testPackOpen = true;
        rx.remove(0, start);
        packBuffer.clear();
    }
    int end = -1;
    for (int i = 0; i < rx.size(); ++i) {
        const char c = rx.at(i);
        if (c == kFrameMarker) {
            end = i;
            break;
        }
        packBuffer.append(c);
        if (packBuffer.size() > kTestPacketMax - 1) {
            packBuffer.clear();
            testPackOpen = false;
            rx.remove(0, i + 1);
            return;
        }
    }
    if (end < 0) {
        rx.clear();
        StartTimer(kwlink::kNextStepMs);
        return;
    }
    packBuffer.append(kFrameMarker);
    rx.remove(0, end + 1);
    testPackOpen = false;
    const bool isK = packBuffer.at(0) == 'K';
    emit SigTransTestPack(isK, packBuffer);
    // The master-menu state sits at bytes 5 and 12 of a full 'L' packet.
    if (!isK && packBuffer.size() > kMasterMenuPosB) {
        QByteArray mini;
        mini.append(packBuffer.at(kMasterMenuPosA)).append(packBuffer.at(kMasterMenuPosB));
        emit SigTransMiniKeyPack(mini);
    }
    firstTimeoutSeen = false;
    packBuffer.clear();
    StartTimer(kwlink::kNextStepMs);
    AnswerTestPacket();
}

void ReadRecBaseThread::AnswerTestPacket() {
    const int cmd = currentCommand;
    if (cmd == TC_ACK && breakRequested) {
        StopTimer();
        testMode = false;
        testPackOpen = false;
        rxBuffer.clear();
        breakRequested = false;
        return;
    }
    const TestAnswer answer = AnswerFor(cmd);
    if (cmd == TC_EXIT_TEST) {
        StopTimer();
        testMode = false;
        testPackOpen = false;
    } else if (cmd == TC_WRITE_KEYS) {
        // The device now asks for the key pack. Keep a reply time-out running
        // so a device that never asks ends in the time-out path.
        StartTimer(kwlink::kNextStepMs);
        testMode = false;
        testPackOpen = false;
        keyWriteMode = true;
        packBuffer.clear();
        rxBuffer.clear();
    }
    switch (answer.next) {
    case TestAnswer::NextQueued:
        currentCommand = TakeNextCommand();
        break;
    case TestAnswer::NextReadKeys:
        currentCommand = TC_READ_KEYS;
        break;
    case TestAnswer::NextKeysRequested:
        currentCommand = TC_KEYS_REQUESTED;
        break;
    case TestAnswer::NextZeroClearQueue:
        currentCommand = TC_ACK;
        testCommands.clear();
        break;
    case TestAnswer::NextAck:
        currentCommand = TC_ACK;
        break;
    }
    for (const QByteArray& s : answer.sends)
        Send(s, kwlink::kTestAnswerDelayMs);
    if (cmd == TC_EXIT_TEST)
        rxBuffer.clear();
}

// ---------------------------------------------------------------- recovery

void ReadRecBaseThread::TimeOut() {
    OutboxGuard g(this);
    if (timerRequests.load() != timerApplied.load())
        return; // a timer change is still on its way: this expiry is stale
    qDebug() << "Read timeout!";
    if (soundAttempt != 0) {
        if (soundAttempt != 4) {
            const int before = soundAttempt++;
            emit SigSetSoundWriteProgress(4, soundIndex, before);
            Send(QByteArray(kSoundFillerLength, kSoundFillerByte), 0);
            StartTimer(kwlink::kSoundRestartMs);
            qDebug() << "error sound";
            return;
        }
        EndSoundUploadLocked();
        emit SigSetSoundWriteProgress(5, 0, 0);
    } else if (!firstTimeoutSeen) {
        firstTimeoutSeen = true;
        rxBuffer.clear();
        if (FwOnOrAfter(g_deviceSettings->header->firmwareDate, fw::k19_04_2012) && testMode) {
            Send(CmdLeaveTest(), 0);
            Send(CmdTest(), kwlink::kTestAnswerDelayMs);
            qDebug() << "Restart test mode!";
        }
        StartTimer(kwlink::kGraceMs);
        return;
    }
    ResetAllLocked();
    emit SigMessage(301, true);
}

void ReadRecBaseThread::ResetAll() {
    OutboxGuard g(this);
    ResetAllLocked();
}

void ReadRecBaseThread::ResetAllLocked() {
    emit SigSetupVersion(QString(), 0, 0);
    StopTimer();
    emit SigSetProgress(true, false, 358);
    emit SigResetTestWin();
    rxBuffer.clear();
    eepromImage.clear();
    testPackOpen = false;
    testMode = false;
    keyWriteMode = false;
    currentCommand = 0;
    packetIndex = 0;
    soundIndex = 0;
    firstTimeoutSeen = false;
    testCommands.clear();
    breakRequested = false;
    memoryReadRunning = false;
}

void ReadRecBaseThread::BreakOperation() {
    OutboxGuard g(this);
    BreakOperationLocked();
}

void ReadRecBaseThread::BreakOperationLocked() {
    Send(CmdTest(), 0);
    Send(CmdLeaveTest(), 0);
    breakRequested = true;
    // A memory read under way ends here, on this side too: the device was
    // told to stop, and whoever asked for the read has gone elsewhere. Its
    // blocks are dropped unreported, its reply time-out ends, and frames
    // still on the line are not taken for a new read.
    memoryFramesIgnored = true;
    if (memoryReadRunning || blockCounter != 0) {
        memoryReadRunning = false;
        StopTimer();
        rxBuffer.clear();
        eepromImage.clear();
        blockCounter = 0;
        repeatCount = 0;
        emit SigSetProgress(true, false,
                            BrokenReadProgress(g_deviceSettings->header->firmwareDate));
    }
    // A device that obeys the leave command sends no further test packet, so
    // no packet would ever end test mode here, and the frames of the next
    // memory read or programming would be taken for test packets: end it now,
    // with the packet time-out that has nothing left to wait for. A packet
    // already under way re-enters test mode and, with the break flag set,
    // ends it again.
    if (testMode) {
        StopTimer();
        testMode = false;
        testPackOpen = false;
        packBuffer.clear();
    }
}

void ReadRecBaseThread::BreakReadEEPROM() {
    OutboxGuard g(this);
    BreakReadEEPROMLocked();
}

void ReadRecBaseThread::BreakReadEEPROMLocked() {
    StopTimer();
    memoryReadRunning = false;
    blockCounter = 0;
    repeatCount = 0;
    BreakOperationLocked();
    rxBuffer.clear();
    eepromImage.clear();
    emit SigSetProgress(true, false, BrokenReadProgress(g_deviceSettings->header->firmwareDate));
}

void ReadRecBaseThread::WriteData(const QByteArray& data, int delayMs) {
    QMutexLocker lock(&writeMutex);
    if (delayMs > 0)
        QThread::msleep(ulong(delayMs));
    const int size = int(data.size());
    const int blocks = (size + kwlink::kWriteBlockSize - 1) / kwlink::kWriteBlockSize;
    for (int i = 1; i <= blocks; ++i) {
        const int offset = (i - 1) * kwlink::kWriteBlockSize;
        const int len = qMin(kwlink::kWriteBlockSize, size - offset);
        if (!WriteBlock(data.constData() + offset, len))
            return;
        if (i >= 3)
            BreakPulse();
    }
}
