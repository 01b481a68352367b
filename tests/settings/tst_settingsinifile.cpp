#include "settings/Sections.h"
#include "settings/SettingsIniFile.h"
#include "settings/TextCodec.h"
#include "support/Files.h"
#include "support/SettingsFixtures.h"

#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QtTest>

#include <array>

using namespace fixtures;

namespace {

// group -> key -> value text exactly as it stands in the file
using IniText = QMap<QString, QMap<QString, QString>>;

IniText ParseIni(const QByteArray& bytes) {
    IniText out;
    QString group;
    for (const QString& line : QString::fromUtf8(bytes).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            group = line.mid(1, line.size() - 2);
            out[group];
        } else if (const int eq = int(line.indexOf(QLatin1Char('='))); eq > 0) {
            out[group][line.left(eq)] = line.mid(eq + 1);
        }
    }
    return out;
}

const QString kVersion = QStringLiteral("19.04.2012/45");

// Fields the file does not hold, set apart from the defaults, so that a load
// shows it keeps them.
void MarkOtherFields(DeviceSettings& s) {
    SetFirmwareVersion(*s.header, QStringLiteral("03.12.2010/33"));
    s.port->comNumber = 4;
    s.keys->key[3] = "01-02-03-04-05-06";
    s.loopLimits->defaultMin[2] = 123;
    s.zones->loopCount = 8;
    s.state->stateByte = 7;
    s.gsmOperators.append(GsmOperator{QStringLiteral("extra"), {}, {}, {}, {}});
}

// What a load of `source`'s file over `before` must give: the file's fields
// from the source, every other field as it was.
DeviceSettings AfterLoad(const DeviceSettings& source, const DeviceSettings& before) {
    DeviceSettings s = source;
    s.header->firmwareDate = before.header->firmwareDate;
    s.header->firmwareSubVersion = before.header->firmwareSubVersion;
    *s.port = *before.port;
    *s.keys = *before.keys;
    *s.state = *before.state;
    s.gsmOperators = before.gsmOperators;
    s.loopLimits->defaultMin = before.loopLimits->defaultMin;
    s.loopLimits->defaultMax = before.loopLimits->defaultMax;
    s.loopLimits->defaultReverse = before.loopLimits->defaultReverse;
    s.loopLimits->sensors = before.loopLimits->sensors;
    s.zones->loopCount = before.zones->loopCount;
    for (int sim = 0; sim < kSims; ++sim)
        if (!source.header->useSim[sim]) // -1 in the file: the operator stays
            s.header->simOperator[sim] = before.header->simOperator[sim];
    // Zone entries beyond the count do not travel.
    for (int z = qMax(0, source.zones->zoneCount); z < kZones; ++z) {
        s.zones->zoneName[z] = before.zones->zoneName[z];
        for (int k = 0; k < kOrdinaryKeys; ++k)
            s.zones->keyZone[k][z] = before.zones->keyZone[k][z];
        for (int l = 0; l < kLoops; ++l)
            s.zones->loopZone[l][z] = before.zones->loopZone[l][z];
    }
    return s;
}

} // namespace

class TstSettingsIniFile : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(m_dir.isValid()); }
    void roundTrip_data();
    void roundTrip();
    void goldenDefaults();
    void groupKeyCounts();
    void voltsText();
    void levelsFromFile_data();
    void levelsFromFile();
    void readRules_data();
    void readRules();
    void simIndexes_data();
    void simIndexes();
    void textsWithUnquotedCommas_data();
    void textsWithUnquotedCommas();
    void zoneKeysOnSave();
    void sensorTypesByCode();
    void windows1251File();
    void unwritableTarget();
    void saveOverStrayLine();
    void adcScales();

private:
    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }
};

void TstSettingsIniFile::roundTrip_data() {
    QTest::addColumn<QString>("version");
    QTest::addColumn<bool>("rich");
    QTest::addColumn<int>("zoneCount");
    for (const char* v : {"21.09.2009/1", "19.12.2009/1", "16.08.2010/1", "03.12.2010/33"})
        QTest::newRow(v) << QString(v) << true << 8;
    QTest::newRow("defaults") << kVersion << false << 1;
    QTest::newRow("rich, 8 zones") << kVersion << true << 8;
    QTest::newRow("rich, 3 zones") << kVersion << true << 3;
    QTest::newRow("rich, no zones") << kVersion << true << 0;
}

