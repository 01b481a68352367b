// The settings pages: their set-up, the model and firmware that shape them,
// their own rules, and loading them from the settings object.

#include "wizard/WizardOM.h"

#include "comms/CommsFields.h"
#include "link/dialogs/WizardList.h"
#include "settings/LayoutCR99.h"
#include "ui_WizardOM.h"
#include "wizard/WizardRules.h"

namespace {
const QString kNoUsb = QStringLiteral("Нет USB-устройств");
const QString kTechLoopItem = QStringLiteral("Технологический");
const QString kUserFunction = QStringLiteral("4 - пользовательский");
} // namespace

void WizardOM::setupSettingsPages() {
    ui->leObjName->setValidator(LatinNameValidator(ui->leObjName));
    // A host name longer than the device keeps would reach it cut, naming
    // another host.
    ui->leAdress1->setMaxLength(cr99::kDnsNameSize);
    ui->leAdress2->setMaxLength(cr99::kDnsNameSize);
    ui->leIPserv->setMaxLength(cr99::kSntpDnsSize);
    for (int zone = 0; zone <= 12; ++zone)
        ui->comboBPoyas->addItem(QStringLiteral("+") + QString::number(zone));

    const QStringList smsChoices{QStringLiteral("С этого номера"), QStringLiteral("С др. номеров"),
                                 QStringLiteral("Со всех номеров"), QStringLiteral("Нет")};
    for (int n = 1; n <= kPageNumbers; ++n) {
        for (int k = 0; k <= 9; ++k) {
            child<QComboBox>(QStringLiteral("comboBPopOC"), n)->addItem(QString::number(k));
            child<QComboBox>(QStringLiteral("comboBPopTr"), n)->addItem(QString::number(k));
        }
        child<QComboBox>(QStringLiteral("comboBSmsOC"), n)->addItems(smsChoices);
    }

    const QStringList functions{QStringLiteral("0 - не используется"),
                                QStringLiteral("1 - свет"),
                                QStringLiteral("2 - сирена"),
                                QStringLiteral("3 - ПЦН"),
                                kUserFunction,
                                QStringLiteral("5 - импульсный")};
    for (QComboBox* box : {ui->CombobV1, ui->CombobV2, ui->CombobV3})
        box->addItems(functions);

    for (QWidget* w : std::initializer_list<QWidget*>{ui->lPass1, ui->lePass1, ui->lPass2,
                                                      ui->lePass2, ui->lPass3, ui->lePass3})
        w->hide();
    for (int k = 1; k <= kWizardOutputs; ++k) {
        child<QLabel>(QStringLiteral("lPCN"), k)->hide();
        for (int j = 1; j <= kLoops; ++j)
            child<QCheckBox>(QStringLiteral("cbPCN"), k, j)->hide();
    }

    connect(ui->CombobV1, &QComboBox::currentIndexChanged, this, &WizardOM::ExitFuncChange1);
    connect(ui->CombobV2, &QComboBox::currentIndexChanged, this, &WizardOM::ExitFuncChange2);
    connect(ui->CombobV3, &QComboBox::currentIndexChanged, this, &WizardOM::ExitFuncChange3);
    connect(ui->cbNTShl, &QComboBox::currentIndexChanged, this, &WizardOM::TehShlChange);
    void (WizardOM::*const loopSlots[kLoops])(int) = {
        &WizardOM::FuncShlChange1, &WizardOM::FuncShlChange2, &WizardOM::FuncShlChange3,
        &WizardOM::FuncShlChange4, &WizardOM::FuncShlChange5, &WizardOM::FuncShlChange6,
        &WizardOM::FuncShlChange7, &WizardOM::FuncShlChange8};
    for (int n = 1; n <= kLoops; ++n)
        connect(child<QComboBox>(QStringLiteral("cBoxShl"), n), &QComboBox::currentIndexChanged,
                this, loopSlots[n - 1]);

    ui->cbConnectSIM2->hide();
    ui->cbUpdateTimeGPS->hide();
}

// ------------------------------------------------------------ model set-up

