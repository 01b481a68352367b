// The main window's everyday road against the simulated device: the device
// announces itself, settings files and templates are loaded and saved,
// programming and memory reads run through the window's actions, EEPROM image
// files are made, loaded and saved, and sensor type files are picked up.

#include "DeviceFixture.h"

#include "editor/LimNaprSh.h"
#include "editor/PribParWindow.h"
#include "link/LinkTiming.h"
#include "link/Protocol.h"
#include "link/dialogs/ComboItems.h"
#include "service/History.h"
#include "service/RestartCauses.h"
#include "settings/ImageEEPROM.h"
#include "settings/ImageLayout.h"
#include "settings/SensorTypes.h"
#include "settings/SettingsIniFile.h"

#include <QCheckBox>
#include <QDir>
#include <QMenu>
#include <QProgressBar>
#include <QRadioButton>
#include <QToolButton>
#include <QtEndian>

#include <cstring>

namespace {
const QDate k19_04_2012(2012, 4, 19);

// Rows of the version list that carry the connected-device mark.
QList<int> MarkedRows(const QComboBox* versions) {
    QList<int> marked;
    for (int i = 0; i < versions->count(); ++i) {
        if (!versions->itemIcon(i).isNull())
            marked << i;
    }
    return marked;
}

// A sensor type file whose table holds `values` values, value k = 1000 + k.
QByteArray SensorFile(const QByteArray& name, const QByteArray& unit, int values) {
    QByteArray f(sensorfile::kTableOffset + values * sensorfile::kValueSize, '\0');
    f.replace(sensorfile::kNameOffset, name.size(), name);
    f.replace(sensorfile::kUnitOffset, unit.size(), unit);
    for (int k = 0; k < values; ++k) {
        const double v = 1000.0 + k;
        quint64 bits;
        std::memcpy(&bits, &v, sizeof bits);
        qToLittleEndian(bits, f.data() + sensorfile::kTableOffset + k * sensorfile::kValueSize);
    }
    return f;
}
} // namespace

class TestMainWindowOps : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        PrepareApplication();
        kwlink::SetLinkTimeScale(0.1);
    }
    void announcement_data();
    void announcement();
    void announcementLoadsDefaultsUntilEdited();
    void programming_data();
    void programming();
    void memoryRead();
    void imageFiles_data();
    void imageFiles();
    void templatesAndFamilyDefaults();
    void lastFolderSurvivesRestart();
    void unwritableSave();
    void sensorFiles();
    void portChange();
    void headerWidgets();
    void wizardHandOff();
};

void TestMainWindowOps::announcement_data() {
    QTest::addColumn<int>("model");
    QTest::addColumn<QDate>("firmware");
    QTest::addColumn<int>("build");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("logText");
    QTest::addColumn<int>("devType");   // DEV_TYPE in the header afterwards
    QTest::addColumn<QString>("radio"); // checked family radio afterwards
    QTest::addColumn<QString>("row");   // current version row afterwards

    QTest::newRow("Мирвел-К 19.04.2012/45")
        << 4 << k19_04_2012 << 45 << 100
        << "Прибор \"Миврел-К\" версии 19.04.2012/45 готов к программированию" << 3 << "rbVoduzeR"
        << "19.04.2012/45";
    // An unknown release: both placeholders filled; the model is taken,
    // nothing is selected.
    QTest::newRow("unknown version")
        << 3 << QDate(2012, 4, 20) << 3 << 212
        << "Прибор \"Дорна-8М\" 20.04.2012/3 не поддерживается" << 1 << "RbD4M"
        << "21.09.2009";
    QTest::newRow("model 0 with a build")
        << 0 << k19_04_2012 << 3 << 213 << "Прибор данного типа(0) не поддерживается" << 0
        << "RbD4M"
        << "21.09.2009";
}

