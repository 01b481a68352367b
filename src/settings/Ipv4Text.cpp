#include "settings/Ipv4Text.h"

#include <QStringList>

bool IsLiteralIpv4(const QString& text) {
    const QStringList groups = text.split(QLatin1Char('.'));
    if (groups.size() != 4)
        return false;
    for (const QString& g : groups) {
        if (g.isEmpty() || g.size() > 3)
            return false;
        for (QChar c : g) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return false;
        }
        if (g.toInt() > 255)
            return false;
    }
    return true;
}
