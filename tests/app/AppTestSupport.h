#pragma once

#include "app/Application.h"
#include "link/ComPort.h"
#include "link/FakeUsbLayer.h"
#include "settings/SettingsIniFile.h"
#include "support/ScriptedPrompt.h"

#include <QApplication>
#include <QDir>
#include <QObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

// A pseudo-terminal the port table lists as a COM port, so that start-up
// finds a COM port on every machine and never reaches for USB.
class PtyPort {
public:
    PtyPort() {
        fd = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (fd >= 0 && ::grantpt(fd) == 0 && ::unlockpt(fd) == 0)
            path = QString::fromLocal8Bit(::ptsname(fd));
    }
    ~PtyPort() {
        if (fd >= 0)
            ::close(fd);
    }
    int fd = -1;
    QString path;
};

// Every test of the shell runs in a fresh working directory with the fake USB
// layer installed, one pseudo-terminal in the COM table and every prompt
// answered from a script.
class ShellFixture {
public:
    ShellFixture() {
        SetUsbLayer(&usb);
        ClearAddedComPortPaths();
        comNumber = AddComPortPath(pty.path);
        previous = QDir::currentPath();
        QDir::setCurrent(dir.path());
    }
    ~ShellFixture() {
        QDir::setCurrent(previous);
        ClearAddedComPortPaths();
        SetUsbLayer(nullptr);
    }
    QString file(const QString& name) const { return dir.filePath(name); }

    ScriptedPrompt prompt;
    FakeUsbLayer usb;
    PtyPort pty;
    int comNumber = 0;
    QTemporaryDir dir;
    QString previous;
};

// Widgets of the application that are on screen.
inline QList<QWidget*> VisibleTopLevels() {
    QList<QWidget*> visible;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && !w->inherits("QMenu"))
            visible << w;
    }
    return visible;
}

// The first argument of each emission a spy caught, as ints.
inline QList<int> IntArgs(const QSignalSpy& spy) {
    QList<int> out;
    for (const auto& args : spy)
        out << args.at(0).toInt();
    return out;
}

// A settings file holding `edit` applied to the defaults.
template <class Edit> bool WriteSettings(const QString& name, Edit edit) {
    DeviceSettings s;
    SetDefaultSettings(&s, false);
    edit(s);
    return SaveSettingsFile(name, &s);
}

// Number of connections made to a signal (QObject::receivers is protected).
struct ReceiverCount : QObject {
    static int of(const QObject* o, const char* signal) {
        return (o->*(&ReceiverCount::receivers))(signal);
    }
};
