// The port choice dialog (COM table and USB presence poll), the port options
// dialog, and the main window's port toggle on top of them.

#include "AppTestSupport.h"

#include "app/EventTable.h"
#include "app/MainWindow.h"
#include "link/PortWork.h"
#include "link/dialogs/ChoosePort.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSerialPortInfo>
#include <QSignalSpy>
#include <QTimer>

class TestPortDialog : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PrepareApplication(); }
    void comTable();
    void usbArrivesAndLeaves();
    void usbPollRunsByItself();
    void unreadableDevice();
    void openUsbDeviceLost();
    void mainWindowOpensAndClosesCom();
    void mainWindowOpensUsbOnChoice();

private:
    static QString lastRow(MainWindow& main) {
        EventTable* log = main.events();
        return log->data(log->index(log->rowCount() - 1, 3)).toString();
    }
};

void TestPortDialog::comTable() {
    ShellFixture fx;
    MainWindow main; // the settings object
    ChoosePort dialog;
    const QStringList items = dialog.comItems();
    QCOMPARE(items.size(), ComPortPaths().size());
    QVERIFY(items.contains(ChoosePort::ComItemText(fx.comNumber, fx.pty.path)));
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        QVERIFY2(ComPortPaths().contains(info.systemLocation()), qPrintable(info.systemLocation()));
    auto* cbPort = dialog.findChild<QComboBox*>(QStringLiteral("cbPort"));
    cbPort->setCurrentIndex(fx.comNumber - 1);
    QSignalSpy change(&dialog, &ChoosePort::SigPortChange);
    dialog.ApplyClick();
    QCOMPARE(change.size(), 1);
    QCOMPARE(g_deviceSettings->port->comNumber, fx.comNumber); // "COMn (path)" gives n
    QCOMPARE(g_deviceSettings->port->comIndex, fx.comNumber - 1);
    QCOMPARE(g_deviceSettings->port->useCom, u8(1));
}

void TestPortDialog::usbArrivesAndLeaves() {
    ShellFixture fx;
    MainWindow main;
    ChoosePort dialog;
    dialog.usbPollTimer->stop();
    QSignalSpy messages(&dialog, &ChoosePort::SigMessage);
    QSignalSpy lists(&dialog, &ChoosePort::SigTransferList);
    auto* rbUSB = dialog.findChild<QRadioButton*>(QStringLiteral("rbUSB"));
    auto* rbCOM = dialog.findChild<QRadioButton*>(QStringLiteral("rbCOM"));

    dialog.GetUSBDevices();
    QVERIFY(!rbUSB->isEnabled());
    QCOMPARE(lists.size(), 2); // the first poll hands both lists on
    QVERIFY(messages.isEmpty());

    fx.usb.AddDevice("FT12AB", "USB <-> Serial");
    for (int i = 0; i < 3; ++i)
        dialog.GetUSBDevices();
    QCOMPARE(IntArgs(messages), QList<int>{114});
    QCOMPARE(messages.at(0).at(2).toString(), QStringLiteral("FT12AB USB <-> Serial"));
    QVERIFY(rbUSB->isChecked());
    QCOMPARE(lists.size(), 4);

    fx.usb.Unplug(0);
    for (int i = 0; i < 3; ++i)
        dialog.GetUSBDevices();
    QCOMPARE(IntArgs(messages), (QList<int>{114, 200}));
    QVERIFY(rbCOM->isChecked());
    QVERIFY(!rbUSB->isEnabled());
    QCOMPARE(lists.size(), 6);
}

void TestPortDialog::usbPollRunsByItself() {
    ShellFixture fx;
    MainWindow main;
    fx.usb.AddDevice("FT9", "Adapter");
    QTRY_COMPARE_WITH_TIMEOUT(main.events()->rowCount(), 1, 20000);
    QCOMPARE(lastRow(main), QStringLiteral("Обнаружено USB-устройство FT9 Adapter"));
    // Not on screen: the dialog does not pop up by itself.
    QVERIFY(!main.choosePort()->isVisible());
}

void TestPortDialog::unreadableDevice() {
    ShellFixture fx;
    MainWindow main;
    ChoosePort dialog;
    dialog.usbPollTimer->stop();
    fx.usb.AddDevice(QByteArray(), "Busy");
    QStringList seen;
    for (int i = 0; i < ChoosePort::kSearchPolls + 2; ++i) {
        dialog.GetUSBDevices();
        seen << dialog.usbItems().join(QLatin1Char(','));
    }
    for (int i = 0; i < ChoosePort::kSearchPolls; ++i)
        QCOMPARE(seen.at(i), QStringLiteral("Поиск устройств"));
    QCOMPARE(seen.last(), QStringLiteral("Устройство недоступно"));
}

