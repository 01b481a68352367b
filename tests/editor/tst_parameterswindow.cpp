// The parameters window: which pages its list offers, how apply, cancel and
// every way of closing reach the pages, the number mirrors, what follows the
// main window, and one programming run of edits from many pages.

#include "../app/DeviceFixture.h"

#include "comms/AuConnectParams.h"
#include "comms/OtprSMS.h"
#include "editor/DelayFuncFrame.h"
#include "editor/DopParams.h"
#include "editor/FuncShl.h"
#include "editor/LimNaprSh.h"
#include "editor/NaprLines.h"
#include "editor/NastrShl.h"
#include "editor/PribParWindow.h"
#include "editor/Zones.h"
#include "keys/KeyShlConfig.h"
#include "keys/KeyShlTable.h"
#include "link/Protocol.h"
#include "settings/Firmware.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStackedWidget>

namespace {

// Page titles by a letter each, so that a page list reads as one word.
const QString kLetters = QStringLiteral("LFAVRUISDKZOCGTNMPE");
const QStringList kTitles =
    QStringLiteral("Параметры связи|Федеральные номера|SMS по пост./снятию|Служебные SMS|"
                   "Настройка диапазонов|Функции шлейфов|Извещения по шлейфам|"
                   "Сервисные параметры|Функция \"Задержка\"|Ключи и шлейфы|Зоны|"
                   "Функции выходов|Пультовые SMS|Параметры GPRS|Настройка SNTP|"
                   "Параметры навигации|Параметры камер|Дистанционная настройка|"
                   "События по времени")
        .split('|');
QStringList Titles(const QString& letters) {
    QStringList out;
    for (QChar c : letters)
        out << kTitles.value(kLetters.indexOf(c));
    return out;
}

template <class W = QPushButton> W* Child(const QObject* parent, const char* name) {
    return parent->findChild<W*>(QString::fromLatin1(name));
}

// An empty zone added on the zones page of a complex object: neither a key
// nor a loop is bound to it. Entering the page or reloading it rebuilds the
// zones from the key-to-loop table, so this comes after either.
void LeaveZoneUnbound(PribParWindow& window) {
    g_deviceSettings->header->objectType = OBJ_COMPLEX;
    emit window.SigTypeObjChange(); // as the main window's object-type choice does
    Child(window.zones(), "pbAddZone")->click();
    QVERIFY(!window.zones()->CheckZonesBound());
}

void ChooseVersion(DeviceFixture& fx, const char* version) {
    fx.widget<QComboBox>("cbVersion")
        ->setCurrentIndex(int(MainWindow::FirmwareVersions().indexOf(version)));
}

bool Shown(const QWidget* page, const char* name) {
    return Child<QWidget>(page, name)->isVisibleTo(page);
}

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

class TestParametersWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void pageLists_data();
    void pageLists();
    void throughTheMainWindow();
    void zoneQuestion();
    void closing_data();
    void closing();
    void numberMirrors();

private:
    DeviceSettings settings;
};

void TestParametersWindow::init() {
    settings = DeviceSettings();
    SetDefaultSettings(&settings, false);
    g_deviceSettings = &settings;
}

void TestParametersWindow::pageLists_data() {
    QTest::addColumn<QString>("titles"); // as letters of kLetters
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("version");

    QTest::newRow("system, no firmware") << "LFRUSDKZG" << 0 << 0 << "";
    QTest::newRow("system 18.12.2018/0") << "LFRUSDKZOGTN" << 0 << 3 << "18.12.2018/0";
    QTest::newRow("system 18.12.2018/1") << "LFRUSDKZOGTPE" << 0 << 1 << "18.12.2018/1";
    QTest::newRow("autonomous 25.03.2010") << "LAVRUSDKZO" << 1 << 0 << "25.03.2010";
    QTest::newRow("autonomous type 2, 16.04.2010") << "LAVRUISDKZOT" << 1 << 2 << "16.04.2010";
    QTest::newRow("autonomous type 3, 07.06.2010") << "LAVRUISDKZOGTN" << 1 << 3 << "07.06.2010";
    QTest::newRow("cameras build 34") << "LFRUSDKZOCGTM" << 0 << 2 << "03.12.2010/34";
    QTest::newRow("no cameras build 35") << "LFRUSDKZOCGT" << 0 << 2 << "03.12.2010/35";
    QTest::newRow("no cameras build 58") << "LFRUSDKZOCGT" << 0 << 2 << "03.12.2010/58";
    QTest::newRow("cameras build 59") << "LFRUSDKZOCGTM" << 0 << 2 << "03.12.2010/59";
}

