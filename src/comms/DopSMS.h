#pragma once

#include "pagebase/ParamsPage.h"

class QComboBox;

namespace Ui {
class DopSMS;
}

// The service SMS page: per main number, service, SIM-change and user-output
// SMS; for the device, SMS before and after the SLEEP mode. The numbers are
// shown read-only beside the choices.
class DopSMS : public ParamsPage {
    Q_OBJECT

public:
    explicit DopSMS(QWidget* parent = nullptr);
    ~DopSMS() override;

public slots:
    void CancelClick() override;
    void ApplyClick() override;
    void VersionChange();

private:
    QComboBox* combo(const char* stem, int k) const;

    Ui::DopSMS* ui;
};
