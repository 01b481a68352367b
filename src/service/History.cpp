#include "service/History.h"

#include "service/StateTables.h"
#include "settings/DeviceSettings.h"
#include "ui_History.h"

History::History(QWidget* parent)
    : QDialog(parent), journalModel(new JournalTable(this)),
      lastStateModel(new LastStateTable(this)), ui(new Ui::History) {
    ui->setupUi(this);
    ui->tvJournal->setModel(journalModel);
    ui->tvLastState->setModel(lastStateModel);
    connect(ui->BOk, &QPushButton::clicked, this, &QDialog::accept);
}

History::~History() {
    delete ui;
}

void History::ScrollJournalToLast() {
    if (!g_deviceSettings)
        return;
    const int row = g_deviceSettings->state->newestJournal;
    if (row >= 0 && row < journalModel->rowCount())
        ui->tvJournal->scrollTo(journalModel->index(row, 0));
}

void History::SetInfoVisible(bool visible) {
    ui->lInfo->setVisible(visible);
}

void History::VersionChange() {
    journalModel->ResetTable();
    lastStateModel->ResetTable();
}
