#pragma once

#include "pagebase/ParamsPage.h"

namespace Ui {
class RemoteProgFrame;
}

// The remote configuration page.
class RemoteProgFrame : public ParamsPage {
    Q_OBJECT

public:
    explicit RemoteProgFrame(QWidget* parent = nullptr);
    ~RemoteProgFrame() override;

public slots:
    void ApplyClick() override;
    void CancelClick() override;

private:
    Ui::RemoteProgFrame* ui;
};
