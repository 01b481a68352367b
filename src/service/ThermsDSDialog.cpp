#include "service/ThermsDSDialog.h"

#include "link/LinkTiming.h"
#include "service/ThermInfoLine.h"
#include "ui_ThermsDSDialog.h"

#include <QSpacerItem>
#include <QTimer>
#include <QVBoxLayout>
#include <QtEndian>

#include <cstring>

namespace {
// Inside a record, after the identifier: little-endian IEEE floats.
constexpr int kTemperaturePos = 8;
constexpr int kUpperLimitPos = 12;
constexpr int kLowerLimitPos = 16;
constexpr int kMaxRecords = 255;
// Keeps the rows at the top of the list.
constexpr int kTrailingSpace = 50;

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

ThermsDSDialog::ThermsDSDialog(QWidget* parent)
    : QDialog(parent), ui(new Ui::ThermsDSDialog), realTimeTimer(new QTimer(this)) {
    ui->setupUi(this);
    connect(ui->pbCancel, &QPushButton::clicked, this, &ThermsDSDialog::closeDialog);
    ui->saThermsList->setWidgetResizable(true);
    ui->saThermsList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ui->saThermsList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* content = new QWidget;
    thermsLayout = new QVBoxLayout(content);
    ui->saThermsList->setWidget(content);
    connect(ui->pbSearchTherms, &QPushButton::clicked, this, &ThermsDSDialog::getThermsClicked);
    connect(ui->pbReadTherms, &QPushButton::clicked, this, &ThermsDSDialog::getThermsClicked);
    connect(ui->pbWriteTherms, &QPushButton::clicked, this, &ThermsDSDialog::writeThermsStruct);
    connect(ui->pbReadTherms, &QPushButton::toggled, this, &ThermsDSDialog::setRealTimeMode);
    connect(realTimeTimer, &QTimer::timeout, this, &ThermsDSDialog::execTimerQuery);
    // Escape and the title-bar button end the polling as "Закрыть" does: a
    // hidden window asks the device nothing.
    connect(this, &QDialog::rejected, this, [this] { setRealTimeMode(false); });
    ui->lWriteOk->hide();
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
    const int count = int(qMin<qsizetype>(list.size(), kMaxRecords));
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

QString ThermsDSDialog::IdText(const QByteArray& id) {
    return QString::fromLatin1(id.toHex().toUpper());
}

bool ThermsDSDialog::realTimeMode() const {
    return realTimeTimer->isActive();
}

ThermInfoLine* ThermsDSDialog::appendThermToList() {
    const int items = thermsLayout->count();
    if (items > 0 && thermsLayout->itemAt(items - 1)->spacerItem())
        delete thermsLayout->takeAt(items - 1);
    auto* line = new ThermInfoLine;
    thermsLayout->addWidget(line);
    thermsList.append(line);
    connect(line, &ThermInfoLine::sigSetRealTime, this, &ThermsDSDialog::setRealTimeMode);
    connect(line, &ThermInfoLine::sigSetValuesForAll, this, &ThermsDSDialog::setLimitsForAll);
    connect(line, &ThermInfoLine::sigRemoveTherm, this, &ThermsDSDialog::deleteThermInfoLine);
    line->setNumber(int(thermsList.size()));
    thermsLayout->addSpacerItem(new QSpacerItem(kTrailingSpace, kTrailingSpace,
                                                QSizePolicy::Minimum, QSizePolicy::Expanding));
    return line;
}

void ThermsDSDialog::receptIncomeStruct(QByteArray thermsArr) {
    if (thermsArr.isEmpty())
        return;
    for (ThermInfoLine* row : std::as_const(thermsList))
        row->present = false;
    for (const ThermometerRecord& r : ParseThermometerList(thermsArr)) {
        const QString id = IdText(r.id);
        ThermInfoLine* row = nullptr;
        for (ThermInfoLine* candidate : std::as_const(thermsList)) {
            if (candidate->id == id) {
                row = candidate;
                break;
            }
        }
        if (!row)
            row = appendThermToList();
        row->setID(id);
        row->setLimits(r.lowerLimit, r.upperLimit);
        row->setTemperature(r.temperature);
        row->present = true;
    }
    const QVector<ThermInfoLine*> rows = thermsList;
    for (ThermInfoLine* row : rows) {
        if (!row->present)
            deleteThermInfoLine(row);
    }
    for (int i = 0; i < thermsList.size(); ++i)
        thermsList.at(i)->setNumber(i + 1);
    thermsLayout->update();
}

void ThermsDSDialog::setThermsWriteOK() {
    ui->lWriteOk->show();
    // Every confirmation hides the label on its own; the earliest wins.
    QTimer::singleShot(kwlink::ScaledMs(kWriteOkShownMs), ui->lWriteOk, &QWidget::hide);
}

void ThermsDSDialog::writeThermsStruct() {
    QList<ThermometerRecord> list;
    for (const ThermInfoLine* row : std::as_const(thermsList)) {
        ThermometerRecord r;
        r.id = QByteArray::fromHex(row->id.toLatin1());
        r.upperLimit = row->upperLimit;
        r.lowerLimit = row->lowerLimit;
        list << r;
    }
    emit SigWriteTherms(BuildThermometerList(list));
}

void ThermsDSDialog::deleteThermInfoLine(ThermInfoLine* line) {
    const qsizetype at = thermsList.indexOf(line);
    if (at < 0)
        return;
    thermsList.remove(at);
    thermsLayout->removeWidget(line);
    line->hide();
    // The row may be the sender, or wait in its own question or limits
    // dialog: it goes once its slots have returned.
    line->dispose();
}

void ThermsDSDialog::getThermsClicked() {
    // The read button has toggled before its click arrives: a click that
    // switched real-time mode on asks at once, one that switched it off not.
    if (sender() == ui->pbSearchTherms)
        emit SigGetTherms(true);
    else if (ui->pbReadTherms->isChecked())
        emit SigGetTherms(false);
}

void ThermsDSDialog::setRealTimeMode(bool en) {
    if (en)
        realTimeTimer->start(kwlink::ScaledMs(kPollMs));
    else
        realTimeTimer->stop();
    if (ui->pbReadTherms->isChecked() != en)
        ui->pbReadTherms->setChecked(en);
}

void ThermsDSDialog::execTimerQuery() {
    emit SigGetTherms(false);
}

void ThermsDSDialog::setLimitsForAll(float min, float max) {
    for (ThermInfoLine* row : std::as_const(thermsList))
        row->setLimits(min, max);
}

void ThermsDSDialog::execDialog() {
    setRealTimeMode(true);
    exec();
}

void ThermsDSDialog::closeDialog() {
    setRealTimeMode(false);
    close();
}
