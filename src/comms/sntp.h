#pragma once

#include "editor/base/ParamsPage.h"

namespace Ui {
class sntp;
}

// The time server page.
class sntp : public ParamsPage {
    Q_OBJECT

public:
    explicit sntp(QWidget* parent = nullptr);
    ~sntp() override;

signals:
    void SigHourPoyasChange(int);
    void sigPopunRestCountChange(int);
    void sigUseSim2Change(bool);

public slots:
    void ApplyClick() override;
    void CancelClick() override;
    void VersionChange();
    void UseGPRSClick(bool use);
    void setCbUseSIM2Checked(bool checked);

private:
    Ui::sntp* ui;
};
