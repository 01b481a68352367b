#include "settings/DeviceSettings.h"
#include "settings/LayoutText.h"
#include "settings/Sections.h"

#include <QtTest>

#include <climits>

namespace {

// A byte string literal with its embedded NULs kept.
template <int N> QByteArray B(const char (&s)[N]) {
    return QByteArray(s, N - 1);
}

GsmOperator Op(const char* name, const char* ussd, const char* apn, const QString& login,
               const QString& password) {
    GsmOperator op;
    op.name = QString::fromLatin1(name);
    op.ussd = QString::fromLatin1(ussd);
    op.initString = QString::fromLatin1(apn);
    op.login = login;
    op.password = password;
    return op;
}

// Both SIMs on operator 0 of a one-operator list, everything else default.
void OneOperator(DeviceSettings& s) {
    s.gsmOperators = {Op("MTS", "*100#", "internet.mts.ru", "mts", "mts")};
    s.header->simOperator = {0, 0};
}

void Rich(DeviceSettings& s) {
    s.gsmOperators = {Op("Beeline", "*102#", "internet.beeline.ru", "beeline", "beeline"),
                      Op("Mega", "*105#", "internet", "gdata", "gdata")};
    s.header->simOperator = {1, 0};
    s.header->useSim = {1, 1};
    s.header->checkBalance = {1, 0};
    s.servers->serverIp = {QStringLiteral("192.168.001.010"), QStringLiteral("010.000.000.002")};
    s.servers->serverPort = {QStringLiteral("05001"), QStringLiteral("12345")};
    s.navigation->distanceFilter = QStringLiteral("12");
    s.navigation->gpsReceiver = 1;
    s.connection->objectNumber = "4321";
    s.connection->csdDetail = 1;
    s.outputs->userPassword = {QStringLiteral("1111"), QStringLiteral("2222")};
    // Use flags 5, 7, 8, 9: the second section's flag byte is then ':'.
    for (int i : {5, 7, 8, 9})
        s.phones->useFlag[i] = 1;
    s.phones->useFlag[0] = 1; // belongs to another section
    s.extra->saveStateOnPowerOff = 1;
    s.extra->callPrefix = QStringLiteral("8");
}

// Everything a page or a damaged file might leave behind.
void Hostile(DeviceSettings& s) {
    s.gsmOperators = {Op("X", "*100*22#", "internet.very-long-operator-apn.example",
                         QStringLiteral("логин-пользователя"), QStringLiteral("pa:ss"))};
    s.header->simOperator = {0, 7};
    s.servers->serverIp = {QStringLiteral("10.0.0.1"),
                           QStringLiteral("192.168.100.200.and-a-lot-of-trailing-xy")};
    s.servers->serverPort = {QStringLiteral("80"), QStringLiteral("1234567")};
    s.navigation->distanceFilter = QStringLiteral("123456");
    s.connection->objectNumber = "12";
    s.outputs->userPassword = {QStringLiteral("1"), QStringLiteral("987654")};
    s.extra->callPrefix = QStringLiteral("+7-495-123-45-67");
}

} // namespace

class TstSectionsText : public QObject {
    Q_OBJECT
private slots:
    void golden_data();
    void golden();
    void operatorOutOfRange_data();
    void operatorOutOfRange();
    void crmmFlagByte_data();
    void crmmFlagByte();
    void crhhFlagByte_data();
    void crhhFlagByte();
    void serverIpField_data();
    void serverIpField();
    void digitField_data();
    void digitField();
};

