#include "settings/DeviceSettings.h"
#include "settings/Firmware.h"
#include "settings/ImageDecoder.h"
#include "support/Files.h"

#include <QSettings>
#include <QtTest>

#include <optional>

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
    void textField();
    void stateAndJournal();
    void journalIndex_data();
    void journalIndex();
    void journalNeedsWholeRecords();
    void firmwareGates_data();
    void firmwareGates();
    void simOperators_data();
    void simOperators();
    void secondSimFlagByte_data();
    void secondSimFlagByte();
    void callPrefix_data();
    void callPrefix();
    void erasedTimeTriggerIsNull();

private:
    std::optional<TempWorkDir> m_dir;
};

void TstImageDecoder::initTestCase() {
    m_dir.emplace();
    QVERIFY(m_dir->isValid());
}

void TstImageDecoder::cleanupTestCase() {
    m_dir.reset();
}

void TstImageDecoder::init() {
    QFile::remove(QStringLiteral("GSM.cfg"));
}

// A field ends at its ':' within maxLen bytes, or fills maxLen bytes; a field
// cut off by the image's end is not complete.
void TstImageDecoder::textField() {
    struct Case {
        const char* image;
        int start, maxLen;
        const char* text;
        int next;
        bool complete;
    };
    for (const Case& c :
         {Case{"ab:cd", 0, 5, "ab", 3, true}, Case{"abcde:x", 0, 5, "abcde", 5, true},
          Case{"x:y", 1, 5, "", 2, true}, Case{"abc", 0, 5, "abc", 3, false},
          Case{"abcdef:", 0, 4, "abcd", 4, true}, Case{"abc", 7, 2, "", 7, false}}) {
        const ImageTextField f = ReadImageTextField(c.image, c.start, c.maxLen);
        QVERIFY2(f.text == c.text && f.next == c.next && f.complete == c.complete, c.image);
    }
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
    for (int n : {0, 117, 199}) {
        const Arr<u8, 8> want = {u8(n),      u8(n + 1),      u8(n % 60),     u8((n + 7) % 60),
                                 u8(n % 24), u8(1 + n % 28), u8(1 + n % 12), u8(10 + n % 5)};
        const Arr<u8, 8> got = {st.journalEvent[n],  st.journalParam[n], st.journalSecond[n],
                                st.journalMinute[n], st.journalHour[n],  st.journalDay[n],
                                st.journalMonth[n],  st.journalYear[n]};
        QCOMPARE(got, want);
    }
}

void TstImageDecoder::journalIndex_data() {
    QTest::addColumn<QString>("version");
    QTest::addColumn<QByteArray>("index"); // at 1790, or at 702 before 15.04.2010
    QTest::addColumn<int>("stateByte");
    QTest::addColumn<int>("newest");
    QTest::addColumn<int>("expectedState");
    const QString v = QStringLiteral("19.04.2012/45");
    const QString old = QStringLiteral("26.03.2010/1");
    QTest::newRow("00 C8") << v << QByteArray("\x00\xC8", 2) << 8 << 199 << 8;
    QTest::newRow("00 01") << v << QByteArray("\x00\x01", 2) << 1 << 0 << 1;
    QTest::newRow("00 00 is none") << v << QByteArray("\x00\x00", 2) << 0 << -1 << -1;
    QTest::newRow("erased FF FF") << v << QByteArray("\xFF\xFF", 2) << 0xFF << -1 << -1;
    QTest::newRow("past the records") << v << QByteArray("\x01\x00", 2) << 9 << -1 << -1;
    QTest::newRow("00 C9") << v << QByteArray("\x00\xC9", 2) << 0x80 << -1 << -1;
    QTest::newRow("old 15") << old << QByteArray("\x0F") << 3 << 15 << 3;
    QTest::newRow("old erased") << old << QByteArray("\xFF") << 0 << -1 << -1;
    QTest::newRow("old past 16 records") << old << QByteArray("\x20") << 1 << -1 << 1;
}

