// End to end against the simulated device: bands, loop functions and delays
// edited on the loop pages of the real parameters window reach the device in
// one programming run.

#include "LoopsTestSupport.h"
#include "app/DeviceFixture.h"

#include "editor/DelayFuncFrame.h"
#include "editor/DopParams.h"
#include "editor/FuncShl.h"
#include "editor/LimNaprSh.h"
#include "editor/NaprLines.h"
#include "editor/NastrShl.h"
#include "editor/PribParWindow.h"
#include "link/Protocol.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

namespace {
const QDate k19_04_2012(2012, 4, 19);
constexpr uchar kEightLoopModel = 3;

// The sections the builders make of `s`, by name.
QList<QByteArray> Sections(const DeviceSettings& s, const QList<QByteArray>& names) {
    DeviceSettings* const live = g_deviceSettings;
    g_deviceSettings = const_cast<DeviceSettings*>(&s);
    QList<QByteArray> out;
    for (const QByteArray& name : names)
        out << proto::BuildSection(name);
    g_deviceSettings = live;
    return out;
}
} // namespace

class TstLoopsDevice : public QObject {
    Q_OBJECT

private slots:
    void editsReachTheDevice();
};

void TstLoopsDevice::editsReachTheDevice() {
    DeviceFixture fx;
    QVERIFY(fx.open());
    QVERIFY(fx.connect(kEightLoopModel, k19_04_2012, 45));
    QCOMPARE(g_deviceSettings->header->deviceType, int(DEV_D8M));
    PribParWindow* window = fx.main->pribParWindow();
    window->applySettings(); // what the pages make of the settings as they stand
    const DeviceSettings before(*g_deviceSettings);

    // Loop 8's band, reversed, in its dialog; loop 2 a radio sensor.
    LimNaprSh* limits = window->limNaprSh();
    NastrShl* dialog = limits->dialog(7);
    Child<QSlider>(dialog, "slNMax")->setValue(700);
    Child<QSlider>(dialog, "slNMin")->setValue(300);
    Child<QCheckBox>(dialog, "cbObrShl")->setChecked(true);
    Child<QPushButton>(dialog, "pbApply")->click();
    Child<QCheckBox>(limits, "cbRadio_2")->setChecked(true);
    // Loop 8 with restore when armed, loop 3's siren when disarmed.
    auto* functions = window->findChild<FuncShl*>();
    Child<QComboBox>(functions, "CombobVOS8")->setCurrentIndex(2);
    Child<QCheckBox>(functions, "cbSOSir3")->setChecked(true);
    // One minute on loop 8 when arming, three on loop 2 when disarming.
    auto* delays = window->findChild<DelayFuncFrame*>();
    Child<QRadioButton>(delays, "RbPShl8")->setChecked(true);
    Child<QComboBox>(delays, "CbP")->setCurrentIndex(5);
    Child<QRadioButton>(delays, "RbSShl2")->setChecked(true);
    Child<QComboBox>(delays, "CbS")->setCurrentIndex(7);

    // The window's page-list rebuild shows each dialog's applied band again.
    auto* bar = Child<NaprLines>(limits, "rangeLine_8");
    bar->RepaintLine(0, 0, false);
    window->CreateMenuList(MODE_SYSTEM);
    QCOMPARE((QList<int>{bar->min, bar->max, int(bar->rev)}), (QList<int>{29, 68, 1}));

    DeviceSettings expected(before);
    expected.loopLimits->minLevel[7] = 300;
    expected.loopLimits->maxLevel[7] = 700;
    expected.loopLimits->reverse[7] = 1;
    expected.loopLimits->radio[1] = 1;
    expected.loopFunctions->closeAnalysis[7] = 2;
    expected.loopFunctions->openSiren[2] = 1;
    expected.extra->armDelayOn = 0;
    expected.extra->armDelayLoop = 7;
    expected.extra->armDelayTime = 5;
    expected.extra->disarmDelayOn = 0;
    expected.extra->disarmDelayLoop = 1;
    expected.extra->disarmDelayTime = 7;

    const int from = fx.rows();
    fx.action("actProgramming")->trigger();
    QVERIFY(fx.waitForCode(120, from));
    QVERIFY(fx.sim.ProgrammingDone());

    const QList<QByteArray> asked = fx.sim.SectionsAsked();
    const QList<QByteArray> answers = fx.sim.SectionAnswers();
    const QList<QByteArray> wanted = Sections(expected, asked);
    const QList<QByteArray> old = Sections(before, asked);
    QCOMPARE(answers.size(), asked.size());
    int changed = 0;
    for (int i = 0; i < asked.size(); ++i) {
        QCOMPARE(answers.at(i).toHex(' '), wanted.at(i).toHex(' '));
        changed += answers.at(i) != old.at(i);
    }
    // The loop functions, delays and radio flags ride in one section, the
    // bands in another.
    QVERIFY(changed >= 2);

    // The service page's technological loop reaches the delays page.
    auto* tech = Child<QComboBox>(window->dopParams(), "CbNTShl");
    tech->setCurrentIndex(8);
    QVERIFY(Child<QRadioButton>(delays, "RbnuP")->isChecked());
    QVERIFY(!Child<QRadioButton>(delays, "RbPShl8")->isEnabled());
}

QTEST_MAIN(TstLoopsDevice)
#include "tst_loopsdevice.moc"
