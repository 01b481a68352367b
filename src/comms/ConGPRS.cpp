#include "comms/ConGPRS.h"

#include "comms/CommsFields.h"
#include "settings/Firmware.h"
#include "ui_ConGPRS.h"

#include <QSignalBlocker>

#include <initializer_list>

namespace {
// Server protocol codes: the old one has no navigation, only code 1 switches
// SIM cards on reconnection, only code 2 authorises with a password.
constexpr int kProtocolOld = 0;
constexpr int kProtocolOwn = 1;
constexpr int kProtocolNew = 2;

void SetEnabled(std::initializer_list<QWidget*> widgets, bool on) {
    for (QWidget* w : widgets)
        w->setEnabled(on);
}

void SetVisible(std::initializer_list<QWidget*> widgets, bool on) {
    for (QWidget* w : widgets)
        w->setVisible(on);
}

bool ServerTwoAndExtras() {
    return FwLaterThan(ParamsPage::header(), fw::k27_11_2009);
}
} // namespace

ConGPRS::ConGPRS(QWidget* parent) : ParamsPage(parent), ui(new Ui::ConGPRS) {
    ui->setupUi(this);
    connect(ui->cbConGPRS, &QCheckBox::toggled, this, &ConGPRS::ConGPRSSelect);
    ui->cmbProtocol->addItem(QStringLiteral("Ксар (старый)"), kProtocolOld);
    ui->cmbProtocol->addItem(QStringLiteral("Ксар"), kProtocolNew);
    ui->cmbProtocol->addItem(QStringLiteral("Мирвел "), kProtocolOwn);
    connect(ui->cmbProtocol, &QComboBox::currentIndexChanged, this, &ConGPRS::ProtocolChange);
    connect(ui->sbPopunRest, &QSpinBox::valueChanged, this, &ConGPRS::sigPopunRestCountChange);
    connect(ui->cbUseSIM2, &QCheckBox::toggled, this, &ConGPRS::sigUseSim2Change);
    SetIpv4Validator(ui->leIP1);
    SetIpv4Validator(ui->leIP2);
}

ConGPRS::~ConGPRS() {
    delete ui;
}

void ConGPRS::ForgetRemembered() {
    m_savedProtocol.forget();
}

void ConGPRS::CancelClick() {
    ServerSettings& sv = *settings().servers;
    const ConnectionParams& cp = *settings().connection;
    QLineEdit* const ip[kServers] = {ui->leIP1, ui->leIP2};
    QSpinBox* const port[kServers] = {ui->sbPort1, ui->sbPort2};
    QCheckBox* const useDns[kServers] = {ui->cbUseDNS1, ui->cbUseDNS2};
    QLineEdit* const dns[kServers] = {ui->leDNS1, ui->leDNS2};
    QSpinBox* const attempts[kServers] = {ui->sbPop1, ui->sbPop2};
    QCheckBox* const rewrite[kServers] = {ui->cbRewriteIP1, ui->cbRewriteIP2};
    QCheckBox* const fallback[kServers] = {ui->cbConIP1, ui->cbConIP2};
    for (int k = 0; k < kServers; ++k) {
        sv.serverIp[k] = PaddedIpText(sv.serverIp[k]);
        ip[k]->setText(sv.serverIp[k]);
        port[k]->setValue(PortValue(sv.serverPort[k]));
        useDns[k]->setChecked(sv.useDns[k]);
        dns[k]->setText(sv.dnsName[k]);
        dns[k]->setEnabled(sv.useDns[k] && ServerTwoAndExtras());
        attempts[k]->setValue(sv.udPop[k]);
        rewrite[k]->setChecked(sv.perez[k]);
        fallback[k]->setChecked(sv.obnov[k]);
    }
    ui->sbPopunRest->setValue(sv.udPop3);
    ui->cbUseSIM2->setChecked(sv.useGprsMode2);
    // While the window forces GPRS on, the box stays on and the loaded value
    // is what the end of the forcing gives back.
    if (m_gprsForced)
        m_savedConnectGprs = cp.connectByGprs;
    else
        ui->cbConGPRS->setChecked(cp.connectByGprs);
    ui->cbPrivSIM->setChecked(settings().navigation->cb13);
    const int protocol = ui->cmbProtocol->findData(cp.serverProtocol);
    ui->cmbProtocol->setCurrentIndex(protocol >= 0 ? protocol : 0);
    const bool on = ui->cbConGPRS->isChecked();
    ui->groupBox->setEnabled(on);
    ui->groupBox_2->setEnabled(on);
    ui->groupBox_3->setEnabled(on);
    ui->leServConnectPass->setText(sv.serverPassword.left(ui->leServConnectPass->maxLength()));
    VersionChange();
}

