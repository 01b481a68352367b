#include "pagebase/CheckTableModel.h"

#include <algorithm>

CheckTableModel::CheckTableModel(int rows, int nameColumns, int checkCapacity, QObject* parent)
    : QAbstractTableModel(parent), m_rows(std::max(rows, 0)), m_names(std::max(nameColumns, 0)),
      m_capacity(std::max(checkCapacity, 0)), m_shown(m_capacity), m_checks(m_rows * m_capacity, 0),
      m_texts(m_rows * m_names) {}

int CheckTableModel::rowCount(const QModelIndex&) const {
    return m_rows;
}

int CheckTableModel::columnCount(const QModelIndex&) const {
    return m_names + m_shown;
}

bool CheckTableModel::usable(const QModelIndex& index) const {
    return index.isValid() && index.model() == this && index.row() < m_rows &&
           index.column() < columnCount();
}

bool CheckTableModel::inRange(int row, int checkColumn) const {
    return row >= 0 && row < m_rows && checkColumn >= 0 && checkColumn < m_capacity;
}

QVariant CheckTableModel::data(const QModelIndex& index, int role) const {
    if (!usable(index))
        return {};
    const int column = index.column();
    if (column < m_names) {
        if (role == Qt::DisplayRole || role == Qt::EditRole)
            return name(index.row(), column);
        return {};
    }
    if (role == Qt::CheckStateRole)
        return check(index.row(), column - m_names) ? Qt::Checked : Qt::Unchecked;
    return {};
}

bool CheckTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!usable(index))
        return false;
    const int row = index.row();
    const int column = index.column();
    if (column < m_names) {
        if (role != Qt::DisplayRole && role != Qt::EditRole)
            return false;
        setName(row, column, value.toString());
        emit dataChanged(index, index);
        return true;
    }
    if (role != Qt::CheckStateRole)
        return false;
    const int c = column - m_names;
    const bool on = value.toInt() != 0;
    setCheck(row, c, on);
    checkStored(row, c, on);
    if (on && m_onePerRow) {
        // Each cleared cell reports itself before the ticked one does.
        for (int other = 0; other < m_shown; ++other) {
            if (other != c && check(row, other))
                setData(this->index(row, m_names + other), false, Qt::CheckStateRole);
        }
    }
    emit dataChanged(index, index);
    return true;
}

QVariant CheckTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || section < 0)
        return {};
    if (orientation == Qt::Horizontal && section < columnCount())
        return columnTitle(section);
    if (orientation == Qt::Vertical && section < m_rows)
        return rowTitle(section);
    return {};
}

Qt::ItemFlags CheckTableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (!usable(index))
        return f;
    if (index.column() < m_names)
        return f | Qt::ItemIsEditable;
    f |= Qt::ItemIsUserCheckable;
    if (index.row() == m_disabledRow || index.column() - m_names == m_disabledCheck)
        f &= ~Qt::ItemIsEnabled;
    return f;
}

void CheckTableModel::setShownChecks(int n) {
    m_shown = std::clamp(n, 0, m_capacity);
    reset();
}

bool CheckTableModel::check(int row, int checkColumn) const {
    return inRange(row, checkColumn) && m_checks[row * m_capacity + checkColumn] != 0;
}

void CheckTableModel::setCheck(int row, int checkColumn, bool on) {
    if (inRange(row, checkColumn))
        m_checks[row * m_capacity + checkColumn] = on ? 1 : 0;
}

QString CheckTableModel::name(int row, int nameColumn) const {
    if (row < 0 || row >= m_rows || nameColumn < 0 || nameColumn >= m_names)
        return {};
    return m_texts[row * m_names + nameColumn];
}

void CheckTableModel::setName(int row, int nameColumn, const QString& text) {
    if (row >= 0 && row < m_rows && nameColumn >= 0 && nameColumn < m_names)
        m_texts[row * m_names + nameColumn] = text;
}

void CheckTableModel::setDisabledRow(int row) {
    m_disabledRow = row;
    reset();
}

void CheckTableModel::setDisabledCheckColumn(int checkColumn) {
    m_disabledCheck = checkColumn;
    reset();
}

void CheckTableModel::reset() {
    beginResetModel();
    endResetModel();
}

QString CheckTableModel::rowTitle(int row) const {
    return QString::number(row + 1);
}

void CheckTableModel::checkStored(int, int, bool) {}

void TakeKeyName(CheckTableModel* model, QAbstractItemView* view, const QModelIndex& from) {
    if (!from.isValid() || !from.model() || from.row() >= model->rowCount())
        return;
    if (from.column() < model->nameColumns())
        model->setName(from.row(), from.column(),
                       from.model()->data(from, Qt::DisplayRole).toString());
    view->reset();
    view->viewport()->update();
}
