// The cameras page: which cameras are fitted and which loops trigger them.

#include "wizard/WizardOM.h"

#include "outputs/CamerasExecTable.h"
#include "ui_WizardOM.h"

#include <QHeaderView>

void WizardOM::setupCamerasPage() {
    camerasModel = new CamerasExecTable(this);
    camerasModel->clearCells();
    ui->tvCamerasExec->setModel(camerasModel);
    ui->tvCamerasExec->resizeColumnsToContents();
    ui->tvCamerasExec->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ui->tvCamerasExec->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    void (WizardOM::*const camSlots[kCameras])(bool) = {
        &WizardOM::UseCamSelect_1, &WizardOM::UseCamSelect_2, &WizardOM::UseCamSelect_3,
        &WizardOM::UseCamSelect_4, &WizardOM::UseCamSelect_5, &WizardOM::UseCamSelect_6,
        &WizardOM::UseCamSelect_7, &WizardOM::UseCamSelect_8};
    for (int c = 1; c <= kCameras; ++c)
        connect(child<QCheckBox>(QStringLiteral("cbUseCam_"), c), &QCheckBox::toggled, this,
                camSlots[c - 1]);
}

// The rows of loops the model lacks are hidden and hold no links, in the
// table and in the settings.
void WizardOM::clearCameraRows(int type) {
    for (int row = 4; row <= 7; ++row)
        ui->tvCamerasExec->showRow(row);
    int firstAbsent = kLoops;
    if (type == DEV_D4M)
        firstAbsent = 4;
    else if (type == DEV_VororaZ || type == DEV_VoduzeR)
        firstAbsent = 6;
    for (int row = firstAbsent; row < kLoops; ++row) {
        ui->tvCamerasExec->hideRow(row);
        for (int camera = 0; camera < kCameras; ++camera) {
            camerasModel->setCheck(row, camera, false);
            if (g_deviceSettings)
                g_deviceSettings->cameras->execCamera[row][camera] = 0;
        }
    }
    camerasModel->reset();
}

void WizardOM::loadCameras() {
    const CamerasConfig& cameras = *g_deviceSettings->cameras;
    for (int c = 1; c <= kCameras; ++c) {
        const bool fitted = cameras.useCamera[c - 1] != 0;
        child<QCheckBox>(QStringLiteral("cbUseCam_"), c)->setChecked(fitted);
        // A box that was unticked already did not toggle: clear its column
        // all the same, so no earlier run decides what a camera keeps.
        if (!fitted)
            useCamSelect(c, false);
    }
    for (int loop = 0; loop < kLoops; ++loop)
        for (int camera = 0; camera < kCameras; ++camera)
            camerasModel->setCheck(loop, camera, cameras.execCamera[loop][camera] != 0);
    // Loops the model lacks trigger no camera, whatever the device held.
    clearCameraRows(deviceType);
}

void WizardOM::applyCameras() {
    CamerasConfig& cameras = *g_deviceSettings->cameras;
    for (int c = 1; c <= kCameras; ++c)
        cameras.useCamera[c - 1] =
            child<QCheckBox>(QStringLiteral("cbUseCam_"), c)->isChecked() ? 1 : 0;
    for (int loop = 0; loop < kLoops; ++loop)
        for (int camera = 0; camera < kCameras; ++camera)
            cameras.execCamera[loop][camera] = camerasModel->check(loop, camera) ? 1 : 0;
    camerasModel->reset();
}

void WizardOM::summariseCameras(QStringList& lines) const {
    lines << QString() << QStringLiteral("Параметры камер:");
    for (int c = 1; c <= kCameras; ++c) {
        if (!child<QCheckBox>(QStringLiteral("cbUseCam_"), c)->isChecked())
            continue;
        QString line = QStringLiteral(" - камера №%1 связана со шлейфами: ").arg(c);
        for (int loop = 1; loop <= kLoops; ++loop) {
            const QModelIndex cell = camerasModel->index(loop - 1, c - 1);
            if (camerasModel->data(cell, Qt::CheckStateRole).toInt() == Qt::Checked)
                line += QStringLiteral("%1, ").arg(loop);
        }
        line.chop(2);
        lines << line;
    }
}

void WizardOM::useCamSelect(int camera, bool on) {
    const int column = camera - 1;
    ui->tvCamerasExec->setColumnHidden(column, !on);
    if (on)
        return;
    // Written at once: a camera that is not fitted triggers on no loop.
    for (int loop = 0; loop < kLoops; ++loop) {
        if (g_deviceSettings)
            g_deviceSettings->cameras->execCamera[loop][column] = 0;
        camerasModel->setCheck(loop, column, false);
    }
}

void WizardOM::UseCamSelect_1(bool on) {
    useCamSelect(1, on);
}
void WizardOM::UseCamSelect_2(bool on) {
    useCamSelect(2, on);
}
void WizardOM::UseCamSelect_3(bool on) {
    useCamSelect(3, on);
}
void WizardOM::UseCamSelect_4(bool on) {
    useCamSelect(4, on);
}
void WizardOM::UseCamSelect_5(bool on) {
    useCamSelect(5, on);
}
void WizardOM::UseCamSelect_6(bool on) {
    useCamSelect(6, on);
}
void WizardOM::UseCamSelect_7(bool on) {
    useCamSelect(7, on);
}
void WizardOM::UseCamSelect_8(bool on) {
    useCamSelect(8, on);
}
