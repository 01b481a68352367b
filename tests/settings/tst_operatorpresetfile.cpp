#include "settings/OperatorPresetFile.h"
#include "settings/TextCodec.h"
#include "support/Files.h"

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
    // Groups are taken by number: "0" and "5" are two groups, read as 0 and 1.
    QTest::newRow("gap in numbering")
        << QByteArray("[0]\nname=A\n[5]\nname=F\n") << QStringList{"A||||", "Неизвестный||||"};
    QTest::newRow("unquoted comma")
        << QByteArray("[0]\nname=Op\ninitstring=a, b\n") << QStringList{"Op|a,b|||"};
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
