// The key window. On their own: the key editor, the key table file's faults and the deletion judge.
// Then against the simulated device through the main window, the link and a pseudo-terminal:
// reading the table, damaged tables, writing one slot, deleting, the master-key menu, and writing
// the ticked rows of a table saved and loaded again. Modal windows are driven from inside their
// loops.

#include "app/DeviceFixture.h"
#include "support/Modal.h"

#include "keys/EditKey.h"
#include "keys/KeyTableRules.h"
#include "keys/KeyTestTable.h"
#include "keys/KeysLoadDialog.h"
#include "keys/KeysOptions.h"
#include "link/LinkTiming.h"

#include <QCheckBox>
#include <QLCDNumber>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTimer>
#include <QToolButton>

using Ints = QList<int>;

namespace {
using Rows = QList<SimDevice::KeyRow>;
constexpr int kWaitMs = DeviceFixture::kSlowMs;
// Model codes the device announces: types 0, 1 and 2 with firmware 19.04.2012.
constexpr uchar kModelType0 = 1;
constexpr uchar kModelType1 = 3;
constexpr uchar kModelType2 = 4;

// A device table: keys, passwords of both families, master key 1.
Rows DeviceRows() {
    Rows rows(20);
    rows[0] = {"01-23-45-67-89-AB", true, true};
    rows[1] = {"FF-FF-FF-FF-12-AB", true, false};
    rows[2] = {"FF-FF-FF-FF-FF-3C", true, false};
    rows[5] = {"0A-0B-0C-0D-0E-0F", false, true};
    rows[18] = {"11-22-33-44-55-66", true, false};
    return rows;
}
// The statuses the window showed, as "type:ok".
QStringList Statuses(const QSignalSpy& spy) {
    QStringList out;
    for (const auto& args : spy)
        out << QStringLiteral("%1:%2").arg(args.at(0).toInt()).arg(args.at(1).toBool());
    return out;
}
void SelectRow(const KeysOptions* window, int row) {
    auto* view = Child<QTableView>(window, "tvCurKeys");
    view->setCurrentIndex(view->model()->index(row, 0));
}
} // namespace

class TestKeys : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { kwlink::SetLinkTimeScale(0.25); }
    void init();
    void cleanup() {
        keys = nullptr;
        fx.reset();
    }

    void editor_data();
    void editor();
    void fileFaults_data();
    void fileFaults();
    void deletionJudge_data();
    void deletionJudge();

    void readsTheTable_data();
    void readsTheTable();
    void refusesDamagedTables();
    void writesOneSlot_data();
    void writesOneSlot();
    void deletes();
    void followsTheMasterMenu();
    void savesLoadsAndWritesTickedRows_data();
    void savesLoadsAndWritesTickedRows();

private:
    // The main window on a device of the model with `rows` in its table.
    bool start(uchar model, const Rows& rows = DeviceRows()) {
        fx = std::make_unique<DeviceFixture>();
        if (!fx->open())
            return false;
        keys = fx->main->keysOptions();
        fx->sim.SetKeyRows(rows);
        return fx->connect(model, QDate(2012, 4, 19), 1);
    }
    // The key window opened through its action, with `inside` run in it
    // once it shows the device's table.
    template <class Inside> void runKeys(Inside inside) {
        InsideModal(
            keys, [this] { fx->action("actKeysOptions")->trigger(); },
            [this, inside] {
                QVERIFY(waitForTable(DeviceRows()));
                inside();
            });
    }
    // Opens the editor on `row` with `inside` run in it.
    template <class Inside> void runEditor(int row, Inside inside) {
        SelectRow(keys, row);
        InsideModal(
            keys->editor(), [this] { Child<QPushButton>(keys, "pbChangeKey")->click(); }, inside);
    }
    QString cells(int row) const {
        QStringList out;
        for (int c = 0; c < 4; ++c)
            out << keys->keyModel()->index(row, c).data().toString();
        return out.join('|');
    }
    bool shows(const Rows& rows) const {
        for (int r = 0; r < 20; ++r) {
            if (keys->keyModel()->keyText[r] != rows[r].key ||
                keys->keyModel()->present[r] != rows[r].present ||
                (r < 18 && keys->keyModel()->gbr[r] != rows[r].gbr))
                return false;
        }
        return true;
    }
    bool waitForTable(const Rows& rows) const {
        return QTest::qWaitFor([&] { return shows(rows); }, kWaitMs);
    }
    bool waitForDevice(const Rows& rows) const {
        return QTest::qWaitFor([&] { return fx->sim.KeyRows() == rows; }, kWaitMs);
    }
    QList<QByteArray> answers() const {
        QList<QByteArray> out;
        for (const auto& a : fx->sim.TestAnswers())
            out << a.bytes.toHex();
        return out;
    }

    DeviceSettings settings; // of the parts on their own
    std::unique_ptr<DeviceFixture> fx;
    KeysOptions* keys = nullptr;
};

