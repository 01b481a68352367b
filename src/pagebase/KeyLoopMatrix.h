#pragma once

#include "settings/DeviceSettings.h"

#include <QString>

// Key by loop (row = key 0..17, column = 0-based loop), 1 when the key is
// bound to the loop. One table for the whole program, all zero at start; the
// key-to-loop page and the zones page both read and write it, on the GUI
// thread only, so it has no lock.
using KeyLoopTable = Arr2<u8, kOrdinaryKeys, kLoops>;
extern KeyLoopTable KeyLoopMatrix;

// The two name columns in front of the key tables: the key's name and the
// name the device stores for it.
constexpr int kKeyNameColumns = 2;
QString KeyNameColumnTitle(int column);
