#pragma once

#include "link/dialogs/TestModeDialog.h"
#include "settings/DeviceSettings.h"

#include <QByteArray>
#include <QStringList>

namespace Ui {
class TestPrib;
}

// The device's test mode: live loop readings against their ranges, supply
// voltage, mains, the last key touched, and the output commands.
class TestPrib : public TestModeDialog {
    Q_OBJECT

public:
    explicit TestPrib(QWidget* parent = nullptr);
    ~TestPrib() override;

    // The test command of the Touch-Memory signal at list index `index` for a
    // device with `loops` loops: 19 + 8 * state + loop.
    static int TouchSignalCommand(int index, int loops);
    // Supply code of an "L" packet (bytes 9-11) and its voltage.
    static int SupplyCode(const QByteArray& pack, bool* ok);
    static float SupplyVolts(int code);
    // The reading a row shows for a loop code: the loop's sensor value cut to
    // five characters, or the plain code.
    static QString LoopReading(const LoopLimits& limits, int loop, int code);

public slots:
    void CrListSignalsbT(DEV_TYPE devType);
    void initialize();
    void ReceptTestPack(bool chet, QByteArray pack);
    void StartStopSirenaClc();
    void StartStopLightClc();
    void SendTMSignal();
    void SetSensorScales();
    void BreakSlider(int value);

private:
    void SetLedColor(int loop, int code);
    void showLoop(int loop, int code);

    bool sirenOn = false;
    bool lightOn = false;
    // The loop count the signal list was built for. The header's device type
    // can change without the list (a device announcing a version the program
    // does not know), and a command computed for another count than the list
    // shows names another signal or, from 43 on, deletes a key.
    int signalLoops = 0;
    Ui::TestPrib* ui;
    QStringList signalNames;
};
