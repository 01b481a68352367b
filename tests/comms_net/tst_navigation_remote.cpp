// The navigation and remote configuration pages inside the real parameters
// window: the filter distance, rows and the GPS-time choice by device type,
// phone and key-word fields, limits, and values stored from hidden or
// disabled controls.

#include "NetPagesRig.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>

namespace {
// Types `text` key by key, Cyrillic included (keyClicks takes Latin-1 only).
void Type(QWidget* field, const QString& text) {
    for (QChar c : text) {
        const int key = c == QLatin1Char('\t') ? int(Qt::Key_Tab) : int(Qt::Key_unknown);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(field, &press);
    }
}
} // namespace

class TstNavigationRemote : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PrepareApplication(); }

    void filterText_data() {
        QTest::addColumn<double>("km");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0.0 << "0000";
        QTest::newRow("one step") << 0.333 << "0001";
        QTest::newRow("100 steps") << 33.3 << "0100";
        QTest::newRow("below half a step") << 0.166 << "0000";
        QTest::newRow("off the grid") << 2.331 << "0007";
        QTest::newRow("form maximum") << 3329.67 << "9999";
        QTest::newRow("beyond") << 5000.0 << "9999";
    }
    void filterText() {
        QFETCH(double, km);
        QFETCH(QString, text);
        QCOMPARE(Navigation::FilterText(km), text);
    }

    void filterField_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<double>("shown");
        QTest::newRow("default") << "0" << 0.0;
        QTest::newRow("100 steps") << "0100" << 33.3;
        QTest::newRow("all steps") << "9999" << 3329.667;
        QTest::newRow("no number") << "12a" << 0.0;
        QTest::newRow("too many") << "20000" << 3329.67;
    }
    // What the page shows is stored back unchanged, in four digits.
    void filterField() {
        QFETCH(QString, stored);
        QFETCH(double, shown);
        NetPagesRig rig;
        rig.s.navigation->distanceFilter = stored;
        rig.load();
        QCOMPARE(rig.nav<QDoubleSpinBox>("dbFilter")->value(), shown);
        rig.apply();
        QCOMPARE(rig.s.navigation->distanceFilter, Navigation::FilterText(shown));
    }

    void rowsByDeviceType_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("loops");
        QTest::addColumn<int>("relays");
        QTest::newRow("4 loops") << int(DEV_D4M) << 4 << 2;
        QTest::newRow("8 loops") << int(DEV_D8M) << 8 << 3;
        QTest::newRow("6 loops") << int(DEV_VororaZ) << 6 << 3;
        QTest::newRow("6 loops, navigation") << int(DEV_VoduzeR) << 6 << 3;
    }
    void rowsByDeviceType() {
        QFETCH(int, type);
        QFETCH(int, loops);
        QFETCH(int, relays);
        NetPagesRig rig;
        rig.deviceType(type == DEV_D8M ? DEV_D4M : DEV_D8M); // every row must change
        rig.deviceType(DEV_TYPE(type));
        const int page = PribParWindow::kNavigation;
        for (int n = 1; n <= kLoops; ++n) {
            QCOMPARE(rig.shown(page, "lsh" + QByteArray::number(n)), n <= loops);
            QCOMPARE(rig.shown(page, "cbSh" + QByteArray::number(n)), n <= loops);
        }
        for (int n = 1; n <= 4; ++n) {
            QCOMPARE(rig.shown(page, "lr" + QByteArray::number(n)), n <= relays);
            QCOMPARE(rig.shown(page, "cbRele" + QByteArray::number(n)), n <= relays);
        }
        rig.firmware("05.06.2010/1");
        QVERIFY(!rig.shown(page, "gbDopOpt"));
        rig.firmware("16.08.2010/1");
        QVERIFY(rig.shown(page, "gbDopOpt"));
    }

    void gpsTimeAcrossTypes_data() {
        QTest::addColumn<bool>("applyBetween");
        QTest::addColumn<bool>("loadBetween");
        QTest::addColumn<bool>("back");
        QTest::newRow("given back") << false << false << true;
        QTest::newRow("apply makes it final") << true << false << false;
        QTest::newRow("a load ends it") << false << true << false;
    }
    // Only the second family takes its time from GPS: the choice is put aside
    // while a first-family model is chosen.
    void gpsTimeAcrossTypes() {
        QFETCH(bool, applyBetween);
        QFETCH(bool, loadBetween);
        QFETCH(bool, back);
        NetPagesRig rig;
        rig.deviceType(DEV_VoduzeR);
        rig.s.navigation->updateTimeFromGps = 1;
        rig.load();
        auto* gpsTime = rig.nav<QCheckBox>("cbUpdateTimeGPS");
        rig.deviceType(DEV_D8M);
        QVERIFY(!gpsTime->isChecked());
        QCOMPARE(rig.s.navigation->updateTimeFromGps, 0);
        rig.deviceType(DEV_D4M); // a second first-family type keeps the first memory
        if (applyBetween)
            rig.apply();
        if (loadBetween)
            rig.load();
        rig.deviceType(DEV_VororaZ);
        QCOMPARE(gpsTime->isChecked(), back);
        QCOMPARE(rig.s.navigation->updateTimeFromGps, u8(back));

        rig.deviceType(DEV_D8M); // ticked by hand there: never stored
        gpsTime->setChecked(true);
        rig.apply();
        QCOMPARE(rig.s.navigation->updateTimeFromGps, 0);
    }

    void hiddenBoxesStored() {
        NetPagesRig rig;
        rig.deviceType(DEV_D4M);
        for (const char* name : {"cbSh2", "cbSh6", "cbSh8", "cbRele3", "cbRele4"})
            rig.nav<QCheckBox>(name)->setChecked(true);
        rig.nav<QRadioButton>("rbGPSYes")->setChecked(true);
        rig.apply();
        const NavigationSettings& nv = *rig.s.navigation;
        QCOMPARE(nv.loopFrequent, (Arr<u8, kLoops>{0, 1, 0, 0, 0, 1, 0, 1}));
        QCOMPARE(nv.relayFrequent, (Arr<u8, kOutputs>{0, 0, 1, 1}));
        QCOMPARE(nv.gpsReceiver, 1);

        rig.s.navigation->loopFrequent = {1, 0, 0, 0, 0, 0, 1, 0};
        rig.s.navigation->gpsReceiver = 0;
        rig.load();
        QVERIFY(rig.nav<QCheckBox>("cbSh7")->isChecked());
        QVERIFY(!rig.nav<QCheckBox>("cbSh6")->isChecked());
        QVERIFY(rig.nav<QRadioButton>("rbGPSNo")->isChecked());
    }

    void remoteFields_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("typed"); // typed into the emptied field
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("kept");
        QTest::newRow("default number") << "9000000000"
                                        << ""
                                        << "900-000-00-00"
                                        << "9000000000";
        QTest::newRow("empty number") << ""
                                      << ""
                                      << "***-***-**-**"
                                      << "0000000000";
        QTest::newRow("two unfilled") << ""
                                      << "91612345"
                                      << "916-123-45-**"
                                      << "9161234500";
        QTest::newRow("letters refused") << ""
                                         << "91a6"
                                         << "916-***-**-**"
                                         << "9160000000";
        QTest::newRow("key word") << ""
                                  << "Ab 1~!{}"
                                  << ""
                                  << "Ab 1~!{}";
        QTest::newRow("Cyrillic refused") << ""
                                          << "aЖb"
                                          << ""
                                          << "ab";
        QTest::newRow("ninth character") << ""
                                         << "abcdefghi"
                                         << ""
                                         << "abcdefgh";
    }
    // Phone numbers (rows with a form shown) and the key word.
    void remoteFields() {
        QFETCH(QString, stored);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QString, kept);
        const bool phone = !shown.isEmpty();
        NetPagesRig rig;
        rig.s.remoteProg->phoneNumber = {stored, stored};
        rig.s.remoteProg->connectToServer = 1; // the fields take keys only then
        rig.load();
        auto* field = rig.remote<QLineEdit>(phone ? "leNum2" : "leKeyWordSMS");
        if (!typed.isEmpty()) {
            field->clear();
            field->setCursorPosition(0);
            Type(field, typed);
        }
        if (phone)
            QCOMPARE(field->displayText(), shown);
        rig.apply();
        QCOMPARE(phone ? rig.s.remoteProg->phoneNumber[1] : rig.s.remoteProg->smsKeyWord, kept);
    }

    // Ports and addresses are bounded by the device's fields; the groups
    // closed by the permission box are stored all the same.
    void remoteLimitsAndDisabledGroups() {
        NetPagesRig rig;
        RemoteProgSettings& rp = *rig.s.remoteProg;
        rp.serverAddress = {QString(40, 'a'), QStringLiteral("second.example")};
        rp.serverPort = {65535, 8080};
        rp.connectToServer = 1;
        rp.useProgIfNoProtect = 1;
        rig.load();
        QCOMPARE(rig.remote<QLineEdit>("leAdress1")->text(), QString(32, 'a'));
        rig.remote<QCheckBox>("cbConnect")->click();
        for (const char* group : {"gbServer", "gbTelProg", "gbExtra"})
            QVERIFY(!rig.remote<QWidget>(group)->isEnabled());
        rig.remote<QSpinBox>("sbPort2")->setValue(70000);
        rig.remote<QLineEdit>("leAdress2")->setText(QStringLiteral("other.example"));
        rig.apply();
        QCOMPARE(rp.connectToServer, 0);
        QCOMPARE(rp.useProgIfNoProtect, 1);
        QCOMPARE(rp.serverAddress[0], QString(32, 'a'));
        QCOMPARE(rp.serverAddress[1], QString("other.example"));
        QCOMPARE(rp.serverPort, (Arr<u16, 2>{65535, 65535}));
    }
};

QTEST_MAIN(TstNavigationRemote)
#include "tst_navigation_remote.moc"