// settings -> file -> settings over an object that differs in every field.
void TstSettingsIniFile::roundTrip() {
    QFETCH(QString, version);
    QFETCH(bool, rich);
    QFETCH(int, zoneCount);
    DeviceSettings source = rich ? Rich(version) : Defaults(version);
    source.zones->zoneCount = zoneCount;
    DeviceSettings target = rich ? Defaults(version) : Rich(version);
    MarkOtherFields(target);
    const DeviceSettings expected = AfterLoad(source, target);

    const QString file = path("roundtrip.ini");
    QFile::remove(file);
    QVERIFY(SaveSettingsFile(file, &source));
    QVERIFY(LoadSettingsFile(file, &target));
    const QStringList wrong = Differences(target, expected);
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QLatin1String("; "))));
}

// Group and key spelling, value forms and default values, read from the text:
// "group/key=value" (defaults, but loop 1's minimum 512). cb3 and
// Form6.Checkbox1 are inverted flags.
void TstSettingsIniFile::goldenDefaults() {
    // clang-format off
    const QStringList lines = {
        "GPRS/cbSIM1=0", "GPRS/ipadress=000.000.000.000", "GPRS/frmGPRSsettings.ipport2=00000",
        "GPRS/cb2=1", "GPRS/cb3=0", "GPRS/cb_sntp_ver=2", "maskedit/maskedit15=0000000000",
        "RELE_PWD/idob=0001", "RELE_PWD/Form23.meparadm_1_2=73917391", "noname_001/radiogroup1=1",
        "noname_001/callPrefix=+7", "CB_isp/CB_isp5=0", "CB_isp/CB_isp15=0", "txx/t12=\"1,65161\"",
        "txx/t84=0", "adc/shl1min=512", "adc/shl8max=0", "typeShl/shl1=300",
        "Form3.checkbox/Form3.checkbox144=0", "Zones/ZonesCount=1", "Zones/ZoneName1=Зона 0",
        "Zones/KeyZone18.0=0", "Zones/ShlZone8.0=1", "Form13/cbOpenAnalise00=0",
        "Form13/cbCloseLight07=0", "Form6/Form6.Checkbox1=0", "Form2/Form2.isx_test_pops=-1",
        "Form2/Form2.isx_kan15=0", "Form23/Form23.cbOutZone4=0", "Form22/Form22.CheckBox80=1",
        "Form24/Form24.edDevName=Device1", "Form24/Form24.Edit8=Shl8", "Form24/Form24.Edit95=0",
        "Form24/Form24.cb9time=0", "191209/cbDrugieZa5=0", "160810/form23.cbSaveSostPwerOff4=0",
        "Cameras/execCamera_88=0", "RemoteProgram/port_2=0", "TriggByTime/ev_time_10=",
        "TriggByTime/ev_day_10_7=false"};
    // clang-format on
    const QString file = path("defaults.ini");
    QFile::remove(file);
    DeviceSettings s = Defaults(kVersion);
    s.loopLimits->minLevel[0] = 512; // volts with a decimal comma
    QVERIFY(SaveSettingsFile(file, &s));
    const QByteArray bytes = ReadAll(file);
    QVERIFY(IsValidUtf8(bytes));
    const IniText ini = ParseIni(bytes);
    for (const QString& line : lines) {
        const QString group = line.section('/', 0, 0);
        const QString key = line.section('/', 1).section('=', 0, 0);
        QVERIFY2(ini.value(group).contains(key), qPrintable(line));
        QVERIFY2(ini.value(group).value(key) == line.section('=', 1), qPrintable(line));
    }
}

// Every group is written, each with all its keys (eight zones).
void TstSettingsIniFile::groupKeyCounts() {
    // clang-format off
    const QList<QPair<QString, int>> groups = {
        {"GPRS", 29}, {"maskedit", 15}, {"cboz", 5}, {"cbza", 5}, {"cbts", 5}, {"Coz", 5},
        {"ct", 5}, {"RELE_PWD", 3}, {"noname_001", 5}, {"CB_isp", 11}, {"txx", 16}, {"adc", 16},
        {"typeShl", 8}, {"Form3.checkbox", 144}, {"Zones", 2 + 8 + 18 * 8 + 8 * 8},
        {"checkbox", 17}, {"Form13", 49}, {"Form3", 36}, {"Form8", 16}, {"combobox", 1},
        {"Form6", 6}, {"Form2", 12}, {"cb_p_vx_sn", 5}, {"Form1", 1}, {"Form23", 36 + 4},
        {"Form22", 80}, {"Form24", 127}, {"191209", 21}, {"050610", 4}, {"070610", 15},
        {"160810", 16}, {"Cameras", 72}, {"RemoteProgram", 9}, {"TriggByTime", 90}};
    // clang-format on
    const QString file = path("counts.ini");
    QFile::remove(file);
    const DeviceSettings s = Rich(kVersion);
    QVERIFY(SaveSettingsFile(file, &s));
    const IniText ini = ParseIni(ReadAll(file));
    QCOMPARE(ini.size(), groups.size());
    for (const auto& g : groups)
        QVERIFY2(ini.value(g.first).size() == g.second, qPrintable(g.first));
}

