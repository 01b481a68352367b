#include "keys/KeyTestTable.h"

#include <QIcon>

namespace {
const char* const kOpenIcon = ":/icons/openport.png";
const char* const kClosedIcon = ":/icons/closeport.png";
} // namespace

KeyTestTable::KeyTestTable(int rows, int columns, QObject* parent)
    : QAbstractTableModel(parent), rows(rows), columns(columns) {
    keyText.fill(keys::kErasedKey);
    isKey.fill(true);
}

int KeyTestTable::rowCount(const QModelIndex&) const {
    return rows;
}

int KeyTestTable::columnCount(const QModelIndex&) const {
    return columns;
}

QVariant KeyTestTable::data(const QModelIndex& index, int role) const {
    const int row = index.row();
    if (!index.isValid() || row < 0 || row >= kKeySlots)
        return {};
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    const bool master = row >= kOrdinaryKeys;
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case 0:
            if (master)
                return QStringLiteral("Мастер-ключ %1").arg(row - kOrdinaryKeys + 1);
            return g_deviceSettings ? g_deviceSettings->zones->eepromKeyName[row] : QString();
        case 1:
            if (holdsPassword(row))
                return keys::PasswordDigits(keyText[row], keys::CurrentDeviceType());
            return QString::fromLatin1(keyText[row]);
        case 2:
            if (!present[row])
                return QStringLiteral("Нет");
            return holdsPassword(row) ? QStringLiteral("Пароль") : QStringLiteral("Ключ TM");
        case 3:
            if (master || holdsPassword(row))
                return QStringLiteral("-");
            return gbr[row] ? QStringLiteral("Да") : QStringLiteral("Нет");
        default:
            return {};
        }
    }
    if (role == Qt::DecorationRole) {
        if (index.column() == 2)
            return QIcon(QString::fromLatin1(present[row] ? kOpenIcon : kClosedIcon));
        if (index.column() == 3 && !master && !holdsPassword(row))
            return QIcon(QString::fromLatin1(gbr[row] ? kOpenIcon : kClosedIcon));
    }
    return {};
}

QVariant KeyTestTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    static const char* const kTitles[] = {"Имя в EEPROM", "Значение", "Состояние", "Признак ГБР"};
    if (section < 0 || section >= 4)
        return {};
    return QString::fromUtf8(kTitles[section]);
}

void KeyTestTable::SetTable(const keys::KeyTable& table) {
    beginResetModel();
    const int type = keys::CurrentDeviceType();
    for (int r = 0; r < kKeySlots; ++r) {
        keyText[r] = table.key[r];
        present[r] = table.present[r];
        isKey[r] = r >= kOrdinaryKeys || !keys::IsPasswordText(keyText[r], type);
        if (r < kOrdinaryKeys)
            gbr[r] = table.gbr[r];
    }
    endResetModel();
}

void KeyTestTable::ResetTable() {
    beginResetModel();
    endResetModel();
}
