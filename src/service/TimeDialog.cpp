#include "service/TimeDialog.h"

#include "ui_TimeDialog.h"

#include <QTimer>

namespace {
const QString kDeviceTimeFormat = QStringLiteral("yy/MM/dd,HH:mm:ss");
const QByteArray kTimeZoneSuffix = "+00";
const QByteArray kNoMeasurement = "99";
} // namespace

TimeDialog::TimeDialog(QWidget* parent)
    : QDialog(parent), ui(new Ui::TimeDialog), refreshTimer(new QTimer(this)) {
    ui->setupUi(this);
    refreshTimer->setInterval(kRefreshMs);
    connect(refreshTimer, &QTimer::timeout, this, &TimeDialog::RefreshTimeout);
    connect(ui->pbWriteTime, &QPushButton::clicked, this,
            [this] { emit SigWriteNewTime(FormatDeviceTime(ui->dteNewTime->dateTime())); });
    connect(ui->pbWriteSystemTime, &QPushButton::clicked, this,
            [this] { emit SigWriteNewTime(FormatDeviceTime(now())); });
    connect(ui->pbGetSignalLevel, &QPushButton::clicked, this, [this] {
        askGsmLevel = false;
        emit SigGetGSMSignalLevel();
    });
    connect(ui->pbCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(this, &QDialog::finished, refreshTimer, &QTimer::stop);
}

TimeDialog::~TimeDialog() {
    delete ui;
}

QDateTime TimeDialog::ParseDeviceTime(const QByteArray& text) {
    if (text.size() < kTimeTextLength)
        return {};
    QDateTime t =
        QDateTime::fromString(QString::fromLatin1(text.left(kTimeTextLength)), kDeviceTimeFormat);
    if (t.isValid() && t.date().year() < 2000)
        t = t.addYears(100);
    return t;
}

QByteArray TimeDialog::FormatDeviceTime(const QDateTime& time) {
    return time.toString(kDeviceTimeFormat).toLatin1() + kTimeZoneSuffix;
}

void TimeDialog::ExecWindow() {
    askDeviceTime = true;
    askGsmLevel = true;
    ui->dteSystemTime->setDateTime(now());
    ui->dteNewTime->setDateTime(now());
    refreshTimer->start();
    exec();
}

void TimeDialog::RefreshTimeout() {
    ui->dteSystemTime->setDateTime(now());
    if (askDeviceTime) {
        askDeviceTime = false;
        emit SigGetDeviceTime();
    }
    if (askGsmLevel) {
        askGsmLevel = false;
        emit SigGetGSMSignalLevel();
    }
}

void TimeDialog::SetCurrentDeviceTime(QByteArray time) {
    askDeviceTime = true;
    const QDateTime t = ParseDeviceTime(time);
    if (t.isValid())
        ui->dteCurrentDeviceTime->setDateTime(t);
}

void TimeDialog::SetGSMSignalLevel(QByteArray level) {
    askGsmLevel = true;
    if (level.left(2) == kNoMeasurement || level.size() < 2) {
        ui->pBarLevel->setValue(0);
        ui->pBarLevel->setFormat(QStringLiteral("Ошибка!"));
        return;
    }
    ui->pBarLevel->setFormat(QStringLiteral("%v"));
    ui->pBarLevel->setValue(level.left(2).toInt());
}
