#include "settings/OperatorPresetFile.h"
#include "settings/TextCodec.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "support/Files.h"

namespace {

GsmOperator Op(const QString& name, const QString& apn, const QString& login,
               const QString& password, const QString& ussd) {
    GsmOperator op;
    op.name = name;
    op.initString = apn;
    op.login = login;
    op.password = password;
    op.ussd = ussd;
    return op;
}

QStringList Fields(const QList<GsmOperator>& list) {
    QStringList out;
    for (const GsmOperator& op : list)
        out << QStringList{op.name, op.initString, op.login, op.password, op.ussd}.join('|');
    return out;
}

const QList<GsmOperator> kPresets = {
    Op("Билайн", "apn.one", "qorvant", "qorvant", "*102#"),
    Op("Мегафон", "internet", "plimsor", "plimsor", "*100#"),
    Op("Zeverir (test)", "apn, two", "", "", "*100#"),
};

} // namespace

class TstOperatorPresetFile : public QObject {
    Q_OBJECT
private slots:
    void init();
    void fileNameInDirectory_data();
    void fileNameInDirectory();
    void writeThenRead();
    void readRules_data();
    void readRules();
    void missingFileLeavesList();
    void appendTouchesNoOtherGroup();
    void rewriteAfterDeletionLeavesNoGap();
    void windows1251File();

private:
    QTemporaryDir m_dir;
};

void TstOperatorPresetFile::init() {
    QVERIFY(m_dir.isValid());
    QFile::remove(OperatorPresetFile(m_dir.path()).fileName());
}

void TstOperatorPresetFile::fileNameInDirectory_data() {
    QTest::addColumn<QString>("directory");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("working directory") << ""
                                       << "GSM.cfg";
    QTest::newRow("with slash") << "cfg/"
                                << "cfg/GSM.cfg";
    QTest::newRow("without slash") << "cfg"
                                   << "cfg/GSM.cfg";
    QTest::newRow("windows separator") << "c:\\cfg\\"
                                       << "c:\\cfg\\GSM.cfg";
}

void TstOperatorPresetFile::fileNameInDirectory() {
    QFETCH(QString, directory);
    QFETCH(QString, fileName);
    QCOMPARE(OperatorPresetFile(directory).fileName(), fileName);
}

void TstOperatorPresetFile::writeThenRead() {
    const OperatorPresetFile file(m_dir.path());
    QVERIFY(!file.exists());
    QVERIFY(file.write(kPresets));
    QVERIFY(file.exists());
    const QByteArray text = ReadAll(file.fileName());
    QVERIFY(IsValidUtf8(text));
    QVERIFY(text.contains("[0]"));
    QVERIFY(text.contains("[2]"));
    QVERIFY(text.contains("Ussd=*102#"));
    QVERIFY(text.contains("initstring=internet"));
    QList<GsmOperator> list;
    QVERIFY(file.read(&list));
    QCOMPARE(Fields(list), Fields(kPresets));
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
}

void TstOperatorPresetFile::readRules() {
    QFETCH(QByteArray, content);
    QFETCH(QStringList, expected);
    const OperatorPresetFile file(m_dir.path());
    QVERIFY(WriteAll(file.fileName(), content));
    QList<GsmOperator> list = kPresets;
    QVERIFY(file.read(&list));
    QCOMPARE(Fields(list), expected);
}

void TstOperatorPresetFile::missingFileLeavesList() {
    const OperatorPresetFile file(m_dir.filePath("nowhere"));
    QList<GsmOperator> list = kPresets;
    QVERIFY(!file.read(&list));
    QCOMPARE(Fields(list), Fields(kPresets));
    QVERIFY(!file.write(kPresets)); // no such folder
    QVERIFY(!file.append(&list, Op("x", "", "", "", "")));
}

void TstOperatorPresetFile::appendTouchesNoOtherGroup() {
    const OperatorPresetFile file(m_dir.path());
    // A hand-edited group with a key of its own must come through untouched.
    QVERIFY(WriteAll(file.fileName(), "[0]\nname=A\nnote=mine\n[1]\nname=B\n"));
    QList<GsmOperator> list;
    QVERIFY(file.read(&list));
    QCOMPARE(list.size(), 2);
    QVERIFY(file.append(&list, Op("Неизвестный", "", "", "", "")));
    QCOMPARE(list.size(), 3);
    QVERIFY(ReadAll(file.fileName()).contains("note=mine"));
    QList<GsmOperator> back;
    QVERIFY(file.read(&back));
    QCOMPARE(Fields(back), QStringList({"A||||", "B||||", "Неизвестный||||"}));

    QVERIFY(file.writeOperator(1, Op("B2", "apn", "l", "p", "*5#")));
    QVERIFY(file.read(&back));
    QCOMPARE(Fields(back), QStringList({"A||||", "B2|apn|l|p|*5#", "Неизвестный||||"}));
    QVERIFY(!file.writeOperator(-1, Op("x", "", "", "", "")));
}

void TstOperatorPresetFile::rewriteAfterDeletionLeavesNoGap() {
    const OperatorPresetFile file(m_dir.path());
    QVERIFY(file.write(kPresets));
    QList<GsmOperator> list = kPresets;
    list.removeAt(0);
    QVERIFY(file.write(list));
    const QByteArray text = ReadAll(file.fileName());
    QVERIFY(!text.contains("[2]"));
    QList<GsmOperator> back;
    QVERIFY(file.read(&back));
    QCOMPARE(Fields(back), Fields(list));
}

void TstOperatorPresetFile::windows1251File() {
    const OperatorPresetFile file(m_dir.path());
    const QByteArray bytes = ToCp1251(QStringLiteral("[0]\nname=Билайн\nlogin=гость\n"));
    QVERIFY(WriteAll(file.fileName(), bytes));
    QList<GsmOperator> list;
    QVERIFY(file.read(&list));
    QCOMPARE(Fields(list), QStringList{"Билайн||гость||"});
    // Adding to it leaves the whole file in UTF-8.
    QVERIFY(file.append(&list, Op("Теле2", "", "", "", "*105#")));
    QVERIFY(IsValidUtf8(ReadAll(file.fileName())));
    QVERIFY(file.read(&list));
    QCOMPARE(Fields(list), QStringList({"Билайн||гость||", "Теле2||||*105#"}));
}

QTEST_GUILESS_MAIN(TstOperatorPresetFile)
#include "tst_operatorpresetfile.moc"
