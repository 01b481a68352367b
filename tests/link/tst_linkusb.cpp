// The USB receive thread over the in-memory D2XX-shaped layer.

#include "LinkRig.h"

#include "link/FakeUsbLayer.h"

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
    QTRY_COMPARE(fake->DeviceState(0).written, SimDevice::GreetingAnswer());
    fake->Feed(0, SimDevice::ReadyPacket(3, kNewest, 7));
    QVERIFY(version.wait(2000));
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
    QVERIFY(lost.wait(2000));
    QVERIFY(!port->IsPortOpen());
    QTest::qWait(1500); // past every scaled time-out
    QCOMPARE(lost.count(), 1);
    QCOMPARE(Codes(msg), (QList<int>{129, 301}));
}

QTEST_GUILESS_MAIN(TstLinkUsb)
#include "tst_linkusb.moc"
