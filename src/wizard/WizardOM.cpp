#include "wizard/WizardOM.h"

#include "settings/Prompt.h"
#include "ui_WizardOM.h"
#include "wizard/WizardRules.h"

#include <QHostInfo>
#include <QTimer>

namespace {
const QString kPlainTitle = QStringLiteral("Мастер настройки прибора");

int g_waitTimeoutMs = WizardOM::kWaitTimeoutMs;

QList<QHostAddress> LookUp(const QString& name) {
    return QHostInfo::fromName(name).addresses();
}
WizardOM::HostResolver g_resolver = LookUp;

// The port-open results of the main window.
enum PortOpenStatus { kPortOpened = 0, kPortClosed = 1, kPortOpenFailed = 2 };
} // namespace

void WizardOM::SetHostResolver(HostResolver resolver) {
    g_resolver = resolver ? std::move(resolver) : LookUp;
}

const WizardOM::HostResolver& WizardOM::hostResolver() {
    return g_resolver;
}

void WizardOM::SetWaitTimeoutMs(int ms) {
    g_waitTimeoutMs = ms;
}

WizardOM::WizardOM(QWidget* parent) : QWizard(parent), waitTimer(nullptr), ui(new Ui::WizardOM) {
    ui->setupUi(this);
    setPixmap(QWizard::LogoPixmap,
              QPixmap(QStringLiteral(":/icons/hardwarechip.png"))
                  .scaled(64, 64, Qt::KeepAspectRatio, Qt::FastTransformation));
    programButton.setText(QStringLiteral("Программировать"));
    programButton.setIcon(QIcon(QStringLiteral(":/icons/Programming.png")));
    editorButton.setText(QStringLiteral("Кильврайт"));
    editorButton.setIcon(QIcon(QStringLiteral(":/icons/openport.png")));
    menuButton.setText(QStringLiteral("Вернуться в меню"));
    menuButton.setIcon(QIcon(QStringLiteral(":/icons/ReadEEPROM.png")));
    // The wizard takes the buttons over; they are members, so the destructor
    // takes them back before the members go.
    setButton(QWizard::CustomButton1, &editorButton);
    setButton(QWizard::CustomButton2, &programButton);
    setButton(QWizard::CustomButton3, &menuButton);
    editorButton.hide();
    programButton.hide();
    menuButton.hide();

    connect(this, &WizardOM::SigVersionChange, this, &WizardOM::VersionChange);
    connect(ui->rbCOM, &QRadioButton::toggled, ui->cbCOM, &QWidget::setEnabled);
    connect(ui->rbCOM, &QRadioButton::toggled, ui->cbUSB, &QWidget::setDisabled);
    connect(ui->rbCOM, &QRadioButton::toggled, ui->cbVersion, &QWidget::setDisabled);
    connect(ui->rbCOM, &QRadioButton::toggled, ui->cbTypeDev, &QWidget::setDisabled);
    connect(ui->rbUSB, &QRadioButton::toggled, ui->cbCOM, &QWidget::setDisabled);
    connect(ui->rbUSB, &QRadioButton::toggled, ui->cbUSB, &QWidget::setEnabled);
    connect(ui->rbUSB, &QRadioButton::toggled, ui->cbVersion, &QWidget::setDisabled);
    connect(ui->rbUSB, &QRadioButton::toggled, ui->cbTypeDev, &QWidget::setDisabled);
    connect(ui->rbVersion, &QRadioButton::toggled, ui->cbCOM, &QWidget::setDisabled);
    connect(ui->rbVersion, &QRadioButton::toggled, ui->cbUSB, &QWidget::setDisabled);
    connect(ui->rbVersion, &QRadioButton::toggled, ui->cbVersion, &QWidget::setEnabled);
    connect(ui->rbVersion, &QRadioButton::toggled, ui->cbTypeDev, &QWidget::setEnabled);
    connect(ui->rbVersion, &QRadioButton::toggled, this, &WizardOM::SetManualOptions);
    connect(this, &QWizard::currentIdChanged, this, &WizardOM::PageChange);
    connect(this, &QDialog::rejected, this, &WizardOM::CancelClick);

    waitTimer = new QTimer(this);
    deviceFound = false;
    portOpen = false;
    connect(waitTimer, &QTimer::timeout, this, &WizardOM::WaitTimeOut);

    connect(ui->cbVersion, &QComboBox::currentIndexChanged, this,
            [this](int i) { SetupVersionFromList(ui->cbVersion->itemText(i)); });
    lastPageId = -1;
    connect(&editorButton, &QPushButton::clicked, this, &WizardOM::RunConfigClick);
    connect(&programButton, &QPushButton::clicked, this, &WizardOM::ProgrammingClick);
    connect(&menuButton, &QPushButton::clicked, this, &WizardOM::BackToMenuClick);

    ui->cbTypeDev->addItems(wizard::ModelNames());
    connect(ui->cbTypeDev, &QComboBox::currentIndexChanged, this, &WizardOM::SetupTypeDevFromList);

    connect(ui->cbUseSIM1, &QCheckBox::toggled, ui->CbOperators1, &QWidget::setEnabled);
    connect(ui->cbUseSIM1, &QCheckBox::toggled, ui->cbBalance1, &QWidget::setEnabled);
    connect(ui->cbUseSIM2, &QCheckBox::toggled, ui->CbOperators2, &QWidget::setEnabled);
    connect(ui->cbUseSIM2, &QCheckBox::toggled, ui->cbBalance2, &QWidget::setEnabled);

    setupSettingsPages();

    version = QStringLiteral("21.09.2009");
    deviceType = DEV_D4M;

    setupCamerasPage();

    // The header's title font is derived from the application's point size,
    // which a pixel-sized application font does not have: give the titles
    // their size explicitly.
    setTitleFormat(Qt::RichText);
    for (int id : pageIds()) {
        QWizardPage* p = page(id);
        p->setTitle(QStringLiteral("<span style=\"font-size:15px; font-weight:bold\">%1</span>")
                        .arg(p->title().toHtmlEscaped()));
    }
}

