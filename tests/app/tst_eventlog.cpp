// The event log: SetMessage's rows and its reactions for the setup wizard.

#include "AppTestSupport.h"
#include "support/ScriptedPrompt.h"

#include "app/EventTable.h"
#include "app/MainWindow.h"
#include "link/StatusMessages.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTableView>

class TestEventLog : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PrepareApplication(); }
    void rows_data();
    void rows();
    void numberingAndHeaders();
    void reactions_data();
    void reactions();
};

void TestEventLog::rows_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QVariantList>("args");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("colour");

    QTest::newRow("no argument") << 122 << QVariantList{}
                                 << QStringLiteral("Прибор перешёл в режим \"Тест\"")
                                 << StatusColourOk;
    QTest::newRow("COM number") << 110 << QVariantList{3}
                                << QStringLiteral("COM-порт COM3 успешно открыт") << StatusColourOk;
    QTest::newRow("error code as text")
        << 310 << QVariantList{QStringLiteral("2")}
        << QStringLiteral("Не удалось открыть COM-порт, код ошибки: 2") << StatusColourError;
    QTest::newRow("two arguments")
        << 212 << QVariantList{QStringLiteral("Дорна-8М"), QStringLiteral("01.01.2030/9")}
        << QStringLiteral("Прибор \"Дорна-8М\" 01.01.2030/9 не поддерживается")
        << StatusColourWarning;
    QTest::newRow("three arguments")
        << 100 << QVariantList{QStringLiteral("Мирвел"), QStringLiteral("16.05.2012"), 22}
        << QStringLiteral("Прибор \"Мирвел\" версии 16.05.2012/22 готов к программированию")
        << StatusColourOk;
    QTest::newRow("argument without placeholder")
        << 120 << QVariantList{7} << QStringLiteral("Прибор успешно запрограммирован")
        << StatusColourOk;
    QTest::newRow("missing argument keeps placeholder")
        << 114 << QVariantList{} << QStringLiteral("Обнаружено USB-устройство %1")
        << StatusColourInfo;
    QTest::newRow("unknown code") << 999 << QVariantList{1} << QString() << QColor();
}

