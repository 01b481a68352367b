#include "wizard/WizardRules.h"

#include "settings/DeviceSettings.h"
#include "settings/Firmware.h"

namespace wizard {

namespace {
bool Same(const QDate& date, const char* release) {
    return FwEquals(date, release);
}
bool OnOrAfter(const QDate& date, const char* release) {
    return FwOnOrAfter(date, release);
}
bool InRange(int v, int lo, int hi) {
    return v >= lo && v <= hi;
}
} // namespace

VersionInfo ReadVersion(const QString& version) {
    VersionInfo v;
    v.date = StrToDate(version.left(10));
    v.hasBuild = version.size() > 10;
    bool ok = false;
    const int build = version.right(2).toInt(&ok, 10);
    v.build = ok ? build : 0;
    return v;
}

bool CamerasPageShown(int deviceType, const QString& version) {
    if (deviceType != DEV_VororaZ && deviceType != DEV_VoduzeR)
        return false;
    const VersionInfo v = ReadVersion(version);
    return v.hasBuild && (InRange(v.build, 31, 34) || InRange(v.build, 59, 66));
}

bool ThreeLoopFirmware(const QString& version) {
    const VersionInfo v = ReadVersion(version);
    return v.hasBuild &&
           ((Same(v.date, fw::k03_12_2010) && v.build >= 11) || OnOrAfter(v.date, fw::k16_05_2012));
}

int OutputLoopCount(int deviceType, const QString& version) {
    switch (deviceType) {
    case DEV_D4M:
        return 4;
    case DEV_D8M:
        return 8;
    case DEV_VororaZ:
        // The loops the loop page offers: no output is bound to a loop the
        // device lacks.
        return ThreeLoopFirmware(version) ? 3 : 6;
    case DEV_VoduzeR:
        return 2;
    default:
        return 0;
    }
}

QStringList OutputFunctions(int deviceType, const QString& version) {
    const VersionInfo v = ReadVersion(version);
    QStringList items{QStringLiteral("0 - не используется"), QStringLiteral("1 - свет"),
                      QStringLiteral("2 - сирена"), QStringLiteral("3 - ПЦН")};
    const bool noUserFunction =
        deviceType == DEV_D4M && (Same(v.date, fw::k01_12_2010) || Same(v.date, fw::k09_05_2012));
    if (!noUserFunction)
        items << QStringLiteral("4 - пользовательский");
    items << QStringLiteral("5 - импульсный");
    const bool build03 = Same(v.date, fw::k03_12_2010) && v.hasBuild;
    if (build03 && (InRange(v.build, 11, 16) || v.build >= 23))
        items << QStringLiteral("6 - индикатор ТМ");
    if (build03 && (InRange(v.build, 31, 34) || InRange(v.build, 59, 66)))
        items << QStringLiteral("7 - ин. очередь занята")
              << QStringLiteral("8 - ин. очередь свободна");
    return items;
}

int OutputFunction(const QString& itemText) {
    int i = 0;
    while (i < itemText.size() && itemText.at(i).isDigit())
        ++i;
    return itemText.left(i).toInt();
}

bool ShortPasswords(const QString& version) {
    const QDate date = ReadVersion(version).date;
    return Same(date, fw::k03_12_2010) || OnOrAfter(date, fw::k16_05_2012);
}

QString ShownPassword(const QString& stored, bool shortForm) {
    return shortForm ? stored.right(2) : stored;
}

QString StoredPassword(const QString& displayed, bool shortForm) {
    QString stored = shortForm ? QStringLiteral("FF") + displayed : displayed;
    stored.replace(QLatin1Char('#'), QLatin1Char('0'));
    return stored;
}

const QStringList& ModelNames() {
    static const QStringList names{QStringLiteral("Дорна-4М"), QStringLiteral("Дорна-8М"),
                                   QStringLiteral("Мирвел"), QStringLiteral("Мирвел-К")};
    return names;
}

int SmsChoice(bool thisNumber, bool otherNumbers) {
    if (thisNumber && otherNumbers)
        return 2;
    if (thisNumber)
        return 0;
    if (otherNumbers)
        return 1;
    return 3;
}

bool SmsFlags(int choice, bool& thisNumber, bool& otherNumbers) {
    switch (choice) {
    case 0:
        thisNumber = true, otherNumbers = false;
        return true;
    case 1:
        thisNumber = false, otherNumbers = true;
        return true;
    case 2:
        thisNumber = true, otherNumbers = true;
        return true;
    case 3:
        thisNumber = false, otherNumbers = false;
        return true;
    default:
        return false;
    }
}

} // namespace wizard
