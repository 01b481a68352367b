#include "comms/PultSMS.h"

#include "ui_PultSMS.h"

PultSMS::PultSMS(QWidget* parent) : ParamsPage(parent), ui(new Ui::PultSMS) {
    ui->setupUi(this);
}

PultSMS::~PultSMS() {
    delete ui;
}

void PultSMS::ApplyClick() {}

void PultSMS::CancelClick() {}