void TestMainWindowOps::announcement() {
    QFETCH(int, model);
    QFETCH(QDate, firmware);
    QFETCH(int, build);
    QFETCH(int, code);
    QFETCH(QString, logText);
    QFETCH(int, devType);
    QFETCH(QString, radio);
    QFETCH(QString, row);

    DeviceFixture fx;
    QVERIFY(fx.open());
    QSignalSpy connected(fx.main.get(), &MainWindow::SigDeviceWasConnect);
    QCOMPARE(fx.connect(uchar(model), firmware, uchar(build)), code == 100);
    QCOMPARE(fx.codes(), (QList<int>{110, code}));
    QCOMPARE(fx.text(code), logText);

    const DeviceHeader& h = *g_deviceSettings->header;
    auto* versions = fx.widget<QComboBox>("cbVersion");
    QCOMPARE(versions->currentText(), row);
    QVERIFY(fx.widget<QRadioButton>(radio.toLatin1().constData())->isChecked());
    QCOMPARE(h.deviceType, devType);
    QCOMPARE(connected.size(), code == 100 ? 1 : 0);
    QCOMPARE(MarkedRows(versions),
             code == 100 ? QList<int>{versions->currentIndex()} : QList<int>{});
    if (code == 100) // the header keeps the build of the row, not the device's own
        QCOMPARE(h.firmwareSubVersion, row.contains('/') ? row.section('/', 1).toInt() : 1);
}

void TestMainWindowOps::announcementLoadsDefaultsUntilEdited() {
    DeviceFixture fx;
    // The family default of Мирвел-К, also the start-up default.
    QVERIFY(WriteSettings("Keelwright.auto", [](DeviceSettings& s) {
        s.header->deviceType = DEV_VoduzeR;
        s.connection->objectNumber = "7777";
        s.loopLimits->minLevel[2] = 210;
        s.loopLimits->maxLevel[2] = 810;
    }));
    QVERIFY(fx.open());
    g_deviceSettings->connection->objectNumber = "1111";
    QVERIFY(fx.connect(4, k19_04_2012, 45));
    QCOMPARE(fx.objectNumber(), QByteArray("7777"));
    QCOMPARE(g_deviceSettings->loopLimits->defaultMin[2], 210u);
    QCOMPARE(g_deviceSettings->loopLimits->defaultMax[2], 810u);

    // Once the user has applied an edit, a new announcement keeps it; the
    // mark moves to the new version even though the user chose another row.
    fx.main->setSettingsChangeAfterRun();
    g_deviceSettings->connection->objectNumber = "2222";
    auto* versions = fx.widget<QComboBox>("cbVersion");
    versions->setCurrentIndex(0);
    QVERIFY(fx.connect(4, QDate(2012, 5, 9), 30));
    QCOMPARE(fx.objectNumber(), QByteArray("2222"));
    QCOMPARE(versions->currentText(), QStringLiteral("09.05.2012/28"));
    QCOMPARE(MarkedRows(versions), QList<int>{versions->currentIndex()});
}

void TestMainWindowOps::programming_data() {
    QTest::addColumn<bool>("deviceAccepts");
    QTest::addColumn<int>("code");
    QTest::newRow("CR55") << true << 120;
    QTest::newRow("CRZZ") << false << 300;
}

