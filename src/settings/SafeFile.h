#pragma once

#include <QByteArray>
#include <QString>

// Replaces `path` with `bytes` in one step: either the whole new content is
// there afterwards, or the old file is left byte-identical and false comes
// back. QSaveFile::commit() alone is not enough on Qt 6.4: it can report
// success after its final flush failed (a full disk fails small files only
// at that flush), which would leave an empty file behind.
bool WriteFileAtomically(const QString& path, const QByteArray& bytes);