// The volts text written for a level, and the level read back from it, both
// as a file without "adc" hands it back unquoted (split at the comma) and
// quoted as this program writes it.
void TstSettingsIniFile::voltsText() {
    const QList<std::tuple<int, QString, int>> cases = {
        {0, "0", 0},           {1, "0,00322581", 1},    {100, "0,322581", 100},
        {512, "1,65161", 511}, {1000, "3,22581", 1000}, {1023, "3,3", 1022}};
    for (const auto& [level, text, readBack] : cases) {
        QCOMPARE(LevelToVoltsText(level), text);
        u32 split = 99, quoted = 99;
        QVERIFY(VoltsValueToLevel(QVariant(text.split(QLatin1Char(','))), &split));
        QVERIFY(VoltsValueToLevel(QVariant(text), &quoted));
        QCOMPARE(int(split), readBack);
        QCOMPARE(int(quoted), readBack);
    }
}

void TstSettingsIniFile::levelsFromFile_data() {
    QTest::addColumn<QByteArray>("content"); // null: no file
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("min0");
    QTest::addColumn<int>("max7");
    // A "txx" group whose t12 is `first`, the other minima 0, the maxima 3,3.
    auto txx = [](const QByteArray& first, const QByteArray& t84 = "3,3") {
        QByteArray g = "[txx]\nt12=" + first + "\n";
        for (int n = 1; n <= 8; ++n)
            g += (n > 1 ? "t" + QByteArray::number(n) + "2=0\n" : QByteArray()) +
                 (t84.isNull() && n == 8
                      ? QByteArray()
                      : "t" + QByteArray::number(n) + "4=" + (n == 8 ? t84 : "3,3") + "\n");
        return g;
    };
    auto row = [](const char* name, const QByteArray& content, bool ok, int min0, int max7) {
        QTest::newRow(name) << content << ok << min0 << max7;
    };
    row("adc wins over txx", "[adc]\nshl1min=200\nshl8max=800\n[txx]\nt12=garbage\n", true, 200,
        800);
    row("adc probe present but empty", "[adc]\nshl1min=\n[txx]\nt12=1\n", true, 0, 0);
    row("adc out of range is bounded", "[adc]\nshl1min=-5\nshl8max=99999\n", true, 0, 1023);
    row("txx unquoted comma", txx("1,65"), true, 511, 1022);
    row("txx three items", txx("1,65,7"), true, 511, 1022);
    row("txx quoted comma", txx("\"1,65161\""), true, 511, 1022);
    row("txx point", txx("0.5"), true, 155, 1022);
    row("txx negative and huge", txx("-1", "1e30"), true, 0, 1023);
    row("txx empty value", txx(""), false, 0, 0);
    row("txx text", txx("abc"), false, 0, 0);
    row("txx last key missing", txx("1", QByteArray()), false, 0, 0);
    row("missing file", QByteArray(), false, 0, 0);
    row("empty file", "", false, 0, 0);
    row("other kind of file", QByteArray("\x89PNG\r\n\x1a\n\0\0\0", 11), false, 0, 0);
    row("groups after a bad level",
        "[txx]\nt12=1\nt14=x\n[GPRS]\ncbSIM1=-1\n[Zones]\nZonesCount=0\n", false, 0, 0);
}

// A refused file leaves every field as it was.
void TstSettingsIniFile::levelsFromFile() {
    QFETCH(QByteArray, content);
    QFETCH(bool, ok);
    const QString file = path("levels.ini");
    QFile::remove(file);
    if (!content.isNull())
        QVERIFY(WriteAll(file, content));
    DeviceSettings s = Rich(kVersion);
    const DeviceSettings before = s;
    QCOMPARE(LoadSettingsFile(file, &s), ok);
    if (ok) {
        QTEST(int(s.loopLimits->minLevel[0]), "min0");
        QTEST(int(s.loopLimits->maxLevel[7]), "max7");
    } else {
        QCOMPARE(Differences(s, before), QStringList());
    }
}

