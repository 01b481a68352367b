#pragma once

#include "pagebase/ParamsPage.h"

#include <array>

class PultSMSBaseOpt;
class PultSMSSigOpt;

namespace Ui {
class PultSMS;
}

// The console SMS page: two tabs, the general settings with the table of
// events by SMS number, and one row per event with its opening fields and
// identifier part.
class PultSMS : public ParamsPage {
    Q_OBJECT

public:
    explicit PultSMS(QWidget* parent = nullptr);
    ~PultSMS() override;

    PultSMSBaseOpt* baseOptions() const { return base; }
    PultSMSSigOpt* eventRow(int event) const;

public slots:
    void ApplyClick() override;
    void CancelClick() override;

protected:
    // The page draws no frame of its own around the tabs.
    void paintEvent(QPaintEvent* event) override;

private:
    Ui::PultSMS* ui;
    PultSMSBaseOpt* base;
    std::array<PultSMSSigOpt*, kConsoleEvents> events{};
};
