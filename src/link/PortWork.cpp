#include "link/PortWork.h"

#include "link/LinkTiming.h"
#include "link/Protocol.h"
#include "link/ReadRecBaseThread.h"
#include "link/ReadRecCOMThread.h"
#include "link/ReadRecUSBThread.h"

#include <QTimer>

PortWork::PortWork(QObject* parent) : QObject(parent) {
    readTimer = new QTimer(this);
    CreateReadThread(true);
}

PortWork::~PortWork() {
    if (readThread && readThread->portOpen)
        readThread->ClosePort();
}

bool PortWork::CreateReadThread(bool com) {
    if (readThread) {
        if (readThread->portOpen)
            readThread->ClosePort();
        delete readThread;
        readThread = nullptr;
    }
    readTimer->stop();
    if (com)
        readThread = new ReadRecCOMThread(this);
    else
        readThread = new ReadRecUSBThread(this);
    ReadRecBaseThread* t = readThread;
    const auto q = Qt::QueuedConnection;
    connect(t, &ReadRecBaseThread::SigSetupVersion, this, &PortWork::SigSetupVersion, q);
    connect(t, &ReadRecBaseThread::SigFillFields, this, &PortWork::SigFillFields);
    connect(t, &ReadRecBaseThread::SigSetProgress, this, &PortWork::SigSetProgress, q);
    connect(t, &ReadRecBaseThread::SigProgrammingOk, this, &PortWork::SigProgrammingOk, q);
    connect(this, &PortWork::SigBreakOperation, t, &ReadRecBaseThread::BreakOperation);
    connect(t, &ReadRecBaseThread::SigSetSoundWriteProgress, this,
            &PortWork::SigSetSoundWriteProgress, q);
    connect(t, &ReadRecBaseThread::SigTimeProgrammEnabled, this, &PortWork::SigTimeProgrammEnabled,
            q);
    connect(t, &ReadRecBaseThread::SigGetDeviceTime, this, &PortWork::SigGetDeviceTime, q);
    connect(t, &ReadRecBaseThread::SigGetGSMSignalLevel, this, &PortWork::SigGetGSMSignalLevel, q);
    connect(t, &ReadRecBaseThread::SigTransTestPack, this, &PortWork::SigTransTestPack, q);
    connect(t, &ReadRecBaseThread::SigResetTestWin, this, &PortWork::SigResetTestWin, q);
    connect(t, &ReadRecBaseThread::SigTransKeysPack, this, &PortWork::SigTransKeysPack, q);
    connect(t, &ReadRecBaseThread::SigTransMiniKeyPack, this, &PortWork::SigTransMiniKeyPack, q);
    connect(t, &ReadRecBaseThread::SigKeysProgramOk, this, &PortWork::SigKeysProgramOk, q);
    connect(t, &ReadRecBaseThread::SigGetThermsStuct, this, &PortWork::SigGetThermsStuct, q);
    connect(t, &ReadRecBaseThread::SigWriteThermsOK, this, &PortWork::SigWriteThermsOK, q);
    connect(t, &ReadRecBaseThread::SigStartReadTimer, this, &PortWork::StartReadTimer, q);
    connect(
        t, &ReadRecBaseThread::SigStopReadTimer, this,
        [this, t]() {
            if (t != readThread)
                return;
            readTimer->stop();
            ++t->timerApplied;
        },
        q);
    connect(readTimer, &QTimer::timeout, t, &ReadRecBaseThread::TimeOut, q);
    connect(t, &ReadRecBaseThread::SigMessage, this, &PortWork::SigMessage, q);
    connect(t, &ReadRecBaseThread::SigImageEEPROMTransfer, this, &PortWork::SigImageEEPROMTransfer,
            q);
    connect(t, &ReadRecBaseThread::SigPortLost, this, &PortWork::OnPortLost, q);
    return true;
}

bool PortWork::IsPortOpen() const {
    return readThread && readThread->portOpen;
}

bool PortWork::OpenPort(int num, ulong& errcode) {
    return readThread->OpenPort(num, errcode);
}

bool PortWork::ClosePort() {
    const bool ok = readThread->ClosePort();
    readTimer->stop();
    return ok;
}

void PortWork::StartReadTimer(int ms) {
    if (sender() != readThread)
        return; // from a thread object that has since been replaced
    readTimer->start(kwlink::ScaledMs(ms));
    ++readThread->timerApplied;
}

void PortWork::OnPortLost() {
    ReadRecBaseThread* t = readThread;
    if (sender() != t || !t->portOpen)
        return;
    t->ResetAll();
    t->ClosePort();
    readTimer->stop();
    emit SigMessage(301, true);
    emit SigPortLost();
}

void PortWork::Command(const QByteArray& bytes) {
    readThread->WriteData(bytes, 0);
}

void PortWork::StartProgramming() {
    if (!IsPortOpen())
        return;
    Command(proto::CmdProgram());
    readTimer->start(kwlink::ScaledMs(kwlink::kCommandReplyMs));
    emit SigMessage(128, true);
}

void PortWork::ReadEEPROMClick() {
    if (!IsPortOpen())
        return;
    readThread->BeginMemoryRead();
    Command(proto::CmdReadMemory());
    readTimer->start(kwlink::ScaledMs(kwlink::kCommandReplyMs));
    emit SigMessage(129, true);
}

void PortWork::RunTest() {
    if (!IsPortOpen())
        return;
    readThread->ClearTestCommands();
    Command(proto::CmdTest());
    readTimer->start(kwlink::ScaledMs(kwlink::kCommandReplyMs));
}

void PortWork::SetTestCommand(int command) {
    if (!IsPortOpen())
        return;
    readThread->AppendTestCommand(command);
}

void PortWork::RestartDevice() {
    if (!IsPortOpen())
        return;
    Command(proto::CmdRestart());
    emit SigMessage(130, true);
}

void PortWork::StartTimeProgramm() {
    if (!IsPortOpen())
        return;
    emit SigMessage(127, true);
    Command(proto::CmdTimeMode());
}

void PortWork::GetCurrentDeviceTime() {
    if (!IsPortOpen())
        return;
    Command(proto::CmdGetTime());
}

void PortWork::WriteNewTime(QByteArray newTime) {
    if (!IsPortOpen())
        return;
    Command(proto::CmdWriteTime(newTime));
}

void PortWork::GetSignalGSMLevel() {
    if (!IsPortOpen())
        return;
    Command(proto::CmdGsmLevel());
}

void PortWork::ReadTherms(bool findNew) {
    if (!IsPortOpen())
        return;
    Command(proto::CmdReadTherms(findNew));
}

void PortWork::WriteTherms(QByteArray thermsArr) {
    if (!IsPortOpen())
        return;
    Command(proto::CmdWriteTherms(thermsArr));
}

void PortWork::StartWriteSounds() {
    if (!IsPortOpen())
        return;
    readThread->BeginSoundUpload();
    Command(proto::CmdSoundStart());
}

void PortWork::StopWriteSounds() {
    readThread->DropSoundUpload(false);
}
