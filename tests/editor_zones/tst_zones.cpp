// The zones page on its own: zones built from the key-to-loop table, the
// normalisation questions, adding, deleting and renaming zones, the
// technological loop, model and object-type changes, load and store.

#include "ZonesTestSupport.h"
#include "app/AppTestSupport.h"

#include <QLabel>
#include <QPushButton>
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
        for (int a : answers)
            prompt.buttons.enqueue(a);
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
} // namespace

class TestZones : public QObject {
    Q_OBJECT

private slots:
    void enter_data();
    void enter();
    void addZone_data();
    void addZone();
    void deleteZone_data();
    void deleteZone();
    void rename_data();
    void rename();
    void techLoop_data();
    void techLoop();
    void deviceType_data();
    void deviceType();
    void objectType_data();
    void objectType();
    void edits_data();
    void edits();
    void loadAndStore();
};

void TestZones::enter_data() {
    QTest::addColumn<int>("object");
    QTest::addColumn<int>("type");
    QTest::addColumn<QStringList>("bindings");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<QStringList>("zones");
    QTest::addColumn<QStringList>("after"); // KeyLoopMatrix afterwards
    QTest::addColumn<int>("questions");
    const QStringList twoSets{"1:1 2", "2:1 2", "3:3"};
    const QStringList shared{"1:1 2", "2:2 3"};
    QTest::newRow("keys with equal loops share a zone")
        << int(OBJ_COMPLEX) << int(DEV_D4M) << twoSets << QList<int>{}
        << QStringList{"1 2|1 2", "3|3"} << twoSets << 0;
    QTest::newRow("shared loop, normalised")
        << int(OBJ_COMPLEX) << int(DEV_D4M) << shared << QList<int>{Yes}
        << QStringList{"1|1 2", "2|3"} << QStringList{"1:1 2", "2:3"} << 1;
    QTest::newRow("shared loop, kept")
        << int(OBJ_COMPLEX) << int(DEV_D4M) << shared << QList<int>{No}
        << QStringList{"1|1 2", "2|2 3"} << shared << 1;
    QTest::newRow("loops 5-8 of the 8-loop model")
        << int(OBJ_COMPLEX) << int(DEV_D8M) << QStringList{"1:5 6 7 8", "2:1"} << QList<int>{}
        << QStringList{"1|5 6 7 8", "2|1"} << QStringList{"1:5 6 7 8", "2:1"} << 0;
    QTest::newRow("more loop sets than zones")
        << int(OBJ_COMPLEX) << int(DEV_D4M) << QStringList{"1:1", "2:2", "3:3", "4:4", "5:1 2"}
        << QList<int>{No} << QStringList{"1|1", "2|2", "3|3", "4 5|1 2"}
        << QStringList{"1:1", "2:2", "3:3", "4:4", "5:1 2"} << 1;
    QTest::newRow("simple object, normalised")
        << int(OBJ_SIMPLE) << int(DEV_D4M) << QStringList{"1:1 2"} << QList<int>{Yes}
        << QStringList{"1|1 2 3 4"} << QStringList{"1:1 2 3 4"} << 1;
    QTest::newRow("simple object, kept")
        << int(OBJ_SIMPLE) << int(DEV_D4M) << QStringList{"1:1 2", "2:3"} << QList<int>{No}
        << QStringList{"1 2|3"} << QStringList{"1:1 2", "2:3"} << 1;
    QTest::newRow("simple object, all or nothing")
        << int(OBJ_SIMPLE) << int(DEV_VoduzeR) << QStringList{"4:1 2 3 4 5 6"} << QList<int>{}
        << QStringList{"4|1 2 3 4 5 6"} << QStringList{"4:1 2 3 4 5 6"} << 0;
}

void TestZones::enter() {
    QFETCH(int, object);
    QFETCH(int, type);
    QFETCH(QStringList, bindings);
    QFETCH(QList<int>, answers);
    QFETCH(QStringList, zones);
    QFETCH(QStringList, after);
    QFETCH(int, questions);
    PageFixture fx(type, object);
    QSignalSpy normalised(fx.page.get(), &Zones::SigNormalizeOk);
    fx.enter(bindings, answers);
    QCOMPARE(ZonesShown(*fx.page), zones);
    QCOMPARE(Bindings(), after);
    QCOMPARE(fx.prompt.asked.size(), questions);
    QCOMPARE(fx.prompt.count(QStringLiteral("Нормализовать таблицу?")), questions);
    QCOMPARE(normalised.isEmpty(), answers.value(0) != Yes);
}

