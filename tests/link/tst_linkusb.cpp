// The USB receive thread over the in-memory D2XX-shaped layer.

#include "link/FakeUsbLayer.h"
#include "link/LinkTiming.h"
#include "link/PortWork.h"
#include "link/Protocol.h"
#include "link/ReadRecUSBThread.h"
#include "settings/DeviceSettings.h"

#include <QSignalSpy>
#include <QTest>

class TstLinkUsb : public QObject {
    Q_OBJECT
    DeviceSettings settings;
    FakeUsbLayer* fake = nullptr;

private slots:
    void init();
    void cleanup();
    void openConfiguresAdapter();
    void openFailure();
    void greetingOverUsb();
    void writeBlocking();
    void unplugWhileOpen();
    void replaceThreadClosesPort();
};

void TstLinkUsb::init() {
    kwlink::SetLinkTimeScale(0.1);
    SetDefaultSettings(&settings, false);
    settings.header->firmwareDate = QDate(2012, 4, 19);
    g_deviceSettings = &settings;
    fake = new FakeUsbLayer;
    fake->AddDevice("FT123", "USB <-> Serial");
    SetUsbLayer(fake);
}

void TstLinkUsb::cleanup() {
    SetUsbLayer(nullptr);
    delete fake;
    fake = nullptr;
}

void TstLinkUsb::openConfiguresAdapter() {
    PortWork p;
    p.CreateReadThread(false);
    QVERIFY(!p.readThread->isComPort);
    ulong err = 99;
    QVERIFY(p.readThread->OpenPort(0, err));
    QCOMPARE(err, 0ul);
    QVERIFY(p.IsPortOpen());
    const FakeUsbLayer::Device d = fake->DeviceState(0);
    QCOMPARE(d.baud, 9600ul);
    QCOMPARE(d.bits, 8);
    QCOMPARE(d.stopBits, 0);
    QCOMPARE(d.parity, 0);
    QCOMPARE(d.readTimeout, 3000ul);
    QCOMPARE(d.inSize, 2000ul);
    QCOMPARE(d.purges, 1);
    QVERIFY(p.ClosePort());
    QVERIFY(!fake->DeviceState(0).open);
    QVERIFY(!p.readThread->stopRequest);
    // The same object opens again.
    QVERIFY(p.readThread->OpenPort(0, err));
    QVERIFY(p.ClosePort());
}

void TstLinkUsb::openFailure() {
    PortWork p;
    p.CreateReadThread(false);
    fake->FailOpen(0, FT_DEVICE_NOT_OPENED);
    ulong err = 0;
    QVERIFY(!p.readThread->OpenPort(0, err));
    QCOMPARE(err, ulong(FT_DEVICE_NOT_OPENED));
    QVERIFY(!p.IsPortOpen());
    QVERIFY(!p.readThread->OpenPort(5, err));
    QCOMPARE(err, ulong(FT_DEVICE_NOT_FOUND));
}

void TstLinkUsb::greetingOverUsb() {
    PortWork p;
    p.CreateReadThread(false);
    ulong err = 0;
    QVERIFY(p.readThread->OpenPort(0, err));
    fake->Feed(0, proto::GreetingBanner());
    QTRY_COMPARE(fake->DeviceState(0).written, proto::GreetingAnswer());
    QSignalSpy version(&p, &PortWork::SigSetupVersion);
    fake->Feed(0, QByteArray::fromHex("ec3030") + "190412" + QByteArray::fromHex("0307000d0a00"));
    QVERIFY(version.wait(2000));
    QCOMPARE(version.at(0).at(0).toString(), QString("19.04.2012"));
    p.ClosePort();
}

void TstLinkUsb::writeBlocking() {
    PortWork p;
    p.CreateReadThread(false);
    ulong err = 0;
    QVERIFY(p.readThread->OpenPort(0, err));
    p.readThread->WriteData(QByteArray(200, 'x'), 0);
    QList<QByteArray> events = fake->DeviceState(0).events;
    QCOMPARE(events.join(' '), QByteArray("W64 W64 W64 B W8 B"));
    p.readThread->WriteData(QByteArray(128, 'x'), 0);
    events = fake->DeviceState(0).events;
    QCOMPARE(events.mid(6).join(' '), QByteArray("W64 W64"));
    p.ClosePort();
}

void TstLinkUsb::unplugWhileOpen() {
    PortWork p;
    p.CreateReadThread(false);
    ulong err = 0;
    QVERIFY(p.readThread->OpenPort(0, err));
    QSignalSpy msg(&p, &PortWork::SigMessage);
    QSignalSpy lost(&p, &PortWork::SigPortLost);
    p.ReadEEPROMClick();
    fake->Unplug(0);
    QVERIFY(lost.wait(2000));
    QVERIFY(!p.IsPortOpen());
    QTest::qWait(1500); // past every scaled time-out
    QCOMPARE(lost.count(), 1);
    QList<int> codes;
    for (const auto& a : msg)
        codes.append(a.at(0).toInt());
    QCOMPARE(codes, (QList<int>{129, 301}));
}

void TstLinkUsb::replaceThreadClosesPort() {
    PortWork p;
    p.CreateReadThread(false);
    ulong err = 0;
    QVERIFY(p.readThread->OpenPort(0, err));
    QVERIFY(fake->DeviceState(0).open);
    QVERIFY(p.CreateReadThread(true));
    QVERIFY(!fake->DeviceState(0).open);
    QVERIFY(!p.IsPortOpen());
}

QTEST_GUILESS_MAIN(TstLinkUsb)
#include "tst_linkusb.moc"
