#include "editor/PribParWindow.h"

#include "comms/AuConnectParams.h"
#include "comms/ConGPRS.h"
#include "comms/ConnectParams.h"
#include "comms/DopSMS.h"
#include "comms/FederalNums.h"
#include "comms/Navigation.h"
#include "comms/OtprSMS.h"
#include "comms/PultSMS.h"
#include "comms/RemoteProgFrame.h"
#include "comms/sntp.h"
#include "editor/DelayFuncFrame.h"
#include "editor/DopParams.h"
#include "editor/FuncShl.h"
#include "editor/LimNaprSh.h"
#include "editor/NastrShl.h"
#include "editor/Zones.h"
#include "keys/KeyShlConfig.h"
#include "outputs/Cameras.h"
#include "outputs/ExitFunc.h"
#include "outputs/TriggByTimeFrame.h"
#include "outputs/Zvonki.h"
#include "settings/Firmware.h"
#include "settings/Prompt.h"
#include "ui_PribParWindow.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QStackedWidget>

namespace {

const QString kTitleLink = QStringLiteral("Параметры связи");
const QString kTitleZones = QStringLiteral("Зоны");
const QString kWarningTitle = QStringLiteral("Предупреждение");
const QString kUnboundZones =
    QStringLiteral("Внимание! Остались зоны без привязки по ключам/шлейфам.");

// The order in which the pages store and reload: a page later in it sees
// what the earlier ones stored.
constexpr int kApplyOrder[] = {1,  3, 4,  0, 5, 7,  15, 11, 10, 2,
                               12, 6, 17, 8, 9, 14, 13, 16, 18, 19};
// The order in which the pages take their place in the stack.
constexpr int kStackOrder[] = {0, 1, 2,  3,  4,  5,  6,  15, 7,  17,
                               8, 9, 10, 11, 12, 13, 14, 16, 18, 19};

struct TitledSlot {
    const char* title;
    int slot;
};
// Every title but the link page's, whose page follows the work mode.
constexpr TitledSlot kTitles[] = {
    {"Федеральные номера", PribParWindow::kFederalNums},
    {"SMS по пост./снятию", PribParWindow::kOtprSMS},
    {"Служебные SMS", PribParWindow::kDopSMS},
    {"Настройка диапазонов", PribParWindow::kLimNaprSh},
    {"Функции шлейфов", PribParWindow::kFuncShl},
    {"Функция \"Задержка\"", PribParWindow::kDelayFuncFrame},
    {"Сервисные параметры", PribParWindow::kDopParams},
    {"Ключи и шлейфы", PribParWindow::kKeyShlConfig},
    {"Зоны", PribParWindow::kZones},
    {"Извещения по шлейфам", PribParWindow::kZvonki},
    {"Параметры GPRS", PribParWindow::kConGPRS},
    {"Функции выходов", PribParWindow::kExitFunc},
    {"Настройка SNTP", PribParWindow::kSntp},
    {"Параметры навигации", PribParWindow::kNavigation},
    {"Пультовые SMS", PribParWindow::kPultSMS},
    {"Параметры камер", PribParWindow::kCameras},
    {"Дистанционная настройка", PribParWindow::kRemoteProgFrame},
    {"События по времени", PribParWindow::kTriggByTimeFrame},
};

QString titleOf(int slot) {
    for (const TitledSlot& t : kTitles) {
        if (t.slot == slot)
            return QString::fromUtf8(t.title);
    }
    return kTitleLink;
}

ParamsPage* makePage(int slot, QWidget* parent) {
    switch (slot) {
    case PribParWindow::kConnectParams:
        return new ConnectParams(parent);
    case PribParWindow::kAuConnectParams:
        return new AuConnectParams(parent);
    case PribParWindow::kFederalNums:
        return new FederalNums(parent);
    case PribParWindow::kOtprSMS:
        return new OtprSMS(parent);
    case PribParWindow::kDopSMS:
        return new DopSMS(parent);
    case PribParWindow::kLimNaprSh:
        return new LimNaprSh(parent);
    case PribParWindow::kFuncShl:
        return new FuncShl(parent);
    case PribParWindow::kDopParams:
        return new DopParams(parent);
    case PribParWindow::kZones:
        return new Zones(parent);
    case PribParWindow::kZvonki:
        return new Zvonki(parent);
    case PribParWindow::kConGPRS:
        return new ConGPRS(parent);
    case PribParWindow::kExitFunc:
        return new ExitFunc(parent);
    case PribParWindow::kSntp:
        return new sntp(parent);
    case PribParWindow::kNavigation:
        return new Navigation(parent);
    case PribParWindow::kPultSMS:
        return new PultSMS(parent);
    case PribParWindow::kDelayFuncFrame:
        return new DelayFuncFrame(parent);
    case PribParWindow::kCameras:
        return new Cameras(parent);
    case PribParWindow::kKeyShlConfig:
        return new KeyShlConfig(parent);
    case PribParWindow::kRemoteProgFrame:
        return new RemoteProgFrame(parent);
    case PribParWindow::kTriggByTimeFrame:
        return new TriggByTimeFrame(parent);
    default:
        return nullptr;
    }
}

} // namespace

