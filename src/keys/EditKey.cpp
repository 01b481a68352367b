#include "keys/EditKey.h"

#include "keys/KeyTableRules.h"
#include "ui_EditKey.h"

namespace {
const QString kKeyMask = QStringLiteral(">HH-HH-HH-HH-HH-HH;F");
const QString kLongPasswordMask = QStringLiteral(">HHHH;F");
const QString kShortPasswordMask = QStringLiteral(">HH;F");
const QString kKeyCaption = QStringLiteral("ID ключа");
const QString kPasswordCaption = QStringLiteral("Пароль");
} // namespace

EditKey::EditKey(QWidget* parent) : QDialog(parent), ui(new Ui::EditKey) {
    ui->setupUi(this);
    connect(ui->pbWrite, &QPushButton::clicked, this, &EditKey::SigWriteKeyClick);
    connect(ui->pbCancel, &QPushButton::clicked, this, &EditKey::SigRejectEditClick);
    connect(ui->rbKey, &QRadioButton::toggled, this, &EditKey::ToggleKeyPass);
    keyMode = true;
    ui->lWrStatus->hide();
}

EditKey::~EditKey() {
    delete ui;
}

void EditKey::ExecWin(QModelIndex index, bool key) {
    ui->lWrStatus->hide();
    ui->lKeyPass->setText(kKeyCaption);
    ui->leIDKey->setInputMask(kKeyMask);
    (key ? ui->rbKey : ui->rbPass)->setChecked(true);
    savedKeyText = QString::fromLatin1(keys::kErasedKey);
    const int row = index.row();
    if (row >= kOrdinaryKeys) {
        setWindowTitle(
            QStringLiteral("Редактирование мастер-ключа %1").arg(row - kOrdinaryKeys + 1));
        ui->cbGBR->hide();
        ui->rbKey->hide();
        ui->rbPass->hide();
    } else {
        ui->rbKey->show();
        ui->rbPass->show();
        setWindowTitle(QStringLiteral("Редактирование ключа/пароля %1").arg(row + 1));
        if (!key) {
            ui->cbGBR->hide();
            ui->lKeyPass->setText(kPasswordCaption);
            ui->leIDKey->setInputMask(keys::SecondFamily(keys::CurrentDeviceType())
                                          ? kShortPasswordMask
                                          : kLongPasswordMask);
        } else {
            ui->cbGBR->show();
            ui->cbGBR->setChecked(index.siblingAtColumn(3).data().toString() ==
                                  QStringLiteral("Да"));
        }
    }
    ui->leIDKey->setText(index.siblingAtColumn(1).data().toString());
    if (keys::AutonomousMode())
        ui->cbGBR->hide();
    exec();
}

void EditKey::ToggleKeyPass(bool key) {
    const int type = keys::CurrentDeviceType();
    const bool shortPassword = keys::SecondFamily(type);
    const QString shown = ui->leIDKey->displayText();
    if (key) {
        const QString rebuilt = shortPassword ? savedKeyText.left(15) + shown.left(2)
                                              : savedKeyText.left(12) + shown.left(2) +
                                                    QLatin1Char('-') + shown.mid(2, 2);
        ui->lKeyPass->setText(kKeyCaption);
        ui->leIDKey->setInputMask(kKeyMask);
        ui->leIDKey->setText(rebuilt);
        ui->cbGBR->setVisible(!keys::AutonomousMode());
        ui->cbGBR->setChecked(false);
    } else {
        savedKeyText = shown;
        ui->cbGBR->hide();
        ui->lKeyPass->setText(kPasswordCaption);
        ui->leIDKey->setInputMask(shortPassword ? kShortPasswordMask : kLongPasswordMask);
        ui->leIDKey->setText(keys::PasswordDigits(shown.toLatin1(), type));
    }
    keyMode = key;
}

void EditKey::SetWriteStatus(bool show, bool ok) {
    ui->lWrStatus->setVisible(show);
    ui->lWrStatus->setEnabled(ok);
}
