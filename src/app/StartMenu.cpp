#include "app/StartMenu.h"

#include "app/Application.h"
#include "ui_StartMenu.h"

StartMenu::StartMenu(QWidget* parent) : QWidget(parent), ui(new Ui::StartMenu) {
    EnsureIconResources();
    ui->setupUi(this);
    setWindowTitle(OrganisationTitle(windowTitle()));
    connect(ui->pbExit, &QPushButton::clicked, this, &QWidget::close);
    // The signals go out before the menu hides.
    connect(ui->pbKeelwright, &QPushButton::clicked, this, &StartMenu::SigStartKeelwright);
    connect(ui->pbKeelwright, &QPushButton::clicked, this, &QWidget::hide);
    connect(ui->pbMaster, &QPushButton::clicked, this, &StartMenu::StartWizard);
    connect(ui->pbMaster, &QPushButton::clicked, this, &QWidget::hide);
}

StartMenu::~StartMenu() {
    delete ui;
}

void StartMenu::StartWizard() {
    emit SigSetWizardStatus(true);
    emit SigStartWizard();
}

void StartMenu::CloseWizard() {
    emit SigSetWizardStatus(false);
    setVisible(true);
}
