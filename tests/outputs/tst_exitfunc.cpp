// The outputs page: type lists and gates by firmware, build and model,
// passwords by model family, zone lists from the zones page, loop rows.

#include "PageTestSupport.h"

#include "outputs/ExitFunc.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QTest>

using Codes = QList<int>;

struct ZoneStep {
    QStringList zones;
    int reason;
    int objectType;
};
using ZoneSteps = QList<ZoneStep>;
Q_DECLARE_METATYPE(ZoneSteps)

namespace {
QComboBox* typeBox(const ExitFunc& p, int n) {
    return child<QComboBox>(&p, QStringLiteral("CombobV%1").arg(n));
}
QComboBox* zoneBox(const ExitFunc& p, int n) {
    return child<QComboBox>(&p, QStringLiteral("combZone_%1").arg(n));
}
QLineEdit* password(const ExitFunc& p, int n) {
    return child<QLineEdit>(&p, QStringLiteral("lePass%1").arg(n));
}
bool shown(const ExitFunc& p, const QString& name) {
    return !child(&p, name)->isHidden();
}
bool enabled(const ExitFunc& p, const QString& name) {
    return child(&p, name)->isEnabled();
}
Codes itemCodes(const QComboBox* box) {
    Codes codes;
    for (int i = 0; i < box->count(); ++i)
        codes << box->itemText(i).left(1).toInt();
    return codes;
}
// Selects the item whose text starts with the code.
void choose(QComboBox* box, int code) {
    box->setCurrentIndex(box->findText(QString::number(code), Qt::MatchStartsWith));
}
} // namespace

class TestExitFunc : public QObject {
    Q_OBJECT

private slots:
    void typeLists_data();
    void typeLists();
    void unofferedType();
    void dateGates_data();
    void dateGates();
    void zoneGroup_data();
    void zoneGroup();
    void enablingByType();
    void passwords_data();
    void passwords();
    void zoneLists_data();
    void zoneLists();
    void rowsByModel_data();
    void rowsByModel();
};

void TestExitFunc::typeLists_data() {
    QTest::addColumn<QDate>("fw");
    QTest::addColumn<int>("build");
    QTest::addColumn<int>("model");
    QTest::addColumn<Codes>("codes");
    const QDate d0112(2010, 12, 1), d0312(2010, 12, 3), d1605(2012, 5, 16);
    QTest::newRow("no version") << QDate() << 1 << 1 << Codes{0, 1, 2, 3, 4, 5};
    QTest::newRow("30.11.2010 D4M") << QDate(2010, 11, 30) << 1 << 0 << Codes{0, 1, 2, 3, 4, 5};
    QTest::newRow("01.12.2010 D4M") << d0112 << 1 << 0 << Codes{0, 1, 2, 3, 5};
    QTest::newRow("01.12.2010 D8M") << d0112 << 1 << 1 << Codes{0, 1, 2, 3, 4, 5};
    QTest::newRow("02.12.2010 D4M") << QDate(2010, 12, 2) << 32 << 0 << Codes{0, 1, 2, 3, 4, 5};
    QTest::newRow("03.12.2010/12") << d0312 << 12 << 2 << Codes{0, 1, 2, 3, 4, 5, 6};
    QTest::newRow("03.12.2010/20") << d0312 << 20 << 2 << Codes{0, 1, 2, 3, 4, 5};
    QTest::newRow("03.12.2010/32") << d0312 << 32 << 2 << Codes{0, 1, 2, 3, 4, 5, 6, 7, 8};
    QTest::newRow("03.12.2010/60") << d0312 << 60 << 3 << Codes{0, 1, 2, 3, 4, 5, 6, 7, 8};
    QTest::newRow("03.12.2010/-1") << d0312 << -1 << 3 << Codes{0, 1, 2, 3, 4, 5, 6};
    QTest::newRow("04.12.2010/32") << QDate(2010, 12, 4) << 32 << 3 << Codes{0, 1, 2, 3, 4, 5};
    QTest::newRow("18.04.2012") << QDate(2012, 4, 18) << 45 << 3 << Codes{0, 1, 2, 3, 4, 5};
    QTest::newRow("19.04.2012") << QDate(2012, 4, 19) << 45 << 3 << Codes{0, 1, 2, 3, 4};
    QTest::newRow("15.05.2012/33") << QDate(2012, 5, 15) << 33 << 3 << Codes{0, 1, 2, 3, 4};
    QTest::newRow("16.05.2012/0") << d1605 << 0 << 3 << Codes{0, 1, 2, 3, 4, 6};
    QTest::newRow("16.05.2012/33") << d1605 << 33 << 3 << Codes{0, 1, 2, 3, 4, 6, 7, 8};
}

