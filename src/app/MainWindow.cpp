#include "app/MainWindow.h"

#include "app/Application.h"
#include "app/EventTable.h"
#include "comms/ConnectParams.h"
#include "comms/OperatorsDialog.h"
#include "editor/LimNaprSh.h"
#include "editor/PribParWindow.h"
#include "keys/KeysOptions.h"
#include "link/PortWork.h"
#include "link/Protocol.h"
#include "link/ReadRecBaseThread.h"
#include "link/StatusMessages.h"
#include "link/dialogs/ChoosePort.h"
#include "link/dialogs/ComboItems.h"
#include "link/dialogs/WizardList.h"
#include "service/History.h"
#include "service/RestartCauses.h"
#include "service/Sounds.h"
#include "service/StateTables.h"
#include "service/TestPrib.h"
#include "service/ThermsDSDialog.h"
#include "service/TimeDialog.h"
#include "settings/DeviceAnnouncement.h"
#include "settings/ImageEEPROM.h"
#include "settings/OperatorPresetFile.h"
#include "settings/ProgramState.h"
#include "settings/Prompt.h"
#include "settings/SensorTypes.h"
#include "settings/SettingsIniFile.h"
#include "ui_MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QDebug>
#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTime>
#include <QToolButton>

#include <memory>

namespace {
// Status codes the main window reacts to; the port reports come from
// PortOpenedReport and its siblings.
constexpr int kStatusProgrammingOk = 120;
constexpr int kStatusReadOk = 121;
constexpr int kStatusProgrammingError = 300;
constexpr int kStatusReceiveError = 301;
constexpr int kStatusReadError = 302;
constexpr int kStatusNeverProgrammed = 210;

constexpr int kVersionIconSize = 8;

const char* const kStartupDefaultsFile = "Keelwright.auto";
const char* const kSettingsFilter =
    "Файлы конфигурации (*.ini);;Текстовые файлы (*.txt);;Все файлы (*.*)";

// The hidden combination that shows the voice-message action.
bool IsSoundsCombination(const QKeyEvent* e) {
    return e->key() == Qt::Key_S &&
           (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier)) ==
               (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
}

// The one settings object of the program. Replaced only when a new main
// window is built (tests build several, one after another).
std::unique_ptr<DeviceSettings>& SettingsInstance() {
    static std::unique_ptr<DeviceSettings> instance;
    return instance;
}

// Templates and family default files are optional: an empty name (no
// family) or a missing file means there is nothing to load.
bool FamilyFilePresent(const QString& fileName) {
    return !fileName.isEmpty() && QFile::exists(fileName);
}

void ShowPortAction(QAction* action, bool portOpen) {
    const PortActionLook look = PortActionLookFor(portOpen);
    action->setText(look.text);
    action->setStatusTip(look.text);
    action->setIcon(QIcon(look.icon));
}

} // namespace

QStringList MainWindow::FirmwareVersions() {
    QStringList v{
        QStringLiteral("21.09.2009"), QStringLiteral("27.11.2009"), QStringLiteral("18.12.2009"),
        QStringLiteral("19.12.2009"), QStringLiteral("28.12.2009"), QStringLiteral("28.01.2010"),
        QStringLiteral("17.02.2010"), QStringLiteral("26.03.2010"), QStringLiteral("15.04.2010"),
        QStringLiteral("05.06.2010"), QStringLiteral("07.06.2010"), QStringLiteral("16.08.2010")};
    auto withBuilds = [&v](const QString& date, std::initializer_list<int> builds) {
        for (int b : builds)
            v << date + QLatin1Char('/') + QString::number(b);
    };
    v << QStringLiteral("01.12.2010");
    withBuilds(QStringLiteral("01.12.2010"), {11, 17, 19, 20, 25});
    v << QStringLiteral("02.12.2010");
    withBuilds(QStringLiteral("02.12.2010"), {13});
    v << QStringLiteral("03.12.2010");
    withBuilds(QStringLiteral("03.12.2010"), {11, 17, 23, 25});
    for (int b = 31; b <= 67; b += 2)
        v << QStringLiteral("03.12.2010/%1").arg(b);
    withBuilds(QStringLiteral("19.04.2012"), {1, 45, 100, 145});
    withBuilds(QStringLiteral("09.05.2012"), {1, 28, 100, 128});
    withBuilds(QStringLiteral("16.05.2012"), {1, 22, 100, 122});
    withBuilds(QStringLiteral("17.05.2012"), {1});
    withBuilds(QStringLiteral("18.12.2018"), {1});
    return v;
}

QList<GsmOperator> MainWindow::OperatorPresets() {
    auto op = [](const char* name, const char* ussd, const char* apn, const char* login) {
        GsmOperator o;
        o.name = QString::fromUtf8(name);
        o.ussd = QString::fromLatin1(ussd);
        o.initString = QString::fromLatin1(apn);
        o.login = QString::fromLatin1(login);
        o.password = o.login;
        return o;
    };
    return {op("Билайн", "*102#", "internet.beeline.ru", "qorvant"),
            op("Мегафон", "*100#", "internet", "plimsor"),
            op("МТС", "*100#", "internet.mts.ru", "kvd"),
            op("Теле2", "*105#", "internet.tele2.ru", "wuxa7"),
            op("Zeverir (test)", "*100#", "internet.test", "")};
}

