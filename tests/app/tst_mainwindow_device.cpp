// The main window against the simulated device: the announcement selects the
// model and version, programming and reading run through the window's
// actions and end in the event log and the refilled windows.

#include "DeviceFixture.h"

#include "app/EventTable.h"
#include "app/MainWindow.h"
#include "link/LinkTiming.h"
#include "link/PortWork.h"
#include "link/dialogs/ChoosePort.h"
#include "service/History.h"
#include "service/RestartCauses.h"
#include "settings/ImageEEPROM.h"
#include "sim/SimDevice.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QRadioButton>
#include <QSignalSpy>

class TestMainWindowDevice : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        PrepareApplication();
        kwlink::SetLinkTimeScale(0.1);
    }
    void announceProgramAndRead();
};

void TestMainWindowDevice::announceProgramAndRead() {
    DeviceFixture fx;
    QVERIFY(fx.simStarted);
    fx.open();
    MainWindow& main = *fx.main;
    main.SetWizardActiveStatus(true);

    // The device announces itself: model, version row and its mark.
    QSignalSpy connected(&main, &MainWindow::SigDeviceWasConnect);
    QVERIFY(fx.connect(2, QDate(2012, 5, 16), 22));
    auto* versions = fx.widget<QComboBox>("cbVersion");
    QCOMPARE(versions->currentText(), QStringLiteral("16.05.2012/22"));
    QVERIFY(!versions->itemIcon(versions->currentIndex()).isNull());
    QVERIFY(fx.widget<QRadioButton>("rbVororaZ")->isChecked());
    QCOMPARE(connected.at(0).at(1).toString(), QStringLiteral("16.05.2012/22"));
    QVERIFY(fx.codes().contains(100));
    QCOMPARE(g_deviceSettings->header->firmwareSubVersion, 22);

    // Programming: progress relayed to the wizard, success logged and shown.
    QSignalSpy progress(&main, &MainWindow::SigSetProgress);
    QSignalSpy programmed(&main, &MainWindow::SigProgrammingStatus);
    fx.action("actProgramming")->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(programmed.size(), 1, 10000);
    QVERIFY(programmed.at(0).at(0).toBool());
    QVERIFY(fx.codes().contains(120));
    QCOMPARE(fx.prompt.count(QStringLiteral("Прибор успешно запрограммирован.")), 1);
    QVERIFY(!progress.isEmpty());
    QCOMPARE(progress.at(0).at(1).toInt(), 800); // 16.05.2012 with a build

    // Reading: the image is decoded and every window refilled.
    fx.sim.SetMemoryImage(ImageEEPROM::BuildImage(*g_deviceSettings));
    QSignalSpy read(&main, &MainWindow::SigReadEEPROMStatus);
    fx.action("actReadEEPROM")->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(read.size(), 1, 10000);
    QVERIFY(read.at(0).at(0).toBool());
    QVERIFY(fx.codes().contains(121));
    QVERIFY(!main.restartCauses()
                 ->findChild<QLabel*>(QStringLiteral("lInfo"))
                 ->isVisibleTo(main.restartCauses()));
    QVERIFY(
        !main.history()->findChild<QLabel*>(QStringLiteral("lInfo"))->isVisibleTo(main.history()));

    fx.action("actOpenClosePort")->trigger();
    QVERIFY(!main.portWork()->IsPortOpen());
    QVERIFY(fx.codes().contains(111));
}

QTEST_MAIN(TestMainWindowDevice)
#include "tst_mainwindow_device.moc"
