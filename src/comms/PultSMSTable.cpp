#include "comms/PultSMSTable.h"

#include "settings/DeviceSettings.h"

#include <algorithm>

namespace {
constexpr const char* kRowHeaders[kConsoleEvents] = {
    "Постановка на охрану",
    "Снятие с охраны",
    "Тревога",
    "Невзятие",
    "Отсутствие 220 В",
    "Восстановление 220 В",
    "Питание ниже 9,5 В",
    "Питание восстановлено",
    "Срабатывание тампера",
};
} // namespace

PultSMSTable::PultSMSTable(int rows, int columns, QObject* parent)
    : CheckTableModel(std::clamp(rows, 0, kConsoleEvents), 0, std::clamp(columns, 0, kMainNumbers),
                      parent) {}

QString PultSMSTable::EventName(int event) {
    return event >= 0 && event < kConsoleEvents ? QString::fromUtf8(kRowHeaders[event]) : QString();
}

QString PultSMSTable::columnTitle(int column) const {
    return QString::number(column + 1);
}

QString PultSMSTable::rowTitle(int row) const {
    return EventName(row);
}
