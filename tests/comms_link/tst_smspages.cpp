// The SMS pages in the real parameters window. SMS sending and service SMS:
// their firmware gates, the four-item and yes/no phone columns, which page
// stores the object name in which work mode, stores from hidden controls.
// Console SMS: the events-by-number table ticked through its view, the rows
// of the nine events, the limits of the texts, reloads that show exactly what
// is stored.

#include "LinkPages.h"

#include "comms/PultSMS.h"
#include "comms/PultSMSBaseOpt.h"
#include "comms/PultSMSSigOpt.h"
#include "comms/PultSMSTable.h"

#include <QGroupBox>
#include <QLabel>
#include <QStackedWidget>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTableView>

using W = PribParWindow;

class TestSmsPages : public QObject {
    Q_OBJECT

private slots:
    void sendingGates_data();
    void sendingGates();
    void fourItemPairs_data();
    void fourItemPairs();
    void yesNoColumns();
    void objectName_data();
    void objectName();
    void serviceGroups_data();
    void serviceGroups();
    void serviceStoresHiddenCombos();
    void tickThroughView();
    void eventRows_data();
    void eventRows();
    void textLimits_data();
    void textLimits();
    void reloadShowsStored();
    void modelStaysInside_data();
    void modelStaysInside();
};

namespace {
bool Shown(const QWidget* w) {
    return !w->isHidden();
}

PultSMS* Page(const LinkPages& p) {
    return static_cast<PultSMS*>(p.page(W::kPultSMS));
}

// Clicks the check box of a cell as a user does.
void ClickCell(QTableView* view, int row, int column) {
    QStyleOptionViewItem opt;
    opt.rect = view->visualRect(view->model()->index(row, column));
    opt.features = QStyleOptionViewItem::HasCheckIndicator;
    const QRect box =
        view->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, view);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, box.center());
}
} // namespace

void TestSmsPages::sendingGates_data() {
    QTest::addColumn<QString>("version");
    QTest::addColumn<bool>("phoneColumns");
    QTest::addColumn<bool>("disarmGroup");
    QTest::addColumn<bool>("objectNumber");
    QTest::addColumn<int>("phoneItems");
    QTest::newRow("21.09.2009") << "21.09.2009/1" << false << true << false << 2;
    QTest::newRow("22.09.2009") << "22.09.2009/1" << true << true << false << 2;
    QTest::newRow("27.11.2009") << "27.11.2009/1" << true << false << false << 2;
    QTest::newRow("19.12.2009") << "19.12.2009/1" << true << true << false << 4;
    QTest::newRow("20.12.2009") << "20.12.2009/1" << true << true << false << 2;
    QTest::newRow("27.01.2010") << "27.01.2010/1" << true << true << false << 2;
    QTest::newRow("28.01.2010") << "28.01.2010/1" << true << true << true << 2;
    QTest::newRow("04.06.2010") << "04.06.2010/1" << true << true << true << 2;
    QTest::newRow("05.06.2010") << "05.06.2010/1" << true << true << true << 4;
}

void TestSmsPages::sendingGates() {
    QFETCH(QString, version);
    QFETCH(bool, phoneColumns);
    QFETCH(bool, disarmGroup);
    QFETCH(int, phoneItems);
    LinkPages p(MODE_AUTONOMOUS);
    p.setFirmware(version);
    for (const char* name : {"CbPT3", "CbST5", "lArmByPhone", "lDisarmByPhone", "line_Arm"})
        QCOMPARE(Shown(p.at<QWidget>(W::kOtprSMS, name)), phoneColumns);
    QCOMPARE(Shown(p.at<QWidget>(W::kOtprSMS, "gbDisarm")), disarmGroup);
    QCOMPARE(p.at<QGroupBox>(W::kOtprSMS, "gbArm")->title(),
             disarmGroup ? QStringLiteral("При постановке на охрану")
                         : QStringLiteral("При постановке/снятии с охраны"));
    QTEST(Shown(p.box(W::kOtprSMS, "cboxpnumobj")), "objectNumber");
    QCOMPARE(p.combo(W::kOtprSMS, "CbPT1")->count(), phoneItems);
    QCOMPARE(p.combo(W::kOtprSMS, "CbST1")->currentText(), QStringLiteral("Нет"));
    QCOMPARE(p.at<QGroupBox>(W::kOtprSMS, "gbAlarm")->title(),
             phoneItems == 4 ? QStringLiteral("Тревога") : QStringLiteral("Тревога/сервисные"));
}