void TestKeys::init() {
    settings = DeviceSettings();
    SetDefaultSettings(&settings, false);
    g_deviceSettings = &settings;
}

void TestKeys::editor_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("autonomous");
    QTest::addColumn<int>("row");
    QTest::addColumn<QByteArray>("text"); // of row 0; row 3 holds a key with ГБР
    // Title, caption, mask, value, and R(adio buttons), G(БР box shown), T(icked).
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QString>("typed");        // after the first switch
    QTest::addColumn<QStringList>("switched"); // values after each switch
    const QString keyMask = QStringLiteral(">HH-HH-HH-HH-HH-HH;F");
    const QString edit = QStringLiteral("Редактирование ключа/пароля ");
    auto row = [](const char* name, int type, bool autonomous, int row, const char* text,
                  const QStringList& shown, const char* typed, const QStringList& switched) {
        QTest::newRow(name) << type << autonomous << row << QByteArray(text) << shown
                            << QString(typed) << switched;
    };
    row("master key 1", 0, false, 18, "FF-FF-FF-FF-12-AB",
        {"Редактирование мастер-ключа 1", "ID ключа", keyMask, "FF-FF-FF-FF-FF-FF", ""}, "", {});
    row("key with ГБР", 1, false, 3, "FF-FF-FF-FF-12-AB",
        {edit + "4", "ID ключа", keyMask, "01-02-03-04-05-06", "RGT"}, "", {});
    row("type 0, F digits kept", 0, false, 0, "FF-FF-FF-FF-1F-2F",
        {edit + "1", "Пароль", ">HHHH;F", "1F2F", "R"}, "", {"FF-FF-FF-FF-1F-2F"});
    row("type 2 key to password and back", 2, false, 0, "01-02-03-04-05-06",
        {edit + "1", "ID ключа", keyMask, "01-02-03-04-05-06", "RG"}, "a",
        {"06", "01-02-03-04-05-AF"});
}

// The editor opened on a row as the key window opens it; switching between
// key and password keeps what the other form can show.
void TestKeys::editor() {
    QFETCH(int, row);
    QFETCH(QByteArray, text);
    QFETCH(QString, typed);
    QFETCH(QStringList, switched);
    QFETCH(int, type);
    QFETCH(bool, autonomous);
    settings.header->deviceType = type;
    settings.header->workMode = autonomous ? MODE_AUTONOMOUS : MODE_SYSTEM;
    keys::KeyTable t;
    t.key.fill(keys::kErasedKey);
    t.key[0] = text;
    t.key[3] = "01-02-03-04-05-06";
    t.present[0] = t.present[3] = t.gbr[3] = true;
    KeyTestTable model(kKeySlots, 4);
    model.SetTable(t);
    EditKey editor;
    const bool key = row >= kOrdinaryKeys || model.isKey[row];
    QStringList shown, seen;
    InsideModal(
        &editor, [&] { editor.ExecWin(model.index(row, 0), key); },
        [&] {
            auto* value = Child<QLineEdit>(&editor, "leIDKey");
            auto* gbr = Child<QCheckBox>(&editor, "cbGBR");
            shown << editor.windowTitle() << Child<QLabel>(&editor, "lKeyPass")->text()
                  << value->inputMask() << value->displayText()
                  << QString(Child<QRadioButton>(&editor, "rbKey")->isVisible() ? "R" : "") +
                         (gbr->isVisible() ? "G" : "") + (gbr->isChecked() ? "T" : "");
            if (switched.isEmpty())
                return;
            Child<QRadioButton>(&editor, key ? "rbPass" : "rbKey")->click();
            seen << value->displayText();
            if (typed.isEmpty())
                return;
            value->clear();
            QTest::keyClicks(value, typed);
            Child<QRadioButton>(&editor, key ? "rbKey" : "rbPass")->click();
            seen << value->displayText();
            QCOMPARE(editor.keyMode, key);
        });
    QTEST(shown, "shown");
    QCOMPARE(seen, switched);
}

