#pragma once

#include "pagebase/ParamsPage.h"

class CamerasExecTable;

namespace Ui {
class Cameras;
}

// The cameras page: the cameras present and the loops that trigger each.
// Unlike the other pages it writes its block outside apply too: unticking a
// camera, or a model with fewer loops, clears the entries that no longer
// exist at once.
class Cameras : public ParamsPage {
    Q_OBJECT

public:
    explicit Cameras(QWidget* parent = nullptr);
    ~Cameras() override;

    CamerasExecTable* model() const { return execModel; }

public slots:
    void ApplyClick() override;
    void CancelClick() override;
    void TPribChange(int type);
    void UseCamSelect_1(bool on);
    void UseCamSelect_2(bool on);
    void UseCamSelect_3(bool on);
    void UseCamSelect_4(bool on);
    void UseCamSelect_5(bool on);
    void UseCamSelect_6(bool on);
    void UseCamSelect_7(bool on);
    void UseCamSelect_8(bool on);

private:
    // Shows or hides camera `column`'s column; hiding clears it everywhere.
    void useCamera(int column, bool on);
    // Clears loop `row` in the block and in the table.
    void clearLoop(int row);

    CamerasExecTable* execModel;
    // Set while the page shows the settings: a camera loaded as unused hides
    // its column but keeps its loops, whatever the box showed before.
    bool m_loading = false;
    Ui::Cameras* ui;
};
