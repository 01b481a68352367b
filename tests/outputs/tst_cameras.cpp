// The loop-by-camera table model and the cameras page, which writes the
// cameras block at once when a camera or a loop goes away.

#include "PageTestSupport.h"

#include "outputs/Cameras.h"
#include "outputs/CamerasExecTable.h"

#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTableView>

namespace {
// Reaches indexes of this model outside its cells.
struct OpenTable : CamerasExecTable {
    using CamerasExecTable::createIndex;
};
QTableView* table(const Cameras& page) {
    return child<QTableView>(&page, "tvCamerasExec");
}
// The loops whose ticks camera column `c` of the block holds.
QList<int> loopsOf(const CamerasConfig& cam, int c) {
    QList<int> loops;
    for (int l = 0; l < 8; ++l)
        if (cam.execCamera[size_t(l)][size_t(c)])
            loops << l;
    return loops;
}
} // namespace

class TestCameras : public QObject {
    Q_OBJECT

private slots:
    void modelContract_data();
    void modelContract();
    void page();
    void loopsByModel_data();
    void loopsByModel();
};

void TestCameras::modelContract_data() {
    QTest::addColumn<int>("row"); // -1: an index of another model
    QTest::addColumn<int>("role");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("taken");
    const int check = Qt::CheckStateRole;
    QTest::newRow("check state") << 2 << check << QVariant::fromValue(Qt::Checked) << true;
    QTest::newRow("int") << 2 << check << QVariant(2) << true;
    QTest::newRow("bool") << 2 << check << QVariant(true) << true;
    QTest::newRow("display role") << 2 << int(Qt::DisplayRole) << QVariant(2) << false;
    QTest::newRow("edit role") << 2 << int(Qt::EditRole) << QVariant(true) << false;
    QTest::newRow("other model") << -1 << check << QVariant(2) << false;
    QTest::newRow("outside 8 x 8") << 8 << check << QVariant(2) << false;
}

// Only check states of this model's 64 cells are taken, stored before the
// views are told; a cell shows a check box and no text; headers centred.
void TestCameras::modelContract() {
    QFETCH(int, row);
    QFETCH(int, role);
    QFETCH(QVariant, value);
    QFETCH(bool, taken);
    OpenTable model;
    QStandardItemModel other(10, 10);
    int told = -1;
    connect(&model, &QAbstractItemModel::dataChanged, &model,
            [&](const QModelIndex& i) { told = model.data(i, Qt::CheckStateRole).toInt(); });
    QCOMPARE(model.setData(row < 0 ? other.index(2, 5) : model.createIndex(row, 5), value, role),
             taken);
    QCOMPARE(told, taken ? 2 : -1);
    const QModelIndex at = model.index(2, 5);
    QCOMPARE(model.check(2, 5), taken);
    QCOMPARE(at.data(Qt::CheckStateRole).toInt(), taken ? 2 : 0);
    QVERIFY(!at.data(Qt::DisplayRole).isValid());
    QVERIFY(!model.data(QModelIndex(), Qt::CheckStateRole).isValid());
    QVERIFY(model.flags(at) & Qt::ItemIsUserCheckable);
    QVERIFY(!(model.flags(QModelIndex()) & Qt::ItemIsUserCheckable));
    QCOMPARE(model.rowCount(at) * model.columnCount(), 64);
    QCOMPARE(model.headerData(7, Qt::Vertical).toString(), "Шлейф №8");
    QCOMPARE(model.headerData(3, Qt::Vertical, Qt::TextAlignmentRole), QVariant(132));
    QVERIFY(!model.headerData(3, Qt::Horizontal, Qt::ToolTipRole).isValid());
}

// A new page shows eight cameras and an empty grid; a click on a cell ticks
// it; unticking a camera clears its column in the block at once.
void TestCameras::page() {
    PageSettings rig;
    Cameras page;
    page.show();
    for (int c = 0; c < 8; ++c) {
        QVERIFY(ticked(&page, QStringLiteral("cbUseCam_%1").arg(c + 1)));
        QCOMPARE(page.model()->headerData(c, Qt::Horizontal),
                 QStringLiteral("Камера №%1").arg(c + 1));
        for (int l = 0; l < 8; ++l)
            QVERIFY(!page.model()->check(l, c));
    }
    clickCell(table(page), page.model()->index(1, 3));
    clickCell(table(page), page.model()->index(6, 2));
    page.ApplyClick();
    QCOMPARE(loopsOf(*rig.s.cameras, 3), QList<int>{1});
    QCOMPARE(loopsOf(*rig.s.cameras, 2), QList<int>{6});

    click(&page, "cbUseCam_3");
    QVERIFY(table(page)->isColumnHidden(2));
    QVERIFY(loopsOf(*rig.s.cameras, 2).isEmpty());
    QCOMPARE(loopsOf(*rig.s.cameras, 3), QList<int>{1});
    click(&page, "cbUseCam_3");
    QVERIFY(!table(page)->isColumnHidden(2));
    QVERIFY(!page.model()->check(6, 2));
}

void TestCameras::loopsByModel_data() {
    QTest::addColumn<QList<int>>("models");
    QTest::addColumn<int>("kept");
    QTest::newRow("D4M") << QList<int>{0} << 4;
    QTest::newRow("VororaZ") << QList<int>{2} << 6;
    QTest::newRow("VoduzeR") << QList<int>{3} << 6;
    QTest::newRow("D8M") << QList<int>{1} << 8;
    QTest::newRow("D4M, D8M") << QList<int>{0, 1} << 4;
}

// Fewer loops hide and clear their rows at once; rows shown again are empty.
void TestCameras::loopsByModel() {
    QFETCH(QList<int>, models);
    QFETCH(int, kept);
    PageSettings rig;
    rig.s.cameras->useCamera.fill(1);
    for (auto& loop : rig.s.cameras->execCamera)
        loop.fill(1);
    Cameras page;
    page.CancelClick();
    for (int model : models)
        page.TPribChange(model);
    for (int l = 0; l < 8; ++l) {
        QCOMPARE(table(page)->isRowHidden(l), l >= LoopCountOf(models.last()));
        const u8 on = l < kept;
        QCOMPARE(rig.s.cameras->execCamera[size_t(l)],
                 (std::array<u8, 8>{on, on, on, on, on, on, on, on}));
        for (int c = 0; c < 8; ++c)
            QCOMPARE(page.model()->check(l, c), bool(on));
    }
}

QTEST_MAIN(TestCameras)
#include "tst_cameras.moc"
