#pragma once

#include <QDialog>
#include <QStringList>

namespace Ui {
class PortOptions;
}

// The classic serial-port properties. Nothing here is stored or applied:
// the link always runs at 9600 8N1.
class PortOptions : public QDialog {
    Q_OBJECT

public:
    explicit PortOptions(QWidget* parent = nullptr);
    ~PortOptions() override;

protected:
    void changeEvent(QEvent* event) override;

private:
    Ui::PortOptions* ui;
    QStringList speedList;
    QStringList dataBitsList;
    QStringList parityList;
    QStringList stopBitsList;
    QStringList flowList;
};
