// The console, autonomous and federal link pages and the numbers they share,
// in the real parameters window.

#include "CommsPages.h"

#include "comms/ConnectParams.h"

namespace {
const std::pair<const char*, u8 ConnectionParams::*> kBoxes[] = {
    {"cbIncNum", &ConnectionParams::autoIncrementNumber},
    {"cbIshCSD", &ConnectionParams::csdDetail},
    {"cbRezPPM", &ConnectionParams::reserveReceiversFirst},
    {"cbUseAsyncTrans", &ConnectionParams::asyncTransfer},
    {"cbDelMsgs", &ConnectionParams::deleteUnsent},
    {"cbIshTestOpen", &ConnectionParams::testWhenOpen},
    {"cbIshTestClose", &ConnectionParams::testWhenClosed},
};
const QStringList kStations = {"cbUsePPM9",  "cbUsePPM10", "cbUsePPM11", "cbUsePPM12",
                               "cbUsePPM13", "cbUsePPM14", "cbUsePPM15"};
constexpr int kLink = W::kConnectParams;
} // namespace

class TestLinkPages : public QObject {
    Q_OBJECT

private slots:
    void consoleLinkBothWays_data() {
        QTest::addColumn<QByteArray>("number");
        Columns<int>({"attempts", "interval"});
        QTest::addColumn<QString>("shown"); // object number, interval item, test attempts
        Row("zeros", QByteArray("0123"), 3, 13, "123|24 ч.|3");
        Row("no attempts", QByteArray("9999"), 0, 0, "9999|10 мин.|1");
        // An interval the list does not hold shows no item and is kept.
        Row("no number", QByteArray("12ab"), 9, 14, "0||9");
    }
    // Every widget loaded, changed and stored; a disabled but checked station
    // stays checked.
    void consoleLinkBothWays() {
        QFETCH(QByteArray, number);
        QFETCH(int, attempts);
        QFETCH(int, interval);
        CommsPages p;
        ConnectionParams& c = *p.s.connection;
        for (const auto& [name, field] : kBoxes)
            c.*field = 2; // any non-zero value is on
        c.objectNumber = number;
        c.testAttempts = attempts;
        c.testInterval = interval;
        c.rapidResponseAttempts = 6;
        c.testReceiver = {1, 0, 1, 0, 0, 0, 1};
        p.s.phones->useFlag = {0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 1}; // stations 9, 10, 15
        p.load();
        for (const auto& [name, field] : kBoxes)
            QVERIFY2(p.box(kLink, name)->isChecked(), name);
        QTEST(QString("%1|%2|%3")
                  .arg(p.spin(kLink, "sbNumObj")->value())
                  .arg(p.combo(kLink, "coBInterTest")->currentText())
                  .arg(p.spin(kLink, "sbPopTest")->value()),
              "shown");
        QCOMPARE(p.spin(kLink, "sbPopGBR")->value(), 6);
        QCOMPARE(p.enabledMap(kLink, kStations), QString("1100001"));

        for (const auto& [name, field] : kBoxes)
            p.box(kLink, name)->setChecked(false);
        p.spin(kLink, "sbPopTest")->setValue(9);
        p.spin(kLink, "sbPopGBR")->setValue(0);
        p.spin(kLink, "sbNumObj")->setValue(7);
        p.box(kLink, "cbUsePPM9")->setChecked(false);
        p.box(kLink, "cbUsePPM10")->setChecked(true);
        p.apply();
        for (const auto& [name, field] : kBoxes)
            QCOMPARE(c.*field, u8(0));
        QCOMPARE((QList<int>{c.testInterval, c.testAttempts, c.rapidResponseAttempts}),
                 (QList<int>{interval, 9, 0}));
        QCOMPARE(c.testReceiver, (Arr<u8, 7>{0, 1, 1, 0, 0, 0, 1}));
        QCOMPARE(c.objectNumber, QByteArray("0007"));
    }

