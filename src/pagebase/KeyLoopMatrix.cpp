#include "pagebase/KeyLoopMatrix.h"

KeyLoopTable KeyLoopMatrix{};

QString KeyNameColumnTitle(int column) {
    switch (column) {
    case 0:
        return QStringLiteral("Имя ключа");
    case 1:
        return QStringLiteral("Имя в EEPROM");
    default:
        return {};
    }
}
