#include "outputs/Zvonki.h"

#include "ui_Zvonki.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

Zvonki::Zvonki(QWidget* parent) : ParamsPage(parent), ui(new Ui::Zvonki) {
    ui->setupUi(this);
    for (int l = 0; l < kLoops; ++l) {
        lAl[size_t(l)] = numbered<QLabel>(QStringLiteral("lAl_%1"), l + 1);
        for (int n = 0; n < kMainNumbers; ++n) {
            cbOpCl[size_t(n)][size_t(l)] =
                findChild<QCheckBox*>(QStringLiteral("cbOpCl_%1_%2").arg(n + 1).arg(l + 1));
            cbAlarm[size_t(n)][size_t(l)] =
                findChild<QCheckBox*>(QStringLiteral("cbAlarm_%1_%2").arg(n + 1).arg(l + 1));
        }
    }
    for (int n = 0; n < kMainNumbers; ++n) {
        tbCheckAll[size_t(n)] = numbered<QToolButton>(QStringLiteral("tbCheckAll_%1"), n + 1);
        tbUncheckAll[size_t(n)] = numbered<QToolButton>(QStringLiteral("tbUncheckAll_%1"), n + 1);
        connect(tbCheckAll[size_t(n)], &QToolButton::clicked, this,
                &Zvonki::checkUncheckAllClicked);
        connect(tbUncheckAll[size_t(n)], &QToolButton::clicked, this,
                &Zvonki::checkUncheckAllClicked);
    }
}

Zvonki::~Zvonki() {
    delete ui;
}

void Zvonki::ApplyClick() {
    CallMatrix& calls = *settings().callMatrix;
    for (size_t n = 0; n < kMainNumbers; ++n) {
        for (size_t l = 0; l < kLoops; ++l) {
            calls.openClose[n][l] = cbOpCl[n][l]->isChecked() ? 1 : 0;
            calls.alarm[n][l] = cbAlarm[n][l]->isChecked() ? 1 : 0;
        }
    }
}

void Zvonki::CancelClick() {
    const PhoneNumbers& numbers = *settings().phones;
    const CallMatrix& calls = *settings().callMatrix;
    for (int n = 0; n < kMainNumbers; ++n) {
        numbered<QLineEdit>(QStringLiteral("leNum_%1"), n + 1)->setText(numbers.number[size_t(n)]);
        for (size_t l = 0; l < kLoops; ++l) {
            cbOpCl[size_t(n)][l]->setChecked(calls.openClose[size_t(n)][l] != 0);
            cbAlarm[size_t(n)][l]->setChecked(calls.alarm[size_t(n)][l] != 0);
        }
    }
}

void Zvonki::TPribSlot(int type) {
    const int loops = LoopCountOf(type);
    for (int l = 4; l < kLoops; ++l) {
        const bool shown = l < loops;
        lAl[size_t(l)]->setVisible(shown);
        for (size_t n = 0; n < kMainNumbers; ++n) {
            cbOpCl[n][size_t(l)]->setVisible(shown);
            cbAlarm[n][size_t(l)]->setVisible(shown);
        }
    }
}

void Zvonki::checkUncheckAllClicked() {
    const auto* button = qobject_cast<QToolButton*>(sender());
    if (!button)
        return;
    for (size_t n = 0; n < kMainNumbers; ++n) {
        if (button != tbCheckAll[n] && button != tbUncheckAll[n])
            continue;
        const bool on = button == tbCheckAll[n];
        for (size_t l = 0; l < kLoops; ++l) {
            cbOpCl[n][l]->setChecked(on);
            cbAlarm[n][l]->setChecked(on);
        }
        return;
    }
}

void Zvonki::setPhoneNumber(const QString& objectName, const QString& number) {
    if (auto* edit = named<QLineEdit>(objectName))
        edit->setText(number);
}
