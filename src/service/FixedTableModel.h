#pragma once

#include <QAbstractTableModel>

// A table model of the size its owner sets, as the journal, restart-cause and
// voice-message windows use them: the cells come from data the owner keeps,
// and a reset makes the views read every cell again.
class FixedTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    FixedTableModel(int rowTotal, int columnTotal, QObject* parent)
        : QAbstractTableModel(parent), rows(rowTotal), columns(columnTotal) {}

    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : rows;
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : columns;
    }
    void ResetTable() {
        beginResetModel();
        endResetModel();
    }

    int rows;
    int columns;
};
