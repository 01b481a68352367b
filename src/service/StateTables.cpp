#include "service/StateTables.h"

#include "settings/DeviceSettings.h"
#include "settings/Firmware.h"

#include <QIcon>

namespace {

const QString kNoData = QStringLiteral("н/д");
const QColor kAlarmColour(255, 128, 128);
const QColor kKeyColour(0, 128, 255);
const QColor kFlagSetColour(255, 128, 128);
const QColor kFlagClearColour(Qt::white);
constexpr int kCentred = Qt::AlignHCenter | Qt::AlignVCenter;
constexpr quint8 kEmptySlot = 0xFF;
constexpr quint8 kNoTimeStamp = 0xFF;

QIcon MarkerIcon() {
    return QIcon(QStringLiteral(":/icons/forward.png"));
}

const DeviceStateLog* StateLog() {
    return g_deviceSettings ? g_deviceSettings->state : nullptr;
}

QDate FirmwareDate() {
    return g_deviceSettings ? g_deviceSettings->header->firmwareDate : QDate();
}

// An index this model answers for: inside its rows and columns and inside
// the arrays behind them.
bool Inside(const QModelIndex& index, int rows, int columns, int arrayRows) {
    return index.isValid() && index.row() >= 0 && index.column() >= 0 && index.row() < rows &&
           index.column() < columns && index.row() < arrayRows;
}

// Appends the number; when the text then has the length a one-digit number
// gives at this place, the missing leading zero goes in at `zeroAt`.
void AppendPadded(QString& text, int value, int oneDigitLength, int zeroAt) {
    text += QString::number(value);
    if (text.size() == oneDigitLength)
        text.insert(zeroAt, QLatin1Char('0'));
}

QString Quoted(const char* word) {
    return QLatin1Char('"') + QString::fromUtf8(word) + QLatin1Char('"');
}

QString RelayText(quint8 p, const QDate& firmware) {
    const bool newLayout = FwOnOrAfter(firmware, fw::k16_08_2010);
    // The older firmware packs the relay number into the parameter's signed
    // top bits, so a parameter of 0x80 or more names relays -3 to 0.
    const int relay = newLayout ? ((p >> 5) & 3) + 1 : (qint8(p) >> 5) + 1;
    const bool wasClosed = p & 0x10;
    const bool isClosed = p & 0x08;
    QString text = QStringLiteral("Управление реле ") + QString::number(relay) +
                   QStringLiteral(": переход из ") +
                   (wasClosed ? Quoted("закрыто") : Quoted("открыто")) + QStringLiteral(" в ") +
                   (isClosed ? Quoted("закрыто") : Quoted("открыто")) + QStringLiteral(". ");
    const QString channel = QStringLiteral("Номер канала: ") + QString::number((p & 7) + 1);
    if (!newLayout || !(p & 0x80))
        return text + channel;
    if ((p & 7) == 7)
        return text + QStringLiteral("Управление с сервера.");
    if ((p & 7) == 6) {
        if (!wasClosed && isClosed)
            return text + QStringLiteral("Самостоятельное замыкание.");
        if (wasClosed && !isClosed)
            return text + QStringLiteral("Самостоятельное размыкание.");
    }
    return text;
}

QString ArmingText(quint8 p) {
    const int key = p & 0x3F;
    if (key != 0) {
        QString text;
        if (p & 0x40)
            text += QStringLiteral("Постановка");
        if (p & 0x80)
            text += QStringLiteral("Снятие");
        return text + QStringLiteral(" по ключу №") + QString::number(key);
    }
    if (p & 0x40)
        return QStringLiteral("Первая постановка");
    if (p & 0x80)
        return QStringLiteral("Первое снятие");
    return kNoData;
}

QString AlarmText(int loop) {
    return QStringLiteral("Тревога по шлейфу ") + QString::number(loop);
}

QString MaskText(quint8 mask) {
    return mask == 0 ? QStringLiteral("Нет") : JournalLoopList(mask);
}

// A 0/1 flag cell of the restart tables.
QVariant FlagCell(bool filled, quint8 flag, int role) {
    if (role == Qt::TextAlignmentRole)
        return kCentred;
    if (!filled)
        return role == Qt::DisplayRole ? QVariant(kNoData) : QVariant();
    if (role == Qt::DisplayRole)
        return flag ? 1 : 0;
    if (role == Qt::BackgroundRole)
        return flag ? kFlagSetColour : kFlagClearColour;
    return {};
}

struct ResetFlag {
    const char* name;
    const char* meaning;
};

// In the order of DeviceStateLog::loopFlags, the reset-flag columns 1 to 10
// and the legend rows.
const ResetFlag kResetFlags[] = {
    {"TRAPR", "Произошёл сброс при возникновении исключения"},
    {"IOPUWR", "Неверный код операции, неверный режим адресации"},
    {"CM", "Ошибка конфигурации"},
    {"EXTR", "Внешний сброс с помощью вывода MCLR"},
    {"SWR", "Выполнена инструкция RESET"},
    {"WDTO", "Сработал сторожевой таймер"},
    {"SLEEP", "Флаг выхода из режима SLEEP"},
    {"IDLE", "Флаг выхода из режима IDLE"},
    {"BOR", "Сброс при снижении напряжения питания"},
    {"POR", "Сброс при включении питания"},
};
constexpr int kResetFlagCount = int(sizeof kResetFlags / sizeof kResetFlags[0]);
static_assert(kResetFlagCount == 10, "one legend row per reset-cause flag");

} // namespace