void WizardOM::SetupWizardOptions(int typeWizard) {
    ui->pBarRead->setValue(0);
    auto loopRow = [this](int n) -> QList<QWidget*> {
        return {child<QWidget>(QStringLiteral("cBoxShl"), n),
                child<QWidget>(QStringLiteral("lShl"), n),
                child<QWidget>(QStringLiteral("cbTrShl"), n)};
    };
    for (int n = 1; n <= kLoops; ++n) {
        for (QWidget* w : loopRow(n))
            w->show();
    }
    ui->cbNTShl->show();
    ui->lNumTShl->show();
    ui->cbUseShl1Teh->hide();
    ui->gbConGPRS->show();
    ui->gbServ1->show();
    ui->gbServ2->show();

    int loops = 0; // loops of the technological-loop list
    int firstAbsent = kLoops + 1;
    switch (typeWizard) {
    case DEV_D4M:
        loops = 4;
        firstAbsent = 5;
        break;
    case DEV_D8M:
        loops = 8;
        break;
    case DEV_VororaZ:
    case DEV_VoduzeR:
        loops = 6;
        firstAbsent = 7;
        break;
    default:
        break;
    }
    for (int n = firstAbsent; n <= kLoops; ++n) {
        for (QWidget* w : loopRow(n))
            w->hide();
    }
    if (typeWizard == DEV_VoduzeR) {
        ui->cbNTShl->hide();
        ui->lNumTShl->hide();
        ui->cbUseShl1Teh->show();
    }
    QStringList techLoops;
    if (typeWizard >= DEV_D4M && typeWizard <= DEV_VoduzeR) {
        techLoops << QStringLiteral("Не используется");
        for (int n = 1; n <= loops; ++n)
            techLoops << QString::number(n);
    }

    ui->rbChooseNewConfig->setChecked(true);

    QStringList functions{QStringLiteral("Не используется"), QStringLiteral("Охранный")};
    if (typeWizard == DEV_D4M || typeWizard == DEV_D8M)
        functions << QStringLiteral("Тревожная кнопка") << QStringLiteral("Пожарный датчик");
    for (int n = 1; n <= kLoops; ++n) {
        QComboBox* box = child<QComboBox>(QStringLiteral("cBoxShl"), n);
        box->clear();
        box->addItems(functions);
    }
    ui->cbNTShl->clear();
    ui->cbNTShl->addItems(techLoops);

    clearCameraRows(typeWizard);

    VersionChange();
}

// ----------------------------------------------------------------- lists

void WizardOM::SetupList(int numSpis, QStringList list) {
    switch (numSpis) {
    case wizardlist::kComPorts:
        ui->cbCOM->clear();
        ui->cbCOM->addItems(list);
        break;
    case wizardlist::kUsbDevices:
        if (!list.isEmpty() && ui->cbUSB->findText(list.first(), Qt::MatchExactly) >= 0 &&
            ui->cbUSB->count() == list.size())
            break;
        ui->cbUSB->clear();
        ui->cbUSB->addItems(list);
        ui->rbUSB->setEnabled(true);
        // An adapter plugged in or pulled out does not end a run by hand:
        // there is no device to program until the user chooses a port.
        if (usbListed()) {
            if (!manualMode())
                ui->rbUSB->setChecked(true);
        } else {
            if (!manualMode())
                ui->rbCOM->setChecked(true);
            ui->rbUSB->setEnabled(false);
        }
        break;
    case wizardlist::kVersions:
        ui->cbVersion->clear();
        ui->cbVersion->addItems(list);
        break;
    case wizardlist::kOperators:
        ui->CbOperators1->clear();
        ui->CbOperators1->addItems(list);
        ui->CbOperators2->clear();
        ui->CbOperators2->addItems(list);
        break;
    case wizardlist::kRefresh:
        if (g_deviceSettings)
            loadFromSettings();
        break;
    default:
        break;
    }
}

// Only a listed adapter can be opened or is worth preselecting.
bool WizardOM::usbListed() const {
    return ui->cbUSB->currentIndex() >= 0 && ui->cbUSB->currentText() != kNoUsb;
}

