// The summary of what is about to be written, and the writing of the wizard's
// fields into the settings object.

#include "wizard/WizardOM.h"

#include "comms/CommsFields.h"
#include "settings/Firmware.h"
#include "settings/Ipv4Text.h"
#include "ui_WizardOM.h"
#include "wizard/WizardRules.h"

namespace {
const QString kNoAddress = QStringLiteral("000.000.000.000");
constexpr int kMaxRestartAttempts = 9;

// A combo box with no current item leaves its field alone.
void StoreIndex(const QComboBox* box, i32& field) {
    if (box->currentIndex() >= 0)
        field = box->currentIndex();
}

u8 Flag(const QAbstractButton* box) {
    return box->isChecked() ? 1 : 0;
}
} // namespace

// --------------------------------------------------------------- summary

void WizardOM::resolveInto(const QString& text, Resolved& target, const QString& label,
                           QStringList& lines) {
    if (IsLiteralIpv4(text) || text.isEmpty())
        return;
    for (const QHostAddress& a : hostResolver()(text)) {
        if (a.protocol() != QAbstractSocket::IPv4Protocol)
            continue;
        target.address = a;
        target.from = text;
        lines << label + a.toString();
        return;
    }
}

void WizardOM::composeSummary() {
    QStringList lines;
    if (deviceType >= 0 && deviceType < wizard::ModelNames().size())
        lines << QStringLiteral("Прибор \"%1\" версии: ").arg(wizard::ModelNames().at(deviceType)) +
                     version;

    const QString unused = QStringLiteral("Не используется");
    lines << QString();
    lines << QStringLiteral("SIM1: ") +
                 (ui->cbUseSIM1->isChecked() ? ui->CbOperators1->currentText() : unused);
    lines << QStringLiteral("SIM2: ") +
                 (ui->cbUseSIM2->isChecked() ? ui->CbOperators2->currentText() : unused);

    lines << QString() << QStringLiteral("Телефонные номера пользователей:");
    for (int n = 1; n <= kPageNumbers; ++n) {
        lines << QString::number(n) + QStringLiteral(". ") +
                     child<QLineEdit>(QStringLiteral("leNum"), n)->text();
        const bool sms = child<QCheckBox>(QStringLiteral("cbSmsTr"), n)->isChecked() ||
                         child<QCheckBox>(QStringLiteral("cbSmsService"), n)->isChecked() ||
                         child<QCheckBox>(QStringLiteral("cbSmsSmenaSIM"), n)->isChecked() ||
                         child<QComboBox>(QStringLiteral("comboBSmsOC"), n)->currentIndex() != 3;
        lines << (sms ? QStringLiteral("    Отправлять SMS: да")
                      : QStringLiteral("    Отправлять SMS: нет"));
    }

    lines << QString();
    if (ui->cbConGPRS->isChecked()) {
        lines << QStringLiteral("GPRS: используется");
        lines << QStringLiteral("Сервер 1: ") + ui->leAdress1->displayText() +
                     QStringLiteral(": ") + QString::number(ui->sbPort1->value());
        resolveInto(ui->leAdress1->displayText(), server1Address,
                    QStringLiteral("IP-адрес сервера 1: "), lines);
        lines << QStringLiteral("Сервер 2: ") + ui->leAdress2->displayText() +
                     QStringLiteral(": ") + QString::number(ui->sbPort2->value());
        resolveInto(ui->leAdress2->displayText(), server2Address,
                    QStringLiteral("IP-адрес сервера 2: "), lines);
    } else {
        lines << QStringLiteral("GPRS: не используется");
    }
    if (ui->cbUseSNTP->isChecked()) {
        lines << QString() << QStringLiteral("SNTP: используется");
        lines << QStringLiteral("Сервер: ") + ui->leIPserv->displayText() + QStringLiteral(": ") +
                     QString::number(ui->sbIPPort->value());
        resolveInto(ui->leIPserv->displayText(), timeServerAddress,
                    QStringLiteral("IP-адрес сервера: "), lines);
    } else {
        lines << QStringLiteral("SNTP: не используется");
    }

    lines << QString();
    if (deviceType != DEV_VoduzeR) {
        lines << QStringLiteral("Технологический шлейф: ") + ui->cbNTShl->currentText();
        lines << QString() << QStringLiteral("Функции шлейфов:");
        for (int n = 1; n <= kLoops; ++n) {
            const QComboBox* box = child<QComboBox>(QStringLiteral("cBoxShl"), n);
            if (!box->isHidden())
                lines << QStringLiteral("Шлейф ") + QString::number(n) + QStringLiteral(": ") +
                             box->currentText();
        }
    } else {
        lines << (ui->cbUseShl1Teh->isChecked()
                      ? QStringLiteral("Использовать первый шлейф как технологический: да")
                      : QStringLiteral("Использовать первый шлейф как технологический: нет"));
    }

    lines << QString() << QStringLiteral("Функции выходов:");
    for (int k = 1; k <= kWizardOutputs; ++k) {
        const QString text = child<QComboBox>(QStringLiteral("CombobV"), k)->currentText();
        QString line = QString::number(k) + QStringLiteral(". ") + text;
        switch (wizard::OutputFunction(text)) {
        case 3: {
            QStringList loops;
            for (int j = 1; j <= kLoops; ++j) {
                const QCheckBox* box = child<QCheckBox>(QStringLiteral("cbPCN"), k, j);
                if (!box->isHidden() && box->isChecked())
                    loops << QString::number(j);
            }
            line += QStringLiteral(": ") + loops.join(QLatin1Char(','));
            break;
        }
        case 4:
            line += QStringLiteral(", пароль: ") +
                    child<QLineEdit>(QStringLiteral("lePass"), k)->text();
            break;
        default:
            break;
        }
        lines << line;
    }

    if (lastPageId == PageCams)
        summariseCameras(lines);

    lines << QString()
          << QStringLiteral("Если указанная информация верна, нажмите кнопку \"Программировать\" "
                            "или \"Кильврайт\"");
    ui->teSummary->setPlainText(lines.join(QLatin1Char('\n')));
}

