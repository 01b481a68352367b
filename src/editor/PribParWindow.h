#pragma once

#include "settings/DeviceSettings.h"

#include <QDialog>
#include <QMap>
#include <QString>

#include <array>

class QListWidgetItem;
class ParamsPage;
class ConnectParams;
class AuConnectParams;
class FederalNums;
class OtprSMS;
class DopSMS;
class LimNaprSh;
class FuncShl;
class DopParams;
class Zones;
class Zvonki;
class ConGPRS;
class ExitFunc;
class sntp;
class Navigation;
class PultSMS;
class DelayFuncFrame;
class Cameras;
class KeyShlConfig;
class RemoteProgFrame;
class TriggByTimeFrame;

namespace Ui {
class PribParWindow;
}

// The device-parameters window: the page list on the left, the pages that
// the work mode, model and firmware allow in a stack on the right. It is also
// the switchboard of its twenty pages: apply and cancel reach all of them in
// one fixed order, whatever the list shows.
class PribParWindow : public QDialog {
    Q_OBJECT

public:
    // Page slots: the identity of a page everywhere in the window.
    enum Slot {
        kConnectParams = 0,
        kAuConnectParams,
        kFederalNums,
        kOtprSMS,
        kDopSMS,
        kLimNaprSh,
        kFuncShl,
        kDopParams,
        kZones,
        kZvonki,
        kConGPRS,
        kExitFunc,
        kSntp,
        kNavigation,
        kPultSMS,
        kDelayFuncFrame,
        kCameras,
        kKeyShlConfig,
        kRemoteProgFrame,
        kTriggByTimeFrame,
        kPageCount
    };

    explicit PribParWindow(QWidget* parent = nullptr);
    ~PribParWindow() override;

    ParamsPage* page(int slot) const;
    ConnectParams* connectParams() const;
    LimNaprSh* limNaprSh() const;
    DopParams* dopParams() const;
    Zones* zones() const;
    ConGPRS* conGPRS() const;
    // The page titles of the list, in order.
    QStringList menuTitles() const;
    // Every page forgets what it remembered while a gate hid it; called
    // before each load of settings changes the version or the model.
    void ForgetRemembered();

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
    void NumsChangedonParams(const QString& n1, const QString& n2, const QString& n3,
                             const QString& n4, const QString& n5);
    void NumsChangedonSMS(const QString& n1, const QString& n2, const QString& n3,
                          const QString& n4, const QString& n5);
    bool RevisionParams();
    void applySettings();

private:
    template <typename Page> Page* at(int slot) const;
    void makeConnections();
    void selectFirstRow();
    // Shows the numbers typed on the page in slot `from` on every other
    // number page.
    void mirrorNumbers(int from, const QStringList& numbers);

    std::array<ParamsPage*, kPageCount> pages{};
    Ui::PribParWindow* ui;
    bool zoneWarningEnabled = false;
    QMap<QString, QWidget*> pageByTitle;
};
