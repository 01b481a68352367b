// The loop range dialog and the range bar it draws, headless: the bar's
// pixels, its tool tips, the dialog's coupled sliders, value fields, reverse
// captions, and Apply, Cancel, Escape and the close button while it runs.

#include "editor/NaprLines.h"
#include "editor/NastrShl.h"
#include "settings/DeviceSettings.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QTimer>

namespace {
const QRgb kRed = qRgb(255, 0, 0);
const QRgb kYellow = qRgb(255, 255, 0);
const QRgb kGreen = qRgb(105, 231, 131);
const QRgb kBlack = qRgb(0, 0, 0);

// One colour letter per column of row 5 of a 200 x 12 bar: r, y, g, k.
QString Columns(NaprLines& bar) {
    bar.resize(200, 12);
    const QImage img = bar.grab().toImage();
    QString out;
    for (int x = 0; x < img.width(); ++x) {
        const QRgb c = img.pixel(x, 5) & 0xFFFFFF;
        out += c == (kRed & 0xFFFFFF)      ? 'r'
               : c == (kYellow & 0xFFFFFF) ? 'y'
               : c == (kGreen & 0xFFFFFF)  ? 'g'
               : c == (kBlack & 0xFFFFFF)  ? 'k'
                                           : '?';
    }
    return out;
}

// Runs of `n` copies of a letter, for readable expectations.
QString Run(char c, int n) {
    return QString(n, QLatin1Char(c));
}

QString Tip(NaprLines& bar, int x) {
    QMouseEvent move(QEvent::MouseMove, QPointF(x, 5), bar.mapToGlobal(QPointF(x, 5)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&bar, &move);
    return bar.toolTip();
}

QString Field(const NastrShl& d, const char* name) {
    return d.findChild<QLineEdit*>(QString::fromLatin1(name))->text();
}
QString Caption(const NastrShl& d, const char* name) {
    return d.findChild<QLabel*>(QString::fromLatin1(name))->text();
}
QSlider* Slider(const NastrShl& d, const char* name) {
    return d.findChild<QSlider*>(QString::fromLatin1(name));
}
QCheckBox* Box(const NastrShl& d, const char* name) {
    return d.findChild<QCheckBox*>(QString::fromLatin1(name));
}
// The six value fields, row by row.
QStringList Grid(const NastrShl& d) {
    return {Field(d, "leMinD1"), Field(d, "leMaxD1"), Field(d, "leMinD2"),
            Field(d, "leMaxD2"), Field(d, "leMinD3"), Field(d, "leMaxD3")};
}

// A record whose every code reads `value`.
SensorRecord Flat(double value) {
    SensorRecord r;
    r.table.fill(value, kAdcCodes);
    return r;
}
} // namespace

class TstRangeDialog : public QObject {
    Q_OBJECT

private slots:
    void init();
    void barPixels_data();
    void barPixels();
    void barTips_data();
    void barTips();
    void barStartsEmptyAndRepaintsAtOnce();
    void gridAndCoupling();
    void sensorValues_data();
    void sensorValues();
    void reverseCaptions();
    void applyEmitsThenTakesReceiversState();
    void dismissals_data();
    void dismissals();
    void valuesFromOutside();
    void defaults();
    void scaleTexts();

private:
    DeviceSettings settings;
};

void TstRangeDialog::init() {
    settings = DeviceSettings();
    SetDefaultSettings(&settings, false);
    g_deviceSettings = &settings;
}

void TstRangeDialog::barPixels_data() {
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<bool>("rev");
    QTest::addColumn<QString>("columns");
    QTest::addColumn<int>("storedMax");
    // Width 200: 25 % and 75 % are columns 50 and 150; the frame is black.
    QTest::newRow("bands") << 25 << 75 << false
                           << "k" + Run('r', 49) + "k" + Run('g', 99) + "k" + Run('y', 48) + "k"
                           << 75;
    QTest::newRow("reversed") << 25 << 75 << true
                              << "k" + Run('y', 49) + "k" + Run('g', 99) + "k" + Run('r', 48) + "k"
                              << 75;
    QTest::newRow("whole normal") << 0 << 100 << false << "k" + Run('g', 198) + "k" << 100;
    QTest::newRow("99 is the edge") << 0 << 99 << false << "k" + Run('g', 198) + "k" << 100;
    QTest::newRow("98 is not") << 0 << 98 << false << "k" + Run('g', 195) + "k" + Run('y', 2) + "k"
                               << 98;
    QTest::newRow("equal bounds") << 40 << 40 << false
                                  << "k" + Run('r', 79) + "k" + Run('y', 118) + "k" << 40;
    QTest::newRow("crossed bounds")
        << 60 << 30 << false << "k" + Run('r', 59) + "k" + Run('y', 59) + "k" + Run('y', 78) + "k"
        << 30;
}

void TstRangeDialog::barPixels() {
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(bool, rev);
    QFETCH(QString, columns);
    QFETCH(int, storedMax);
    NaprLines bar;
    bar.min = min;
    bar.max = max;
    bar.rev = rev;
    QCOMPARE(Columns(bar), columns);
    QCOMPARE(bar.max, storedMax);
    // The fills reach the last row but one; the last is the frame's.
    const QImage img = bar.grab().toImage();
    QCOMPARE(img.pixel(100, 10), img.pixel(100, 5));
    QCOMPARE(img.pixel(100, 11) & 0xFFFFFF, kBlack & 0xFFFFFF);
}

void TstRangeDialog::barTips_data() {
    QTest::addColumn<bool>("rev");
    QTest::addColumn<int>("x");
    QTest::addColumn<QString>("tip");
    const QString alarm = QStringLiteral("Тревога");
    const QString normal = QStringLiteral("Норма");
    const QString fault = QStringLiteral("Неисправность");
    QTest::newRow("left") << false << 49 << alarm;
    QTest::newRow("on the lower line") << false << 50 << alarm;
    QTest::newRow("inside") << false << 51 << normal;
    QTest::newRow("inside, right") << false << 149 << normal;
    QTest::newRow("on the upper line") << false << 150 << alarm;
    QTest::newRow("right") << false << 151 << fault;
    QTest::newRow("reversed left") << true << 0 << fault;
    QTest::newRow("reversed inside") << true << 100 << normal;
    QTest::newRow("reversed right") << true << 151 << alarm;
}

void TstRangeDialog::barTips() {
    QFETCH(bool, rev);
    QFETCH(int, x);
    QFETCH(QString, tip);
    NaprLines bar;
    bar.resize(200, 12);
    bar.RepaintLine(25, 75, rev);
    QCOMPARE(Tip(bar, x), tip);
}

void TstRangeDialog::barStartsEmptyAndRepaintsAtOnce() {
    NaprLines bar;
    QCOMPARE(Columns(bar), "k" + Run('y', 198) + "k"); // 0, 0: no alarm, no normal band
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    int paints = 0;
    struct Counter : QObject {
        int* n;
        bool eventFilter(QObject*, QEvent* e) override {
            *n += e->type() == QEvent::Paint;
            return false;
        }
    } counter;
    counter.n = &paints;
    bar.installEventFilter(&counter);
    bar.RepaintLine(10, 90, false);
    QCOMPARE(paints, 1); // painted inside the call, not later
    bar.min = 50;        // a direct write waits for the next paint
    QCOMPARE(paints, 1);
}

// With no sensor loaded the grid shows codes; the sliders never cross, and
// the bar follows both at code / 10.23.
void TstRangeDialog::gridAndCoupling() {
    NastrShl d;
    auto* bar = d.findChild<NaprLines*>(QStringLiteral("nLine"));
    Slider(d, "slNMax")->setValue(700);
    Slider(d, "slNMin")->setValue(300);
    QCOMPARE(Grid(d), (QStringList{"0", "300", "300", "700", "700", "1023"}));
    QCOMPARE(QList<int>({bar->min, bar->max}), QList<int>({29, 68}));

    Slider(d, "slNMin")->setValue(800); // carries the upper bound up
    QCOMPARE(Slider(d, "slNMax")->value(), 800);
    Slider(d, "slNMax")->setValue(100); // carries the lower bound down
    QCOMPARE(Slider(d, "slNMin")->value(), 100);
    QCOMPARE(Grid(d), (QStringList{"0", "100", "100", "100", "100", "1023"}));
    Slider(d, "slNMax")->setValue(1023); // the normal band reaches the right edge
    const QImage img = bar->grab().toImage();
    QCOMPARE(img.pixel(img.width() - 2, 5) & 0xFFFFFF, kGreen & 0xFFFFFF);
    Slider(d, "slNMax")->setValue(2000); // the slider's range holds
    QCOMPARE(Slider(d, "slNMax")->value(), 1023);

    // The slots act on their argument, whatever the sliders show.
    d.MinSliderGo(50);
    QCOMPARE(Field(d, "leMaxD1"), QStringLiteral("50"));
    QCOMPARE(Slider(d, "slNMin")->value(), 100);
}

void TstRangeDialog::sensorValues_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("shown");
    QTest::newRow("cut, not rounded") << 12.3456 << 1 << "12.34";
    QTest::newRow("negative") << -55.1234 << 1 << "-55.1";
    QTest::newRow("two million") << 2e6 << 1 << "2e+06";
    QTest::newRow("exponent lost") << 3.5e6 << 1 << "3.5e+";
    QTest::newRow("index past the list") << 12.3456 << 2 << "300";
    QTest::newRow("negative index") << 12.3456 << -1 << "300";
}

