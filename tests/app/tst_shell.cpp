// Start-up, the start menu and its hand-offs, the main window's form and the
// wiring between the windows.

#include "AppTestSupport.h"
#include "support/Files.h"

#include "app/Application.h"
#include "app/EventTable.h"
#include "app/MainWindow.h"
#include "app/StartMenu.h"
#include "comms/ConnectParams.h"
#include "comms/OperatorsDialog.h"
#include "editor/LimNaprSh.h"
#include "editor/PribParWindow.h"
#include "keys/KeysOptions.h"
#include "link/PortWork.h"
#include "link/dialogs/ChoosePort.h"
#include "link/dialogs/ComboItems.h"
#include "service/History.h"
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
#include <QFile>
#include <QLabel>
#include <QScreen>

#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

class TestShell : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void startsWithOnlyTheStartMenu();
    void operatorFile_data();
    void operatorFile();
    void startupDefaultFile_data();
    void startupDefaultFile();
    void startMenuHandOffs();
    void wizardHandsOverToEditor();
    void connectionsOfTheMainWindow();
    void connectionsOfTheEntry();
    void formAndActions();
    void screenshots();
    void exitButtonEndsTheEventLoop();
};

void TestShell::initTestCase() {
    PrepareApplication();
}

void TestShell::startsWithOnlyTheStartMenu() {
    ShellFixture fx;
    TopLevelWindows w;
    QCOMPARE(VisibleTopLevels(), QList<QWidget*>{w.menu});
    QCOMPARE(w.main->windowTitle(),
             QStringLiteral("Keelwright. Кильврайт объектовых приборов. Версия: 2.29.0.7"));
    QCOMPARE(w.menu->windowTitle(), QStringLiteral("Keelwright. Кильврайт объектовых приборов"));
    // Centred on the whole desktop, each by its own size.
    const QRect desk = QGuiApplication::primaryScreen()->virtualGeometry();
    for (QWidget* top : {static_cast<QWidget*>(w.menu), static_cast<QWidget*>(w.wizard),
                         static_cast<QWidget*>(w.main)})
        QCOMPARE(top->pos(), QPoint(desk.width() / 2 - top->width() / 2,
                                    desk.height() / 2 - top->height() / 2));

    auto* versions = w.main->findChild<QComboBox*>(QStringLiteral("cbVersion"));
    QVERIFY(versions);
    QCOMPARE(versions->count(), 58);
    QCOMPARE(versions->itemText(0), QStringLiteral("21.09.2009"));
    QCOMPARE(versions->itemText(43), QStringLiteral("03.12.2010/67"));
    QCOMPARE(versions->itemText(57), QStringLiteral("18.12.2018/1"));
    QCOMPARE(versions->currentIndex(), 0);
    for (int i = 1; i < versions->count(); ++i) {
        const QString a = versions->itemText(i - 1), b = versions->itemText(i);
        const QDate da = QDate::fromString(a.left(10), QStringLiteral("dd.MM.yyyy"));
        const QDate db = QDate::fromString(b.left(10), QStringLiteral("dd.MM.yyyy"));
        QVERIFY2(da < db || (da == db && a.mid(11).toInt() < b.mid(11).toInt()),
                 qPrintable(a + " / " + b));
    }
    QCOMPARE(g_deviceSettings->header->firmwareDate, QDate(2009, 9, 21));
    QCOMPARE(g_deviceSettings->connection->objectNumber, QByteArray("0001"));

    // State of the window after construction.
    QVERIFY(!w.main->isWizardActive());
    QVERIFY(!w.main->settingsChanged());
    QCOMPARE(w.main->events()->rowCount(), 0);
    QVERIFY(fx.prompt.asked.isEmpty());
    QCOMPARE(w.main->pribParWindow()->menuTitles().value(0), QStringLiteral("Параметры связи"));
}