QString MainWindow::MainTitle(const QString& version) {
    return OrganisationTitle(
        QStringLiteral("Кильврайт объектовых приборов. %1Версия: %2").arg(QString(), version));
}

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent), ui(new Ui::MainWindow) {
    EnsureIconResources();
    ui->setupUi(this);

    eventTable = new EventTable(0, kEventColumns, this);
    ui->tvEvents->setModel(eventTable);
    ui->tvEvents->resizeColumnsToContents();
    ui->tvEvents->setColumnWidth(1, kDateColumnWidth);
    ui->tvEvents->setColumnWidth(2, kTimeColumnWidth);

    SettingsInstance() = std::make_unique<DeviceSettings>();
    g_deviceSettings = SettingsInstance().get();
    SetDefaultSettings(g_deviceSettings, false);
    g_deviceSettings->port->comIndex = 0;
    g_deviceSettings->port->useCom = 1;

    statusBar()->setSizeGripEnabled(false);
    portLabel = new QLabel;
    statusBar()->addPermanentWidget(portLabel, 0);

    ui->cbVersion->addItems(FirmwareVersions());
    ui->cbVersion->setCurrentIndex(0);

    // Templates: a submenu of "Файл" and the drop-down of the open button.
    m_templateActions = CreateTemplatesMenu();
    m_openButton = new QToolButton;
    m_openMenu = new QMenu(this);
    m_templatesMenu = new QMenu(QStringLiteral("Шаблоны настроек"), this);
    m_templatesMenu->setIcon(QIcon(QStringLiteral(":/icons/folder doc.png")));
    m_templatesMenu->addActions(m_templateActions);
    ui->Filemenu->insertMenu(ui->actExit, m_templatesMenu);
    m_openMenu->addAction(ui->actOpen);
    m_openMenu->addSeparator();
    m_openMenu->addActions(m_templateActions);
    m_openButton->setMenu(m_openMenu);
    m_openButton->setDefaultAction(ui->actOpen);
    m_openButton->setPopupMode(QToolButton::MenuButtonPopup);
    ui->mainToolBar->insertWidget(ui->actSave, m_openButton);
    for (QAction* a : std::as_const(m_templateActions)) // 1
        connect(a, &QAction::triggered, this, &MainWindow::LoadTemplateFile);

    m_pribParWindow = new PribParWindow(this);
    connect(ui->actParamsPribor, &QAction::triggered, m_pribParWindow, &QDialog::exec); // 2
    connect(ui->Rbtobjsl, &QRadioButton::toggled, this, &MainWindow::ObjectTypeChange); // 3
    connect(ui->RbRegAuto, &QRadioButton::toggled, this, &MainWindow::DevModeChange);   // 4
    connect(ui->RbD4M, &QRadioButton::clicked, this, &MainWindow::D4Click);             // 5
    connect(ui->RbD8M, &QRadioButton::clicked, this, &MainWindow::D8Click);             // 6
    connect(ui->rbVororaZ, &QRadioButton::clicked, this, &MainWindow::VororaZClcik);    // 7
    connect(ui->rbVoduzeR, &QRadioButton::clicked, this, &MainWindow::VoduzeRClick);    // 8
    // The row's text, "" when no row is chosen.
    connect(ui->cbVersion, &QComboBox::currentIndexChanged, this,
            [this](int row) { VersionChange(ui->cbVersion->itemText(row)); }); // 9
    connect(this, &MainWindow::SigVersionChange, m_pribParWindow,
            &PribParWindow::SigVersionChange); // 10
    connect(this, &MainWindow::SigTypeObjChange, m_pribParWindow,
            &PribParWindow::SigTypeObjChange); // 11

    m_choosePort = new ChoosePort(this);
    connect(ui->actChoosePort, &QAction::triggered, m_choosePort, &QDialog::exec); // 12

    m_testPrib = new TestPrib(this);
    connect(ui->actTest, &QAction::triggered, this, &MainWindow::StartTest); // 13

    m_keysOptions = new KeysOptions(this);
    connect(ui->actKeysOptions, &QAction::triggered, this, &MainWindow::StartKeysOpt); // 14

    m_restartCauses = new RestartCauses(this);
    connect(ui->actRestartCauses, &QAction::triggered, m_restartCauses, &QDialog::exec); // 15

    m_history = new History(this);
    connect(ui->actHistory, &QAction::triggered, m_history, &QDialog::exec);          // 16
    connect(this, &MainWindow::SigVersionChange, m_history, &History::VersionChange); // 17
    connect(ui->actAboutQt, &QAction::triggered, qApp, &QApplication::aboutQt);       // 18

    m_sounds = new Sounds(this);
    connect(ui->actSounds, &QAction::triggered, m_sounds, &QDialog::exec);              // 19
    connect(this, &MainWindow::SigVersionChange, m_sounds, &Sounds::ChangeTypeVersion); // 20

    m_timeDialog = new TimeDialog(this);

    m_thermsDialog = new ThermsDSDialog(this);
    connect(ui->actThermsDS, &QAction::triggered, m_thermsDialog,
            &ThermsDSDialog::execDialog);                                         // 21
    connect(ui->actAbout, &QAction::triggered, this, &MainWindow::AboutClick);    // 22
    connect(ui->cbUseSIM1, &QCheckBox::toggled, this, &MainWindow::UseSIM1);      // 23
    connect(ui->cbUseSIM2, &QCheckBox::toggled, this, &MainWindow::UseSIM2);      // 24
    connect(ui->cbBalance1, &QCheckBox::clicked, this, &MainWindow::UseBalance1); // 25
    connect(ui->cbBalance2, &QCheckBox::clicked, this, &MainWindow::UseBalance2); // 26

    m_operatorsDialog = new OperatorsDialog(this);
    connect(ui->actOperators, &QAction::triggered, this, &MainWindow::ExecOperatorsDialog); // 27
    connect(m_operatorsDialog, &OperatorsDialog::SigListWasUpdated, this,
            &MainWindow::ReCreateOperList); // 28
    connect(ui->CbOperators1, &QComboBox::currentIndexChanged, this,
            &MainWindow::OperatorChange1); // 29
    connect(ui->CbOperators2, &QComboBox::currentIndexChanged, this,
            &MainWindow::OperatorChange2); // 30

    const QList<GsmOperator> presets = OperatorPresets();
    for (QComboBox* box : {ui->CbOperators1, ui->CbOperators2}) {
        for (const GsmOperator& op : presets)
            box->addItem(op.name);
    }

    connect(m_pribParWindow, &PribParWindow::SigUseSounds, this, &MainWindow::UsingSounds); // 31
    connect(this, &MainWindow::SigChangeRegim, m_pribParWindow,
            &PribParWindow::SigChangeRegim);                                    // 32
    connect(ui->actOpen, &QAction::triggered, this, &MainWindow::OpenDialExec); // 33
    connect(ui->actSave, &QAction::triggered, this, &MainWindow::SaveDialExec); // 34

    m_portWork = new PortWork(this);
    connectPortWork(); // 35 to 75

    m_imageEEPROM = new ImageEEPROM(this);
    m_imageEEPROM->setParentWidget(this);
    connect(ui->actCreateEEPROM, &QAction::triggered, m_imageEEPROM,
            &ImageEEPROM::CreateImageEEPROM); // 76
    connect(ui->actSaveEEPROM, &QAction::triggered, this,
            &MainWindow::SetSaveEEPROMImageFlag); // 77
    connect(ui->actLoadEEPROM, &QAction::triggered, m_imageEEPROM,
            &ImageEEPROM::LoadImageEEPROM); // 78
    connect(m_portWork, &PortWork::SigImageEEPROMTransfer, m_imageEEPROM,
            &ImageEEPROM::SaveImageEEPROM); // 79
    connect(m_imageEEPROM, &ImageEEPROM::SigFillFields, this,
            &MainWindow::FillFieldsFromStruct); // 80

    g_deviceSettings->connection->objectNumber = "0001";
    g_deviceSettings->gsmOperators = presets;

    VersionChange(QStringLiteral("21.09.2009"));
    m_pribParWindow->CreateMenuList(MODE_SYSTEM);
    m_pribParWindow->setDevType(DEV_D4M);
    VievCurrentPort();

    readOperatorFile();
    m_operatorsDialog->UpdateInternalList(0);
    LoadSensorTypes();

    // The header widgets show what would be programmed, whether or not the
    // start-up default file is there (a damaged one leaves the defaults).
    readFamilyFile(QString::fromLatin1(kStartupDefaultsFile));
    ApplyLoadedSettings();
    ReadLastPath();

    connect(m_choosePort, &ChoosePort::SigTransferList, this, &MainWindow::SigTransferList); // 81
    connect(m_choosePort, &ChoosePort::SigDeviceLose, this,
            &MainWindow::SetDeviceLoseForWizard); // 82
    ui->actSounds->setVisible(false);
    ui->actHelp->setVisible(false);
    ui->tvEvents->horizontalHeader()->setSectionsClickable(false);

    connect(m_pribParWindow, &PribParWindow::SigApplyOK, this,
            &MainWindow::setSettingsChangeAfterRun); // 83
    connect(ui->cbBalance1, &QCheckBox::toggled, this,
            &MainWindow::setSettingsChangeAfterRun); // 84
    connect(ui->cbBalance2, &QCheckBox::toggled, this,
            &MainWindow::setSettingsChangeAfterRun);                                           // 85
    connect(ui->cbUseSIM1, &QCheckBox::toggled, this, &MainWindow::setSettingsChangeAfterRun); // 86
    connect(ui->cbUseSIM2, &QCheckBox::toggled, this, &MainWindow::setSettingsChangeAfterRun); // 87
    connect(ui->CbOperators1, &QComboBox::currentIndexChanged, this,
            &MainWindow::setSettingsChangeAfterRun); // 88
    connect(ui->CbOperators2, &QComboBox::currentIndexChanged, this,
            &MainWindow::setSettingsChangeAfterRun); // 89
    connect(ui->RbRegAuto, &QRadioButton::toggled, this,
            &MainWindow::setSettingsChangeAfterRun); // 90
    connect(ui->Rbtobjsl, &QRadioButton::toggled, this,
            &MainWindow::setSettingsChangeAfterRun); // 91

    ui->cbVersion->installEventFilter(this);
    ui->CbOperators1->installEventFilter(this);
    ui->CbOperators2->installEventFilter(this);
}

