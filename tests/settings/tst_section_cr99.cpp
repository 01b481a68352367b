#include "settings/DeviceSettings.h"
#include "settings/LayoutCR99.h"
#include "settings/Sections.h"

#include <QtTest>

#include "support/ByteCompare.h"

using bytes::ff;
using bytes::hex;
using bytes::text;
using bytes::zeros;

namespace {

void setFirmware(DeviceSettings& s, QDate date, int sub = 1, int type = DEV_D8M) {
    s.header->firmwareDate = date;
    s.header->firmwareSubVersion = sub;
    s.header->deviceType = type;
}

// A settings object with something in every field the section carries.
void fillRich(DeviceSettings& s) {
    LoopFunctions& lf = *s.loopFunctions;
    lf.openAnalysis[0] = 3;
    lf.openSiren[0] = 1;
    lf.closeAnalysis[0] = 2;
    lf.closeLight[0] = 1;
    lf.openAnalysis[1] = 1;
    lf.openLight[1] = 1;
    lf.closeAnalysis[1] = 1;
    lf.closeSiren[1] = 1;
    lf.openAnalysis[7] = 2;
    lf.openSiren[7] = lf.openLight[7] = 1;
    lf.closeAnalysis[7] = 3;
    lf.closeSiren[7] = lf.closeLight[7] = 1;

    ExtraOptions& e = *s.extra;
    e.useTamper = 1;
    e.disarmDelayOn = 0;
    e.disarmDelayLoop = 5;
    e.disarmDelayTime = 3;
    e.armDelayOn = 1;
    e.armDelayLoop = 2;
    e.armDelayTime = 7;
    e.techLoop = 3;
    e.useVoiceMessages = 1;
    e.silentArming = 1;
    e.useVoicePasswords = 1;

    SmsNumberFlags& sf = *s.smsFlags;
    sf.checkbox = {1, 0, 1, 0, 1};
    sf.checkbox13 = 1;
    sf.cb_p_vx_sn = {0, 1, 0, 0, 1};
    sf.objectIdInSms = 1;
    sf.cbDrugieZa = {0, 0, 1, 0, 0};
    sf.cbDrugieOt = {1, 1, 1, 1, 1};
    s.phoneOptions->alarmCallUntilAnswer = 1;

    ServerSettings& sv = *s.servers;
    sv.useDns = {1, 0};
    sv.perez = {0, 1};
    sv.udPop = {5, 2};
    sv.obnov = {1, 0};
    sv.udPop3 = 4;
    sv.dnsName = {QStringLiteral("srv.example.ru"), QStringLiteral("b")};
    sv.useGprsMode2 = 1;

    ConnectionParams& c = *s.connection;
    c.testWhenClosed = 1;
    c.testInterval = 6;
    c.testAttempts = 3;
    c.testReceiver = {1, 0, 0, 0, 0, 0, 1};
    c.rapidResponseAttempts = 2;
    c.serverProtocol = 1;

    OutputsConfig& o = *s.outputs;
    o.outputType = {1, 2, 3, 4};
    o.outputLoop[0][0] = o.outputLoop[0][7] = 1;
    o.outputLoop[2].fill(1);
    o.outputLoop[3][3] = 1;
    o.outputFlagA = {0, 1, 0, 1};
    o.keepOnPowerOff = {0, 0, 1, 0};

    CallMatrix& cm = *s.callMatrix;
    cm.openClose[0].fill(0);
    cm.openClose[2].fill(0);
    cm.openClose[2][1] = 1;

    s.loopLimits->radio[0] = 1;  // gate opens only on 01.12.2010
    s.cameras->useCamera[0] = 1; // camera firmware only
    s.cameras->execCamera[2][0] = 1;

    ConsoleSmsSettings& cs = *s.consoleSms;
    cs.cb2to5 = {1, 0, 0, 1};
    cs.cb1 = 1;
    cs.number[0] = QStringLiteral("0123456789");
    cs.number[4] = QStringLiteral("9161234567");
    cs.eventNumber[0] = {1, 1, 0, 0, 0};
    cs.eventNumber[3] = {0, 0, 0, 0, 1};
    cs.eventNumber[8] = {1, 1, 1, 1, 1};
    for (int i = 0; i < kConsoleEvents; ++i)
        cs.eventKind[i] = i + 1;
    cs.withTime[3] = 1;
    cs.withKeyName[8] = 1;
    cs.withLoopName[0] = 1;
    cs.objectName = QStringLiteral("Склад №1");
    cs.loopName[0] = QStringLiteral("Door");
    cs.loopName[1] = QStringLiteral("VeryLongName");
    s.zones->eepromKeyName[0] = QStringLiteral("Иван");
    s.zones->eepromKeyName[17] = QStringLiteral("K18");
    cs.eventText[0][0] = QStringLiteral("Alarm");
    cs.eventText[1][0] = QStringLiteral("A1");
    cs.eventText[2][0] = QStringLiteral("Zone1");
    cs.eventText[0][3] = QStringLiteral("0123456789ABCDEFG");
    cs.eventText[1][3] = QStringLiteral("xyzw");

    SntpSettings& sn = *s.sntp;
    sn.sntpVersion = 1;
    sn.cb3 = 0;
    sn.cb4 = 1;
    sn.useSntp = 0;
    sn.sntpIp = QStringLiteral("192.168.001.010");
    sn.sntpPort = QStringLiteral("00123");
    sn.sntpDns = QStringLiteral("pool.ntp.org");

    ExtraSmsFlags& es = *s.extraSms;
    es.smsService = {1, 0, 0, 0, 0};
    es.smsSimChange = {0, 1, 0, 0, 0};
    es.smsUserOut1 = {0, 0, 0, 0, 1};
    es.smsUserOut2 = {1, 0, 0, 0, 0};

    NavigationSettings& n = *s.navigation;
    n.cb13 = 2;
    n.relayFrequent = {1, 0, 0, 1};
    n.loopFrequent[2] = n.loopFrequent[7] = 1;
    n.timeZone = 5;
    n.updateTimeFromGps = 1;
}

} // namespace

