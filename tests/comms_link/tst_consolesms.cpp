// The console SMS page in the real parameters window: the events-by-number
// table ticked through its view, the rows of the nine events, the lengths and
// validators of the texts, and reloads that show exactly what is stored.

#include "LinkPages.h"

#include "comms/PultSMS.h"
#include "comms/PultSMSBaseOpt.h"
#include "comms/PultSMSSigOpt.h"
#include "comms/PultSMSTable.h"

#include <QLabel>
#include <QStackedWidget>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTableView>

using W = PribParWindow;

class TestConsoleSms : public QObject {
    Q_OBJECT

private slots:
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

void TestConsoleSms::tickThroughView() {
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

void TestConsoleSms::eventRows_data() {
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
void TestConsoleSms::eventRows() {
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
    auto* key = row->findChild<QCheckBox*>("cbUseKeyName");
    auto* loops = row->findChild<QCheckBox*>("cbUseShlName");
    QCOMPARE(!key->isHidden(), keyName);
    QCOMPARE(!loops->isHidden(), loopNames);
    QCOMPARE(row->findChild<QComboBox*>("combobIdent")->currentText(),
             QStringLiteral("Шлейф(ы) + Ключ TM"));

    c = ConsoleSmsSettings();
    p.apply();
    QCOMPARE(c.withKeyName[event], u8(1));
    QCOMPARE(c.withLoopName[event], u8(1));
    QCOMPARE(c.withTime[event], u8(1));
    QCOMPARE(c.eventKind[event], 3);
    QCOMPARE(c.eventText[0][event], QStringLiteral("Head"));
    QCOMPARE(c.eventText[2][event], QStringLiteral("Tail"));
    QCOMPARE(c.withTime[(event + 1) % kConsoleEvents], u8(0));
}

void TestConsoleSms::textLimits_data() {
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

void TestConsoleSms::textLimits() {
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
void TestConsoleSms::reloadShowsStored() {
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
    QVERIFY(p.box(W::kPultSMS, "cbPerDate")->isChecked());
    QVERIFY(p.box(W::kPultSMS, "cbSMSPostFail")->isChecked());
    QVERIFY(!p.box(W::kPultSMS, "cbPerSecs")->isChecked());

    const DeviceSettings before = p.settings;
    Page(p)->ApplyClick();
    QCOMPARE(fixtures::Differences(p.settings, before), QStringList());
}

void TestConsoleSms::modelStaysInside_data() {
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("role");
    QTest::addColumn<bool>("taken");
    QTest::addColumn<int>("shownRows");
    QTest::addColumn<int>("shownColumns");
    const int check = Qt::CheckStateRole;
    QTest::newRow("inside") << 9 << 5 << 8 << 4 << check << true << 9 << 5;
    QTest::newRow("display role") << 9 << 5 << 0 << 0 << int(Qt::DisplayRole) << false << 9 << 5;
    QTest::newRow("counts cut") << 40 << 40 << 9 << 5 << check << false << 9 << 5;
    QTest::newRow("negative counts") << -3 << -1 << 0 << 0 << check << false << 0 << 0;
    QTest::newRow("smaller table") << 3 << 2 << 3 << 1 << check << false << 3 << 2;
}

// Whatever counts and indexes it gets, the model keeps to its 9 x 5 cells.
void TestConsoleSms::modelStaysInside() {
    QFETCH(int, rows);
    QFETCH(int, columns);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(int, role);
    QFETCH(bool, taken);
    PultSMSTable table(rows, columns);
    QTEST(table.rowCount(), "shownRows");
    QTEST(table.columnCount(), "shownColumns");
    const QModelIndex at = table.index(row, column);
    QCOMPARE(table.setData(at, Qt::Checked, role), taken);
    QCOMPARE(table.data(at, Qt::CheckStateRole).isValid(), at.isValid());
    QCOMPARE(bool(table.flags(at) & Qt::ItemIsUserCheckable), at.isValid());
    table.setCell(row, column, 1);
    table.setCell(-1, 0, 1);
    QCOMPARE(int(table.cell(row, column)), int(at.isValid()));
    QCOMPARE(table.headerData(columns + 7, Qt::Horizontal, Qt::DisplayRole), QVariant());
}

QTEST_MAIN(TestConsoleSms)
#include "tst_consolesms.moc"