// Each output offers the codes; every code loaded, shown and stored as itself.
void TestExitFunc::typeLists() {
    QFETCH(QDate, fw);
    QFETCH(int, build);
    QFETCH(int, model);
    QFETCH(Codes, codes);
    PageSettings rig;
    rig.device(model, fw, build);
    ExitFunc page;
    page.TPribSlot(model);
    for (int n = 1; n <= 4; ++n)
        QCOMPARE(itemCodes(typeBox(page, n)), codes);

    for (int code : codes) {
        rig.s.outputs->outputType = {code, 0, 0, 0};
        page.CancelClick();
        QCOMPARE(typeBox(page, 1)->currentText().left(1).toInt(), code);
        rig.s.outputs->outputType[0] = -7;
        page.ApplyClick();
        QCOMPARE(rig.s.outputs->outputType[0], code);

        choose(typeBox(page, 2), code);
        page.ApplyClick();
        QCOMPARE(rig.s.outputs->outputType[1], code);
    }
}

// A code the list does not hold shows no item, locks its output's fields and
// is stored back unchanged.
void TestExitFunc::unofferedType() {
    PageSettings rig;
    rig.device(DEV_D4M, QDate(2010, 12, 1));
    rig.s.outputs->outputType = {4, 9, 3, 15};
    ExitFunc page;
    page.TPribSlot(DEV_D4M);
    for (int n : {1, 2}) {
        QCOMPARE(typeBox(page, n)->currentIndex(), -1);
        QVERIFY(!password(page, n)->isEnabled());
        QVERIFY(!zoneBox(page, n)->isEnabled());
        QVERIFY(!enabled(page, QStringLiteral("cbSh%1%2").arg(n).arg(1)));
    }
    QVERIFY(enabled(page, QStringLiteral("cbSh31")));
    page.ApplyClick();
    QCOMPARE(rig.s.outputs->outputType, (std::array<i32, 4>{4, 9, 3, 15}));
}

void TestExitFunc::dateGates_data() {
    QTest::addColumn<QDate>("fw");
    QTest::addColumn<bool>("typesEditable");
    QTest::addColumn<bool>("relayOpen");
    QTest::addColumn<bool>("relayRestore");
    QTest::newRow("28.01.2010") << QDate(2010, 1, 28) << false << false << false;
    QTest::newRow("29.01.2010") << QDate(2010, 1, 29) << true << false << false;
    QTest::newRow("04.06.2010") << QDate(2010, 6, 4) << true << false << false;
    QTest::newRow("05.06.2010") << QDate(2010, 6, 5) << true << true << false;
    QTest::newRow("15.08.2010") << QDate(2010, 8, 15) << true << true << false;
    QTest::newRow("16.08.2010") << QDate(2010, 8, 16) << true << true << true;
}

void TestExitFunc::dateGates() {
    QFETCH(QDate, fw);
    QFETCH(bool, typesEditable);
    QFETCH(bool, relayOpen);
    QFETCH(bool, relayRestore);
    PageSettings rig;
    rig.device(DEV_D8M, fw);
    ExitFunc page;
    page.TPribSlot(DEV_D8M);
    for (const char* name : {"label_5", "label_6", "CombobV1", "CombobV2", "CombobV3", "GbShlPCN"})
        QCOMPARE(enabled(page, QLatin1String(name)), typesEditable);
    QVERIFY(enabled(page, QStringLiteral("label_4")));
    QCOMPARE(shown(page, QStringLiteral("groupBox_3")), relayOpen);
    QCOMPARE(shown(page, QStringLiteral("groupBox_4")), relayRestore);
}

