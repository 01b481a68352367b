// The check-table models of the zones and key-to-loop pages and the key-name
// editor: roles, the one-zone-per-row rule, bad indexes.

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
    void cells_data();
    void cells();
    void foreignIndexes();
    void delegate_data();
    void delegate();
};

void TestZoneTables::cells_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("before"); // ticked check column of row 5, -1 none
    QTest::addColumn<int>("column"); // table column written
    QTest::addColumn<int>("role");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QList<int>>("reported"); // dataChanged columns in order; none: refused
    QTest::addColumn<QList<int>>("after");    // ticked check columns afterwards
    const int text = Qt::DisplayRole, edit = Qt::EditRole, check = Qt::CheckStateRole;
    const QVariant on = int(Qt::Checked), off = int(Qt::Unchecked), name = "Ivan 1";
    using L = QList<int>;
    QTest::newRow("key name") << int(KeyZoneModel) << 0 << 0 << edit << name << L{0} << L{0};
    QTest::newRow("name by check role")
        << int(KeyZoneModel) << 0 << 0 << check << on << L{} << L{0};
    QTest::newRow("zone cell by text")
        << int(KeyZoneModel) << 0 << 3 << text << name << L{} << L{0};
    QTest::newRow("key moves zone 0 -> 2")
        << int(KeyZoneModel) << 0 << 4 << check << on << L{2, 4} << L{2};
    QTest::newRow("key leaves its zone")
        << int(KeyZoneModel) << 1 << 3 << check << off << L{3} << L{};
    QTest::newRow("loop moves zone 1 -> 0")
        << int(ZoneShlModel) << 1 << 0 << check << on << L{1, 0} << L{0};
    QTest::newRow("key-loop cells add up")
        << int(KeyShlModel) << 0 << 7 << check << QVariant(true) << L{7} << L{0, 5};
    QTest::newRow("key-loop name") << int(KeyShlModel) << -1 << 1 << text << name << L{1} << L{};
}

void TestZoneTables::cells() {
    QFETCH(int, kind);
    QFETCH(int, before);
    QFETCH(int, column);
    QFETCH(int, role);
    QFETCH(QVariant, value);
    QFETCH(QList<int>, reported);
    QFETCH(QList<int>, after);
    auto m = Make(kind);
    const int row = 5;
    for (int c = 0; c < m->checkCapacity(); ++c)
        m->setCheck(row, c, c == before);
    const QModelIndex at = m->index(row, column);
    QSignalSpy changed(m.get(), &QAbstractItemModel::dataChanged);
    QCOMPARE(m->setData(at, value, role), !reported.isEmpty());
    QList<int> columns;
    for (const auto& args : changed)
        columns << args.at(0).toModelIndex().column();
    QCOMPARE(columns, reported);
    QCOMPARE(Ticked(*m, row), after);
    const bool nameCell = column < m->nameColumns();
    QCOMPARE(m->data(at, Qt::DisplayRole),
             nameCell ? QVariant(role == Qt::CheckStateRole ? QString() : value.toString())
                      : QVariant());
    // Only the key-to-loop table writes through to the shared table.
    const bool shared = kind == KeyShlModel && !nameCell;
    for (int loop = 0; loop < kLoops; ++loop)
        QCOMPARE(KeyLoopMatrix[size_t(row)][size_t(loop)],
                 u8(shared && loop == column - kKeyNameColumns ? 1 : 0));
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
