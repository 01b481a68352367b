#pragma once

#include "editor/base/ParamsPage.h"

namespace Ui {
class Cameras;
}

// The cameras page.
class Cameras : public ParamsPage {
    Q_OBJECT

public:
    explicit Cameras(QWidget* parent = nullptr);
    ~Cameras() override;

public slots:
    void ApplyClick() override;
    void CancelClick() override;
    void TPribChange(int type);

private:
    Ui::Cameras* ui;
};