void TstSectionsText::golden_data() {
    QTest::addColumn<int>("fill"); // 0 defaults, 1 one operator, 2 rich, 3 hostile
    QTest::addColumn<QByteArray>("craa");
    QTest::addColumn<QByteArray>("crmm");
    QTest::addColumn<QByteArray>("crhh");

    // No operator list at all: both SIMs go out as not in use.
    QTest::newRow("defaults, no operators")
        << 0 << B("000.000.000.000:00000:-:-:-:0:0001:73917391>\0")
        << B("-:-:-:-:-:-:\0:"
             "000.000.000.000"
             "00000"
             "0>\0")
        << B("-:-:-:1:+7:+7:\0:0>\0");

    QTest::newRow("defaults, one operator")
        << 1 << B("000.000.000.000:00000:mts:mts:internet.mts.ru:0:0001:73917391>\0")
        << B("mts:mts:internet.mts.ru:-:-:-:\0:"
             "000.000.000.000"
             "00000"
             "0>\0")
        << B("*100#:*100#:-:1:+7:+7:\0:0>\0");

    QTest::newRow("rich") << 2
                          << B("192.168.001.010:05001:gdata:gdata:internet:12:4321:11112222>\0")
                          << B("beeline:beeline:internet.beeline.ru:-:-:-:"
                               ":" // use flags 5, 7, 8, 9
                               ":"
                               "010.000.000.002"
                               "12345"
                               "5>\0")
                          << B("*105#:-:-:<:+7:8:\0:0>\0");

    QTest::newRow("hostile") << 3
                             << B("010.000.000.001:00080:?????"
                                  "-????:pa?ss:internet.very-long-operat:1234:0012:"
                                  "00019876>\0")
                             << B("-:-:-:-:-:-:\0:"
                                  "192.168.100.200"
                                  "12345"
                                  "5>\0")
                             << B("*100*:-:-:1:+7:+7-495-123:\0:0>\0");
}

void TstSectionsText::golden() {
    QFETCH(int, fill);
    QFETCH(QByteArray, craa);
    QFETCH(QByteArray, crmm);
    QFETCH(QByteArray, crhh);
    DeviceSettings s;
    if (fill == 1)
        OneOperator(s);
    if (fill == 2)
        Rich(s);
    if (fill == 3)
        Hostile(s);
    QCOMPARE(BuildPackCRAA(s), craa);
    QCOMPARE(BuildPackCRMM(s), crmm);
    QCOMPARE(BuildPackCRHH(s), crhh);
}

void TstSectionsText::operatorOutOfRange_data() {
    QTest::addColumn<int>("index");
    QTest::newRow("-1") << -1;
    QTest::newRow("list size") << 1;
    QTest::newRow("far past") << 1000;
    QTest::newRow("INT_MIN") << INT_MIN;
    QTest::newRow("INT_MAX") << INT_MAX;
}

void TstSectionsText::operatorOutOfRange() {
    QFETCH(int, index);
    DeviceSettings s;
    OneOperator(s);
    s.header->simOperator = {index, index};
    QCOMPARE(BuildPackCRAA(s), B("000.000.000.000:00000:-:-:-:0:0001:73917391>\0"));
    QCOMPARE(BuildPackCRMM(s).left(13), B("-:-:-:-:-:-:\0"));
    QCOMPARE(BuildPackCRHH(s).left(6), B("-:-:-:"));

    // One SIM valid, the other not: only the bad one is switched off.
    s.header->simOperator = {0, index};
    QCOMPARE(BuildPackCRMM(s).left(6), B("-:-:-:"));
    QCOMPARE(BuildPackCRHH(s).left(8), B("*100#:-:"));
}

void TstSectionsText::crmmFlagByte_data() {
    QTest::addColumn<QList<int>>("flags");
    QTest::addColumn<int>("byte");
    QTest::newRow("none") << QList<int>{} << 0x00;
    QTest::newRow("all 4..10") << QList<int>{4, 5, 6, 7, 8, 9, 10} << 0x7F;
    QTest::newRow("5,7,8,9 is ':'") << QList<int>{5, 7, 8, 9} << 0x3A;
    QTest::newRow("4 only") << QList<int>{4} << 0x01;
    QTest::newRow("10 only") << QList<int>{10} << 0x40;
    QTest::newRow("0..3 ignored") << QList<int>{0, 1, 2, 3} << 0x00;
}