class TstSectionCR99 : public QObject {
    Q_OBJECT
private slots:
    void defaultsGolden();
    void richGolden();
    void lengthAtGateBoundaries_data();
    void lengthAtGateBoundaries();
    void earlierBytesUnchangedByLaterGates_data();
    void earlierBytesUnchangedByLaterGates();
    void smsEventBlock_data();
    void smsEventBlock();
    void serverAttemptBits_data();
    void serverAttemptBits();
    void consoleBlockFrom15_04_2010();
    void voicePasswordBit_data();
    void voicePasswordBit();
    void radioAndCameraGates_data();
    void radioAndCameraGates();
    void badSettingsKeepLayout();
};

void TstSectionCR99::defaultsGolden() {
    DeviceSettings s;
    QCOMPARE(BuildPackCR99(s), zeros(15)); // no version chosen: base form only

    setFirmware(s, QDate(2012, 4, 19), 1, DEV_D4M);
    QByteArray exp;
    exp += zeros(14);             // loops, reserved, tamper, both delays "no delay"
    exp += hex("00 00");          // SMS options, technological loop
    exp += hex("43 43 40");       // servers: fixed attempts 3 from 19.04.2012
    exp += zeros(64);             // both DNS names empty
    exp += hex("00 FF 00 00 00"); // test flags, attempts 0 - 1, receivers, options, byte 87
    exp += zeros(8);              // output types and loop masks
    exp += ff(10);                // call matrix all on
    exp += hex("00 00");
    for (int r = 0; r < 5; ++r)
        exp += hex("90 00 00 00 00");
    exp += zeros(15 + 9 + 9);
    exp += text("Device1", 8, '\xFF');
    for (int i = 1; i <= 8; ++i)
        exp += text(QByteArray("Shl" + QByteArray::number(i)).constData(), 8, '\xFF');
    exp += ff(18 * 8);
    QCOMPARE(exp.size(), 382);
    for (int r = 0; r < 9; ++r)
        exp += ff(15) + zeros(1) + ff(4) + ff(10);
    exp += hex("8B"); // version 2, cb3, use SNTP, always bit
    exp += "000.000.000.00000000";
    exp += zeros(32);
    QCOMPARE(exp.size(), 705);
    exp += zeros(4) + zeros(1) + zeros(2); // SMS events, output flags, navigation
    exp += hex("A0 80 80 80");
    exp += zeros(1);
    COMPARE_BYTES(BuildPackCR99(s), exp);
}

