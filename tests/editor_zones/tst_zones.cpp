// The zones page: zones built from the key-to-loop table, the normalisation
// questions, adding, deleting and renaming zones, the technological loop,
// model and object-type changes, load and store; then inside the real
// parameters window: names and bindings mirrored with the key-to-loop page,
// the cancel order, and every reason the zone list reaches the outputs page.

#include "../app/DeviceFixture.h"
#include "ZonesTestSupport.h"

#include "editor/PribParWindow.h"
#include "keys/KeyShlConfig.h"
#include "keys/KeyShlTable.h"

#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

#include <memory>

namespace {
const int Yes = Prompt::Yes, No = Prompt::No;

struct PageFixture {
    PageFixture(int type, int object) {
        SetDefaultSettings(&settings, false);
        g_deviceSettings = &settings;
        settings.header->deviceType = type;
        settings.header->objectType = object;
        KeyLoopMatrix = {};
        page = std::make_unique<Zones>();
        page->TPribSlot(type);
        page->TypeObjChange();
    }
    ~PageFixture() {
        page.reset();
        g_deviceSettings = nullptr;
    }
    // Opens the page on these bindings, answering its question from `answers`.
    void enter(const QStringList& bindings, const QList<int>& answers = {}) {
        Bind(bindings);
        prompt.buttons.append(answers);
        page->EnterToFrame();
    }
    template <class W = QPushButton> W* w(const char* name) const {
        return page->findChild<W*>(QString::fromLatin1(name));
    }
    void click(const char* button, int column) {
        if (column >= 0)
            w<QTableView>("tvZoneShl")->selectColumn(column);
        w(button)->click();
    }

    DeviceSettings settings;
    ScriptedPrompt prompt;
    std::unique_ptr<Zones> page;
};

QList<int> Reasons(const QSignalSpy& lists) {
    QList<int> out;
    for (const auto& args : lists)
        out << args.at(1).toInt();
    return out;
}

struct Enter {
    int object, type;
    QStringList bindings;
    QList<int> answers;
    QStringList zones, after; // after: KeyLoopMatrix afterwards, empty: unchanged
};
struct Delete {
    QString renameLast; // empty: keep the default names
    int column;         // -1: no current column
    QList<int> answers;
    QStringList names, zones;
    QString asked; // name in the question; empty: none
};
struct TechLoop {
    int keys; // key k bound to loop k, for k = 1..keys
    QList<int> choices;
    QStringList zones;
    int loopCount, locked;
};
struct Edit {
    bool loopTable;
    int row, zone; // ticked
    QStringList bindings;
    bool bound;
};
} // namespace

Q_DECLARE_METATYPE(Enter)
Q_DECLARE_METATYPE(Delete)
Q_DECLARE_METATYPE(TechLoop)
Q_DECLARE_METATYPE(Edit)

class TestZones : public QObject {
    Q_OBJECT

private slots:
    void enter_data();
    void enter();
    void addZone_data();
    void addZone();
    void deleteZone_data();
    void deleteZone();
    void rename();
    void techLoop_data();
    void techLoop();
    void deviceType();
    void edits_data();
    void edits();
    void loadAndStore();
    void inTheWindow();
};

void TestZones::enter_data() {
    QTest::addColumn<Enter>("c");
    const QStringList shared{"1:1 2", "2:2 3"};
    const int complex = OBJ_COMPLEX, simple = OBJ_SIMPLE;
    QTest::newRow("keys with equal loops share a zone")
        << Enter{complex, DEV_D4M, {"1:1 2", "2:1 2", "3:3"}, {}, {"1 2|1 2", "3|3"}, {}};
    QTest::newRow("shared loop, normalised")
        << Enter{complex, DEV_D4M, shared, {Yes}, {"1|1 2", "2|3"}, {"1:1 2", "2:3"}};
    QTest::newRow("shared loop, kept")
        << Enter{complex, DEV_D4M, shared, {No}, {"1|1 2", "2|2 3"}, {}};
    QTest::newRow("more loop sets than zones") << Enter{complex,
                                                        DEV_D4M,
                                                        {"1:1", "2:2", "3:3", "4:4", "5:1 2"},
                                                        {No},
                                                        {"1|1", "2|2", "3|3", "4 5|1 2"},
                                                        {}};
    QTest::newRow("simple object, normalised")
        << Enter{simple, DEV_D4M, {"1:1 2"}, {Yes}, {"1|1 2 3 4"}, {"1:1 2 3 4"}};
    QTest::newRow("simple object, kept")
        << Enter{simple, DEV_D4M, {"1:1 2", "2:3"}, {No}, {"1 2|3"}, {}};
}