void TestZones::addZone_data() {
    QTest::addColumn<int>("object");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<int>("zones");
    QTest::addColumn<int>("announced");
    QTest::newRow("4 loops") << int(OBJ_COMPLEX) << int(DEV_D4M) << 5 << 4 << 5;
    QTest::newRow("8 loops") << int(OBJ_COMPLEX) << int(DEV_D8M) << 9 << 8 << 9;
    QTest::newRow("6 loops") << int(OBJ_COMPLEX) << int(DEV_VororaZ) << 7 << 6 << 7;
    QTest::newRow("simple object") << int(OBJ_SIMPLE) << int(DEV_D8M) << 2 << 1 << 0;
}

void TestZones::addZone() {
    QFETCH(int, object);
    QFETCH(int, type);
    QFETCH(int, clicks);
    QFETCH(int, zones);
    QFETCH(int, announced);
    PageFixture fx(type, object);
    QSignalSpy lists(fx.page.get(), &Zones::sigSendZonesList);
    for (int i = 0; i < clicks; ++i)
        fx.w("pbAddZone")->click();
    QCOMPARE(fx.page->keyModel()->columnCount(), kKeyNameColumns + zones);
    QCOMPARE(fx.page->loopModel()->columnCount(), zones);
    QCOMPARE(lists.size(), announced);
    for (const auto& args : lists)
        QCOMPARE(args.at(1).toInt(), int(Zones::ReasonAdd));
    if (!lists.isEmpty())
        QCOMPARE(lists.last().at(0).toStringList(), ZoneNames(*fx.page));
    QCOMPARE(fx.page->keyModel()->zoneName(zones - 1), DefaultZoneName(zones - 1));
}

void TestZones::deleteZone_data() {
    QTest::addColumn<QString>("renameLast"); // empty: keep the default names
    QTest::addColumn<int>("column");         // -1: no current column
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("zones");
    QTest::addColumn<QString>("asked"); // name in the question; empty: none
    const QStringList four{"Зона 0", "Зона 1", "Зона 2", "Зона 3"};
    const QStringList three{"Зона 0", "Зона 1", "Зона 2"};
    QTest::newRow("zone 1, yes") << QString() << 1 << QList<int>{Yes} << three
                                 << QStringList{"1|1", "3|3", "|"} << "\"Зона 1\"";
    QTest::newRow("zone 1, no") << QString() << 1 << QList<int>{No} << four
                                << QStringList{"1|1", "2|2", "3|3", "|"} << "\"Зона 1\"";
    QTest::newRow("user's name moves")
        << "Склад" << 1 << QList<int>{Yes} << QStringList{"Зона 0", "Склад", "Зона 2"}
        << QStringList{"1|1", "3|3", "|"} << "\"Зона 1\"";
    QTest::newRow("default name renumbered") << "Склад" << 2 << QList<int>{Yes} << three
                                             << QStringList{"1|1", "2|2", "|"} << "\"Склад\"";
    QTest::newRow("empty zone, no question")
        << QString() << 3 << QList<int>{} << three << QStringList{"1|1", "2|2", "3|3"} << QString();
    QTest::newRow("zone 0 stays") << QString() << 0 << QList<int>{Yes} << four
                                  << QStringList{"1|1", "2|2", "3|3", "|"} << QString();
    QTest::newRow("no current column") << QString() << -1 << QList<int>{Yes} << four
                                       << QStringList{"1|1", "2|2", "3|3", "|"} << QString();
}

void TestZones::deleteZone() {
    QFETCH(QString, renameLast);
    QFETCH(int, column);
    QFETCH(QList<int>, answers);
    QFETCH(QStringList, names);
    QFETCH(QStringList, zones);
    QFETCH(QString, asked);
    PageFixture fx(DEV_D4M, OBJ_COMPLEX);
    fx.enter({"1:1", "2:2", "3:3"});
    fx.w("pbAddZone")->click(); // zone 3, empty
    if (!renameLast.isEmpty()) {
        fx.prompt.items.enqueue(renameLast);
        fx.click("pbRenZone", 2);
    }
    fx.w<QTableView>("tvZoneShl")->setCurrentIndex(QModelIndex());
    fx.prompt.asked.clear();
    for (int a : answers)
        fx.prompt.buttons.enqueue(a);
    QSignalSpy lists(fx.page.get(), &Zones::sigSendZonesList);
    fx.click("pbDelZone", column);
    QCOMPARE(ZoneNames(*fx.page), names);
    QCOMPARE(ZonesShown(*fx.page), zones);
    QCOMPARE(fx.prompt.asked.size(), asked.isEmpty() ? 0 : 1);
    if (!asked.isEmpty())
        QVERIFY(fx.prompt.asked.first().text.contains(asked));
    const bool deleted = names.size() < 4;
    QCOMPARE(lists.isEmpty(), !deleted);
    if (deleted) {
        QCOMPARE(lists.last().at(1).toInt(), int(Zones::ReasonDelete));
        // The deleted zone's keys lose their loops.
        QCOMPARE(Bindings().size(), zones.size() - zones.count(QStringLiteral("|")));
    }
}