WizardOM::~WizardOM() {
    // setButton() gave the member buttons a parent; detach them so that the
    // wizard's children are not deleted twice.
    for (QPushButton* b : {&editorButton, &programButton, &menuButton})
        b->setParent(nullptr);
    delete ui;
}

bool WizardOM::isWaiting() const {
    return waitTimer->isActive();
}

QHostAddress WizardOM::resolvedAddress(int server) const {
    const Resolved* r[] = {&server1Address, &server2Address, &timeServerAddress};
    return server >= 0 && server < 3 ? r[server]->address : QHostAddress();
}

bool WizardOM::manualMode() const {
    return ui->rbVersion->isChecked();
}

int WizardOM::nextId() const {
    switch (currentId()) {
    case PageConnect:
        return ui->rbVersion->isChecked() ? PageBase : PageWait;
    case PageChoose:
        return ui->rbChooseNewConfig->isChecked() ? PageBase : PageReadEEPROM;
    case PageBase:
        return ui->cbConGPRS->isChecked() || ui->cbUseSNTP->isChecked() ? PageGPRS : PageNumbers;
    case PageNumbers:
        return deviceType == DEV_VoduzeR ? PageExits : PageShlFunc;
    case PageExits:
        return wizard::CamerasPageShown(deviceType, version) ? PageCams : PageSummary;
    case PageProgramming:
        return -1;
    default:
        return currentId() + 1;
    }
}

// ------------------------------------------------------ start and waiting

void WizardOM::StartWizard() {
    ui->lTimeOut->hide();
    ui->lErrReadEEPROM->hide();
    // Only a listed adapter is worth preselecting.
    if (usbListed())
        ui->rbUSB->setChecked(true);
    ui->cbTypeDev->setCurrentIndex(0);
    restart();
    show();
}

void WizardOM::SetOpenPortStatus(int status) {
    switch (status) {
    case kPortOpened:
        if (isActiveWindow())
            waitTimer->start(g_waitTimeoutMs);
        portOpen = true;
        break;
    case kPortClosed:
        portOpen = false;
        break;
    case kPortOpenFailed:
        if (isActiveWindow()) {
            back();
            prompt().message(Prompt::Critical, this, QStringLiteral("Ошибка доступа"),
                             QStringLiteral("Не удалось получить доступ к устройству. Возможно "
                                            "устройство занято."));
        }
        portOpen = false;
        break;
    default:
        break;
    }
}

