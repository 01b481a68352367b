#pragma once

#include <QDialog>

class ResetFlagsTable;
class NaprFlagsTable;

namespace Ui {
class RestartCauses;
}

// Why the device restarted: counters and flag tables from a memory read.
class RestartCauses : public QDialog {
    Q_OBJECT

public:
    explicit RestartCauses(QWidget* parent = nullptr);
    ~RestartCauses() override;

    ResetFlagsTable* resetFlagsModel;
    NaprFlagsTable* naprFlagsModel;

    void FillCounters();
    void SetPanelVisible(bool visible);

private:
    Ui::RestartCauses* ui;
};