void TestExitFunc::zoneGroup_data() {
    QTest::addColumn<QDate>("fw");
    QTest::addColumn<int>("build");
    QTest::addColumn<bool>("zones");
    const QDate d1904(2012, 4, 19), d0905(2012, 5, 9), d1605(2012, 5, 16);
    QTest::newRow("no version/-1") << QDate() << -1 << false;
    QTest::newRow("18.04.2012/45") << QDate(2012, 4, 18) << 45 << false;
    QTest::newRow("19.04.2012/44") << d1904 << 44 << false;
    QTest::newRow("19.04.2012/45") << d1904 << 45 << true;
    QTest::newRow("19.04.2012/99") << d1904 << 99 << true;
    QTest::newRow("19.04.2012/144") << d1904 << 144 << false;
    QTest::newRow("19.04.2012/145") << d1904 << 145 << true;
    QTest::newRow("19.04.2012/-1") << d1904 << -1 << true;
    QTest::newRow("08.05.2012/28") << QDate(2012, 5, 8) << 28 << false;
    QTest::newRow("09.05.2012/27") << d0905 << 27 << false;
    QTest::newRow("09.05.2012/28") << d0905 << 28 << true;
    QTest::newRow("09.05.2012/127") << d0905 << 127 << false;
    QTest::newRow("09.05.2012/128") << d0905 << 128 << true;
    QTest::newRow("15.05.2012/22") << QDate(2012, 5, 15) << 22 << false;
    QTest::newRow("16.05.2012/21") << d1605 << 21 << false;
    QTest::newRow("16.05.2012/22") << d1605 << 22 << true;
    QTest::newRow("16.05.2012/100") << d1605 << 100 << false;
    QTest::newRow("16.05.2012/121") << d1605 << 121 << false;
    QTest::newRow("16.05.2012/122") << d1605 << 122 << true;
}

void TestExitFunc::zoneGroup() {
    QFETCH(QDate, fw);
    QFETCH(int, build);
    QFETCH(bool, zones);
    PageSettings rig;
    rig.device(DEV_VoduzeR, fw, build);
    ExitFunc page;
    page.VersionChange();
    QCOMPARE(shown(page, QStringLiteral("gbZones")), zones);
}

// Loops for a console output, the password for a user output, the zone for
// light and siren; output 4 never opens anything.
void TestExitFunc::enablingByType() {
    PageSettings rig;
    rig.device(DEV_VoduzeR, QDate(2010, 12, 3), 32);
    ExitFunc page;
    page.TPribSlot(DEV_VoduzeR);
    for (int n = 1; n <= 4; ++n) {
        for (int code = 0; code <= 8; ++code) {
            choose(typeBox(page, n), code);
            const bool live = n < 4;
            for (int loop = 1; loop <= 8; ++loop)
                QCOMPARE(enabled(page, QStringLiteral("cbSh%1%2").arg(n).arg(loop)),
                         live && code == 3);
            QCOMPARE(password(page, n)->isEnabled(), live && code == 4);
            QCOMPARE(zoneBox(page, n)->isEnabled(), live && (code == 1 || code == 2));
        }
    }
}

void TestExitFunc::passwords_data() {
    QTest::addColumn<int>("model");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("VororaZ 1A") << int(DEV_VororaZ) << "1a"
                                << "FF1A";
    QTest::newRow("VoduzeR 1") << int(DEV_VoduzeR) << "1"
                               << "FF10";
    QTest::newRow("VororaZ none") << int(DEV_VororaZ) << ""
                                  << "FF00";
    QTest::newRow("VororaZ too long") << int(DEV_VororaZ) << "abc"
                                      << "FFAB";
    QTest::newRow("D4M none") << int(DEV_D4M) << ""
                              << "0000";
    QTest::newRow("D8M ab") << int(DEV_D8M) << "ab"
                            << "AB00";
    QTest::newRow("D8M 12cd") << int(DEV_D8M) << "12cd"
                              << "12CD";
}

