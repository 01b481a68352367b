#pragma once

#include "link/dialogs/TestModeDialog.h"

#include <QByteArray>
#include <QModelIndex>

class EditKey;
class KeyTestTable;
class KeysLoadDialog;
class QTimer;

namespace Ui {
class KeysOptions;
}

// The device's Touch-Memory key and password table in test mode: reads the
// 20 slots, follows the master-key menu and key touches, deletes slots,
// writes one edited slot or the ticked rows of a loaded table, and saves and
// loads the table as a text file. The window never touches the port: it
// queues test commands and takes the link's answers through its slots. The
// settings block KeyCodes holds the table as it goes to the device.
class KeysOptions : public TestModeDialog {
    Q_OBJECT

public:
    static constexpr int kRequestTimeoutMs = 2000;
    static constexpr int kWriteTimeoutMs = 2000;
    static constexpr int kStatusShowMs = 3000;

    explicit KeysOptions(QWidget* parent = nullptr);
    ~KeysOptions() override;

    KeyTestTable* keyModel() const { return model; }
    EditKey* editor() const { return editKey; }
    KeysLoadDialog* loadDialog() const { return keysLoad; }

signals:
    void SigSetTableIndex(QModelIndex index);
    // type 0 receiving, 1 writing, 2 deleting
    void SigShowStatus(int type, bool status);
    void SigEditKey(QModelIndex index, bool key);

public slots:
    void RegimChange();
    void ReceptKeysPack(QByteArray pack);
    void ReceptMiniKeyPack(QByteArray pack);
    void RequestClick();
    void DelKey();
    void DelNoMasterKey();
    void DelAllKeys();
    void WriteKeyClick();
    void ChangeKeyClick();
    void SetWriteOk();
    void WriteKeyTimeOut();
    void RequestKeysTimeout();
    void RejectEditKey();
    void ShowStatusMessage(int type, bool status);
    void HideRMessage();
    void HideWrMessage();
    void HideDelMessage();
    void EditClicked(QModelIndex index);
    void SaveTableClicked();
    void LoadTableClicked();
    void WriteAllTable();

protected:
    // A deletion still waiting for its outcome is forgotten: packets of a
    // later opening, perhaps of another device, must not judge it.
    void beforeLeavingTestMode() override;

private:
    int currentRow() const;
    // Resets the model and makes the row that was current current again.
    void resetKeepingRow();
    void queueDelete(int command);
    // Queues the key write and starts judging it; a confirmation left over
    // from an earlier write does not count for this one.
    void startWrite();

    KeyTestTable* model;
    EditKey* editKey;
    KeysLoadDialog* keysLoad;
    bool writeConfirmed = false; // guarded by the window's mutex
    bool deletePending = false;
    QTimer* writeTimer;
    QTimer* requestTimer;
    QTimer* receiveStatusTimer;
    QTimer* writeStatusTimer;
    QTimer* deleteStatusTimer;
    Ui::KeysOptions* ui;
    bool skipDeleteCheck = false;
};
