// The parts of the key window on their own: the received table's layout and
// check byte, the table's cells by device family, the key table text file,
// the key editor's titles, masks and key/password switching, the loading
// table, the deletion judge and the file faults.

#include "app/DeviceFixture.h"

#include "keys/EditKey.h"
#include "keys/KeyTableRules.h"
#include "keys/KeyTestTable.h"
#include "keys/KeysLoadDialog.h"
#include "keys/KeysOptions.h"
#include "support/Files.h"
#include "support/ScriptedPrompt.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTimer>

using ByteEdits = QList<QPair<int, int>>; // offset, value
Q_DECLARE_METATYPE(ByteEdits)

namespace {
QByteArray ZeroTable(const ByteEdits& edits = {}) {
    QByteArray pack(keys::kPackLength, '\0');
    pack[0] = char(0xA4);
    for (const auto& e : edits)
        pack[e.first] = char(e.second);
    return pack;
}

QList<int> Set(const bool* flags, int n) {
    QList<int> rows;
    for (int r = 0; r < n; ++r) {
        if (flags[r])
            rows << r;
    }
    return rows;
}

// Runs `dialog` through `open` and `inside` within its loop, then closes it.
template <class Open, class Inside> void InsideModal(QDialog* dialog, Open open, Inside inside) {
    QTimer::singleShot(0, dialog, [=] {
        if (QTest::qWaitFor([=] { return dialog->isVisible(); }, 5000))
            inside();
        dialog->close();
    });
    open();
}
} // namespace

class TestKeyParts : public QObject {
    Q_OBJECT

private slots:
    void init();

    void decodesTables_data();
    void decodesTables();
    void checkByte_data();
    void checkByte();
    void cells_data();
    void cells();
    void fileRefused_data();
    void fileRefused();
    void fileFaults_data();
    void fileFaults();
    void editorOpens_data();
    void editorOpens();
    void editorSwitches_data();
    void editorSwitches();
    void loadingTable();
    void deletionJudge_data();
    void deletionJudge();

private:
    // A table model whose row 0 holds `text` and row 3 a key with ГБР.
    void fill(KeyTestTable& model, const QByteArray& text) {
        keys::KeyTable t;
        t.key.fill(keys::kErasedKey);
        t.key[0] = text;
        t.key[3] = "01-02-03-04-05-06";
        t.present[0] = t.present[3] = true;
        t.gbr[3] = true;
        model.SetTable(t);
    }

    DeviceSettings settings;
};

void TestKeyParts::init() {
    settings = DeviceSettings();
    SetDefaultSettings(&settings, false);
    g_deviceSettings = &settings;
}

void TestKeyParts::decodesTables_data() {
    QTest::addColumn<ByteEdits>("edits");
    QTest::addColumn<QByteArray>("slot0");
    QTest::addColumn<QList<int>>("present");
    QTest::addColumn<QList<int>>("gbr");
    ByteEdits digits, highNibbles;
    for (int k = 0; k < 12; ++k) {
        digits << qMakePair(1 + k, 1 + k);
        highNibbles << qMakePair(1 + k, 0xF1 + k);
    }
    const QByteArray reversed = "BC-9A-78-56-34-12";
    QTest::newRow("slot digits") << digits << reversed << QList<int>{} << QList<int>{};
    QTest::newRow("high nibbles") << highNibbles << reversed << QList<int>{} << QList<int>{};
    const QByteArray zero = "00-00-00-00-00-00";
    QTest::newRow("rows 4 and 6") << ByteEdits{{241, 0x05}} << zero << QList<int>{4, 6}
                                  << QList<int>{};
    QTest::newRow("rows 0 and 8") << ByteEdits{{242, 0x01}, {244, 0x01}} << zero << QList<int>{0, 8}
                                  << QList<int>{};
    QTest::newRow("master key 2") << ByteEdits{{246, 0x08}} << zero << QList<int>{19}
                                  << QList<int>{};
    QTest::newRow("ГБР 16, 17, 12")
        << ByteEdits{{252, 0x03}, {249, 0x01}} << zero << QList<int>{} << QList<int>{12, 16, 17};
    QTest::newRow("high bits and spare bytes")
        << ByteEdits{{241, 0xF0}, {247, 0xF0}, {245, 0xFF}, {251, 0xFF}, {253, 0xFF}, {254, 0xFF}}
        << zero << QList<int>{} << QList<int>{};
}