void TestParametersWindow::pageLists() {
    QFETCH(int, mode);
    QFETCH(int, type);
    QFETCH(QString, version);
    QFETCH(QString, titles);

    PribParWindow window;
    settings.header->workMode = mode;
    settings.header->deviceType = type;
    SetFirmwareVersion(*settings.header, version);
    window.page(PribParWindow::kConGPRS)->CancelClick();
    window.CreateMenuList(DEV_WORK_MODE(mode));
    QCOMPARE(window.menuTitles(), Titles(titles));

    // Row 0 shows the link page of the work mode; every title leads to a page.
    auto* list = Child<QListWidget>(&window, "ListParams");
    auto* stack = Child<QStackedWidget>(&window, "stackedWidget");
    QCOMPARE(stack->currentWidget(), window.page(mode == 1 ? PribParWindow::kAuConnectParams
                                                           : PribParWindow::kConnectParams));
    for (int row = 0; row < list->count(); ++row) {
        list->setCurrentRow(row);
        QVERIFY(qobject_cast<ParamsPage*>(stack->currentWidget()));
    }
    // An autonomous model without the GPRS page always connects over GPRS.
    if (mode == 1 && !titles.contains('G'))
        QVERIFY(window.page(PribParWindow::kConGPRS)->findChild<QCheckBox*>()->isChecked());
}

