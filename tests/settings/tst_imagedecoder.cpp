#include "settings/DeviceSettings.h"
#include "settings/Firmware.h"
#include "settings/ImageDecoder.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void Put(QByteArray& img, int at, const QByteArray& bytes) {
    img.replace(at, bytes.size(), bytes);
}

// An erased image marked as programmed, with both SIMs off and no balance
// requests, so only the bytes a test writes carry anything.
QByteArray HandImage(int size = 3840) {
    QByteArray img(size, '\xFF');
    img[0] = 'Z';
    Put(img, 21, "-:-:-:0:");
    Put(img, 257, "-:-:-:-:-:-:");
    Put(img, 465, "-:-:-:1:+7-:");
    return img;
}

DeviceSettings At(const QString& version) {
    DeviceSettings s;
    SetFirmwareVersion(*s.header, version);
    s.gsmOperators = {{QStringLiteral("МТС"), QStringLiteral("*100#"),
                       QStringLiteral("internet.mts.ru"), QStringLiteral("mts"),
                       QStringLiteral("mts")}};
    return s;
}

void Decode(QByteArray img, DeviceSettings& s) {
    QVERIFY(ParseImage(img, &s, QString()));
}

} // namespace

class TstImageDecoder : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void textField_data();
    void textField();
    void stateAndJournal();
    void journalIndex_data();
    void journalIndex();
    void journalNeedsWholeRecords();
    void shortJournal_data();
    void shortJournal();
    void firmwareGates_data();
    void firmwareGates();
    void unknownAccessPoints();
    void sameUnknownAccessPointOnBothSims();
    void simOffAndUssdWalk();
    void longAccessPointRecognised();
    void secondSimFlagByte_data();
    void secondSimFlagByte();
    void callPrefix_data();
    void callPrefix();
    void erasedTimeTriggerIsNull();
    void callerArrayEmptied();

private:
    QTemporaryDir m_dir;
    QString m_oldCwd;
};

void TstImageDecoder::initTestCase() {
    QVERIFY(m_dir.isValid());
    m_oldCwd = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir.path()));
}

void TstImageDecoder::cleanupTestCase() {
    QDir::setCurrent(m_oldCwd);
}

void TstImageDecoder::init() {
    QFile::remove(QStringLiteral("GSM.cfg"));
}

void TstImageDecoder::textField_data() {
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("maxLen");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("next");
    QTest::addColumn<bool>("complete");
    QTest::newRow("ended by ':'") << QByteArray("ab:cd") << 0 << 5 << QByteArray("ab") << 3 << true;
    QTest::newRow("full width") << QByteArray("abcde:x") << 0 << 5 << QByteArray("abcde") << 5
                                << true;
    QTest::newRow("empty") << QByteArray("x:y") << 1 << 5 << QByteArray() << 2 << true;
    QTest::newRow("cut by the end")
        << QByteArray("abc") << 0 << 5 << QByteArray("abc") << 3 << false;
    QTest::newRow("':' past maxLen")
        << QByteArray("abcdef:") << 0 << 4 << QByteArray("abcd") << 4 << true;
    QTest::newRow("start at end") << QByteArray("abc") << 3 << 2 << QByteArray() << 3 << false;
    QTest::newRow("start past end") << QByteArray("abc") << 7 << 2 << QByteArray() << 7 << false;
}

void TstImageDecoder::textField() {
    QFETCH(QByteArray, image);
    QFETCH(int, start);
    QFETCH(int, maxLen);
    const ImageTextField f = ReadImageTextField(image, start, maxLen);
    QTEST(f.text, "text");
    QTEST(f.next, "next");
    QTEST(f.complete, "complete");
}

