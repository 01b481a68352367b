#pragma once

#include "pagebase/ParamsPage.h"

#include <QMetaObject>

namespace Ui {
class sntp;
}

// The time server page: SNTP use, version, server address or name, port and
// the time zone; two twins of the GPRS servers page.
class sntp : public ParamsPage {
    Q_OBJECT

public:
    explicit sntp(QWidget* parent = nullptr);
    ~sntp() override;

    void ForgetRemembered() override;

    // From 18.12.2018 the device takes both the address and the name: the
    // choice is hidden and remembered until older firmware is chosen again.
    void SetIPAndDNSForced(bool forced);

signals:
    void SigHourPoyasChange(int);
    void sigPopunRestCountChange(int);
    void sigUseSim2Change(bool);

public slots:
    void CancelClick() override;
    void ApplyClick() override;
    void UseGPRSClick(bool use);
    void VersionChange();
    void setCbUseSIM2Checked(bool checked);

private:
    // The server group follows its box only while GPRS lets the box be used.
    void UpdateServerGroup();

    Ui::sntp* ui;
    bool m_gprsOn = false;
    Remembered<u8> m_savedUseIp;
    QMetaObject::Connection m_ipEnablesIp;
    QMetaObject::Connection m_ipDisablesDns;
};
