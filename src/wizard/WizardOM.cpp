#include "wizard/WizardOM.h"

#include "link/dialogs/WizardList.h"
#include "settings/MainWindowRules.h"
#include "settings/Prompt.h"
#include "ui_WizardOM.h"

#include <QTimer>

WizardOM::WizardOM(QWidget* parent)
    : QWizard(parent), waitTimer(new QTimer(this)), ui(new Ui::WizardOM) {
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
    // The wizard takes the buttons over; they are members, so take them back
    // before the members go.
    setButton(QWizard::CustomButton1, &editorButton);
    setButton(QWizard::CustomButton2, &programButton);
    setButton(QWizard::CustomButton3, &menuButton);
    editorButton.hide();
    programButton.hide();
    menuButton.hide();

    connect(ui->rbCOM, &QRadioButton::toggled, ui->cbCOM, &QWidget::setEnabled);
    connect(ui->rbUSB, &QRadioButton::toggled, ui->cbUSB, &QWidget::setEnabled);
    connect(ui->rbVersion, &QRadioButton::toggled, ui->cbVersion, &QWidget::setEnabled);
    connect(ui->rbVersion, &QRadioButton::toggled, ui->cbTypeDev, &QWidget::setEnabled);
    connect(this, &QWizard::currentIdChanged, this, &WizardOM::PageChange);
    connect(waitTimer, &QTimer::timeout, this, &WizardOM::WaitTimeOut);
    connect(&editorButton, &QPushButton::clicked, this, &WizardOM::RunConfigClick);
    connect(&programButton, &QPushButton::clicked, this, &WizardOM::ProgrammingClick);
    connect(&menuButton, &QPushButton::clicked, this, &WizardOM::BackToMenuClick);

    // The header's title font is derived from the application's point size,
    // which a pixel-sized application font does not have: give the titles
    // their size explicitly.
    setTitleFormat(Qt::RichText);
    for (int id : pageIds()) {
        QWizardPage* p = page(id);
        p->setTitle(QStringLiteral("<span style=\"font-size:15px; font-weight:bold\">%1</span>")
                        .arg(p->title().toHtmlEscaped()));
    }

    ui->cbTypeDev->addItems({QStringLiteral("Дорна-4М"), QStringLiteral("Дорна-8М"),
                             QStringLiteral("Мирвел"), QStringLiteral("Мирвел-К")});
    version = QStringLiteral("21.09.2009");
    deviceType = DEV_D4M;
}

WizardOM::~WizardOM() {
    // setButton() gave the member buttons a parent; detach them so that the
    // wizard's children are not deleted twice.
    for (QPushButton* b : {&editorButton, &programButton, &menuButton})
        b->setParent(nullptr);
    delete ui;
}

bool WizardOM::isWaiting() const {
    return currentId() == PageWait;
}

void WizardOM::StartWizard() {
    deviceFound = false;
    ui->lTimeOut->clear();
    ui->rbNewSettings->setChecked(true);
    ui->pbarProgramming->setValue(0);
    ui->pbarRead->setValue(0);
    restart();
    show();
}

void WizardOM::SetupList(int numSpis, QStringList list) {
    switch (numSpis) {
    case wizardlist::kComPorts:
        ui->cbCOM->clear();
        ui->cbCOM->addItems(list);
        break;
    case wizardlist::kUsbDevices:
        ui->cbUSB->clear();
        ui->cbUSB->addItems(list);
        break;
    case wizardlist::kVersions:
        ui->cbVersion->clear();
        ui->cbVersion->addItems(list);
        break;
    case wizardlist::kOperators:
        operators = list;
        for (QComboBox* box : {ui->cbOperators1, ui->cbOperators2}) {
            box->clear();
            box->addItems(list);
        }
        break;
    case wizardlist::kRefresh:
        if (g_deviceSettings) {
            const DeviceHeader& h = *g_deviceSettings->header;
            ui->cbOperators1->setCurrentIndex(
                RowBelowCountOrLast(h.simOperator[0], ui->cbOperators1->count()));
            ui->cbOperators2->setCurrentIndex(
                RowBelowCountOrLast(h.simOperator[1], ui->cbOperators2->count()));
        }
        break;
    default:
        break;
    }
}