void TestMainWindowOps::programming() {
    QFETCH(bool, deviceAccepts);
    QFETCH(int, code);

    DeviceFixture fx;
    // A file made for this device: its version row is the device's.
    QVERIFY(WriteSettings("user.ini", [](DeviceSettings& s) {
        s.header->deviceType = DEV_VoduzeR;
        s.header->versionIndex = int(MainWindow::FirmwareVersions().indexOf("19.04.2012/45"));
        s.connection->objectNumber = "4242";
        s.header->workMode = MODE_AUTONOMOUS;
        s.phones->number[0] = QStringLiteral("9161234567");
        s.loopLimits->minLevel[1] = 250;
        s.zones->keyLoop[0][1] = 1;
    }));
    QVERIFY(fx.open());
    QVERIFY(fx.connect(4, k19_04_2012, 45));
    fx.prompt.files.enqueue(fx.shell.file("user.ini"));
    fx.action("actOpen")->trigger();
    QCOMPARE(fx.objectNumber(), QByteArray("4242"));
    // What the file says, before the pages store their widgets again.
    const DeviceSettings loaded(*g_deviceSettings);

    fx.sim.SetProgrammingOk(deviceAccepts);
    fx.main->SetWizardActiveStatus(true);
    QSignalSpy relayed(fx.main.get(), &MainWindow::SigSetProgress);
    const int before = fx.rows();
    fx.action("actProgramming")->trigger();
    QVERIFY(fx.waitForCode(code, before));
    QVERIFY(fx.sim.ProgrammingDone() || !deviceAccepts);

    // The device got exactly what the builders make of the loaded settings.
    const QList<QByteArray> asked = fx.sim.SectionsAsked();
    const QList<QByteArray> answers = fx.sim.SectionAnswers();
    QCOMPARE(asked.size(), 8); // 19.04.2012 with a build: CRFF too
    QCOMPARE(answers.size(), asked.size());
    DeviceSettings* const live = g_deviceSettings;
    g_deviceSettings = const_cast<DeviceSettings*>(&loaded);
    QList<QByteArray> expected;
    for (const QByteArray& name : asked)
        expected << proto::BuildSection(name);
    g_deviceSettings = live;
    for (int i = 0; i < asked.size(); ++i)
        QCOMPARE(answers.at(i).toHex(' '), expected.at(i).toHex(' '));

    // 100 per section up to the maximum, relayed to the wizard, then idle.
    int sum = 0;
    for (const auto& step : relayed) {
        QCOMPARE(step.at(1).toInt(), 800);
        sum += step.at(0).toInt();
    }
    QCOMPARE(sum, 800);
    auto* bar = fx.widget<QProgressBar>("progressBar");
    if (deviceAccepts) // a refusal resets the bar to the link's own maximum
        QCOMPARE(bar->maximum(), 800);
    QCOMPARE(bar->value(), 0);
    QVERIFY(!fx.codes(before).contains(deviceAccepts ? 300 : 120));
}

void TestMainWindowOps::memoryRead() {
    DeviceFixture fx;
    QVERIFY(fx.open());
    QVERIFY(fx.connect(4, k19_04_2012, 45));

    // An unprogrammed device: 210, the settings stay.
    const QByteArray number = g_deviceSettings->connection->objectNumber;
    fx.sim.SetMemoryImage(QByteArray(image::kSize, image::kErased));
    int before = fx.rows();
    fx.action("actReadEEPROM")->trigger();
    QVERIFY(fx.waitForCode(210, before));
    QVERIFY(!fx.codes(before).contains(121));
    QCOMPARE(g_deviceSettings->connection->objectNumber, number);
    QVERIFY(fx.hintShown(fx.main->history()));

    // A programmed device: settings, widgets and journal windows follow it.
    DeviceSettings device(*g_deviceSettings);
    device.header->workMode = MODE_AUTONOMOUS;
    device.connection->objectNumber = "4321";
    device.zones->keyLoop[0].fill(0);
    device.zones->keyLoop[0][0] = 1;
    device.zones->keyLoop[1].fill(0);
    device.zones->keyLoop[1][1] = 1; // keys bound to different loops: complex
    device.extra->techLoop = 0;
    device.loopLimits->maxLevel[2] = 777;
    fx.sim.SetMemoryImage(ImageEEPROM::BuildImage(device));
    QVERIFY(fx.checked("Rbtobjpr"));
    before = fx.rows();
    fx.action("actReadEEPROM")->trigger();
    QVERIFY(fx.waitForCode(121, before));
    QTRY_VERIFY_WITH_TIMEOUT(fx.checked("RbRegAuto"), DeviceFixture::kSlowMs);
    QCOMPARE(fx.objectNumber(), QByteArray("4321"));
    QCOMPARE(g_deviceSettings->header->objectType, int(OBJ_COMPLEX));
    QVERIFY(fx.checked("Rbtobjsl"));
    QCOMPARE(g_deviceSettings->loopLimits->maxLevel[2], 777u);
    QVERIFY(!fx.hintShown(fx.main->history()));
    QVERIFY(!fx.hintShown(fx.main->restartCauses()));
    QCOMPARE(fx.widget<QProgressBar>("progressBar")->value(), 0);

    fx.main->show(); // to be looked at
    QVERIFY(fx.main->grab().save(QDir::tempPath() + QStringLiteral("/keelwright-after-read.png")));
}

