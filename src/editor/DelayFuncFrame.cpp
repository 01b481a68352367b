#include "editor/DelayFuncFrame.h"

#include "ui_DelayFuncFrame.h"

DelayFuncFrame::DelayFuncFrame(QWidget* parent) : ParamsPage(parent), ui(new Ui::DelayFuncFrame) {
    ui->setupUi(this);
}

DelayFuncFrame::~DelayFuncFrame() {
    delete ui;
}

void DelayFuncFrame::ApplyClick() {}

void DelayFuncFrame::CancelClick() {}

void DelayFuncFrame::TPribSlot(int) {}

void DelayFuncFrame::VersionChange() {}

void DelayFuncFrame::TypeObjChange() {}

void DelayFuncFrame::NumTShlChange(int) {}
