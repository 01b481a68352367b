// The time window: clock texts, GSM levels, at most one outstanding request
// of each kind, and whole runs against the simulated device.

#include "app/DeviceFixture.h"
#include "support/Modal.h"

#include "link/LinkTiming.h"
#include "service/TimeDialog.h"

#include <QDateTimeEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>

namespace {
QDateTime Shown(const QWidget& w, const char* name = "dteCurrentDeviceTime") {
    return w.findChild<QDateTimeEdit*>(QString::fromLatin1(name))->dateTime();
}
} // namespace

class TestTimeDialog : public QObject {
    Q_OBJECT

private slots:
    void init() {
        settings = DeviceSettings();
        SetDefaultSettings(&settings, false);
        g_deviceSettings = &settings;
    }
    void answers();
    void requestsWaitForAnswers();
    void wholeRun_data();
    void wholeRun();

private:
    DeviceSettings settings;
};

// A clock text that does not parse leaves the last clock shown; GSM levels
// as percentages, "Ошибка!" for no measurement, a level above the bar's range
// not taken.
void TestTimeDialog::answers() {
    TimeDialog window;
    const QDateTime before(QDate(2030, 1, 1), QTime(1, 2, 3));
    window.SetCurrentDeviceTime("30/01/01,01:02:03");
    for (const char* text : {"23/02/29,12:00:00", "xx/yy/zz,aa:bb:cc", "24/03/05"}) {
        window.SetCurrentDeviceTime(text);
        window.RefreshTimeout();
        QCOMPARE(Shown(window), before);
    }

    const QList<std::pair<QByteArray, int>> cases = {
        {"00", 0},  {"01", 3},  {"04", 13}, {"16", 50}, {"31", 97}, {"32", 100},
        {"99", -1}, {"9A", -1}, {"A5", -1}, {"", -1},   {"5", -1}};
    for (const auto& [text, percent] : cases)
        QCOMPARE(TimeDialog::GsmLevelPercent(text), percent);
    auto* bar = window.findChild<QProgressBar*>(QStringLiteral("pBarLevel"));
    auto level = [&](const char* text) {
        window.SetGSMSignalLevel(text);
        return QString::number(bar->value()) + ' ' + bar->format();
    };
    QCOMPARE(level("16"), "50 %p%");
    QCOMPARE(level("40"), "50 %p%"); // 125 %
    QCOMPARE(level("99"), "0 Ошибка!");
    QCOMPARE(level("40"), "0 %p%");

    // The computer's clock goes to the device only within the years its two
    // digits can mean.
    QSignalSpy writes(&window, &TimeDialog::SigWriteNewTime);
    for (int year : {1970, 1999, 2000, 2099, 2100}) {
        window.now = [year] { return QDateTime(QDate(year, 6, 1), QTime(12, 0)); };
        window.WriteSystemTimeClick();
    }
    QCOMPARE(writes.size(), 2);
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
    QTest::addColumn<QByteArray>("clock");
    QTest::addColumn<bool>("breaks");
    QTest::newRow("05.06.2010") << "05.06.2010" << QByteArray("99/12/31,23:59:59") << true;
    QTest::newRow("19.04.2012") << "19.04.2012/45" << QByteArray("00/02/29,12:00:00") << false;
}

// Through the main window: 127 and 126, the window opens, asks one tick
// later and shows the device's clock; the computer's and a hand-set time
// reach the device and the next read shows them; closing sends the break
// commands before 19.04.2012 only.
void TestTimeDialog::wholeRun() {
    QFETCH(QString, version);
    QFETCH(QByteArray, clock);
    kwlink::SetLinkTimeScale(0.2);
    const auto restore = qScopeGuard([] { kwlink::SetLinkTimeScale(1.0); });
    DeviceFixture fx;
    QVERIFY(fx.open());
    QVERIFY(fx.connect(4, QDate(2012, 4, 19), 45));
    fx.widget<QComboBox>("cbVersion")
        ->setCurrentIndex(int(MainWindow::FirmwareVersions().indexOf(version)));
    fx.sim.SetDeviceTime(clock);
    auto* window = fx.main->findChild<TimeDialog*>();
    const QDateTime pc(QDate(2024, 3, 5), QTime(14, 7, 9));
    window->now = [pc] { return pc; };
    const int before = fx.rows();
    bool checked = false;
    auto shows = [&](const QDateTime& t) {
        return QTest::qWaitFor([&] { return Shown(*window) == t; }, DeviceFixture::kSlowMs);
    };
    auto inside = [&] {
        QVERIFY(shows(QDateTime::fromString("20" + clock, "yyyy/MM/dd,HH:mm:ss")));
        Child<QPushButton>(window, "pbWriteSystemTime")->click();
        QVERIFY(shows(pc));
        QVERIFY(fx.sim.Received().contains("\x78\x03"
                                           "24/03/05,14:07:09+00"));
        const QDateTime set(QDate(2031, 7, 8), QTime(9, 10, 11));
        auto* typed = Child<QDateTimeEdit>(window, "dteNewTime");
        typed->setDateTime(set);
        // Enter in the hand-set time presses no button: it wrote the
        // computer's time in place of the one typed.
        QSignalSpy writes(window, &TimeDialog::SigWriteNewTime);
        QTest::keyClick(typed, Qt::Key_Return);
        QVERIFY(writes.isEmpty());
        Child<QPushButton>(window, "pbWriteTime")->click();
        QVERIFY(shows(set));
        auto* bar = Child<QProgressBar>(window, "pBarLevel");
        QCOMPARE(bar->value(), TimeDialog::GsmLevelPercent("17"));
        checked = true;
        fx.sim.ResetCounters(); // what closing sends comes next
        Child<QPushButton>(window, "pbCancel")->click();
    };
    InsideModal(
        window, [&] { fx.action("actTime")->trigger(); }, inside);
    QVERIFY(QTest::qWaitFor([&] { return checked || fx.codes(before).contains(301); },
                            DeviceFixture::kSlowMs));
    QVERIFY(checked);
    QTRY_VERIFY_WITH_TIMEOUT(!window->isVisible(), DeviceFixture::kSlowMs);
    QCOMPARE(fx.codes(before).mid(0, 2), (QList<int>{127, 126}));
    QFETCH(bool, breaks);
    const auto brokeOff = [&] {
        return fx.sim.Received().contains(QByteArray::fromHex("d700ad00"));
    };
    if (breaks) {
        QTRY_VERIFY_WITH_TIMEOUT(brokeOff(), DeviceFixture::kSlowMs);
    } else {
        QTest::qWait(200); // what closing sent has crossed the line by now
        QVERIFY(!brokeOff());
    }
}

QTEST_MAIN(TestTimeDialog)
#include "tst_timedialog.moc"
