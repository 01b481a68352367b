// The communication pages and the operator list against the simulated
// device, through the main window's programming.

#include "../app/DeviceFixture.h"
#include "../comms_link/CommsPages.h"

#include "comms/OperatorsDialog.h"
#include "link/LinkTiming.h"
#include "settings/LayoutCR99.h"
#include "settings/LayoutCRFF.h"
#include "settings/LayoutNumbers.h"

#include <QDoubleSpinBox>
#include <QListWidget>
#include <QRadioButton>

namespace {
constexpr uchar kModelNavigation = 4; // the 6-loop model with navigation

class Run {
public:
    bool start(bool autonomous) {
        if (!fx.open() || !fx.connect(kModelNavigation, QDate(2012, 4, 19), 45))
            return false;
        fx.widget<QRadioButton>(autonomous ? "RbRegAuto" : "RbRegKsar")->click();
        return true;
    }
    template <class T> T* at(int slot, const char* name) const {
        return fx.main->pribParWindow()->page(slot)->findChild<T*>(QString::fromLatin1(name));
    }
    // Programs the device; true when the run ended with the code expected.
    bool program(bool deviceAccepts = true) {
        fx.sim.SetProgrammingOk(deviceAccepts);
        const int before = fx.rows();
        fx.action("actProgramming")->trigger();
        return fx.waitForCode(deviceAccepts ? 120 : 300, before);
    }
    // The bytes the device received for the last section of that name.
    QByteArray section(const QByteArray& name) const {
        const QList<QByteArray> asked = fx.sim.SectionsAsked();
        const QList<QByteArray> answers = fx.sim.SectionAnswers();
        for (int i = int(asked.size()) - 1; i >= 0; --i) {
            if (asked.at(i).startsWith(name) && i < answers.size())
                return answers.at(i);
        }
        return {};
    }

    DeviceFixture fx;
};
} // namespace

