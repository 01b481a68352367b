#include "link/dialogs/PortOptions.h"

#include "ui_PortOptions.h"

PortOptions::PortOptions(QWidget* parent) : QDialog(parent), ui(new Ui::PortOptions) {
    ui->setupUi(this);
    speedList << QStringLiteral("110") << QStringLiteral("300") << QStringLiteral("1200")
              << QStringLiteral("2400") << QStringLiteral("4800") << QStringLiteral("9600")
              << QStringLiteral("19200") << QStringLiteral("38400") << QStringLiteral("57600")
              << QStringLiteral("115200") << QStringLiteral("230400") << QStringLiteral("460800")
              << QStringLiteral("921600");
    dataBitsList << QStringLiteral("5") << QStringLiteral("6") << QStringLiteral("7")
                 << QStringLiteral("8");
    parityList << QStringLiteral("Чётно") << QStringLiteral("Нечётно") << QStringLiteral("Нет")
               << QStringLiteral("Маркер (1)") << QStringLiteral("Пробел (0)");
    stopBitsList << QStringLiteral("1") << QStringLiteral("1,5") << QStringLiteral("2");
    flowList << QStringLiteral("Xon / Xoff") << QStringLiteral("Аппаратное")
             << QStringLiteral("Нет");
    ui->CbSpeed->addItems(speedList);
    ui->CbDataBits->addItems(dataBitsList);
    ui->CbChet->addItems(parityList);
    ui->CbStopBit->addItems(stopBitsList);
    ui->CbContrStream->addItems(flowList);
    connect(ui->BCancel, &QPushButton::clicked, this, &QDialog::reject);
}

PortOptions::~PortOptions() {
    delete ui;
}

// Language changes are not followed: the texts are fixed at construction.
void PortOptions::changeEvent(QEvent*) {}