// ---------------------------------------------------------------- texts

QString JournalLoopList(quint8 mask) {
    QString text;
    for (int n = 1; n <= kLoops; ++n) {
        if (mask & (1 << (n - 1)))
            text += QString::number(n) + QStringLiteral(", ");
    }
    text.chop(2);
    return text;
}

QString JournalDateText(quint8 day, quint8 month, quint8 year) {
    QString text;
    AppendPadded(text, day, 1, 0);
    text += QLatin1Char('.');
    AppendPadded(text, month, 4, 3);
    text += QStringLiteral(".20");
    AppendPadded(text, year, 9, 7);
    return text;
}

QString JournalTimeText(quint8 hour, quint8 minute, quint8 second) {
    QString text;
    AppendPadded(text, hour, 1, 0);
    text += QLatin1Char(':');
    AppendPadded(text, minute, 4, 3);
    text += QLatin1Char(':');
    AppendPadded(text, second, 7, 6);
    return text;
}

QString JournalEventText(quint8 code, quint8 p, const QDate& firmware) {
    if (code >= 1 && code <= 8)
        return AlarmText(code);
    switch (code) {
    case 9:
        return ArmingText(p);
    case 13:
        return p == 0 ? QStringLiteral("Есть напряжение 220 Вольт")
                      : QStringLiteral("Нет напряжения 220 Вольт");
    case 14:
        return QStringLiteral("Смена SIM-карты");
    case 15:
        return QStringLiteral("Касание ключём ГБР №") + QString::number(qint8(p));
    case 29:
        return QStringLiteral("Срабатывание тампера");
    case 246:
        return QStringLiteral("Перезапуск микроконтроллера");
    case 247:
        return RelayText(p, firmware);
    case 248:
        return QStringLiteral("Невзятие по ключу ") + QString::number(p & 0x1F) +
               QStringLiteral(" шлейфа ") + QString::number(((p >> 5) & 7) + 1);
    case 249:
        return QStringLiteral("Коррекция времени: ") +
               (p != 0 ? QStringLiteral("новое время") : QStringLiteral("старое время"));
    case 250:
        return QStringLiteral("Первое превышение напряжения питания");
    case 251:
        return QStringLiteral("Переход в режим сна");
    case 252:
        return QStringLiteral("Перезапуск прибора");
    case 253:
        return QStringLiteral("Изменение состояния. Шлейфы на охране: ") +
               (p == 0 ? QStringLiteral(" нет") : JournalLoopList(p));
    case 254: {
        QString text = QStringLiteral("Принудительное действие по ");
        if (p & 0x80)
            return text + QStringLiteral("GPRS.");
        text += (p & 0x40) ? QStringLiteral("CSD. Канал №") : QStringLiteral(" каналу №");
        return text + QString::number(p & 0x3F);
    }
    }
    return kNoData;
}

QColor JournalEventColour(quint8 code) {
    if (code >= 1 && code <= 8)
        return kAlarmColour;
    if (code == 9 || code == 15)
        return kKeyColour;
    if (code == 253)
        return QColor(Qt::yellow);
    return {};
}

// ---------------------------------------------------------------- journal

JournalTable::JournalTable(QObject* parent) : FixedTableModel(16, 2, parent) {}

QVariant JournalTable::data(const QModelIndex& index, int role) const {
    const DeviceStateLog* s = StateLog();
    if (!s || !Inside(index, rows, columns, kJournalRecords))
        return {};
    const int r = index.row();
    const int c = index.column();
    if (!filled) {
        if (role == Qt::TextAlignmentRole)
            return kCentred;
        if (role == Qt::DisplayRole && c != 0)
            return kNoData;
        return {};
    }
    if (c == 0 && r == s->newestJournal && role == Qt::DecorationRole)
        return MarkerIcon();
    if (role == Qt::TextAlignmentRole)
        return kCentred;
    const quint8 code = s->journalEvent[r];
    if (role == Qt::BackgroundRole) {
        const QColor colour = c == eventColumn ? JournalEventColour(code) : QColor();
        return colour.isValid() ? QVariant(colour) : QVariant();
    }
    if (role != Qt::DisplayRole)
        return {};
    if (dateColumns && (c == 1 || c == 2)) {
        if (s->journalMonth[r] == kNoTimeStamp)
            return kNoData;
        return c == 1
                   ? JournalDateText(s->journalDay[r], s->journalMonth[r], s->journalYear[r])
                   : JournalTimeText(s->journalHour[r], s->journalMinute[r], s->journalSecond[r]);
    }
    if (c == eventColumn)
        return JournalEventText(code, s->journalParam[r], FirmwareDate());
    return code == kEmptySlot ? QVariant(kNoData) : QVariant();
}

