// What the GPRS servers, time server, navigation and remote configuration
// pages and the operator list hold reaches the simulated device in one
// programming run of the main window.

#include "app/DeviceFixture.h"

#include "comms/OperatorsDialog.h"
#include "editor/PribParWindow.h"
#include "editor/base/ParamsPage.h"
#include "link/LinkTiming.h"
#include "settings/LayoutCR99.h"
#include "settings/LayoutCRFF.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

namespace {
const QDate k19_04_2012(2012, 4, 19);
constexpr uchar kModelNavigation = 4; // the device announces the 6-loop model with navigation

// The bytes of a NUL-filled text field.
QByteArray Field(const QByteArray& text, int size, char fill = '\0') {
    return text + QByteArray(size - text.size(), fill);
}

class Programming {
public:
    bool start() {
        if (!fx.open() || !fx.connect(kModelNavigation, k19_04_2012, 45))
            return false;
        window = fx.main->pribParWindow();
        return true;
    }
    template <class T> T* at(int slot, const char* name) const {
        return window->page(slot)->findChild<T*>(QString::fromLatin1(name));
    }
    // Programs the device; the section it asked for last by that name.
    bool program() {
        const int before = fx.rows();
        fx.action("actProgramming")->trigger();
        return fx.waitForCode(120, before);
    }
    QByteArray section(const QByteArray& name) const {
        const QList<QByteArray> asked = fx.sim.SectionsAsked();
        const QList<QByteArray> answers = fx.sim.SectionAnswers();
        for (int i = asked.size() - 1; i >= 0; --i) {
            if (asked.at(i).startsWith(name) && i < answers.size())
                return answers.at(i);
        }
        return {};
    }

    DeviceFixture fx;
    PribParWindow* window = nullptr;
};
} // namespace

class TstNetProgramming : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        PrepareApplication();
        kwlink::SetLinkTimeScale(0.1);
    }
    void pagesReachDevice();
    void deletedOperatorKeepsSimAccessPoint();
};