// What a read makes of missing keys and of values that are not what they
// should be: "field=value" as Dump() names them, over Rich() with both SIMs
// off and a one-operator list.
void TstSettingsIniFile::readRules_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("expected");
    // clang-format off
    // Only the level probe: every other key takes its missing-key value;
    // without "ZonesCount" the zone names stay; the output zones are a newer key.
    QTest::newRow("missing keys") << QByteArray("[adc]\nshl1min=5\n") << QStringList{
        "header->useSim[0]=1", "header->simOperator[0]=0", "navigation->gpsReceiver=1",
        "sntp->cb3=1", "sntp->cb4=1", "extra->armDelayOn=1", "extra->disarmDelayOn=1",
        "connection->autoIncrementNumber=0", "connection->testAttempts=1", "zones->zoneCount=0",
        "zones->zoneName[0]=Склад №0", "servers->serverIp[0]=", "timeTriggers->evTime[3]=null",
        "loopLimits->minLevel[0]=5", "loopLimits->maxLevel[0]=0", "loopLimits->sensorType[1]=0",
        "outputs->outputZone[3]=7"};
    // An operator index is kept as the file has it; a zone count past the
    // model's zones is cut to them; any text but 0/false sets a flag.
    QTest::newRow("garbage") << QByteArray(
        "[adc]\nshl1min=abc\nshl1max=12x\n[GPRS]\ncbSIM1=77\ncbSIM2=-4\ncbBallans1=yes\ncb3=FALSE\n"
        "[Zones]\nZonesCount=250\nZoneName8=h\nKeyZone18.7=1\nShlZone8.7=TRUE\nZoneName9=i\n"
        "[Form2]\nForm2.isx_test_pops=xyz\n[RemoteProgram]\nport_1=70000\nport_2=-1\n"
        "[TriggByTime]\nev_time_1=25:99\nev_time_2=7:5\nev_time_3=07:05\n"
        "[RELE_PWD]\nidob=\nForm23.meparadm_1_2=12\n[checkbox]\ncbAutoMode=1.5\n") << QStringList{
        "loopLimits->minLevel[0]=0", "loopLimits->maxLevel[0]=0", "header->useSim[0]=1",
        "header->simOperator[0]=77", "header->useSim[1]=0", "header->simOperator[1]=2",
        "header->checkBalance[0]=1", "sntp->cb3=1", "zones->zoneCount=8", "zones->zoneName[7]=h",
        "zones->keyZone[17][7]=1", "zones->loopZone[7][7]=1", "connection->testAttempts=1",
        "remoteProg->serverPort[0]=4464", "remoteProg->serverPort[1]=65535",
        "timeTriggers->evTime[0]=null", "timeTriggers->evTime[1]=null",
        "timeTriggers->evTime[2]=07:05:00.000", "connection->objectNumber=",
        "outputs->adminPassword[0]=12", "outputs->adminPassword[1]=12", "header->workMode=0"};
    // clang-format on
}

void TstSettingsIniFile::readRules() {
    QFETCH(QByteArray, content);
    QFETCH(QStringList, expected);
    const QString file = path("rules.ini");
    QVERIFY(WriteAll(file, content));
    DeviceSettings s = Rich(kVersion);
    s.header->useSim = {0, 0};
    s.gsmOperators = Operators().mid(0, 1);
    QVERIFY(LoadSettingsFile(file, &s));
    const QMap<QString, QString> got = Dump(s);
    for (const QString& e : expected) {
        const QString name = e.section('=', 0, 0);
        QVERIFY2(got.contains(name), qPrintable(name));
        QVERIFY2(got.value(name) == e.section('=', 1), qPrintable(e + " is " + got.value(name)));
    }
}

// A SIM index as a file gives it, with three operators in the list: what is
// stored, what the section sends, what a save writes back.
void TstSettingsIniFile::simIndexes_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("used");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QByteArray>("sent"); // the SIM's fields in CRAA
    QTest::newRow("-1: not in use, operator kept") << -1 << false << 1 << QByteArray("-:-:-");
    QTest::newRow("0") << 0 << true << 0 << QByteArray("l0:p0:apn.0");
    QTest::newRow("n-1") << 2 << true << 2 << QByteArray("l2:p2:apn.2");
    QTest::newRow("n: past the list") << 3 << true << 3 << QByteArray("-:-:-");
    QTest::newRow("99") << 99 << true << 99 << QByteArray("-:-:-");
}

