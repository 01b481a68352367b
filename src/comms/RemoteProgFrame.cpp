#include "comms/RemoteProgFrame.h"

#include "comms/CommsFields.h"
#include "ui_RemoteProgFrame.h"

#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

namespace {
constexpr int kRemoteServers = 2;
}

RemoteProgFrame::RemoteProgFrame(QWidget* parent)
    : ParamsPage(parent), ui(new Ui::RemoteProgFrame) {
    ui->setupUi(this);
    // The key word reaches the device as printable ASCII only.
    ui->leKeyWordSMS->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[ -~]*")), ui->leKeyWordSMS));
}

RemoteProgFrame::~RemoteProgFrame() {
    delete ui;
}

void RemoteProgFrame::ApplyClick() {
    RemoteProgSettings& rp = *settings().remoteProg;
    rp.serverAddress[0] = ui->leAdress1->text();
    rp.serverAddress[1] = ui->leAdress2->text();
    rp.serverPort[0] = u16(ui->sbPort1->value());
    rp.serverPort[1] = u16(ui->sbPort2->value());
    rp.connectToServer = ui->cbConnect->isChecked();
    rp.useProgIfNoProtect = ui->cbUseIfNoProtect->isChecked();
    for (int n = 1; n <= kRemoteServers; ++n)
        rp.phoneNumber[n - 1] = NumberFromField(numbered<QLineEdit>(QStringLiteral("leNum%1"), n));
    rp.smsKeyWord = ui->leKeyWordSMS->text();
}

void RemoteProgFrame::CancelClick() {
    const RemoteProgSettings& rp = *settings().remoteProg;
    ui->leAdress1->setText(rp.serverAddress[0]);
    ui->leAdress2->setText(rp.serverAddress[1]);
    ui->sbPort1->setValue(rp.serverPort[0]);
    ui->sbPort2->setValue(rp.serverPort[1]);
    ui->cbConnect->setChecked(rp.connectToServer);
    ui->cbUseIfNoProtect->setChecked(rp.useProgIfNoProtect);
    for (int n = 1; n <= kRemoteServers; ++n)
        ShowNumber(numbered<QLineEdit>(QStringLiteral("leNum%1"), n), rp.phoneNumber[n - 1]);
    ui->leKeyWordSMS->setText(rp.smsKeyWord);
}
