// Phone numbers on the link and SMS pages: what a typed field stores, how a
// number typed on the autonomous link page or the SMS sending page shows on
// the other number pages before any apply, and that a page of the other work
// mode stores nothing, whatever its widgets hold.

#include "LinkPages.h"

#include <QSignalSpy>

using W = PribParWindow;

class TestNumbers : public QObject {
    Q_OBJECT

private slots:
    void typedDigitsStored_data();
    void typedDigitsStored();
    void loadedLayout();
    void mirrors_data();
    void mirrors();
    void otherModeStoresNothing_data();
    void otherModeStoresNothing();
};

namespace {
enum Target { Main, Federal7, ConsoleSms };

// Sets every editable widget of a page away from what it shows.
void Scramble(QWidget* page) {
    for (auto* b : page->findChildren<QCheckBox*>())
        b->setChecked(!b->isChecked());
    for (auto* s : page->findChildren<QSpinBox*>())
        s->setValue(s->value() == s->maximum() ? s->minimum() : s->value() + 1);
    for (auto* c : page->findChildren<QComboBox*>())
        c->setCurrentIndex(c->currentIndex() == 0 ? c->count() - 1 : 0);
    for (auto* e : page->findChildren<QLineEdit*>())
        LinkPages::type(e, QStringLiteral("1234567"));
}
} // namespace

void TestNumbers::typedDigitsStored_data() {
    QTest::addColumn<int>("slot");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("target");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("stored");
    const struct {
        const char* name;
        int slot, mode;
        const char* field;
        Target target;
    } pages[] = {{"autonomous", W::kAuConnectParams, MODE_AUTONOMOUS, "leNum1", Main},
                 {"federal", W::kFederalNums, MODE_SYSTEM, "leNum7", Federal7},
                 {"console SMS", W::kPultSMS, MODE_SYSTEM, "leNum1", ConsoleSms}};
    for (const auto& pg : pages) {
        const auto row = [&](const char* what) {
            return &(QTest::newRow(qPrintable(QStringLiteral("%1, %2").arg(pg.name, what)))
                     << pg.slot << pg.mode << pg.field << int(pg.target));
        };
        *row("empty") << ""
                      << "0000000000";
        *row("three digits") << "916"
                             << "9160000000";
        *row("seven digits") << "9161234"
                             << "9161234000";
        *row("ten digits") << "9161234567"
                           << "9161234567";
        *row("letters refused") << "91a6"
                                << "9160000000";
    }
}

void TestNumbers::typedDigitsStored() {
    QFETCH(int, slot);
    QFETCH(int, mode);
    QFETCH(QString, field);
    QFETCH(int, target);
    QFETCH(QString, keys);
    LinkPages p(mode);
    LinkPages::type(p.edit(slot, field), keys);
    p.apply();
    const QString got = target == Main       ? p.settings.phones->number[0]
                        : target == Federal7 ? p.settings.phones->number[6]
                                             : p.settings.consoleSms->number[0];
    QTEST(got, "stored");
}

// Stored digits are laid out 3-3-2-2 on every number page; a short or
// over-long stored text fills only the places it has.
void TestNumbers::loadedLayout() {
    LinkPages p;
    p.settings.phones->number[0] = "9161234567";
    p.settings.phones->number[1] = "495";
    p.settings.phones->number[2] = "12345678901234";
    p.reload();
    const QStringList want{"916-123-45-67", "495---", "123-456-78-90"};
    for (int slot : {W::kAuConnectParams, W::kFederalNums, W::kOtprSMS, W::kDopSMS}) {
        for (int k = 1; k <= 3; ++k)
            QCOMPARE(p.edit(slot, QStringLiteral("leNum%1").arg(k))->text(), want[k - 1]);
    }
    QCOMPARE(p.edit(W::kZvonki, "leNum_1")->text(), want[0]);
}

void TestNumbers::mirrors_data() {
    QTest::addColumn<int>("source");
    QTest::addColumn<int>("other"); // the other editing page
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("shown");
    QTest::newRow("autonomous, full")
        << int(W::kAuConnectParams) << int(W::kOtprSMS) << "9161234567"
        << "916-123-45-67";
    QTest::newRow("autonomous, partial") << int(W::kAuConnectParams) << int(W::kOtprSMS) << "91612"
                                         << "916-12--";
    QTest::newRow("SMS sending, full")
        << int(W::kOtprSMS) << int(W::kAuConnectParams) << "4950000001"
        << "495-000-00-01";
    QTest::newRow("SMS sending, partial") << int(W::kOtprSMS) << int(W::kAuConnectParams) << "4"
                                          << "4---";
}

void TestNumbers::mirrors() {
    QFETCH(int, source);
    QFETCH(int, other);
    QFETCH(QString, keys);
    QFETCH(QString, shown);
    LinkPages p(MODE_AUTONOMOUS);
    p.settings.phones->number[2] = "1112223344";
    p.reload();
    LinkPages::type(p.edit(source, "leNum3"), keys);
    for (int slot : {other, int(W::kDopSMS)})
        QCOMPARE(p.edit(slot, "leNum3")->text(), shown);
    QCOMPARE(p.edit(W::kZvonki, "leNum_3")->text(), shown);
    QCOMPARE(p.edit(W::kDopSMS, "leNum1")->text(), QStringLiteral("000-000-00-00"));
    QCOMPARE(p.settings.phones->number[2], QStringLiteral("1112223344"));

    // A reload shows the settings again and hands nothing on.
    QSignalSpy fromLink(p.page(W::kAuConnectParams),
                        SIGNAL(SigNumsChanged(QString, QString, QString, QString, QString)));
    QSignalSpy fromSms(p.page(W::kOtprSMS),
                       SIGNAL(SigNumsChanged(QString, QString, QString, QString, QString)));
    p.reload();
    QCOMPARE(fromLink.size() + fromSms.size(), 0);
    for (int slot : {int(W::kAuConnectParams), int(W::kOtprSMS), int(W::kDopSMS)})
        QCOMPARE(p.edit(slot, "leNum3")->text(), QStringLiteral("111-222-33-44"));
}

void TestNumbers::otherModeStoresNothing_data() {
    QTest::addColumn<int>("slot");
    QTest::addColumn<int>("mode");
    QTest::newRow("console link, autonomous") << int(W::kConnectParams) << int(MODE_AUTONOMOUS);
    QTest::newRow("federal, autonomous") << int(W::kFederalNums) << int(MODE_AUTONOMOUS);
    QTest::newRow("autonomous link, system") << int(W::kAuConnectParams) << int(MODE_SYSTEM);
    QTest::newRow("autonomous link, mode 2") << int(W::kAuConnectParams) << 2;
    QTest::newRow("SMS sending, system") << int(W::kOtprSMS) << int(MODE_SYSTEM);
    QTest::newRow("service SMS, system") << int(W::kDopSMS) << int(MODE_SYSTEM);
}

void TestNumbers::otherModeStoresNothing() {
    QFETCH(int, slot);
    QFETCH(int, mode);
    LinkPages p(mode);
    const DeviceSettings before = p.settings;
    Scramble(p.page(slot));
    p.page(slot)->ApplyClick();
    QCOMPARE(fixtures::Differences(p.settings, before, {}), QStringList());
}

QTEST_MAIN(TestNumbers)
#include "tst_numbers.moc"
