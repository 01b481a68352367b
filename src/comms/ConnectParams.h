#pragma once

#include <QFrame>

namespace Ui {
class ConnectParams;
}

// The console link page of the parameters window (work mode "system").
class ConnectParams : public QFrame {
    Q_OBJECT

public:
    explicit ConnectParams(QWidget* parent = nullptr);
    ~ConnectParams() override;

    // The object number that follows `number` after a successful programming:
    // four digits, 9999 wraps to "0000", a text that is no number gives "0001".
    static QByteArray NextObjectNumber(const QByteArray& number);

public slots:
    void ApplyClick();
    void CancelClick();
    void VersionChange();
    void IncrementNumObj();

private:
    Ui::ConnectParams* ui;
};