void TestMainWindowOps::imageFiles_data() {
    QTest::addColumn<int>("model");
    QTest::addColumn<QDate>("firmware");
    QTest::addColumn<int>("build");
    QTest::addColumn<int>("readLength");
    QTest::newRow("19.04.2012") << 4 << k19_04_2012 << 45 << image::kReadSizeFull;
    QTest::newRow("16.08.2010") << 1 << QDate(2010, 8, 16) << 0 << image::kReadSizeMiddle;
}

void TestMainWindowOps::imageFiles() {
    QFETCH(int, model);
    QFETCH(QDate, firmware);
    QFETCH(int, build);
    QFETCH(int, readLength);

    DeviceFixture fx;
    QVERIFY(fx.open());
    QVERIFY(fx.connect(uchar(model), firmware, uchar(build)));

    // Made from the settings: the full image, whatever the firmware reads.
    g_deviceSettings->connection->objectNumber = "3141";
    fx.prompt.files.enqueue(fx.shell.file("made.image"));
    fx.action("actCreateEEPROM")->trigger();
    const QByteArray made = ReadAll(fx.shell.file("made.image"));
    QCOMPARE(made.size(), image::kSize);
    QCOMPARE(made, ImageEEPROM::BuildImage(*g_deviceSettings));

    // Loaded back: the settings return to it and the windows refill.
    g_deviceSettings->connection->objectNumber = "0000";
    fx.prompt.files.enqueue(fx.shell.file("made.image"));
    fx.action("actLoadEEPROM")->trigger();
    QCOMPARE(fx.objectNumber(), QByteArray("3141"));
    QVERIFY(!fx.hintShown(fx.main->history()));

    // A file cut short is refused and changes nothing.
    QVERIFY(WriteAll(fx.shell.file("short.image"), made.left(1788)));
    g_deviceSettings->connection->objectNumber = "0000";
    fx.prompt.files.enqueue(fx.shell.file("short.image"));
    fx.action("actLoadEEPROM")->trigger();
    QCOMPARE(fx.objectNumber(), QByteArray("0000"));
    QCOMPARE(fx.prompt.count(QStringLiteral("Не удалось загрузить образ EEPROM!")), 1);

    // A device read kept as a file: the bytes the device sent, of its length,
    // and the settings are not decoded from it.
    DeviceSettings device(*g_deviceSettings);
    device.connection->objectNumber = "2718";
    QByteArray memory = ImageEEPROM::BuildImage(device);
    memory.resize(readLength);
    memory[readLength - 1] = '\x42';
    fx.sim.SetMemoryImage(memory);
    fx.prompt.files.enqueue(fx.shell.file("read.image"));
    fx.action("actSaveEEPROM")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(fx.shell.file("read.image")), DeviceFixture::kSlowMs);
    QCOMPARE(ReadAll(fx.shell.file("read.image")), memory);
    QCOMPARE(fx.objectNumber(), QByteArray("0000"));

    // A device that stops answering: the link gives up, the mark of its
    // version goes, the wizard hears of it. The save it never completed
    // leaves no trace: the next plain read is decoded, not offered for saving.
    auto* versions = fx.widget<QComboBox>("cbVersion");
    const int marked = versions->currentIndex();
    fx.main->SetWizardActiveStatus(true);
    QSignalSpy timeOut(fx.main.get(), &MainWindow::SigReadTimeOut);
    fx.sim.SetSilent(true);
    fx.prompt.files.enqueue(fx.shell.file("never.image"));
    int before = fx.rows();
    fx.action("actSaveEEPROM")->trigger();
    QVERIFY(fx.waitForCode(301, before));
    QTRY_VERIFY_WITH_TIMEOUT(MarkedRows(versions).isEmpty(), DeviceFixture::kSlowMs);
    QVERIFY(!timeOut.isEmpty());
    QCOMPARE(versions->currentIndex(), marked); // the row itself stays chosen
    QVERIFY(fx.main->portWork()->IsPortOpen());
    fx.main->SetWizardActiveStatus(false);
    fx.sim.Reset();
    fx.prompt.files.clear();
    fx.sim.SetMemoryImage(memory);
    before = fx.rows();
    const int dialogs = fx.prompt.asked.size();
    fx.action("actReadEEPROM")->trigger();
    QVERIFY(fx.waitForCode(121, before));
    QCOMPARE(fx.prompt.asked.size(), dialogs);
    QCOMPARE(fx.objectNumber(), QByteArray("2718"));
    QVERIFY(!QFile::exists(fx.shell.file("never.image")));

    // With the port closed saving a read does nothing at all.
    fx.action("actOpenClosePort")->trigger();
    QVERIFY(!fx.main->portWork()->IsPortOpen());
    const int asked = fx.prompt.asked.size();
    fx.action("actSaveEEPROM")->trigger();
    QCOMPARE(fx.prompt.asked.size(), asked);
}