void TestKeyParts::decodesTables() {
    QFETCH(ByteEdits, edits);
    const keys::KeyTable t = keys::DecodeKeyTable(ZeroTable(edits));
    QTEST(t.key[0], "slot0");
    QTEST(Set(t.present.data(), kKeySlots), "present");
    QTEST(Set(t.gbr.data(), kOrdinaryKeys), "gbr");
}

void TestKeyParts::checkByte_data() {
    QTest::addColumn<QByteArray>("pack");
    QTest::addColumn<bool>("valid");
    // Bytes 0..254 XOR to A4 ^ byte 7; the check takes its low five bits.
    QTest::newRow("zero bits, A") << ZeroTable({{7, 0x04}, {255, 0x41}}) << true;
    QTest::newRow("bits 5, E") << ZeroTable({{7, 0x01}, {255, 0x45}}) << true;
    QTest::newRow("bits 5, A") << ZeroTable({{7, 0x01}, {255, 0x41}}) << false;
    QTest::newRow("zero bits, 0x40") << ZeroTable({{7, 0x04}, {255, 0x40}}) << false;
    QTest::newRow("short") << ZeroTable({{7, 0x04}, {255, 0x41}}).left(255) << false;
    QTest::newRow("long") << ZeroTable({{7, 0x04}, {255, 0x41}}) + 'A' << false;
}

void TestKeyParts::checkByte() {
    QFETCH(QByteArray, pack);
    QTEST(keys::KeyTableValid(pack), "valid");
}

void TestKeyParts::cells_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QStringList>("shown"); // columns 1..3 of row 0
    const QString key = QStringLiteral("Ключ TM");
    QTest::newRow("type 0 password")
        << 0 << QByteArray("FF-FF-FF-FF-12-AB") << QStringList{"12AB", "Пароль", "-"};
    QTest::newRow("type 1, zero bytes")
        << 1 << QByteArray("00-00-00-00-12-AB") << QStringList{"12AB", "Пароль", "-"};
    QTest::newRow("type 2 key") << 2 << QByteArray("FF-FF-FF-FF-12-AB")
                                << QStringList{"FF-FF-FF-FF-12-AB", key, "Нет"};
    QTest::newRow("type 3 password")
        << 3 << QByteArray("FF-FF-FF-FF-FF-3C") << QStringList{"3C", "Пароль", "-"};
}

void TestKeyParts::cells() {
    QFETCH(int, type);
    QFETCH(QByteArray, text);
    settings.header->deviceType = type;
    settings.zones->eepromKeyName[0] = QStringLiteral("Door");
    KeyTestTable model(kKeySlots, 4);
    fill(model, text);
    auto at = [&](int row, int column, int role = Qt::DisplayRole) {
        return model.index(row, column).data(role);
    };
    QTEST((QStringList{at(0, 1).toString(), at(0, 2).toString(), at(0, 3).toString()}), "shown");
    QCOMPARE(at(0, 0).toString(), QStringLiteral("Door"));
    QCOMPARE(at(0, 3, Qt::DecorationRole).isNull(), at(0, 3).toString() == "-");
    QCOMPARE(at(3, 3).toString(), QStringLiteral("Да"));
    QCOMPARE(at(4, 2).toString(), QStringLiteral("Нет"));
    QCOMPARE(at(19, 0).toString(), QStringLiteral("Мастер-ключ 2"));
    QCOMPARE(at(19, 1).toString(), QStringLiteral("FF-FF-FF-FF-FF-FF"));
    QCOMPARE(at(19, 3).toString(), QStringLiteral("-"));
    QCOMPARE(model.headerData(3, Qt::Horizontal).toString(), QStringLiteral("Признак ГБР"));
    QCOMPARE(model.headerData(19, Qt::Vertical).toInt(), 20);
}

