#pragma once

#include "link/Protocol.h"

#include <QByteArray>
#include <QDialog>
#include <QList>
#include <QString>
#include <QVector>

class QTimer;
class QVBoxLayout;
class ThermInfoLine;

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

// The thermometer sensors of the device: the list kept fresh once a second,
// a search for new sensors, limits per sensor or for all, dropping sensors
// and writing the list back. The window only asks: the link sends the
// requests and brings the answers.
class ThermsDSDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kRecordSize = proto::kThermRecordLength;
    static constexpr int kIdSize = 8;
    static constexpr int kPollMs = 1000;
    static constexpr int kWriteOkShownMs = 3000;

    explicit ThermsDSDialog(QWidget* parent = nullptr);
    ~ThermsDSDialog() override;

    // A count byte, then records of an 8-byte identifier and three
    // little-endian floats; only whole records within the bytes given count.
    static QList<ThermometerRecord> ParseThermometerList(const QByteArray& list);
    // The list to write back: count, then each identifier, "0000" in place of
    // the temperature, the upper and the lower limit. At most 255 records, so
    // the count byte always says how many follow.
    static QByteArray BuildThermometerList(const QList<ThermometerRecord>& list);
    // The row key of an identifier: 16 upper-case hexadecimal digits.
    static QString IdText(const QByteArray& id);

    // The rows in display order.
    const QVector<ThermInfoLine*>& rows() const { return thermsList; }
    bool realTimeMode() const;

signals:
    void SigGetTherms(bool findNew);
    void SigWriteTherms(QByteArray therms);

public slots:
    ThermInfoLine* appendThermToList();
    void receptIncomeStruct(QByteArray thermsArr);
    void setThermsWriteOK();
    void writeThermsStruct();
    void deleteThermInfoLine(ThermInfoLine* line);
    void getThermsClicked();
    void setRealTimeMode(bool en);
    void execTimerQuery();
    void setLimitsForAll(float min, float max);
    void execDialog();
    void closeDialog();

private:
    Ui::ThermsDSDialog* ui;
    QVBoxLayout* thermsLayout;
    QVector<ThermInfoLine*> thermsList;
    QTimer* realTimeTimer;
};
