#include "settings/ProgramState.h"

#include "settings/TextCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QTemporaryDir>

namespace {

QString keyPath() {
    return QString::fromLatin1(kProgramStateGroup) + QLatin1Char('/') +
           QString::fromLatin1(kLastPathKey);
}

// QSettings reads INI files as UTF-8 only. A state file from a Windows
// installation may be in Windows-1251; such content is handed to QSettings
// as UTF-8 through a scratch copy, so its parser and escaping rules apply.
bool copyAsUtf8(const QByteArray& bytes, const QString& target) {
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    const QByteArray utf8 = IsValidUtf8(bytes) ? bytes : FromCp1251(bytes).toUtf8();
    return out.write(utf8) == utf8.size();
}

bool readAll(const QString& fileName, QByteArray& bytes) {
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    bytes = f.readAll();
    return true;
}

} // namespace

QStringList TemplateNames(const QString& folder) {
    QDir dir(folder);
    if (!dir.exists())
        return {};
    const QString suffix = QString::fromLatin1(kTemplateSuffix);
    const QStringList files =
        dir.entryList({QLatin1Char('*') + suffix}, QDir::Files | QDir::CaseSensitive, QDir::Name);
    QStringList names;
    for (const QString& f : files)
        names.append(f.chopped(suffix.size()));
    return names;
}

QString TemplateFilePath(const QString& name, const QString& folder) {
    return folder + QLatin1Char('/') + name + QString::fromLatin1(kTemplateSuffix);
}

QString FolderOfPath(const QString& path) {
    const int cut = qMax(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.left(cut + 1);
}

bool ReadLastPath(QString& lastPath, const QString& fileName) {
    QByteArray bytes;
    if (!QFileInfo::exists(fileName) || !readAll(fileName, bytes))
        return false;

    QString value;
    if (IsValidUtf8(bytes)) {
        QSettings s(fileName, QSettings::IniFormat);
        value = s.value(keyPath()).toString();
    } else {
        QTemporaryDir scratch;
        const QString copy = scratch.filePath(QStringLiteral("state.ini"));
        if (scratch.isValid() && copyAsUtf8(bytes, copy)) {
            QSettings s(copy, QSettings::IniFormat);
            value = s.value(keyPath()).toString();
        }
    }
    // A folder that has gone since the last run would only make the next
    // file dialog start somewhere arbitrary.
    lastPath = !value.isEmpty() && QDir(value).exists() ? value : QString();
    return true;
}

bool WriteLastPath(const QString& lastPath, const QString& fileName) {
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return false;
    const QString copy = scratch.filePath(QStringLiteral("state.ini"));

    QByteArray old;
    if (QFileInfo::exists(fileName) && readAll(fileName, old) && !copyAsUtf8(old, copy))
        return false;
    {
        QSettings s(copy, QSettings::IniFormat);
        s.setValue(keyPath(), lastPath);
        s.sync();
        if (s.status() != QSettings::NoError)
            return false;
    }
    QByteArray content;
    if (!readAll(copy, content))
        return false;

    QSaveFile out(fileName);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    if (out.write(content) != content.size()) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

QString LastPathAfter(const QString& lastPath, const QString& chosenFile, bool succeeded) {
    return succeeded ? FolderOfPath(chosenFile) : lastPath;
}