void TestKeys::fileFaults_data() {
    QTest::addColumn<bool>("save");
    QTest::addColumn<QString>("name");       // in "folder" the file is made first
    QTest::addColumn<QByteArray>("content"); // of the file
    QTest::addColumn<QString>("message");
    KeyCodes erased;
    erased.key.fill(keys::kErasedKey);
    const QByteArray empty = keys::KeyTableFileText(erased);
    QCOMPARE(empty.size(), 692);
    const QList<QByteArray> lines = empty.split('\n');
    auto with = [&](int line, const char* text) {
        QList<QByteArray> l = lines;
        l[line - 1] = text;
        return l.join('\n');
    };
    const QString in = QStringLiteral("folder/keys.txt"), none = QStringLiteral("missing/keys.txt");
    auto row = [](const char* name, bool save, const QString& file, const QByteArray& content,
                  const char* message) {
        QTest::newRow(name) << save << file << content << QString(message);
    };
    row("load: no file", false, none, {}, "прочитать");
    row("load: damaged", false, in, QByteArray(700, 'x'), "строке 1");
    row("load: 16-character key", false, in, with(3, "FF-FF-FF-FF-FF-F"), "строке 3");
    row("load: 57 lines", false, in, lines.mid(0, 57).join('\n'), "строке 58");
    row("save: read-only folder", true, in, "old content", "записать");
}

// A message, the loading table never opens, the file and the settings stay.
void TestKeys::fileFaults() {
    QFETCH(bool, save);
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    TempWorkDir dir;
    ScriptedPrompt prompt;
    KeysOptions window;
    settings.keys->key[0] = "12-34-56-78-9A-BC";
    QDir().mkdir("folder");
    const QString path = dir.filePath(name);
    if (name.startsWith("folder"))
        QVERIFY(WriteAll(path, content));
    struct Writable { // so the folder can be removed afterwards
        QString path;
        ~Writable() {
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
    } writable{dir.filePath("folder")};
    if (save && !content.isEmpty())
        QFile::setPermissions(writable.path, QFile::ReadOwner | QFile::ExeOwner);
    WithoutPermissionOverride bound;
    if (save && !content.isEmpty() && WithoutPermissionOverride::canCreateIn(writable.path))
        QSKIP("folder permissions do not bind here");
    prompt.files << path;
    bool opened = false;
    QTimer::singleShot(100, window.loadDialog(), [&] {
        opened = window.loadDialog()->isVisible();
        window.loadDialog()->close();
    });
    save ? window.SaveTableClicked() : window.LoadTableClicked();
    QFETCH(QString, message);
    QCOMPARE(prompt.count(message), 1);
    QVERIFY(!opened);
    QCOMPARE(ReadAll(path), content);
    QCOMPARE(settings.keys->key[0], QByteArray("12-34-56-78-9A-BC"));
}

void TestKeys::deletionJudge_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<Ints>("keyNumbers"); // of the following test packets
    QTest::addColumn<Ints>("commands");
    QTest::addColumn<QStringList>("statuses");
    QTest::addColumn<bool>("leave"); // the window is left before the packets
    QTest::newRow("22 at once") << 18 << Ints{22, 5} << Ints{8} << QStringList{"2:1"} << false;
    QTest::newRow("master key 2") << 19 << Ints{5, 5} << Ints{9} << QStringList{"2:0"} << false;
    QTest::newRow("no current row") << -1 << Ints{5, 21} << Ints{} << QStringList{} << false;
    // The port went while the deletion waited: a later opening's packets,
    // which may name no key (21), judge nothing.
    QTest::newRow("left before the outcome")
        << 0 << Ints{21} << Ints{43, 1} << QStringList{} << true;
}

// The packet right after a delete command may still name a key; the next
// one names 21 or 22 when the row was deleted.
void TestKeys::deletionJudge() {
    QFETCH(int, row);
    QFETCH(Ints, keyNumbers);
    KeysOptions window;
    SelectRow(&window, row);
    QSignalSpy commands(&window, &KeysOptions::SigSetTestCommand);
    QSignalSpy status(&window, &KeysOptions::SigShowStatus);
    window.DelKey();
    QFETCH(bool, leave);
    if (leave)
        window.CancelClick();
    for (int k : keyNumbers)
        window.ReceptMiniKeyPack(QByteArray(1, char(k)) + '\0');
    window.ReceptMiniKeyPack("\x05"); // too short: ignored
    QTEST(IntArgs(commands), "commands");
    QTEST(Statuses(status), "statuses");
}

