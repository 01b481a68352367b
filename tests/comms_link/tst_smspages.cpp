// The SMS sending, service SMS and console SMS pages in the real parameters
// window. (Reloads: the reload-and-store table of the parameters window.)

#include "CommsPages.h"

#include "comms/PultSMS.h"
#include "comms/PultSMSBaseOpt.h"
#include "comms/PultSMSSigOpt.h"
#include "comms/PultSMSTable.h"

#include <QStackedWidget>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTableView>

namespace {
PultSMS* Console(const CommsPages& p) {
    return static_cast<PultSMS*>(p.window->page(W::kPultSMS));
}
constexpr int kSending = W::kOtprSMS;
} // namespace

class TestSmsPages : public QObject {
    Q_OBJECT

private slots:
    void sendingGates_data() {
        // By firmware (the tag): phone columns, their headings and line,
        // disarming group, object number box shown; the count of phone items.
        QTest::addColumn<QString>("state");
        Row("21.09.2009/1", "0000010 2");
        Row("22.09.2009/1", "1111110 2");
        Row("27.11.2009/1", "1111100 2");
        Row("19.12.2009/1", "1111110 4");
        Row("20.12.2009/1", "1111110 2");
        Row("28.01.2010/1", "1111111 2");
        Row("05.06.2010/1", "1111111 4");
    }
    void sendingGates() {
        QFETCH(QString, state);
        CommsPages p(MODE_AUTONOMOUS, QTest::currentDataTag());
        const QStringList names = {"CbPT3",    "CbST5",    "lArmByPhone", "lDisarmByPhone",
                                   "line_Arm", "gbDisarm", "cboxpnumobj"};
        QCOMPARE(p.shownMap(kSending, names) + ' ' +
                     QString::number(p.combo(kSending, "CbPT1")->count()),
                 state);
    }

    void fourItemPairs_data() {
        Columns<int>({"thisPhone", "otherPhones"});
        QTest::addColumn<QString>("item");
        Row("this", 1, 0, "С этого номера");
        Row("all", 1, 1, "Со всех номеров");
        Row("none", 0, 0, "Нет");
        Row("any non-zero", 5, 7, "Со всех номеров");
    }
    // Loading a pair selects its item; choosing the item stores the pair, on
    // the arming and the disarming column alike.
    void fourItemPairs() {
        QFETCH(int, thisPhone);
        QFETCH(int, otherPhones);
        QFETCH(QString, item);
        CommsPages p(MODE_AUTONOMOUS, "05.06.2010/1");
        SmsNumberFlags& f = *p.s.smsFlags;
        f.checkbox[1] = f.cb_p_vx_sn[3] = thisPhone;
        f.cbDrugieZa[1] = f.cbDrugieOt[3] = otherPhones;
        p.load();
        QCOMPARE(p.combo(kSending, "CbPT2")->currentText(), item);
        QCOMPARE(p.combo(kSending, "CbST4")->currentText(), item);
        // The flags start opposite to the item's, so each store shows.
        const QList<int> want{thisPhone != 0, otherPhones != 0};
        f.checkbox[4] = f.cb_p_vx_sn[0] = !want[0];
        f.cbDrugieZa[4] = f.cbDrugieOt[0] = !want[1];
        p.combo(kSending, "CbPT5")->setCurrentText(item);
        p.combo(kSending, "CbST1")->setCurrentText(item);
        p.apply();
        QCOMPARE((QList<int>{f.checkbox[4], f.cbDrugieZa[4], f.cb_p_vx_sn[0], f.cbDrugieOt[0]}),
                 want + want);
    }

