#include "service/ThermInfoLine.h"

#include "editor/NaprLines.h"
#include "editor/NastrShl.h"
#include "settings/DeviceSettings.h"
#include "settings/Prompt.h"
#include "settings/SensorTypes.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {
// The sensors' scale: -55 degrees at the left end.
constexpr double kZeroOffset = 55.0;
constexpr double kPositionsPerDegree = 0.645;
constexpr double kDegreesPerCode = 0.152;
constexpr int kMaxPosition = 100;
constexpr int kMaxCode = 1023;
// The loaded sensor type whose values label the scale and the dialog.
constexpr int kScaleSensor = 2;
constexpr int kTemperatureDigits = 3;
constexpr int kIdDigits = 16;
constexpr int kIdPadding = 12; // frame and text margins of a line edit
constexpr int kTemperatureFieldWidth = 50;
constexpr int kSliderHeight = 20;
constexpr int kSliderTicks = 25;
constexpr int kBarHeight = 7;
constexpr int kButtonIcon = 24;
const QSize kLimitsDialogMax(358, 350);

const QString kLimitsTitle = QStringLiteral("Настройка диапазонов термометра");

// Clamps before converting: a NaN, infinite or huge float from the device
// must not reach an int conversion.
int ClampedInt(double v, int max, bool round) {
    if (!(v > 0))
        return 0;
    if (v >= max)
        return max;
    return round ? int(std::lround(v)) : int(v);
}
} // namespace

int ThermPosition(float t) {
    return ClampedInt((double(t) + kZeroOffset) * kPositionsPerDegree, kMaxPosition, false);
}

float ThermLimitOfCode(int code) {
    return float(std::clamp(code, 0, kMaxCode) * kDegreesPerCode - kZeroOffset);
}

int ThermCodeOfLimit(float limit) {
    return ClampedInt((double(limit) + kZeroOffset) / kDegreesPerCode, kMaxCode, true);
}

ThermInfoLine::ThermInfoLine(QWidget* parent) : QWidget(parent) {
    const QVector<SensorRecord> none;
    const QStringList scale = SensorScaleTexts(
        g_deviceSettings ? g_deviceSettings->loopLimits->sensors : none, kScaleSensor);
    const Qt::Alignment alignments[5] = {Qt::AlignLeft, Qt::AlignLeft, Qt::AlignCenter,
                                         Qt::AlignRight, Qt::AlignRight};
    auto* scaleRow = new QHBoxLayout;
    for (int i = 0; i < 5; ++i) {
        scaleLabels[i] = new QLabel(scale.value(i), this);
        scaleLabels[i]->setAlignment(alignments[i]);
        scaleRow->addWidget(scaleLabels[i]);
    }

    numberLabel = new QLabel(this);
    numberLabel->setAlignment(Qt::AlignCenter);

    idField = new QLineEdit(this);
    idField->setReadOnly(true);
    idField->setAlignment(Qt::AlignCenter);
    idField->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    // Room for all 16 digits of an identifier.
    int digitWidth = 0;
    for (QChar c : QStringLiteral("0123456789ABCDEF"))
        digitWidth = std::max(digitWidth, idField->fontMetrics().horizontalAdvance(c));
    idField->setMinimumWidth(kIdDigits * digitWidth + kIdPadding);

    temperatureField = new QLineEdit(this);
    temperatureField->setReadOnly(true);
    temperatureField->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    temperatureField->setMaximumWidth(kTemperatureFieldWidth);
    temperatureField->setAlignment(Qt::AlignCenter);

    temperatureSlider = new QSlider(Qt::Horizontal, this);
    temperatureSlider->setTickPosition(QSlider::TicksBelow);
    temperatureSlider->setFixedHeight(kSliderHeight);
    temperatureSlider->setTracking(false);
    temperatureSlider->setRange(0, kMaxPosition);
    temperatureSlider->setTickInterval(kSliderTicks);

    rangeBar = new NaprLines(this);
    rangeBar->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    rangeBar->setMinimumHeight(kBarHeight);

    limitsButton = new QToolButton(this);
    limitsButton->setIcon(QIcon(QStringLiteral(":/icons/opts.png")));
    limitsButton->setIconSize(QSize(kButtonIcon, kButtonIcon));
    removeButton = new QToolButton(this);
    removeButton->setIcon(QIcon(QStringLiteral(":/icons/remove.png")));
    removeButton->setIconSize(QSize(kButtonIcon, kButtonIcon));

    auto* scaleGroup = new QVBoxLayout;
    scaleGroup->addWidget(rangeBar);
    scaleGroup->addWidget(temperatureSlider);
    scaleGroup->addLayout(scaleRow);
    auto* line = new QHBoxLayout(this);
    line->addWidget(numberLabel);
    line->addWidget(idField);
    line->addWidget(temperatureField);
    line->addLayout(scaleGroup);
    line->addWidget(limitsButton);
    line->addWidget(removeButton);

    connect(limitsButton, &QToolButton::clicked, this, &ThermInfoLine::execLimsSettingsDialog);
    connect(removeButton, &QToolButton::clicked, this, &ThermInfoLine::removeThisTherm);
    connect(temperatureSlider, &QSlider::sliderMoved, this, &ThermInfoLine::breakSlider);
    connect(temperatureSlider, &QSlider::actionTriggered, this, &ThermInfoLine::breakSlider);
}

