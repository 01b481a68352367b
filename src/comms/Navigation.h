#pragma once

#include "editor/base/ParamsPage.h"

namespace Ui {
class Navigation;
}

// The navigation page.
class Navigation : public ParamsPage {
    Q_OBJECT

public:
    explicit Navigation(QWidget* parent = nullptr);
    ~Navigation() override;

signals:
    void SigHourPoyasChange(int);

public slots:
    void ApplyClick() override;
    void CancelClick() override;
    void TDevChange(int type);
    void VersionChange();
    void SetNavigationEnabled(bool on);

private:
    Ui::Navigation* ui;
};
