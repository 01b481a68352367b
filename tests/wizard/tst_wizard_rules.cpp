// What a version text allows the wizard, and the conversions between its
// fields and the settings.

#include "comms/CommsFields.h"
#include "comms/NetFieldText.h"
#include "settings/Ipv4Text.h"
#include "wizard/WizardRules.h"

#include <QTest>

using namespace wizard;

class TestWizardRules : public QObject {
    Q_OBJECT

private slots:
    void versions_data();
    void versions();
    void passwords_data();
    void passwords();
    void addresses_data();
    void addresses();
    void smsChoices();
};

void TestWizardRules::versions_data() {
    QTest::addColumn<QString>("version");
    QTest::addColumn<bool>("cameras");    // type 2
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
    QCOMPARE(ThreeLoopFirmware(version), loops == 3);
    QCOMPARE(OutputLoopCount(3, version), 2);
    QString found;
    for (const QString& item : OutputFunctions(1, version)) {
        if (OutputFunction(item) > 5)
            found += QString::number(OutputFunction(item));
    }
    QCOMPARE(found, extras);
    QCOMPARE(OutputFunctions(0, version).contains(QStringLiteral("4 - пользовательский")),
             userForD4M);
    QVERIFY(OutputFunctions(1, version).contains(QStringLiteral("4 - пользовательский")));
}

void TestWizardRules::passwords_data() {
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("stored");
    QTest::newRow("02.12.2010") << "02.12.2010"
                                << "12#4"
                                << "1204";
    QTest::newRow("03.12.2010") << "03.12.2010/33"
                                << "A#"
                                << "FFA0";
    QTest::newRow("04.12.2010") << "04.12.2010"
                                << "7391"
                                << "7391";
    QTest::newRow("15.05.2012") << "15.05.2012"
                                << "##91"
                                << "0091";
    QTest::newRow("16.05.2012") << "16.05.2012/22"
                                << "5C"
                                << "FF5C";
    QTest::newRow("no date") << ""
                             << "1234"
                             << "1234";
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

void TestWizardRules::addresses_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("literal");
    QTest::addColumn<QString>("padded");
    QTest::newRow("short groups") << "10.0.1.25" << true << "010.000.001.025";
    QTest::newRow("three digits") << "192.168.001.005" << true << "192.168.001.005";
    QTest::newRow("zeros") << "000.000.000.000" << true << "000.000.000.000";
    QTest::newRow("group above 255") << "10.0.0.256" << false << "";
    QTest::newRow("three groups") << "10.0.1" << false << "";
    QTest::newRow("host name") << "ntp.example.org" << false << "";
    QTest::newRow("empty") << "" << false << "";
}

void TestWizardRules::addresses() {
    QFETCH(QString, text);
    QFETCH(bool, literal);
    QFETCH(QString, padded);
    QCOMPARE(IsLiteralIpv4(text), literal);
    if (literal)
        QCOMPARE(PaddedIpText(text), padded);
}

void TestWizardRules::smsChoices() {
    for (int choice = 0; choice < 4; ++choice) {
        bool self = false, others = false;
        QVERIFY(SmsFlags(choice, self, others));
        QCOMPARE(SmsChoice(self, others), choice);
    }
    bool self = true, others = true;
    QVERIFY(!SmsFlags(-1, self, others));
    QVERIFY(self && others); // no choice: the flags stay
    QCOMPARE(::ObjectNumberText(7), QByteArray("0007"));
    QCOMPARE(::ObjectNumberText(12345), QByteArray("2345"));
}

QTEST_MAIN(TestWizardRules)
#include "tst_wizard_rules.moc"