// Typed into the user output 1, stored with zeros for the missing digits;
// each output loads and stores its own password field.
void TestExitFunc::passwords() {
    QFETCH(int, model);
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    const bool family = model >= DEV_VororaZ;
    PageSettings rig;
    rig.device(model, QDate(2012, 5, 16), 33);
    rig.s.outputs->outputType[0] = 4;
    rig.s.outputs->adminPassword = {QStringLiteral("FF1A"), QStringLiteral("FF2B")};
    rig.s.outputs->userPassword = {QStringLiteral("FF3C"), QStringLiteral("FF4D")};
    ExitFunc page;
    page.TPribSlot(model);
    const QStringList loaded =
        family ? QStringList{"1A", "2B", "3C", "4D"} : QStringList{"FF1A", "FF2B", "FF3C", "FF4D"};
    for (int n = 1; n <= 4; ++n) {
        QCOMPARE(password(page, n)->inputMask(), family ? ">HH;#" : ">HHHH;#");
        QCOMPARE(password(page, n)->text(), loaded[n - 1]);
    }

    QLineEdit* edit = password(page, 1);
    QVERIFY(edit->isEnabled());
    edit->clear();
    edit->home(false);
    QTest::keyClicks(edit, typed);
    for (int n = 2; n <= 4; ++n)
        password(page, n)->setText(QString::number(n));
    page.ApplyClick();
    const auto pad = [family](int n) {
        return family ? QStringLiteral("FF") + QString::number(n) + QStringLiteral("0")
                      : QString::number(n) + QStringLiteral("000");
    };
    QCOMPARE(rig.s.outputs->adminPassword[0], stored);
    QCOMPARE(rig.s.outputs->adminPassword[1], pad(2));
    QCOMPARE(rig.s.outputs->userPassword[0], pad(3));
    QCOMPARE(rig.s.outputs->userPassword[1], pad(4));
}

void TestExitFunc::zoneLists_data() {
    QTest::addColumn<ZoneSteps>("steps");
    QTest::addColumn<QStringList>("shown"); // current texts of zone boxes 1..4
    QTest::addColumn<Codes>("stored");      // outputZone after apply
    // Stored indexes {2, 1, 0, 7}; the cancel list holds zones A, B, C.
    const QStringList abc{"A", "B", "C"};
    const ZoneStep cancel{abc, 0, 1};
    QTest::newRow("cancel") << ZoneSteps{cancel} << QStringList{"B", "A", "Все зоны", ""}
                            << Codes{2, 1, 0, 7};
    QTest::newRow("added") << ZoneSteps{cancel, {{"N", "A", "B", "C"}, 1, 1}}
                           << QStringList{"B", "A", "Все зоны", ""} << Codes{3, 2, 0, 7};
    QTest::newRow("deleted") << ZoneSteps{cancel, {{"B", "C"}, 2, 1}}
                             << QStringList{"B", "Все зоны", "Все зоны", ""} << Codes{1, 0, 0, 7};
    QTest::newRow("renamed") << ZoneSteps{cancel, {{"A", "Bee", "C"}, 3, 1}}
                             << QStringList{"Bee", "A", "Все зоны", ""} << Codes{2, 1, 0, 7};
    QTest::newRow("model, other case")
        << ZoneSteps{cancel, {{"a", "b", "c"}, 5, 1}} << QStringList{"b", "a", "Все зоны", ""}
        << Codes{2, 1, 0, 7};
    QTest::newRow("stored index reached")
        << ZoneSteps{cancel, {{"A", "B", "C", "D", "E", "F", "G"}, 1, 1}}
        << QStringList{"B", "A", "Все зоны", "G"} << Codes{2, 1, 0, 7};
    QTest::newRow("simple") << ZoneSteps{cancel, {abc, 4, 0}} << QStringList{"A", "A", "A", "A"}
                            << Codes{0, 0, 0, 0};
    QTest::newRow("simple, no zone")
        << ZoneSteps{cancel, {{}, 4, 0}} << QStringList{"", "", "", ""} << Codes{2, 1, 0, 7};
    QTest::newRow("simple and back") << ZoneSteps{cancel, {abc, 4, 0}, {abc, 1, 0}, {abc, 4, 1}}
                                     << QStringList{"B", "A", "Все зоны", ""} << Codes{2, 1, 0, 7};
    QTest::newRow("complex twice") << ZoneSteps{cancel, {abc, 4, 1}, {abc, 4, 1}}
                                   << QStringList{"B", "A", "Все зоны", ""} << Codes{2, 1, 0, 7};
    QTest::newRow("empty list") << ZoneSteps{{{}, 0, 1}} << QStringList{"", "", "Все зоны", ""}
                                << Codes{2, 1, 0, 7};
    QTest::newRow("no list yet") << ZoneSteps{} << QStringList{"", "", "", ""} << Codes{2, 1, 0, 7};
}

