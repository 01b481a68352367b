#pragma once

#include "service/FixedTableModel.h"

#include <QColor>
#include <QDate>
#include <QString>

// The table models of the journal and restart-cause windows. They show the
// device state block (DeviceStateLog) that the memory-image decoder fills;
// until the main window marks a model `filled` after the first decoded image,
// its cells show "н/д".

// ---- journal texts, free of any window ----

// The numbers n of the set bits n-1, ascending: 0x85 gives "1, 3, 8"; 0 gives "".
QString JournalLoopList(quint8 mask);
// "dd.MM.20yy" and "hh:mm:ss"; a value below 10 gets its leading zero, a
// value of three digits is written as it is.
QString JournalDateText(quint8 day, quint8 month, quint8 year);
QString JournalTimeText(quint8 hour, quint8 minute, quint8 second);
// The text of a journal event; the relay event reads its parameter by the
// firmware's layout (16.08.2010). "н/д" for a code the device does not use.
QString JournalEventText(quint8 code, quint8 param, const QDate& firmware);
// The cell colour of an event; an invalid colour for none.
QColor JournalEventColour(quint8 code);

// The event journal: 16 records (firmware before 15.04.2010) or 200 dated
// records, in storage order; column 0 marks the newest record.
class JournalTable : public FixedTableModel {
    Q_OBJECT

public:
    explicit JournalTable(QObject* parent = nullptr);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The 200-record layout with date and time columns, or the 16-record
    // one; resets the model.
    void SetDated(bool dated);

    bool filled = false;
    bool dateColumns = false;
    int eventColumn = 1;
};

// The device's last state in one row: event, loops in alarm, loops armed,
// arming state, key number.
class LastStateTable : public FixedTableModel {
    Q_OBJECT

public:
    explicit LastStateTable(QObject* parent = nullptr);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    bool filled = false;
};

// The eight restart records: column 0 marks the record written last, columns
// 1 to 10 the flags of its reset-cause word.
class ResetFlagsTable : public FixedTableModel {
    Q_OBJECT

public:
    explicit ResetFlagsTable(QObject* parent = nullptr);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    bool filled = false;
};

// The supply-voltage flags of the same eight records: drop, excess.
class NaprFlagsTable : public FixedTableModel {
    Q_OBJECT

public:
    explicit NaprFlagsTable(QObject* parent = nullptr);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    bool filled = false;
};

// What each reset-cause flag means; the same before and after a read.
class LegendTable : public FixedTableModel {
    Q_OBJECT

public:
    explicit LegendTable(QObject* parent = nullptr);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
};
