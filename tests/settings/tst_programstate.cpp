#include "settings/ProgramState.h"
#include "settings/TextCodec.h"

#include <QtTest>

namespace {
bool writeFile(const QString& name, const QByteArray& bytes) {
    QFile f(name);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}
QByteArray readFile(const QString& name) {
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

class TstProgramState : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void folderOfPath_data();
    void folderOfPath();
    void lastPathAfter();
    void templates_data();
    void templates();
    void readMissing();
    void roundTrip_data();
    void roundTrip();
    void readDropsVanishedFolder();
    void readWindowsCodePage();
    void writeKeepsOtherGroups();
    void writeFailureKeepsOldFile();

private:
    QTemporaryDir* dir_ = nullptr;
    QString oldCwd_;
};

void TstProgramState::init() {
    oldCwd_ = QDir::currentPath();
    dir_ = new QTemporaryDir;
    QVERIFY(dir_->isValid());
    QVERIFY(QDir::setCurrent(dir_->path()));
}

void TstProgramState::cleanup() {
    QDir::setCurrent(oldCwd_);
    delete dir_;
    dir_ = nullptr;
}

void TstProgramState::folderOfPath_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("folder");
    QTest::newRow("unix") << "/home/u/cfg/a.ini"
                          << "/home/u/cfg/";
    QTest::newRow("windows") << "C:\\Users\\u\\a.ini"
                             << "C:\\Users\\u\\";
    QTest::newRow("mixed, last wins") << "C:/data\\sub/x.ini"
                                      << "C:/data\\sub/";
    QTest::newRow("root") << "/a.ini"
                          << "/";
    QTest::newRow("no separator") << "a.ini"
                                  << "";
    QTest::newRow("ends in separator") << "/tmp/"
                                       << "/tmp/";
    QTest::newRow("empty") << ""
                           << "";
}

void TstProgramState::folderOfPath() {
    QFETCH(QString, path);
    QFETCH(QString, folder);
    QCOMPARE(FolderOfPath(path), folder);
}

void TstProgramState::lastPathAfter() {
    QCOMPARE(LastPathAfter("/old/", "/new/dir/a.ini", true), QString("/new/dir/"));
    // A failed save must not move the folder the next dialog starts in.
    QCOMPARE(LastPathAfter("/old/", "/new/dir/a.ini", false), QString("/old/"));
    QCOMPARE(LastPathAfter("", "/new/dir/a.ini", false), QString());
}

void TstProgramState::templates_data() {
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("dirs");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("b, a and a text file")
        << QStringList{"b.tmpl", "a.tmpl", "notes.txt"} << QStringList{} << QStringList{"a", "b"};
    QTest::newRow("only other files") << QStringList{"x.ini"} << QStringList{} << QStringList{};
    QTest::newRow("empty folder") << QStringList{} << QStringList{} << QStringList{};
    QTest::newRow("folder named like a template")
        << QStringList{"z.tmpl"} << QStringList{"dir.tmpl"} << QStringList{"z"};
    QTest::newRow("capitals sort first, Cyrillic kept")
        << QStringList{"b.tmpl", "B.tmpl", "Объект.tmpl", "a.tmpl.bak"} << QStringList{}
        << QStringList{"B", "b", "Объект"};
    QTest::newRow("suffix case must match")
        << QStringList{"UP.TMPL", "low.tmpl"} << QStringList{} << QStringList{"low"};
}

void TstProgramState::templates() {
    QFETCH(QStringList, files);
    QFETCH(QStringList, dirs);
    QFETCH(QStringList, names);
    QVERIFY(QDir().mkdir("templates"));
    for (const QString& f : files)
        QVERIFY(writeFile("templates/" + f, "[x]\n"));
    for (const QString& d : dirs)
        QVERIFY(QDir().mkdir("templates/" + d));
    QCOMPARE(TemplateNames(), names);
    for (const QString& n : names)
        QVERIFY(QFileInfo::exists(TemplateFilePath(n)));
}

