#pragma once

#include "pagebase/ParamsPage.h"

namespace Ui {
class TriggByTimeFrame;
}

// The time-of-day triggers page: ten weekly events, each with a time, a kind
// and its days. An event's all-week box is ticked exactly when its seven day
// boxes are; it has no field of its own.
class TriggByTimeFrame : public ParamsPage {
    Q_OBJECT

public:
    explicit TriggByTimeFrame(QWidget* parent = nullptr);
    ~TriggByTimeFrame() override;

public slots:
    void ApplyClick() override;
    void CancelClick() override;
    // Follows a day box of an event with that event's all-week box.
    void cbDayStateChanged(bool state);

private:
    Ui::TriggByTimeFrame* ui;
};
