// The call list page (numbers by loop) and the time-of-day triggers page.

#include "PageTestSupport.h"

#include "outputs/TriggByTimeFrame.h"
#include "outputs/Zvonki.h"

#include <QLineEdit>
#include <QTimeEdit>

namespace {
QString two(const char* stem, int a, int b) {
    return QStringLiteral("%1%2_%3").arg(QLatin1String(stem)).arg(a).arg(b);
}
QString allWeek(int event) {
    return QStringLiteral("cbEvAllWeek_%1").arg(event);
}
} // namespace

class TestCallsAndTriggers : public QObject {
    Q_OBJECT

private slots:
    void callRows_data();
    void callRows();
    void triggersRoundTrip();
    void allWeekRule();
};

void TestCallsAndTriggers::callRows_data() {
    QTest::addColumn<QList<int>>("models");
    QTest::addColumn<int>("loops");
    QTest::newRow("D4M") << QList<int>{0} << 4;
    QTest::newRow("D4M, VororaZ") << QList<int>{0, 2} << 6;
    QTest::newRow("D4M, VoduzeR, D8M") << QList<int>{0, 3, 1} << 8;
}

// The defaults tick all 80 boxes; rows by model; a number's buttons change its
// sixteen boxes, hidden rows included; hidden rows are stored as they stand.
void TestCallsAndTriggers::callRows() {
    QFETCH(QList<int>, models);
    QFETCH(int, loops);
    PageSettings rig;
    rig.s.phones->number[3] = "12345";
    Zvonki page;
    page.CancelClick();
    QCOMPARE(child<QLineEdit>(&page, "leNum_4")->displayText(), "123-45*-**-**");
    for (int model : models)
        page.TPribSlot(model);
    for (int loop = 1; loop <= 8; ++loop) {
        QCOMPARE(child(&page, QStringLiteral("lAl_%1").arg(loop))->isHidden(), loop > loops);
        for (int n = 1; n <= 5; ++n) {
            for (const char* stem : {"cbOpCl_", "cbAlarm_"}) {
                QVERIFY(ticked(&page, two(stem, n, loop)));
                QCOMPARE(child(&page, two(stem, n, loop))->isHidden(), loop > loops);
            }
        }
    }
    click(&page, "tbUncheckAll_3");
    click(&page, "tbUncheckAll_1");
    click(&page, "tbCheckAll_1");
    page.checkUncheckAllClicked(); // no sender: nothing
    QCOMPARE(rig.s.callMatrix->alarm[2][7], 1);
    page.ApplyClick();
    const auto& calls = *rig.s.callMatrix;
    for (size_t n = 0; n < 5; ++n) {
        const u8 on = n == 2 ? 0 : 1;
        QCOMPARE(calls.openClose[n], (std::array<u8, 8>{on, on, on, on, on, on, on, on}));
        QCOMPARE(calls.alarm[n], calls.openClose[n]);
    }
}

// An unset time shows and stores midnight (not the time shown before); types
// and day bytes out of range show and store as the page can show them.
void TestCallsAndTriggers::triggersRoundTrip() {
    PageSettings rig;
    TimeTriggers& t = *rig.s.timeTriggers;
    TriggByTimeFrame page;
    auto* time3 = child<QTimeEdit>(&page, "teEvTime_3");
    time3->setTime(QTime(12, 0));
    t.evTime[0] = QTime(7, 30);
    t.evType = {2, 4, -1, 3, 0, 0, 0, 0, 0, 1};
    t.evDay[0] = {1, 0, 0, 0, 1, 0, 0};
    t.evDay[9] = {5, 1, 1, 1, 1, 1, 1};
    page.CancelClick();
    QCOMPARE(time3->time(), QTime(0, 0));
    QCOMPARE(child<QComboBox>(&page, "comboBEvType_1")->currentText(), "2 - открытие");
    QCOMPARE(child<QComboBox>(&page, "comboBEvType_4")->currentText(), "3 - смена состояния");
    QVERIFY(!ticked(&page, allWeek(1)));
    QVERIFY(ticked(&page, allWeek(10)));

    page.ApplyClick();
    for (size_t i = 0; i < 10; ++i)
        QCOMPARE(t.evTime[i], i ? QTime(0, 0) : QTime(7, 30));
    QCOMPARE(t.evType, (std::array<i32, 10>{2, 0, 0, 3, 0, 0, 0, 0, 0, 1}));
    QCOMPARE(t.evDay[0], (std::array<u8, 7>{1, 0, 0, 0, 1, 0, 0}));
    QCOMPARE(t.evDay[9], (std::array<u8, 7>{1, 1, 1, 1, 1, 1, 1}));
    t.evDay[9] = {};
    page.CancelClick();
    QVERIFY(!ticked(&page, allWeek(10)));
}

// The all-week box follows the days both ways, one event at a time.
void TestCallsAndTriggers::allWeekRule() {
    PageSettings rig;
    TriggByTimeFrame page;
    page.show();
    for (int d = 1; d <= 7; ++d) {
        QVERIFY(!ticked(&page, allWeek(3)));
        click(&page, two("cbEvDay_", d, 3));
    }
    QVERIFY(ticked(&page, allWeek(3)));
    click(&page, two("cbEvDay_", 4, 3));
    QVERIFY(!ticked(&page, allWeek(3)));

    for (int d : {1, 2, 3})
        click(&page, two("cbEvDay_", d, 5));
    for (bool on : {true, false}) {
        click(&page, allWeek(5));
        for (int d = 1; d <= 7; ++d)
            QCOMPARE(ticked(&page, two("cbEvDay_", d, 5)), on);
        QCOMPARE(ticked(&page, allWeek(5)), on);
    }
    page.ApplyClick();
    QCOMPARE(rig.s.timeTriggers->evDay[2], (std::array<u8, 7>{1, 1, 1, 0, 1, 1, 1}));
    QCOMPARE(rig.s.timeTriggers->evDay[4], (std::array<u8, 7>{}));
    QCOMPARE(rig.s.timeTriggers->evDay[3], (std::array<u8, 7>{}));
}

QTEST_MAIN(TestCallsAndTriggers)
#include "tst_callsandtriggers.moc"
