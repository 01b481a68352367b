#pragma once

#include "editor/base/ParamsPage.h"

namespace Ui {
class PultSMS;
}

// The console SMS pages.
class PultSMS : public ParamsPage {
    Q_OBJECT

public:
    explicit PultSMS(QWidget* parent = nullptr);
    ~PultSMS() override;

public slots:
    void ApplyClick() override;
    void CancelClick() override;

private:
    Ui::PultSMS* ui;
};