void TestZones::enter() {
    QFETCH(Enter, c);
    PageFixture fx(c.type, c.object);
    QSignalSpy normalised(fx.page.get(), &Zones::SigNormalizeOk);
    fx.enter(c.bindings, c.answers);
    QCOMPARE(ZonesShown(*fx.page), c.zones);
    QCOMPARE(Bindings(), c.after.isEmpty() ? c.bindings : c.after);
    QCOMPARE(fx.prompt.asked.size(), c.answers.size());
    QCOMPARE(fx.prompt.count(QStringLiteral("Нормализовать таблицу?")), c.answers.size());
    QCOMPARE(normalised.isEmpty(), c.answers.value(0) != Yes);
}

void TestZones::addZone_data() {
    QTest::addColumn<int>("object");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("zones"); // one click more than the model's loops
    QTest::newRow("4 loops") << int(OBJ_COMPLEX) << int(DEV_D4M) << 4;
    QTest::newRow("8 loops") << int(OBJ_COMPLEX) << int(DEV_D8M) << 8;
    QTest::newRow("simple object") << int(OBJ_SIMPLE) << int(DEV_D8M) << 1;
}

// Adding stops at the model's loop count; a simple object keeps one zone
// and announces nothing.
void TestZones::addZone() {
    QFETCH(int, object);
    QFETCH(int, type);
    QFETCH(int, zones);
    PageFixture fx(type, object);
    QSignalSpy lists(fx.page.get(), &Zones::sigSendZonesList);
    const int clicks = object == OBJ_COMPLEX ? zones + 1 : 2;
    for (int i = 0; i < clicks; ++i)
        fx.w("pbAddZone")->click();
    QCOMPARE(fx.page->keyModel()->columnCount(), kKeyNameColumns + zones);
    QCOMPARE(fx.page->loopModel()->columnCount(), zones);
    QCOMPARE(Reasons(lists), QList<int>(object == OBJ_COMPLEX ? clicks : 0, Zones::ReasonAdd));
    if (!lists.isEmpty())
        QCOMPARE(lists.last().at(0).toStringList(), ZoneNames(*fx.page));
    QCOMPARE(fx.page->keyModel()->zoneName(zones - 1), DefaultZoneName(zones - 1));
}

void TestZones::deleteZone_data() {
    QTest::addColumn<Delete>("c");
    const QStringList three{"Зона 0", "Зона 1", "Зона 2"};
    QTest::newRow("zone 1, yes") << Delete{{}, 1, {Yes}, three, {"1|1", "3|3", "|"}, "\"Зона 1\""};
    QTest::newRow("default name renumbered")
        << Delete{"Склад", 2, {Yes}, three, {"1|1", "2|2", "|"}, "\"Склад\""};
    QTest::newRow("empty zone, no question") << Delete{{}, 3, {}, three, {"1|1", "2|2", "3|3"}, {}};
    QTest::newRow("no current column") << Delete{
        {}, -1, {Yes}, {"Зона 0", "Зона 1", "Зона 2", "Зона 3"}, {"1|1", "2|2", "3|3", "|"}, {}};
}

