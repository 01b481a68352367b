#include "keys/KeyShlConfig.h"

#include "ui_KeyShlConfig.h"

KeyShlConfig::KeyShlConfig(QWidget* parent) : ParamsPage(parent), ui(new Ui::KeyShlConfig) {
    ui->setupUi(this);
}

KeyShlConfig::~KeyShlConfig() {
    delete ui;
}

void KeyShlConfig::ApplyClick() {}

void KeyShlConfig::CancelClick() {}

void KeyShlConfig::TDevChange(int) {}

void KeyShlConfig::NumTShlChange(int) {}

void KeyShlConfig::SetTableDataChange(const QModelIndex&, const QModelIndex&) {}

void KeyShlConfig::RewriteNormilizedChecks() {}
