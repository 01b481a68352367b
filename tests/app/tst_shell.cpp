// Start-up, the start menu and its hand-offs, the main window's form and the
// wiring between the windows.

#include "AppTestSupport.h"
#include "support/Files.h"

#include "app/EventTable.h"
#include "app/MainWindow.h"
#include "app/StartMenu.h"
#include "comms/OperatorsDialog.h"
#include "editor/LimNaprSh.h"
#include "editor/PribParWindow.h"
#include "keys/KeysOptions.h"
#include "link/PortWork.h"
#include "link/dialogs/ChoosePort.h"
#include "link/dialogs/ComboItems.h"
#include "service/Sounds.h"
#include "service/TestPrib.h"
#include "service/ThermsDSDialog.h"
#include "service/TimeDialog.h"
#include "settings/ImageEEPROM.h"
#include "settings/SettingsIniFile.h"
#include "wizard/WizardOM.h"

#include "ui_MainWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <memory>
#include <vector>

class TestShell : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PrepareApplication(); }
    void startUp_data();
    void startUp();
    void startMenuHandOffs();
    void connectionsOfTheMainWindow();
    void formAndActions();
    void screenshots();
};

// 0: an empty folder; 1: "GSM.cfg" and a good "Keelwright.auto"; 2: a damaged
// "Keelwright.auto". ("templates" and "sensors" are in tst_mainwindow_ops.)
void TestShell::startUp_data() {
    QTest::addColumn<int>("kind");
    QTest::newRow("no files") << 0;
    QTest::newRow("files") << 1;
    QTest::newRow("damaged auto") << 2;
}

void TestShell::startUp() {
    QFETCH(int, kind);
    ShellFixture fx;
    const QString autoFile = fx.file(QStringLiteral("Keelwright.auto"));
    if (kind == 1) {
        QVERIFY(WriteAll(fx.file(QStringLiteral("GSM.cfg")),
                         "[0]\nname=Альфа\nUssd=*1#\n[1]\nUssd=*2#\n"));
        QVERIFY(WriteSettings(autoFile, [](DeviceSettings& s) {
            s.header->deviceType = DEV_D8M;
            s.header->workMode = MODE_AUTONOMOUS;
        }));
    } else if (kind == 2) {
        QVERIFY(WriteAll(autoFile, QByteArray("\xff\xfe garbage [[[ \x01\x02 no levels")));
    }
    DeviceSettings defaults;
    SetDefaultSettings(&defaults, false);

    TopLevelWindows w;
    QCOMPARE(VisibleTopLevels(), QList<QWidget*>{w.menu});
    QCOMPARE(w.main->windowTitle(),
             QStringLiteral("Keelwright. Кильврайт объектовых приборов. Версия: 2.29.0.7"));
    // Centred on the whole desktop, each by its own size.
    const QRect desk = QGuiApplication::primaryScreen()->virtualGeometry();
    for (QWidget* top : {static_cast<QWidget*>(w.menu), static_cast<QWidget*>(w.wizard),
                         static_cast<QWidget*>(w.main)})
        QCOMPARE(top->pos(), QPoint(desk.width() / 2 - top->width() / 2,
                                    desk.height() / 2 - top->height() / 2));

    // The firmware versions, oldest first.
    const QStringList versions = ComboItems(w.main->findChild<QComboBox*>("cbVersion"));
    QCOMPARE(versions.size(), 58);
    QCOMPARE(versions.at(43), QStringLiteral("03.12.2010/67"));
    QCOMPARE(versions.last(), QStringLiteral("18.12.2018/1"));
    for (int i = 1; i < versions.size(); ++i) {
        const QString& a = versions.at(i - 1);
        const QString& b = versions.at(i);
        const QDate da = QDate::fromString(a.left(10), QStringLiteral("dd.MM.yyyy"));
        const QDate db = QDate::fromString(b.left(10), QStringLiteral("dd.MM.yyyy"));
        QVERIFY2(da < db || (da == db && a.mid(11).toInt() < b.mid(11).toInt()),
                 qPrintable(a + " / " + b));
    }

    // The operators: the file's, or the presets, then also written out.
    QStringList names;
    for (const GsmOperator& op : g_deviceSettings->gsmOperators)
        names << op.name;
    QCOMPARE(ComboItems(w.main->findChild<QComboBox*>("CbOperators2")), names);
    if (kind == 1) {
        QCOMPARE(names, (QStringList{"Альфа", "Неизвестный"}));
        QCOMPARE(g_deviceSettings->gsmOperators.at(1).ussd, QStringLiteral("*2#"));
    } else {
        QCOMPARE(names.size(), 5);
        QSettings ini(fx.file(QStringLiteral("GSM.cfg")), QSettings::IniFormat);
        QCOMPARE(ini.childGroups(), (QStringList{"0", "1", "2", "3", "4"}));
        QCOMPARE(ini.value(QStringLiteral("4/name")).toString(), QStringLiteral("Zeverir (test)"));
    }

    // The start-up default; nothing of a damaged file reaches settings or form.
    auto radio = [&w](const char* name) {
        return w.main->findChild<QRadioButton*>(QLatin1String(name))->isChecked();
    };
    const DeviceHeader& h = *g_deviceSettings->header;
    if (kind == 1) {
        QVERIFY(radio("RbD8M") && radio("RbRegAuto"));
        QCOMPARE(g_deviceSettings->zones->loopCount, 8);
    } else {
        QVERIFY(radio("RbD4M") && radio("RbRegKsar"));
        QCOMPARE(h.deviceType, defaults.header->deviceType);
        QCOMPARE(g_deviceSettings->loopLimits->minLevel, defaults.loopLimits->minLevel);
        QCOMPARE(g_deviceSettings->servers->serverIp, defaults.servers->serverIp);
    }
    QVERIFY(!w.main->settingsChanged());
    QCOMPARE(w.main->events()->rowCount(), 0);
    QVERIFY(fx.prompt.asked.isEmpty());
}

