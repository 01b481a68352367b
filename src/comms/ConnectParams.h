#pragma once

#include "pagebase/ParamsPage.h"

#include <QStringList>

#include <array>

class QCheckBox;

namespace Ui {
class ConnectParams;
}

// The console link page of the parameters window (work mode "system"): the
// object number, outgoing call options, periodic test calls and the test
// stations 9..15 they use, and the call attempts for the rapid response group.
class ConnectParams : public ParamsPage {
    Q_OBJECT

public:
    explicit ConnectParams(QWidget* parent = nullptr);
    ~ConnectParams() override;

    // The object number that follows `number` after a successful programming:
    // four digits, 9999 wraps to "0000", a text that is no number gives "0001".
    static QByteArray NextObjectNumber(const QByteArray& number);
    // The items of the test interval list, by stored index.
    static QStringList TestIntervalTexts();

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
    static constexpr int kFirstTestStation = 9;
    static constexpr int kTestStations = 7;
    // The box of test station n (9..15).
    QCheckBox* stationBox(int n) const;

    Ui::ConnectParams* ui;
    std::array<QCheckBox*, kTestStations> stations{};
};
