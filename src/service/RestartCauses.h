#pragma once

#include <QDialog>

class ResetFlagsTable;
class NaprFlagsTable;
class LegendTable;

namespace Ui {
class RestartCauses;
}

// Why the device restarted: its eight restart records with their reset-cause
// and supply flags, the legend of the flags and three counters, as the last
// decoded memory image left them.
class RestartCauses : public QDialog {
    Q_OBJECT

public:
    explicit RestartCauses(QWidget* parent = nullptr);
    ~RestartCauses() override;

    ResetFlagsTable* resetFlagsModel;
    NaprFlagsTable* naprFlagsModel;
    LegendTable* legendModel;

    // Restarts, sleep transitions at low supply and restarts at excessive
    // supply, each shown as at most 65535.
    void FillCounters();
    void SetPanelVisible(bool visible);

private:
    Ui::RestartCauses* ui;
};