void WizardOM::WaitTimeOut() {
    if (deviceFound)
        return;
    ui->lMessageDevFind->setText(
        QStringLiteral("Превышение времени ожидания прибора. Проверьте все соединения, "
                       "отключите и снова подайте питание на прибор."));
    ui->lMessageDevFind->setEnabled(false);
}

void WizardOM::SetConnectOk(DEV_TYPE tDev, QString ver) {
    if (currentId() != PageWait)
        return;
    deviceFound = true;
    deviceType = tDev;
    SetupWizardOptions(tDev);
    version = ver;
    waitTimer->stop();
    emit SigVersionChange();
    emit SigLoadDefaultSettings(tDev);
    next();
}

// --------------------------------------------------- model and version by hand

void WizardOM::SetupTypeDevFromList(int tdev) {
    if (tdev == -1 || !ui->rbVersion->isChecked())
        return;
    deviceType = tdev;
    SetupWizardOptions(tdev);
    emit SigLoadDefaultSettings(tdev);
    emit SigVersionChange();
}

void WizardOM::SetupVersionFromList(QString ver) {
    if (!ui->rbVersion->isChecked())
        return;
    version = ver;
    emit SigVersionChange();
}

void WizardOM::SetManualOptions(bool ok) {
    if (!ok)
        return;
    // The version first: the model's defaults are then loaded under it.
    SetupVersionFromList(ui->cbVersion->currentText());
    SetupTypeDevFromList(ui->cbTypeDev->currentIndex());
}

// ------------------------------------------------------------ break, cancel

void WizardOM::ExecWaitBreak() {
    readPending = false;
    if (deviceFound)
        emit SigBreakOperation();
    waitTimer->stop();
    deviceFound = false;
    emit SigClosePort();
}

void WizardOM::CancelClick() {
    ExecWaitBreak();
    ui->rbCOM->setChecked(true);
    ui->rbChooseNewConfig->setChecked(true);
}

// ----------------------------------------------------------------- hand-off

void WizardOM::ProgrammingClick() {
    ApplyWizardToSettings();
    emit SigSetupOptionsFromMaster(DEV_TYPE(deviceType), version, true);
    next();
}

void WizardOM::RunConfigClick() {
    ApplyWizardToSettings();
    emit SigSetupOptionsFromMaster(DEV_TYPE(deviceType), version, false);
    emit SigStartKeelwright();
    ui->rbCOM->setChecked(true);
    hide();
}

void WizardOM::BackToMenuClick() {
    while (currentId() > PageChoose) {
        const int before = currentId();
        back();
        if (currentId() == before)
            break; // no earlier page left
    }
}

// ---------------------------------------------------------- progress, result

void WizardOM::SetProgrammingProgress(int value, int max) {
    if (max != ui->pBarProgramming->maximum() && max != 0)
        ui->pBarProgramming->setMaximum(max);
    ui->pBarProgramming->setValue(ui->pBarProgramming->value() + value);
}

void WizardOM::SetStatusProgramming(bool ok) {
    if (ok) {
        menuButton.setEnabled(true);
        ui->lStatus->setEnabled(true);
        ui->lStatus->setText(QStringLiteral("Прибор успешно запрограммирован!"));
    } else {
        refusalResetDue = true;
        button(QWizard::BackButton)->setEnabled(true);
        ui->pBarProgramming->setValue(0);
        ui->lStatus->setEnabled(false);
        ui->lStatus->setText(QStringLiteral("Ошибка программирования!"));
    }
    ui->lStatus->show();
}

void WizardOM::SetReadProgress(int value, int max) {
    if (!readPending)
        return;
    if (max != ui->pBarRead->maximum())
        ui->pBarRead->setMaximum(max);
    ui->pBarRead->setValue(ui->pBarRead->value() + value);
}

void WizardOM::SetReadEEPROMStatus(bool ok) {
    if (!readPending)
        return;
    readPending = false;
    if (ok) {
        next();
    } else {
        back();
        ui->lErrReadEEPROM->show();
    }
}

void WizardOM::ExitFromKeysOrTest() {
    if (!ui->rbChoosePassKeyOptions->isChecked() && !ui->rbChooseTest->isChecked())
        return;
    show();
    back();
    ui->rbChooseNewConfig->setChecked(true);
}

void WizardOM::ReadTimeOut() {
    if (refusalResetDue && currentId() == PageProgramming) {
        refusalResetDue = false;
        return;
    }
    ExecWaitBreak();
    restart();
    ui->lTimeOut->show();
}

