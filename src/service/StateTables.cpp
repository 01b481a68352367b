#include "service/StateTables.h"

#include "settings/DeviceSettings.h"

namespace {
const DeviceStateLog* stateLog() {
    return g_deviceSettings ? g_deviceSettings->state : nullptr;
}

QString twoDigits(int v) {
    return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0'));
}
} // namespace

StateTableBase::StateTableBase(QStringList h, int rows, QObject* parent)
    : QAbstractTableModel(parent), headers(std::move(h)), rows(rows) {}

int StateTableBase::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !filled || !stateLog() ? 0 : rows;
}

const DeviceStateLog* StateTableBase::stateAt(const QModelIndex& index) const {
    const DeviceStateLog* s = stateLog();
    return s && index.isValid() && index.row() < rows ? s : nullptr;
}

int StateTableBase::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : headers.size();
}

QVariant StateTableBase::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < headers.size() ? QVariant(headers.at(section))
                                                        : QVariant();
    return section + 1;
}

void StateTableBase::ResetTable() {
    beginResetModel();
    endResetModel();
}

JournalTable::JournalTable(QObject* parent)
    : StateTableBase({QStringLiteral("Дата"), QStringLiteral("Время"), QStringLiteral("Событие"),
                      QStringLiteral("Параметр")},
                     kJournalRecords, parent) {}

QVariant JournalTable::data(const QModelIndex& index, int role) const {
    const DeviceStateLog* s = stateAt(index);
    if (!s)
        return {};
    const int r = index.row();
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case 0:
        return twoDigits(s->journalDay[r]) + '.' + twoDigits(s->journalMonth[r]) + '.' +
               twoDigits(s->journalYear[r]);
    case 1:
        return twoDigits(s->journalHour[r]) + ':' + twoDigits(s->journalMinute[r]) + ':' +
               twoDigits(s->journalSecond[r]);
    case 2:
        return int(s->journalEvent[r]);
    case 3:
        return int(s->journalParam[r]);
    }
    return {};
}

LastStateTable::LastStateTable(QObject* parent)
    : StateTableBase({QStringLiteral("Поставлен на охрану"), QStringLiteral("Тревога")}, kLoops,
                     parent) {}

QVariant LastStateTable::data(const QModelIndex& index, int role) const {
    const DeviceStateLog* s = stateAt(index);
    if (!s || role != Qt::DisplayRole)
        return {};
    const int bit = 1 << index.row();
    const bool on = index.column() == 0 ? (s->armedMask & bit) : (s->alarmMask & bit);
    return on ? QStringLiteral("да") : QStringLiteral("нет");
}

ResetFlagsTable::ResetFlagsTable(QObject* parent)
    : StateTableBase({QStringLiteral("Флаг A")}, kLoops, parent) {}

QVariant ResetFlagsTable::data(const QModelIndex& index, int role) const {
    const DeviceStateLog* s = stateAt(index);
    if (!s || role != Qt::DisplayRole)
        return {};
    return int(s->loopBitA[index.row()]);
}

NaprFlagsTable::NaprFlagsTable(QObject* parent)
    : StateTableBase({QStringLiteral("Флаг B")}, kLoops, parent) {}

QVariant NaprFlagsTable::data(const QModelIndex& index, int role) const {
    const DeviceStateLog* s = stateAt(index);
    if (!s || role != Qt::DisplayRole)
        return {};
    return int(s->loopBitB[index.row()]);
}
