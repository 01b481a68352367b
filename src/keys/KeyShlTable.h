#pragma once

#include "pagebase/CheckTableModel.h"

// The key-to-loop table: 18 keys, their two names, then one check column per
// loop. Every check written through the table is written to the same cell of
// KeyLoopMatrix at once. The technological loop's column is shown greyed.
class KeyShlTable : public CheckTableModel {
    Q_OBJECT

public:
    // `columns` counts the two name columns and the loop columns.
    KeyShlTable(int rows, int columns, QObject* parent = nullptr);

    QString keyName(int key) const { return name(key, 0); }
    QString eepromName(int key) const { return name(key, 1); }
    void setKeyName(int key, const QString& text) { setName(key, 0, text); }
    void setEepromName(int key, const QString& text) { setName(key, 1, text); }
    // The table column of the technological loop (loop + 2), -1 for none.
    int techColumn() const;
    void setTechColumn(int column);

public slots:
    // Tick / clear every key's loops, hidden loops too, all but the
    // technological one; in the table and in KeyLoopMatrix.
    void SetAll();
    void UnsetAll();

protected:
    QString columnTitle(int column) const override;
    void checkStored(int row, int checkColumn, bool on) override;

private:
    void setAllChecks(bool on);
};