void TstRangeDialog::sensorValues() {
    QFETCH(double, value);
    QFETCH(int, index);
    QFETCH(QString, shown);
    settings.loopLimits->sensors = {Flat(0), Flat(value)};
    NastrShl d;
    d.sensorIndex = index;
    Slider(d, "slNMin")->setValue(300);
    QCOMPARE(Field(d, "leMaxD1"), shown);
    QCOMPARE(Field(d, "leMinD2"), shown);
    // A code outside the table, handed over unclamped, never reads past it.
    d.MinSliderGo(5000);
    QCOMPARE(Field(d, "leMaxD1"), QStringLiteral("5000"));
    QCOMPARE(d.ShownValue(-3), QStringLiteral("-3"));
}

void TstRangeDialog::reverseCaptions() {
    NastrShl d;
    auto* bar = d.findChild<NaprLines*>(QStringLiteral("nLine"));
    Slider(d, "slNMax")->setValue(600);
    const QStringList plain{Caption(d, "label_4"), Caption(d, "label_7"), Caption(d, "lMin"),
                            Caption(d, "lCenter"), Caption(d, "lMax")};
    Box(d, "cbObrShl")->setChecked(true);
    QCOMPARE((QStringList{Caption(d, "label_4"), Caption(d, "label_7"), Caption(d, "lMin"),
                          Caption(d, "lCenter"), Caption(d, "lMax")}),
             (QStringList{"Установка минимальной границы (неисправность)",
                          "Установка максимальной границы (тревога)", "Неисправность", "Норма",
                          "Тревога"}));
    QVERIFY(bar->rev);
    const QImage img = bar->grab().toImage(); // the dialog's layout sets the width
    QCOMPARE(img.pixel(img.width() - 3, 5) & 0xFFFFFF, kRed & 0xFFFFFF);
    Box(d, "cbObrShl")->setChecked(false);
    QCOMPARE(plain, (QStringList{"Установка минимальной границы (тревога)",
                                 "Установка максимальной границы (неисправность)", "Тревога",
                                 "Норма", "Неисправность"}));
    QCOMPARE(Caption(d, "label_4"), plain.at(0));
    QCOMPARE(Caption(d, "lMax"), plain.at(4));
    QVERIFY(!bar->rev);
}

