#pragma once

#include <QDialog>
#include <QStringList>
#include <QVariant>

class QTimer;

namespace Ui {
class ChoosePort;
}

// The choice of the link to the device: a COM port or an FTDI USB device.
// Lives as long as the main window and polls the USB devices once a second,
// reporting arrivals (114) and removals (200) and noticing a lost open port.
class ChoosePort : public QDialog {
    Q_OBJECT

public:
    static constexpr int kUsbPollMs = 1000;
    // Polls that may show "Поиск устройств" for a device that cannot be read
    // before it is shown as "Устройство недоступно".
    static constexpr int kSearchPolls = 12;
    static constexpr int kStatusUsbAttached = 114;
    static constexpr int kStatusUsbDetached = 200;

    explicit ChoosePort(QWidget* parent = nullptr);
    ~ChoosePort() override;

    // The COM number of a port list item ("COM12 (/dev/ttyUSB0)" gives 12):
    // the decimal digits after the first three characters; 0 for none.
    static int ComNumberOfText(const QString& text);
    // The list item of COM number n with its device path.
    static QString ComItemText(int number, const QString& path);

    QStringList comItems() const;
    QStringList usbItems() const;

    bool mainWindowShown = false;
    bool portOpen = false;
    bool usbPortOpen = false;
    QTimer* usbPollTimer = nullptr;

signals:
    void SigPortChange();
    void SigMessage(int code, bool sh, QVariant arg1);
    void SigDeviceLose();
    void SigTransferList(int num, QStringList list);
    void SigTriggerOpClPort();

public slots:
    void ApplyClick();
    void CancelClick();
    void UpdateClick();
    void DefaultClick();
    void PortOpt();
    void usbOpenOk();
    void GetUSBDevices();

private:
    void FillComPorts();

    int lastDeviceCount = 0;
    int searchAttempts = 0;
    bool searching = true;
    QStringList usbList;
    bool showPending = false;
    QString selectedUsbText;
    Ui::ChoosePort* ui;
};
