#pragma once

// Bindings and zones written as short texts, so that a table row reads like
// the page: "2:1 3" is key 2 bound to loops 1 and 3; a zone "1 2|3" holds
// keys 1 and 2 and loop 3 (numbers from 1 as the tables show them).

#include "editor/ZoneTables.h"
#include "editor/Zones.h"
#include "pagebase/KeyLoopMatrix.h"

#include <QStringList>

inline QString Numbers(const QList<int>& from0) {
    QStringList out;
    for (int n : from0)
        out << QString::number(n + 1);
    return out.join(' ');
}

// Sets KeyLoopMatrix from "key:loops" texts; every other cell 0.
inline void Bind(const QStringList& bindings) {
    KeyLoopMatrix = {};
    for (const QString& b : bindings) {
        const QStringList parts = b.split(':');
        const int key = parts.at(0).toInt() - 1;
        for (const QString& loop : parts.value(1).split(' ', Qt::SkipEmptyParts))
            KeyLoopMatrix[size_t(key)][size_t(loop.toInt() - 1)] = 1;
    }
}

// Key-by-loop cells as "key:loops" texts, keys without loops left out.
template <class Cell> QStringList KeyLoopTexts(Cell cell) {
    QStringList out;
    for (int key = 0; key < kOrdinaryKeys; ++key) {
        QList<int> loops;
        for (int loop = 0; loop < kLoops; ++loop) {
            if (cell(key, loop))
                loops << loop;
        }
        if (!loops.isEmpty())
            out << QString::number(key + 1) + ':' + Numbers(loops);
    }
    return out;
}
inline QStringList Bindings() {
    return KeyLoopTexts([](int k, int l) { return KeyLoopMatrix[size_t(k)][size_t(l)] != 0; });
}
// The key-to-loop table's ticks, the same way.
inline QStringList Ticks(const CheckTableModel& m) {
    return KeyLoopTexts([&](int k, int l) { return m.check(k, l); });
}

// The zones the page shows, as "keys|loops" texts.
inline QStringList ZonesShown(const Zones& page) {
    QStringList out;
    for (int zone = 0; zone < page.loopModel()->zoneCount(); ++zone) {
        QList<int> keys, loops;
        for (int key = 0; key < kOrdinaryKeys; ++key) {
            if (page.keyModel()->keyZone(key, zone))
                keys << key;
        }
        for (int loop = 0; loop < kLoops; ++loop) {
            if (page.loopModel()->loopZone(loop, zone))
                loops << loop;
        }
        out << Numbers(keys) + '|' + Numbers(loops);
    }
    return out;
}

inline QStringList ZoneNames(const Zones& page) {
    QStringList out;
    for (int zone = 0; zone < page.keyModel()->zoneCount(); ++zone)
        out << page.keyModel()->zoneName(zone);
    return out;
}