PribParWindow::PribParWindow(QWidget* parent) : QDialog(parent), ui(new Ui::PribParWindow) {
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);

    for (int slot : kStackOrder) {
        pages[size_t(slot)] = makePage(slot, this);
        ui->stackedWidget->addWidget(pages[size_t(slot)]);
    }
    for (const TitledSlot& t : kTitles)
        pageByTitle.insert(QString::fromUtf8(t.title), pages[size_t(t.slot)]);

    makeConnections();
    zoneWarningEnabled = true;
}

PribParWindow::~PribParWindow() {
    delete ui;
}

template <typename Page> Page* PribParWindow::at(int slot) const {
    return static_cast<Page*>(pages[size_t(slot)]);
}

ParamsPage* PribParWindow::page(int slot) const {
    return slot >= 0 && slot < kPageCount ? pages[size_t(slot)] : nullptr;
}

ConnectParams* PribParWindow::connectParams() const {
    return at<ConnectParams>(kConnectParams);
}

LimNaprSh* PribParWindow::limNaprSh() const {
    return at<LimNaprSh>(kLimNaprSh);
}

DopParams* PribParWindow::dopParams() const {
    return at<DopParams>(kDopParams);
}

Zones* PribParWindow::zones() const {
    return at<Zones>(kZones);
}

ConGPRS* PribParWindow::conGPRS() const {
    return at<ConGPRS>(kConGPRS);
}

