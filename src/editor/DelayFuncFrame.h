#pragma once

#include "editor/base/ParamsPage.h"

namespace Ui {
class DelayFuncFrame;
}

// The delays page: arming and disarming delays.
class DelayFuncFrame : public ParamsPage {
    Q_OBJECT

public:
    explicit DelayFuncFrame(QWidget* parent = nullptr);
    ~DelayFuncFrame() override;

public slots:
    void ApplyClick() override;
    void CancelClick() override;
    void TPribSlot(int type);
    void VersionChange();
    void TypeObjChange();
    void NumTShlChange(int n);

private:
    Ui::DelayFuncFrame* ui;
};
