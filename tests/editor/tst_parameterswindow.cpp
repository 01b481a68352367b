// The parameters window: which pages its list offers, how apply, cancel and
// every way of closing reach all twenty pages, the number mirrors, and what
// the main window relies on.

#include "../app/DeviceFixture.h"

#include "comms/AuConnectParams.h"
#include "comms/ConGPRS.h"
#include "comms/OtprSMS.h"
#include "editor/DopParams.h"
#include "editor/PribParWindow.h"
#include "editor/Zones.h"
#include "link/Protocol.h"
#include "settings/DeviceSettings.h"
#include "settings/Firmware.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>

namespace {

const QString tLink = QStringLiteral("Параметры связи");
const QString tFederal = QStringLiteral("Федеральные номера");
const QString tSmsArm = QStringLiteral("SMS по пост./снятию");
const QString tSmsService = QStringLiteral("Служебные SMS");
const QString tRanges = QStringLiteral("Настройка диапазонов");
const QString tFunctions = QStringLiteral("Функции шлейфов");
const QString tCalls = QStringLiteral("Извещения по шлейфам");
const QString tService = QStringLiteral("Сервисные параметры");
const QString tDelay = QStringLiteral("Функция \"Задержка\"");
const QString tKeys = QStringLiteral("Ключи и шлейфы");
const QString tZones = QStringLiteral("Зоны");
const QString tOutputs = QStringLiteral("Функции выходов");
const QString tConsoleSms = QStringLiteral("Пультовые SMS");
const QString tGprs = QStringLiteral("Параметры GPRS");
const QString tSntp = QStringLiteral("Настройка SNTP");
const QString tNavigation = QStringLiteral("Параметры навигации");
const QString tCameras = QStringLiteral("Параметры камер");
const QString tRemote = QStringLiteral("Дистанционная настройка");
const QString tTriggers = QStringLiteral("События по времени");

QStringList SystemBase() {
    return {tLink, tFederal, tRanges, tFunctions, tService, tDelay, tKeys, tZones};
}

QPushButton* Button(const QWidget& w, const char* name) {
    return w.findChild<QPushButton*>(QString::fromLatin1(name));
}

// An empty zone added on the zones page of a complex object: neither a key
// nor a loop is bound to it. Entering the page or reloading it rebuilds the
// zones from the key-to-loop table, so this comes after either.
void LeaveZoneUnbound(PribParWindow& window) {
    g_deviceSettings->header->objectType = OBJ_COMPLEX;
    emit window.SigTypeObjChange(); // as the main window's object-type choice does
    window.zones()->findChild<QPushButton*>(QStringLiteral("pbAddZone"))->click();
    QVERIFY(!window.zones()->CheckZonesBound());
}

} // namespace

class TestParametersWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void pageLists_data();
    void pageLists();
    void listFollowsMainWindow();
    void zoneQuestion();
    void closing_data();
    void closing();
    void revisionWarnings();
    void numberMirrors();
    void loadsForgetRememberedChoices();
    void programmingAppliesPagesSilently();

private:
    DeviceSettings settings;
};

void TestParametersWindow::init() {
    settings = DeviceSettings();
    SetDefaultSettings(&settings, false);
    g_deviceSettings = &settings;
}

