#pragma once

#include <QDialog>

// A window that works in the device's test mode (the test window, the key
// table). It hands the link the test commands to send, reports entering and
// leaving the mode once each, and leaves the mode however it is closed.
class TestModeDialog : public QDialog {
    Q_OBJECT

public:
    // statusOn / statusOff: the status codes logged on entering and leaving.
    TestModeDialog(int statusOn, int statusOff, QWidget* parent = nullptr);

    bool testModeReported() const { return reported; }

signals:
    void SigSetTestCommand(int);
    void SigMessage(int code, bool addToTable);
    void SigExitWindow();

public slots:
    // Sends the exit command, tells the wizard, logs the leaving once and
    // closes. Closing from inside (reject) comes back here only once.
    void CancelClick();

protected:
    void reject() override;
    // The device answered in test mode: the first answer that arrives while
    // the window is active is logged.
    void reportTestModeEntered();
    // Work of the window itself before the exit command goes out.
    virtual void beforeLeavingTestMode() {}

private:
    const int statusOn;
    const int statusOff;
    bool reported = false;
    bool leaving = false;
};