void TstImageDecoder::stateAndJournal() {
    DeviceSettings s = At(QStringLiteral("16.08.2010/1"));
    s.state->loopFlags[1].fill(1);
    QByteArray img = HandImage();
    Put(img, 689, QByteArray("\x09\x05\x0A\x03\x0C", 5));
    Put(img, 694, QByteArray("\xC8\x00\xFF\xFF\x01\x02", 6));
    Put(img, 700, QByteArray("\xF0\x0F\x00\x05", 4));
    Put(img, 704, QByteArray("\xD6\x82\xFF\x00", 4)); // loop 1's pair is erased
    Put(img, 1790, QByteArray("\x00\xC8", 2));
    for (int n = 0; n < 200; ++n) {
        const char rec[8] = {char(n),      char(n + 1),      char(n % 60),     char((n + 7) % 60),
                             char(n % 24), char(1 + n % 28), char(1 + n % 12), char(10 + n % 5)};
        Put(img, 1792 + 8 * n, QByteArray(rec, 8));
    }
    Decode(img, s);
    const DeviceStateLog& st = *s.state;
    QCOMPARE(st.lastEvent, u8(9));
    QCOMPARE(st.armedMask, u8(0x05));
    QCOMPARE(st.alarmMask, u8(0x0A));
    QCOMPARE(st.state, u8(3));
    QCOMPARE(st.keyNumber, u8(12));
    QCOMPARE(st.restartCount, (Arr<u32, 3>{200, 65535, 0x0201}));
    // A clear bit marks the loop.
    QCOMPARE(st.loopBitA, (Arr<u8, 8>{1, 1, 1, 1, 0, 0, 0, 0}));
    QCOMPARE(st.loopBitB, (Arr<u8, 8>{0, 0, 0, 0, 1, 1, 1, 1}));
    QCOMPARE(st.stateByte, 5);
    QCOMPARE(st.loopFlags[0], (Arr<u8, 10>{1, 0, 1, 1, 1, 1, 0, 1, 1, 0}));
    QCOMPARE(st.loopFlags[1], (Arr<u8, 10>{1, 1, 1, 1, 1, 1, 1, 1, 1, 1}));
    QCOMPARE(st.newestJournal, 199);
    for (int n : {0, 1, 117, 199}) {
        QCOMPARE(st.journalEvent[n], u8(n));
        QCOMPARE(st.journalParam[n], u8(n + 1));
        QCOMPARE(st.journalSecond[n], u8(n % 60));
        QCOMPARE(st.journalMinute[n], u8((n + 7) % 60));
        QCOMPARE(st.journalHour[n], u8(n % 24));
        QCOMPARE(st.journalDay[n], u8(1 + n % 28));
        QCOMPARE(st.journalMonth[n], u8(1 + n % 12));
        QCOMPARE(st.journalYear[n], u8(10 + n % 5));
    }
}

void TstImageDecoder::journalIndex_data() {
    QTest::addColumn<QByteArray>("index");
    QTest::addColumn<int>("stateByte");
    QTest::addColumn<int>("newest");
    QTest::addColumn<int>("expectedState");
    QTest::newRow("00 C8") << QByteArray("\x00\xC8", 2) << 8 << 199 << 8;
    QTest::newRow("00 01") << QByteArray("\x00\x01", 2) << 1 << 0 << 1;
    QTest::newRow("00 00 is none") << QByteArray("\x00\x00", 2) << 0 << -1 << -1;
    QTest::newRow("erased FF FF") << QByteArray("\xFF\xFF", 2) << 0xFF << -1 << -1;
    QTest::newRow("past the records") << QByteArray("\x01\x00", 2) << 9 << -1 << -1;
    QTest::newRow("00 C9") << QByteArray("\x00\xC9", 2) << 0x80 << -1 << -1;
}

// An erased or impossible index or state byte is clamped to "none".
void TstImageDecoder::journalIndex() {
    QFETCH(QByteArray, index);
    QFETCH(int, stateByte);
    DeviceSettings s = At(QStringLiteral("19.04.2012/45"));
    s.state->newestJournal = 42;
    QByteArray img = HandImage();
    Put(img, 1790, index);
    img[703] = char(stateByte);
    Decode(img, s);
    QTEST(s.state->newestJournal, "newest");
    QTEST(s.state->stateByte, "expectedState");
}

void TstImageDecoder::journalNeedsWholeRecords() {
    QByteArray full = HandImage();
    Put(full, 1790, QByteArray("\x00\x05", 2));
    for (int i = 1792; i < 1792 + 16; ++i)
        full[i] = char(i & 0x7F);
    struct Case {
        int length;
        int newest;
        int recordsRead;
    };
    for (const Case c : {Case{1791, 42, 0}, Case{1792, 4, 0}, Case{1799, 4, 0}, Case{1800, 4, 1},
                         Case{1807, 4, 1}, Case{1808, 4, 2}}) {
        DeviceSettings s = At(QStringLiteral("16.08.2010/1"));
        s.state->newestJournal = 42;
        s.state->journalEvent.fill(0xEE);
        s.state->journalYear.fill(0xEE);
        Decode(full.left(c.length), s);
        QCOMPARE(s.state->newestJournal, c.newest);
        for (int n = 0; n < 3; ++n) {
            const bool read = n < c.recordsRead;
            QCOMPARE(s.state->journalEvent[n], u8(read ? (1792 + 8 * n) & 0x7F : 0xEE));
            QCOMPARE(s.state->journalYear[n], u8(read ? (1799 + 8 * n) & 0x7F : 0xEE));
        }
    }
}

