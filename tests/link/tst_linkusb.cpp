// The USB receive thread over the in-memory D2XX-shaped layer.

#include "LinkRig.h"

#include "link/FakeUsbLayer.h"

#include <QElapsedTimer>

#include <thread>

class TstLinkUsb : public QObject {
    Q_OBJECT
    DeviceSettings settings;
    FakeUsbLayer* fake = nullptr;
    std::unique_ptr<PortWork> port;

    bool Open() {
        port = std::make_unique<PortWork>();
        port->CreateReadThread(false);
        ulong err = 99;
        return port->readThread->OpenPort(0, err) && err == 0;
    }

private slots:
    void init();
    void cleanup();
    void openConfigureClose();
    void greetingAndWrites();
    void unplugWhileOpen();
    void latencyTimer_data();
    void latencyTimer();
    void waitReturnsOnArrival();
};

void TstLinkUsb::init() {
    kwlink::SetLinkTimeScale(kRigTimeScale);
    SetDefaultSettings(&settings, false);
    settings.header->firmwareDate = kNewest;
    g_deviceSettings = &settings;
    fake = new FakeUsbLayer;
    fake->AddDevice("FT123", "USB <-> Serial");
    SetUsbLayer(fake);
}

void TstLinkUsb::cleanup() {
    // The receive thread ends before the adapter goes: it calls into the
    // layer until it has stopped.
    if (port && port->IsPortOpen())
        port->ClosePort();
    QVERIFY(!port || !port->readThread->isRunning());
    port.reset();
    SetUsbLayer(nullptr);
    delete fake;
    fake = nullptr;
}

void TstLinkUsb::openConfigureClose() {
    QVERIFY(Open());
    QVERIFY(!port->readThread->isComPort);
    const FakeUsbLayer::Device d = fake->DeviceState(0);
    QCOMPARE((QList<int>{int(d.baud), d.bits, d.stopBits, d.parity, int(d.readTimeout),
                         int(d.writeTimeout), int(d.inSize), int(d.outSize), d.purges}),
             (QList<int>{9600, 8, 0, 0, 3000, 3000, 2000, 2000, 1}));
    // The adapter's 16 ms latency timer is shortened on open.
    QCOMPARE(d.latencyAsked, int(kwlink::kUsbLatencyMs));
    QCOMPARE(d.latencyMs, int(kwlink::kUsbLatencyMs));
    QVERIFY(d.eventCharOn);
    QCOMPARE(d.eventChar, kwlink::kUsbEventChar);
    QVERIFY(port->ClosePort());
    QVERIFY(!fake->DeviceState(0).open);
    QVERIFY(!port->readThread->stopRequest);
    ulong err = 0;
    QVERIFY(port->readThread->OpenPort(0, err)); // the same object opens again
    // Replacing the thread object closes the port first.
    QVERIFY(port->CreateReadThread(true));
    QVERIFY(!fake->DeviceState(0).open);
    QVERIFY(!port->IsPortOpen());
    // A failing open reports the layer's status.
    fake->FailOpen(0, FT_DEVICE_NOT_OPENED);
    port->CreateReadThread(false);
    QVERIFY(!port->readThread->OpenPort(0, err));
    QCOMPARE(err, ulong(FT_DEVICE_NOT_OPENED));
    QVERIFY(!port->IsPortOpen());
}

void TstLinkUsb::greetingAndWrites() {
    QVERIFY(Open());
    QSignalSpy version(port.get(), &PortWork::SigSetupVersion);
    fake->Feed(0, SimDevice::Greeting());
    QTRY_COMPARE_WITH_TIMEOUT(fake->DeviceState(0).written, SimDevice::GreetingAnswer(), 15000);
    fake->Feed(0, SimDevice::ReadyPacket(3, kNewest, 7));
    QVERIFY(version.wait(15000));
    QCOMPARE(version.at(0), (QList<QVariant>{QString("19.04.2012"), uchar(3), uchar(7)}));
    const int before = int(fake->DeviceState(0).events.size());
    port->readThread->WriteData(QByteArray(200, 'x'), 0);
    port->readThread->WriteData(QByteArray(128, 'x'), 0);
    QCOMPARE(fake->DeviceState(0).events.mid(before).join(' '),
             QByteArray("W64 W64 W64 B W8 B W64 W64"));
}

