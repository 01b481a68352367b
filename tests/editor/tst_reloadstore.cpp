// Whatever the codec can produce (the defaults of every model and mode, a
// decoded memory image, a loaded settings file), the load path of the main
// window makes every page of the parameters window show it and store it
// again: the settings must come out as they went in.

#include "../app/AppTestSupport.h"
#include "support/SettingsFixtures.h"

#include "app/MainWindow.h"
#include "editor/PribParWindow.h"
#include "pagebase/ParamsPage.h"
#include "settings/Firmware.h"
#include "settings/ImageDecoder.h"
#include "settings/ImageLayout.h"
#include "settings/MainWindowRules.h"
#include "settings/SettingsIniFile.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QRandomGenerator>

namespace {

const QStringList kVersions = {"21.09.2009", "03.12.2010/33", "19.04.2012/45", "18.12.2018/1"};

// The zones follow from the key-to-loop table on every reload, the loop count
// from the model: neither is the loaded value.
const QStringList kDerived = {"zones->keyZone", "zones->loopZone", "zones->zoneCount",
                              "zones->loopCount"};
// Texts through input masks and validators, numbers through spin-box ranges:
// a random image holds garbage there that the pages rightly do not keep.
const QStringList kMasked =
    QStringLiteral("phones->number consoleSms->number remoteProg->phoneNumber servers->serverIp "
                   "servers->serverPort servers->serverPassword sntp->sntpIp sntp->sntpPort "
                   "connection->objectNumber navigation->distanceFilter outputs->adminPassword "
                   "outputs->userPassword phoneOptions->callAttempts servers->udPop "
                   "connection->rapidResponseAttempts connection->testAttempts")
        .split(' ');

// What the pages make of loaded settings by their own rules: the model's
// loops and families, the firmware's lists, the one-of-two buttons. Choices
// on loops past the model go aside only when a load chooses the model; a
// memory read keeps the model shown and what it cannot show.
void Normalise(DeviceSettings& s, bool modelChosen) {
    const DeviceHeader& h = *s.header;
    const bool from2018 = FwOnOrAfter(h, fw::k18_12_2018);
    const int loops = LoopCountOf(h.deviceType);
    const bool secondFamily = h.deviceType == DEV_VororaZ || h.deviceType == DEV_VoduzeR;
    ConnectionParams& c = *s.connection;
    // An autonomous model without the GPRS page always connects over GPRS.
    if (IsAutonomous(h) && !(FwOnOrAfter(h, fw::k15_04_2010) && h.deviceType == DEV_VoduzeR))
        c.connectByGprs = 1;
    const QList<int> protocols = from2018 ? QList<int>{2, 1} : QList<int>{0, 2, 1};
    if (!protocols.contains(c.serverProtocol))
        c.serverProtocol = protocols.first();
    if (!IsAutonomous(h))
        c.testAttempts = std::clamp(c.testAttempts, 1, 9);
    for (auto* attempts :
         {&s.phoneOptions->callAttemptsOpenClose, &s.phoneOptions->callAttemptsAlarm})
        for (i32& a : *attempts)
            a = std::clamp(a, 0, 9);
    SntpSettings& sn = *s.sntp;
    sn.cb3 = from2018 || !sn.cb4;
    sn.cb4 = from2018 || sn.cb4;
    s.navigation->updateTimeFromGps = secondFamily && s.navigation->updateTimeFromGps;
    if (s.navigation->distanceFilter == "0")
        s.navigation->distanceFilter = "0000";

    ExtraOptions& e = *s.extra;
    for (auto [on, loop, time] :
         {std::tie(e.armDelayOn, e.armDelayLoop, e.armDelayTime),
          std::tie(e.disarmDelayOn, e.disarmDelayLoop, e.disarmDelayTime)}) {
        if (modelChosen && on == 0 && loop >= loops) // parked until a model has the loop
            std::tie(on, loop, time) = std::tuple(1, 0, 0);
        if (on)
            loop = 0;
    }
    if (modelChosen && e.techLoop > loops && e.techLoop <= kLoops) // kept for a model with it
        e.techLoop = 0;
    if (h.deviceType == DEV_D4M && !FwOnOrAfter(h, fw::k19_04_2012))
        e.useVoicePasswords = 0;

    OutputsConfig& o = *s.outputs;
    for (QString* p :
         {&o.adminPassword[0], &o.adminPassword[1], &o.userPassword[0], &o.userPassword[1]})
        *p = secondFamily ? "FF" + p->right(2) : *p;
    if (h.objectType == OBJ_SIMPLE) // the one zone
        o.outputZone.fill(0);
    LoopLimits& l = *s.loopLimits;
    if (modelChosen && h.deviceType != DEV_D4M)
        l.sensorType[6] = secondFamily ? 1 : 0;
    for (int j = 0; j < kLoops; ++j) {
        l.maxLevel[j] = std::min(l.maxLevel[j], u32(kAdcCodes - 1));
        l.minLevel[j] = std::min(l.minLevel[j], l.maxLevel[j]);
    }
    const int cameraLoops = h.deviceType == DEV_D4M ? 4 : secondFamily ? 6 : 8;
    for (int j = cameraLoops; j < kLoops && modelChosen; ++j)
        s.cameras->execCamera[j].fill(0);
    TimeTriggers& t = *s.timeTriggers;
    for (int i = 0; i < kTimeTriggers; ++i) {
        if (t.evTime[i].isNull())
            t.evTime[i] = QTime(0, 0);
        if (t.evType[i] < 0 || t.evType[i] > 3)
            t.evType[i] = 0;
    }
}

} // namespace