void TstImageDecoder::shortJournal_data() {
    QTest::addColumn<int>("indexByte");
    QTest::addColumn<int>("newest");
    QTest::newRow("3") << 3 << 3;
    QTest::newRow("15") << 15 << 15;
    QTest::newRow("erased") << 0xFF << -1;
    QTest::newRow("past 16 records") << 0x20 << -1;
}

void TstImageDecoder::shortJournal() {
    QFETCH(int, indexByte);
    DeviceSettings s = At(QStringLiteral("26.03.2010/1"));
    s.state->journalSecond.fill(0x33);
    QByteArray img = HandImage(1023);
    img[702] = char(indexByte);
    for (int n = 0; n < 16; ++n) {
        img[720 + 2 * n] = char(n + 1);
        img[721 + 2 * n] = char(0x40 + n);
    }
    Decode(img, s);
    QTEST(s.state->newestJournal, "newest");
    QCOMPARE(s.state->journalEvent[0], u8(1));
    QCOMPARE(s.state->journalParam[15], u8(0x4F));
    QCOMPARE(s.state->journalEvent[16], u8(0));    // beyond the 16 records
    QCOMPARE(s.state->journalSecond[0], u8(0x33)); // no time stamps here
}

void TstImageDecoder::firmwareGates_data() {
    QTest::addColumn<QString>("version");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("decoded");
    QTest::newRow("21.09.2009 no SMS options")
        << "21.09.2009/1" << 3840 << 609 << 0x40 << "checkbox13" << false;
    QTest::newRow("22.09.2009 SMS options")
        << "22.09.2009/1" << 3840 << 609 << 0x40 << "checkbox13" << true;
    QTest::newRow("27.11.2009 no server block")
        << "27.11.2009/1" << 3840 << 611 << 0x60 << "useDns0" << false;
    QTest::newRow("28.11.2009 server block")
        << "28.11.2009/1" << 3840 << 611 << 0x60 << "useDns0" << true;
    QTest::newRow("27.01.2010 no object id")
        << "27.01.2010/1" << 3840 << 682 << 0x20 << "objectIdInSms" << false;
    QTest::newRow("28.01.2010 object id")
        << "28.01.2010/1" << 3840 << 682 << 0x20 << "objectIdInSms" << true;
    QTest::newRow("19.12.2009 SMS events")
        << "19.12.2009/1" << 3840 << 1008 << 0x1F << "smsService0" << true;
    QTest::newRow("20.12.2009 no SMS events")
        << "20.12.2009/1" << 3840 << 1008 << 0x1F << "smsService0" << false;
    QTest::newRow("05.06.2010 SMS events")
        << "05.06.2010/1" << 3840 << 1008 << 0x1F << "smsService0" << true;
    QTest::newRow("03.12.2010/30 no cameras")
        << "03.12.2010/30" << 3840 << 1051 << 0xFF << "useCamera0" << false;
    QTest::newRow("03.12.2010/31 cameras")
        << "03.12.2010/31" << 3840 << 1051 << 0xFF << "useCamera0" << true;
    QTest::newRow("19.04.2012/45 no cameras")
        << "19.04.2012/45" << 3840 << 1051 << 0xFF << "useCamera0" << false;
    QTest::newRow("19.04.2012/1 CRFF")
        << "19.04.2012/1" << 3840 << 3804 << 5 << "outputZone0" << true;
    QTest::newRow("19.04.2012/1 short image")
        << "19.04.2012/1" << 3839 << 3804 << 5 << "outputZone0" << false;
    QTest::newRow("19.04.2012/0 no CRFF")
        << "19.04.2012/0" << 3840 << 3804 << 5 << "outputZone0" << false;
    QTest::newRow("18.04.2012/1 no CRFF")
        << "18.04.2012/1" << 3840 << 3804 << 5 << "outputZone0" << false;
}

void TstImageDecoder::firmwareGates() {
    QFETCH(QString, version);
    QFETCH(int, length);
    QFETCH(int, offset);
    QFETCH(int, value);
    QFETCH(QString, field);
    QFETCH(bool, decoded);
    DeviceSettings s = At(version);
    QByteArray img = HandImage(3840);
    img[offset] = char(value);
    Decode(img.left(length), s);
    int got = -1;
    if (field == QLatin1String("checkbox13"))
        got = s.smsFlags->checkbox13;
    else if (field == QLatin1String("useDns0"))
        got = s.servers->useDns[0];
    else if (field == QLatin1String("objectIdInSms"))
        got = s.smsFlags->objectIdInSms;
    else if (field == QLatin1String("smsService0"))
        got = s.extraSms->smsService[0];
    else if (field == QLatin1String("useCamera0"))
        got = s.cameras->useCamera[0];
    else if (field == QLatin1String("outputZone0"))
        got = s.outputs->outputZone[0];
    // Every field here is 0 in the defaults and non-zero in the image.
    QCOMPARE(got != 0, decoded);
}

