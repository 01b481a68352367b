#pragma once

#include <QDialog>
#include <QString>

namespace Ui {
class NastrShl;
}

// The range dialog of one loop: the lower and upper bound (10-bit codes) on
// two coupled sliders, the reverse flag, the three bands as numbers (codes,
// or values through a sensor table) and as a bar. It keeps the last applied
// state beside its controls and hands the result to its owner by a signal;
// it never writes the settings. Owners find GroupBox1, slNMin, slNMax,
// cbObrShl, bDefValue and pbApply by name.
class NastrShl : public QDialog {
    Q_OBJECT

public:
    explicit NastrShl(QWidget* parent = nullptr);
    ~NastrShl() override;

    // 0-based loop whose default band bDefValue loads.
    int shlNum = 0;
    // Position in the loaded sensor list through which codes are shown; a
    // position without a loaded record shows the codes themselves.
    int sensorIndex = 0;
    // The applied state: what Cancel, Escape and the close button return to.
    int savedMin = 0;
    int savedMax = 0;
    bool savedObr = false;

    // The text code `code` shows in the value fields: at most 5 characters.
    QString ShownValue(int code) const;

signals:
    void SignalSetValues(int min, int max, bool obr, bool forAll, QDialog* dialog);
    void SignalDialogClosed();

public slots:
    void MinSliderGo(int value);
    void MaxSliderGo(int value);
    void ApplyClick();
    void ValuesChangeOut(int min, int max, bool obr);
    void ObrShlChange(bool obr);
    void SetDefaultVal();
    void CancelClick();
    void SetNewScale(QString scaleL, QString scaleLC, QString scaleC, QString scaleCR,
                     QString scaleR);

private:
    // Redraws the bar from the two codes and the reverse box.
    void repaintBar(int lower, int upper);

    Ui::NastrShl* ui;
};