void WizardOM::loadFromSettings() {
    const DeviceSettings& s = *g_deviceSettings;
    const DeviceHeader& h = *s.header;

    server1Address = Resolved();
    server2Address = Resolved();
    timeServerAddress = Resolved();

    ui->cbUseSIM1->setChecked(h.useSim[0] != 0);
    ui->cbUseSIM2->setChecked(h.useSim[1] != 0);
    ui->cbBalance1->setChecked(h.checkBalance[0] != 0);
    ui->cbBalance2->setChecked(h.checkBalance[1] != 0);
    ui->CbOperators1->setCurrentIndex(h.simOperator[0]);
    ui->CbOperators2->setCurrentIndex(h.simOperator[1]);
    ui->cbConGPRS->setChecked(s.connection->connectByGprs != 0);
    ui->cbConnectSIM2->setChecked(s.servers->useGprsMode2 != 0);
    ui->sbNumObj->setValue(ObjectNumberValue(s.connection->objectNumber));
    ui->cbObjName->setChecked(s.consoleSms->cb1 != 0);
    ui->leObjName->setText(s.consoleSms->objectName);
    ui->comboBPoyas->setCurrentIndex(s.navigation->timeZone);
    ui->cbUpdateTimeGPS->setChecked(s.navigation->updateTimeFromGps != 0);
    ui->cbUseSNTP->setChecked(s.sntp->useSntp != 0);

    if (deviceType == DEV_VoduzeR)
        ui->cbUseShl1Teh->setChecked(s.extra->techLoop == 1);
    else
        ui->cbNTShl->setCurrentIndex(s.extra->techLoop);
    for (int n = 1; n <= kLoops; ++n) {
        QComboBox* box = child<QComboBox>(QStringLiteral("cBoxShl"), n);
        if (!box->isEnabled())
            box->setCurrentIndex(box->count() - 1);
    }

    // A name is shown when the device reaches the server by it.
    const ServerSettings& sv = *s.servers;
    ui->leAdress1->setText(sv.useDns[0] ? sv.dnsName[0] : sv.serverIp[0]);
    ui->leAdress2->setText(sv.useDns[1] ? sv.dnsName[1] : sv.serverIp[1]);
    ui->sbPort1->setValue(PortValue(sv.serverPort[0]));
    ui->sbPort2->setValue(PortValue(sv.serverPort[1]));
    ui->sbPop1->setValue(sv.udPop[0]);
    ui->sbPop2->setValue(sv.udPop[1]);
    ui->leIPserv->setText(s.sntp->cb4 ? s.sntp->sntpDns : s.sntp->sntpIp);
    ui->sbIPPort->setValue(PortValue(s.sntp->sntpPort));

    for (int n = 1; n <= kPageNumbers; ++n) {
        const int k = n - 1;
        child<QLineEdit>(QStringLiteral("leNum"), n)->setText(s.phones->number[k]);
        child<QComboBox>(QStringLiteral("comboBPopOC"), n)
            ->setCurrentIndex(s.phoneOptions->callAttemptsOpenClose[k]);
        child<QComboBox>(QStringLiteral("comboBPopTr"), n)
            ->setCurrentIndex(s.phoneOptions->callAttemptsAlarm[k]);
        child<QComboBox>(QStringLiteral("comboBSmsOC"), n)
            ->setCurrentIndex(
                wizard::SmsChoice(s.smsFlags->checkbox[k] != 0, s.smsFlags->cbDrugieZa[k] != 0));
        child<QCheckBox>(QStringLiteral("cbSmsTr"), n)->setChecked(s.smsFlags->cbts[k] != 0);
        child<QCheckBox>(QStringLiteral("cbSmsService"), n)
            ->setChecked(s.extraSms->smsService[k] != 0);
        child<QCheckBox>(QStringLiteral("cbSmsSmenaSIM"), n)
            ->setChecked(s.extraSms->smsSimChange[k] != 0);
    }

    for (int m = 1; m <= kWizardOutputs; ++m) {
        QComboBox* box = child<QComboBox>(QStringLiteral("CombobV"), m);
        // A function this list does not offer shows no item and is stored
        // back as it was, not switched off.
        int index = -1;
        for (int i = 0; i < box->count(); ++i) {
            if (wizard::OutputFunction(box->itemText(i)) == s.outputs->outputType[m - 1]) {
                index = i;
                break;
            }
        }
        box->setCurrentIndex(index);
        // Loaded with the types, so that a device read and programmed back
        // keeps its bindings.
        for (int j = 1; j <= kLoops; ++j)
            child<QCheckBox>(QStringLiteral("cbPCN"), m, j)
                ->setChecked(s.outputs->outputLoop[m - 1][j - 1] != 0);
    }
    loadPasswords();

    loadLoopFunctions();

    if (deviceType == DEV_VororaZ || deviceType == DEV_VoduzeR)
        loadCameras();
}

