#include "settings/DeviceSettings.h"
#include "settings/Firmware.h"
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
    lf.openAnalysis = {3, 1, 0, 0, 0, 0, 0, 2};
    lf.closeAnalysis = {2, 1, 0, 0, 0, 0, 0, 3};
    lf.openSiren = {1, 0, 0, 0, 0, 0, 0, 1};
    lf.openLight = {0, 1, 0, 0, 0, 0, 0, 1};
    lf.closeSiren = {0, 1, 0, 0, 0, 0, 0, 1};
    lf.closeLight = {1, 0, 0, 0, 0, 0, 0, 1};

    ExtraOptions& e = *s.extra;
    e.useTamper = 1;
    e.disarmDelayOn = 0;
    e.disarmDelayLoop = 5;
    e.disarmDelayTime = 3;
    e.armDelayLoop = 2;
    e.armDelayTime = 7;
    e.techLoop = 3;
    e.useVoiceMessages = e.silentArming = e.useVoicePasswords = 1;

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
    o.outputLoop[0][0] = o.outputLoop[0][7] = o.outputLoop[3][3] = 1;
    o.outputLoop[2].fill(1);
    o.outputFlagA = {0, 1, 0, 1};
    o.keepOnPowerOff = {0, 0, 1, 0};

    s.callMatrix->openClose[0].fill(0);
    s.callMatrix->openClose[2] = {0, 1, 0, 0, 0, 0, 0, 0};

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
    cs.eventKind = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    cs.withTime[3] = cs.withKeyName[8] = cs.withLoopName[0] = 1;
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
    void laterGates_data();
    void laterGates();
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
    exp += hex("90 00 00 00 00").repeated(5);
    exp += zeros(15 + 9 + 9);
    exp += text("Device1", 8, '\xFF');
    for (int i = 1; i <= 8; ++i)
        exp += text(QByteArray("Shl" + QByteArray::number(i)).constData(), 8, '\xFF');
    exp += ff(18 * 8);
    QCOMPARE(exp.size(), 382);
    exp += (ff(15) + zeros(1) + ff(14)).repeated(9);       // empty event records
    exp += hex("8B") + "000.000.000.00000000" + zeros(32); // version 2, cb3, use SNTP, bit 0
    QCOMPARE(exp.size(), 705);
    exp += zeros(7) + hex("A0 80 80 80 00"); // SMS events, outputs, navigation, time zone
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
    exp += hex("01 23 45 67 89") + hex("90 00 00 00 00").repeated(3) + hex("91 61 23 45 67");
    exp += zeros(15); // not a camera firmware
    exp += hex("03 00 00 10 00 00 00 00 1F");
    exp += hex("81 02 03 05 06 07 08 49 24"); // kinds in the order 0 1 2 4 5 6 7 8 3
    exp += hex("D1 EA EB E0 E4 20 B9 31");    // "Склад №1" in Windows-1251
    exp += text("Door", 8, '\xFF') + QByteArray("VeryLong");
    for (int i = 3; i <= 8; ++i)
        exp += text(QByteArray("Shl" + QByteArray::number(i)).constData(), 8, '\xFF');
    exp += hex("C8 E2 E0 ED FF FF FF FF") + ff(16 * 8) + text("K18", 8, '\xFF');
    exp += text("Alarm", 15, '\xFF') + zeros(1) + text("A1", 4, '\xFF') + text("Zone1", 10, '\xFF');
    exp += (ff(15) + zeros(1) + ff(14)).repeated(7);
    exp += QByteArray("0123456789ABCDE") + zeros(1) + QByteArray("xyzw") + ff(10);
    exp += hex("45") + "192.168.001.01000123" + text("pool.ntp.org", 32, '\0');
    QCOMPARE(exp.size(), 705);
    exp += hex("01 02 04 1F"); // service, SIM change, drugie za, drugie ot
    exp += hex("0A C9 84 E5 90 81 84 00");
    COMPARE_BYTES(BuildPackCR99(s), exp);
}