// ------------------------------------------------------------ applying

void WizardOM::applyAddress(const QString& text, const Resolved& resolved, QString& ip,
                            QString& dnsName, bool& useDns) const {
    if (IsLiteralIpv4(text)) {
        ip = text;
        useDns = false;
    } else {
        // The address the device keeps for the name it uses stays when no
        // lookup found a newer one (offline, or a server the run never
        // looked up); an address found for another text is not this name's.
        const bool nameKept = useDns && dnsName == text;
        useDns = true;
        dnsName = text;
        if (!resolved.address.isNull() && resolved.from == text)
            ip = resolved.address.toString();
        else if (!nameKept)
            ip = kNoAddress;
    }
    ip = PaddedIpText(ip);
}

void WizardOM::ApplyWizardToSettings() {
    DeviceSettings& s = *g_deviceSettings;
    DeviceHeader& h = *s.header;
    SetFirmwareVersion(h, version);
    h.deviceType = deviceType;
    h.useSim[0] = Flag(ui->cbUseSIM1);
    h.useSim[1] = Flag(ui->cbUseSIM2);
    h.checkBalance[0] = Flag(ui->cbBalance1);
    h.checkBalance[1] = Flag(ui->cbBalance2);
    StoreIndex(ui->CbOperators1, h.simOperator[0]);
    StoreIndex(ui->CbOperators2, h.simOperator[1]);
    s.connection->connectByGprs = ui->cbConGPRS->isChecked() || ui->cbUseSNTP->isChecked();
    s.servers->useGprsMode2 = Flag(ui->cbConnectSIM2);
    s.connection->objectNumber = ObjectNumberText(ui->sbNumObj->value());
    s.consoleSms->cb1 = Flag(ui->cbObjName);
    s.consoleSms->objectName = ui->leObjName->text();
    StoreIndex(ui->comboBPoyas, s.navigation->timeZone);
    s.navigation->updateTimeFromGps = Flag(ui->cbUpdateTimeGPS);
    s.sntp->useSntp = Flag(ui->cbUseSNTP);

    ServerSettings& sv = *s.servers;
    const Resolved* resolved[] = {&server1Address, &server2Address};
    const QLineEdit* addresses[] = {ui->leAdress1, ui->leAdress2};
    for (int i = 0; i < kServers; ++i) {
        bool useDns = sv.useDns[i] != 0;
        applyAddress(addresses[i]->displayText(), *resolved[i], sv.serverIp[i], sv.dnsName[i],
                     useDns);
        sv.useDns[i] = useDns ? 1 : 0;
    }
    sv.serverPort[0] = PortText(ui->sbPort1->value());
    sv.serverPort[1] = PortText(ui->sbPort2->value());
    sv.udPop[0] = ui->sbPop1->value();
    sv.udPop[1] = ui->sbPop2->value();
    // The device keeps this count in four bits and the editor offers 0..9.
    sv.udPop3 = qMin(sv.udPop[0] + sv.udPop[1] + 2, kMaxRestartAttempts);

    SntpSettings& t = *s.sntp;
    bool timeByName = t.cb4 != 0;
    applyAddress(ui->leIPserv->displayText(), timeServerAddress, t.sntpIp, t.sntpDns, timeByName);
    t.cb4 = timeByName ? 1 : 0;
    t.cb3 = timeByName ? 0 : 1;
    t.sntpPort = PortText(ui->sbIPPort->value());

    applyNumbers();
    applyOutputs();
    applyLoops();
    if (deviceType == DEV_VororaZ || deviceType == DEV_VoduzeR)
        applyCameras();
}

