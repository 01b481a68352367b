#include "settings/DeviceAnnouncement.h"
#include "settings/DeviceSettings.h"

#include <QtTest>

class TstDeviceAnnouncement : public QObject {
    Q_OBJECT
private slots:
    void interpret_data();
    void interpret();
    void buildSuffix();
    void versionRowsAndFamilies();
};

void TstDeviceAnnouncement::interpret_data() {
    QTest::addColumn<QString>("version");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("build");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("devType");
    QTest::addColumn<QString>("lookup");
    const int reset = int(AnnouncementKind::Reset);
    const int unknown = int(AnnouncementKind::UnknownModel);
    const int dev = int(AnnouncementKind::Device);

    auto row = [](const char* name, const char* version, int code, int build, int kind, int devType,
                  const char* lookup) {
        QTest::newRow(name) << QString(version) << code << build << kind << devType
                            << QString(lookup);
    };
    row("reset, any text", "garbage", 0, 0, reset, -1, "");
    row("code 0 with build", "19.04.2012", 0, 3, unknown, -1, "");
    row("code 5", "19.04.2012", 5, 1, unknown, -1, "");

    row("code 1", "05.06.2010", 1, 0, dev, 0, "05.06.2010");
    row("code 3", "16.08.2010", 3, 0, dev, 1, "16.08.2010");
    row("code 1 not a date", "v1.0", 1, 4, dev, 0, "v1.0");

    row("code 4 early", "18.04.2012", 4, 0, dev, 2, "18.04.2012");
    row("code 4 19.04.2012 b0", "19.04.2012", 4, 0, dev, 3, "19.04.2012");
    row("code 4 19.04.2012 b45", "19.04.2012", 4, 45, dev, 3, "19.04.2012/45");
    row("code 4 17.12.2018", "17.12.2018", 4, 0, dev, 3, "17.12.2018");
    row("code 4 18.12.2018 b7", "18.12.2018", 4, 7, dev, 2, "18.12.2018/1");

    row("code 2 03.12 b32", "03.12.2010", 2, 32, dev, 2, "03.12.2010/31");
    row("code 2 03.12 b33", "03.12.2010", 2, 33, dev, 3, "03.12.2010/33");
    row("code 2 03.12 b5", "03.12.2010", 2, 5, dev, 3, "03.12.2010/67");
    row("code 2 03.12 b11", "03.12.2010", 2, 11, dev, 2, "03.12.2010/11");
    row("code 2 03.12 b27", "03.12.2010", 2, 27, dev, 2, "03.12.2010/25");
    row("code 2 03.12 b64", "03.12.2010", 2, 64, dev, 2, "03.12.2010/63");
    row("code 2 03.12 b67", "03.12.2010", 2, 67, dev, 2, "03.12.2010/67");
    row("code 2 03.12 b68", "03.12.2010", 2, 68, dev, 3, "03.12.2010/67");
    row("code 2 01.12 b20", "01.12.2010", 2, 20, dev, 3, "01.12.2010/20");
    row("code 2 middle", "09.05.2012", 2, 30, dev, 2, "09.05.2012/28");
    row("code 2 late", "18.12.2018", 2, 0, dev, 3, "18.12.2018");
    // clang-format on
}

void TstDeviceAnnouncement::interpret() {
    QFETCH(QString, version);
    QFETCH(int, code);
    QFETCH(int, build);
    QFETCH(int, kind);
    QFETCH(int, devType);
    QFETCH(QString, lookup);
    const DeviceAnnouncement a = InterpretAnnouncement(version, quint8(code), quint8(build));
    QCOMPARE(int(a.kind), kind);
    QCOMPARE(a.modelCode, code);
    QCOMPARE(a.deviceType, devType);
    QCOMPARE(a.lookupText, lookup);
    QCOMPARE(a.announcedVersion,
             build ? version + QLatin1Char('/') + QString::number(build) : version);
}

// "version: build=suffix ..." at the edges of every band.
void TstDeviceAnnouncement::buildSuffix() {
    // clang-format off
    const QStringList cases = {
        "01.12.2010: 0= 10= 11=/11 16=/11 17=/17 18=/17 19=/19 20=/20 24=/20 25=/25 255=/25",
        "02.12.2010: 0= 12= 13=/13 255=/13",
        "03.12.2010: 0=/67 10=/67 22=/17 23=/23 24=/23 30=/25 31=/31 32=/31 66=/65 67=/67 255=/67",
        "19.04.2012: 0= 1=/1 44=/1 45=/45 99=/45 100=/100 144=/100 145=/145 255=/145",
        "09.05.2012: 0= 27=/1 28=/28 99=/28 100=/100 127=/100 128=/128",
        "16.05.2012: 0= 21=/1 22=/22 99=/22 100=/100 121=/100 122=/122",
        "17.05.2012: 0= 1=/1 255=/1", "18.12.2018: 0= 2=/1 200=/1",
        "20.04.2012: 0= 1= 45=", "03.12.10: 0= 32="};
    // clang-format on
    for (const QString& c : cases) {
        const QString version = c.section(':', 0, 0);
        for (const QString& pair : c.section(": ", 1).split(' ')) {
            const quint8 build = quint8(pair.section('=', 0, 0).toInt());
            QVERIFY2(VersionLookupText(version, build) == version + pair.section('=', 1),
                     qPrintable(version + ' ' + pair));
        }
    }
}

void TstDeviceAnnouncement::versionRowsAndFamilies() {
    DeviceHeader h;
    ApplyVersionRow(h, "16.05.2012/22", 7);
    QCOMPARE(h.firmwareDate, QDate(2012, 5, 16));
    QCOMPARE(h.firmwareSubVersion, 22);
    QCOMPARE(h.versionIndex, 7);
    ApplyVersionRow(h, "17.05.2012", 8); // a bare date is build 1
    QCOMPARE(h.firmwareSubVersion, 1);
    const QStringList rows{"03.12.2010/31", "19.04.2012", "19.04.2012/45"};
    QCOMPARE(FindVersionRow(rows, "19.04.2012"), 1);
    QCOMPARE(FindVersionRow(rows, "19.04.2012/4"), -1); // exact text only

    const QStringList files{"Keelwright.dev4", "Keelwright.dev8", "Keelwright.auton",
                            "Keelwright.auto", ""};
    const int loops[] = {4, 8, 6, 6, 0};
    for (int t = 0; t <= 4; ++t) {
        const int devType = t < 4 ? t : 7;
        QCOMPARE(FamilyDefaultFile(devType), files[t]);
        DeviceSettings s;
        s.zones->loopCount = 5;
        QCOMPARE(SetDeviceType(s, devType), t < 4);
        QCOMPARE(s.header->deviceType, devType);
        // An unknown family leaves the loop count as it was.
        QCOMPARE(s.zones->loopCount, t < 4 ? loops[t] : 5);
    }
}

QTEST_GUILESS_MAIN(TstDeviceAnnouncement)
#include "tst_deviceannouncement.moc"
