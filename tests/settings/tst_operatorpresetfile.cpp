#include "settings/OperatorPresetFile.h"
#include "settings/TextCodec.h"
#include "support/Files.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// name|access point|login|password|USSD per operator.
QStringList Fields(const QList<GsmOperator>& list) {
    QStringList out;
    for (const GsmOperator& op : list)
        out << QStringList{op.name, op.initString, op.login, op.password, op.ussd}.join('|');
    return out;
}

GsmOperator Op(const QString& fields) {
    const QStringList f = fields.split('|');
    return {f.value(0), f.value(4), f.value(1), f.value(2), f.value(3)};
}

const QList<GsmOperator> kPresets = {Op("Билайн|apn.one|qorvant|qorvant|*102#"),
                                     Op("Мегафон|internet|plimsor|plimsor|*100#"),
                                     Op("Zeverir (test)|apn, two|||*100#")};

} // namespace

class TstOperatorPresetFile : public QObject {
    Q_OBJECT
private slots:
    void init();
    void fileName();
    void writeThenRead();
    void readRules_data();
    void readRules();
    void appendTouchesNoOtherGroup();
    void listOperationsAgree_data();
    void listOperationsAgree();
    void failures();

private:
    QTemporaryDir m_dir;
};

void TstOperatorPresetFile::init() {
    QVERIFY(m_dir.isValid());
    QFile::remove(OperatorPresetFile(m_dir.path()).fileName());
}

void TstOperatorPresetFile::fileName() {
    QCOMPARE(OperatorPresetFile().fileName(), QString("GSM.cfg"));
    QCOMPARE(OperatorPresetFile("cfg/").fileName(), QString("cfg/GSM.cfg"));
    QCOMPARE(OperatorPresetFile("cfg").fileName(), QString("cfg/GSM.cfg"));
    QCOMPARE(OperatorPresetFile("c:\\cfg\\").fileName(), QString("c:\\cfg\\GSM.cfg"));
}

// Groups "0".."n-1" with the five keys, in UTF-8; a rewrite after a deletion
// leaves no gap and no stale group.
void TstOperatorPresetFile::writeThenRead() {
    const OperatorPresetFile file(m_dir.path());
    QVERIFY(file.write(kPresets));
    const QByteArray text = ReadAll(file.fileName());
    QVERIFY(IsValidUtf8(text));
    for (const char* line : {"[0]", "[2]", "name=Мегафон", "initstring=internet", "login=qorvant",
                             "password=plimsor", "Ussd=*102#"})
        QVERIFY2(text.contains(line), line);
    QList<GsmOperator> list;
    QVERIFY(file.read(&list));
    QCOMPARE(Fields(list), Fields(kPresets));

    list.removeAt(0);
    QVERIFY(file.write(list));
    QVERIFY(!ReadAll(file.fileName()).contains("[2]"));
    QList<GsmOperator> back;
    QVERIFY(file.read(&back));
    QCOMPARE(Fields(back), Fields(list));
}

void TstOperatorPresetFile::readRules_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("no groups") << QByteArray("") << QStringList{"Неизвестный||||"};
    QTest::newRow("empty and missing names")
        << QByteArray("[0]\nname=\nUssd=*1#\n[1]\nlogin=u\n")
        << QStringList{"Неизвестный||||*1#", "Неизвестный||u||"};
    // Operator groups in the order of their numbers, whatever the file's
    // order and gaps; groups that are not plain numbers are no operators.
    QTest::newRow("gap and order")
        << QByteArray("[10]\nname=J\n[0]\nname=A\n[5]\nname=F\n[2]\nname=C\n")
        << QStringList{"A||||", "C||||", "F||||", "J||||"};
    QTest::newRow("foreign groups")
        << QByteArray("[Notes]\nname=N\n[01]\nname=Z\n[-1]\nname=M\n[1]\nname=B\n")
        << QStringList{"B||||"};
    QTest::newRow("only foreign groups")
        << QByteArray("[x]\nname=N\n") << QStringList{"Неизвестный||||"};
    // A hand-made value with an unquoted comma comes back as a list; an item
    // starting with '@' makes it a list of variants.
    QTest::newRow("unquoted commas in every field")
        << QByteArray("[0]\nname=a,@b\ninitstring=a, b\nlogin=l,1\npassword=@p,q\nUssd=*1,2#\n")
        << QStringList{"a,@b|a,b|l,1|@p,q|*1,2#"};
    QTest::newRow("Windows-1251") << ToCp1251(QStringLiteral("[0]\nname=Билайн\nlogin=гость\n"))
                                  << QStringList{"Билайн||гость||"};
}

void TstOperatorPresetFile::readRules() {
    QFETCH(QByteArray, content);
    const OperatorPresetFile file(m_dir.path());
    QVERIFY(WriteAll(file.fileName(), content));
    QList<GsmOperator> list = kPresets;
    QVERIFY(file.read(&list));
    QTEST(Fields(list), "expected");
}