void WizardOM::applyNumbers() {
    DeviceSettings& s = *g_deviceSettings;
    for (int n = 1; n <= kPageNumbers; ++n) {
        const int k = n - 1;
        s.phones->number[k] = NumberFromField(child<QLineEdit>(QStringLiteral("leNum"), n));
        StoreIndex(child<QComboBox>(QStringLiteral("comboBPopOC"), n),
                   s.phoneOptions->callAttemptsOpenClose[k]);
        StoreIndex(child<QComboBox>(QStringLiteral("comboBPopTr"), n),
                   s.phoneOptions->callAttemptsAlarm[k]);
        bool thisNumber = false, otherNumbers = false;
        if (wizard::SmsFlags(child<QComboBox>(QStringLiteral("comboBSmsOC"), n)->currentIndex(),
                             thisNumber, otherNumbers)) {
            s.smsFlags->checkbox[k] = thisNumber ? 1 : 0;
            s.smsFlags->cbDrugieZa[k] = otherNumbers ? 1 : 0;
        }
        s.smsFlags->cbts[k] = Flag(child<QCheckBox>(QStringLiteral("cbSmsTr"), n));
        s.extraSms->smsService[k] = Flag(child<QCheckBox>(QStringLiteral("cbSmsService"), n));
        s.extraSms->smsSimChange[k] = Flag(child<QCheckBox>(QStringLiteral("cbSmsSmenaSIM"), n));
    }
}

void WizardOM::applyOutputs() {
    OutputsConfig& o = *g_deviceSettings->outputs;
    QString* passwords[] = {&o.adminPassword[0], &o.adminPassword[1], &o.userPassword[0]};
    const bool shortForm = wizard::ShortPasswords(version);
    for (int m = 1; m <= kWizardOutputs; ++m) {
        const QComboBox* function = child<QComboBox>(QStringLiteral("CombobV"), m);
        if (function->currentIndex() >= 0)
            o.outputType[m - 1] = wizard::OutputFunction(function->currentText());
        *passwords[m - 1] = wizard::StoredPassword(
            child<QLineEdit>(QStringLiteral("lePass"), m)->displayText(), shortForm);
        for (int j = 1; j <= kLoops; ++j)
            o.outputLoop[m - 1][j - 1] = Flag(child<QCheckBox>(QStringLiteral("cbPCN"), m, j));
    }
}

