#pragma once

#include "editor/base/ParamsPage.h"

#include <QStringList>

namespace Ui {
class ExitFunc;
}

// The outputs page: type, password, loops and zone of each output.
class ExitFunc : public ParamsPage {
    Q_OBJECT

public:
    explicit ExitFunc(QWidget* parent = nullptr);
    ~ExitFunc() override;

public slots:
    void ApplyClick() override;
    void CancelClick() override;
    void TPribSlot(int type);
    void VersionChange();
    void setZonesList(const QStringList& zonesList, int senderType);

private:
    Ui::ExitFunc* ui;
};
