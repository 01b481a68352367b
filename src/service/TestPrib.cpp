#include "service/TestPrib.h"

#include "editor/LimNaprSh.h"
#include "link/Protocol.h"
#include "settings/DeviceAnnouncement.h"
#include "settings/SensorTypes.h"
#include "ui_TestPrib.h"

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

// The record that loop `loop`'s sensor type selects, or none. The type is
// unsigned and may come from a file: compared as such, never cast first.
const SensorRecord* LoopSensor(const LoopLimits& l, int loop) {
    const quint32 type = l.sensorType[size_t(loop)];
    return type < quint32(l.sensors.size()) ? &l.sensors.at(int(type)) : nullptr;
}
} // namespace

TestPrib::TestPrib(QWidget* parent)
    : TestModeDialog(kStatusTestOn, kStatusTestOff, parent), ui(new Ui::TestPrib) {
    ui->setupUi(this);
    connect(ui->pbCancel, &QPushButton::clicked, this, &TestPrib::CancelClick);
    connect(ui->pbSirena, &QPushButton::clicked, this, &TestPrib::StartStopSirenaClc);
    connect(ui->pbLight, &QPushButton::clicked, this, &TestPrib::StartStopLightClc);
    connect(ui->pbSendSignal, &QPushButton::clicked, this, &TestPrib::SendTMSignal);
    CrListSignalsbT(DEV_D4M);
}

TestPrib::~TestPrib() {
    delete ui;
}

int TestPrib::LoopsOf(int devType) {
    const int loops = FamilyLoopCount(devType);
    return loops > 0 ? loops : FamilyLoopCount(DEV_VoduzeR);
}

int TestPrib::TouchSignalCommand(int index, int loops) {
    if (index < 0 || loops <= 0)
        return -1;
    return kCmdFirstTouchSignal + kTouchSignalStride * (index / loops) + index % loops;
}

void TestPrib::CrListSignalsbT(DEV_TYPE devType) {
    ui->CbTouchSigs->clear();
    signalNames.clear();
    const int loops = LoopsOf(devType);
    for (int n = 5; n <= kLoops; ++n) {
        const bool visible = n <= loops;
        for (QWidget* w : findChildren<QWidget*>()) {
            const QString name = w->objectName();
            if (name == QStringLiteral("LShl%1").arg(n) ||
                name == QStringLiteral("LeShl%1").arg(n) ||
                name == QStringLiteral("SlShl%1").arg(n) ||
                (name.startsWith(QLatin1String("lScale")) &&
                 name.endsWith(QStringLiteral("_%1").arg(n))))
                w->setVisible(visible);
        }
    }
    const QString states[3] = {QStringLiteral("закрыт"), QStringLiteral("открыт"),
                               QStringLiteral("тревога")};
    for (const QString& state : states) {
        for (int n = 1; n <= loops; ++n)
            signalNames << QStringLiteral("Шлейф %1 - %2").arg(n).arg(state);
    }
    ui->CbTouchSigs->addItems(signalNames);
}

void TestPrib::initialize() {
    ui->CbTouchSigs->setCurrentIndex(0);
    ui->pbLight->setText(QStringLiteral("Включить свет"));
    lightOn = false;
    ui->pbSirena->setText(QStringLiteral("Включить сирену"));
    sirenOn = false;
    for (int n = 1; n <= kLoops; ++n) {
        if (auto* le = findChild<QLineEdit*>(QStringLiteral("LeShl%1").arg(n)))
            le->setText(QStringLiteral("0"));
        if (auto* sl = findChild<QSlider*>(QStringLiteral("SlShl%1").arg(n)))
            sl->setValue(0);
    }
    SetSensorScales();
}

void TestPrib::showLoop(int loop, int code) {
    if (auto* sl = findChild<QSlider*>(QStringLiteral("SlShl%1").arg(loop + 1)))
        sl->setValue(code);
    QString text = QString::number(code);
    if (g_deviceSettings && loop >= 0 && loop < kLoops) {
        const SensorRecord* sensor = LoopSensor(*g_deviceSettings->loopLimits, loop);
        if (sensor && code >= 0 && code < sensor->table.size())
            text = QString::number(sensor->table.at(code), 'g', 6).left(5);
    }
    if (auto* le = findChild<QLineEdit*>(QStringLiteral("LeShl%1").arg(loop + 1)))
        le->setText(text);
}

void TestPrib::ReceptTestPack(bool flag, QByteArray pack) {
    reportTestModeEntered();
    const int first = flag ? 0 : kLoopsInK;
    const int count = flag ? kLoopsInK : kLoopsInL;
    for (int m = 1; m <= count; ++m) {
        const int code = proto::TestPacketLoopCode(pack, m);
        if (code < 0)
            break;
        showLoop(first + m - 1, code);
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
    const int type = g_deviceSettings ? g_deviceSettings->header->deviceType : DEV_D4M;
    const int cmd = TouchSignalCommand(ui->CbTouchSigs->currentIndex(), LoopsOf(type));
    if (cmd >= 0)
        emit SigSetTestCommand(cmd);
}

void TestPrib::SetSensorScales() {
    if (!g_deviceSettings)
        return;
    for (int n = 1; n <= kLoops; ++n) {
        const QStringList labels = SensorScaleLabels(*g_deviceSettings->loopLimits, n - 1);
        for (int k = 0; k < labels.size(); ++k) {
            const QString name = QString::fromLatin1(LimNaprSh::kScaleLabelNames[k]).arg(n);
            if (auto* label = findChild<QLabel*>(name))
                label->setText(labels.at(k));
        }
    }
}