void TestKeyParts::fileRefused_data() {
    QTest::addColumn<int>("line"); // 1-based line to replace, 0: none
    QTest::addColumn<QByteArray>("with");
    QTest::addColumn<int>("keep");    // lines kept
    QTest::addColumn<int>("badLine"); // 0: accepted
    QTest::newRow("16-character key") << 3 << QByteArray("FF-FF-FF-FF-FF-F") << 60 << 3;
    QTest::newRow("not hexadecimal") << 20 << QByteArray("FF-FF-FF-FF-FF-GG") << 60 << 20;
    QTest::newRow("no separators") << 1 << QByteArray("FFFFFFFFFFFFFFFFF") << 60 << 1;
    QTest::newRow("57 lines") << 0 << QByteArray() << 57 << 58;
    QTest::newRow("57 lines and a line end") << 58 << QByteArray() << 58 << 58;
    QTest::newRow("empty") << 0 << QByteArray() << 0 << 1;
    QTest::newRow("58 lines, \"Да\" present") << 58 << QByteArray("Да") << 58 << 0;
    QTest::newRow("lines after the 58th") << 60 << QByteArray("x\ny\n") << 60 << 0;
}

void TestKeyParts::fileRefused() {
    QFETCH(int, line);
    QFETCH(QByteArray, with);
    QFETCH(int, keep);
    settings.keys->key.fill(keys::kErasedKey);
    const QByteArray empty = keys::KeyTableFileText(*settings.keys);
    QCOMPARE(empty.size(), 692);
    QList<QByteArray> lines = empty.split('\n').mid(0, keep);
    if (line > 0)
        lines[line - 1] = with;
    keys::KeyTable t;
    int bad = 0;
    const bool ok = keys::ParseKeyTableFile(lines.join('\n'), &t, &bad);
    QTEST(ok ? 0 : bad, "badLine");
    if (ok)
        QCOMPARE(t.gbr[17], line == 58);
}

void TestKeyParts::fileFaults_data() {
    QTest::addColumn<bool>("save");
    QTest::addColumn<QByteArray>("content"); // of the file, empty: none
    QTest::addColumn<bool>("readOnlyFolder");
    QTest::addColumn<QString>("message");
    QTest::newRow("load: no file") << false << QByteArray() << false << "прочитать";
    QTest::newRow("load: damaged") << false << QByteArray(700, 'x') << false << "строке 1";
    QTest::newRow("save: no folder") << true << QByteArray() << false << "записать";
    QTest::newRow("save: read-only folder")
        << true << QByteArray("old content") << true << "записать";
}