void TstNetProgramming::pagesReachDevice() {
    Programming run;
    QVERIFY(run.start());
    QCOMPARE(g_deviceSettings->header->deviceType, int(DEV_VoduzeR));
    QVERIFY(run.window->menuTitles().contains("Параметры навигации"));
    const int gprs = PribParWindow::kConGPRS, time = PribParWindow::kSntp;
    const int nav = PribParWindow::kNavigation, remote = PribParWindow::kRemoteProgFrame;

    run.at<QCheckBox>(gprs, "cbConGPRS")->setChecked(true);
    run.at<QLineEdit>(gprs, "leIP1")->setText("010.000.000.001");
    run.at<QSpinBox>(gprs, "sbPort1")->setValue(80);
    run.at<QCheckBox>(gprs, "cbUseDNS1")->click();
    run.at<QLineEdit>(gprs, "leDNS1")->setText("gprs.example.org");
    run.at<QLineEdit>(gprs, "leIP2")->setText("192.168.001.020");
    run.at<QSpinBox>(gprs, "sbPort2")->setValue(5001);
    auto* protocol = run.at<QComboBox>(gprs, "cmbProtocol");
    protocol->setCurrentIndex(protocol->findData(2));
    run.at<QLineEdit>(gprs, "leServConnectPass")->setText("secret");

    run.at<QCheckBox>(time, "cbUseSNTP")->setChecked(true);
    QVERIFY(run.at<QWidget>(time, "gbSntpSettings")->isEnabled());
    run.at<QComboBox>(time, "combVer")->setCurrentIndex(1);
    run.at<QRadioButton>(time, "rbUseDNS")->click();
    run.at<QLineEdit>(time, "leIPserv")->setText("192.168.001.001");
    run.at<QSpinBox>(time, "sbIPPort")->setValue(123);
    run.at<QLineEdit>(time, "leDNS")->setText("pool.example.org");
    run.at<QComboBox>(time, "comboBPoyas")->setCurrentIndex(5);

    QVERIFY(run.at<QWidget>(nav, "gbFilter")->isEnabled());
    run.at<QDoubleSpinBox>(nav, "dbFilter")->setValue(33.3);
    run.at<QCheckBox>(nav, "cbSh2")->setChecked(true);
    run.at<QCheckBox>(nav, "cbSh5")->setChecked(true);

    run.at<QCheckBox>(remote, "cbConnect")->setChecked(true);
    run.at<QLineEdit>(remote, "leAdress1")->setText("remote.example");
    run.at<QSpinBox>(remote, "sbPort1")->setValue(8080);
    run.at<QLineEdit>(remote, "leAdress2")->setText("10.1.2.3");
    run.at<QSpinBox>(remote, "sbPort2")->setValue(65535);
    run.at<QLineEdit>(remote, "leNum1")->setText("9161234567");
    run.at<QLineEdit>(remote, "leKeyWordSMS")->setText("Key 1");
    run.at<QCheckBox>(remote, "cbUseIfNoProtect")->setChecked(true);

    QVERIFY(run.program());

    // Main server and filter, second server.
    const QByteArray craa = run.section("CRAA");
    QVERIFY2(craa.startsWith("010.000.000.001:00080:"), craa.constData());
    QVERIFY(craa.contains(":0100:"));
    QVERIFY(run.section("CRMM").contains("192.168.001.02005001"));

    const QByteArray cr99 = run.section("CR99");
    QCOMPARE(cr99.mid(cr99::kDnsName1, cr99::kDnsNameSize),
             Field("gprs.example.org", cr99::kDnsNameSize));
    QVERIFY(quint8(cr99.at(cr99::kServerOptions)) & cr99::kUseDnsBit);
    QCOMPARE(cr99.mid(cr99::kSntpIp, cr99::kSntpIpSize), QByteArray("192.168.001.001"));
    QCOMPARE(cr99.mid(cr99::kSntpPort, cr99::kSntpPortSize), QByteArray("00123"));
    QCOMPARE(cr99.mid(cr99::kSntpDns, cr99::kSntpDnsSize),
             Field("pool.example.org", cr99::kSntpDnsSize));
    const quint8 sntpFlags = quint8(cr99.at(cr99::kSntpFlags));
    QCOMPARE(sntpFlags >> cr99::kSntpVersionShift, 1);
    QVERIFY(sntpFlags & cr99::kUseSntpBit);
    QVERIFY(sntpFlags & cr99::kSntpCb4Bit);
    QVERIFY(!(sntpFlags & cr99::kSntpCb3Bit));
    const Cr99Layout layout = Cr99LayoutFor(*g_deviceSettings->header);
    QVERIFY(layout.timeZone > 0 && layout.navigation > 0);
    QCOMPARE(quint8(cr99.at(layout.timeZone + cr99::kTimeZoneAt)) & 0x1F, 5);
    QCOMPARE(quint8(cr99.at(layout.navigation + 1)), quint8(0x12)); // loops 2 and 5

    const QByteArray crff = run.section("CRFF");
    QCOMPARE(crff.size(), crff::kSize);
    QCOMPARE(crff.mid(crff::kServerAddress1, crff::kServerAddressSize),
             Field("remote.example", crff::kServerAddressSize));
    QCOMPARE(crff.mid(crff::kServerAddress2, crff::kServerAddressSize),
             Field("10.1.2.3", crff::kServerAddressSize));
    QCOMPARE(crff.mid(crff::kServerPort1, 4), QByteArray("\x1F\x90\xFF\xFF", 4));
    QCOMPARE(quint8(crff.at(crff::kRemoteFlags)),
             quint8(crff::kConnectToServerBit | crff::kUseProgIfNoProtectBit));
    QCOMPARE(crff.mid(crff::kSmsKeyWord, crff::kSmsKeyWordSize),
             Field("Key 1", crff::kSmsKeyWordSize));
    QCOMPARE(crff.mid(crff::kServerPassword, crff::kServerPasswordSize),
             QByteArray("secret") + '\0' + QByteArray(25, crff::kFill));
    QCOMPARE(g_deviceSettings->remoteProg->phoneNumber[0], QString("9161234567"));
}

// Deleting an operator before the one a SIM uses leaves the SIM on its
// operator: the device gets the same access point as before.
void TstNetProgramming::deletedOperatorKeepsSimAccessPoint() {
    Programming run;
    QVERIFY(run.start());
    run.fx.widget<QCheckBox>("cbUseSIM1")->setChecked(true);
    run.fx.widget<QComboBox>("CbOperators1")->setCurrentIndex(3);
    const GsmOperator chosen = g_deviceSettings->gsmOperators.at(3);
    QVERIFY(run.program());
    const QByteArray access =
        (chosen.login + ':' + chosen.password + ':' + chosen.initString).toLatin1();
    QVERIFY2(run.section("CRAA").contains(access), run.section("CRAA").constData());

    OperatorsDialog* dialog = run.fx.main->operatorsDialog();
    dialog->findChild<QListWidget*>("lwOperators")->setCurrentRow(0);
    run.fx.prompt.buttons.enqueue(Prompt::Yes);
    dialog->findChild<QPushButton*>("tbDel")->click();
    QCOMPARE(run.fx.widget<QComboBox>("CbOperators1")->currentText(), chosen.name);

    run.fx.sim.Reset();
    QVERIFY(run.program());
    QVERIFY2(run.section("CRAA").contains(access), run.section("CRAA").constData());
}

QTEST_MAIN(TstNetProgramming)
#include "tst_netprogramming.moc"
