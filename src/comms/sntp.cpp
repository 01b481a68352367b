#include "comms/sntp.h"

#include "ui_sntp.h"

sntp::sntp(QWidget* parent) : ParamsPage(parent), ui(new Ui::sntp) {
    ui->setupUi(this);
}

sntp::~sntp() {
    delete ui;
}

void sntp::ApplyClick() {}

void sntp::CancelClick() {}

void sntp::VersionChange() {}

void sntp::UseGPRSClick(bool) {}

void sntp::setCbUseSIM2Checked(bool) {}
