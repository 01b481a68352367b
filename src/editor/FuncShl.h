#pragma once

#include "pagebase/ParamsPage.h"

namespace Ui {
class FuncShl;
}

// The loop functions page: per loop how the device analyses it and whether
// it drives the siren and the light, disarmed and armed, and the device-wide
// permission of the arming/disarming error.
class FuncShl : public ParamsPage {
    Q_OBJECT

public:
    explicit FuncShl(QWidget* parent = nullptr);
    ~FuncShl() override;

public slots:
    void ApplyClick() override;
    void CancelClick() override;
    void TPribSlot(int type);
    void VersionChange();

private:
    Ui::FuncShl* ui;
};
