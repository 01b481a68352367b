#pragma once

#include "editor/base/ParamsPage.h"

#include <QModelIndex>

namespace Ui {
class KeyShlConfig;
}

// The key-to-loop page: which loops each Touch-Memory key is bound to.
class KeyShlConfig : public ParamsPage {
    Q_OBJECT

public:
    explicit KeyShlConfig(QWidget* parent = nullptr);
    ~KeyShlConfig() override;

signals:
    void SigTableDataChanged(const QModelIndex&, const QModelIndex&);

public slots:
    void ApplyClick() override;
    void CancelClick() override;
    void TDevChange(int type);
    void NumTShlChange(int n);
    void SetTableDataChange(const QModelIndex& index1, const QModelIndex& index2);
    void RewriteNormilizedChecks();

private:
    Ui::KeyShlConfig* ui;
};
