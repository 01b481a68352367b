// Through the real main window and the simulated device: the outputs, call
// list, cameras and time-of-day pages reached by their titles and edited,
// a zone renamed on the zones page, OK; the values in the settings, in the
// sections programmed into the device and in a saved settings file loaded again.

#include "../app/DeviceFixture.h"
#include "PageTestSupport.h"

#include "editor/PribParWindow.h"
#include "editor/base/ParamsPage.h"
#include "link/Protocol.h"
#include "support/SettingsFixtures.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QStackedWidget>
#include <QTableView>
#include <QTimeEdit>

namespace {
const QString tOutputs = QStringLiteral("Функции выходов");
const QString tCalls = QStringLiteral("Извещения по шлейфам");
const QString tCameras = QStringLiteral("Параметры камер");
const QString tTriggers = QStringLiteral("События по времени");

// Shows the page of the title as a user would, through the list.
QWidget* Open(PribParWindow* win, const QString& title) {
    auto* list = win->findChild<QListWidget*>(QStringLiteral("ListParams"));
    const auto items = list->findItems(title, Qt::MatchExactly);
    if (items.size() != 1)
        return nullptr;
    list->setCurrentItem(items.first());
    return win->findChild<QStackedWidget*>(QStringLiteral("stackedWidget"))->currentWidget();
}

// The fields of the blocks these pages edit.
QMap<QString, QString> Edited(const DeviceSettings& s) {
    QMap<QString, QString> out;
    const auto all = fixtures::Dump(s);
    for (auto it = all.begin(); it != all.end(); ++it) {
        for (const char* block : {"outputs->", "callMatrix->", "cameras->", "timeTriggers->"})
            if (it.key().startsWith(QLatin1String(block)))
                out.insert(it.key(), it.value());
    }
    return out;
}

QByteArray Section(const DeviceSettings& s, const QByteArray& name) {
    DeviceSettings* live = g_deviceSettings;
    g_deviceSettings = const_cast<DeviceSettings*>(&s);
    const QByteArray bytes = proto::BuildSection(name);
    g_deviceSettings = live;
    return bytes;
}
} // namespace

class TestOutputsWindow : public QObject {
    Q_OBJECT

private slots:
    void endToEnd_data();
    void endToEnd();
};

void TestOutputsWindow::endToEnd_data() {
    QTest::addColumn<int>("model");
    QTest::addColumn<QDate>("fw");
    QTest::addColumn<int>("build");
    QTest::addColumn<bool>("cameras"); // else the time-of-day events
    QTest::addColumn<QByteArrayList>("changed");
    // No release has both pages: the camera table exists only on 03.12.2010,
    // the time-of-day events from 19.04.2012.
    QTest::newRow("cameras release")
        << 2 << QDate(2010, 12, 3) << 33 << true << QByteArrayList{"CRQQ", "CR99"};
    QTest::newRow("time-of-day release")
        << 4 << QDate(2012, 4, 19) << 45 << false << QByteArrayList{"CRQQ", "CR99", "CRFF"};
}

