#include "outputs/CamerasExecTable.h"

CamerasExecTable::CamerasExecTable(QObject* parent) : QAbstractTableModel(parent) {}

void CamerasExecTable::clearCells() {
    for (auto& row : cells)
        row.fill(0);
}

void CamerasExecTable::refresh() {
    beginResetModel();
    endResetModel();
}

int CamerasExecTable::rowCount(const QModelIndex&) const {
    return rowTotal;
}

int CamerasExecTable::columnCount(const QModelIndex&) const {
    return columnTotal;
}

bool CamerasExecTable::isCell(const QModelIndex& index) const {
    return index.isValid() && index.model() == this && index.row() < kRows &&
           index.column() < kColumns;
}

QVariant CamerasExecTable::data(const QModelIndex& index, int role) const {
    if (role != Qt::CheckStateRole || !isCell(index))
        return {};
    return int(cells[size_t(index.row())][size_t(index.column())] ? Qt::Checked : Qt::Unchecked);
}

bool CamerasExecTable::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || !isCell(index))
        return false;
    // A view sends the state as a Qt::CheckState; a plain number or bool works too.
    cells[size_t(index.row())][size_t(index.column())] = value.toInt() != 0 ? 1 : 0;
    emit dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

QVariant CamerasExecTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    if (role != Qt::DisplayRole)
        return {};
    return (orientation == Qt::Horizontal ? QStringLiteral("Камера №")
                                          : QStringLiteral("Шлейф №")) +
           QString::number(section + 1);
}

Qt::ItemFlags CamerasExecTable::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (isCell(index))
        f |= Qt::ItemIsUserCheckable;
    return f;
}
