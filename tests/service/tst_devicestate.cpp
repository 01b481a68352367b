// The journal and restart-cause windows through the main window: before any
// read, after a memory read of the simulated device and after image files,
// with state bytes made by hand at the places the device keeps them.

#include "app/DeviceFixture.h"

#include "link/LinkTiming.h"
#include "service/History.h"
#include "service/RestartCauses.h"
#include "settings/ImageEEPROM.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>

namespace {
const QString kNd = QStringLiteral("н/д");

QTableView* View(const QWidget* window, const char* name) {
    return window->findChild<QTableView*>(QString::fromLatin1(name));
}
QVariant Cell(const QTableView* v, int r, int c, int role = Qt::DisplayRole) {
    return v->model()->index(r, c).data(role);
}
QString Counter(const QWidget* window, const char* name) {
    return window->findChild<QLineEdit*>(QString::fromLatin1(name))->text();
}
// Rows of column 0 that carry an icon.
QList<int> Marked(const QTableView* v) {
    QList<int> rows;
    for (int r = 0; r < v->model()->rowCount(); ++r) {
        if (!Cell(v, r, 0, Qt::DecorationRole).isNull())
            rows << r;
    }
    return rows;
}

// An image of the current settings with the state bytes the device keeps:
// last state, counters (200, 0, erased), the supply masks with bit 0 and bit
// 7 cleared, the last restart record `lastRestart`, record 1 with POR and
// record 8 with TRAPR and WDTO, and both journals.
QByteArray StateImage(char lastRestart) {
    QByteArray image = ImageEEPROM::BuildImage(*g_deviceSettings);
    auto put = [&image](int at, const QByteArray& bytes) {
        image.replace(at, bytes.size(), bytes);
    };
    put(689, QByteArray::fromHex("0905400303c8000000ffff"));
    put(700, QByteArray::fromHex("fe7f0c"));
    put(703, QByteArray(1, lastRestart));
    put(704, QByteArray::fromHex("0100"));      // record 1: POR
    put(704 + 14, QByteArray::fromHex("1080")); // record 8: WDTO, TRAPR
    // The 16-record journal: code and parameter; record 13 is the newest.
    put(720, QByteArray::fromHex("0100"));
    put(720 + 2 * 12, QByteArray::fromHex("fd85"));
    // The 200-record journal, newest record 200: code, parameter, second,
    // minute, hour, day, month, year.
    put(1790, QByteArray::fromHex("00c8"));
    put(1792, QByteArray::fromHex("f72a0000000000ff"));
    put(1792 + 8 * 199, QByteArray::fromHex("094509050705031a"));
    return image;
}
} // namespace

class TestDeviceState : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        PrepareApplication();
        kwlink::SetLinkTimeScale(0.1);
    }
    void beforeAnyRead();
    void memoryRead_data();
    void memoryRead();
    void restartRecordFromImage_data();
    void restartRecordFromImage();
};