void TestSmsPages::fourItemPairs_data() {
    QTest::addColumn<int>("thisPhone");
    QTest::addColumn<int>("otherPhones");
    QTest::addColumn<QString>("item");
    QTest::newRow("this") << 1 << 0 << "С этого номера";
    QTest::newRow("others") << 0 << 1 << "С др. номеров";
    QTest::newRow("all") << 1 << 1 << "Со всех номеров";
    QTest::newRow("none") << 0 << 0 << "Нет";
    QTest::newRow("any non-zero") << 5 << 7 << "Со всех номеров";
}

// Loading a pair selects its item; choosing the item stores the pair, on the
// arming and the disarming column alike.
void TestSmsPages::fourItemPairs() {
    QFETCH(int, thisPhone);
    QFETCH(int, otherPhones);
    QFETCH(QString, item);
    LinkPages p(MODE_AUTONOMOUS, "05.06.2010/1");
    SmsNumberFlags& f = *p.settings.smsFlags;
    f.checkbox[1] = thisPhone;
    f.cbDrugieZa[1] = otherPhones;
    f.cb_p_vx_sn[3] = thisPhone;
    f.cbDrugieOt[3] = otherPhones;
    p.reload();
    QCOMPARE(p.combo(W::kOtprSMS, "CbPT2")->currentText(), item);
    QCOMPARE(p.combo(W::kOtprSMS, "CbST4")->currentText(), item);

    // The flags start opposite to the item's, so each store shows.
    const QList<int> want{thisPhone != 0, otherPhones != 0};
    f.checkbox[4] = f.cb_p_vx_sn[0] = !want[0];
    f.cbDrugieZa[4] = f.cbDrugieOt[0] = !want[1];
    p.combo(W::kOtprSMS, "CbPT5")->setCurrentText(item);
    p.combo(W::kOtprSMS, "CbST1")->setCurrentText(item);
    p.apply();
    QCOMPARE((QList<int>{f.checkbox[4], f.cbDrugieZa[4]}), want);
    QCOMPARE((QList<int>{f.cb_p_vx_sn[0], f.cbDrugieOt[0]}), want);
}

// Yes/no columns store what they show, hidden ones included; with yes/no
// phone lists the other-numbers flags survive a store and a trip to a
// four-item release and back.
void TestSmsPages::yesNoColumns() {
    LinkPages p(MODE_AUTONOMOUS, "27.11.2009/1"); // disarming group hidden
    SmsNumberFlags& f = *p.settings.smsFlags;
    f.cboz = {1, 0, 0, 0, 3};
    f.cbts = {0, 1, 0, 0, 0};
    f.cbDrugieZa = {1, 0, 1, 0, 1};
    f.cbDrugieOt = {0, 1, 0, 1, 0};
    p.reload();
    p.combo(W::kOtprSMS, "CbPK3")->setCurrentText("Да");
    p.combo(W::kOtprSMS, "cbTr2")->setCurrentText("Нет");
    p.combo(W::kOtprSMS, "CbPT1")->setCurrentText("Да");
    p.apply();
    QCOMPARE(f.cbza, (Arr<u8, 5>{0, 0, 1, 0, 0}));
    QCOMPARE(f.cboz, (Arr<u8, 5>{1, 0, 0, 0, 1}));
    QCOMPARE(f.cbts, (Arr<u8, 5>{}));
    QCOMPARE(f.checkbox, (Arr<u8, 5>{1, 0, 0, 0, 0}));

    p.setFirmware("05.06.2010/1");
    QCOMPARE(p.combo(W::kOtprSMS, "CbPT1")->currentText(), QStringLiteral("Со всех номеров"));
    p.setFirmware("20.12.2009/1");
    p.apply();
    QCOMPARE(f.cbDrugieZa, (Arr<u8, 5>{1, 0, 1, 0, 1}));
    QCOMPARE(f.cbDrugieOt, (Arr<u8, 5>{0, 1, 0, 1, 0}));
    QCOMPARE(f.checkbox, (Arr<u8, 5>{1, 0, 0, 0, 0}));
}

