// The phone-link pages against the simulated device: the object number after
// a programming run, and numbers and SMS flags edited on the pages reaching
// the device in the sections of one programming run.

#include "../app/DeviceFixture.h"
#include "LinkPages.h"

#include "settings/LayoutNumbers.h"

#include <QRadioButton>

using W = PribParWindow;

class TestLinkProgramming : public QObject {
    Q_OBJECT

private slots:
    void objectNumberAfterProgramming_data();
    void objectNumberAfterProgramming();
    void pagesReachDevice();
};

namespace {
const QDate kFirmware(2012, 4, 19);

template <typename T> T* OnPage(const DeviceFixture& fx, int slot, const QString& name) {
    return fx.main->pribParWindow()->page(slot)->findChild<T*>(name);
}

// Programs the device through the main window's action; true when the run
// ended with the code expected.
bool Program(DeviceFixture& fx, bool deviceAccepts) {
    fx.sim.SetProgrammingOk(deviceAccepts);
    const int before = fx.rows();
    fx.action("actProgramming")->trigger();
    return fx.waitForCode(deviceAccepts ? 120 : 300, before);
}

// The bytes the device received for one section.
QByteArray Section(const DeviceFixture& fx, const char* name) {
    const int i = int(fx.sim.SectionsAsked().indexOf(QByteArray(name)));
    return i < 0 ? QByteArray() : fx.sim.SectionAnswers().value(i);
}
} // namespace

void TestLinkProgramming::objectNumberAfterProgramming_data() {
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<bool>("increment");
    QTest::addColumn<bool>("autonomous");
    QTest::addColumn<bool>("deviceAccepts");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("next number") << QByteArray("0041") << true << false << true
                                 << QByteArray("0042");
    QTest::newRow("wraps") << QByteArray("9999") << true << false << true << QByteArray("0000");
    QTest::newRow("refused") << QByteArray("0041") << true << false << false << QByteArray("0041");
    QTest::newRow("not asked") << QByteArray("0041") << false << false << true
                               << QByteArray("0041");
    QTest::newRow("autonomous") << QByteArray("0041") << true << true << true << QByteArray("0041");
}

void TestLinkProgramming::objectNumberAfterProgramming() {
    QFETCH(QByteArray, stored);
    QFETCH(bool, increment);
    QFETCH(bool, autonomous);
    QFETCH(bool, deviceAccepts);
    QFETCH(QByteArray, after);
    DeviceFixture fx;
    QVERIFY(fx.open());
    QVERIFY(fx.connect(4, kFirmware, 45));
    fx.widget<QRadioButton>(autonomous ? "RbRegAuto" : "RbRegKsar")->click();
    g_deviceSettings->connection->objectNumber = stored;
    g_deviceSettings->connection->autoIncrementNumber = increment;
    fx.main->pribParWindow()->findChild<QPushButton*>(QStringLiteral("pbCancel"))->click();

    QVERIFY(Program(fx, deviceAccepts));
    QTRY_COMPARE(fx.objectNumber(), after);
    QCOMPARE(OnPage<QSpinBox>(fx, W::kConnectParams, "sbNumObj")->value(), after.toInt());
    // The run itself carried the number as it was before.
    QVERIFY(fx.sim.SectionAnswers().join().contains(stored));
}

// Numbers, call attempts and SMS choices set on the autonomous link and SMS
// sending pages, never applied by hand, are in the device's number section.
void TestLinkProgramming::pagesReachDevice() {
    DeviceFixture fx;
    QVERIFY(fx.open());
    QVERIFY(fx.connect(4, kFirmware, 45));
    fx.widget<QRadioButton>("RbRegAuto")->click();

    LinkPages::type(OnPage<QLineEdit>(fx, W::kAuConnectParams, "leNum1"), "9161234567");
    LinkPages::type(OnPage<QLineEdit>(fx, W::kAuConnectParams, "leNum2"), "495");
    OnPage<QSpinBox>(fx, W::kAuConnectParams, "sbPOSO1")->setValue(3);
    OnPage<QSpinBox>(fx, W::kAuConnectParams, "sbT1")->setValue(2);
    OnPage<QComboBox>(fx, W::kOtprSMS, "CbSK1")->setCurrentText("Да");
    OnPage<QComboBox>(fx, W::kOtprSMS, "cbTr1")->setCurrentText("Да");
    OnPage<QComboBox>(fx, W::kOtprSMS, "CbPK2")->setCurrentText("Да");
    // The SMS sending page shows the typed number before anything is stored.
    QCOMPARE(OnPage<QLineEdit>(fx, W::kOtprSMS, "leNum1")->text(), QStringLiteral("916-123-45-67"));

    QVERIFY(Program(fx, true));
    using namespace layout::crqq;
    const QByteArray crqq = Section(fx, "CRQQ");
    QCOMPARE(crqq.size(), kSize);
    QCOMPARE(crqq.mid(NumberOffset(0), layout::kPhoneBytes).toHex(), QByteArray("9161234567"));
    QCOMPARE(crqq.mid(NumberOffset(1), layout::kPhoneBytes).toHex(), QByteArray("4950000000"));
    QCOMPARE(quint8(crqq[OpenCloseOffset(0)]), quint8(3 | kCbozBit | kCbtsBit));
    QCOMPARE(quint8(crqq[AlarmOffset(0)]), quint8(2));
    QCOMPARE(quint8(crqq[OpenCloseOffset(1)]), quint8(kCbzaBit));
}

QTEST_MAIN(TestLinkProgramming)
#include "tst_linkprogramming.moc"
