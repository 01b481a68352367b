#pragma once

#include <QFrame>

class PultSMSTable;

namespace Ui {
class PultSMSBaseOpt;
}

// First tab of the console SMS page: the SMS numbers, the sending options,
// the table of events by number, the object name and the loop names.
class PultSMSBaseOpt : public QFrame {
    Q_OBJECT

public:
    explicit PultSMSBaseOpt(QWidget* parent = nullptr);
    ~PultSMSBaseOpt() override;

    PultSMSTable* table() const { return model; }

private:
    Ui::PultSMSBaseOpt* ui;
    PultSMSTable* model;
};
