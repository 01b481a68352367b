#pragma once

#include <QWidget>

namespace Ui {
class StartMenu;
}

// The first screen: the setup wizard, the full editor, or exit.
class StartMenu : public QWidget {
    Q_OBJECT

public:
    explicit StartMenu(QWidget* parent = nullptr);
    ~StartMenu() override;

signals:
    void SigStartWizard();
    void SigStartKeelwright();
    void SigSetWizardStatus(bool);

public slots:
    void StartWizard();
    void CloseWizard();

private:
    Ui::StartMenu* ui;
};
