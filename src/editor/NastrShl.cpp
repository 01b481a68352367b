#include "editor/NastrShl.h"

#include "settings/DeviceSettings.h"
#include "settings/SensorTypes.h"
#include "ui_NastrShl.h"

#include <QPointer>

namespace {
// Codes per percent of the bar: code 1023 lands on 99, which the bar draws
// as its right edge.
constexpr double kCodesPerPercent = 10.23;
constexpr int kShownLength = 5;

int Percent(int code) {
    return int(code / kCodesPerPercent);
}
} // namespace

NastrShl::NastrShl(QWidget* parent) : QDialog(parent), ui(new Ui::NastrShl) {
    ui->setupUi(this);
    connect(ui->slNMin, &QSlider::valueChanged, this, &NastrShl::MinSliderGo);
    connect(ui->slNMax, &QSlider::valueChanged, this, &NastrShl::MaxSliderGo);
    connect(ui->pbApply, &QPushButton::clicked, this, &NastrShl::ApplyClick);
    connect(ui->pbCancel, &QPushButton::clicked, this, &NastrShl::CancelClick);
    connect(ui->cbObrShl, &QCheckBox::toggled, this, &NastrShl::ObrShlChange);
    connect(ui->bDefValue, &QPushButton::clicked, this, &NastrShl::SetDefaultVal);
    // Escape and the title-bar button go the Cancel way.
    connect(this, &QDialog::rejected, ui->pbCancel, &QPushButton::click);
}

NastrShl::~NastrShl() {
    delete ui;
}

QString NastrShl::ShownValue(int code) const {
    const QVector<SensorRecord> none;
    const QVector<SensorRecord>& sensors =
        g_deviceSettings ? g_deviceSettings->loopLimits->sensors : none;
    return SensorCodeText(sensors, sensorIndex, code).left(kShownLength);
}

void NastrShl::repaintBar(int lower, int upper) {
    ui->nLine->RepaintLine(Percent(lower), Percent(upper), ui->cbObrShl->isChecked());
}

void NastrShl::MinSliderGo(int value) {
    if (ui->slNMax->value() <= value)
        ui->slNMax->setValue(value);
    ui->leMinD1->setText(ShownValue(0));
    ui->leMaxD1->setText(ShownValue(value));
    ui->leMinD2->setText(ShownValue(value));
    repaintBar(value, ui->slNMax->value());
}

void NastrShl::MaxSliderGo(int value) {
    if (ui->slNMin->value() >= value)
        ui->slNMin->setValue(value);
    ui->leMaxD2->setText(ShownValue(value));
    ui->leMinD3->setText(ShownValue(value));
    ui->leMaxD3->setText(ShownValue(kAdcCodes - 1));
    repaintBar(ui->slNMin->value(), value);
}

void NastrShl::ApplyClick() {
    QPointer<NastrShl> alive(this);
    emit SignalSetValues(ui->slNMin->value(), ui->slNMax->value(), ui->cbObrShl->isChecked(),
                         ui->cbForAll->isChecked(), this);
    if (!alive)
        return;
    ui->cbForAll->setChecked(false);
    accept();
    // The receivers may have moved the controls: what they left is applied.
    savedMin = ui->slNMin->value();
    savedMax = ui->slNMax->value();
    savedObr = ui->cbObrShl->isChecked();
}

void NastrShl::ValuesChangeOut(int min, int max, bool obr) {
    ui->slNMin->setValue(min);
    ui->slNMax->setValue(max);
    ui->cbObrShl->setChecked(obr);
    savedObr = obr;
    savedMin = min;
    savedMax = max;
}

void NastrShl::ObrShlChange(bool obr) {
    ui->label_4->setText(obr ? QStringLiteral("Установка минимальной границы (неисправность)")
                             : QStringLiteral("Установка минимальной границы (тревога)"));
    ui->label_7->setText(obr ? QStringLiteral("Установка максимальной границы (тревога)")
                             : QStringLiteral("Установка максимальной границы (неисправность)"));
    ui->lMin->setText(obr ? QStringLiteral("Неисправность") : QStringLiteral("Тревога"));
    ui->lMax->setText(obr ? QStringLiteral("Тревога") : QStringLiteral("Неисправность"));
    repaintBar(ui->slNMin->value(), ui->slNMax->value());
}

void NastrShl::SetDefaultVal() {
    if (!g_deviceSettings || shlNum < 0 || shlNum >= kLoops)
        return;
    const LoopLimits& limits = *g_deviceSettings->loopLimits;
    const auto loop = size_t(shlNum);
    ui->slNMin->setValue(int(qMin(limits.defaultMin[loop], u32(kAdcCodes - 1))));
    ui->slNMax->setValue(int(qMin(limits.defaultMax[loop], u32(kAdcCodes - 1))));
    ui->cbObrShl->setChecked(limits.defaultReverse[loop] != 0);
}

void NastrShl::CancelClick() {
    // A shown dialog is closed by rejecting it; the rejection comes back
    // here through pbCancel with the dialog hidden, and that run restores the
    // controls. Rejecting a hidden dialog would signal again, so it is never
    // done: one dismissal, one run, one SignalDialogClosed.
    if (isVisible()) {
        reject();
        return;
    }
    ui->slNMin->setValue(savedMin);
    ui->slNMax->setValue(savedMax);
    ui->cbObrShl->setChecked(savedObr);
    ui->cbForAll->setChecked(false);
    emit SignalDialogClosed();
}

void NastrShl::SetNewScale(QString scaleL, QString scaleLC, QString scaleC, QString scaleCR,
                           QString scaleR) {
    ui->lScaleLeft->setText(scaleL);
    ui->lScaleLC->setText(scaleLC);
    ui->lScaleCenter->setText(scaleC);
    ui->lScaleCR->setText(scaleCR);
    ui->lScaleRight->setText(scaleR);
}
