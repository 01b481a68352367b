// The key window against the simulated device, through the main window, the
// link and a pseudo-terminal: reading the table, the master-key menu and key
// touches, deleting, writing one slot, and writing the ticked rows of a table
// loaded from a file. Modal windows are driven from inside their loops.

#include "app/DeviceFixture.h"

#include "keys/EditKey.h"
#include "keys/KeyTestTable.h"
#include "keys/KeysLoadDialog.h"
#include "keys/KeysOptions.h"
#include "link/LinkTiming.h"
#include "support/Files.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLCDNumber>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTimer>
#include <QToolButton>

namespace {
using Rows = QList<SimDevice::KeyRow>;
constexpr double kTimeScale = 0.25;
constexpr int kWaitMs = 5000;
const QDate kFirmware(2012, 4, 19);
// Model codes the device announces: types 0, 1 and 2 with this firmware.
constexpr uchar kModelType0 = 1;
constexpr uchar kModelType1 = 3;
constexpr uchar kModelType2 = 4;
const QByteArray kErased = "FF-FF-FF-FF-FF-FF";

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

// Runs `open`, which runs `dialog` modally, and `inside` within its loop;
// whatever `inside` did, the dialog is closed before `open` returns.
template <class Open, class Inside> void InsideModal(QDialog* dialog, Open open, Inside inside) {
    QTimer::singleShot(0, dialog, [dialog, inside] {
        if (QTest::qWaitFor([dialog] { return dialog->isVisible(); }, kWaitMs))
            inside();
        if (dialog->isVisible())
            dialog->reject();
    });
    open();
}

// The statuses the window showed, as "type:ok".
QStringList Statuses(const QSignalSpy& spy) {
    QStringList out;
    for (const auto& args : spy)
        out << QStringLiteral("%1:%2").arg(args.at(0).toInt()).arg(args.at(1).toBool());
    return out;
}

int Count(const QList<int>& list, int value) {
    return int(std::count(list.begin(), list.end(), value));
}
} // namespace

class TestKeysWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { kwlink::SetLinkTimeScale(kTimeScale); }
    void init();
    void cleanup();

    void readsTheTable_data();
    void readsTheTable();
    void refusesDamagedTables();
    void writesOneSlot_data();
    void writesOneSlot();
    void lateConfirmationDoesNotCount();
    void deletes_data();
    void deletes();
    void followsTheMasterMenu();
    void savesLoadsAndWritesTickedRows_data();
    void savesLoadsAndWritesTickedRows();

private:
    template <class W> W* child(QWidget* in, const char* name) const {
        return in->findChild<W*>(QString::fromLatin1(name));
    }
    template <class W> W* child(const char* name) const { return child<W>(keys, name); }
    QString cell(int row, int column) const {
        return keys->keyModel()->index(row, column).data().toString();
    }
    // Connects a device of the model with `rows` in its table.
    bool connect(uchar model, const Rows& rows = DeviceRows()) {
        fx->sim.SetKeyRows(rows);
        return fx->connect(model, kFirmware, 1);
    }
    // The key window opened through its action, with `inside` run in it.
    template <class Inside> void runKeys(Inside inside) {
        InsideModal(
            keys, [this] { fx->action("actKeysOptions")->trigger(); }, inside);
    }
    // Opens the editor on `row` with `inside` run in it.
    template <class Inside> void runEditor(int row, Inside inside) {
        selectRow(row);
        InsideModal(
            keys->editor(), [this] { child<QPushButton>("pbChangeKey")->click(); }, inside);
    }
    void selectRow(int row) {
        auto* view = child<QTableView>("tvCurKeys");
        view->setCurrentIndex(view->model()->index(row, 0));
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
    // Lets the device send `packets` more test packets.
    bool morePackets(int packets) const {
        const int until = fx->sim.TestPacketsSent() + packets;
        return QTest::qWaitFor([&] { return fx->sim.TestPacketsSent() >= until; }, kWaitMs);
    }
    QList<QByteArray> answers() const {
        QList<QByteArray> out;
        for (const auto& a : fx->sim.TestAnswers())
            out << a.bytes.toHex();
        return out;
    }

    std::unique_ptr<DeviceFixture> fx;
    KeysOptions* keys = nullptr;
};

