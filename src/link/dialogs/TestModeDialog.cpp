#include "link/dialogs/TestModeDialog.h"

#include "link/Protocol.h"

TestModeDialog::TestModeDialog(int statusOn, int statusOff, QWidget* parent)
    : QDialog(parent), statusOn(statusOn), statusOff(statusOff) {}

void TestModeDialog::CancelClick() {
    if (leaving)
        return;
    leaving = true;
    beforeLeavingTestMode();
    emit SigSetTestCommand(proto::TC_EXIT_TEST);
    emit SigExitWindow();
    if (reported) {
        reported = false;
        emit SigMessage(statusOff, true);
    }
    QDialog::reject();
    leaving = false;
}

void TestModeDialog::reject() {
    CancelClick();
}

void TestModeDialog::reportTestModeEntered() {
    if (isActiveWindow() && !reported) {
        reported = true;
        emit SigMessage(statusOn, true);
    }
}
