#include "settings/DeviceSettings.h"
#include "settings/LayoutNumbers.h"
#include "settings/Sections.h"

#include <QtTest>

namespace {

QByteArray Hex(const char* hex) {
    return QByteArray::fromHex(hex);
}
QByteArray Zeros(int n) {
    return QByteArray(n, '\0');
}

void RichNumbers(DeviceSettings& s) {
    PhoneNumbers& p = *s.phones;
    p.number[0] = QStringLiteral("0123456789");
    p.number[1] = QStringLiteral("9161234567");
    p.number[2] = QStringLiteral("9000000001");
    p.number[4] = QStringLiteral("8005553535");
    p.number[5] = QStringLiteral("9031112233");
    p.number[9] = QStringLiteral("4958887766");
    p.number[14] = QStringLiteral("0123456789");
    s.outputs->adminPassword = {QStringLiteral("1234"), QStringLiteral("5678")};
    PhoneNumberOptions& o = *s.phoneOptions;
    SmsNumberFlags& f = *s.smsFlags;
    o.callAttemptsOpenClose = {3, 2, 0x0F, 256, 0};
    o.callAttemptsAlarm = {5, 0, 255, -1, 1};
    f.cboz = {1, 0, 1, 0, 0};
    f.cbts = {1, 0, 1, 1, 0};
    f.cbza = {0, 1, 1, 0, 0};
    f.checkbox = {1, 1, 1, 1, 1}; // not part of these sections
}

void RichMatrix(DeviceSettings& s) {
    ZonesConfig& z = *s.zones;
    z.keyLoop[0][0] = z.keyLoop[0][7] = 1;
    z.keyLoop[5][2] = 1;
    z.keyLoop[17].fill(1);
    LoopLimits& l = *s.loopLimits;
    l.minLevel[0] = 0, l.maxLevel[0] = 1023;
    l.minLevel[1] = 100, l.maxLevel[1] = 900;
    l.minLevel[3] = 0, l.maxLevel[3] = 5000; // beyond the ADC: sent as its top
    l.minLevel[7] = 33, l.maxLevel[7] = 64;
    l.reverse[0] = l.reverse[2] = l.reverse[4] = 1;
    s.header->workMode = MODE_AUTONOMOUS;
    s.connection->reserveReceiversFirst = 1;
    s.connection->connectByGprs = 1;
    s.phones->useFlag[0] = s.phones->useFlag[3] = 1;
    s.phones->useFlag[4] = 1; // sent elsewhere
}

} // namespace

class TstSectionsNumbers : public QObject {
    Q_OBJECT
private slots:
    void crqq_data();
    void crqq();
    void cr77_data();
    void cr77();
    void cr88_data();
    void cr88();
    void cr88SingleFields_data();
    void cr88SingleFields();
    void malformedKeepLayout();
};

void TstSectionsNumbers::crqq_data() {
    QTest::addColumn<bool>("rich");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("defaults") << false << Zeros(25) + "73917391" + Zeros(11);
    // 5 numbers, "1234" "5678", then per number (open/close, alarm), then 00.
    QTest::newRow("rich") << true
                          << Hex("0123456789"
                                 "9161234567"
                                 "9000000001"
                                 "0000000000"
                                 "8005553535") +
                                 "12345678" +
                                 Hex("3305" // 3 | cboz | cbts, 5
                                     "4200" // 2 | cbza
                                     "7fff" // 0x0F | all three, 255
                                     "10ff" // 256 keeps 0, cbts; -1
                                     "0001" // nothing, 1
                                     "00");
}

void TstSectionsNumbers::crqq() {
    QFETCH(bool, rich);
    QFETCH(QByteArray, expected);
    DeviceSettings s;
    if (rich)
        RichNumbers(s);
    QCOMPARE(BuildPackCRQQ(s), expected);
}

void TstSectionsNumbers::cr77_data() {
    QTest::addColumn<bool>("rich");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("defaults") << false << Zeros(51);
    QTest::newRow("rich") << true
                          << Hex("9031112233") + Zeros(15) + Hex("4958887766") + Zeros(20) +
                                 Hex("0123456789") + Zeros(1);
}

void TstSectionsNumbers::cr77() {
    QFETCH(bool, rich);
    QFETCH(QByteArray, expected);
    DeviceSettings s;
    if (rich)
        RichNumbers(s);
    QCOMPARE(BuildPackCR77(s), expected);
}

