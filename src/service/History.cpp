#include "service/History.h"

#include "service/StateTables.h"
#include "settings/DeviceSettings.h"
#include "settings/Firmware.h"
#include "ui_History.h"

#include <QEvent>

History::History(QWidget* parent)
    : QDialog(parent), lastStateModel(new LastStateTable(this)),
      journalModel(new JournalTable(this)), ui(new Ui::History) {
    ui->setupUi(this);
    ui->tvJournal->setDropIndicatorShown(false);
    ui->tvLastState->setDropIndicatorShown(false);
    ui->tvLastState->setModel(lastStateModel);
    ui->tvLastState->resizeColumnsToContents();
    ui->tvLastState->setColumnWidth(0, 120);
    ui->tvLastState->setColumnWidth(4, 30);
    journalModel->SetDated(false);
    ui->tvJournal->setModel(journalModel);
    connect(ui->BOk, &QPushButton::clicked, this, &QDialog::accept);
}

History::~History() {
    delete ui;
}

void History::VersionChange() {
    const bool dated = g_deviceSettings && FwOnOrAfter(*g_deviceSettings->header, fw::k15_04_2010);
    journalModel->SetDated(dated);
    ui->tvJournal->resizeColumnsToContents();
    const QList<int> widths = dated ? QList<int>{25, 70, 70, 50} : QList<int>{25, 50};
    for (int c = 0; c < widths.size(); ++c)
        ui->tvJournal->setColumnWidth(c, widths.at(c));
}

void History::ScrollJournalToLast() {
    if (!g_deviceSettings)
        return;
    const QModelIndex newest = journalModel->index(g_deviceSettings->state->newestJournal, 0);
    if (newest.isValid())
        ui->tvJournal->scrollTo(newest, QAbstractItemView::EnsureVisible);
}

void History::SetInfoVisible(bool visible) {
    ui->lInfo->setVisible(visible);
}

void History::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
}
