#pragma once

#include "editor/base/ParamsPage.h"

namespace Ui {
class DopSMS;
}

// The service SMS page: service, SIM-change and user-output SMS per main number.
class DopSMS : public ParamsPage {
    Q_OBJECT

public:
    explicit DopSMS(QWidget* parent = nullptr);
    ~DopSMS() override;

public slots:
    void ApplyClick() override;
    void CancelClick() override;
    void VersionChange();

private:
    Ui::DopSMS* ui;
};
