// The loop functions and delays pages: load and store, rows by model, gates,
// the technological loop, parked delays, and device-image values that the
// lists lack.

#include "LoopsTestSupport.h"

#include "editor/DelayFuncFrame.h"
#include "editor/FuncShl.h"
#include "settings/Firmware.h"
#include "settings/ImageDecoder.h"
#include "settings/ImageEEPROM.h"
#include "settings/ImageLayout.h"
#include "settings/Sections.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QTest>

namespace {
QComboBox* Combo(const QWidget& page, const char* name) {
    return Child<QComboBox>(&page, name);
}
QRadioButton* Loop(const QWidget& page, char dir, int n) {
    return Child<QRadioButton>(&page, QStringLiteral("Rb%1Shl%2").arg(QLatin1Char(dir)).arg(n));
}
bool Shown(const QWidget& page, const QString& name) {
    return Child<QWidget>(&page, name)->isVisibleTo(&page);
}
// The loops whose widget `stem`n is visible, as "1234..".
QString ShownLoops(const QWidget& page, const QString& stem) {
    QString out;
    for (int n = 1; n <= kLoops; ++n)
        out += Shown(page, stem + QString::number(n)) ? QString::number(n) : QString();
    return out;
}
// Both delays as on, loop, time, arming first.
QList<int> Delays(const DeviceSettings& s) {
    const ExtraOptions& e = *s.extra;
    return {e.armDelayOn,    e.armDelayLoop,    e.armDelayTime,
            e.disarmDelayOn, e.disarmDelayLoop, e.disarmDelayTime};
}
void SetDelays(DeviceSettings& s, const QList<int>& d) {
    ExtraOptions& e = *s.extra;
    std::tie(e.armDelayOn, e.armDelayLoop, e.armDelayTime) = std::tuple(u8(d[0]), d[1], d[2]);
    std::tie(e.disarmDelayOn, e.disarmDelayLoop, e.disarmDelayTime) =
        std::tuple(u8(d[3]), d[4], d[5]);
}
// The 1-based loop chosen in one direction, 0 for none.
int Chosen(const QWidget& page, char dir) {
    for (int n = 1; n <= kLoops; ++n) {
        if (Loop(page, dir, n)->isChecked())
            return n;
    }
    return 0;
}
} // namespace

class TstLoopFunctions : public QObject {
    Q_OBJECT

private slots:
    void init() { UseDefaults(settings); }
    void rowsByModel_data();
    void rowsByModel();
    void parking_data();
    void parking();
    void notParked();
    void technologicalLoop();
    void releaseGates_data();
    void releaseGates();
    void deviceImageValuesTheListsLack();

private:
    DeviceSettings settings;
};

void TstLoopFunctions::rowsByModel_data() {
    QTest::addColumn<QList<int>>("types");
    QTest::addColumn<QString>("loops");
    QTest::newRow("4 loops") << QList<int>{DEV_D4M} << "1234";
    QTest::newRow("second family") << QList<int>{DEV_VororaZ} << "123456";
    QTest::newRow("8, 4, 8") << QList<int>{DEV_D8M, DEV_D4M, DEV_D8M} << "12345678";
}

// Rows follow the model, also back from a model with fewer loops (hidden
// rows still load and store: the reload-and-store test covers them).
void TstLoopFunctions::rowsByModel() {
    QFETCH(QList<int>, types);
    QFETCH(QString, loops);
    FuncShl functions;
    DelayFuncFrame delays;
    for (int type : types) {
        functions.TPribSlot(type);
        delays.TPribSlot(type);
    }
    for (const char* stem :
         {"CombobSOS", "CombobVOS", "cbSOSv", "cbVOSv", "cbSOSir", "cbVOSir", "l"})
        QCOMPARE(ShownLoops(functions, stem), loops);
    for (const char* stem : {"RbPShl", "RbSShl", "lp", "ls"})
        QCOMPARE(ShownLoops(delays, stem), loops);
}