void TestShell::startMenuHandOffs() {
    ShellFixture fx;
    TopLevelWindows w;
    auto button = [&w](const char* name) {
        return w.menu->findChild<QPushButton*>(QLatin1String(name));
    };
    button("pbKeelwright")->click();
    QCOMPARE(VisibleTopLevels(), QList<QWidget*>{w.main});
    QVERIFY(w.main->choosePort()->mainWindowShown);
    // Closing the main window only hides it; the start menu comes back.
    QVERIFY(!w.main->close());
    QCOMPARE(VisibleTopLevels(), QList<QWidget*>{w.menu});
    QVERIFY(!w.main->choosePort()->mainWindowShown);

    // The wizard: the flag is set first, then the lists arrive.
    QSignalSpy lists(w.main, &MainWindow::SigTransferList);
    button("pbMaster")->click();
    QCOMPARE(VisibleTopLevels(), QList<QWidget*>{w.wizard});
    QVERIFY(w.main->isWizardActive());
    QCOMPARE(lists.size(), 2);
    QCOMPARE(lists.at(0).at(1).toStringList(), w.main->choosePort()->comItems());
    QCOMPARE(w.wizard->findChild<QComboBox*>("cbVersion")->count(), 58);
    // Defaults loaded for the wizard bring it the operators and their choice.
    g_deviceSettings->header->simOperator[1] = 3;
    w.main->LoadDefaultSettings(7);
    auto* wizardOperators = w.wizard->findChild<QComboBox*>("CbOperators2");
    QCOMPARE(ComboItems(wizardOperators),
             ComboItems(w.main->findChild<QComboBox*>("CbOperators1")));
    QCOMPARE(wizardOperators->currentIndex(), 3);
    // Leaving the wizard shows the start menu and clears the flag.
    w.wizard->reject();
    QCOMPARE(VisibleTopLevels(), QList<QWidget*>{w.menu});
    QVERIFY(!w.main->isWizardActive());

    // The wizard hands its choice (autonomous work) over to the editor.
    button("pbMaster")->click();
    QSignalSpy options(w.wizard, &WizardOM::SigSetupOptionsFromMaster);
    w.wizard->editorButton.click();
    QCOMPARE(options.size(), 1);
    QCOMPARE(VisibleTopLevels(), QList<QWidget*>{w.main});
    QVERIFY(w.main->findChild<QRadioButton*>(QStringLiteral("RbRegAuto"))->isChecked());
    QVERIFY(!w.main->close());
    // The test window's exit returns to the wizard only when it chose "test".
    w.main->testPrib()->CancelClick();
    QCOMPARE(VisibleTopLevels(), QList<QWidget*>{w.menu});

    // The exit button ends the program.
    QTimer::singleShot(0, w.menu, [&] { button("pbExit")->click(); });
    QTimer guard;
    connect(&guard, &QTimer::timeout, qApp, [] { QCoreApplication::exit(1); });
    guard.start(30000);
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(VisibleTopLevels().isEmpty());
}