void TstSectionsText::crmmFlagByte() {
    QFETCH(QList<int>, flags);
    QFETCH(int, byte);
    DeviceSettings s;
    for (int i : flags)
        s.phones->useFlag[i] = 1;
    const QByteArray crmm = BuildPackCRMM(s);
    // "-:-:-" ':' "-:-:-:" then the flag byte, whatever its value.
    QCOMPARE(crmm.size(), 37);
    QCOMPARE(int(uchar(crmm.at(12))), byte);
    QCOMPARE(crmm.at(13), ':');
}

void TstSectionsText::crhhFlagByte_data() {
    QTest::addColumn<int>("save");
    QTest::addColumn<int>("csd");
    QTest::addColumn<int>("gps");
    QTest::addColumn<char>("byte");
    QTest::newRow("defaults") << 0 << 0 << 0 << '1';
    QTest::newRow("gps") << 0 << 0 << 1 << '0';
    QTest::newRow("save") << 1 << 0 << 0 << '9';
    QTest::newRow("csd") << 0 << 1 << 0 << '5';
    QTest::newRow("save csd") << 1 << 1 << 0 << '=';
    QTest::newRow("all") << 1 << 1 << 1 << '<';
    QTest::newRow("csd gps") << 0 << 1 << 1 << '4';
    QTest::newRow("save gps") << 1 << 0 << 1 << '8';
    QTest::newRow("gps type 2") << 0 << 0 << 2 << '0';
}

void TstSectionsText::crhhFlagByte() {
    QFETCH(int, save);
    QFETCH(int, csd);
    QFETCH(int, gps);
    QFETCH(char, byte);
    DeviceSettings s;
    s.extra->saveStateOnPowerOff = u8(save);
    s.connection->csdDetail = u8(csd);
    s.navigation->gpsReceiver = u8(gps);
    s.extra->callPrefix.clear();
    const QByteArray crhh = BuildPackCRHH(s);
    QCOMPARE(crhh, B("-:-:-:") + byte + B(":+7:-:\0:0>\0"));
}

void TstSectionsText::serverIpField_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<QByteArray>("field");
    QTest::newRow("full") << "192.168.001.010" << QByteArray("192.168.001.010");
    QTest::newRow("short groups") << "10.0.0.1" << QByteArray("010.000.000.001");
    QTest::newRow("empty") << "" << QByteArray("000.000.000.000");
    QTest::newRow("40 chars") << "192.168.100.200.and-a-lot-of-trailing-xy"
                              << QByteArray("192.168.100.200");
    QTest::newRow("three groups") << "10.0.1" << QByteArray("10.0.1000000000");
    QTest::newRow("cyrillic") << "сервер" << QByteArray("??????000000000");
    QTest::newRow("colon") << "1.2.3.4:80" << QByteArray("1.2.3.4?8000000");
}

void TstSectionsText::serverIpField() {
    QFETCH(QString, address);
    QFETCH(QByteArray, field);
    QCOMPARE(layout::text::ServerIpField(address), field);
}

void TstSectionsText::digitField_data() {
    QTest::addColumn<QByteArray>("in");
    QTest::addColumn<int>("width");
    QTest::addColumn<QByteArray>("out");
    QTest::newRow("exact") << QByteArray("0001") << 4 << QByteArray("0001");
    QTest::newRow("short") << QByteArray("7") << 4 << QByteArray("0007");
    QTest::newRow("long") << QByteArray("123456") << 4 << QByteArray("1234");
    QTest::newRow("empty") << QByteArray() << 5 << QByteArray("00000");
    QTest::newRow("separator") << QByteArray("1:2") << 4 << QByteArray("01?2");
    QTest::newRow("nul") << B("1\0"
                              "2")
                         << 3 << QByteArray("1?2");
}

void TstSectionsText::digitField() {
    QFETCH(QByteArray, in);
    QFETCH(int, width);
    QFETCH(QByteArray, out);
    QCOMPARE(layout::text::DigitField(in, width), out);
}

QTEST_GUILESS_MAIN(TstSectionsText)
#include "tst_sections_text.moc"