void TestZones::rename_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<QStringList>("typed"); // none: cancelled
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("announced");
    QTest::newRow("renamed") << 1 << QStringList{"Гараж"} << QStringList{"Зона 0", "Гараж"} << 1;
    QTest::newRow("cancelled") << 1 << QStringList{} << QStringList{"Зона 0", "Зона 1"} << 1;
}

void TestZones::rename() {
    QFETCH(int, column);
    QFETCH(QStringList, typed);
    QFETCH(QStringList, names);
    QFETCH(int, announced);
    PageFixture fx(DEV_D4M, OBJ_COMPLEX);
    fx.enter({"1:1", "2:2"});
    fx.w<QTableView>("tvZoneShl")->setCurrentIndex(QModelIndex());
    fx.prompt.items.append(typed);
    QSignalSpy lists(fx.page.get(), &Zones::sigSendZonesList);
    fx.click("pbRenZone", column);
    QCOMPARE(ZoneNames(*fx.page), names);
    QCOMPARE(lists.size(), announced);
    if (announced) {
        QCOMPARE(lists.last().at(1).toInt(), int(Zones::ReasonRename));
        QCOMPARE(lists.last().at(0).toStringList(), names);
        QCOMPARE(fx.prompt.asked.last().title, QStringLiteral("Введите имя зоны"));
    }
    for (int z = 0; z < names.size(); ++z) // the header reads the name as well
        QCOMPARE(fx.page->loopModel()->headerData(z, Qt::Horizontal, Qt::DisplayRole).toString(),
                 names.at(z));
}

void TestZones::techLoop_data() {
    QTest::addColumn<int>("keys"); // key k bound to loop k, for k = 1..keys
    QTest::addColumn<QList<int>>("choices");
    QTest::addColumn<QStringList>("zones");
    QTest::addColumn<int>("loopCount");
    QTest::addColumn<int>("locked");
    QTest::newRow("loop 3, every loop had a zone")
        << 8 << QList<int>{3} << QStringList{"1|1", "2|2", "3|", "4|4", "5|5", "6|6", "7|7"} << 7
        << 2;
    QTest::newRow("loop 3 then 5: still one zone less")
        << 8 << QList<int>{3, 5} << QStringList{"1|1 3", "2|2", "3|", "4|4", "5|", "6|6", "7|7"}
        << 7 << 4;
    QTest::newRow("loop 3 then none")
        << 8 << QList<int>{3, 0} << QStringList{"1|1 3", "2|2", "3|", "4|4", "5|5", "6|6", "7|7"}
        << 8 << -1;
    QTest::newRow("refill ignored")
        << 8 << QList<int>{3, -1} << QStringList{"1|1", "2|2", "3|", "4|4", "5|5", "6|6", "7|7"}
        << 7 << 2;
    QTest::newRow("fewer zones than loops")
        << 3 << QList<int>{3} << QStringList{"1|1", "2|2", "3|"} << 8 << 2;
}

void TestZones::techLoop() {
    QFETCH(int, keys);
    QFETCH(QList<int>, choices);
    QFETCH(QStringList, zones);
    QFETCH(int, loopCount);
    QFETCH(int, locked);
    PageFixture fx(DEV_D8M, OBJ_COMPLEX);
    QStringList bindings;
    for (int k = 1; k <= keys; ++k)
        bindings << QStringLiteral("%1:%1").arg(k);
    fx.enter(bindings);
    for (int n : choices)
        fx.page->NumTShlChange(n);
    QCOMPARE(ZonesShown(*fx.page), zones);
    QCOMPARE(fx.settings.zones->loopCount, loopCount);
    QCOMPARE(fx.page->loopModel()->lockedRow(), locked);
    QCOMPARE(fx.page->techLoopIndex(), locked);
}

void TestZones::deviceType_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QList<int>>("hidden");
    QTest::addColumn<QList<int>>("reasons");
    QTest::addColumn<QStringList>("zones");
    const QStringList six{"1|1", "2|2", "3|3", "4|4", "5|5", "6|6"};
    QTest::newRow("to 4 loops") << int(DEV_D4M) << QList<int>{4, 5, 6, 7}
                                << QList<int>{2, 2, 1, 1, 1, 5}
                                << QStringList{"1|1", "2|2", "3|3", "4|4"};
    QTest::newRow("to 6 loops") << int(DEV_VoduzeR) << QList<int>{6, 7}
                                << QList<int>{1, 1, 1, 1, 1, 5} << six;
}

