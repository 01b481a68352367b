#pragma once

#include "link/Protocol.h"

#include <QByteArray>
#include <QDateTime>
#include <QDialog>

#include <functional>

class QTimer;

namespace Ui {
class TimeDialog;
}

// The device clock and GSM signal level.
class TimeDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kRefreshMs = 1000;
    static constexpr int kTimeTextLength = proto::kTimeTextLength;

    explicit TimeDialog(QWidget* parent = nullptr);
    ~TimeDialog() override;

    // "yy/MM/dd,HH:mm:ss" to a date and time (years below 2000 move on a
    // century); invalid for a short or malformed text.
    static QDateTime ParseDeviceTime(const QByteArray& text);
    // The text the device takes to set its clock: the 17 characters and "+00".
    static QByteArray FormatDeviceTime(const QDateTime& time);

    // The computer's clock, as the window shows and sends it; tests set it.
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };

signals:
    void SigGetDeviceTime();
    void SigGetGSMSignalLevel();
    void SigWriteNewTime(QByteArray time);
    void SigRestartDevice();

public slots:
    void ExecWindow();
    void SetCurrentDeviceTime(QByteArray time);
    void SetGSMSignalLevel(QByteArray level);

    // The one-second tick: the clock shown, and the device asked again for
    // its time and GSM level, each once its previous answer has arrived.
    void RefreshTimeout();

private:
    Ui::TimeDialog* ui;
    QTimer* refreshTimer;
    bool askDeviceTime = true;
    bool askGsmLevel = true;
};
