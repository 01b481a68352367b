// The GSM operator list and its editor as the main window owns them: every
// change reaches the settings object, "GSM.cfg" and the main window's SIM
// choosers at once.

#include "app/DeviceFixture.h"

#include "comms/OperatorEdit.h"
#include "comms/OperatorsDialog.h"
#include "settings/OperatorPresetFile.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QTimer>

#include <functional>

namespace {

// Three operators, with a key of the user's own in groups 0 and 1.
const QByteArray kThreeOperators = "[0]\nname=Alpha\ninitstring=apn.alpha\nlogin=la\n"
                                   "password=pa\nUssd=*100#\nnote=mine0\n"
                                   "[1]\nname=Beta\ninitstring=apn.beta\nlogin=lb\n"
                                   "password=pb\nUssd=*101#\nnote=mine1\n"
                                   "[2]\nname=Gamma\ninitstring=apn.gamma\nlogin=lc\n"
                                   "password=pc\nUssd=*102#\n";

class OperatorsRig {
public:
    OperatorsRig() {
        WriteAll(shell.file(OperatorPresetFile::kFileName), kThreeOperators);
        main = std::make_unique<MainWindow>();
        dialog = main->operatorsDialog();
        editor = dialog->editor();
    }

    template <class T> T* in(QWidget* w, const char* name) const {
        return w->findChild<T*>(QString::fromLatin1(name));
    }
    QListWidget* list() const { return in<QListWidget>(dialog, "lwOperators"); }
    QPushButton* button(const char* name) const { return in<QPushButton>(dialog, name); }
    QString shown(const char* field) const { return in<QLineEdit>(dialog, field)->text(); }
    QLineEdit* edit(const char* field) const { return in<QLineEdit>(editor, field); }
    QComboBox* chooser(int sim) const {
        return in<QComboBox>(main.get(), sim == 0 ? "CbOperators1" : "CbOperators2");
    }
    // Operator names of the settings, the dialog's list and the SIM choosers,
    // each joined; all four must agree.
    QStringList names() const {
        QStringList model, listed, first, second;
        for (const GsmOperator& op : std::as_const(g_deviceSettings->gsmOperators))
            model << op.name;
        for (int i = 0; i < list()->count(); ++i)
            listed << list()->item(i)->text();
        for (int i = 0; i < chooser(0)->count(); ++i)
            first << chooser(0)->itemText(i);
        for (int i = 0; i < chooser(1)->count(); ++i)
            second << chooser(1)->itemText(i);
        return {model.join('|'), listed.join('|'), first.join('|'), second.join('|')};
    }
    QByteArray file() const { return ReadAll(shell.file(OperatorPresetFile::kFileName)); }
    QString value(const QString& key) const {
        return QSettings(shell.file(OperatorPresetFile::kFileName), QSettings::IniFormat)
            .value(key, "missing")
            .toString();
    }

    // Clicks the dialog's button and runs `act` inside the editor it opens;
    // an editor left open afterwards is closed, so nothing waits on it.
    // False when no editor opened.
    bool withEditor(const char* name, const std::function<void()>& act) {
        bool opened = false;
        QTimer::singleShot(0, editor, [&] {
            opened = editor->isVisible();
            if (opened)
                act();
            if (editor->isVisible())
                editor->reject();
        });
        button(name)->click();
        QCoreApplication::processEvents(); // when no editor ran its own loop
        return opened;
    }
    void applyEditor() { in<QPushButton>(editor, "pbApply")->click(); }

    ShellFixture shell;
    std::unique_ptr<MainWindow> main;
    OperatorsDialog* dialog = nullptr;
    OperatorEdit* editor = nullptr;
};

QStringList Four(const QString& names) {
    return {names, names, names, names};
}

} // namespace