void TestShell::operatorFile_data() {
    QTest::addColumn<QByteArray>("file"); // empty: no file
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("ussd1");

    const QStringList presets{QStringLiteral("Билайн"), QStringLiteral("Мегафон"),
                              QStringLiteral("МТС"), QStringLiteral("Теле2"),
                              QStringLiteral("Zeverir (test)")};
    QTest::newRow("missing: presets written") << QByteArray() << presets << QStringLiteral("*100#");
    QTest::newRow("no groups") << QByteArray("; nothing\n")
                               << QStringList{QStringLiteral("Неизвестный")} << QString();
    QTest::newRow("groups by index, empty name")
        << QByteArray("[0]\nname=Альфа\nUssd=*1#\n[1]\nUssd=*2#\n[5]\nname=Пятый\n")
        << QStringList{QStringLiteral("Альфа"), QStringLiteral("Неизвестный"),
                       QStringLiteral("Неизвестный")}
        << QStringLiteral("*2#");
}

void TestShell::operatorFile() {
    QFETCH(QByteArray, file);
    QFETCH(QStringList, names);
    QFETCH(QString, ussd1);
    ShellFixture fx;
    if (!file.isEmpty())
        QVERIFY(WriteAll(fx.file(QStringLiteral("GSM.cfg")), file));
    MainWindow main;
    QStringList got;
    for (const GsmOperator& op : g_deviceSettings->gsmOperators)
        got << op.name;
    QCOMPARE(got, names);
    QCOMPARE(g_deviceSettings->gsmOperators.value(1).ussd, ussd1);
    for (const char* box : {"CbOperators1", "CbOperators2"})
        QCOMPARE(ComboItems(main.findChild<QComboBox*>(QLatin1String(box))), names);
    if (file.isEmpty()) {
        QSettings ini(fx.file(QStringLiteral("GSM.cfg")), QSettings::IniFormat);
        QCOMPARE(ini.childGroups(), (QStringList{"0", "1", "2", "3", "4"}));
        QCOMPARE(ini.value(QStringLiteral("0/name")).toString(), QStringLiteral("Билайн"));
        QCOMPARE(ini.value(QStringLiteral("0/login")).toString(), QStringLiteral("qorvant"));
        QCOMPARE(ini.value(QStringLiteral("1/initstring")).toString(), QStringLiteral("internet"));
        QCOMPARE(ini.value(QStringLiteral("4/name")).toString(), QStringLiteral("Zeverir (test)"));
        QCOMPARE(ini.value(QStringLiteral("3/Ussd")).toString(), QStringLiteral("*105#"));
    }
    QVERIFY(fx.prompt.asked.isEmpty());
}

void TestShell::startupDefaultFile_data() {
    QTest::addColumn<int>("kind"); // 0 none, 1 good, 2 damaged
    QTest::newRow("none") << 0;
    QTest::newRow("good") << 1;
    QTest::newRow("damaged") << 2;
}