void TstSectionCR99::richGolden() {
    DeviceSettings s;
    fillRich(s);
    setFirmware(s, QDate(2010, 8, 16), 1, DEV_D8M);

    QByteArray exp;
    exp += hex("E9 56 00 00 00 00 00 BF"); // loop functions
    exp += hex("00 00 00 20 6B 17");       // reserved, tamper, disarm, arm
    exp += hex("55 13");
    exp += hex("65 52 54");
    exp += text("srv.example.ru", 32, '\0') + text("b", 32, '\0');
    exp += hex("26 02 41 32 72");
    exp += hex("01 02 03 04 81 00 FF 08");
    exp += hex("00 FF FF FF 02 FF FF FF FF FF");
    exp += hex("00 33"); // radio gate still closed
    exp += hex("01 23 45 67 89") + hex("90 00 00 00 00") + hex("90 00 00 00 00") +
           hex("90 00 00 00 00") + hex("91 61 23 45 67");
    exp += zeros(15); // not a camera firmware
    exp += hex("03 00 00 10 00 00 00 00 1F");
    exp += hex("81 02 03 05 06 07 08 49 24"); // kinds in the order 0 1 2 4 5 6 7 8 3
    exp += hex("D1 EA EB E0 E4 20 B9 31");    // "Склад №1" in Windows-1251
    exp += text("Door", 8, '\xFF') + QByteArray("VeryLong");
    for (int i = 3; i <= 8; ++i)
        exp += text(QByteArray("Shl" + QByteArray::number(i)).constData(), 8, '\xFF');
    exp += hex("C8 E2 E0 ED FF FF FF FF") + ff(16 * 8) + text("K18", 8, '\xFF');
    exp += text("Alarm", 15, '\xFF') + zeros(1) + text("A1", 4, '\xFF') + text("Zone1", 10, '\xFF');
    for (int r = 1; r < 8; ++r)
        exp += ff(15) + zeros(1) + ff(4) + ff(10);
    exp += QByteArray("0123456789ABCDE") + zeros(1) + QByteArray("xyzw") + ff(10);
    exp += hex("45");
    exp += "192.168.001.01000123";
    exp += text("pool.ntp.org", 32, '\0');
    QCOMPARE(exp.size(), 705);
    exp += hex("01 02 04 1F"); // service, SIM change, drugie za, drugie ot
    exp += hex("0A");
    exp += hex("C9 84");
    exp += hex("E5 90 81 84");
    exp += zeros(1);
    COMPARE_BYTES(BuildPackCR99(s), exp);
}

void TstSectionCR99::lengthAtGateBoundaries_data() {
    QTest::addColumn<QDate>("fw");
    QTest::addColumn<int>("length");
    QTest::newRow("no version") << QDate() << 15;
    QTest::newRow("21.09.2009") << QDate(2009, 9, 21) << 15;
    QTest::newRow("22.09.2009") << QDate(2009, 9, 22) << 17;
    QTest::newRow("27.11.2009") << QDate(2009, 11, 27) << 17;
    QTest::newRow("28.11.2009") << QDate(2009, 11, 28) << 89;
    QTest::newRow("18.12.2009") << QDate(2009, 12, 18) << 89;
    QTest::newRow("19.12.2009") << QDate(2009, 12, 19) << 93;
    QTest::newRow("20.12.2009") << QDate(2009, 12, 20) << 89;
    QTest::newRow("28.01.2010") << QDate(2010, 1, 28) << 89;
    QTest::newRow("16.02.2010") << QDate(2010, 2, 16) << 89;
    QTest::newRow("17.02.2010") << QDate(2010, 2, 17) << 97;
    QTest::newRow("25.03.2010") << QDate(2010, 3, 25) << 97;
    QTest::newRow("26.03.2010") << QDate(2010, 3, 26) << 107;
    QTest::newRow("14.04.2010") << QDate(2010, 4, 14) << 107;
    QTest::newRow("15.04.2010") << QDate(2010, 4, 15) << 706;
    QTest::newRow("04.06.2010") << QDate(2010, 6, 4) << 706;
    QTest::newRow("05.06.2010") << QDate(2010, 6, 5) << 711;
    QTest::newRow("06.06.2010") << QDate(2010, 6, 6) << 711;
    QTest::newRow("07.06.2010") << QDate(2010, 6, 7) << 713;
    QTest::newRow("15.08.2010") << QDate(2010, 8, 15) << 713;
    QTest::newRow("16.08.2010") << QDate(2010, 8, 16) << 717;
    QTest::newRow("03.12.2010") << QDate(2010, 12, 3) << 717;
    QTest::newRow("18.12.2018") << QDate(2018, 12, 18) << 717;
}

