#pragma once

// A page of the parameters window on a settings object of its own.

#include "settings/DeviceSettings.h"

#include <QAbstractButton>
#include <QDate>
#include <QWidget>

class PageSettings {
public:
    PageSettings() {
        SetDefaultSettings(&s, false);
        previous = g_deviceSettings;
        g_deviceSettings = &s;
    }
    ~PageSettings() { g_deviceSettings = previous; }
    void device(int type, const QDate& firmware = {}, int build = 1) {
        s.header->deviceType = type;
        s.header->firmwareDate = firmware;
        s.header->firmwareSubVersion = build;
    }

    DeviceSettings s;
    DeviceSettings* previous = nullptr;
};

template <class W = QWidget> W* child(const QWidget* page, const QString& name) {
    W* w = page->findChild<W*>(name);
    if (!w)
        qFatal("no widget %s", qPrintable(name));
    return w;
}

inline bool ticked(const QWidget* page, const QString& name) {
    return child<QAbstractButton>(page, name)->isChecked();
}