void TestMainWindowOps::templatesAndFamilyDefaults() {
    DeviceFixture fx;
    QVERIFY(QDir().mkdir("templates"));
    QVERIFY(WriteAll("templates/c.tmpl", "[Form1]\nno levels here\n"));
    QVERIFY(WriteAll("templates/notes.txt", "not a template"));
    QVERIFY(WriteSettings("templates/a.tmpl", [](DeviceSettings& s) {
        s.header->deviceType = DEV_VororaZ;
        s.header->workMode = MODE_AUTONOMOUS;
        s.connection->objectNumber = "2468";
    }));
    QVERIFY(WriteSettings("Keelwright.dev8", [](DeviceSettings& s) {
        s.header->deviceType = DEV_D8M;
        s.connection->objectNumber = "8888";
        s.loopLimits->minLevel.fill(123);
        s.loopLimits->maxLevel.fill(901);
    }));
    QVERIFY(fx.open());

    // The templates, sorted, in the File menu and the open button's menu.
    QStringList names;
    for (QAction* a : fx.main->templateActions())
        names << a->text();
    QCOMPARE(names, (QStringList{"a", "c"}));
    QCOMPARE(fx.main->templatesMenu()->actions(), fx.main->templateActions());
    QCOMPARE(fx.main->openButton()->menu()->actions().mid(2), fx.main->templateActions());

    // A template loads and is shown; a damaged one is refused aloud.
    fx.main->templateActions().at(1)->trigger();
    QCOMPARE(fx.prompt.count(QStringLiteral("Ошибка чтения. Возможно файл повреждён.")), 1);
    QCOMPARE(fx.objectNumber(), QByteArray("0001"));
    fx.main->templateActions().at(0)->trigger();
    QCOMPARE(fx.objectNumber(), QByteArray("2468"));
    QVERIFY(fx.checked("rbVororaZ"));
    QVERIFY(fx.checked("RbRegAuto"));

    // A family change reads the model's default loop thresholds when its
    // file exists, and only then.
    const auto defaultMin = g_deviceSettings->loopLimits->defaultMin;
    fx.widget<QRadioButton>("RbD4M")->click();
    QCOMPARE(g_deviceSettings->header->deviceType, int(DEV_D4M));
    QCOMPARE(g_deviceSettings->zones->loopCount, 4);
    QCOMPARE(g_deviceSettings->loopLimits->defaultMin, defaultMin);
    fx.widget<QRadioButton>("RbD8M")->click();
    QCOMPARE(g_deviceSettings->zones->loopCount, 8);
    QCOMPARE(g_deviceSettings->loopLimits->defaultMin[7], 123u);
    QCOMPARE(g_deviceSettings->loopLimits->defaultMax[0], 901u);
    QCOMPARE(fx.objectNumber(), QByteArray("2468"));

    // The wizard's default load takes the model's file when there is one.
    fx.main->LoadDefaultSettings(DEV_D8M);
    QCOMPARE(fx.objectNumber(), QByteArray("8888"));
    fx.main->LoadDefaultSettings(7);
    QCOMPARE(fx.objectNumber(), QByteArray("8888"));
}

