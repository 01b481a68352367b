#include "comms/OtprSMS.h"

#include "comms/CommsFields.h"
#include "settings/Firmware.h"
#include "ui_OtprSMS.h"

#include <QComboBox>
#include <QLineEdit>

namespace {
// Four-item phone choices and the flags (this number, other numbers) each sets.
struct PhoneItem {
    const char* text;
    u8 thisPhone;
    u8 otherPhones;
};
constexpr PhoneItem kPhoneItems[] = {
    {"С этого номера", 1, 0},
    {"С др. номеров", 0, 1},
    {"Со всех номеров", 1, 1},
    {"Нет", 0, 0},
};
constexpr int kNoneItem = 3;
// Side margins of the key columns while the phone columns are hidden, so
// that the lone column stays centred in its group.
constexpr int kLoneColumnMargin = 24;
} // namespace

OtprSMS::OtprSMS(QWidget* parent) : ParamsPage(parent), ui(new Ui::OtprSMS) {
    ui->setupUi(this);
    for (int k = 1; k <= kMainNumbers; ++k) {
        FillYesNo(combo("cbTr", k));
        FillYesNo(combo("CbPK", k));
        FillYesNo(combo("CbSK", k));
        connect(numbered<QLineEdit>(QStringLiteral("leNum%1"), k), &QLineEdit::editingFinished,
                this, &OtprSMS::NumChange);
    }
    ui->leObjName->setValidator(LatinNameValidator(ui->leObjName));
}

OtprSMS::~OtprSMS() {
    delete ui;
}

QComboBox* OtprSMS::combo(const char* stem, int k) const {
    return numbered<QComboBox>(QLatin1String(stem) + QStringLiteral("%1"), k);
}

bool OtprSMS::FourItemPhoneLists(const DeviceHeader& h) {
    return FwEquals(h, fw::k19_12_2009) || FwOnOrAfter(h, fw::k05_06_2010);
}

int OtprSMS::PhoneChoice(int thisPhone, int otherPhones) {
    for (int i = 0; i < int(std::size(kPhoneItems)); ++i) {
        if (kPhoneItems[i].thisPhone == (thisPhone != 0) &&
            kPhoneItems[i].otherPhones == (otherPhones != 0))
            return i;
    }
    return kNoneItem;
}

bool OtprSMS::ListFits(const QComboBox* box, bool four) {
    return box->count() == (four ? int(std::size(kPhoneItems)) : 2);
}

void OtprSMS::LoadPhone(QComboBox* box, u8 thisPhone, u8 otherPhones, bool four) {
    if (!ListFits(box, four))
        return;
    if (four)
        LoadComboIndex(box, PhoneChoice(thisPhone, otherPhones));
    else
        LoadYesNo(box, thisPhone);
}

void OtprSMS::StorePhone(const QComboBox* box, u8& thisPhone, u8& otherPhones, bool four) {
    // A list built for other firmware (or not built yet) stores nothing.
    if (!ListFits(box, four))
        return;
    if (!four) {
        // Two items carry this number only: the other-numbers flag stays.
        StoreYesNo(box, thisPhone);
        return;
    }
    const int i = box->currentIndex();
    if (i < 0)
        return;
    thisPhone = kPhoneItems[i].thisPhone;
    otherPhones = kPhoneItems[i].otherPhones;
}

void OtprSMS::ApplyClick() {
    if (!autonomous())
        return;
    SmsNumberFlags& f = *settings().smsFlags;
    const bool four = FourItemPhoneLists(header());
    for (int k = 1; k <= kMainNumbers; ++k) {
        const int i = k - 1;
        StoreYesNo(combo("CbSK", k), f.cboz[i]);
        StoreYesNo(combo("CbPK", k), f.cbza[i]);
        StoreYesNo(combo("cbTr", k), f.cbts[i]);
        StorePhone(combo("CbST", k), f.cb_p_vx_sn[i], f.cbDrugieOt[i], four);
        StorePhone(combo("CbPT", k), f.checkbox[i], f.cbDrugieZa[i], four);
    }
    ConsoleSmsSettings& console = *settings().consoleSms;
    console.cb1 = ui->cbObjName->isChecked();
    console.objectName = ui->leObjName->text();
    f.objectIdInSms = ui->cboxpnumobj->isChecked();
}

void OtprSMS::CancelClick() {
    const SmsNumberFlags& f = *settings().smsFlags;
    const bool four = FourItemPhoneLists(header());
    for (int k = 1; k <= kMainNumbers; ++k) {
        const int i = k - 1;
        ShowNumber(numbered<QLineEdit>(QStringLiteral("leNum%1"), k), settings().phones->number[i]);
        LoadYesNo(combo("CbSK", k), f.cboz[i]);
        LoadYesNo(combo("CbPK", k), f.cbza[i]);
        LoadYesNo(combo("cbTr", k), f.cbts[i]);
        LoadPhone(combo("CbST", k), f.cb_p_vx_sn[i], f.cbDrugieOt[i], four);
        LoadPhone(combo("CbPT", k), f.checkbox[i], f.cbDrugieZa[i], four);
    }
    const ConsoleSmsSettings& console = *settings().consoleSms;
    ui->cbObjName->setChecked(console.cb1 != 0);
    ui->leObjName->setText(console.objectName);
    ui->cboxpnumobj->setChecked(f.objectIdInSms != 0);
}

void OtprSMS::NumChange() {
    emit SigNumsChanged(ui->leNum1->text(), ui->leNum2->text(), ui->leNum3->text(),
                        ui->leNum4->text(), ui->leNum5->text());
}

void OtprSMS::VersionChange() {
    const DeviceHeader& h = header();

    const bool phones = FwLaterThan(h, fw::k21_09_2009);
    for (int k = 1; k <= kMainNumbers; ++k) {
        combo("CbPT", k)->setVisible(phones);
        combo("CbST", k)->setVisible(phones);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{ui->lArmByPhone, ui->lDisarmByPhone,
                                                      ui->line_Arm, ui->line_Disarm})
        w->setVisible(phones);
    const int side = phones ? 0 : kLoneColumnMargin;
    for (QLayout* l : std::initializer_list<QLayout*>{ui->vl_ArmKey, ui->vl_DisarmKey})
        l->setContentsMargins(side, 0, side, 0);

    const bool joined = FwEquals(h, fw::k27_11_2009);
    ui->gbDisarm->setVisible(!joined);
    ui->gbArm->setTitle(joined ? QStringLiteral("При постановке/снятии с охраны")
                               : QStringLiteral("При постановке на охрану"));

    ui->cboxpnumobj->setVisible(FwOnOrAfter(h, fw::k28_01_2010));

    const bool four = FourItemPhoneLists(h);
    for (int k = 1; k <= kMainNumbers; ++k) {
        for (const char* stem : {"CbPT", "CbST"}) {
            QComboBox* box = combo(stem, k);
            box->clear();
            if (four) {
                for (const PhoneItem& item : kPhoneItems)
                    box->addItem(QString::fromUtf8(item.text));
                box->setCurrentIndex(kNoneItem);
            } else {
                FillYesNo(box);
            }
        }
    }
    ui->gbAlarm->setTitle(four ? QStringLiteral("Тревога") : QStringLiteral("Тревога/сервисные"));

    CancelClick();
}
