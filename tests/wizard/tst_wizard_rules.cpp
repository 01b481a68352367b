// What a version text allows the wizard, the password forms, and the one rule
// that tells a literal IPv4 address from a host name.

#include "settings/Ipv4Text.h"
#include "wizard/WizardRules.h"

#include <QTest>

using namespace wizard;
using namespace Qt::StringLiterals;

class TestWizardRules : public QObject {
    Q_OBJECT

private slots:
    void versions_data();
    void versions();
    void passwords_data();
    void passwords();
    void literalAddresses_data();
    void literalAddresses();
};

void TestWizardRules::versions_data() {
    QTest::addColumn<QString>("version");
    QTest::addColumn<bool>("cameras");    // types 2 and 3
    QTest::addColumn<int>("loops");       // outputs page, type 2
    QTest::addColumn<QString>("extras");  // items beyond 5
    QTest::addColumn<bool>("userForD4M"); // "4 - пользовательский" for type 0
    QTest::newRow("/33") << "03.12.2010/33" << true << 3 << "678" << true;
    QTest::newRow("/35") << "03.12.2010/35" << false << 3 << "6" << true;
    QTest::newRow("/59") << "03.12.2010/59" << true << 3 << "678" << true;
    QTest::newRow("/67") << "03.12.2010/67" << false << 3 << "6" << true;
    QTest::newRow("/17") << "03.12.2010/17" << false << 3 << "" << true;
    QTest::newRow("/10") << "03.12.2010/10" << false << 6 << "" << true;
    QTest::newRow("bare 03.12.2010") << "03.12.2010" << false << 6 << "" << true;
    QTest::newRow("bare 19.04.2012") << "19.04.2012" << false << 6 << "" << true;
    QTest::newRow("/131 reads 31") << "19.04.2012/131" << true << 6 << "" << true;
    QTest::newRow("one-digit build") << "03.12.2010/5" << false << 6 << "" << true;
    QTest::newRow("16.05.2012/1") << "16.05.2012/1" << false << 3 << "" << true;
    QTest::newRow("18.12.2018/1") << "18.12.2018/1" << false << 3 << "" << true;
    QTest::newRow("09.05.2012/28") << "09.05.2012/28" << false << 6 << "" << false;
    QTest::newRow("01.12.2010/11") << "01.12.2010/11" << false << 6 << "" << false;
    QTest::newRow("no date") << "" << false << 6 << "" << true;
}

void TestWizardRules::versions() {
    QFETCH(QString, version);
    QFETCH(bool, cameras);
    QFETCH(int, loops);
    QFETCH(QString, extras);
    QFETCH(bool, userForD4M);
    QCOMPARE(CamerasPageShown(2, version), cameras);
    QCOMPARE(CamerasPageShown(3, version), cameras);
    QVERIFY(!CamerasPageShown(1, version));
    QCOMPARE(OutputLoopCount(2, version), loops);
    QCOMPARE(OutputLoopCount(3, version), 2);
    QString found;
    for (const QString& item : OutputFunctions(1, version)) {
        if (OutputFunction(item) > 5)
            found += QString::number(OutputFunction(item));
    }
    QCOMPARE(found, extras);
    QCOMPARE(OutputFunctions(0, version).contains(u"4 - пользовательский"_s), userForD4M);
    QVERIFY(OutputFunctions(1, version).contains(u"4 - пользовательский"_s));
}

void TestWizardRules::passwords_data() {
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("stored");
    QTest::newRow("02.12.2010") << u"02.12.2010"_s << u"12#4"_s << u"1204"_s;
    QTest::newRow("03.12.2010") << u"03.12.2010/33"_s << u"A#"_s << u"FFA0"_s;
    QTest::newRow("04.12.2010") << u"04.12.2010"_s << u"7391"_s << u"7391"_s;
    QTest::newRow("15.05.2012") << u"15.05.2012"_s << u"##91"_s << u"0091"_s;
    QTest::newRow("16.05.2012") << u"16.05.2012/22"_s << u"5C"_s << u"FF5C"_s;
    QTest::newRow("no date") << QString() << u"1234"_s << u"1234"_s;
}

void TestWizardRules::passwords() {
    QFETCH(QString, version);
    QFETCH(QString, shown);
    QFETCH(QString, stored);
    const bool shortForm = ShortPasswords(version);
    QCOMPARE(StoredPassword(shown, shortForm), stored);
    // Loaded back as the field shows it: blanks come back as zeros.
    QCOMPARE(ShownPassword(stored, shortForm), QString(shown).replace('#', '0'));
}

void TestWizardRules::literalAddresses_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("literal");
    QTest::newRow("short groups") << "10.0.1.25" << true;
    QTest::newRow("leading zeros") << "010.000.001.025" << true;
    QTest::newRow("group above 255") << "10.0.0.256" << false;
    QTest::newRow("four-digit group") << "10.0.0.0001" << false;
    QTest::newRow("short form") << "10.1" << false;
    QTest::newRow("empty group") << "10..1.2" << false;
    QTest::newRow("sign") << "10.0.+1.2" << false;
    QTest::newRow("host name") << "ntp.example.org" << false;
    QTest::newRow("empty") << "" << false;
}

void TestWizardRules::literalAddresses() {
    QFETCH(QString, text);
    QFETCH(bool, literal);
    QCOMPARE(IsLiteralIpv4(text), literal);
}

QTEST_MAIN(TestWizardRules)
#include "tst_wizard_rules.moc"