void TestKeys::readsTheTable_data() {
    QTest::addColumn<uchar>("model");
    QTest::addColumn<bool>("autonomous");
    QTest::addColumn<QString>("leave");
    QTest::addColumn<QStringList>("passwords"); // rows 1 and 2
    const QStringList first{"|12AB|Пароль|-", "|FF3C|Пароль|-"};
    QTest::newRow("type 1, system, button") << kModelType1 << false << "button" << first;
    QTest::newRow("type 0, system, Escape") << kModelType0 << false << "escape" << first;
    QTest::newRow("type 2, autonomous, frame")
        << kModelType2 << true << "frame"
        << QStringList{"|FF-FF-FF-FF-12-AB|Ключ TM|Нет", "|3C|Пароль|-"};
}

// Test mode, the table request and its acknowledgement; the cells, the ГБР
// column by work mode and KeyCodes; 124 once on the first "L" packet and 125
// once however the window is left.
void TestKeys::readsTheTable() {
    QFETCH(uchar, model);
    QFETCH(bool, autonomous);
    QFETCH(QString, leave);
    QVERIFY(start(model));
    g_deviceSettings->zones->eepromKeyName[0] = QStringLiteral("Door");
    fx->widget<QRadioButton>("RbRegAuto")->click();
    if (!autonomous)
        fx->widget<QRadioButton>("RbRegKsar")->click();
    const int from = fx->rows();
    runKeys([&] {
        QVERIFY(fx->waitForCode(124, from));
        QCOMPARE(cells(0), QStringLiteral("Door|01-23-45-67-89-AB|Ключ TM|Да"));
        QTEST((QStringList{cells(1), cells(2)}), "passwords");
        QCOMPARE(cells(5), QStringLiteral("|0A-0B-0C-0D-0E-0F|Нет|Да"));
        QCOMPARE(cells(18), QStringLiteral("Мастер-ключ 1|11-22-33-44-55-66|Ключ TM|-"));
        QCOMPARE(cells(19), QStringLiteral("Мастер-ключ 2|FF-FF-FF-FF-FF-FF|Нет|-"));
        QCOMPARE(Child<QTableView>(keys, "tvCurKeys")->isColumnHidden(3), autonomous);
        QCOMPARE(keys->width(), autonomous ? 570 : 657);
        const KeyCodes& codes = *g_deviceSettings->keys;
        for (int r = 0; r < 20; ++r) {
            QCOMPARE(codes.key[r], DeviceRows()[r].key);
            QCOMPARE(bool(codes.keyActive[r]), DeviceRows()[r].present);
            QCOMPARE(r < 18 && codes.rapidResponseKey[r], DeviceRows()[r].gbr);
        }
        if (leave == "button")
            Child<QPushButton>(keys, "pbCancel")->click();
        else if (leave == "escape")
            QTest::keyClick(keys, Qt::Key_Escape);
        else
            keys->close();
    });
    QVERIFY(!keys->isVisible());
    QVERIFY(fx->sim.Received().toHex().contains("d700"));
    // The table is the first thing asked for; the device's first packet may
    // come before the request is queued and is then only acknowledged.
    QList<QByteArray> asked = answers();
    while (asked.value(0) == "da00")
        asked.removeFirst();
    QCOMPARE(asked.value(0), QByteArray("2e00"));
    QVERIFY(QTest::qWaitFor([&] { return fx->sim.KeyTableAcks() >= 1; }, kWaitMs));
    QVERIFY(fx->waitForCode(125, from));
    QVERIFY(QTest::qWaitFor([&] { return answers().contains("ad00"); }, kWaitMs));
    QCOMPARE(fx->codes(from).count(124), 1);
    QCOMPARE(fx->codes(from).count(125), 1);
    // The hidden test window saw every packet and, not being active, logged
    // nothing.
    QVERIFY(!fx->codes(from).contains(122));
}