void TestShell::connectionsOfTheMainWindow() {
    ShellFixture fx;
    QVERIFY(QDir(fx.dir.path()).mkdir(QStringLiteral("templates")));
    QVERIFY(WriteAll(fx.file(QStringLiteral("templates/only.tmpl")), "[Form1]\n"));
    MainWindow main;
    auto action = [&main](const char* name) {
        return main.findChild<QAction*>(QLatin1String(name));
    };
    auto widget = [&main](const char* name) {
        return main.findChild<QWidget*>(QLatin1String(name));
    };

    struct Row {
        const QObject* sender;
        const char* signal;
        int connections;
    };
    // Connections per sender and signal; the comment names the numbers.
    QList<Row> rows;
    for (const char* name : {"actParamsPribor",  "actChoosePort",    "actTest",
                             "actKeysOptions",   "actRestartCauses", "actHistory",
                             "actAboutQt",       "actSounds",        "actThermsDS",
                             "actAbout",         "actOperators",     "actSave",
                             "actOpenClosePort", "actProgramming",   "actReadEEPROM",
                             "actRestartDevice", "actTime",          "actCreateEEPROM",
                             "actSaveEEPROM",    "actLoadEEPROM"}) // 2, 12-16, 18-19,
        rows.append({action(name), SIGNAL(triggered(bool)), 1});   // 21-22, 27, 34-38, 52, 76-78
    for (const char* name :
         {"RbD4M", "RbD8M", "rbVororaZ", "rbVoduzeR", "cbBalance1", "cbBalance2"})
        rows.append({widget(name), SIGNAL(clicked(bool)), 1}); // 5-8, 25-26
    for (const char* name : {"Rbtobjsl", "RbRegAuto", "cbUseSIM1", "cbUseSIM2"})
        rows.append({widget(name), SIGNAL(toggled(bool)), 2}); // 3-4, 23-24, 86-87, 90-91
    for (const char* name : {"cbBalance1", "cbBalance2"})
        rows.append({widget(name), SIGNAL(toggled(bool)), 1}); // 84-85
    for (const char* name : {"CbOperators1", "CbOperators2"})
        rows.append({widget(name), SIGNAL(currentIndexChanged(int)), 2}); // 29-30, 88-89
    for (const char* signal :
         {SIGNAL(SigSetupVersion(QString, uchar, uchar)), SIGNAL(SigFillFields()),
          SIGNAL(SigSetProgress(bool, bool, int)), SIGNAL(SigProgrammingOk()),
          SIGNAL(SigMessage(int, bool)), SIGNAL(SigSetSoundWriteProgress(int, int, int)),
          SIGNAL(SigTimeProgrammEnabled()), SIGNAL(SigGetDeviceTime(QByteArray)),
          SIGNAL(SigGetGSMSignalLevel(QByteArray)), SIGNAL(SigGetThermsStuct(QByteArray)),
          SIGNAL(SigWriteThermsOK()), SIGNAL(SigTransTestPack(bool, QByteArray)),
          SIGNAL(SigResetTestWin()), SIGNAL(SigTransKeysPack(QByteArray)),
          SIGNAL(SigTransMiniKeyPack(QByteArray)), SIGNAL(SigKeysProgramOk()),
          SIGNAL(SigImageEEPROMTransfer(QByteArray))}) // 42-46, 51, 53, 56, 58, 61-62, 66-67,
        rows.append({main.portWork(), signal, 1});     // 73-75, 79
    for (const char* signal :
         {SIGNAL(SigTriggerOpClPort()), SIGNAL(SigPortChange()),
          SIGNAL(SigMessage(int, bool, QVariant)), SIGNAL(SigTransferList(int, QStringList)),
          SIGNAL(SigDeviceLose())}) // 39-40, 47, 81-82
        rows.append({main.choosePort(), signal, 1});
    for (const char* signal :
         {SIGNAL(SigGetDeviceTime()), SIGNAL(SigWriteNewTime(QByteArray)),
          SIGNAL(SigGetGSMSignalLevel()), SIGNAL(rejected()), SIGNAL(SigRestartDevice())}) // 54-55,
        rows.append({main.timeDialog(), signal, 1}); // 57, 59-60
    rows += QList<Row>{
        {main.templateActions().value(0), SIGNAL(triggered(bool)), 1},        // 1
        {widget("cbVersion"), SIGNAL(currentIndexChanged(int)), 1},           // 9
        {&main, SIGNAL(SigVersionChange()), 3},                               // 10, 17, 20
        {&main, SIGNAL(SigTypeObjChange()), 1},                               // 11
        {&main, SIGNAL(SigChangeRegim()), 2},                                 // 32, 71
        {&main, SIGNAL(SigUSBOpenOk()), 1},                                   // 41
        {&main, SIGNAL(SigBreakOperation()), 1},                              // 65
        {&main, SIGNAL(SigStartTest()), 1},                                   // 68
        {main.operatorsDialog(), SIGNAL(SigListWasUpdated()), 1},             // 28
        {main.pribParWindow(), SIGNAL(SigUseSounds()), 1},                    // 31
        {main.pribParWindow(), SIGNAL(SigApplyOK()), 1},                      // 83
        {main.pribParWindow()->limNaprSh(), SIGNAL(SigSetupTestScales()), 1}, // 70
        {main.testPrib(), SIGNAL(SigMessage(int, bool)), 1},                  // 48
        {main.testPrib(), SIGNAL(SigSetTestCommand(int)), 1},                 // 69
        {main.keysOptions(), SIGNAL(SigMessage(int, bool)), 1},               // 49
        {main.keysOptions(), SIGNAL(SigSetTestCommand(int)), 1},              // 72
        {main.sounds(), SIGNAL(SigStartSoundProgramm()), 1},                  // 50
        {main.thermsDialog(), SIGNAL(SigGetTherms(bool)), 1},                 // 63
        {main.thermsDialog(), SIGNAL(SigWriteTherms(QByteArray)), 1},         // 64
        {main.imageEEPROM(), SIGNAL(SigFillFields()), 1},                     // 80
    };

    // Baselines: the same objects built without the main window's wiring.
    std::vector<std::unique_ptr<QObject>> alone;
    QHash<const QObject*, const QObject*> twin;
    auto pair = [&](const QObject* wired, QObject* bare) {
        alone.emplace_back(bare);
        twin.insert(wired, bare);
    };
    pair(main.pribParWindow(), new PribParWindow);
    twin.insert(main.pribParWindow()->limNaprSh(),
                static_cast<PribParWindow*>(alone.back().get())->limNaprSh());
    pair(main.choosePort(), new ChoosePort);
    pair(main.testPrib(), new TestPrib);
    pair(main.keysOptions(), new KeysOptions);
    pair(main.sounds(), new Sounds);
    pair(main.timeDialog(), new TimeDialog);
    pair(main.thermsDialog(), new ThermsDSDialog);
    pair(main.operatorsDialog(), new OperatorsDialog);
    pair(main.portWork(), new PortWork);
    pair(main.imageEEPROM(), new ImageEEPROM);

    // The form alone: what menus, tool bar and the form itself connect.
    QMainWindow bare;
    Ui::MainWindow form;
    form.setupUi(&bare);

    // A template action also stands in the submenu and the button's menu.
    QMenu menu1, menu2;
    QAction listed;
    menu1.addAction(&listed);
    menu2.addAction(&listed);
    const int inTwoMenus = ReceiverCount::of(&listed, SIGNAL(triggered(bool)));

    int total = 0;
    for (const Row& r : rows) {
        QVERIFY2(r.sender, r.signal);
        int base = 0;
        if (r.sender == main.templateActions().value(0))
            base = inTwoMenus;
        else if (twin.contains(r.sender))
            base = ReceiverCount::of(twin.value(r.sender), r.signal);
        else if (r.sender != &main)
            base = ReceiverCount::of(bare.findChild<QObject*>(r.sender->objectName()), r.signal);
        const int made = ReceiverCount::of(r.sender, r.signal) - base;
        QVERIFY2(made == r.connections,
                 qPrintable(QStringLiteral("%1 %2: %3 connections")
                                .arg(r.sender->objectName(), QLatin1String(r.signal))
                                .arg(made)));
        total += r.connections;
    }
    // actOpen also drives the open button and its menu: one connection of the
    // constructor, to OpenDialExec, besides those.
    QToolButton button;
    QMenu buttonMenu;
    QAction probe;
    buttonMenu.addAction(&probe);
    button.setDefaultAction(&probe);
    const int openBase = ReceiverCount::of(form.actOpen, SIGNAL(triggered(bool))) +
                         ReceiverCount::of(&probe, SIGNAL(triggered(bool)));
    QCOMPARE(ReceiverCount::of(action("actOpen"), SIGNAL(triggered(bool))) - openBase, 1);
    total += 1;
    QCOMPARE(total, 91);

    // The main window's own signals that nothing inside it takes.
    QCOMPARE(ReceiverCount::of(&main, SIGNAL(SigOperEditExec(int, bool, bool, bool))), 0);
}

