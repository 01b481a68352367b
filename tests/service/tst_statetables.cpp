// The texts and cells of the journal, last-state and restart-cause tables,
// over a state block filled by hand.

#include "app/Application.h"
#include "service/StateTables.h"
#include "settings/DeviceSettings.h"

#include <QIcon>
#include <QTest>

namespace {
const QDate kOld(2010, 8, 15); // before the relay layout of 16.08.2010
const QDate kNew(2010, 8, 16);
const QColor kRed(255, 128, 128);
const QColor kBlue(0, 128, 255);
const QString kNd = QStringLiteral("н/д");

QVariant Cell(const QAbstractItemModel& m, int r, int c, int role = Qt::DisplayRole) {
    return m.index(r, c).data(role);
}
} // namespace

class TestStateTables : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { EnsureIconResources(); }
    void init() {
        settings = DeviceSettings();
        SetDefaultSettings(&settings, false);
        g_deviceSettings = &settings;
    }
    void eventTexts_data();
    void eventTexts();
    void dateAndTime_data();
    void dateAndTime();
    void journalCells();
    void lastState_data();
    void lastState();
    void restartFlags();

private:
    DeviceSettings settings;
};

void TestStateTables::eventTexts_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("param");
    QTest::addColumn<QDate>("firmware");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("colour");
    auto row = [](const char* name, int code, int p, QDate fw, const char* text, QColor c) {
        QTest::newRow(name) << code << p << fw << QString::fromUtf8(text) << c;
    };
    const QColor none;
    row("alarm 1", 1, 0, kNew, "Тревога по шлейфу 1", kRed);
    row("alarm 8", 8, 0x55, kNew, "Тревога по шлейфу 8", kRed);
    row("arming by key 5", 9, 0x45, kNew, "Постановка по ключу №5", kBlue);
    row("disarming by key 5", 9, 0x85, kNew, "Снятие по ключу №5", kBlue);
    row("first arming", 9, 0x40, kNew, "Первая постановка", kBlue);
    row("first disarming", 9, 0x80, kNew, "Первое снятие", kBlue);
    row("arming, no key, no kind", 9, 0, kNew, "н/д", kBlue);
    row("mains on", 13, 0, kNew, "Есть напряжение 220 Вольт", none);
    row("mains off", 13, 7, kNew, "Нет напряжения 220 Вольт", none);
    row("SIM change", 14, 0, kNew, "Смена SIM-карты", none);
    row("response key, signed", 15, 200, kNew, "Касание ключём ГБР №-56", kBlue);
    row("tamper", 29, 0, kNew, "Срабатывание тампера", none);
    row("controller restart", 246, 0, kNew, "Перезапуск микроконтроллера", none);
    row("relay by server", 247, 0x97, kNew,
        "Управление реле 1: переход из \"закрыто\" в \"открыто\". Управление с сервера.", none);
    row("relay closes itself", 247, 0x8E, kNew,
        "Управление реле 1: переход из \"открыто\" в \"закрыто\". Самостоятельное замыкание.",
        none);
    row("relay opens itself", 247, 0x96, kNew,
        "Управление реле 1: переход из \"закрыто\" в \"открыто\". Самостоятельное размыкание.",
        none);
    row("relay, code 6, no change", 247, 0x9E, kNew,
        "Управление реле 1: переход из \"закрыто\" в \"закрыто\". ", none);
    row("relay by channel", 247, 0x2A, kNew,
        "Управление реле 2: переход из \"открыто\" в \"закрыто\". Номер канала: 3", none);
    row("relay, old firmware, signed number", 247, 0x97, kOld,
        "Управление реле -3: переход из \"закрыто\" в \"открыто\". Номер канала: 8", none);
    row("arming refused", 248, 0x43, kNew, "Невзятие по ключу 3 шлейфа 3", none);
    row("clock, new time", 249, 1, kNew, "Коррекция времени: новое время", none);
    row("clock, old time", 249, 0, kNew, "Коррекция времени: старое время", none);
    row("supply excess", 250, 0, kNew, "Первое превышение напряжения питания", none);
    row("sleep", 251, 0, kNew, "Переход в режим сна", none);
    row("device restart", 252, 0, kNew, "Перезапуск прибора", none);
    row("state, none armed", 253, 0, kNew, "Изменение состояния. Шлейфы на охране:  нет",
        QColor(Qt::yellow));
    row("state, loops 1 3 8", 253, 0x85, kNew, "Изменение состояния. Шлейфы на охране: 1, 3, 8",
        QColor(Qt::yellow));
    row("forced, GPRS", 254, 0x83, kNew, "Принудительное действие по GPRS.", none);
    row("forced, CSD", 254, 0x45, kNew, "Принудительное действие по CSD. Канал №5", none);
    row("forced, channel", 254, 0x05, kNew, "Принудительное действие по  каналу №5", none);
    for (int code : {0, 10, 12, 16, 28, 30, 245, 255})
        row(qPrintable(QStringLiteral("unused %1").arg(code)), code, 0, kNew, "н/д", none);
}

