#include "settings/DeviceAnnouncement.h"
#include "settings/DeviceSettings.h"

#include <QtTest>

class TstDeviceAnnouncement : public QObject {
    Q_OBJECT
private slots:
    void interpret_data();
    void interpret();
    void buildSuffix_data();
    void buildSuffix();
    void versionRow_data();
    void versionRow();
    void findRow();
    void families_data();
    void families();
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

    QTest::newRow("reset, any text") << "garbage" << 0 << 0 << reset << -1 << "";
    QTest::newRow("reset, a date") << "19.04.2012" << 0 << 0 << reset << -1 << "";
    QTest::newRow("code 0 with build") << "19.04.2012" << 0 << 3 << unknown << -1 << "";
    QTest::newRow("code 5") << "19.04.2012" << 5 << 1 << unknown << -1 << "";
    QTest::newRow("code 255") << "19.04.2012" << 255 << 0 << unknown << -1 << "";

    QTest::newRow("code 1") << "05.06.2010" << 1 << 0 << dev << 0 << "05.06.2010";
    QTest::newRow("code 3") << "16.08.2010" << 3 << 0 << dev << 1 << "16.08.2010";
    QTest::newRow("code 1 not a date") << "v1.0" << 1 << 4 << dev << 0 << "v1.0";

    QTest::newRow("code 4 early") << "18.04.2012" << 4 << 0 << dev << 2 << "18.04.2012";
    QTest::newRow("code 4 not a date") << "xx" << 4 << 0 << dev << 2 << "xx";
    QTest::newRow("code 4 19.04.2012 b0") << "19.04.2012" << 4 << 0 << dev << 3 << "19.04.2012";
    QTest::newRow("code 4 19.04.2012 b45")
        << "19.04.2012" << 4 << 45 << dev << 3 << "19.04.2012/45";
    QTest::newRow("code 4 17.12.2018") << "17.12.2018" << 4 << 0 << dev << 3 << "17.12.2018";
    QTest::newRow("code 4 18.12.2018 b7") << "18.12.2018" << 4 << 7 << dev << 2 << "18.12.2018/1";

