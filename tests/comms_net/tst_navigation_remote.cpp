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
    void filterText_data();
    void filterText();
    void filterField_data();
    void filterField();
    void rowsByDeviceType_data();
    void rowsByDeviceType();
    void gpsTimeAcrossTypes_data();
    void gpsTimeAcrossTypes();
    void hiddenBoxesStored();
    void additionalGroupGate();
    void phoneFields_data();
    void phoneFields();
    void keyWord_data();
    void keyWord();
    void remoteLimitsAndDisabledGroups();
};

void TstNavigationRemote::filterText_data() {
    QTest::addColumn<double>("km");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0.0 << "0000";
    QTest::newRow("one step") << 0.333 << "0001";
    QTest::newRow("100 steps") << 33.3 << "0100";
    QTest::newRow("below half a step") << 0.166 << "0000";
    QTest::newRow("above half a step") << 0.167 << "0001";
    QTest::newRow("off the grid") << 2.331 << "0007";
    QTest::newRow("one km") << 1.0 << "0003";
    QTest::newRow("form maximum") << 3329.67 << "9999";
    QTest::newRow("beyond") << 5000.0 << "9999";
    QTest::newRow("negative") << -1.0 << "0000";
}

void TstNavigationRemote::filterText() {
    QFETCH(double, km);
    QFETCH(QString, text);
    QCOMPARE(Navigation::FilterText(km), text);
}

void TstNavigationRemote::filterField_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<double>("shown");
    QTest::newRow("default") << "0" << 0.0;
    QTest::newRow("100 steps") << "0100" << 33.3;
    QTest::newRow("all steps") << "9999" << 3329.667;
    QTest::newRow("no number") << "12a" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("too many") << "20000" << 3329.67;
}

// What the page shows is stored back unchanged, in four digits.
void TstNavigationRemote::filterField() {
    QFETCH(QString, stored);
    QFETCH(double, shown);
    NetPagesRig rig;
    rig.s.navigation->distanceFilter = stored;
    rig.load();
    const auto* filter = rig.nav<QDoubleSpinBox>("dbFilter");
    QCOMPARE(filter->value(), shown);
    rig.apply();
    QCOMPARE(rig.s.navigation->distanceFilter, Navigation::FilterText(shown));
    QCOMPARE(rig.s.navigation->distanceFilter.size(), 4);
}

void TstNavigationRemote::rowsByDeviceType_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("loops");
    QTest::addColumn<int>("relays");
    QTest::newRow("4 loops") << int(DEV_D4M) << 4 << 2;
    QTest::newRow("8 loops") << int(DEV_D8M) << 8 << 3;
    QTest::newRow("6 loops") << int(DEV_VororaZ) << 6 << 3;
    QTest::newRow("6 loops, navigation") << int(DEV_VoduzeR) << 6 << 3;
}

void TstNavigationRemote::rowsByDeviceType() {
    QFETCH(int, type);
    QFETCH(int, loops);
    QFETCH(int, relays);
    NetPagesRig rig;
    // From a type with more rows, so each row has to be hidden or shown.
    rig.deviceType(type == DEV_D8M ? DEV_D4M : DEV_D8M);
    rig.deviceType(DEV_TYPE(type));
    for (int n = 1; n <= kLoops; ++n) {
        const QByteArray label = "lsh" + QByteArray::number(n);
        const QByteArray box = "cbSh" + QByteArray::number(n);
        QCOMPARE(rig.shown(PribParWindow::kNavigation, label), n <= loops);
        QCOMPARE(rig.shown(PribParWindow::kNavigation, box), n <= loops);
    }
    for (int n = 1; n <= 4; ++n) {
        const QByteArray box = "cbRele" + QByteArray::number(n);
        const QByteArray label = "lr" + QByteArray::number(n);
        QCOMPARE(rig.shown(PribParWindow::kNavigation, box), n <= relays);
        QCOMPARE(rig.shown(PribParWindow::kNavigation, label), n <= relays);
    }
}

void TstNavigationRemote::gpsTimeAcrossTypes_data() {
    QTest::addColumn<bool>("applyBetween");
    QTest::addColumn<bool>("loadBetween");
    QTest::addColumn<bool>("back");
    QTest::newRow("given back") << false << false << true;
    QTest::newRow("apply makes it final") << true << false << false;
    QTest::newRow("a load ends it") << false << true << false;
}

// Only the second family takes its time from GPS: the choice is put aside
// while a first-family model is chosen.
void TstNavigationRemote::gpsTimeAcrossTypes() {
    QFETCH(bool, applyBetween);
    QFETCH(bool, loadBetween);
    QFETCH(bool, back);

    NetPagesRig rig;
    rig.deviceType(DEV_VoduzeR);
    rig.s.navigation->updateTimeFromGps = 1;
    rig.load();
    auto* gpsTime = rig.nav<QCheckBox>("cbUpdateTimeGPS");
    QVERIFY(gpsTime->isChecked());

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

    // Ticked by hand on a first-family model: never stored there.
    rig.s.header->deviceType = DEV_D8M;
    gpsTime->setChecked(true);
    rig.apply();
    QCOMPARE(rig.s.navigation->updateTimeFromGps, 0);
}

