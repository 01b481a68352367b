#pragma once

#include "pagebase/ParamsPage.h"

#include <QStringList>

namespace Ui {
class DopParams;
}

// The service parameters page: tamper, keeping the state over a power cut,
// voice messages and passwords, silent arming, the dialling prefix and the
// technological loop.
class DopParams : public ParamsPage {
    Q_OBJECT

public:
    explicit DopParams(QWidget* parent = nullptr);
    ~DopParams() override;

    void ForgetRemembered() override;

signals:
    void SigUseSounds();
    void SigNumTehShlChange(int);

public slots:
    void TPribSlot(int type);
    void ApplyClick() override;
    void CancelClick() override;
    void IfChangeRegim();
    void VersionChange();
    void UseSoundsToggle(bool use);

private:
    QStringList loopItems4;
    QStringList loopItems6;
    QStringList loopItems8;
    Ui::DopParams* ui;
    Remembered<u8> savedVoicePasswords;
    Remembered<int> savedTechLoop;
};
