#pragma once

#include "settings/DeviceSettings.h"

#include <QPushButton>
#include <QStringList>
#include <QWizard>

class QTimer;

namespace Ui {
class WizardOM;
}

// The guided setup from connection to a programmed device.
class WizardOM : public QWizard {
    Q_OBJECT

public:
    enum PageId {
        PageConnect = 0,
        PageWait,
        PageChoose,
        PageReadEEPROM,
        PageBase,
        PageGPRS,
        PageNumbers,
        PageShlFunc,
        PageExits,
        PageCams,
        PageSummary,
        PageProgramming,
    };
    static constexpr int kWaitTimeoutMs = 30000;

    explicit WizardOM(QWidget* parent = nullptr);
    ~WizardOM() override;

    bool isPortOpen() const { return portOpen; }
    bool isWaiting() const;
    int currentDeviceType() const { return deviceType; }
    QString currentVersion() const { return version; }
    QStringList operatorNames() const { return operators; }

    QPushButton programButton;
    QPushButton editorButton;
    QPushButton menuButton;

signals:
    void SigVersionChange();
    void SigOpenPort(bool com, int index);
    void SigClosePort();
    void SigLoadDefaultSettings(int tDev);
    void SigSetupOptionsFromMaster(DEV_TYPE devType, QString ver, bool programmThis);
    void SigStartKeelwright();
    void SigShowKeyConfigWindow();
    void SigShowTestWindow();
    void SigReadEEPROM();
    void SigBreakOperation();

public slots:
    void StartWizard();
    void SetupList(int numSpis, QStringList list);
    void PageChange(int id);
    void WaitTimeOut();
    void SetConnectOk(DEV_TYPE tDev, QString ver);
    void SetOpenPortStatus(int status);
    void RunConfigClick();
    void ProgrammingClick();
    void BackToMenuClick();
    void SetProgrammingProgress(int value, int max);
    void SetStatusProgramming(bool ok);
    void SetReadProgress(int value, int max);
    void SetReadEEPROMStatus(bool ok);
    void ExitFromKeysOrTest();
    void ReadTimeOut();

private:
    QTimer* waitTimer;
    int lastPageId = -1;
    int deviceType = DEV_D4M;
    bool deviceFound = false;
    bool portOpen = false;
    QString version;
    QStringList operators;
    Ui::WizardOM* ui;
};
