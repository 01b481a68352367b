// Every file writer on a file system that refuses the write: a full disk
// (a file-size limit in a child process, so that writing past it fails as it
// does on a full disk), a read-only folder and a target that is a folder.
// The writer must report the failure and leave the old file byte-identical.

#include "settings/DeviceSettings.h"
#include "settings/ImageEEPROM.h"
#include "settings/OperatorPresetFile.h"
#include "settings/ProgramState.h"
#include "settings/SafeFile.h"
#include "settings/SettingsIniFile.h"
#include "support/Files.h"
#include "support/ScriptedPrompt.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

#include <csignal>
#include <cstdio>
#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

enum Condition { Room, FullFromStart, FullPastOld, ReadOnlyFolder, TargetIsFolder };

// What the child reports about the writer's run.
enum Outcome { Succeeded = 1, Warned = 2, Informed = 4 };

// Folder permissions do not bind the superuser; without these capabilities
// they do.
void DropPermissionOverride() {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct caps[2]{};
    if (::syscall(SYS_capget, &header, caps) != 0)
        return;
    caps[0].effective &=
        ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER));
    ::syscall(SYS_capset, &header, caps);
}

// Runs `writer` in a child process. A limit >= 0 caps the size of every file
// the child writes; SIGXFSZ is ignored, so the write past it fails with EFBIG
// as on a full disk. Returns the writer's outcome bits, or -1.
int RunInChild(qint64 limit, bool permissionsBind, const std::function<int()>& writer) {
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0)
        return -1;
    if (pid == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        if (limit >= 0) {
            const rlimit r{rlim_t(limit), rlim_t(limit)};
            ::setrlimit(RLIMIT_FSIZE, &r);
        }
        if (permissionsBind)
            DropPermissionOverride();
        ::_exit(writer());
    }
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

int Bits(bool ok, const ScriptedPrompt& p) {
    int bits = ok ? Succeeded : 0;
    for (const ScriptedPrompt::Asked& a : p.asked) {
        if (a.kind == Prompt::Warning)
            bits |= Warned;
        if (a.kind == Prompt::Information)
            bits |= Informed;
    }
    return bits;
}

GsmOperator Op(const QString& name, const QString& apn) {
    GsmOperator op;
    op.name = name;
    op.initString = apn;
    op.login = QStringLiteral("login");
    return op;
}

const QList<GsmOperator> kThree = {Op("Альфа", "apn.a"), Op("Бета", "apn.b"), Op("Гамма", "apn.c")};

// One writer: the name of its file, how the old file is made (by the program
// itself where it writes that file) and the write under test. Each new
// content is larger than the old one.
struct Writer {
    QString file;
    std::function<bool(const QString&)> makeOld;
    std::function<int(const QString&)> write;
};

Writer MakeWriter(const QString& kind) {
    if (kind == "settings file") {
        return {"user.ini",
                [](const QString& f) {
                    DeviceSettings s;
                    SetDefaultSettings(&s, false);
                    return SaveSettingsFile(f, &s);
                },
                [](const QString& f) {
                    DeviceSettings s;
                    SetDefaultSettings(&s, false);
                    s.remoteProg->smsKeyWord = QString(300, QLatin1Char('k'));
                    return SaveSettingsFile(f, &s) ? int(Succeeded) : 0;
                }};
    }
    const auto operators = [](const QString& f) {
        return OperatorPresetFile(QFileInfo(f).path()).write(kThree);
    };
    if (kind == "operators rewrite") {
        return {"GSM.cfg", operators, [](const QString& f) {
                    QList<GsmOperator> list = kThree;
                    list << Op("Дельта", "apn.d") << Op("Эпсилон", "apn.e");
                    return OperatorPresetFile(QFileInfo(f).path()).write(list) ? 1 : 0;
                }};
    }
    if (kind == "operator edit") {
        return {"GSM.cfg", operators, [](const QString& f) {
                    const GsmOperator op = Op(QString(40, 'x'), QString(40, 'y'));
                    return OperatorPresetFile(QFileInfo(f).path()).writeOperator(1, op) ? 1 : 0;
                }};
    }
    if (kind == "operator append") {
        return {"GSM.cfg", operators, [](const QString& f) {
                    QList<GsmOperator> list = kThree;
                    const OperatorPresetFile file(QFileInfo(f).path());
                    return file.append(&list, Op("Неизвестный", "apn.z")) ? 1 : 0;
                }};
    }
    if (kind == "state file") {
        return {"Settings.cfg", [](const QString& f) { return WriteLastPath("/tmp/", f); },
                [](const QString& f) {
                    return WriteLastPath("/tmp/" + QString(200, 'p') + "/", f) ? 1 : 0;
                }};
    }
    const auto oldImage = [](const QString& f) { return WriteAll(f, QByteArray(100, 'Z')); };
    if (kind == "image create") {
        return {"made.image", oldImage, [](const QString& f) {
                    DeviceSettings s;
                    SetDefaultSettings(&s, false);
                    g_deviceSettings = &s;
                    ScriptedPrompt p;
                    p.files.enqueue(f);
                    return Bits(ImageEEPROM().CreateImageEEPROM(), p);
                }};
    }
    return {"read.image", oldImage, [](const QString& f) {
                ScriptedPrompt p;
                p.files.enqueue(f);
                return Bits(ImageEEPROM().SaveImageEEPROM(QByteArray(3590, '\x5a')), p);
            }};
}