void MainWindow::connectPortWork() {
    PortWork* pw = m_portWork;
    connect(ui->actOpenClosePort, &QAction::triggered, this,
            &MainWindow::ActOpenClosePortClc); // 35
    connect(ui->actProgramming, &QAction::triggered, this,
            &MainWindow::startProgrammingClick);                                          // 36
    connect(ui->actReadEEPROM, &QAction::triggered, pw, &PortWork::ReadEEPROMClick);      // 37
    connect(ui->actRestartDevice, &QAction::triggered, this, &MainWindow::RestartDevice); // 38
    connect(m_choosePort, &ChoosePort::SigTriggerOpClPort, this,
            &MainWindow::ActOpenClosePortClc);                                             // 39
    connect(m_choosePort, &ChoosePort::SigPortChange, this, &MainWindow::VievCurrentPort); // 40
    connect(this, &MainWindow::SigUSBOpenOk, m_choosePort, &ChoosePort::usbOpenOk);        // 41
    connect(pw, &PortWork::SigSetupVersion, this, &MainWindow::SetupVersion);              // 42
    connect(pw, &PortWork::SigFillFields, this, &MainWindow::FillFieldsFromStruct);        // 43
    connect(pw, &PortWork::SigSetProgress, this, &MainWindow::SetProgressBar);             // 44
    connect(pw, &PortWork::SigProgrammingOk, m_pribParWindow->connectParams(),
            &ConnectParams::IncrementNumObj);                                                // 45
    connect(pw, &PortWork::SigMessage, this, qOverload<int, bool>(&MainWindow::SetMessage)); // 46
    connect(m_choosePort, &ChoosePort::SigMessage, this,
            qOverload<int, bool, QVariant>(&MainWindow::SetMessage)); // 47
    connect(m_testPrib, &TestPrib::SigMessage, this,
            qOverload<int, bool>(&MainWindow::SetMessage)); // 48
    connect(m_keysOptions, &KeysOptions::SigMessage, this,
            qOverload<int, bool>(&MainWindow::SetMessage));                                // 49
    connect(m_sounds, &Sounds::SigStartSoundProgramm, pw, &PortWork::StartWriteSounds);    // 50
    connect(pw, &PortWork::SigSetSoundWriteProgress, m_sounds, &Sounds::SetWriteProgress); // 51
    // Direct: the link has let go of block 21 before the window writes it.
    connect(m_sounds, &Sounds::SigStopSoundProgramm, pw, &PortWork::StopWriteSounds,
            Qt::DirectConnection);
    connect(ui->actTime, &QAction::triggered, pw, &PortWork::StartTimeProgramm);               // 52
    connect(pw, &PortWork::SigTimeProgrammEnabled, m_timeDialog, &TimeDialog::ExecWindow);     // 53
    connect(m_timeDialog, &TimeDialog::SigGetDeviceTime, pw, &PortWork::GetCurrentDeviceTime); // 54
    connect(m_timeDialog, &TimeDialog::SigWriteNewTime, pw, &PortWork::WriteNewTime);          // 55
    connect(pw, &PortWork::SigGetDeviceTime, m_timeDialog, &TimeDialog::SetCurrentDeviceTime); // 56
    connect(m_timeDialog, &TimeDialog::SigGetGSMSignalLevel, pw,
            &PortWork::GetSignalGSMLevel); // 57
    connect(pw, &PortWork::SigGetGSMSignalLevel, m_timeDialog,
            &TimeDialog::SetGSMSignalLevel);                                            // 58
    connect(m_timeDialog, &QDialog::rejected, this, &MainWindow::timeDialogClosed);     // 59
    connect(m_timeDialog, &TimeDialog::SigRestartDevice, pw, &PortWork::RestartDevice); // 60
    connect(pw, &PortWork::SigGetThermsStuct, m_thermsDialog,
            &ThermsDSDialog::receptIncomeStruct); // 61
    connect(pw, &PortWork::SigWriteThermsOK, m_thermsDialog,
            &ThermsDSDialog::setThermsWriteOK);                                           // 62
    connect(m_thermsDialog, &ThermsDSDialog::SigGetTherms, pw, &PortWork::ReadTherms);    // 63
    connect(m_thermsDialog, &ThermsDSDialog::SigWriteTherms, pw, &PortWork::WriteTherms); // 64
    connect(this, &MainWindow::SigBreakOperation, pw, &PortWork::SigBreakOperation);      // 65
    connect(pw, &PortWork::SigTransTestPack, m_testPrib, &TestPrib::ReceptTestPack);      // 66
    connect(pw, &PortWork::SigResetTestWin, m_testPrib, &TestPrib::initialize);           // 67
    connect(this, &MainWindow::SigStartTest, pw, &PortWork::RunTest);                     // 68
    connect(m_testPrib, &TestPrib::SigSetTestCommand, pw, &PortWork::SetTestCommand);     // 69
    connect(m_pribParWindow->limNaprSh(), &LimNaprSh::SigSetupTestScales, m_testPrib,
            &TestPrib::SetSensorScales);                                                    // 70
    connect(this, &MainWindow::SigChangeRegim, m_keysOptions, &KeysOptions::RegimChange);   // 71
    connect(m_keysOptions, &KeysOptions::SigSetTestCommand, pw, &PortWork::SetTestCommand); // 72
    connect(pw, &PortWork::SigTransKeysPack, m_keysOptions, &KeysOptions::ReceptKeysPack);  // 73
    connect(pw, &PortWork::SigTransMiniKeyPack, m_keysOptions,
            &KeysOptions::ReceptMiniKeyPack);                                          // 74
    connect(pw, &PortWork::SigKeysProgramOk, m_keysOptions, &KeysOptions::SetWriteOk); // 75

    // The link closes a port that went away under it; the toggle action and
    // the port dialog must then show the port as closed.
    connect(pw, &PortWork::SigPortLost, this, &MainWindow::portLost);
}

