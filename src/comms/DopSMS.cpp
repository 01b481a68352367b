#include "comms/DopSMS.h"

#include "comms/CommsFields.h"
#include "settings/Firmware.h"
#include "ui_DopSMS.h"

#include <QComboBox>
#include <QLineEdit>

namespace {
// The combo columns, each followed by the number 1..5.
constexpr const char* kStems[] = {"cbServ", "cbSIM", "cbRazm1", "cbRazm2"};
} // namespace

DopSMS::DopSMS(QWidget* parent) : ParamsPage(parent), ui(new Ui::DopSMS) {
    ui->setupUi(this);
    for (int k = 1; k <= kMainNumbers; ++k)
        for (const char* stem : kStems)
            FillYesNo(combo(stem, k));
}

DopSMS::~DopSMS() {
    delete ui;
}

QComboBox* DopSMS::combo(const char* stem, int k) const {
    return numbered<QComboBox>(QLatin1String(stem) + QStringLiteral("%1"), k);
}

void DopSMS::CancelClick() {
    const ExtraSmsFlags& x = *settings().extraSms;
    for (int k = 1; k <= kMainNumbers; ++k) {
        const int i = k - 1;
        ShowNumber(numbered<QLineEdit>(QStringLiteral("leNum%1"), k), settings().phones->number[i]);
        LoadYesNo(combo("cbServ", k), x.smsService[i]);
        LoadYesNo(combo("cbSIM", k), x.smsSimChange[i]);
        LoadYesNo(combo("cbRazm1", k), x.smsUserOut1[i]);
        LoadYesNo(combo("cbRazm2", k), x.smsUserOut2[i]);
    }
    ui->cboxpersleep->setChecked(settings().smsFlags->checkbox13 != 0);
    ui->cboxposlsleep->setChecked(settings().smsFlags->checkbox14 != 0);
}

void DopSMS::ApplyClick() {
    if (!autonomous())
        return;
    ExtraSmsFlags& x = *settings().extraSms;
    for (int k = 1; k <= kMainNumbers; ++k) {
        const int i = k - 1;
        StoreYesNo(combo("cbServ", k), x.smsService[i]);
        StoreYesNo(combo("cbSIM", k), x.smsSimChange[i]);
        StoreYesNo(combo("cbRazm1", k), x.smsUserOut1[i]);
        StoreYesNo(combo("cbRazm2", k), x.smsUserOut2[i]);
    }
    settings().smsFlags->checkbox13 = ui->cboxpersleep->isChecked();
    settings().smsFlags->checkbox14 = ui->cboxposlsleep->isChecked();
}

void DopSMS::VersionChange() {
    const DeviceHeader& h = header();
    const bool events = FwEquals(h, fw::k19_12_2009) || FwOnOrAfter(h, fw::k05_06_2010);
    for (QWidget* w : std::initializer_list<QWidget*>{ui->groupBox, ui->groupBox_5, ui->groupBox_6,
                                                      ui->groupBox_7})
        w->setVisible(events);
    ui->groupBox_3->setVisible(FwOnOrAfter(h, fw::k16_08_2010));
}
