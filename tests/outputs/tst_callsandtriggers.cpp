// The call list page (numbers by loop) and the time-of-day triggers page.

#include "PageTestSupport.h"

#include "outputs/TriggByTimeFrame.h"
#include "outputs/Zvonki.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTimeEdit>
#include <QToolButton>

namespace {
QString opCl(int number, int loop) {
    return QStringLiteral("cbOpCl_%1_%2").arg(number).arg(loop);
}
QString alarm(int number, int loop) {
    return QStringLiteral("cbAlarm_%1_%2").arg(number).arg(loop);
}
QString day(int d, int event) {
    return QStringLiteral("cbEvDay_%1_%2").arg(d).arg(event);
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
    void callButtons();
    void callNumbers();
    void triggersRoundTrip();
    void allWeekRule();
};

void TestCallsAndTriggers::callRows_data() {
    QTest::addColumn<QList<int>>("models");
    QTest::addColumn<int>("loops");
    QTest::newRow("D4M") << QList<int>{0} << 4;
    QTest::newRow("D4M then VororaZ") << QList<int>{0, 2} << 6;
    QTest::newRow("VoduzeR") << QList<int>{3} << 6;
    QTest::newRow("D4M, VororaZ, D8M") << QList<int>{0, 2, 1} << 8;
    QTest::newRow("unknown model") << QList<int>{7} << 6;
}

// Rows by model; a hidden row keeps its boxes and is stored as it stands.
void TestCallsAndTriggers::callRows() {
    QFETCH(QList<int>, models);
    QFETCH(int, loops);
    PageSettings rig;
    rig.s.callMatrix->alarm[1][7] = 0;
    rig.s.callMatrix->openClose[4][6] = 0;
    const CallMatrix before = *rig.s.callMatrix;
    Zvonki page;
    page.CancelClick();
    for (int model : models)
        page.TPribSlot(model);
    for (int loop = 1; loop <= 8; ++loop) {
        const bool shown = loop <= loops;
        QCOMPARE(!child(&page, QStringLiteral("lAl_%1").arg(loop))->isHidden(), shown);
        for (int n = 1; n <= 5; ++n) {
            QCOMPARE(!child(&page, opCl(n, loop))->isHidden(), shown);
            QCOMPARE(!child(&page, alarm(n, loop))->isHidden(), shown);
        }
    }
    *rig.s.callMatrix = CallMatrix{};
    page.ApplyClick();
    QCOMPARE(rig.s.callMatrix->openClose, before.openClose);
    QCOMPARE(rig.s.callMatrix->alarm, before.alarm);
}

// The defaults tick all 80 boxes; a number's buttons change its own sixteen,
// hidden rows included, and only an apply stores them.
void TestCallsAndTriggers::callButtons() {
    PageSettings rig;
    Zvonki page;
    page.CancelClick();
    page.TPribSlot(DEV_D4M);
    int ticked = 0;
    for (int n = 1; n <= 5; ++n) {
        for (int loop = 1; loop <= 8; ++loop)
            ticked += ::ticked(&page, opCl(n, loop)) + ::ticked(&page, alarm(n, loop));
    }
    QCOMPARE(ticked, 80);

    click(&page, QStringLiteral("tbUncheckAll_3"));
    QCOMPARE(rig.s.callMatrix->alarm[2][7], 1);
    page.ApplyClick();
    for (size_t n = 0; n < 5; ++n) {
        for (size_t l = 0; l < 8; ++l) {
            QCOMPARE(rig.s.callMatrix->openClose[n][l], n == 2 ? 0 : 1);
            QCOMPARE(rig.s.callMatrix->alarm[n][l], n == 2 ? 0 : 1);
        }
    }
    click(&page, QStringLiteral("tbUncheckAll_1"));
    click(&page, QStringLiteral("tbCheckAll_3"));
    page.checkUncheckAllClicked(); // no sender: nothing
    page.ApplyClick();
    QCOMPARE(rig.s.callMatrix->openClose[2], (std::array<u8, 8>{1, 1, 1, 1, 1, 1, 1, 1}));
    QCOMPARE(rig.s.callMatrix->alarm[0], (std::array<u8, 8>{}));
    QCOMPARE(rig.s.callMatrix->alarm[1][7], 1);
}

// The numbers are shown through the mask and never stored by this page.
void TestCallsAndTriggers::callNumbers() {
    PageSettings rig;
    rig.s.phones->number[0] = QStringLiteral("9161234567");
    rig.s.phones->number[3] = QStringLiteral("12345");
    const PhoneNumbers before = *rig.s.phones;
    Zvonki page;
    auto* first = child<QLineEdit>(&page, QStringLiteral("leNum_1"));
    QVERIFY(first->isReadOnly());
    QCOMPARE(first->displayText(), QStringLiteral("***-***-**-**"));
    page.CancelClick();
    QCOMPARE(first->displayText(), QStringLiteral("916-123-45-67"));
    QCOMPARE(child<QLineEdit>(&page, QStringLiteral("leNum_4"))->displayText(),
             QStringLiteral("123-45*-**-**"));

    page.setPhoneNumber(QStringLiteral("leNum_1"), QStringLiteral("4950001122"));
    page.setPhoneNumber(QStringLiteral("leNum_9"), QStringLiteral("4950001122"));
    QCOMPARE(first->displayText(), QStringLiteral("495-000-11-22"));
    page.ApplyClick();
    QCOMPARE(rig.s.phones->number, before.number);
    page.CancelClick();
    QCOMPARE(first->displayText(), QStringLiteral("916-123-45-67"));
}

// Times, types and days both ways: an unset time and types or day bytes out
// of range load as the page shows them and are stored as such.
void TestCallsAndTriggers::triggersRoundTrip() {
    PageSettings rig;
    TimeTriggers& t = *rig.s.timeTriggers;
    TriggByTimeFrame page;
    auto* time3 = child<QTimeEdit>(&page, QStringLiteral("teEvTime_3"));
    time3->setTime(QTime(12, 0));
    auto* type3 = child<QComboBox>(&page, QStringLiteral("comboBEvType_3"));
    QCOMPARE(type3->count(), 4);
    QCOMPARE(type3->itemText(3), QStringLiteral("3 - смена состояния"));

    t.evTime[0] = QTime(7, 30);
    t.evType = {2, 4, -1, 3, 0, 0, 0, 0, 0, 1};
    t.evDay[0] = {1, 0, 0, 0, 1, 0, 0};
    t.evDay[9] = {5, 1, 1, 1, 1, 1, 1};
    page.CancelClick();
    QCOMPARE(child<QTimeEdit>(&page, QStringLiteral("teEvTime_1"))->time(), QTime(7, 30));
    QCOMPARE(time3->time(), QTime(0, 0)); // unset: midnight, not the 12:00 shown before
    QCOMPARE(child<QComboBox>(&page, QStringLiteral("comboBEvType_1"))->currentText(),
             QStringLiteral("2 - открытие"));
    QVERIFY(ticked(&page, day(1, 1)) && ticked(&page, day(5, 1)) && !ticked(&page, day(2, 1)));
    QVERIFY(!ticked(&page, allWeek(1)));
    QVERIFY(ticked(&page, allWeek(10)));

    page.ApplyClick();
    for (const QTime& time : t.evTime)
        QVERIFY(time.isValid());
    QCOMPARE(t.evTime[0], QTime(7, 30));
    QCOMPARE(t.evTime[2], QTime(0, 0));
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
    page.CancelClick();
    for (int d = 1; d <= 6; ++d)
        click(&page, day(d, 3));
    QVERIFY(!ticked(&page, allWeek(3)));
    click(&page, day(7, 3));
    QVERIFY(ticked(&page, allWeek(3)));
    click(&page, day(4, 3));
    QVERIFY(!ticked(&page, allWeek(3)));
    for (int e : {2, 4})
        QVERIFY(!ticked(&page, allWeek(e)));

    for (int d : {1, 2, 3})
        click(&page, day(d, 5));
    click(&page, allWeek(5));
    for (int d = 1; d <= 7; ++d)
        QVERIFY(ticked(&page, day(d, 5)));
    QVERIFY(ticked(&page, allWeek(5)));
    click(&page, allWeek(5));
    for (int d = 1; d <= 7; ++d)
        QVERIFY(!ticked(&page, day(d, 5)));
    QVERIFY(!ticked(&page, allWeek(5)));
    QVERIFY(ticked(&page, day(3, 3)));

    page.ApplyClick();
    QCOMPARE(rig.s.timeTriggers->evDay[2], (std::array<u8, 7>{1, 1, 1, 0, 1, 1, 1}));
}

QTEST_MAIN(TestCallsAndTriggers)
#include "tst_callsandtriggers.moc"
