#pragma once

#include "pagebase/ParamsPage.h"

#include <array>

class QCheckBox;
class QLabel;
class QToolButton;

namespace Ui {
class Zvonki;
}

// The call list page: which main number is called for each loop's opening
// and closing and for its alarm. The five numbers are shown read-only; the
// pages that edit them mirror them here through the parameters window.
class Zvonki : public ParamsPage {
    Q_OBJECT

public:
    explicit Zvonki(QWidget* parent = nullptr);
    ~Zvonki() override;

public slots:
    void ApplyClick() override;
    void CancelClick() override;
    void TPribSlot(int type);
    // Ticks or clears the sixteen boxes of the number whose button was clicked.
    void checkUncheckAllClicked();
    void setPhoneNumber(const QString& objectName, const QString& number);

private:
    Ui::Zvonki* ui;
    std::array<std::array<QCheckBox*, kLoops>, kMainNumbers> cbOpCl{};
    std::array<std::array<QCheckBox*, kLoops>, kMainNumbers> cbAlarm{};
    std::array<QLabel*, kLoops> lAl{};
    std::array<QToolButton*, kMainNumbers> tbCheckAll{};
    std::array<QToolButton*, kMainNumbers> tbUncheckAll{};
};
