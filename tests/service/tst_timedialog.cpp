// The time window: clock texts, GSM levels, at most one outstanding request
// of each kind, writing a time, and a whole run against the simulated device.

#include "../app/DeviceFixture.h"

#include "link/LinkTiming.h"
#include "service/TimeDialog.h"
#include "settings/DeviceSettings.h"

#include <QDateTimeEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QTimer>

namespace {
QDateTime Shown(const QWidget& w, const char* name) {
    return w.findChild<QDateTimeEdit*>(QString::fromLatin1(name))->dateTime();
}
const QDateTime kPcTime(QDate(2024, 3, 5), QTime(14, 7, 9));

// Runs `body` once `window` is on screen: a window that opens on a device's
// answer runs its own modal loop, inside which the body then runs.
void WhenShown(QWidget* window, std::function<void()> body) {
    auto* poll = new QTimer(window);
    QObject::connect(poll, &QTimer::timeout, window, [=] {
        if (!window->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        body();
    });
    poll->start(10);
}
} // namespace

class TestTimeDialog : public QObject {
    Q_OBJECT

private slots:
    void init();
    void clockTexts_data();
    void clockTexts();
    void levels();
    void requestsWaitForAnswers();
    void wholeRun_data();
    void wholeRun();

private:
    DeviceSettings settings;
};

void TestTimeDialog::init() {
    settings = DeviceSettings();
    SetDefaultSettings(&settings, false);
    g_deviceSettings = &settings;
}

void TestTimeDialog::clockTexts_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QDateTime>("shown"); // invalid: the display keeps its last clock
    QTest::newRow("2024") << QByteArray("24/03/05,14:07:09")
                          << QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9));
    QTest::newRow("leap day 2000")
        << QByteArray("00/02/29,12:00:00") << QDateTime(QDate(2000, 2, 29), QTime(12, 0));
    QTest::newRow("last of 2099") << QByteArray("99/12/31,23:59:59")
                                  << QDateTime(QDate(2099, 12, 31), QTime(23, 59, 59));
    QTest::newRow("no such day") << QByteArray("23/02/29,12:00:00") << QDateTime();
    QTest::newRow("garbage") << QByteArray("xx/yy/zz,aa:bb:cc") << QDateTime();
    QTest::newRow("short") << QByteArray("24/03/05") << QDateTime();
}

void TestTimeDialog::clockTexts() {
    QFETCH(QByteArray, text);
    QFETCH(QDateTime, shown);
    TimeDialog window;
    const QDateTime before(QDate(2030, 1, 1), QTime(1, 2, 3));
    window.SetCurrentDeviceTime("30/01/01,01:02:03");
    window.RefreshTimeout();
    window.SetCurrentDeviceTime(text);
    window.RefreshTimeout();
    QCOMPARE(Shown(window, "dteCurrentDeviceTime"), shown.isValid() ? shown : before);
}

// Percentages of the two-digit level, the error texts, and a level above the
// bar's range that is not taken.
void TestTimeDialog::levels() {
    const QList<std::pair<QByteArray, int>> cases = {
        {"00", 0},  {"01", 3},  {"04", 13}, {"16", 50}, {"31", 97}, {"32", 100},
        {"99", -1}, {"9A", -1}, {"A5", -1}, {"", -1},   {"5", -1}};
    for (const auto& [text, percent] : cases)
        QCOMPARE(TimeDialog::GsmLevelPercent(text), percent);

    TimeDialog window;
    auto* bar = window.findChild<QProgressBar*>(QStringLiteral("pBarLevel"));
    window.SetGSMSignalLevel("16");
    QCOMPARE(bar->value(), 50);
    window.SetGSMSignalLevel("40"); // 125 %: the bar keeps 50
    QCOMPARE(bar->value(), 50);
    QCOMPARE(bar->format(), QStringLiteral("%p%"));
    window.SetGSMSignalLevel("99");
    QCOMPARE(bar->format(), QStringLiteral("Ошибка!"));
    QCOMPARE(bar->value(), 0);
    window.SetGSMSignalLevel("40");
    QCOMPARE(bar->format(), QStringLiteral("%p%"));
    QCOMPARE(bar->value(), 0);
}