// ---------------------------------------------------------------- page entry

void WizardOM::PageChange(int id) {
    QAbstractButton* backButton = button(QWizard::BackButton);
    QAbstractButton* nextButton = button(QWizard::NextButton);
    QAbstractButton* finishButton = button(QWizard::FinishButton);
    QAbstractButton* cancelButton = button(QWizard::CancelButton);
    const bool manual = manualMode();
    refusalResetDue = false;
    // The break that leaving the read page sends ends the read in the link.
    readPending = false;

    switch (id) {
    case PageConnect:
        if (portOpen)
            ExecWaitBreak();
        cancelButton->show();
        nextButton->show();
        backButton->hide();
        finishButton->hide();
        nextButton->setEnabled(true);
        ui->pBarRead->setValue(0);
        if (!manual)
            backButton->setEnabled(false);
        break;
    case PageWait:
        ui->lTimeOut->hide();
        ui->lMessageDevFind->setText(QStringLiteral("Подайте питание на прибор."));
        ui->lMessageDevFind->setEnabled(true);
        nextButton->setEnabled(false);
        deviceFound = false;
        if (ui->rbCOM->isChecked())
            emit SigOpenPort(true, ui->cbCOM->currentIndex());
        if (ui->rbUSB->isChecked())
            emit SigOpenPort(false, ui->cbUSB->currentIndex());
        backButton->setEnabled(true);
        break;
    case PageChoose:
        nextButton->setEnabled(true);
        ui->pBarRead->setValue(0);
        if (!manual)
            backButton->setEnabled(false);
        emit SigBreakOperation();
        break;
    default:
        nextButton->setEnabled(true);
        backButton->setEnabled(true);
        break;
    }

    menuButton.setVisible(id > PageChoose && !manual);

    if (id <= PageWait) {
        setWindowTitle(kPlainTitle);
    } else if (id == PageChoose || id == PageBase) {
        if (deviceType >= 0 && deviceType < wizard::ModelNames().size())
            setWindowTitle(kPlainTitle +
                           QStringLiteral(" \"%1\"").arg(wizard::ModelNames().at(deviceType)));
    }

    switch (id) {
    case PageReadEEPROM:
        ui->lErrReadEEPROM->hide();
        if (ui->rbChooseChangeConfig->isChecked()) {
            readPending = true;
            emit SigReadEEPROM();
            nextButton->setEnabled(false);
        } else if (ui->rbChoosePassKeyOptions->isChecked()) {
            hide();
            emit SigShowKeyConfigWindow();
        } else if (ui->rbChooseTest->isChecked()) {
            hide();
            emit SigShowTestWindow();
        }
        ui->rbChooseNewConfig->setChecked(true);
        break;
    case PageBase:
        nextButton->setEnabled(true);
        backButton->setEnabled(false);
        menuButton.setEnabled(true);
        break;
    case PageGPRS:
        ui->gbSNTP->setVisible(ui->cbUseSNTP->isChecked());
        ui->gbServ1->setVisible(ui->cbConGPRS->isChecked());
        ui->gbServ2->setVisible(ui->cbConGPRS->isChecked());
        ui->lNumTShl->setVisible(deviceType != DEV_VoduzeR);
        ui->cbNTShl->setVisible(deviceType != DEV_VoduzeR);
        break;
    case PageExits:
        // Typed passwords survive Back and Next; only a change of the form
        // refills the fields from the settings.
        if (passwordFormShown != wizard::ShortPasswords(version))
            loadPasswords();
        break;
    case PageSummary:
        nextButton->hide();
        programButton.setVisible(!manual);
        editorButton.show();
        ui->teSummary->clear();
        composeSummary();
        break;
    default:
        break;
    }

    if (id != PageSummary) {
        editorButton.hide();
        programButton.hide();
        nextButton->show();
        if (id == PageProgramming) {
            ui->pBarProgramming->setValue(0);
            ui->lStatus->hide();
            nextButton->hide();
            backButton->setEnabled(false);
            menuButton.setEnabled(false);
            cancelButton->hide();
            finishButton->hide();
            finishButton->setEnabled(false);
            lastPageId = id;
            return;
        }
    }
    cancelButton->show();
    lastPageId = id;
}