void TestMainWindowOps::lastFolderSurvivesRestart() {
    DeviceFixture fx;
    QVERIFY(QDir().mkpath("site/one"));
    QVERIFY(QDir().mkpath("site/two"));
    const QString one = fx.shell.file("site/one/");
    const QString two = fx.shell.file("site/two/");
    QVERIFY(WriteSettings(one + "object.ini",
                          [](DeviceSettings& s) { s.connection->objectNumber = "1234"; }));
    QVERIFY(WriteAll(two + "broken.ini", "[Form1]\nnothing useful\n"));
    QVERIFY(fx.open());
    QCOMPARE(fx.main->lastUsedPath(), QString());

    fx.prompt.files.enqueue(one + "object.ini");
    fx.action("actOpen")->trigger();
    QCOMPARE(fx.objectNumber(), QByteArray("1234"));
    QCOMPARE(fx.main->lastUsedPath(), one);

    // A damaged file: refused with the message, the folder stays.
    fx.prompt.files.enqueue(two + "broken.ini");
    fx.action("actOpen")->trigger();
    QCOMPARE(fx.prompt.count(QStringLiteral("Ошибка чтения. Возможно файл повреждён.")), 1);
    QCOMPARE(fx.main->lastUsedPath(), one);

    // A save moves the folder and writes what the window holds.
    g_deviceSettings->connection->objectNumber = "4321";
    fx.prompt.files.enqueue(two + "saved.ini");
    fx.action("actSave")->trigger();
    QCOMPARE(fx.main->lastUsedPath(), two);
    DeviceSettings saved;
    QVERIFY(LoadSettingsFile(two + "saved.ini", &saved));
    QCOMPARE(saved.connection->objectNumber, QByteArray("4321"));

    // A new main window starts where the last one left off.
    fx.main.reset();
    fx.open();
    QCOMPARE(fx.main->lastUsedPath(), two);
    // A remembered folder that has gone is dropped.
    fx.main.reset();
    QVERIFY(QDir(two).removeRecursively());
    fx.open();
    QCOMPARE(fx.main->lastUsedPath(), QString());
}

void TestMainWindowOps::unwritableSave() {
    DeviceFixture fx;
    QVERIFY(QDir().mkpath("locked"));
    QVERIFY(QDir().mkpath("open"));
    const QString locked = fx.shell.file("locked/");
    const QByteArray old = "[Form1]\nleObjNum=0007\n";
    QVERIFY(WriteAll(locked + "old.ini", old));
    QVERIFY(fx.open());
    fx.prompt.files.enqueue(fx.shell.file("open/first.ini"));
    fx.action("actSave")->trigger();
    const QString folder = fx.main->lastUsedPath();
    QCOMPARE(folder, fx.shell.file("open/"));
    const QByteArray cfg = ReadAll(fx.shell.file("Settings.cfg"));
    const int rows = fx.rows();
    const int asked = fx.prompt.asked.size();

    QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner));
    bool bound = false;
    {
        WithoutPermissionOverride guard;
        bound = !WithoutPermissionOverride::canCreateIn(locked);
        if (bound) {
            fx.prompt.files.enqueue(locked + "old.ini");
            fx.action("actSave")->trigger();
        }
    }
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!bound)
        QSKIP("folder permissions cannot be enforced here");

    QCOMPARE(fx.prompt.asked.size(), asked + 2); // the dialog, then the message
    QCOMPARE(fx.prompt.asked.last().kind, Prompt::Critical);
    QCOMPARE(ReadAll(locked + "old.ini"), old);
    QCOMPARE(fx.main->lastUsedPath(), folder);
    QCOMPARE(ReadAll(fx.shell.file("Settings.cfg")), cfg);
    QCOMPARE(fx.rows(), rows);
}