void TestOutputsWindow::endToEnd() {
    QFETCH(int, model);
    QFETCH(QDate, fw);
    QFETCH(int, build);
    QFETCH(bool, cameras);
    QFETCH(QByteArrayList, changed);

    DeviceFixture fx;
    const QString version = fw.toString(QStringLiteral("dd.MM.yyyy/")) + QString::number(build);
    QVERIFY(WriteSettings("start.ini", [&](DeviceSettings& s) {
        s.header->deviceType = DEV_VoduzeR;
        s.header->versionIndex = int(MainWindow::FirmwareVersions().indexOf(version));
        s.header->workMode = MODE_AUTONOMOUS;
        // Two zones: key 1 with loops 1 and 2, key 2 with loop 3.
        s.header->objectType = OBJ_COMPLEX;
        s.zones->zoneCount = 2;
        s.zones->zoneName = {"Склад", "Офис"};
        s.zones->keyLoop[0] = {1, 1};
        s.zones->keyLoop[1] = {0, 0, 1};
        s.zones->keyZone[0][0] = s.zones->keyZone[1][1] = 1;
        s.zones->loopZone[0][0] = s.zones->loopZone[1][0] = s.zones->loopZone[2][1] = 1;
    }));
    QVERIFY(fx.open());
    QVERIFY(fx.connect(uchar(model), fw, uchar(build)));
    fx.prompt.files.enqueue(fx.shell.file("start.ini"));
    fx.action("actOpen")->trigger();
    QCOMPARE(g_deviceSettings->header->deviceType, int(DEV_VoduzeR));
    const DeviceSettings loaded(*g_deviceSettings);

    auto* win = fx.main->findChild<PribParWindow*>();
    win->show();
    QWidget* outputs = Open(win, tOutputs);
    QCOMPARE(outputs, win->page(PribParWindow::kExitFunc));
    choose(outputs, QStringLiteral("CombobV1"), 4);
    auto* pass = child<QLineEdit>(outputs, QStringLiteral("lePass1"));
    pass->clear();
    QTest::keyClicks(pass, QStringLiteral("1a"));
    choose(outputs, QStringLiteral("CombobV2"), 3);
    choose(outputs, QStringLiteral("CombobV3"), cameras ? 1 : 2);
    auto* zone = child<QComboBox>(outputs, QStringLiteral("combZone_3"));
    QCOMPARE(zone->count(), 3);
    zone->setCurrentIndex(zone->findText(QStringLiteral("Офис")));
    click(outputs, QStringLiteral("cbSh23"));
    click(outputs, QStringLiteral("cbRazm1"));

    QWidget* calls = Open(win, tCalls);
    QCOMPARE(calls, win->page(PribParWindow::kZvonki));
    click(calls, QStringLiteral("tbUncheckAll_2"));
    click(calls, QStringLiteral("cbAlarm_2_3"));

    QCOMPARE(Open(win, tCameras) != nullptr, cameras);
    QCOMPARE(Open(win, tTriggers) != nullptr, !cameras);
    if (cameras) {
        QWidget* page = Open(win, tCameras);
        QCOMPARE(page, win->page(PribParWindow::kCameras));
        click(page, QStringLiteral("cbUseCam_1"));
        click(page, QStringLiteral("cbUseCam_3"));
        auto* view = child<QTableView>(page, QStringLiteral("tvCamerasExec"));
        clickCell(view, view->model()->index(4, 0));
        clickCell(view, view->model()->index(1, 2));
        click(page, QStringLiteral("cbUseCam_3"));
    } else {
        QWidget* page = Open(win, tTriggers);
        QCOMPARE(page, win->page(PribParWindow::kTriggByTimeFrame));
        child<QTimeEdit>(page, QStringLiteral("teEvTime_1"))->setTime(QTime(7, 30));
        child<QComboBox>(page, QStringLiteral("comboBEvType_1"))->setCurrentIndex(2);
        click(page, QStringLiteral("cbEvDay_1_1"));
        click(page, QStringLiteral("cbEvDay_5_1"));
    }
    // A zone renamed on the zones page keeps its outputs.
    QWidget* zones = Open(win, QStringLiteral("Зоны"));
    zones->findChild<QTableView*>(QStringLiteral("tvZoneShl"))->selectColumn(1);
    fx.prompt.items.enqueue(QStringLiteral("Гараж"));
    click(zones, QStringLiteral("pbRenZone"));
    QCOMPARE(zone->currentText(), QStringLiteral("Гараж"));
    click(win, QStringLiteral("pbOk"));

    const DeviceSettings& s = *g_deviceSettings;
    QCOMPARE(s.outputs->outputType, (std::array<i32, 4>{4, 3, cameras ? 1 : 2, 0}));
    QCOMPARE(s.outputs->adminPassword[0], QStringLiteral("FF1A"));
    QCOMPARE(s.outputs->outputLoop[1][2], 1);
    QCOMPARE(s.outputs->outputFlagA[0], 1);
    QCOMPARE(s.outputs->outputZone[2], 2);
    QCOMPARE(s.callMatrix->openClose[1], (std::array<u8, 8>{}));
    QCOMPARE(s.callMatrix->alarm[1], (std::array<u8, 8>{0, 0, 1, 0, 0, 0, 0, 0}));
    QCOMPARE(s.callMatrix->alarm[0][2], 1);
    if (cameras) {
        QCOMPARE(s.cameras->useCamera, (std::array<u8, 8>{1, 0, 0, 0, 0, 0, 0, 0}));
        QCOMPARE(s.cameras->execCamera[4][0], 1);
        QCOMPARE(s.cameras->execCamera[1][2], 0);
    } else {
        QCOMPARE(s.timeTriggers->evTime[0], QTime(7, 30));
        QCOMPARE(s.timeTriggers->evType[0], 2);
        QCOMPARE(s.timeTriggers->evDay[0], (std::array<u8, 7>{1, 0, 0, 0, 1, 0, 0}));
    }
    const auto edited = Edited(s);

    // One programming run: each section the device took is what the edited
    // settings make, and the edits changed exactly the sections that carry them.
    const int before = fx.rows();
    fx.action("actProgramming")->trigger();
    QVERIFY(fx.waitForCode(120, before));
    const QList<QByteArray> asked = fx.sim.SectionsAsked();
    const QList<QByteArray> answers = fx.sim.SectionAnswers();
    QCOMPARE(answers.size(), asked.size());
    QByteArrayList differ;
    for (int i = 0; i < asked.size(); ++i) {
        QCOMPARE(answers.at(i).toHex(' '), Section(s, asked.at(i)).toHex(' '));
        if (answers.at(i) != Section(loaded, asked.at(i)))
            differ << asked.at(i);
    }
    QCOMPARE(differ, changed);

    // A saved file brings every edit back, into the settings and the pages.
    fx.prompt.files.enqueue(fx.shell.file("saved.ini"));
    fx.action("actSave")->trigger();
    fx.prompt.files.enqueue(fx.shell.file("start.ini"));
    fx.action("actOpen")->trigger();
    QVERIFY(Edited(*g_deviceSettings) != edited);
    fx.prompt.files.enqueue(fx.shell.file("saved.ini"));
    fx.action("actOpen")->trigger();
    QCOMPARE(Edited(*g_deviceSettings), edited);
    QCOMPARE(pass->text(), QStringLiteral("1A"));
    QVERIFY(ticked(calls, QStringLiteral("cbAlarm_2_3")));
    if (cameras)
        QVERIFY(ticked(win->page(PribParWindow::kCameras), QStringLiteral("cbUseCam_1")));
    else
        QVERIFY(ticked(win->page(PribParWindow::kTriggByTimeFrame), QStringLiteral("cbEvDay_5_1")));
}

QTEST_MAIN(TestOutputsWindow)
#include "tst_outputswindow.moc"