void PribParWindow::makeConnections() {
    auto* connect0 = at<ConnectParams>(kConnectParams);
    auto* auConnect = at<AuConnectParams>(kAuConnectParams);
    auto* federal = at<FederalNums>(kFederalNums);
    auto* otprSms = at<OtprSMS>(kOtprSMS);
    auto* dopSms = at<DopSMS>(kDopSMS);
    auto* limits = at<LimNaprSh>(kLimNaprSh);
    auto* funcShl = at<FuncShl>(kFuncShl);
    auto* dopParams = at<DopParams>(kDopParams);
    auto* zonesPage = at<Zones>(kZones);
    auto* zvonki = at<Zvonki>(kZvonki);
    auto* gprs = at<ConGPRS>(kConGPRS);
    auto* exits = at<ExitFunc>(kExitFunc);
    auto* sntpPage = at<sntp>(kSntp);
    auto* navigation = at<Navigation>(kNavigation);
    auto* delays = at<DelayFuncFrame>(kDelayFuncFrame);
    auto* cameras = at<Cameras>(kCameras);
    auto* keyShl = at<KeyShlConfig>(kKeyShlConfig);

    // 1-10: the device type.
    connect(this, &PribParWindow::SignalTPrib, limits, &LimNaprSh::TPribSlot);
    connect(this, &PribParWindow::SignalTPrib, funcShl, &FuncShl::TPribSlot);
    connect(this, &PribParWindow::SignalTPrib, dopParams, &DopParams::TPribSlot);
    connect(this, &PribParWindow::SignalTPrib, delays, &DelayFuncFrame::TPribSlot);
    connect(this, &PribParWindow::SignalTPrib, exits, &ExitFunc::TPribSlot);
    connect(this, &PribParWindow::SignalTPrib, keyShl, &KeyShlConfig::TDevChange);
    connect(this, &PribParWindow::SignalTPrib, zonesPage, &Zones::TPribSlot);
    connect(this, &PribParWindow::SignalTPrib, zvonki, &Zvonki::TPribSlot);
    connect(this, &PribParWindow::SignalTPrib, cameras, &Cameras::TPribChange);
    connect(this, &PribParWindow::SignalTPrib, navigation, &Navigation::TDevChange);
    // 11-12: the object type.
    connect(this, &PribParWindow::SigTypeObjChange, zonesPage, &Zones::TypeObjChange);
    connect(this, &PribParWindow::SigTypeObjChange, delays, &DelayFuncFrame::TypeObjChange);
    // 13-14
    connect(ui->ListParams, &QListWidget::currentItemChanged, this,
            &PribParWindow::ListParamsClick);
    connect(ui->pbApply, &QPushButton::clicked, this, &PribParWindow::RevisionParams);
    // 15-34: every page stores.
    for (int slot : kApplyOrder)
        connect(this, &PribParWindow::SigApplyOK, pages[size_t(slot)], &ParamsPage::ApplyClick);
    // 35-56: OK, Cancel, and every page reloads.
    connect(ui->pbOk, &QPushButton::clicked, this, &PribParWindow::OkButtonClick);
    connect(ui->pbCancel, &QPushButton::clicked, this, &PribParWindow::CancelClick);
    for (int slot : kApplyOrder)
        connect(ui->pbCancel, &QPushButton::clicked, pages[size_t(slot)], &ParamsPage::CancelClick);
    // 57-63
    connect(dopParams, &DopParams::SigUseSounds, this, &PribParWindow::SigUseSounds);
    connect(this, &PribParWindow::SigChangeRegim, dopParams, &DopParams::IfChangeRegim);
    connect(gprs, &ConGPRS::SigConGPRSClick, sntpPage, &sntp::UseGPRSClick);
    connect(gprs, &ConGPRS::SigUseNavigation, navigation, &Navigation::SetNavigationEnabled);
    connect(dopParams, &DopParams::SigNumTehShlChange, zonesPage, &Zones::NumTShlChange);
    connect(dopParams, &DopParams::SigNumTehShlChange, keyShl, &KeyShlConfig::NumTShlChange);
    connect(dopParams, &DopParams::SigNumTehShlChange, delays, &DelayFuncFrame::NumTShlChange);
    // 64-77: a station of the federal numbers page, on the console link page.
    using Station = void (FederalNums::*)(bool);
    using Enable = void (ConnectParams::*)(bool);
    const std::pair<Station, Enable> stations[] = {
        {&FederalNums::SigUsePPM9, &ConnectParams::setCbPPM9Enabled},
        {&FederalNums::SigUsePPM10, &ConnectParams::setCbPPM10Enabled},
        {&FederalNums::SigUsePPM11, &ConnectParams::setCbPPM11Enabled},
        {&FederalNums::SigUsePPM12, &ConnectParams::setCbPPM12Enabled},
        {&FederalNums::SigUsePPM13, &ConnectParams::setCbPPM13Enabled},
        {&FederalNums::SigUsePPM14, &ConnectParams::setCbPPM14Enabled},
        {&FederalNums::SigUsePPM15, &ConnectParams::setCbPPM15Enabled},
    };
    for (const auto& [signal, enable] : stations)
        connect(federal, signal, connect0, enable);
    for (const auto& station : stations)
        connect(federal, station.first, connect0, &ConnectParams::RevisionUsingGBR);
    // 78-83
    connect(auConnect, &AuConnectParams::SigNumsChanged, this, &PribParWindow::NumsChangedonParams);
    connect(otprSms, &OtprSMS::SigNumsChanged, this, &PribParWindow::NumsChangedonSMS);
    connect(keyShl, &KeyShlConfig::SigTableDataChanged, zonesPage, &Zones::SetTableDataChange);
    connect(zonesPage, &Zones::SigTableDataChanged, keyShl, &KeyShlConfig::SetTableDataChange);
    connect(zonesPage, &Zones::SigNormalizeOk, keyShl, &KeyShlConfig::RewriteNormilizedChecks);
    connect(zonesPage, &Zones::sigSendZonesList, exits, &ExitFunc::setZonesList);
    // 84-94: the firmware version.
    connect(this, &PribParWindow::SigVersionChange, auConnect, &AuConnectParams::VersionChange);
    connect(this, &PribParWindow::SigVersionChange, otprSms, &OtprSMS::VersionChange);
    connect(this, &PribParWindow::SigVersionChange, dopSms, &DopSMS::VersionChange);
    connect(this, &PribParWindow::SigVersionChange, dopParams, &DopParams::VersionChange);
    connect(this, &PribParWindow::SigVersionChange, funcShl, &FuncShl::VersionChange);
    connect(this, &PribParWindow::SigVersionChange, delays, &DelayFuncFrame::VersionChange);
    connect(this, &PribParWindow::SigVersionChange, gprs, &ConGPRS::VersionChange);
    connect(this, &PribParWindow::SigVersionChange, connect0, &ConnectParams::VersionChange);
    connect(this, &PribParWindow::SigVersionChange, exits, &ExitFunc::VersionChange);
    connect(this, &PribParWindow::SigVersionChange, navigation, &Navigation::VersionChange);
    connect(this, &PribParWindow::SigVersionChange, sntpPage, &sntp::VersionChange);
    // 95: every way of closing reloads the pages.
    connect(this, &QDialog::rejected, ui->pbCancel, &QPushButton::click);
    // 96-101: twin controls of two pages stay equal.
    if (auto* poyas = navigation->named<QComboBox>(QStringLiteral("comboBPoyas")))
        connect(sntpPage, &sntp::SigHourPoyasChange, poyas, &QComboBox::setCurrentIndex);
    if (auto* poyas = sntpPage->named<QComboBox>(QStringLiteral("comboBPoyas")))
        connect(navigation, &Navigation::SigHourPoyasChange, poyas, &QComboBox::setCurrentIndex);
    if (auto* rest = sntpPage->named<QSpinBox>(QStringLiteral("sbPopunRest")))
        connect(gprs, &ConGPRS::sigPopunRestCountChange, rest, &QSpinBox::setValue);
    if (auto* rest = gprs->named<QSpinBox>(QStringLiteral("sbPopunRest")))
        connect(sntpPage, &sntp::sigPopunRestCountChange, rest, &QSpinBox::setValue);
    connect(gprs, &ConGPRS::sigUseSim2Change, sntpPage, &sntp::setCbUseSIM2Checked);
    connect(sntpPage, &sntp::sigUseSim2Change, gprs, &ConGPRS::setCbUseSIM2Checked);
}

