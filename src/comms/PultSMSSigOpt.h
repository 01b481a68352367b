#pragma once

#include <QFrame>

namespace Ui {
class PultSMSSigOpt;
}

// One event's row on the second tab of the console SMS page: its name, the
// time-and-date option, the opening fields of the SMS and the identifier part.
class PultSMSSigOpt : public QFrame {
    Q_OBJECT

public:
    explicit PultSMSSigOpt(QWidget* parent = nullptr);
    ~PultSMSSigOpt() override;

    // Names the event and shows the key-name and loop-names boxes it has.
    void SetEvent(const QString& caption, bool keyName, bool loopNames);

protected:
    // Grey lines around the row and between its three columns.
    void paintEvent(QPaintEvent* event) override;

private:
    Ui::PultSMSSigOpt* ui;
};
