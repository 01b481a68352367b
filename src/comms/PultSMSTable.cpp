#include "comms/PultSMSTable.h"

#include <algorithm>

namespace {
constexpr const char* kRowHeaders[kConsoleEvents] = {
    "Постановка на охрану",
    "Снятие с охраны",
    "Тревога",
    "Невзятие",
    "Отсутствие 220 В",
    "Восстановление 220 В",
    "Питание ниже 9,5 В",
    "Питание восстановлено",
    "Срабатывание тампера",
};
} // namespace

PultSMSTable::PultSMSTable(int rows, int columns, QObject* parent)
    : QAbstractTableModel(parent), rows(std::clamp(rows, 0, kConsoleEvents)),
      columns(std::clamp(columns, 0, kMainNumbers)) {}

QString PultSMSTable::EventName(int event) {
    return event >= 0 && event < kConsoleEvents ? QString::fromUtf8(kRowHeaders[event]) : QString();
}

bool PultSMSTable::inside(int row, int column) const {
    return row >= 0 && row < rows && column >= 0 && column < columns;
}

int PultSMSTable::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows;
}

int PultSMSTable::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns;
}

QVariant PultSMSTable::data(const QModelIndex& index, int role) const {
    if (role != Qt::CheckStateRole || !index.isValid() || !inside(index.row(), index.column()))
        return {};
    return int(cells[index.row()][index.column()] ? Qt::Checked : Qt::Unchecked);
}

bool PultSMSTable::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || !index.isValid() || !inside(index.row(), index.column()))
        return false;
    cells[index.row()][index.column()] = value.toInt() != 0;
    emit dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

QVariant PultSMSTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < columns ? QVariant(section + 1) : QVariant();
    return section >= 0 && section < rows ? QVariant(EventName(section)) : QVariant();
}

Qt::ItemFlags PultSMSTable::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && inside(index.row(), index.column()))
        f |= Qt::ItemIsUserCheckable;
    return f;
}

u8 PultSMSTable::cell(int row, int column) const {
    return inside(row, column) ? cells[row][column] : 0;
}

void PultSMSTable::setCell(int row, int column, int value) {
    if (inside(row, column))
        cells[row][column] = value != 0;
}

void PultSMSTable::Reset() {
    beginResetModel();
    endResetModel();
}