void TestSmsPages::objectName_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("storedName");
    QTest::addColumn<int>("storedSend");
    QTest::newRow("autonomous: SMS sending page") << int(MODE_AUTONOMOUS) << "Sending" << 0;
    QTest::newRow("system: console SMS page") << int(MODE_SYSTEM) << "Console" << 1;
}

// Both pages edit the object name and its option; each stores them in its
// own work mode only, whatever the apply order.
void TestSmsPages::objectName() {
    QFETCH(int, mode);
    LinkPages p(mode);
    p.settings.consoleSms->objectName = "Stored";
    p.settings.consoleSms->cb1 = 1;
    p.settings.smsFlags->objectIdInSms = 0;
    p.reload();
    QCOMPARE(p.edit(W::kOtprSMS, "leObjName")->text(), QStringLiteral("Stored"));
    QCOMPARE(p.edit(W::kPultSMS, "leObjName")->text(), QStringLiteral("Stored"));
    LinkPages::type(p.edit(W::kOtprSMS, "leObjName"), "Sending");
    p.box(W::kOtprSMS, "cbObjName")->setChecked(false);
    QVERIFY(!p.edit(W::kOtprSMS, "leObjName")->isEnabled());
    p.box(W::kOtprSMS, "cboxpnumobj")->setChecked(true);
    LinkPages::type(p.edit(W::kPultSMS, "leObjName"), "Console");
    p.apply();
    QTEST(p.settings.consoleSms->objectName, "storedName");
    QTEST(int(p.settings.consoleSms->cb1), "storedSend");
    QCOMPARE(p.settings.smsFlags->objectIdInSms, u8(mode == MODE_AUTONOMOUS));
}

void TestSmsPages::serviceGroups_data() {
    QTest::addColumn<QString>("version");
    QTest::addColumn<bool>("events"); // numbers, events, service, SIM change
    QTest::addColumn<bool>("opening");
    QTest::newRow("04.06.2010") << "04.06.2010/1" << false << false;
    QTest::newRow("19.12.2009") << "19.12.2009/1" << true << false;
    QTest::newRow("20.12.2009") << "20.12.2009/1" << false << false;
    QTest::newRow("05.06.2010") << "05.06.2010/1" << true << false;
    QTest::newRow("15.08.2010") << "15.08.2010/1" << true << false;
    QTest::newRow("16.08.2010") << "16.08.2010/1" << true << true;
}

void TestSmsPages::serviceGroups() {
    QFETCH(QString, version);
    QFETCH(bool, events);
    LinkPages p(MODE_AUTONOMOUS);
    p.setFirmware(version);
    QWidget* page = p.page(W::kDopSMS);
    for (const char* name : {"groupBox", "groupBox_5", "groupBox_6", "groupBox_7"})
        QCOMPARE(p.at<QWidget>(W::kDopSMS, name)->isVisibleTo(page), events);
    QTEST(p.at<QWidget>(W::kDopSMS, "groupBox_3")->isVisibleTo(page), "opening");
    QVERIFY(p.at<QWidget>(W::kDopSMS, "groupBox_8")->isVisibleTo(page));
}

// Only the SLEEP options are visible on 04.06.2010; the four hidden columns
// are still loaded and stored.
void TestSmsPages::serviceStoresHiddenCombos() {
    LinkPages p(MODE_AUTONOMOUS, "04.06.2010/1");
    ExtraSmsFlags& x = *p.settings.extraSms;
    x.smsService = {1, 0, 0, 0, 0};
    x.smsUserOut2 = {0, 0, 0, 0, 9};
    p.reload();
    QCOMPARE(p.combo(W::kDopSMS, "cbRazm25")->currentText(), QStringLiteral("Да"));
    p.combo(W::kDopSMS, "cbSIM3")->setCurrentText("Да");
    p.combo(W::kDopSMS, "cbRazm12")->setCurrentText("Да");
    p.box(W::kDopSMS, "cboxposlsleep")->setChecked(true);
    p.apply();
    QCOMPARE(x.smsService, (Arr<u8, 5>{1, 0, 0, 0, 0}));
    QCOMPARE(x.smsSimChange, (Arr<u8, 5>{0, 0, 1, 0, 0}));
    QCOMPARE(x.smsUserOut1, (Arr<u8, 5>{0, 1, 0, 0, 0}));
    QCOMPARE(x.smsUserOut2, (Arr<u8, 5>{0, 0, 0, 0, 1}));
    QCOMPARE(p.settings.smsFlags->checkbox13, u8(0));
    QCOMPARE(p.settings.smsFlags->checkbox14, u8(1));
}