// Each unknown access point appends an operator and records it in
// "GSM.cfg" with the decoded values, not with empty ones.
void TstImageDecoder::unknownAccessPoints() {
    DeviceSettings s = At(QStringLiteral("16.08.2010/1"));
    QByteArray img = HandImage();
    Put(img, 21, "log1:pw1:apn.one:0:");
    Put(img, 257, "log2:pw2:apn.two:-:-:-:");
    Put(img, 465, "*100#*102#-:1:+7-:");
    Decode(img, s);
    QCOMPARE(s.gsmOperators.size(), 3);
    QCOMPARE(s.header->simOperator, (Arr<i32, 2>{1, 2}));
    QCOMPARE(s.header->useSim, (Arr<u8, 2>{1, 1}));
    QCOMPARE(s.header->checkBalance, (Arr<u8, 2>{1, 1}));
    const GsmOperator& one = s.gsmOperators.at(1);
    QCOMPARE(one.name, QStringLiteral("Неизвестный"));
    QCOMPARE(one.initString, QStringLiteral("apn.one"));
    QCOMPARE(one.login, QStringLiteral("log1"));
    QCOMPARE(one.password, QStringLiteral("pw1"));
    QCOMPARE(one.ussd, QStringLiteral("*100#"));
    QCOMPARE(s.gsmOperators.at(2).ussd, QStringLiteral("*102#"));

    QSettings ini(QStringLiteral("GSM.cfg"), QSettings::IniFormat);
    QCOMPARE(ini.childGroups(), (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
    QCOMPARE(ini.value(QStringLiteral("1/name")).toString(), QStringLiteral("Неизвестный"));
    QCOMPARE(ini.value(QStringLiteral("1/initstring")).toString(), QStringLiteral("apn.one"));
    QCOMPARE(ini.value(QStringLiteral("1/login")).toString(), QStringLiteral("log1"));
    QCOMPARE(ini.value(QStringLiteral("1/password")).toString(), QStringLiteral("pw1"));
    QCOMPARE(ini.value(QStringLiteral("1/Ussd")).toString(), QStringLiteral("*100#"));
    QCOMPARE(ini.value(QStringLiteral("2/initstring")).toString(), QStringLiteral("apn.two"));
}

void TstImageDecoder::sameUnknownAccessPointOnBothSims() {
    DeviceSettings s = At(QStringLiteral("16.08.2010/1"));
    QByteArray img = HandImage();
    Put(img, 21, "a:b:apn.same:0:");
    Put(img, 257, "c:d:apn.same:-:-:-:");
    Put(img, 465, "-:-:-:1:+7-:");
    Decode(img, s);
    // SIM 2 finds the operator SIM 1 has just added.
    QCOMPARE(s.gsmOperators.size(), 2);
    QCOMPARE(s.header->simOperator, (Arr<i32, 2>{1, 1}));
    QCOMPARE(s.header->checkBalance, (Arr<u8, 2>{0, 0}));
    QCOMPARE(s.gsmOperators.at(1).ussd, QString());
}

void TstImageDecoder::simOffAndUssdWalk() {
    DeviceSettings s = At(QStringLiteral("16.08.2010/1"));
    s.header->simOperator = {0, 0};
    QByteArray img = HandImage();
    Put(img, 21, "-:-:-:0:");
    Put(img, 257, "x:y:internet.mts.ru:-:-:-:");
    Put(img, 465, "-:*100#-:1:+7-:");
    Decode(img, s);
    QCOMPARE(s.header->useSim, (Arr<u8, 2>{0, 1}));
    QCOMPARE(s.header->checkBalance, (Arr<u8, 2>{0, 1}));
    QCOMPARE(s.header->simOperator, (Arr<i32, 2>{0, 0}));
    // A known operator is taken as it is; the image's login does not change it.
    QCOMPARE(s.gsmOperators.size(), 1);
    QCOMPARE(s.gsmOperators.at(0).login, QStringLiteral("mts"));
}

// The section cuts an access point to 25 bytes; reading it back finds the
// operator it came from instead of adding an unknown one.
void TstImageDecoder::longAccessPointRecognised() {
    DeviceSettings s = At(QStringLiteral("16.08.2010/1"));
    s.gsmOperators.append({QStringLiteral("Long"), QStringLiteral("*1#"),
                           QStringLiteral("a.very.long.access.point.name.ru"), QString(),
                           QString()});
    QByteArray img = HandImage();
    Put(img, 21, "::a.very.long.access.point.0:");
    Put(img, 465, "*1#:-:-:1:+7-:");
    Decode(img, s);
    QCOMPARE(s.gsmOperators.size(), 2);
    QCOMPARE(s.header->simOperator[0], 1);
    QCOMPARE(s.header->checkBalance[0], u8(1));
    QVERIFY(!QFileInfo::exists(QStringLiteral("GSM.cfg")));
}

void TstImageDecoder::secondSimFlagByte_data() {
    QTest::addColumn<QByteArray>("tail");
    QTest::addColumn<int>("flags");
    QTest::newRow("plain byte") << QByteArray("\x05:123.456.789.01254321") << 0x05;
    // Use flags 5, 7, 8 and 9 make the byte ':' itself, followed by its ':'.
    QTest::newRow("flag byte ':'") << QByteArray("::123.456.789.01254321") << 0x3A;
    QTest::newRow("shifted by a stray ':'") << QByteArray(":\x05:123.456.789.01254321") << 0x05;
    QTest::newRow("NUL byte") << QByteArray("\x00:123.456.789.01254321", 22) << 0x00;
}

void TstImageDecoder::secondSimFlagByte() {
    QFETCH(QByteArray, tail);
    QFETCH(int, flags);
    DeviceSettings s = At(QStringLiteral("16.08.2010/1"));
    s.phones->useFlag.fill(1);
    QByteArray img = HandImage();
    Put(img, 257, QByteArray("-:-:-:-:-:-:") + tail);
    Decode(img, s);
    for (int n = 0; n < 7; ++n)
        QCOMPARE(s.phones->useFlag[4 + n], u8((flags >> n) & 1));
    QCOMPARE(s.servers->serverIp[1], QStringLiteral("123.456.789.012"));
    QCOMPARE(s.servers->serverPort[1], QStringLiteral("54321"));
}

void TstImageDecoder::callPrefix_data() {
    QTest::addColumn<QByteArray>("region");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<int>("gps");
    QTest::newRow("after +7") << QByteArray("-:-:-:0:+78:") << "8" << 1;
    QTest::newRow("full width") << QByteArray("-:-:-:1:+70123456789\0:", 23) << "0123456789" << 0;
    QTest::newRow("empty dial code") << QByteArray("-:-:-:1::9:") << "9" << 0;
    QTest::newRow("'-' is no prefix") << QByteArray("-:-:-:1:+7-:") << "" << 0;
    // An empty flag field: nothing but the prefix, one byte on.
    QTest::newRow("no flags") << QByteArray("-:-:-:::5:") << "" << 7;
}

void TstImageDecoder::callPrefix() {
    QFETCH(QByteArray, region);
    QFETCH(int, gps);
    DeviceSettings s = At(QStringLiteral("16.08.2010/1"));
    s.extra->callPrefix = QStringLiteral("old");
    s.navigation->gpsReceiver = 7;
    QByteArray img = HandImage();
    Put(img, 465, region);
    Decode(img, s);
    QTEST(s.extra->callPrefix, "prefix");
    QCOMPARE(int(s.navigation->gpsReceiver), gps);
}

void TstImageDecoder::erasedTimeTriggerIsNull() {
    DeviceSettings s = At(QStringLiteral("19.04.2012/1"));
    s.timeTriggers->evTime.fill(QTime(1, 2));
    QByteArray img = HandImage();
    Put(img, 3584 + 180, QByteArray("\x17\x3B\x02\x41", 4));
    Decode(img, s);
    QCOMPARE(s.timeTriggers->evTime[0], QTime(23, 59));
    QCOMPARE(s.timeTriggers->evType[0], 2);
    QCOMPARE(s.timeTriggers->evDay[0], (Arr<u8, 7>{1, 0, 0, 0, 0, 0, 1}));
    QVERIFY(s.timeTriggers->evTime[1].isNull());
}

void TstImageDecoder::callerArrayEmptied() {
    DeviceSettings s = At(QStringLiteral("16.08.2010/1"));
    QByteArray img = HandImage();
    QVERIFY(ParseImage(img, &s, QString()));
    QVERIFY(img.isEmpty());
    QByteArray none;
    QVERIFY(ParseImage(none, &s, QString()));
    QVERIFY(ParseImage(img, nullptr, QString()));
}

QTEST_GUILESS_MAIN(TstImageDecoder)
#include "tst_imagedecoder.moc"
