#pragma once

#include <QAbstractTableModel>
#include <QStringList>

struct DeviceStateLog;

// The table models over DeviceStateLog. Each stays empty until a memory read
// has filled the state block (`filled`), then shows the block's data.
class StateTableBase : public QAbstractTableModel {
    Q_OBJECT

public:
    // `rows`: the rows of a filled table.
    StateTableBase(QStringList headers, int rows, QObject* parent);

    bool filled = false;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

public slots:
    void ResetTable();

protected:
    // The state block behind a cell; null without settings or for an index
    // outside the rows.
    const DeviceStateLog* stateAt(const QModelIndex& index) const;

private:
    QStringList headers;
    int rows;
};

// The event journal, one row per record.
class JournalTable : public StateTableBase {
    Q_OBJECT

public:
    explicit JournalTable(QObject* parent = nullptr);
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
};

// The device's last state: one row per loop.
class LastStateTable : public StateTableBase {
    Q_OBJECT

public:
    explicit LastStateTable(QObject* parent = nullptr);
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
};

// Restart flags per loop row.
class ResetFlagsTable : public StateTableBase {
    Q_OBJECT

public:
    explicit ResetFlagsTable(QObject* parent = nullptr);
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
};

// Supply-voltage flags per loop row.
class NaprFlagsTable : public StateTableBase {
    Q_OBJECT

public:
    explicit NaprFlagsTable(QObject* parent = nullptr);
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
};
