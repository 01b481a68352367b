#include "settings/DeviceSettings.h"
#include "settings/LayoutCRFF.h"
#include "settings/Sections.h"

#include <QtTest>

#include "support/ByteCompare.h"

using bytes::ff;
using bytes::hex;
using bytes::text;
using bytes::zeros;

class TstSectionCRFF : public QObject {
    Q_OBJECT
private slots:
    void defaultsGolden();
    void richGolden();
    void overlongTextsKeepOffsets();
    void keyPack_data();
    void keyPack();
};

void TstSectionCRFF::defaultsGolden() {
    const DeviceSettings s;
    // Addresses, ports, both phones, flags, key word, the reserved run and the
    // three option bytes; an empty password; events with no time; zones.
    COMPARE_BYTES(BuildPackCRFF(s), zeros(68) + hex("90 00 00 00 00").repeated(2) +
                                        zeros(2 + 8 + 56 + 3) + zeros(1) + ff(31) + ff(1) +
                                        hex("FF FF 00 00").repeated(10) + zeros(4) + ff(32));
}

void TstSectionCRFF::richGolden() {
    DeviceSettings s;
    RemoteProgSettings& rp = *s.remoteProg;
    rp.serverAddress = {QStringLiteral("prog.example.com"),
                        QStringLiteral("abcdefghijklmnopqrstuvwxyz012345")};
    rp.serverPort = {8080, 65535};
    rp.phoneNumber = {QStringLiteral("0123456789"), QStringLiteral("9161234567")};
    rp.connectToServer = 1;
    rp.useProgIfNoProtect = 1;
    rp.smsKeyWord = QStringLiteral("Ключ");
    s.loopFunctions->errorOpenClose = 1;
    s.connection->asyncTransfer = 1;
    s.connection->deleteUnsent = 1;
    s.servers->serverPassword = QStringLiteral("secret");
    TimeTriggers& tt = *s.timeTriggers;
    tt.evTime[0] = QTime(8, 30);
    tt.evType[0] = 1;
    tt.evDay[0] = {1, 1, 1, 1, 1, 0, 0};
    tt.evType[5] = 2; // no time set
    tt.evDay[5][0] = 1;
    tt.evTime[9] = QTime(23, 59, 45);
    tt.evType[9] = 3;
    tt.evDay[9] = {0, 0, 0, 0, 0, 1, 1};
    s.outputs->outputZone = {0, 1, 2, 7};

    QByteArray exp;
    exp += text("prog.example.com", 32, '\0');
    exp += "abcdefghijklmnopqrstuvwxyz012345"; // full width: no 0x00
    exp += hex("1F 90 FF FF");
    exp += hex("01 23 45 67 89 91 61 23 45 67");
    exp += hex("00 03");
    exp += hex("CA EB FE F7 00 00 00 00"); // "Ключ" in Windows-1251
    exp += zeros(56);
    exp += hex("01 01 01");
    exp += text("secret", 7, '\0') + ff(25);
    exp += ff(1);
    exp += hex("08 1E 01 1F") + hex("FF FF 00 00").repeated(4) + hex("FF FF 02 01") +
           hex("FF FF 00 00").repeated(3) + hex("17 3B 03 60");
    exp += hex("00 01 02 07") + ff(32);
    COMPARE_BYTES(BuildPackCRFF(s), exp);
}

void TstSectionCRFF::overlongTextsKeepOffsets() {
    DeviceSettings s;
    RemoteProgSettings& rp = *s.remoteProg;
    rp.serverAddress = {QString(40, QLatin1Char('a')), QStringLiteral("сервер.рф")};
    rp.serverPort = {1, 2};
    rp.phoneNumber = {QStringLiteral("123"), QStringLiteral("98765432109876")};
    rp.smsKeyWord = QStringLiteral("ДлинноеСлово");
    s.servers->serverPassword = QString(40, QLatin1Char('p'));
    s.timeTriggers->evType[0] = -1;
    s.outputs->outputZone[3] = 300;

    const QByteArray b = BuildPackCRFF(s);
    QCOMPARE(b.size(), 256);
    QCOMPARE(b.mid(0, 32), QByteArray(32, 'a'));
    // Latin-1 field: Cyrillic becomes '?', one byte per character.
    QCOMPARE(b.mid(32, 32), text("??????.??", 32, '\0'));
    QCOMPARE(b.mid(64, 4), hex("00 01 00 02"));
    QCOMPARE(b.mid(68, 10), hex("12 30 00 00 00 98 76 54 32 10"));
    QCOMPARE(b.mid(80, 8), hex("C4 EB E8 ED ED EE E5 D1"));
    QCOMPARE(b.mid(147, 32), QByteArray(31, 'p') + zeros(1));
    QCOMPARE(b.mid(179, 5), hex("FF FF FF FF 00"));
    QCOMPARE(quint8(b.at(223)), quint8(300 & 0xFF));
    QCOMPARE(b.mid(224), ff(32));
}

