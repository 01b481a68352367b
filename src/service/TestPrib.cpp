#include "service/TestPrib.h"

#include "editor/LimNaprSh.h"
#include "link/Protocol.h"
#include "pagebase/ParamsPage.h"
#include "settings/Firmware.h"
#include "settings/SensorTypes.h"
#include "ui_TestPrib.h"

#include <QLCDNumber>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>

namespace {

// Touch-Memory signals start at 19: 19 + 8 * state + loop.
constexpr int kCmdFirstTouchSignal = 19;
constexpr int kTouchSignalStride = 8;
constexpr int kStatusTestOn = 122;
constexpr int kStatusTestOff = 123;
// A "K" packet carries loops 1-6, an "L" packet loops 7 and 8, each as a
// pair of bytes (low, high) from byte 1 on.
constexpr int kLoopsInK = 6;
constexpr int kLoopsInL = 2;
// Bytes of an "L" packet after its two loops.
constexpr int kKeyByte = 5;
constexpr int kMainsByte = 6;
constexpr int kSupplyHigh = 9;
constexpr int kSupplyMid = 10;
constexpr int kSupplyLow = 11;
constexpr int kMaxKeyShown = 20;
constexpr double kSupplyFullScale = 21.42;

const QColor kLedIdle(160, 160, 164);

// The record that loop `loop`'s sensor type selects, or none. The type is
// unsigned and may come from a file: compared as such, never cast first.
const SensorRecord* LoopSensor(const LoopLimits& l, int loop) {
    const quint32 type = l.sensorType[size_t(loop)];
    return type < quint32(l.sensors.size()) ? &l.sensors.at(int(type)) : nullptr;
}

// What a row shows before its first reading: its sensor's value for code 0,
// or 0 without a sensor.
QString IdleReading(const LoopLimits* limits, int loop) {
    const SensorRecord* sensor = limits ? LoopSensor(*limits, loop) : nullptr;
    return sensor && !sensor->table.isEmpty() ? QString::number(sensor->table.at(0), 'g', 6)
                                              : QStringLiteral("0");
}

// Whether byte i lies before the packet's final "M", the only bytes a packet
// really carries.
bool Carried(const QByteArray& pack, int i) {
    return i >= 0 && i < pack.size() - 1;
}

int SignedByte(const QByteArray& pack, int i) {
    return qint8(pack.at(i));
}

void Paint(QWidget* w, const QColor& c) {
    if (!w)
        return;
    QPalette p = w->palette();
    p.setColor(QPalette::Window, c);
    w->setPalette(p);
}

} // namespace

TestPrib::TestPrib(QWidget* parent)
    : TestModeDialog(kStatusTestOn, kStatusTestOff, parent), ui(new Ui::TestPrib) {
    ui->setupUi(this);
    connect(ui->pbCancel, &QPushButton::clicked, this, &TestPrib::CancelClick);
    connect(ui->pbSirena, &QPushButton::clicked, this, &TestPrib::StartStopSirenaClc);
    connect(ui->pbLight, &QPushButton::clicked, this, &TestPrib::StartStopLightClc);
    connect(ui->pbSendSignal, &QPushButton::clicked, this, &TestPrib::SendTMSignal);
    connect(ui->slNaprPower, &QSlider::sliderMoved, this, &TestPrib::BreakSlider);
    for (int n = 1; n <= kLoops; ++n) {
        if (auto* slider = findChild<QSlider*>(QStringLiteral("SlShl%1").arg(n)))
            connect(slider, &QSlider::sliderMoved, this, &TestPrib::BreakSlider);
    }
    CrListSignalsbT(DEV_D4M);
}

TestPrib::~TestPrib() {
    delete ui;
}

int TestPrib::TouchSignalCommand(int index, int loops) {
    if (index < 0 || loops <= 0)
        return -1;
    return kCmdFirstTouchSignal + kTouchSignalStride * (index / loops) + index % loops;
}

