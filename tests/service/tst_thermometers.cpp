// The thermometer window: scales, merging lists, the written list, limits,
// removal (rows dropped while their dialogs are open too), and a whole run
// against the simulated device.

#include "app/DeviceFixture.h"
#include "support/Modal.h"

#include "editor/NaprLines.h"
#include "editor/NastrShl.h"
#include "link/LinkTiming.h"
#include "service/ThermInfoLine.h"
#include "service/ThermsDSDialog.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QScopeGuard>
#include <QSlider>
#include <QToolButton>

#include <limits>

namespace {
const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();

QByteArray Id(int k) {
    return QByteArray::fromHex("28abcd01000000") + QByteArray(1, char(k));
}
QString IdShown(int k) { // k below 10
    return QStringLiteral("28ABCD010000000%1").arg(k);
}
QByteArray Rec(int k, float t, float upper = 85, float lower = -10) {
    return SimDevice::ThermometerRecord(Id(k), t, upper, lower);
}
// Sensors k at temperature base + k.
QByteArray List(const QList<int>& ks, float base = 0) {
    QByteArray out(1, char(ks.size()));
    for (int k : ks)
        out += Rec(k, base + k);
    return out;
}
template <class W> QStringList Column(const ThermsDSDialog& w, W* ThermInfoLine::*field) {
    QStringList out;
    for (const ThermInfoLine* row : w.rows())
        out << (row->*field)->text();
    return out;
}
// Runs `body` in the row's limits dialog; the dialog closes afterwards.
void InLimits(ThermInfoLine* row, std::function<void(QWidget*)> body) {
    const QPointer<ThermInfoLine> alive(row);
    InsideModal([alive] { return alive ? alive->limitsDialog.data() : nullptr; },
                [row] { row->limitsButton->click(); },
                [alive, body] { body(alive->limitsDialog); });
}
} // namespace

class TestThermometers : public QObject {
    Q_OBJECT

private slots:
    void init();
    void scales_data();
    void scales();
    void merges_data();
    void merges();
    void writes();
    void limits();
    void remove_data();
    void remove();
    void wholeRun();

private:
    DeviceSettings settings;
};

void TestThermometers::init() {
    settings = DeviceSettings();
    SetDefaultSettings(&settings, false);
    g_deviceSettings = &settings;
}

void TestThermometers::scales_data() {
    QTest::addColumn<float>("t");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("code"); // of t as a limit
    QTest::newRow("25") << 25.f << 51 << "25" << 526;
    QTest::newRow("100") << 100.f << 99 << "100" << 1020;
    QTest::newRow("100.25") << 100.25f << 100 << "100" << 1021;
    QTest::newRow("21.0625") << 21.0625f << 49 << "21.1" << 500;
    QTest::newRow("NaN") << kNaN << 0 << "nan" << 0;
    QTest::newRow("+inf") << kInf << 100 << "inf" << 1023;
    QTest::newRow("huge negative") << -3e38f << 0 << "-3e+38" << 0;
}

// The slider shows the temperature and goes back when moved; the bar and the
// limits dialog's code take the same floats; every code survives the way to
// a limit and back.
void TestThermometers::scales() {
    QFETCH(float, t);
    QFETCH(int, position);
    QFETCH(QString, shown);
    QFETCH(int, code);
    ThermInfoLine row;
    row.setTemperature(t);
    QCOMPARE(row.temperatureField->text(), shown);
    row.temperatureSlider->triggerAction(QAbstractSlider::SliderPageStepSub);
    row.temperatureSlider->triggerAction(QAbstractSlider::SliderToMaximum);
    QCOMPARE(row.temperatureSlider->value(), position);
    row.setLimits(t, 85);
    QCOMPARE(row.rangeBar->min, position);
    QCOMPARE(row.rangeBar->max, 90);
    QCOMPARE(ThermCodeOfLimit(t), code);
    for (int c = 0; c <= 1023; ++c)
        QCOMPARE(ThermCodeOfLimit(ThermLimitOfCode(c)), c);
}

