#include "editor/PribParWindow.h"

#include "comms/ConnectParams.h"
#include "editor/LimNaprSh.h"
#include "settings/Firmware.h"
#include "settings/Prompt.h"
#include "ui_PribParWindow.h"

#include <QListWidget>
#include <QStackedWidget>

#include <algorithm>

namespace {
const QString kTitleLink = QStringLiteral("Параметры связи");
}

PribParWindow::PribParWindow(QWidget* parent) : QDialog(parent), ui(new Ui::PribParWindow) {
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);

    auto* connect0 = new ConnectParams(this);
    auto* limits = new LimNaprSh(this);
    pages[kConnectParamsSlot] = connect0;
    pages[kLimNaprShSlot] = limits;
    for (QWidget* page : pages) {
        if (page)
            ui->stackedWidget->addWidget(page);
    }
    pageByTitle.insert(QStringLiteral("Настройка диапазонов"), limits);

    connect(ui->ListParams, &QListWidget::currentItemChanged, this,
            &PribParWindow::ListParamsClick);
    connect(ui->pbOk, &QPushButton::clicked, this, &PribParWindow::OkButtonClick);
    connect(ui->pbApply, &QPushButton::clicked, this, &PribParWindow::SigApplyOK);
    connect(ui->pbCancel, &QPushButton::clicked, this, &PribParWindow::CancelClick);

    connect(this, &PribParWindow::SigApplyOK, connect0, &ConnectParams::ApplyClick);
    connect(this, &PribParWindow::SigApplyOK, limits, &LimNaprSh::ApplyClick);
    connect(this, &PribParWindow::SigVersionChange, connect0, &ConnectParams::VersionChange);
}

PribParWindow::~PribParWindow() {
    delete ui;
}

ConnectParams* PribParWindow::connectParams() const {
    return static_cast<ConnectParams*>(pages[kConnectParamsSlot]);
}

LimNaprSh* PribParWindow::limNaprSh() const {
    return static_cast<LimNaprSh*>(pages[kLimNaprShSlot]);
}

QStringList PribParWindow::menuTitles() const {
    QStringList titles;
    for (int i = 0; i < ui->ListParams->count(); ++i)
        titles << ui->ListParams->item(i)->text();
    return titles;
}

void PribParWindow::CreateMenuList(DEV_WORK_MODE mode) {
    ui->ListParams->clear();
    const bool autonomous = mode == MODE_AUTONOMOUS;
    // Slot 1, the autonomous link page, is not built yet; its title then shows
    // the empty page rather than the page of the other work mode.
    pageByTitle.insert(kTitleLink, autonomous ? pages[1] : pages[kConnectParamsSlot]);

    const DeviceHeader& h = *g_deviceSettings->header;
    const QDate fw = h.firmwareDate;
    const int type = h.deviceType;
    const int build = h.firmwareSubVersion;
    QStringList titles;
    titles << kTitleLink;
    if (!autonomous) {
        titles << QStringLiteral("Федеральные номера") << QStringLiteral("Настройка диапазонов")
               << QStringLiteral("Функции шлейфов") << QStringLiteral("Сервисные параметры")
               << QStringLiteral("Функция \"Задержка\"") << QStringLiteral("Ключи и шлейфы")
               << QStringLiteral("Зоны");
        if (FwOnOrAfter(fw, fw::k18_12_2009))
            titles << QStringLiteral("Функции выходов");
        if (FwOnOrAfter(fw, fw::k15_04_2010) && !FwOnOrAfter(fw, fw::k18_12_2018))
            titles << QStringLiteral("Пультовые SMS");
        titles << QStringLiteral("Параметры GPRS");
    } else {
        titles << QStringLiteral("SMS по пост./снятию") << QStringLiteral("Служебные SMS")
               << QStringLiteral("Настройка диапазонов") << QStringLiteral("Функции шлейфов");
        if (FwOnOrAfter(fw, fw::k26_03_2010))
            titles << QStringLiteral("Извещения по шлейфам");
        titles << QStringLiteral("Сервисные параметры") << QStringLiteral("Функция \"Задержка\"")
               << QStringLiteral("Ключи и шлейфы") << QStringLiteral("Зоны");
        if (FwOnOrAfter(fw, fw::k18_12_2009))
            titles << QStringLiteral("Функции выходов");
        if (FwOnOrAfter(fw, fw::k15_04_2010) && type == DEV_VoduzeR)
            titles << QStringLiteral("Параметры GPRS");
    }
    if (FwOnOrAfter(fw, fw::k15_04_2010))
        titles << QStringLiteral("Настройка SNTP");
    if (FwOnOrAfter(fw, fw::k07_06_2010) && type == DEV_VoduzeR)
        titles << QStringLiteral("Параметры навигации");
    if ((type == DEV_VororaZ || type == DEV_VoduzeR) && FwEquals(fw, fw::k03_12_2010) &&
        ((build >= 31 && build <= 34) || (build >= 59 && build <= 66)))
        titles << QStringLiteral("Параметры камер");
    if (FwOnOrAfter(fw, fw::k19_04_2012) && build != 0)
        titles << QStringLiteral("Дистанционная настройка") << QStringLiteral("События по времени");

    ui->ListParams->addItems(titles);
    ui->ListParams->setCurrentRow(0);
}

void PribParWindow::setDevType(DEV_TYPE tDed) {
    emit SignalTPrib(tDed);
    CreateMenuList(g_deviceSettings->header->workMode == MODE_AUTONOMOUS ? MODE_AUTONOMOUS
                                                                         : MODE_SYSTEM);
}

void PribParWindow::ListParamsClick(QListWidgetItem* cur, QListWidgetItem*) {
    if (!cur)
        return;
    QWidget* page = pageByTitle.value(cur->text());
    ui->stackedWidget->setCurrentWidget(page ? page : ui->page);
}

void PribParWindow::OkButtonClick() {
    RevisionParams();
    accept();
}

void PribParWindow::CancelClick() {
    for (QWidget* page : pages) {
        if (auto* c = qobject_cast<ConnectParams*>(page))
            c->CancelClick();
        else if (auto* l = qobject_cast<LimNaprSh*>(page))
            l->CancelClick();
    }
    reject();
}

bool PribParWindow::HasUnboundZone(const ZonesConfig& z) {
    const int zones = std::clamp(z.zoneCount, 0, kZones);
    const int loops = std::clamp(z.loopCount, 0, kLoops);
    for (int zone = 0; zone < zones; ++zone) {
        bool bound = false;
        for (int key = 0; key < kOrdinaryKeys && !bound; ++key)
            bound = z.keyZone[size_t(key)][size_t(zone)] != 0;
        for (int loop = 0; loop < loops && !bound; ++loop)
            bound = z.loopZone[size_t(loop)][size_t(zone)] != 0;
        if (!bound)
            return true;
    }
    return false;
}

bool PribParWindow::RevisionParams() {
    if (g_deviceSettings && HasUnboundZone(*g_deviceSettings->zones))
        prompt().message(Prompt::Warning, this, QStringLiteral("Предупреждение"),
                         QStringLiteral("Внимание! Остались зоны без привязки по ключам/шлейфам."),
                         Prompt::Ok);
    emit SigApplyOK();
    return true;
}

void PribParWindow::applySettings() {
    emit SigApplyOK();
}
