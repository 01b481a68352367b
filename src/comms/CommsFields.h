#pragma once

#include "settings/DeviceSettings.h"

#include <QByteArray>
#include <QString>

class QComboBox;
class QLineEdit;
class QValidator;
class QObject;

// Helpers that the phone-link and SMS pages share: the masked number fields,
// the four-digit object number and the yes/no combo boxes.

// Input mask of every phone number field: ten optional digits 3-3-2-2.
inline constexpr const char* kPhoneMask = "000-000-00-00;*";

// The ten digits a number field stands for: each blank digit place (shown as
// "*") becomes 0 and the dashes go, so an empty field gives ten zeros.
QString NumberFromField(const QLineEdit* field);
// Shows stored digits in a number field; the mask lays them out 3-3-2-2.
void ShowNumber(QLineEdit* field, const QString& digits);

// The object number as the device keeps it: four ASCII digits, the value cut
// to its last four (7 gives "0007").
QByteArray ObjectNumberText(int value);
// The stored object number as a value; 0 when the text is not a number.
int ObjectNumberValue(const QByteArray& text);

// A yes/no combo: "Да" (item 0, stored as 1) and "Нет" (item 1, stored as 0).
// Filling selects "Нет".
void FillYesNo(QComboBox* combo);
void LoadYesNo(QComboBox* combo, int flag);
// Stores "Да" as 1 and every other item as 0. With no item shown (an empty
// list) the flag keeps its value.
void StoreYesNo(const QComboBox* combo, u8& flag);

// Latin letters and digits only, for the names and texts sent by SMS.
QValidator* LatinNameValidator(QObject* parent);