    void gates_data() {
        // By firmware (the tag): console test groups enabled, async and delete
        // boxes shown on both pages, dial-until-connected shown.
        QTest::addColumn<QString>("state");
        Row("21.09.2009/1", "0000000");
        Row("22.09.2009/1", "0000001");
        Row("27.11.2009/1", "0000001");
        Row("28.11.2009/1", "1100001");
        Row("18.04.2012/1", "1100001");
        Row("19.04.2012/1", "1111111");
    }
    void gates() {
        CommsPages p(MODE_SYSTEM, QTest::currentDataTag());
        QTEST(p.enabledMap(kLink, {"groupBox_2", "groupBox_3"}) +
                  p.shownMap(kLink, {"cbUseAsyncTrans", "cbDelMsgs"}) +
                  p.shownMap(W::kAuConnectParams, {"cbUseAsyncTrans", "cbDelMsgs", "cbDozvon"}),
              "state");
    }

    // Ticking a test station on the federal page enables its box here at
    // once, before any apply; a reload takes the stored flags again.
    void federalStationsEnableTestBoxes() {
        CommsPages p;
        for (int n = 9; n <= 15; ++n)
            p.box(W::kFederalNums, QStringLiteral("cbUse%1").arg(n))->click();
        QCOMPARE(p.enabledMap(kLink, kStations), QString("1111111"));
        p.box(W::kFederalNums, "cbUse12")->click();
        QCOMPARE(p.enabledMap(kLink, kStations), QString("1110111"));
        QCOMPARE(p.s.phones->useFlag, (Arr<u8, 11>{}));
        p.load();
        QCOMPARE(p.enabledMap(kLink, kStations), QString("0000000"));
    }

    void gbrWarning_data() {
        Columns<QList<int>>({"inUse", "tested"});
        QTest::addColumn<int>("mode");
        QTest::addColumn<QByteArray>("version");
        QTest::addColumn<bool>("warns");
        const QByteArray late = "19.04.2012/45", early = "27.11.2009/1";
        Row("all tested", QList<int>{9, 12, 15}, QList<int>{9, 12, 15}, 0, late, true);
        Row("one untested", QList<int>{9, 12, 15}, QList<int>{9, 12}, 0, late, false);
        Row("disabled ones", QList<int>{10}, QList<int>{10, 11}, 0, late, true);
        Row("autonomous", QList<int>{9}, QList<int>{9}, 1, late, false);
        Row("testing gated off", QList<int>{9}, QList<int>{9}, 0, early, false);
    }
    // Never during a reload nor an apply; when the attempts rise from 0, a
    // station is clicked or the window revises, exactly when every usable
    // station is tested.
    void gbrWarning() {
        QFETCH(QList<int>, inUse);
        QFETCH(QList<int>, tested);
        QFETCH(int, mode);
        QFETCH(QByteArray, version);
        QFETCH(bool, warns);
        CommsPages p(mode, version.constData());
        for (int n : inUse)
            p.s.phones->useFlag[n - 5] = 1;
        for (int n : tested)
            p.s.connection->testReceiver[n - 9] = 1;
        p.s.connection->rapidResponseAttempts = 3;
        p.load();
        p.apply();
        QCOMPARE(p.prompt.asked.size(), 0);
        QCOMPARE(p.window->connectParams()->RevisionUsingGBR(), !warns);
        p.spin(kLink, "sbPopGBR")->setValue(0);
        p.spin(kLink, "sbPopGBR")->setValue(1);
        for (int n : inUse.mid(0, 1)) {
            p.box(kLink, QStringLiteral("cbUsePPM%1").arg(n))->click();
            p.box(kLink, QStringLiteral("cbUsePPM%1").arg(n))->click();
        }
        QCOMPARE(p.prompt.count("Передача сигнала ГБР будет недоступна."), warns ? 3 : 0);
    }

