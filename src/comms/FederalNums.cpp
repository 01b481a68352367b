#include "comms/FederalNums.h"

#include "comms/CommsFields.h"
#include "ui_FederalNums.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSpinBox>

namespace {
constexpr int kFirstUsed = 5;    // stations 5..15 have a use flag
constexpr int kFirstTest = 9;    // stations 9..15 carry test calls
constexpr int kMainStations = 4; // stations 1..4 have call attempts
} // namespace

FederalNums::FederalNums(QWidget* parent) : ParamsPage(parent), ui(new Ui::FederalNums) {
    ui->setupUi(this);
    using Signal = void (FederalNums::*)(bool);
    const Signal signals_[] = {&FederalNums::SigUsePPM9,  &FederalNums::SigUsePPM10,
                               &FederalNums::SigUsePPM11, &FederalNums::SigUsePPM12,
                               &FederalNums::SigUsePPM13, &FederalNums::SigUsePPM14,
                               &FederalNums::SigUsePPM15};
    // Only a user's click reports a station; a reload sets the boxes quietly.
    for (int n = kFirstTest; n <= kAllNumbers; ++n)
        connect(numbered<QCheckBox>(QStringLiteral("cbUse%1"), n), &QCheckBox::clicked, this,
                signals_[n - kFirstTest]);
}

FederalNums::~FederalNums() {
    delete ui;
}

void FederalNums::ApplyClick() {
    if (autonomous())
        return;
    PhoneNumbers& phones = *settings().phones;
    for (int k = 1; k <= kAllNumbers; ++k)
        phones.number[k - 1] = NumberFromField(numbered<QLineEdit>(QStringLiteral("leNum%1"), k));
    for (int k = 1; k <= kMainStations; ++k)
        settings().phoneOptions->callAttemptsOpenClose[k - 1] =
            numbered<QSpinBox>(QStringLiteral("sbPop%1"), k)->value();
    for (int n = kFirstUsed; n <= kAllNumbers; ++n)
        phones.useFlag[n - kFirstUsed] =
            numbered<QCheckBox>(QStringLiteral("cbUse%1"), n)->isChecked();
}

void FederalNums::CancelClick() {
    const PhoneNumbers& phones = *settings().phones;
    for (int k = 1; k <= kAllNumbers; ++k)
        ShowNumber(numbered<QLineEdit>(QStringLiteral("leNum%1"), k), phones.number[k - 1]);
    for (int k = 1; k <= kMainStations; ++k)
        numbered<QSpinBox>(QStringLiteral("sbPop%1"), k)
            ->setValue(settings().phoneOptions->callAttemptsOpenClose[k - 1]);
    for (int n = kFirstUsed; n <= kAllNumbers; ++n)
        numbered<QCheckBox>(QStringLiteral("cbUse%1"), n)
            ->setChecked(phones.useFlag[n - kFirstUsed] != 0);
}