void TestShell::startupDefaultFile() {
    QFETCH(int, kind);
    ShellFixture fx;
    const QString autoFile = fx.file(QStringLiteral("Keelwright.auto"));
    if (kind == 1) {
        DeviceSettings s;
        SetDefaultSettings(&s, false);
        s.header->deviceType = DEV_D8M;
        s.header->workMode = MODE_AUTONOMOUS;
        s.header->objectType = OBJ_SIMPLE;
        s.header->useSim = {1, 0};
        QVERIFY(SaveSettingsFile(autoFile, &s));
    } else if (kind == 2) {
        static const char kGarbage[] = "\xff\xfe garbage [[[ \x01\x02 no levels";
        QVERIFY(WriteAll(autoFile, QByteArray(kGarbage, sizeof kGarbage - 1)));
    }
    DeviceSettings defaults;
    SetDefaultSettings(&defaults, false);

    MainWindow main;
    auto radio = [&main](const char* name) {
        return main.findChild<QRadioButton*>(QLatin1String(name))->isChecked();
    };
    const DeviceHeader& h = *g_deviceSettings->header;
    if (kind == 1) {
        QVERIFY(radio("RbD8M"));
        QVERIFY(radio("RbRegAuto"));
        QVERIFY(radio("Rbtobjpr"));
        QCOMPARE(h.deviceType, int(DEV_D8M));
        QCOMPARE(h.workMode, int(MODE_AUTONOMOUS));
        QVERIFY(!main.findChild<QCheckBox*>(QStringLiteral("cbUseSIM2"))->isChecked());
        QCOMPARE(g_deviceSettings->zones->loopCount, 8);
    } else {
        // Nothing of a damaged file reaches the settings or the widgets.
        QVERIFY(radio("RbD4M"));
        QVERIFY(radio("RbRegKsar"));
        QVERIFY(radio("Rbtobjsl"));
        QCOMPARE(h.deviceType, defaults.header->deviceType);
        QCOMPARE(h.workMode, defaults.header->workMode);
        QCOMPARE(g_deviceSettings->loopLimits->minLevel, defaults.loopLimits->minLevel);
        QCOMPARE(g_deviceSettings->servers->serverIp, defaults.servers->serverIp);
    }
    QVERIFY(!main.settingsChanged());
    QVERIFY(fx.prompt.asked.isEmpty());
}

void TestShell::startMenuHandOffs() {
    ShellFixture fx;
    TopLevelWindows w;
    auto* all = w.menu->findChild<QPushButton*>(QStringLiteral("pbKeelwright"));
    auto* master = w.menu->findChild<QPushButton*>(QStringLiteral("pbMaster"));
    QCOMPARE(all->text(), QStringLiteral("Все настройки"));
    QCOMPARE(master->text(), QStringLiteral("Мастер настройки"));

    all->click();
    QCOMPARE(VisibleTopLevels(), QList<QWidget*>{w.main});
    QVERIFY(w.main->choosePort()->mainWindowShown);

    // Closing the main window only hides it; the start menu comes back.
    QVERIFY(!w.main->close());
    QCOMPARE(VisibleTopLevels(), QList<QWidget*>{w.menu});
    QVERIFY(!w.main->choosePort()->mainWindowShown);

    // The wizard: the flag is set first, then the lists arrive.
    QSignalSpy lists(w.main, &MainWindow::SigTransferList);
    master->click();
    QCOMPARE(VisibleTopLevels(), QList<QWidget*>{w.wizard});
    QVERIFY(w.main->isWizardActive());
    QCOMPARE(lists.size(), 2);
    QCOMPARE(lists.at(0).at(0).toInt(), 0);
    QCOMPARE(lists.at(0).at(1).toStringList(), w.main->choosePort()->comItems());
    QCOMPARE(lists.at(1).at(0).toInt(), 2);
    QCOMPARE(lists.at(1).at(1).toStringList().size(), 58);
    auto* wizardVersions = w.wizard->findChild<QComboBox*>(QStringLiteral("cbVersion"));
    QCOMPARE(wizardVersions->count(), 58);
    // Defaults loaded for the wizard bring it the operators and their choice.
    g_deviceSettings->header->simOperator[1] = 3;
    w.main->LoadDefaultSettings(7);
    auto* wizardOperators = w.wizard->findChild<QComboBox*>(QStringLiteral("cbOperators2"));
    QCOMPARE(wizardOperators->count(), 5);
    QCOMPARE(ComboItems(wizardOperators),
             ComboItems(w.main->findChild<QComboBox*>(QStringLiteral("CbOperators1"))));
    QCOMPARE(wizardOperators->currentIndex(), 3);

    // Leaving the wizard shows the start menu and clears the flag.
    w.wizard->reject();
    QCOMPARE(VisibleTopLevels(), QList<QWidget*>{w.menu});
    QVERIFY(!w.main->isWizardActive());
}

