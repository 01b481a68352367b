#pragma once

#include <QDialog>

namespace Ui {
class OperatorEdit;
}

// Edits one GSM operator of the settings object's list, or a new one, and
// writes it to "GSM.cfg".
class OperatorEdit : public QDialog {
    Q_OBJECT

public:
    explicit OperatorEdit(QWidget* parent = nullptr);
    ~OperatorEdit() override;

    // Fills the fields and the title for a new operator or for operator
    // `index`; false for an index outside the list (nothing to edit).
    bool Prepare(bool create, int index);

signals:
    void SigUpdateList(int index);

public slots:
    // Prepares the dialog and runs it modally; Rejected without showing it
    // when there is nothing to edit.
    int ExecDialog(bool create, int index);
    void ApplyClick();

private:
    bool m_create = false;
    int m_index = 0;
    Ui::OperatorEdit* ui;
};
