#include "link/StatusMessages.h"

#include <QtTest>

class TstStatusMessages : public QObject {
    Q_OBJECT
private slots:
    void tableCodesAndColours();
    void formatting();
    void deviceNames();
};

void TstStatusMessages::tableCodesAndColours() {
    const QList<int> codes{100, 110, 111, 112, 113, 114, 120, 121, 122, 123, 124, 125, 126, 127,
                           128, 129, 130, 200, 210, 211, 212, 213, 300, 301, 302, 310, 311};
    QCOMPARE(StatusMessages().keys(), codes);
    for (int code : codes) {
        const StatusMessage m = LookupStatus(code);
        QCOMPARE(m.code, code);
        QVERIFY(!m.text.isEmpty());
        const QColor expected = code == 114  ? QColor(158, 211, 255)
                                : code < 200 ? QColor(213, 253, 216)
                                : code < 300 ? QColor(255, 255, 176)
                                             : QColor(255, 179, 179);
        QCOMPARE(m.colour, expected);
    }
    QVERIFY(LookupStatus(999).text.isEmpty());
    QVERIFY(!LookupStatus(999).colour.isValid());
    // Wording the users know: straight quotes, the letter ё, no space before "(".
    QCOMPARE(LookupStatus(122).text, QString("Прибор перешёл в режим \"Тест\""));
    QCOMPARE(LookupStatus(210).text,
             QString("Прибор ещё не был запрограммирован. Чтение невозможно"));
    QCOMPARE(LookupStatus(213).text, QString("Прибор данного типа(%1) не поддерживается"));
}

void TstStatusMessages::formatting() {
    QCOMPARE(FormatStatus(100, {QString("Миврел-К"), QString("19.04.2012"), 45}),
             QString("Прибор \"Миврел-К\" версии 19.04.2012/45 готов к программированию"));
    // Missing values leave their placeholders as written.
    QCOMPARE(FormatStatus(212, {QString("Дорна-4М")}),
             QString("Прибор \"Дорна-4М\" %2 не поддерживается"));
    // A value carrying a placeholder is not substituted again.
    QCOMPARE(FormatStatus(212, {QString("%2"), QString("x")}),
             QString("Прибор \"%2\" x не поддерживается"));
    QCOMPARE(FormatStatus(12345, {1}), QString());
}

void TstStatusMessages::deviceNames() {
    QCOMPARE(DeviceTypeNames().values(),
             (QList<QString>{"Дорна-4М", "Дорна-8М", "Миврел", "Миврел-К"}));
    QCOMPARE(DeviceTypeName(3), QString("Миврел-К"));
    QVERIFY(DeviceTypeName(4).isEmpty());
    QVERIFY(DeviceTypeName(-1).isEmpty());
}

QTEST_GUILESS_MAIN(TstStatusMessages)
#include "tst_statusmessages.moc"