void TstLoopFunctions::parking_data() {
    QTest::addColumn<QList<int>>("types");
    QTest::addColumn<QString>("between");
    QTest::addColumn<bool>("back");
    QTest::newRow("8, 4, 8") << QList<int>{DEV_D4M, DEV_D8M} << "" << true;
    QTest::newRow("via 6 loops") << QList<int>{DEV_D4M, DEV_VororaZ, DEV_D8M} << "" << true;
    QTest::newRow("applied meanwhile") << QList<int>{DEV_D4M, DEV_D8M} << "apply" << false;
    QTest::newRow("loaded meanwhile") << QList<int>{DEV_D4M, DEV_D8M} << "load" << false;
    QTest::newRow("still lacking") << QList<int>{DEV_D4M, DEV_VororaZ} << "" << false;
}

// A delay on a loop the model lacks is parked (the settings say "none") and
// comes back at the first model that has the loop, unless an apply or a
// load of settings came in between.
void TstLoopFunctions::parking() {
    const int loop = 7;
    QFETCH(QList<int>, types);
    QFETCH(QString, between);
    QFETCH(bool, back);
    SetDelays(settings, {0, loop, 6, 0, 1, 3}); // disarming on a loop every model has
    DelayFuncFrame page;
    page.TPribSlot(DEV_D8M);
    page.CancelClick();
    for (int type : types.mid(0, types.size() - 1))
        page.TPribSlot(type);
    QCOMPARE(Delays(settings), (QList<int>{1, 0, 0, 0, 1, 3}));
    QVERIFY(page.armChoiceParked() && !page.disarmChoiceParked());
    if (between == "apply")
        page.ApplyClick();
    else if (between == "load")
        page.ForgetRemembered();
    page.TPribSlot(types.last());

    QCOMPARE(Delays(settings),
             back ? (QList<int>{0, loop, 6, 0, 1, 3}) : (QList<int>{1, 0, 0, 0, 1, 3}));
    QCOMPARE(Chosen(page, 'P'), back ? loop + 1 : 0);
    QCOMPARE(Combo(page, "CbP")->currentIndex(), back ? 6 : 0);
    QCOMPARE(page.armChoiceParked(), !back && between.isEmpty());
}

// A delay that is off is no choice: a loop a device image left in it is not
// parked and never switches the delay on. A technological loop lowers the
// zones' loop count, not the model's: the loop beside it keeps its delay.
void TstLoopFunctions::notParked() {
    SetDelays(settings, {1, 7, 2, 1, 0, 0});
    DelayFuncFrame page;
    page.CancelClick();
    page.TPribSlot(DEV_D4M);
    page.TPribSlot(DEV_D8M);
    QCOMPARE(Delays(settings).mid(0, 3), (QList<int>{1, 7, 2}));
    QVERIFY(Child<QRadioButton>(&page, "RbnuP")->isChecked());

    SetDelays(settings, {0, 5, 2, 1, 0, 0});
    settings.zones->loopCount = 5;
    page.CancelClick();
    page.TPribSlot(DEV_VororaZ);
    QVERIFY(!page.armChoiceParked());
    QCOMPARE(Delays(settings).mid(0, 3), (QList<int>{0, 5, 2}));
}

// The technological loop's buttons are locked with a notice; a choice on it
// falls back to none at the next apply; a switch to another loop frees it.
void TstLoopFunctions::technologicalLoop() {
    SetDelays(settings, {0, 3, 0, 0, 1, 0});
    DelayFuncFrame page;
    page.CancelClick();
    page.NumTShlChange(2);
    QCOMPARE((QList<int>{Chosen(page, 'P'), Chosen(page, 'S')}), (QList<int>{4, 0}));
    QVERIFY(!Loop(page, 'S', 2)->isEnabled() && !Loop(page, 'P', 2)->isEnabled());
    QCOMPARE(Child<QLabel>(&page, "lInfo")->text(),
             QStringLiteral("Шлейф №2 заблокирован, так как является технологическим."));
    QCOMPARE(Delays(settings), (QList<int>{0, 3, 0, 0, 1, 0})); // until the apply
    page.NumTShlChange(5);
    QVERIFY(Loop(page, 'S', 2)->isEnabled() && !Loop(page, 'S', 5)->isEnabled());
    page.ApplyClick();
    QCOMPARE(Delays(settings), (QList<int>{0, 3, 0, 1, 0, 0}));
    for (int none : {0, -1, 9}) {
        page.NumTShlChange(5);
        page.NumTShlChange(none);
        QVERIFY(!Shown(page, "lInfo") && Loop(page, 'S', 5)->isEnabled());
    }
}