void TstSettingsIniFile::simIndexes() {
    QFETCH(int, index);
    QFETCH(bool, used);
    QFETCH(int, stored);
    QFETCH(QByteArray, sent);
    DeviceSettings s;
    SetDefaultSettings(&s, false);
    s.gsmOperators.clear();
    for (int i = 0; i < 3; ++i) {
        const QString n = QString::number(i);
        s.gsmOperators.append({"op" + n, "*10" + n + "#", "apn." + n, "l" + n, "p" + n});
    }
    s.header->useSim = {0, 0};
    s.header->simOperator = {1, 1};
    const QString file = path("sim.ini");
    QVERIFY(WriteAll(file, "[adc]\nshl1min=1\n[GPRS]\ncbSIM1=" + QByteArray::number(index) +
                               "\ncbSIM2=-1\n"));
    QVERIFY(LoadSettingsFile(file, &s));
    QCOMPARE(s.header->useSim[0], u8(used));
    QCOMPARE(s.header->simOperator[0], stored);
    QVERIFY2(BuildPackCRAA(s).contains(":" + sent + ":"), BuildPackCRAA(s).constData());

    QFile::remove(file);
    QVERIFY(SaveSettingsFile(file, &s));
    QCOMPARE(ParseIni(ReadAll(file))["GPRS"]["cbSIM1"], QString::number(index));
}

// Values edited by hand without quotes around a comma come back whole in
// every kind of text the file holds; an item starting with '@' too.
void TstSettingsIniFile::textsWithUnquotedCommas_data() {
    QTest::addColumn<QByteArray>("line"); // group and key=value
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("expected");
    const QList<std::array<const char*, 4>> rows = {
        {"GPRS", "ipadress=a,@b", "servers->serverIp[0]", "a,@b"},
        {"GPRS", "frmGPRSsettings.DNS2=dns,1", "servers->dnsName[1]", "dns,1"},
        {"GPRS", "serverConnectPassword=p,@w", "servers->serverPassword", "p,@w"},
        {"GPRS", "DNS_sntp=x,y,z", "sntp->sntpDns", "x,y,z"},
        {"maskedit", "maskedit15=8,900", "phones->number[14]", "8,900"},
        {"RELE_PWD", "idob=12,3", "connection->objectNumber", "31322c33"}, // hex
        {"RELE_PWD", "Form23.parol_1_2=1,@b5678", "outputs->userPassword[0]", "1,@b"},
        {"noname_001", "callPrefix=+7,8", "extra->callPrefix", "+7,8"},
        {"Form3", "Form3.Edit36=key,@name", "zones->eepromKeyName[17]", "key,@name"},
        {"Form24", "Form24.edDevName=obj,@1", "consoleSms->objectName", "obj,@1"},
        {"Form24", "Form24.ed9p2=t,@x", "consoleSms->eventText[2][3]", "t,@x"},
        {"070610", "form28.MaskEdit1=1,2", "navigation->distanceFilter", "1,2"},
        {"RemoteProgram", "adress_2=h,@2", "remoteProg->serverAddress[1]", "h,@2"},
        {"RemoteProgram", "sms_key_word=k,@w", "remoteProg->smsKeyWord", "k,@w"},
    };
    for (const auto& r : rows)
        QTest::addRow("%s/%s", r[0], r[1]) << QByteArray("[") + r[0] + "]\n" + r[1] + "\n"
                                           << QString(r[2]) << QString::fromUtf8(r[3]);
    // Zone names are read only under a zone count.
    QTest::newRow("Zones/ZoneName2") << QByteArray("[Zones]\nZonesCount=2\nZoneName2=z,@2\n")
                                     << QString("zones->zoneName[1]") << QString("z,@2");
}