void TestKeysWindow::init() {
    fx = std::make_unique<DeviceFixture>();
    QVERIFY(fx->open());
    keys = fx->main->keysOptions();
}

void TestKeysWindow::cleanup() {
    keys = nullptr;
    fx.reset();
}

void TestKeysWindow::readsTheTable_data() {
    QTest::addColumn<uchar>("model");
    QTest::addColumn<bool>("autonomous");
    QTest::addColumn<QString>("leave");
    QTest::addColumn<QString>("row1");
    QTest::addColumn<QString>("row2");
    QTest::newRow("type 1, system, button") << kModelType1 << false << "button"
                                            << "12AB"
                                            << "FF3C";
    QTest::newRow("type 0, system, Escape") << kModelType0 << false << "escape"
                                            << "12AB"
                                            << "FF3C";
    QTest::newRow("type 2, autonomous, frame") << kModelType2 << true << "frame"
                                               << "FF-FF-FF-FF-12-AB"
                                               << "3C";
}

void TestKeysWindow::readsTheTable() {
    QFETCH(uchar, model);
    QFETCH(bool, autonomous);
    QFETCH(QString, leave);
    QVERIFY(connect(model));
    fx->widget<QRadioButton>("RbRegAuto")->click();
    if (!autonomous)
        fx->widget<QRadioButton>("RbRegKsar")->click();
    const int from = fx->rows();
    runKeys([&] {
        QVERIFY(waitForTable(DeviceRows()));
        QVERIFY(fx->waitForCode(124, from));
        QCOMPARE(cell(0, 1), QStringLiteral("01-23-45-67-89-AB"));
        QCOMPARE(cell(0, 3), QStringLiteral("Да"));
        QTEST(cell(1, 1), "row1");
        QTEST(cell(2, 1), "row2");
        QCOMPARE(cell(2, 2), QStringLiteral("Пароль"));
        QCOMPARE(cell(2, 3), QStringLiteral("-"));
        QCOMPARE(cell(5, 2), QStringLiteral("Нет"));
        QCOMPARE(cell(18, 0), QStringLiteral("Мастер-ключ 1"));
        QCOMPARE(cell(18, 1), QStringLiteral("11-22-33-44-55-66"));
        QCOMPARE(cell(18, 2), QStringLiteral("Ключ TM"));
        QCOMPARE(cell(19, 2), QStringLiteral("Нет"));
        QCOMPARE(child<QTableView>("tvCurKeys")->isColumnHidden(3), autonomous);
        QCOMPARE(keys->width(), autonomous ? 570 : 657);
        const KeyCodes& codes = *g_deviceSettings->keys;
        for (int r = 0; r < 20; ++r) {
            QCOMPARE(codes.key[r], DeviceRows()[r].key);
            QCOMPARE(bool(codes.keyActive[r]), DeviceRows()[r].present);
        }
        QCOMPARE(codes.rapidResponseKey[0], 1);
        QCOMPARE(codes.rapidResponseKey[1], 0);
        if (leave == "button")
            child<QPushButton>("pbCancel")->click();
        else if (leave == "escape")
            QTest::keyClick(keys, Qt::Key_Escape);
        else
            keys->close();
    });
    QVERIFY(!keys->isVisible());
    // Test mode, the table request and its acknowledgement, on the wire.
    const QByteArray wire = fx->sim.Received().toHex();
    QVERIFY(wire.contains("d700"));
    QCOMPARE(answers().value(0), QByteArray("2e00"));
    QVERIFY(fx->sim.KeyTableAcks() >= 1);
    QVERIFY(fx->waitForCode(125, from));
    QTest::qWait(100);
    QCOMPARE(Count(fx->codes(from), 124), 1);
    QCOMPARE(Count(fx->codes(from), 125), 1);
    QVERIFY(QTest::qWaitFor([&] { return answers().contains("ad00"); }, kWaitMs));
}

