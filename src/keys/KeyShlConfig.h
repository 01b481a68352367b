#pragma once

#include "pagebase/ParamsPage.h"

#include <QModelIndex>

class KeyShlTable;

namespace Ui {
class KeyShlConfig;
}

// The key-to-loop page: which loops each Touch-Memory key is bound to, and
// the key's two names. Its table is the working copy; KeyLoopMatrix follows
// every edit at once, the settings only an apply.
class KeyShlConfig : public ParamsPage {
    Q_OBJECT

public:
    explicit KeyShlConfig(QWidget* parent = nullptr);
    ~KeyShlConfig() override;

    KeyShlTable* model() const { return m_model; }
    // The 0-based technological loop, -1 for none.
    int techLoop() const { return techLoopIndex; }

signals:
    void SigTableDataChanged(const QModelIndex&, const QModelIndex&);

public slots:
    void TDevChange(int type);
    void ApplyClick() override;
    void CancelClick() override;
    void NumTShlChange(int n);
    void SetTableDataChange(const QModelIndex& index1, const QModelIndex& index2);
    void RewriteNormilizedChecks();

private:
    KeyShlTable* m_model;
    int techLoopIndex = -1;
    Ui::KeyShlConfig* ui;
};