void TestParametersWindow::pageLists_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<bool>("gprsForced"); // autonomous lists only

    const QStringList sys = SystemBase();
    QTest::newRow("system, no firmware") << 0 << 0 << "" << sys + QStringList{tGprs} << false;
    QTest::newRow("system 17.12.2009")
        << 0 << 0 << "17.12.2009" << sys + QStringList{tGprs} << false;
    QTest::newRow("system 18.12.2018/0")
        << 0 << 3 << "18.12.2018/0" << sys + QStringList{tOutputs, tGprs, tSntp, tNavigation}
        << false;
    QTest::newRow("system 18.12.2018/1")
        << 0 << 1 << "18.12.2018/1" << sys + QStringList{tOutputs, tGprs, tSntp, tRemote, tTriggers}
        << false;
    QTest::newRow("system 15.04.2010: console SMS")
        << 0 << 0 << "15.04.2010" << sys + QStringList{tOutputs, tConsoleSms, tGprs, tSntp}
        << false;
    const QStringList au{tLink, tSmsArm, tSmsService, tRanges, tFunctions};
    const QStringList auTail{tService, tDelay, tKeys, tZones, tOutputs};
    QTest::newRow("autonomous 25.03.2010") << 1 << 0 << "25.03.2010" << au + auTail << true;
    QTest::newRow("autonomous type 2, 16.04.2010")
        << 1 << 2 << "16.04.2010" << au + QStringList{tCalls} + auTail + QStringList{tSntp} << true;
    QTest::newRow("autonomous type 3, 16.04.2010")
        << 1 << 3 << "16.04.2010" << au + QStringList{tCalls} + auTail + QStringList{tGprs, tSntp}
        << false;
    QTest::newRow("autonomous type 3, 07.06.2010: navigation")
        << 1 << 3 << "07.06.2010"
        << au + QStringList{tCalls} + auTail + QStringList{tGprs, tSntp, tNavigation} << false;
    const QStringList camBase = sys + QStringList{tOutputs, tConsoleSms, tGprs, tSntp};
    QTest::newRow("cameras build 34")
        << 0 << 2 << "03.12.2010/34" << camBase + QStringList{tCameras} << false;
    QTest::newRow("no cameras build 35") << 0 << 2 << "03.12.2010/35" << camBase << false;
    QTest::newRow("no cameras build 58") << 0 << 2 << "03.12.2010/58" << camBase << false;
    QTest::newRow("cameras build 59")
        << 0 << 2 << "03.12.2010/59" << camBase + QStringList{tCameras} << false;
    QTest::newRow("no cameras on type 1") << 0 << 1 << "03.12.2010/34" << camBase << false;
}

void TestParametersWindow::pageLists() {
    QFETCH(int, mode);
    QFETCH(int, type);
    QFETCH(QString, version);
    QFETCH(QStringList, titles);
    QFETCH(bool, gprsForced);

    PribParWindow window;
    settings.header->workMode = mode;
    settings.header->deviceType = type;
    SetFirmwareVersion(*settings.header, version);
    window.page(PribParWindow::kConGPRS)->CancelClick();
    window.CreateMenuList(DEV_WORK_MODE(mode));
    QCOMPARE(window.menuTitles(), titles);

    // Row 0 shows the link page of the work mode.
    auto* list = window.findChild<QListWidget*>(QStringLiteral("ListParams"));
    auto* stack = window.findChild<QStackedWidget*>(QStringLiteral("stackedWidget"));
    QCOMPARE(list->currentRow(), 0);
    QCOMPARE(stack->currentWidget(), window.page(mode == 1 ? PribParWindow::kAuConnectParams
                                                           : PribParWindow::kConnectParams));
    // Every title leads to its page.
    for (int row = 0; row < list->count(); ++row) {
        list->setCurrentRow(row);
        QVERIFY2(stack->currentWidget() != nullptr, qPrintable(titles.at(row)));
        QVERIFY(qobject_cast<ParamsPage*>(stack->currentWidget()));
    }
    if (mode == 1) {
        // An autonomous model without the GPRS page always connects over GPRS.
        auto* box = window.page(PribParWindow::kConGPRS)->findChild<QCheckBox*>();
        if (box && gprsForced)
            QVERIFY(box->isChecked());
    }
}

// Choosing a version, a model or a work mode in the main window rebuilds the
// list; the window's own selection changes never ask the zone question.
void TestParametersWindow::listFollowsMainWindow() {
    DeviceFixture fx;
    QVERIFY(fx.open());
    auto* window = fx.main->findChild<PribParWindow*>();
    auto* version = fx.widget<QComboBox>("cbVersion");
    version->setCurrentIndex(int(MainWindow::FirmwareVersions().indexOf("19.04.2012/45")));
    QVERIFY(window->menuTitles().contains(tRemote));
    QVERIFY(!window->menuTitles().contains(tNavigation));
    fx.widget<QRadioButton>("rbVoduzeR")->click();
    QVERIFY(window->menuTitles().contains(tNavigation));
    fx.widget<QRadioButton>("RbRegAuto")->click();
    QCOMPARE(window->menuTitles().mid(0, 3), (QStringList{tLink, tSmsArm, tSmsService}));
    fx.widget<QRadioButton>("RbRegKsar")->click();
    QCOMPARE(window->menuTitles().value(1), tFederal);
    QVERIFY(fx.prompt.asked.isEmpty());
}