void TestSmsPages::tickThroughView() {
    LinkPages p;
    p.window->show();
    auto* view = p.at<QTableView>(W::kPultSMS, "tvSMS");
    p.window->findChild<QStackedWidget*>()->setCurrentWidget(Page(p));
    QVERIFY(QTest::qWaitForWindowExposed(p.window.get()));
    QCOMPARE(view->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("3"));
    QCOMPARE(view->model()->headerData(2, Qt::Vertical).toString(), QStringLiteral("Тревога"));
    QCOMPARE(view->rowHeight(8), 18);
    QCOMPARE(view->columnWidth(4), 31);

    ClickCell(view, 2, 2);
    ClickCell(view, 8, 4);
    ClickCell(view, 8, 4); // and off again
    QCOMPARE(view->selectionModel()->selectedIndexes().size(), 0);
    p.apply();
    Arr2<u8, kConsoleEvents, kMainNumbers> want{};
    want[2][2] = 1;
    QCOMPARE(p.settings.consoleSms->eventNumber, want);
}

void TestSmsPages::eventRows_data() {
    QTest::addColumn<int>("event");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("keyName");
    QTest::addColumn<bool>("loopNames");
    QTest::newRow("arming") << 0 << "Постановка на охрану" << true << true;
    QTest::newRow("disarming") << 1 << "Снятие с охраны" << true << true;
    QTest::newRow("alarm") << 2 << "Тревога" << false << true;
    QTest::newRow("arming failed") << 3 << "Невзятие" << true << true;
    QTest::newRow("mains lost") << 4 << "Отсутствие 220 В" << false << false;
    QTest::newRow("mains back") << 5 << "Восстановление 220 В" << false << false;
    QTest::newRow("low supply") << 6 << "Питание ниже 9.5 В" << false << false;
    QTest::newRow("supply back") << 7 << "Питание восстановлено" << false << false;
    QTest::newRow("tamper") << 8 << "Срабатывание тампера" << false << false;
}

// Each row names its event and shows its name boxes; hidden boxes still carry
// their values both ways, and so do the row's other fields.
void TestSmsPages::eventRows() {
    QFETCH(int, event);
    QFETCH(bool, keyName);
    QFETCH(bool, loopNames);
    LinkPages p;
    ConsoleSmsSettings& c = *p.settings.consoleSms;
    c.withKeyName[event] = 1;
    c.withLoopName[event] = 1;
    c.withTime[event] = 1;
    c.eventKind[event] = 3;
    c.eventText[0][event] = "Head";
    c.eventText[2][event] = "Tail";
    p.reload();
    PultSMSSigOpt* row = Page(p)->eventRow(event);
    QTEST(row->findChild<QLabel*>("lEvent")->text(), "caption");
    QCOMPARE(!row->findChild<QCheckBox*>("cbUseKeyName")->isHidden(), keyName);
    QCOMPARE(!row->findChild<QCheckBox*>("cbUseShlName")->isHidden(), loopNames);

    c = ConsoleSmsSettings();
    p.apply();
    QCOMPARE((QList<int>{c.withKeyName[event], c.withLoopName[event], c.withTime[event],
                         c.eventKind[event]}),
             (QList<int>{1, 1, 1, 3}));
    QCOMPARE(c.eventText[0][event] + c.eventText[2][event], QStringLiteral("HeadTail"));
    QCOMPARE(c.withTime[(event + 1) % kConsoleEvents], u8(0));
}

