#pragma once

#include "settings/DeviceSettings.h"

#include <QComboBox>
#include <QFrame>
#include <QString>
#include <QStringList>

#include <type_traits>

// Work mode 1 is autonomous; every other value counts as the system mode, so
// a field that pages of both modes edit has exactly one writer.
bool IsAutonomous(const DeviceHeader& header);
// Loops of a device type: 4 for the 4-loop model, 8 for the 8-loop model, 6
// for every other type.
int LoopCountOf(int deviceType);

// Shows a combo box's item `value`, or no item when the list does not hold it
// (a value from a device image or a hand-edited file).
void LoadComboIndex(QComboBox* combo, int value);
// Stores the combo box's current index into `field`. With no item shown the
// field keeps its value: as -1 it would reach the device as 0xFF.
template <typename Field> void StoreComboIndex(const QComboBox* combo, Field& field) {
    static_assert(std::is_integral_v<Field>);
    if (combo && combo->currentIndex() >= 0)
        field = Field(combo->currentIndex());
}

// A value a page keeps while a gate hides its control: taken back when the
// gate opens again, dropped by an apply and by every load of settings.
template <typename T> class Remembered {
public:
    bool held() const { return m_held; }
    const T& value() const { return m_value; }
    // Keeps the first value only: a second hiding must not replace it.
    void remember(const T& v) {
        if (!m_held) {
            m_value = v;
            m_held = true;
        }
    }
    // The value, which is then forgotten.
    T take() {
        m_held = false;
        return m_value;
    }
    void forget() { m_held = false; }

private:
    T m_value{};
    bool m_held = false;
};

// The base of every page of the parameters window. The window drives the
// protocol: ApplyClick stores the widgets into the settings object,
// CancelClick loads them from it; pages with firmware gates or a device-type
// slot add VersionChange and their own device-type slot.
class ParamsPage : public QFrame {
    Q_OBJECT

public:
    explicit ParamsPage(QWidget* parent = nullptr);

    // Drops every value the page remembers while a gate hides it. Called for
    // each load of settings, so nothing just loaded is overwritten later by an
    // older choice.
    virtual void ForgetRemembered() {}

    static DeviceSettings& settings();
    static const DeviceHeader& header();
    static bool autonomous() { return IsAutonomous(header()); }

    // A child widget by object name; nullptr when the form has none.
    template <typename T = QWidget> T* named(const QString& name) const {
        return findChild<T*>(name);
    }
    // A numbered child: `pattern` holds "%1", replaced by `n`.
    template <typename T = QWidget> T* numbered(const QString& pattern, int n) const {
        return findChild<T*>(pattern.arg(n));
    }

    // Shows the widgets of 1-based loops `first`..8 (each stem followed by the
    // loop number, e.g. "cbAlarm_%1" or "lShl") that the device type has,
    // hides the others. A stem without "%1" gets the number appended.
    void ShowLoopRows(const QStringList& stems, int deviceType, int first = 5) const;

public slots:
    virtual void ApplyClick() = 0;
    virtual void CancelClick() = 0;
};
