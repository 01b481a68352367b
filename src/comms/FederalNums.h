#pragma once

#include "pagebase/ParamsPage.h"

namespace Ui {
class FederalNums;
}

// The federal numbers page: the console's fifteen numbers and stations.
class FederalNums : public ParamsPage {
    Q_OBJECT

public:
    explicit FederalNums(QWidget* parent = nullptr);
    ~FederalNums() override;

signals:
    void SigUsePPM9(bool);
    void SigUsePPM10(bool);
    void SigUsePPM11(bool);
    void SigUsePPM12(bool);
    void SigUsePPM13(bool);
    void SigUsePPM14(bool);
    void SigUsePPM15(bool);

public slots:
    void ApplyClick() override;
    void CancelClick() override;

private:
    Ui::FederalNums* ui;
};
