#pragma once

// The real parameters window over a settings object of defaults, with every
// prompt answered from a script: the phone-link and SMS pages are driven by
// object name, loaded with the window's Cancel and stored with its apply.

#include "support/ScriptedPrompt.h"
#include "support/SettingsFixtures.h"

#include "editor/PribParWindow.h"
#include "editor/base/ParamsPage.h"
#include "settings/DeviceSettings.h"
#include "settings/Firmware.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <memory>

class LinkPages {
public:
    explicit LinkPages(int mode = MODE_SYSTEM, const QString& version = "19.04.2012/45") {
        SetDefaultSettings(&settings, false);
        g_deviceSettings = &settings;
        settings.header->workMode = mode;
        SetFirmwareVersion(*settings.header, version);
        window = std::make_unique<PribParWindow>();
        emit window->SigVersionChange();
        reload();
    }
    ~LinkPages() {
        window.reset();
        g_deviceSettings = nullptr;
    }

    ParamsPage* page(int slot) const { return window->page(slot); }
    template <typename T> T* at(int slot, const QString& name) const {
        return page(slot)->findChild<T*>(name);
    }
    QLineEdit* edit(int slot, const QString& name) const { return at<QLineEdit>(slot, name); }
    QCheckBox* box(int slot, const QString& name) const { return at<QCheckBox>(slot, name); }
    QComboBox* combo(int slot, const QString& name) const { return at<QComboBox>(slot, name); }
    QSpinBox* spin(int slot, const QString& name) const { return at<QSpinBox>(slot, name); }

    // Every page loads from the settings, as after a file load or a close.
    void reload() { window->findChild<QPushButton*>(QStringLiteral("pbCancel"))->click(); }
    // Every page stores, as before programming.
    void apply() { window->applySettings(); }
    void setFirmware(const QString& version) {
        SetFirmwareVersion(*settings.header, version);
        emit window->SigVersionChange();
    }

    // Types into a field from its first place and finishes with Return, as
    // a user does; the field reports the finished edit.
    static void type(QLineEdit* field, const QString& keys) {
        field->clear();
        field->setCursorPosition(0);
        QTest::keyClicks(field, keys);
        QTest::keyClick(field, Qt::Key_Return);
    }

    ScriptedPrompt prompt;
    DeviceSettings settings;
    std::unique_ptr<PribParWindow> window;
};
