#pragma once

#include "settings/DeviceSettings.h"

#include <QList>
#include <QString>

// "GSM.cfg": the GSM operator presets, one INI group per operator named by its
// position in the list ("0", "1", ...), keys "name", "initstring", "login",
// "password" and "Ussd". Read and written under the rules of IniFileStore
// (UTF-8 written, a Windows-1251 file still read); every write is atomic.
class OperatorPresetFile {
public:
    static const char* const kFileName; // "GSM.cfg"
    // The name an operator gets when the file has none for it.
    static QString unknownName(); // "Неизвестный"

    // The file "GSM.cfg" in `directory` (empty: the working directory).
    explicit OperatorPresetFile(const QString& directory = QString());

    QString fileName() const { return m_fileName; }
    bool exists() const;

    // Replaces *list by the file's operators: as many as the file has groups
    // (one empty operator when it has none), read from the groups "0".."n-1"
    // by number; a missing key reads as empty text, an empty name as
    // unknownName(). False, with *list untouched, when the file is missing or
    // cannot be read.
    bool read(QList<GsmOperator>* list) const;

    // Rewrites the whole file from the list: groups "0".."n-1" and nothing
    // else, so the numbering has no gaps after a deletion.
    bool write(const QList<GsmOperator>& list) const;

    // Writes one operator's group and leaves every other group as it is.
    bool writeOperator(int index, const GsmOperator& op) const;

    // Appends op to *list and writes it as the group of its new index.
    // The list grows even when the file cannot be written (false then).
    bool append(QList<GsmOperator>* list, const GsmOperator& op) const;

private:
    QString m_fileName;
};