// Leaving "Зоны" with an unbound zone asks; No keeps the zones page.
void TestParametersWindow::zoneQuestion() {
    ScriptedPrompt prompt;
    PribParWindow window;
    window.CreateMenuList(MODE_SYSTEM);
    Button(window, "pbCancel")->click();
    auto* list = window.findChild<QListWidget*>(QStringLiteral("ListParams"));
    auto* stack = window.findChild<QStackedWidget*>(QStringLiteral("stackedWidget"));
    const int zonesRow = window.menuTitles().indexOf(tZones);
    list->setCurrentRow(zonesRow);
    LeaveZoneUnbound(window);
    QVERIFY(prompt.asked.isEmpty()); // entering asks nothing

    prompt.buttons.enqueue(Prompt::No);
    list->setCurrentRow(0);
    QCOMPARE(prompt.asked.size(), 1);
    QVERIFY(prompt.asked.last().text.contains(QStringLiteral("Перейти на другую вкладку?")));
    QCOMPARE(list->currentRow(), zonesRow);
    QCOMPARE(stack->currentWidget(), window.page(PribParWindow::kZones));

    prompt.buttons.enqueue(Prompt::Yes);
    list->setCurrentRow(1);
    QCOMPARE(prompt.asked.size(), 2);
    QCOMPARE(stack->currentWidget(), window.page(PribParWindow::kFederalNums));

    // A rebuild, OK and Cancel move the selection without asking.
    for (auto leave : {+[](PribParWindow& w) { w.CreateMenuList(MODE_SYSTEM); },
                       +[](PribParWindow& w) { Button(w, "pbCancel")->click(); },
                       +[](PribParWindow& w) { Button(w, "pbOk")->click(); }}) {
        list->setCurrentRow(zonesRow);
        LeaveZoneUnbound(window);
        const int asked = prompt.asked.size();
        prompt.buttons.enqueue(Prompt::Ok); // the apply warning of OK
        leave(window);
        QCOMPARE(list->currentRow(), 0);
        for (int i = asked; i < prompt.asked.size(); ++i)
            QVERIFY(!prompt.asked.at(i).text.contains(QStringLiteral("Перейти")));
        prompt.buttons.clear();
    }
}

void TestParametersWindow::closing_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("stored");
    QTest::addColumn<int>("reloads"); // clicks of pbCancel
    QTest::newRow("OK") << "ok" << true << 1;
    QTest::newRow("Cancel") << "cancel" << false << 2;
    QTest::newRow("Escape") << "escape" << false << 1;
    QTest::newRow("title-bar close") << "close" << false << 1;
}

// Every close reloads every page: edits are dropped unless OK stored them,
// and after OK the pages show what was stored, normalised.
void TestParametersWindow::closing() {
    QFETCH(QString, how);
    QFETCH(bool, stored);
    QFETCH(int, reloads);

    ScriptedPrompt prompt;
    PribParWindow window;
    window.CreateMenuList(MODE_SYSTEM);
    Button(window, "pbCancel")->click();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* prefix = window.dopParams()->findChild<QLineEdit*>(QStringLiteral("leCallPrefix"));
    auto* tamper = window.dopParams()->findChild<QCheckBox*>(QStringLiteral("chbUseTamper"));
    prefix->clear();
    tamper->setChecked(true);
    QSignalSpy cancelClicks(Button(window, "pbCancel"), &QPushButton::clicked);

    if (how == "ok")
        Button(window, "pbOk")->click();
    else if (how == "cancel")
        Button(window, "pbCancel")->click();
    else if (how == "escape")
        QTest::keyClick(&window, Qt::Key_Escape);
    else
        window.close();

    QVERIFY(!window.isVisible());
    QCOMPARE(cancelClicks.size(), reloads);
    QCOMPARE(settings.extra->useTamper, u8(stored ? 1 : 0));
    QCOMPARE(settings.extra->callPrefix, QStringLiteral("+7"));
    QCOMPARE(prefix->text(), QStringLiteral("+7"));
    QCOMPARE(tamper->isChecked(), stored);
    QVERIFY(prompt.asked.isEmpty());
}

// Apply warns of an unbound zone and stores anyway; programming applies with
// no warning at all.
void TestParametersWindow::revisionWarnings() {
    ScriptedPrompt prompt;
    PribParWindow window;
    Button(window, "pbCancel")->click();
    LeaveZoneUnbound(window);
    auto* tamper = window.dopParams()->findChild<QCheckBox*>(QStringLiteral("chbUseTamper"));
    tamper->setChecked(true);
    QSignalSpy applied(&window, &PribParWindow::SigApplyOK);
    window.applySettings();
    QVERIFY(prompt.asked.isEmpty());
    QCOMPARE(settings.extra->useTamper, u8(1));
    tamper->setChecked(false);
    Button(window, "pbApply")->click();
    QCOMPARE(prompt.asked.size(), 1);
    QCOMPARE(prompt.asked.first().title, QStringLiteral("Предупреждение"));
    QCOMPARE(settings.extra->useTamper, u8(0));
    QCOMPARE(applied.size(), 2);
    QVERIFY(window.isHidden()); // Apply does not close
}

