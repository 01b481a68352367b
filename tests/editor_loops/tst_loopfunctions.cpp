// The loop functions page and the delays page: load and store, rows by
// model, firmware and object-type gates, the technological loop, parked
// delay choices, and values from a device image that the lists lack.

#include "editor/DelayFuncFrame.h"
#include "editor/FuncShl.h"
#include "settings/DeviceSettings.h"
#include "settings/Firmware.h"
#include "settings/ImageDecoder.h"
#include "settings/ImageEEPROM.h"
#include "settings/ImageLayout.h"
#include "settings/LayoutCR99.h"
#include "settings/Sections.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QTest>

namespace {
template <class T> T* Child(const QObject& parent, const QString& name) {
    auto* w = parent.findChild<T*>(name);
    if (!w)
        qFatal("no child %s", qPrintable(name));
    return w;
}
QComboBox* Combo(const QWidget& page, const QString& name) {
    return Child<QComboBox>(page, name);
}
QRadioButton* Radio(const QWidget& page, const QString& name) {
    return Child<QRadioButton>(page, name);
}
QRadioButton* LoopButton(const QWidget& page, char dir, int n) {
    return Radio(page, QStringLiteral("Rb%1Shl%2").arg(QLatin1Char(dir)).arg(n));
}
bool Shown(const QWidget& page, const QString& name) {
    return Child<QWidget>(page, name)->isVisibleTo(&page);
}
// The loops whose row widget `stem`n is visible, as "1234..".
QString ShownLoops(const QWidget& page, const char* stem) {
    QString out;
    for (int n = 1; n <= kLoops; ++n) {
        if (Shown(page, QString::fromLatin1(stem) + QString::number(n)))
            out += QString::number(n);
    }
    return out;
}
// Arming or disarming delay fields as {on, loop, time}.
QList<int> Arm(const DeviceSettings& s) {
    return {s.extra->armDelayOn, s.extra->armDelayLoop, s.extra->armDelayTime};
}
QList<int> Disarm(const DeviceSettings& s) {
    return {s.extra->disarmDelayOn, s.extra->disarmDelayLoop, s.extra->disarmDelayTime};
}
// The 1-based loop button checked in one direction, 0 for "none".
int CheckedLoop(const QWidget& page, char dir) {
    for (int n = 1; n <= kLoops; ++n) {
        if (LoopButton(page, dir, n)->isChecked())
            return n;
    }
    return 0;
}
} // namespace

class TstLoopFunctions : public QObject {
    Q_OBJECT

private slots:
    void init();
    void functionsDefaults();
    void functionsRoundTrip();
    void functionsRowsByModel_data();
    void functionsRowsByModel();
    void functionsGate_data();
    void functionsGate();
    void functionsIndexOutsideList();
    void delaysDefaults();
    void delayChoice();
    void parking_data();
    void parking();
    void offDelayIsNeverParked();
    void technologicalLoop();
    void releaseGates_data();
    void releaseGates();
    void deviceImageDelayOffWithTime();

private:
    DeviceSettings settings;
};

void TstLoopFunctions::init() {
    settings = DeviceSettings();
    SetDefaultSettings(&settings, false);
    g_deviceSettings = &settings;
}

void TstLoopFunctions::functionsDefaults() {
    FuncShl page;
    page.CancelClick();
    for (int n = 1; n <= kLoops; ++n) {
        for (const char* stem : {"CombobSOS%1", "CombobVOS%1"}) {
            QComboBox* c = Combo(page, QString::fromLatin1(stem).arg(n));
            QCOMPARE(c->currentText(), QStringLiteral("Не анализируется"));
            QCOMPARE(c->count(), 3);
        }
    }
    QCOMPARE(page.findChildren<QCheckBox*>().size(), 4 * kLoops + 1);
    for (QCheckBox* box : page.findChildren<QCheckBox*>())
        QVERIFY2(!box->isChecked(), qPrintable(box->objectName()));
}