void TestPortDialog::openUsbDeviceLost() {
    ShellFixture fx;
    MainWindow main;
    ChoosePort dialog;
    dialog.usbPollTimer->stop();
    fx.usb.AddDevice("FT1", "One");
    dialog.GetUSBDevices();
    dialog.portOpen = true;
    dialog.usbPortOpen = true;
    QSignalSpy lose(&dialog, &ChoosePort::SigDeviceLose);
    QSignalSpy trigger(&dialog, &ChoosePort::SigTriggerOpClPort);
    fx.usb.Unplug(0);
    dialog.GetUSBDevices();
    QCOMPARE(lose.size(), 1);
    QCOMPARE(trigger.size(), 0);
    // With the main window on screen the port is closed through it instead.
    dialog.portOpen = false;
    fx.usb.AddDevice("FT2", "Two");
    dialog.GetUSBDevices();
    dialog.portOpen = true;
    dialog.mainWindowShown = true;
    fx.usb.Unplug(1);
    dialog.GetUSBDevices();
    QCOMPARE(trigger.size(), 1);
    QCOMPARE(lose.size(), 1);
    QVERIFY(dialog.isVisible());
}

void TestPortDialog::mainWindowOpensAndClosesCom() {
    ShellFixture fx;
    const int missing = AddComPortPath(fx.file(QStringLiteral("no-such-tty")));
    MainWindow main;
    auto* cbPort = main.choosePort()->findChild<QComboBox*>(QStringLiteral("cbPort"));
    auto* toggle = main.findChild<QAction*>(QStringLiteral("actOpenClosePort"));
    QSignalSpy status(&main, &MainWindow::SigPortOpenStatus);

    // A port that cannot be opened: the system error in the log, no change.
    cbPort->setCurrentIndex(missing - 1);
    main.choosePort()->ApplyClick();
    toggle->trigger();
    QVERIFY(!main.portWork()->IsPortOpen());
    QCOMPARE(lastRow(main), QStringLiteral("Не удалось открыть COM-порт, код ошибки: 2"));
    QVERIFY(!main.choosePort()->portOpen);

    cbPort->setCurrentIndex(fx.comNumber - 1);
    main.choosePort()->ApplyClick();
    toggle->trigger();
    QVERIFY(main.portWork()->IsPortOpen());
    QCOMPARE(toggle->text(), QStringLiteral("Закрыть порт/устройство"));
    QVERIFY(main.choosePort()->portOpen);
    toggle->trigger();
    QVERIFY(!main.portWork()->IsPortOpen());
    QCOMPARE(IntArgs(status), (QList<int>{2, 0, 1}));
    QCOMPARE(main.events()->Row(main.events()->rowCount() - 1)->code, 111);
    QVERIFY(!main.choosePort()->portOpen);

    // Closing the window leaves an open port open; the destructor closes it.
    toggle->trigger();
    QVERIFY(!main.close());
    QVERIFY(main.portWork()->IsPortOpen());
}

void TestPortDialog::mainWindowOpensUsbOnChoice() {
    ShellFixture fx;
    fx.usb.AddDevice("FT77", "Cable");
    MainWindow main;
    ChoosePort* dialog = main.choosePort();
    dialog->GetUSBDevices();
    QSignalSpy status(&main, &MainWindow::SigPortOpenStatus);
    dialog->findChild<QRadioButton*>(QStringLiteral("rbUSB"))->setChecked(true);
    dialog->findChild<QComboBox*>(QStringLiteral("cbUSB"))->setCurrentIndex(0);
    dialog->ApplyClick(); // a USB choice opens at once
    QVERIFY(main.portWork()->IsPortOpen());
    QCOMPARE(IntArgs(status), QList<int>{0});
    QCOMPARE(lastRow(main), QStringLiteral("USB-устройство FT77 Cable подключено"));
    QVERIFY(dialog->usbPortOpen);
    // Going back to COM closes the device first, reported as a USB close.
    dialog->findChild<QRadioButton*>(QStringLiteral("rbCOM"))->setChecked(true);
    dialog->ApplyClick();
    QVERIFY(!main.portWork()->IsPortOpen());
    QCOMPARE(IntArgs(status), (QList<int>{0, 1}));
    QCOMPARE(lastRow(main), QStringLiteral("USB-устройство FT77 Cable отключено"));
}

QTEST_MAIN(TestPortDialog)
#include "tst_portdialog.moc"
