#pragma once

#include "pagebase/ParamsPage.h"

#include <QModelIndex>
#include <QStringList>

class KeyZone;
class ZoneShl;

namespace Ui {
class Zones;
}

// The zones page: the keys and loops of a complex object grouped into zones.
// The zones are a grouped view of the key-to-loop table (KeyLoopMatrix): the
// page rebuilds them from it when it is entered, loaded or re-typed, and
// writes it back whenever a cell of its own tables changes.
class Zones : public ParamsPage {
    Q_OBJECT

public:
    // Reasons of sigSendZonesList.
    enum ListReason {
        ReasonCancel = 0,
        ReasonAdd = 1,
        ReasonDelete = 2,
        ReasonRename = 3,
        ReasonObjectType = 4,
        ReasonDeviceType = 5,
    };

    explicit Zones(QWidget* parent = nullptr);
    ~Zones() override;

    // True when one zone alone is shown or every zone has a key and one of
    // the device's loops.
    bool CheckZonesBound() const;
    // No loop in two zones.
    bool CheckLoopsSingleZone() const;
    // Every key bound to all of the device's loops (the technological one
    // aside) or to none.
    bool IsSimpleObjectTable() const;
    // Binds each key with some loop to all loops but the technological one.
    void NormalizeKeyShlTable();
    // Rebuilds the zones from KeyLoopMatrix: keys with the same loops share a
    // zone.
    void KeyShlToZones();
    // Keeps each loop in its lowest zone and drops the zones left without a
    // loop.
    void NormalizeZones();

    KeyZone* keyModel() const { return m_keys; }
    ZoneShl* loopModel() const { return m_loops; }
    // The 0-based technological loop, -1 for none.
    int techLoopIndex() const { return techLoop; }

signals:
    void SigTableDataChanged(const QModelIndex&, const QModelIndex&);
    void SigNormalizeOk();
    void sigSendZonesList(const QStringList&, int);

public slots:
    void TPribSlot(int type);
    void AddZone(bool noResetName);
    void DelZone(int numZone);
    void DelZoneClick();
    void RenameZone();
    void TypeObjChange();
    void ApplyClick() override;
    void CancelClick() override;
    void NumTShlChange(int n);
    void SetTableDataChange(const QModelIndex& index1, const QModelIndex& index2);
    void EnterToFrame();
    void ZonesToKeyShl();

private:
    int zoneCount() const;
    int loopCount() const;
    void setZoneCount(int n);
    void setZoneName(int zone, const QString& name);
    void resetModels();
    void fitColumns();
    bool complexObject() const;
    bool zoneHasKey(int zone) const;
    bool zoneHasLoop(int zone) const;
    // Puts `loop` back into zone 0 alone and unlocks its row.
    void releaseTechLoop();
    void sendZonesList(int reason);
    bool askYes(const QString& text);

    KeyZone* m_keys;
    ZoneShl* m_loops;
    int techLoop = -1;
    // Set while the zones are rebuilt from the key-to-loop table: the
    // outputs page gets the rebuilt list once, not each partial list, in
    // which a zone not yet added would unbind the outputs that follow it.
    bool m_rebuilding = false;
    Ui::Zones* ui;
};