void TstLoopFunctions::releaseGates_data() {
    QTest::addColumn<QString>("version");
    QTest::addColumn<int>("objectType");
    QTest::addColumn<bool>("reenabled");
    QTest::addColumn<bool>("usable");
    QTest::addColumn<bool>("errorBox");
    QTest::newRow("21.09.2009") << "21.09.2009" << int(OBJ_SIMPLE) << true << true << false;
    QTest::newRow("22.09.2009") << "22.09.2009" << int(OBJ_SIMPLE) << false << true << false;
    QTest::newRow("no version, complex") << "" << int(OBJ_COMPLEX) << true << false << false;
    QTest::newRow("19.04.2012 complex")
        << "19.04.2012" << int(OBJ_COMPLEX) << false << true << true;
}

// The loop buttons come back with the oldest firmware; before 19.04.2012 a
// complex object cannot use the delays page and the error flag's box is
// hidden. The pages still load and store what they hold.
void TstLoopFunctions::releaseGates() {
    QFETCH(QString, version);
    QFETCH(int, objectType);
    QFETCH(bool, reenabled);
    QFETCH(bool, usable);
    QFETCH(bool, errorBox);
    DelayFuncFrame page;
    FuncShl functions;
    page.NumTShlChange(3);
    SetFirmwareVersion(*settings.header, version);
    settings.header->objectType = objectType;
    page.VersionChange();
    functions.VersionChange();
    QCOMPARE(Shown(functions, "gbAddPars"), errorBox);
    auto* group = Child<QGroupBox>(&page, "GbM1");
    QCOMPARE(Loop(page, 'P', 3)->isEnabledTo(group), reenabled);
    QCOMPARE(Loop(page, 'S', 3)->isEnabledTo(group), reenabled);
    QCOMPARE(Shown(page, "lDelayNoEn"), !usable);
    QCOMPARE(group->isEnabled(), usable);
    QCOMPARE(Child<QLabel>(&page, "lInfo")->isEnabled(), usable);
    SetDelays(settings, {0, 1, 0, 1, 0, 0});
    settings.loopFunctions->errorOpenClose = 1;
    page.CancelClick();
    functions.CancelClick();
    settings.extra->armDelayLoop = 0;
    settings.loopFunctions->errorOpenClose = 0;
    page.ApplyClick();
    functions.ApplyClick();
    QCOMPARE(settings.extra->armDelayLoop, 1);
    QCOMPARE(int(settings.loopFunctions->errorOpenClose), 1);
}

// A device image whose delay is off with time bits 5, and whose loop 1 has
// analysis bits 3: the pages show no item and store the values as they came,
// never -1 (a 0xFF delay byte is three minutes on loop 8).
void TstLoopFunctions::deviceImageValuesTheListsLack() {
    SetFirmwareVersion(*settings.header, QStringLiteral("19.04.2012/45"));
    QByteArray image = ImageEEPROM::BuildImage(settings);
    image[image::Cr99ImageOffset(cr99::kArmDelay)] = char((7 << cr99::kDelayLoopShift) | 5);
    image[image::Cr99ImageOffset(cr99::kLoopFunctions)] = char(3 << cr99::kOpenAnalysisShift);
    QVERIFY(ParseImage(image, &settings, QString()));
    QCOMPARE(Delays(settings).mid(0, 3), (QList<int>{1, 7, 5}));

    DelayFuncFrame delays;
    FuncShl functions;
    delays.TPribSlot(DEV_D4M);
    delays.CancelClick();
    functions.CancelClick();
    QCOMPARE(Combo(functions, "CombobSOS1")->currentIndex(), -1);
    delays.ApplyClick();
    functions.ApplyClick();
    const QByteArray cr99 = BuildPackCR99(settings);
    QCOMPARE(quint8(cr99.at(cr99::kArmDelay)), quint8(5)); // off, loop cleared, time kept
    QCOMPARE(quint8(cr99.at(cr99::kLoopFunctions)) >> cr99::kOpenAnalysisShift, 3);
}

QTEST_MAIN(TstLoopFunctions)
#include "tst_loopfunctions.moc"
