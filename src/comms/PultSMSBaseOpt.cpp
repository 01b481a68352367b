#include "comms/PultSMSBaseOpt.h"

#include "comms/CommsFields.h"
#include "comms/PultSMSTable.h"
#include "ui_PultSMSBaseOpt.h"

namespace {
constexpr int kRowHeight = 18;
constexpr int kColumnWidth = 31;
constexpr int kNameLength = 8;
} // namespace

PultSMSBaseOpt::PultSMSBaseOpt(QWidget* parent)
    : QFrame(parent), ui(new Ui::PultSMSBaseOpt),
      model(new PultSMSTable(kConsoleEvents, kMainNumbers, this)) {
    ui->setupUi(this);
    ui->tvSMS->setModel(model);
    for (int r = 0; r < kConsoleEvents; ++r)
        ui->tvSMS->setRowHeight(r, kRowHeight);
    for (int c = 0; c < kMainNumbers; ++c)
        ui->tvSMS->setColumnWidth(c, kColumnWidth);
    QList<QLineEdit*> names{ui->leObjName};
    for (int n = 1; n <= kLoops; ++n)
        names << findChild<QLineEdit*>(QStringLiteral("leShl%1").arg(n));
    for (QLineEdit* name : names) {
        name->setMaxLength(kNameLength);
        name->setValidator(LatinNameValidator(name));
    }
}

PultSMSBaseOpt::~PultSMSBaseOpt() {
    delete ui;
}
