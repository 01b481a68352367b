#pragma once

#include "pagebase/ParamsPage.h"

class QComboBox;

namespace Ui {
class OtprSMS;
}

// The SMS sending page: for each main number, the SMS sent on arming and
// disarming (by key, by phone) and on alarm, and whether the texts carry the
// object's name and number. Edits the numbers only as text, for the window to
// show on the other number pages.
class OtprSMS : public ParamsPage {
    Q_OBJECT

public:
    explicit OtprSMS(QWidget* parent = nullptr);
    ~OtprSMS() override;

    // The phone columns offer four choices (this number, other numbers, all,
    // none) on these releases, else yes/no for this number only.
    static bool FourItemPhoneLists(const DeviceHeader& h);
    // The four-item choice of a pair of flags (this number, other numbers).
    static int PhoneChoice(int thisPhone, int otherPhones);

signals:
    void SigNumsChanged(QString, QString, QString, QString, QString);

public slots:
    void ApplyClick() override;
    void CancelClick() override;
    void NumChange();
    void VersionChange();

private:
    QComboBox* combo(const char* stem, int k) const;
    // Whether the combo holds the list of the rule in force.
    static bool ListFits(const QComboBox* box, bool four);
    // One phone column combo loaded from / stored to its pair of flags.
    void LoadPhone(QComboBox* box, u8 thisPhone, u8 otherPhones, bool four);
    void StorePhone(const QComboBox* box, u8& thisPhone, u8& otherPhones, bool four);

    Ui::OtprSMS* ui;
};