// An erased or impossible index or state byte is clamped to "none". The
// journal of older firmware has 16 records of code and parameter only.
void TstImageDecoder::journalIndex() {
    QFETCH(QString, version);
    QFETCH(QByteArray, index);
    QFETCH(int, stateByte);
    DeviceSettings s = At(version);
    s.state->newestJournal = 42;
    s.state->journalSecond.fill(0x33);
    QByteArray img = HandImage();
    for (int n = 0; n < 16; ++n) {
        img[720 + 2 * n] = char(n + 1);
        img[721 + 2 * n] = char(0x40 + n);
    }
    Put(img, index.size() == 2 ? 1790 : 702, index);
    img[703] = char(stateByte);
    Decode(img, s);
    QTEST(s.state->newestJournal, "newest");
    QTEST(s.state->stateByte, "expectedState");
    if (index.size() == 1) {
        QCOMPARE(s.state->journalEvent[0], u8(1));
        QCOMPARE(s.state->journalParam[15], u8(0x4F));
        QCOMPARE(s.state->journalEvent[16], u8(0));    // beyond the 16 records
        QCOMPARE(s.state->journalSecond[0], u8(0x33)); // no time stamps here
    }
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

void TstImageDecoder::firmwareGates_data() {
    QTest::addColumn<QString>("version");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("decoded");
    auto row = [](const char* name, const char* version, int length, int offset, int value,
                  const char* field, bool decoded) {
        QTest::newRow(name) << QString(version) << length << offset << value << QString(field)
                            << decoded;
    };
    row("21.09.2009 no SMS options", "21.09.2009/1", 3840, 609, 0x40, "checkbox13", false);
    row("22.09.2009 SMS options", "22.09.2009/1", 3840, 609, 0x40, "checkbox13", true);
    row("27.11.2009 no server block", "27.11.2009/1", 3840, 611, 0x60, "useDns0", false);
    row("28.11.2009 server block", "28.11.2009/1", 3840, 611, 0x60, "useDns0", true);
    row("27.01.2010 no object id", "27.01.2010/1", 3840, 682, 0x20, "objectIdInSms", false);
    row("28.01.2010 object id", "28.01.2010/1", 3840, 682, 0x20, "objectIdInSms", true);
    row("19.12.2009 SMS events", "19.12.2009/1", 3840, 1008, 0x1F, "smsService0", true);
    row("20.12.2009 no SMS events", "20.12.2009/1", 3840, 1008, 0x1F, "smsService0", false);
    row("05.06.2010 SMS events", "05.06.2010/1", 3840, 1008, 0x1F, "smsService0", true);
    row("03.12.2010/30 no cameras", "03.12.2010/30", 3840, 1051, 0xFF, "useCamera0", false);
    row("03.12.2010/31 cameras", "03.12.2010/31", 3840, 1051, 0xFF, "useCamera0", true);
    row("19.04.2012/45 no cameras", "19.04.2012/45", 3840, 1051, 0xFF, "useCamera0", false);
    row("19.04.2012/1 CRFF", "19.04.2012/1", 3840, 3804, 5, "outputZone0", true);
    row("19.04.2012/1 short image", "19.04.2012/1", 3839, 3804, 5, "outputZone0", false);
    row("19.04.2012/0 no CRFF", "19.04.2012/0", 3840, 3804, 5, "outputZone0", false);
    row("18.04.2012/1 no CRFF", "18.04.2012/1", 3840, 3804, 5, "outputZone0", false);
    // clang-format on
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
    const QMap<QString, int> got = {
        {"checkbox13", s.smsFlags->checkbox13},       {"useDns0", s.servers->useDns[0]},
        {"objectIdInSms", s.smsFlags->objectIdInSms}, {"smsService0", s.extraSms->smsService[0]},
        {"useCamera0", s.cameras->useCamera[0]},      {"outputZone0", s.outputs->outputZone[0]}};
    // Every field here is 0 in the defaults and non-zero in the image.
    QVERIFY(got.contains(field));
    QCOMPARE(got.value(field) != 0, decoded);
}

void TstImageDecoder::simOperators_data() {
    QTest::addColumn<QByteArray>("sim1");    // from byte 21
    QTest::addColumn<QByteArray>("sim2");    // from byte 257
    QTest::addColumn<QByteArray>("balance"); // from byte 465
    QTest::addColumn<QList<int>>("header");  // useSim, simOperator, checkBalance; SIM 1 then 2
    QTest::addColumn<QStringList>("added");  // access point|login|password|USSD per new operator
    QTest::addColumn<QString>("extraApn");   // a third known operator's access point
    // Each unknown access point appends an operator, with the decoded values.
    QTest::newRow("two unknown") << QByteArray("log1:pw1:apn.one:0:")
                                 << QByteArray("log2:pw2:apn.two:-:-:-:")
                                 << QByteArray("*100#*102#-:1:+7-:") << QList<int>{1, 1, 2, 3, 1, 1}
                                 << QStringList{"apn.one|log1|pw1|*100#", "apn.two|log2|pw2|*102#"}
                                 << QString();
    // SIM 2 finds the operator SIM 1 has just added.
    QTest::newRow("same unknown twice")
        << QByteArray("a:b:apn.same:0:") << QByteArray("c:d:apn.same:-:-:-:")
        << QByteArray("-:-:-:1:+7-:") << QList<int>{1, 1, 2, 2, 0, 0}
        << QStringList{"apn.same|a|b|"} << QString();
    // SIM 1 off keeps its operator; SIM 2's USSD is found after SIM 1's "-".
    // A known operator is taken as it is: the image's login does not change it.
    QTest::newRow("off, and known")
        << QByteArray("-:-:-:0:") << QByteArray("x:y:internet.mts.ru:-:-:-:")
        << QByteArray("-:*100#-:1:+7-:") << QList<int>{0, 1, 9, 0, 0, 1} << QStringList{}
        << QString();
    // The section cuts an access point to 25 bytes; it still names its operator,
    // but an operator with exactly the decoded access point comes first.
    QTest::newRow("long access point")
        << QByteArray("::a.very.long.access.point.0:") << QByteArray("-:-:-:-:-:-:")
        << QByteArray("*1#:-:-:1:+7-:") << QList<int>{1, 0, 1, 9, 1, 0} << QStringList{}
        << QString();
    QTest::newRow("exact match first")
        << QByteArray("::a.very.long.access.point.0:") << QByteArray("-:-:-:-:-:-:")
        << QByteArray("*1#:-:-:1:+7-:") << QList<int>{1, 0, 2, 9, 1, 0} << QStringList{}
        << QString("a.very.long.access.point.");
}

void TstImageDecoder::simOperators() {
    QFETCH(QByteArray, sim1);
    QFETCH(QByteArray, sim2);
    QFETCH(QByteArray, balance);
    QFETCH(QList<int>, header);
    QFETCH(QStringList, added);
    DeviceSettings s = At(QStringLiteral("16.08.2010/1"));
    s.gsmOperators.append({QStringLiteral("Long"), QStringLiteral("*1#"),
                           QStringLiteral("a.very.long.access.point.name.ru"), QString(),
                           QString()});
    s.header->simOperator = {9, 9};
    QFETCH(QString, extraApn);
    if (!extraApn.isEmpty())
        s.gsmOperators.append({QStringLiteral("Exact"), QString(), extraApn, QString(), QString()});
    QByteArray img = HandImage();
    Put(img, 21, sim1);
    Put(img, 257, sim2);
    Put(img, 465, balance);
    Decode(img, s);
    const DeviceHeader& h = *s.header;
    QCOMPARE((QList<int>{h.useSim[0], h.useSim[1], h.simOperator[0], h.simOperator[1],
                         h.checkBalance[0], h.checkBalance[1]}),
             header);
    const int known = 2 + !extraApn.isEmpty();
    QCOMPARE(s.gsmOperators.size(), known + added.size());
    QCOMPARE(s.gsmOperators.at(0).login, QStringLiteral("mts"));
    // "GSM.cfg" records each new operator under its index, with its values;
    // a file that lacked the operators before it gets them too, so that the
    // next start reads every operator at its position.
    QSettings ini(QStringLiteral("GSM.cfg"), QSettings::IniFormat);
    QCOMPARE(ini.childGroups().size(), added.isEmpty() ? 0 : known + added.size());
    for (int i = 0; i < added.size(); ++i) {
        const GsmOperator& op = s.gsmOperators.at(known + i);
        QCOMPARE(op.name, QStringLiteral("Неизвестный"));
        QCOMPARE(QStringList({op.initString, op.login, op.password, op.ussd}).join('|'), added[i]);
        ini.beginGroup(QString::number(known + i));
        QCOMPARE(ini.value(QStringLiteral("name")).toString(), op.name);
        const QStringList stored = {ini.value(QStringLiteral("initstring")).toString(),
                                    ini.value(QStringLiteral("login")).toString(),
                                    ini.value(QStringLiteral("password")).toString(),
                                    ini.value(QStringLiteral("Ussd")).toString()};
        QCOMPARE(stored.join('|'), added[i]);
        ini.endGroup();
    }
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

QTEST_GUILESS_MAIN(TstImageDecoder)
#include "tst_imagedecoder.moc"
