#pragma once

#include "editor/base/ParamsPage.h"

namespace Ui {
class ConGPRS;
}

// The GPRS servers page.
class ConGPRS : public ParamsPage {
    Q_OBJECT

public:
    explicit ConGPRS(QWidget* parent = nullptr);
    ~ConGPRS() override;

signals:
    void SigConGPRSClick(bool);
    void SigUseNavigation(bool);
    void sigPopunRestCountChange(int);
    void sigUseSim2Change(bool);

public slots:
    void ApplyClick() override;
    void CancelClick() override;
    void VersionChange();
    void setCbUseSIM2Checked(bool checked);

public:
    // Forces connecting over GPRS on (the autonomous models without the
    // GPRS page always connect), or gives back the engineer's choice.
    void SetGPRSForced(bool forced);

private:
    Ui::ConGPRS* ui;
};