// Each widget reaches its own field and comes back from it, every loop.
void TstLoopFunctions::functionsRoundTrip() {
    FuncShl page;
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
    QVERIFY(Child<QCheckBox>(page, "cbVOSir8")->isChecked());
    QVERIFY(!Child<QCheckBox>(page, "cbVOSv8")->isChecked());
    f = LoopFunctions();
    page.ApplyClick();
    QCOMPARE(f.openAnalysis, stored.openAnalysis);
    QCOMPARE(f.closeAnalysis, stored.closeAnalysis);
    QCOMPARE(f.openLight, stored.openLight);
    QCOMPARE(f.openSiren, stored.openSiren);
    QCOMPARE(f.closeLight, stored.closeLight);
    QCOMPARE(f.closeSiren, stored.closeSiren);
    QCOMPARE(int(f.errorOpenClose), 1);
}

void TstLoopFunctions::functionsRowsByModel_data() {
    QTest::addColumn<QList<int>>("types");
    QTest::addColumn<QString>("loops");
    QTest::newRow("4 loops") << QList<int>{DEV_D4M} << "1234";
    QTest::newRow("8 loops") << QList<int>{DEV_D8M} << "12345678";
    QTest::newRow("second family") << QList<int>{DEV_VororaZ} << "123456";
    QTest::newRow("last family") << QList<int>{DEV_VoduzeR} << "123456";
    QTest::newRow("8, 4, 8") << QList<int>{DEV_D8M, DEV_D4M, DEV_D8M} << "12345678";
}

// Rows follow the model; hidden rows keep their values and are stored.
void TstLoopFunctions::functionsRowsByModel() {
    QFETCH(QList<int>, types);
    QFETCH(QString, loops);
    FuncShl page;
    settings.loopFunctions->closeAnalysis[7] = 2;
    settings.loopFunctions->openSiren[6] = 1;
    page.CancelClick();
    for (int type : types)
        page.TPribSlot(type);
    for (const char* stem :
         {"CombobSOS", "CombobVOS", "cbSOSv", "cbVOSv", "cbSOSir", "cbVOSir", "l"})
        QCOMPARE(ShownLoops(page, stem), loops);
    settings.loopFunctions->closeAnalysis[7] = 0;
    settings.loopFunctions->openSiren[6] = 0;
    page.ApplyClick();
    QCOMPARE(settings.loopFunctions->closeAnalysis[7], 2);
    QCOMPARE(int(settings.loopFunctions->openSiren[6]), 1);
}

void TstLoopFunctions::functionsGate_data() {
    QTest::addColumn<QString>("version");
    QTest::addColumn<bool>("shown");
    QTest::newRow("release day") << "19.04.2012/1" << true;
    QTest::newRow("day before") << "18.04.2012/1" << false;
    QTest::newRow("no version") << "" << false;
}

void TstLoopFunctions::functionsGate() {
    QFETCH(QString, version);
    QFETCH(bool, shown);
    FuncShl page;
    QVERIFY(Shown(page, "gbAddPars")); // until the first gate
    SetFirmwareVersion(*settings.header, version);
    page.VersionChange();
    QCOMPARE(Shown(page, "gbAddPars"), shown);
    settings.loopFunctions->errorOpenClose = 1;
    page.CancelClick();
    settings.loopFunctions->errorOpenClose = 0;
    page.ApplyClick(); // stored whether shown or not
    QCOMPARE(int(settings.loopFunctions->errorOpenClose), 1);
}

// A mode the list lacks (a device image's two bits hold 3) shows no item
// and is stored back unchanged, never as -1.
void TstLoopFunctions::functionsIndexOutsideList() {
    FuncShl page;
    settings.loopFunctions->openAnalysis[0] = 3;
    settings.loopFunctions->closeAnalysis[1] = -1;
    page.CancelClick();
    QCOMPARE(Combo(page, "CombobSOS1")->currentIndex(), -1);
    page.ApplyClick();
    QCOMPARE(settings.loopFunctions->openAnalysis[0], 3);
    QCOMPARE(settings.loopFunctions->closeAnalysis[1], -1);
    QCOMPARE(settings.loopFunctions->closeAnalysis[0], 0);
}

