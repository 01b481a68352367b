// The key-to-loop page on its own: loop columns by model, the technological
// loop's column, set and clear all, KeyLoopMatrix kept equal to the table
// through edits, loads and stores; the tables' bad indexes.

#include "ZonesTestSupport.h"
#include "app/AppTestSupport.h"
#include "keys/KeyShlConfig.h"
#include "keys/KeyShlTable.h"

#include <QStandardItemModel>
#include <QTableView>
#include <QToolButton>

#include <memory>

namespace {
struct PageFixture {
    PageFixture() {
        SetDefaultSettings(&settings, false);
        g_deviceSettings = &settings;
        KeyLoopMatrix = {};
        page = std::make_unique<KeyShlConfig>();
    }
    ~PageFixture() {
        page.reset();
        g_deviceSettings = nullptr;
    }
    KeyShlTable& table() const { return *page->model(); }
    void tick(int key, int loop, bool on) {
        QVERIFY(table().setData(table().index(key - 1, loop + 1), on, Qt::CheckStateRole));
    }

    DeviceSettings settings;
    std::unique_ptr<KeyShlConfig> page;
};
} // namespace

class TestKeyShlConfig : public QObject {
    Q_OBJECT

private slots:
    void columns_data();
    void columns();
    void techLoop_data();
    void techLoop();
    void loadEditStore();
    void foreignIndexes();
};

void TestKeyShlConfig::columns_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("loops");
    QTest::newRow("8-loop model") << int(DEV_D8M) << 8;
    QTest::newRow("first of the second family") << int(DEV_VororaZ) << 6;
    QTest::newRow("unknown type") << 7 << 8;
}

void TestKeyShlConfig::columns() {
    QFETCH(int, type);
    QFETCH(int, loops);
    PageFixture fx;
    fx.page->TDevChange(DEV_D4M);
    fx.page->TDevChange(type);
    auto* view = fx.page->findChild<QTableView*>(QStringLiteral("tvKeyShl"));
    for (int column = 0; column < kKeyNameColumns + kLoops; ++column)
        QCOMPARE(view->isColumnHidden(column), column >= kKeyNameColumns + loops);
}

void TestKeyShlConfig::techLoop_data() {
    QTest::addColumn<QList<int>>("choices");
    QTest::addColumn<QString>("button"); // pressed afterwards; empty: none
    QTest::addColumn<QString>("loops");  // key 1's; after set all every key's
    QTest::addColumn<int>("greyed");     // table column, -1 none
    const QString all = "1 2 3 4 5 6 7 8", but3 = "1 2 4 5 6 7 8";
    QTest::newRow("loop 3 cleared") << QList<int>{3} << QString() << but3 << 4;
    QTest::newRow("set all but loop 3") << QList<int>{3} << "tbSetAll" << but3 << 4;
    QTest::newRow("none again, set all") << QList<int>{3, 0} << "tbSetAll" << all << -1;
    QTest::newRow("loop 5 after 3") << QList<int>{3, 5} << QString() << "1 2 4 6 7 8" << 6;
    QTest::newRow("refill ignored") << QList<int>{-1} << QString() << all << -1;
}

// Hidden loops are set and cleared all the same; set and clear all tell the
// zones page nothing until it is opened.
void TestKeyShlConfig::techLoop() {
    QFETCH(QList<int>, choices);
    QFETCH(QString, button);
    QFETCH(QString, loops);
    QFETCH(int, greyed);
    PageFixture fx;
    fx.page->TDevChange(DEV_D4M);
    fx.settings.zones->keyLoop[0].fill(1);
    fx.page->CancelClick();
    for (int n : choices)
        fx.page->NumTShlChange(n);
    QSignalSpy changed(fx.page.get(), &KeyShlConfig::SigTableDataChanged);
    if (!button.isEmpty())
        fx.page->findChild<QToolButton*>(button)->click();
    QVERIFY(changed.isEmpty());
    QStringList expected;
    const int keys = loops.isEmpty() ? 0 : button == "tbSetAll" ? kOrdinaryKeys : 1;
    for (int k = 1; k <= keys; ++k)
        expected << QString::number(k) + ':' + loops;
    QCOMPARE(Ticks(fx.table()), expected);
    QCOMPARE(Bindings(), expected);
    QCOMPARE(fx.table().techColumn(), greyed);
    for (int column = kKeyNameColumns; column < kKeyNameColumns + kLoops; ++column)
        QCOMPARE(bool(fx.table().flags(fx.table().index(0, column)) & Qt::ItemIsEnabled),
                 column != greyed);
}

// A tick reaches KeyLoopMatrix at once, not the settings; cancel restores
// both.
void TestKeyShlConfig::loadEditStore() {
    PageFixture fx;
    ZonesConfig& z = *fx.settings.zones;
    z.keyName[1] = QStringLiteral("Иванов");
    z.eepromKeyName[1] = QStringLiteral("IVAN");
    z.keyLoop[1][2] = 1;
    fx.page->CancelClick();
    QCOMPARE(fx.table().keyName(1), QStringLiteral("Иванов"));
    QCOMPARE(fx.table().data(fx.table().index(1, 1), Qt::DisplayRole), QVariant("IVAN"));
    QCOMPARE(Bindings(), QStringList{"2:3"});

    fx.tick(2, 4, true);
    fx.tick(2, 3, false);
    QCOMPARE(Bindings(), QStringList{"2:4"});
    QCOMPARE(z.keyLoop[1][3], u8(0));
    fx.page->CancelClick();
    QCOMPARE(Ticks(fx.table()), QStringList{"2:3"});
    QCOMPARE(Bindings(), QStringList{"2:3"});
}

// An index of another model or none at all is never a cell; fewer zones
// shown keep the hidden zones' cells.
void TestKeyShlConfig::foreignIndexes() {
    KeyLoopMatrix = {};
    KeyShlTable keys(kOrdinaryKeys, kKeyNameColumns + kLoops);
    QStandardItemModel other(30, 30);
    for (const QModelIndex& bad : {QModelIndex(), other.index(25, 3), other.index(3, 25)}) {
        QVERIFY(!keys.data(bad, Qt::CheckStateRole).isValid());
        QVERIFY(!keys.setData(bad, true, Qt::CheckStateRole));
        QVERIFY(!(keys.flags(bad) & Qt::ItemIsUserCheckable));
    }
    QCOMPARE(KeyLoopMatrix, KeyLoopTable{});
    KeyZone zones(kOrdinaryKeys, kKeyNameColumns + 4);
    zones.setKeyZone(0, 3, true);
    zones.setShownChecks(2);
    QVERIFY(!zones.index(0, 5).isValid());
    zones.setShownChecks(99);
    QCOMPARE(zones.columnCount(), kKeyNameColumns + kZones);
    QVERIFY(zones.keyZone(0, 3));
}

QTEST_MAIN(TestKeyShlConfig)
#include "tst_keyshlconfig.moc"