void TstProgramState::readMissing() {
    QCOMPARE(TemplateNames(), QStringList());
    QString last = "keep/";
    QVERIFY(!ReadLastPath(last));
    QCOMPARE(last, QString("keep/"));
}

void TstProgramState::roundTrip_data() {
    QTest::addColumn<QString>("sub");
    QTest::newRow("plain") << "cfg";
    QTest::newRow("Cyrillic and blanks") << "Настройки объектов";
    QTest::newRow("INI specials") << "a;b,c=d \"q\"";
}

void TstProgramState::roundTrip() {
    QFETCH(QString, sub);
    QVERIFY(QDir().mkdir(sub));
    const QString folder = QDir::current().absoluteFilePath(sub) + "/";
    QVERIFY(WriteLastPath(folder));
    QString last = "before";
    QVERIFY(ReadLastPath(last));
    QCOMPARE(last, folder);
    // Written as UTF-8, as every INI file of the program.
    QVERIFY(IsValidUtf8(readFile("Settings.cfg")));
}

void TstProgramState::readDropsVanishedFolder() {
    QVERIFY(QDir().mkdir("gone"));
    QVERIFY(WriteLastPath(QDir::current().absoluteFilePath("gone") + "/"));
    QVERIFY(QDir().rmdir("gone"));
    QString last = "before";
    QVERIFY(ReadLastPath(last));
    QCOMPARE(last, QString());

    // A file without the key gives an empty folder as well.
    QVERIFY(writeFile("Settings.cfg", "[Other]\nx=1\n"));
    last = "before";
    QVERIFY(ReadLastPath(last));
    QCOMPARE(last, QString());
}

void TstProgramState::readWindowsCodePage() {
    const QString sub = "Объекты";
    QVERIFY(QDir().mkdir(sub));
    const QString folder = QDir::current().absoluteFilePath(sub) + "/";
    QVERIFY(writeFile("Settings.cfg", "[Settings]\r\nLastPath=" + ToCp1251(folder) + "\r\n"));
    QVERIFY(!IsValidUtf8(readFile("Settings.cfg")));
    QString last;
    QVERIFY(ReadLastPath(last));
    QCOMPARE(last, folder);
}

void TstProgramState::writeKeepsOtherGroups() {
    QVERIFY(writeFile("Settings.cfg", "[Window]\r\nGeometry=10\r\n[Settings]\r\nLastPath=/x/\r\n"));
    QVERIFY(WriteLastPath("/"));
    QSettings s("Settings.cfg", QSettings::IniFormat);
    QCOMPARE(s.value("Window/Geometry").toInt(), 10);
    QCOMPARE(s.value("Settings/LastPath").toString(), QString("/"));
}

void TstProgramState::writeFailureKeepsOldFile() {
    // No folder to write into, and a state file name taken by a folder.
    QVERIFY(!WriteLastPath("/new/", "missing/Settings.cfg"));
    QVERIFY(!QFileInfo::exists("missing"));
    QVERIFY(QDir().mkdir("Settings.cfg"));
    QVERIFY(!WriteLastPath("/new/"));
    QVERIFY(QFileInfo("Settings.cfg").isDir());

    // A read-only folder: the old file stays as it was.
    QVERIFY(QDir().mkdir("ro"));
    const QByteArray old = "[Settings]\nLastPath=/old/\n";
    QVERIFY(writeFile("ro/Settings.cfg", old));
    QFile::setPermissions("ro", QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const bool enforced = !QFileInfo("ro").isWritable();
    const bool written = WriteLastPath("/new/", "ro/Settings.cfg");
    QFile::setPermissions("ro",
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (!enforced)
        QSKIP("folder permissions are not enforced for this user");
    QVERIFY(!written);
    QCOMPARE(readFile("ro/Settings.cfg"), old);
}

QTEST_GUILESS_MAIN(TstProgramState)
#include "tst_programstate.moc"
