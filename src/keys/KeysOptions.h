#pragma once

#include "link/Protocol.h"
#include "link/dialogs/TestModeDialog.h"

#include <QByteArray>

class QTimer;

namespace Ui {
class KeysOptions;
}

// The device's Touch-Memory key and password table, read and written in the
// device's test mode.
class KeysOptions : public TestModeDialog {
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

    bool writeConfirmed() const { return writeOk; }

public slots:
    void RegimChange();
    void ReceptKeysPack(QByteArray pack);
    void ReceptMiniKeyPack(QByteArray pack);
    void SetWriteOk();
    void RequestClick();
    void DelNoMasterKey();
    void DelKey();
    void DelAllKeys();
    void WriteKeyClick();

protected:
    void beforeLeavingTestMode() override;

private:
    Ui::KeysOptions* ui;
    QTimer* requestTimer;
    bool writeOk = false;
};