void TstSettingsIniFile::textsWithUnquotedCommas() {
    QFETCH(QByteArray, line);
    QFETCH(QString, field);
    QFETCH(QString, expected);
    const QString file = path("commas.ini");
    QVERIFY(WriteAll(file, "[adc]\nshl1min=1\n" + line));
    DeviceSettings s = Rich(kVersion);
    QVERIFY(LoadSettingsFile(file, &s));
    QCOMPARE(Dump(s).value(field), expected);
    // Written back quoted, it reads the same.
    QFile::remove(file);
    QVERIFY(SaveSettingsFile(file, &s));
    DeviceSettings t = Rich(kVersion);
    QVERIFY(LoadSettingsFile(file, &t));
    QCOMPARE(Dump(t).value(field), expected);
}

void TstSettingsIniFile::zoneKeysOnSave() {
    // A count above the model's zones writes and reads only the model's zones.
    DeviceSettings s = Rich(kVersion);
    s.zones->zoneCount = 12;
    const QString file = path("zones.ini");
    QFile::remove(file);
    QVERIFY(SaveSettingsFile(file, &s));
    IniText ini = ParseIni(ReadAll(file));
    QVERIFY(ini["Zones"].contains("ZoneName8"));
    QVERIFY(!ini["Zones"].contains("ZoneName9"));
    QVERIFY(!ini["Zones"].contains("KeyZone1.8"));
    DeviceSettings t;
    QVERIFY(LoadSettingsFile(file, &t));
    QCOMPARE(t.zones->zoneCount, kZones);
    QCOMPARE(t.zones->zoneName, s.zones->zoneName);

    // Saving 2 zones over 5 (and over a foreign group) leaves the older keys;
    // reading ignores them.
    s.zones->zoneCount = 5;
    QVERIFY(SaveSettingsFile(file, &s));
    QVERIFY(WriteAll(file, ReadAll(file) + "[Foreign]\nkeep=me\n"));
    s.zones->zoneCount = 2;
    QVERIFY(SaveSettingsFile(file, &s));
    ini = ParseIni(ReadAll(file));
    QCOMPARE(ini["Zones"]["ZonesCount"], QString("2"));
    QVERIFY(ini["Zones"].contains("ZoneName5"));
    QVERIFY(ini["Zones"].contains("ShlZone8.4"));
    QCOMPARE(ini["Foreign"]["keep"], QString("me"));
    t.zones->zoneName[4] = "stays";
    QVERIFY(LoadSettingsFile(file, &t));
    QCOMPARE(t.zones->zoneCount, 2);
    QCOMPARE(t.zones->zoneName[1], s.zones->zoneName[1]);
    QCOMPARE(t.zones->zoneName[4], QString("stays"));
}

void TstSettingsIniFile::sensorTypesByCode() {
    const QString file = path("sensors.ini");
    QFile::remove(file);
    DeviceSettings s = Rich(kVersion);
    QVERIFY(SaveSettingsFile(file, &s));
    IniText ini = ParseIni(ReadAll(file));
    QCOMPARE(ini["typeShl"]["shl2"], QString("-5")); // position 1 holds code -5
    QCOMPARE(ini["typeShl"]["shl4"], QString("4660"));

    // With a different listing the code finds the record, not the position.
    DeviceSettings t;
    t.loopLimits->sensors = {SensorRecord{0, 4660, {}, {}, {}}, SensorRecord{1, -5, {}, {}, {}}};
    QVERIFY(LoadSettingsFile(file, &t));
    QCOMPARE(t.loopLimits->sensorType, (Arr<u32, kLoops>{0, 1, 0, 0, 0, 0, 1, 0}));

    // No sensor records (no "sensors" folder): the save must not look any up,
    // and a stale type key of the older file must not survive.
    s.loopLimits->sensors.clear();
    QVERIFY(SaveSettingsFile(file, &s));
    QVERIFY(ParseIni(ReadAll(file)).value("typeShl").isEmpty());
    t.loopLimits->sensorType.fill(3);
    QVERIFY(LoadSettingsFile(file, &t));
    QCOMPARE(t.loopLimits->sensorType[1], u32(0));
}