    void numbers_data() {
        QTest::addColumn<int>("slot");
        Columns<QString>({"keys", "mirrored", "stored"}); // mirrored: "" none
        const int au = W::kAuConnectParams, sms = W::kOtprSMS;
        Row("link, full", au, "9161234567", "916-123-45-67", "9161234567");
        Row("link, partial", au, "91612", "916-12--", "9161200000");
        // The SMS sending page stores no number: the copy on the link page does.
        Row("SMS sending, one", sms, "4", "4---", "4000000000");
        Row("SMS sending, emptied", sms, "", "---", "0000000000");
        Row("federal", int(W::kFederalNums), "9161234", "", "9161234000");
        Row("console SMS", int(W::kPultSMS), "91a6", "", "9160000000");
    }
    // A finished edit on the autonomous link or SMS sending page shows on the
    // other number pages before any apply; each number is stored as ten
    // digits; a reload hands nothing on.
    void numbers() {
        QFETCH(int, slot);
        QFETCH(QString, keys);
        QFETCH(QString, mirrored);
        const bool autonomous = !mirrored.isEmpty();
        CommsPages p(autonomous ? MODE_AUTONOMOUS : MODE_SYSTEM);
        p.s.phones->number[2] = "1112223344";
        p.load();
        CommsPages::type(p.edit(slot, "leNum3"), keys);
        if (autonomous) {
            const int other = slot == W::kOtprSMS ? W::kAuConnectParams : W::kOtprSMS;
            QCOMPARE(p.edit(other, "leNum3")->text(), mirrored);
            QCOMPARE(p.edit(W::kDopSMS, "leNum3")->text(), mirrored);
            QCOMPARE(p.edit(W::kZvonki, "leNum_3")->text(), mirrored);
            QCOMPARE(p.edit(W::kDopSMS, "leNum1")->text(), QString("000-000-00-00"));
            QCOMPARE(p.s.phones->number[2], QString("1112223344"));
        }
        p.apply();
        QTEST(slot == W::kPultSMS ? p.s.consoleSms->number[2] : p.s.phones->number[2], "stored");

        const char* changed = SIGNAL(SigNumsChanged(QString, QString, QString, QString, QString));
        QSignalSpy fromLink(p.window->page(W::kAuConnectParams), changed);
        QSignalSpy fromSms(p.window->page(W::kOtprSMS), changed);
        p.load();
        QCOMPARE(fromLink.size() + fromSms.size(), 0);
    }

    void otherModeStoresNothing_data() {
        Columns<int>({"slot", "mode"});
        Row("console link", int(kLink), int(MODE_AUTONOMOUS));
        Row("federal", int(W::kFederalNums), int(MODE_AUTONOMOUS));
        Row("autonomous link", int(W::kAuConnectParams), int(MODE_SYSTEM));
        Row("autonomous link, mode 2", int(W::kAuConnectParams), 2);
        Row("SMS sending", int(W::kOtprSMS), int(MODE_SYSTEM));
        Row("service SMS", int(W::kDopSMS), int(MODE_SYSTEM));
    }
    // Every widget of the page changed, then its apply: nothing stored.
    void otherModeStoresNothing() {
        QFETCH(int, slot);
        QFETCH(int, mode);
        CommsPages p(mode);
        const DeviceSettings before = p.s;
        QWidget* page = p.window->page(slot);
        for (auto* b : page->findChildren<QCheckBox*>())
            b->setChecked(!b->isChecked());
        for (auto* s : page->findChildren<QSpinBox*>())
            s->setValue(s->value() == s->maximum() ? s->minimum() : s->value() + 1);
        for (auto* c : page->findChildren<QComboBox*>())
            c->setCurrentIndex(c->currentIndex() == 0 ? c->count() - 1 : 0);
        for (auto* e : page->findChildren<QLineEdit*>())
            CommsPages::type(e, "1234567");
        p.window->page(slot)->ApplyClick();
        QCOMPARE(fixtures::Differences(p.s, before, {}), QStringList());
    }
};

QTEST_MAIN(TestLinkPages)
#include "tst_linkpages.moc"