void TstSectionCR99::lengthAtGateBoundaries_data() {
    QTest::addColumn<QDate>("fw");
    QTest::addColumn<int>("length");
    // Byte 87 of the rich settings: cb_p_vx_sn 0x12, the object-number bit
    // 0x20 from 28.01.2010, silent arming 0x40 with the SMS-event block.
    QTest::addColumn<int>("byte87");
    QTest::addColumn<int>("smsEvents"); // where the four SMS-event bytes sit
    QTest::newRow("no version") << QDate() << 15 << -1 << -1;
    QTest::newRow("21.09.2009") << QDate(2009, 9, 21) << 15 << -1 << -1;
    QTest::newRow("22.09.2009") << QDate(2009, 9, 22) << 17 << -1 << -1;
    QTest::newRow("27.11.2009") << QDate(2009, 11, 27) << 17 << -1 << -1;
    QTest::newRow("28.11.2009") << QDate(2009, 11, 28) << 89 << 0x12 << -1;
    QTest::newRow("18.12.2009") << QDate(2009, 12, 18) << 89 << 0x12 << -1;
    QTest::newRow("19.12.2009") << QDate(2009, 12, 19) << 93 << 0x52 << 88;
    QTest::newRow("20.12.2009") << QDate(2009, 12, 20) << 89 << 0x12 << -1;
    QTest::newRow("27.01.2010") << QDate(2010, 1, 27) << 89 << 0x12 << -1;
    QTest::newRow("28.01.2010") << QDate(2010, 1, 28) << 89 << 0x32 << -1;
    QTest::newRow("16.02.2010") << QDate(2010, 2, 16) << 89 << 0x32 << -1;
    QTest::newRow("17.02.2010") << QDate(2010, 2, 17) << 97 << 0x32 << -1;
    QTest::newRow("25.03.2010") << QDate(2010, 3, 25) << 97 << 0x32 << -1;
    QTest::newRow("26.03.2010") << QDate(2010, 3, 26) << 107 << 0x32 << -1;
    QTest::newRow("14.04.2010") << QDate(2010, 4, 14) << 107 << 0x32 << -1;
    QTest::newRow("15.04.2010") << QDate(2010, 4, 15) << 706 << 0x32 << -1;
    QTest::newRow("04.06.2010") << QDate(2010, 6, 4) << 706 << 0x32 << -1;
    QTest::newRow("05.06.2010") << QDate(2010, 6, 5) << 711 << 0x72 << 705;
    QTest::newRow("06.06.2010") << QDate(2010, 6, 6) << 711 << 0x72 << 705;
    QTest::newRow("07.06.2010") << QDate(2010, 6, 7) << 713 << 0x72 << 705;
    QTest::newRow("15.08.2010") << QDate(2010, 8, 15) << 713 << 0x72 << 705;
    QTest::newRow("16.08.2010") << QDate(2010, 8, 16) << 717 << 0x72 << 705;
    QTest::newRow("18.12.2018") << QDate(2018, 12, 18) << 717 << 0x72 << 705;
}

// Each gate appends its bytes and leaves the earlier ones where the longest
// layout of that era has them; only byte 87 gains bits gate by gate.
void TstSectionCR99::lengthAtGateBoundaries() {
    QFETCH(QDate, fw);
    QFETCH(int, length);
    QFETCH(int, byte87);
    QFETCH(int, smsEvents);
    DeviceSettings s;
    fillRich(s);
    setFirmware(s, QDate(2010, 8, 16));
    QByteArray full = BuildPackCR99(s);
    setFirmware(s, fw);
    QByteArray b = BuildPackCR99(s);
    QCOMPARE(b.size(), length);
    QCOMPARE(Cr99Length(*s.header), length);
    QCOMPARE(b.back(), '\0');
    if (byte87 >= 0)
        QCOMPARE(int(uchar(b.at(87))), byte87);
    if (smsEvents >= 0)
        QCOMPARE(b.mid(smsEvents, 4), hex("01 02 04 1F"));
    if (fw <= QDate(2010, 8, 16)) {
        const int body = Cr99LayoutFor(*s.header).bodySize;
        if (body > 87)
            b[87] = full[87] = 0;
        COMPARE_BYTES(b.left(body), full.left(body));
    }
}