ThermInfoLine::~ThermInfoLine() = default;

void ThermInfoLine::setNumber(int n) {
    numberLabel->setText(QString::number(n));
}

void ThermInfoLine::setID(const QString& text) {
    id = text;
    idField->setText(text);
}

void ThermInfoLine::setLimits(float min, float max) {
    lowerLimit = min;
    upperLimit = max;
    rangeBar->RepaintLine(ThermPosition(min), ThermPosition(max), false);
}

void ThermInfoLine::setTemperature(float t) {
    temperature = t;
    temperatureSlider->setValue(ThermPosition(t));
    temperatureField->setText(QString::number(double(t), 'g', kTemperatureDigits));
}

void ThermInfoLine::dispose() {
    if (disposed)
        return;
    disposed = true;
    if (modalDepth == 0)
        deleteLater();
}

void ThermInfoLine::enterModal() {
    ++modalDepth;
}

void ThermInfoLine::leaveModal() {
    --modalDepth;
    if (disposed && modalDepth == 0)
        deleteLater();
}

void ThermInfoLine::execLimsSettingsDialog() {
    enterModal();
    emit sigSetRealTime(false);
    auto* dialog = new NastrShl(this);
    limitsDialog = dialog;
    // A sensor has neither a default band nor a reverse mode.
    dialog->findChild<QWidget*>(QStringLiteral("bDefValue"))->hide();
    dialog->findChild<QWidget*>(QStringLiteral("cbObrShl"))->hide();
    dialog->findChild<QGroupBox*>(QStringLiteral("GroupBox1"))->setTitle(kLimitsTitle);
    dialog->setWindowTitle(kLimitsTitle);
    dialog->setMaximumSize(kLimitsDialogMax);
    dialog->SetNewScale(scaleLabels[0]->text(), scaleLabels[1]->text(), scaleLabels[2]->text(),
                        scaleLabels[3]->text(), scaleLabels[4]->text());
    dialog->sensorIndex = kScaleSensor;
    dialog->ValuesChangeOut(ThermCodeOfLimit(lowerLimit), ThermCodeOfLimit(upperLimit), false);
    connect(dialog, &NastrShl::SignalSetValues, this, &ThermInfoLine::acceptLimsSettingsDialog);
    connect(dialog, &NastrShl::SignalDialogClosed, this, &ThermInfoLine::deleteLimsSettingsDialog);
    dialog->exec();
    leaveModal();
}

void ThermInfoLine::removeThisTherm() {
    enterModal();
    emit sigSetRealTime(false);
    const int answer =
        prompt().message(Prompt::Question, this, QStringLiteral("Удаление термометра"),
                         QStringLiteral("Удалить термометр из списка?"), Prompt::Yes | Prompt::No);
    if (answer == Prompt::Yes)
        emit sigRemoveTherm(this);
    else
        emit sigSetRealTime(true);
    leaveModal();
}

void ThermInfoLine::acceptLimsSettingsDialog(int min, int max, bool, bool forAll, QDialog*) {
    const float lower = ThermLimitOfCode(min);
    const float upper = ThermLimitOfCode(max);
    setLimits(lower, upper);
    if (forAll)
        emit sigSetValuesForAll(lower, upper);
    deleteLimsSettingsDialog();
}

void ThermInfoLine::deleteLimsSettingsDialog() {
    if (limitsDialog)
        limitsDialog->deleteLater();
}

void ThermInfoLine::breakSlider(int) {
    // The slider only shows the temperature: whatever the user does, it goes
    // back.
    const int position = ThermPosition(temperature);
    temperatureSlider->setSliderPosition(position);
    temperatureSlider->setValue(position);
}
