#pragma once

#include "pagebase/ParamsPage.h"

namespace Ui {
class Navigation;
}

// The navigation page: frequent reports on loop alarms and blocked relays,
// the GPS receiver, the coordinate filter, the time zone and GPS time.
class Navigation : public ParamsPage {
    Q_OBJECT

public:
    explicit Navigation(QWidget* parent = nullptr);
    ~Navigation() override;

    void ForgetRemembered() override;

    // The filter distance as the device keeps it: the nearest whole count of
    // 0.333 km steps, 0..9999, in four digits (33.3 km -> "0100").
    static QString FilterText(double km);
    // A stored count of steps as kilometres; 0 for a text that is no number.
    static double FilterKm(const QString& text);

signals:
    void SigHourPoyasChange(int);

public slots:
    void CancelClick() override;
    void ApplyClick() override;
    void VersionChange();
    void SetNavigationEnabled(bool on);
    void TDevChange(int type);

private:
    Ui::Navigation* ui;
    // GPS time of the second family, kept while a first-family type is chosen.
    Remembered<u8> m_savedGpsTime;
};
