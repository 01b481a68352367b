// The check-table models of the zones and key-to-loop pages and the key-name
// editor: roles, one-zone-per-row rule, greyed cells, headers, bad indexes.

#include "editor/ZoneTables.h"
#include "editor/base/KeyLoopMatrix.h"
#include "editor/base/LeDelegate.h"
#include "keys/KeyShlTable.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QStyleOptionViewItem>
#include <QTest>

#include <memory>

namespace {
enum Kind { KeyZoneModel, ZoneShlModel, KeyShlModel };

// The models as the pages create them: 3 zones shown on the zone tables.
std::unique_ptr<CheckTableModel> Make(int kind) {
    switch (kind) {
    case KeyZoneModel:
        return std::make_unique<KeyZone>(kOrdinaryKeys, kKeyNameColumns + 3);
    case ZoneShlModel:
        return std::make_unique<ZoneShl>(kLoops, 3);
    default:
        return std::make_unique<KeyShlTable>(kOrdinaryKeys, kKeyNameColumns + kLoops);
    }
}

// Check cells of a row that are ticked, as check-column numbers.
QList<int> Ticked(const CheckTableModel& m, int row) {
    QList<int> out;
    for (int c = 0; c < m.checkCapacity(); ++c) {
        if (m.check(row, c))
            out << c;
    }
    return out;
}
} // namespace

class TestZoneTables : public QObject {
    Q_OBJECT

private slots:
    void init() { KeyLoopMatrix = {}; }
    void roles_data();
    void roles();
    void onePerRow_data();
    void onePerRow();
    void greyed_data();
    void greyed();
    void headers_data();
    void headers();
    void foreignIndexes();
    void delegate_data();
    void delegate();
};

void TestZoneTables::roles_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("role");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QVariant>("shown");   // display role afterwards
    QTest::addColumn<QVariant>("checked"); // check-state role afterwards
    const QVariant none;
    const QVariant on = int(Qt::Checked), off = int(Qt::Unchecked);
    const QVariant name = QStringLiteral("Ivan 1");
    QTest::newRow("key name, display")
        << int(KeyZoneModel) << 0 << int(Qt::DisplayRole) << name << true << name << none;
    QTest::newRow("device name, edit")
        << int(KeyZoneModel) << 1 << int(Qt::EditRole) << name << true << name << none;
    QTest::newRow("name by check role") << int(KeyZoneModel) << 0 << int(Qt::CheckStateRole) << on
                                        << false << QVariant(QString()) << none;
    QTest::newRow("zone cell by text")
        << int(KeyZoneModel) << 3 << int(Qt::DisplayRole) << name << false << none << off;
    QTest::newRow("zone cell ticked")
        << int(KeyZoneModel) << 3 << int(Qt::CheckStateRole) << on << true << none << on;
    QTest::newRow("loop cell cleared")
        << int(ZoneShlModel) << 0 << int(Qt::CheckStateRole) << off << true << none << off;
    QTest::newRow("loop cell by text")
        << int(ZoneShlModel) << 1 << int(Qt::EditRole) << name << false << none << off;
    QTest::newRow("key-loop name")
        << int(KeyShlModel) << 1 << int(Qt::DisplayRole) << name << true << name << none;
    QTest::newRow("key-loop cell, bool")
        << int(KeyShlModel) << 9 << int(Qt::CheckStateRole) << QVariant(true) << true << none << on;
    QTest::newRow("key-loop cell by text")
        << int(KeyShlModel) << 9 << int(Qt::DisplayRole) << name << false << none << off;
}

void TestZoneTables::roles() {
    QFETCH(int, kind);
    QFETCH(int, column);
    QFETCH(int, role);
    QFETCH(QVariant, value);
    QFETCH(bool, accepted);
    QFETCH(QVariant, shown);
    QFETCH(QVariant, checked);
    auto m = Make(kind);
    const QModelIndex at = m->index(4, column);
    QSignalSpy changed(m.get(), &QAbstractItemModel::dataChanged);
    QCOMPARE(m->setData(at, value, role), accepted);
    QCOMPARE(changed.size(), accepted ? 1 : 0);
    QCOMPARE(m->data(at, Qt::DisplayRole), shown);
    QCOMPARE(m->data(at, Qt::CheckStateRole), checked);
    // Only the key-to-loop table writes through to the shared table.
    const int loop = column - m->nameColumns();
    const bool shared = kind == KeyShlModel && accepted && loop >= 0;
    QCOMPARE(KeyLoopMatrix[4][size_t(std::max(loop, 0))], u8(shared ? 1 : 0));
}

