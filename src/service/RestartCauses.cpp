#include "service/RestartCauses.h"

#include "service/StateTables.h"
#include "settings/DeviceSettings.h"
#include "ui_RestartCauses.h"

#include <algorithm>

namespace {
// The device counts in 16 bits; anything larger is not its number.
constexpr quint32 kCounterLimit = 65535;
} // namespace

RestartCauses::RestartCauses(QWidget* parent)
    : QDialog(parent), resetFlagsModel(new ResetFlagsTable(this)),
      naprFlagsModel(new NaprFlagsTable(this)), legendModel(new LegendTable(this)),
      ui(new Ui::RestartCauses) {
    ui->setupUi(this);
    for (QTableView* view : {ui->tvRestartCauses, ui->tvNaprFlags, ui->tvLegend})
        view->setDropIndicatorShown(false);
    ui->tvRestartCauses->setModel(resetFlagsModel);
    ui->tvNaprFlags->setModel(naprFlagsModel);
    ui->tvLegend->setModel(legendModel);
    ui->tvRestartCauses->setColumnWidth(0, 25);
    ui->tvLegend->setColumnWidth(0, 50);
    ui->tvLegend->setColumnWidth(1, 355);
    connect(ui->BOk, &QPushButton::clicked, this, &QDialog::accept);
}

RestartCauses::~RestartCauses() {
    delete ui;
}

void RestartCauses::FillCounters() {
    if (!g_deviceSettings)
        return;
    const auto& c = g_deviceSettings->state->restartCount;
    ui->leRestCount->setText(QString::number(std::min(c[0], kCounterLimit)));
    ui->leLowU->setText(QString::number(std::min(c[1], kCounterLimit)));
    ui->leHighU->setText(QString::number(std::min(c[2], kCounterLimit)));
}

void RestartCauses::SetPanelVisible(bool visible) {
    ui->lInfo->setVisible(visible);
}
