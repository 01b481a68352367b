#include "service/StateTables.h"

#include "settings/DeviceSettings.h"

StateTableBase::StateTableBase(QStringList h, QObject* parent)
    : QAbstractTableModel(parent), headers(std::move(h)) {}

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

namespace {
const DeviceStateLog* stateLog() {
    return g_deviceSettings ? g_deviceSettings->state : nullptr;
}

QString twoDigits(int v) {
    return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0'));
}
} // namespace

JournalTable::JournalTable(QObject* parent)
    : StateTableBase({QStringLiteral("Дата"), QStringLiteral("Время"), QStringLiteral("Событие"),
                      QStringLiteral("Параметр")},
                     parent) {}

int JournalTable::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !filled || !stateLog() ? 0 : kJournalRecords;
}

QVariant JournalTable::data(const QModelIndex& index, int role) const {
    const DeviceStateLog* s = stateLog();
    if (!s || !index.isValid() || index.row() >= kJournalRecords)
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
    : StateTableBase({QStringLiteral("Поставлен на охрану"), QStringLiteral("Тревога")}, parent) {}

int LastStateTable::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !filled || !stateLog() ? 0 : kLoops;
}

QVariant LastStateTable::data(const QModelIndex& index, int role) const {
    const DeviceStateLog* s = stateLog();
    if (!s || !index.isValid() || role != Qt::DisplayRole || index.row() >= kLoops)
        return {};
    const int bit = 1 << index.row();
    const bool on = index.column() == 0 ? (s->armedMask & bit) : (s->alarmMask & bit);
    return on ? QStringLiteral("да") : QStringLiteral("нет");
}

ResetFlagsTable::ResetFlagsTable(QObject* parent)
    : StateTableBase({QStringLiteral("Флаг A")}, parent) {}

int ResetFlagsTable::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !filled || !stateLog() ? 0 : kLoops;
}

QVariant ResetFlagsTable::data(const QModelIndex& index, int role) const {
    const DeviceStateLog* s = stateLog();
    if (!s || !index.isValid() || role != Qt::DisplayRole || index.row() >= kLoops)
        return {};
    return int(s->loopBitA[index.row()]);
}

NaprFlagsTable::NaprFlagsTable(QObject* parent)
    : StateTableBase({QStringLiteral("Флаг B")}, parent) {}

int NaprFlagsTable::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !filled || !stateLog() ? 0 : kLoops;
}

QVariant NaprFlagsTable::data(const QModelIndex& index, int role) const {
    const DeviceStateLog* s = stateLog();
    if (!s || !index.isValid() || role != Qt::DisplayRole || index.row() >= kLoops)
        return {};
    return int(s->loopBitB[index.row()]);
}
