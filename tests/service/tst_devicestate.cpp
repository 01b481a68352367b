// The journal and restart-cause windows through the main window: before any
// read, after a memory read of the simulated device and after image files,
// with state bytes made by hand at the places the device keeps them; and the
// texts of the journal's events.

#include "app/DeviceFixture.h"

#include "link/LinkTiming.h"
#include "service/History.h"
#include "service/RestartCauses.h"
#include "service/StateTables.h"
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
// Columns of the row that show 1.
QList<int> Ones(const QTableView* v, int r) {
    QList<int> columns;
    for (int c = 0; c < v->model()->columnCount(); ++c) {
        if (Cell(v, r, c).toInt() == 1)
            columns << c;
    }
    return columns;
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
    void eventTexts_data();
    void eventTexts();
    void memoryRead_data();
    void memoryRead();
    void restartRecordFromImage();
};

void TestDeviceState::eventTexts_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("param");
    QTest::addColumn<QDate>("firmware");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("colour");
    const QDate kOld(2010, 8, 15), kNew(2010, 8, 16); // the relay layout changed
    const QColor red(255, 128, 128), blue(0, 128, 255), yellow(Qt::yellow), none;
    auto r = [&](int code, int p, QDate fw, const QString& text, QColor c) {
        QTest::addRow("%d/0x%02x/%s", code, p, fw == kOld ? "old" : "new")
            << code << p << fw << text << c;
    };
    auto relayText = [](int n, const char* from, const char* to, const char* tail) {
        return QStringLiteral("Управление реле %1: переход из \"%2\" в \"%3\". %4")
            .arg(n)
            .arg(QString::fromUtf8(from), QString::fromUtf8(to), QString::fromUtf8(tail));
    };
    r(1, 0, kNew, "Тревога по шлейфу 1", red);
    r(9, 0x45, kNew, "Постановка по ключу №5", blue);
    r(9, 0x85, kNew, "Снятие по ключу №5", blue);
    r(9, 0x40, kNew, "Первая постановка", blue);
    r(9, 0, kNew, "н/д", blue);
    r(13, 7, kNew, "Нет напряжения 220 Вольт", none);
    r(15, 200, kNew, "Касание ключём ГБР №-56", blue);
    r(247, 0x97, kNew, relayText(1, "закрыто", "открыто", "Управление с сервера."), none);
    r(247, 0x8E, kNew, relayText(1, "открыто", "закрыто", "Самостоятельное замыкание."), none);
    r(247, 0x2A, kNew, relayText(2, "открыто", "закрыто", "Номер канала: 3"), none);
    r(247, 0x97, kOld, relayText(-3, "закрыто", "открыто", "Номер канала: 8"), none);
    r(248, 0x43, kNew, "Невзятие по ключу 3 шлейфа 3", none);
    r(249, 0, kNew, "Коррекция времени: старое время", none);
    r(253, 0, kNew, "Изменение состояния. Шлейфы на охране:  нет", yellow);
    r(253, 0x85, kNew, "Изменение состояния. Шлейфы на охране: 1, 3, 8", yellow);
    r(254, 0x45, kNew, "Принудительное действие по CSD. Канал №5", none);
    r(254, 0x05, kNew, "Принудительное действие по  каналу №5", none);
    for (int code : {0, 10, 245, 255})
        r(code, 0, kNew, "н/д", none);
}