void TestKeysWindow::refusesDamagedTables() {
    QVERIFY(connect(kModelType1));
    QSignalSpy status(keys, &KeysOptions::SigShowStatus);
    runKeys([&] {
        QVERIFY(waitForTable(DeviceRows()));
        // The device's table has changed, but arrives damaged.
        Rows changed = DeviceRows();
        changed[3] = {"33-33-33-33-33-33", true, false};
        fx->sim.SetKeyRows(changed);
        fx->sim.ArmFault(SimDevice::Fault::BadKeyCheck);
        status.clear();
        child<QPushButton>("pbZapros")->click();
        // Once on arrival, once more when the request times out.
        QVERIFY(QTest::qWaitFor([&] { return status.size() >= 2; }, kWaitMs));
        QCOMPARE(Statuses(status), (QStringList{"0:0", "0:0"}));
        QCOMPARE(child<QLabel>("lStatus")->text(), QStringLiteral("Ошибка приёма данных!"));
        QVERIFY(shows(DeviceRows()));
        // A payload of another length changes nothing either.
        status.clear();
        const QByteArray good = SimDevice::KeyTableBlock(SimDevice::KeyTableBody(changed));
        keys->ReceptKeysPack(good.left(255));
        keys->ReceptKeysPack(good + 'A');
        QCOMPARE(Statuses(status), (QStringList{"0:0", "0:0"}));
        QVERIFY(shows(DeviceRows()));
        QCOMPARE(g_deviceSettings->keys->key[3], kErased);
        // No answer at all to the request.
        fx->sim.SetSilent(true);
        status.clear();
        child<QPushButton>("pbZapros")->click();
        QVERIFY(QTest::qWaitFor([&] { return !status.isEmpty(); }, kWaitMs));
        QCOMPARE(Statuses(status), QStringList{"0:0"});
        QVERIFY(shows(DeviceRows()));
    });
}

void TestKeysWindow::writesOneSlot_data() {
    QTest::addColumn<uchar>("model");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("password");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("gbr");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("key with ГБР") << kModelType1 << 5 << false << "1a2b3c4d5e6f" << true
                                  << QByteArray("1A-2B-3C-4D-5E-6F") << "1A-2B-3C-4D-5E-6F";
    QTest::newRow("first-family password in place of a key")
        << kModelType1 << 0 << true << "12ab" << false << QByteArray("FF-FF-FF-FF-12-AB") << "12AB";
    QTest::newRow("second-family password")
        << kModelType2 << 2 << true << "c5" << false << QByteArray("FF-FF-FF-FF-FF-C5") << "C5";
    QTest::newRow("master key 2") << kModelType0 << 19 << false << "abcdef012345" << false
                                  << QByteArray("AB-CD-EF-01-23-45") << "AB-CD-EF-01-23-45";
}

void TestKeysWindow::writesOneSlot() {
    QFETCH(uchar, model);
    QFETCH(int, row);
    QFETCH(bool, password);
    QFETCH(QString, typed);
    QFETCH(bool, gbr);
    QFETCH(QByteArray, stored);
    QFETCH(QString, shown);
    QVERIFY(connect(model));
    fx->widget<QRadioButton>("RbRegKsar")->click();
    QSignalSpy status(keys, &KeysOptions::SigShowStatus);
    EditKey* editor = keys->editor();
    runKeys([&] {
        QVERIFY(waitForTable(DeviceRows()));
        runEditor(row, [&] {
            if (password)
                child<QRadioButton>(editor, "rbPass")->click();
            auto* value = child<QLineEdit>(editor, "leIDKey");
            value->selectAll();
            QTest::keyClicks(value, typed);
            child<QCheckBox>(editor, "cbGBR")->setChecked(gbr);
            child<QPushButton>(editor, "pbWrite")->click();
            QVERIFY(QTest::qWaitFor([&] { return !editor->isVisible(); }, kWaitMs));
        });
        QVERIFY(Statuses(status).contains("1:1"));
        QCOMPARE(child<QLabel>("lWrStatus")->text(), QStringLiteral("Запись данных успешна!"));
        // The whole table went to the device, the other slots as last read.
        Rows expected = DeviceRows();
        expected[row] = {stored, true, gbr};
        QVERIFY(waitForDevice(expected));
        QCOMPARE(fx->sim.KeyPacks().size(), 1);
        QVERIFY(answers().contains("2f00"));
        // Read again after the write.
        QVERIFY(waitForTable(expected));
        QCOMPARE(cell(row, 1), shown);
    });
}

