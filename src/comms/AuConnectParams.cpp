#include "comms/AuConnectParams.h"

#include "comms/CommsFields.h"
#include "settings/Firmware.h"
#include "ui_AuConnectParams.h"

#include <QLineEdit>
#include <QSpinBox>

AuConnectParams::AuConnectParams(QWidget* parent)
    : ParamsPage(parent), ui(new Ui::AuConnectParams) {
    ui->setupUi(this);
    for (int k = 1; k <= kMainNumbers; ++k)
        connect(numbered<QLineEdit>(QStringLiteral("leNum%1"), k), &QLineEdit::editingFinished,
                this, &AuConnectParams::NumChange);
}

AuConnectParams::~AuConnectParams() {
    delete ui;
}

void AuConnectParams::ApplyClick() {
    if (!autonomous())
        return;
    PhoneNumberOptions& o = *settings().phoneOptions;
    for (int k = 1; k <= kMainNumbers; ++k) {
        o.callAttemptsOpenClose[k - 1] = numbered<QSpinBox>(QStringLiteral("sbPOSO%1"), k)->value();
        o.callAttemptsAlarm[k - 1] = numbered<QSpinBox>(QStringLiteral("sbT%1"), k)->value();
        settings().phones->number[k - 1] =
            NumberFromField(numbered<QLineEdit>(QStringLiteral("leNum%1"), k));
    }
    // Only the lowest byte is this option; the rest of the word is left alone.
    o.alarmCallUntilAnswer = (o.alarmCallUntilAnswer & ~0xFF) | (ui->cbDozvon->isChecked() ? 1 : 0);
    ConnectionParams& c = *settings().connection;
    c.objectNumber = ObjectNumberText(ui->sbNumObj->value());
    c.asyncTransfer = ui->cbUseAsyncTrans->isChecked();
    c.deleteUnsent = ui->cbDelMsgs->isChecked();
}

void AuConnectParams::CancelClick() {
    const PhoneNumberOptions& o = *settings().phoneOptions;
    for (int k = 1; k <= kMainNumbers; ++k) {
        ShowNumber(numbered<QLineEdit>(QStringLiteral("leNum%1"), k),
                   settings().phones->number[k - 1]);
        numbered<QSpinBox>(QStringLiteral("sbPOSO%1"), k)->setValue(o.callAttemptsOpenClose[k - 1]);
        numbered<QSpinBox>(QStringLiteral("sbT%1"), k)->setValue(o.callAttemptsAlarm[k - 1]);
    }
    const ConnectionParams& c = *settings().connection;
    ui->sbNumObj->setValue(ObjectNumberValue(c.objectNumber));
    ui->cbDozvon->setChecked((o.alarmCallUntilAnswer & 0xFF) != 0);
    ui->cbUseAsyncTrans->setChecked(c.asyncTransfer != 0);
    ui->cbDelMsgs->setChecked(c.deleteUnsent != 0);
}

void AuConnectParams::NumChange() {
    emit SigNumsChanged(ui->leNum1->text(), ui->leNum2->text(), ui->leNum3->text(),
                        ui->leNum4->text(), ui->leNum5->text());
}

void AuConnectParams::VersionChange() {
    ui->cbDozvon->setVisible(FwLaterThan(header(), fw::k21_09_2009));
    const bool late = FwOnOrAfter(header(), fw::k19_04_2012);
    ui->cbUseAsyncTrans->setVisible(late);
    ui->cbDelMsgs->setVisible(late);
}