void TestShell::wizardHandsOverToEditor() {
    ShellFixture fx;
    TopLevelWindows w;
    w.menu->findChild<QPushButton*>(QStringLiteral("pbMaster"))->click();
    QSignalSpy options(w.wizard, &WizardOM::SigSetupOptionsFromMaster);
    w.wizard->editorButton.click();
    QCOMPARE(options.size(), 1);
    QCOMPARE(VisibleTopLevels(), QList<QWidget*>{w.main});
    // The wizard's choice reached the editor: autonomous work, its model.
    QVERIFY(w.main->findChild<QRadioButton*>(QStringLiteral("RbRegAuto"))->isChecked());
    QCOMPARE(w.main->findChild<QComboBox*>(QStringLiteral("cbVersion"))->currentText(),
             QStringLiteral("21.09.2009"));

    // The test window's exit returns to the wizard only when it chose "test".
    w.main->hide();
    w.main->testPrib()->CancelClick();
    QVERIFY(!w.wizard->isVisible());
}

// Every connection the constructor makes, counted per signal as the
// difference to a window built without the wiring.
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
    PribParWindow pribAlone;
    ChoosePort portAlone;
    TestPrib testAlone;
    KeysOptions keysAlone;
    Sounds soundsAlone;
    TimeDialog timeAlone;
    ThermsDSDialog thermsAlone;
    OperatorsDialog operatorsAlone;
    PortWork linkAlone;
    ImageEEPROM imageAlone;
    const QHash<const QObject*, const QObject*> twin = {
        {main.pribParWindow(), &pribAlone},
        {main.pribParWindow()->limNaprSh(), pribAlone.limNaprSh()},
        {main.choosePort(), &portAlone},
        {main.testPrib(), &testAlone},
        {main.keysOptions(), &keysAlone},
        {main.sounds(), &soundsAlone},
        {main.timeDialog(), &timeAlone},
        {main.thermsDialog(), &thermsAlone},
        {main.operatorsDialog(), &operatorsAlone},
        {main.portWork(), &linkAlone},
        {main.imageEEPROM(), &imageAlone},
    };

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

    // Behaviour behind a few of them.
    QSignalSpy regime(main.pribParWindow(), &PribParWindow::SigChangeRegim);
    main.findChild<QRadioButton*>(QStringLiteral("RbRegAuto"))->click();
    QCOMPARE(regime.size(), 1);
    QVERIFY(main.settingsChanged());
    QSignalSpy version(main.pribParWindow(), &PribParWindow::SigVersionChange);
    main.findChild<QComboBox*>(QStringLiteral("cbVersion"))->setCurrentIndex(45);
    QCOMPARE(version.size(), 1);
    QCOMPARE(g_deviceSettings->header->firmwareSubVersion, 45);
    QCOMPARE(g_deviceSettings->header->versionIndex, 45);
}

