#include "comms/Navigation.h"

#include "ui_Navigation.h"

Navigation::Navigation(QWidget* parent) : ParamsPage(parent), ui(new Ui::Navigation) {
    ui->setupUi(this);
}

Navigation::~Navigation() {
    delete ui;
}

void Navigation::ApplyClick() {}

void Navigation::CancelClick() {}

void Navigation::TDevChange(int) {}

void Navigation::VersionChange() {}

void Navigation::SetNavigationEnabled(bool) {}