// Numbers typed on one number page show on the others at once, as text only.
void TestParametersWindow::numberMirrors() {
    PribParWindow window;
    Button(window, "pbCancel")->click();
    const QStringList typed{"916-123-45-67", "1", "2", "3", "4"};
    auto edits = [&](int slot, const QString& stem) {
        QStringList out;
        for (int k = 1; k <= 5; ++k)
            out << window.page(slot)->numbered<QLineEdit>(stem + "%1", k)->text();
        return out;
    };
    const QStringList before = edits(PribParWindow::kAuConnectParams, "leNum");
    emit static_cast<AuConnectParams*>(window.page(PribParWindow::kAuConnectParams))
        ->SigNumsChanged(typed[0], typed[1], typed[2], typed[3], typed[4]);
    QCOMPARE(edits(PribParWindow::kZvonki, "leNum_").value(0), QStringLiteral("916-123-45-67"));
    QCOMPARE(edits(PribParWindow::kDopSMS, "leNum").value(0), QStringLiteral("916-123-45-67"));
    QCOMPARE(edits(PribParWindow::kOtprSMS, "leNum").value(0), QStringLiteral("916-123-45-67"));
    QCOMPARE(edits(PribParWindow::kAuConnectParams, "leNum"), before); // not its own sender

    emit static_cast<OtprSMS*>(window.page(PribParWindow::kOtprSMS))
        ->SigNumsChanged("495-000-00-01", typed[1], typed[2], typed[3], typed[4]);
    QCOMPARE(edits(PribParWindow::kAuConnectParams, "leNum").value(0),
             QStringLiteral("495-000-00-01"));
    QCOMPARE(edits(PribParWindow::kZvonki, "leNum_").value(0), QStringLiteral("495-000-00-01"));
    QCOMPARE(settings.phones->number[0], QStringLiteral("0000000000")); // nothing stored yet
}

// A load of settings takes the file's own values, never a choice a page
// remembered for the settings it replaced.
void TestParametersWindow::loadsForgetRememberedChoices() {
    DeviceFixture fx;
    QVERIFY(WriteSettings(fx.shell.file("d4.ini"), [](DeviceSettings& s) {
        s.header->deviceType = DEV_D4M;
        s.header->versionIndex = int(MainWindow::FirmwareVersions().indexOf("19.04.2012/45"));
        s.extra->techLoop = 2;
        s.extra->useVoicePasswords = 1;
        s.extra->useVoiceMessages = 1;
    }));
    QVERIFY(fx.open());
    // At start-up the 4-loop model with old firmware keeps voice passwords
    // off and remembers what it forced off.
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
}

// Programming right after an edit, without Apply, sends what the pages show
// and asks nothing.
void TestParametersWindow::programmingAppliesPagesSilently() {
    DeviceFixture fx;
    QVERIFY(fx.open());
    QVERIFY(fx.connect(4, QDate(2012, 4, 19), 45));
    auto* window = fx.main->findChild<PribParWindow*>();
    window->findChild<QPushButton*>(QStringLiteral("pbCancel"))->click();
    LeaveZoneUnbound(*window);
    auto* page = window->dopParams();
    page->findChild<QLineEdit*>(QStringLiteral("leCallPrefix"))->setText(QStringLiteral("+375"));
    page->findChild<QCheckBox*>(QStringLiteral("chbUseTamper"))->setChecked(true);
    const int asked = fx.prompt.asked.size();
    const int before = fx.rows();
    fx.action("actProgramming")->trigger();
    QVERIFY(fx.waitForCode(120, before));
    // Only the report of the result; no warning before the run.
    for (int i = asked; i < fx.prompt.asked.size(); ++i)
        QCOMPARE(fx.prompt.asked.at(i).kind, Prompt::Information);
    QCOMPARE(g_deviceSettings->extra->callPrefix, QStringLiteral("+375"));
    const QList<QByteArray> names = fx.sim.SectionsAsked();
    const QList<QByteArray> answers = fx.sim.SectionAnswers();
    QCOMPARE(answers.size(), names.size());
    for (int i = 0; i < names.size(); ++i)
        QCOMPARE(answers.at(i).toHex(' '), proto::BuildSection(names.at(i)).toHex(' '));
    QVERIFY(answers.join().contains("+375"));
}

QTEST_MAIN(TestParametersWindow)
#include "tst_parameterswindow.moc"
