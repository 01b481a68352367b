#include "service/TimeDialog.h"

#include "link/LinkTiming.h"
#include "ui_TimeDialog.h"

#include <QMutex>
#include <QMutexLocker>
#include <QTimer>

#include <cmath>

namespace {

const QString kDeviceTimeFormat = QStringLiteral("yy/MM/dd,HH:mm:ss");
const QByteArray kTimeZoneSuffix = "+00";
const QString kLevelFormat = QStringLiteral("%p%");
const QString kLevelError = QStringLiteral("Ошибка!");
// The years the device's two year digits can stand for.
constexpr int kFirstYear = 2000;
constexpr int kLastYear = 2099;
// The device reports 0..31; 32 steps make the full bar.
constexpr double kLevelStep = 0.03125;

// Guards the device clock between the answer that stores it and the tick
// that shows it.
QMutex deviceTimeMutex;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

TimeDialog::TimeDialog(QWidget* parent)
    : QDialog(parent), refreshTimer(new QTimer(this)), ui(new Ui::TimeDialog) {
    ui->setupUi(this);
    connect(this, &QDialog::rejected, refreshTimer, &QTimer::stop);
    connect(refreshTimer, &QTimer::timeout, this, &TimeDialog::RefreshTimeout);
    connect(ui->pbWriteTime, &QPushButton::clicked, this, &TimeDialog::WriteNewDeviceTimeClick);
    connect(ui->pbWriteSystemTime, &QPushButton::clicked, this, &TimeDialog::WriteSystemTimeClick);
    connect(ui->pbGetSignalLevel, &QPushButton::clicked, this, &TimeDialog::GetGSMSignalLevelClick);
    connect(ui->pbCancel, &QPushButton::clicked, this, &QDialog::reject);
    ui->pbRestart->hide();
    ui->pbGetSignalLevel->hide();
}

TimeDialog::~TimeDialog() {
    delete ui;
}

QDateTime TimeDialog::ParseDeviceTime(const QByteArray& text) {
    if (text.size() < kTimeTextLength)
        return {};
    // Read as 20yy directly: read as 19yy, the leap day of 2000 ("00/02/29")
    // would not exist and could not be shown.
    const QString t = QString::fromLatin1(text.left(kTimeTextLength));
    const QDateTime parsed =
        QDateTime::fromString(QStringLiteral("20") + t, QStringLiteral("yyyy/MM/dd,HH:mm:ss"));
    return parsed.isValid() ? parsed : QDateTime();
}

QByteArray TimeDialog::FormatDeviceTime(const QDateTime& time) {
    return time.toString(kDeviceTimeFormat).toLatin1() + kTimeZoneSuffix;
}

int TimeDialog::GsmLevelPercent(const QByteArray& level) {
    if (level.size() < 2 || !IsDigit(level.at(0)) || !IsDigit(level.at(1)) || level.left(2) == "99")
        return -1;
    const int n = 10 * (level.at(0) & 0x0F) + (level.at(1) & 0x0F);
    return int(std::floor(n * kLevelStep * 100 + 0.5));
}

void TimeDialog::ExecWindow() {
    askDeviceTime = true;
    askGsmLevel = true;
    const QDateTime t = now();
    ui->dteCurrentDeviceTime->setDateTime(t);
    ui->dteSystemTime->setDateTime(t);
    ui->dteNewTime->setDateTime(t);
    ui->pBarLevel->setValue(0);
    ui->pBarLevel->setFormat(kLevelFormat);
    refreshTimer->start(kwlink::ScaledMs(kRefreshMs));
    exec();
}

void TimeDialog::CloseWindow() {
    refreshTimer->stop();
    close();
}

void TimeDialog::RefreshTimeout() {
    if (askDeviceTime) {
        askDeviceTime = false;
        emit SigGetDeviceTime();
    }
    ui->dteSystemTime->setDateTime(now());
    {
        QMutexLocker lock(&deviceTimeMutex);
        if (deviceTime.isValid())
            ui->dteCurrentDeviceTime->setDateTime(deviceTime);
    }
    if (askGsmLevel) {
        askGsmLevel = false;
        emit SigGetGSMSignalLevel();
    }
}

void TimeDialog::SetCurrentDeviceTime(QByteArray time) {
    askDeviceTime = true;
    if (time.isEmpty())
        return;
    const QDateTime parsed = ParseDeviceTime(time);
    QMutexLocker lock(&deviceTimeMutex);
    // A text that does not parse leaves the last clock shown.
    if (parsed.isValid())
        deviceTime = parsed;
}

void TimeDialog::WriteNewDeviceTimeClick() {
    emit SigWriteNewTime(FormatDeviceTime(ui->dteNewTime->dateTime()));
}

void TimeDialog::WriteSystemTimeClick() {
    // The device keeps two year digits: a computer clock outside 2000-2099
    // (a lost clock reads 1970) would set another century without a word.
    const QDateTime t = now();
    if (t.date().year() < kFirstYear || t.date().year() > kLastYear)
        return;
    emit SigWriteNewTime(FormatDeviceTime(t));
}

void TimeDialog::GetGSMSignalLevelClick() {
    emit SigGetGSMSignalLevel();
}

void TimeDialog::SetGSMSignalLevel(QByteArray level) {
    askGsmLevel = true;
    const int percent = GsmLevelPercent(level);
    if (percent < 0) {
        ui->pBarLevel->setFormat(kLevelError);
        ui->pBarLevel->setValue(0);
        return;
    }
    ui->pBarLevel->setFormat(kLevelFormat);
    // Above the bar's range the value is not taken: the bar keeps its last.
    ui->pBarLevel->setValue(percent);
}