// One run of the main window with the simulated device. A version, model or
// mode chosen in the main window rebuilds the list and re-gates the service
// page without asking the zone question; within one apply the sound action
// follows the page's voice-message box.
void TestParametersWindow::throughTheMainWindow() {
    DeviceFixture fx;
    QVERIFY(fx.open());
    fx.action("actSounds")->setVisible(true); // a hidden action is never enabled
    PribParWindow* window = fx.main->pribParWindow();
    const DopParams* page = window->dopParams();
    ChooseVersion(fx, "19.04.2012/45");
    QVERIFY(window->menuTitles().contains(Titles("P")[0]));
    QVERIFY(!window->menuTitles().contains(Titles("N")[0]));
    fx.widget<QRadioButton>("rbVoduzeR")->click();
    QVERIFY(window->menuTitles().contains(Titles("N")[0]));
    fx.widget<QRadioButton>("RbRegAuto")->click();
    QCOMPARE(window->menuTitles().mid(0, 3), Titles("LAV"));

    Child<QCheckBox>(page, "chbUseSounds")->setChecked(true);
    QVERIFY(!fx.action("actSounds")->isEnabled());
    Child(window, "pbApply")->click();
    QVERIFY(fx.action("actSounds")->isEnabled());
    fx.widget<QRadioButton>("RbRegKsar")->click();
    QCOMPARE(window->menuTitles().value(1), Titles("F")[0]);
    QVERIFY(!Shown(page, "chbUseSounds"));
    QVERIFY(!fx.action("actSounds")->isEnabled());

    ChooseVersion(fx, "18.12.2009");
    fx.widget<QRadioButton>("RbD4M")->click();
    QVERIFY(!Shown(page, "cbTihPS"));
    ChooseVersion(fx, "19.12.2009");
    QVERIFY(Shown(page, "cbTihPS"));
    QVERIFY(fx.prompt.asked.isEmpty());

    // A load of settings takes the file's own values, never a choice a page
    // remembered (a loop the 4-loop model lacks) for the settings it replaced.
    QVERIFY(WriteSettings(fx.shell.file("d4.ini"), [](DeviceSettings& s) {
        s.header->deviceType = DEV_D4M;
        s.header->versionIndex = int(MainWindow::FirmwareVersions().indexOf("19.04.2012/45"));
        s.extra->techLoop = 2;
        s.extra->useVoicePasswords = 1;
        s.extra->useVoiceMessages = 1;
    }));
    fx.widget<QRadioButton>("RbD8M")->click();
    g_deviceSettings->extra->techLoop = 7;
    fx.widget<QRadioButton>("RbD4M")->click(); // 7 is remembered, 0 shown
    QCOMPARE(g_deviceSettings->extra->techLoop, 0);
    fx.prompt.files.enqueue(fx.shell.file("d4.ini"));
    fx.action("actOpen")->trigger();
    QCOMPARE(g_deviceSettings->extra->techLoop, 2);
    QCOMPARE(g_deviceSettings->extra->useVoicePasswords, u8(1));
    fx.widget<QRadioButton>("RbD8M")->click();
    QCOMPARE(g_deviceSettings->extra->techLoop, 2); // not the 7 of before the load

    // Programming right after edits on the service, loop, delay, function and
    // key pages, without Apply and with a zone left unbound, asks nothing and
    // sends exactly what the pages show.
    g_deviceSettings->extra->techLoop = 0;
    QVERIFY(fx.connect(3, QDate(2012, 4, 19), 45)); // the 8-loop model
    Child(window, "pbCancel")->click();
    LeaveZoneUnbound(*window);
    window->applySettings(); // what the pages make of the settings as they stand
    DeviceSettings expected(*g_deviceSettings);
    const DeviceSettings before(expected);

    Child<QLineEdit>(window->dopParams(), "leCallPrefix")->setText("+375");
    Child<QCheckBox>(window->dopParams(), "chbUseTamper")->setChecked(true);
    expected.extra->callPrefix = "+375";
    expected.extra->useTamper = 1;
    // Loop 8's band, reversed, in its dialog; loop 2 a radio sensor.
    LimNaprSh* limits = window->limNaprSh();
    NastrShl* dialog = limits->dialog(7);
    Child<QSlider>(dialog, "slNMax")->setValue(700);
    Child<QSlider>(dialog, "slNMin")->setValue(300);
    Child<QCheckBox>(dialog, "cbObrShl")->setChecked(true);
    Child(dialog, "pbApply")->click();
    Child<QCheckBox>(limits, "cbRadio_2")->setChecked(true);
    LoopLimits& l = *expected.loopLimits;
    std::tie(l.minLevel[7], l.maxLevel[7], l.reverse[7], l.radio[1]) = std::tuple(300, 700, 1, 1);
    // Loop 8 with restore when armed, loop 3's siren when disarmed.
    auto* functions = window->findChild<FuncShl*>();
    Child<QComboBox>(functions, "CombobVOS8")->setCurrentIndex(2);
    Child<QCheckBox>(functions, "cbSOSir3")->setChecked(true);
    expected.loopFunctions->closeAnalysis[7] = 2;
    expected.loopFunctions->openSiren[2] = 1;
    // One minute on loop 8 when arming, three on loop 2 when disarming.
    auto* delays = window->findChild<DelayFuncFrame*>();
    Child<QRadioButton>(delays, "RbPShl8")->setChecked(true);
    Child<QComboBox>(delays, "CbP")->setCurrentIndex(5);
    Child<QRadioButton>(delays, "RbSShl2")->setChecked(true);
    Child<QComboBox>(delays, "CbS")->setCurrentIndex(7);
    ExtraOptions& e = *expected.extra;
    std::tie(e.armDelayOn, e.armDelayLoop, e.armDelayTime) = std::tuple(0, 7, 5);
    std::tie(e.disarmDelayOn, e.disarmDelayLoop, e.disarmDelayTime) = std::tuple(0, 1, 7);
    // Key 1 on loops 1 and 3, key 18 on loops 2 and 8, key 5 named.
    KeyShlTable& keys = *window->findChild<KeyShlConfig*>()->model();
    for (auto [key, loop] : {std::pair{0, 0}, {0, 2}, {17, 1}, {17, 7}}) {
        QVERIFY(keys.setData(keys.index(key, loop + 2), true, Qt::CheckStateRole));
        expected.zones->keyLoop[size_t(key)][size_t(loop)] = 1;
    }
    QVERIFY(keys.setData(keys.index(4, 1), QStringLiteral("Door5"), Qt::DisplayRole));
    expected.zones->eepromKeyName[4] = "Door5";

    // The window's page-list rebuild shows each dialog's applied band again.
    auto* bar = Child<NaprLines>(limits, "rangeLine_8");
    bar->RepaintLine(0, 0, false);
    window->CreateMenuList(MODE_SYSTEM);
    QCOMPARE((QList<int>{bar->min, bar->max, int(bar->rev)}), (QList<int>{29, 68, 1}));

    const int asked = fx.prompt.asked.size();
    const int from = fx.rows();
    fx.action("actProgramming")->trigger();
    QVERIFY(fx.waitForCode(120, from));
    QVERIFY(fx.sim.ProgrammingDone());
    for (int i = asked; i < fx.prompt.asked.size(); ++i) // only the report of the result
        QCOMPARE(fx.prompt.asked.at(i).kind, Prompt::Information);
    const QList<QByteArray> names = fx.sim.SectionsAsked();
    const QList<QByteArray> answers = fx.sim.SectionAnswers();
    const QList<QByteArray> wanted = Sections(expected, names);
    const QList<QByteArray> old = Sections(before, names);
    QCOMPARE(answers.size(), names.size());
    int changed = 0;
    for (int i = 0; i < names.size(); ++i) {
        QCOMPARE(answers.at(i).toHex(' '), wanted.at(i).toHex(' '));
        changed += answers.at(i) != old.at(i);
    }
    QVERIFY(changed >= 3); // bands, keys, and the options with delays and functions

    // The service page's technological loop reaches the delays page.
    Child<QComboBox>(window->dopParams(), "CbNTShl")->setCurrentIndex(8);
    QVERIFY(Child<QRadioButton>(delays, "RbnuP")->isChecked());
    QVERIFY(!Child<QRadioButton>(delays, "RbPShl8")->isEnabled());
}

