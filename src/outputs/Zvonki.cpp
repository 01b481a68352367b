#include "outputs/Zvonki.h"

#include "ui_Zvonki.h"

#include <QLineEdit>

Zvonki::Zvonki(QWidget* parent) : ParamsPage(parent), ui(new Ui::Zvonki) {
    ui->setupUi(this);
}

Zvonki::~Zvonki() {
    delete ui;
}

void Zvonki::ApplyClick() {}

void Zvonki::CancelClick() {
    const PhoneNumbers& numbers = *settings().phones;
    for (int k = 1; k <= 5; ++k) {
        if (auto* edit = numbered<QLineEdit>(QStringLiteral("leNum_%1"), k))
            edit->setText(numbers.number[size_t(k - 1)]);
    }
}

void Zvonki::TPribSlot(int) {}
