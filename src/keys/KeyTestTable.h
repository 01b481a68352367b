#pragma once

#include "keys/KeyTableRules.h"

#include <QAbstractTableModel>

#include <array>

// The device's key table as the key window last received it: 20 rows (18
// ordinary slots, then master keys 1 and 2) of name, value, state and ГБР
// attribute. Cells are read-only.
class KeyTestTable : public QAbstractTableModel {
    Q_OBJECT

public:
    KeyTestTable(int rows, int columns, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Takes a received table; ordinary rows whose text has the password's
    // leading bytes for the current device family hold passwords.
    void SetTable(const keys::KeyTable& table);
    // Tells the views that everything may have changed.
    void ResetTable();

    std::array<QByteArray, kKeySlots> keyText;
    std::array<bool, kOrdinaryKeys> gbr{};
    std::array<bool, kKeySlots> present{};
    std::array<bool, kKeySlots> isKey{};

private:
    bool holdsPassword(int row) const { return row < kOrdinaryKeys && !isKey[row]; }

    const int rows;
    const int columns;
};
