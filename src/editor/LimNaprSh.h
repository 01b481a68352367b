#pragma once

#include "editor/base/ParamsPage.h"

#include <QString>

class QComboBox;

namespace Ui {
class LimNaprSh;
}

// The loop ranges and sensor types page of the parameters window.
class LimNaprSh : public ParamsPage {
    Q_OBJECT

public:
    // Object names of a loop's five scale labels ("%1" = the 1-based loop),
    // at the ADC codes kSensorScaleCodes; the test window uses the same names.
    static constexpr const char* kScaleLabelNames[5] = {
        "lScaleLeft_%1", "lScaleLC_%1", "lScaleCenter_%1", "lScaleCR_%1", "lScaleRight_%1"};

    explicit LimNaprSh(QWidget* parent = nullptr);
    ~LimNaprSh() override;

    // Shows loop `loop` (0-based) under the sensor type `sensor` (a position
    // in the loaded sensor list): that record's scale, or the plain ADC codes
    // when the position selects no loaded record.
    void UpdateScaleLabels(int loop, int sensor);

signals:
    void SigSetupTestScales();

public slots:
    void SetLoadedSensors();
    void ChangeSensorType(int index);
    void TPribSlot(int type);
    void ApplyClick() override;
    void CancelClick() override;

private:
    // The sensor type choice of loop n (1-based).
    QComboBox* sensorCombo(int n) const;

    Ui::LimNaprSh* ui;
};