void TestDeviceState::eventTexts() {
    QFETCH(int, code);
    QFETCH(int, param);
    QFETCH(QDate, firmware);
    QFETCH(QString, text);
    QFETCH(QColor, colour);
    QCOMPARE(JournalEventText(quint8(code), quint8(param), firmware), text);
    QCOMPARE(JournalEventColour(quint8(code)), colour);
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
    History* h = fx.main->history();
    RestartCauses* rc = fx.main->restartCauses();
    QTableView* journal = View(h, "tvJournal");
    const QTableView* flags = View(rc, "tvRestartCauses");
    const QTableView* napr = View(rc, "tvNaprFlags");
    // Before any read: "н/д" everywhere but in the marker columns, and hints.
    QCOMPARE(Cell(journal, newest, 0), QVariant());
    QCOMPARE(Cell(journal, newest, newestRow.size() - 1).toString(), kNd);
    QCOMPARE(Cell(View(h, "tvLastState"), 0, 4).toString(), kNd);
    QCOMPARE(Cell(flags, 7, 0), QVariant());
    QCOMPARE(Cell(flags, 7, 10).toString() + Cell(napr, 7, 1).toString(), kNd + kNd);
    QCOMPARE(Counter(rc, "leHighU"), QStringLiteral("0"));
    QVERIFY(fx.hintShown(h) && fx.hintShown(rc));
    QCOMPARE(Cell(View(rc, "tvLegend"), 9, 0).toString() +
                 Cell(View(rc, "tvLegend"), 9, 1).toString(),
             QStringLiteral("PORСброс при включении питания"));

    fx.sim.SetMemoryImage(StateImage(8));
    const int before = fx.rows();
    h->show(); // open while the read runs, as a user may have it
    fx.action("actReadEEPROM")->trigger();
    QVERIFY(fx.waitForCode(121, before));

    QStringList row;
    for (int c = 0; c < journal->model()->columnCount(); ++c)
        row << Cell(journal, newest, c).toString();
    QCOMPARE(row, newestRow);
    const int event = newestRow.size() - 1;
    QCOMPARE(Cell(journal, newest, event, Qt::BackgroundRole).value<QColor>(),
             newest == 12 ? QColor(Qt::yellow) : QColor(0, 128, 255));
    QCOMPARE(Cell(journal, newest, event - 1, Qt::BackgroundRole), QVariant());
    QCOMPARE(Marked(journal), QList<int>{newest});
    QTRY_VERIFY_WITH_TIMEOUT(journal->viewport()->rect().intersects(
                                 journal->visualRect(journal->model()->index(newest, 0))),
                             DeviceFixture::kSlowMs);
    QVERIFY(journal->verticalScrollBar()->value() > 0);
    // Byte 690 holds the armed loops, byte 691 the loops in alarm.
    QStringList last;
    for (int c = 0; c < 5; ++c)
        last << Cell(View(h, "tvLastState"), 0, c).toString();
    QCOMPARE(last, (QStringList{"Постановка по ключу", "7", "1, 3", "Закрыто", "3"}));
    QVERIFY(!fx.hintShown(h));

    QCOMPARE(Counter(rc, "leRestCount") + ' ' + Counter(rc, "leLowU") + ' ' +
                 Counter(rc, "leHighU"),
             QStringLiteral("200 0 65535"));
    QCOMPARE(Marked(flags), QList<int>{7});
    QCOMPARE(Ones(flags, 7), (QList<int>{1, 6})); // TRAPR, WDTO
    QCOMPARE(Ones(flags, 0), (QList<int>{10}));   // POR
    // A cleared bit of the supply masks is a flag.
    QCOMPARE(Ones(napr, 0) + Ones(napr, 1) + Ones(napr, 7), (QList<int>{0, 1}));
    QCOMPARE(Cell(flags, 7, 1, Qt::BackgroundRole).value<QColor>(), QColor(255, 128, 128));
    QCOMPARE(Cell(flags, 7, 2, Qt::BackgroundRole).value<QColor>(), QColor(Qt::white));
    QCOMPARE(flags->model()->headerData(6, Qt::Horizontal, Qt::ToolTipRole).toString(),
             QStringLiteral("Сработал сторожевой таймер"));
    QCOMPARE(flags->model()->headerData(0, Qt::Horizontal, Qt::ToolTipRole), QVariant());
    QVERIFY(!fx.hintShown(rc));

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

// The arrow marks the last restart record for 1 to 8 only.
void TestDeviceState::restartRecordFromImage() {
    DeviceFixture fx;
    QVERIFY(fx.open());
    fx.widget<QComboBox>("cbVersion")->setCurrentText(QStringLiteral("19.04.2012/45"));
    RestartCauses* rc = fx.main->restartCauses();
    const QList<std::pair<int, QList<int>>> cases{{1, {0}}, {8, {7}}, {0, {}}, {-1, {}}, {9, {}}};
    for (const auto& [lastRestart, marked] : cases) {
        QVERIFY(WriteAll(fx.shell.file("state.image"), StateImage(char(lastRestart))));
        fx.prompt.files.enqueue(fx.shell.file("state.image"));
        fx.action("actLoadEEPROM")->trigger();
        QCOMPARE(Marked(View(rc, "tvRestartCauses")), marked);
    }
    QCOMPARE(Counter(rc, "leRestCount"), QStringLiteral("200"));
    QVERIFY(!fx.hintShown(fx.main->history()));
    // The device counts in 16 bits: a larger number is shown as its limit.
    g_deviceSettings->state->restartCount[1] = 65536;
    rc->FillCounters();
    QCOMPARE(Counter(rc, "leLowU"), QStringLiteral("65535"));
}

QTEST_MAIN(TestDeviceState)
#include "tst_devicestate.moc"