// A wrong check byte or a payload of another length: "Ошибка приёма данных!"
// and nothing changes; the same after the time-out of an unanswered request.
void TestKeys::refusesDamagedTables() {
    QVERIFY(start(kModelType1));
    QSignalSpy status(keys, &KeysOptions::SigShowStatus);
    runKeys([&] {
        Rows changed = DeviceRows();
        changed[3] = {"33-33-33-33-33-33", true, false};
        fx->sim.SetKeyRows(changed);
        fx->sim.ArmFault(SimDevice::Fault::BadKeyCheck);
        status.clear();
        Child<QPushButton>(keys, "pbZapros")->click();
        // Once on arrival, once more when the request times out.
        QVERIFY(QTest::qWaitFor([&] { return status.size() >= 2; }, kWaitMs));
        QCOMPARE(Child<QLabel>(keys, "lStatus")->text(), QStringLiteral("Ошибка приёма данных!"));
        const QByteArray good = SimDevice::KeyTableBlock(SimDevice::KeyTableBody(changed));
        keys->ReceptKeysPack(good.left(255));
        keys->ReceptKeysPack(good + 'A');
        fx->sim.SetSilent(true);
        Child<QPushButton>(keys, "pbZapros")->click();
        QVERIFY(QTest::qWaitFor([&] { return status.size() >= 5; }, kWaitMs));
        QCOMPARE(Statuses(status), QStringList(5, "0:0"));
        QVERIFY(shows(DeviceRows()));
        QCOMPARE(g_deviceSettings->keys->key[3], keys::kErasedKey);
    });
}

void TestKeys::writesOneSlot_data() {
    QTest::addColumn<uchar>("model");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("password");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("gbr");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("late"); // then a late confirmation and a failed write
    QTest::newRow("key with ГБР") << kModelType1 << 5 << false << "1a2b3c4d5e6f" << true
                                  << QByteArray("1A-2B-3C-4D-5E-6F") << "1A-2B-3C-4D-5E-6F"
                                  << false;
    QTest::newRow("first-family password in place of a key")
        << kModelType1 << 0 << true << "12ab" << false << QByteArray("FF-FF-FF-FF-12-AB") << "12AB"
        << true;
    QTest::newRow("second-family password") << kModelType2 << 2 << true << "c5" << false
                                            << QByteArray("FF-FF-FF-FF-FF-C5") << "C5" << false;
}

// 2F 00, then exactly the key pack with the other slots as last read; the
// editor closes on the confirmation and the table is read again. A
// confirmation that comes too late never counts for the next write.
void TestKeys::writesOneSlot() {
    QFETCH(uchar, model);
    QFETCH(int, row);
    QFETCH(QString, typed);
    QFETCH(bool, gbr);
    QFETCH(bool, password);
    QFETCH(QByteArray, stored);
    QVERIFY(start(model));
    fx->widget<QRadioButton>("RbRegKsar")->click();
    QSignalSpy status(keys, &KeysOptions::SigShowStatus);
    EditKey* editor = keys->editor();
    runKeys([&] {
        runEditor(row, [&] {
            if (password)
                Child<QRadioButton>(editor, "rbPass")->click();
            auto* value = Child<QLineEdit>(editor, "leIDKey");
            value->selectAll();
            QTest::keyClicks(value, typed);
            Child<QCheckBox>(editor, "cbGBR")->setChecked(gbr);
            Child<QPushButton>(editor, "pbWrite")->click();
            QVERIFY(QTest::qWaitFor([&] { return !editor->isVisible(); }, kWaitMs));
        });
        QVERIFY(Statuses(status).contains("1:1"));
        QCOMPARE(Child<QLabel>(keys, "lWrStatus")->text(),
                 QStringLiteral("Запись данных успешна!"));
        Rows expected = DeviceRows();
        expected[row] = {stored, true, gbr};
        QVERIFY(waitForDevice(expected));
        QCOMPARE(fx->sim.KeyPacks().size(), 1);
        QVERIFY(answers().contains("2f00"));
        QVERIFY(waitForTable(expected));
        QTEST(cells(row).section('|', 1, 1), "shown");
        QFETCH(bool, late);
        if (!late)
            return;
        QSignalSpy confirmed(fx->main->portWork(), &PortWork::SigKeysProgramOk);
        auto waitFor = [&](const char* s) {
            return QTest::qWaitFor([&] { return Statuses(status).contains(s); }, kWaitMs);
        };
        runEditor(0, [&] {
            auto* write = Child<QPushButton>(editor, "pbWrite");
            const int lateMs = 2 * kwlink::ScaledMs(KeysOptions::kWriteTimeoutMs);
            fx->sim.ArmFault(SimDevice::Fault::LateKeyConfirm, 1, lateMs);
            status.clear();
            write->click();
            QVERIFY(waitFor("1:0"));
            QCOMPARE(Child<QLabel>(keys, "lWrStatus")->text(),
                     QStringLiteral("Ошибка записи данных!"));
            auto* error = Child<QLabel>(editor, "lWrStatus");
            QVERIFY(error->isVisible() && !error->isEnabled());
            // The confirmation comes after all, and the table is read again.
            QVERIFY(QTest::qWaitFor([&] { return !confirmed.isEmpty(); }, kWaitMs));
            QVERIFY(waitFor("0:1"));
            fx->sim.ArmFault(SimDevice::Fault::NoKeyConfirm);
            status.clear();
            write->click();
            QVERIFY(QTest::qWaitFor([&] { return !status.isEmpty(); }, kWaitMs));
            QCOMPARE(Statuses(status), QStringList{"1:0"});
            QVERIFY(editor->isVisible());
        });
    });
}

