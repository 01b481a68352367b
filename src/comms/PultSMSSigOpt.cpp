#include "comms/PultSMSSigOpt.h"

#include "comms/CommsFields.h"
#include "ui_PultSMSSigOpt.h"

#include <QPainter>

namespace {
constexpr int kHeaderLength = 15;
constexpr int kField1Length = 4;
constexpr int kField2Length = 10;
} // namespace

PultSMSSigOpt::PultSMSSigOpt(QWidget* parent) : QFrame(parent), ui(new Ui::PultSMSSigOpt) {
    ui->setupUi(this);
    ui->combobIdent->addItems({QStringLiteral("Отсутствует"), QStringLiteral("Ключ TouchMemory"),
                               QStringLiteral("Шлейф(ы)"), QStringLiteral("Шлейф(ы) + Ключ TM")});
    const std::pair<QLineEdit*, int> fields[] = {
        {ui->leZag, kHeaderLength}, {ui->leField1, kField1Length}, {ui->leField2, kField2Length}};
    for (const auto& [field, length] : fields) {
        field->setMaxLength(length);
        field->setValidator(LatinNameValidator(field));
    }
}

PultSMSSigOpt::~PultSMSSigOpt() {
    delete ui;
}

void PultSMSSigOpt::SetEvent(const QString& caption, bool keyName, bool loopNames) {
    ui->lEvent->setText(caption);
    ui->cbUseKeyName->setVisible(keyName);
    ui->cbUseShlName->setVisible(loopNames);
    update();
}

void PultSMSSigOpt::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setPen(Qt::gray);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    const int spacing = std::max(ui->gridLayout->horizontalSpacing(), 0);
    const int nameEdge = ui->lEvent->geometry().right() + spacing / 2;
    const int fieldsEdge = ui->cbTimeDate->geometry().right() + spacing / 2;
    for (int x : {nameEdge, fieldsEdge})
        p.drawLine(x, 0, x, height() - 1);
}