void TstLoopFunctions::delaysDefaults() {
    DelayFuncFrame page;
    page.CancelClick();
    for (const char* combo : {"CbP", "CbS"}) {
        QCOMPARE(Combo(page, combo)->count(), 1);
        QCOMPARE(Combo(page, combo)->currentText(), QStringLiteral("Без задержки"));
        QVERIFY(!Combo(page, combo)->isEnabled());
    }
    QVERIFY(Radio(page, "RbnuP")->isChecked());
    QVERIFY(Radio(page, "RbnuS")->isChecked());
    settings.extra->armDelayLoop = 4;
    page.ApplyClick();
    QCOMPARE(Arm(settings), (QList<int>{1, 0, 0}));
    QCOMPARE(Disarm(settings), (QList<int>{1, 0, 0}));
}

void TstLoopFunctions::delayChoice() {
    DelayFuncFrame page;
    page.CancelClick();
    LoopButton(page, 'P', 3)->setChecked(true);
    QVERIFY(Combo(page, "CbP")->isEnabled());
    QCOMPARE(Combo(page, "CbP")->count(), 8);
    QCOMPARE(Combo(page, "CbP")->currentText(), QStringLiteral("10 секунд"));
    LoopButton(page, 'S', 6)->setChecked(true);
    Combo(page, "CbS")->setCurrentIndex(7);
    QCOMPARE(Combo(page, "CbS")->currentText(), QStringLiteral("3 минуты"));
    page.ApplyClick();
    QCOMPARE(Arm(settings), (QList<int>{0, 2, 0}));
    QCOMPARE(Disarm(settings), (QList<int>{0, 5, 7}));
    // And back: the off button refills the combo with its one item.
    Radio(page, "RbnuS")->setChecked(true);
    page.CancelClick();
    QCOMPARE(CheckedLoop(page, 'S'), 6);
    QCOMPARE(Combo(page, "CbS")->currentIndex(), 7);
}

// A delay on a loop the model lacks is parked (the settings say "none") and
// comes back at the first model that has the loop, unless an apply or a
// load of settings came in between.
void TstLoopFunctions::parking_data() {
    QTest::addColumn<int>("loop");
    QTest::addColumn<QList<int>>("types");
    QTest::addColumn<QString>("between"); // before the last type: "", "apply", "load"
    QTest::addColumn<bool>("back");
    QTest::newRow("8 to 4 to 8") << 7 << QList<int>{DEV_D4M, DEV_D8M} << "" << true;
    QTest::newRow("through a 6-loop model")
        << 7 << QList<int>{DEV_D4M, DEV_VororaZ, DEV_D8M} << "" << true;
    QTest::newRow("loop 5 back on 6 loops") << 4 << QList<int>{DEV_D4M, DEV_VoduzeR} << "" << true;
    QTest::newRow("applied meanwhile") << 7 << QList<int>{DEV_D4M, DEV_D8M} << "apply" << false;
    QTest::newRow("loaded meanwhile") << 7 << QList<int>{DEV_D4M, DEV_D8M} << "load" << false;
    QTest::newRow("still lacking") << 7 << QList<int>{DEV_D4M, DEV_VororaZ} << "" << false;
}

