#pragma once

#include "editor/base/ParamsPage.h"

namespace Ui {
class FuncShl;
}

// The loop functions page: analysis, siren and light of each loop when armed and disarmed.
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