void WizardOM::loadPasswords() {
    const OutputsConfig& o = *g_deviceSettings->outputs;
    const QString stored[kWizardOutputs] = {o.adminPassword[0], o.adminPassword[1],
                                            o.userPassword[0]};
    const bool shortForm = wizard::ShortPasswords(version);
    for (int k = 1; k <= kWizardOutputs; ++k) {
        QLineEdit* edit = child<QLineEdit>(QStringLiteral("lePass"), k);
        edit->setInputMask(shortForm ? QStringLiteral(">HH;#") : QStringLiteral(">HHHH;#"));
        edit->setText(wizard::ShownPassword(stored[k - 1], shortForm));
    }
    passwordFormShown = shortForm;
}

void WizardOM::loadLoopFunctions() {
    const LoopFunctions& f = *g_deviceSettings->loopFunctions;
    const LoopLimits& lim = *g_deviceSettings->loopLimits;
    auto alarmSet = [&f](int k) { return f.closeLight[k] != 0 && f.closeSiren[k] != 0; };
    if (deviceType == DEV_D4M || deviceType == DEV_D8M) {
        for (int n = 1; n <= kLoops; ++n) {
            const int k = n - 1;
            QComboBox* box = child<QComboBox>(QStringLiteral("cBoxShl"), n);
            if (!box->isEnabled())
                continue; // the technological loop keeps its item
            const int open = f.openAnalysis[k], close = f.closeAnalysis[k];
            const bool reverse = lim.reverse[k] != 0;
            // A function the list does not name shows no item and is stored
            // back as it was: neither an earlier choice nor "unused" may
            // replace it.
            int entry = -1;
            if (open == 0 && close == 0)
                entry = 0;
            else if (open == 0 && close == 1 && !reverse)
                entry = 1;
            else if (open == 2 && close == 2)
                entry = reverse ? 3 : 2;
            box->setCurrentIndex(entry);
            if (entry == 1 || entry == 2)
                child<QCheckBox>(QStringLiteral("cbTrShl"), n)->setChecked(alarmSet(k));
        }
    } else if (deviceType == DEV_VororaZ) {
        for (int n = 1; n <= 6; ++n) {
            const int k = n - 1;
            QComboBox* box = child<QComboBox>(QStringLiteral("cBoxShl"), n);
            if (!box->isEnabled())
                continue;
            const int open = f.openAnalysis[k], close = f.closeAnalysis[k];
            if (lim.maxLevel[k] >= 388 && open == 0 && close == 1) {
                box->setCurrentIndex(1);
                child<QCheckBox>(QStringLiteral("cbTrShl"), n)->setChecked(alarmSet(k));
            } else {
                // Only a loop without analysis is unused; any other loop the
                // list cannot name keeps its function.
                box->setCurrentIndex(open == 0 && close == 0 ? 0 : -1);
            }
        }
    }
}

// ------------------------------------------------------- firmware gating

void WizardOM::VersionChange() {
    if (deviceType == DEV_VororaZ) {
        for (int n = 1; n <= 6; ++n) {
            child<QWidget>(QStringLiteral("cBoxShl"), n)->show();
            child<QWidget>(QStringLiteral("lShl"), n)->show();
        }
        if (wizard::ThreeLoopFirmware(version)) {
            for (int n = 4; n <= 6; ++n) {
                child<QWidget>(QStringLiteral("cBoxShl"), n)->hide();
                child<QWidget>(QStringLiteral("lShl"), n)->hide();
                child<QWidget>(QStringLiteral("cbTrShl"), n)->hide();
            }
            for (int i = 6; i >= 4; --i) {
                if (i < ui->cbNTShl->count())
                    ui->cbNTShl->removeItem(i);
            }
        } else {
            for (int n = 4; n <= 6; ++n) {
                if (ui->cbNTShl->findText(QString::number(n), Qt::MatchExactly) < 0)
                    ui->cbNTShl->addItem(QString::number(n));
            }
        }
    }
    gateOutputItems();
}

