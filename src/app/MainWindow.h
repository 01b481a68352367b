#pragma once

#include "settings/DeviceSettings.h"
#include "settings/MainWindowRules.h"

#include <QList>
#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <QVariant>

class QAction;
class QLabel;
class QMenu;
class QRadioButton;
class QToolButton;
class EventTable;
class PribParWindow;
class OperatorsDialog;
class ChoosePort;
class TestPrib;
class KeysOptions;
class RestartCauses;
class History;
class Sounds;
class TimeDialog;
class ThermsDSDialog;
class PortWork;
class ImageEEPROM;

namespace Ui {
class MainWindow;
}

// The full parameter editor and the owner of every dialog, the device link
// and the image object; it wires all of them together.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int kEventColumns = 4;
    static constexpr int kDateColumnWidth = 70;
    static constexpr int kTimeColumnWidth = 60;

    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // The firmware versions of the version list, in list order.
    static QStringList FirmwareVersions();
    // The GSM operator presets written to a new "GSM.cfg".
    static QList<GsmOperator> OperatorPresets();
    // The main window's title for the application version.
    static QString MainTitle(const QString& version);

    // Owned objects, for the entry function's wiring.
    PribParWindow* pribParWindow() const { return m_pribParWindow; }
    OperatorsDialog* operatorsDialog() const { return m_operatorsDialog; }
    ChoosePort* choosePort() const { return m_choosePort; }
    TestPrib* testPrib() const { return m_testPrib; }
    KeysOptions* keysOptions() const { return m_keysOptions; }
    RestartCauses* restartCauses() const { return m_restartCauses; }
    History* history() const { return m_history; }
    Sounds* sounds() const { return m_sounds; }
    TimeDialog* timeDialog() const { return m_timeDialog; }
    ThermsDSDialog* thermsDialog() const { return m_thermsDialog; }
    PortWork* portWork() const { return m_portWork; }
    ImageEEPROM* imageEEPROM() const { return m_imageEEPROM; }
    EventTable* events() const { return eventTable; }
    bool isWizardActive() const { return wizardActive; }
    bool settingsChanged() const { return settingsChangedAfterRun; }
    QString lastUsedPath() const { return lastPath; }
    QList<QAction*> templateActions() const { return m_templateActions; }
    QMenu* templatesMenu() const { return m_templatesMenu; }
    QToolButton* openButton() const { return m_openButton; }

    // Settings files, templates and defaults.
    QList<QAction*> CreateTemplatesMenu();
    void ApplyLoadedSettings();
    bool ReadLastPath();
    bool WriteLastPath();
    bool LoadSensorTypes();

signals:
    void SigChangeRegim();
    void SigOperEditExec(int index, bool iniz, bool sozd, bool ex);
    void SigVersionChange();
    void SigTypeObjChange();
    void SigStartTest();
    void SigWinWasHided();
    void SigPortOpenStatus(int status);
    void SigTransferList(int num, QStringList list);
    void SigDeviceWasConnect(DEV_TYPE devType, QString version);
    void SigSetProgress(int value, int max);
    void SigProgrammingStatus(bool ok);
    void SigReadEEPROMStatus(bool ok);
    void SigBreakOperation();
    void SigReadTimeOut();
    void SigUSBOpenOk();

public slots:
    // Event log.
    void SetMessage(int code, bool addToTable, QVariant arg1, QVariant arg2, QVariant arg3);
    void SetMessage(int code, bool addToTable, QVariant arg1, QVariant arg2);
    void SetMessage(int code, bool addToTable, QVariant arg1);
    void SetMessage(int code, bool addToTable);

    // Device family, firmware version and header fields.
    void D4Click();
    void D8Click();
    void VororaZClcik();
    void VoduzeRClick();
    void DevTypeChange(DEV_TYPE devType);
    void SetupVersion(QString devVersionStr, uchar devType, uchar devBuild);
    void VersionChange(QString text);
    void UsingSounds();
    void ObjectTypeChange(bool objType);
    void DevModeChange(bool mode);
    void UseSIM1(bool on);
    void UseSIM2(bool on);
    void UseBalance1(bool on);
    void UseBalance2(bool on);
    void OperatorChange1(int index);
    void OperatorChange2(int index);
    void ReCreateOperList();
    void AboutClick();

    // Settings files, templates and defaults.
    void LoadTemplateFile();
    void LoadD4Template();
    void LoadD8Template();
    void LoadOTemplate();
    void LoadOKTemplate();
    void LoadDefaultSettings(int typeDev);
    void OpenDialExec();
    void SaveDialExec();

    // Port, device and companion windows.
    void ActOpenClosePortClc();
    void VievCurrentPort();
    void startProgrammingClick();
    void SetSaveEEPROMImageFlag();
    void SetProgressBar(bool reset, bool read, int value);
    void FillFieldsFromStruct();
    void StartTest();
    void StartKeysOpt();
    void RestartDevice();
    void ExecOperatorsDialog();
    void timeDialogClosed();
    void SetWizardActiveStatus(bool s);
    void StartKeelwright();
    void GetPortVerLists();
    void OpenPortForWizard(bool com, int index);
    void ClosePortFromMaster();
    void SetupOptionsFromMaster(DEV_TYPE devType, QString ver, bool programmThis);
    void SetDeviceLoseForWizard();
    void setSettingsChangeAfterRun();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void connectPortWork();
    void readOperatorFile();
    // Reads a family default file into the settings when it exists; a
    // damaged one leaves them as they were.
    void readFamilyFile(const QString& fileName);
    // Loads a template or family default file when it exists and shows it;
    // false only when an existing file could not be read.
    bool loadFamilyFile(const QString& fileName);
    // The family's radio button; null outside the four families.
    QRadioButton* familyRadio(int devType) const;
    // The header's choices shown in the window's own controls.
    void showWorkMode();
    void showObjectType(); // also tells the parameters window
    void showSimChoices();
    void revertParamsWindow();
    void portLost();
    void dropImageSaveRequest();

    QLabel* portLabel = nullptr;
    PribParWindow* m_pribParWindow = nullptr;
    OperatorsDialog* m_operatorsDialog = nullptr;
    ChoosePort* m_choosePort = nullptr;
    TestPrib* m_testPrib = nullptr;
    KeysOptions* m_keysOptions = nullptr;
    RestartCauses* m_restartCauses = nullptr;
    History* m_history = nullptr;
    Sounds* m_sounds = nullptr;
    TimeDialog* m_timeDialog = nullptr;
    ThermsDSDialog* m_thermsDialog = nullptr;
    PortWork* m_portWork = nullptr;
    ImageEEPROM* m_imageEEPROM = nullptr;
    EventTable* eventTable = nullptr;
    int markedVersionIndex = -1;
    bool wizardActive = false;
    Ui::MainWindow* ui;
    QString lastPath;
    int openComNumber = -1;
    QString openUsbText;
    bool settingsChangedAfterRun = false;

    QList<QAction*> m_templateActions;
    QMenu* m_templatesMenu = nullptr;
    QMenu* m_openMenu = nullptr;
    QToolButton* m_openButton = nullptr;
    ProgressBarModel progress;
};