MainWindow::~MainWindow() {
    // The owned objects die after this destructor; nothing they emit on the
    // way, closing the port included, may reach this half-destroyed window.
    for (QObject* child : findChildren<QObject*>())
        child->disconnect(this);
    for (QWidget* w :
         {static_cast<QWidget*>(ui->cbVersion), static_cast<QWidget*>(ui->CbOperators1),
          static_cast<QWidget*>(ui->CbOperators2)})
        w->removeEventFilter(this);
    delete ui;
    ui = nullptr;
    if (m_portWork && m_portWork->IsPortOpen())
        m_portWork->ClosePort();
}

// ----------------------------------------------------------------- event log

void MainWindow::SetMessage(int code, bool addToTable, QVariant arg1, QVariant arg2,
                            QVariant arg3) {
    const StatusMessage status = LookupStatus(code);
    // One pass over the text, so an argument that came from the device and
    // happens to hold "%2" is shown as it is, not substituted again.
    QVariantList args;
    for (const QVariant& arg : {arg1, arg2, arg3}) {
        if (!arg.isValid())
            break;
        args << arg;
    }
    const QString text = FormatStatus(code, args);
    if (addToTable) {
        EventRow row;
        row.date = QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"));
        row.time = QTime::currentTime().toString(Qt::TextDate);
        row.code = code;
        row.colour = status.colour;
        row.text = text;
        eventTable->Append(row);
        ui->tvEvents->resizeColumnToContents(0);
        ui->tvEvents->scrollToBottom();
    }
    switch (code) {
    case kStatusProgrammingOk:
        if (wizardActive)
            emit SigProgrammingStatus(true);
        prompt().message(Prompt::Information, this, QStringLiteral("Информация"),
                         QStringLiteral("Прибор успешно запрограммирован."), Prompt::Ok);
        break;
    case kStatusReadOk:
        if (wizardActive) {
            emit SigReadEEPROMStatus(true);
            emit SigTransferList(wizardlist::kRefresh, QStringList());
        }
        break;
    case kStatusProgrammingError:
        if (wizardActive)
            emit SigProgrammingStatus(false);
        break;
    case kStatusNeverProgrammed: // nothing to read: the wizard must not wait for it
        if (wizardActive)
            emit SigReadEEPROMStatus(false);
        break;
    case kStatusReadError:
        if (wizardActive)
            emit SigReadEEPROMStatus(false);
        dropImageSaveRequest();
        break;
    case kStatusReceiveError:
        dropImageSaveRequest();
        break;
    default:
        break;
    }
}

void MainWindow::SetMessage(int code, bool addToTable, QVariant arg1, QVariant arg2) {
    SetMessage(code, addToTable, arg1, arg2, QVariant());
}

void MainWindow::SetMessage(int code, bool addToTable, QVariant arg1) {
    SetMessage(code, addToTable, arg1, QVariant(), QVariant());
}

