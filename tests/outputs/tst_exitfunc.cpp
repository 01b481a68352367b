// The outputs page: type lists and gates by firmware, build and model,
// passwords by model family, zone lists from the zones page, loop rows.

#include "PageTestSupport.h"

#include "outputs/ExitFunc.h"
#include "settings/Firmware.h"

#include <QLineEdit>
#include <QRegularExpression>

using Ints = QList<int>;
struct ZoneStep {
    QStringList zones;
    int reason;
    int objectType;
};
Q_DECLARE_METATYPE(QList<ZoneStep>)

namespace {
QString n1(const char* stem, int n) {
    return QLatin1String(stem) + QString::number(n);
}
bool shown(const QWidget* p, const QString& name) {
    return !child(p, name)->isHidden();
}
bool enabled(const QWidget* p, const QString& name) {
    return child(p, name)->isEnabled();
}
} // namespace

class TestExitFunc : public QObject {
    Q_OBJECT

private slots:
    void typeLists_data();
    void typeLists();
    void gates_data();
    void gates();
    void passwords_data();
    void passwords();
    void zoneLists_data();
    void zoneLists();
    void rowsByModel_data();
    void rowsByModel();
};

// Rows are named by the version (firmware date and build).
void TestExitFunc::typeLists_data() {
    QTest::addColumn<int>("model");
    QTest::addColumn<QString>("digits");
    QTest::newRow("none") << 1 << "012345";
    QTest::newRow("01.12.2010/1") << 0 << "01235";
    QTest::newRow("01.12.2010/2") << 1 << "012345";
    QTest::newRow("02.12.2010/32") << 0 << "012345";
    QTest::newRow("03.12.2010/12") << 2 << "0123456";
    QTest::newRow("03.12.2010/20") << 2 << "012345";
    QTest::newRow("03.12.2010/32") << 2 << "012345678";
    QTest::newRow("03.12.2010/60") << 3 << "012345678";
    QTest::newRow("03.12.2010/-1") << 3 << "0123456";
    QTest::newRow("18.04.2012/45") << 3 << "012345";
    QTest::newRow("19.04.2012/45") << 3 << "01234";
    QTest::newRow("15.05.2012/33") << 3 << "01234";
    QTest::newRow("16.05.2012/0") << 3 << "012346";
    QTest::newRow("16.05.2012/33") << 3 << "01234678";
}

// Each output offers the codes; each code is loaded and stored as itself,
// and a code the list lacks shows no item, locks its output and is kept.
void TestExitFunc::typeLists() {
    QFETCH(int, model);
    QFETCH(QString, digits);
    Ints codes;
    for (QChar c : digits)
        codes << c.digitValue();
    PageSettings rig(model);
    SetFirmwareVersion(*rig.s.header, QTest::currentDataTag());
    ExitFunc page;
    page.TPribSlot(model);
    for (int n = 1; n <= 4; ++n) {
        auto* box = child<QComboBox>(&page, n1("CombobV", n));
        Ints offered;
        for (int i = 0; i < box->count(); ++i)
            offered << box->itemText(i).left(1).toInt();
        QCOMPARE(offered, codes);
    }
    // Loops open for a console output, the password for a user output, the
    // zone for light and siren; output 4 never opens anything.
    for (int code : codes) {
        rig.s.outputs->outputType = {code, -7, code, code};
        page.CancelClick();
        QCOMPARE(child<QComboBox>(&page, "CombobV1")->currentText().left(1).toInt(), code);
        for (int n : {1, 4}) {
            const bool open = n < 4 && enabled(&page, "GbShlPCN");
            QCOMPARE(enabled(&page, n1("cbSh", 10 * n + 8)), open && code == 3);
            QCOMPARE(enabled(&page, n1("lePass", n)), n < 4 && code == 4);
            QCOMPARE(enabled(&page, n1("combZone_", n)), n < 4 && (code == 1 || code == 2));
        }
        choose(&page, "CombobV2", code);
        rig.s.outputs->outputType[0] = -7;
        page.ApplyClick();
        QCOMPARE(rig.s.outputs->outputType[0], code);
        QCOMPARE(rig.s.outputs->outputType[1], code);
    }
    const int missing = codes.contains(4) ? 9 : 4;
    rig.s.outputs->outputType = {missing, 15, 0, 0};
    page.CancelClick();
    QCOMPARE(child<QComboBox>(&page, "CombobV1")->currentIndex(), -1);
    for (const char* name : {"lePass1", "combZone_1", "cbSh11", "cbSh18"})
        QVERIFY(!enabled(&page, name));
    page.ApplyClick();
    QCOMPARE(rig.s.outputs->outputType[0], missing);
    QCOMPARE(rig.s.outputs->outputType[1], 15);
}