void WizardOM::applyLoops() {
    DeviceSettings& s = *g_deviceSettings;
    LoopFunctions& f = *s.loopFunctions;
    LoopLimits& lim = *s.loopLimits;
    if (deviceType == DEV_VoduzeR) {
        const bool firstIsTech = ui->cbUseShl1Teh->isChecked();
        s.extra->techLoop = firstIsTech ? 1 : 0;
        for (int key = 0; key < kOrdinaryKeys; ++key)
            s.zones->keyLoop[key][0] = firstIsTech ? 0 : 1;
    } else {
        StoreIndex(ui->cbNTShl, s.extra->techLoop);
    }
    auto lightsAndSirens = [&f](int k, u8 openOn, u8 closeOn) {
        f.openLight[k] = openOn;
        f.openSiren[k] = openOn;
        f.closeLight[k] = closeOn;
        f.closeSiren[k] = closeOn;
    };
    auto unused = [&](int k) {
        f.openAnalysis[k] = 0;
        f.closeAnalysis[k] = 0;
        lim.minLevel[k] = 0;
        lim.maxLevel[k] = 1023;
    };
    if (deviceType == DEV_D4M || deviceType == DEV_D8M) {
        for (int n = 1; n <= kLoops; ++n) {
            const int k = n - 1;
            const bool alarm = child<QCheckBox>(QStringLiteral("cbTrShl"), n)->isChecked();
            switch (child<QComboBox>(QStringLiteral("cBoxShl"), n)->currentIndex()) {
            case 0:
                lim.reverse[k] = 0;
                unused(k);
                break;
            case 1:
                lim.reverse[k] = 0;
                f.openAnalysis[k] = 0;
                f.closeAnalysis[k] = 1;
                lightsAndSirens(k, 0, alarm ? 1 : 0);
                break;
            case 2:
                lim.reverse[k] = 0;
                f.openAnalysis[k] = 2;
                f.closeAnalysis[k] = 2;
                lightsAndSirens(k, alarm ? 1 : 0, alarm ? 1 : 0);
                break;
            case 3:
                lim.reverse[k] = 1;
                f.openAnalysis[k] = 2;
                f.closeAnalysis[k] = 2;
                lightsAndSirens(k, 1, 1);
                break;
            default:
                break;
            }
        }
    } else if (deviceType == DEV_VororaZ) {
        for (int n = 1; n <= 6; ++n) {
            const int k = n - 1;
            switch (child<QComboBox>(QStringLiteral("cBoxShl"), n)->currentIndex()) {
            case 0:
                unused(k);
                lightsAndSirens(k, 0, 0);
                break;
            case 1:
                f.openAnalysis[k] = 0;
                f.closeAnalysis[k] = 1;
                lim.minLevel[k] = 0;
                lim.maxLevel[k] = 388;
                lightsAndSirens(k, 0, 1);
                break;
            default:
                break;
            }
        }
    } else if (deviceType == DEV_VoduzeR && s.extra->techLoop != 1) {
        // Loop 1 works as loop 2 when it is no technological loop.
        lim.minLevel[0] = lim.minLevel[1];
        lim.maxLevel[0] = lim.maxLevel[1];
        f.openAnalysis[0] = f.openAnalysis[1];
        f.closeAnalysis[0] = f.closeAnalysis[1];
        f.openLight[0] = f.openLight[1];
        f.openSiren[0] = f.openSiren[1];
        f.closeLight[0] = f.closeLight[1];
        f.closeSiren[0] = f.closeSiren[1];
    }
}