int TestPrib::SupplyCode(const QByteArray& pack, bool* ok) {
    *ok = Carried(pack, kSupplyLow);
    if (!*ok)
        return 0;
    const int high = SignedByte(pack, kSupplyHigh);
    const int mid = SignedByte(pack, kSupplyMid);
    const int low = SignedByte(pack, kSupplyLow);
    return high * 256 + (((mid * 16) & 0xFF) | low);
}

float TestPrib::SupplyVolts(int code) {
    return float(code / 1023.0 * kSupplyFullScale);
}

QString TestPrib::LoopReading(const LoopLimits& limits, int loop, int code) {
    if (loop < 0 || loop >= kLoops)
        return QString::number(code);
    const SensorRecord* sensor = LoopSensor(limits, loop);
    // A code outside the table shows as it came: the table has 1024 values.
    if (!sensor || code < 0 || code >= sensor->table.size())
        return QString::number(code);
    return QString::number(sensor->table.at(code), 'g', 6).left(5);
}

void TestPrib::CrListSignalsbT(DEV_TYPE devType) {
    ui->CbTouchSigs->clear();
    signalNames.clear();
    // The second family shows a seventh row: its seventh measuring channel.
    const int rows = devType == DEV_D4M ? 4 : devType == DEV_D8M ? 8 : 7;
    for (int n = 5; n <= kLoops; ++n) {
        const bool visible = n <= rows;
        const QString names[] = {QStringLiteral("LShl%1"), QStringLiteral("LeShl%1"),
                                 QStringLiteral("SlShl%1"), QStringLiteral("wLed%1")};
        for (const QString& name : names) {
            if (auto* w = findChild<QWidget*>(name.arg(n)))
                w->setVisible(visible);
        }
        for (const char* scale : LimNaprSh::kScaleLabelNames) {
            if (auto* w = findChild<QWidget*>(QString::fromLatin1(scale).arg(n)))
                w->setVisible(visible);
        }
    }
    const int loops = LoopCountOf(devType);
    signalLoops = loops;
    const QString states[3] = {QStringLiteral("закрыт"), QStringLiteral("открыт"),
                               QStringLiteral("тревога")};
    for (const QString& state : states) {
        for (int n = 1; n <= loops; ++n)
            signalNames << QStringLiteral("Шлейф %1 - %2").arg(n).arg(state);
    }
    ui->CbTouchSigs->addItems(signalNames);
}

void TestPrib::initialize() {
    ui->leNapr220->setText(QStringLiteral("Напряжение 220 Вольт отсутствует"));
    ui->frLed220->setEnabled(false);
    ui->leNaprPower->setText(QStringLiteral("0.00"));
    ui->CbTouchSigs->setCurrentIndex(0);
    ui->pbLight->setText(QStringLiteral("Включить свет"));
    lightOn = false;
    ui->pbSirena->setText(QStringLiteral("Включить сирену"));
    sirenOn = false;
    ui->slNaprPower->setValue(0);
    ui->lcdNumKey->display(0);
    const LoopLimits* limits = g_deviceSettings ? g_deviceSettings->loopLimits : nullptr;
    for (int n = 1; n <= kLoops; ++n) {
        if (auto* le = findChild<QLineEdit*>(QStringLiteral("LeShl%1").arg(n)))
            le->setText(IdleReading(limits, n - 1));
        if (auto* sl = findChild<QSlider*>(QStringLiteral("SlShl%1").arg(n)))
            sl->setValue(0);
        Paint(findChild<QWidget*>(QStringLiteral("wLed%1").arg(n)), kLedIdle);
    }
    const bool touchTest =
        g_deviceSettings && !FwOnOrAfter(*g_deviceSettings->header, fw::k19_04_2012);
    ui->gbTouchMemoryTest->setVisible(touchTest);
}

void TestPrib::SetLedColor(int loop, int code) {
    if (!g_deviceSettings || loop < 0 || loop >= kLoops)
        return;
    const LoopLimits& l = *g_deviceSettings->loopLimits;
    const qint32 min = qint32(l.minLevel[size_t(loop)]);
    const qint32 max = qint32(l.maxLevel[size_t(loop)]);
    const QColor c = min > code    ? QColor(Qt::red)
                     : code <= max ? QColor(Qt::darkGreen)
                                   : QColor(Qt::yellow);
    Paint(findChild<QWidget*>(QStringLiteral("wLed%1").arg(loop + 1)), c);
}

