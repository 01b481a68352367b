// The GSM operator list and its editor as the main window owns them: every
// change reaches the settings object, "GSM.cfg" and the main window's SIM
// choosers at once.

#include "app/DeviceFixture.h"
#include "support/Files.h"

#include "app/MainWindow.h"
#include "comms/OperatorEdit.h"
#include "comms/OperatorsDialog.h"
#include "settings/OperatorPresetFile.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QTimer>

#include <functional>
#include <memory>

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
    explicit OperatorsRig(const QByteArray& file = kThreeOperators) {
        if (!file.isEmpty())
            WriteAll(shell.file(OperatorPresetFile::kFileName), file);
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

    QStringList names() const {
        QStringList out;
        for (const GsmOperator& op : std::as_const(g_deviceSettings->gsmOperators))
            out << op.name;
        return out;
    }
    QStringList listed() const {
        QStringList out;
        for (int i = 0; i < list()->count(); ++i)
            out << list()->item(i)->text();
        return out;
    }
    QStringList chooser(const char* name) const {
        const auto* box = main->findChild<QComboBox*>(QString::fromLatin1(name));
        QStringList out;
        for (int i = 0; i < box->count(); ++i)
            out << box->itemText(i);
        return out;
    }
    int chosen(const char* name) const {
        return main->findChild<QComboBox*>(QString::fromLatin1(name))->currentIndex();
    }
    QByteArray file() const { return ReadAll(shell.file(OperatorPresetFile::kFileName)); }
    QSettings ini() const {
        return QSettings(shell.file(OperatorPresetFile::kFileName), QSettings::IniFormat);
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
    void type(const char* field, const QString& text) {
        in<QLineEdit>(editor, field)->setText(text);
    }
    void applyEditor() { in<QPushButton>(editor, "pbApply")->click(); }

    ShellFixture shell;
    std::unique_ptr<MainWindow> main;
    OperatorsDialog* dialog = nullptr;
    OperatorEdit* editor = nullptr;
};

} // namespace

class TstGsmOperators : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PrepareApplication(); }
    void addWithSuggestedName();
    void editWritesOnlyItsGroup();
    void emptyNameRefused();
    void deleteOperator_data();
    void deleteOperator();
    void deleteDownToOne();
    void noCurrentRow();
    void unwritableFile();
};

void TstGsmOperators::addWithSuggestedName() {
    OperatorsRig rig;
    QString title, name, others;
    QVERIFY(rig.withEditor("tbAddNew", [&] {
        title = rig.editor->windowTitle();
        name = rig.in<QLineEdit>(rig.editor, "leOpName")->text();
        for (const char* f : {"leNumBalance", "leServer", "leLogin", "lePassword"})
            others += rig.in<QLineEdit>(rig.editor, f)->text();
        rig.applyEditor();
        QVERIFY(!rig.editor->isVisible());
    }));
    QCOMPARE(title, QString("Создание нового оператора"));
    QCOMPARE(name, QString("Новый оператор"));
    QCOMPARE(others, QString());

    const QStringList names{"Alpha", "Beta", "Gamma", "Новый оператор"};
    QCOMPARE(rig.names(), names);
    QCOMPARE(rig.listed(), names);
    QCOMPARE(rig.list()->currentRow(), 3);
    QCOMPARE(rig.shown("leOpName"), QString("Новый оператор"));
    QCOMPARE(rig.chooser("CbOperators1"), names);
    QCOMPARE(rig.chooser("CbOperators2"), names);
    // The new group is appended; the others are as they were.
    QSettings ini = rig.ini();
    QCOMPARE(ini.childGroups(), (QStringList{"0", "1", "2", "3"}));
    QCOMPARE(ini.value("3/name").toString(), QString("Новый оператор"));
    for (const char* key : {"3/initstring", "3/login", "3/password", "3/Ussd"})
        QCOMPARE(ini.value(key, "missing").toString(), QString());
    QCOMPARE(ini.value("0/note").toString(), QString("mine0"));
    QCOMPARE(ini.value("2/initstring").toString(), QString("apn.gamma"));
}