void TestThermometers::merges_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<QList<int>>("ids");
    QTest::addColumn<QStringList>("temperatures");
    const QByteArray three = List({1, 2, 3});
    QTest::newRow("into empty") << QByteArray() << List({1, 2}, 20) << QList<int>{1, 2}
                                << QStringList{"21", "22"};
    QTest::newRow("reordered") << three << List({3, 1, 2}, 20) << QList<int>{1, 2, 3}
                               << QStringList{"21", "22", "23"};
    QTest::newRow("new at the end") << List({1, 2}) << List({3, 1, 2}, 20) << QList<int>{1, 2, 3}
                                    << QStringList{"21", "22", "23"};
    QTest::newRow("missing") << three << List({3, 1}, 20) << QList<int>{1, 3}
                             << QStringList{"21", "23"};
    QTest::newRow("duplicate, later wins")
        << List({1}) << QByteArray(1, 3) + Rec(2, 5) + Rec(1, 6) + Rec(2, 7) << QList<int>{1, 2}
        << QStringList{"6", "7"};
    QTest::newRow("shorter than its count") << three << List({2, 1, 3}, 20).left(1 + 40 + 19)
                                            << QList<int>{1, 2} << QStringList{"21", "22"};
    QTest::newRow("count 0") << three << QByteArray(1, 0) + Rec(1, 0) << QList<int>{}
                             << QStringList{};
    QTest::newRow("empty payload")
        << three << QByteArray() << QList<int>{1, 2, 3} << QStringList{"1", "2", "3"};
}

// Rows keep their places and widgets, new sensors come last, missing ones go,
// the rest are numbered without gaps.
void TestThermometers::merges() {
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, list);
    QFETCH(QList<int>, ids);
    QFETCH(QStringList, temperatures);
    ThermsDSDialog window;
    window.receptIncomeStruct(before);
    QHash<QString, const ThermInfoLine*> old;
    for (const ThermInfoLine* row : window.rows())
        old.insert(row->id, row);
    window.receptIncomeStruct(list);
    QStringList shown, numbers;
    for (int i = 0; i < ids.size(); ++i) {
        shown << IdShown(ids.at(i));
        numbers << QString::number(i + 1);
    }
    QCOMPARE(Column(window, &ThermInfoLine::idField), shown);
    QCOMPARE(Column(window, &ThermInfoLine::temperatureField), temperatures);
    QCOMPARE(Column(window, &ThermInfoLine::numberLabel), numbers);
    for (const ThermInfoLine* row : window.rows())
        QVERIFY(old.value(row->id, row) == row);
}

// The list handed to the link: count, identifiers, "0000", upper and lower.
void TestThermometers::writes() {
    ThermsDSDialog window;
    QSignalSpy writes(&window, &ThermsDSDialog::SigWriteTherms);
    auto* write = Child<QAbstractButton>(&window, "pbWriteTherms");
    write->click();
    window.receptIncomeStruct(QByteArray(1, 3) + Rec(2, 9, 82.5f, -6.5f) +
                              Rec(7, 9, 87.5f, -22.75f) + Rec(4, 9, 84.5f, -13.f));
    write->click();
    QByteArray three(1, 3);
    for (int k : {2, 7, 4})
        three += Rec(k, 0, 80.5f + k, -3.25f * k).replace(8, 4, "0000");
    QCOMPARE(writes.size(), 2);
    QCOMPARE(writes.at(0).at(0).toByteArray(), QByteArray(1, 0));
    QCOMPARE(writes.at(1).at(0).toByteArray(), three);
}

