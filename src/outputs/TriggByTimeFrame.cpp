#include "outputs/TriggByTimeFrame.h"

#include "ui_TriggByTimeFrame.h"

TriggByTimeFrame::TriggByTimeFrame(QWidget* parent)
    : ParamsPage(parent), ui(new Ui::TriggByTimeFrame) {
    ui->setupUi(this);
}

TriggByTimeFrame::~TriggByTimeFrame() {
    delete ui;
}

void TriggByTimeFrame::ApplyClick() {}

void TriggByTimeFrame::CancelClick() {}
