#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <utility>

// The wizard's rules that need no window: what a version text allows, and the
// conversions between its controls' texts and the settings fields.
namespace wizard {

// A version text "dd.MM.yyyy", optionally "/" and a build, read afresh at each
// test: a text that is no date gives a null date, earlier than every release;
// the build is the last two characters, 0 when they are no number.
struct VersionInfo {
    QDate date;
    bool hasBuild = false;
    int build = 0;
};
VersionInfo ReadVersion(const QString& version);

// Whether the cameras page follows the outputs page.
bool CamerasPageShown(int deviceType, const QString& version);
// Whether the six-loop model has only three loops in this firmware.
bool ThreeLoopFirmware(const QString& version);
// How many loops an output of the console function may be bound to.
int OutputLoopCount(int deviceType, const QString& version);
// The output functions the model and firmware offer, in list order.
QStringList OutputFunctions(int deviceType, const QString& version);
// The function an output item stands for: the number its text begins with,
// 0 for no item.
int OutputFunction(const QString& itemText);

// Output passwords are two characters (stored behind "FF") for the exact
// 03.12.2010 release and from 16.05.2012 on; four characters otherwise.
bool ShortPasswords(const QString& version);
QString ShownPassword(const QString& stored, bool shortForm);
// The stored password of a field's displayed text ('#' marks a blank).
QString StoredPassword(const QString& displayed, bool shortForm);

// The four models, in the order of their device types.
const QStringList& ModelNames();

// The SMS-on-arming choice of a number and its two flags (this number, other
// numbers): 0 this, 1 other, 2 both, 3 none.
int SmsChoice(bool thisNumber, bool otherNumbers);
// The flags of a choice; nothing for an index outside the four.
bool SmsFlags(int choice, bool& thisNumber, bool& otherNumbers);

} // namespace wizard
