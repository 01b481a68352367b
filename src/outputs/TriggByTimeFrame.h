#pragma once

#include "editor/base/ParamsPage.h"

namespace Ui {
class TriggByTimeFrame;
}

// The time-of-day triggers page.
class TriggByTimeFrame : public ParamsPage {
    Q_OBJECT

public:
    explicit TriggByTimeFrame(QWidget* parent = nullptr);
    ~TriggByTimeFrame() override;

public slots:
    void ApplyClick() override;
    void CancelClick() override;

private:
    Ui::TriggByTimeFrame* ui;
};
