#include "outputs/Cameras.h"

#include "outputs/CamerasExecTable.h"
#include "ui_Cameras.h"

#include <QCheckBox>
#include <QHeaderView>

Cameras::Cameras(QWidget* parent)
    : ParamsPage(parent), execModel(new CamerasExecTable(this)), ui(new Ui::Cameras) {
    ui->setupUi(this);
    ui->tvCamerasExec->setModel(execModel);
    execModel->clearCells();
    ui->tvCamerasExec->resizeColumnsToContents();
    ui->tvCamerasExec->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ui->tvCamerasExec->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);

    void (Cameras::*handlers[])(bool) = {&Cameras::UseCamSelect_1, &Cameras::UseCamSelect_2,
                                         &Cameras::UseCamSelect_3, &Cameras::UseCamSelect_4,
                                         &Cameras::UseCamSelect_5, &Cameras::UseCamSelect_6,
                                         &Cameras::UseCamSelect_7, &Cameras::UseCamSelect_8};
    for (int n = 1; n <= kCameras; ++n)
        connect(numbered<QCheckBox>(QStringLiteral("cbUseCam_%1"), n), &QCheckBox::toggled, this,
                handlers[n - 1]);
}

Cameras::~Cameras() {
    delete ui;
}

void Cameras::useCamera(int column, bool on) {
    ui->tvCamerasExec->setColumnHidden(column, !on);
    if (on || m_loading)
        return;
    CamerasConfig& cam = *settings().cameras;
    for (int r = 0; r < kLoops; ++r) {
        cam.execCamera[size_t(r)][size_t(column)] = 0;
        execModel->setCheck(r, column, false);
    }
    execModel->reset();
}

void Cameras::UseCamSelect_1(bool on) {
    useCamera(0, on);
}
void Cameras::UseCamSelect_2(bool on) {
    useCamera(1, on);
}
void Cameras::UseCamSelect_3(bool on) {
    useCamera(2, on);
}
void Cameras::UseCamSelect_4(bool on) {
    useCamera(3, on);
}
void Cameras::UseCamSelect_5(bool on) {
    useCamera(4, on);
}
void Cameras::UseCamSelect_6(bool on) {
    useCamera(5, on);
}
void Cameras::UseCamSelect_7(bool on) {
    useCamera(6, on);
}
void Cameras::UseCamSelect_8(bool on) {
    useCamera(7, on);
}

void Cameras::clearLoop(int row) {
    settings().cameras->execCamera[size_t(row)].fill(0);
    for (int c = 0; c < kCameras; ++c)
        execModel->setCheck(row, c, false);
}

void Cameras::TPribChange(int type) {
    // Four loops, six for the two larger models, eight otherwise.
    const int loops = type == DEV_D4M ? 4 : (type == DEV_VororaZ || type == DEV_VoduzeR ? 6 : 8);
    for (int row = 4; row < kLoops; ++row) {
        const bool shown = row < loops;
        ui->tvCamerasExec->setRowHidden(row, !shown);
        if (!shown)
            clearLoop(row);
    }
    execModel->reset();
}

void Cameras::CancelClick() {
    const CamerasConfig& cam = *settings().cameras;
    m_loading = true;
    for (int i = 0; i < kCameras; ++i) {
        numbered<QCheckBox>(QStringLiteral("cbUseCam_%1"), i + 1)
            ->setChecked(cam.useCamera[size_t(i)] != 0);
        for (int c = 0; c < kCameras; ++c)
            execModel->setCheck(i, c, cam.execCamera[size_t(i)][size_t(c)] != 0);
    }
    m_loading = false;
    execModel->reset();
}

void Cameras::ApplyClick() {
    CamerasConfig& cam = *settings().cameras;
    for (int i = 0; i < kCameras; ++i) {
        cam.useCamera[size_t(i)] =
            numbered<QCheckBox>(QStringLiteral("cbUseCam_%1"), i + 1)->isChecked() ? 1 : 0;
        for (int c = 0; c < kCameras; ++c)
            cam.execCamera[size_t(i)][size_t(c)] = execModel->check(i, c) ? 1 : 0;
    }
    execModel->reset();
}