void WizardOM::PageChange(int id) {
    if (id == PageWait && lastPageId == PageConnect) {
        if (ui->rbVersion->isChecked()) {
            deviceType = ui->cbTypeDev->currentIndex();
            version = ui->cbVersion->currentText();
            emit SigLoadDefaultSettings(deviceType);
        } else {
            emit SigOpenPort(ui->rbCOM->isChecked(), ui->rbCOM->isChecked()
                                                         ? ui->cbCOM->currentIndex()
                                                         : ui->cbUSB->currentIndex());
        }
    }
    if (id == PageReadEEPROM && lastPageId == PageChoose) {
        if (ui->rbKeys->isChecked()) {
            hide();
            emit SigShowKeyConfigWindow();
        } else if (ui->rbTest->isChecked()) {
            hide();
            emit SigShowTestWindow();
        } else if (ui->rbChangeSettings->isChecked()) {
            emit SigReadEEPROM();
        }
    }
    editorButton.setVisible(id >= PageChoose);
    programButton.setVisible(id == PageSummary);
    menuButton.setVisible(id == PageProgramming);
    lastPageId = id;
}

void WizardOM::WaitTimeOut() {
    waitTimer->stop();
    emit SigClosePort();
    restart();
    ui->lTimeOut->setText(QStringLiteral("Прибор не найден. Проверьте подключение."));
}

void WizardOM::SetConnectOk(DEV_TYPE tDev, QString ver) {
    if (currentId() != PageWait)
        return;
    deviceFound = true;
    deviceType = tDev;
    version = ver;
    waitTimer->stop();
    emit SigVersionChange();
    emit SigLoadDefaultSettings(tDev);
    next();
}

void WizardOM::SetOpenPortStatus(int status) {
    switch (status) {
    case portstatus::kOpened:
        portOpen = true;
        if (isActiveWindow())
            waitTimer->start(kWaitTimeoutMs);
        break;
    case portstatus::kClosed:
        portOpen = false;
        break;
    case portstatus::kOpenFailed:
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

void WizardOM::RunConfigClick() {
    emit SigSetupOptionsFromMaster(DEV_TYPE(deviceType), version, false);
    hide();
    emit SigStartKeelwright();
}

void WizardOM::ProgrammingClick() {
    emit SigSetupOptionsFromMaster(DEV_TYPE(deviceType), version, true);
    next();
}

void WizardOM::BackToMenuClick() {
    reject();
}

void WizardOM::SetProgrammingProgress(int value, int max) {
    if (max != 0 && max != ui->pbarProgramming->maximum())
        ui->pbarProgramming->setMaximum(max);
    ui->pbarProgramming->setValue(ui->pbarProgramming->value() + value);
}

void WizardOM::SetStatusProgramming(bool ok) {
    ui->lProgStatus->setText(ok ? QStringLiteral("Прибор успешно запрограммирован!")
                                : QStringLiteral("Ошибка программирования!"));
}

void WizardOM::SetReadProgress(int value, int max) {
    if (max != ui->pbarRead->maximum())
        ui->pbarRead->setMaximum(max);
    ui->pbarRead->setValue(ui->pbarRead->value() + value);
}

void WizardOM::SetReadEEPROMStatus(bool ok) {
    if (ok) {
        ui->lReadError->clear();
        next();
    } else {
        back();
        ui->lReadError->setText(QStringLiteral("Ошибка чтения настроек прибора."));
    }
}

void WizardOM::ExitFromKeysOrTest() {
    if (!ui->rbKeys->isChecked() && !ui->rbTest->isChecked())
        return;
    show();
    back();
    ui->rbNewSettings->setChecked(true);
}

void WizardOM::ReadTimeOut() {
    if (currentId() == PageReadEEPROM || currentId() == PageProgramming)
        emit SigBreakOperation();
    waitTimer->stop();
    emit SigClosePort();
    restart();
    ui->lTimeOut->setText(
        QStringLiteral("Произошла ошибка. Повторите последовательность действий."));
}
