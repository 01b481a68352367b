#pragma once

#include "editor/base/ParamsPage.h"

namespace Ui {
class Zvonki;
}

// The call list page: which main number is called for each loop's events.
class Zvonki : public ParamsPage {
    Q_OBJECT

public:
    explicit Zvonki(QWidget* parent = nullptr);
    ~Zvonki() override;

public slots:
    void ApplyClick() override;
    void CancelClick() override;
    void TPribSlot(int type);

private:
    Ui::Zvonki* ui;
};
