// The GSM operator list and its editor as the main window owns them: every
// change reaches the settings object, "GSM.cfg" and the main window's SIM
// choosers at once.

#include "../comms_link/CommsPages.h"
#include "app/DeviceFixture.h"

#include "comms/OperatorEdit.h"
#include "comms/OperatorsDialog.h"
#include "settings/OperatorPresetFile.h"

#include <QListWidget>
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

class Rig {
public:
    Rig() {
        WriteAll(shell.file(OperatorPresetFile::kFileName), kThreeOperators);
        main = std::make_unique<MainWindow>();
        dialog = main->operatorsDialog();
        editor = dialog->editor();
    }
    QListWidget* list() const { return dialog->findChild<QListWidget*>("lwOperators"); }
    QPushButton* button(const char* name) const { return dialog->findChild<QPushButton*>(name); }
    QString shown(const char* field) const { return dialog->findChild<QLineEdit*>(field)->text(); }
    QLineEdit* edit(const char* field) const { return editor->findChild<QLineEdit*>(field); }
    QComboBox* chooser(int sim) const {
        return main->findChild<QComboBox*>(sim == 0 ? "CbOperators1" : "CbOperators2");
    }
    // The names of the settings, the dialog's list and both SIM choosers,
    // when all four agree; else all four.
    QString names() const {
        QStringList model, listed, first, second;
        for (const GsmOperator& op : std::as_const(g_deviceSettings->gsmOperators))
            model << op.name;
        for (int i = 0; i < list()->count(); ++i)
            listed << list()->item(i)->text();
        for (int i = 0; i < chooser(0)->count(); ++i) {
            first << chooser(0)->itemText(i);
            second << chooser(1)->itemText(i);
        }
        const QStringList all{model.join('|'), listed.join('|'), first.join('|'), second.join('|')};
        return all.count(all[0]) == 4 && chooser(1)->count() == chooser(0)->count()
                   ? all[0]
                   : all.join(" / ");
    }
    QByteArray file() const { return ReadAll(shell.file(OperatorPresetFile::kFileName)); }
    QString value(const QString& key) const {
        return QSettings(shell.file(OperatorPresetFile::kFileName), QSettings::IniFormat)
            .value(key, "missing")
            .toString();
    }
    // Clicks the dialog's button and runs `act` inside the editor it opens;
    // an editor left open is closed, so nothing waits on it. False when no
    // editor opened.
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
    void applyEditor() { editor->findChild<QPushButton*>("pbApply")->click(); }
    void deleteRow(int row, int answer = Prompt::Yes) {
        list()->setCurrentRow(row);
        shell.prompt.buttons.enqueue(answer);
        button("tbDel")->click();
    }

    ShellFixture shell;
    std::unique_ptr<MainWindow> main;
    OperatorsDialog* dialog = nullptr;
    OperatorEdit* editor = nullptr;
};
} // namespace

