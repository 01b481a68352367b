#include "keys/KeysOptions.h"

#include "keys/EditKey.h"
#include "keys/KeyTableRules.h"
#include "keys/KeyTestTable.h"
#include "keys/KeysLoadDialog.h"
#include "link/LinkTiming.h"
#include "link/Protocol.h"
#include "settings/DeviceSettings.h"
#include "settings/Prompt.h"
#include "settings/SafeFile.h"
#include "settings/TextCodec.h"
#include "ui_KeysOptions.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QMutex>
#include <QMutexLocker>
#include <QTimer>

namespace {
// Guards only the write-confirmation flag, between the link's confirmation
// and the write's judge; never held across a signal or a dialog.
QMutex g_writeMutex;

constexpr int kTableColumns = 4;
constexpr int kGbrColumn = 3;
constexpr int kRowHeight = 20;
constexpr int kColumnWidths[] = {90, 105, -1, 86};
// Key numbers of a test packet: 19 and 20 are the master keys; 21 and 22
// name no key and confirm a deletion.
constexpr int kMasterKey1Number = 19;
constexpr int kMasterKey2Number = 20;
constexpr int kKeyNumberNone1 = 21;
constexpr int kKeyNumberNone2 = 22;
constexpr quint8 kMenuActive = 0x10;
constexpr quint8 kMenuItem = 0x0F;
constexpr quint8 kTouching = 0x20;
constexpr int kStatusKeysOn = 124;
constexpr int kStatusKeysOff = 125;
constexpr int kWindowX = 430;
constexpr int kWindowY = 200;
constexpr int kWindowHeight = 525;
constexpr int kAutonomousWidth = 570;
constexpr int kSystemWidth = 657;

const char* const kFileFilter = "Текстовые файлы (*.txt);;Все файлы (*.*)";

QString MasterMenuText(int item) {
    static const char* const kItems[] = {
        "Мастер-меню: 1 - Обучение ключа",
        "Мастер-меню: 2 - Стирание ключа",
        "Мастер-меню: 3 - Стирание всех ключей",
        "Мастер-меню: 4 - Стирание только не ГБР",
        "Мастер-меню: 5 - Стирание только ГБР",
        "Мастер-меню: 6 - Обучение мастер-ключа",
        "Мастер-меню: 7 - Стирание другого мастер-ключа",
        "Мастер-меню: 8 - Обучение ключа ГБР",
    };
    if (item >= 1 && item <= 8)
        return QString::fromUtf8(kItems[item - 1]);
    return QStringLiteral("Мастер-меню активно");
}

KeyCodes* Codes() {
    return g_deviceSettings ? g_deviceSettings->keys : nullptr;
}
} // namespace

KeysOptions::KeysOptions(QWidget* parent)
    : TestModeDialog(kStatusKeysOn, kStatusKeysOff, parent), ui(new Ui::KeysOptions) {
    ui->setupUi(this);
    // Escape and the title bar's close reach CancelClick through reject().
    connect(ui->pbCancel, &QPushButton::clicked, this, &KeysOptions::CancelClick);
    connect(ui->pbZapros, &QPushButton::clicked, this, &KeysOptions::RequestClick);
    connect(ui->pbDelKey, &QPushButton::clicked, this, &KeysOptions::DelKey);
    connect(ui->pbDelAllKeys, &QPushButton::clicked, this, &KeysOptions::DelAllKeys);
    connect(ui->pbDelNoMasterKeys, &QPushButton::clicked, this, &KeysOptions::DelNoMasterKey);

    model = new KeyTestTable(kKeySlots, kTableColumns, this);
    editKey = new EditKey(this);
    keysLoad = new KeysLoadDialog(this);

    connect(ui->pbChangeKey, &QPushButton::clicked, this, &KeysOptions::ChangeKeyClick);
    connect(ui->tvCurKeys, &QTableView::doubleClicked, this, &KeysOptions::EditClicked);
    connect(this, &KeysOptions::SigSetTableIndex, this, &KeysOptions::EditClicked);
    connect(this, &KeysOptions::SigEditKey, editKey, &EditKey::ExecWin);
    connect(editKey, &EditKey::SigWriteKeyClick, this, &KeysOptions::WriteKeyClick);

    ui->tvCurKeys->setModel(model);
    for (int c = 0; c < kTableColumns; ++c) {
        if (kColumnWidths[c] > 0)
            ui->tvCurKeys->setColumnWidth(c, kColumnWidths[c]);
    }

    KeyCodes* codes = Codes();
    for (int r = 0; r < kKeySlots; ++r) {
        ui->tvCurKeys->setRowHeight(r, kRowHeight);
        model->keyText[r] = keys::kErasedKey;
        model->present[r] = false;
        model->isKey[r] = true;
        if (r < kOrdinaryKeys)
            model->gbr[r] = false;
        if (codes) {
            codes->key[r] = keys::kErasedKey;
            codes->keyActive[r] = 0;
            if (r < kOrdinaryKeys)
                codes->rapidResponseKey[r] = 0;
        }
    }

    ui->lStatus->hide();
    ui->lWrStatus->hide();
    ui->lDelStatus->hide();
    writeConfirmed = false;
    deletePending = false;

    auto timer = [this](void (KeysOptions::*slot)()) {
        auto* t = new QTimer(this);
        connect(t, &QTimer::timeout, this, slot);
        return t;
    };
    writeTimer = timer(&KeysOptions::WriteKeyTimeOut);
    requestTimer = timer(&KeysOptions::RequestKeysTimeout);
    receiveStatusTimer = timer(&KeysOptions::HideRMessage);
    writeStatusTimer = timer(&KeysOptions::HideWrMessage);
    deleteStatusTimer = timer(&KeysOptions::HideDelMessage);
    connect(this, &KeysOptions::SigShowStatus, this, &KeysOptions::ShowStatusMessage);
    connect(ui->tbSave, &QToolButton::clicked, this, &KeysOptions::SaveTableClicked);
    connect(ui->tbLoad, &QToolButton::clicked, this, &KeysOptions::LoadTableClicked);
    connect(keysLoad, &KeysLoadDialog::SigWriteTable, this, &KeysOptions::WriteAllTable);

    skipDeleteCheck = false;
    ui->tvCurKeys->horizontalHeader()->setSectionsClickable(false);
    ui->gbMaster->hide();
}

