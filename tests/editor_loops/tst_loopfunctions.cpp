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
QList<int> Arm(const DeviceSettings& s) {
    return {s.extra->armDelayOn, s.extra->armDelayLoop, s.extra->armDelayTime};
}
QList<int> Disarm(const DeviceSettings& s) {
    return {s.extra->disarmDelayOn, s.extra->disarmDelayLoop, s.extra->disarmDelayTime};
}
// The 1-based loop chosen in one direction, 0 for none.
int Chosen(const QWidget& page, char dir) {
    for (int n = 1; n <= kLoops; ++n) {
        if (Loop(page, dir, n)->isChecked())
            return n;
    }
    return 0;
}
void SetDelay(DeviceSettings& s, bool arm, int on, int loop, int time) {
    ExtraOptions& e = *s.extra;
    (arm ? e.armDelayOn : e.disarmDelayOn) = u8(on);
    (arm ? e.armDelayLoop : e.disarmDelayLoop) = loop;
    (arm ? e.armDelayTime : e.disarmDelayTime) = time;
}
} // namespace

class TstLoopFunctions : public QObject {
    Q_OBJECT

private slots:
    void init() { UseDefaults(settings); }
    void functionsRoundTrip();
    void functionsRowsByModel_data();
    void functionsRowsByModel();
    void delayChoices();
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

// Each widget reaches its own field and comes back from it, every loop.
void TstLoopFunctions::functionsRoundTrip() {
    FuncShl page;
    page.CancelClick();
    QCOMPARE(Combo(page, "CombobVOS8")->currentText(), QStringLiteral("Не анализируется"));
    LoopFunctions& f = *settings.loopFunctions;
    for (int i = 0; i < kLoops; ++i) {
        const auto k = size_t(i);
        f.openAnalysis[k] = i % 3;
        f.closeAnalysis[k] = (i + 1) % 3;
        f.openLight[k] = i == 1;
        f.openSiren[k] = i == 2;
        f.closeLight[k] = i == 3;
        f.closeSiren[k] = i == 7;
    }
    f.errorOpenClose = 1;
    const LoopFunctions stored = f;
    page.CancelClick();
    QCOMPARE(Combo(page, "CombobVOS5")->currentText(), QStringLiteral("С восстановлением"));
    f = LoopFunctions();
    page.ApplyClick();
    QCOMPARE(f.openAnalysis, stored.openAnalysis);
    QCOMPARE(f.closeAnalysis, stored.closeAnalysis);
    QCOMPARE((QList<Arr<u8, kLoops>>{f.openLight, f.openSiren, f.closeLight, f.closeSiren}),
             (QList<Arr<u8, kLoops>>{stored.openLight, stored.openSiren, stored.closeLight,
                                     stored.closeSiren}));
    QCOMPARE(int(f.errorOpenClose), 1);
}

// Rows follow the model; hidden rows keep their values and are stored.
void TstLoopFunctions::functionsRowsByModel_data() {
    QTest::addColumn<QList<int>>("types");
    QTest::addColumn<QString>("loops");
    QTest::newRow("4 loops") << QList<int>{DEV_D4M} << "1234";
    QTest::newRow("second family") << QList<int>{DEV_VororaZ} << "123456";
    QTest::newRow("last family") << QList<int>{DEV_VoduzeR} << "123456";
    QTest::newRow("8, 4, 8") << QList<int>{DEV_D8M, DEV_D4M, DEV_D8M} << "12345678";
}

void TstLoopFunctions::functionsRowsByModel() {
    QFETCH(QList<int>, types);
    QFETCH(QString, loops);
    FuncShl functions;
    DelayFuncFrame delays;
    settings.loopFunctions->closeAnalysis[7] = 2;
    settings.loopFunctions->openSiren[6] = 1;
    functions.CancelClick();
    for (int type : types) {
        functions.TPribSlot(type);
        delays.TPribSlot(type);
    }
    for (const char* stem :
         {"CombobSOS", "CombobVOS", "cbSOSv", "cbVOSv", "cbSOSir", "cbVOSir", "l"})
        QCOMPARE(ShownLoops(functions, stem), loops);
    for (const char* stem : {"RbPShl", "RbSShl", "lp", "ls"})
        QCOMPARE(ShownLoops(delays, stem), loops);
    settings.loopFunctions->closeAnalysis[7] = 0;
    settings.loopFunctions->openSiren[6] = 0;
    functions.ApplyClick();
    QCOMPARE(settings.loopFunctions->closeAnalysis[7], 2);
    QCOMPARE(int(settings.loopFunctions->openSiren[6]), 1);
}

void TstLoopFunctions::delayChoices() {
    DelayFuncFrame page;
    page.CancelClick();
    for (const char* combo : {"CbP", "CbS"}) {
        QCOMPARE(Combo(page, combo)->currentText(), QStringLiteral("Без задержки"));
        QVERIFY(!Combo(page, combo)->isEnabled());
    }
    settings.extra->armDelayLoop = 4;
    page.ApplyClick();
    QCOMPARE(Arm(settings) + Disarm(settings), (QList<int>{1, 0, 0, 1, 0, 0}));

    Loop(page, 'P', 3)->setChecked(true);
    QVERIFY(Combo(page, "CbP")->isEnabled());
    QCOMPARE(Combo(page, "CbP")->currentText(), QStringLiteral("10 секунд"));
    Loop(page, 'S', 6)->setChecked(true);
    Combo(page, "CbS")->setCurrentIndex(7);
    QCOMPARE(Combo(page, "CbS")->currentText(), QStringLiteral("3 минуты"));
    page.ApplyClick();
    QCOMPARE(Arm(settings) + Disarm(settings), (QList<int>{0, 2, 0, 0, 5, 7}));
    Child<QRadioButton>(&page, "RbnuS")->setChecked(true);
    page.CancelClick();
    QCOMPARE(Chosen(page, 'S'), 6);
    QCOMPARE(Combo(page, "CbS")->currentIndex(), 7);
}

// A delay on a loop the model lacks is parked (the settings say "none") and
// comes back at the first model that has the loop, unless an apply or a
// load of settings came in between.
void TstLoopFunctions::parking_data() {
    QTest::addColumn<int>("loop");
    QTest::addColumn<QList<int>>("types");
    QTest::addColumn<QString>("between");
    QTest::addColumn<bool>("back");
    QTest::newRow("8, 4, 8") << 7 << QList<int>{DEV_D4M, DEV_D8M} << "" << true;
    QTest::newRow("via 6 loops") << 7 << QList<int>{DEV_D4M, DEV_VororaZ, DEV_D8M} << "" << true;
    QTest::newRow("loop 5 on 6 loops") << 4 << QList<int>{DEV_D4M, DEV_VoduzeR} << "" << true;
    QTest::newRow("applied meanwhile") << 7 << QList<int>{DEV_D4M, DEV_D8M} << "apply" << false;
    QTest::newRow("loaded meanwhile") << 7 << QList<int>{DEV_D4M, DEV_D8M} << "load" << false;
    QTest::newRow("still lacking") << 7 << QList<int>{DEV_D4M, DEV_VororaZ} << "" << false;
}

void TstLoopFunctions::parking() {
    QFETCH(int, loop);
    QFETCH(QList<int>, types);
    QFETCH(QString, between);
    QFETCH(bool, back);
    SetDelay(settings, true, 0, loop, 6);
    SetDelay(settings, false, 0, 1, 3); // on every model
    DelayFuncFrame page;
    page.TPribSlot(DEV_D8M);
    page.CancelClick();
    for (int type : types.mid(0, types.size() - 1))
        page.TPribSlot(type);
    QCOMPARE(Arm(settings), (QList<int>{1, 0, 0}));
    QVERIFY(page.armChoiceParked() && !page.disarmChoiceParked());
    if (between == "apply")
        page.ApplyClick();
    else if (between == "load")
        page.ForgetRemembered();
    page.TPribSlot(types.last());

    QCOMPARE(Arm(settings), back ? (QList<int>{0, loop, 6}) : (QList<int>{1, 0, 0}));
    QCOMPARE(Chosen(page, 'P'), back ? loop + 1 : 0);
    QCOMPARE(Combo(page, "CbP")->currentIndex(), back ? 6 : 0);
    QCOMPARE(page.armChoiceParked(), !back && between.isEmpty());
    QCOMPARE(Disarm(settings), (QList<int>{0, 1, 3}));
}

// A delay that is off is no choice: a loop a device image left in it is not
// parked and never switches the delay on. A technological loop lowers the
// zones' loop count, not the model's: the loop beside it keeps its delay.
void TstLoopFunctions::notParked() {
    SetDelay(settings, true, 1, 7, 2);
    DelayFuncFrame page;
    page.CancelClick();
    page.TPribSlot(DEV_D4M);
    page.TPribSlot(DEV_D8M);
    QCOMPARE(Arm(settings), (QList<int>{1, 7, 2}));
    QVERIFY(Child<QRadioButton>(&page, "RbnuP")->isChecked());

    SetDelay(settings, true, 0, 5, 2);
    settings.zones->loopCount = 5;
    page.CancelClick();
    page.TPribSlot(DEV_VororaZ);
    QVERIFY(!page.armChoiceParked());
    QCOMPARE(Arm(settings), (QList<int>{0, 5, 2}));
}

void TstLoopFunctions::technologicalLoop() {
    SetDelay(settings, false, 0, 1, 0);
    SetDelay(settings, true, 0, 3, 0);
    DelayFuncFrame page;
    page.CancelClick();
    page.NumTShlChange(2);
    QVERIFY(Child<QRadioButton>(&page, "RbnuS")->isChecked());
    QCOMPARE(Chosen(page, 'P'), 4);
    QVERIFY(!Loop(page, 'S', 2)->isEnabled() && !Loop(page, 'P', 2)->isEnabled());
    QCOMPARE(Child<QLabel>(&page, "lInfo")->text(),
             QStringLiteral("Шлейф №2 заблокирован, так как является технологическим."));
    QVERIFY(Shown(page, "lInfo"));
    QCOMPARE(Disarm(settings), (QList<int>{0, 1, 0})); // until the apply
    page.NumTShlChange(5);                             // straight to another loop
    QVERIFY(Loop(page, 'S', 2)->isEnabled() && !Loop(page, 'S', 5)->isEnabled());
    page.ApplyClick();
    QCOMPARE(Arm(settings) + Disarm(settings), (QList<int>{0, 3, 0, 1, 0, 0}));
    for (int none : {0, -1, 9}) {
        page.NumTShlChange(5);
        page.NumTShlChange(none);
        QVERIFY(!Shown(page, "lInfo") && Loop(page, 'S', 5)->isEnabled());
    }
}

// The loop buttons come back with the oldest firmware; before 19.04.2012 a
// complex object cannot use the delays page and the error flag's box is
// hidden. The pages still load and store what they hold.
void TstLoopFunctions::releaseGates_data() {
    QTest::addColumn<QString>("version");
    QTest::addColumn<int>("objectType");
    QTest::addColumn<bool>("reenabled");
    QTest::addColumn<bool>("usable");
    QTest::addColumn<bool>("errorBox");
    QTest::newRow("21.09.2009") << "21.09.2009" << int(OBJ_SIMPLE) << true << true << false;
    QTest::newRow("22.09.2009") << "22.09.2009" << int(OBJ_SIMPLE) << false << true << false;
    QTest::newRow("no version, complex") << "" << int(OBJ_COMPLEX) << true << false << false;
    QTest::newRow("18.04.2012 complex")
        << "18.04.2012" << int(OBJ_COMPLEX) << false << false << false;
    QTest::newRow("19.04.2012 complex")
        << "19.04.2012" << int(OBJ_COMPLEX) << false << true << true;
}

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
    SetDelay(settings, true, 0, 1, 0);
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
    QCOMPARE(Arm(settings), (QList<int>{1, 7, 5}));

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