// Scales from the third sensor type; applied codes come back as the same
// codes; the box for all rows reaches every row; Cancel changes nothing;
// real-time mode stays off; every dialog goes once closed.
void TestThermometers::limits() {
    for (double step : {2.0, 3.0, 4.0}) {
        SensorRecord r;
        r.unit = QStringLiteral("°C");
        for (int k = 0; k < kAdcCodes; ++k)
            r.table << k / step;
        settings.loopLimits->sensors << r;
    }
    ThermsDSDialog window;
    window.receptIncomeStruct(List({1, 2}));
    window.setRealTimeMode(true);
    ThermInfoLine* row = window.rows().at(0);
    QCOMPARE(row->scaleLabels[1]->text(), QStringLiteral("64 °C"));
    QCOMPARE(row->scaleLabels[4]->text(), QStringLiteral("255.75 °C"));
    InLimits(row, [&](QWidget* d) {
        QVERIFY(!Child(d, "bDefValue")->isVisible() && !Child(d, "cbObrShl")->isVisible());
        QCOMPARE(Child<QGroupBox>(d, "GroupBox1")->title(),
                 QStringLiteral("Настройка диапазонов термометра"));
        QCOMPARE(Child<QLabel>(d, "lScaleRight")->text(), row->scaleLabels[4]->text());
        QCOMPARE(Child<QSlider>(d, "slNMin")->value(), ThermCodeOfLimit(-10));
        QCOMPARE(Child<QSlider>(d, "slNMax")->value(), ThermCodeOfLimit(85));
        Child<QSlider>(d, "slNMax")->setValue(700);
        Child<QSlider>(d, "slNMin")->setValue(500);
        QCOMPARE(Child<QLineEdit>(d, "leMinD2")->text(), QStringLiteral("125"));
        Child<QAbstractButton>(d, "pbApply")->click();
    });
    QVERIFY(!window.realTimeMode());
    QCOMPARE(row->lowerLimit, 21.f);
    QVERIFY(qFuzzyCompare(row->upperLimit, 51.4f));
    QCOMPARE(window.rows().at(1)->upperLimit, 85.f);

    const float upper = row->upperLimit;
    InLimits(row, [&](QWidget* d) {
        QCOMPARE(Child<QSlider>(d, "slNMin")->value(), 500);
        QCOMPARE(Child<QSlider>(d, "slNMax")->value(), 700);
        Child<QCheckBox>(d, "cbForAll")->setChecked(true);
        Child<QAbstractButton>(d, "pbApply")->click();
    });
    for (const ThermInfoLine* r : window.rows())
        QVERIFY(r->lowerLimit == 21.f && r->upperLimit == upper);

    InLimits(row, [&](QWidget* d) {
        Child<QSlider>(d, "slNMin")->setValue(10);
        Child<QCheckBox>(d, "cbForAll")->setChecked(true);
        static_cast<QDialog*>(d)->reject();
    });
    QCOMPARE(row->lowerLimit, 21.f);

    // A merge drops the row while its dialog is open: out of the list at
    // once, destroyed once the dialog has returned.
    QPointer<ThermInfoLine> dropped = row;
    InLimits(row, [&](QWidget* d) {
        window.receptIncomeStruct(List({2}));
        QTest::qWait(20); // deferred deletions run
        QVERIFY(dropped && d->isVisible());
        Child<QAbstractButton>(d, "pbApply")->click();
    });
    QCOMPARE(Column(window, &ThermInfoLine::numberLabel), QStringList{"1"});
    QTRY_VERIFY_WITH_TIMEOUT(dropped.isNull() && !window.findChild<NastrShl*>(), 20000);
}

void TestThermometers::remove_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("merged"); // while the question is shown
    QTest::addColumn<QStringList>("numbers");
    QTest::addColumn<bool>("polling");
    QTest::newRow("No") << int(Prompt::No) << false << QStringList{"1", "2", "3"} << true;
    QTest::newRow("Yes") << int(Prompt::Yes) << false << QStringList{"1", "3"} << false;
    QTest::newRow("Yes, dropped meanwhile")
        << int(Prompt::Yes) << true << QStringList{"1", "2"} << false;
}

// Polling pauses while the question is shown and resumes on No; Yes drops the
// row and leaves the numbers until the next merge. A merge that drops the row
// meanwhile takes it out at once and destroys it once its slot has returned.
void TestThermometers::remove() {
    QFETCH(int, answer);
    QFETCH(bool, merged);
    QFETCH(QStringList, numbers);
    QFETCH(bool, polling);
    ScriptedPrompt ask;
    ask.buttons << answer;
    ThermsDSDialog window;
    window.receptIncomeStruct(List({1, 2, 3}));
    window.setRealTimeMode(true);
    QPointer<ThermInfoLine> row = window.rows().at(1);
    bool paused = false;
    bool aliveWhileAsking = true;
    ask.whileAsking = [&] {
        paused = !window.realTimeMode();
        if (merged) {
            window.receptIncomeStruct(List({1, 3}));
            QTest::qWait(20); // deferred deletions run
            aliveWhileAsking = row;
        }
    };
    row->removeButton->click();
    QCOMPARE(ask.count(QStringLiteral("Удалить термометр из списка?")), 1);
    QVERIFY(paused && aliveWhileAsking);
    QCOMPARE(window.realTimeMode(), polling);
    QCOMPARE(Column(window, &ThermInfoLine::numberLabel), numbers);
    QTRY_COMPARE_WITH_TIMEOUT(row.isNull(), !polling, 20000);
}