void TstGsmOperators::editWritesOnlyItsGroup() {
    OperatorsRig rig;
    rig.list()->setCurrentRow(1);
    QCOMPARE(rig.shown("leServer"), QString("apn.beta"));
    QString title, loaded;
    QVERIFY(rig.withEditor("tbEdit", [&] {
        title = rig.editor->windowTitle();
        loaded = rig.in<QLineEdit>(rig.editor, "leLogin")->text();
        rig.type("leServer", "apn.changed");
        rig.type("lePassword", " spaced ");
        rig.applyEditor();
    }));
    QCOMPARE(title, QString("Редактирование оператора"));
    QCOMPARE(loaded, QString("lb"));
    QCOMPARE(g_deviceSettings->gsmOperators.at(1).initString, QString("apn.changed"));
    QCOMPARE(g_deviceSettings->gsmOperators.at(1).password, QString(" spaced "));
    QCOMPARE(rig.list()->currentRow(), 1);
    QCOMPARE(rig.shown("leServer"), QString("apn.changed"));

    QSettings ini = rig.ini();
    QCOMPARE(ini.value("1/initstring").toString(), QString("apn.changed"));
    QCOMPARE(ini.value("1/password").toString(), QString(" spaced "));
    QCOMPARE(ini.value("1/note").toString(), QString("mine1"));
    QCOMPARE(ini.value("0/note").toString(), QString("mine0"));
    QCOMPARE(ini.value("2/initstring").toString(), QString("apn.gamma"));
}

void TstGsmOperators::emptyNameRefused() {
    OperatorsRig rig;
    const QByteArray before = rig.file();
    bool stayedOpen = false;
    QVERIFY(rig.withEditor("tbEdit", [&] {
        rig.type("leOpName", "");
        rig.type("leServer", "apn.lost");
        rig.applyEditor();
        stayedOpen = rig.editor->isVisible();
    }));
    QVERIFY(stayedOpen);
    QCOMPARE(rig.shell.prompt.count("Заполните поле \"Наименование оператора\"."), 1);
    QCOMPARE(rig.names(), (QStringList{"Alpha", "Beta", "Gamma"}));
    QCOMPARE(g_deviceSettings->gsmOperators.at(0).initString, QString("apn.alpha"));
    QCOMPARE(rig.file(), before);
}

void TstGsmOperators::deleteOperator_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("current");
    QTest::addColumn<QList<int>>("simsBefore");
    QTest::addColumn<QList<int>>("simsAfter");
    const int yes = Prompt::Yes;
    QTest::newRow("first") << 0 << yes << QStringList{"Beta", "Gamma"} << 0 << QList<int>{2, 0}
                           << QList<int>{1, 0};
    QTest::newRow("middle") << 1 << yes << QStringList{"Alpha", "Gamma"} << 0 << QList<int>{2, 0}
                            << QList<int>{1, 0};
    QTest::newRow("last") << 2 << yes << QStringList{"Alpha", "Beta"} << 1 << QList<int>{1, 0}
                          << QList<int>{1, 0};
    // A SIM on the deleted operator keeps its number, as far as the list
    // reaches: here the next one, there the last one.
    QTest::newRow("chosen, middle")
        << 1 << yes << QStringList{"Alpha", "Gamma"} << 0 << QList<int>{1, 1} << QList<int>{1, 1};
    QTest::newRow("chosen, last") << 2 << yes << QStringList{"Alpha", "Beta"} << 1
                                  << QList<int>{2, 0} << QList<int>{1, 0};
    QTest::newRow("answered No") << 1 << int(Prompt::No) << QStringList{"Alpha", "Beta", "Gamma"}
                                 << 1 << QList<int>{2, 1} << QList<int>{2, 1};
}

