#pragma once

#include "settings/DeviceSettings.h"

#include <QHostAddress>
#include <QList>
#include <QPushButton>
#include <QStringList>
#include <QWizard>

#include <functional>
#include <optional>

class QTimer;
class CamerasExecTable;

namespace Ui {
class WizardOM;
}

// The guided setup: connect a device (or name model and firmware), choose what
// to do, walk the reduced settings pages, check the summary and program the
// device, or hand everything over to the full editor.
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

    // Host-name lookups of the summary; blocking QHostInfo by default.
    using HostResolver = std::function<QList<QHostAddress>(const QString&)>;
    static void SetHostResolver(HostResolver resolver);
    // The device wait's period; tests shorten it.
    static void SetWaitTimeoutMs(int ms);

    explicit WizardOM(QWidget* parent = nullptr);
    ~WizardOM() override;

    int nextId() const override;

    // Writes every field the settings pages edit into the settings object.
    void ApplyWizardToSettings();

    bool isPortOpen() const { return portOpen; }
    bool isDeviceFound() const { return deviceFound; }
    bool isWaiting() const;
    int currentDeviceType() const { return deviceType; }
    QString currentVersion() const { return version; }
    int lastPage() const { return lastPageId; }
    QHostAddress resolvedAddress(int server) const; // 0, 1 servers; 2 the time server
    CamerasExecTable* camerasTable() const { return camerasModel; }

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
    void SetupWizardOptions(int typeWizard);
    void SetupList(int numSpis, QStringList list);
    void PageChange(int id);
    void WaitTimeOut();
    void SetConnectOk(DEV_TYPE tDev, QString ver);
    void ExecWaitBreak();
    void SetupVersionFromList(QString ver);
    void SetupTypeDevFromList(int tdev);
    void SetManualOptions(bool ok);
    void VersionChange();
    void CancelClick();
    void SetOpenPortStatus(int status);
    void ExitFuncChange1(int index);
    void ExitFuncChange2(int index);
    void ExitFuncChange3(int index);
    void FuncShlChange1(int index);
    void FuncShlChange2(int index);
    void FuncShlChange3(int index);
    void FuncShlChange4(int index);
    void FuncShlChange5(int index);
    void FuncShlChange6(int index);
    void FuncShlChange7(int index);
    void FuncShlChange8(int index);
    void UseCamSelect_1(bool on);
    void UseCamSelect_2(bool on);
    void UseCamSelect_3(bool on);
    void UseCamSelect_4(bool on);
    void UseCamSelect_5(bool on);
    void UseCamSelect_6(bool on);
    void UseCamSelect_7(bool on);
    void UseCamSelect_8(bool on);
    void TehShlChange(int num);
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
    // The numbers and outputs the wizard's pages offer.
    static constexpr int kPageNumbers = 5;
    static constexpr int kWizardOutputs = 3;

    // A resolved server address and the text it was resolved from: the
    // address belongs to that text only.
    struct Resolved {
        QHostAddress address;
        QString from;
    };

    template <class T> T* child(const QString& prefix, int n) const;
    template <class T> T* child(const QString& prefix, int n, int m) const;
    bool manualMode() const;
    bool usbListed() const;
    void setupSettingsPages();
    void setupCamerasPage();
    void loadFromSettings();
    void loadCameras();
    void clearCameraRows(int type);
    void loadLoopFunctions();
    void loadPasswords();
    void composeSummary();
    void summariseCameras(QStringList& lines) const;
    void resolveInto(const QString& text, Resolved& target, const QString& label,
                     QStringList& lines);
    static const HostResolver& hostResolver();
    void applyAddress(const QString& text, const Resolved& resolved, QString& ip, QString& dnsName,
                      bool& useDns) const;
    void applyNumbers();
    void applyOutputs();
    void applyLoops();
    void applyCameras();
    void funcShlChange(int loop, int index);
    void exitFuncChange(int output, int index);
    void useCamSelect(int camera, bool on);
    void gateOutputItems();

    QTimer* waitTimer;
    int lastPageId = -1;
    int deviceType = DEV_D4M;
    bool deviceFound = false;
    bool portOpen = false;
    QString version;
    Resolved server1Address;
    Resolved server2Address;
    Resolved timeServerAddress;
    CamerasExecTable* camerasModel = nullptr;
    // The password form the password fields were last filled for (true:
    // two characters); empty until they were filled from the settings.
    std::optional<bool> passwordFormShown;
    // A refused programming run is followed by the link's own reset; that
    // one reset must leave the result and the way back to the summary.
    bool refusalResetDue = false;
    // A memory read asked for by the read page and not yet answered. Leaving
    // the page gives it up: what the link reports afterwards moves nothing.
    bool readPending = false;
    Ui::WizardOM* ui;
};

template <class T> T* WizardOM::child(const QString& prefix, int n) const {
    return findChild<T*>(prefix + QString::number(n));
}

template <class T> T* WizardOM::child(const QString& prefix, int n, int m) const {
    return findChild<T*>(prefix + QString::number(n) + QString::number(m));
}