void TstSettingsIniFile::windows1251File() {
    const QString file = path("cp1251.ini");
    const QString text = QStringLiteral("[adc]\nshl1min=10\n[Zones]\nZonesCount=2\n"
                                        "ZoneName1=Склад\nZoneName2=\"Офис, 2 этаж\"\n"
                                        "[Form24]\nForm24.edDevName=Объект №5\n");
    const QByteArray bytes = ToCp1251(text);
    QVERIFY(!IsValidUtf8(bytes));
    QVERIFY(WriteAll(file, bytes));
    DeviceSettings s;
    QVERIFY(LoadSettingsFile(file, &s));
    QCOMPARE(s.zones->zoneName[0], QStringLiteral("Склад"));
    QCOMPARE(s.zones->zoneName[1], QStringLiteral("Офис, 2 этаж"));
    QCOMPARE(s.consoleSms->objectName, QStringLiteral("Объект №5"));

    // Saving over it turns the whole file into UTF-8, old keys included.
    QVERIFY(WriteAll(file, bytes + ToCp1251(QStringLiteral("[Old]\nnote=Привет\n"))));
    QVERIFY(SaveSettingsFile(file, &s));
    const QByteArray saved = ReadAll(file);
    QVERIFY(IsValidUtf8(saved));
    QCOMPARE(ParseIni(saved)["Old"]["note"], QStringLiteral("Привет"));
    QCOMPARE(IniTextToUtf8(bytes), text.toUtf8());
}

void TstSettingsIniFile::unwritableTarget() {
    const DeviceSettings s = Rich(kVersion);
    QVERIFY(!SaveSettingsFile(path("no/such/folder/x.ini"), &s));
    QVERIFY(!SaveSettingsFile(m_dir.path(), &s)); // a folder, not a file

    // A name so long that no temporary file can sit beside it: the write
    // fails, and the old file must be left as it was.
    const QString longName = path(QString(250, QLatin1Char('n')) + ".ini");
    const QByteArray old("[GPRS]\ncbSIM1=3\n");
    QVERIFY(WriteAll(longName, old));
    QVERIFY(!SaveSettingsFile(longName, &s));
    QCOMPARE(ReadAll(longName), old);
}

// A hand-edited file with a line QSettings cannot read is saved over all the
// same, keeping its other keys.
void TstSettingsIniFile::saveOverStrayLine() {
    const QString file = path("stray.ini");
    QVERIFY(WriteAll(file, "[Notes]\nkeep=1\na stray line\n"));
    const DeviceSettings s = Rich(kVersion);
    QVERIFY(SaveSettingsFile(file, &s));
    const IniText ini = ParseIni(ReadAll(file));
    QCOMPARE(ini["Notes"]["keep"], QString("1"));
    DeviceSettings t;
    QVERIFY(LoadSettingsFile(file, &t));
    QCOMPARE(t.connection->objectNumber, s.connection->objectNumber);
}

void TstSettingsIniFile::adcScales() {
    const QString file = path("family.dev");
    DeviceSettings s;
    s.loopLimits->minLevel.fill(9);
    s.loopLimits->defaultMin.fill(1);
    s.loopLimits->defaultMax.fill(2);
    QVERIFY(WriteAll(file, "[adc]\nshl1min=0\nshl3min=200\nshl3max=800\n[Form8]\nForm8.Chb2=1\n"
                           "[GPRS]\ncbSIM1=-1\n"));
    QVERIFY(ReadAdcScales(file, &s));
    QCOMPARE(s.loopLimits->defaultMin[2], u32(200));
    QCOMPARE(s.loopLimits->defaultMax[2], u32(800));
    QCOMPARE(s.loopLimits->defaultMin[0], u32(0));
    QCOMPARE(s.loopLimits->defaultReverse[1], u8(1));
    QCOMPARE(s.loopLimits->minLevel[0], u32(9)); // the user's levels stay
    QCOMPARE(s.header->useSim[0], u8(1));        // nothing else is read

    QByteArray txx = "[txx]\n";
    for (int n = 1; n <= 8; ++n)
        txx += QByteArray("t") + QByteArray::number(n) + "2=" + (n == 3 ? "1,65" : "0") + "\nt" +
               QByteArray::number(n) + "4=3,3\n";
    QVERIFY(WriteAll(file, txx));
    QVERIFY(ReadAdcScales(file, &s));
    QCOMPARE(s.loopLimits->defaultMin[2], u32(511));
    QCOMPARE(s.loopLimits->defaultReverse[1], u8(0));

    // A refused file changes nothing.
    QVERIFY(WriteAll(file, "[txx]\nt12=1\nt14=\n[Form8]\nForm8.Chb1=1\n"));
    const auto before = s.loopLimits->defaultMin;
    QVERIFY(!ReadAdcScales(file, &s));
    QCOMPARE(s.loopLimits->defaultMin, before);
    QCOMPARE(s.loopLimits->defaultReverse[0], u8(0));
}

QTEST_GUILESS_MAIN(TstSettingsIniFile)
#include "tst_settingsinifile.moc"