void TstSectionCR99::lengthAtGateBoundaries() {
    QFETCH(QDate, fw);
    QFETCH(int, length);
    for (int sub : {1, 31}) {
        DeviceSettings s;
        fillRich(s);
        setFirmware(s, fw, sub);
        const QByteArray b = BuildPackCR99(s);
        QCOMPARE(b.size(), length);
        QCOMPARE(Cr99Length(*s.header), length);
        QCOMPARE(b.at(b.size() - 1), '\0');
    }
}

void TstSectionCR99::earlierBytesUnchangedByLaterGates_data() {
    QTest::addColumn<QDate>("fw");
    QTest::addColumn<int>("body");
    QTest::addColumn<quint8>("byte87");
    QTest::newRow("22.09.2009") << QDate(2009, 9, 22) << 16 << quint8(0);
    QTest::newRow("28.11.2009") << QDate(2009, 11, 28) << 88 << quint8(0x12);
    QTest::newRow("28.01.2010") << QDate(2010, 1, 28) << 88 << quint8(0x32);
    QTest::newRow("17.02.2010") << QDate(2010, 2, 17) << 96 << quint8(0x32);
    QTest::newRow("26.03.2010") << QDate(2010, 3, 26) << 106 << quint8(0x32);
    QTest::newRow("15.04.2010") << QDate(2010, 4, 15) << 705 << quint8(0x32);
    QTest::newRow("05.06.2010") << QDate(2010, 6, 5) << 705 << quint8(0x72);
}

// Each gate appends its bytes after the earlier ones and leaves those as the
// longest layout has them (byte 87 gains its bits one gate at a time).
void TstSectionCR99::earlierBytesUnchangedByLaterGates() {
    QFETCH(QDate, fw);
    QFETCH(int, body);
    QFETCH(quint8, byte87);
    DeviceSettings s;
    fillRich(s);
    setFirmware(s, QDate(2010, 8, 16));
    QByteArray full = BuildPackCR99(s);
    setFirmware(s, fw);
    QByteArray b = BuildPackCR99(s);
    QCOMPARE(Cr99LayoutFor(*s.header).bodySize, body);
    if (body > 87) {
        QCOMPARE(quint8(b.at(87)), byte87);
        b[87] = full[87] = 0;
    }
    COMPARE_BYTES(b.left(body), full.left(body));
}

void TstSectionCR99::smsEventBlock_data() {
    QTest::addColumn<QDate>("fw");
    QTest::addColumn<int>("at"); // where the four bytes sit, -1 when absent
    QTest::newRow("18.12.2009") << QDate(2009, 12, 18) << -1;
    QTest::newRow("19.12.2009") << QDate(2009, 12, 19) << 88;
    QTest::newRow("20.12.2009") << QDate(2009, 12, 20) << -1;
    QTest::newRow("04.06.2010") << QDate(2010, 6, 4) << -1;
    QTest::newRow("05.06.2010") << QDate(2010, 6, 5) << 705;
    QTest::newRow("16.08.2010") << QDate(2010, 8, 16) << 705;
}

void TstSectionCR99::smsEventBlock() {
    QFETCH(QDate, fw);
    QFETCH(int, at);
    DeviceSettings s;
    fillRich(s);
    setFirmware(s, fw);
    const QByteArray b = BuildPackCR99(s);
    QCOMPARE(Cr99LayoutFor(*s.header).smsEvents, at);
    // Byte 87: cb_p_vx_sn 0x12, silent arming 0x40 only with the block, and
    // the object-number bit only from 28.01.2010.
    const bool objectId = fw >= QDate(2010, 1, 28);
    QCOMPARE(quint8(b.at(87)), quint8(0x12 | (objectId ? 0x20 : 0) | (at >= 0 ? 0x40 : 0)));
    if (at >= 0) {
        QCOMPARE(b.mid(at, 4), hex("01 02 04 1F"));
    } else if (b.size() > 89) {
        QCOMPARE(b.mid(88, 4), hex("01 02 03 04")); // output types, not SMS flags
    }
}

