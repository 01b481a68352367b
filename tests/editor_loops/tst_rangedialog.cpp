// The range bar's pixels, and the range dialog: coupled sliders,
// shown values, reverse captions, Apply, Cancel, Escape and close.

#include "LoopsTestSupport.h"

#include "editor/NaprLines.h"
#include "editor/NastrShl.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QTimer>

namespace {
// One letter per column of row 5 of the bar as painted: r(ed), y(ellow),
// g(reen), k (black), ? (other).
QString Columns(QWidget* bar) {
    static const QMap<QRgb, char> letters{
        {0xFF0000, 'r'}, {0xFFFF00, 'y'}, {0x69E783, 'g'}, {0x000000, 'k'}};
    const QImage img = bar->grab().toImage();
    QString out;
    for (int x = 0; x < img.width(); ++x)
        out += letters.value(img.pixel(x, 5) & 0xFFFFFF, '?');
    return out;
}
QString Run(char c, int n) {
    return QString(n, QLatin1Char(c));
}
QSlider* Slider(const NastrShl& d, const char* name) {
    return Child<QSlider>(&d, name);
}
QCheckBox* Box(const NastrShl& d, const char* name) {
    return Child<QCheckBox>(&d, name);
}
QStringList Texts(const NastrShl& d, const QStringList& names) {
    QStringList out;
    for (const QString& n : names) {
        auto* edit = d.findChild<QLineEdit*>(n);
        out << (edit ? edit->text() : Child<QLabel>(&d, n)->text());
    }
    return out;
}
const QStringList kGrid{"leMinD1", "leMaxD1", "leMinD2", "leMaxD2", "leMinD3", "leMaxD3"};
const QStringList kCaptions{"label_4", "label_7", "lMin", "lMax"};
} // namespace

class TstRangeDialog : public QObject {
    Q_OBJECT

private slots:
    void init() { UseDefaults(settings); }
    void barPixels_data();
    void barPixels();
    void gridCouplingAndReverse();
    void sensorValues_data();
    void sensorValues();
    void dismissals_data();
    void dismissals();
    void valuesFromOutsideAndDefaults();

private:
    DeviceSettings settings;
};

void TstRangeDialog::barPixels_data() {
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<bool>("rev");
    QTest::addColumn<QString>("columns");
    // 200 pixels: 25 % and 75 % are columns 50 and 150; the frame is black.
    QTest::newRow("bands") << 25 << 75 << false
                           << "k" + Run('r', 49) + "k" + Run('g', 99) + "k" + Run('y', 48) + "k";
    QTest::newRow("reversed") << 25 << 75 << true
                              << "k" + Run('y', 49) + "k" + Run('g', 99) + "k" + Run('r', 48) + "k";
    QTest::newRow("99 is the edge") << 0 << 99 << false << "k" + Run('g', 198) + "k";
    QTest::newRow("crossed: later fill wins")
        << 60 << 30 << false << "k" + Run('r', 59) + "k" + Run('y', 59) + "k" + Run('y', 78) + "k";
    QTest::newRow("starts at 0, 0") << -1 << -1 << false << "k" + Run('y', 198) + "k";
}

void TstRangeDialog::barPixels() {
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(bool, rev);
    QFETCH(QString, columns);
    NaprLines bar;
    bar.resize(200, 12);
    if (min >= 0) {
        bar.min = min;
        bar.max = max;
        bar.rev = rev;
    }
    QCOMPARE(Columns(&bar), columns);
    QCOMPARE(bar.max, max == 99 ? 100 : std::max(max, 0)); // 99 is stored as 100
    const QImage img = bar.grab().toImage();               // fills stop above the frame
    QCOMPARE(img.pixel(100, 10), img.pixel(100, 5));
    QCOMPARE(img.pixel(100, 11) & 0xFFFFFF, 0u);
}

// Codes in the grid, sliders that never cross, the bar at code / 10.23, and
// the reverse flag swapping captions and outer colours.
void TstRangeDialog::gridCouplingAndReverse() {
    NastrShl d;
    auto* bar = Child<NaprLines>(&d, "nLine");
    Slider(d, "slNMax")->setValue(700);
    Slider(d, "slNMin")->setValue(300);
    QCOMPARE(Texts(d, kGrid), (QStringList{"0", "300", "300", "700", "700", "1023"}));
    QCOMPARE(QList<int>({bar->min, bar->max}), QList<int>({29, 68}));
    Slider(d, "slNMin")->setValue(800);
    QCOMPARE(Slider(d, "slNMax")->value(), 800);
    Slider(d, "slNMax")->setValue(100);
    QCOMPARE(Slider(d, "slNMin")->value(), 100);
    d.MinSliderGo(50); // the slot shows its argument, the slider stays
    QCOMPARE(Texts(d, {"leMaxD1"}), QStringList{"50"});
    QCOMPARE(Slider(d, "slNMin")->value(), 100);

    const QStringList plain = Texts(d, kCaptions);
    Slider(d, "slNMax")->setValue(1023);
    Box(d, "cbObrShl")->setChecked(true);
    QCOMPARE(Texts(d, kCaptions),
             (QStringList{"Установка минимальной границы (неисправность)",
                          "Установка максимальной границы (тревога)", "Неисправность", "Тревога"}));
    QVERIFY(Columns(bar).startsWith("kyyy")); // the alarm band moved to the right
    Slider(d, "slNMax")->setValue(600);
    QVERIFY(Columns(bar).endsWith("rrrk"));
    Box(d, "cbObrShl")->setChecked(false);
    QCOMPARE(Texts(d, kCaptions), plain);
    QCOMPARE(plain.at(2), QStringLiteral("Тревога"));
}

