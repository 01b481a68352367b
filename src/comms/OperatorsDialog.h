#pragma once

#include <QDialog>

class OperatorEdit;

namespace Ui {
class OperatorsDialog;
}

// The GSM operator list of the settings object: shows it, and adds, edits and
// deletes operators, each change written to "GSM.cfg" at once.
class OperatorsDialog : public QDialog {
    Q_OBJECT

public:
    explicit OperatorsDialog(QWidget* parent = nullptr);
    ~OperatorsDialog() override;

    OperatorEdit* editor() const { return m_editor; }

signals:
    void SigListWasUpdated();

public slots:
    void UpdateInternalList(int index);
    void CreateNewOperator();
    void EditOperator();
    void DelOperator();
    void CurrentIndexChange(int index);

private:
    Ui::OperatorsDialog* ui;
    OperatorEdit* m_editor;
};

// Tells the user that "GSM.cfg" could not be written; the list in memory has
// changed all the same.
void ReportUnwrittenPresetFile(QWidget* parent, const QString& fileName);