void TestZoneTables::onePerRow_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("before"); // ticked check column, -1 none
    QTest::addColumn<int>("cell");
    QTest::addColumn<bool>("on");
    QTest::addColumn<QList<int>>("reported"); // table columns, in signal order
    QTest::addColumn<QList<int>>("after");
    QTest::newRow("key moves zone 0 -> 2")
        << int(KeyZoneModel) << 0 << 2 << true << QList<int>{2, 4} << QList<int>{2};
    QTest::newRow("key leaves its zone")
        << int(KeyZoneModel) << 1 << 1 << false << QList<int>{3} << QList<int>{};
    QTest::newRow("key ticked again")
        << int(KeyZoneModel) << 1 << 1 << true << QList<int>{3} << QList<int>{1};
    QTest::newRow("loop moves zone 1 -> 0")
        << int(ZoneShlModel) << 1 << 0 << true << QList<int>{1, 0} << QList<int>{0};
    QTest::newRow("key-loop cells add up")
        << int(KeyShlModel) << 0 << 5 << true << QList<int>{7} << QList<int>{0, 5};
}

void TestZoneTables::onePerRow() {
    QFETCH(int, kind);
    QFETCH(int, before);
    QFETCH(int, cell);
    QFETCH(bool, on);
    QFETCH(QList<int>, reported);
    QFETCH(QList<int>, after);
    auto m = Make(kind);
    const int row = 5;
    for (int c = 0; c < m->checkCapacity(); ++c)
        m->setCheck(row, c, c == before);
    QSignalSpy changed(m.get(), &QAbstractItemModel::dataChanged);
    QVERIFY(m->setData(m->index(row, m->nameColumns() + cell), on, Qt::CheckStateRole));
    QList<int> columns;
    for (const auto& args : changed)
        columns << args.at(0).toModelIndex().column();
    QCOMPARE(columns, reported);
    QCOMPARE(Ticked(*m, row), after);
}

void TestZoneTables::greyed_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("locked"); // row (loop table) or table column (key-to-loop)
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("flags");
    const int cell = Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    const int base = cell | Qt::ItemIsEnabled;
    const int check = base | Qt::ItemIsUserCheckable;
    const int greyed = cell | Qt::ItemIsUserCheckable;
    QTest::newRow("loop row 3 locked") << int(ZoneShlModel) << 2 << 2 << 1 << greyed;
    QTest::newRow("other loop row") << int(ZoneShlModel) << 2 << 3 << 1 << check;
    QTest::newRow("nothing locked") << int(ZoneShlModel) << -1 << 2 << 0 << check;
    QTest::newRow("loop 3 column") << int(KeyShlModel) << 4 << 7 << 4 << greyed;
    QTest::newRow("loop 4 column") << int(KeyShlModel) << 4 << 7 << 5 << check;
    QTest::newRow("name beside it")
        << int(KeyShlModel) << 4 << 7 << 1 << int(base | Qt::ItemIsEditable);
    QTest::newRow("zone cell") << int(KeyZoneModel) << -1 << 0 << 2 << check;
    QTest::newRow("key name") << int(KeyZoneModel) << -1 << 0 << 0
                              << int(base | Qt::ItemIsEditable);
}

void TestZoneTables::greyed() {
    QFETCH(int, kind);
    QFETCH(int, locked);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(int, flags);
    auto m = Make(kind);
    if (auto* loops = dynamic_cast<ZoneShl*>(m.get()))
        loops->setLockedRow(locked);
    if (auto* keys = dynamic_cast<KeyShlTable*>(m.get()))
        keys->setTechColumn(locked);
    QCOMPARE(int(m->flags(m->index(row, column))), flags);
}

