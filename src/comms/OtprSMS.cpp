#include "comms/OtprSMS.h"

#include "ui_OtprSMS.h"

OtprSMS::OtprSMS(QWidget* parent) : ParamsPage(parent), ui(new Ui::OtprSMS) {
    ui->setupUi(this);
}

OtprSMS::~OtprSMS() {
    delete ui;
}

void OtprSMS::ApplyClick() {}

void OtprSMS::CancelClick() {}

void OtprSMS::VersionChange() {}