class TestGsmOperators : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PrepareApplication(); }

    // Added with the suggested name as the last group; edited, only its group
    // changes; the keys of the user's own survive both; an empty name refused.
    void addAndEdit() {
        Rig rig;
        QString fields;
        QVERIFY(rig.withEditor("tbAddNew", [&] {
            for (const char* f : {"leOpName", "leNumBalance", "leServer", "leLogin", "lePassword"})
                fields += rig.edit(f)->text() + '|';
            rig.applyEditor();
            QVERIFY(!rig.editor->isVisible());
        }));
        QCOMPARE(fields, QString("Новый оператор|||||"));
        QCOMPARE(rig.names(), QString("Alpha|Beta|Gamma|Новый оператор"));
        QCOMPARE(rig.list()->currentRow(), 3);
        QCOMPARE(rig.value("3/name"), QString("Новый оператор"));
        QCOMPARE(rig.value("3/initstring"), QString());

        rig.list()->setCurrentRow(1);
        QCOMPARE(rig.shown("leServer"), QString("apn.beta"));
        QVERIFY(rig.withEditor("tbEdit", [&] {
            QCOMPARE(rig.edit("leLogin")->text(), QString("lb"));
            rig.edit("leServer")->setText("apn.changed");
            rig.edit("lePassword")->setText(" spaced ");
            rig.applyEditor();
        }));
        QCOMPARE(g_deviceSettings->gsmOperators.at(1).password, QString(" spaced "));
        QCOMPARE(rig.list()->currentRow(), 1);
        QCOMPARE(rig.shown("leServer"), QString("apn.changed"));
        QCOMPARE(rig.value("1/initstring") + rig.value("1/password"),
                 QString("apn.changed spaced "));
        QCOMPARE(rig.value("0/note") + rig.value("1/note"), QString("mine0mine1"));
        QCOMPARE(rig.value("2/initstring"), QString("apn.gamma"));

        // An empty name: a warning, the editor stays open, nothing changes.
        const QByteArray saved = rig.file();
        bool stayedOpen = false;
        QVERIFY(rig.withEditor("tbEdit", [&] {
            rig.edit("leOpName")->clear();
            rig.edit("leServer")->setText("apn.lost");
            rig.applyEditor();
            stayedOpen = rig.editor->isVisible();
        }));
        QVERIFY(stayedOpen);
        QCOMPARE(rig.shell.prompt.count("Заполните поле \"Наименование оператора\"."), 1);
        QCOMPARE(rig.names(), QString("Alpha|Beta|Gamma|Новый оператор"));
        QCOMPARE(g_deviceSettings->gsmOperators.at(1).initString, QString("apn.changed"));
        QCOMPARE(rig.file(), saved);
    }

    void deleteOperator_data() {
        Columns<int>({"row", "answer"});
        QTest::addColumn<QString>("names");
        QTest::addColumn<int>("current");
        Columns<QList<int>>({"simsBefore", "simsAfter"});
        const int yes = Prompt::Yes;
        Row("first", 0, yes, "Beta|Gamma", 0, QList<int>{2, 1}, QList<int>{1, 0});
        // A SIM on the deleted operator keeps its number: here the next
        // operator; past the end of the list it shows no operator and is
        // programmed as unused.
        Row("chosen, middle", 1, yes, "Alpha|Gamma", 0, QList<int>{1, 1}, QList<int>{1, 1});
        Row("chosen, last", 2, yes, "Alpha|Beta", 1, QList<int>{2, 0}, QList<int>{2, 0});
        Row("answered No", 1, int(Prompt::No), "Alpha|Beta|Gamma", 1, QList<int>{2, 1},
            QList<int>{2, 1});
    }
    void deleteOperator() {
        QFETCH(int, row);
        QFETCH(int, answer);
        QFETCH(QString, names);
        QFETCH(int, current);
        QFETCH(QList<int>, simsBefore);
        QFETCH(QList<int>, simsAfter);
        Rig rig;
        rig.chooser(0)->setCurrentIndex(simsBefore[0]);
        rig.chooser(1)->setCurrentIndex(simsBefore[1]);
        rig.deleteRow(row, answer);

        const QString name = QStringList{"Alpha", "Beta", "Gamma"}.at(row);
        QCOMPARE(rig.shell.prompt.count(
                     QString("Вы уверены, что хотите удалить точку доступа %1?").arg(name)),
                 1);
        QCOMPARE(rig.names(), names);
        QCOMPARE(rig.list()->currentRow(), current);
        QCOMPARE(rig.shown("leOpName"), names.split('|').at(current));
        const int count = int(names.split('|').size());
        for (int sim = 0; sim < kSims; ++sim) {
            QCOMPARE(rig.chooser(sim)->currentIndex(),
                     simsAfter[sim] < count ? simsAfter[sim] : -1);
            QCOMPARE(g_deviceSettings->header->simOperator[sim], simsAfter[sim]);
        }
        if (answer != Prompt::Yes)
            QCOMPARE(rig.file(), kThreeOperators);
        else // the whole file again: groups without a gap, no stale group
            QCOMPARE(rig.value("0/name") + '|' + rig.value("1/name") + rig.value("2/name"),
                     names + "missing");
    }

    // The list never runs empty; nothing happens without a current row or
    // for a row outside the list.
    void guards() {
        Rig rig;
        rig.list()->setCurrentRow(-1);
        QVERIFY(!rig.withEditor("tbEdit", [] {}));
        rig.button("tbDel")->click();
        QVERIFY(rig.shell.prompt.asked.isEmpty());
        rig.dialog->CurrentIndexChange(3);
        QCOMPARE(rig.shown("leOpName"), QString("Alpha"));

        rig.deleteRow(0);
        rig.deleteRow(0);
        QCOMPARE(rig.names(), QString("Gamma"));
        QVERIFY(!rig.button("tbDel")->isEnabled());
        rig.dialog->DelOperator();
        QCOMPARE(rig.names(), QString("Gamma"));
        QCOMPARE(rig.shell.prompt.asked.size(), 2);
        QVERIFY(rig.withEditor("tbAddNew", [&] { rig.applyEditor(); }));
        QVERIFY(rig.button("tbDel")->isEnabled());
    }

    // A file that cannot be written is reported; the list changes all the same.
    void unwritableFile() {
        Rig rig;
        const QString folder = rig.shell.dir.path();
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        bool bound = false;
        {
            WithoutPermissionOverride guard;
            bound = !WithoutPermissionOverride::canCreateIn(folder);
            if (bound) {
                rig.deleteRow(0);
                rig.withEditor("tbAddNew", [&] { rig.applyEditor(); });
            }
        }
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (!bound)
            QSKIP("folder permissions cannot be enforced here");
        QCOMPARE(rig.shell.prompt.count("Не удалось записать файл GSM.cfg."), 2);
        QCOMPARE(rig.names(), QString("Beta|Gamma|Новый оператор"));
        QCOMPARE(rig.file(), kThreeOperators);
    }
};

QTEST_MAIN(TestGsmOperators)
#include "tst_gsmoperators.moc"
