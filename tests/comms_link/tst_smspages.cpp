// The SMS sending and service SMS pages in the real parameters window: their
// firmware gates, the four-item and yes/no phone columns, which page stores
// the object name in which work mode, and stores from hidden controls.

#include "LinkPages.h"

#include <QGroupBox>

using W = PribParWindow;

class TestSmsPages : public QObject {
    Q_OBJECT

private slots:
    void sendingGates_data();
    void sendingGates();
    void fourItemPairs_data();
    void fourItemPairs();
    void twoItemListsKeepOtherPhones();
    void yesNoColumnsBothWays();
    void objectName_data();
    void objectName();
    void serviceGroups_data();
    void serviceGroups();
    void serviceStoresHiddenCombos();
};

namespace {
bool Shown(const QWidget* w) {
    return !w->isHidden();
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

// With yes/no lists only the this-number flag is edited: the other-numbers
// flags survive a store and a trip to a four-item release and back.
void TestSmsPages::twoItemListsKeepOtherPhones() {
    LinkPages p(MODE_AUTONOMOUS, "20.12.2009/1");
    SmsNumberFlags& f = *p.settings.smsFlags;
    f.cbDrugieZa = {1, 0, 1, 0, 1};
    f.cbDrugieOt = {0, 1, 0, 1, 0};
    p.reload();
    p.combo(W::kOtprSMS, "CbPT1")->setCurrentText("Да");
    p.combo(W::kOtprSMS, "CbST2")->setCurrentText("Да");
    p.apply();
    QCOMPARE(f.checkbox[0], u8(1));
    QCOMPARE(f.cb_p_vx_sn[1], u8(1));
    QCOMPARE(f.cbDrugieZa, (Arr<u8, 5>{1, 0, 1, 0, 1}));
    QCOMPARE(f.cbDrugieOt, (Arr<u8, 5>{0, 1, 0, 1, 0}));

    p.setFirmware("05.06.2010/1");
    QCOMPARE(p.combo(W::kOtprSMS, "CbPT1")->currentText(), QStringLiteral("Со всех номеров"));
    QCOMPARE(p.combo(W::kOtprSMS, "CbST1")->currentText(), QStringLiteral("Нет"));
    p.setFirmware("20.12.2009/1");
    p.apply();
    QCOMPARE(f.cbDrugieZa, (Arr<u8, 5>{1, 0, 1, 0, 1}));
    QCOMPARE(f.cbDrugieOt, (Arr<u8, 5>{0, 1, 0, 1, 0}));
    QCOMPARE(f.checkbox, (Arr<u8, 5>{1, 0, 0, 0, 0}));
}

// The key and alarm columns, including the ones a gate hides, store what
// they show; a hidden disarm column keeps what was last loaded.
void TestSmsPages::yesNoColumnsBothWays() {
    LinkPages p(MODE_AUTONOMOUS, "27.11.2009/1");
    SmsNumberFlags& f = *p.settings.smsFlags;
    f.cboz = {1, 0, 0, 0, 3};
    f.cb_p_vx_sn = {0, 0, 1, 0, 0};
    f.cbts = {0, 1, 0, 0, 0};
    p.reload();
    QCOMPARE(p.combo(W::kOtprSMS, "CbSK5")->currentText(), QStringLiteral("Да"));
    QCOMPARE(p.combo(W::kOtprSMS, "cbTr2")->currentText(), QStringLiteral("Да"));
    p.combo(W::kOtprSMS, "CbPK3")->setCurrentText("Да");
    p.combo(W::kOtprSMS, "cbTr2")->setCurrentText("Нет");
    p.apply();
    QCOMPARE(f.cbza, (Arr<u8, 5>{0, 0, 1, 0, 0}));
    QCOMPARE(f.cboz, (Arr<u8, 5>{1, 0, 0, 0, 1}));
    QCOMPARE(f.cb_p_vx_sn, (Arr<u8, 5>{0, 0, 1, 0, 0}));
    QCOMPARE(f.cbts, (Arr<u8, 5>{0, 0, 0, 0, 0}));
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

QTEST_MAIN(TestSmsPages)
#include "tst_smspages.moc"