// The bytes the device receives, its verdict by the key numbers, and the
// table read again by the link; each step starts from the table the last one
// left.
void TestKeys::deletes() {
    QVERIFY(start(kModelType1));
    QSignalSpy status(keys, &KeysOptions::SigShowStatus);
    const struct {
        const char* button;
        int row;
        bool refused;
        QList<QByteArray> sent;
        Ints erased;
    } steps[] = {{"pbDelKey", 0, true, {"0100"}, {}},
                 {"pbDelKey", 2, false, {"0300"}, {2}},
                 {"pbDelKey", 18, false, {"2c00"}, {18}},
                 {"pbDelNoMasterKeys", -1, false, {"2b00"}, {0, 1, 5}},
                 {"pbDelAllKeys", -1, false, {"2b00", "2c00", "2d00"}, {}}};
    runKeys([&] {
        Rows expected = DeviceRows();
        for (const auto& step : steps) {
            SelectRow(keys, step.row);
            if (step.refused)
                fx->sim.ArmFault(SimDevice::Fault::NoDeleteConfirm);
            const int before = int(fx->sim.TestAnswers().size());
            status.clear();
            keys->findChild<QPushButton*>(step.button)->click();
            QVERIFY(
                QTest::qWaitFor([&] { return !Statuses(status).filter("2:").isEmpty(); }, kWaitMs));
            QCOMPARE(Statuses(status).filter("2:"), QStringList{step.refused ? "2:0" : "2:1"});
            QCOMPARE(Child<QLabel>(keys, "lDelStatus")->text(),
                     step.refused ? QStringLiteral("Ошибка удаления!")
                                  : QStringLiteral("Удаление успешно!"));
            for (int r : step.erased)
                expected[r] = SimDevice::KeyRow();
            QVERIFY(QTest::qWaitFor(
                [&] {
                    const QList<QByteArray> after = answers().mid(before);
                    const int at = int(after.indexOf(step.sent.first()));
                    return at >= 0 && after.mid(at, step.sent.size() + 1) ==
                                          step.sent + QList<QByteArray>{"2e00"};
                },
                kWaitMs));
            QVERIFY(waitForTable(expected));
        }
    });
}

