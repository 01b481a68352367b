#include "comms/DopSMS.h"

#include "ui_DopSMS.h"

DopSMS::DopSMS(QWidget* parent) : ParamsPage(parent), ui(new Ui::DopSMS) {
    ui->setupUi(this);
}

DopSMS::~DopSMS() {
    delete ui;
}

void DopSMS::ApplyClick() {}

void DopSMS::CancelClick() {}

void DopSMS::VersionChange() {}
