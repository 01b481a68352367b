// The loop-by-camera table model and the cameras page, which writes the
// cameras block at once when a camera or a loop goes away.

#include "PageTestSupport.h"

#include "outputs/Cameras.h"
#include "outputs/CamerasExecTable.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>

namespace {
// Reaches indexes of this model outside its cells.
struct OpenTable : CamerasExecTable {
    using CamerasExecTable::createIndex;
};
QTableView* table(const Cameras& page) {
    return child<QTableView>(&page, QStringLiteral("tvCamerasExec"));
}
QCheckBox* camera(const Cameras& page, int n) {
    return child<QCheckBox>(&page, QStringLiteral("cbUseCam_%1").arg(n));
}
// The loops column `c` of the block ticks.
QList<int> ticksOfCamera(const CamerasConfig& cam, int c) {
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
    void storesBeforeItTells();
    void freshPage();
    void clickOnCell();
    void untickedCamera();
    void absentCameraOnLoad_data();
    void absentCameraOnLoad();
    void loopsByModel_data();
    void loopsByModel();
};

void TestCameras::modelContract_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("role");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("cell"); // the cell (2, 5) afterwards
    const int check = Qt::CheckStateRole;
    QTest::newRow("check state") << 2 << 5 << check << QVariant::fromValue(Qt::Checked) << true
                                 << 1;
    QTest::newRow("check state as int") << 2 << 5 << check << QVariant(2) << true << 1;
    QTest::newRow("bool") << 2 << 5 << check << QVariant(true) << true << 1;
    QTest::newRow("display role") << 2 << 5 << int(Qt::DisplayRole) << QVariant(2) << false << 0;
    QTest::newRow("edit role") << 2 << 5 << int(Qt::EditRole) << QVariant(true) << false << 0;
    QTest::newRow("other model's index") << -1 << -1 << check << QVariant(2) << false << 0;
    QTest::newRow("outside 8 x 8") << 8 << 5 << check << QVariant(2) << false << 0;
}

// Only check states of this model's 64 cells are taken; a cell shows a check
// box and no text; the headers name cameras and loops, centred.
void TestCameras::modelContract() {
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(int, role);
    QFETCH(QVariant, value);
    QFETCH(bool, accepted);
    QFETCH(int, cell);
    OpenTable model;
    QStandardItemModel other(10, 10);
    const QModelIndex target = row < 0 ? other.index(2, 5) : model.createIndex(row, column);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QCOMPARE(model.setData(target, value, role), accepted);
    QCOMPARE(changed.size(), accepted ? 1 : 0);
    QCOMPARE(int(model.cells[2][5]), cell);

    const QModelIndex at = model.index(2, 5);
    QCOMPARE(model.data(at, Qt::CheckStateRole), QVariant(cell ? 2 : 0));
    QVERIFY(!model.data(at, Qt::DisplayRole).isValid());
    QVERIFY(!model.data(QModelIndex(), Qt::CheckStateRole).isValid());
    QVERIFY(model.flags(at) & Qt::ItemIsUserCheckable);
    QVERIFY(!(model.flags(QModelIndex()) & Qt::ItemIsUserCheckable));
    QCOMPARE(model.rowCount(), 8);
    QCOMPARE(model.columnCount(at), 8);
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Камера №1"));
    QCOMPARE(model.headerData(7, Qt::Vertical).toString(), QStringLiteral("Шлейф №8"));
    QCOMPARE(model.headerData(3, Qt::Vertical, Qt::TextAlignmentRole), QVariant(132));
    QVERIFY(!model.headerData(3, Qt::Horizontal, Qt::ToolTipRole).isValid());
}

// A view told of a change reads the new state.
void TestCameras::storesBeforeItTells() {
    CamerasExecTable model;
    QVariant seen;
    connect(&model, &QAbstractItemModel::dataChanged, &model,
            [&](const QModelIndex& i) { seen = model.data(i, Qt::CheckStateRole); });
    model.setData(model.index(4, 1), Qt::Checked, Qt::CheckStateRole);
    QCOMPARE(seen, QVariant(2));
}

