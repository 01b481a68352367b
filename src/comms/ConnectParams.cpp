#include "comms/ConnectParams.h"

#include "settings/DeviceSettings.h"
#include "ui_ConnectParams.h"

ConnectParams::ConnectParams(QWidget* parent) : ParamsPage(parent), ui(new Ui::ConnectParams) {
    ui->setupUi(this);
}

ConnectParams::~ConnectParams() {
    delete ui;
}

QByteArray ConnectParams::NextObjectNumber(const QByteArray& number) {
    bool ok = false;
    const int value = number.toInt(&ok);
    const int next = ok ? value + 1 : 1;
    return (QByteArray("0000") + QByteArray::number(next)).right(4);
}

void ConnectParams::ApplyClick() {
    DeviceSettings* s = g_deviceSettings;
    if (!s || s->header->workMode == MODE_AUTONOMOUS)
        return;
    s->connection->objectNumber = QByteArray::number(ui->sbNumObj->value()).rightJustified(4, '0');
    s->connection->autoIncrementNumber = ui->cbIncNum->isChecked() ? 1 : 0;
}

void ConnectParams::CancelClick() {
    const DeviceSettings* s = g_deviceSettings;
    if (!s)
        return;
    ui->sbNumObj->setValue(s->connection->objectNumber.toInt());
    ui->cbIncNum->setChecked(s->connection->autoIncrementNumber != 0);
}

void ConnectParams::VersionChange() {}

void ConnectParams::IncrementNumObj() {
    DeviceSettings* s = g_deviceSettings;
    if (!s || s->header->workMode == MODE_AUTONOMOUS || !s->connection->autoIncrementNumber)
        return;
    s->connection->objectNumber = NextObjectNumber(s->connection->objectNumber);
    ui->sbNumObj->setValue(s->connection->objectNumber.toInt());
}

bool ConnectParams::RevisionUsingGBR() {
    return true;
}

void ConnectParams::setCbPPM9Enabled(bool) {}
void ConnectParams::setCbPPM10Enabled(bool) {}
void ConnectParams::setCbPPM11Enabled(bool) {}
void ConnectParams::setCbPPM12Enabled(bool) {}
void ConnectParams::setCbPPM13Enabled(bool) {}
void ConnectParams::setCbPPM14Enabled(bool) {}
void ConnectParams::setCbPPM15Enabled(bool) {}
