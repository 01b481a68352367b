#include "comms/Navigation.h"

#include "comms/CommsFields.h"
#include "settings/Firmware.h"
#include "ui_Navigation.h"

#include <QCheckBox>

namespace {
constexpr double kFilterStepKm = 0.333;
constexpr int kFilterMaxSteps = 9999;
constexpr int kRelays = 4;

// Only the second family takes its time from GPS.
bool HasGpsTime(int type) {
    return type == DEV_VororaZ || type == DEV_VoduzeR;
}
} // namespace

Navigation::Navigation(QWidget* parent) : ParamsPage(parent), ui(new Ui::Navigation) {
    ui->setupUi(this);
    SetUpTimeZones(ui->comboBPoyas, this, &Navigation::SigHourPoyasChange);
    ui->lHint->hide();
    // The device has three user relays; the fourth column stays for the form.
    ui->lr4->hide();
    ui->cbRele4->hide();
}

Navigation::~Navigation() {
    delete ui;
}

void Navigation::ForgetRemembered() {
    m_savedGpsTime.forget();
}

QString Navigation::FilterText(double km) {
    const int steps = qBound(0, qRound(km / kFilterStepKm), kFilterMaxSteps);
    return QString::number(steps).rightJustified(4, QLatin1Char('0'));
}

double Navigation::FilterKm(const QString& text) {
    bool ok = false;
    const double steps = text.toDouble(&ok);
    return ok ? steps * kFilterStepKm : 0.0;
}

void Navigation::CancelClick() {
    const NavigationSettings& nv = *settings().navigation;
    if (nv.gpsReceiver)
        ui->rbGPSYes->setChecked(true);
    else
        ui->rbGPSNo->setChecked(true);
    ui->dbFilter->setValue(FilterKm(nv.distanceFilter));
    ui->cbUpdateTimeGPS->setChecked(nv.updateTimeFromGps);
    for (int n = 1; n <= kLoops; ++n) {
        if (auto* box = numbered<QCheckBox>(QStringLiteral("cbSh%1"), n))
            box->setChecked(nv.loopFrequent[n - 1]);
    }
    for (int n = 1; n <= kRelays; ++n) {
        if (auto* box = numbered<QCheckBox>(QStringLiteral("cbRele%1"), n))
            box->setChecked(nv.relayFrequent[n - 1]);
    }
    LoadComboIndex(ui->comboBPoyas, nv.timeZone);
}

void Navigation::ApplyClick() {
    NavigationSettings& nv = *settings().navigation;
    nv.gpsReceiver = ui->rbGPSYes->isChecked();
    nv.distanceFilter = FilterText(ui->dbFilter->value());
    nv.updateTimeFromGps = HasGpsTime(header().deviceType) && ui->cbUpdateTimeGPS->isChecked();
    // Hidden rows are stored like visible ones.
    for (int n = 1; n <= kLoops; ++n) {
        if (auto* box = numbered<QCheckBox>(QStringLiteral("cbSh%1"), n))
            nv.loopFrequent[n - 1] = box->isChecked();
    }
    for (int n = 1; n <= kRelays; ++n) {
        if (auto* box = numbered<QCheckBox>(QStringLiteral("cbRele%1"), n))
            nv.relayFrequent[n - 1] = box->isChecked();
    }
    StoreComboIndex(ui->comboBPoyas, nv.timeZone);
    m_savedGpsTime.forget();
}

void Navigation::VersionChange() {
    ui->gbDopOpt->setVisible(FwOnOrAfter(header(), fw::k16_08_2010));
}

void Navigation::SetNavigationEnabled(bool on) {
    ui->gbChastPos->setEnabled(on);
    ui->gbDopOpt->setEnabled(on);
    ui->gbFilter->setEnabled(on);
    ui->gbGPS->setEnabled(on);
    ui->lHint->setVisible(!on);
}

void Navigation::TDevChange(int type) {
    ShowLoopRows({QStringLiteral("lsh"), QStringLiteral("cbSh")}, type);
    ui->lr3->setVisible(type != DEV_D4M);
    ui->cbRele3->setVisible(type != DEV_D4M);
    u8& gpsTime = settings().navigation->updateTimeFromGps;
    if (!HasGpsTime(type)) {
        if (!m_savedGpsTime.held()) {
            m_savedGpsTime.remember(gpsTime);
            gpsTime = 0;
            ui->cbUpdateTimeGPS->setChecked(false);
        }
    } else if (m_savedGpsTime.held()) {
        gpsTime = m_savedGpsTime.take();
        ui->cbUpdateTimeGPS->setChecked(gpsTime);
    }
}
