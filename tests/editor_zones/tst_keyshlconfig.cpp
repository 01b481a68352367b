// The key-to-loop page on its own: loop columns by model, the technological
// loop's column, set and clear all, and KeyLoopMatrix kept equal to the table
// through edits, loads and stores.

#include "ZonesTestSupport.h"
#include "app/AppTestSupport.h"
#include "keys/KeyShlConfig.h"
#include "keys/KeyShlTable.h"

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
    QStringList shown() const { return Ticks(table()); }
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
};

void TestKeyShlConfig::columns_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("loops");
    QTest::newRow("4-loop model") << int(DEV_D4M) << 4;
    QTest::newRow("8-loop model") << int(DEV_D8M) << 8;
    QTest::newRow("first of the second family") << int(DEV_VororaZ) << 6;
    QTest::newRow("second of the second family") << int(DEV_VoduzeR) << 6;
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
    QTest::addColumn<QStringList>("table");
    QTest::addColumn<int>("greyed"); // table column, -1 none
    const QString all = "1 2 3 4 5 6 7 8", but3 = "1 2 4 5 6 7 8";
    QTest::newRow("loop 3 cleared") << QList<int>{3} << QString() << QStringList{"1:" + but3} << 4;
    QTest::newRow("set all but loop 3")
        << QList<int>{3} << "tbSetAll" << QStringList{"1:" + but3, "2:" + but3} << 4;
    QTest::newRow("clear all") << QList<int>{3} << "tbUnsetAll" << QStringList{} << 4;
    QTest::newRow("none again: still clear")
        << QList<int>{3, 0} << QString() << QStringList{"1:" + but3} << -1;
    QTest::newRow("none again, set all")
        << QList<int>{3, 0} << "tbSetAll" << QStringList{"1:" + all, "2:" + all} << -1;
    QTest::newRow("loop 5 after 3")
        << QList<int>{3, 5} << QString() << QStringList{"1:1 2 4 6 7 8"} << 6;
    QTest::newRow("refill ignored") << QList<int>{-1} << QString() << QStringList{"1:" + all} << -1;
}

void TestKeyShlConfig::techLoop() {
    QFETCH(QList<int>, choices);
    QFETCH(QString, button);
    QFETCH(QStringList, table);
    QFETCH(int, greyed);
    PageFixture fx;
    fx.page->TDevChange(DEV_D4M); // hidden loops are set and cleared all the same
    fx.settings.zones->keyLoop[0].fill(1);
    fx.page->CancelClick();
    for (int n : choices)
        fx.page->NumTShlChange(n);
    // Set and clear all tell the zones page nothing until it is opened.
    QSignalSpy changed(fx.page.get(), &KeyShlConfig::SigTableDataChanged);
    if (!button.isEmpty())
        fx.page->findChild<QToolButton*>(button)->click();
    QVERIFY(changed.isEmpty());
    QStringList expected = table;
    if (button == "tbSetAll") // every key, not only the first two
        for (int k = 3; k <= kOrdinaryKeys; ++k)
            expected << QString::number(k) + table.last().mid(1);
    QCOMPARE(fx.shown(), expected);
    QCOMPARE(Bindings(), expected);
    QCOMPARE(fx.table().techColumn(), greyed);
    for (int column = kKeyNameColumns; column < kKeyNameColumns + kLoops; ++column)
        QCOMPARE(bool(fx.table().flags(fx.table().index(0, column)) & Qt::ItemIsEnabled),
                 column != greyed);
}

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

    // A tick reaches KeyLoopMatrix at once and the settings only on apply.
    fx.tick(2, 4, true);
    fx.tick(2, 3, false);
    QCOMPARE(Bindings(), QStringList{"2:4"});
    QCOMPARE(z.keyLoop[1][3], u8(0));
    fx.page->CancelClick();
    QCOMPARE(fx.shown(), QStringList{"2:3"});
    QCOMPARE(Bindings(), QStringList{"2:3"});

    fx.tick(5, 8, true);
    QVERIFY(fx.table().setData(fx.table().index(4, 1), QStringLiteral("K5"), Qt::DisplayRole));
    fx.page->ApplyClick();
    QCOMPARE(z.keyLoop[4][7], u8(1));
    QCOMPARE(z.eepromKeyName[4], QStringLiteral("K5"));
    QCOMPARE(z.keyName[1], QStringLiteral("Иванов"));
}

QTEST_MAIN(TestKeyShlConfig)
#include "tst_keyshlconfig.moc"