void TestStateTables::eventTexts() {
    QFETCH(int, code);
    QFETCH(int, param);
    QFETCH(QDate, firmware);
    QFETCH(QString, text);
    QFETCH(QColor, colour);
    QCOMPARE(JournalEventText(quint8(code), quint8(param), firmware), text);
    QCOMPARE(JournalEventColour(quint8(code)), colour);
}

void TestStateTables::dateAndTime_data() {
    QTest::addColumn<QList<int>>("values");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("time");
    QTest::newRow("one digit each") << QList<int>{5, 3, 9} << "05.03.2009"
                                    << "05:03:09";
    QTest::newRow("two digits each") << QList<int>{31, 12, 99} << "31.12.2099"
                                     << "31:12:99";
    QTest::newRow("zeros") << QList<int>{0, 0, 0} << "00.00.2000"
                           << "00:00:00";
    QTest::newRow("three digits shift the rest") << QList<int>{123, 3, 9} << "123.3.2009"
                                                 << "123:3:09";
}

void TestStateTables::dateAndTime() {
    QFETCH(QList<int>, values);
    QFETCH(QString, date);
    QFETCH(QString, time);
    const auto v = [&](int i) { return quint8(values.at(i)); };
    QCOMPARE(JournalDateText(v(0), v(1), v(2)), date);
    QCOMPARE(JournalTimeText(v(0), v(1), v(2)), time);
}

