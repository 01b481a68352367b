#pragma once

#include "pagebase/CheckTableModel.h"
#include "settings/DeviceSettings.h"

// Default name of zone `index`: zones count from 0.
QString DefaultZoneName(int index);

// Keys by zones: the key's name and its name in the device in front, then one
// check column per zone. Through the table a key belongs to one zone at most.
class KeyZone : public CheckTableModel {
    Q_OBJECT

public:
    // `columns` is the number of zones shown + 2.
    KeyZone(int rows, int columns, QObject* parent = nullptr);

    QString keyName(int key) const { return name(key, 0); }
    QString eepromName(int key) const { return name(key, 1); }
    void setKeyName(int key, const QString& text) { setName(key, 0, text); }
    void setEepromName(int key, const QString& text) { setName(key, 1, text); }
    bool keyZone(int key, int zone) const { return check(key, zone); }
    void setKeyZone(int key, int zone, bool on) { setCheck(key, zone, on); }
    QString zoneName(int zone) const;
    void setZoneName(int zone, const QString& text);
    int zoneCount() const { return shownChecks(); }

protected:
    QString columnTitle(int column) const override;

private:
    Arr<QString, kZones> m_zoneNames;
};

// Loops by zones: one row per loop, one check column per zone. Through the
// table a loop belongs to one zone at most; the technological loop's row is
// shown greyed.
class ZoneShl : public CheckTableModel {
    Q_OBJECT

public:
    ZoneShl(int rows, int columns, QObject* parent = nullptr);

    bool loopZone(int loop, int zone) const { return check(loop, zone); }
    void setLoopZone(int loop, int zone, bool on) { setCheck(loop, zone, on); }
    QString zoneName(int zone) const;
    void setZoneName(int zone, const QString& text);
    int zoneCount() const { return shownChecks(); }
    int loopCount() const { return m_loopCount; }
    void setLoopCount(int loops) { m_loopCount = loops; }
    int lockedRow() const { return disabledRow(); }
    void setLockedRow(int row) { setDisabledRow(row); }

protected:
    QString columnTitle(int column) const override;
    QString rowTitle(int row) const override;

private:
    Arr<QString, kZones> m_zoneNames;
    int m_loopCount = 4;
};