// What the window takes from the "sensors" folder at start-up; the scan
// itself is tst_sensortypes'.
void TestMainWindowOps::sensorFiles() {
    DeviceFixture fx;
    QVERIFY(QDir().mkdir("sensors"));
    QVERIFY(WriteAll("sensors/Sensor_type_b.dat",
                     SensorFile("\xc4\xe0\xe2\xeb\xe5\xed\xe8\xe5", "\xea\xcf\xe0", kAdcCodes)));
    QVERIFY(WriteAll("sensors/sensor_type_a.dat", SensorFile("short", "V", 10)));
    QVERIFY(fx.open());

    // The short file is refused and named; the other is read from Windows-1251.
    const auto& sensors = g_deviceSettings->loopLimits->sensors;
    QCOMPARE(sensors.size(), 1);
    QCOMPARE(sensors.at(0).name, QStringLiteral("Давление"));
    QCOMPARE(fx.prompt.count(QStringLiteral("sensor_type_a.dat")), 1);

    // The loop-limits page offers it (what pages and test window make of a
    // record is tst_neighbours').
    auto* choice = fx.main->pribParWindow()->limNaprSh()->findChild<QComboBox*>("cmbSensors_3");
    QCOMPARE(ComboItems(choice), QStringList{QStringLiteral("Давление")});
}

void TestMainWindowOps::portChange() {
    DeviceFixture fx;
    QVERIFY(fx.open());
    QVERIFY(fx.connect(4, k19_04_2012, 45));

    // Another COM port chosen while one is open: the open one is closed and
    // reported under its own number; the new one waits for the toggle.
    const int deviceCom = AddComPortPath(fx.sim.SlavePath());
    QSignalSpy status(fx.main.get(), &MainWindow::SigPortOpenStatus);
    const int before = fx.rows();
    fx.main->choosePort()->findChild<QComboBox*>("cbPort")->setCurrentIndex(fx.shell.comNumber - 1);
    fx.main->choosePort()->ApplyClick();
    QVERIFY(!fx.main->portWork()->IsPortOpen());
    QCOMPARE(fx.codes(before), QList<int>{111});
    QCOMPARE(fx.text(111), QStringLiteral("COM-порт COM%1 успешно закрыт").arg(deviceCom));
    QCOMPARE(status.size(), 1);

    // A line that goes dead under an open port: the toggle shows it closed.
    fx.main->choosePort()->findChild<QComboBox*>("cbPort")->setCurrentIndex(deviceCom - 1);
    fx.main->choosePort()->ApplyClick();
    fx.action("actOpenClosePort")->trigger();
    QVERIFY(fx.main->portWork()->IsPortOpen());
    status.clear();
    fx.sim.HangUp();
    QTRY_VERIFY_WITH_TIMEOUT(!fx.main->portWork()->IsPortOpen(), DeviceFixture::kSlowMs);
    QTRY_COMPARE_WITH_TIMEOUT(status.size(), 1, DeviceFixture::kSlowMs);
    QCOMPARE(status.at(0).at(0).toInt(), 1);
    QVERIFY(!fx.main->choosePort()->portOpen);
}