// Leaving "Зоны" with an unbound zone asks; No keeps the zones page, Yes
// moves on; a rebuild, OK and Cancel move the selection without asking.
void TestParametersWindow::zoneQuestion() {
    ScriptedPrompt prompt;
    PribParWindow window;
    window.CreateMenuList(MODE_SYSTEM);
    Child(&window, "pbCancel")->click();
    auto* list = Child<QListWidget>(&window, "ListParams");
    auto* stack = Child<QStackedWidget>(&window, "stackedWidget");
    const int zonesRow = window.menuTitles().indexOf(Titles("Z")[0]);
    list->setCurrentRow(zonesRow);
    LeaveZoneUnbound(window);
    QVERIFY(prompt.asked.isEmpty()); // entering asks nothing

    prompt.buttons << Prompt::No << Prompt::Yes;
    list->setCurrentRow(0);
    QCOMPARE(prompt.count(QStringLiteral("Перейти на другую вкладку?")), 1);
    QCOMPARE(list->currentRow(), zonesRow);
    QCOMPARE(stack->currentWidget(), window.page(PribParWindow::kZones));
    list->setCurrentRow(1);
    QCOMPARE(prompt.asked.size(), 2);
    QCOMPARE(stack->currentWidget(), window.page(PribParWindow::kFederalNums));

    for (auto leave : {+[](PribParWindow& w) { w.CreateMenuList(MODE_SYSTEM); },
                       +[](PribParWindow& w) { Child(&w, "pbCancel")->click(); },
                       +[](PribParWindow& w) { Child(&w, "pbOk")->click(); }}) {
        list->setCurrentRow(zonesRow);
        LeaveZoneUnbound(window);
        prompt.buttons.enqueue(Prompt::Ok); // the apply warning of OK
        leave(window);
        QCOMPARE(list->currentRow(), 0);
        QCOMPARE(prompt.count(QStringLiteral("Перейти")), 2); // the two above only
        prompt.buttons.clear();
    }
}

