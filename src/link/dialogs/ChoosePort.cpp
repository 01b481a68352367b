#include "link/dialogs/ChoosePort.h"

#include "link/ComPort.h"
#include "link/UsbLayer.h"
#include "link/dialogs/ComboItems.h"
#include "link/dialogs/WizardList.h"
#include "settings/DeviceSettings.h"
#include "ui_ChoosePort.h"

#include <QTimer>

namespace {
const QString kNoUsbDevices = QStringLiteral("Нет USB-устройств");
const QString kSearchingDevices = QStringLiteral("Поиск устройств");
const QString kDeviceUnavailable = QStringLiteral("Устройство недоступно");
constexpr int kComPrefixLength = 3; // "COM"
} // namespace

ChoosePort::ChoosePort(QWidget* parent) : QDialog(parent), ui(new Ui::ChoosePort) {
    ui->setupUi(this);
    connect(ui->rbCOM, &QRadioButton::toggled, ui->cbPort, &QWidget::setEnabled);
    connect(ui->rbCOM, &QRadioButton::toggled, ui->cbUSB, &QWidget::setDisabled);
    connect(ui->rbCOM, &QRadioButton::toggled, ui->groupBox_2, &QWidget::setEnabled);
    connect(ui->pbApply, &QPushButton::clicked, this, &ChoosePort::ApplyClick);
    connect(ui->pbCancel, &QPushButton::clicked, this, &ChoosePort::CancelClick);
    connect(ui->pbUpdate, &QPushButton::clicked, this, &ChoosePort::UpdateClick);
    connect(ui->pbDefault, &QPushButton::clicked, this, &ChoosePort::DefaultClick);
    connect(ui->BPortOpt, &QPushButton::clicked, this, &ChoosePort::PortOpt);
    FillComPorts();
    usbPollTimer = new QTimer(this);
    connect(usbPollTimer, &QTimer::timeout, this, &ChoosePort::GetUSBDevices);
    usbPollTimer->start(kUsbPollMs);
    ui->pbUpdate->hide();
    ApplyClick();
    ui->groupBox_2->hide();
    adjustSize();
}

ChoosePort::~ChoosePort() {
    delete ui;
}

int ChoosePort::ComNumberOfText(const QString& text) {
    int n = 0;
    for (int i = kComPrefixLength; i < text.size() && text.at(i).isDigit(); ++i) {
        n = n * 10 + text.at(i).digitValue();
        if (n > 1000000)
            break;
    }
    return n;
}

QString ChoosePort::ComItemText(int number, const QString& path) {
    return QStringLiteral("COM%1 (%2)").arg(number).arg(path);
}

QStringList ChoosePort::comItems() const {
    return ComboItems(ui->cbPort);
}
QStringList ChoosePort::usbItems() const {
    return ComboItems(ui->cbUSB);
}

void ChoosePort::FillComPorts() {
    ui->cbPort->clear();
    const QStringList paths = ComPortPaths();
    for (int i = 0; i < paths.size(); ++i)
        ui->cbPort->addItem(ComItemText(i + 1, paths.at(i)));
    if (paths.isEmpty()) {
        ui->rbUSB->setChecked(true);
        ui->rbCOM->setEnabled(false);
    } else {
        ui->rbCOM->setEnabled(true);
        ui->cbPort->setCurrentIndex(0);
    }
}

void ChoosePort::ApplyClick() {
    if (g_deviceSettings) {
        PortSettings& p = *g_deviceSettings->port;
        p.comNumber = ComNumberOfText(ui->cbPort->currentText());
        p.comIndex = ui->cbPort->currentIndex();
        p.usbIndex = ui->cbUSB->currentIndex();
        p.usbDeviceText = ui->cbUSB->currentText();
        p.useCom = ui->rbCOM->isChecked() ? 1 : 0;
    }
    emit SigPortChange();
}

void ChoosePort::CancelClick() {
    if (g_deviceSettings) {
        const PortSettings& p = *g_deviceSettings->port;
        ui->cbPort->setCurrentIndex(p.comIndex);
        if (p.useCom)
            ui->rbCOM->setChecked(true);
        else
            ui->rbUSB->setChecked(true);
    }
    close();
}