    QTest::newRow("code 2 03.12 b32") << "03.12.2010" << 2 << 32 << dev << 2 << "03.12.2010/31";
    QTest::newRow("code 2 03.12 b33") << "03.12.2010" << 2 << 33 << dev << 3 << "03.12.2010/33";
    QTest::newRow("code 2 03.12 b5") << "03.12.2010" << 2 << 5 << dev << 3 << "03.12.2010/67";
    QTest::newRow("code 2 03.12 b11") << "03.12.2010" << 2 << 11 << dev << 2 << "03.12.2010/11";
    QTest::newRow("code 2 03.12 b16") << "03.12.2010" << 2 << 16 << dev << 2 << "03.12.2010/11";
    QTest::newRow("code 2 03.12 b17") << "03.12.2010" << 2 << 17 << dev << 3 << "03.12.2010/17";
    QTest::newRow("code 2 03.12 b25") << "03.12.2010" << 2 << 25 << dev << 3 << "03.12.2010/25";
    QTest::newRow("code 2 03.12 b27") << "03.12.2010" << 2 << 27 << dev << 2 << "03.12.2010/25";
    QTest::newRow("code 2 03.12 b64") << "03.12.2010" << 2 << 64 << dev << 2 << "03.12.2010/63";
    QTest::newRow("code 2 03.12 b65") << "03.12.2010" << 2 << 65 << dev << 3 << "03.12.2010/65";
    QTest::newRow("code 2 03.12 b67") << "03.12.2010" << 2 << 67 << dev << 2 << "03.12.2010/67";
    QTest::newRow("code 2 03.12 b68") << "03.12.2010" << 2 << 68 << dev << 3 << "03.12.2010/67";
    QTest::newRow("code 2 01.12 b20") << "01.12.2010" << 2 << 20 << dev << 3 << "01.12.2010/20";
    QTest::newRow("code 2 middle") << "09.05.2012" << 2 << 30 << dev << 2 << "09.05.2012/28";
    QTest::newRow("code 2 late") << "18.12.2018" << 2 << 0 << dev << 3 << "18.12.2018";
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

void TstDeviceAnnouncement::buildSuffix_data() {
    QTest::addColumn<QString>("version");
    QTest::addColumn<QList<int>>("builds");
    QTest::addColumn<QStringList>("suffixes");
    QTest::newRow("01.12.2010") << "01.12.2010"
                                << QList<int>{0, 10, 11, 16, 17, 18, 19, 20, 24, 25, 255}
                                << QStringList{"",    "",    "/11", "/11", "/17", "/17",
                                               "/19", "/20", "/20", "/25", "/25"};
    QTest::newRow("02.12.2010") << "02.12.2010" << QList<int>{0, 12, 13, 255}
                                << QStringList{"", "", "/13", "/13"};
    QTest::newRow("03.12.2010") << "03.12.2010"
                                << QList<int>{0, 10, 22, 23, 24, 30, 31, 32, 66, 67, 255}
                                << QStringList{"/67", "/67", "/17", "/23", "/23", "/25",
                                               "/31", "/31", "/65", "/67", "/67"};
    QTest::newRow("19.04.2012") << "19.04.2012" << QList<int>{0, 1, 44, 45, 99, 100, 144, 145, 255}
                                << QStringList{"",     "/1",   "/1",   "/45", "/45",
                                               "/100", "/100", "/145", "/145"};
    QTest::newRow("09.05.2012") << "09.05.2012" << QList<int>{0, 27, 28, 99, 100, 127, 128}
                                << QStringList{"", "/1", "/28", "/28", "/100", "/100", "/128"};
    QTest::newRow("16.05.2012") << "16.05.2012" << QList<int>{0, 21, 22, 99, 100, 121, 122}
                                << QStringList{"", "/1", "/22", "/22", "/100", "/100", "/122"};
    QTest::newRow("17.05.2012") << "17.05.2012" << QList<int>{0, 1, 255}
                                << QStringList{"", "/1", "/1"};
    QTest::newRow("18.12.2018") << "18.12.2018" << QList<int>{0, 2, 200}
                                << QStringList{"", "/1", "/1"};
    QTest::newRow("other date") << "20.04.2012" << QList<int>{0, 1, 45} << QStringList{"", "", ""};
    QTest::newRow("not a date") << "03.12.10" << QList<int>{0, 32} << QStringList{"", ""};
}

void TstDeviceAnnouncement::buildSuffix() {
    QFETCH(QString, version);
    QFETCH(QList<int>, builds);
    QFETCH(QStringList, suffixes);
    QCOMPARE(builds.size(), suffixes.size());
    for (int i = 0; i < builds.size(); ++i)
        QVERIFY2(VersionLookupText(version, quint8(builds[i])) == version + suffixes[i],
                 qPrintable(QStringLiteral("build %1").arg(builds[i])));
}

void TstDeviceAnnouncement::versionRow_data() {
    QTest::addColumn<QString>("row");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("sub");
    QTest::newRow("with build") << "16.05.2012/22" << QDate(2012, 5, 16) << 22;
    QTest::newRow("bare date") << "17.05.2012" << QDate(2012, 5, 17) << 1;
    QTest::newRow("build 0") << "19.04.2012/0" << QDate(2012, 4, 19) << 0;
    QTest::newRow("empty row") << "" << QDate() << 1;
}

void TstDeviceAnnouncement::versionRow() {
    QFETCH(QString, row);
    QFETCH(QDate, date);
    QFETCH(int, sub);
    DeviceHeader h;
    h.firmwareSubVersion = 99;
    ApplyVersionRow(h, row, 7);
    QCOMPARE(h.firmwareDate, date);
    QCOMPARE(h.firmwareSubVersion, sub);
    QCOMPARE(h.versionIndex, 7);
}

void TstDeviceAnnouncement::findRow() {
    const QStringList rows{"03.12.2010/31", "03.12.2010/33", "19.04.2012", "19.04.2012/45"};
    QCOMPARE(FindVersionRow(rows, "19.04.2012/45"), 3);
    QCOMPARE(FindVersionRow(rows, "19.04.2012"), 2);
    QCOMPARE(FindVersionRow(rows, "19.04.2012/4"), -1);
    QCOMPARE(FindVersionRow(rows, ""), -1);
    QCOMPARE(FindVersionRow({}, "19.04.2012"), -1);
}

void TstDeviceAnnouncement::families_data() {
    QTest::addColumn<int>("devType");
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("loops");
    QTest::newRow("D4M") << 0 << "Keelwright.dev4" << 4;
    QTest::newRow("D8M") << 1 << "Keelwright.dev8" << 8;
    QTest::newRow("VororaZ") << 2 << "Keelwright.auton" << 6;
    QTest::newRow("VoduzeR") << 3 << "Keelwright.auto" << 6;
    QTest::newRow("unknown 7") << 7 << "" << 0;
    QTest::newRow("negative") << -1 << "" << 0;
}

void TstDeviceAnnouncement::families() {
    QFETCH(int, devType);
    QFETCH(QString, file);
    QFETCH(int, loops);
    QCOMPARE(FamilyDefaultFile(devType), file);
    QCOMPARE(FamilyLoopCount(devType), loops);

    DeviceSettings s;
    s.zones->loopCount = 5;
    QCOMPARE(SetDeviceType(s, devType), loops != 0);
    QCOMPARE(s.header->deviceType, devType);
    // An unknown family leaves the loop count as it was.
    QCOMPARE(s.zones->loopCount, loops ? loops : 5);
}

QTEST_GUILESS_MAIN(TstDeviceAnnouncement)
#include "tst_deviceannouncement.moc"
