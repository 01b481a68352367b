#pragma once

#include <QAbstractTableModel>
#include <QStringList>

// The table models over DeviceStateLog. Each stays empty until a memory read
// has filled the state block (`filled`), then shows the block's data.
class StateTableBase : public QAbstractTableModel {
    Q_OBJECT

public:
    StateTableBase(QStringList headers, QObject* parent);

    bool filled = false;

    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

public slots:
    void ResetTable();

private:
    QStringList headers;
};

// The event journal, one row per record.
class JournalTable : public StateTableBase {
    Q_OBJECT

public:
    explicit JournalTable(QObject* parent = nullptr);
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
};

// The device's last state: one row per loop.
class LastStateTable : public StateTableBase {
    Q_OBJECT

public:
    explicit LastStateTable(QObject* parent = nullptr);
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
};

// Restart flags per loop row.
class ResetFlagsTable : public StateTableBase {
    Q_OBJECT

public:
    explicit ResetFlagsTable(QObject* parent = nullptr);
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
};

// Supply-voltage flags per loop row.
class NaprFlagsTable : public StateTableBase {
    Q_OBJECT

public:
    explicit NaprFlagsTable(QObject* parent = nullptr);
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
};