KeysOptions::~KeysOptions() {
    delete ui;
}

int KeysOptions::currentRow() const {
    return ui->tvCurKeys->currentIndex().row();
}

void KeysOptions::resetKeepingRow() {
    const int row = currentRow();
    model->ResetTable();
    if (row >= 0)
        ui->tvCurKeys->setCurrentIndex(model->index(row, 0));
}

// ---------------------------------------------------------------- work mode

void KeysOptions::RegimChange() {
    const bool autonomous = keys::AutonomousMode();
    ui->tvCurKeys->setColumnHidden(kGbrColumn, autonomous);
    setGeometry(kWindowX, kWindowY, autonomous ? kAutonomousWidth : kSystemWidth, kWindowHeight);
}

// ---------------------------------------------------------------- receiving

void KeysOptions::RequestClick() {
    emit SigSetTestCommand(proto::TC_READ_KEYS);
    requestTimer->start(kwlink::ScaledMs(kRequestTimeoutMs));
}

void KeysOptions::RequestKeysTimeout() {
    emit SigShowStatus(0, false);
    requestTimer->stop();
}

void KeysOptions::ReceptKeysPack(QByteArray pack) {
    if (!keys::KeyTableValid(pack)) {
        emit SigShowStatus(0, false);
        return;
    }
    emit SigShowStatus(0, true);
    requestTimer->stop();
    const keys::KeyTable table = keys::DecodeKeyTable(pack);
    const int row = currentRow();
    model->SetTable(table);
    if (KeyCodes* codes = Codes()) {
        codes->key = table.key;
        for (int r = 0; r < kKeySlots; ++r)
            codes->keyActive[r] = table.present[r];
        for (int r = 0; r < kOrdinaryKeys; ++r)
            codes->rapidResponseKey[r] = table.gbr[r];
    }
    if (row >= 0)
        ui->tvCurKeys->setCurrentIndex(model->index(row, 0));
}