void TstRangeDialog::sensorValues_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("shown");
    QTest::newRow("cut, not rounded") << 12.3456 << 1 << "12.34";
    QTest::newRow("exponent lost") << 3.5e6 << 1 << "3.5e+";
    QTest::newRow("index past the list") << 12.3456 << 2 << "300";
}

void TstRangeDialog::sensorValues() {
    QFETCH(double, value);
    QFETCH(int, index);
    QFETCH(QString, shown);
    SensorRecord flat;
    flat.table.fill(value, kAdcCodes);
    settings.loopLimits->sensors = {SensorRecord{}, flat};
    NastrShl d;
    d.sensorIndex = index;
    Slider(d, "slNMin")->setValue(300);
    QCOMPARE(Texts(d, {"leMaxD1", "leMinD2"}), (QStringList{shown, shown}));
    d.MinSliderGo(5000); // an unclamped code never reads past the table
    QCOMPARE(Texts(d, {"leMaxD1"}), QStringList{"5000"});
}

void TstRangeDialog::dismissals_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("cancel button") << "cancel";
    QTest::newRow("escape") << "escape";
    QTest::newRow("apply") << "apply";
}

// Leaving a running dialog without Apply returns to the applied state and
// says so once. Apply tells its receivers first, clears the for-all box and
// closes with what the receivers left in the controls.
void TstRangeDialog::dismissals() {
    QFETCH(QString, how);
    NastrShl d;
    d.ValuesChangeOut(200, 600, false);
    QSignalSpy closed(&d, &NastrShl::SignalDialogClosed);
    QVariantList told;
    connect(&d, &NastrShl::SignalSetValues, &d,
            [&](int min, int max, bool rev, bool all, QDialog* w) {
                told = {min, max, rev, all, w == &d};
                Slider(d, "slNMax")->setValue(650);
            });
    bool shown = false;
    QTimer::singleShot(0, &d, [&] {
        shown = d.isVisible();
        Slider(d, "slNMin")->setValue(450);
        Box(d, "cbObrShl")->setChecked(true);
        Box(d, "cbForAll")->setChecked(true);
        if (how == "cancel")
            Child<QPushButton>(&d, "pbCancel")->click();
        else if (how == "escape")
            QTest::keyClick(&d, Qt::Key_Escape);
        else if (how == "close")
            d.close();
        else
            Child<QPushButton>(&d, "pbApply")->click();
    });
    d.exec();
    const bool applied = how == "apply";
    QVERIFY(shown && !d.isVisible());
    QCOMPARE(closed.size(), int(!applied));
    QCOMPARE(told, applied ? (QVariantList{450, 600, true, true, true}) : QVariantList{});
    QCOMPARE((QList<int>{Slider(d, "slNMin")->value(), d.savedMin, d.savedMax}),
             applied ? (QList<int>{450, 450, 650}) : (QList<int>{200, 200, 600}));
    QCOMPARE(Box(d, "cbObrShl")->isChecked(), applied);
    QVERIFY(!Box(d, "cbForAll")->isChecked());
}

// An owner's values are the applied state as given, even crossed; the
// default button loads the loop's defaults without applying them.
void TstRangeDialog::valuesFromOutsideAndDefaults() {
    NastrShl d;
    d.ValuesChangeOut(600, 400, true);
    QCOMPARE(QList<int>({Slider(d, "slNMin")->value(), Slider(d, "slNMax")->value(), d.savedMin,
                         d.savedMax}),
             QList<int>({400, 400, 600, 400}));
    d.CancelClick();
    QCOMPARE(Slider(d, "slNMin")->value(), 400);

    settings.loopLimits->defaultMin[7] = 120;
    settings.loopLimits->defaultMax[7] = 880;
    for (int loop : {-1, 8, 7}) {
        d.shlNum = loop;
        Child<QPushButton>(&d, "bDefValue")->click();
    }
    QCOMPARE(QList<int>({Slider(d, "slNMin")->value(), Slider(d, "slNMax")->value(),
                         Box(d, "cbObrShl")->isChecked(), d.savedMax}),
             QList<int>({120, 880, 0, 400}));
}

QTEST_MAIN(TstRangeDialog)
#include "tst_rangedialog.moc"
