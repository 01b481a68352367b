#pragma once

#include <QString>
#include <QStringList>

// Files and folders the program finds by bare names in the working directory.
inline constexpr const char* kProgramStateFile = "Settings.cfg";
inline constexpr const char* kProgramStateGroup = "Settings";
inline constexpr const char* kLastPathKey = "LastPath";
inline constexpr const char* kTemplatesFolder = "templates";
inline constexpr const char* kTemplateSuffix = ".tmpl";

// Names of the templates of `folder`: its "*.tmpl" files (files only),
// sorted by name, each without the suffix. Empty when the folder is missing
// or holds none. The suffix is matched case-sensitively, so every listed name
// turns back into a file that exists (TemplateFilePath).
QStringList TemplateNames(const QString& folder = QString::fromLatin1(kTemplatesFolder));

// "templates/" + name + ".tmpl".
QString TemplateFilePath(const QString& name,
                         const QString& folder = QString::fromLatin1(kTemplatesFolder));

// The folder part of a chosen file: everything up to and including the last
// "/" or "\"; empty when the path has no separator.
QString FolderOfPath(const QString& path);

// Reads the last-used folder from the program state file. A missing file
// returns false and leaves lastPath alone. Otherwise lastPath becomes the
// stored folder, or empty when the key is absent or the folder no longer
// exists, and the result is true. A file written on Windows in its 8-bit code
// page (not valid UTF-8) is read as Windows-1251.
bool ReadLastPath(QString& lastPath,
                  const QString& fileName = QString::fromLatin1(kProgramStateFile));

// Stores lastPath in the program state file, keeping whatever else the file
// holds, and replaces the file atomically. False when the file could not be
// written; the old file is then left as it was.
bool WriteLastPath(const QString& lastPath,
                   const QString& fileName = QString::fromLatin1(kProgramStateFile));

// The last-used folder after a file dialog's open or save: the folder of the
// chosen file when the operation succeeded, else the folder it was before.
QString LastPathAfter(const QString& lastPath, const QString& chosenFile, bool succeeded);