void TstGsmOperators::deleteOperator() {
    QFETCH(int, row);
    QFETCH(int, answer);
    QFETCH(QStringList, names);
    QFETCH(int, current);
    QFETCH(QList<int>, simsBefore);
    QFETCH(QList<int>, simsAfter);

    OperatorsRig rig;
    rig.main->findChild<QComboBox*>("CbOperators1")->setCurrentIndex(simsBefore[0]);
    rig.main->findChild<QComboBox*>("CbOperators2")->setCurrentIndex(simsBefore[1]);
    const QByteArray before = rig.file();
    rig.list()->setCurrentRow(row);
    rig.shell.prompt.buttons.enqueue(answer);
    rig.button("tbDel")->click();

    const QString name = QStringList{"Alpha", "Beta", "Gamma"}.at(row);
    QCOMPARE(rig.shell.prompt.count(
                 QStringLiteral("Вы уверены, что хотите удалить точку доступа %1?").arg(name)),
             1);
    QCOMPARE(rig.names(), names);
    QCOMPARE(rig.listed(), names);
    QCOMPARE(rig.list()->currentRow(), current);
    QCOMPARE(rig.shown("leOpName"), names.at(current));
    QCOMPARE(rig.chooser("CbOperators1"), names);
    QCOMPARE(rig.chosen("CbOperators1"), simsAfter[0]);
    QCOMPARE(rig.chosen("CbOperators2"), simsAfter[1]);
    QCOMPARE(g_deviceSettings->header->simOperator[0], simsAfter[0]);
    QCOMPARE(g_deviceSettings->header->simOperator[1], simsAfter[1]);
    if (answer != Prompt::Yes) {
        QCOMPARE(rig.file(), before);
        return;
    }
    // The whole file again, groups without a gap, no stale group.
    QSettings ini = rig.ini();
    QCOMPARE(ini.childGroups(), (QStringList{"0", "1"}));
    QCOMPARE(ini.value("0/name").toString(), names.at(0));
    QCOMPARE(ini.value("1/name").toString(), names.at(1));
}

void TstGsmOperators::deleteDownToOne() {
    OperatorsRig rig;
    QVERIFY(rig.button("tbDel")->isEnabled());
    for (int n = 3; n > 1; --n) {
        rig.shell.prompt.buttons.enqueue(Prompt::Yes);
        rig.button("tbDel")->click();
    }
    QCOMPARE(rig.names(), QStringList{"Gamma"});
    QVERIFY(!rig.button("tbDel")->isEnabled());
    // Even called directly, the last operator stays and nobody is asked.
    const int asked = rig.shell.prompt.asked.size();
    rig.dialog->DelOperator();
    QCOMPARE(rig.names(), QStringList{"Gamma"});
    QCOMPARE(rig.shell.prompt.asked.size(), asked);

    QVERIFY(rig.withEditor("tbAddNew", [&] { rig.applyEditor(); }));
    QVERIFY(rig.button("tbDel")->isEnabled());
}

void TstGsmOperators::noCurrentRow() {
    OperatorsRig rig;
    rig.list()->setCurrentRow(2);
    rig.list()->setCurrentRow(-1);
    QVERIFY(!rig.withEditor("tbEdit", [] {}));
    rig.button("tbDel")->click();
    QVERIFY(rig.shell.prompt.asked.isEmpty());
    QCOMPARE(rig.names().size(), 3);
    rig.dialog->CurrentIndexChange(3);
    rig.dialog->CurrentIndexChange(-1);
    QCOMPARE(rig.shown("leOpName"), QString("Gamma"));
}

// A file that cannot be written is reported; the list changes all the same.
void TstGsmOperators::unwritableFile() {
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
    QCOMPARE(rig.names(), (QStringList{"Beta", "Gamma", "Новый оператор"}));
    QCOMPARE(rig.file(), kThreeOperators);
}

QTEST_MAIN(TstGsmOperators)
#include "tst_gsmoperators.moc"
