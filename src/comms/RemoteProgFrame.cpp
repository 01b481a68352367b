#include "comms/RemoteProgFrame.h"

#include "ui_RemoteProgFrame.h"

RemoteProgFrame::RemoteProgFrame(QWidget* parent)
    : ParamsPage(parent), ui(new Ui::RemoteProgFrame) {
    ui->setupUi(this);
}

RemoteProgFrame::~RemoteProgFrame() {
    delete ui;
}

void RemoteProgFrame::ApplyClick() {}

void RemoteProgFrame::CancelClick() {}