void TstOperatorPresetFile::appendTouchesNoOtherGroup() {
    const OperatorPresetFile file(m_dir.path());
    // A hand-edited group with a key of its own, in the Windows code page,
    // must come through untouched; the file becomes UTF-8.
    QVERIFY(WriteAll(file.fileName(), ToCp1251("[0]\nname=Аа\nnote=mine\n[1]\nname=B\n")));
    QList<GsmOperator> list;
    QVERIFY(file.read(&list));
    QVERIFY(file.append(&list, Op("Неизвестный|apn|l|p|*5#")));
    QCOMPARE(list.size(), 3);
    const QByteArray text = ReadAll(file.fileName());
    QVERIFY(text.contains("note=mine"));
    QVERIFY(IsValidUtf8(text));
    QVERIFY(file.writeOperator(1, Op("B2|x||||")));
    QList<GsmOperator> back;
    QVERIFY(file.read(&back));
    QCOMPARE(Fields(back), QStringList({"Аа||||", "B2|x|||", "Неизвестный|apn|l|p|*5#"}));
}

// Whatever the file held, reading, appending, editing and rewriting agree:
// the appended operator is read back last, nothing else changes, and no
// group that is not an operator is lost.
void TstOperatorPresetFile::listOperationsAgree_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("foreignKey"); // a key of no operator, kept throughout
    QTest::newRow("empty file") << QByteArray("") << QStringList{"Неизвестный||||"} << QString();
    QTest::newRow("gap") << QByteArray("[0]\nname=A\n[2]\nname=C\n")
                         << QStringList{"A||||", "C||||"} << QString();
    QTest::newRow("foreign group") << QByteArray("[0]\nname=A\n[Memo]\nname=keep\n")
                                   << QStringList{"A||||"} << QString("Memo/name");
    // A key above the first group named like an operator's group.
    QTest::newRow("key named like a group") << QByteArray("0=keep\n[0]\nname=A\n[1]\nname=B\n")
                                            << QStringList{"A||||", "B||||"} << QString("0");
    // QSettings cannot remove a key with a backslash once read; a rewrite
    // must not leave its group behind as an operator.
    QTest::newRow("backslash in a key") << QByteArray("[0]\nname=A\n[7]\n\\x=1\nname=G\n")
                                        << QStringList{"A||||", "G||||"} << QString();
    // A line QSettings cannot read (no '=') does not stop any write.
    QTest::newRow("stray line") << QByteArray("a stray line\n[0]\nname=A\n[Memo]\nname=keep\n")
                                << QStringList{"A||||"} << QString("Memo/name");
    QTest::newRow("last number of nines")
        << QByteArray("[99]\nname=A\n[999999999999999999999]\nname=Z\n")
        << QStringList{"A||||", "Z||||"} << QString();
}

void TstOperatorPresetFile::listOperationsAgree() {
    QFETCH(QByteArray, content);
    QFETCH(QStringList, before);
    const OperatorPresetFile file(m_dir.path());
    QVERIFY(WriteAll(file.fileName(), content));
    const auto readBack = [&file] {
        QList<GsmOperator> l;
        return file.read(&l) ? Fields(l) : QStringList{"unreadable"};
    };
    QList<GsmOperator> list;
    QVERIFY(file.read(&list));
    QCOMPARE(Fields(list), before);

    QVERIFY(file.append(&list, Op("New|apn.n|||")));
    QCOMPARE(readBack(), QStringList(before) << "New|apn.n|||");
    QCOMPARE(readBack(), Fields(list));

    // Editing the first operator changes only it.
    QStringList edited = Fields(list);
    edited[0] = "Ed|apn.e|||";
    QVERIFY(file.writeOperator(0, Op(edited[0])));
    QCOMPARE(readBack(), edited);

    // Deleting the first rewrites the list; the foreign key stays.
    list = {};
    QVERIFY(file.read(&list));
    list.removeFirst();
    QVERIFY(file.write(list));
    QCOMPARE(readBack(), Fields(list));
    QFETCH(QString, foreignKey);
    if (!foreignKey.isEmpty())
        QCOMPARE(QSettings(file.fileName(), QSettings::IniFormat).value(foreignKey).toString(),
                 QString("keep"));
}

void TstOperatorPresetFile::failures() {
    const OperatorPresetFile file(m_dir.filePath("nowhere"));
    QList<GsmOperator> list = kPresets;
    QVERIFY(!file.exists());
    QVERIFY(!file.read(&list)); // missing: the list stays
    QCOMPARE(Fields(list), Fields(kPresets));
    QVERIFY(!file.write(kPresets)); // no such folder
    QVERIFY(!file.append(&list, Op("x")));
    QCOMPARE(list.size(), kPresets.size() + 1); // the list still grows
    QVERIFY(!OperatorPresetFile(m_dir.path()).writeOperator(-1, Op("x")));
}

QTEST_GUILESS_MAIN(TstOperatorPresetFile)
#include "tst_operatorpresetfile.moc"
