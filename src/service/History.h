#pragma once

#include <QDialog>

class JournalTable;
class LastStateTable;

namespace Ui {
class History;
}

// The device's event journal and last state from a memory read.
class History : public QDialog {
    Q_OBJECT

public:
    explicit History(QWidget* parent = nullptr);
    ~History() override;

    JournalTable* journalModel;
    LastStateTable* lastStateModel;

    void ScrollJournalToLast();
    void SetInfoVisible(bool visible);

public slots:
    void VersionChange();

private:
    Ui::History* ui;
};
