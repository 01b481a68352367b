#pragma once

#include "settings/DeviceSettings.h"

#include <QAbstractTableModel>

// Which console SMS event goes to which SMS number: a table of check boxes,
// events by rows, numbers by columns. The cells live in the model; the page
// copies them to and from the settings.
class PultSMSTable : public QAbstractTableModel {
    Q_OBJECT

public:
    // Counts beyond the events and numbers are cut to them.
    PultSMSTable(int rows, int columns, QObject* parent = nullptr);

    // Row headers: the event names of the table.
    static QString EventName(int event);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // A cell, 0 or 1; 0 outside the table.
    u8 cell(int row, int column) const;
    // Sets a cell without telling the views (Reset does); ignored outside.
    void setCell(int row, int column, int value);
    // Views re-read every cell.
    void Reset();

private:
    bool inside(int row, int column) const;

    int rows;
    int columns;
    Arr2<u8, kConsoleEvents, kMainNumbers> cells{};
};
