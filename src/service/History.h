#pragma once

#include <QDialog>

class JournalTable;
class LastStateTable;
class QEvent;

namespace Ui {
class History;
}

// The device's event journal and last state, as the last decoded memory
// image (a read of the device or an image file) left them in the settings.
class History : public QDialog {
    Q_OBJECT

public:
    explicit History(QWidget* parent = nullptr);
    ~History() override;

    LastStateTable* lastStateModel;
    JournalTable* journalModel;

    // Brings the newest record into view; no newest record, no move.
    void ScrollJournalToLast();
    void SetInfoVisible(bool visible);

public slots:
    // Lays the journal out for the chosen firmware: 16 records, or 200 with
    // date and time from 15.04.2010 on.
    void VersionChange();

protected:
    void changeEvent(QEvent* event) override;

private:
    Ui::History* ui;
};
