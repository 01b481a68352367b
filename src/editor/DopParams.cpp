#include "editor/DopParams.h"

#include "ui_DopParams.h"

DopParams::DopParams(QWidget* parent) : ParamsPage(parent), ui(new Ui::DopParams) {
    ui->setupUi(this);
}

DopParams::~DopParams() {
    delete ui;
}

void DopParams::ForgetRemembered() {
    savedVoicePasswords.forget();
    savedTechLoop.forget();
}

void DopParams::TPribSlot(int) {}

void DopParams::ApplyClick() {
    emit SigUseSounds();
}

void DopParams::CancelClick() {}

void DopParams::IfChangeRegim() {}

void DopParams::VersionChange() {}

void DopParams::UseSoundsToggle(bool) {}