void TstLoopFunctions::parking() {
    QFETCH(int, loop);
    QFETCH(QList<int>, types);
    QFETCH(QString, between);
    QFETCH(bool, back);
    settings.header->deviceType = DEV_D8M;
    settings.extra->armDelayOn = 0;
    settings.extra->armDelayLoop = loop;
    settings.extra->armDelayTime = 6;
    settings.extra->disarmDelayOn = 0;
    settings.extra->disarmDelayLoop = 1; // on every model: never parked
    settings.extra->disarmDelayTime = 3;
    DelayFuncFrame page;
    page.TPribSlot(DEV_D8M);
    page.CancelClick();

    page.TPribSlot(types.first());
    QCOMPARE(Arm(settings), (QList<int>{1, 0, 0}));
    QVERIFY(Radio(page, "RbnuP")->isChecked());
    QVERIFY(page.armChoiceParked());
    QVERIFY(!page.disarmChoiceParked());
    for (int i = 1; i < types.size() - 1; ++i)
        page.TPribSlot(types.at(i));
    if (between == "apply")
        page.ApplyClick();
    if (between == "load")
        page.ForgetRemembered();
    page.TPribSlot(types.last());

    QCOMPARE(Arm(settings), back ? (QList<int>{0, loop, 6}) : (QList<int>{1, 0, 0}));
    QCOMPARE(CheckedLoop(page, 'P'), back ? loop + 1 : 0);
    QCOMPARE(Combo(page, "CbP")->currentIndex(), back ? 6 : 0);
    QCOMPARE(page.armChoiceParked(), !back && between.isEmpty());
    QCOMPARE(Disarm(settings), (QList<int>{0, 1, 3}));
    QCOMPARE(CheckedLoop(page, 'S'), 2);
}

// A delay that is off is not a choice: a loop number a device image left in
// it is not parked and never switches the delay on.
void TstLoopFunctions::offDelayIsNeverParked() {
    settings.extra->armDelayOn = 1;
    settings.extra->armDelayLoop = 7;
    settings.extra->armDelayTime = 2;
    DelayFuncFrame page;
    page.CancelClick();
    page.TPribSlot(DEV_D4M);
    QVERIFY(!page.armChoiceParked());
    page.TPribSlot(DEV_D8M);
    QCOMPARE(Arm(settings), (QList<int>{1, 7, 2}));
    QVERIFY(Radio(page, "RbnuP")->isChecked());

    // A technological loop lowers the zones' loop count, not the model's:
    // a delay on loop 6 of a 6-loop model stays.
    settings.extra->armDelayOn = 0;
    settings.extra->armDelayLoop = 5;
    settings.zones->loopCount = 5;
    page.CancelClick();
    page.TPribSlot(DEV_VororaZ);
    QVERIFY(!page.armChoiceParked());
    QCOMPARE(Arm(settings), (QList<int>{0, 5, 2}));
}

void TstLoopFunctions::technologicalLoop() {
    settings.extra->disarmDelayOn = 0;
    settings.extra->disarmDelayLoop = 1;
    settings.extra->armDelayOn = 0;
    settings.extra->armDelayLoop = 3;
    DelayFuncFrame page;
    page.CancelClick();
    page.NumTShlChange(2);
    QVERIFY(Radio(page, "RbnuS")->isChecked());
    QCOMPARE(CheckedLoop(page, 'P'), 4);
    QVERIFY(!LoopButton(page, 'S', 2)->isEnabled());
    QVERIFY(!LoopButton(page, 'P', 2)->isEnabled());
    QVERIFY(LoopButton(page, 'P', 3)->isEnabled());
    QVERIFY(Shown(page, "lInfo"));
    QCOMPARE(Child<QLabel>(page, "lInfo")->text(),
             QStringLiteral("Шлейф №2 заблокирован, так как является технологическим."));
    QCOMPARE(Disarm(settings), (QList<int>{0, 1, 0})); // until the apply
    page.NumTShlChange(5);                             // straight to another loop
    QVERIFY(LoopButton(page, 'S', 2)->isEnabled());
    QVERIFY(!LoopButton(page, 'S', 5)->isEnabled());
    page.ApplyClick();
    QCOMPARE(Disarm(settings), (QList<int>{1, 0, 0}));
    QCOMPARE(Arm(settings), (QList<int>{0, 3, 0}));
    for (int none : {0, -1, 9}) {
        page.NumTShlChange(5);
        page.NumTShlChange(none);
        QVERIFY(!Shown(page, "lInfo"));
        QVERIFY(LoopButton(page, 'S', 5)->isEnabled());
    }
}