class TestReloadStore : public QObject {
    Q_OBJECT

private slots:
    void reloadThenStore_data();
    void reloadThenStore();

private:
    ShellFixture shell; // before the window, which starts up in its folder
    MainWindow main;
};

void TestReloadStore::reloadThenStore_data() {
    QTest::addColumn<QString>("source"); // defaults, image or file
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("version");
    for (const QString& version : kVersions) {
        for (int type = DEV_D4M; type <= DEV_VoduzeR; ++type) {
            for (int mode : {0, 1}) {
                const QString tag =
                    QStringLiteral(" %1 type %2 mode %3").arg(version).arg(type).arg(mode);
                for (const QString source : {"defaults", "image", "file"})
                    QTest::newRow(qPrintable(source + tag)) << source << type << mode << version;
            }
        }
    }
}

void TestReloadStore::reloadThenStore() {
    QFETCH(QString, source);
    QFETCH(int, type);
    QFETCH(int, mode);
    QFETCH(QString, version);

    DeviceSettings loaded =
        source == "file" ? fixtures::Rich(version) : fixtures::Defaults(version);
    loaded.header->deviceType = type;
    loaded.header->workMode = mode;
    loaded.header->versionIndex = int(MainWindow::FirmwareVersions().indexOf(version));
    loaded.zones->loopCount = LoopCountOf(type);
    if (source == "file") {
        // A technological loop carries neither keys nor a delay.
        for (auto& key : loaded.zones->keyLoop)
            key[size_t(loaded.extra->techLoop - 1)] = 0;
        loaded.extra->disarmDelayLoop = 2;
        const QString name = shell.file("rich.ini");
        QVERIFY(SaveSettingsFile(name, &loaded));
        DeviceSettings read = fixtures::Defaults(version);
        QVERIFY(LoadSettingsFile(name, &read));
        loaded = read;
    }

    *g_deviceSettings = loaded;
    main.ApplyLoadedSettings();
    if (source == "image") {
        // A memory read of a device that announced this model and version:
        // the image over the settings shown, then every page reloads, and
        // the next apply or programming run stores what they show.
        QRandomGenerator random(uint(type * 2 + mode + 1) * 7919u +
                                uint(kVersions.indexOf(version)));
        QByteArray bytes(image::kSize, '\0');
        for (char& c : bytes)
            c = char(random.bounded(256));
        bytes[0] = 'Z';
        QVERIFY(ParseImage(bytes, g_deviceSettings, shell.dir.path()));
        g_deviceSettings->header->objectType =
            InferObjectType(*g_deviceSettings->zones, *g_deviceSettings->extra);
        loaded = *g_deviceSettings;
        main.FillFieldsFromStruct();
        main.pribParWindow()->applySettings();
    }
    DeviceSettings expected = loaded;
    const auto differences = [&](const QStringList& skip = {}) {
        return fixtures::Differences(*g_deviceSettings, expected, skip).join("\n");
    };
    Normalise(expected, source != "image");
    const QStringList skip = source == "image" ? kDerived + kMasked : kDerived;
    QCOMPARE(differences(skip), QString());
    // A second reload and store changes nothing at all.
    expected = *g_deviceSettings;
    PribParWindow* window = main.pribParWindow();
    window->findChild<QPushButton*>("pbCancel")->click();
    window->applySettings();
    QCOMPARE(differences(), QString());
    // Every page of the list entered, then OK.
    auto* list = window->findChild<QListWidget*>("ListParams");
    for (int row = 0; row < list->count(); ++row)
        list->setCurrentRow(row);
    window->findChild<QPushButton*>("pbOk")->click();
    QCOMPARE(differences(), QString());
    // A combo box showing no item stores nothing.
    for (QComboBox* c : window->findChildren<QComboBox*>())
        c->setCurrentIndex(-1);
    window->applySettings();
    QCOMPARE(differences(), QString());
    window->findChild<QPushButton*>("pbCancel")->click();

    // Every model, the other mode and every firmware chosen in the main
    // window, then the loaded ones again: what a gate hid comes back.
    const char* radios[] = {"RbD4M", "RbD8M", "rbVororaZ", "rbVoduzeR"};
    for (int t : {0, 1, 2, 3, type})
        main.findChild<QAbstractButton*>(radios[t])->click();
    const bool autonomous = IsAutonomous(*g_deviceSettings->header);
    for (const char* radio : {"RbRegKsar", "RbRegAuto", autonomous ? "RbRegAuto" : "RbRegKsar"})
        main.findChild<QAbstractButton*>(radio)->click();
    auto* versions = main.findChild<QComboBox*>("cbVersion");
    for (const QString& v : kVersions + QStringList{version})
        versions->setCurrentIndex(int(MainWindow::FirmwareVersions().indexOf(v)));
    window->applySettings();
    Normalise(expected, true); // the model is chosen now
    if (!FwLaterThan(*g_deviceSettings->header, fw::k21_09_2009))
        expected.extra->techLoop = 0; // no such loop there: the apply stores none
    // Written at once by a model with fewer loops, and not given back; an
    // image's keys and delays on its technological loop go when the loop is
    // chosen again.
    QStringList atOnce = {"cameras->execCamera", "loopLimits->sensorType[6]"};
    if (source == "image")
        atOnce << "zones->keyLoop"
               << "extra->armDelay"
               << "extra->disarmDelay";
    QCOMPARE(differences(skip + atOnce), QString());
}

QTEST_MAIN(TestReloadStore)
#include "tst_reloadstore.moc"