void ConGPRS::ApplyClick() {
    ServerSettings& sv = *settings().servers;
    ConnectionParams& cp = *settings().connection;
    const QLineEdit* const ip[kServers] = {ui->leIP1, ui->leIP2};
    const QSpinBox* const port[kServers] = {ui->sbPort1, ui->sbPort2};
    const QCheckBox* const useDns[kServers] = {ui->cbUseDNS1, ui->cbUseDNS2};
    const QLineEdit* const dns[kServers] = {ui->leDNS1, ui->leDNS2};
    const QSpinBox* const attempts[kServers] = {ui->sbPop1, ui->sbPop2};
    const QCheckBox* const rewrite[kServers] = {ui->cbRewriteIP1, ui->cbRewriteIP2};
    const QCheckBox* const fallback[kServers] = {ui->cbConIP1, ui->cbConIP2};
    for (int k = 0; k < kServers; ++k) {
        sv.serverIp[k] = ip[k]->displayText();
        sv.serverPort[k] = PortText(port[k]->value());
        sv.useDns[k] = useDns[k]->isChecked();
        sv.dnsName[k] = dns[k]->text();
        sv.udPop[k] = attempts[k]->value();
        sv.perez[k] = rewrite[k]->isChecked();
        sv.obnov[k] = fallback[k]->isChecked();
    }
    sv.udPop3 = ui->sbPopunRest->value();
    sv.useGprsMode2 = ui->cbUseSIM2->isChecked();
    cp.connectByGprs = ui->cbConGPRS->isChecked();
    // An apply while forced makes the forced state the engineer's.
    if (m_gprsForced)
        m_savedConnectGprs = ui->cbConGPRS->isChecked();
    settings().navigation->cb13 = ui->cbPrivSIM->isChecked();
    if (ui->cmbProtocol->currentIndex() >= 0)
        cp.serverProtocol = ui->cmbProtocol->currentData().toInt();
    sv.serverPassword = ui->leServConnectPass->text();
    m_savedProtocol.forget();
}

void ConGPRS::VersionChange() {
    if (ServerTwoAndExtras()) {
        // With GPRS off the groups stay disabled; the full gates run again
        // when the box is turned on.
        if (!ui->cbConGPRS->isChecked())
            return;
        SetEnabled({ui->groupBox_2, ui->groupBox_3, ui->cbUseDNS1, ui->label_3, ui->sbPop1,
                    ui->cbRewriteIP1, ui->cbConIP1},
                   true);
        if (ui->cbUseDNS1->isChecked())
            ui->leDNS1->setEnabled(true);
        if (ui->cbUseDNS2->isChecked())
            ui->leDNS2->setEnabled(true);
    } else {
        // The oldest firmware knows one server by its address and port only.
        SetEnabled({ui->groupBox_2, ui->groupBox_3, ui->cbUseDNS1, ui->leDNS1, ui->label_3,
                    ui->sbPop1, ui->cbRewriteIP1, ui->cbConIP1},
                   false);
    }
    const bool old = !FwOnOrAfter(header(), fw::k19_04_2012);
    SetVisible({ui->label_3, ui->sbPop1, ui->label_6, ui->sbPop2, ui->cbConIP1, ui->cbConIP2,
                ui->label_7, ui->sbPopunRest, ui->spacerWidget_2},
               old);
    SetVisible({ui->lServConnectPass, ui->leServConnectPass, ui->spacerWidget}, !old);
    FillProtocolList();
}

void ConGPRS::FillProtocolList() {
    i32& stored = settings().connection->serverProtocol;
    {
        const QSignalBlocker quiet(ui->cmbProtocol);
        ui->cmbProtocol->clear();
        if (!FwOnOrAfter(header(), fw::k18_12_2018))
            ui->cmbProtocol->addItem(QStringLiteral("Ксар (старый)"), kProtocolOld);
        ui->cmbProtocol->addItem(QStringLiteral("Ксар"), kProtocolNew);
        ui->cmbProtocol->addItem(QStringLiteral("Мирвел"), kProtocolOwn);
        const int found = ui->cmbProtocol->findData(stored);
        if (found < 0) {
            m_savedProtocol.remember(stored);
            ui->cmbProtocol->setCurrentIndex(0);
        } else {
            if (m_savedProtocol.held())
                stored = m_savedProtocol.take();
            ui->cmbProtocol->setCurrentIndex(found);
        }
    }
    // Whatever item the refilled list shows, the pages that follow the
    // protocol learn of it, also when it is the first item again.
    ProtocolChange(ui->cmbProtocol->currentIndex());
}

void ConGPRS::ConGPRSSelect(bool con) {
    VersionChange();
    ui->groupBox->setEnabled(con);
    const bool more = con && ServerTwoAndExtras();
    ui->groupBox_2->setEnabled(more);
    ui->groupBox_3->setEnabled(more);
    emit SigConGPRSClick(con);
}

void ConGPRS::ProtocolChange(int index) {
    if (index < 0)
        return;
    const int code = ui->cmbProtocol->itemData(index).toInt();
    emit SigUseNavigation(code != kProtocolOld);
    ui->cbPrivSIM->setEnabled(code == kProtocolOwn);
    ui->lServConnectPass->setEnabled(code == kProtocolNew);
    ui->leServConnectPass->setEnabled(code == kProtocolNew);
}

void ConGPRS::setCbUseSIM2Checked(bool checked) {
    const QSignalBlocker quiet(ui->cbUseSIM2);
    ui->cbUseSIM2->setChecked(checked);
}

void ConGPRS::SetGPRSForced(bool forced) {
    if (forced) {
        if (!m_gprsForced)
            m_savedConnectGprs = ui->cbConGPRS->isChecked();
        ui->cbConGPRS->setChecked(true);
    } else if (m_gprsForced) {
        ui->cbConGPRS->setChecked(m_savedConnectGprs);
    }
    m_gprsForced = forced;
    ConGPRSSelect(ui->cbConGPRS->isChecked());
}
