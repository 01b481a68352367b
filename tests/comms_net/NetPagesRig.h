#pragma once

// The real parameters window over a settings object of the test's own, made
// the process-wide one while the rig lives; every prompt answered from a
// script.

#include "app/AppTestSupport.h"

#include "comms/ConGPRS.h"
#include "comms/Navigation.h"
#include "comms/RemoteProgFrame.h"
#include "comms/sntp.h"
#include "editor/PribParWindow.h"
#include "settings/Firmware.h"

#include <QPushButton>

#include <memory>

class NetPagesRig {
public:
    NetPagesRig() : m_previous(g_deviceSettings) {
        SetDefaultSettings(&s, false);
        g_deviceSettings = &s;
        window = std::make_unique<PribParWindow>();
    }
    ~NetPagesRig() {
        window.reset();
        g_deviceSettings = m_previous;
    }

    // A firmware version chosen as the main window chooses it: the header,
    // the page list, then every page's gates.
    void firmware(const char* version) {
        SetFirmwareVersion(*s.header, QString::fromLatin1(version));
        window->CreateMenuList(IsAutonomous(*s.header) ? MODE_AUTONOMOUS : MODE_SYSTEM);
        emit window->SigVersionChange();
    }
    void deviceType(DEV_TYPE type) {
        s.header->deviceType = type;
        window->setDevType(type);
    }
    // A load of settings: the pages forget their memos, then reload.
    void load() {
        window->ForgetRemembered();
        window->findChild<QPushButton*>(QStringLiteral("pbCancel"))->click();
    }
    void apply() { window->applySettings(); }

    template <class T> T* gprs(const char* name) const {
        return at<T>(PribParWindow::kConGPRS, name);
    }
    template <class T> T* time(const char* name) const { return at<T>(PribParWindow::kSntp, name); }
    template <class T> T* nav(const char* name) const {
        return at<T>(PribParWindow::kNavigation, name);
    }
    template <class T> T* remote(const char* name) const {
        return at<T>(PribParWindow::kRemoteProgFrame, name);
    }
    template <class T> T* at(int slot, const char* name) const {
        T* w = window->page(slot)->findChild<T*>(QString::fromLatin1(name));
        if (!w)
            qFatal("no widget %s on page %d", name, slot);
        return w;
    }
    // Shown on its page (the window itself is never on screen in tests).
    bool shown(int slot, const char* name) const {
        return at<QWidget>(slot, name)->isVisibleTo(window->page(slot));
    }

    ConGPRS* gprsPage() const { return window->conGPRS(); }
    sntp* timePage() const { return static_cast<sntp*>(window->page(PribParWindow::kSntp)); }
    Navigation* navPage() const {
        return static_cast<Navigation*>(window->page(PribParWindow::kNavigation));
    }

    DeviceSettings s;
    ScriptedPrompt prompt;
    std::unique_ptr<PribParWindow> window;

private:
    DeviceSettings* m_previous;
};