void TestEventLog::rows() {
    QFETCH(int, code);
    QFETCH(QVariantList, args);
    QFETCH(QString, text);
    QFETCH(QColor, colour);
    ShellFixture fx;
    ScriptedPrompt p;
    MainWindow main;
    EventTable* log = main.events();
    const QDate day = QDate::currentDate();
    switch (args.size()) {
    case 0:
        main.SetMessage(code, true);
        break;
    case 1:
        main.SetMessage(code, true, args.at(0));
        break;
    case 2:
        main.SetMessage(code, true, args.at(0), args.at(1));
        break;
    default:
        main.SetMessage(code, true, args.at(0), args.at(1), args.at(2));
        break;
    }
    QCOMPARE(log->rowCount(), 1);
    QCOMPARE(log->data(log->index(0, 0)).toInt(), 1);
    const QString date = log->data(log->index(0, 1)).toString();
    QVERIFY(date == day.toString(QStringLiteral("dd.MM.yyyy")) ||
            date == QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")));
    QVERIFY(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d$"))
                .match(log->data(log->index(0, 2)).toString())
                .hasMatch());
    QCOMPARE(log->data(log->index(0, 3)).toString(), text);
    for (int column = 0; column < 4; ++column) {
        const QVariant bg = log->data(log->index(0, column), Qt::BackgroundRole);
        QCOMPARE(bg.value<QColor>(), colour);
        QCOMPARE(log->data(log->index(0, column), Qt::TextAlignmentRole).toInt(),
                 int(Qt::AlignCenter));
    }
    QCOMPARE(log->Row(0)->code, code);
    QVERIFY(!log->data(log->index(0, 4)).isValid());
    QVERIFY(!log->data(log->index(0, 3), Qt::ToolTipRole).isValid());
}

void TestEventLog::numberingAndHeaders() {
    ShellFixture fx;
    ScriptedPrompt p;
    MainWindow main;
    EventTable* log = main.events();
    main.SetMessage(110, true, 1);
    main.SetMessage(111, true, 1);
    main.SetMessage(113, false, QStringLiteral("x")); // not logged
    main.SetMessage(200, true, QStringLiteral("FT1 a"));
    QCOMPARE(log->rowCount(), 3);
    for (int r = 0; r < 3; ++r)
        QCOMPARE(log->data(log->index(r, 0)).toInt(), r + 1);
    QCOMPARE(log->data(log->index(2, 3)).toString(),
             QStringLiteral("USB-устройство FT1 a потеряно"));
    QCOMPARE(log->headerData(0, Qt::Horizontal).toString(), QStringLiteral("№"));
    QCOMPARE(log->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Дата"));
    QCOMPARE(log->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Время"));
    QCOMPARE(log->headerData(3, Qt::Horizontal).toString(), QStringLiteral("Событие"));
    QVERIFY(!log->headerData(4, Qt::Horizontal).isValid());
    QVERIFY(!log->headerData(0, Qt::Vertical).isValid());
    QVERIFY(!log->data(log->index(3, 0)).isValid());
    QVERIFY(!log->data(QModelIndex()).isValid());
    QCOMPARE(log->columnCount(), 4);
}

void TestEventLog::reactions_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("addToTable");
    QTest::addColumn<bool>("wizard");
    QTest::addColumn<int>("programming"); // -1 none, else the bool sent
    QTest::addColumn<int>("reading");
    QTest::addColumn<int>("lists");
    QTest::addColumn<int>("boxes");

    QTest::newRow("120 alone") << 120 << true << false << -1 << -1 << 0 << 1;
    QTest::newRow("120 wizard") << 120 << true << true << 1 << -1 << 0 << 1;
    QTest::newRow("121 alone") << 121 << true << false << -1 << -1 << 0 << 0;
    QTest::newRow("121 wizard, no row") << 121 << false << true << -1 << 1 << 1 << 0;
    QTest::newRow("300 alone") << 300 << true << false << -1 << -1 << 0 << 0;
    QTest::newRow("300 wizard") << 300 << true << true << 0 << -1 << 0 << 0;
    QTest::newRow("302 wizard") << 302 << true << true << -1 << 0 << 0 << 0;
    QTest::newRow("301 wizard") << 301 << true << true << -1 << -1 << 0 << 0;
}

void TestEventLog::reactions() {
    QFETCH(int, code);
    QFETCH(bool, addToTable);
    QFETCH(bool, wizard);
    QFETCH(int, programming);
    QFETCH(int, reading);
    QFETCH(int, lists);
    QFETCH(int, boxes);
    ShellFixture fx;
    ScriptedPrompt p;
    MainWindow main;
    main.SetWizardActiveStatus(wizard);
    QSignalSpy prog(&main, &MainWindow::SigProgrammingStatus);
    QSignalSpy read(&main, &MainWindow::SigReadEEPROMStatus);
    QSignalSpy list(&main, &MainWindow::SigTransferList);
    main.SetMessage(code, addToTable);
    QCOMPARE(main.events()->rowCount(), addToTable ? 1 : 0);
    QCOMPARE(prog.size(), programming < 0 ? 0 : 1);
    if (programming >= 0)
        QCOMPARE(prog.at(0).at(0).toBool(), programming == 1);
    QCOMPARE(read.size(), reading < 0 ? 0 : 1);
    if (reading >= 0)
        QCOMPARE(read.at(0).at(0).toBool(), reading == 1);
    QCOMPARE(list.size(), lists);
    if (lists) {
        QCOMPARE(list.at(0).at(0).toInt(), 4);
        QVERIFY(list.at(0).at(1).toStringList().isEmpty());
    }
    QCOMPARE(p.count(QStringLiteral("Прибор успешно запрограммирован.")), boxes);
}

QTEST_MAIN(TestEventLog)
#include "tst_eventlog.moc"
