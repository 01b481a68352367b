#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

class NaprLines;
class NastrShl;
class QDialog;
class QLabel;
class QLineEdit;
class QSlider;
class QToolButton;

// Temperatures and limits as the row's slider and bar show them: 0 at -55,
// 99 at +100, clamped to 0..100. NaN reads as 0; no float reaches an int
// conversion outside its range.
int ThermPosition(float t);
// A limit as the limits dialog's code 0..1023 carries it and back. The two
// are exact inverses (rounded to the nearest code), so applying an untouched
// dialog keeps the limits' codes.
float ThermLimitOfCode(int code);
int ThermCodeOfLimit(float limit);

// One thermometer of the window's list: number, identifier, temperature on a
// read-only slider, the limits on a range bar, and buttons that edit the
// limits or drop the sensor.
class ThermInfoLine : public QWidget {
    Q_OBJECT

public:
    explicit ThermInfoLine(QWidget* parent = nullptr);
    ~ThermInfoLine() override;

    void setNumber(int n);
    void setID(const QString& text);
    void setLimits(float min, float max);
    void setTemperature(float t);

    // Destroys the row once none of its own dialogs is running: a row taken
    // out of the list while its question or limits dialog is open still has
    // a slot on the stack.
    void dispose();

    QLabel* scaleLabels[5];
    QLabel* numberLabel;
    QLineEdit* idField;
    QLineEdit* temperatureField;
    QSlider* temperatureSlider;
    NaprLines* rangeBar;
    QToolButton* limitsButton;
    QToolButton* removeButton;
    QPointer<NastrShl> limitsDialog;

    bool present = false;
    QString id;
    float lowerLimit = 0;
    float upperLimit = 0;
    float temperature = 0;

signals:
    void sigSetRealTime(bool on);
    void sigSetValuesForAll(float min, float max);
    void sigRemoveTherm(ThermInfoLine* line);

public slots:
    void execLimsSettingsDialog();
    void removeThisTherm();
    void acceptLimsSettingsDialog(int min, int max, bool obr, bool forAll, QDialog* dialog);
    void deleteLimsSettingsDialog();
    void breakSlider(int);

private:
    // Counts this row's slots that wait in a nested event loop.
    void enterModal();
    void leaveModal();

    int modalDepth = 0;
    bool disposed = false;
};
