#pragma once

#include <QFrame>
#include <QString>

struct SensorRecord;

namespace Ui {
class LimNaprSh;
}

// The loop ranges and sensor types page of the parameters window.
class LimNaprSh : public QFrame {
    Q_OBJECT

public:
    explicit LimNaprSh(QWidget* parent = nullptr);
    ~LimNaprSh() override;

    // The scale text of ADC code `code` under `sensor`: the table value with six
    // significant digits, the three inner scale points cut to five characters,
    // then a blank and the unit. A code the table does not reach shows as itself.
    static QString ScaleText(const SensorRecord& sensor, int code);

    void UpdateScaleLabels(int loop, int sensor);

signals:
    void SigSetupTestScales();

public slots:
    void SetLoadedSensors();
    void ChangeSensorType(int index);
    void ApplyClick();
    void CancelClick();

private:
    Ui::LimNaprSh* ui;
};
