#include "outputs/Cameras.h"

#include "ui_Cameras.h"

Cameras::Cameras(QWidget* parent) : ParamsPage(parent), ui(new Ui::Cameras) {
    ui->setupUi(this);
}

Cameras::~Cameras() {
    delete ui;
}

void Cameras::ApplyClick() {}

void Cameras::CancelClick() {}

void Cameras::TPribChange(int) {}