void WizardOM::gateOutputItems() {
    const QStringList wanted = wizard::OutputFunctions(deviceType, version);
    QComboBox* const boxes[] = {ui->CombobV1, ui->CombobV2, ui->CombobV3};
    const bool wantUser = wanted.contains(kUserFunction);
    for (QComboBox* box : boxes) {
        const bool has = box->findText(kUserFunction, Qt::MatchExactly) >= 0;
        if (wantUser && !has)
            box->insertItem(4, kUserFunction);
        else if (!wantUser && has)
            box->removeItem(box->findText(kUserFunction, Qt::MatchExactly));
    }
    const QString extras[] = {QStringLiteral("6 - индикатор ТМ"),
                              QStringLiteral("7 - ин. очередь занята"),
                              QStringLiteral("8 - ин. очередь свободна")};
    for (int e : {1, 2, 0}) {
        if (wanted.contains(extras[e]))
            continue;
        for (QComboBox* box : boxes) {
            const int at = box->findText(extras[e], Qt::MatchExactly);
            if (at >= 0)
                box->removeItem(at);
        }
    }
    for (const QString& item : extras) {
        if (!wanted.contains(item))
            continue;
        for (QComboBox* box : boxes) {
            if (box->findText(item, Qt::MatchExactly) < 0)
                box->addItem(item);
        }
    }
}

// ------------------------------------------------------------ loop rules

void WizardOM::funcShlChange(int loop, int index) {
    QComboBox* box = child<QComboBox>(QStringLiteral("cBoxShl"), loop);
    QCheckBox* alarm = child<QCheckBox>(QStringLiteral("cbTrShl"), loop);
    alarm->setVisible(index != 0 && !box->isHidden());
    if (index == 3) {
        alarm->setEnabled(false);
        alarm->setChecked(true);
    } else {
        alarm->setEnabled(true);
    }
}

void WizardOM::FuncShlChange1(int index) {
    funcShlChange(1, index);
}
void WizardOM::FuncShlChange2(int index) {
    funcShlChange(2, index);
}
void WizardOM::FuncShlChange3(int index) {
    funcShlChange(3, index);
}
void WizardOM::FuncShlChange4(int index) {
    funcShlChange(4, index);
}
void WizardOM::FuncShlChange5(int index) {
    funcShlChange(5, index);
}
void WizardOM::FuncShlChange6(int index) {
    funcShlChange(6, index);
}
void WizardOM::FuncShlChange7(int index) {
    funcShlChange(7, index);
}
void WizardOM::FuncShlChange8(int index) {
    funcShlChange(8, index);
}

void WizardOM::TehShlChange(int num) {
    for (int i = 1; i <= kLoops; ++i) {
        QComboBox* box = child<QComboBox>(QStringLiteral("cBoxShl"), i);
        box->setEnabled(true);
        if (box->currentIndex() != 3)
            child<QCheckBox>(QStringLiteral("cbTrShl"), i)->setEnabled(true);
        const int at = box->findText(kTechLoopItem, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (at >= 0)
            box->removeItem(at);
    }
    if (num > 0 && num <= kLoops) {
        QComboBox* box = child<QComboBox>(QStringLiteral("cBoxShl"), num);
        box->setEnabled(false);
        box->addItem(kTechLoopItem);
        box->setCurrentIndex(box->count() - 1);
        child<QCheckBox>(QStringLiteral("cbTrShl"), num)->setEnabled(false);
    }
}

// ---------------------------------------------------------- output rules

void WizardOM::exitFuncChange(int output, int index) {
    QComboBox* box = child<QComboBox>(QStringLiteral("CombobV"), output);
    const int function = index < 0 ? -1 : wizard::OutputFunction(box->itemText(index));
    QWidget* loopLabel = child<QWidget>(QStringLiteral("lPCN"), output);
    QWidget* passLabel = child<QWidget>(QStringLiteral("lPass"), output);
    QWidget* passEdit = child<QWidget>(QStringLiteral("lePass"), output);
    if (function == 3) {
        loopLabel->show();
        const int loops = wizard::OutputLoopCount(deviceType, version);
        for (int j = 1; j <= loops; ++j)
            child<QWidget>(QStringLiteral("cbPCN"), output, j)->show();
        passLabel->hide();
        passEdit->hide();
        return;
    }
    loopLabel->hide();
    for (int j = 1; j <= kLoops; ++j)
        child<QWidget>(QStringLiteral("cbPCN"), output, j)->hide();
    passLabel->setVisible(function == 4);
    passEdit->setVisible(function == 4);
}

void WizardOM::ExitFuncChange1(int index) {
    exitFuncChange(1, index);
}
void WizardOM::ExitFuncChange2(int index) {
    exitFuncChange(2, index);
}
void WizardOM::ExitFuncChange3(int index) {
    exitFuncChange(3, index);
}
