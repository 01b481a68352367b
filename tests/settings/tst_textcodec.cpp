#include "settings/TextCodec.h"

#include <QtTest>

class TstTextCodec : public QObject {
    Q_OBJECT
private slots:
    void codePages();
    void phoneToBcd_data();
    void phoneToBcd();
    void bcdToPhone();
};

void TstTextCodec::codePages() {
    const QString name = QStringLiteral("Зона ё №1");
    // One byte per character: that is what the device's fixed fields count.
    QCOMPARE(ToCp1251(name), QByteArray("\xC7\xEE\xED\xE0 \xB8 \xB9"
                                        "1"));
    QCOMPARE(FromCp1251(ToCp1251(name)), name);
    QCOMPARE(ToCp1251(QStringLiteral("a\u4e2db")), QByteArray("a?b"));

    QCOMPARE(ToLatin1(QStringLiteral("apn.é")), QByteArray("apn.\xE9"));
    QCOMPARE(ToLatin1(QStringLiteral("логин")), QByteArray("?????"));

    QVERIFY(IsValidUtf8(QStringLiteral("Зона").toUtf8()));
    QVERIFY(!IsValidUtf8(ToCp1251(QStringLiteral("Зона"))));
}

void TstTextCodec::phoneToBcd_data() {
    QTest::addColumn<QString>("number");
    QTest::addColumn<QByteArray>("bcd");
    QTest::newRow("ascending") << "0123456789" << QByteArray::fromHex("0123456789");
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