// Each request goes out again only once its answer came, an empty clock
// answer included.
void TestTimeDialog::requestsWaitForAnswers() {
    TimeDialog window;
    QSignalSpy askTime(&window, &TimeDialog::SigGetDeviceTime);
    QSignalSpy askLevel(&window, &TimeDialog::SigGetGSMSignalLevel);
    window.RefreshTimeout();
    window.RefreshTimeout();
    window.SetCurrentDeviceTime(QByteArray());
    window.RefreshTimeout();
    window.RefreshTimeout();
    QCOMPARE(askTime.size(), 2);
    QCOMPARE(askLevel.size(), 1);
    window.SetGSMSignalLevel("12");
    window.RefreshTimeout();
    QCOMPARE(askLevel.size(), 2);
}

void TestTimeDialog::wholeRun_data() {
    QTest::addColumn<QString>("version");
    QTest::addColumn<bool>("breaks");
    QTest::newRow("05.06.2010") << "05.06.2010" << true;
    QTest::newRow("19.04.2012") << "19.04.2012/45" << false;
}

// Through the main window: 127 and 126, the window opens, asks one tick
// later, shows the device's clock, writes the computer's and a hand-set
// time, and on closing sends the break commands before 19.04.2012 only.
void TestTimeDialog::wholeRun() {
    QFETCH(QString, version);
    QFETCH(bool, breaks);
    kwlink::SetLinkTimeScale(0.2);
    const auto restore = qScopeGuard([] { kwlink::SetLinkTimeScale(1.0); });
    DeviceFixture fx;
    QVERIFY(fx.open());
    QVERIFY(fx.connect(4, QDate(2012, 4, 19), 45));
    fx.widget<QComboBox>("cbVersion")
        ->setCurrentIndex(int(MainWindow::FirmwareVersions().indexOf(version)));
    fx.sim.SetDeviceTime("00/02/29,12:00:00");
    auto* window = fx.main->findChild<TimeDialog*>();
    window->now = [] { return kPcTime; };
    const int before = fx.rows();
    bool checked = false;
    WhenShown(window, [&] {
        const auto leave = qScopeGuard([&] {
            fx.sim.ResetCounters();
            window->findChild<QPushButton*>(QStringLiteral("pbCancel"))->click();
        });
        QVERIFY(QTest::qWaitFor(
            [&] { return Shown(*window, "dteCurrentDeviceTime").date() == QDate(2000, 2, 29); },
            3000));
        window->findChild<QPushButton*>(QStringLiteral("pbWriteSystemTime"))->click();
        QVERIFY(QTest::qWaitFor([&] { return fx.sim.DeviceTime() == "24/03/05,14:07:09"; }, 3000));
        QVERIFY(fx.sim.Received().contains("\x78\x03"
                                           "24/03/05,14:07:09+00"));
        window->findChild<QDateTimeEdit*>(QStringLiteral("dteNewTime"))
            ->setDateTime(QDateTime(QDate(2031, 7, 8), QTime(9, 10, 11)));
        window->findChild<QPushButton*>(QStringLiteral("pbWriteTime"))->click();
        QVERIFY(QTest::qWaitFor(
            [&] { return Shown(*window, "dteCurrentDeviceTime").date() == QDate(2031, 7, 8); },
            3000));
        auto* bar = window->findChild<QProgressBar*>(QStringLiteral("pBarLevel"));
        QCOMPARE(bar->value(), TimeDialog::GsmLevelPercent("17"));
        checked = true;
    });
    fx.action("actTime")->trigger();
    QVERIFY(QTest::qWaitFor([&] { return checked || fx.codes(before).contains(301); }, 10000));
    QVERIFY(checked);
    QTRY_VERIFY(!window->isVisible());
    QCOMPARE(fx.codes(before).mid(0, 2), (QList<int>{127, 126}));
    QTest::qWait(200);
    QCOMPARE(fx.sim.Received().contains(QByteArray::fromHex("d700ad00")), breaks);
}

QTEST_MAIN(TestTimeDialog)
#include "tst_timedialog.moc"