void TestKeysWindow::lateConfirmationDoesNotCount() {
    QVERIFY(connect(kModelType1));
    QSignalSpy status(keys, &KeysOptions::SigShowStatus);
    QSignalSpy confirmed(fx->main->portWork(), &PortWork::SigKeysProgramOk);
    EditKey* editor = keys->editor();
    runKeys([&] {
        QVERIFY(waitForTable(DeviceRows()));
        runEditor(0, [&] {
            auto* error = child<QLabel>(editor, "lWrStatus");
            auto* write = child<QPushButton>(editor, "pbWrite");
            const int lateMs = 2 * kwlink::ScaledMs(KeysOptions::kWriteTimeoutMs);
            fx->sim.ArmFault(SimDevice::Fault::LateKeyConfirm, 1, lateMs);
            status.clear();
            write->click();
            QVERIFY(QTest::qWaitFor([&] { return Statuses(status).contains("1:0"); }, kWaitMs));
            QCOMPARE(child<QLabel>("lWrStatus")->text(), QStringLiteral("Ошибка записи данных!"));
            QVERIFY(error->isVisible() && !error->isEnabled());
            QVERIFY(editor->isVisible());
            // The confirmation comes after all, and the table is read again.
            QVERIFY(QTest::qWaitFor([&] { return !confirmed.isEmpty(); }, kWaitMs));
            QVERIFY(QTest::qWaitFor([&] { return Statuses(status).contains("0:1"); }, kWaitMs));
            // The next write is never confirmed.
            fx->sim.ArmFault(SimDevice::Fault::NoKeyConfirm);
            status.clear();
            write->click();
            QVERIFY(QTest::qWaitFor([&] { return !status.isEmpty(); }, kWaitMs));
            QCOMPARE(Statuses(status), QStringList{"1:0"});
            QVERIFY(editor->isVisible());
        });
    });
}

void TestKeysWindow::deletes_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QList<QByteArray>>("sent");
    QTest::addColumn<QList<int>>("erased");
    const QList<int> ordinary{0, 1, 2, 5};
    QTest::newRow("one row") << "pbDelKey" << 2 << false << QList<QByteArray>{"0300"}
                             << QList<int>{2};
    QTest::newRow("master key 1") << "pbDelKey" << 18 << false << QList<QByteArray>{"2c00"}
                                  << QList<int>{18};
    QTest::newRow("all") << "pbDelAllKeys" << -1 << false
                         << QList<QByteArray>{"2b00", "2c00", "2d00"} << ordinary + QList{18};
    QTest::newRow("all but master keys")
        << "pbDelNoMasterKeys" << -1 << false << QList<QByteArray>{"2b00"} << ordinary;
    QTest::newRow("not confirmed")
        << "pbDelKey" << 0 << true << QList<QByteArray>{"0100"} << QList<int>{};
}

void TestKeysWindow::deletes() {
    QFETCH(QString, button);
    QFETCH(int, row);
    QFETCH(bool, refused);
    QFETCH(QList<QByteArray>, sent);
    QFETCH(QList<int>, erased);
    QVERIFY(connect(kModelType1));
    QSignalSpy status(keys, &KeysOptions::SigShowStatus);
    runKeys([&] {
        QVERIFY(waitForTable(DeviceRows()));
        if (row >= 0)
            selectRow(row);
        if (refused)
            fx->sim.ArmFault(SimDevice::Fault::NoDeleteConfirm);
        const int before = int(fx->sim.TestAnswers().size());
        status.clear();
        keys->findChild<QPushButton*>(button)->click();
        QVERIFY(
            QTest::qWaitFor([&] { return Statuses(status).filter("2:").size() == 1; }, kWaitMs));
        QCOMPARE(Statuses(status).filter("2:"), QStringList{refused ? "2:0" : "2:1"});
        QCOMPARE(child<QLabel>("lDelStatus")->text(), refused
                                                          ? QStringLiteral("Ошибка удаления!")
                                                          : QStringLiteral("Удаление успешно!"));
        Rows expected = DeviceRows();
        for (int r : erased)
            expected[r] = SimDevice::KeyRow();
        // The link reads the table again by itself.
        QVERIFY(waitForTable(expected));
        const QList<QByteArray> after = answers().mid(before);
        const int at = int(after.indexOf(sent.first()));
        QVERIFY(at >= 0);
        QCOMPARE(after.mid(at, sent.size()), sent);
        QCOMPARE(after.value(at + sent.size()), QByteArray("2e00"));
    });
}

