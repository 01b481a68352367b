#pragma once

#include "settings/DeviceSettings.h"

#include <QDialog>
#include <QMap>
#include <QString>

#include <array>

class QListWidgetItem;
class ConnectParams;
class LimNaprSh;

namespace Ui {
class PribParWindow;
}

// The device-parameters window: the page list on the left, the pages that
// the work mode, model and firmware allow in a stack on the right.
class PribParWindow : public QDialog {
    Q_OBJECT

public:
    static constexpr int kPageCount = 20;
    static constexpr int kConnectParamsSlot = 0;
    static constexpr int kLimNaprShSlot = 5;

    explicit PribParWindow(QWidget* parent = nullptr);
    ~PribParWindow() override;

    ConnectParams* connectParams() const;
    LimNaprSh* limNaprSh() const;
    // The page titles of the list, in order.
    QStringList menuTitles() const;
    // Whether one of the zones in use has neither a key nor one of the
    // device's loops bound to it.
    static bool HasUnboundZone(const ZonesConfig& zones);

signals:
    void SignalTPrib(int);
    void SigUseSounds();
    void SigChangeRegim();
    void SigApplyOK();
    void SigVersionChange();
    void SigTypeObjChange();

public slots:
    void CreateMenuList(DEV_WORK_MODE mode);
    void setDevType(DEV_TYPE tDed);
    void ListParamsClick(QListWidgetItem* cur, QListWidgetItem* prev);
    void OkButtonClick();
    void CancelClick();
    bool RevisionParams();
    void applySettings();

private:
    std::array<QWidget*, kPageCount> pages{};
    Ui::PribParWindow* ui;
    QMap<QString, QWidget*> pageByTitle;
};