void TestStateTables::journalCells() {
    DeviceStateLog& s = *settings.state;
    settings.header->firmwareDate = kNew;
    JournalTable m;
    m.SetDated(true);
    QCOMPARE(m.rowCount(), 200);
    // Not filled: the slots answer "н/д" but the marker column stays blank.
    QCOMPARE(Cell(m, 0, 0), QVariant());
    QCOMPARE(Cell(m, 199, 3).toString(), kNd);
    QCOMPARE(Cell(m, 5, 1, Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));

    s.journalEvent[4] = 1;
    s.journalMonth[4] = 2;
    s.journalDay[4] = 28;
    s.journalYear[4] = 24;
    s.journalHour[4] = 23;
    s.journalMinute[4] = 59;
    s.journalSecond[4] = 1;
    s.journalEvent[5] = 0xFF;
    s.journalMonth[5] = 0xFF;
    s.journalDay[5] = 7;
    s.newestJournal = 4;
    m.filled = true;
    m.ResetTable();
    QCOMPARE(Cell(m, 4, 1).toString(), QStringLiteral("28.02.2024"));
    QCOMPARE(Cell(m, 4, 2).toString(), QStringLiteral("23:59:01"));
    QCOMPARE(Cell(m, 4, 3).toString(), QStringLiteral("Тревога по шлейфу 1"));
    QCOMPARE(Cell(m, 4, 3, Qt::BackgroundRole).value<QColor>(), kRed);
    QCOMPARE(Cell(m, 4, 1, Qt::BackgroundRole), QVariant()); // only the event is coloured
    QCOMPARE(Cell(m, 4, 0), QVariant());                     // a used slot
    QVERIFY(!Cell(m, 4, 0, Qt::DecorationRole).value<QIcon>().pixmap(16).isNull());
    QCOMPARE(Cell(m, 3, 0, Qt::DecorationRole), QVariant());
    // An empty slot without a time stamp.
    for (int c = 0; c < 4; ++c)
        QCOMPARE(Cell(m, 5, c).toString(), kNd);
    QCOMPARE(m.headerData(3, Qt::Horizontal).toString(), QStringLiteral("Событие"));
    QCOMPARE(m.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Дата"));
    QCOMPARE(m.headerData(0, Qt::Horizontal), QVariant());
    QCOMPARE(m.headerData(199, Qt::Vertical).toInt(), 200);

    // The old layout shows the same slots: code and parameter only.
    m.SetDated(false);
    QCOMPARE(m.columnCount(), 2);
    QCOMPARE(Cell(m, 4, 1).toString(), QStringLiteral("Тревога по шлейфу 1"));
    QCOMPARE(Cell(m, 4, 1, Qt::BackgroundRole).value<QColor>(), kRed);
    QCOMPARE(m.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Событие"));
    QCOMPARE(m.index(16, 0).isValid(), false);
}

void TestStateTables::lastState_data() {
    QTest::addColumn<QList<int>>("bytes"); // event, alarm, armed, state, key
    QTest::addColumn<QStringList>("cells");
    QTest::newRow("first arming") << QList<int>{9, 0x05, 0, 0, 0}
                                  << QStringList{"Первая постановка", "1, 3", "Нет", "Открыто",
                                                 "Нет"};
    QTest::newRow("arming by key 3")
        << QList<int>{9, 0, 0xFF, 3, 3}
        << QStringList{"Постановка по ключу", "Нет", "1, 2, 3, 4, 5, 6, 7, 8", "Закрыто", "3"};
    QTest::newRow("alarm, unknown state")
        << QList<int>{7, 0x40, 0x80, 4, 12}
        << QStringList{"Тревога по шлейфу 7", "7", "8", "н/д", "12"};
    QTest::newRow("forced, signed key")
        << QList<int>{254, 0, 0, 1, 200}
        << QStringList{"Принудительное действие", "Нет", "Нет", "Закрытие", "-56"};
    QTest::newRow("unknown event")
        << QList<int>{13, 0, 0, 2, 0} << QStringList{"н/д", "Нет", "Нет", "Открытие", "Нет"};
}

void TestStateTables::lastState() {
    QFETCH(QList<int>, bytes);
    QFETCH(QStringList, cells);
    DeviceStateLog& s = *settings.state;
    s.lastEvent = u8(bytes.at(0));
    s.alarmMask = u8(bytes.at(1));
    s.armedMask = u8(bytes.at(2));
    s.state = u8(bytes.at(3));
    s.keyNumber = u8(bytes.at(4));
    LastStateTable m;
    for (int c = 0; c < 5; ++c)
        QCOMPARE(Cell(m, 0, c).toString(), kNd);
    m.filled = true;
    for (int c = 0; c < 5; ++c)
        QCOMPARE(Cell(m, 0, c).toString(), cells.at(c));
    QCOMPARE(m.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Шлейфы в тревоге"));
}

void TestStateTables::restartFlags() {
    DeviceStateLog& s = *settings.state;
    s.loopFlags[2][5] = 1; // WDTO of record 3
    s.loopBitB[7] = 1;
    s.stateByte = 3;
    ResetFlagsTable flags;
    NaprFlagsTable napr;
    QCOMPARE(Cell(flags, 2, 6).toString(), kNd);
    QCOMPARE(Cell(flags, 2, 0), QVariant());
    QCOMPARE(Cell(napr, 7, 1).toString(), kNd);
    QCOMPARE(Cell(flags, 2, 0, Qt::DecorationRole), QVariant()); // no arrow before a read
    flags.filled = napr.filled = true;
    QCOMPARE(Cell(flags, 2, 6).toInt(), 1);
    QCOMPARE(Cell(flags, 2, 6, Qt::BackgroundRole).value<QColor>(), kRed);
    QCOMPARE(Cell(flags, 2, 5).toInt(), 0);
    QCOMPARE(Cell(flags, 2, 5, Qt::BackgroundRole).value<QColor>(), QColor(Qt::white));
    QCOMPARE(Cell(napr, 7, 1).toInt(), 1);
    QCOMPARE(Cell(napr, 7, 0).toInt(), 0);
    QVERIFY(!Cell(flags, 2, 0, Qt::DecorationRole).isNull());
    QCOMPARE(flags.headerData(6, Qt::Horizontal).toString(), QStringLiteral("WDTO"));
    QCOMPARE(flags.headerData(6, Qt::Horizontal, Qt::ToolTipRole).toString(),
             QStringLiteral("Сработал сторожевой таймер"));
    QCOMPARE(flags.headerData(0, Qt::Horizontal, Qt::ToolTipRole), QVariant());
    QCOMPARE(napr.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Снижение"));

    LegendTable legend;
    QCOMPARE(Cell(legend, 0, 0).toString(), QStringLiteral("TRAPR"));
    QCOMPARE(Cell(legend, 9, 0).toString(), QStringLiteral("POR"));
    QCOMPARE(Cell(legend, 9, 1).toString(), QStringLiteral("Сброс при включении питания"));
    QCOMPARE(Cell(legend, 10, 0), QVariant());
}

QTEST_MAIN(TestStateTables)
#include "tst_statetables.moc"
