#include "comms/sntp.h"

#include "comms/CommsFields.h"
#include "settings/Firmware.h"
#include "ui_sntp.h"

#include <QSignalBlocker>

sntp::sntp(QWidget* parent) : ParamsPage(parent), ui(new Ui::sntp) {
    ui->setupUi(this);
    ui->combVer->addItems({QStringLiteral("V.2"), QStringLiteral("V.3"), QStringLiteral("V.4")});
    SetUpTimeZones(ui->comboBPoyas, this, &sntp::SigHourPoyasChange);
    connect(ui->sbPopunRest, &QSpinBox::valueChanged, this, &sntp::sigPopunRestCountChange);
    connect(ui->cbUseSIM2, &QCheckBox::toggled, this, &sntp::sigUseSim2Change);
    SetIpv4Validator(ui->leIPserv);
    // The GPRS page starts with GPRS off, and tells this page only of changes.
    UseGPRSClick(false);
}

sntp::~sntp() {
    delete ui;
}

void sntp::ForgetRemembered() {
    m_savedUseIp.forget();
}

void sntp::CancelClick() {
    SntpSettings& sn = *settings().sntp;
    ui->cbUseSNTP->setChecked(sn.useSntp);
    UpdateServerGroup();
    LoadComboIndex(ui->combVer, sn.sntpVersion);
    // The buttons exclude each other: with both flags set the name wins, and
    // with neither the address, as on a fresh page; never the choice of the
    // settings shown before.
    (sn.cb4 ? ui->rbUseDNS : ui->rbUseIP)->setChecked(true);
    sn.sntpIp = PaddedIpText(sn.sntpIp);
    ui->leIPserv->setText(sn.sntpIp);
    ui->sbIPPort->setValue(PortValue(sn.sntpPort));
    ui->leDNS->setText(sn.sntpDns);
    LoadComboIndex(ui->comboBPoyas, settings().navigation->timeZone);
}

void sntp::ApplyClick() {
    SntpSettings& sn = *settings().sntp;
    sn.useSntp = ui->cbUseSNTP->isChecked();
    StoreComboIndex(ui->combVer, sn.sntpVersion);
    const bool forced = FwOnOrAfter(header(), fw::k18_12_2018);
    sn.cb3 = ui->rbUseIP->isChecked() || forced;
    sn.cb4 = ui->rbUseDNS->isChecked() || forced;
    sn.sntpIp = ui->leIPserv->displayText();
    sn.sntpDns = ui->leDNS->text();
    sn.sntpPort = PortText(ui->sbIPPort->value());
    StoreComboIndex(ui->comboBPoyas, settings().navigation->timeZone);
}

void sntp::UseGPRSClick(bool use) {
    m_gprsOn = use;
    ui->cbUseSNTP->setEnabled(use);
    UpdateServerGroup();
    ui->sbPopunRest->setEnabled(use);
    ui->cbUseSIM2->setEnabled(use);
}

void sntp::UpdateServerGroup() {
    ui->gbSntpSettings->setEnabled(m_gprsOn && ui->cbUseSNTP->isChecked());
}

void sntp::VersionChange() {
    const bool old = !FwOnOrAfter(header(), fw::k19_04_2012);
    ui->label_7->setVisible(old);
    ui->sbPopunRest->setVisible(old);
    ui->spacerWidget_2->setVisible(old);
    SetIPAndDNSForced(FwOnOrAfter(header(), fw::k18_12_2018));
}

void sntp::SetIPAndDNSForced(bool forced) {
    SntpSettings& sn = *settings().sntp;
    if (forced) {
        QObject::disconnect(m_ipEnablesIp);
        QObject::disconnect(m_ipDisablesDns);
        m_ipEnablesIp = {};
        m_ipDisablesDns = {};
        m_savedUseIp.remember(sn.cb3);
    } else {
        if (!m_ipEnablesIp)
            m_ipEnablesIp =
                connect(ui->rbUseIP, &QRadioButton::toggled, ui->leIPserv, &QWidget::setEnabled);
        if (!m_ipDisablesDns)
            m_ipDisablesDns =
                connect(ui->rbUseIP, &QRadioButton::toggled, ui->leDNS, &QWidget::setDisabled);
        if (m_savedUseIp.held()) {
            sn.cb3 = m_savedUseIp.take();
            // An exclusive button cannot be switched off; the other one is
            // switched on instead.
            if (sn.cb3)
                ui->rbUseIP->setChecked(true);
            else
                ui->rbUseDNS->setChecked(true);
        }
    }
    ui->leIPserv->setEnabled(ui->rbUseIP->isChecked() || forced);
    ui->leDNS->setEnabled(ui->rbUseDNS->isChecked() || forced);
    ui->rbUseIP->setVisible(!forced);
    ui->rbUseDNS->setVisible(!forced);
}

void sntp::setCbUseSIM2Checked(bool checked) {
    const QSignalBlocker quiet(ui->cbUseSIM2);
    ui->cbUseSIM2->setChecked(checked);
}
