#include "keys/KeyShlTable.h"

#include "pagebase/KeyLoopMatrix.h"

KeyShlTable::KeyShlTable(int rows, int columns, QObject* parent)
    : CheckTableModel(rows, kKeyNameColumns, columns - kKeyNameColumns, parent) {}

int KeyShlTable::techColumn() const {
    return disabledCheckColumn() < 0 ? -1 : disabledCheckColumn() + kKeyNameColumns;
}

void KeyShlTable::setTechColumn(int column) {
    setDisabledCheckColumn(column < kKeyNameColumns ? -1 : column - kKeyNameColumns);
}

QString KeyShlTable::columnTitle(int column) const {
    if (column < kKeyNameColumns)
        return KeyNameColumnTitle(column);
    return QStringLiteral("Ш. №") + QString::number(column - 1);
}

void KeyShlTable::checkStored(int row, int checkColumn, bool on) {
    if (row >= 0 && row < kOrdinaryKeys && checkColumn >= 0 && checkColumn < kLoops)
        KeyLoopMatrix[size_t(row)][size_t(checkColumn)] = on ? 1 : 0;
}

void KeyShlTable::setAllChecks(bool on) {
    const int tech = disabledCheckColumn();
    for (int row = 0; row < rowCount(); ++row) {
        for (int loop = 0; loop < checkCapacity(); ++loop) {
            if (loop == tech)
                continue;
            setCheck(row, loop, on);
            checkStored(row, loop, on);
        }
    }
    reset();
}

void KeyShlTable::SetAll() {
    setAllChecks(true);
}

void KeyShlTable::UnsetAll() {
    setAllChecks(false);
}