void TestKeysWindow::followsTheMasterMenu() {
    QVERIFY(connect(kModelType1));
    QSignalSpy commands(keys, &KeysOptions::SigSetTestCommand);
    const QByteArray k("K012345678901M");
    auto show = [&](uchar key, uchar menu) {
        fx->sim.SetTestPackets({k, SimDevice::LPacket(key, menu)});
        return morePackets(6);
    };
    auto reads = [&] { return Count(IntArgs(commands), 6); };
    auto* regim = child<QLabel>("lRegim");
    runKeys([&] {
        QVERIFY(waitForTable(DeviceRows()));
        QVERIFY(show(0, 0x13));
        QCOMPARE(regim->text(), QStringLiteral("Мастер-меню: 3 - Стирание всех ключей"));
        QVERIFY(regim->isEnabled());
        QCOMPARE(child<QLCDNumber>("lcdRegim")->intValue(), 3);
        QVERIFY(child<QWidget>("wLedMaster")->isEnabled());
        QVERIFY(show(0, 0x1A));
        QCOMPARE(regim->text(), QStringLiteral("Мастер-меню активно"));
        // A touch of master key 1, which the table holds, inside the menu.
        commands.clear();
        QVERIFY(show(19, 0x30));
        QCOMPARE(child<QLCDNumber>("lcdNumKey")->intValue(), 19);
        QVERIFY(child<QWidget>("wLedKas")->isEnabled());
        QCOMPARE(reads(), 0);
        // Master key 2 is not in the table: every touch reads it again.
        QVERIFY(show(20, 0x30));
        QVERIFY(reads() >= 2);
        // The menu closes: one more read.
        QVERIFY(show(20, 0x10));
        commands.clear();
        QVERIFY(show(7, 0x00));
        QCOMPARE(reads(), 1);
        QCOMPARE(regim->text(), QString());
        QVERIFY(!regim->isEnabled());
        QVERIFY(!child<QWidget>("wLedMaster")->isEnabled());
        QVERIFY(!child<QWidget>("wLedKas")->isEnabled());
        QCOMPARE(child<QLCDNumber>("lcdRegim")->intValue(), 0);
    });
}

void TestKeysWindow::savesLoadsAndWritesTickedRows_data() {
    QTest::addColumn<QByteArray>("lineEnd");
    QTest::newRow("CR LF") << QByteArray("\r\n");
    QTest::newRow("LF") << QByteArray("\n");
}

void TestKeysWindow::savesLoadsAndWritesTickedRows() {
    QFETCH(QByteArray, lineEnd);
    QVERIFY(connect(kModelType1));
    const QString saved = fx->shell.file("keys.txt");
    const QString edited = fx->shell.file("edited.txt");
    KeysLoadDialog* load = keys->loadDialog();
    runKeys([&] {
        QVERIFY(waitForTable(DeviceRows()));
        fx->prompt.files << saved;
        child<QToolButton>("tbSave")->click();
        const QByteArray text = ReadAll(saved);
        QVERIFY(!text.endsWith('\n'));
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
            load, [&] { child<QToolButton>("tbLoad")->click(); },
            [&] {
                QCOMPARE(child<QLineEdit>(load, "leKeyId_4")->displayText(),
                         QStringLiteral("44-33-22-11-00-FF"));
                QCOMPARE(child<QLabel>(load, "lNalText_4")->text(), QStringLiteral("Да"));
                QVERIFY(child<QCheckBox>(load, "cbWrite_4")->isChecked());
                QVERIFY(child<QCheckBox>(load, "cbWrite_19")->isChecked());
                QVERIFY(!child<QCheckBox>(load, "cbWrite_1")->isChecked());
                QVERIFY(!child<QLabel>(load, "lWrStatus")->isVisible());
                // Row 1 is written as absent; master key 1 is left out.
                child<QCheckBox>(load, "cbWrite_1")->setChecked(true);
                child<QCheckBox>(load, "cbWrite_19")->setChecked(false);
                child<QPushButton>(load, "pbWrite")->click();
                QVERIFY(QTest::qWaitFor([&] { return !load->isVisible(); }, kWaitMs));
            });
        Rows expected = DeviceRows();
        expected[3] = {"44-33-22-11-00-FF", true, false};
        expected[0].present = false;
        QVERIFY(waitForDevice(expected));
        QVERIFY(waitForTable(expected));
    });
}

QTEST_MAIN(TestKeysWindow)
#include "tst_keyswindow.moc"
