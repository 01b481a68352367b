#include "editor/DelayFuncFrame.h"

#include "settings/Firmware.h"
#include "ui_DelayFuncFrame.h"

#include <QComboBox>
#include <QLabel>
#include <QRadioButton>

DelayFuncFrame::DelayFuncFrame(QWidget* parent) : ParamsPage(parent), ui(new Ui::DelayFuncFrame) {
    delayItems << QStringLiteral("10 секунд") << QStringLiteral("20 секунд")
               << QStringLiteral("30 секунд") << QStringLiteral("40 секунд")
               << QStringLiteral("50 секунд") << QStringLiteral("1 минута")
               << QStringLiteral("2 минуты") << QStringLiteral("3 минуты");
    ui->setupUi(this);
    connect(ui->RbnuP, &QRadioButton::toggled, this, &DelayFuncFrame::PauseShlPToggle);
    connect(ui->RbnuS, &QRadioButton::toggled, this, &DelayFuncFrame::PauseShlSToggle);
    PauseShlPToggle(true);
    PauseShlSToggle(true);
}

DelayFuncFrame::~DelayFuncFrame() {
    delete ui;
}

DelayFuncFrame::Direction DelayFuncFrame::arming() {
    ExtraOptions& e = *settings().extra;
    return {ui->RbnuP,      ui->CbP, QStringLiteral("RbPShl%1"), e.armDelayOn, e.armDelayLoop,
            e.armDelayTime, savedArm};
}

DelayFuncFrame::Direction DelayFuncFrame::disarming() {
    ExtraOptions& e = *settings().extra;
    return {ui->RbnuS,       ui->CbS,           QStringLiteral("RbSShl%1"),
            e.disarmDelayOn, e.disarmDelayLoop, e.disarmDelayTime,
            savedDisarm};
}

void DelayFuncFrame::ForgetRemembered() {
    savedArm.forget();
    savedDisarm.forget();
}

void DelayFuncFrame::fillDelays(QComboBox* combo, bool off) {
    combo->clear();
    if (off)
        combo->addItem(QStringLiteral("Без задержки"));
    else
        combo->addItems(delayItems);
    combo->setEnabled(!off);
}

void DelayFuncFrame::PauseShlPToggle(bool off) {
    fillDelays(ui->CbP, off);
}

void DelayFuncFrame::PauseShlSToggle(bool off) {
    fillDelays(ui->CbS, off);
}

void DelayFuncFrame::applyDirection(const Direction& d) {
    d.delayOn = d.off->isChecked() ? 1 : 0;
    if (d.delayOn) {
        d.loop = 0;
    } else {
        for (int n = 1; n <= kLoops; ++n) {
            auto* button = numbered<QRadioButton>(d.loopButton, n);
            if (button && button->isChecked())
                d.loop = n - 1;
        }
    }
    StoreComboIndex(d.combo, d.delay);
    d.saved.forget();
}

void DelayFuncFrame::ApplyClick() {
    applyDirection(arming());
    applyDirection(disarming());
}

void DelayFuncFrame::loadDirection(const Direction& d) {
    QRadioButton* button = nullptr;
    if (d.delayOn == 0 && quint32(d.loop) < quint32(kLoops))
        button = numbered<QRadioButton>(d.loopButton, d.loop + 1);
    // A delay on no loop of any model (a hand-edited file) shows as none
    // rather than as the loop shown before.
    (button ? button : d.off)->setChecked(true);
    LoadComboIndex(d.combo, d.delay);
}

void DelayFuncFrame::CancelClick() {
    loadDirection(arming());
    loadDirection(disarming());
}

void DelayFuncFrame::followModel(const Direction& d, int loops) {
    // Only a delay in use is parked: an unused one has nothing to give back.
    if (d.delayOn == 0 && d.loop >= loops && !d.saved.held()) {
        d.saved.remember({d.loop, d.delay});
        d.delayOn = 1;
        d.loop = 0;
        d.delay = 0;
        d.off->setChecked(true);
        return;
    }
    if (d.saved.held() && d.saved.value().loop >= 0 && d.saved.value().loop < loops) {
        const DelayChoice choice = d.saved.take();
        d.delayOn = 0;
        d.loop = choice.loop;
        if (auto* button = numbered<QRadioButton>(d.loopButton, choice.loop + 1))
            button->setChecked(true);
        d.delay = choice.delay;
        LoadComboIndex(d.combo, choice.delay);
    }
}

void DelayFuncFrame::TPribSlot(int type) {
    ShowLoopRows({QStringLiteral("RbPShl"), QStringLiteral("RbSShl"), QStringLiteral("lp"),
                  QStringLiteral("ls")},
                 type);
    // The model's own loop count: a technological loop lowers the zones'
    // count, yet its neighbours still exist and keep their delays.
    const int loops = LoopCountOf(type);
    followModel(arming(), loops);
    followModel(disarming(), loops);
}

void DelayFuncFrame::setLoopButtonsEnabled(bool enabled) {
    for (int n = 1; n <= kLoops; ++n) {
        for (const char* stem : {"RbPShl%1", "RbSShl%1"}) {
            if (auto* button = numbered<QRadioButton>(QString::fromLatin1(stem), n))
                button->setEnabled(enabled);
        }
    }
}

void DelayFuncFrame::NumTShlChange(int n) {
    setLoopButtonsEnabled(true);
    auto* arm = numbered<QRadioButton>(QStringLiteral("RbPShl%1"), n);
    auto* disarm = numbered<QRadioButton>(QStringLiteral("RbSShl%1"), n);
    if (n <= 0 || !arm || !disarm) {
        ui->lInfo->hide();
        return;
    }
    // The technological loop cannot carry a delay: a choice on it falls
    // back to none, which the next apply stores.
    if (arm->isChecked())
        ui->RbnuP->setChecked(true);
    if (disarm->isChecked())
        ui->RbnuS->setChecked(true);
    arm->setEnabled(false);
    disarm->setEnabled(false);
    ui->lInfo->setText(
        QStringLiteral("Шлейф №%1 заблокирован, так как является технологическим.").arg(n));
    ui->lInfo->show();
}

void DelayFuncFrame::VersionChange() {
    if (!FwLaterThan(header(), fw::k21_09_2009))
        setLoopButtonsEnabled(true);
    TypeObjChange();
}

void DelayFuncFrame::TypeObjChange() {
    if (FwOnOrAfter(header(), fw::k19_04_2012)) {
        ui->lDelayNoEn->hide();
        ui->GbM1->setEnabled(true);
        ui->lInfo->setEnabled(true);
        return;
    }
    const int type = header().objectType;
    ui->lDelayNoEn->setVisible(type == OBJ_COMPLEX);
    ui->GbM1->setEnabled(type == OBJ_SIMPLE);
    ui->lInfo->setEnabled(type == OBJ_SIMPLE);
}