void TestSmsPages::textLimits_data() {
    QTest::addColumn<int>("event"); // -1: the general tab
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("kept");
    QTest::newRow("object name") << -1 << "leObjName"
                                 << "Ab_1 ?#C23456789"
                                 << "Ab1C2345";
    QTest::newRow("loop name") << -1 << "leShl6"
                               << "zone-6.west"
                               << "zone6wes";
    QTest::newRow("header") << 4 << "leZag"
                            << "Header-of-more-than-15"
                            << "Headerofmoretha";
    QTest::newRow("field 1") << 0 << "leField1"
                             << "1a2b3c"
                             << "1a2b";
    QTest::newRow("field 2") << 8 << "leField2"
                             << "0123456789AB"
                             << "0123456789";
}

void TestSmsPages::textLimits() {
    QFETCH(int, event);
    QFETCH(QString, field);
    QFETCH(QString, keys);
    LinkPages p;
    QWidget* owner = event < 0 ? static_cast<QWidget*>(Page(p)->baseOptions())
                               : static_cast<QWidget*>(Page(p)->eventRow(event));
    auto* edit = owner->findChild<QLineEdit*>(field);
    edit->clear();
    QTest::keyClicks(edit, keys);
    QTEST(edit->text(), "kept");
}

// A reload shows exactly the stored matrix and values, whatever was ticked
// or typed since the last apply; an identifier the list does not hold shows
// no item and survives the next apply.
void TestSmsPages::reloadShowsStored() {
    LinkPages p;
    auto* table = Page(p)->baseOptions()->table();
    table->setData(table->index(0, 0), Qt::Checked, Qt::CheckStateRole);
    table->setData(table->index(5, 1), Qt::Checked, Qt::CheckStateRole);
    ConsoleSmsSettings& c = *p.settings.consoleSms;
    for (int e = 0; e < kConsoleEvents; ++e)
        for (int k = 0; k < kMainNumbers; ++k)
            c.eventNumber[e][k] = (e + k) % 3 == 0;
    c.eventKind[1] = 7;
    c.eventKind[2] = -1;
    c.cb2to5 = {1, 0, 0, 1};
    c.loopName[7] = "Back";
    p.reload();
    for (int e = 0; e < kConsoleEvents; ++e)
        for (int k = 0; k < kMainNumbers; ++k)
            QCOMPARE(table->data(table->index(e, k), Qt::CheckStateRole).toInt(),
                     (e + k) % 3 == 0 ? int(Qt::Checked) : int(Qt::Unchecked));
    QCOMPARE(Page(p)->eventRow(1)->findChild<QComboBox*>("combobIdent")->currentIndex(), -1);
    // Every field stored again as loaded, the odd identifiers too.
    const DeviceSettings before = p.settings;
    Page(p)->ApplyClick();
    QCOMPARE(fixtures::Differences(p.settings, before), QStringList());
}

void TestSmsPages::modelStaysInside_data() {
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("role");
    QTest::addColumn<QSize>("shown");
    QTest::addColumn<bool>("taken");
    const int check = Qt::CheckStateRole;
    QTest::newRow("last cell") << 9 << 5 << 8 << 4 << check << QSize(5, 9) << true;
    QTest::newRow("display role") << 9 << 5 << 0 << 0 << int(Qt::DisplayRole) << QSize(5, 9)
                                  << false;
    QTest::newRow("counts cut") << 40 << 40 << 9 << 5 << check << QSize(5, 9) << false;
    QTest::newRow("negative counts") << -3 << -1 << 0 << 0 << check << QSize(0, 0) << false;
}

// Whatever counts and indexes it gets, the model keeps to its 9 x 5 cells.
void TestSmsPages::modelStaysInside() {
    QFETCH(int, rows);
    QFETCH(int, columns);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(int, role);
    QFETCH(bool, taken);
    PultSMSTable table(rows, columns);
    QTEST(QSize(table.columnCount(), table.rowCount()), "shown");
    QCOMPARE(table.setData(table.index(row, column), Qt::Checked, role), taken);
    table.setCheck(row + 1, column + 1, true);
    table.setCheck(-1, 0, true);
    QCOMPARE(table.check(row, column), taken);
    QCOMPARE(table.data(table.index(row, column), Qt::CheckStateRole).toInt(),
             taken ? int(Qt::Checked) : int(Qt::Unchecked));
}

QTEST_MAIN(TestSmsPages)
#include "tst_smspages.moc"