void TstSectionCRFF::keyPack_data() {
    QTest::addColumn<QList<QByteArray>>("keys"); // slots 0.. in order, the rest empty
    QTest::addColumn<QList<int>>("active");
    QTest::addColumn<QList<int>>("rapid");
    QTest::addColumn<QByteArray>("slotBytes");
    QTest::addColumn<QByteArray>("masks"); // bytes 121..126
    QTest::addColumn<char>("check");

    // All zeros XOR to the seed 0x30: low bits 0x10, so 'P'.
    QTest::newRow("empty table") << QList<QByteArray>() << QList<int>() << QList<int>()
                                 << zeros(120) << zeros(6) << char(0x50);
    // Slot 0 reversed: AB^89^67^45^23^01 = 22; slot 5 short: 34^12 = 26; slot
    // 19 erased: six FF cancel out; the masks 01^01^08^02^00^03 = 09;
    // 30^22^26^09 = 3D, low bits 1D.
    QList<QByteArray> filled{"01-23-45-67-89-AB", "", "", "", "", "12-34"};
    while (filled.size() < 19)
        filled << QByteArray();
    filled << "FF-FF-FF-FF-FF-FF";
    QTest::newRow("filled table") << filled << QList<int>{0, 8, 19} << QList<int>{1, 16, 17}
                                  << hex("AB 89 67 45 23 01") + zeros(24) +
                                         hex("00 00 00 00 34 12") + zeros(13 * 6) + ff(6)
                                  << hex("01 01 08 02 00 03") << char(0x5D);
    // Bytes 1..126 XOR to 0x30, cancelling the seed.
    QTest::newRow("check A") << QList<QByteArray>{"00-00-00-00-00-30"} << QList<int>()
                             << QList<int>() << (hex("30") + zeros(119)) << zeros(6) << 'A';
    // XOR E0: only the low 5 bits decide, so 'A' again.
    QTest::newRow("check A, high bits")
        << QList<QByteArray>{"00-00-00-00-00-D0"} << QList<int>() << QList<int>()
        << (hex("D0") + zeros(119)) << zeros(6) << 'A';
    // Only the first six bytes of a key count; 30^07^AB^80^80^01^02 = 9F.
    QTest::newRow("long and unhyphenated keys")
        << QList<QByteArray>{"01-02-03-04-05-06-07", "0102030405aa"} << QList<int>{7, 15}
        << QList<int>{0, 17} << (hex("06 05 04 03 02 01 AA 05 04 03 02 01") + zeros(108))
        << hex("80 80 00 01 00 02") << char(0x5F);
}

void TstSectionCRFF::keyPack() {
    QFETCH(QList<QByteArray>, keys);
    QFETCH(QList<int>, active);
    QFETCH(QList<int>, rapid);
    QFETCH(QByteArray, slotBytes);
    QFETCH(QByteArray, masks);
    QFETCH(char, check);

    DeviceSettings s; // the key table has no defaults: start from an empty one
    s.keys->key.fill(QByteArray());
    for (int i = 0; i < keys.size(); ++i)
        s.keys->key[i] = keys[i];
    for (int n : active)
        s.keys->keyActive[n] = 1;
    for (int n : rapid)
        s.keys->rapidResponseKey[n] = 1;

    const QByteArray p = BuildKeysPack(s);
    COMPARE_BYTES(p, hex("30") + slotBytes + masks + check + zeros(1));
}

QTEST_GUILESS_MAIN(TstSectionCRFF)
#include "tst_section_crff.moc"
