#pragma once

#include "editor/base/ParamsPage.h"

#include <QModelIndex>
#include <QStringList>

namespace Ui {
class Zones;
}

// The zones page: zones built from keys and loops.
class Zones : public ParamsPage {
    Q_OBJECT

public:
    explicit Zones(QWidget* parent = nullptr);
    ~Zones() override;

signals:
    void SigTableDataChanged(const QModelIndex&, const QModelIndex&);
    void SigNormalizeOk();
    void sigSendZonesList(const QStringList&, int);

public slots:
    void ApplyClick() override;
    void CancelClick() override;
    void TPribSlot(int type);
    void TypeObjChange();
    void NumTShlChange(int n);
    void SetTableDataChange(const QModelIndex& index1, const QModelIndex& index2);
    void EnterToFrame();

public:
    // True when every zone in use is bound to a key and to a loop.
    bool CheckZonesBound() const;

private:
    Ui::Zones* ui;
};
