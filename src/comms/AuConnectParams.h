#pragma once

#include "pagebase/ParamsPage.h"

namespace Ui {
class AuConnectParams;
}

// The autonomous link page: the five main numbers, their call attempts, the
// object number and three calling and message options. A finished number edit
// hands all five numbers to the window, which shows them on the other pages.
class AuConnectParams : public ParamsPage {
    Q_OBJECT

public:
    explicit AuConnectParams(QWidget* parent = nullptr);
    ~AuConnectParams() override;

signals:
    void SigNumsChanged(QString, QString, QString, QString, QString);

public slots:
    void ApplyClick() override;
    void CancelClick() override;
    void NumChange();
    void VersionChange();

private:
    Ui::AuConnectParams* ui;
};