void TestKeyParts::fileFaults() {
    QFETCH(bool, save);
    QFETCH(QByteArray, content);
    QFETCH(bool, readOnlyFolder);
    TempWorkDir dir;
    ScriptedPrompt prompt;
    KeysOptions window;
    settings.keys->key[0] = "12-34-56-78-9A-BC";
    QDir().mkdir("folder");
    const QString name = dir.filePath(content.isEmpty() ? "missing/keys.txt" : "folder/keys.txt");
    if (!content.isEmpty())
        QVERIFY(WriteAll(name, content));
    struct Writable { // so the folder can be removed afterwards
        QString path;
        ~Writable() {
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
    } writable{dir.filePath("folder")};
    if (readOnlyFolder)
        QFile::setPermissions(writable.path, QFile::ReadOwner | QFile::ExeOwner);
    WithoutPermissionOverride bound;
    if (readOnlyFolder && WithoutPermissionOverride::canCreateIn(dir.filePath("folder")))
        QSKIP("folder permissions do not bind here");
    prompt.files << name;
    bool opened = false;
    QTimer::singleShot(100, window.loadDialog(), [&] {
        opened = window.loadDialog()->isVisible();
        window.loadDialog()->close();
    });
    save ? window.SaveTableClicked() : window.LoadTableClicked();
    QFETCH(QString, message);
    QCOMPARE(prompt.count(message), 1);
    QVERIFY(!opened);
    QCOMPARE(ReadAll(name), content);
    QCOMPARE(settings.keys->key[0], QByteArray("12-34-56-78-9A-BC"));
}

void TestKeyParts::editorOpens_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("autonomous");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("key");
    QTest::addColumn<QStringList>("shown"); // title, caption, mask, value
    QTest::addColumn<bool>("radios");
    QTest::addColumn<bool>("gbrShown");
    QTest::addColumn<bool>("gbrTicked");
    const QString keyMask = QStringLiteral(">HH-HH-HH-HH-HH-HH;F");
    QTest::newRow("master key 1") << 0 << false << 18 << true
                                  << QStringList{"Редактирование мастер-ключа 1", "ID ключа",
                                                 keyMask, "FF-FF-FF-FF-FF-FF"}
                                  << false << false << false;
    QTest::newRow("key with ГБР") << 1 << false << 3 << true
                                  << QStringList{"Редактирование ключа/пароля 4", "ID ключа",
                                                 keyMask, "01-02-03-04-05-06"}
                                  << true << true << true;
    QTest::newRow("key, autonomous")
        << 1 << true << 3 << true
        << QStringList{"Редактирование ключа/пароля 4", "ID ключа", keyMask, "01-02-03-04-05-06"}
        << true << false << true;
    QTest::newRow("type 0 password")
        << 0 << false << 0 << false
        << QStringList{"Редактирование ключа/пароля 1", "Пароль", ">HHHH;F", "12AB"} << true
        << false << false;
    QTest::newRow("type 2 password")
        << 2 << false << 0 << false
        << QStringList{"Редактирование ключа/пароля 1", "Пароль", ">HH;F", "AB"} << true << false
        << false;
}

void TestKeyParts::editorOpens() {
    QFETCH(int, type);
    QFETCH(int, row);
    QFETCH(bool, key);
    QFETCH(bool, autonomous);
    settings.header->deviceType = type;
    settings.header->workMode = autonomous ? MODE_AUTONOMOUS : MODE_SYSTEM;
    KeyTestTable model(kKeySlots, 4);
    fill(model, type == 2 ? "FF-FF-FF-FF-FF-AB" : "FF-FF-FF-FF-12-AB");
    EditKey editor;
    InsideModal(
        &editor, [&] { editor.ExecWin(model.index(row, 0), key); },
        [&] {
            auto* value = editor.findChild<QLineEdit*>("leIDKey");
            QTEST((QStringList{editor.windowTitle(), editor.findChild<QLabel*>("lKeyPass")->text(),
                               value->inputMask(), value->displayText()}),
                  "shown");
            QTEST(editor.findChild<QRadioButton*>("rbKey")->isVisible(), "radios");
            auto* gbr = editor.findChild<QCheckBox*>("cbGBR");
            QTEST(gbr->isVisible(), "gbrShown");
            QTEST(gbr->isChecked(), "gbrTicked");
            QCOMPARE(editor.keyMode, key);
        });
}

void TestKeyParts::editorSwitches_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("text");   // row 0 of the table
    QTest::addColumn<QString>("typed");     // into the field after the first switch
    QTest::addColumn<QStringList>("shown"); // after each switch
    QTest::newRow("type 0 password to key")
        << 0 << QByteArray("FF-FF-FF-FF-12-AB") << "" << QStringList{"FF-FF-FF-FF-12-AB"};
    QTest::newRow("type 0, F digits kept")
        << 0 << QByteArray("FF-FF-FF-FF-1F-2F") << "" << QStringList{"FF-FF-FF-FF-1F-2F"};
    QTest::newRow("type 2 key to password and back")
        << 2 << QByteArray("01-02-03-04-05-06") << "a" << QStringList{"06", "01-02-03-04-05-AF"};
}