void ChoosePort::UpdateClick() {}
void ChoosePort::DefaultClick() {}
void ChoosePort::PortOpt() {}

void ChoosePort::usbOpenOk() {
    close();
}

void ChoosePort::GetUSBDevices() {
    UsbLayer& usb = ActiveUsbLayer();
    unsigned long count = 0;
    if (usb.ListDevicesCount(&count) != FT_OK)
        return;
    QString polled = g_deviceSettings ? g_deviceSettings->port->polledUsbText : QString();

    bool listChanged = false;
    if (long(count) != lastDeviceCount) {
        if (long(count) < lastDeviceCount)
            emit SigMessage(kStatusUsbDetached, true, polled);
        selectedUsbText = ui->cbUSB->currentText();
        usb.CreateDeviceInfoList(&count);
        searchAttempts = 0;
        searching = false;
        listChanged = true;
    } else if (searching) {
        usb.CreateDeviceInfoList(&count);
        searching = false;
    }

    QStringList list;
    if (count == 0) {
        list << kNoUsbDevices;
        ui->rbUSB->setEnabled(false);
        ui->cbUSB->setEnabled(false);
        ui->rbCOM->setChecked(true);
        lastDeviceCount = 0;
    } else {
        if (!portOpen)
            ui->rbUSB->setEnabled(true);
        QList<UsbDeviceInfo> infos;
        const FT_STATUS st = usb.GetDeviceInfoList(&infos);
        bool searchShown = false;
        for (unsigned long i = 0; i < count; ++i) {
            QString text;
            const bool ready = st == FT_OK && qsizetype(i) < infos.size() &&
                               !infos.at(qsizetype(i)).serialNumber.isEmpty();
            if (!ready) {
                searching = true;
                if (searchAttempts < kSearchPolls) {
                    list = QStringList{kSearchingDevices};
                    ++searchAttempts;
                    searchShown = true;
                    continue;
                }
                text = kDeviceUnavailable;
            } else {
                const UsbDeviceInfo& info = infos.at(qsizetype(i));
                text = QString::fromLatin1(info.serialNumber) + QLatin1Char(' ') +
                       QString::fromLatin1(info.description);
            }
            if (searchShown)
                continue;
            list << text;
            if ((ui->cbUSB->count() > 0 && ui->cbUSB->itemText(0) == text) || polled.isEmpty())
                polled = text;
        }
        if (g_deviceSettings)
            g_deviceSettings->port->polledUsbText = polled;
    }

    if (long(count) != lastDeviceCount) {
        if (long(count) > lastDeviceCount) {
            if (!portOpen) {
                ui->rbUSB->setChecked(true);
                showPending = true;
            }
            emit SigMessage(kStatusUsbAttached, true, polled);
        }
        lastDeviceCount = int(count);
    }

    if (list != usbList)
        listChanged = true;
    usbList = list;

    if (listChanged) {
        ui->cbUSB->clear();
        ui->cbUSB->addItems(list);
        const QString comText = ui->cbPort->currentText();
        FillComPorts();
        const int comRow = ui->cbPort->findText(comText);
        if (comRow >= 0)
            ui->cbPort->setCurrentIndex(comRow);
        bool lost = false;
        if (portOpen && !usbPortOpen && comRow < 0)
            lost = true;
        if (portOpen && usbPortOpen && ui->cbUSB->currentText() != kSearchingDevices) {
            const int usbRow = ui->cbUSB->findText(selectedUsbText);
            if (usbRow >= 0)
                ui->cbUSB->setCurrentIndex(usbRow);
            else
                lost = true;
        }
        if (lost) {
            if (mainWindowShown)
                emit SigTriggerOpClPort();
            else
                emit SigDeviceLose();
            showPending = true;
        }
        emit SigTransferList(wizardlist::kComPorts, comItems());
        emit SigTransferList(wizardlist::kUsbDevices, list);
    }

    if (mainWindowShown && showPending) {
        show();
        showPending = false;
    }
}