void TestZones::deleteZone() {
    QFETCH(Delete, c);
    PageFixture fx(DEV_D4M, OBJ_COMPLEX);
    fx.enter({"1:1", "2:2", "3:3"});
    fx.w("pbAddZone")->click(); // zone 3, empty
    if (!c.renameLast.isEmpty()) {
        fx.prompt.items.enqueue(c.renameLast);
        fx.click("pbRenZone", 2);
    }
    fx.w<QTableView>("tvZoneShl")->setCurrentIndex(QModelIndex());
    fx.prompt.asked.clear();
    fx.prompt.buttons.append(c.answers);
    QSignalSpy lists(fx.page.get(), &Zones::sigSendZonesList);
    fx.click("pbDelZone", c.column);
    QCOMPARE(ZoneNames(*fx.page), c.names);
    QCOMPARE(ZonesShown(*fx.page), c.zones);
    QCOMPARE(fx.prompt.asked.size(), int(!c.asked.isEmpty()));
    if (!c.asked.isEmpty())
        QVERIFY(fx.prompt.asked.first().text.contains(c.asked));
    const bool deleted = c.names.size() < 4;
    QCOMPARE(Reasons(lists), deleted ? QList<int>{Zones::ReasonDelete} : QList<int>{});
    // The deleted zone's keys lose their loops.
    QCOMPARE(Bindings().size(), c.zones.size() - c.zones.count(QStringLiteral("|")));
}

// A cancelled rename keeps the name and still announces the names (the
// window's run renames for real).
void TestZones::rename() {
    PageFixture fx(DEV_D4M, OBJ_COMPLEX);
    fx.enter({"1:1", "2:2"});
    QSignalSpy lists(fx.page.get(), &Zones::sigSendZonesList);
    fx.click("pbRenZone", 1);
    QCOMPARE(fx.prompt.asked.last().title, QStringLiteral("Введите имя зоны"));
    QCOMPARE(ZoneNames(*fx.page), (QStringList{"Зона 0", "Зона 1"}));
    QCOMPARE(Reasons(lists), QList<int>{Zones::ReasonRename});
}

void TestZones::techLoop_data() {
    QTest::addColumn<TechLoop>("c");
    QTest::newRow("loop 3, every loop had a zone")
        << TechLoop{8, {3}, {"1|1", "2|2", "3|", "4|4", "5|5", "6|6", "7|7"}, 7, 2};
    QTest::newRow("loop 3 then 5: still one zone less")
        << TechLoop{8, {3, 5}, {"1|1 3", "2|2", "3|", "4|4", "5|", "6|6", "7|7"}, 7, 4};
    QTest::newRow("loop 3 then none")
        << TechLoop{8, {3, 0}, {"1|1 3", "2|2", "3|", "4|4", "5|5", "6|6", "7|7"}, 8, -1};
    QTest::newRow("fewer zones than loops") << TechLoop{3, {3}, {"1|1", "2|2", "3|"}, 8, 2};
}

void TestZones::techLoop() {
    QFETCH(TechLoop, c);
    PageFixture fx(DEV_D8M, OBJ_COMPLEX);
    QStringList bindings;
    for (int k = 1; k <= c.keys; ++k)
        bindings << QStringLiteral("%1:%1").arg(k);
    fx.enter(bindings);
    for (int n : c.choices)
        fx.page->NumTShlChange(n);
    QCOMPARE(ZonesShown(*fx.page), c.zones);
    QCOMPARE(fx.settings.zones->loopCount, c.loopCount);
    QCOMPARE(fx.page->techLoopIndex(), c.locked);
    const ZoneShl& loops = *fx.page->loopModel();
    for (int row = 0; row < kLoops; ++row) // the technological loop's row is greyed
        QCOMPARE(bool(loops.flags(loops.index(row, 0)) & Qt::ItemIsEnabled), row != c.locked);
}