void MainWindow::SetMessage(int code, bool addToTable) {
    SetMessage(code, addToTable, QVariant(), QVariant(), QVariant());
}

// ------------------------------------------ device family, version, header

void MainWindow::D4Click() {
    DevTypeChange(DEV_D4M);
}
void MainWindow::D8Click() {
    DevTypeChange(DEV_D8M);
}
void MainWindow::VororaZClcik() {
    DevTypeChange(DEV_VororaZ);
}
void MainWindow::VoduzeRClick() {
    DevTypeChange(DEV_VoduzeR);
}

void MainWindow::DevTypeChange(DEV_TYPE devType) {
    if (SetDeviceType(*g_deviceSettings, devType)) {
        const QString file = FamilyDefaultFile(devType);
        if (QFile::exists(file))
            ReadAdcScales(file, g_deviceSettings);
    }
    m_pribParWindow->setDevType(devType);
    m_testPrib->CrListSignalsbT(devType);
    m_sounds->ChangeTypeVersion();
    emit SigVersionChange();
}

void MainWindow::SetupVersion(QString devVersionStr, uchar devType, uchar devBuild) {
    const DeviceAnnouncement a = InterpretAnnouncement(devVersionStr, devType, devBuild);
    if (a.kind == AnnouncementKind::Reset) {
        if (markedVersionIndex >= 0)
            ui->cbVersion->setItemIcon(markedVersionIndex, QIcon());
        markedVersionIndex = -1;
        if (wizardActive) {
            emit SigReadTimeOut();
            m_testPrib->CancelClick();
            m_keysOptions->CancelClick();
        }
        return;
    }
    if (a.kind == AnnouncementKind::UnknownModel) {
        SetMessage(kStatusModelUnsupported, true, a.modelCode);
        return;
    }
    DeviceHeader& h = *g_deviceSettings->header;
    h.deviceType = a.deviceType;
    ui->cbVersion->setIconSize(QSize(kVersionIconSize, kVersionIconSize));
    ui->cbVersion->setItemIcon(ui->cbVersion->currentIndex(), QIcon());
    // The user may have chosen another row since the last announcement; the
    // old mark must not stay beside the new one.
    if (markedVersionIndex >= 0)
        ui->cbVersion->setItemIcon(markedVersionIndex, QIcon());
    markedVersionIndex = -1;
    qDebug() << "Version string:" << a.lookupText;
    const int row = FindVersionRow(ComboItems(ui->cbVersion), a.lookupText);
    if (row < 0) {
        SetMessage(kStatusVersionUnsupported, true, DeviceTypeName(a.deviceType),
                   a.announcedVersion);
        return;
    }
    if (!settingsChangedAfterRun) {
        readFamilyFile(FamilyDefaultFile(a.deviceType));
        ApplyLoadedSettings();
    }
    ui->cbVersion->setItemIcon(row, QIcon(QStringLiteral(":/icons/addd.png")));
    ui->cbVersion->setCurrentIndex(row);
    const int savedBuild = h.firmwareSubVersion;
    h.firmwareSubVersion = devBuild;
    QRadioButton* radio = familyRadio(a.deviceType);
    radio->setChecked(true);
    radio->click();
    SetMessage(kStatusDeviceReady, true, DeviceTypeName(a.deviceType),
               h.firmwareDate.toString(QStringLiteral("dd.MM.yyyy")), h.firmwareSubVersion);
    h.firmwareSubVersion = savedBuild;
    emit SigDeviceWasConnect(DEV_TYPE(a.deviceType), ui->cbVersion->currentText());
    markedVersionIndex = row;
}

void MainWindow::VersionChange(QString text) {
    DeviceHeader& h = *g_deviceSettings->header;
    ApplyVersionRow(h, text, ui->cbVersion->currentIndex());
    m_pribParWindow->CreateMenuList(h.workMode == MODE_AUTONOMOUS ? MODE_AUTONOMOUS : MODE_SYSTEM);
    emit SigVersionChange();
    if (const auto sounds = SoundsEnabledAfterVersionChange(h, *g_deviceSettings->extra))
        ui->actSounds->setEnabled(*sounds);
    ui->actTime->setEnabled(TimeActionEnabled(h));
    ui->actThermsDS->setEnabled(ThermometersActionEnabled(h));
}

void MainWindow::UsingSounds() {
    ui->actSounds->setEnabled(SoundsEnabled(*g_deviceSettings->header, *g_deviceSettings->extra));
}

void MainWindow::ObjectTypeChange(bool objType) {
    g_deviceSettings->header->objectType = objType ? OBJ_COMPLEX : OBJ_SIMPLE;
    emit SigTypeObjChange();
}

void MainWindow::DevModeChange(bool mode) {
    g_deviceSettings->header->workMode = mode ? MODE_AUTONOMOUS : MODE_SYSTEM;
    m_pribParWindow->CreateMenuList(mode ? MODE_AUTONOMOUS : MODE_SYSTEM);
    UsingSounds();
    emit SigChangeRegim();
}

void MainWindow::UseSIM1(bool on) {
    g_deviceSettings->header->useSim[0] = on;
    ui->cbBalance1->setEnabled(on);
    ui->CbOperators1->setEnabled(on);
}

void MainWindow::UseSIM2(bool on) {
    g_deviceSettings->header->useSim[1] = on;
    ui->cbBalance2->setEnabled(on);
    ui->CbOperators2->setEnabled(on);
}

void MainWindow::UseBalance1(bool on) {
    g_deviceSettings->header->checkBalance[0] = on;
}
void MainWindow::UseBalance2(bool on) {
    g_deviceSettings->header->checkBalance[1] = on;
}
void MainWindow::OperatorChange1(int index) {
    g_deviceSettings->header->simOperator[0] = index;
}
void MainWindow::OperatorChange2(int index) {
    g_deviceSettings->header->simOperator[1] = index;
}

