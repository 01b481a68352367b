#pragma once

// The main window wired to the simulated device over a pseudo-terminal, in a
// fresh working directory, with every prompt answered from a script.

#include "AppTestSupport.h"
#include "support/Files.h"

#include "app/EventTable.h"
#include "app/MainWindow.h"
#include "link/PortWork.h"
#include "link/dialogs/ChoosePort.h"
#include "sim/SimDevice.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDate>
#include <QFile>
#include <QSignalSpy>

#include <memory>

#include <linux/capability.h>
#include <sys/syscall.h>

class DeviceFixture {
public:
    // A generous bound for an exchange with the device: a loaded machine may
    // stall the device, the receive thread or the window for seconds.
    static constexpr int kSlowMs = 20000;

    // Files the window reads at start-up belong into shell.dir before open().
    DeviceFixture() { simStarted = sim.Start(); }
    ~DeviceFixture() {
        main.reset();
        sim.Stop();
    }

    // Builds the main window and points its port choice at the device; false
    // when the device did not start.
    bool open() {
        const int com = AddComPortPath(sim.SlavePath());
        main = std::make_unique<MainWindow>();
        auto* ports = main->choosePort()->findChild<QComboBox*>(QStringLiteral("cbPort"));
        ports->setCurrentIndex(com - 1);
        main->choosePort()->ApplyClick();
        return simStarted;
    }

    // Opens the port and lets the device greet and announce itself; true when
    // the window took the announcement (a supported model and version).
    bool connect(uchar model, const QDate& firmware, uchar build) {
        sim.SetIdentity(model, firmware, build);
        if (!main->portWork()->IsPortOpen())
            action("actOpenClosePort")->trigger();
        if (!main->portWork()->IsPortOpen())
            return false;
        QSignalSpy connected(main.get(), &MainWindow::SigDeviceWasConnect);
        const int before = rows();
        sim.SendGreeting();
        // The announcement ends in exactly one log row: 100, 212 or 213.
        return QTest::qWaitFor([&] { return rows() > before; }, kSlowMs) && !connected.isEmpty();
    }

    QAction* action(const char* name) const {
        return main->findChild<QAction*>(QString::fromLatin1(name));
    }
    template <class W> W* widget(const char* name) const {
        return main->findChild<W*>(QString::fromLatin1(name));
    }
    // Whether the radio button or check box of that name is checked.
    bool checked(const char* name) const {
        return main->findChild<QAbstractButton*>(QString::fromLatin1(name))->isChecked();
    }
    // Whether a service window still asks for a memory read.
    static bool hintShown(const QWidget* window) {
        return window->findChild<QWidget*>(QStringLiteral("lInfo"))->isVisibleTo(window);
    }
    QByteArray objectNumber() const { return g_deviceSettings->connection->objectNumber; }

    int rows() const { return main->events()->rowCount(); }
    // Codes of the log rows from `from` on.
    QList<int> codes(int from = 0) const {
        QList<int> c;
        for (int r = from; r < rows(); ++r)
            c << main->events()->Row(r)->code;
        return c;
    }
    // Text of the last row with the code; empty when none.
    QString text(int code) const {
        for (int r = rows() - 1; r >= 0; --r) {
            if (main->events()->Row(r)->code == code)
                return main->events()->Row(r)->text;
        }
        return {};
    }
    bool waitForCode(int code, int from, int ms = kSlowMs) const {
        return QTest::qWaitFor([&] { return codes(from).contains(code); }, ms);
    }

    ShellFixture shell;
    ScriptedPrompt& prompt = shell.prompt;
    SimDevice sim;
    bool simStarted = false;
    std::unique_ptr<MainWindow> main;
};

// Folder permissions do not bind a process that may override them (the
// superuser in a container). For its lifetime this drops that override from
// the calling thread's effective capabilities; capabilities are per thread,
// so only this (the GUI) thread is affected. bound() tells whether
// permissions now hold.
class WithoutPermissionOverride {
public:
    WithoutPermissionOverride() {
        header.version = _LINUX_CAPABILITY_VERSION_3;
        header.pid = 0;
        if (::syscall(SYS_capget, &header, saved) != 0)
            return;
        __user_cap_data_struct lowered[2] = {saved[0], saved[1]};
        lowered[0].effective &=
            ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER));
        changed = ::syscall(SYS_capset, &header, lowered) == 0;
    }
    ~WithoutPermissionOverride() {
        if (changed)
            ::syscall(SYS_capset, &header, saved);
    }
    // Whether a file can still be made in the folder.
    static bool canCreateIn(const QString& folder) {
        QFile probe(folder + QStringLiteral("/.probe"));
        const bool made = probe.open(QIODevice::WriteOnly);
        if (made)
            probe.remove();
        return made;
    }

private:
    __user_cap_header_struct header{};
    __user_cap_data_struct saved[2]{};
    bool changed = false;
};