// A model with fewer loops hides their rows and drops the zones past its
// loop count, telling the outputs page each deletion and the rebuilt list
// once, never a partial one.
void TestZones::deviceType() {
    PageFixture fx(DEV_D8M, OBJ_COMPLEX);
    fx.enter({"1:1", "2:2", "3:3", "4:4", "5:5", "6:6"});
    QSignalSpy lists(fx.page.get(), &Zones::sigSendZonesList);
    fx.page->TPribSlot(DEV_D4M);
    for (int row = 0; row < kLoops; ++row)
        QCOMPARE(fx.w<QTableView>("tvZoneShl")->isRowHidden(row), row >= 4);
    QCOMPARE(Reasons(lists), (QList<int>{2, 2, 1, 5}));
    QCOMPARE(ZonesShown(*fx.page), (QStringList{"1|1", "2|2", "3|3", "4|4"}));
    QCOMPARE(fx.settings.zones->loopCount, 4);
}

void TestZones::edits_data() {
    QTest::addColumn<Edit>("c");
    QTest::newRow("key 2 to zone 0") << Edit{false, 1, 0, {"1:1", "2:1"}, false};
    QTest::newRow("loop 3 to zone 1") << Edit{true, 2, 1, {"1:1", "2:2 3"}, true};
    QTest::newRow("loop 1 to zone 1") << Edit{true, 0, 1, {"2:1 2"}, false};
}

// A tick in either table rewrites KeyLoopMatrix at once; a zone is bound
// when it has a key and a loop.
void TestZones::edits() {
    QFETCH(Edit, c);
    PageFixture fx(DEV_D4M, OBJ_COMPLEX);
    fx.enter({"1:1", "2:2"}); // loops 3 and 4 stay in no zone
    QVERIFY(fx.page->CheckZonesBound());
    CheckTableModel* m =
        c.loopTable ? static_cast<CheckTableModel*>(fx.page->loopModel()) : fx.page->keyModel();
    QSignalSpy normalised(fx.page.get(), &Zones::SigNormalizeOk);
    QVERIFY(m->setData(m->index(c.row, m->nameColumns() + c.zone), true, Qt::CheckStateRole));
    QCOMPARE(Bindings(), c.bindings);
    QVERIFY(!normalised.isEmpty());
    QCOMPARE(fx.page->CheckZonesBound(), c.bound);
}

void TestZones::loadAndStore() {
    PageFixture fx(DEV_D4M, OBJ_COMPLEX);
    ZonesConfig& z = *fx.settings.zones;
    z.zoneCount = 0; // a damaged file: still one zone shown
    z.keyName[2] = QStringLiteral("Охрана");
    z.eepromKeyName[2] = QStringLiteral("OHR");
    z.zoneName[1] = QStringLiteral("Склад");
    z.keyZone[0][5] = 1; // replaced by what the key-to-loop table implies
    Bind({"3:1 2", "5:3"});
    QSignalSpy lists(fx.page.get(), &Zones::sigSendZonesList);
    fx.page->CancelClick();
    QCOMPARE(ZonesShown(*fx.page), (QStringList{"3|1 2", "5|3"}));
    QCOMPARE(ZoneNames(*fx.page), (QStringList{"Зона 0", "Склад"}));
    QCOMPARE(fx.page->keyModel()->keyName(2), QStringLiteral("Охрана"));
    QCOMPARE(fx.page->keyModel()->eepromName(2), QStringLiteral("OHR"));
    QCOMPARE(lists.last().at(1).toInt(), int(Zones::ReasonCancel));

    fx.page->ApplyClick();
    QCOMPARE(z.zoneCount, 2);
    QCOMPARE(z.keyZone[0][5], u8(0));
    QCOMPARE(z.keyZone[4][1], u8(1));
    QCOMPARE(z.loopZone[2], (Arr<u8, kZones>{0, 1, 0, 0, 0, 0, 0, 0}));
    QCOMPARE(z.loopZone[3], (Arr<u8, kZones>{}));
    QCOMPARE(z.zoneName[1], QStringLiteral("Склад"));
}

