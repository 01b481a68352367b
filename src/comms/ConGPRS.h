#pragma once

#include "pagebase/ParamsPage.h"

namespace Ui {
class ConGPRS;
}

// The GPRS servers page: whether and how the device reaches its two
// monitoring servers over GPRS, the server protocol and password.
class ConGPRS : public ParamsPage {
    Q_OBJECT

public:
    explicit ConGPRS(QWidget* parent = nullptr);
    ~ConGPRS() override;

    void ForgetRemembered() override;

    // Forces connecting over GPRS on (the autonomous models without the
    // GPRS page always connect), or gives back the engineer's choice.
    void SetGPRSForced(bool forced);
    // Refills the protocol list the firmware offers and selects the stored
    // protocol, remembering it while the list lacks it.
    void FillProtocolList();

signals:
    void SigConGPRSClick(bool);
    void SigUseNavigation(bool);
    void sigPopunRestCountChange(int);
    void sigUseSim2Change(bool);

public slots:
    void ApplyClick() override;
    void CancelClick() override;
    void VersionChange();
    void ConGPRSSelect(bool con);
    void ProtocolChange(int index);
    void setCbUseSIM2Checked(bool checked);

private:
    Ui::ConGPRS* ui;
    // The engineer's state of the GPRS box while the window forces it on.
    bool m_gprsForced = false;
    bool m_savedConnectGprs = false;
    Remembered<i32> m_savedProtocol;
};