void TestShell::connectionsOfTheEntry() {
    ShellFixture fx;
    TopLevelWindows w;
    StartMenu menuAlone;
    struct Row {
        const QObject* sender;
        const QObject* baseline;
        const char* signal;
        int connections;
    };
    WizardOM wizardAlone;
    const QList<Row> rows = {
        {w.wizard, &wizardAlone, SIGNAL(SigStartKeelwright()), 1},
        {w.wizard, &wizardAlone, SIGNAL(SigSetupOptionsFromMaster(DEV_TYPE, QString, bool)), 1},
        {w.menu, &menuAlone, SIGNAL(SigStartKeelwright()), 1},
        {w.main, nullptr, SIGNAL(SigWinWasHided()), 1},
        {w.menu, &menuAlone, SIGNAL(SigStartWizard()), 2},
        {w.menu, &menuAlone, SIGNAL(SigSetWizardStatus(bool)), 1},
        {w.wizard, &wizardAlone, SIGNAL(SigLoadDefaultSettings(int)), 1},
        {w.wizard, &wizardAlone, SIGNAL(rejected()), 1},
        {w.wizard, &wizardAlone, SIGNAL(accepted()), 1},
        {w.main, nullptr, SIGNAL(SigTransferList(int, QStringList)), 1},
        {w.wizard, &wizardAlone, SIGNAL(SigOpenPort(bool, int)), 1},
        {w.wizard, &wizardAlone, SIGNAL(SigClosePort()), 1},
        {w.main, nullptr, SIGNAL(SigPortOpenStatus(int)), 1},
        {w.main, nullptr, SIGNAL(SigDeviceWasConnect(DEV_TYPE, QString)), 1},
        {w.main, nullptr, SIGNAL(SigSetProgress(int, int)), 2},
        {w.main, nullptr, SIGNAL(SigProgrammingStatus(bool)), 1},
        {w.wizard, &wizardAlone, SIGNAL(SigShowKeyConfigWindow()), 1},
        {w.wizard, &wizardAlone, SIGNAL(SigShowTestWindow()), 1},
        {w.main->testPrib(), nullptr, SIGNAL(SigExitWindow()), 1},
        {w.main->keysOptions(), nullptr, SIGNAL(SigExitWindow()), 1},
        {w.wizard, &wizardAlone, SIGNAL(SigReadEEPROM()), 1},
        {w.main, nullptr, SIGNAL(SigReadEEPROMStatus(bool)), 1},
        {w.wizard, &wizardAlone, SIGNAL(SigBreakOperation()), 1},
        {w.main, nullptr, SIGNAL(SigReadTimeOut()), 1},
    };
    int total = 0;
    for (const Row& r : rows) {
        const int base = r.baseline ? ReceiverCount::of(r.baseline, r.signal) : 0;
        const int made = ReceiverCount::of(r.sender, r.signal) - base;
        QVERIFY2(made == r.connections, r.signal);
        total += r.connections;
    }
    QCOMPARE(total, 26);
}

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

    // Initial states of the form.
    for (const char* name : {"RbD4M", "Rbtobjsl", "RbRegKsar"})
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
    QVERIFY(w.main->pribParWindow()->grab().save(dir + QStringLiteral("/keelwright-params.png")));
    QVERIFY(w.main->choosePort()->grab().save(dir + QStringLiteral("/keelwright-port.png")));
    w.wizard->StartWizard();
    QVERIFY(w.wizard->grab().save(dir + QStringLiteral("/keelwright-wizard.png")));
    w.wizard->hide();
    QVERIFY(w.main->testPrib()->grab().save(dir + QStringLiteral("/keelwright-test.png")));
    // No button shows less than it needs.
    for (QWidget* top : {static_cast<QWidget*>(w.menu), static_cast<QWidget*>(w.main)}) {
        for (QPushButton* b : top->findChildren<QPushButton*>()) {
            if (b->isVisible())
                QVERIFY2(b->width() >= b->minimumSizeHint().width(), qPrintable(b->objectName()));
        }
    }
}

void TestShell::exitButtonEndsTheEventLoop() {
    ShellFixture fx;
    TopLevelWindows w;
    w.menu->findChild<QPushButton*>(QStringLiteral("pbKeelwright"))->click();
    QVERIFY(!w.main->close()); // back to the start menu
    QTimer::singleShot(
        0, w.menu, [&w] { w.menu->findChild<QPushButton*>(QStringLiteral("pbExit"))->click(); });
    QTimer guard;
    guard.setSingleShot(true);
    bool timedOut = false;
    connect(&guard, &QTimer::timeout, qApp, [&timedOut] {
        timedOut = true;
        QCoreApplication::exit(1);
    });
    guard.start(5000);
    const int rc = QCoreApplication::exec();
    QVERIFY(!timedOut);
    QCOMPARE(rc, 0);
    QVERIFY(VisibleTopLevels().isEmpty());
}

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
