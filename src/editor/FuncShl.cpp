#include "editor/FuncShl.h"

#include "ui_FuncShl.h"

FuncShl::FuncShl(QWidget* parent) : ParamsPage(parent), ui(new Ui::FuncShl) {
    ui->setupUi(this);
}

FuncShl::~FuncShl() {
    delete ui;
}

void FuncShl::ApplyClick() {}

void FuncShl::CancelClick() {}

void FuncShl::TPribSlot(int) {}

void FuncShl::VersionChange() {}
