// The zones and key-to-loop pages inside the real parameters window of the
// main window: names and bindings mirrored between them, the cancel order,
// the zone list reaching the outputs page, and key bindings reaching the
// simulated device in one programming run.

#include "../app/DeviceFixture.h"
#include "ZonesTestSupport.h"

#include "editor/PribParWindow.h"
#include "keys/KeyShlConfig.h"
#include "keys/KeyShlTable.h"
#include "settings/LayoutNumbers.h"

#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

namespace {
struct WindowFixture {
    WindowFixture() {
        ok = fx.open();
        window = fx.main->findChild<PribParWindow*>();
        zones = window->zones();
        keys = window->findChild<KeyShlConfig*>();
        list = window->findChild<QListWidget*>(QStringLiteral("ListParams"));
    }
    void radio(const char* name) { fx.widget<QRadioButton>(name)->click(); }
    // The form starts with "complex" ticked over the settings' simple object,
    // so a click on it alone would change nothing.
    void complex() {
        radio("Rbtobjpr");
        radio("Rbtobjsl");
    }
    void cancel() { window->findChild<QPushButton*>(QStringLiteral("pbCancel"))->click(); }
    void open(const QString& title) {
        list->setCurrentItem(list->findItems(title, Qt::MatchExactly).value(0));
    }
    void tick(int key, const QList<int>& loops) {
        KeyShlTable& t = *keys->model();
        for (int loop : loops)
            QVERIFY(t.setData(t.index(key - 1, loop + 1), true, Qt::CheckStateRole));
    }
    QStringList keyTable() const {
        QStringList out;
        for (int k = 0; k < kOrdinaryKeys; ++k) {
            QList<int> loops;
            for (int l = 0; l < kLoops; ++l) {
                if (keys->model()->check(k, l))
                    loops << l;
            }
            if (!loops.isEmpty())
                out << QString::number(k + 1) + ':' + Numbers(loops);
        }
        return out;
    }

    DeviceFixture fx;
    bool ok = false;
    PribParWindow* window = nullptr;
    Zones* zones = nullptr;
    KeyShlConfig* keys = nullptr;
    QListWidget* list = nullptr;
};
} // namespace

class TestZonesWindow : public QObject {
    Q_OBJECT

private slots:
    void mirrors();
    void zoneListReasons();
    void bindingsProgrammed();
};

void TestZonesWindow::mirrors() {
    WindowFixture w;
    QVERIFY(w.ok);
    w.complex();
    w.cancel();

    // Names typed on one page show on the other, once.
    QSignalSpy fromKeys(w.keys, &KeyShlConfig::SigTableDataChanged);
    QSignalSpy fromZones(w.zones, &Zones::SigTableDataChanged);
    KeyShlTable& keyTable = *w.keys->model();
    QVERIFY(keyTable.setData(keyTable.index(1, 1), QStringLiteral("GATE2"), Qt::DisplayRole));
    KeyZone& zoneTable = *w.zones->keyModel();
    QVERIFY(zoneTable.setData(zoneTable.index(3, 0), QStringLiteral("Петров"), Qt::EditRole));
    QCOMPARE(w.zones->keyModel()->eepromName(1), QStringLiteral("GATE2"));
    QCOMPARE(w.keys->model()->keyName(3), QStringLiteral("Петров"));
    QCOMPARE(fromKeys.size(), 1);
    QCOMPARE(fromZones.size(), 1);

    // Bindings ticked on the key page give the zones on opening "Зоны"; the
    // normalisation there comes back to the key page.
    w.open(QStringLiteral("Ключи и шлейфы"));
    w.tick(1, {1, 2});
    w.tick(2, {2, 3});
    w.fx.prompt.buttons.enqueue(Prompt::Yes);
    w.open(QStringLiteral("Зоны"));
    QCOMPARE(w.fx.prompt.count(QStringLiteral("Нормализовать таблицу?")), 1);
    QCOMPARE(ZonesShown(*w.zones), (QStringList{"1|1 2", "2|3"}));
    QCOMPARE(w.keyTable(), (QStringList{"1:1 2", "2:3"}));
    QVERIFY(zoneTable.setData(zoneTable.index(2, 3), true, Qt::CheckStateRole)); // key 3, zone 1
    QCOMPARE(w.keyTable(), (QStringList{"1:1 2", "2:3", "3:3"}));

    // Cancel: the key page reloads KeyLoopMatrix before the zones page
    // rebuilds from it, so both show what was stored.
    w.cancel();
    QVERIFY(w.keyTable().isEmpty());
    QVERIFY(Bindings().isEmpty());
    QCOMPARE(ZonesShown(*w.zones), QStringList{"|"});
    QCOMPARE(w.zones->keyModel()->eepromName(1), QString());
    QCOMPARE(w.keys->model()->keyName(3), QString());
}

void TestZonesWindow::zoneListReasons() {
    WindowFixture w;
    QVERIFY(w.ok);
    QCOMPARE(ReceiverCount::of(w.zones, SIGNAL(sigSendZonesList(QStringList, int))), 1);
    QSignalSpy lists(w.zones, &Zones::sigSendZonesList);
    auto* loopView = w.zones->findChild<QTableView*>(QStringLiteral("tvZoneShl"));
    w.cancel();
    w.complex();
    w.open(QStringLiteral("Зоны"));
    w.zones->findChild<QPushButton*>(QStringLiteral("pbAddZone"))->click();
    loopView->selectColumn(1);
    w.zones->findChild<QPushButton*>(QStringLiteral("pbDelZone"))->click();
    loopView->selectColumn(0);
    w.fx.prompt.items.enqueue(QStringLiteral("Дом"));
    w.zones->findChild<QPushButton*>(QStringLiteral("pbRenZone"))->click();
    w.radio("RbD8M");
    QList<int> reasons;
    for (const auto& args : lists)
        reasons << args.at(1).toInt();
    QCOMPARE(reasons, (QList<int>{0, 4, 4, 1, 2, 3, 5})); // simple, then complex
    QCOMPARE(lists.last().at(0).toStringList(), QStringList{"Дом"});
}

void TestZonesWindow::bindingsProgrammed() {
    WindowFixture w;
    QVERIFY(w.ok);
    QVERIFY(w.fx.connect(4, QDate(2012, 4, 19), 45));
    w.cancel();
    w.tick(1, {1, 3});
    w.tick(18, {2, 8});
    KeyShlTable& t = *w.keys->model();
    QVERIFY(t.setData(t.index(4, 1), QStringLiteral("Door5"), Qt::DisplayRole));
    w.fx.sim.SetProgrammingOk(true);
    const int before = w.fx.rows();
    w.fx.action("actProgramming")->trigger();
    QVERIFY(w.fx.waitForCode(120, before));
    const QList<QByteArray> names = w.fx.sim.SectionsAsked();
    const QByteArray cr88 = w.fx.sim.SectionAnswers().value(int(names.indexOf("CR88")));
    const QByteArray cr99 = w.fx.sim.SectionAnswers().value(int(names.indexOf("CR99")));
    using namespace layout::cr88;
    QCOMPARE(quint8(cr88.at(kKeyMaskOffset)), quint8(0b00000101));
    QCOMPARE(quint8(cr88.at(kKeyMaskOffset + 17)), quint8(0b10000010));
    for (int k = 1; k < 17; ++k)
        QCOMPARE(quint8(cr88.at(kKeyMaskOffset + k)), quint8(0));
    QVERIFY(cr99.contains(QByteArray("Door5\xFF\xFF\xFF")));
}

QTEST_MAIN(TestZonesWindow)
#include "tst_zones_window.moc"
