#pragma once

#include "settings/DeviceSettings.h"

#include <QObject>
#include <QString>

// A child widget that must exist: a missing one is a broken form.
template <class T> T* Child(const QObject* parent, const QString& name) {
    auto* w = parent->findChild<T*>(name);
    if (!w)
        qFatal("no child %s", qPrintable(name));
    return w;
}

// The default settings as the process-wide object, fresh for every test.
inline void UseDefaults(DeviceSettings& s) {
    s = DeviceSettings();
    SetDefaultSettings(&s, false);
    g_deviceSettings = &s;
}