// Menu texts, LED and LCD states, a re-read on leaving the menu, and the
// touch rule: inside the menu a touch reads the table again unless it is a
// master key the table holds.
void TestKeys::followsTheMasterMenu() {
    QVERIFY(start(kModelType1));
    QSignalSpy commands(keys, &KeysOptions::SigSetTestCommand);
    auto show = [&](uchar key, uchar menu) {
        fx->sim.SetTestPackets({"K012345678901M", SimDevice::LPacket(key, menu)});
        const int until = fx->sim.TestPacketsSent() + 6;
        if (!QTest::qWaitFor([&] { return fx->sim.TestPacketsSent() >= until; }, kWaitMs))
            return false;
        // The link passed each packet on before answering it, so every one
        // but the last is on its way to the window: let it arrive.
        QCoreApplication::processEvents();
        return true;
    };
    auto reads = [&] { return IntArgs(commands).count(6); };
    auto* regim = Child<QLabel>(keys, "lRegim");
    auto leds = [&] {
        return QString::number(Child<QLCDNumber>(keys, "lcdRegim")->intValue()) +
               (Child<QWidget>(keys, "wLedMaster")->isEnabled() ? "M" : "") +
               (Child<QWidget>(keys, "wLedKas")->isEnabled() ? "K" : "") +
               (regim->isEnabled() ? "R" : "");
    };
    runKeys([&] {
        QVERIFY(show(0, 0x13));
        QCOMPARE(regim->text(), QStringLiteral("Мастер-меню: 3 - Стирание всех ключей"));
        QCOMPARE(leds(), "3MR");
        QVERIFY(show(0, 0x1A));
        QCOMPARE(regim->text(), QStringLiteral("Мастер-меню активно"));
        commands.clear();
        QVERIFY(show(19, 0x30)); // master key 1, which the table holds
        QCOMPARE(Child<QLCDNumber>(keys, "lcdNumKey")->intValue(), 19);
        QCOMPARE(leds(), "0MKR");
        QCOMPARE(reads(), 0);
        QVERIFY(show(20, 0x30)); // master key 2 is not in the table
        QVERIFY(reads() >= 2);
        QVERIFY(show(20, 0x10));
        commands.clear();
        QVERIFY(show(7, 0x00)); // the menu closes: one more read
        QCOMPARE(reads(), 1);
        QCOMPARE(regim->text(), QString());
        QCOMPARE(leds(), "0");
    });
}

void TestKeys::savesLoadsAndWritesTickedRows_data() {
    QTest::addColumn<QByteArray>("lineEnd");
    QTest::newRow("CR LF") << QByteArray("\r\n");
    QTest::newRow("LF") << QByteArray("\n");
}

void TestKeys::savesLoadsAndWritesTickedRows() {
    QFETCH(QByteArray, lineEnd);
    QVERIFY(start(kModelType1));
    const QString saved = fx->shell.file("keys.txt");
    const QString edited = fx->shell.file("edited.txt");
    KeysLoadDialog* load = keys->loadDialog();
    runKeys([&] {
        fx->prompt.files << saved;
        Child<QToolButton>(keys, "tbSave")->click();
        const QByteArray text = ReadAll(saved);
        QList<QByteArray> lines = text.split('\n');
        QCOMPARE(lines.size(), 60);
        for (int r = 0; r < 20; ++r) {
            QCOMPARE(lines[r], DeviceRows()[r].key + "\r");
            QCOMPARE(lines[20 + r], QByteArray(DeviceRows()[r].present ? "да\r" : "нет\r"));
        }
        QCOMPARE(lines[40], QByteArray("да\r"));
        QCOMPARE(lines.mid(58), (QList<QByteArray>{"---\r", "---"}));

        // Row 4 gets a new key, present ("Да" counts); row 1 becomes absent.
        for (QByteArray& line : lines)
            line.chop(line.endsWith('\r') ? 1 : 0);
        lines[3] = "44-33-22-11-00-FF";
        lines[23] = "Да";
        lines[20] = "нет";
        lines[18] = "99-99-99-99-99-99";
        QVERIFY(WriteAll(edited, lines.join(lineEnd)));
        fx->prompt.files << edited;
        InsideModal(
            load, [&] { Child<QToolButton>(keys, "tbLoad")->click(); },
            [&] {
                QCOMPARE(Child<QLineEdit>(load, "leKeyId_4")->displayText(),
                         QStringLiteral("44-33-22-11-00-FF"));
                QCOMPARE(Child<QLabel>(load, "lNalText_4")->text(), QStringLiteral("Да"));
                QVERIFY(Child<QCheckBox>(load, "cbWrite_4")->isChecked());
                QVERIFY(Child<QCheckBox>(load, "cbWrite_19")->isChecked());
                QVERIFY(!Child<QCheckBox>(load, "cbWrite_1")->isChecked());
                // Row 1 is written as absent; master key 1 is left out.
                Child<QCheckBox>(load, "cbWrite_1")->setChecked(true);
                Child<QCheckBox>(load, "cbWrite_19")->setChecked(false);
                Child<QPushButton>(load, "pbWrite")->click();
                QVERIFY(QTest::qWaitFor([&] { return !load->isVisible(); }, kWaitMs));
            });
        Rows expected = DeviceRows();
        expected[3] = {"44-33-22-11-00-FF", true, false};
        expected[0].present = false;
        QVERIFY(waitForDevice(expected));
        QVERIFY(waitForTable(expected));
    });
}

QTEST_MAIN(TestKeys)
#include "tst_keys.moc"