QStringList PribParWindow::menuTitles() const {
    QStringList titles;
    for (int i = 0; i < ui->ListParams->count(); ++i)
        titles << ui->ListParams->item(i)->text();
    return titles;
}

void PribParWindow::ForgetRemembered() {
    for (ParamsPage* p : pages)
        p->ForgetRemembered();
}

void PribParWindow::selectFirstRow() {
    zoneWarningEnabled = false;
    ui->ListParams->setCurrentRow(0);
    zoneWarningEnabled = true;
}

void PribParWindow::CreateMenuList(DEV_WORK_MODE mode) {
    ui->ListParams->clear();
    const bool autonomous = mode == MODE_AUTONOMOUS;
    pageByTitle.insert(kTitleLink, pages[autonomous ? kAuConnectParams : kConnectParams]);

    const DeviceHeader& h = *g_deviceSettings->header;
    const int type = h.deviceType;
    const int build = h.firmwareSubVersion;
    QList<int> shown;
    if (!autonomous) {
        shown << kConnectParams << kFederalNums << kLimNaprSh << kFuncShl << kDopParams
              << kDelayFuncFrame << kKeyShlConfig << kZones;
        if (FwOnOrAfter(h, fw::k18_12_2009))
            shown << kExitFunc;
        if (FwOnOrAfter(h, fw::k15_04_2010) && !FwOnOrAfter(h, fw::k18_12_2018))
            shown << kPultSMS;
        shown << kConGPRS;
        // The system mode always lists the GPRS page, so nothing forces GPRS
        // there: the engineer's choice (or the loaded one) holds again.
        conGPRS()->SetGPRSForced(false);
    } else {
        shown << kAuConnectParams << kOtprSMS << kDopSMS << kLimNaprSh << kFuncShl;
        if (FwOnOrAfter(h, fw::k26_03_2010))
            shown << kZvonki;
        shown << kDopParams << kDelayFuncFrame << kKeyShlConfig << kZones;
        if (FwOnOrAfter(h, fw::k18_12_2009))
            shown << kExitFunc;
        // Autonomous models without the GPRS page always connect over GPRS.
        const bool gprsPage = FwOnOrAfter(h, fw::k15_04_2010) && type == DEV_VoduzeR;
        if (gprsPage)
            shown << kConGPRS;
        conGPRS()->SetGPRSForced(!gprsPage);
    }
    // Every loop's bar shows its dialog's band again.
    for (int loop = 0; loop < kLoops; ++loop)
        limNaprSh()->dialog(loop)->ApplyClick();
    if (FwOnOrAfter(h, fw::k15_04_2010))
        shown << kSntp;
    if (FwOnOrAfter(h, fw::k07_06_2010) && type == DEV_VoduzeR)
        shown << kNavigation;
    if ((type == DEV_VororaZ || type == DEV_VoduzeR) && FwEquals(h, fw::k03_12_2010) &&
        ((build >= 31 && build <= 34) || (build >= 59 && build <= 66)))
        shown << kCameras;
    if (FwOnOrAfter(h, fw::k19_04_2012) && build != 0)
        shown << kRemoteProgFrame << kTriggByTimeFrame;

    for (int slot : shown)
        ui->ListParams->addItem(titleOf(slot));
    selectFirstRow();
}