void TstSectionCR99::serverAttemptBits_data() {
    QTest::addColumn<QDate>("fw");
    QTest::addColumn<QByteArray>("bytes16to18");
    QTest::newRow("18.04.2012") << QDate(2012, 4, 18) << hex("65 52 54");
    QTest::newRow("19.04.2012") << QDate(2012, 4, 19) << hex("63 53 54");
    QTest::newRow("28.11.2009") << QDate(2009, 11, 28) << hex("65 52 54");
}

void TstSectionCR99::serverAttemptBits() {
    QFETCH(QDate, fw);
    QFETCH(QByteArray, bytes16to18);
    DeviceSettings s;
    fillRich(s);
    setFirmware(s, fw);
    QCOMPARE(BuildPackCR99(s).mid(16, 3), bytes16to18);
}

void TstSectionCR99::consoleBlockFrom15_04_2010() {
    DeviceSettings s;
    fillRich(s);
    setFirmware(s, QDate(2010, 4, 14));
    QCOMPARE(BuildPackCR99(s).size(), 107);

    setFirmware(s, QDate(2010, 4, 15));
    const QByteArray b = BuildPackCR99(s);
    QCOMPARE(b.size(), 706);
    // Event 3 comes last: its kind byte is 165, its record 622..651.
    QCOMPARE(quint8(b.at(165)), quint8(0x24));
    QCOMPARE(b.mid(622, 30), QByteArray("0123456789ABCDE") + zeros(1) + "xyzw" + ff(10));
    QCOMPARE(b.mid(157, 4), hex("81 02 03 05"));
    QCOMPARE(b.mid(cr99::KeyNameOffset(17), 8), text("K18", 8, '\xFF'));
    QCOMPARE(b.mid(cr99::KeyNameOffset(1), 8), ff(8));
    QCOMPARE(b.mid(cr99::LoopNameOffset(1), 8), QByteArray("VeryLong"));
    QCOMPARE(b.at(705), '\0');
}

void TstSectionCR99::voicePasswordBit_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QDate>("fw");
    QTest::addColumn<bool>("bit");
    QTest::newRow("4M 15.04.2010") << int(DEV_D4M) << QDate(2010, 4, 15) << false;
    QTest::newRow("4M 18.04.2012") << int(DEV_D4M) << QDate(2012, 4, 18) << false;
    QTest::newRow("4M 19.04.2012") << int(DEV_D4M) << QDate(2012, 4, 19) << true;
    QTest::newRow("8M 15.04.2010") << int(DEV_D8M) << QDate(2010, 4, 15) << true;
    QTest::newRow("Mirvel 15.04.2010") << int(DEV_VororaZ) << QDate(2010, 4, 15) << true;
    QTest::newRow("Mirvel-K 18.04.2012") << int(DEV_VoduzeR) << QDate(2012, 4, 18) << true;
}

void TstSectionCR99::voicePasswordBit() {
    QFETCH(int, type);
    QFETCH(QDate, fw);
    QFETCH(bool, bit);
    DeviceSettings s;
    fillRich(s);
    setFirmware(s, fw, 1, type);
    QCOMPARE(quint8(BuildPackCR99(s).at(107)), quint8(0x13 | (bit ? 0x20 : 0)));
    s.extra->useVoicePasswords = 0;
    QCOMPARE(quint8(BuildPackCR99(s).at(107)), quint8(0x13));
}

void TstSectionCR99::radioAndCameraGates_data() {
    QTest::addColumn<QDate>("fw");
    QTest::addColumn<int>("sub");
    QTest::addColumn<quint8>("radio");
    QTest::addColumn<QByteArray>("bytes133to141");
    const QByteArray none = zeros(9);
    const QByteArray cameras = hex("01 04 00 00 00 00 00 00 00");
    QTest::newRow("30.11.2010") << QDate(2010, 11, 30) << 31 << quint8(0) << none;
    QTest::newRow("01.12.2010") << QDate(2010, 12, 1) << 31 << quint8(1) << none;
    QTest::newRow("03.12.2010/30") << QDate(2010, 12, 3) << 30 << quint8(1) << none;
    QTest::newRow("03.12.2010/31") << QDate(2010, 12, 3) << 31 << quint8(1) << cameras;
    QTest::newRow("04.12.2010/31") << QDate(2010, 12, 4) << 31 << quint8(1) << none;
}