void TestExitFunc::zoneLists() {
    QFETCH(ZoneSteps, steps);
    QFETCH(QStringList, shown);
    QFETCH(Codes, stored);
    PageSettings rig;
    rig.s.outputs->outputZone = {2, 1, 0, 7};
    ExitFunc page;
    for (const ZoneStep& step : steps) {
        rig.s.header->objectType = step.objectType;
        page.setZonesList(step.zones, step.reason);
    }
    for (int n = 1; n <= 4; ++n)
        QCOMPARE(zoneBox(page, n)->currentText(), shown[n - 1]);
    page.ApplyClick();
    const auto& zones = rig.s.outputs->outputZone;
    QCOMPARE((Codes{zones[0], zones[1], zones[2], zones[3]}), stored);
}

void TestExitFunc::rowsByModel_data() {
    QTest::addColumn<int>("model");
    QTest::addColumn<bool>("third");
    QTest::addColumn<int>("loops");
    QTest::newRow("D4M") << int(DEV_D4M) << false << 4;
    QTest::newRow("D8M") << int(DEV_D8M) << true << 8;
    QTest::newRow("VororaZ") << int(DEV_VororaZ) << true << 6;
    QTest::newRow("VoduzeR") << int(DEV_VoduzeR) << true << 6;
}

// Hidden outputs and loops are shown by model and still loaded and stored.
void TestExitFunc::rowsByModel() {
    QFETCH(int, model);
    QFETCH(bool, third);
    QFETCH(int, loops);
    PageSettings rig;
    rig.device(model, QDate(2010, 8, 16));
    auto& o = *rig.s.outputs;
    for (size_t out = 0; out < 4; ++out) {
        o.outputLoop[out] = {1, 0, 0, 1, 0, 0, 0, 1};
        o.outputFlagA[out] = out % 2;
        o.keepOnPowerOff[out] = 1 - out % 2;
    }
    const OutputsConfig before = o;
    ExitFunc page;
    page.TPribSlot(model);
    for (const char* name : {"label_6", "CombobV3", "lePass3", "combZone_3", "cbRazm3", "cbSave3"})
        QCOMPARE(shown(page, QLatin1String(name)), third);
    for (const char* name : {"label_7", "CombobV4", "lePass4", "combZone_4", "cbRazm4", "cbSave4"})
        QVERIFY(!shown(page, QLatin1String(name)));
    for (int loop = 1; loop <= 8; ++loop) {
        QCOMPARE(shown(page, QStringLiteral("l%1").arg(loop)), loop <= loops);
        QCOMPARE(shown(page, QStringLiteral("cbSh1%1").arg(loop)), loop <= loops);
        QCOMPARE(shown(page, QStringLiteral("cbSh3%1").arg(loop)), third && loop <= loops);
        QVERIFY(!shown(page, QStringLiteral("cbSh4%1").arg(loop)));
    }
    o = OutputsConfig{};
    page.ApplyClick();
    QCOMPARE(o.outputLoop, before.outputLoop);
    QCOMPARE(o.outputFlagA, before.outputFlagA);
    QCOMPARE(o.keepOnPowerOff, before.keepOnPowerOff);
    QCOMPARE(o.outputType, before.outputType);
}

QTEST_MAIN(TestExitFunc)
#include "tst_exitfunc.moc"