void TstSectionsNumbers::cr88_data() {
    QTest::addColumn<bool>("rich");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("defaults") << false << Zeros(84);
    QByteArray rich = Hex("8100000000040000" // keys 0..7
                          "0000000000000000" // keys 8..15
                          "00ff") +          // keys 16, 17
                      Zeros(6) +
                      Hex("00001f1f" // loop 0: 0..1023
                          "03041c04" // loop 1: 100..900
                          "00000000" // loop 2
                          "00001f1f" // loop 3: 0..5000 cut to 1023
                          "00000000"
                          "00000000"
                          "00000000"
                          "01010200" // loop 7: 33..64
                          "05"       // reverse 0, 2
                          "11"       // reverse 4, autonomous
                          "72") +    // reserve, GPRS, use flags 3 and 0
                      Zeros(25);
    QTest::newRow("rich") << true << rich;
}

void TstSectionsNumbers::cr88() {
    QFETCH(bool, rich);
    QFETCH(QByteArray, expected);
    DeviceSettings s;
    if (rich)
        RichMatrix(s);
    QCOMPARE(BuildPackCR88(s), expected);
}

void TstSectionsNumbers::cr88SingleFields_data() {
    QTest::addColumn<int>("what");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("byte");
    QTest::newRow("reverse 3") << 0 << 56 << 0x08;
    QTest::newRow("reverse 7") << 1 << 57 << 0x08;
    QTest::newRow("mode autonomous only") << 2 << 57 << 0x10;
    QTest::newRow("use flag 1") << 3 << 58 << 0x04;
    QTest::newRow("use flag 2") << 4 << 58 << 0x08;
    QTest::newRow("GPRS") << 5 << 58 << 0x20;
}

void TstSectionsNumbers::cr88SingleFields() {
    QFETCH(int, what);
    QFETCH(int, offset);
    QFETCH(int, byte);
    DeviceSettings s;
    switch (what) {
    case 0:
        s.loopLimits->reverse[3] = 1;
        break;
    case 1:
        s.loopLimits->reverse[7] = 1;
        break;
    case 2:
        s.header->workMode = MODE_AUTONOMOUS;
        break;
    case 3:
        s.phones->useFlag[1] = 1;
        break;
    case 4:
        s.phones->useFlag[2] = 1;
        break;
    case 5:
        s.connection->connectByGprs = 1;
        break;
    }
    QByteArray expected = Zeros(84);
    expected[offset] = char(byte);
    QCOMPARE(BuildPackCR88(s), expected);
}

// Numbers and passwords that break the model's invariants still give
// sections of the device's size with every later field in its place.
void TstSectionsNumbers::malformedKeepLayout() {
    DeviceSettings s;
    s.phones->number[0] = QStringLiteral("912");
    s.phones->number[1] = QStringLiteral("+7(916)123-45-67");
    s.phones->number[2] = QString();
    s.phones->number[3] = QStringLiteral("номер");
    s.phones->number[4] = QStringLiteral("123456789012345");
    s.phones->number[14] = QStringLiteral("12");
    s.outputs->adminPassword = {QStringLiteral("12"), QStringLiteral("пароль")};
    s.phoneOptions->callAttemptsOpenClose[0] = 1;
    s.phoneOptions->callAttemptsAlarm[4] = 9;

    const QByteArray qq = BuildPackCRQQ(s);
    QCOMPARE(qq, Hex("9120000000"
                     "0709160123" // non-digits count as 0
                     "0000000000"
                     "0000000000"
                     "1234567890") +
                     "0012????" + Hex("0100000000000000000900"));

    const QByteArray s77 = BuildPackCR77(s);
    QCOMPARE(s77.size(), layout::cr77::kSize);
    QCOMPARE(s77.mid(45), Hex("120000000000"));

    // An admin password longer than its field no longer spills into the
    // per-number options.
    s.outputs->adminPassword = {QStringLiteral("123456"), QStringLiteral("7391")};
    QCOMPARE(BuildPackCRQQ(s).mid(25, 10), QByteArray("12347391") + Hex("0100"));
}

QTEST_GUILESS_MAIN(TstSectionsNumbers)
#include "tst_sections_numbers.moc"