void KeysOptions::ReceptMiniKeyPack(QByteArray pack) {
    if (pack.size() < 2)
        return;
    const int key = quint8(pack.at(0));
    const quint8 state = quint8(pack.at(1));
    reportTestModeEntered();

    if (key == kKeyNumberNone1 || key == kKeyNumberNone2) {
        ui->lcdNumKey->display(0);
        if (deletePending) {
            emit SigShowStatus(2, true);
            deletePending = false;
            skipDeleteCheck = false;
        }
    } else {
        ui->lcdNumKey->display(key);
        if (skipDeleteCheck) {
            skipDeleteCheck = false;
        } else if (deletePending) {
            emit SigShowStatus(2, false);
            deletePending = false;
        }
    }

    if (state & kMenuActive) {
        ui->lcdRegim->display(state & kMenuItem);
        ui->wLedMaster->setEnabled(true);
        ui->lRegim->setEnabled(true);
        ui->lRegim->setText(MasterMenuText(state & kMenuItem));
    } else {
        ui->lcdRegim->display(0);
        // The LED remembers that the menu was open: the device may have
        // changed its table in it.
        if (ui->wLedMaster->isEnabled())
            emit SigSetTestCommand(proto::TC_READ_KEYS);
        ui->wLedMaster->setEnabled(false);
        ui->lRegim->setEnabled(false);
        ui->lRegim->setText(QString());
    }

    if (state & kTouching) {
        ui->wLedKas->setEnabled(true);
        // A master key touched in the menu changes nothing while it is known.
        const bool knownMaster =
            (key == kMasterKey1Number && model->present[keys::kMasterKey1]) ||
            (key == kMasterKey2Number && model->present[keys::kMasterKey1 + 1]);
        if (isActiveWindow() && (state & kMenuActive) && !knownMaster)
            emit SigSetTestCommand(proto::TC_READ_KEYS);
    } else {
        ui->wLedKas->setEnabled(false);
    }
}

// ---------------------------------------------------------------- deleting

void KeysOptions::queueDelete(int command) {
    emit SigSetTestCommand(command);
    deletePending = true;
    skipDeleteCheck = true;
}

void KeysOptions::DelKey() {
    const int row = currentRow();
    if (row < 0 || row >= kKeySlots)
        return;
    if (row == keys::kMasterKey1)
        queueDelete(proto::TC_DEL_ROW18);
    else if (row == keys::kMasterKey1 + 1)
        queueDelete(proto::TC_DEL_ROW19);
    else
        queueDelete(proto::TC_DEL_KEY_FIRST + row);
}

void KeysOptions::DelAllKeys() {
    queueDelete(proto::TC_DEL_ALL);
}

void KeysOptions::DelNoMasterKey() {
    queueDelete(proto::TC_DEL_NON_MASTER);
}

void KeysOptions::beforeLeavingTestMode() {
    deletePending = false;
    skipDeleteCheck = false;
}

// ---------------------------------------------------------------- editing and writing

void KeysOptions::ChangeKeyClick() {
    const QModelIndex index = ui->tvCurKeys->currentIndex();
    if (index.isValid() && index.row() >= 0 && index.column() >= 0 && index.model())
        emit SigSetTableIndex(index);
}

void KeysOptions::EditClicked(QModelIndex index) {
    const int row = index.row();
    if (row < 0 || row >= kKeySlots)
        return;
    emit SigEditKey(index, row < kOrdinaryKeys ? model->isKey[row] : true);
}

void KeysOptions::WriteKeyClick() {
    const int row = currentRow();
    KeyCodes* codes = Codes();
    if (row < 0 || row >= kKeySlots || !codes)
        return;
    const QString value = editKey->findChild<QLineEdit*>(QStringLiteral("leIDKey"))->displayText();
    if (editKey->keyMode) {
        codes->key[row] = ToCp1251(value);
        if (row < kOrdinaryKeys)
            codes->rapidResponseKey[row] =
                editKey->findChild<QCheckBox*>(QStringLiteral("cbGBR"))->isChecked();
    } else {
        codes->key[row] = keys::PasswordKeyText(value, keys::CurrentDeviceType());
        if (row < kOrdinaryKeys)
            codes->rapidResponseKey[row] = 0;
    }
    codes->keyActive[row] = 1;
    startWrite();
}

void KeysOptions::WriteAllTable() {
    if (KeyCodes* codes = Codes()) {
        for (int i = 0; i < kKeySlots; ++i) {
            const auto* box =
                keysLoad->findChild<QCheckBox*>(QStringLiteral("cbWrite_%1").arg(i + 1));
            if (!box || !box->isChecked())
                continue;
            codes->key[i] = ToCp1251(keysLoad->keyText[i]);
            codes->keyActive[i] = keysLoad->present[i];
            if (i < kOrdinaryKeys)
                codes->rapidResponseKey[i] = keysLoad->gbr[i];
        }
    }
    startWrite();
}

void KeysOptions::startWrite() {
    {
        QMutexLocker lock(&g_writeMutex);
        writeConfirmed = false;
    }
    emit SigSetTestCommand(proto::TC_WRITE_KEYS);
    writeTimer->start(kwlink::ScaledMs(kWriteTimeoutMs));
}

void KeysOptions::SetWriteOk() {
    QMutexLocker lock(&g_writeMutex);
    writeConfirmed = true;
}

