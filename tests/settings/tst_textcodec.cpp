#include "settings/TextCodec.h"

#include <QtTest>

class TstTextCodec : public QObject {
    Q_OBJECT
private slots:
    void cp1251RoundTrip();
    void latin1Substitutes();
    void utf8Detection();
    void phoneToBcd_data();
    void phoneToBcd();
    void bcdToPhone();
};

void TstTextCodec::cp1251RoundTrip() {
    const QString name = QStringLiteral("Зона ё №1");
    const QByteArray bytes = ToCp1251(name);
    // One byte per character: that is what the device's fixed fields count.
    QCOMPARE(bytes.size(), name.size());
    QCOMPARE(uchar(bytes.at(0)), uchar(0xC7)); // З
    QCOMPARE(uchar(bytes.at(5)), uchar(0xB8)); // ё
    QCOMPARE(uchar(bytes.at(7)), uchar(0xB9)); // №
    QCOMPARE(FromCp1251(bytes), name);
    // A character outside the code page becomes one '?'.
    QCOMPARE(ToCp1251(QStringLiteral("a\u4e2db")), QByteArray("a?b"));
}

void TstTextCodec::latin1Substitutes() {
    QCOMPARE(ToLatin1(QStringLiteral("apn.ru")), QByteArray("apn.ru"));
    QCOMPARE(ToLatin1(QStringLiteral("логин")), QByteArray("?????"));
    QCOMPARE(ToLatin1(QStringLiteral("é")), QByteArray("\xE9"));
}

void TstTextCodec::utf8Detection() {
    QVERIFY(IsValidUtf8(QStringLiteral("Зона").toUtf8()));
    QVERIFY(IsValidUtf8("plain ascii"));
    QVERIFY(!IsValidUtf8(ToCp1251(QStringLiteral("Зона"))));
}

void TstTextCodec::phoneToBcd_data() {
    QTest::addColumn<QString>("number");
    QTest::addColumn<QByteArray>("bcd");
    QTest::newRow("ascending") << "0123456789" << QByteArray::fromHex("0123456789");
    QTest::newRow("zeros") << "0000000000" << QByteArray(5, '\0');
    QTest::newRow("short") << "912" << QByteArray::fromHex("9120000000");
    QTest::newRow("long") << "123456789012" << QByteArray::fromHex("1234567890");
    QTest::newRow("non-digits") << "+7a1" << QByteArray::fromHex("0701000000");
    QTest::newRow("empty") << "" << QByteArray(5, '\0');
}

void TstTextCodec::phoneToBcd() {
    QFETCH(QString, number);
    QFETCH(QByteArray, bcd);
    QCOMPARE(PhoneToBcd(number), bcd);
}

void TstTextCodec::bcdToPhone() {
    QCOMPARE(BcdToPhone(QByteArray::fromHex("9161234567")), QString("9161234567"));
    QCOMPARE(BcdToPhone(QByteArray::fromHex("ffffffffff")), QString("ffffffffff"));
    QCOMPARE(BcdToPhone(QByteArray::fromHex("91612345670000")), QString("9161234567"));
    QCOMPARE(BcdToPhone(QByteArray::fromHex("12")), QString("12"));
}

QTEST_GUILESS_MAIN(TstTextCodec)
#include "tst_textcodec.moc"