void MainWindow::ReCreateOperList() {
    const DeviceHeader& h = *g_deviceSettings->header;
    QComboBox* boxes[2] = {ui->CbOperators1, ui->CbOperators2};
    const int count = int(g_deviceSettings->gsmOperators.size());
    for (int i = 0; i < 2; ++i) {
        // Refilling stores nothing: an index the list does not hold shows no
        // row and stays in the settings as it was read.
        const QSignalBlocker quiet(boxes[i]);
        boxes[i]->clear();
        for (const GsmOperator& op : std::as_const(g_deviceSettings->gsmOperators))
            boxes[i]->addItem(op.name);
        boxes[i]->setCurrentIndex(
            h.simOperator[i] >= 0 && h.simOperator[i] < count ? h.simOperator[i] : -1);
    }
}

void MainWindow::AboutClick() {
    const QString text =
        QStringLiteral("<p align=\"center\">Кильврайт для объектовых приборов<br>"
                       "индивидуально-пультового применения \"Дорна\" и \"Мирвел\"<br>%1"
                       "%2<br>2009-2026<br>Версия: %3</p>")
            .arg(QString(), QString::fromLatin1(kOrganisationName),
                 QApplication::applicationVersion());
    prompt().message(Prompt::Information, this, QStringLiteral("О программе"), text, Prompt::Ok);
}

// --------------------------------------------- settings files and templates

QList<QAction*> MainWindow::CreateTemplatesMenu() {
    QList<QAction*> actions;
    for (const QString& name : TemplateNames())
        actions << new QAction(name, this);
    return actions;
}

void MainWindow::readFamilyFile(const QString& fileName) {
    if (FamilyFilePresent(fileName))
        LoadSettingsFile(fileName, g_deviceSettings);
}

bool MainWindow::loadFamilyFile(const QString& fileName) {
    if (!FamilyFilePresent(fileName))
        return true; // nothing to load is not a failure
    if (!LoadSettingsFile(fileName, g_deviceSettings))
        return false;
    ApplyLoadedSettings();
    return true;
}

void MainWindow::LoadTemplateFile() {
    auto* action = qobject_cast<QAction*>(sender());
    if (!action)
        return;
    // The user picked this template: a damaged one must not look as if it
    // had been loaded. The settings are left as they were.
    const QString file = TemplateFilePath(action->text());
    if (!loadFamilyFile(file))
        prompt().message(Prompt::Critical, this, QStringLiteral("Ошибка"),
                         QStringLiteral("Ошибка чтения. Возможно файл повреждён.") +
                             QStringLiteral(" (%1)").arg(file),
                         Prompt::Ok);
}

void MainWindow::LoadD4Template() {
    loadFamilyFile(FamilyDefaultFile(DEV_D4M));
}
void MainWindow::LoadD8Template() {
    loadFamilyFile(FamilyDefaultFile(DEV_D8M));
}
void MainWindow::LoadOTemplate() {
    loadFamilyFile(FamilyDefaultFile(DEV_VororaZ));
}
void MainWindow::LoadOKTemplate() {
    loadFamilyFile(FamilyDefaultFile(DEV_VoduzeR));
}

void MainWindow::LoadDefaultSettings(int typeDev) {
    readFamilyFile(FamilyDefaultFile(typeDev));
    ApplyLoadedSettings();
    emit SigTransferList(wizardlist::kOperators, ComboItems(ui->CbOperators1));
    emit SigTransferList(wizardlist::kRefresh, QStringList());
}

void MainWindow::OpenDialExec() {
    const QString name = prompt().openFileName(this, QStringLiteral("Открытие файла настроек"),
                                               lastPath, QString::fromUtf8(kSettingsFilter));
    if (name.isEmpty())
        return;
    const bool loaded = LoadSettingsFile(name, g_deviceSettings);
    lastPath = LastPathAfter(lastPath, name, loaded);
    if (!loaded) {
        prompt().message(Prompt::Critical, this, QStringLiteral("Ошибка"),
                         QStringLiteral("Ошибка чтения. Возможно файл повреждён."), Prompt::Ok);
        m_pribParWindow->RevisionParams();
        return;
    }
    ApplyLoadedSettings();
    WriteLastPath();
}

void MainWindow::SaveDialExec() {
    const QString name = prompt().saveFileName(this, QStringLiteral("Сохранение файла настроек"),
                                               lastPath, QString::fromUtf8(kSettingsFilter));
    if (name.isEmpty())
        return;
    const bool saved = SaveSettingsFile(name, g_deviceSettings);
    lastPath = LastPathAfter(lastPath, name, saved);
    if (!saved) {
        prompt().message(Prompt::Critical, this, QStringLiteral("Ошибка"),
                         QStringLiteral("Не удалось записать файл настроек."), Prompt::Ok);
        return;
    }
    WriteLastPath();
}

void MainWindow::ApplyLoadedSettings() {
    // Choices the pages kept while a gate hid them belong to the settings
    // that were just replaced.
    m_pribParWindow->ForgetRemembered();
    const DeviceHeader& h = *g_deviceSettings->header;
    ReCreateOperList();
    ui->cbVersion->setCurrentIndex(RowBelowCountOrLast(h.versionIndex, ui->cbVersion->count()));
    showWorkMode();
    // A type outside the four families would index the pages' per-model
    // tables out of range; such a file keeps the family shown.
    if (QRadioButton* radio = familyRadio(h.deviceType)) {
        radio->setChecked(true);
        DevTypeChange(DEV_TYPE(h.deviceType));
    }
    showSimChoices();
    revertParamsWindow();
    showObjectType();
    m_testPrib->SetSensorScales();
    m_pribParWindow->RevisionParams();
}

QRadioButton* MainWindow::familyRadio(int devType) const {
    QRadioButton* radios[] = {ui->RbD4M, ui->RbD8M, ui->rbVororaZ, ui->rbVoduzeR};
    return IsKnownDeviceType(devType) ? radios[devType] : nullptr;
}

void MainWindow::showWorkMode() {
    if (g_deviceSettings->header->workMode == MODE_AUTONOMOUS)
        ui->RbRegAuto->setChecked(true);
    else
        ui->RbRegKsar->setChecked(true);
}

void MainWindow::showObjectType() {
    if (g_deviceSettings->header->objectType == OBJ_COMPLEX)
        ui->Rbtobjsl->setChecked(true);
    else
        ui->Rbtobjpr->setChecked(true);
    emit SigTypeObjChange();
}

