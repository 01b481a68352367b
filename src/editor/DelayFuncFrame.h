#pragma once

#include "pagebase/ParamsPage.h"

#include <QStringList>

class QComboBox;
class QRadioButton;

namespace Ui {
class DelayFuncFrame;
}

// The delays page: for arming and for disarming either no delay or one loop
// and a delay from 10 seconds to 3 minutes. A choice on a loop the model
// lacks is parked and comes back with a model that has the loop again.
class DelayFuncFrame : public ParamsPage {
    Q_OBJECT

public:
    explicit DelayFuncFrame(QWidget* parent = nullptr);
    ~DelayFuncFrame() override;

    // A delay choice taken from the settings while its loop is missing.
    struct DelayChoice {
        i32 loop = 0;
        i32 delay = 0;
    };

    // Whether the arming / disarming choice is parked.
    bool armChoiceParked() const { return savedArm.held(); }
    bool disarmChoiceParked() const { return savedDisarm.held(); }

    void ForgetRemembered() override;

public slots:
    void TPribSlot(int type);
    void PauseShlPToggle(bool off);
    void PauseShlSToggle(bool off);
    void ApplyClick() override;
    void CancelClick() override;
    void VersionChange();
    void TypeObjChange();
    void NumTShlChange(int n);

private:
    // One direction of the page: arming ("P") or disarming ("S").
    struct Direction {
        QRadioButton* off;
        QComboBox* combo;
        QString loopButton; // "RbPShl%1" / "RbSShl%1"
        u8& delayOn;        // 1 = no delay
        i32& loop;
        i32& delay;
        Remembered<DelayChoice>& saved;
    };
    Direction arming();
    Direction disarming();

    // Fills the combo with the delays, or with the one "no delay" item.
    void fillDelays(QComboBox* combo, bool off);
    void applyDirection(const Direction& d);
    void loadDirection(const Direction& d);
    // Parks a choice on a loop the model lacks, or gives one back.
    void followModel(const Direction& d, int loops);
    void setLoopButtonsEnabled(bool enabled);

    QStringList delayItems;
    Remembered<DelayChoice> savedArm;
    Remembered<DelayChoice> savedDisarm;
    Ui::DelayFuncFrame* ui;
};