QVariant JournalTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == Qt::TextAlignmentRole)
        return kCentred;
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (section == eventColumn)
        return QStringLiteral("Событие");
    if (dateColumns && section == 1)
        return QStringLiteral("Дата");
    if (dateColumns && section == 2)
        return QStringLiteral("Время");
    return {};
}

void JournalTable::SetDated(bool dated) {
    beginResetModel();
    dateColumns = dated;
    eventColumn = dated ? 3 : 1;
    columns = dated ? 4 : 2;
    rows = dated ? kJournalRecords : 16;
    endResetModel();
}

// ---------------------------------------------------------------- last state

LastStateTable::LastStateTable(QObject* parent) : FixedTableModel(1, 5, parent) {}

QVariant LastStateTable::data(const QModelIndex& index, int role) const {
    const DeviceStateLog* s = StateLog();
    if (!s || !Inside(index, rows, columns, rows))
        return {};
    if (!filled || role != Qt::DisplayRole) {
        if (role == Qt::TextAlignmentRole)
            return kCentred;
        return role == Qt::DisplayRole ? QVariant(kNoData) : QVariant();
    }
    switch (index.column()) {
    case 0:
        if (s->lastEvent >= 1 && s->lastEvent <= 8)
            return AlarmText(s->lastEvent);
        if (s->lastEvent == 9)
            return s->keyNumber == 0 ? QStringLiteral("Первая постановка")
                                     : QStringLiteral("Постановка по ключу");
        if (s->lastEvent == 254)
            return QStringLiteral("Принудительное действие");
        return kNoData;
    case 1:
        return MaskText(s->alarmMask);
    case 2:
        return MaskText(s->armedMask);
    case 3:
        switch (s->state) {
        case 0:
            return QStringLiteral("Открыто");
        case 1:
            return QStringLiteral("Закрытие");
        case 2:
            return QStringLiteral("Открытие");
        case 3:
            return QStringLiteral("Закрыто");
        }
        return kNoData;
    case 4:
        return s->keyNumber == 0 ? QStringLiteral("Нет") : QString::number(qint8(s->keyNumber));
    }
    return kNoData;
}

QVariant LastStateTable::headerData(int section, Qt::Orientation orientation, int role) const {
    static const char* const kTitles[] = {"Событие", "Шлейфы в тревоге", "Шлейфы в охране",
                                          "Состояние", "Номер ключа"};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= 5)
        return {};
    return QString::fromUtf8(kTitles[section]);
}

// ---------------------------------------------------------------- restarts

ResetFlagsTable::ResetFlagsTable(QObject* parent) : FixedTableModel(8, 11, parent) {}

QVariant ResetFlagsTable::data(const QModelIndex& index, int role) const {
    const DeviceStateLog* s = StateLog();
    if (!s || !Inside(index, rows, columns, kLoops))
        return {};
    const int r = index.row();
    const int c = index.column();
    if (c == 0) {
        if (role == Qt::TextAlignmentRole)
            return kCentred;
        // stateByte is the 1-based number of the record written last.
        if (filled && role == Qt::DecorationRole && s->stateByte - 1 == r)
            return MarkerIcon();
        return {};
    }
    if (c > kResetFlagCount)
        return {};
    return FlagCell(filled, s->loopFlags[r][c - 1], role);
}

QVariant ResetFlagsTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 1 || section > kResetFlagCount)
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromLatin1(kResetFlags[section - 1].name);
    if (role == Qt::ToolTipRole)
        return QString::fromUtf8(kResetFlags[section - 1].meaning);
    return {};
}

NaprFlagsTable::NaprFlagsTable(QObject* parent) : FixedTableModel(8, 2, parent) {}

QVariant NaprFlagsTable::data(const QModelIndex& index, int role) const {
    const DeviceStateLog* s = StateLog();
    if (!s || !Inside(index, rows, columns, kLoops) || index.column() > 1)
        return {};
    // loopBitA marks a supply drop, loopBitB an excess.
    const quint8 flag = index.column() == 0 ? s->loopBitA[index.row()] : s->loopBitB[index.row()];
    return FlagCell(filled, flag, role);
}

QVariant NaprFlagsTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    if (section == 0)
        return QStringLiteral("Снижение");
    if (section == 1)
        return QStringLiteral("Превышение");
    return {};
}

LegendTable::LegendTable(QObject* parent) : FixedTableModel(10, 2, parent) {}

QVariant LegendTable::data(const QModelIndex& index, int role) const {
    if (!Inside(index, rows, columns, kResetFlagCount))
        return {};
    const ResetFlag& f = kResetFlags[index.row()];
    if (index.column() == 0) {
        if (role == Qt::DisplayRole)
            return QString::fromLatin1(f.name);
        if (role == Qt::TextAlignmentRole)
            return kCentred;
        return {};
    }
    if (index.column() == 1 && role == Qt::DisplayRole)
        return QString::fromUtf8(f.meaning);
    return {};
}

QVariant LegendTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    if (section == 0)
        return QStringLiteral("Флаг");
    if (section == 1)
        return QStringLiteral("Назначение");
    return {};
}
