#pragma once

#include "link/Protocol.h"

#include <QByteArray>
#include <QDialog>

class QTimer;

namespace Ui {
class KeysOptions;
}

// The device's Touch-Memory key and password table, read and written in the
// device's test mode.
class KeysOptions : public QDialog {
    Q_OBJECT

public:
    static constexpr int kKeyTableSize = proto::kKeyTableLength;
    static constexpr int kRequestTimeoutMs = 2000;

    explicit KeysOptions(QWidget* parent = nullptr);
    ~KeysOptions() override;

    // The check character of a key table: x = XOR of bytes 0..254, c = x & 0x1F,
    // 'A' when c is 0, else c | 0x40.
    static char KeyTableCheck(const QByteArray& pack);
    static bool KeyTableValid(const QByteArray& pack);

    bool keyModeReported() const { return keysReported; }
    bool writeConfirmed() const { return writeOk; }

signals:
    void SigSetTestCommand(int);
    void SigMessage(int code, bool addToTable);
    void SigExitWindow();

public slots:
    void RegimChange();
    void ReceptKeysPack(QByteArray pack);
    void ReceptMiniKeyPack(QByteArray pack);
    void SetWriteOk();
    void CancelClick();
    void RequestClick();
    void DelNoMasterKey();
    void DelKey();
    void DelAllKeys();
    void WriteKeyClick();

protected:
    void reject() override;

private:
    Ui::KeysOptions* ui;
    QTimer* requestTimer;
    bool keysReported = false;
    bool writeOk = false;
    bool leaving = false;
};