    // Yes/no columns store what they show, hidden ones included; with yes/no
    // phone lists the other-numbers flags survive a store and a trip to a
    // four-item release and back.
    void yesNoColumns() {
        CommsPages p(MODE_AUTONOMOUS, "27.11.2009/1"); // disarming group hidden
        SmsNumberFlags& f = *p.s.smsFlags;
        f.cboz = {1, 0, 0, 0, 3};
        f.cbts = {0, 1, 0, 0, 0};
        f.cbDrugieZa = {1, 0, 1, 0, 1};
        f.cbDrugieOt = {0, 1, 0, 1, 0};
        p.load();
        p.combo(kSending, "CbPK3")->setCurrentText("Да");
        p.combo(kSending, "cbTr2")->setCurrentText("Нет");
        p.combo(kSending, "CbPT1")->setCurrentText("Да");
        p.apply();
        QCOMPARE(f.cbza, (Arr<u8, 5>{0, 0, 1, 0, 0}));
        QCOMPARE(f.cboz, (Arr<u8, 5>{1, 0, 0, 0, 1}));
        QCOMPARE(f.cbts, (Arr<u8, 5>{}));
        QCOMPARE(f.checkbox, (Arr<u8, 5>{1, 0, 0, 0, 0}));
        p.firmware("05.06.2010/1");
        QCOMPARE(p.combo(kSending, "CbPT1")->currentText(), QString("Со всех номеров"));
        p.firmware("20.12.2009/1");
        p.apply();
        QCOMPARE(f.cbDrugieZa, (Arr<u8, 5>{1, 0, 1, 0, 1}));
        QCOMPARE(f.cbDrugieOt, (Arr<u8, 5>{0, 1, 0, 1, 0}));
        QCOMPARE(f.checkbox, (Arr<u8, 5>{1, 0, 0, 0, 0}));
    }

    // Both pages edit the object name and its option; each stores them in its
    // own work mode only, whatever the apply order.
    void objectName() {
        for (int mode : {MODE_AUTONOMOUS, MODE_SYSTEM}) {
            CommsPages p(mode);
            p.s.consoleSms->objectName = "Stored";
            p.s.consoleSms->cb1 = 1;
            p.load();
            QCOMPARE(p.edit(W::kPultSMS, "leObjName")->text(), QString("Stored"));
            CommsPages::type(p.edit(kSending, "leObjName"), "Sending");
            p.box(kSending, "cbObjName")->setChecked(false);
            p.box(kSending, "cboxpnumobj")->setChecked(true);
            CommsPages::type(p.edit(W::kPultSMS, "leObjName"), "Console");
            p.apply();
            const bool au = mode == MODE_AUTONOMOUS;
            QCOMPARE(p.s.consoleSms->objectName, au ? "Sending" : "Console");
            QCOMPARE(p.s.consoleSms->cb1, u8(!au));
            QCOMPARE(p.s.smsFlags->objectIdInSms, u8(au));
        }
    }

    void serviceGroups_data() {
        // By firmware (the tag): numbers, events, service, SIM change; opening.
        QTest::addColumn<QString>("shown");
        Row("04.06.2010/1", "00000");
        Row("19.12.2009/1", "11110");
        Row("20.12.2009/1", "00000");
        Row("05.06.2010/1", "11110");
        Row("16.08.2010/1", "11111");
    }
    // Groups shown by date; shown or hidden, the combos are loaded and stored.
    void serviceGroups() {
        CommsPages p(MODE_AUTONOMOUS, QTest::currentDataTag());
        QTEST(p.shownMap(W::kDopSMS,
                         {"groupBox", "groupBox_5", "groupBox_6", "groupBox_7", "groupBox_3"}),
              "shown");
        ExtraSmsFlags& x = *p.s.extraSms;
        x.smsService = {1, 0, 0, 0, 0};
        x.smsUserOut2 = {0, 0, 0, 0, 9};
        p.load();
        QCOMPARE(p.combo(W::kDopSMS, "cbRazm25")->currentText(), QString("Да"));
        p.combo(W::kDopSMS, "cbSIM3")->setCurrentText("Да");
        p.combo(W::kDopSMS, "cbRazm12")->setCurrentText("Да");
        p.box(W::kDopSMS, "cboxposlsleep")->setChecked(true);
        p.apply();
        QCOMPARE(x.smsService, (Arr<u8, 5>{1, 0, 0, 0, 0}));
        QCOMPARE(x.smsSimChange, (Arr<u8, 5>{0, 0, 1, 0, 0}));
        QCOMPARE(x.smsUserOut1, (Arr<u8, 5>{0, 1, 0, 0, 0}));
        QCOMPARE(x.smsUserOut2, (Arr<u8, 5>{0, 0, 0, 0, 1}));
        QCOMPARE(p.s.smsFlags->checkbox13 * 10 + p.s.smsFlags->checkbox14, 1);
    }