void TestCameras::freshPage() {
    PageSettings rig;
    Cameras page;
    for (int n = 1; n <= 8; ++n) {
        QVERIFY(camera(page, n)->isChecked());
        QVERIFY(!table(page)->isColumnHidden(n - 1));
        QCOMPARE(page.model()->headerData(n - 1, Qt::Horizontal).toString(),
                 QStringLiteral("Камера №%1").arg(n));
    }
    for (const auto& row : page.model()->cells)
        QCOMPARE(row, (CamerasExecTable::Cells::value_type{}));
}

// A click on a cell's check box ticks it through the view; apply stores it.
void TestCameras::clickOnCell() {
    PageSettings rig;
    rig.s.cameras->useCamera.fill(1);
    Cameras page;
    page.CancelClick();
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QTableView* view = table(page);
    const QModelIndex index = page.model()->index(1, 3);
    clickCell(view, index);
    QCOMPARE(index.data(Qt::CheckStateRole), QVariant(2));
    page.ApplyClick();
    QCOMPARE(ticksOfCamera(*rig.s.cameras, 3), QList<int>{1});
}

// Unticking a camera clears its column in the block at once, before any apply.
void TestCameras::untickedCamera() {
    PageSettings rig;
    rig.s.cameras->useCamera.fill(1);
    for (auto& loop : rig.s.cameras->execCamera)
        loop.fill(1);
    Cameras page;
    page.CancelClick();
    page.show();
    click(&page, QStringLiteral("cbUseCam_3"));
    QVERIFY(table(page)->isColumnHidden(2));
    QVERIFY(ticksOfCamera(*rig.s.cameras, 2).isEmpty());
    QCOMPARE(ticksOfCamera(*rig.s.cameras, 1).size(), 8);
    click(&page, QStringLiteral("cbUseCam_3"));
    QVERIFY(!table(page)->isColumnHidden(2));
    QCOMPARE(page.model()->data(page.model()->index(0, 2), Qt::CheckStateRole), QVariant(0));
    QCOMPARE(page.model()->data(page.model()->index(0, 1), Qt::CheckStateRole), QVariant(2));
}

void TestCameras::absentCameraOnLoad_data() {
    QTest::addColumn<bool>("tickedBefore");
    QTest::addColumn<QList<int>>("kept");
    QTest::newRow("box ticked before") << true << QList<int>{};
    QTest::newRow("box unticked before") << false << QList<int>{0, 5};
}

// A camera the block marks absent while its column holds ticks.
void TestCameras::absentCameraOnLoad() {
    QFETCH(bool, tickedBefore);
    QFETCH(QList<int>, kept);
    PageSettings rig;
    Cameras page;
    camera(page, 4)->setChecked(tickedBefore);
    rig.s.cameras->execCamera[0][3] = 1;
    rig.s.cameras->execCamera[5][3] = 1;
    page.CancelClick();
    QVERIFY(table(page)->isColumnHidden(3));
    *rig.s.cameras = CamerasConfig{};
    page.ApplyClick();
    QCOMPARE(ticksOfCamera(*rig.s.cameras, 3), kept);
    QCOMPARE(rig.s.cameras->useCamera[3], 0);
}

void TestCameras::loopsByModel_data() {
    QTest::addColumn<QList<int>>("models");
    QTest::addColumn<int>("loops");
    QTest::newRow("D4M") << QList<int>{0} << 4;
    QTest::newRow("VororaZ") << QList<int>{2} << 6;
    QTest::newRow("VoduzeR") << QList<int>{3} << 6;
    QTest::newRow("D8M") << QList<int>{1} << 8;
    QTest::newRow("D4M then D8M") << QList<int>{0, 1} << 4;
}

// Fewer loops hide and clear their rows at once; rows shown again are empty.
void TestCameras::loopsByModel() {
    QFETCH(QList<int>, models);
    QFETCH(int, loops);
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
        const u8 kept = l < loops ? 1 : 0;
        for (int c = 0; c < 8; ++c) {
            QCOMPARE(rig.s.cameras->execCamera[size_t(l)][size_t(c)], kept);
            QCOMPARE(page.model()->cells[size_t(l)][size_t(c)], kept);
        }
    }
}

QTEST_MAIN(TestCameras)
#include "tst_cameras.moc"
