#pragma once

#include <QDialog>

namespace Ui {
class OperatorsDialog;
}

// The GSM operator list of the settings object, shown as a list of names.
class OperatorsDialog : public QDialog {
    Q_OBJECT

public:
    explicit OperatorsDialog(QWidget* parent = nullptr);
    ~OperatorsDialog() override;

signals:
    void SigListWasUpdated();

public slots:
    void UpdateInternalList(int row);

private:
    Ui::OperatorsDialog* ui;
};
