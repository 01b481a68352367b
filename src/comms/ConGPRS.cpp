#include "comms/ConGPRS.h"

#include "ui_ConGPRS.h"

ConGPRS::ConGPRS(QWidget* parent) : ParamsPage(parent), ui(new Ui::ConGPRS) {
    ui->setupUi(this);
}

ConGPRS::~ConGPRS() {
    delete ui;
}

void ConGPRS::ApplyClick() {}

void ConGPRS::CancelClick() {}

void ConGPRS::VersionChange() {}

void ConGPRS::setCbUseSIM2Checked(bool) {}

void ConGPRS::SetGPRSForced(bool) {}
