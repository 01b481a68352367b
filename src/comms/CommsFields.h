#pragma once

#include "settings/DeviceSettings.h"

#include <QByteArray>
#include <QComboBox>
#include <QString>

class QLineEdit;
class QValidator;
class QObject;

// Field forms that the link, SMS and network pages share, so every page
// stores them the way the section builders read them: the masked phone
// numbers, the four-digit object number, the yes/no combo boxes, the time
// zones, server addresses and ports.

// The ten digits a masked number field (ten optional digits 3-3-2-2) stands
// for: each blank digit place (shown as "*") becomes 0 and the dashes go, so
// an empty field gives ten zeros.
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

// Fills a time zone combo ("+0".."+12") and has `page` emit `changed` with
// each zone the combo comes to show. No item (a stored zone outside the list)
// is not passed on: Qt 6.4 can report -1 again when a combo showing no item is
// set to -1, and the twin pages would echo it forever. Each page loads the
// stored zone itself.
template <class Page>
void SetUpTimeZones(QComboBox* combo, Page* page, void (Page::*changed)(int)) {
    for (int zone = 0; zone <= 12; ++zone)
        combo->addItem(QStringLiteral("+%1").arg(zone));
    QObject::connect(combo, &QComboBox::currentIndexChanged, page, [page, changed](int zone) {
        if (zone >= 0)
            emit(page->*changed)(zone);
    });
}

// A port as the device takes it: exactly five decimal digits (80 -> "00080").
QString PortText(int port);
// A stored port text as a number; 0 when it is not a number.
int PortValue(const QString& text);
// A stored server address with each of its four groups padded to three digits
// ("10.0.0.1" -> "010.000.000.001"); anything else in the 15-character form the
// device reads.
QString PaddedIpText(const QString& address);
// Gives an address field the validator of four dot-separated groups 0..255.
void SetIpv4Validator(QLineEdit* edit);
