#include "app/EventTable.h"

EventTable::EventTable(int r, int c, QObject* parent)
    : QAbstractTableModel(parent), rowTotal(r), columnTotal(c) {}

EventTable::~EventTable() = default;

// The counter and the list move together, but a view must never be told of a
// row the list does not hold.
int EventTable::rowCount(const QModelIndex&) const {
    return qMin<qsizetype>(rowTotal, qsizetype(rows.size()));
}

int EventTable::columnCount(const QModelIndex&) const {
    return columnTotal;
}

QVariant EventTable::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() < 0 || index.column() < 0)
        return {};
    const EventRow* row = Row(index.row());
    if (!row)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case 0:
            return index.row() + 1;
        case 1:
            return row->date;
        case 2:
            return row->time;
        case 3:
            return row->text;
        default:
            return {};
        }
    case Qt::TextAlignmentRole:
        return int(Qt::AlignHCenter | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        return row->colour.isValid() ? QVariant(row->colour) : QVariant();
    default:
        return {};
    }
}

QVariant EventTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case 0:
        return QStringLiteral("№");
    case 1:
        return QStringLiteral("Дата");
    case 2:
        return QStringLiteral("Время");
    case 3:
        return QStringLiteral("Событие");
    default:
        return {};
    }
}

void EventTable::Append(const EventRow& row) {
    rows.push_back(std::make_unique<EventRow>(row));
    AddRow();
}

const EventRow* EventTable::Row(int index) const {
    return index >= 0 && index < int(rows.size()) ? rows[size_t(index)].get() : nullptr;
}

void EventTable::AddRow() {
    ++rowTotal;
    ResetTable();
}

void EventTable::ResetTable() {
    beginResetModel();
    endResetModel();
}