// Inside the real window: names typed on either key table show on the other
// once; bindings ticked on the key page give the zones on opening "Зоны" and
// its normalisation comes back; every zone-list reason reaches the outputs
// page; a cancel reloads KeyLoopMatrix before the zones rebuild from it.
void TestZones::inTheWindow() {
    DeviceFixture fx;
    QVERIFY(fx.open());
    PribParWindow* window = fx.main->pribParWindow();
    Zones* zones = window->zones();
    KeyShlTable& keyTable = *window->findChild<KeyShlConfig*>()->model();
    KeyZone& zoneTable = *zones->keyModel();
    auto* list = window->findChild<QListWidget*>(QStringLiteral("ListParams"));
    auto click = [](const QObject* parent, const char* name) {
        parent->findChild<QAbstractButton*>(QString::fromLatin1(name))->click();
    };
    auto open = [&](const QString& title) {
        list->setCurrentItem(list->findItems(title, Qt::MatchExactly).value(0));
    };
    QCOMPARE(ReceiverCount::of(zones, SIGNAL(sigSendZonesList(QStringList, int))), 1);
    QSignalSpy lists(zones, &Zones::sigSendZonesList);
    click(window, "pbCancel");
    click(fx.main.get(), "Rbtobjsl");

    QSignalSpy fromKeys(window->findChild<KeyShlConfig*>(), &KeyShlConfig::SigTableDataChanged);
    QSignalSpy fromZones(zones, &Zones::SigTableDataChanged);
    QVERIFY(keyTable.setData(keyTable.index(1, 1), QStringLiteral("GATE2"), Qt::DisplayRole));
    QVERIFY(zoneTable.setData(zoneTable.index(3, 0), QStringLiteral("Петров"), Qt::EditRole));
    QCOMPARE(zoneTable.eepromName(1), QStringLiteral("GATE2"));
    QCOMPARE(keyTable.keyName(3), QStringLiteral("Петров"));
    QCOMPARE((QList<int>{int(fromKeys.size()), int(fromZones.size())}), (QList<int>{1, 1}));

    open(QStringLiteral("Ключи и шлейфы"));
    for (auto [key, loop] : {std::pair{0, 0}, {0, 1}, {1, 1}, {1, 2}})
        QVERIFY(keyTable.setData(keyTable.index(key, loop + 2), true, Qt::CheckStateRole));
    fx.prompt.buttons.enqueue(Prompt::Yes);
    open(QStringLiteral("Зоны"));
    QCOMPARE(fx.prompt.count(QStringLiteral("Нормализовать таблицу?")), 1);
    QCOMPARE(ZonesShown(*zones), (QStringList{"1|1 2", "2|3"}));
    QCOMPARE(Ticks(keyTable), (QStringList{"1:1 2", "2:3"}));
    QVERIFY(zoneTable.setData(zoneTable.index(2, 3), true, Qt::CheckStateRole)); // key 3, zone 1
    QCOMPARE(Ticks(keyTable), (QStringList{"1:1 2", "2:3", "3:3"}));

    auto* loopView = zones->findChild<QTableView*>(QStringLiteral("tvZoneShl"));
    click(zones, "pbAddZone"); // zone 2, empty: deleted without a question
    loopView->selectColumn(2);
    click(zones, "pbDelZone");
    loopView->selectColumn(0);
    fx.prompt.items.enqueue(QStringLiteral("Дом"));
    click(zones, "pbRenZone");
    click(fx.main.get(), "RbD8M");
    // Cancel, complex, the second zone made on entering, add, delete, rename,
    // and the model's rebuild making that zone again.
    QCOMPARE(Reasons(lists), (QList<int>{0, 4, 1, 1, 2, 3, 1, 5}));
    QCOMPARE(lists.last().at(0).toStringList(), (QStringList{"Дом", "Зона 1"}));

    click(window, "pbCancel");
    QVERIFY(Ticks(keyTable).isEmpty());
    QVERIFY(Bindings().isEmpty());
    QCOMPARE(ZonesShown(*zones), QStringList{"|"});
    QCOMPARE(zoneTable.eepromName(1), QString());
    QCOMPARE(keyTable.keyName(3), QString());
}

QTEST_MAIN(TestZones)
#include "tst_zones.moc"
