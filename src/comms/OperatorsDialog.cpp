#include "comms/OperatorsDialog.h"

#include "settings/DeviceSettings.h"
#include "ui_OperatorsDialog.h"

OperatorsDialog::OperatorsDialog(QWidget* parent) : QDialog(parent), ui(new Ui::OperatorsDialog) {
    ui->setupUi(this);
    connect(ui->pbClose, &QPushButton::clicked, this, &QDialog::accept);
}

OperatorsDialog::~OperatorsDialog() {
    delete ui;
}

void OperatorsDialog::UpdateInternalList(int row) {
    ui->lwOperators->clear();
    int count = 0;
    if (g_deviceSettings) {
        for (const GsmOperator& op : g_deviceSettings->gsmOperators)
            ui->lwOperators->addItem(op.name);
        count = g_deviceSettings->gsmOperators.size();
    }
    ui->lwOperators->setCurrentRow(row);
    ui->tbDel->setEnabled(count > 1);
    emit SigListWasUpdated();
}
