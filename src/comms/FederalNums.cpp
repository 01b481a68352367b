#include "comms/FederalNums.h"

#include "ui_FederalNums.h"

FederalNums::FederalNums(QWidget* parent) : ParamsPage(parent), ui(new Ui::FederalNums) {
    ui->setupUi(this);
}

FederalNums::~FederalNums() {
    delete ui;
}

void FederalNums::ApplyClick() {}

void FederalNums::CancelClick() {}
