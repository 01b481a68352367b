#include "settings/ProgramState.h"
#include "settings/TextCodec.h"
#include "support/Files.h"

#include <QtTest>

#include <optional>

class TstProgramState : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void folderOfPath();
    void templates_data();
    void templates();
    void readLastPath_data();
    void readLastPath();
    void writeThenRead();
    void writeFailureKeepsOldFile();

private:
    std::optional<TempWorkDir> dir_;
};

void TstProgramState::init() {
    dir_.emplace();
    QVERIFY(dir_->isValid());
}

void TstProgramState::cleanup() {
    dir_.reset();
}

void TstProgramState::folderOfPath() {
    const QList<QPair<QString, QString>> cases = {{"/home/u/cfg/a.ini", "/home/u/cfg/"},
                                                  {"C:\\Users\\u\\a.ini", "C:\\Users\\u\\"},
                                                  {"C:/data\\sub/x.ini", "C:/data\\sub/"},
                                                  {"/a.ini", "/"},
                                                  {"a.ini", ""},
                                                  {"", ""}};
    for (const auto& c : cases)
        QCOMPARE(FolderOfPath(c.first), c.second);
    QCOMPARE(LastPathAfter("/old/", "/new/dir/a.ini", true), QString("/new/dir/"));
    // A failed open or save must not move the folder the next dialog starts in.
    QCOMPARE(LastPathAfter("/old/", "/new/dir/a.ini", false), QString("/old/"));
}

void TstProgramState::templates_data() {
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("no folder") << QStringList{"-"} << QStringList{};
    QTest::newRow("b, a and a text file")
        << QStringList{"b.tmpl", "a.tmpl", "notes.txt"} << QStringList{"a", "b"};
    // A folder named like a template is not one; capitals sort first; the
    // suffix case must match so that every name turns back into its file.
    QTest::newRow("folder, case, Cyrillic")
        << QStringList{"dir.tmpl/", "b.tmpl", "B.tmpl", "Объект.tmpl", "a.tmpl.bak", "UP.TMPL"}
        << QStringList{"B", "b", "Объект"};
}

void TstProgramState::templates() {
    QFETCH(QStringList, files);
    QFETCH(QStringList, names);
    if (files != QStringList{"-"})
        QVERIFY(QDir().mkdir("templates"));
    for (const QString& f : files) {
        if (f.endsWith('/'))
            QVERIFY(QDir().mkdir("templates/" + f));
        else if (f != "-")
            QVERIFY(WriteAll("templates/" + f, "[x]\n"));
    }
    QCOMPARE(TemplateNames(), names);
    for (const QString& n : names)
        QVERIFY(QFileInfo::exists(TemplateFilePath(n)));
}

void TstProgramState::readLastPath_data() {
    QTest::addColumn<QByteArray>("content"); // null: no file
    QTest::addColumn<QString>("folder");     // created before reading; "" none
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no file") << QByteArray() << "" << false << "keep/";
    QTest::newRow("no key") << QByteArray("[Other]\nx=1\n") << "" << true << "";
    QTest::newRow("vanished folder")
        << QByteArray("[Settings]\nLastPath=/no/such/folder/\n") << "" << true << "";
    // A file written on Windows in its 8-bit code page.
    QTest::newRow("Windows-1251") << ToCp1251(
                                         QStringLiteral("[Settings]\r\nLastPath=@/Объекты/\r\n"))
                                  << "Объекты" << true << "@/Объекты/";
}

void TstProgramState::readLastPath() {
    QFETCH(QByteArray, content);
    QFETCH(QString, folder);
    QFETCH(QString, expected);
    const QString here = QDir::currentPath();
    if (!folder.isEmpty())
        QVERIFY(QDir().mkdir(folder));
    if (!content.isNull())
        QVERIFY(WriteAll("Settings.cfg", content.replace('@', here.toUtf8())));
    QString last = "keep/";
    QTEST(ReadLastPath(last), "exists");
    QCOMPARE(last, expected.replace('@', here));
}

// Written as UTF-8, keeping the file's other groups; read back the same,
// also twice within one second.
void TstProgramState::writeThenRead() {
    QVERIFY(WriteAll("Settings.cfg", "[Window]\r\nGeometry=10\r\n[Settings]\r\nLastPath=/x/\r\n"));
    for (const char* sub : {"Настройки объектов", "a;b,c=d \"q\"", "c1", "c2"}) {
        QVERIFY(QDir().mkdir(sub));
        const QString folder = QDir::current().absoluteFilePath(sub) + "/";
        QVERIFY(WriteLastPath(folder));
        QString last;
        QVERIFY(ReadLastPath(last));
        QCOMPARE(last, folder);
    }
    QVERIFY(IsValidUtf8(ReadAll("Settings.cfg")));
    QVERIFY(ReadAll("Settings.cfg").contains("Geometry=10"));
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
    QVERIFY(WriteAll("ro/Settings.cfg", old));
    QFile::setPermissions("ro", QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const bool enforced = !QFileInfo("ro").isWritable();
    const bool written = WriteLastPath("/new/", "ro/Settings.cfg");
    QFile::setPermissions("ro",
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (!enforced)
        QSKIP("folder permissions are not enforced for this user");
    QVERIFY(!written);
    QCOMPARE(ReadAll("ro/Settings.cfg"), old);
}

QTEST_GUILESS_MAIN(TstProgramState)
#include "tst_programstate.moc"