void TstSectionCR99::laterGates_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QByteArray>("bytes16to18");   // attempts fixed at 3 from 19.04.2012
    QTest::addColumn<int>("byte106");              // radio mask from 01.12.2010
    QTest::addColumn<int>("byte107");              // voice passwords 0x20
    QTest::addColumn<QByteArray>("bytes133to147"); // cameras: 03.12.2010 above build 30
    const QByteArray own = hex("65 52 54");
    const QByteArray none = zeros(15);
    const QByteArray cams = hex("01 04") + zeros(13);
    QTest::newRow("4M 15.04.2010") << int(DEV_D4M) << "15.04.2010/1" << own << 0 << 0x13 << none;
    QTest::newRow("4M 18.04.2012") << int(DEV_D4M) << "18.04.2012/1" << own << 1 << 0x13 << none;
    QTest::newRow("4M 19.04.2012")
        << int(DEV_D4M) << "19.04.2012/1" << hex("63 53 54") << 1 << 0x33 << none;
    QTest::newRow("8M 15.04.2010") << int(DEV_D8M) << "15.04.2010/1" << own << 0 << 0x33 << none;
    QTest::newRow("Mirvel 30.11.2010")
        << int(DEV_VororaZ) << "30.11.2010/31" << own << 0 << 0x33 << none;
    QTest::newRow("8M 01.12.2010") << int(DEV_D8M) << "01.12.2010/31" << own << 1 << 0x33 << none;
    QTest::newRow("8M 03.12.2010/30")
        << int(DEV_D8M) << "03.12.2010/30" << own << 1 << 0x33 << none;
    QTest::newRow("8M 03.12.2010/31")
        << int(DEV_D8M) << "03.12.2010/31" << own << 1 << 0x33 << cams;
    QTest::newRow("8M 04.12.2010/31")
        << int(DEV_D8M) << "04.12.2010/31" << own << 1 << 0x33 << none;
}

void TstSectionCR99::laterGates() {
    QFETCH(int, type);
    QFETCH(QString, version);
    QFETCH(QByteArray, bytes16to18);
    QFETCH(int, byte106);
    QFETCH(int, byte107);
    QFETCH(QByteArray, bytes133to147);
    DeviceSettings s;
    fillRich(s);
    SetFirmwareVersion(*s.header, version);
    s.header->deviceType = type;
    const QByteArray b = BuildPackCR99(s);
    QCOMPARE(b.mid(16, 3), bytes16to18);
    QCOMPARE(int(uchar(b.at(106))), byte106);
    QCOMPARE(int(uchar(b.at(107))), byte107);
    QCOMPARE(b.mid(133, 15), bytes133to147);
}

void TstSectionCR99::badSettingsKeepLayout() {
    DeviceSettings s;
    setFirmware(s, QDate(2012, 4, 19), 1, DEV_D4M);
    const QString forty(40, QLatin1Char('x'));
    s.servers->dnsName = {forty, QStringLiteral("Сервер")};
    s.consoleSms->number = {QStringLiteral("123"), QStringLiteral("12345678901234"),
                            QStringLiteral("+7(916)"), QString(), QStringLiteral("9000000000")};
    s.consoleSms->objectName = QStringLiteral("ОченьДлинноеИмя");
    for (int t = 0; t < 3; ++t)
        s.consoleSms->eventText[t][8] = forty;
    s.zones->eepromKeyName[3] = forty;
    s.sntp->sntpIp = QStringLiteral("10.0.0.1");
    s.sntp->sntpPort = QStringLiteral("1234567");
    s.sntp->sntpDns = forty;
    s.sntp->sntpVersion = -1;
    s.extra->armDelayLoop = -1;
    s.outputs->outputType[0] = -1;
    s.navigation->timeZone = -2;

    const QByteArray b = BuildPackCR99(s);
    QCOMPARE(b.size(), 717);
    QCOMPARE(b.mid(19, 64), QByteArray(32, 'x') + hex("D1 E5 F0 E2 E5 F0") + zeros(26));
    QCOMPARE(quint8(b.at(88)), quint8(0xFF));
    QCOMPARE(quint8(b.at(13)), quint8(0xF8)); // -1 << 3, low 8 bits
    QCOMPARE(b.mid(108, 25), hex("12 30 00 00 00 12 34 56 78 90 07 09 16 00 00 00 00 00 00 00 "
                                 "90 00 00 00 00"));
    QCOMPARE(b.mid(166, 8), hex("CE F7 E5 ED FC C4 EB E8"));
    QCOMPARE(b.mid(cr99::KeyNameOffset(3), 8), QByteArray(8, 'x'));
    // Event 8 is the eighth record of the order 0 1 2 4 5 6 7 8 3.
    QCOMPARE(b.mid(592, 30), QByteArray(15, 'x') + zeros(1) + QByteArray(14, 'x'));
    QCOMPARE(quint8(b.at(652)), quint8(0xCB));
    // Address and port keep the device's fixed digit form.
    QCOMPARE(b.mid(653, 20), QByteArray("010.000.000.00112345"));
    QCOMPARE(b.mid(673, 32), QByteArray(32, 'x'));
    QCOMPARE(quint8(b.at(712)), quint8(0xFE)); // 0x80 | 0x20 | low 8 bits of -2
}

QTEST_GUILESS_MAIN(TstSectionCR99)
#include "tst_section_cr99.moc"