void TstLinkUsb::unplugWhileOpen() {
    QVERIFY(Open());
    QSignalSpy msg(port.get(), &PortWork::SigMessage);
    QSignalSpy lost(port.get(), &PortWork::SigPortLost);
    port->ReadEEPROMClick();
    fake->Unplug(0);
    QVERIFY(lost.wait(15000));
    QVERIFY(!port->IsPortOpen());
    QTest::qWait(1500); // past every scaled time-out
    QCOMPARE(lost.count(), 1);
    QCOMPARE(Codes(msg), (QList<int>{129, 301}));
}

// The adapter holds bytes to the end of the timer's period (counted from its
// last packet), unless a 62-byte packet fills. Times in microseconds on the
// fake's own clock; the first period starts at 0.
void TstLinkUsb::latencyTimer_data() {
    QTest::addColumn<int>("latencyMs");  // 0: the adapter's default
    QTest::addColumn<bool>("eventChar"); // the program's carriage return
    QTest::addColumn<QByteArray>("fed"); // bytes fed at 10.5 ms
    QTest::addColumn<QList<int>>("at");  // query times
    QTest::addColumn<QList<int>>("visible");
    const QByteArray x1("x"), x62(62, 'x'), x70(70, 'x');
    QTest::newRow("default timer, one byte")
        << 0 << false << x1 << QList<int>{10500, 15999, 16000} << QList<int>{0, 0, 1};
    QTest::newRow("short timer, one byte")
        << 1 << false << x1 << QList<int>{10500, 10999, 11000} << QList<int>{0, 0, 1};
    QTest::newRow("a full packet at once")
        << 0 << false << x62 << QList<int>{10500} << QList<int>{62};
    QTest::newRow("a packet and a rest")
        << 0 << false << x70 << QList<int>{10500, 26499, 26500} << QList<int>{62, 62, 70};
    QTest::newRow("a frame ends in the event character")
        << 0 << true << QByteArray("J\x01xxM\rab") << QList<int>{10500, 26499, 26500}
        << QList<int>{6, 6, 8};
}

void TstLinkUsb::latencyTimer() {
    QFETCH(int, latencyMs);
    QFETCH(bool, eventChar);
    QFETCH(QByteArray, fed);
    QFETCH(QList<int>, at);
    QFETCH(QList<int>, visible);
    qint64 clock = 10500;
    fake->nowUs = [&clock] { return clock; };
    FT_HANDLE h = nullptr;
    QCOMPARE(fake->Open(0, &h), FT_OK);
    if (latencyMs > 0)
        QCOMPARE(fake->SetLatencyTimer(h, uchar(latencyMs)), FT_OK);
    QCOMPARE(fake->SetEventChar(h, kwlink::kUsbEventChar, eventChar), FT_OK);
    fake->Feed(0, fed);
    for (int i = 0; i < at.size(); ++i) {
        clock = at[i];
        unsigned long rx = 0, tx = 0, ev = 0;
        QCOMPARE(fake->GetStatus(h, &rx, &tx, &ev), FT_OK);
        QCOMPARE(int(rx), visible[i]);
    }
    fake->Close(h);
}

// The receive loop's wait ends when bytes come, not at its time-out.
void TstLinkUsb::waitReturnsOnArrival() {
    FT_HANDLE h = nullptr;
    QCOMPARE(fake->Open(0, &h), FT_OK);
    QCOMPARE(fake->SetLatencyTimer(h, kwlink::kUsbLatencyMs), FT_OK);
    std::thread device([this] {
        QThread::msleep(20);
        fake->Feed(0, "x");
    });
    QElapsedTimer t;
    t.start();
    fake->WaitForData(h, 5000);
    const qint64 waited = t.elapsed();
    device.join();
    unsigned long rx = 0, tx = 0, ev = 0;
    fake->GetStatus(h, &rx, &tx, &ev);
    QCOMPARE(rx, 1ul);
    QVERIFY2(waited < 2000, qPrintable(QString::number(waited)));
    fake->Close(h);
}

QTEST_GUILESS_MAIN(TstLinkUsb)
#include "tst_linkusb.moc"
