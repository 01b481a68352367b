#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QString>

#include <memory>
#include <vector>

// One logged status.
struct EventRow {
    QColor colour; // invalid when the code has no colour
    QString date;  // "dd.MM.yyyy"
    QString time;  // "HH:mm:ss"
    QString text;
    int code = 0;
};

// The event log: rows are only appended, oldest first, and live until the
// program ends.
class EventTable : public QAbstractTableModel {
    Q_OBJECT

public:
    EventTable(int rows, int columns, QObject* parent = nullptr);
    ~EventTable() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Takes the row, counts it and resets the model.
    void Append(const EventRow& row);
    const EventRow* Row(int index) const;
    void AddRow();
    void ResetTable();

private:
    int rowTotal;
    int columnTotal;
    std::vector<std::unique_ptr<EventRow>> rows;
};
