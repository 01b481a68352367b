#pragma once

#include <QAbstractTableModel>

#include <array>

// The loop-by-camera table: row = loop, column = camera, each cell a check
// box and nothing else. The cameras page of the parameters window and the
// cameras page of the setup wizard each keep one and copy its cells to and
// from the settings themselves.
class CamerasExecTable : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int kRows = 8;
    static constexpr int kColumns = 8;
    using Cells = std::array<std::array<quint8, kColumns>, kRows>;

    explicit CamerasExecTable(QObject* parent = nullptr);

    // Owners read and write the cells directly ([loop][camera], 0 = clear,
    // anything else ticked); such writes notify no view: call refresh().
    Cells cells{};
    void clearCells();
    // Makes the views show the cells again.
    void refresh();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    // Whether the index is one of this model's 64 cells.
    bool isCell(const QModelIndex& index) const;

    int rowTotal = kRows;
    int columnTotal = kColumns;
};
