#pragma once

#include "pagebase/ParamsPage.h"

#include <QString>

#include <array>

class QComboBox;
class QDialog;
class NaprLines;
class NastrShl;

namespace Ui {
class LimNaprSh;
}

// The loop ranges page of the parameters window: per loop its normal band
// (edited in the loop's range dialog, shown on a bar), reverse and radio
// flags and sensor type, with the sensor's scale under the bar. Between a
// load and a store the bands live in the dialogs' applied state.
class LimNaprSh : public ParamsPage {
    Q_OBJECT

public:
    // Object names of a loop's five scale labels ("%1" = the 1-based loop),
    // at the ADC codes kSensorScaleCodes; the test window uses the same names.
    static constexpr const char* kScaleLabelNames[5] = {
        "lScaleLeft_%1", "lScaleLC_%1", "lScaleCenter_%1", "lScaleCR_%1", "lScaleRight_%1"};

    explicit LimNaprSh(QWidget* parent = nullptr);
    ~LimNaprSh() override;

    // The range dialog of loop `loop` (0-based), or nullptr outside 0..7.
    NastrShl* dialog(int loop) const;

    // Shows loop `loop` (0-based) under the sensor type `sensor` (a position
    // in the loaded sensor list) on the page and in the loop's dialog: that
    // record's scale, or the plain ADC codes when the position selects no
    // loaded record. Does nothing while no record is loaded.
    void UpdateScaleLabels(int loop, int sensor);

signals:
    void SigSetupTestScales();

public slots:
    void TPribSlot(int type);
    void NaprChanged(int min, int max, bool reverse, bool forAll, QDialog* dialog);
    void DefaultAllClic();
    void ApplyClick() override;
    void CancelClick() override;
    void SetLoadedSensors();
    void ChangeSensorType(int index);

private:
    // The sensor type choice and the bar of loop n (1-based).
    QComboBox* sensorCombo(int n) const;
    NaprLines* rangeLine(int n) const;
    // Shows a band on loop `i`'s dialog and bar (0-based).
    void showBand(int i, int min, int max, bool reverse);
    // Shows the five scale texts on loop `i`'s labels and dialog (0-based).
    void showScale(int i, const QStringList& texts);

    std::array<NastrShl*, kLoops> dialogs{};
    Ui::LimNaprSh* ui;
};