void TestZoneTables::headers_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("orientation");
    QTest::addColumn<int>("section");
    QTest::addColumn<int>("role");
    QTest::addColumn<QVariant>("text");
    const int h = Qt::Horizontal, v = Qt::Vertical, d = Qt::DisplayRole;
    auto t = [](const char* s) { return QVariant(QString::fromUtf8(s)); };
    QTest::newRow("key name") << int(KeyZoneModel) << h << 0 << d << t("Имя ключа");
    QTest::newRow("device name") << int(KeyZoneModel) << h << 1 << d << t("Имя в EEPROM");
    QTest::newRow("first zone") << int(KeyZoneModel) << h << 2 << d << t("Зона 0");
    QTest::newRow("past the zones") << int(KeyZoneModel) << h << 5 << d << QVariant();
    QTest::newRow("last key") << int(KeyZoneModel) << v << 17 << d << t("18");
    QTest::newRow("tool tip role")
        << int(KeyZoneModel) << h << 0 << int(Qt::ToolTipRole) << QVariant();
    QTest::newRow("third zone") << int(ZoneShlModel) << h << 2 << d << t("Зона 2");
    QTest::newRow("loop 8") << int(ZoneShlModel) << v << 7 << d << t("Шлейф №8");
    QTest::newRow("loop 1 column") << int(KeyShlModel) << h << 2 << d << t("Ш. №1");
    QTest::newRow("loop 8 column") << int(KeyShlModel) << h << 9 << d << t("Ш. №8");
    QTest::newRow("key 1") << int(KeyShlModel) << v << 0 << d << t("1");
    QTest::newRow("no key 19") << int(KeyShlModel) << v << 18 << d << QVariant();
}

void TestZoneTables::headers() {
    QFETCH(int, kind);
    QFETCH(int, orientation);
    QFETCH(int, section);
    QFETCH(int, role);
    QFETCH(QVariant, text);
    auto m = Make(kind);
    QCOMPARE(m->headerData(section, Qt::Orientation(orientation), role), text);
}

void TestZoneTables::foreignIndexes() {
    // An index of another model or none at all is never a cell here.
    KeyShlTable keys(kOrdinaryKeys, kKeyNameColumns + kLoops);
    QStandardItemModel other(30, 30);
    for (const QModelIndex& bad : {QModelIndex(), other.index(25, 3), other.index(3, 25)}) {
        QVERIFY(!keys.data(bad, Qt::CheckStateRole).isValid());
        QVERIFY(!keys.setData(bad, true, Qt::CheckStateRole));
        QVERIFY(!(keys.flags(bad) & Qt::ItemIsUserCheckable));
    }
    QCOMPARE(KeyLoopMatrix, KeyLoopTable{});
    // Fewer zones shown keep the hidden zones' cells.
    KeyZone zones(kOrdinaryKeys, kKeyNameColumns + 4);
    zones.setKeyZone(0, 3, true);
    zones.setShownChecks(2);
    QCOMPARE(zones.columnCount(), 4);
    QVERIFY(!zones.index(0, 5).isValid());
    zones.setShownChecks(99);
    QCOMPARE(zones.columnCount(), kKeyNameColumns + kZones);
    QVERIFY(zones.keyZone(0, 3));
}

void TestZoneTables::delegate_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("Latin and digits") << "Key7a"
                                      << "Key7a";
    QTest::newRow("cut at 8") << "abcDEF123456"
                              << "abcDEF12";
    QTest::newRow("blank, dash, Cyrillic dropped") << "a b-cЯd"
                                                   << "abcd";
}

void TestZoneTables::delegate() {
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    KeyZone model(kOrdinaryKeys, kKeyNameColumns + 1);
    model.setEepromName(3, QStringLiteral("old"));
    LeDelegate delegate;
    QWidget parent;
    const QModelIndex at = model.index(3, 1);
    std::unique_ptr<QWidget> editor(delegate.createEditor(&parent, QStyleOptionViewItem(), at));
    auto* line = qobject_cast<QLineEdit*>(editor.get());
    QVERIFY(line);
    delegate.setEditorData(line, at);
    QCOMPARE(line->text(), QStringLiteral("old"));
    line->clear();
    // Key events carrying the text, so that non-Latin letters are typed too.
    for (const QChar ch : typed) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(line, &press);
    }
    QSignalSpy committed(&delegate, &QAbstractItemDelegate::commitData);
    QSignalSpy closed(&delegate, &QAbstractItemDelegate::closeEditor);
    emit line->editingFinished();
    QCOMPARE(committed.size(), 1);
    QCOMPARE(closed.size(), 1);
    delegate.setModelData(line, &model, at);
    QCOMPARE(model.eepromName(3), stored);
}

QTEST_MAIN(TestZoneTables)
#include "tst_zonetables.moc"