void TstSectionCR99::radioAndCameraGates() {
    QFETCH(QDate, fw);
    QFETCH(int, sub);
    QFETCH(quint8, radio);
    QFETCH(QByteArray, bytes133to141);
    DeviceSettings s;
    fillRich(s);
    setFirmware(s, fw, sub);
    const QByteArray b = BuildPackCR99(s);
    QCOMPARE(b.size(), 717);
    QCOMPARE(quint8(b.at(106)), radio);
    QCOMPARE(b.mid(133, 9), bytes133to141);
    QCOMPARE(b.mid(142, 6), zeros(6));
}

void TstSectionCR99::badSettingsKeepLayout() {
    DeviceSettings s;
    setFirmware(s, QDate(2012, 4, 19), 1, DEV_D4M);
    const QString forty(40, QLatin1Char('x'));
    s.servers->dnsName = {forty, QStringLiteral("Сервер")};
    s.consoleSms->number = {QStringLiteral("123"), QStringLiteral("12345678901234"),
                            QStringLiteral("+7(916)"), QString(), QStringLiteral("9000000000")};
    s.consoleSms->objectName = QStringLiteral("ОченьДлинноеИмя");
    s.consoleSms->eventText[0][8] = forty;
    s.consoleSms->eventText[1][8] = forty;
    s.consoleSms->eventText[2][8] = forty;
    s.zones->eepromKeyName[3] = forty;
    s.sntp->sntpIp = QStringLiteral("10.0.0.1");
    s.sntp->sntpPort = QStringLiteral("1234567");
    s.sntp->sntpDns = forty;
    s.sntp->sntpVersion = -1;
    s.extra->armDelayLoop = -1;
    s.extra->disarmDelayTime = 300;
    s.connection->testAttempts = 0;
    s.outputs->outputType[0] = -1;
    s.navigation->timeZone = -2;

    const QByteArray b = BuildPackCR99(s);
    QCOMPARE(b.size(), 717);
    QCOMPARE(b.mid(19, 32), QByteArray(32, 'x'));
    QCOMPARE(b.mid(51, 32), hex("D1 E5 F0 E2 E5 F0") + zeros(26));
    QCOMPARE(quint8(b.at(83)), quint8(0));
    QCOMPARE(quint8(b.at(84)), quint8(0xFF)); // testAttempts 0 - 1
    QCOMPARE(quint8(b.at(88)), quint8(0xFF));
    QCOMPARE(quint8(b.at(13)), quint8(0xF8)); // -1 << 3, low 8 bits
    QCOMPARE(quint8(b.at(12)), quint8(300 & 0xFF));
    QCOMPARE(b.mid(108, 25), hex("12 30 00 00 00 12 34 56 78 90 07 09 16 00 00 00 00 00 00 00 "
                                 "90 00 00 00 00"));
    QCOMPARE(b.mid(166, 8), hex("CE F7 E5 ED FC C4 EB E8"));
    QCOMPARE(b.mid(cr99::KeyNameOffset(3), 8), QByteArray(8, 'x'));
    // Event 8 is the eighth record of the order 0 1 2 4 5 6 7 8 3.
    QCOMPARE(b.mid(592, 30),
             QByteArray(15, 'x') + zeros(1) + QByteArray(4, 'x') + QByteArray(10, 'x'));
    QCOMPARE(b.mid(622, 30), ff(15) + zeros(1) + ff(14));
    QCOMPARE(quint8(b.at(652)), quint8(0xCB));
    QCOMPARE(b.mid(653, 20), QByteArray("10.0.0.1") + zeros(7) + "12345");
    QCOMPARE(b.mid(673, 32), QByteArray(32, 'x'));
    QCOMPARE(quint8(b.at(712)), quint8(0xFE)); // 0x80 | 0x20 | low 8 bits of -2
    QCOMPARE(b.at(716), '\0');
}

QTEST_GUILESS_MAIN(TstSectionCR99)
#include "tst_section_cr99.moc"