void TestExitFunc::gates_data() {
    QTest::addColumn<QString>("on"); // T: types editable, O/R: relay groups, Z: zones
    QTest::newRow("none") << "";
    QTest::newRow("28.01.2010/45") << "";
    QTest::newRow("29.01.2010/45") << "T";
    QTest::newRow("04.06.2010/45") << "T";
    QTest::newRow("05.06.2010/45") << "TO";
    QTest::newRow("15.08.2010/45") << "TO";
    QTest::newRow("16.08.2010/45") << "TOR";
    QTest::newRow("18.04.2012/45") << "TOR";
    QTest::newRow("19.04.2012/44") << "TOR";
    QTest::newRow("19.04.2012/45") << "TORZ";
    QTest::newRow("19.04.2012/99") << "TORZ";
    QTest::newRow("19.04.2012/144") << "TOR";
    QTest::newRow("19.04.2012/145") << "TORZ";
    QTest::newRow("19.04.2012/-1") << "TORZ";
    QTest::newRow("08.05.2012/28") << "TOR";
    QTest::newRow("09.05.2012/27") << "TOR";
    QTest::newRow("09.05.2012/28") << "TORZ";
    QTest::newRow("09.05.2012/127") << "TOR";
    QTest::newRow("09.05.2012/128") << "TORZ";
    QTest::newRow("15.05.2012/22") << "TOR";
    QTest::newRow("16.05.2012/21") << "TOR";
    QTest::newRow("16.05.2012/22") << "TORZ";
    QTest::newRow("16.05.2012/100") << "TOR";
    QTest::newRow("16.05.2012/121") << "TOR";
    QTest::newRow("16.05.2012/122") << "TORZ";
}

void TestExitFunc::gates() {
    QFETCH(QString, on);
    PageSettings rig(DEV_VoduzeR);
    SetFirmwareVersion(*rig.s.header, QTest::currentDataTag());
    ExitFunc page;
    page.VersionChange();
    for (const char* name : {"label_5", "label_6", "CombobV1", "CombobV2", "CombobV3", "GbShlPCN"})
        QCOMPARE(enabled(&page, name), on.contains('T'));
    QCOMPARE(shown(&page, "groupBox_3"), on.contains('O'));
    QCOMPARE(shown(&page, "groupBox_4"), on.contains('R'));
    QCOMPARE(shown(&page, "gbZones"), on.contains('Z'));
}

void TestExitFunc::passwords_data() {
    QTest::addColumn<int>("model");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("VororaZ 1A") << int(DEV_VororaZ) << "1a"
                                << "FF1A";
    QTest::newRow("VoduzeR 1") << int(DEV_VoduzeR) << "1"
                               << "FF10";
    QTest::newRow("VororaZ too long") << int(DEV_VororaZ) << "abc"
                                      << "FFAB";
    QTest::newRow("D4M none") << int(DEV_D4M) << ""
                              << "0000";
    QTest::newRow("D8M ab") << int(DEV_D8M) << "ab"
                            << "AB00";
}

// Typed into user output 1, stored with zeros in the empty places; outputs
// 1-4 load and store the two administrator and the two user passwords.
void TestExitFunc::passwords() {
    QFETCH(int, model);
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    const bool family = model >= DEV_VororaZ;
    PageSettings rig(model, QDate(2012, 5, 16), 33);
    rig.s.outputs->outputType[0] = 4;
    rig.s.outputs->adminPassword = {"FF1A", "FF2B"};
    rig.s.outputs->userPassword = {"FF3C", "FF4D"};
    ExitFunc page;
    page.TPribSlot(model);
    const auto edits = page.findChildren<QLineEdit*>(QRegularExpression("^lePass\\d$"));
    QCOMPARE(edits.size(), 4);
    for (QLineEdit* edit : edits) {
        const QString n = edit->objectName().right(1);
        QCOMPARE(edit->inputMask(), family ? ">HH;#" : ">HHHH;#");
        QCOMPARE(edit->text(), (family ? "" : "FF") + n + QChar("0ABCD"[n.toInt()]));
        edit->setText(n);
    }
    auto* first = child<QLineEdit>(&page, "lePass1");
    first->clear();
    QTest::keyClicks(first, typed);
    page.ApplyClick();
    auto pad = [family](int n) {
        return family ? QStringLiteral("FF%1").arg(n) + '0' : QString::number(n) + "000";
    };
    QCOMPARE(rig.s.outputs->adminPassword, (std::array<QString, 2>{stored, pad(2)}));
    QCOMPARE(rig.s.outputs->userPassword, (std::array<QString, 2>{pad(3), pad(4)}));
}

