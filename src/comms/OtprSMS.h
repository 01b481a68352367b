#pragma once

#include "editor/base/ParamsPage.h"

namespace Ui {
class OtprSMS;
}

// The SMS sending page: which SMS each main number gets when the device is armed or disarmed.
class OtprSMS : public ParamsPage {
    Q_OBJECT

public:
    explicit OtprSMS(QWidget* parent = nullptr);
    ~OtprSMS() override;

signals:
    void SigNumsChanged(QString, QString, QString, QString, QString);

public slots:
    void ApplyClick() override;
    void CancelClick() override;
    void VersionChange();

private:
    Ui::OtprSMS* ui;
};