    // A user's click on row "Тревога", column "3" stores event 2, number 3.
    void tickThroughView() {
        CommsPages p;
        p.window->show();
        auto* view = p.at<QTableView>(W::kPultSMS, "tvSMS");
        p.window->findChild<QStackedWidget*>()->setCurrentWidget(Console(p));
        QVERIFY(QTest::qWaitForWindowExposed(p.window.get(), 20000));
        QCOMPARE(view->model()->headerData(2, Qt::Vertical).toString() + '/' +
                     view->model()->headerData(2, Qt::Horizontal).toString(),
                 QString("Тревога/3"));
        for (const auto& [row, column] : Cells{{2, 2}, {8, 4}, {8, 4}}) {
            QStyleOptionViewItem opt;
            opt.rect = view->visualRect(view->model()->index(row, column));
            opt.features = QStyleOptionViewItem::HasCheckIndicator;
            const QRect box =
                view->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, view);
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, box.center());
        }
        p.apply();
        Arr2<u8, kConsoleEvents, kMainNumbers> want{};
        want[2][2] = 1;
        QCOMPARE(p.s.consoleSms->eventNumber, want);
    }

    // Each event's row shows the key-name and loop-names boxes it has; the
    // texts keep to their lengths and characters.
    void eventRowsAndTexts() {
        CommsPages p;
        QString keys, loops;
        for (int e = 0; e < kConsoleEvents; ++e) {
            QWidget* row = Console(p)->eventRow(e);
            keys += row->findChild<QWidget*>("cbUseKeyName")->isHidden() ? '0' : '1';
            loops += row->findChild<QWidget*>("cbUseShlName")->isHidden() ? '0' : '1';
        }
        QCOMPARE(keys + ' ' + loops, QString("110100000 111100000"));
        for (const auto& [event, field, keys, kept] : // event -1: the general tab
             {std::tuple(-1, "leObjName", "Ab_1 ?#C23456789", "Ab1C2345"),
              {-1, "leShl6", "zone-6.west", "zone6wes"},
              {4, "leZag", "Header-of-more-than-15", "Headerofmoretha"},
              {0, "leField1", "1a2b3c", "1a2b"},
              {8, "leField2", "0123456789AB", "0123456789"}}) {
            QWidget* owner = event < 0 ? static_cast<QWidget*>(Console(p)->baseOptions())
                                       : static_cast<QWidget*>(Console(p)->eventRow(event));
            auto* edit = owner->findChild<QLineEdit*>(field);
            edit->clear();
            QTest::keyClicks(edit, keys);
            QCOMPARE(edit->text(), QString(kept));
        }
    }

    // Whatever counts and indexes it gets, the model keeps to its 9 x 5 cells.
    void modelStaysInside() {
        PultSMSTable cut(40, 40), none(-3, -1);
        QCOMPARE(QSize(cut.columnCount(), cut.rowCount()), QSize(5, 9));
        QCOMPARE(QSize(none.columnCount(), none.rowCount()), QSize(0, 0));
        QVERIFY(cut.setData(cut.index(8, 4), Qt::Checked, Qt::CheckStateRole));
        QVERIFY(!cut.setData(cut.index(0, 0), Qt::Checked, Qt::DisplayRole));
        QVERIFY(!cut.setData(cut.index(9, 5), Qt::Checked, Qt::CheckStateRole));
        for (const auto& [row, column] : Cells{{9, 0}, {0, 5}, {-1, 0}}) {
            cut.setCheck(row, column, true);
            none.setCheck(row + 1, column, true);
            QVERIFY(!cut.check(row, column));
        }
        QVERIFY(cut.check(8, 4) && !cut.check(0, 0) && !none.check(0, 0));
    }
};

QTEST_MAIN(TestSmsPages)
#include "tst_smspages.moc"
