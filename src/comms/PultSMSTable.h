#pragma once

#include "pagebase/CheckTableModel.h"

// Which console SMS event goes to which SMS number: a table of check boxes,
// events by rows, numbers by columns. The cells live in the model; the page
// copies them to and from the settings.
class PultSMSTable : public CheckTableModel {
    Q_OBJECT

public:
    // Counts beyond the nine events and five numbers are cut to them.
    PultSMSTable(int rows, int columns, QObject* parent = nullptr);

    // Row headers: the event names of the table.
    static QString EventName(int event);

    // Views re-read every cell.
    void Reset() { reset(); }

protected:
    QString columnTitle(int column) const override;
    QString rowTitle(int row) const override;
};