void TstNavigationRemote::hiddenBoxesStored() {
    NetPagesRig rig;
    rig.deviceType(DEV_D4M);
    QVERIFY(!rig.shown(PribParWindow::kNavigation, "cbSh6"));
    QVERIFY(!rig.shown(PribParWindow::kNavigation, "cbRele3"));
    for (const char* name : {"cbSh2", "cbSh6", "cbSh8", "cbRele3", "cbRele4"})
        rig.nav<QCheckBox>(name)->setChecked(true);
    rig.nav<QRadioButton>("rbGPSYes")->setChecked(true);
    rig.apply();
    const NavigationSettings& nv = *rig.s.navigation;
    QCOMPARE(nv.loopFrequent, (Arr<u8, kLoops>{0, 1, 0, 0, 0, 1, 0, 1}));
    QCOMPARE(nv.relayFrequent, (Arr<u8, kOutputs>{0, 0, 1, 1}));
    QCOMPARE(nv.gpsReceiver, 1);

    // And loaded back into the same boxes.
    rig.s.navigation->loopFrequent = {1, 0, 0, 0, 0, 0, 1, 0};
    rig.s.navigation->relayFrequent = {1, 0, 0, 0};
    rig.s.navigation->gpsReceiver = 0;
    rig.load();
    QVERIFY(rig.nav<QCheckBox>("cbSh7")->isChecked());
    QVERIFY(!rig.nav<QCheckBox>("cbSh6")->isChecked());
    QVERIFY(rig.nav<QCheckBox>("cbRele1")->isChecked());
    QVERIFY(rig.nav<QRadioButton>("rbGPSNo")->isChecked());
}

void TstNavigationRemote::additionalGroupGate() {
    NetPagesRig rig;
    rig.firmware("05.06.2010/1");
    QVERIFY(!rig.shown(PribParWindow::kNavigation, "gbDopOpt"));
    rig.firmware("16.08.2010/1");
    QVERIFY(rig.shown(PribParWindow::kNavigation, "gbDopOpt"));
}

void TstNavigationRemote::phoneFields_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("typed"); // keys typed into the emptied field
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("digits");
    QTest::newRow("default") << "9000000000"
                             << ""
                             << "900-000-00-00"
                             << "9000000000";
    QTest::newRow("empty") << ""
                           << ""
                           << "***-***-**-**"
                           << "0000000000";
    QTest::newRow("typed") << ""
                           << "9161234567"
                           << "916-123-45-67"
                           << "9161234567";
    QTest::newRow("last two unfilled") << ""
                                       << "91612345"
                                       << "916-123-45-**"
                                       << "9161234500";
    QTest::newRow("letters refused") << ""
                                     << "91a6"
                                     << "916-***-**-**"
                                     << "9160000000";
}

void TstNavigationRemote::phoneFields() {
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QString, digits);

    NetPagesRig rig;
    rig.s.remoteProg->phoneNumber = {stored, stored};
    rig.s.remoteProg->connectToServer = 1; // the fields take keys only then
    rig.load();
    for (const char* name : {"leNum1", "leNum2"}) {
        auto* field = rig.remote<QLineEdit>(name);
        if (!typed.isEmpty()) {
            field->clear();
            field->setCursorPosition(0);
            Type(field, typed);
        }
        QCOMPARE(field->displayText(), shown);
    }
    rig.apply();
    QCOMPARE(rig.s.remoteProg->phoneNumber[0], digits);
    QCOMPARE(rig.s.remoteProg->phoneNumber[1], digits);
}

void TstNavigationRemote::keyWord_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("printable ASCII") << "Ab 1~!{}"
                                     << "Ab 1~!{}";
    QTest::newRow("Cyrillic refused") << "Ключ"
                                      << "";
    QTest::newRow("mixed") << "aЖb"
                           << "ab";
    QTest::newRow("ninth character") << "abcdefghi"
                                     << "abcdefgh";
    QTest::newRow("control character") << "a\tb"
                                       << "ab";
}

void TstNavigationRemote::keyWord() {
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    NetPagesRig rig;
    rig.s.remoteProg->connectToServer = 1;
    rig.load();
    auto* field = rig.remote<QLineEdit>("leKeyWordSMS");
    Type(field, typed);
    QCOMPARE(field->text(), kept);
    rig.apply();
    QCOMPARE(rig.s.remoteProg->smsKeyWord, kept);
}

// Ports and addresses are bounded by the device's fields; the groups closed
// by the permission box are stored all the same.
void TstNavigationRemote::remoteLimitsAndDisabledGroups() {
    NetPagesRig rig;
    RemoteProgSettings& rp = *rig.s.remoteProg;
    rp.serverAddress = {QString(40, 'a'), QStringLiteral("second.example")};
    rp.serverPort = {65535, 8080};
    rp.connectToServer = 1;
    rp.useProgIfNoProtect = 1;
    rp.smsKeyWord = QStringLiteral("word");
    rig.load();
    QCOMPARE(rig.remote<QLineEdit>("leAdress1")->text(), QString(32, 'a'));
    QCOMPARE(rig.remote<QSpinBox>("sbPort1")->maximum(), 65535);
    QCOMPARE(rig.remote<QSpinBox>("sbPort2")->maximum(), 65535);
    for (const char* group : {"gbServer", "gbTelProg", "gbExtra"})
        QVERIFY(rig.remote<QWidget>(group)->isEnabled());

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
    QCOMPARE(rp.smsKeyWord, QString("word"));
}

QTEST_MAIN(TstNavigationRemote)
#include "tst_navigation_remote.moc"
