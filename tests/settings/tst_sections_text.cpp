#include "settings/DeviceSettings.h"
#include "settings/LayoutText.h"
#include "settings/Sections.h"

#include <QtTest>

#include "support/ByteCompare.h"

using bytes::lit;

namespace {

GsmOperator Op(const QString& ussd, const QString& apn, const QString& login,
               const QString& password) {
    return GsmOperator{QStringLiteral("op"), ussd, apn, login, password};
}

// Both SIMs on operator 0 of a one-operator list, everything else default.
void OneOperator(DeviceSettings& s) {
    s.gsmOperators = {Op("*100#", "internet.mts.ru", "mts", "mts")};
    s.header->simOperator = {0, 0};
}

void BadIndices(DeviceSettings& s) {
    OneOperator(s);
    s.header->simOperator = {-1, 1};
    s.extra->callPrefix.clear();
}

void Rich(DeviceSettings& s) {
    s.gsmOperators = {Op("*102#", "internet.beeline.ru", "beeline", "beeline"),
                      Op("*105#", "internet", "gdata", "gdata")};
    s.header->simOperator = {1, 0};
    s.header->checkBalance = {1, 0};
    s.servers->serverIp = {QStringLiteral("192.168.001.010"), QStringLiteral("010.000.000.002")};
    s.servers->serverPort = {QStringLiteral("05001"), QStringLiteral("12345")};
    s.navigation->distanceFilter = QStringLiteral("12");
    s.navigation->gpsReceiver = 2; // any non-zero type is a receiver
    s.connection->objectNumber = "4321";
    s.outputs->userPassword = {QStringLiteral("1111"), QStringLiteral("2222")};
    for (int i : {0, 5, 7, 8, 9}) // 5, 7, 8, 9 make the flag byte ':'; 0 is not sent here
        s.phones->useFlag[i] = 1;
    s.extra->saveStateOnPowerOff = 1;
    s.extra->callPrefix = QStringLiteral("8");
}

// Everything a page or a damaged file might leave behind.
void Hostile(DeviceSettings& s) {
    s.gsmOperators = {Op("*100*22#", "internet.very-long-operator-apn.example",
                         QStringLiteral("логин-пользователя"), QStringLiteral("pa:ss"))};
    s.header->simOperator = {0, 7};
    s.servers->serverIp = {QStringLiteral("10.0.0.1"),
                           QStringLiteral("192.168.100.200.and-a-lot-of-trailing-xy")};
    s.servers->serverPort = {QStringLiteral("80"), QStringLiteral("1234567")};
    s.navigation->distanceFilter = QStringLiteral("123456");
    s.connection->objectNumber = "12";
    s.outputs->userPassword = {QStringLiteral("1"), QStringLiteral("987654")};
    s.extra->callPrefix = QStringLiteral("+7-495-123-45-67");
    s.connection->csdDetail = 1; // with no receiver: '5'; rich sends the save bit alone
    for (int i : {4, 6, 10})     // 'E'; rich's 5, 7, 8, 9 give the other bits
        s.phones->useFlag[i] = 1;
}

} // namespace

class TstSectionsText : public QObject {
    Q_OBJECT
private slots:
    void golden_data();
    void golden();
    void fieldHelpers();
};

void TstSectionsText::golden_data() {
    QTest::addColumn<int>("fill"); // 0 bad indices, 1 one operator, 2 rich, 3 hostile
    QTest::addColumn<QByteArray>("craa");
    QTest::addColumn<QByteArray>("crmm");
    QTest::addColumn<QByteArray>("crhh");

    // Operator indices before and past the list: both SIMs go out as not in
    // use, the list is never read out of range.
    QTest::newRow("operators out of range")
        << 0 << lit("000.000.000.000:00000:-:-:-:0:0001:73917391>\0")
        << lit("-:-:-:-:-:-:\0:000.000.000.000"
               "00000"
               "0>\0")
        << lit("-:-:-:1:+7:-:\0:0>\0");
    QTest::newRow("defaults, one operator")
        << 1 << lit("000.000.000.000:00000:mts:mts:internet.mts.ru:0:0001:73917391>\0")
        << lit("mts:mts:internet.mts.ru:-:-:-:\0:000.000.000.000"
               "00000"
               "0>\0")
        << lit("*100#:*100#:-:1:+7:+7:\0:0>\0");
    QTest::newRow("rich") << 2
                          << lit("192.168.001.010:05001:gdata:gdata:internet:12:4321:11112222>\0")
                          << lit("beeline:beeline:internet.beeline.ru:-:-:-:"
                                 "::010.000.000.002"
                                 "12345"
                                 "5>\0")
                          << lit("*105#:-:-:8:+7:8:\0:0>\0");
    // Fixed-width fields keep their width; variable ones are cut to what the
    // device keeps, with ':' replaced so no field can split another.
    QTest::newRow("hostile") << 3
                             << lit("010.000.000.001:00080:?????"
                                    "-????:pa?ss:internet.very-long-operat:1234:0012:00019876>\0")
                             << lit("-:-:-:-:-:-:E:192.168.100.200"
                                    "12345"
                                    "5>\0")
                             << lit("*100*:-:-:5:+7:+7-495-123:\0:0>\0");
}

void TstSectionsText::golden() {
    QFETCH(int, fill);
    QFETCH(QByteArray, craa);
    QFETCH(QByteArray, crmm);
    QFETCH(QByteArray, crhh);
    DeviceSettings s;
    void (*fills[])(DeviceSettings&) = {BadIndices, OneOperator, Rich, Hostile};
    fills[fill](s);
    QCOMPARE(BuildPackCRAA(s), craa);
    QCOMPARE(BuildPackCRMM(s), crmm);
    QCOMPARE(BuildPackCRHH(s), crhh);
}

void TstSectionsText::fieldHelpers() {
    using namespace layout::text;
    QCOMPARE(ServerIpField(QString()), QByteArray("000.000.000.000"));
    QCOMPARE(ServerIpField(QStringLiteral("сервер")), QByteArray("??????000000000"));
    QCOMPARE(ServerIpField(QStringLiteral("1.2.3.4:80")), QByteArray("1.2.3.4?8000000"));
    QCOMPARE(DigitField(QByteArray(), 5), QByteArray("00000"));
    QCOMPARE(DigitField(lit("1:\0"), 4), QByteArray("01??"));
}

QTEST_GUILESS_MAIN(TstSectionsText)
#include "tst_sections_text.moc"