class TstGsmOperators : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PrepareApplication(); }

    void addWithSuggestedName() {
        OperatorsRig rig;
        QString title, fields;
        QVERIFY(rig.withEditor("tbAddNew", [&] {
            title = rig.editor->windowTitle();
            for (const char* f : {"leOpName", "leNumBalance", "leServer", "leLogin", "lePassword"})
                fields += rig.edit(f)->text() + '|';
            rig.applyEditor();
            QVERIFY(!rig.editor->isVisible());
        }));
        QCOMPARE(title, QString("Создание нового оператора"));
        QCOMPARE(fields, QString("Новый оператор|||||"));
        QCOMPARE(rig.names(), Four("Alpha|Beta|Gamma|Новый оператор"));
        QCOMPARE(rig.list()->currentRow(), 3);
        QCOMPARE(rig.shown("leOpName"), QString("Новый оператор"));
        // Appended as the last group; the others, own keys included, stay.
        QCOMPARE(rig.value("3/name"), QString("Новый оператор"));
        for (const char* key : {"3/initstring", "3/login", "3/password", "3/Ussd"})
            QCOMPARE(rig.value(key), QString());
        QCOMPARE(rig.value("0/note"), QString("mine0"));
        QCOMPARE(rig.value("2/initstring"), QString("apn.gamma"));
    }

    void editWritesOnlyItsGroup() {
        OperatorsRig rig;
        rig.list()->setCurrentRow(1);
        QCOMPARE(rig.shown("leServer"), QString("apn.beta"));
        QString title, login;
        QVERIFY(rig.withEditor("tbEdit", [&] {
            title = rig.editor->windowTitle();
            login = rig.edit("leLogin")->text();
            rig.edit("leServer")->setText("apn.changed");
            rig.edit("lePassword")->setText(" spaced ");
            rig.applyEditor();
        }));
        QCOMPARE(title, QString("Редактирование оператора"));
        QCOMPARE(login, QString("lb"));
        QCOMPARE(g_deviceSettings->gsmOperators.at(1).password, QString(" spaced "));
        QCOMPARE(rig.list()->currentRow(), 1);
        QCOMPARE(rig.shown("leServer"), QString("apn.changed"));
        QCOMPARE(rig.value("1/initstring"), QString("apn.changed"));
        QCOMPARE(rig.value("1/password"), QString(" spaced "));
        QCOMPARE(rig.value("1/note"), QString("mine1"));
        QCOMPARE(rig.value("0/note"), QString("mine0"));
        QCOMPARE(rig.value("2/initstring"), QString("apn.gamma"));
    }

    void emptyNameRefused() {
        OperatorsRig rig;
        bool stayedOpen = false;
        QVERIFY(rig.withEditor("tbEdit", [&] {
            rig.edit("leOpName")->clear();
            rig.edit("leServer")->setText("apn.lost");
            rig.applyEditor();
            stayedOpen = rig.editor->isVisible();
        }));
        QVERIFY(stayedOpen);
        QCOMPARE(rig.shell.prompt.count("Заполните поле \"Наименование оператора\"."), 1);
        QCOMPARE(rig.names(), Four("Alpha|Beta|Gamma"));
        QCOMPARE(g_deviceSettings->gsmOperators.at(0).initString, QString("apn.alpha"));
        QCOMPARE(rig.file(), kThreeOperators);
    }

    void deleteOperator_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("names");
        QTest::addColumn<int>("current");
        QTest::addColumn<QList<int>>("simsBefore");
        QTest::addColumn<QList<int>>("simsAfter");
        const int yes = Prompt::Yes;
        QTest::newRow("first") << 0 << yes << "Beta|Gamma" << 0 << QList<int>{2, 0}
                               << QList<int>{1, 0};
        QTest::newRow("middle") << 1 << yes << "Alpha|Gamma" << 0 << QList<int>{2, 0}
                                << QList<int>{1, 0};
        QTest::newRow("last") << 2 << yes << "Alpha|Beta" << 1 << QList<int>{1, 0}
                              << QList<int>{1, 0};
        // A SIM on the deleted operator keeps its number as far as the list
        // reaches: here the next operator, there the last one.
        QTest::newRow("chosen, middle")
            << 1 << yes << "Alpha|Gamma" << 0 << QList<int>{1, 1} << QList<int>{1, 1};
        QTest::newRow("chosen, last")
            << 2 << yes << "Alpha|Beta" << 1 << QList<int>{2, 0} << QList<int>{1, 0};
        QTest::newRow("answered No") << 1 << int(Prompt::No) << "Alpha|Beta|Gamma" << 1
                                     << QList<int>{2, 1} << QList<int>{2, 1};
    }
    void deleteOperator() {
        QFETCH(int, row);
        QFETCH(int, answer);
        QFETCH(QString, names);
        QFETCH(int, current);
        QFETCH(QList<int>, simsBefore);
        QFETCH(QList<int>, simsAfter);

        OperatorsRig rig;
        rig.chooser(0)->setCurrentIndex(simsBefore[0]);
        rig.chooser(1)->setCurrentIndex(simsBefore[1]);
        rig.list()->setCurrentRow(row);
        rig.shell.prompt.buttons.enqueue(answer);
        rig.button("tbDel")->click();

        const QString name = QStringList{"Alpha", "Beta", "Gamma"}.at(row);
        QCOMPARE(rig.shell.prompt.count(
                     QString("Вы уверены, что хотите удалить точку доступа %1?").arg(name)),
                 1);
        QCOMPARE(rig.names(), Four(names));
        QCOMPARE(rig.list()->currentRow(), current);
        QCOMPARE(rig.shown("leOpName"), names.split('|').at(current));
        for (int sim = 0; sim < kSims; ++sim) {
            QCOMPARE(rig.chooser(sim)->currentIndex(), simsAfter[sim]);
            QCOMPARE(g_deviceSettings->header->simOperator[sim], simsAfter[sim]);
        }
        if (answer != Prompt::Yes) {
            QCOMPARE(rig.file(), kThreeOperators);
            return;
        }
        // The whole file again: groups without a gap, no stale group.
        QCOMPARE(rig.value("0/name") + '|' + rig.value("1/name"), names);
        QCOMPARE(rig.value("2/name"), QString("missing"));
    }

    // The list never runs empty; nothing happens without a current row.
    void guards() {
        OperatorsRig rig;
        rig.list()->setCurrentRow(-1);
        QVERIFY(!rig.withEditor("tbEdit", [] {}));
        rig.button("tbDel")->click();
        QVERIFY(rig.shell.prompt.asked.isEmpty());
        rig.dialog->CurrentIndexChange(3);
        QCOMPARE(rig.shown("leOpName"), QString("Alpha"));

        for (int row = 0; row < 2; ++row) {
            rig.list()->setCurrentRow(0);
            rig.shell.prompt.buttons.enqueue(Prompt::Yes);
            rig.button("tbDel")->click();
        }
        QCOMPARE(rig.names(), Four("Gamma"));
        QVERIFY(!rig.button("tbDel")->isEnabled());
        rig.dialog->DelOperator();
        QCOMPARE(rig.names(), Four("Gamma"));
        QCOMPARE(rig.shell.prompt.asked.size(), 2);
        QVERIFY(rig.withEditor("tbAddNew", [&] { rig.applyEditor(); }));
        QVERIFY(rig.button("tbDel")->isEnabled());
    }

    // A file that cannot be written is reported; the list changes all the same.
    void unwritableFile() {
        OperatorsRig rig;
        const QString folder = rig.shell.dir.path();
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        bool bound = false;
        {
            WithoutPermissionOverride guard;
            bound = !WithoutPermissionOverride::canCreateIn(folder);
            if (bound) {
                rig.list()->setCurrentRow(0);
                rig.shell.prompt.buttons.enqueue(Prompt::Yes);
                rig.button("tbDel")->click();
                rig.withEditor("tbAddNew", [&] { rig.applyEditor(); });
            }
        }
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (!bound)
            QSKIP("folder permissions cannot be enforced here");
        QCOMPARE(rig.shell.prompt.count("Не удалось записать файл GSM.cfg."), 2);
        QCOMPARE(rig.names(), Four("Beta|Gamma|Новый оператор"));
        QCOMPARE(rig.file(), kThreeOperators);
    }
};

QTEST_MAIN(TstGsmOperators)
#include "tst_gsmoperators.moc"
