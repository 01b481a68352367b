#include "keys/KeysOptions.h"

#include "link/Protocol.h"
#include "settings/DeviceSettings.h"
#include "settings/LayoutCRFF.h"
#include "ui_KeysOptions.h"

#include <QTimer>

namespace {
constexpr int kStatusKeysOn = 124;
constexpr int kStatusKeysOff = 125;
constexpr int kKeyBytes = 6;
} // namespace

KeysOptions::KeysOptions(QWidget* parent)
    : TestModeDialog(kStatusKeysOn, kStatusKeysOff, parent), ui(new Ui::KeysOptions),
      requestTimer(new QTimer(this)) {
    ui->setupUi(this);
    requestTimer->setSingleShot(true);
    requestTimer->setInterval(kRequestTimeoutMs);
    connect(requestTimer, &QTimer::timeout, this,
            [this] { ui->lStatus->setText(QStringLiteral("Таблица ключей не получена")); });
    ui->twKeys->setHorizontalHeaderLabels({QStringLiteral("Ключ"), QStringLiteral("Код")});
    connect(ui->pbRequest, &QPushButton::clicked, this, &KeysOptions::RequestClick);
    connect(ui->pbWrite, &QPushButton::clicked, this, &KeysOptions::WriteKeyClick);
    connect(ui->pbDelKey, &QPushButton::clicked, this, &KeysOptions::DelKey);
    connect(ui->pbDelNoMaster, &QPushButton::clicked, this, &KeysOptions::DelNoMasterKey);
    connect(ui->pbDelAll, &QPushButton::clicked, this, &KeysOptions::DelAllKeys);
    connect(ui->pbCancel, &QPushButton::clicked, this, &KeysOptions::CancelClick);
}

KeysOptions::~KeysOptions() {
    delete ui;
}

char KeysOptions::KeyTableCheck(const QByteArray& pack) {
    return KeysCheckCharFromXor(KeysXorRange(pack, 0, kKeyTableSize - 2, 0));
}

bool KeysOptions::KeyTableValid(const QByteArray& pack) {
    return pack.size() == kKeyTableSize && pack.at(kKeyTableSize - 1) == KeyTableCheck(pack);
}

void KeysOptions::RegimChange() {}

void KeysOptions::ReceptKeysPack(QByteArray pack) {
    if (!KeyTableValid(pack)) {
        ui->lStatus->setText(QStringLiteral("Ошибка приёма таблицы ключей"));
        return;
    }
    requestTimer->stop();
    for (int row = 0; row < kKeySlots; ++row) {
        const QByteArray key = pack.mid(1 + row * kKeyBytes, kKeyBytes);
        auto* name = new QTableWidgetItem(QStringLiteral("Ключ %1").arg(row + 1));
        auto* code = new QTableWidgetItem(QString::fromLatin1(key.toHex('-').toUpper()));
        ui->twKeys->setItem(row, 0, name);
        ui->twKeys->setItem(row, 1, code);
    }
    ui->lStatus->setText(QStringLiteral("Таблица ключей получена"));
}

void KeysOptions::ReceptMiniKeyPack(QByteArray pack) {
    if (pack.size() >= 2)
        ui->lStatus->setText(QStringLiteral("Меню мастер-ключа: %1 %2")
                                 .arg(quint8(pack.at(0)))
                                 .arg(quint8(pack.at(1))));
    reportTestModeEntered();
}

void KeysOptions::SetWriteOk() {
    writeOk = true;
}

void KeysOptions::beforeLeavingTestMode() {
    requestTimer->stop();
}

void KeysOptions::RequestClick() {
    requestTimer->start();
    emit SigSetTestCommand(proto::TC_READ_KEYS);
}

void KeysOptions::DelNoMasterKey() {
    emit SigSetTestCommand(proto::TC_DEL_NON_MASTER);
}

void KeysOptions::DelKey() {
    const int row = ui->twKeys->currentRow();
    if (row < 0 || row >= kKeySlots)
        return;
    if (row == 18)
        emit SigSetTestCommand(proto::TC_DEL_ROW18);
    else if (row == 19)
        emit SigSetTestCommand(proto::TC_DEL_ROW19);
    else
        emit SigSetTestCommand(proto::TC_DEL_KEY_FIRST + row);
}

void KeysOptions::DelAllKeys() {
    emit SigSetTestCommand(proto::TC_DEL_ALL);
}

void KeysOptions::WriteKeyClick() {
    writeOk = false;
    emit SigSetTestCommand(proto::TC_WRITE_KEYS);
}