void TestExitFunc::zoneLists_data() {
    QTest::addColumn<QList<ZoneStep>>("steps");
    QTest::addColumn<QStringList>("shown"); // zone boxes 1..4
    QTest::addColumn<Ints>("stored");       // outputZone after apply, from {2, 1, 0, 7}
    const QStringList abc{"A", "B", "C"};
    const ZoneStep cancel{abc, 0, 1};
    const QStringList kept{"B", "A", "Все зоны", ""};
    auto row = [](const char* name, QList<ZoneStep> steps, QStringList shown, Ints stored) {
        QTest::newRow(name) << steps << shown << stored;
    };
    row("cancel", {cancel}, kept, {2, 1, 0, 7});
    row("added", {cancel, {{"N", "A", "B", "C"}, 1, 1}}, kept, {3, 2, 0, 7});
    row("deleted", {cancel, {{"B", "C"}, 2, 1}}, {"B", "Все зоны", "Все зоны", ""}, {1, 0, 0, 7});
    row("renamed", {cancel, {{"A", "Bee", "C"}, 3, 1}}, {"Bee", "A", "Все зоны", ""}, {2, 1, 0, 7});
    row("model, other case", {cancel, {{"a", "b", "c"}, 5, 1}}, {"b", "a", "Все зоны", ""},
        {2, 1, 0, 7});
    row("stored index reached", {cancel, {{"A", "B", "C", "D", "E", "F", "G"}, 1, 1}},
        {"B", "A", "Все зоны", "G"}, {2, 1, 0, 7});
    row("simple", {cancel, {abc, 4, 0}}, {"A", "A", "A", "A"}, {0, 0, 0, 0});
    row("simple, no zone", {cancel, {{}, 4, 0}}, {"", "", "", ""}, {2, 1, 0, 7});
    row("simple and back", {cancel, {abc, 4, 0}, {abc, 1, 0}, {abc, 4, 1}}, kept, {2, 1, 0, 7});
    row("complex twice", {cancel, {abc, 4, 1}, {abc, 4, 1}}, kept, {2, 1, 0, 7});
    row("empty list", {{{}, 0, 1}}, {"", "", "Все зоны", ""}, {2, 1, 0, 7});
    row("no list yet", {}, {"", "", "", ""}, {2, 1, 0, 7});
}

void TestExitFunc::zoneLists() {
    QFETCH(QList<ZoneStep>, steps);
    QFETCH(QStringList, shown);
    QFETCH(Ints, stored);
    PageSettings rig;
    rig.s.outputs->outputZone = {2, 1, 0, 7};
    ExitFunc page;
    for (const ZoneStep& step : steps) {
        rig.s.header->objectType = step.objectType;
        page.setZonesList(step.zones, step.reason);
    }
    for (int n = 1; n <= 4; ++n)
        QCOMPARE(child<QComboBox>(&page, n1("combZone_", n))->currentText(), shown[n - 1]);
    page.ApplyClick();
    const auto& z = rig.s.outputs->outputZone;
    QCOMPARE((Ints{z[0], z[1], z[2], z[3]}), stored);
}

void TestExitFunc::rowsByModel_data() {
    QTest::addColumn<int>("model");
    QTest::addColumn<int>("loops");
    QTest::newRow("D4M") << int(DEV_D4M) << 4;
    QTest::newRow("D8M") << int(DEV_D8M) << 8;
    QTest::newRow("VororaZ") << int(DEV_VororaZ) << 6;
}

// Output 3 and loop rows by model, output 4 never; hidden ones still stored.
void TestExitFunc::rowsByModel() {
    QFETCH(int, model);
    QFETCH(int, loops);
    PageSettings rig(model, QDate(2010, 8, 16));
    auto& o = *rig.s.outputs;
    for (size_t out = 0; out < 4; ++out) {
        o.outputLoop[out] = {1, 0, 0, 1, 0, 0, 0, 1};
        o.outputFlagA[out] = out % 2;
        o.keepOnPowerOff[out] = 1 - out % 2;
    }
    const OutputsConfig before = o;
    ExitFunc page;
    page.TPribSlot(model);
    const bool third = model != DEV_D4M;
    for (const char* name : {"label_6", "CombobV3", "lePass3", "combZone_3", "cbRazm3", "cbSave3"})
        QCOMPARE(shown(&page, name), third);
    for (const char* name : {"label_7", "CombobV4", "lePass4", "combZone_4", "cbRazm4", "cbSave4"})
        QVERIFY(!shown(&page, name));
    for (int loop = 1; loop <= 8; ++loop) {
        QCOMPARE(shown(&page, n1("l", loop)), loop <= loops);
        QCOMPARE(shown(&page, n1("cbSh", 10 + loop)), loop <= loops);
        QCOMPARE(shown(&page, n1("cbSh", 30 + loop)), third && loop <= loops);
        QVERIFY(!shown(&page, n1("cbSh", 40 + loop)));
    }
    o = OutputsConfig{};
    page.ApplyClick();
    QCOMPARE(o.outputLoop, before.outputLoop);
    QCOMPARE(o.outputFlagA, before.outputFlagA);
    QCOMPARE(o.keepOnPowerOff, before.keepOnPowerOff);
}

QTEST_MAIN(TestExitFunc)
#include "tst_exitfunc.moc"
