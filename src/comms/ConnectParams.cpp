#include "comms/ConnectParams.h"

#include "comms/CommsFields.h"
#include "settings/DeviceSettings.h"
#include "settings/Firmware.h"
#include "settings/Prompt.h"
#include "ui_ConnectParams.h"

#include <QSignalBlocker>

ConnectParams::ConnectParams(QWidget* parent) : ParamsPage(parent), ui(new Ui::ConnectParams) {
    ui->setupUi(this);
    ui->coBInterTest->addItems(TestIntervalTexts());
    stations = {ui->cbUsePPM9,  ui->cbUsePPM10, ui->cbUsePPM11, ui->cbUsePPM12,
                ui->cbUsePPM13, ui->cbUsePPM14, ui->cbUsePPM15};
    for (QCheckBox* box : stations)
        connect(box, &QCheckBox::clicked, this, &ConnectParams::RevisionUsingGBR);
    connect(ui->sbPopGBR, &QSpinBox::valueChanged, this, &ConnectParams::RevisionUsingGBR);
}

ConnectParams::~ConnectParams() {
    delete ui;
}

QStringList ConnectParams::TestIntervalTexts() {
    const QString minutes = QStringLiteral(" мин.");
    const QString hours = QStringLiteral(" ч.");
    QStringList items;
    for (const char* n : {"10", "20", "30", "40", "50"})
        items << QString::fromLatin1(n) + minutes;
    for (const char* n : {"1", "1,5", "2", "2,5", "3", "4,5", "6", "12", "24"})
        items << QString::fromLatin1(n) + hours;
    return items;
}

QByteArray ConnectParams::NextObjectNumber(const QByteArray& number) {
    bool ok = false;
    const int value = number.toInt(&ok);
    return ObjectNumberText(ok ? value + 1 : 1);
}

QCheckBox* ConnectParams::stationBox(int n) const {
    const int i = n - kFirstTestStation;
    return i >= 0 && i < kTestStations ? stations[i] : nullptr;
}

void ConnectParams::ApplyClick() {
    if (autonomous())
        return;
    ConnectionParams& c = *settings().connection;
    c.objectNumber = ObjectNumberText(ui->sbNumObj->value());
    c.autoIncrementNumber = ui->cbIncNum->isChecked();
    c.csdDetail = ui->cbIshCSD->isChecked();
    c.reserveReceiversFirst = ui->cbRezPPM->isChecked();
    c.asyncTransfer = ui->cbUseAsyncTrans->isChecked();
    c.deleteUnsent = ui->cbDelMsgs->isChecked();
    c.testWhenOpen = ui->cbIshTestOpen->isChecked();
    c.testWhenClosed = ui->cbIshTestClose->isChecked();
    StoreComboIndex(ui->coBInterTest, c.testInterval);
    c.testAttempts = ui->sbPopTest->value();
    // A station the federal page switched off keeps its choice for later.
    for (int i = 0; i < kTestStations; ++i)
        c.testReceiver[i] = stations[i]->isChecked();
    c.rapidResponseAttempts = ui->sbPopGBR->value();
}

void ConnectParams::CancelClick() {
    const ConnectionParams& c = *settings().connection;
    const PhoneNumbers& phones = *settings().phones;
    ui->sbNumObj->setValue(ObjectNumberValue(c.objectNumber));
    ui->cbIncNum->setChecked(c.autoIncrementNumber != 0);
    ui->cbIshCSD->setChecked(c.csdDetail != 0);
    ui->cbRezPPM->setChecked(c.reserveReceiversFirst != 0);
    ui->cbUseAsyncTrans->setChecked(c.asyncTransfer != 0);
    ui->cbDelMsgs->setChecked(c.deleteUnsent != 0);
    ui->cbIshTestOpen->setChecked(c.testWhenOpen != 0);
    ui->cbIshTestClose->setChecked(c.testWhenClosed != 0);
    LoadComboIndex(ui->coBInterTest, c.testInterval);
    ui->sbPopTest->setValue(c.testAttempts);
    // Stations 9..15 are in use by use flags 4..10.
    for (int i = 0; i < kTestStations; ++i) {
        stations[i]->setEnabled(phones.useFlag[i + 4] != 0);
        stations[i]->setChecked(c.testReceiver[i] != 0);
    }
    // A reload must not warn from boxes that are only half loaded.
    const QSignalBlocker quiet(ui->sbPopGBR);
    ui->sbPopGBR->setValue(c.rapidResponseAttempts);
}

bool ConnectParams::RevisionUsingGBR() {
    if (autonomous())
        return true;
    // Effective enabled state: with the test group gated off by the firmware
    // no station counts, so nothing is said.
    int enabled = 0;
    int checked = 0;
    for (const QCheckBox* box : stations) {
        if (box->isEnabled()) {
            ++enabled;
            checked += box->isChecked();
        }
    }
    if (enabled == 0 || checked != enabled || ui->sbPopGBR->value() < 1)
        return true;
    prompt().message(Prompt::Warning, this, QStringLiteral("Предупреждение"),
                     QStringLiteral("Все тестовые каналы задействованы под исходящее "
                                    "тестирование. \n Передача сигнала ГБР будет недоступна."),
                     Prompt::Ok);
    return false;
}

void ConnectParams::VersionChange() {
    const bool testing = FwLaterThan(header(), fw::k27_11_2009);
    ui->groupBox_2->setEnabled(testing);
    ui->groupBox_3->setEnabled(testing);
    const bool late = FwOnOrAfter(header(), fw::k19_04_2012);
    ui->cbUseAsyncTrans->setVisible(late);
    ui->cbDelMsgs->setVisible(late);
}

void ConnectParams::IncrementNumObj() {
    ConnectionParams& c = *settings().connection;
    if (autonomous() || !c.autoIncrementNumber)
        return;
    c.objectNumber = NextObjectNumber(c.objectNumber);
    ui->sbNumObj->setValue(ObjectNumberValue(c.objectNumber));
}

void ConnectParams::setCbPPM9Enabled(bool en) {
    stationBox(9)->setEnabled(en);
}
void ConnectParams::setCbPPM10Enabled(bool en) {
    stationBox(10)->setEnabled(en);
}
void ConnectParams::setCbPPM11Enabled(bool en) {
    stationBox(11)->setEnabled(en);
}
void ConnectParams::setCbPPM12Enabled(bool en) {
    stationBox(12)->setEnabled(en);
}
void ConnectParams::setCbPPM13Enabled(bool en) {
    stationBox(13)->setEnabled(en);
}
void ConnectParams::setCbPPM14Enabled(bool en) {
    stationBox(14)->setEnabled(en);
}
void ConnectParams::setCbPPM15Enabled(bool en) {
    stationBox(15)->setEnabled(en);
}
