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

// The device clock beside the computer's, setting it, and the GSM level. The
// window only asks: the link sends the requests and brings the answers.
class TimeDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kRefreshMs = 1000;
    static constexpr int kTimeTextLength = proto::kTimeTextLength;

    explicit TimeDialog(QWidget* parent = nullptr);
    ~TimeDialog() override;

    // "yy/MM/dd,HH:mm:ss" as 2000 + yy; invalid for a short or malformed text.
    static QDateTime ParseDeviceTime(const QByteArray& text);
    // The text the device takes to set its clock: the 17 characters and "+00".
    static QByteArray FormatDeviceTime(const QDateTime& time);
    // The bar's percentage for a level text, or -1 for "no measurement" (99,
    // a missing or non-digit character).
    static int GsmLevelPercent(const QByteArray& level);

    // The computer's clock, as the window shows and sends it; tests set it.
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };

signals:
    void SigGetDeviceTime();
    void SigWriteNewTime(QByteArray time);
    void SigRestartDevice();
    void SigGetGSMSignalLevel();

public slots:
    void ExecWindow();
    void CloseWindow();
    void SetCurrentDeviceTime(QByteArray time);
    void WriteNewDeviceTimeClick();
    void WriteSystemTimeClick();
    // The one-second tick: the clocks shown, and the device asked again for
    // its time and GSM level, each once its previous answer has arrived.
    void RefreshTimeout();
    void GetGSMSignalLevelClick();
    void SetGSMSignalLevel(QByteArray level);

private:
    QTimer* refreshTimer;
    QDateTime deviceTime; // guarded by the file's mutex
    Ui::TimeDialog* ui;
    bool askDeviceTime = true;
    bool askGsmLevel = true;
};