const QStringList kWriters = {"settings file",   "operators rewrite", "operator edit",
                              "operator append", "state file",        "image create",
                              "image save"};

} // namespace

class TstFullFileSystem : public QObject {
    Q_OBJECT
private slots:
    void writers_data();
    void writers();
    void atomicWriteOfAnySize_data();
    void atomicWriteOfAnySize();
};

void TstFullFileSystem::writers_data() {
    QTest::addColumn<QString>("writer");
    QTest::addColumn<int>("condition");
    const QList<std::pair<const char*, Condition>> conditions = {
        {"room", Room},
        {"full from the start", FullFromStart},
        {"full past the old size", FullPastOld},
        {"read-only folder", ReadOnlyFolder},
        {"target is a folder", TargetIsFolder}};
    for (const QString& w : kWriters)
        for (const auto& [name, c] : conditions)
            QTest::addRow("%s, %s", qPrintable(w), name) << w << int(c);
}

void TstFullFileSystem::writers() {
    QFETCH(QString, writer);
    QFETCH(int, condition);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const Writer w = MakeWriter(writer);
    const QString target = dir.filePath(w.file);
    if (condition == TargetIsFolder)
        QVERIFY(QDir(dir.path()).mkdir(w.file));
    else
        QVERIFY(w.makeOld(target));
    const QByteArray old = ReadAll(target);
    const QStringList listing = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden);

    qint64 limit = -1;
    if (condition == FullFromStart)
        limit = 0;
    else if (condition == FullPastOld)
        limit = old.size();
    if (condition == ReadOnlyFolder)
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    const int outcome =
        RunInChild(limit, condition == ReadOnlyFolder, [&] { return w.write(target); });
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(outcome >= 0);

    const bool image = writer.startsWith("image");
    if (condition == Room) {
        QCOMPARE(outcome, int(Succeeded));
        QVERIFY(ReadAll(target).size() > old.size());
        return;
    }
    QVERIFY2(!(outcome & Succeeded), "a failed write reported success");
    QVERIFY(!(outcome & Informed));
    QCOMPARE(bool(outcome & Warned), image); // the image writer tells the user itself
    if (condition == TargetIsFolder)
        QVERIFY(QFileInfo(target).isDir());
    else
        QCOMPARE(ReadAll(target), old);
    // No temporary file is left beside it.
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden), listing);
}

// The helper itself on both sides of the buffer QFile keeps: small files fail
// only at the flush, large ones already in write().
void TstFullFileSystem::atomicWriteOfAnySize_data() {
    QTest::addColumn<int>("size");
    for (int size : {1, 100, 16 * 1024 - 1, 16 * 1024 + 1, 200 * 1024})
        QTest::addRow("%d bytes", size) << size;
}

void TstFullFileSystem::atomicWriteOfAnySize() {
    QFETCH(int, size);
    QTemporaryDir dir;
    const QString target = dir.filePath("data.bin");
    const QByteArray old("old contents");
    QVERIFY(WriteAll(target, old));
    const QByteArray bytes(size + int(old.size()), 'n');
    const auto write = [&] { return WriteFileAtomically(target, bytes) ? 1 : 0; };
    QCOMPARE(RunInChild(old.size(), false, write), 0);
    QCOMPARE(ReadAll(target), old);
    QCOMPARE(RunInChild(-1, false, write), 1);
    QCOMPARE(ReadAll(target), bytes);
}

QTEST_GUILESS_MAIN(TstFullFileSystem)
#include "tst_fullfilesystem.moc"
