#pragma once

#include "link/dialogs/TestModeDialog.h"
#include "settings/DeviceSettings.h"

#include <QByteArray>
#include <QStringList>

namespace Ui {
class TestPrib;
}

// The device's test mode: live loop readings and output commands.
class TestPrib : public TestModeDialog {
    Q_OBJECT

public:
    explicit TestPrib(QWidget* parent = nullptr);
    ~TestPrib() override;

    // The test command of the Touch-Memory signal at list index `index` for a
    // device with `loops` loops: 19 + 8 * state + loop.
    static int TouchSignalCommand(int index, int loops);
    static int LoopsOf(int devType);

public slots:
    void CrListSignalsbT(DEV_TYPE devType);
    void initialize();
    void ReceptTestPack(bool flag, QByteArray pack);
    void StartStopSirenaClc();
    void StartStopLightClc();
    void SendTMSignal();
    void SetSensorScales();

private:
    void showLoop(int loop, int code);

    bool sirenOn = false;
    bool lightOn = false;
    Ui::TestPrib* ui;
    QStringList signalNames;
};
