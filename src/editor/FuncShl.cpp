#include "editor/FuncShl.h"

#include "settings/Firmware.h"
#include "ui_FuncShl.h"

#include <QCheckBox>
#include <QComboBox>

namespace {
// Analysis modes; the stored value is the item's index.
const QStringList kLoopAnalysisItems{QStringLiteral("Не анализируется"),
                                     QStringLiteral("Без восстановления"),
                                     QStringLiteral("С восстановлением")};

const QStringList kRowStems{"CombobSOS", "CombobVOS", "cbSOSv", "cbVOSv",
                            "cbSOSir",   "cbVOSir",   "l"};

// A check box's state as a stored flag, and back.
u8 Flag(const QCheckBox* box) {
    return box && box->isChecked() ? 1 : 0;
}
void SetFlag(QCheckBox* box, u8 flag) {
    if (box)
        box->setChecked(flag != 0);
}
} // namespace

FuncShl::FuncShl(QWidget* parent) : ParamsPage(parent), ui(new Ui::FuncShl) {
    ui->setupUi(this);
    for (int n = 1; n <= kLoops; ++n) {
        for (const char* stem : {"CombobSOS%1", "CombobVOS%1"}) {
            if (auto* combo = numbered<QComboBox>(QString::fromLatin1(stem), n))
                combo->addItems(kLoopAnalysisItems);
        }
    }
}

FuncShl::~FuncShl() {
    delete ui;
}

void FuncShl::ApplyClick() {
    LoopFunctions& f = *settings().loopFunctions;
    // Every loop, whatever the model shows: hidden rows keep their values.
    for (int n = 1; n <= kLoops; ++n) {
        const auto i = size_t(n - 1);
        StoreComboIndex(numbered<QComboBox>(QStringLiteral("CombobSOS%1"), n), f.openAnalysis[i]);
        StoreComboIndex(numbered<QComboBox>(QStringLiteral("CombobVOS%1"), n), f.closeAnalysis[i]);
        f.openLight[i] = Flag(numbered<QCheckBox>(QStringLiteral("cbSOSv%1"), n));
        f.closeLight[i] = Flag(numbered<QCheckBox>(QStringLiteral("cbVOSv%1"), n));
        f.openSiren[i] = Flag(numbered<QCheckBox>(QStringLiteral("cbSOSir%1"), n));
        f.closeSiren[i] = Flag(numbered<QCheckBox>(QStringLiteral("cbVOSir%1"), n));
    }
    f.errorOpenClose = Flag(ui->cbErrOpClEn);
}

void FuncShl::CancelClick() {
    const LoopFunctions& f = *settings().loopFunctions;
    for (int n = 1; n <= kLoops; ++n) {
        const auto i = size_t(n - 1);
        LoadComboIndex(numbered<QComboBox>(QStringLiteral("CombobSOS%1"), n), f.openAnalysis[i]);
        LoadComboIndex(numbered<QComboBox>(QStringLiteral("CombobVOS%1"), n), f.closeAnalysis[i]);
        SetFlag(numbered<QCheckBox>(QStringLiteral("cbSOSv%1"), n), f.openLight[i]);
        SetFlag(numbered<QCheckBox>(QStringLiteral("cbVOSv%1"), n), f.closeLight[i]);
        SetFlag(numbered<QCheckBox>(QStringLiteral("cbSOSir%1"), n), f.openSiren[i]);
        SetFlag(numbered<QCheckBox>(QStringLiteral("cbVOSir%1"), n), f.closeSiren[i]);
    }
    SetFlag(ui->cbErrOpClEn, f.errorOpenClose);
}

void FuncShl::TPribSlot(int type) {
    ShowLoopRows(kRowStems, type);
}

void FuncShl::VersionChange() {
    ui->gbAddPars->setVisible(FwOnOrAfter(header(), fw::k19_04_2012));
}
