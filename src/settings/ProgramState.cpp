#include "settings/ProgramState.h"

#include "settings/SettingsIniFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

QString keyPath() {
    return QString::fromLatin1(kProgramStateGroup) + QLatin1Char('/') +
           QString::fromLatin1(kLastPathKey);
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
    if (!QFileInfo::exists(fileName))
        return false;
    // A state file written on Windows may be in Windows-1251; the store reads
    // it as such.
    const IniFileStore store(fileName);
    if (!store.isOpen())
        return false;
    const QString value = store.settings()->value(keyPath()).toString();
    // A folder that has gone since the last run would only make the next
    // file dialog start somewhere arbitrary.
    lastPath = !value.isEmpty() && QDir(value).exists() ? value : QString();
    return true;
}

bool WriteLastPath(const QString& lastPath, const QString& fileName) {
    IniFileStore store(fileName);
    if (!store.isOpen())
        return false;
    store.settings()->setValue(keyPath(), lastPath);
    return store.commit();
}

QString LastPathAfter(const QString& lastPath, const QString& chosenFile, bool succeeded) {
    return succeeded ? FolderOfPath(chosenFile) : lastPath;
}
