// The outputs, call list, time-of-day and cameras pages on their own, then
// through the main window against the simulated device.

#include "app/DeviceFixture.h"

#include "editor/PribParWindow.h"
#include "link/Protocol.h"
#include "outputs/Cameras.h"
#include "outputs/CamerasExecTable.h"
#include "outputs/ExitFunc.h"
#include "outputs/TriggByTimeFrame.h"
#include "outputs/Zvonki.h"
#include "support/SettingsFixtures.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTableView>
#include <QTimeEdit>

using Ints = QList<int>;
struct ZoneStep {
    QStringList zones;
    int reason;
    int objectType;
};
Q_DECLARE_METATYPE(QList<ZoneStep>)

namespace {
QString nm(const char* stem, int a, int b = -1) {
    return QLatin1String(stem) + QString::number(a) +
           (b < 0 ? QString() : '_' + QString::number(b));
}
template <class W = QWidget> W* child(const QWidget* page, const QString& name) {
    W* w = page->findChild<W*>(name);
    if (!w)
        qFatal("no widget %s", qPrintable(name));
    return w;
}
bool shown(const QWidget* p, const QString& name) {
    return !child(p, name)->isHidden();
}
bool ticked(const QWidget* p, const QString& name) {
    return child<QAbstractButton>(p, name)->isChecked();
}
// Selects the item whose text starts with the code.
void choose(const QWidget* page, const QString& name, int code) {
    auto* box = child<QComboBox>(page, name);
    box->setCurrentIndex(box->findText(QString::number(code), Qt::MatchStartsWith));
}
// A click on a check box's indicator or a button's middle, as a user makes it.
void click(const QWidget* page, const QString& name) {
    QWidget* w = child(page, name);
    const int indicator = w->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, w);
    QTest::mouseClick(w, Qt::LeftButton, {},
                      qobject_cast<QCheckBox*>(w) ? QPoint(indicator / 2, w->height() / 2)
                                                  : w->rect().center());
}
// A click on the check box of a cell of a shown view.
void clickCell(QAbstractItemView* view, const QModelIndex& index) {
    QStyleOptionViewItem option;
    option.initFrom(view);
    option.rect = view->visualRect(index);
    option.features = QStyleOptionViewItem::HasCheckIndicator;
    const QRect box =
        view->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, view);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, box.center());
}
template <size_t N> std::array<u8, N> all(u8 v) {
    std::array<u8, N> a;
    a.fill(v);
    return a;
}
// Reaches indexes of the cameras model outside its cells.
struct OpenTable : CamerasExecTable {
    using CamerasExecTable::createIndex;
};

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
QMap<QString, QString> Edited(const DeviceSettings& s,
                              const QStringList& blocks = {"outputs", "callMatrix", "cameras",
                                                           "timeTriggers"}) {
    QMap<QString, QString> out = fixtures::Dump(s);
    out.removeIf([&](const auto& it) { return !blocks.contains(it.key().section("->", 0, 0)); });
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

class TestOutputs : public QObject {
    Q_OBJECT

private slots:
    void init() {
        cfg = DeviceSettings();
        SetDefaultSettings(&cfg, false);
        g_deviceSettings = &cfg;
    }
    void typesAndGates_data();
    void typesAndGates();
    void passwords_data();
    void passwords();
    void zoneLists_data();
    void zoneLists();
    void rowsByModel_data();
    void rowsByModel();
    void triggers();
    void camerasModel();
    void endToEnd_data();
    void endToEnd();

private:
    DeviceSettings cfg; // of the pages on their own
};

// Rows are named by the version; the model matters on 01.12.2010 only.
void TestOutputs::typesAndGates_data() {
    QTest::addColumn<int>("model");
    QTest::addColumn<QString>("codes");
    QTest::addColumn<QString>("on"); // T: types editable, O/R: relay groups, Z: zones
    auto row = [](const char* version, int model, const char* codes, const char* on) {
        QTest::newRow(version) << model << QString(codes) << QString(on);
    };
    row("none", 3, "012345", "");
    row("28.01.2010/45", 3, "012345", "");
    row("29.01.2010/45", 3, "012345", "T");
    row("04.06.2010/45", 3, "012345", "T");
    row("05.06.2010/45", 3, "012345", "TO");
    row("15.08.2010/45", 3, "012345", "TO");
    row("16.08.2010/45", 3, "012345", "TOR");
    row("01.12.2010/1", DEV_D4M, "01235", "TOR");
    row("01.12.2010/2", DEV_D8M, "012345", "TOR");
    row("03.12.2010/12", 2, "0123456", "TOR");
    row("03.12.2010/20", 2, "012345", "TOR");
    row("03.12.2010/32", 2, "012345678", "TOR");
    row("03.12.2010/60", 3, "012345678", "TOR");
    row("18.04.2012/45", 3, "012345", "TOR");
    row("19.04.2012/44", 3, "01234", "TOR");
    row("19.04.2012/45", 3, "01234", "TORZ");
    row("19.04.2012/144", 3, "01234", "TOR");
    row("19.04.2012/145", 3, "01234", "TORZ");
    row("19.04.2012/-1", 3, "01234", "TORZ");
    row("08.05.2012/28", 3, "01234", "TOR");
    row("09.05.2012/27", 3, "01234", "TOR");
    row("09.05.2012/28", 3, "01234", "TORZ");
    row("09.05.2012/127", 3, "01234", "TOR");
    row("09.05.2012/128", 3, "01234", "TORZ");
    row("15.05.2012/22", 3, "01234", "TOR");
    row("16.05.2012/0", 3, "012346", "TOR");
    row("16.05.2012/22", 3, "012346", "TORZ");
    row("16.05.2012/33", 3, "01234678", "TORZ");
    row("16.05.2012/121", 3, "012346", "TOR");
    row("16.05.2012/122", 3, "012346", "TORZ");
}

// Each output offers the codes; each code is loaded and stored as itself, and
// a code the list lacks shows no item, locks its output and is kept.
void TestOutputs::typesAndGates() {
    QFETCH(int, model);
    QFETCH(QString, codes);
    QFETCH(QString, on);
    cfg.header->deviceType = model;
    SetFirmwareVersion(*cfg.header, QTest::currentDataTag());
    ExitFunc page;
    page.TPribSlot(model);
    for (const char* name : {"label_5", "label_6", "CombobV1", "CombobV2", "CombobV3", "GbShlPCN"})
        QCOMPARE(child(&page, name)->isEnabled(), on.contains('T'));
    QCOMPARE(shown(&page, "groupBox_3"), on.contains('O'));
    QCOMPARE(shown(&page, "groupBox_4"), on.contains('R'));
    QCOMPARE(shown(&page, "gbZones"), on.contains('Z'));
    for (int n = 1; n <= 4; ++n) {
        auto* box = child<QComboBox>(&page, nm("CombobV", n));
        QString offered;
        for (int i = 0; i < box->count(); ++i)
            offered += box->itemText(i).left(1);
        QCOMPARE(offered, codes);
    }
    // Loops open for a console output, the password for a user output, the
    // zone for light and siren; output 4 never opens anything.
    for (QChar digit : codes) {
        const int code = digit.digitValue();
        cfg.outputs->outputType = {code, -7, code, code};
        page.CancelClick();
        QCOMPARE(child<QComboBox>(&page, "CombobV1")->currentText().left(1).toInt(), code);
        for (int n : {1, 4}) {
            QCOMPARE(child(&page, nm("cbSh", 10 * n + 8))->isEnabled(),
                     n < 4 && on.contains('T') && code == 3);
            QCOMPARE(child(&page, nm("lePass", n))->isEnabled(), n < 4 && code == 4);
            QCOMPARE(child(&page, nm("combZone_", n))->isEnabled(),
                     n < 4 && (code == 1 || code == 2));
        }
        choose(&page, "CombobV2", code);
        cfg.outputs->outputType[0] = -7;
        page.ApplyClick();
        QCOMPARE(cfg.outputs->outputType[0], code);
        QCOMPARE(cfg.outputs->outputType[1], code);
    }
    const int missing = codes.contains('4') ? 9 : 4;
    cfg.outputs->outputType = {missing, 15, 0, 0};
    page.CancelClick();
    QCOMPARE(child<QComboBox>(&page, "CombobV1")->currentIndex(), -1);
    for (const char* name : {"lePass1", "combZone_1", "cbSh11", "cbSh18"})
        QVERIFY(!child(&page, name)->isEnabled());
    page.ApplyClick();
    QCOMPARE(cfg.outputs->outputType[0], missing);
    QCOMPARE(cfg.outputs->outputType[1], 15);
}

void TestOutputs::passwords_data() {
    QTest::addColumn<int>("model");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    auto row = [](const char* name, int model, const char* typed, const char* stored) {
        QTest::newRow(name) << model << QString(typed) << QString(stored);
    };
    row("VororaZ 1A", DEV_VororaZ, "1a", "FF1A");
    row("VororaZ too long", DEV_VororaZ, "abc", "FFAB");
    row("D4M none", DEV_D4M, "", "0000");
    row("D8M ab", DEV_D8M, "ab", "AB00");
}

// Typed into user output 1, stored with zeros in the empty places; outputs
// 1-4 load and store the two administrator and the two user passwords.
void TestOutputs::passwords() {
    QFETCH(int, model);
    QFETCH(QString, typed);
    const bool family = model >= DEV_VororaZ;
    cfg.header->deviceType = model;
    SetFirmwareVersion(*cfg.header, QStringLiteral("16.05.2012/33"));
    cfg.outputs->outputType[0] = 4;
    cfg.outputs->adminPassword = {"FF1A", "FF2B"};
    cfg.outputs->userPassword = {"FF3C", "FF4D"};
    ExitFunc page;
    page.TPribSlot(model);
    for (int n = 1; n <= 4; ++n) {
        auto* edit = child<QLineEdit>(&page, nm("lePass", n));
        QCOMPARE(edit->inputMask(), family ? ">HH;#" : ">HHHH;#");
        QCOMPARE(edit->text(), (family ? "" : "FF") + QString::number(n) + "0ABCD"[n]);
        edit->setText(QString::number(n));
    }
    auto* first = child<QLineEdit>(&page, "lePass1");
    first->clear();
    QTest::keyClicks(first, typed);
    page.ApplyClick();
    auto pad = [family](int n) {
        return family ? "FF" + QString::number(n) + '0' : QString::number(n) + "000";
    };
    QFETCH(QString, stored);
    QCOMPARE(cfg.outputs->adminPassword, (std::array<QString, 2>{stored, pad(2)}));
    QCOMPARE(cfg.outputs->userPassword, (std::array<QString, 2>{pad(3), pad(4)}));
}

void TestOutputs::zoneLists_data() {
    QTest::addColumn<QList<ZoneStep>>("steps");
    QTest::addColumn<QStringList>("shown"); // zone boxes 1..4
    QTest::addColumn<Ints>("stored");       // outputZone after apply, from {2, 1, 0, 7}
    const QStringList abc{"A", "B", "C"};
    const ZoneStep cancel{abc, 0, 1};
    const QStringList kept{"B", "A", "Все зоны", ""};
    auto row = [](const char* name, QList<ZoneStep> steps, QStringList shown, Ints stored) {
        QTest::newRow(name) << steps << shown << stored;
    };
    row("cancel", {cancel}, kept, {2, 1, 0, 7});
    row("added", {cancel, {{"N", "A", "B", "C"}, 1, 1}}, kept, {3, 2, 0, 7});
    row("deleted", {cancel, {{"B", "C"}, 2, 1}}, {"B", "Все зоны", "Все зоны", ""}, {1, 0, 0, 7});
    row("renamed", {cancel, {{"A", "Bee", "C"}, 3, 1}}, {"Bee", "A", "Все зоны", ""}, {2, 1, 0, 7});
    row("other case", {cancel, {{"a", "b", "c"}, 5, 1}}, {"b", "a", "Все зоны", ""}, {2, 1, 0, 7});
    row("stored index reached", {cancel, {{"A", "B", "C", "D", "E", "F", "G"}, 1, 1}},
        {"B", "A", "Все зоны", "G"}, {2, 1, 0, 7});
    row("simple", {cancel, {abc, 4, 0}}, {"A", "A", "A", "A"}, {0, 0, 0, 0});
    row("simple, no zone", {cancel, {{}, 4, 0}}, {"", "", "", ""}, {2, 1, 0, 7});
    row("simple and back", {cancel, {abc, 4, 0}, {abc, 1, 0}, {abc, 4, 1}}, kept, {2, 1, 0, 7});
    row("empty list", {{{}, 0, 1}}, {"", "", "Все зоны", ""}, {2, 1, 0, 7});
    row("no list yet", {}, {"", "", "", ""}, {2, 1, 0, 7});
}

void TestOutputs::zoneLists() {
    QFETCH(QList<ZoneStep>, steps);
    QFETCH(QStringList, shown);
    cfg.outputs->outputZone = {2, 1, 0, 7};
    ExitFunc page;
    for (const ZoneStep& step : steps) {
        cfg.header->objectType = step.objectType;
        page.setZonesList(step.zones, step.reason);
    }
    for (int n = 1; n <= 4; ++n)
        QCOMPARE(child<QComboBox>(&page, nm("combZone_", n))->currentText(), shown[n - 1]);
    page.ApplyClick();
    const auto& z = cfg.outputs->outputZone;
    QTEST((Ints{z[0], z[1], z[2], z[3]}), "stored");
}

void TestOutputs::rowsByModel_data() {
    QTest::addColumn<Ints>("models"); // in the order the window sends them
    QTest::addColumn<int>("loops");
    QTest::addColumn<int>("cameraLoops"); // rows of the cameras block left
    QTest::newRow("D4M") << Ints{DEV_D4M} << 4 << 4;
    QTest::newRow("VororaZ") << Ints{DEV_VororaZ} << 6 << 6;
    QTest::newRow("D4M, VoduzeR, D8M") << Ints{DEV_D4M, DEV_VoduzeR, DEV_D8M} << 8 << 4;
}

// Rows by model on the three pages (output 3 by model, output 4 never); the
// cameras page clears the loops it hides in the block at once. (Hidden rows
// of outputs and calls are stored as they stand: the reload-and-store table
// of the parameters window proves it for every model.)
void TestOutputs::rowsByModel() {
    QFETCH(Ints, models);
    QFETCH(int, loops);
    QFETCH(int, cameraLoops);
    cfg.header->deviceType = models.last();
    SetFirmwareVersion(*cfg.header, QStringLiteral("16.08.2010"));
    cfg.callMatrix->alarm[4][7] = 0;
    cfg.cameras->useCamera.fill(1);
    cfg.cameras->execCamera.fill(all<8>(1));
    ExitFunc outputs;
    Zvonki calls;
    Cameras cameras;
    calls.CancelClick();
    cameras.CancelClick();
    for (int model : models) {
        outputs.TPribSlot(model);
        calls.TPribSlot(model);
        cameras.TPribChange(model);
    }
    const bool third = models.last() != DEV_D4M;
    for (const char* name : {"label_6", "CombobV3", "lePass3", "combZone_3", "cbRazm3", "cbSave3"})
        QCOMPARE(shown(&outputs, name), third);
    for (const char* name : {"label_7", "CombobV4", "lePass4", "combZone_4", "cbRazm4", "cbSave4"})
        QVERIFY(!shown(&outputs, name));
    auto* table = child<QTableView>(&cameras, "tvCamerasExec");
    for (int l = 1; l <= 8; ++l) {
        QCOMPARE(shown(&outputs, nm("l", l)), l <= loops);
        QCOMPARE(shown(&outputs, nm("cbSh1", l)), l <= loops);
        QCOMPARE(shown(&outputs, nm("cbSh3", l)), third && l <= loops);
        QVERIFY(!shown(&outputs, nm("cbSh4", l)));
        QCOMPARE(shown(&calls, nm("lAl_", l)), l <= loops);
        for (int n = 1; n <= 5; ++n) {
            QCOMPARE(shown(&calls, nm("cbOpCl_", n, l)), l <= loops);
            QCOMPARE(ticked(&calls, nm("cbAlarm_", n, l)), n < 5 || l < 8);
        }
        QCOMPARE(table->isRowHidden(l - 1), l > loops);
        const u8 on = l <= cameraLoops;
        QCOMPARE(cfg.cameras->execCamera[size_t(l - 1)], all<8>(on));
        QCOMPARE(cameras.model()->check(l - 1, 5), bool(on));
    }
    // A camera loaded as unused hides its column and keeps its loops,
    // whatever its box showed before.
    cfg.cameras->useCamera[2] = 0;
    cameras.CancelClick();
    QVERIFY(table->isColumnHidden(2));
    QCOMPARE(cfg.cameras->execCamera[0][2], u8(1));
}

// The all-week box follows the days both ways, on a load and one event at a
// time. (Unset times, types and day bytes out of range: the reload-and-store
// table of the parameters window.)
void TestOutputs::triggers() {
    TimeTriggers& t = *cfg.timeTriggers;
    TriggByTimeFrame page;
    page.show();
    t.evDay[0] = {1, 0, 0, 0, 1, 0, 0};
    t.evDay[9] = {5, 1, 1, 1, 1, 1, 1};
    page.CancelClick();
    QVERIFY(!ticked(&page, "cbEvAllWeek_1") && ticked(&page, "cbEvAllWeek_10"));
    for (int d = 1; d <= 7; ++d) {
        QVERIFY(!ticked(&page, "cbEvAllWeek_3"));
        click(&page, nm("cbEvDay_", d, 3));
    }
    QVERIFY(ticked(&page, "cbEvAllWeek_3"));
    click(&page, "cbEvDay_4_3");
    QVERIFY(!ticked(&page, "cbEvAllWeek_3"));
    click(&page, "cbEvDay_2_5");
    for (bool on : {true, false}) {
        click(&page, "cbEvAllWeek_5");
        for (int d = 1; d <= 7; ++d)
            QCOMPARE(ticked(&page, nm("cbEvDay_", d, 5)), on);
    }
    page.ApplyClick();
    QCOMPARE(t.evDay[2], (std::array<u8, 7>{1, 1, 1, 0, 1, 1, 1}));
    QCOMPARE(t.evDay[4], all<7>(0));
}

// Only check states of this model's 64 cells are taken, stored before the
// views are told; a cell shows a check box and no text.
void TestOutputs::camerasModel() {
    OpenTable model;
    QStandardItemModel other(10, 10);
    Ints told;
    connect(&model, &QAbstractItemModel::dataChanged, &model,
            [&](const QModelIndex& i) { told << model.data(i, Qt::CheckStateRole).toInt(); });
    const QModelIndex at = model.index(2, 5);
    QVERIFY(!model.setData(other.index(2, 5), 2, Qt::CheckStateRole));
    QVERIFY(!model.setData(model.createIndex(8, 5), 2, Qt::CheckStateRole));
    QVERIFY(!model.setData(at, 2, Qt::DisplayRole));
    QVERIFY(!model.setData(at, true, Qt::EditRole));
    QVERIFY(told.isEmpty() && !model.check(2, 5));
    for (const QVariant& on : {QVariant::fromValue(Qt::Checked), QVariant(2), QVariant(true)}) {
        model.setCheck(2, 5, false);
        QVERIFY(model.setData(at, on, Qt::CheckStateRole));
    }
    QCOMPARE(told, (Ints{2, 2, 2}));
    QVERIFY(!at.data(Qt::DisplayRole).isValid());
    QVERIFY(model.flags(at) & Qt::ItemIsUserCheckable);
    QCOMPARE(model.headerData(3, Qt::Vertical, Qt::TextAlignmentRole), QVariant(132));
}

void TestOutputs::endToEnd_data() {
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

// A settings file loaded, each page reached by its title and edited, a zone
// renamed on the zones page, OK; then programming and a saved file.
void TestOutputs::endToEnd() {
    QFETCH(int, model);
    QFETCH(QDate, fw);
    QFETCH(int, build);
    QFETCH(bool, cameras);
    DeviceFixture fx;
    const QString version = fw.toString(QStringLiteral("dd.MM.yyyy/")) + QString::number(build);
    QVERIFY(WriteSettings("start.ini", [&](DeviceSettings& s) {
        s.header->deviceType = DEV_VoduzeR;
        s.header->versionIndex = int(MainWindow::FirmwareVersions().indexOf(version));
        s.header->workMode = MODE_AUTONOMOUS;
        s.phones->number[3] = "12345";
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
    QWidget* outputs = Open(win, QStringLiteral("Функции выходов"));
    QCOMPARE(outputs, win->page(PribParWindow::kExitFunc));
    choose(outputs, "CombobV1", 4);
    auto* pass = child<QLineEdit>(outputs, "lePass1");
    pass->clear();
    QTest::keyClicks(pass, "1a");
    choose(outputs, "CombobV2", 3);
    choose(outputs, "CombobV3", cameras ? 1 : 2);
    auto* zone = child<QComboBox>(outputs, "combZone_3");
    QCOMPARE(zone->count(), 3);
    zone->setCurrentIndex(zone->findText(QStringLiteral("Офис")));
    click(outputs, "cbSh23");
    click(outputs, "cbRazm1");

    QWidget* calls = Open(win, QStringLiteral("Извещения по шлейфам"));
    QCOMPARE(calls, win->page(PribParWindow::kZvonki));
    QCOMPARE(child<QLineEdit>(calls, "leNum_4")->displayText(), "123-45*-**-**");
    for (const char* box : {"tbUncheckAll_2", "cbAlarm_2_3", "tbUncheckAll_1", "tbCheckAll_1"})
        click(calls, box);

    const QString camerasTitle = QStringLiteral("Параметры камер");
    const QString eventsTitle = QStringLiteral("События по времени");
    QWidget* page = Open(win, cameras ? camerasTitle : eventsTitle);
    QVERIFY(!Open(win, cameras ? eventsTitle : camerasTitle));
    QCOMPARE(page, win->page(cameras ? PribParWindow::kCameras : PribParWindow::kTriggByTimeFrame));
    if (cameras) {
        click(page, "cbUseCam_1");
        click(page, "cbUseCam_3");
        auto* view = child<QTableView>(page, "tvCamerasExec");
        clickCell(view, view->model()->index(4, 0));
        clickCell(view, view->model()->index(1, 2));
        click(page, "cbUseCam_3"); // its column was cleared
    } else {
        child<QTimeEdit>(page, "teEvTime_1")->setTime(QTime(7, 30));
        child<QComboBox>(page, "comboBEvType_1")->setCurrentIndex(2);
        click(page, "cbEvDay_1_1");
        click(page, "cbEvDay_5_1");
    }
    // A zone renamed on the zones page keeps its outputs.
    QWidget* zones = Open(win, QStringLiteral("Зоны"));
    zones->findChild<QTableView*>(QStringLiteral("tvZoneShl"))->selectColumn(1);
    fx.prompt.items.enqueue(QStringLiteral("Гараж"));
    click(zones, "pbRenZone");
    QCOMPARE(zone->currentText(), QStringLiteral("Гараж"));
    click(win, "pbOk");

    const DeviceSettings& s = *g_deviceSettings;
    QCOMPARE(s.outputs->outputType, (std::array<i32, 4>{4, 3, cameras ? 1 : 2, 0}));
    QCOMPARE(s.outputs->adminPassword[0], QStringLiteral("FF1A"));
    QCOMPARE(s.outputs->outputLoop[1][2], 1);
    QCOMPARE(s.outputs->outputFlagA[0], 1);
    QCOMPARE(s.outputs->outputZone[2], 2);
    QCOMPARE(s.callMatrix->openClose[0], all<8>(1));
    QCOMPARE(s.callMatrix->openClose[1], all<8>(0));
    QCOMPARE(s.callMatrix->alarm[1], (std::array<u8, 8>{0, 0, 1, 0, 0, 0, 0, 0}));
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
    QTEST(differ, "changed");

    // A saved file brings every edit back, into the settings and the pages.
    for (const char* file : {"saved.ini", "start.ini", "saved.ini"})
        fx.prompt.files.enqueue(fx.shell.file(file));
    fx.action("actSave")->trigger();
    fx.action("actOpen")->trigger();
    QVERIFY(Edited(*g_deviceSettings) != edited);
    fx.action("actOpen")->trigger();
    QCOMPARE(Edited(*g_deviceSettings), edited);
    QCOMPARE(pass->text(), QStringLiteral("1A"));
    QVERIFY(ticked(calls, "cbAlarm_2_3"));
    QVERIFY(ticked(page, cameras ? "cbUseCam_1" : "cbEvDay_5_1"));
}

QTEST_MAIN(TestOutputs)
#include "tst_outputs.moc"
