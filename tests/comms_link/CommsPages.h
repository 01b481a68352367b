#pragma once

// The real parameters window over the test's own settings, made the
// process-wide ones while the rig lives; prompts answered from a script.

#include "support/ScriptedPrompt.h"
#include "support/SettingsFixtures.h"

#include "editor/PribParWindow.h"
#include "pagebase/ParamsPage.h"
#include "settings/Firmware.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

#include <initializer_list>
#include <memory>
#include <utility>

using W = PribParWindow;
// A data row on one line: the tag, then a value for each column.
template <class... T> void Row(const char* tag, const T&... values) {
    (QTest::newRow(tag) << ... << values);
}
template <class T> void Columns(std::initializer_list<const char*> names) {
    for (const char* name : names)
        QTest::addColumn<T>(name);
}
using Cells = std::initializer_list<std::pair<int, int>>;

class CommsPages {
public:
    explicit CommsPages(int mode = MODE_SYSTEM, const char* version = "19.04.2012/45") {
        SetDefaultSettings(&s, false);
        g_deviceSettings = &s;
        s.header->workMode = mode;
        window = std::make_unique<PribParWindow>();
        firmware(version);
        load();
    }
    ~CommsPages() {
        window.reset();
        g_deviceSettings = nullptr;
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

    template <class T = QWidget> T* at(int slot, const QString& name) const {
        T* w = window->page(slot)->findChild<T*>(name);
        if (!w)
            qFatal("no widget %s on page %d", qPrintable(name), slot);
        return w;
    }
    QCheckBox* box(int slot, const QString& name) const { return at<QCheckBox>(slot, name); }
    QComboBox* combo(int slot, const QString& name) const { return at<QComboBox>(slot, name); }
    QLineEdit* edit(int slot, const QString& name) const { return at<QLineEdit>(slot, name); }
    QSpinBox* spin(int slot, const QString& name) const { return at<QSpinBox>(slot, name); }
    // Not hidden by its page (the window itself is never on screen here).
    bool shown(int slot, const QString& name) const { return !at(slot, name)->isHidden(); }
    // One character per widget, '1' where it is shown (enabled), else '0'.
    QString shownMap(int slot, const QStringList& names) const { return map(slot, names, true); }
    QString enabledMap(int slot, const QStringList& names) const { return map(slot, names, false); }

    // Types into a field from its first place and finishes with Return, as a
    // user does; the field reports the finished edit.
    static void type(QLineEdit* field, const QString& keys) {
        field->clear();
        field->setCursorPosition(0);
        QTest::keyClicks(field, keys);
        QTest::keyClick(field, Qt::Key_Return);
    }

    ScriptedPrompt prompt;
    DeviceSettings s;
    std::unique_ptr<PribParWindow> window;

private:
    QString map(int slot, const QStringList& names, bool visibility) const {
        QString out;
        for (const QString& name : names)
            out += (visibility ? !at(slot, name)->isHidden() : at(slot, name)->isEnabled()) ? '1'
                                                                                            : '0';
        return out;
    }
};
