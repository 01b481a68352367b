// The event log: SetMessage's rows and its reactions for the setup wizard.

#include "AppTestSupport.h"

#include "app/EventTable.h"
#include "app/MainWindow.h"
#include "link/StatusMessages.h"

#include <QRegularExpression>

class TestEventLog : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PrepareApplication(); }
    void rows();
    void reactions_data();
    void reactions();
};

void TestEventLog::rows() {
    const struct {
        int code;
        QVariantList args;
        QString text;
        QColor colour;
    } cases[] = {
        {122, {}, "Прибор перешёл в режим \"Тест\"", StatusColourOk},
        {110, {3}, "COM-порт COM3 успешно открыт", StatusColourOk},
        {310, {"2"}, "Не удалось открыть COM-порт, код ошибки: 2", StatusColourError},
        {212,
         {"Дорна-8М", "01.01.2030/9"},
         "Прибор \"Дорна-8М\" 01.01.2030/9 не поддерживается",
         StatusColourWarning},
        {100,
         {"Мирвел", "16.05.2012", 22},
         "Прибор \"Мирвел\" версии 16.05.2012/22 готов к программированию",
         StatusColourOk},
        {999, {1}, QString(), QColor()}, // a code the table lacks
    };
    ShellFixture fx;
    MainWindow main;
    EventTable* log = main.events();
    const QString day = QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"));
    int row = 0;
    for (const auto& c : cases) {
        main.SetMessage(c.code, true, c.args.value(0), c.args.value(1), c.args.value(2));
        main.SetMessage(113, false, QStringLiteral("x")); // not logged
        QCOMPARE(log->rowCount(), row + 1);
        QCOMPARE(log->data(log->index(row, 0)).toInt(), row + 1);
        const QString date = log->data(log->index(row, 1)).toString();
        QVERIFY(date == day || date == QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")));
        QVERIFY(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d$"))
                    .match(log->data(log->index(row, 2)).toString())
                    .hasMatch());
        QCOMPARE(log->data(log->index(row, 3)).toString(), c.text);
        for (int column = 0; column < 4; ++column)
            QCOMPARE(log->data(log->index(row, column), Qt::BackgroundRole).value<QColor>(),
                     c.colour);
        QCOMPARE(log->Row(row)->code, c.code);
        ++row;
    }
    QVERIFY(!log->data(log->index(row, 0)).isValid());
    QCOMPARE(log->columnCount(), 4);
}

void TestEventLog::reactions_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("addToTable");
    QTest::addColumn<bool>("wizard");
    QTest::addColumn<QStringList>("sent"); // to the wizard, in order
    QTest::addColumn<int>("boxes");

    QTest::newRow("120 alone") << 120 << true << false << QStringList{} << 1;
    QTest::newRow("120 wizard") << 120 << true << true << QStringList{"programmed true"} << 1;
    QTest::newRow("121 alone") << 121 << true << false << QStringList{} << 0;
    QTest::newRow("121 wizard, no row")
        << 121 << false << true << QStringList{"read true", "list 4 0"} << 0;
    QTest::newRow("300 alone") << 300 << true << false << QStringList{} << 0;
    QTest::newRow("300 wizard") << 300 << true << true << QStringList{"programmed false"} << 0;
    QTest::newRow("302 wizard") << 302 << true << true << QStringList{"read false"} << 0;
    QTest::newRow("301 wizard") << 301 << true << true << QStringList{} << 0;
}

void TestEventLog::reactions() {
    QFETCH(int, code);
    QFETCH(bool, addToTable);
    QFETCH(bool, wizard);
    QFETCH(QStringList, sent);
    QFETCH(int, boxes);
    ShellFixture fx;
    MainWindow main;
    main.SetWizardActiveStatus(wizard);
    QStringList got;
    connect(&main, &MainWindow::SigProgrammingStatus, this,
            [&got](bool ok) { got << QStringLiteral("programmed %1").arg(ok ? "true" : "false"); });
    connect(&main, &MainWindow::SigReadEEPROMStatus, this,
            [&got](bool ok) { got << QStringLiteral("read %1").arg(ok ? "true" : "false"); });
    connect(&main, &MainWindow::SigTransferList, this, [&got](int num, const QStringList& list) {
        got << QStringLiteral("list %1 %2").arg(num).arg(list.size());
    });
    main.SetMessage(code, addToTable);
    QCOMPARE(main.events()->rowCount(), addToTable ? 1 : 0);
    QCOMPARE(got, sent);
    QCOMPARE(fx.prompt.count(QStringLiteral("Прибор успешно запрограммирован.")), boxes);
}

QTEST_MAIN(TestEventLog)
#include "tst_eventlog.moc"