// Apply emits first, clears the for-all box, and takes as applied what the
// receivers left in the controls.
void TstRangeDialog::applyEmitsThenTakesReceiversState() {
    NastrShl d;
    Slider(d, "slNMax")->setValue(700);
    Slider(d, "slNMin")->setValue(300);
    Box(d, "cbForAll")->setChecked(true);
    QList<QVariantList> seen;
    connect(&d, &NastrShl::SignalSetValues, &d,
            [&](int min, int max, bool obr, bool forAll, QDialog* from) {
                seen.append({min, max, obr, forAll, from == &d});
                Slider(d, "slNMax")->setValue(650); // a receiver moving the band
            });
    d.findChild<QPushButton*>(QStringLiteral("pbApply"))->click();
    QCOMPARE(seen, (QList<QVariantList>{{300, 700, false, true, true}}));
    QVERIFY(!Box(d, "cbForAll")->isChecked());
    QCOMPARE(QList<int>({d.savedMin, d.savedMax}), QList<int>({300, 650}));
    QCOMPARE(d.result(), int(QDialog::Accepted));
}

// Every way of leaving a running dialog without Apply returns to the applied
// state and says so once; Apply closes it with the new state.
void TstRangeDialog::dismissals_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("closed");
    QTest::addColumn<int>("set");
    QTest::addColumn<int>("min");
    QTest::newRow("cancel button") << "cancel" << 1 << 0 << 200;
    QTest::newRow("escape") << "escape" << 1 << 0 << 200;
    QTest::newRow("close button") << "close" << 1 << 0 << 200;
    QTest::newRow("apply") << "apply" << 0 << 1 << 450;
}

