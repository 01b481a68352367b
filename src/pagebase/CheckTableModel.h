#pragma once

#include <QAbstractItemView>
#include <QAbstractTableModel>
#include <QString>
#include <QVector>

// A table model of check cells, optionally preceded by text columns (names).
//
// Layout: `rowCount()` fixed rows; columns 0 .. nameColumns() - 1 hold texts,
// edited in place (display or edit role); the columns after them are check
// cells (check-state role), numbered 0 .. shownChecks() - 1 among themselves.
// The cells are stored for checkCapacity() check columns whatever number is
// shown, so hiding columns (fewer zones, say) keeps their data.
//
// Everything the views change goes through setData() and emits dataChanged;
// bulk changes a page makes (loading, normalising) use the direct setters,
// which emit nothing, and end with reset().
//
// Subclasses give the header texts and, where they need it, react to a
// ticked or cleared cell (checkStored). Row and column arguments outside the
// table are ignored by every setter and read as empty/unchecked.
class CheckTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    CheckTableModel(int rows, int nameColumns, int checkCapacity, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    int nameColumns() const { return m_names; }
    int checkCapacity() const { return m_capacity; }
    int shownChecks() const { return m_shown; }
    // Shows `n` check columns (clamped to 0..checkCapacity()), then resets.
    void setShownChecks(int n);

    // Direct access; no signal.
    bool check(int row, int checkColumn) const;
    void setCheck(int row, int checkColumn, bool on);
    QString name(int row, int nameColumn) const;
    void setName(int row, int nameColumn, const QString& text);

    // Whether ticking a cell through setData clears the other shown cells of
    // its row first, so that a row belongs to one check column at most.
    void setOneCheckPerRow(bool on) { m_onePerRow = on; }
    // A row or a check column shown greyed: it cannot be toggled in a view.
    // -1 for none; each setter resets the model.
    void setDisabledRow(int row);
    int disabledRow() const { return m_disabledRow; }
    void setDisabledCheckColumn(int checkColumn);
    int disabledCheckColumn() const { return m_disabledCheck; }

    // Views re-read every cell.
    void reset();

    // Whether the index is a cell of this model.
    bool usable(const QModelIndex& index) const;

protected:
    // Horizontal header of a table column (name and check columns alike).
    virtual QString columnTitle(int column) const = 0;
    // Vertical header; the row number from 1 unless overridden.
    virtual QString rowTitle(int row) const;
    // Runs when setData has stored a check cell, before any other cell of the
    // row is cleared and before dataChanged: a model mirroring its cells
    // elsewhere does it here.
    virtual void checkStored(int row, int checkColumn, bool on);

private:
    bool inRange(int row, int checkColumn) const;

    int m_rows;
    int m_names;
    int m_capacity;
    int m_shown;
    bool m_onePerRow = false;
    int m_disabledRow = -1;
    int m_disabledCheck = -1;
    QVector<quint8> m_checks; // row-major, m_capacity per row
    QVector<QString> m_texts; // row-major, m_names per row
};

// Takes a key's name edited in the other key table of the window (the same
// row and name column) into `model` and has `view` show it. A direct write:
// no dataChanged, so the name does not travel back.
void TakeKeyName(CheckTableModel* model, QAbstractItemView* view, const QModelIndex& from);