void TestParametersWindow::closing_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("stored");
    QTest::addColumn<int>("reloads"); // clicks of pbCancel
    QTest::addColumn<bool>("warned");
    QTest::newRow("Apply") << "apply" << true << 0 << true;
    QTest::newRow("OK") << "ok" << true << 1 << true;
    QTest::newRow("Cancel") << "cancel" << false << 2 << false;
    QTest::newRow("Escape") << "escape" << false << 1 << false;
    QTest::newRow("title-bar close") << "close" << false << 1 << false;
}

// Every close reloads every page once or twice, never recursing: edits are
// dropped unless stored, and after OK the pages show what was stored,
// normalised. Apply and OK warn of an unbound zone and store anyway.
void TestParametersWindow::closing() {
    QFETCH(QString, how);
    QFETCH(bool, stored);
    QFETCH(int, reloads);
    QFETCH(bool, warned);

    ScriptedPrompt prompt;
    PribParWindow window;
    window.CreateMenuList(MODE_SYSTEM);
    Child(&window, "pbCancel")->click();
    LeaveZoneUnbound(window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window, 20000));
    auto* prefix = Child<QLineEdit>(window.dopParams(), "leCallPrefix");
    auto* tamper = Child<QCheckBox>(window.dopParams(), "chbUseTamper");
    prefix->clear();
    tamper->setChecked(true);
    QSignalSpy cancelClicks(Child(&window, "pbCancel"), &QPushButton::clicked);
    QSignalSpy applied(&window, &PribParWindow::SigApplyOK);

    if (how == "apply" || how == "ok")
        Child(&window, how == "ok" ? "pbOk" : "pbApply")->click();
    else if (how == "cancel")
        Child(&window, "pbCancel")->click();
    else if (how == "escape")
        QTest::keyClick(&window, Qt::Key_Escape);
    else
        window.close();

    QCOMPARE(window.isVisible(), how == "apply");
    QCOMPARE(cancelClicks.size(), reloads);
    QCOMPARE(applied.size(), int(stored));
    QCOMPARE(settings.extra->useTamper, u8(stored));
    QCOMPARE(settings.extra->callPrefix, QStringLiteral("+7"));
    QCOMPARE(prefix->text(), how == "apply" ? QString() : QStringLiteral("+7"));
    QCOMPARE(tamper->isChecked(), stored);
    QCOMPARE(prompt.asked.size(), int(warned));
    if (warned)
        QCOMPARE(prompt.asked.first().title, QStringLiteral("Предупреждение"));
}

// Numbers typed on one number page show on the others at once, as text only.
void TestParametersWindow::numberMirrors() {
    PribParWindow window;
    Child(&window, "pbCancel")->click();
    auto first = [&](int slot, const char* stem) {
        return window.page(slot)->numbered<QLineEdit>(QString::fromLatin1(stem) + "%1", 1)->text();
    };
    const QString own = first(PribParWindow::kAuConnectParams, "leNum");
    emit static_cast<AuConnectParams*>(window.page(PribParWindow::kAuConnectParams))
        ->SigNumsChanged("916-123-45-67", "1", "2", "3", "4");
    for (auto [slot, stem] : {std::pair{PribParWindow::kZvonki, "leNum_"},
                              {PribParWindow::kDopSMS, "leNum"},
                              {PribParWindow::kOtprSMS, "leNum"}})
        QCOMPARE(first(slot, stem), QStringLiteral("916-123-45-67"));
    QCOMPARE(first(PribParWindow::kAuConnectParams, "leNum"), own); // not its own sender

    emit static_cast<OtprSMS*>(window.page(PribParWindow::kOtprSMS))
        ->SigNumsChanged("495-000-00-01", "1", "2", "3", "4");
    QCOMPARE(first(PribParWindow::kAuConnectParams, "leNum"), QStringLiteral("495-000-00-01"));
    QCOMPARE(first(PribParWindow::kZvonki, "leNum_"), QStringLiteral("495-000-00-01"));
    QCOMPARE(settings.phones->number[0], QStringLiteral("0000000000")); // nothing stored yet
}

QTEST_MAIN(TestParametersWindow)
#include "tst_parameterswindow.moc"