void TstRangeDialog::dismissals() {
    QFETCH(QString, how);
    QFETCH(int, closed);
    QFETCH(int, set);
    QFETCH(int, min);
    settings.loopLimits->defaultMin[3] = 10;
    settings.loopLimits->defaultMax[3] = 20;
    NastrShl d;
    d.shlNum = 3;
    d.ValuesChangeOut(200, 600, false);
    QSignalSpy closedSpy(&d, &NastrShl::SignalDialogClosed);
    QSignalSpy setSpy(&d, &NastrShl::SignalSetValues);
    bool ranWhileShown = false;
    QTimer::singleShot(0, &d, [&] {
        ranWhileShown = d.isVisible();
        Slider(d, "slNMin")->setValue(450);
        Box(d, "cbObrShl")->setChecked(true);
        Box(d, "cbForAll")->setChecked(true);
        if (how == "cancel") {
            d.findChild<QPushButton*>(QStringLiteral("pbCancel"))->click();
        } else if (how == "escape") {
            QTest::keyClick(&d, Qt::Key_Escape);
        } else if (how == "close") {
            d.close();
        } else {
            d.findChild<QPushButton*>(QStringLiteral("pbApply"))->click();
        }
    });
    d.exec();
    QVERIFY(ranWhileShown);
    QVERIFY(!d.isVisible());
    QCOMPARE(closedSpy.size(), closed);
    QCOMPARE(setSpy.size(), set);
    QCOMPARE(Slider(d, "slNMin")->value(), min);
    QCOMPARE(d.savedMin, min);
    QCOMPARE(Box(d, "cbObrShl")->isChecked(), bool(set));
    QVERIFY(!Box(d, "cbForAll")->isChecked());
    // Each opening starts from the applied state; defaults wait for Apply.
    d.findChild<QPushButton*>(QStringLiteral("bDefValue"))->click();
    QCOMPARE(Slider(d, "slNMax")->value(), 20);
    QCOMPARE(d.savedMax, 600);
}

void TstRangeDialog::valuesFromOutside() {
    NastrShl d;
    QSignalSpy setSpy(&d, &NastrShl::SignalSetValues);
    d.ValuesChangeOut(600, 400, true);
    QCOMPARE(QList<int>({Slider(d, "slNMin")->value(), Slider(d, "slNMax")->value()}),
             QList<int>({400, 400}));
    QCOMPARE(QList<int>({d.savedMin, d.savedMax, int(d.savedObr)}), QList<int>({600, 400, 1}));
    d.CancelClick();
    QCOMPARE(QList<int>({Slider(d, "slNMin")->value(), Slider(d, "slNMax")->value()}),
             QList<int>({400, 400}));
    QVERIFY(setSpy.isEmpty());
}

void TstRangeDialog::defaults() {
    LoopLimits& l = *settings.loopLimits;
    l.defaultMin[7] = 120;
    l.defaultMax[7] = 880;
    l.defaultReverse[7] = 1;
    for (int loop : {7, -1, 8}) {
        NastrShl d;
        d.shlNum = loop;
        d.SetDefaultVal();
        const bool known = loop == 7;
        QCOMPARE(Slider(d, "slNMin")->value(), known ? 120 : 0);
        QCOMPARE(Slider(d, "slNMax")->value(), known ? 880 : 0);
        QCOMPARE(Box(d, "cbObrShl")->isChecked(), known);
        QCOMPARE(d.savedMax, 0);
    }
}

void TstRangeDialog::scaleTexts() {
    NastrShl d;
    d.SetNewScale("a", "b", "c", "d", "e");
    QStringList shown;
    for (const char* name : {"lScaleLeft", "lScaleLC", "lScaleCenter", "lScaleCR", "lScaleRight"})
        shown << Caption(d, name);
    QCOMPARE(shown, (QStringList{"a", "b", "c", "d", "e"}));
    QCOMPARE(d.findChild<QGroupBox*>(QStringLiteral("GroupBox1"))->title(),
             QStringLiteral("Настройка диапазонов на шлейфе №1"));
    QCOMPARE(d.windowModality(), Qt::WindowModal);
}

QTEST_MAIN(TstRangeDialog)
#include "tst_rangedialog.moc"