void MainWindow::showSimChoices() {
    const DeviceHeader& h = *g_deviceSettings->header;
    ui->cbUseSIM1->setChecked(h.useSim[0]);
    ui->cbUseSIM2->setChecked(h.useSim[1]);
    ui->cbBalance1->setChecked(h.checkBalance[0]);
    ui->cbBalance2->setChecked(h.checkBalance[1]);
}

// The parameters window shows its first page, and its pages show the
// settings again.
void MainWindow::revertParamsWindow() {
    if (auto* list = m_pribParWindow->findChild<QListWidget*>(QStringLiteral("ListParams")))
        list->setCurrentRow(0);
    if (auto* cancel = m_pribParWindow->findChild<QPushButton*>(QStringLiteral("pbCancel")))
        cancel->click();
}

bool MainWindow::ReadLastPath() {
    return ::ReadLastPath(lastPath);
}

bool MainWindow::WriteLastPath() {
    if (::WriteLastPath(lastPath))
        return true;
    prompt().message(
        Prompt::Warning, this, QStringLiteral("Предупреждение"),
        QStringLiteral("Не удалось записать файл %1.").arg(QString::fromLatin1(kProgramStateFile)),
        Prompt::Ok);
    return false;
}

bool MainWindow::LoadSensorTypes() {
    QStringList refused;
    const SensorScan scan = ::LoadSensorTypes(g_deviceSettings->loopLimits->sensors,
                                              QString::fromLatin1(kSensorsFolder), &refused);
    if (scan == SensorScan::NoFolder)
        return false;
    m_pribParWindow->limNaprSh()->SetLoadedSensors();
    if (!refused.isEmpty())
        prompt().message(Prompt::Warning, this, QStringLiteral("Предупреждение"),
                         QStringLiteral("Файлы датчиков не прочитаны (повреждены?):\n%1")
                             .arg(refused.join(QLatin1Char('\n'))),
                         Prompt::Ok);
    return scan == SensorScan::Scanned;
}

void MainWindow::readOperatorFile() {
    const OperatorPresetFile file;
    if (file.exists()) {
        if (!file.read(&g_deviceSettings->gsmOperators))
            prompt().message(Prompt::Warning, this, QStringLiteral("Предупреждение"),
                             QStringLiteral("Ошибка чтения. Возможно файл повреждён.") +
                                 QStringLiteral(" (%1)").arg(file.fileName()),
                             Prompt::Ok);
    } else if (!file.write(g_deviceSettings->gsmOperators)) {
        prompt().message(Prompt::Warning, this, QStringLiteral("Предупреждение"),
                         QStringLiteral("Не удалось записать файл %1.").arg(file.fileName()),
                         Prompt::Ok);
    }
}

// ----------------------------------------------------- port and device

void MainWindow::ActOpenClosePortClc() {
    PortSettings& p = *g_deviceSettings->port;
    if (!m_portWork->IsPortOpen()) {
        const bool com = p.useCom != 0;
        ulong errcode = 0;
        if (!m_portWork->OpenPort(com ? p.comNumber : p.usbIndex, errcode)) {
            emit SigPortOpenStatus(portstatus::kOpenFailed);
            const StatusReport failed = PortOpenFailedReport(com, errcode, p.usbDeviceText);
            SetMessage(failed.code, true, failed.argument);
            m_choosePort->portOpen = false;
            return;
        }
        ShowPortAction(ui->actOpenClosePort, true);
        if (com) {
            openComNumber = p.comNumber;
            qDebug() << "com Open";
        } else {
            openUsbText = p.usbDeviceText;
        }
        const StatusReport opened = PortOpenedReport(com, openComNumber, openUsbText);
        SetMessage(opened.code, true, opened.argument);
        m_choosePort->usbPortOpen = !com;
        m_choosePort->portOpen = true;
        emit SigPortOpenStatus(portstatus::kOpened);
        return;
    }
    const bool wasCom = m_portWork->readThread && m_portWork->readThread->isComPort;
    m_portWork->ClosePort();
    ShowPortAction(ui->actOpenClosePort, false);
    const StatusReport closed = PortClosedReport(wasCom, openComNumber, openUsbText);
    SetMessage(closed.code, true, closed.argument);
    if (wasCom) {
        qDebug() << "com close";
        openComNumber = -1;
    } else {
        openUsbText.clear();
    }
    m_choosePort->portOpen = false;
    emit SigPortOpenStatus(portstatus::kClosed);
}

void MainWindow::portLost() {
    ShowPortAction(ui->actOpenClosePort, false);
    openComNumber = -1;
    openUsbText.clear();
    m_choosePort->portOpen = false;
    emit SigPortOpenStatus(portstatus::kClosed);
}

void MainWindow::VievCurrentPort() {
    if (m_portWork->IsPortOpen())
        ui->actOpenClosePort->trigger();
    const PortSettings& p = *g_deviceSettings->port;
    m_portWork->CreateReadThread(p.useCom != 0);
    if (p.useCom) {
        portLabel->setText(ComPortLabel(p.comNumber));
        m_choosePort->close();
        return;
    }
    ui->actOpenClosePort->trigger();
    if (m_portWork->IsPortOpen()) {
        auto* usb = m_choosePort->findChild<QComboBox*>(QStringLiteral("cbUSB"));
        portLabel->setText(UsbPortLabel(usb ? usb->currentText() : QString()));
        emit SigUSBOpenOk();
    }
}

// A memory read meant for an image file that broke off must not turn the
// next plain read (from the menu or the wizard) into a save.
void MainWindow::dropImageSaveRequest() {
    if (m_portWork && m_portWork->readThread)
        m_portWork->readThread->imageForTransfer = false;
}

void MainWindow::startProgrammingClick() {
    m_pribParWindow->applySettings();
    m_portWork->StartProgramming();
}

void MainWindow::SetSaveEEPROMImageFlag() {
    ReadRecBaseThread* thread = m_portWork->readThread;
    if (!thread || !thread->portOpen)
        return;
    thread->imageForTransfer = true;
    ui->actReadEEPROM->trigger();
}