void TestZones::deviceType() {
    QFETCH(int, type);
    QFETCH(QList<int>, hidden);
    QFETCH(QList<int>, reasons);
    QFETCH(QStringList, zones);
    PageFixture fx(DEV_D8M, OBJ_COMPLEX);
    fx.enter({"1:1", "2:2", "3:3", "4:4", "5:5", "6:6"});
    QSignalSpy lists(fx.page.get(), &Zones::sigSendZonesList);
    fx.page->TPribSlot(type);
    QList<int> rowsHidden;
    for (int row = 0; row < kLoops; ++row) {
        if (fx.w<QTableView>("tvZoneShl")->isRowHidden(row))
            rowsHidden << row;
    }
    QCOMPARE(rowsHidden, hidden);
    QList<int> got;
    for (const auto& args : lists)
        got << args.at(1).toInt();
    QCOMPARE(got, reasons);
    QCOMPARE(ZonesShown(*fx.page), zones);
    QCOMPARE(fx.settings.zones->loopCount, LoopCountOf(type));
}

void TestZones::objectType_data() {
    QTest::addColumn<int>("object");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QStringList>("zones");
    QTest::newRow("simple") << int(OBJ_SIMPLE) << "Простой объект" << QStringList{"1 2|2"};
    QTest::newRow("complex") << int(OBJ_COMPLEX) << "Сложный объект" << QStringList{"1|1", "2|2"};
}

void TestZones::objectType() {
    QFETCH(int, object);
    QFETCH(QString, label);
    QFETCH(QStringList, zones);
    PageFixture fx(DEV_D4M, 1 - object);
    Bind({"1:1", "2:2"});
    fx.settings.header->objectType = object;
    QSignalSpy lists(fx.page.get(), &Zones::sigSendZonesList);
    fx.page->TypeObjChange();
    QCOMPARE(fx.w<QLabel>("lType")->text(), label);
    for (const char* b : {"pbAddZone", "pbDelZone"}) {
        QCOMPARE(fx.w(b)->isEnabled(), object == OBJ_COMPLEX);
        QCOMPARE(fx.w(b)->toolTip().contains(QStringLiteral("Сложный объект")),
                 object == OBJ_SIMPLE);
    }
    QVERIFY(fx.w("pbRenZone")->isEnabled());
    QCOMPARE(ZonesShown(*fx.page), zones);
    QCOMPARE(lists.last().at(1).toInt(), int(Zones::ReasonObjectType));
}

void TestZones::edits_data() {
    QTest::addColumn<bool>("loopTable");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("zone");
    QTest::addColumn<bool>("on");
    QTest::addColumn<QStringList>("bindings");
    QTest::addColumn<bool>("bound");
    QTest::newRow("key 2 to zone 0")
        << false << 1 << 0 << true << QStringList{"1:1", "2:1"} << false;
    QTest::newRow("loop 3 to zone 1")
        << true << 2 << 1 << true << QStringList{"1:1", "2:2 3"} << true;
    QTest::newRow("loop 1 to zone 1") << true << 0 << 1 << true << QStringList{"2:1 2"} << false;
    QTest::newRow("key 1 out") << false << 0 << 0 << false << QStringList{"2:2"} << false;
}

void TestZones::edits() {
    QFETCH(bool, loopTable);
    QFETCH(int, row);
    QFETCH(int, zone);
    QFETCH(bool, on);
    QFETCH(QStringList, bindings);
    QFETCH(bool, bound);
    PageFixture fx(DEV_D4M, OBJ_COMPLEX);
    fx.enter({"1:1", "2:2"}); // loops 3 and 4 stay in no zone
    QVERIFY(fx.page->CheckZonesBound());
    CheckTableModel* m =
        loopTable ? static_cast<CheckTableModel*>(fx.page->loopModel()) : fx.page->keyModel();
    QSignalSpy normalised(fx.page.get(), &Zones::SigNormalizeOk);
    QVERIFY(m->setData(m->index(row, m->nameColumns() + zone), on, Qt::CheckStateRole));
    QCOMPARE(Bindings(), bindings);
    QVERIFY(!normalised.isEmpty());
    QCOMPARE(fx.page->CheckZonesBound(), bound);
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

QTEST_MAIN(TestZones)
#include "tst_zones.moc"
