// "GSM.cfg" as any file: read, append, edit one operator, rewrite. Reading,
// appending and rewriting must agree on the list, and nothing outside the
// operators may be lost.

#include "FuzzSupport.h"

#include "settings/OperatorPresetFile.h"
#include "support/Files.h"

#include <QSettings>

namespace {

QStringList Fields(const QList<GsmOperator>& list) {
    QStringList out;
    for (const GsmOperator& op : list)
        out << QStringList{op.name, op.initString, op.login, op.password, op.ussd}.join('|');
    return out;
}

// Keys that belong to no operator: those outside groups named by a plain
// decimal number. They must survive every write.
QMap<QString, QString> ForeignKeys(const QString& file) {
    // A copy under a name of its own: QSettings caches what it read by name.
    QTemporaryDir copyDir;
    const QString copy = copyDir.filePath("copy.ini");
    QFile::copy(file, copy);
    QSettings ini(copy, QSettings::IniFormat);
    QMap<QString, QString> out;
    for (const QString& key : ini.allKeys()) {
        // A line without a name ("=x") gives a key QSettings will neither
        // read nor write; nothing can keep it.
        if (key.isEmpty() || !ini.value(key).isValid())
            continue;
        const QString group = key.section('/', 0, 0);
        const bool number =
            key.contains('/') && !group.isEmpty() && (group.size() == 1 || group.at(0) != '0') &&
            std::all_of(group.begin(), group.end(), [](QChar c) { return c >= '0' && c <= '9'; });
        // QSettings reads and writes a key under its normalized name (no
        // empty section between slashes), whatever spelling the file had.
        if (!number)
            out.insert(key.split('/', Qt::SkipEmptyParts).join('/'), ini.value(key).toString());
    }
    return out;
}

GsmOperator Op(const QString& tag) {
    return {"op" + tag, "*" + tag + "#", "apn." + tag, "l" + tag, "p" + tag};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QString dir = FuzzWorkDir();
    const OperatorPresetFile file(dir);
    FuzzInput in(data, size);
    const int pick = in.byte();
    if (!WriteAll(file.fileName(), in.rest()))
        return 0;
    // QSettings reads only UTF-8; a file that is not is read as Windows-1251
    // by the program, so its foreign keys are compared after the first write.
    QList<GsmOperator> list;
    FUZZ_CHECK(file.read(&list), "an existing file could not be read");
    FUZZ_CHECK(!list.isEmpty(), "an empty operator list");

    QList<GsmOperator> grown = list;
    if (!file.append(&grown, Op("A")))
        return 0;
    const QMap<QString, QString> foreign = ForeignKeys(file.fileName());
    QList<GsmOperator> back;
    FUZZ_CHECK(file.read(&back), "unreadable after an append");
    FUZZ_CHECK(Fields(back) == Fields(grown), "an appended operator is not read back");

    const int index = pick % int(grown.size());
    grown[index] = Op("E");
    FUZZ_CHECK(file.writeOperator(index, grown[index]), "an edit failed");
    FUZZ_CHECK(file.read(&back) && Fields(back) == Fields(grown), "an edit changed others");

    grown.removeAt(index);
    FUZZ_CHECK(file.write(grown), "a rewrite failed");
    FUZZ_CHECK(file.read(&back), "unreadable after a rewrite");
    if (grown.isEmpty())
        grown.append(GsmOperator{OperatorPresetFile::unknownName(), {}, {}, {}, {}});
    FUZZ_CHECK(Fields(back) == Fields(grown), "a rewrite is not read back");
    // Each such key is still there; QSettings may have given a key it could
    // not read a name it can, which then shows as one more.
    const QMap<QString, QString> after = ForeignKeys(file.fileName());
    for (auto it = foreign.cbegin(); it != foreign.cend(); ++it)
        FUZZ_CHECK(after.contains(it.key()) && after.value(it.key()) == it.value(),
                   "a write lost a key of no operator");
    return 0;
}