void MainWindow::SetProgressBar(bool reset, bool read, int value) {
    const auto relay = progress.step(reset, read, value, *g_deviceSettings->header, wizardActive);
    // Look first, value last: whoever watches the value sees the step's text.
    ui->progressBar->setFormat(progress.format());
    ui->progressBar->setTextVisible(progress.textVisible());
    ui->progressBar->setMaximum(progress.maximum());
    ui->progressBar->setValue(progress.value());
    if (relay)
        emit SigSetProgress(relay->increment, relay->maximum);
}

void MainWindow::FillFieldsFromStruct() {
    m_pribParWindow->ForgetRemembered();
    DeviceSettings& s = *g_deviceSettings;
    showWorkMode();
    s.header->objectType = InferObjectType(*s.zones, *s.extra);
    showObjectType();
    revertParamsWindow();
    m_operatorsDialog->UpdateInternalList(0);
    showSimChoices();
    m_restartCauses->resetFlagsModel->filled = true;
    m_restartCauses->naprFlagsModel->filled = true;
    m_restartCauses->resetFlagsModel->ResetTable();
    m_restartCauses->naprFlagsModel->ResetTable();
    m_restartCauses->FillCounters();
    m_history->journalModel->filled = true;
    m_history->lastStateModel->filled = true;
    m_history->journalModel->ResetTable();
    m_history->lastStateModel->ResetTable();
    m_history->ScrollJournalToLast();
    m_restartCauses->SetPanelVisible(false);
    m_history->SetInfoVisible(false);
}

void MainWindow::StartTest() {
    emit SigStartTest();
    SetProgressBar(true, false, kServiceProgressMaximum);
    m_testPrib->initialize();
    m_testPrib->exec();
}

void MainWindow::StartKeysOpt() {
    emit SigStartTest();
    SetProgressBar(true, false, kServiceProgressMaximum);
    m_portWork->SetTestCommand(proto::TC_READ_KEYS);
    m_keysOptions->exec();
}

void MainWindow::RestartDevice() {
    if (!m_portWork->IsPortOpen()) {
        prompt().message(Prompt::Warning, this, QStringLiteral("Предупреждение"),
                         QStringLiteral("Для выполнения данной операции требуется открыть "
                                        "COM-порт/USB-устройство!"),
                         Prompt::Ok);
        return;
    }
    const int answer = prompt().message(
        Prompt::Information, this, QStringLiteral("Предупреждение"),
        QStringLiteral("<p>Данная опция доступна для версии \"05.06.10\" и более поздних!</p>"
                       "<p>Прибор будет перезапущен. Продолжить?</p>"),
        Prompt::Yes | Prompt::No);
    if (answer != Prompt::No)
        m_portWork->RestartDevice();
}

void MainWindow::ExecOperatorsDialog() {
    if (auto* list = m_operatorsDialog->findChild<QListWidget*>(QStringLiteral("lwOperators")))
        list->setCurrentRow(0);
    m_operatorsDialog->exec();
}

void MainWindow::timeDialogClosed() {
    if (BreakOnTimeDialogRejected(*g_deviceSettings->header))
        emit SigBreakOperation();
}

// ------------------------------------------------------- wizard hand-off

void MainWindow::SetWizardActiveStatus(bool s) {
    wizardActive = s;
}

void MainWindow::StartKeelwright() {
    m_choosePort->mainWindowShown = true;
    // The editor owns the port from now on: a link reset must not make the
    // hidden wizard close it.
    wizardActive = false;
    show();
}

void MainWindow::GetPortVerLists() {
    m_choosePort->mainWindowShown = false;
    emit SigTransferList(wizardlist::kComPorts, m_choosePort->comItems());
    emit SigTransferList(wizardlist::kVersions, ComboItems(ui->cbVersion));
}

void MainWindow::OpenPortForWizard(bool com, int index) {
    auto* rbCOM = m_choosePort->findChild<QRadioButton*>(QStringLiteral("rbCOM"));
    auto* cbPort = m_choosePort->findChild<QComboBox*>(QStringLiteral("cbPort"));
    auto* rbUSB = m_choosePort->findChild<QRadioButton*>(QStringLiteral("rbUSB"));
    auto* cbUSB = m_choosePort->findChild<QComboBox*>(QStringLiteral("cbUSB"));
    // No such entry: nothing to open, and the dialog's own choice stays.
    if (index < 0 || index >= (com ? cbPort : cbUSB)->count()) {
        emit SigPortOpenStatus(2);
        return;
    }
    if (com) {
        rbCOM->setChecked(true);
        cbPort->setCurrentIndex(index);
        m_choosePort->ApplyClick();
        ui->actOpenClosePort->trigger();
    } else {
        rbUSB->setChecked(true);
        cbUSB->setCurrentIndex(index);
        m_choosePort->ApplyClick();
    }
}

void MainWindow::ClosePortFromMaster() {
    if (m_portWork->IsPortOpen())
        ui->actOpenClosePort->trigger();
}

void MainWindow::SetupOptionsFromMaster(DEV_TYPE devType, QString ver, bool programmThis) {
    ui->RbRegAuto->setChecked(true);
    ui->RbRegAuto->click();
    if (QRadioButton* radio = familyRadio(devType)) {
        radio->setChecked(true);
        radio->click();
    }
    ui->cbVersion->setCurrentIndex(FindVersionRow(ComboItems(ui->cbVersion), ver));
    if (auto* cancel = m_pribParWindow->findChild<QPushButton*>(QStringLiteral("pbCancel")))
        cancel->click();
    if (programmThis)
        ui->actProgramming->trigger();
}

void MainWindow::SetDeviceLoseForWizard() {
    if (m_portWork->IsPortOpen() && wizardActive)
        emit SigReadTimeOut();
}

void MainWindow::setSettingsChangeAfterRun() {
    settingsChangedAfterRun = true;
}

// ------------------------------------------------------------- events

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (IsSoundsCombination(key)) {
            keyPressEvent(key);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (IsSoundsCombination(event)) {
        ui->actSounds->setVisible(true);
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    m_choosePort->mainWindowShown = false;
    emit SigWinWasHided();
    hide();
}
