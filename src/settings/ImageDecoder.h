#pragma once

#include <QByteArray>
#include <QString>

class DeviceSettings;
struct GsmOperator;

// Decoding of a device memory image (a memory read, or an "*.image" file)
// into the settings. The image's layout is the memory map of ImageLayout.h;
// which regions exist depends on DeviceHeader::firmwareDate as it stands in
// the settings, since the image itself carries no version.

// One ':'-separated field of a text region as the device memory keeps it: it
// ends at the first ':' within maxLen bytes; a field of maxLen bytes has no
// ':' and the next field starts right after it.
struct ImageTextField {
    QByteArray text; // without its ':'
    int next = 0;    // where the next field starts
    // The field lies wholly inside the image. A field cut off by the image's
    // end is not complete, and neither is anything after it.
    bool complete = false;
};
ImageTextField ReadImageTextField(const QByteArray& image, int start, int maxLen);

// Decodes `image` into `settings` region by region under the firmware gates,
// then empties `image`. Nothing is reset first: a field the image does not
// carry, or that lies beyond the end of a short image, keeps its value.
// `operatorDir` is put before "GSM.cfg" when an unknown access point adds an
// operator (empty: the working directory). Always returns true.
bool ParseImage(QByteArray& image, DeviceSettings* settings, const QString& operatorDir);

// The device state and the event journal (DeviceStateLog). Always true.
bool ParseImageSubBlock(const QByteArray& image, DeviceSettings* settings);

// Appends an operator named "Неизвестный" carrying the decoded access point,
// login, password and USSD code of `decoded` (its name is ignored), then
// records it in "GSM.cfg" under its new index. Returns that index.
int AddUnknownGsmOperator(const QString& directory, DeviceSettings* settings,
                          const GsmOperator& decoded);
