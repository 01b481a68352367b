#include "outputs/ExitFunc.h"

#include "ui_ExitFunc.h"

ExitFunc::ExitFunc(QWidget* parent) : ParamsPage(parent), ui(new Ui::ExitFunc) {
    ui->setupUi(this);
}

ExitFunc::~ExitFunc() {
    delete ui;
}

void ExitFunc::ApplyClick() {}

void ExitFunc::CancelClick() {}

void ExitFunc::TPribSlot(int) {}

void ExitFunc::VersionChange() {}

void ExitFunc::setZonesList(const QStringList&, int) {}
