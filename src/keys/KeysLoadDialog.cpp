#include "keys/KeysLoadDialog.h"

#include "ui_KeysLoadDialog.h"

#include <QPixmap>

namespace {
template <class T> T* Child(const QObject* owner, const char* name, int n) {
    return owner->findChild<T*>(QString::fromLatin1(name) + QString::number(n));
}

void ShowFlag(QLabel* picture, QLabel* text, bool set) {
    picture->setPixmap(QPixmap(set ? QStringLiteral(":/icons/openport.png")
                                   : QStringLiteral(":/icons/closeport.png")));
    text->setText(set ? QStringLiteral("Да") : QStringLiteral("Нет"));
}
} // namespace

KeysLoadDialog::KeysLoadDialog(QWidget* parent) : QDialog(parent), ui(new Ui::KeysLoadDialog) {
    ui->setupUi(this);
    for (int r = 0; r < kKeySlots; ++r) {
        const int n = r + 1;
        Row& row = rows[r];
        row.value = Child<QLineEdit>(this, "leKeyId_", n);
        row.presentFlag = Child<QLabel>(this, "lNalFlag_", n);
        row.presentText = Child<QLabel>(this, "lNalText_", n);
        row.write = Child<QCheckBox>(this, "cbWrite_", n);
        if (r < kOrdinaryKeys) {
            row.gbrFlag = Child<QLabel>(this, "lGBRFlag_", n);
            row.gbrText = Child<QLabel>(this, "lGBRText_", n);
        }
    }
    connect(ui->pbWrite, &QPushButton::clicked, this, &KeysLoadDialog::SigWriteTable);
}

KeysLoadDialog::~KeysLoadDialog() {
    delete ui;
}

void KeysLoadDialog::RefreshTable() {
    for (int r = 0; r < kKeySlots; ++r) {
        Row& row = rows[r];
        row.value->setText(keyText[r]);
        ShowFlag(row.presentFlag, row.presentText, present[r]);
        if (present[r])
            row.write->setChecked(true);
        if (r < kOrdinaryKeys)
            ShowFlag(row.gbrFlag, row.gbrText, gbr[r]);
    }
}

void KeysLoadDialog::SetWriteStatus(bool show, bool ok) {
    ui->lWrStatus->setVisible(show);
    ui->lWrStatus->setEnabled(ok);
}
