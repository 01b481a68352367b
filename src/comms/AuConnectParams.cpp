#include "comms/AuConnectParams.h"

#include "ui_AuConnectParams.h"

AuConnectParams::AuConnectParams(QWidget* parent)
    : ParamsPage(parent), ui(new Ui::AuConnectParams) {
    ui->setupUi(this);
}

AuConnectParams::~AuConnectParams() {
    delete ui;
}

void AuConnectParams::ApplyClick() {}

void AuConnectParams::CancelClick() {}

void AuConnectParams::VersionChange() {}