void PribParWindow::setDevType(DEV_TYPE tDed) {
    emit SignalTPrib(tDed);
    CreateMenuList(IsAutonomous(*g_deviceSettings->header) ? MODE_AUTONOMOUS : MODE_SYSTEM);
}

void PribParWindow::ListParamsClick(QListWidgetItem* cur, QListWidgetItem* prev) {
    if (!cur)
        return;
    if (cur->text() == kTitleZones)
        zones()->EnterToFrame();
    if (prev && prev->text() == kTitleZones && !zones()->CheckZonesBound() && zoneWarningEnabled) {
        const int answer = prompt().message(
            Prompt::Warning, this, kWarningTitle,
            kUnboundZones + QStringLiteral("\nПри переходе на другую вкладку они будут удалены. "
                                           "Перейти на другую вкладку?"),
            Prompt::Yes | Prompt::No, Prompt::NoButton);
        if (answer == Prompt::No) {
            disconnect(ui->ListParams, &QListWidget::currentItemChanged, this,
                       &PribParWindow::ListParamsClick);
            ui->ListParams->setCurrentItem(prev);
            connect(ui->ListParams, &QListWidget::currentItemChanged, this,
                    &PribParWindow::ListParamsClick);
            return;
        }
    }
    if (QWidget* target = pageByTitle.value(cur->text()))
        ui->stackedWidget->setCurrentWidget(target);
}

bool PribParWindow::RevisionParams() {
    connectParams()->RevisionUsingGBR();
    if (!zones()->CheckZonesBound())
        prompt().message(Prompt::Warning, this, kWarningTitle, kUnboundZones, Prompt::Ok);
    emit SigApplyOK();
    return true;
}

void PribParWindow::applySettings() {
    emit SigApplyOK();
}

// Qt 6 emits rejected() even when a hidden dialog is rejected; closing only a
// visible window keeps the reload that rejected() triggers from recursing.
void PribParWindow::OkButtonClick() {
    if (!RevisionParams())
        return;
    selectFirstRow();
    if (isVisible())
        reject();
}

void PribParWindow::CancelClick() {
    selectFirstRow();
    if (isVisible())
        reject();
}

void PribParWindow::mirrorNumbers(int from, const QStringList& numbers) {
    // The number pages and the stems of their edits 1..5.
    const std::pair<int, const char*> numberPages[] = {{kAuConnectParams, "leNum%1"},
                                                       {kOtprSMS, "leNum%1"},
                                                       {kDopSMS, "leNum%1"},
                                                       {kZvonki, "leNum_%1"}};
    for (const auto& [slot, stem] : numberPages) {
        for (int k = 1; k <= numbers.size() && slot != from; ++k) {
            if (auto* edit = pages[size_t(slot)]->numbered<QLineEdit>(QString::fromLatin1(stem), k))
                edit->setText(numbers.at(k - 1));
        }
    }
}

void PribParWindow::NumsChangedonParams(const QString& n1, const QString& n2, const QString& n3,
                                        const QString& n4, const QString& n5) {
    mirrorNumbers(kAuConnectParams, {n1, n2, n3, n4, n5});
}

void PribParWindow::NumsChangedonSMS(const QString& n1, const QString& n2, const QString& n3,
                                     const QString& n4, const QString& n5) {
    mirrorNumbers(kOtprSMS, {n1, n2, n3, n4, n5});
}
