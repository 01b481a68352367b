#include "service/ThermsDSDialog.h"

#include "ui_ThermsDSDialog.h"

#include <QLabel>
#include <QtEndian>

#include <cstring>

namespace {
// Inside a record, after the identifier: little-endian IEEE floats.
constexpr int kTemperaturePos = 8;
constexpr int kUpperLimitPos = 12;
constexpr int kLowerLimitPos = 16;

float readFloat(const char* p) {
    const quint32 bits = qFromLittleEndian<quint32>(p);
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

void appendFloat(QByteArray& out, float f) {
    quint32 bits;
    std::memcpy(&bits, &f, sizeof bits);
    char b[4];
    qToLittleEndian<quint32>(bits, b);
    out.append(b, 4);
}
} // namespace

ThermsDSDialog::ThermsDSDialog(QWidget* parent) : QDialog(parent), ui(new Ui::ThermsDSDialog) {
    ui->setupUi(this);
    connect(ui->pbReadTherms, &QPushButton::clicked, this, [this] { emit SigGetTherms(false); });
    connect(ui->pbSearchTherms, &QPushButton::clicked, this, [this] { emit SigGetTherms(true); });
    connect(ui->pbWriteTherms, &QPushButton::clicked, this,
            [this] { emit SigWriteTherms(BuildThermometerList(thermometers)); });
    connect(ui->pbCancel, &QPushButton::clicked, this, &QDialog::reject);
}

ThermsDSDialog::~ThermsDSDialog() {
    delete ui;
}

QList<ThermometerRecord> ThermsDSDialog::ParseThermometerList(const QByteArray& list) {
    QList<ThermometerRecord> out;
    if (list.isEmpty())
        return out;
    const int count = quint8(list.at(0));
    for (int i = 0; i < count; ++i) {
        const qsizetype at = 1 + qsizetype(i) * kRecordSize;
        if (at + kRecordSize > list.size())
            break;
        const char* p = list.constData() + at;
        ThermometerRecord r;
        r.id = QByteArray(p, kIdSize);
        r.temperature = readFloat(p + kTemperaturePos);
        r.upperLimit = readFloat(p + kUpperLimitPos);
        r.lowerLimit = readFloat(p + kLowerLimitPos);
        out << r;
    }
    return out;
}

QByteArray ThermsDSDialog::BuildThermometerList(const QList<ThermometerRecord>& list) {
    QByteArray out;
    const int count = int(qMin<qsizetype>(list.size(), 255));
    out.append(char(count));
    for (int i = 0; i < count; ++i) {
        const ThermometerRecord& r = list.at(i);
        out.append(r.id.left(kIdSize).leftJustified(kIdSize, '\0'));
        out.append("0000", 4);
        appendFloat(out, r.upperLimit);
        appendFloat(out, r.lowerLimit);
    }
    return out;
}

void ThermsDSDialog::execDialog() {
    ui->lWriteOk->clear();
    emit SigGetTherms(false);
    exec();
}

void ThermsDSDialog::receptIncomeStruct(QByteArray thermsArr) {
    thermometers = ParseThermometerList(thermsArr);
    for (QLabel* l : ui->thermsList->findChildren<QLabel*>())
        delete l;
    int n = 1;
    for (const ThermometerRecord& r : thermometers) {
        auto* line = new QLabel(QStringLiteral("%1. %2: %3 °C (%4 .. %5)")
                                    .arg(n++)
                                    .arg(QString::fromLatin1(r.id.toHex(' ')))
                                    .arg(double(r.temperature))
                                    .arg(double(r.lowerLimit))
                                    .arg(double(r.upperLimit)),
                                ui->thermsList);
        ui->thermsLayout->insertWidget(ui->thermsLayout->count() - 1, line);
    }
}

void ThermsDSDialog::setThermsWriteOK() {
    ui->lWriteOk->setText(QStringLiteral("Записано"));
}