// The loop buttons come back with the oldest firmware; before 19.04.2012 a
// complex object cannot use the page.
void TstLoopFunctions::releaseGates_data() {
    QTest::addColumn<QString>("version");
    QTest::addColumn<int>("objectType");
    QTest::addColumn<bool>("reenabled");
    QTest::addColumn<bool>("usable");
    QTest::newRow("21.09.2009") << "21.09.2009" << int(OBJ_SIMPLE) << true << true;
    QTest::newRow("22.09.2009") << "22.09.2009" << int(OBJ_SIMPLE) << false << true;
    QTest::newRow("no version, complex") << "" << int(OBJ_COMPLEX) << true << false;
    QTest::newRow("18.04.2012 complex") << "18.04.2012" << int(OBJ_COMPLEX) << false << false;
    QTest::newRow("19.04.2012 complex") << "19.04.2012" << int(OBJ_COMPLEX) << false << true;
}

void TstLoopFunctions::releaseGates() {
    QFETCH(QString, version);
    QFETCH(int, objectType);
    QFETCH(bool, reenabled);
    QFETCH(bool, usable);
    DelayFuncFrame page;
    page.NumTShlChange(3);
    SetFirmwareVersion(*settings.header, version);
    settings.header->objectType = objectType;
    page.VersionChange();
    auto* group = Child<QGroupBox>(page, "GbM1"); // the object-type gate's own switch
    QCOMPARE(LoopButton(page, 'P', 3)->isEnabledTo(group), reenabled);
    QCOMPARE(LoopButton(page, 'S', 3)->isEnabledTo(group), reenabled);
    QCOMPARE(Shown(page, "lDelayNoEn"), !usable);
    QCOMPARE(group->isEnabled(), usable);
    QCOMPARE(Child<QLabel>(page, "lInfo")->isEnabled(), usable);
    // The choices still load and store.
    settings.extra->armDelayOn = 0;
    settings.extra->armDelayLoop = 1;
    page.CancelClick();
    settings.extra->armDelayLoop = 0;
    page.ApplyClick();
    QCOMPARE(settings.extra->armDelayLoop, 1);
}

// A device image with the arming delay off and its time bits at 5: the page
// shows no delay and stores the time as it came, never -1 (a 0xFF byte is
// a three-minute delay on loop 8).
void TstLoopFunctions::deviceImageDelayOffWithTime() {
    SetFirmwareVersion(*settings.header, QStringLiteral("19.04.2012/45"));
    const int offByte = (7 << cr99::kDelayLoopShift) | 5; // no delay bit, loop 8, time 5
    QByteArray image = ImageEEPROM::BuildImage(settings);
    image[image::Cr99ImageOffset(cr99::kArmDelay)] = char(offByte);
    image[image::Cr99ImageOffset(cr99::kLoopFunctions)] = char(3 << cr99::kOpenAnalysisShift);
    QVERIFY(ParseImage(image, &settings, QString()));
    QCOMPARE(Arm(settings), (QList<int>{1, 7, 5}));

    DelayFuncFrame delays;
    FuncShl functions;
    delays.TPribSlot(DEV_D4M);
    delays.CancelClick();
    functions.CancelClick();
    delays.ApplyClick();
    functions.ApplyClick();
    const QByteArray cr99 = BuildPackCR99(settings);
    QCOMPARE(quint8(cr99.at(cr99::kArmDelay)), quint8(5)); // off, loop cleared, time kept
    QCOMPARE(quint8(cr99.at(cr99::kLoopFunctions)) >> cr99::kOpenAnalysisShift, 3);
}

QTEST_MAIN(TstLoopFunctions)
#include "tst_loopfunctions.moc"