void TestKeyParts::editorSwitches() {
    QFETCH(QByteArray, text);
    QFETCH(QString, typed);
    QFETCH(int, type);
    settings.header->deviceType = type;
    KeyTestTable model(kKeySlots, 4);
    fill(model, text);
    EditKey editor;
    const bool key = model.isKey[0];
    QStringList shown;
    InsideModal(
        &editor, [&] { editor.ExecWin(model.index(0, 0), key); },
        [&] {
            auto* value = editor.findChild<QLineEdit*>("leIDKey");
            editor.findChild<QRadioButton*>(key ? "rbPass" : "rbKey")->click();
            shown << value->displayText();
            if (typed.isEmpty())
                return;
            value->clear();
            QTest::keyClicks(value, typed);
            editor.findChild<QRadioButton*>(key ? "rbKey" : "rbPass")->click();
            shown << value->displayText();
            QCOMPARE(editor.keyMode, key);
        });
    QTEST(shown, "shown");
}

void TestKeyParts::loadingTable() {
    KeysLoadDialog dialog;
    auto tick = [&](int n) {
        return dialog.findChild<QCheckBox*>(QStringLiteral("cbWrite_%1").arg(n));
    };
    auto text = [&](const char* name, int n) {
        return dialog.findChild<QLabel*>(QString::fromLatin1(name) + QString::number(n))->text();
    };
    QList<int> ticked;
    for (int n = 1; n <= kKeySlots; ++n) {
        QCOMPARE(text("lNalText_", n), QStringLiteral("Нет"));
        if (n <= kOrdinaryKeys)
            QCOMPARE(text("lGBRText_", n), QStringLiteral("Нет"));
    }
    QVERIFY(!dialog.findChild<QLabel*>("lGBRText_19") && !dialog.findChild<QLabel*>("lGBRFlag_20"));
    tick(6)->setChecked(true);
    dialog.present[0] = dialog.present[18] = true;
    dialog.gbr[0] = true;
    dialog.RefreshTable();
    for (int n = 1; n <= kKeySlots; ++n) {
        if (tick(n)->isChecked())
            ticked << n;
    }
    QCOMPARE(ticked, (QList<int>{1, 6, 19}));
    QCOMPARE(text("lNalText_", 19), QStringLiteral("Да"));
    QCOMPARE(text("lGBRText_", 1), QStringLiteral("Да"));
    QSignalSpy write(&dialog, &KeysLoadDialog::SigWriteTable);
    InsideModal(
        &dialog, [&] { dialog.exec(); },
        [&] { dialog.findChild<QPushButton*>("pbCancel")->click(); });
    QVERIFY(write.isEmpty());
}

void TestKeyParts::deletionJudge_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<QList<int>>("keyNumbers"); // of the following test packets
    QTest::addColumn<QList<int>>("commands");
    QTest::addColumn<QStringList>("statuses");
    QTest::newRow("5 then 21") << 0 << QList<int>{5, 21} << QList<int>{43} << QStringList{"1"};
    QTest::newRow("5 then 6") << 17 << QList<int>{5, 6} << QList<int>{60} << QStringList{"0"};
    QTest::newRow("22 at once") << 18 << QList<int>{22, 5} << QList<int>{8} << QStringList{"1"};
    QTest::newRow("master key 2") << 19 << QList<int>{5, 5} << QList<int>{9} << QStringList{"0"};
    QTest::newRow("no current row") << -1 << QList<int>{5, 21} << QList<int>{} << QStringList{};
}

void TestKeyParts::deletionJudge() {
    QFETCH(int, row);
    QFETCH(QList<int>, keyNumbers);
    KeysOptions window;
    auto* view = window.findChild<QTableView*>("tvCurKeys");
    view->setCurrentIndex(view->model()->index(row, 0));
    QSignalSpy commands(&window, &KeysOptions::SigSetTestCommand);
    QSignalSpy status(&window, &KeysOptions::SigShowStatus);
    window.DelKey();
    for (int k : keyNumbers)
        window.ReceptMiniKeyPack(QByteArray(1, char(k)) + '\0');
    window.ReceptMiniKeyPack("\x05"); // too short: ignored
    QTEST(IntArgs(commands), "commands");
    QStringList outcomes;
    for (const auto& args : status)
        outcomes << QString::number(args.at(1).toInt());
    QTEST(outcomes, "statuses");
}

QTEST_MAIN(TestKeyParts)
#include "tst_keyparts.moc"
