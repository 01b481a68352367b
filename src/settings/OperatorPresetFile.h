#pragma once

#include "settings/DeviceSettings.h"

#include <QList>
#include <QString>

// "GSM.cfg": the GSM operator presets, one INI group per operator, keys
// "name", "initstring", "login", "password" and "Ussd". Read and written under
// the rules of IniFileStore (UTF-8 written, a Windows-1251 file still read);
// every write is atomic.
//
// Which groups make the list is decided in one place for reading, appending,
// editing and rewriting: the groups named by a decimal number without sign or
// leading zero ("0", "1", "17"), in the order of their numbers. A file made by
// this program numbers them "0".."n-1"; a hand-edited one may have gaps, and
// its other groups and keys are not operators but are kept by every write.
class OperatorPresetFile {
public:
    static const char* const kFileName; // "GSM.cfg"
    // The name an operator gets when the file has none for it.
    static QString unknownName(); // "Неизвестный"

    // The file "GSM.cfg" in `directory` (empty: the working directory).
    explicit OperatorPresetFile(const QString& directory = QString());

    QString fileName() const { return m_fileName; }
    bool exists() const;

    // Replaces *list by the file's operators, one per operator group in
    // order (one empty operator when it has none); a missing key reads as
    // empty text, an empty name as unknownName(). False, with *list
    // untouched, when the file is missing or cannot be read.
    bool read(QList<GsmOperator>* list) const;

    // Rewrites the operators from the list as groups "0".."n-1"; every group
    // and key that is not an operator stays as it was.
    bool write(const QList<GsmOperator>& list) const;

    // Writes the operator at list position `index` into the group that holds
    // that position, leaving every other group as it is; a position the file
    // does not reach yet becomes a new group after the last one.
    bool writeOperator(int index, const GsmOperator& op) const;

    // Appends op to *list and to the file as a new group after the last one,
    // so the next read finds it at the end and no group is overwritten.
    // Operators of the list that the file lacks before it (the placeholder
    // a file without groups reads as) are written first, so positions agree.
    // The list grows even when the file cannot be written (false then).
    bool append(QList<GsmOperator>* list, const GsmOperator& op) const;

private:
    QString m_fileName;
};
