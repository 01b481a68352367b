#include "outputs/CamerasExecTable.h"

CamerasExecTable::CamerasExecTable(QObject* parent) : CheckTableModel(kRows, 0, kColumns, parent) {}

QVariant CamerasExecTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    return CheckTableModel::headerData(section, orientation, role);
}

void CamerasExecTable::clearCells() {
    for (int row = 0; row < kRows; ++row)
        for (int column = 0; column < kColumns; ++column)
            setCheck(row, column, false);
}

QString CamerasExecTable::columnTitle(int column) const {
    return QStringLiteral("Камера №") + QString::number(column + 1);
}

QString CamerasExecTable::rowTitle(int row) const {
    return QStringLiteral("Шлейф №") + QString::number(row + 1);
}