void KeysOptions::WriteKeyTimeOut() {
    bool confirmed;
    {
        QMutexLocker lock(&g_writeMutex);
        confirmed = writeConfirmed;
        writeConfirmed = false;
    }
    writeTimer->stop();
    if (confirmed) {
        editKey->close();
        keysLoad->close();
        resetKeepingRow();
        emit SigShowStatus(1, true);
    } else {
        emit SigShowStatus(1, false);
    }
    emit SigSetTestCommand(proto::TC_READ_KEYS);
}

void KeysOptions::RejectEditKey() {
    const int row = currentRow();
    KeyCodes* codes = Codes();
    if (row < 0 || row >= kKeySlots || !codes)
        return;
    codes->key[row] = model->keyText[row];
    codes->keyActive[row] = model->present[row];
    if (row < kOrdinaryKeys)
        codes->rapidResponseKey[row] = model->gbr[row];
}

// ---------------------------------------------------------------- status line

void KeysOptions::ShowStatusMessage(int type, bool status) {
    QLabel* label = nullptr;
    QTimer* timer = nullptr;
    QString text;
    switch (type) {
    case 0:
        label = ui->lStatus;
        timer = receiveStatusTimer;
        text = status ? QStringLiteral("Данные приняты успешно!")
                      : QStringLiteral("Ошибка приёма данных!");
        break;
    case 1:
        label = ui->lWrStatus;
        timer = writeStatusTimer;
        text = status ? QStringLiteral("Запись данных успешна!")
                      : QStringLiteral("Ошибка записи данных!");
        if (!status) {
            editKey->SetWriteStatus(true, false);
            keysLoad->SetWriteStatus(true, false);
        }
        break;
    case 2:
        label = ui->lDelStatus;
        timer = deleteStatusTimer;
        text = status ? QStringLiteral("Удаление успешно!") : QStringLiteral("Ошибка удаления!");
        break;
    default:
        return;
    }
    label->setText(text);
    label->show();
    timer->start(kwlink::ScaledMs(kStatusShowMs));
}

void KeysOptions::HideRMessage() {
    receiveStatusTimer->stop();
    ui->lStatus->hide();
}

void KeysOptions::HideWrMessage() {
    writeStatusTimer->stop();
    ui->lWrStatus->hide();
    editKey->SetWriteStatus(false, false);
    keysLoad->SetWriteStatus(false, false);
}

void KeysOptions::HideDelMessage() {
    deleteStatusTimer->stop();
    ui->lDelStatus->hide();
}

// ---------------------------------------------------------------- the text file

void KeysOptions::SaveTableClicked() {
    const QString name = prompt().saveFileName(nullptr, QStringLiteral("Сохранение таблицы"),
                                               QString(), QString::fromUtf8(kFileFilter));
    const KeyCodes* codes = Codes();
    if (name.isEmpty() || !codes)
        return;
    if (!WriteFileAtomically(name, keys::KeyTableFileText(*codes)))
        prompt().message(
            Prompt::Critical, this, QStringLiteral("Ошибка"),
            QStringLiteral("Не удалось записать файл %1.").arg(QDir::toNativeSeparators(name)));
}

void KeysOptions::LoadTableClicked() {
    const QString name = prompt().openFileName(nullptr, QStringLiteral("Загрузка таблицы"),
                                               QString(), QString::fromUtf8(kFileFilter));
    if (name.isEmpty())
        return;
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) {
        prompt().message(
            Prompt::Critical, this, QStringLiteral("Ошибка"),
            QStringLiteral("Не удалось прочитать файл %1.").arg(QDir::toNativeSeparators(name)));
        return;
    }
    keys::KeyTable table;
    int badLine = 0;
    if (!keys::ParseKeyTableFile(file.readAll(), &table, &badLine)) {
        prompt().message(Prompt::Critical, this, QStringLiteral("Ошибка"),
                         QStringLiteral("Файл %1 повреждён: ошибка в строке %2.\n"
                                        "Таблица не загружена.")
                             .arg(QDir::toNativeSeparators(name))
                             .arg(badLine));
        return;
    }
    file.close();
    for (int r = 0; r < kKeySlots; ++r) {
        keysLoad->keyText[r] = QString::fromLatin1(table.key[r]);
        keysLoad->present[r] = table.present[r];
        if (r < kOrdinaryKeys)
            keysLoad->gbr[r] = table.gbr[r];
    }
    keysLoad->RefreshTable();
    keysLoad->SetWriteStatus(false, false);
    keysLoad->exec();
}
