#include "settings/DeviceSettings.h"
#include "settings/LayoutNumbers.h"
#include "settings/Sections.h"

#include <QtTest>

#include "support/ByteCompare.h"

using bytes::hex;
using bytes::zeros;

namespace {

void Rich(DeviceSettings& s) {
    PhoneNumbers& p = *s.phones;
    p.number[0] = QStringLiteral("0123456789");
    p.number[1] = QStringLiteral("9161234567");
    p.number[2] = QStringLiteral("9000000001");
    p.number[4] = QStringLiteral("8005553535");
    p.number[5] = QStringLiteral("9031112233");
    p.number[9] = QStringLiteral("4958887766");
    p.number[14] = QStringLiteral("0123456789");
    p.useFlag[0] = p.useFlag[2] = 1;
    p.useFlag[4] = 1; // sent in another section
    s.outputs->adminPassword = {QStringLiteral("1234"), QStringLiteral("5678")};
    s.phoneOptions->callAttemptsOpenClose = {3, 2, 0x0F, 256, 0};
    s.phoneOptions->callAttemptsAlarm = {5, 0, 255, -1, 1};
    SmsNumberFlags& f = *s.smsFlags;
    f.cboz = {1, 0, 1, 0, 0};
    f.cbts = {1, 0, 1, 1, 0};
    f.cbza = {0, 1, 1, 0, 0};
    f.checkbox = {1, 1, 1, 1, 1}; // not part of these sections

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
}

} // namespace

class TstSectionsNumbers : public QObject {
    Q_OBJECT
private slots:
    void golden_data();
    void golden();
    void malformedKeepLayout();
};

void TstSectionsNumbers::golden_data() {
    QTest::addColumn<bool>("rich");
    QTest::addColumn<QByteArray>("crqq");
    QTest::addColumn<QByteArray>("cr77");
    QTest::addColumn<QByteArray>("cr88");
    QTest::newRow("defaults") << false << zeros(25) + "73917391" + zeros(11) << zeros(51)
                              << zeros(84);
    QTest::newRow("rich") << true
                          << hex("0123456789 9161234567 9000000001 0000000000 8005553535") +
                                 "12345678" +
                                 hex("3305" // 3 | cboz | cbts, 5
                                     "4200" // 2 | cbza
                                     "7fff" // 0x0F | all three, 255
                                     "10ff" // 256 keeps 0, cbts; -1
                                     "0001" // nothing, 1
                                     "00")
                          << hex("9031112233") + zeros(15) + hex("4958887766") + zeros(20) +
                                 hex("0123456789") + zeros(1)
                          << hex("8100000000040000 0000000000000000 00ff") + zeros(6) +
                                 hex("00001f1f" // loop 0: 0..1023
                                     "03041c04" // loop 1: 100..900
                                     "00000000"
                                     "00001f1f" // loop 3: 0..5000 cut to 1023
                                     "00000000 00000000 00000000"
                                     "01010200" // loop 7: 33..64
                                     "05"       // reverse 0, 2
                                     "11"       // reverse 4, autonomous
                                     "6a") +    // reserve, GPRS, use flags 2 and 0
                                 zeros(25);
}

void TstSectionsNumbers::golden() {
    QFETCH(bool, rich);
    QFETCH(QByteArray, crqq);
    QFETCH(QByteArray, cr77);
    QFETCH(QByteArray, cr88);
    DeviceSettings s;
    if (rich)
        Rich(s);
    COMPARE_BYTES(BuildPackCRQQ(s), crqq);
    COMPARE_BYTES(BuildPackCR77(s), cr77);
    COMPARE_BYTES(BuildPackCR88(s), cr88);
}

// Numbers and passwords that break the model's invariants still give
// sections of the device's size with every later field in its place.
void TstSectionsNumbers::malformedKeepLayout() {
    DeviceSettings s;
    s.phones->number = {QStringLiteral("912"), QStringLiteral("+7(916)123-45-67"), QString(),
                        QStringLiteral("номер"), QStringLiteral("123456789012345")};
    s.phones->number[14] = QStringLiteral("12");
    s.outputs->adminPassword = {QStringLiteral("123456"), QStringLiteral("пароль")};
    s.phoneOptions->callAttemptsOpenClose[0] = 1;
    s.phoneOptions->callAttemptsAlarm[4] = 9;

    COMPARE_BYTES(BuildPackCRQQ(s), hex("9120000000"
                                        "0709160123" // non-digits count as 0
                                        "0000000000 0000000000 1234567890") +
                                        "1234????" + hex("0100000000000000000900"));
    const QByteArray s77 = BuildPackCR77(s);
    QCOMPARE(s77.size(), layout::cr77::kSize);
    QCOMPARE(s77.mid(45), hex("120000000000"));
}

QTEST_GUILESS_MAIN(TstSectionsNumbers)
#include "tst_sections_numbers.moc"