class TestCommsProgramming : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        PrepareApplication();
        kwlink::SetLinkTimeScale(0.1);
    }

    // The increment flag moves the number on after an accepted run only, and
    // only in the system mode; the run itself carries the number as it was.
    void objectNumberAfterProgramming() {
        Run run;
        QVERIFY(run.start(false));
        for (const auto& [stored, autonomous, accepts, after] :
             {std::tuple("0041", false, true, "0042"),
              {"9999", false, true, "0000"},
              {"0041", true, true, "0041"},
              {"0041", false, false, "0041"}}) {
            run.fx.widget<QRadioButton>(autonomous ? "RbRegAuto" : "RbRegKsar")->click();
            g_deviceSettings->connection->objectNumber = stored;
            g_deviceSettings->connection->autoIncrementNumber = 1;
            run.fx.main->pribParWindow()->findChild<QPushButton*>("pbCancel")->click();
            const qsizetype before = run.fx.sim.SectionAnswers().size();
            QVERIFY(run.program(accepts));
            QTRY_COMPARE_WITH_TIMEOUT(run.fx.objectNumber(), QByteArray(after),
                                      DeviceFixture::kSlowMs);
            QCOMPARE(run.at<QSpinBox>(W::kConnectParams, "sbNumObj")->value(),
                     QString(after).toInt());
            QVERIFY(run.fx.sim.SectionAnswers().mid(before).join().contains(stored));
        }
    }

    // Values set on the pages, never applied by hand, are in the sections the
    // device receives; an operator deleted before the one a SIM uses leaves
    // the SIM its access point.
    void pagesReachDevice() {
        Run run;
        QVERIFY(run.start(true));
        QVERIFY(run.fx.main->pribParWindow()->menuTitles().contains("Параметры навигации"));
        CommsPages::type(run.at<QLineEdit>(W::kAuConnectParams, "leNum1"), "9161234567");
        CommsPages::type(run.at<QLineEdit>(W::kAuConnectParams, "leNum2"), "495");
        run.at<QSpinBox>(W::kAuConnectParams, "sbPOSO1")->setValue(3);
        run.at<QSpinBox>(W::kAuConnectParams, "sbT1")->setValue(2);
        for (const char* name : {"CbSK1", "cbTr1", "CbPK2"})
            run.at<QComboBox>(W::kOtprSMS, name)->setCurrentText("Да");
        const int gprs = W::kConGPRS, time = W::kSntp, remote = W::kRemoteProgFrame;
        for (const auto& [slot, name] : {std::pair(gprs, "cbConGPRS"),
                                         {gprs, "cbUseDNS1"},
                                         {time, "cbUseSNTP"},
                                         {W::kNavigation, "cbSh2"},
                                         {W::kNavigation, "cbSh5"},
                                         {remote, "cbConnect"},
                                         {remote, "cbUseIfNoProtect"}})
            run.at<QCheckBox>(slot, name)->setChecked(true);
        for (const auto& [slot, name, text] : {std::tuple(gprs, "leIP1", "010.000.000.001"),
                                               {gprs, "leDNS1", "gprs.example.org"},
                                               {gprs, "leIP2", "192.168.001.020"},
                                               {gprs, "leServConnectPass", "secret"},
                                               {time, "leIPserv", "192.168.001.001"},
                                               {time, "leDNS", "pool.example.org"},
                                               {remote, "leAdress1", "remote.example"},
                                               {remote, "leAdress2", "10.1.2.3"},
                                               {remote, "leKeyWordSMS", "Key 1"}})
            run.at<QLineEdit>(slot, name)->setText(text);
        for (const auto& [slot, name, value] : {std::tuple(gprs, "sbPort1", 80),
                                                {gprs, "sbPort2", 5001},
                                                {time, "sbIPPort", 123},
                                                {remote, "sbPort1", 8080},
                                                {remote, "sbPort2", 65535}})
            run.at<QSpinBox>(slot, name)->setValue(value);
        auto* protocol = run.at<QComboBox>(gprs, "cmbProtocol");
        protocol->setCurrentIndex(protocol->findData(2));
        run.at<QComboBox>(time, "combVer")->setCurrentIndex(1);
        run.at<QComboBox>(time, "comboBPoyas")->setCurrentIndex(5);
        run.at<QRadioButton>(time, "rbUseDNS")->click();
        run.at<QDoubleSpinBox>(W::kNavigation, "dbFilter")->setValue(33.3);

        run.fx.widget<QCheckBox>("cbUseSIM1")->setChecked(true);
        run.fx.widget<QComboBox>("CbOperators1")->setCurrentIndex(3);
        const GsmOperator chosen = g_deviceSettings->gsmOperators.at(3);
        OperatorsDialog* operators = run.fx.main->operatorsDialog();
        operators->findChild<QListWidget*>("lwOperators")->setCurrentRow(0);
        run.fx.prompt.buttons.enqueue(Prompt::Yes);
        operators->findChild<QPushButton*>("tbDel")->click();
        QCOMPARE(run.fx.widget<QComboBox>("CbOperators1")->currentText(), chosen.name);

        QVERIFY(run.program());
        using namespace layout::crqq;
        const QByteArray crqq = run.section("CRQQ");
        QCOMPARE(crqq.size(), kSize);
        QCOMPARE(crqq.mid(NumberOffset(0), layout::kPhoneBytes).toHex(), QByteArray("9161234567"));
        QCOMPARE(crqq.mid(NumberOffset(1), layout::kPhoneBytes).toHex(), QByteArray("4950000000"));
        QCOMPARE(quint8(crqq[OpenCloseOffset(0)]), quint8(3 | kCbozBit | kCbtsBit));
        QCOMPARE(quint8(crqq[AlarmOffset(0)]), quint8(2));
        QCOMPARE(quint8(crqq[OpenCloseOffset(1)]), quint8(kCbzaBit));

        // The texts, each in its section; the access point of the SIM's operator.
        const QByteArray access =
            (chosen.login + ':' + chosen.password + ':' + chosen.initString).toLatin1();
        for (const auto& [name, text] : {std::pair("CRAA", QByteArray("010.000.000.001:00080:")),
                                         {"CRAA", ":0100:"},
                                         {"CRAA", access},
                                         {"CRMM", "192.168.001.02005001"},
                                         {"CR99", "gprs.example.org"},
                                         {"CR99", "192.168.001.001"},
                                         {"CR99", "pool.example.org"},
                                         {"CRFF", "remote.example"},
                                         {"CRFF", "10.1.2.3"},
                                         {"CRFF", "Key 1"},
                                         {"CRFF", QByteArray("secret\0", 7)}})
            QVERIFY2(run.section(name).contains(text), name);
        const QByteArray cr99 = run.section("CR99");
        QVERIFY(quint8(cr99.at(cr99::kServerOptions)) & cr99::kUseDnsBit);
        QCOMPARE(cr99.mid(cr99::kSntpPort, cr99::kSntpPortSize), QByteArray("00123"));
        const quint8 sntpFlags = quint8(cr99.at(cr99::kSntpFlags));
        QCOMPARE(sntpFlags >> cr99::kSntpVersionShift, 1);
        QCOMPARE(sntpFlags & (cr99::kUseSntpBit | cr99::kSntpCb4Bit | cr99::kSntpCb3Bit),
                 cr99::kUseSntpBit | cr99::kSntpCb4Bit);
        const Cr99Layout layout = Cr99LayoutFor(*g_deviceSettings->header);
        QCOMPARE(quint8(cr99.at(layout.timeZone + cr99::kTimeZoneAt)) & 0x1F, 5);
        QCOMPARE(quint8(cr99.at(layout.navigation + 1)), quint8(0x12)); // loops 2 and 5
        const QByteArray crff = run.section("CRFF");
        QCOMPARE(crff.mid(crff::kServerPort1, 4), QByteArray("\x1F\x90\xFF\xFF", 4));
        QCOMPARE(quint8(crff.at(crff::kRemoteFlags)),
                 quint8(crff::kConnectToServerBit | crff::kUseProgIfNoProtectBit));
    }
};

QTEST_MAIN(TestCommsProgramming)
#include "tst_commsprogramming.moc"