// The rules behind these widgets are tst_mainwindowrules'; here that the
// widgets reach the header and the actions follow.
void TestMainWindowOps::headerWidgets() {
    DeviceFixture fx;
    QVERIFY(fx.open());
    const DeviceHeader& h = *g_deviceSettings->header;
    auto* versions = fx.widget<QComboBox>("cbVersion");
    auto enabled = [&fx](const char* action) { return fx.action(action)->isEnabled(); };

    versions->setCurrentText(QStringLiteral("03.12.2010/67"));
    QCOMPARE(h.firmwareSubVersion, 67);
    QCOMPARE(h.versionIndex, versions->currentIndex());
    QVERIFY(enabled("actTime") && !enabled("actThermsDS"));
    versions->setCurrentText(QStringLiteral("19.04.2012/1"));
    QCOMPARE(h.firmwareDate, k19_04_2012);
    QVERIFY(enabled("actThermsDS"));

    // Voice messages follow the work mode as well.
    g_deviceSettings->extra->useVoiceMessages = 1;
    QVERIFY(!fx.action("actSounds")->isVisible()); // until the hidden key combination
    QTest::keyClick(versions, Qt::Key_S, Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    QVERIFY(fx.action("actSounds")->isVisible());
    QVERIFY(!enabled("actSounds"));
    fx.widget<QRadioButton>("RbRegAuto")->setChecked(true);
    QCOMPARE(h.workMode, int(MODE_AUTONOMOUS));
    QVERIFY(enabled("actSounds"));
    fx.widget<QRadioButton>("RbRegKsar")->setChecked(true);
    QVERIFY(!enabled("actSounds"));

    // The SIM cards: use, balance check and operator.
    fx.widget<QCheckBox>("cbUseSIM1")->setChecked(false);
    QCOMPARE(h.useSim[0], u8(0));
    QVERIFY(!fx.widget<QCheckBox>("cbBalance1")->isEnabled());
    QVERIFY(!fx.widget<QComboBox>("CbOperators1")->isEnabled());
    fx.widget<QCheckBox>("cbBalance2")->click();
    QCOMPARE(h.checkBalance[1], u8(0));
    fx.widget<QComboBox>("CbOperators2")->setCurrentIndex(4);
    QCOMPARE(h.simOperator[1], 4);

    // A shorter operator list changes no index: one it no longer holds shows
    // no row (and is sent as a SIM not in use).
    g_deviceSettings->gsmOperators = g_deviceSettings->gsmOperators.mid(0, 2);
    fx.main->ReCreateOperList();
    QCOMPARE(h.simOperator[1], 4);
    QCOMPARE(fx.widget<QComboBox>("CbOperators2")->currentIndex(), -1);
}

void TestMainWindowOps::wizardHandOff() {
    DeviceFixture fx;
    QVERIFY(fx.open());
    QVERIFY(fx.connect(4, k19_04_2012, 45));
    auto* versions = fx.widget<QComboBox>("cbVersion");

    // The wizard's choice without programming: model, version, autonomous.
    fx.main->SetupOptionsFromMaster(DEV_D8M, QStringLiteral("16.08.2010"), false);
    QVERIFY(fx.checked("RbD8M"));
    QVERIFY(fx.checked("RbRegAuto"));
    QCOMPARE(versions->currentText(), QStringLiteral("16.08.2010"));
    QTest::qWait(200);
    QVERIFY(fx.sim.SectionsAsked().isEmpty());

    // A version the list does not have leaves no row chosen.
    fx.main->SetupOptionsFromMaster(DEV_D8M, QStringLiteral("16.08.2011"), false);
    QCOMPARE(versions->currentIndex(), -1);

    // With programming: the device is programmed at once.
    const int before = fx.rows();
    fx.main->SetupOptionsFromMaster(DEV_VoduzeR, QStringLiteral("19.04.2012/45"), true);
    QVERIFY(fx.waitForCode(120, before));
    QCOMPARE(fx.sim.SectionsAsked().size(), 8);

    // A lost device matters to the wizard only while it runs and a port is open.
    QSignalSpy timeOut(fx.main.get(), &MainWindow::SigReadTimeOut);
    fx.main->SetDeviceLoseForWizard();
    QVERIFY(timeOut.isEmpty());
    fx.main->SetWizardActiveStatus(true);
    fx.main->SetDeviceLoseForWizard();
    QCOMPARE(timeOut.size(), 1);
    fx.main->ClosePortFromMaster();
    QVERIFY(!fx.main->portWork()->IsPortOpen());
    fx.main->SetDeviceLoseForWizard();
    QCOMPARE(timeOut.size(), 1);
}

QTEST_MAIN(TestMainWindowOps)
#include "tst_mainwindow_ops.moc"