void TestDeviceState::beforeAnyRead() {
    DeviceFixture fx;
    QVERIFY(fx.open());
    const History* h = fx.main->history();
    const QTableView* journal = View(h, "tvJournal");
    QCOMPARE(journal->model()->rowCount(), 16);
    QCOMPARE(journal->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Событие"));
    QCOMPARE(journal->model()->headerData(15, Qt::Vertical).toInt(), 16);
    QCOMPARE(Cell(journal, 15, 0), QVariant());
    QCOMPARE(Cell(journal, 15, 1).toString(), kNd);
    for (int c = 0; c < 5; ++c)
        QCOMPARE(Cell(View(h, "tvLastState"), 0, c).toString(), kNd);
    QVERIFY(fx.hintShown(h));

    const RestartCauses* rc = fx.main->restartCauses();
    const QTableView* flags = View(rc, "tvRestartCauses");
    QCOMPARE(Cell(flags, 7, 10).toString(), kNd);
    QCOMPARE(Cell(flags, 7, 0), QVariant());
    QCOMPARE(Cell(View(rc, "tvNaprFlags"), 0, 1).toString(), kNd);
    QCOMPARE(Counter(rc, "leHighU"), QStringLiteral("0"));
    QVERIFY(Marked(flags).isEmpty());
    QVERIFY(fx.hintShown(rc));
    QCOMPARE(Cell(View(rc, "tvLegend"), 5, 0).toString(), QStringLiteral("WDTO"));
}

void TestDeviceState::memoryRead_data() {
    QTest::addColumn<QDate>("firmware");
    QTest::addColumn<int>("newest");
    QTest::addColumn<QStringList>("newestRow");
    QTest::newRow("16 records") << QDate(2009, 12, 18) << 12
                                << QStringList{"",
                                               "Изменение состояния. Шлейфы на охране: 1, 3, 8"};
    QTest::newRow("200 records") << QDate(2010, 8, 16) << 199
                                 << QStringList{"", "05.03.2026", "07:05:09",
                                                "Постановка по ключу №5"};
}

void TestDeviceState::memoryRead() {
    QFETCH(QDate, firmware);
    QFETCH(int, newest);
    QFETCH(QStringList, newestRow);
    DeviceFixture fx;
    QVERIFY(fx.open());
    QVERIFY(fx.connect(1, firmware, 1));
    fx.sim.SetMemoryImage(StateImage(8));
    const int before = fx.rows();
    History* h = fx.main->history();
    h->show(); // open while the read runs, as a user may have it
    fx.action("actReadEEPROM")->trigger();
    QVERIFY(fx.waitForCode(121, before));

    QTableView* journal = View(h, "tvJournal");
    QCOMPARE(journal->model()->columnCount(), newestRow.size());
    for (int c = 0; c < newestRow.size(); ++c)
        QCOMPARE(Cell(journal, newest, c).toString(), newestRow.at(c));
    QCOMPARE(Marked(journal), QList<int>{newest});
    QTRY_VERIFY(journal->viewport()->rect().intersects(
        journal->visualRect(journal->model()->index(newest, 0))));
    QVERIFY(journal->verticalScrollBar()->value() > 0);
    // Byte 690 holds the armed loops, byte 691 the loops in alarm.
    const QStringList last{"Постановка по ключу", "7", "1, 3", "Закрыто", "3"};
    for (int c = 0; c < 5; ++c)
        QCOMPARE(Cell(View(h, "tvLastState"), 0, c).toString(), last.at(c));
    QVERIFY(!fx.hintShown(h));
    QVERIFY(h->grab().save(QDir::tempPath() + QStringLiteral("/state-history.png")));

    RestartCauses* rc = fx.main->restartCauses();
    const QTableView* flags = View(rc, "tvRestartCauses");
    QCOMPARE(Counter(rc, "leRestCount"), QStringLiteral("200"));
    QCOMPARE(Counter(rc, "leLowU"), QStringLiteral("0"));
    QCOMPARE(Counter(rc, "leHighU"), QStringLiteral("65535"));
    QCOMPARE(Marked(flags), QList<int>{7});
    QList<int> row8, row1;
    for (int c = 1; c <= 10; ++c) {
        row8 << Cell(flags, 7, c).toInt();
        row1 << Cell(flags, 0, c).toInt();
    }
    QCOMPARE(row8, (QList<int>{1, 0, 0, 0, 0, 1, 0, 0, 0, 0}));
    QCOMPARE(row1, (QList<int>{0, 0, 0, 0, 0, 0, 0, 0, 0, 1}));
    // A cleared bit of the supply masks is a flag.
    const QTableView* napr = View(rc, "tvNaprFlags");
    QCOMPARE(Cell(napr, 0, 0).toInt(), 1);
    QCOMPARE(Cell(napr, 1, 0).toInt(), 0);
    QCOMPARE(Cell(napr, 7, 1).toInt(), 1);
    QCOMPARE(Cell(napr, 0, 1).toInt(), 0);
    QVERIFY(!fx.hintShown(rc));
    QVERIFY(rc->grab().save(QDir::tempPath() + QStringLiteral("/state-restarts.png")));

    // The other layout shows the same records.
    auto* versions = fx.widget<QComboBox>("cbVersion");
    versions->setCurrentText(newest == 12 ? QStringLiteral("16.08.2010")
                                          : QStringLiteral("21.09.2009"));
    QCOMPARE(journal->model()->rowCount(), newest == 12 ? 200 : 16);
    QCOMPARE(Cell(journal, 0, journal->model()->columnCount() - 1).toString(),
             newest == 12 ? QStringLiteral("Тревога по шлейфу 1")
                          : QStringLiteral("Управление реле 2: переход из \"открыто\" в "
                                           "\"закрыто\". Номер канала: 3"));
    if (newest == 12) // no time stamp was ever read
        QCOMPARE(Cell(journal, 0, 1).toString(), QStringLiteral("00.00.2000"));
    else
        QVERIFY(Marked(journal).isEmpty()); // record 200 is not among 16
}

void TestDeviceState::restartRecordFromImage_data() {
    QTest::addColumn<int>("lastRestart");
    QTest::addColumn<QList<int>>("marked");
    QTest::newRow("1") << 1 << QList<int>{0};
    QTest::newRow("8") << 8 << QList<int>{7};
    QTest::newRow("0") << 0 << QList<int>{};
    QTest::newRow("-1") << -1 << QList<int>{};
    QTest::newRow("9") << 9 << QList<int>{};
}

void TestDeviceState::restartRecordFromImage() {
    QFETCH(int, lastRestart);
    QFETCH(QList<int>, marked);
    DeviceFixture fx;
    QVERIFY(fx.open());
    fx.widget<QComboBox>("cbVersion")->setCurrentText(QStringLiteral("19.04.2012/45"));
    QVERIFY(WriteAll(fx.shell.file("state.image"), StateImage(char(lastRestart))));
    fx.prompt.files.enqueue(fx.shell.file("state.image"));
    fx.action("actLoadEEPROM")->trigger();
    RestartCauses* rc = fx.main->restartCauses();
    QCOMPARE(Marked(View(rc, "tvRestartCauses")), marked);
    QCOMPARE(Counter(rc, "leRestCount"), QStringLiteral("200"));
    QVERIFY(!fx.hintShown(fx.main->history()));
    // The device counts in 16 bits: a larger number is shown as its limit.
    g_deviceSettings->state->restartCount[1] = 65536;
    rc->FillCounters();
    QCOMPARE(Counter(rc, "leLowU"), QStringLiteral("65535"));
}

QTEST_MAIN(TestDeviceState)
#include "tst_devicestate.moc"