// The form as laid out: the 23 actions with their texts, tips, shortcuts and
// icons, the menus and tool bar in order, and the initial states.
void TestShell::formAndActions() {
    ShellFixture fx;
    MainWindow main;
    struct A {
        const char* name;
        const char* text;
        const char* tip;
        const char* status;
        const char* shortcut;
    };
    const QList<A> actions = {
        {"actOpen", "Открыть файл настроек", "", "Загрузка настроек прибора из файла", "Ctrl+O"},
        {"actSave", "Сохранить файл настроек", "", "Запись настроек прибора в файл", "Ctrl+S"},
        {"actExit", "Выход", "", "Выход из программы", ""},
        {"actOpenClosePort", "Открыть порт/устройство", "", "Открыть порт/устройство", ""},
        {"actParamsPribor", "Параметры прибора", "", "Редактирование парметров прибора", ""},
        {"actTest", "Тест прибора", "", "Переход в режим теста", ""},
        {"actKeysOptions", "Настройка ключей", "", "Работа с ключами TouchMemory", ""},
        {"actReadEEPROM", "Прочитать EEPROM", "", "Прочитать EEPROM с прибора", ""},
        {"actRestartCauses", "Причины перезапуска", "", "Просмотр причин перезапуска прибора", ""},
        {"actHistory", "Журнал событий", "", "Просмотр журнала событий прибора", ""},
        {"actHelp", "Справка по программатору ОП \"Дорна\"", "",
         "Справка по программатору ОП \"Дорна\"", ""},
        {"actAbout", "О программе", "", "О программе", ""},
        {"actChoosePort", "Выбор порта", "Выбор порта", "Выбор COM/USB порта", ""},
        {"actProgramming", "Программировать", "Программировать прибор",
         "Записать настройки в прибор", ""},
        {"actSounds", "Звуки", "Речевые сообщения", "Запись речевых сообщений", ""},
        {"actAboutQt", "О библиотеке Qt", "", "О библиотеке Qt", ""},
        {"actRestartDevice", "Перезагрузка прибора", "Перезагрузка прибора",
         "Перевод прибора в режим программирования", ""},
        {"actCreateEEPROM", "Сформировать образ EEPROM", "",
         "Сохранить настройки кильврайта в образ EEPROM", ""},
        {"actLoadEEPROM", "Загрузить образ EEPROM", "", "Загрузить образ EEPROM из файла", ""},
        {"actOperators", "Список операторов", "Редактирование списка операторов SIM-карт",
         "Редактирование списка операторов SIM-карт", ""},
        {"actTime", "Настройка времени в приборе", "Настройка времени в приборе",
         "Настройка времени в приборе", ""},
        {"actSaveEEPROM", "Сохранить образ EEPROM", "Сохранить образ EEPROM",
         "Сохранить образ EEPROM прибора", ""},
        {"actThermsDS", "Настройка термометров ", "Настройка термометров", "Настройка термометров",
         ""},
    };
    QCOMPARE(actions.size(), 23);
    for (const A& a : actions) {
        auto* act = main.findChild<QAction*>(QLatin1String(a.name));
        QVERIFY2(act, a.name);
        QCOMPARE(act->text(), QString::fromUtf8(a.text));
        if (*a.tip)
            QCOMPARE(act->toolTip(), QString::fromUtf8(a.tip));
        QCOMPARE(act->statusTip(), QString::fromUtf8(a.status));
        QCOMPARE(act->shortcut(), QKeySequence(QString::fromLatin1(a.shortcut)));
        QVERIFY2(!act->icon().pixmap(16, 16).isNull(), a.name);
    }
    QCOMPARE(main.findChild<QAction*>(QStringLiteral("actOpen"))->iconText(),
             QStringLiteral("Открыть"));
    QVERIFY(!main.findChild<QAction*>(QStringLiteral("actSounds"))->isVisible());
    QVERIFY(!main.findChild<QAction*>(QStringLiteral("actSounds"))->isEnabled());
    QVERIFY(!main.findChild<QAction*>(QStringLiteral("actHelp"))->isVisible());

    // The hidden combination shows the voice-message action, also from a list.
    QTest::keyClick(main.findChild<QComboBox*>(QStringLiteral("CbOperators1")), Qt::Key_S,
                    Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    QVERIFY(main.findChild<QAction*>(QStringLiteral("actSounds"))->isVisible());

    // Menus and tool bar in order.
    auto names = [](const QList<QAction*>& list) {
        QStringList out;
        for (QAction* a : list)
            out << (a->isSeparator() ? QStringLiteral("|")
                    : a->menu()      ? QStringLiteral("menu")
                                     : a->objectName());
        return out;
    };
    QStringList menus;
    for (QAction* a : main.menuBar()->actions())
        menus << a->text();
    QCOMPARE(menus, (QStringList{"Файл", "Порт", "Настройки", "Сервис", "Справка"}));
    QCOMPARE(
        names(main.findChild<QMenu*>(QStringLiteral("Optionsmenu"))->actions()),
        (QStringList{"actParamsPribor", "actTest", "actKeysOptions", "actOperators", "actSounds",
                     "actTime", "actThermsDS", "|", "actProgramming", "actReadEEPROM"}));
    QCOMPARE(names(main.findChild<QMenu*>(QStringLiteral("Servismenu"))->actions()),
             (QStringList{"actRestartCauses", "actHistory", "|", "actSaveEEPROM", "actCreateEEPROM",
                          "actLoadEEPROM", "|", "actRestartDevice"}));
    QCOMPARE(names(main.findChild<QMenu*>(QStringLiteral("Filemenu"))->actions()),
             (QStringList{"actOpen", "actSave", "menu", "actExit"}));
    QStringList bar = names(main.findChild<QToolBar*>(QStringLiteral("mainToolBar"))->actions());
    QCOMPARE(bar.value(0), QString()); // the open button's widget action
    bar.removeFirst();
    QCOMPARE(bar, (QStringList{"actSave", "|", "actOpenClosePort", "actChoosePort", "|",
                               "actProgramming", "actReadEEPROM", "|", "actParamsPribor", "actTest",
                               "actKeysOptions", "actSounds", "actTime", "actThermsDS", "|",
                               "actHelp", "actExit"}));

    // Initial states of the form: the default settings' simple object.
    for (const char* name : {"RbD4M", "Rbtobjpr", "RbRegKsar"})
        QVERIFY2(main.findChild<QRadioButton*>(QLatin1String(name))->isChecked(), name);
    for (const char* name : {"cbUseSIM1", "cbUseSIM2", "cbBalance1", "cbBalance2"})
        QVERIFY2(main.findChild<QCheckBox*>(QLatin1String(name))->isChecked(), name);
    auto* bar2 = main.findChild<QProgressBar*>(QStringLiteral("progressBar"));
    QCOMPARE(bar2->maximum(), 1023);
    QVERIFY(!bar2->isTextVisible());
    auto* view = main.findChild<QTableView*>(QStringLiteral("tvEvents"));
    QCOMPARE(view->columnWidth(1), 70);
    QCOMPARE(view->columnWidth(2), 60);
    QVERIFY(!view->horizontalHeader()->sectionsClickable());
    QVERIFY(view->verticalHeader()->isHidden());
}

// Pictures to be looked at (Cyrillic renders, nothing clipped); no button
// shows less than it needs.
void TestShell::screenshots() {
    ShellFixture fx;
    TopLevelWindows w;
    w.main->show();
    w.main->SetMessage(110, true, 3);
    w.main->SetMessage(200, true, QStringLiteral("FT123 USB <-> Serial"));
    w.main->SetMessage(310, true, QStringLiteral("2"));
    QTest::qWait(50);
    const QString dir = QDir::tempPath();
    QVERIFY(w.main->grab().save(dir + QStringLiteral("/keelwright-main.png")));
    QVERIFY(w.menu->grab().save(dir + QStringLiteral("/keelwright-startmenu.png")));
    for (QWidget* top : {static_cast<QWidget*>(w.menu), static_cast<QWidget*>(w.main)}) {
        for (QPushButton* b : top->findChildren<QPushButton*>()) {
            if (b->isVisible())
                QVERIFY2(b->width() >= b->minimumSizeHint().width(), qPrintable(b->objectName()));
        }
    }
}

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
