#pragma once

#include "link/Protocol.h"

#include <QByteArray>
#include <QDialog>
#include <QList>

namespace Ui {
class ThermsDSDialog;
}

// One thermometer of a ThermometerList.
struct ThermometerRecord {
    QByteArray id; // 8 bytes
    float temperature = 0;
    float upperLimit = 0;
    float lowerLimit = 0;
};

// The thermometer sensors of the device and their limits.
class ThermsDSDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kRecordSize = proto::kThermRecordLength;
    static constexpr int kIdSize = 8;

    explicit ThermsDSDialog(QWidget* parent = nullptr);
    ~ThermsDSDialog() override;

    // A count byte, then records of an 8-byte identifier and three
    // little-endian floats; reads no further than the bytes given.
    static QList<ThermometerRecord> ParseThermometerList(const QByteArray& list);
    // The list to write back: count, then each identifier, "0000" in place of
    // the temperature, and the two limits.
    static QByteArray BuildThermometerList(const QList<ThermometerRecord>& list);

    QList<ThermometerRecord> thermometers;

signals:
    void SigGetTherms(bool findNew);
    void SigWriteTherms(QByteArray therms);

public slots:
    void execDialog();
    void receptIncomeStruct(QByteArray thermsArr);
    void setThermsWriteOK();

private:
    Ui::ThermsDSDialog* ui;
};
