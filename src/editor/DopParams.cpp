#include "editor/DopParams.h"

#include "settings/Firmware.h"
#include "ui_DopParams.h"

#include <QRegularExpressionValidator>

namespace {

const QString kDefaultCallPrefix = QStringLiteral("+7");

// The first family's 4-loop model has voice passwords only from 19.04.2012.
bool VoicePasswordsForcedOff(const DeviceHeader& h) {
    return h.deviceType == DEV_D4M && !FwOnOrAfter(h, fw::k19_04_2012);
}

QStringList LoopItems(int loops) {
    QStringList items{QStringLiteral("Не используется")};
    for (int n = 1; n <= loops; ++n)
        items << QString::number(n);
    return items;
}

} // namespace

DopParams::DopParams(QWidget* parent) : ParamsPage(parent), ui(new Ui::DopParams) {
    ui->setupUi(this);
    ui->chbUseSounds->hide();
    connect(ui->chbUseSounds, &QCheckBox::toggled, this, &DopParams::UseSoundsToggle);
    loopItems4 = LoopItems(4);
    loopItems6 = LoopItems(6);
    loopItems8 = LoopItems(8);
    ui->CbNTShl->addItems(loopItems4);
    connect(ui->CbNTShl, &QComboBox::currentIndexChanged, this, &DopParams::SigNumTehShlChange);
    ui->leCallPrefix->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[+0-9]\\d*")), ui->leCallPrefix));
}

DopParams::~DopParams() {
    delete ui;
}

void DopParams::ForgetRemembered() {
    savedVoicePasswords.forget();
    savedTechLoop.forget();
}

void DopParams::TPribSlot(int type) {
    ExtraOptions& extra = *settings().extra;
    ui->CbNTShl->clear();
    ui->CbNTShl->addItems(type == DEV_D4M ? loopItems4 : type == DEV_D8M ? loopItems8 : loopItems6);
    const int count = ui->CbNTShl->count();
    const int loop = extra.techLoop;
    if (loop < 0 || loop > kLoops) {
        // No model has such a loop (a damaged image or file): it is neither
        // shown nor remembered, and an apply leaves it as it came.
        ui->CbNTShl->setCurrentIndex(-1);
    } else if (count > loop) {
        if (!savedTechLoop.held()) {
            ui->CbNTShl->setCurrentIndex(loop);
        } else if (savedTechLoop.value() < count) {
            extra.techLoop = savedTechLoop.take();
            ui->CbNTShl->setCurrentIndex(extra.techLoop);
        }
        // A remembered loop this list lacks stays remembered for a later
        // model; "Не используется" stays shown and stored meanwhile.
    } else {
        savedTechLoop.remember(loop);
        ui->CbNTShl->setCurrentIndex(0);
        extra.techLoop = 0;
    }
    VersionChange();
}

void DopParams::ApplyClick() {
    ExtraOptions& extra = *settings().extra;
    extra.useTamper = ui->chbUseTamper->isChecked() ? 1 : 0;
    extra.saveStateOnPowerOff = ui->chBSaveStatusPrib->isChecked() ? 1 : 0;
    extra.useVoiceMessages = ui->chbUseSounds->isChecked() ? 1 : 0;
    extra.silentArming = ui->cbTihPS->isChecked() ? 1 : 0;
    StoreComboIndex(ui->CbNTShl, extra.techLoop);
    const QString prefix = ui->leCallPrefix->text();
    extra.callPrefix = prefix.isEmpty() ? kDefaultCallPrefix : prefix;
    if (VoicePasswordsForcedOff(header())) {
        extra.useVoicePasswords = 0;
        ui->cbRechPass->setChecked(false);
    } else {
        extra.useVoicePasswords = ui->cbRechPass->isChecked() ? 1 : 0;
    }
    ForgetRemembered();
    emit SigUseSounds();
}

void DopParams::CancelClick() {
    const ExtraOptions& extra = *settings().extra;
    ui->chbUseTamper->setChecked(extra.useTamper != 0);
    ui->chBSaveStatusPrib->setChecked(extra.saveStateOnPowerOff != 0);
    ui->chbUseSounds->setChecked(extra.useVoiceMessages != 0);
    ui->cbTihPS->setChecked(extra.silentArming != 0);
    ui->cbRechPass->setChecked(extra.useVoicePasswords != 0);
    ui->leCallPrefix->setText(extra.callPrefix);
    ui->cbRechPass->setChecked(!VoicePasswordsForcedOff(header()) && extra.useVoicePasswords != 0);
    LoadComboIndex(ui->CbNTShl, extra.techLoop);
}

void DopParams::IfChangeRegim() {
    const bool sounds = autonomous() && FwLaterThan(header(), fw::k27_11_2009);
    ui->chbUseSounds->setVisible(sounds);
    ui->cbRechPass->setVisible(sounds);
    VersionChange();
}

void DopParams::VersionChange() {
    const DeviceHeader& h = header();
    ExtraOptions& extra = *settings().extra;

    const bool techLoop = FwLaterThan(h, fw::k21_09_2009);
    ui->label_3->setVisible(techLoop);
    ui->CbNTShl->setVisible(techLoop);
    if (!techLoop) {
        // The oldest firmware has no technological loop: none is shown, and
        // stored by the next apply; a newer version before it gives it back.
        if (extra.techLoop != 0)
            savedTechLoop.remember(extra.techLoop);
        ui->CbNTShl->setCurrentIndex(0);
    } else if (savedTechLoop.held() && ui->CbNTShl->currentIndex() == 0) {
        // A loop this model lacks stays remembered for another model; one
        // that no model has shows no item again, kept as it came.
        const int loop = savedTechLoop.value();
        if (loop < ui->CbNTShl->count() || loop < 0 || loop > kLoops)
            LoadComboIndex(ui->CbNTShl, savedTechLoop.take());
    }

    ui->chbUseSounds->setVisible(FwLaterThan(h, fw::k27_11_2009) && IsAutonomous(h));

    if (VoicePasswordsForcedOff(h)) {
        savedVoicePasswords.remember(extra.useVoicePasswords);
        ui->cbRechPass->setChecked(false);
        extra.useVoicePasswords = 0;
        ui->cbRechPass->hide();
    } else {
        if (savedVoicePasswords.held()) {
            extra.useVoicePasswords = savedVoicePasswords.take();
            ui->cbRechPass->setChecked(extra.useVoicePasswords != 0);
        }
        ui->cbRechPass->setVisible(FwOnOrAfter(h, fw::k15_04_2010) && IsAutonomous(h));
    }

    ui->cbTihPS->setVisible(FwEquals(h, fw::k19_12_2009) || FwOnOrAfter(h, fw::k05_06_2010));
}

void DopParams::UseSoundsToggle(bool use) {
    ui->cbRechPass->setEnabled(use);
    if (!use)
        ui->cbRechPass->setChecked(false);
}