// Through the main window and the link: the first read one poll after
// opening, then every poll; a temperature the device changes; a search; the
// list as the device keeps it after a write; the confirmation shown, then
// hidden; no reads once polling is off or after Escape.
void TestThermometers::wholeRun() {
    kwlink::SetLinkTimeScale(0.5);
    const auto restore = qScopeGuard([] { kwlink::SetLinkTimeScale(1.0); });
    const int poll = kwlink::ScaledMs(ThermsDSDialog::kPollMs);
    const int slow = DeviceFixture::kSlowMs;
    DeviceFixture fx;
    QVERIFY(fx.open());
    QVERIFY(fx.connect(4, QDate(2012, 4, 19), 45));
    QVERIFY(fx.action("actThermsDS")->isEnabled());
    fx.sim.SetThermometers(Rec(1, 21.5f) + Rec(2, 23.f) + Rec(3, -5.f, kInf, kNaN), 3);
    fx.sim.SetSearchableThermometers(Rec(4, 30.f), 1);
    fx.sim.ResetCounters();
    auto reads = [&] { return int(fx.sim.ServiceCommands().count(QByteArray::fromHex("a50100"))); };
    ThermsDSDialog* window = fx.main->thermsDialog();
    // The reads the window asked for (a search is no read); the device
    // counts them only once they have crossed the line.
    QSignalSpy asked(window, &ThermsDSDialog::SigGetTherms);
    auto readsAsked = [&] {
        int n = 0;
        for (const auto& args : asked)
            n += args.at(0).toBool() ? 0 : 1;
        return n;
    };
    auto temperatures = [=] { return Column(*window, &ThermInfoLine::temperatureField); };
    bool checked = false;
    QElapsedTimer sinceOpening;
    InsideModal(
        window,
        [&] {
            sinceOpening.start();
            fx.action("actThermsDS")->trigger();
        },
        [&] {
            // Nothing is asked on opening: the first read to arrive left with
            // the first poll (a coarse timer may fire up to 5 % early).
            QTRY_VERIFY_WITH_TIMEOUT(reads() > 0, slow);
            QVERIFY(sinceOpening.elapsed() >= poll * 95 / 100);
            QTRY_COMPARE_WITH_TIMEOUT(temperatures(), (QStringList{"21.5", "23", "-5"}), slow);
            QCOMPARE(window->rows().at(2)->rangeBar->max, 100);
            fx.sim.SetThermometerTemperature(0, 30.f);
            QTRY_COMPARE_WITH_TIMEOUT(temperatures().value(0), QStringLiteral("30"), slow);
            QTRY_VERIFY_WITH_TIMEOUT(reads() >= 3, slow);
            Child<QAbstractButton>(window, "pbSearchTherms")->click();
            QVERIFY(window->realTimeMode());
            QTRY_COMPARE_WITH_TIMEOUT(Column(*window, &ThermInfoLine::idField).value(3), IdShown(4),
                                      slow);
            Child<QAbstractButton>(window, "pbReadTherms")->click(); // off
            QTRY_COMPARE_WITH_TIMEOUT(reads(), readsAsked(), slow);
            const int stopped = reads();
            window->setLimitsForAll(ThermLimitOfCode(500), ThermLimitOfCode(700));
            window->grab().save(QStringLiteral("/tmp/therms-window.png"));
            Child<QAbstractButton>(window, "pbWriteTherms")->click();
            auto* ok = Child<QLabel>(window, "lWriteOk");
            QTRY_VERIFY_WITH_TIMEOUT(ok->isVisible(), slow);
            const float up = ThermLimitOfCode(700), low = ThermLimitOfCode(500);
            QCOMPARE(fx.sim.Thermometers(), Rec(1, 30.f, up, low) + Rec(2, 23.f, up, low) +
                                                Rec(3, -5.f, up, low) + Rec(4, 30.f, up, low));
            QTRY_VERIFY_WITH_TIMEOUT(!ok->isVisible(), slow);
            QCOMPARE(reads(), stopped);
            // On: one read at once, ahead of any poll.
            Child<QAbstractButton>(window, "pbReadTherms")->click();
            QCOMPARE(readsAsked(), stopped + 1);
            QTRY_VERIFY_WITH_TIMEOUT(reads() > stopped, slow);
            QTest::keyClick(window, Qt::Key_Escape);
            checked = true;
        });
    QVERIFY(checked);
    QVERIFY(!window->isVisible() && !window->realTimeMode());
    QTRY_COMPARE_WITH_TIMEOUT(reads(), readsAsked(), slow);
    const int after = reads();
    QTest::qWait(3 * poll);
    QCOMPARE(reads(), after);
}

QTEST_MAIN(TestThermometers)
#include "tst_thermometers.moc"
