#pragma once

#include "editor/base/ParamsPage.h"

namespace Ui {
class ConnectParams;
}

// The console link page of the parameters window (work mode "system").
class ConnectParams : public ParamsPage {
    Q_OBJECT

public:
    explicit ConnectParams(QWidget* parent = nullptr);
    ~ConnectParams() override;

    // The object number that follows `number` after a successful programming:
    // four digits, 9999 wraps to "0000", a text that is no number gives "0001".
    static QByteArray NextObjectNumber(const QByteArray& number);

public slots:
    void ApplyClick() override;
    void CancelClick() override;
    // Warns when every test channel is taken by outgoing tests; true when
    // nothing needed saying.
    bool RevisionUsingGBR();
    void VersionChange();
    void IncrementNumObj();
    void setCbPPM9Enabled(bool en);
    void setCbPPM10Enabled(bool en);
    void setCbPPM11Enabled(bool en);
    void setCbPPM12Enabled(bool en);
    void setCbPPM13Enabled(bool en);
    void setCbPPM14Enabled(bool en);
    void setCbPPM15Enabled(bool en);

private:
    Ui::ConnectParams* ui;
};
