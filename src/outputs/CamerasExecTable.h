#pragma once

#include "pagebase/CheckTableModel.h"

// The loop-by-camera table: row = loop, column = camera, each cell a check
// box and nothing else. The cameras page of the parameters window and the
// cameras page of the setup wizard each keep one and copy its cells to and
// from the settings themselves (check/setCheck, then reset()).
class CamerasExecTable : public CheckTableModel {
    Q_OBJECT

public:
    static constexpr int kRows = 8;    // loops
    static constexpr int kColumns = 8; // cameras

    explicit CamerasExecTable(QObject* parent = nullptr);

    // Header texts, centred both ways.
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    // Clears all 64 cells; tells no view.
    void clearCells();

protected:
    QString columnTitle(int column) const override;
    QString rowTitle(int row) const override;
};
