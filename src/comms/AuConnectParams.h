#pragma once

#include "editor/base/ParamsPage.h"

namespace Ui {
class AuConnectParams;
}

// The autonomous link page: the five main numbers, their call attempts and object number.
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
    void VersionChange();

private:
    Ui::AuConnectParams* ui;
};
