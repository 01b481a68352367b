#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QTimer;
class ReadRecBaseThread;

// The link's face towards the rest of the program: owns the current receive
// thread object and the read timer, relays the parser's signals under the
// same names, and offers one slot per command the program starts itself.
// Every command slot does nothing, and reports nothing, while no port is open.
class PortWork : public QObject {
    Q_OBJECT
public:
    explicit PortWork(QObject* parent = nullptr);
    ~PortWork() override;

    // Replaces the receive thread object (closing an open port first) with a
    // new, closed one: COM when com is true, USB otherwise. Always true.
    bool CreateReadThread(bool com);
    bool IsPortOpen() const;

    // Convenience for the current thread object: COM number (1-based entry of
    // the port table, see ComPort.h) or USB device index.
    bool OpenPort(int num, ulong& errcode);
    bool ClosePort();

    ReadRecBaseThread* readThread = nullptr;
    QTimer* readTimer = nullptr;

signals:
    void SigSetupVersion(QString ver, uchar tp, uchar build);
    void SigFillFields();
    void SigSetProgress(bool reset, bool read, int value);
    void SigTransTestPack(bool chet, QByteArray pack);
    void SigResetTestWin();
    void SigTransKeysPack(QByteArray pack);
    void SigTransMiniKeyPack(QByteArray pack);
    void SigProgrammingOk();
    void SigKeysProgramOk();
    void SigMessage(int code, bool addToTable);
    void SigSetSoundWriteProgress(int code, int curSound, int curPack);
    void SigTimeProgrammEnabled();
    void SigBreakOperation();
    void SigGetDeviceTime(QByteArray time);
    void SigGetGSMSignalLevel(QByteArray level);
    void SigImageEEPROMTransfer(QByteArray img);
    void SigGetThermsStuct(QByteArray therms);
    void SigWriteThermsOK();
    // The open port was lost (hang-up, unplugged adapter). Arrives after the
    // link has reported 301 and closed the port; IsPortOpen() is false by then.
    void SigPortLost();

public slots:
    void StartProgramming();
    void ReadEEPROMClick();
    void RunTest();
    void SetTestCommand(int command);
    void RestartDevice();
    void StartTimeProgramm();
    void GetCurrentDeviceTime();
    void WriteNewTime(QByteArray newTime);
    void GetSignalGSMLevel();
    void ReadTherms(bool findNew);
    void WriteTherms(QByteArray thermsArr);
    void StartWriteSounds();
    // The user gave up the upload: nothing more is sent and block 21 is
    // emptied, without a report (the window knows).
    void StopWriteSounds();

private slots:
    void StartReadTimer(int ms);
    void OnPortLost();

private:
    void Command(const QByteArray& bytes);
};