void TestPrib::showLoop(int loop, int code) {
    if (auto* sl = findChild<QSlider*>(QStringLiteral("SlShl%1").arg(loop + 1)))
        sl->setValue(code);
    if (auto* le = findChild<QLineEdit*>(QStringLiteral("LeShl%1").arg(loop + 1)))
        le->setText(g_deviceSettings ? LoopReading(*g_deviceSettings->loopLimits, loop, code)
                                     : QString::number(code));
    SetLedColor(loop, code);
}

void TestPrib::ReceptTestPack(bool chet, QByteArray pack) {
    reportTestModeEntered();
    const int first = chet ? 0 : kLoopsInK;
    const int count = chet ? kLoopsInK : kLoopsInL;
    for (int m = 1; m <= count; ++m) {
        bool ok = false;
        const int code = proto::TestPacketLoopCode(pack, m, &ok);
        if (ok)
            showLoop(first + m - 1, code);
    }
    if (chet)
        return;
    if (Carried(pack, kKeyByte)) {
        const int key = SignedByte(pack, kKeyByte);
        ui->lcdNumKey->display(key <= kMaxKeyShown ? key : 0);
    }
    if (Carried(pack, kMainsByte)) {
        const bool mains = pack.at(kMainsByte) == 1;
        ui->leNapr220->setText(mains ? QStringLiteral("Напряжение 220 Вольт присутствует")
                                     : QStringLiteral("Напряжение 220 Вольт отсутствует"));
        ui->frLed220->setEnabled(mains);
    }
    bool ok = false;
    const int code = SupplyCode(pack, &ok);
    if (ok) {
        const float volts = SupplyVolts(code);
        ui->slNaprPower->setValue(int(volts * 10));
        ui->leNaprPower->setText(QString::number(double(volts), 'g', 6).left(4));
    }
}

void TestPrib::StartStopSirenaClc() {
    sirenOn = !sirenOn;
    emit SigSetTestCommand(sirenOn ? proto::TC_SIREN_ON : proto::TC_SIREN_OFF);
    ui->pbSirena->setText(sirenOn ? QStringLiteral("Выключить сирену")
                                  : QStringLiteral("Включить сирену"));
}

void TestPrib::StartStopLightClc() {
    lightOn = !lightOn;
    emit SigSetTestCommand(lightOn ? proto::TC_LIGHT_ON : proto::TC_LIGHT_OFF);
    ui->pbLight->setText(lightOn ? QStringLiteral("Выключить свет")
                                 : QStringLiteral("Включить свет"));
}

void TestPrib::SendTMSignal() {
    const int cmd = TouchSignalCommand(ui->CbTouchSigs->currentIndex(), signalLoops);
    if (cmd >= 0)
        emit SigSetTestCommand(cmd);
}

void TestPrib::SetSensorScales() {
    if (!g_deviceSettings)
        return;
    const LoopLimits& limits = *g_deviceSettings->loopLimits;
    for (int n = 1; n <= kLoops; ++n) {
        const QStringList labels = SensorScaleLabels(limits, n - 1);
        for (int k = 0; k < labels.size(); ++k) {
            const QString name = QString::fromLatin1(LimNaprSh::kScaleLabelNames[k]).arg(n);
            if (auto* label = findChild<QLabel*>(name))
                label->setText(labels.at(k));
        }
        if (auto* le = findChild<QLineEdit*>(QStringLiteral("LeShl%1").arg(n)))
            le->setText(IdleReading(&limits, n - 1));
    }
}

// A slider that has shown no reading yet stays at 0; one that has can be
// dragged, and the next packet puts it back.
void TestPrib::BreakSlider(int) {
    auto* slider = qobject_cast<QSlider*>(sender());
    if (slider && slider->value() == 0)
        slider->setValue(0);
}
