// The service parameters page: what each firmware, model and work mode shows,
// the choices it remembers while a gate hides them, and what it stores.

#include "../app/DeviceFixture.h"

#include "editor/DopParams.h"
#include "editor/PribParWindow.h"
#include "settings/DeviceSettings.h"
#include "settings/Firmware.h"
#include "settings/Sections.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

template <class W> W* Child(const QWidget& page, const char* name) {
    return page.findChild<W*>(QString::fromLatin1(name));
}
bool Shown(const QWidget& page, const char* name) {
    return Child<QWidget>(page, name)->isVisibleTo(&page);
}

} // namespace

class TestDopParams : public QObject {
    Q_OBJECT

private slots:
    void init();
    void gates_data();
    void gates();
    void voicePasswordMemo();
    void techLoopMemo();
    void techLoopSignal();
    void loopOutsideEveryList();
    void storesAndLoads();
    void soundActionFollowsApply();

private:
    DeviceSettings settings;
};

void TestDopParams::init() {
    settings = DeviceSettings();
    SetDefaultSettings(&settings, false);
    g_deviceSettings = &settings;
}

void TestDopParams::gates_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("version");
    QTest::addColumn<bool>("techLoop");
    QTest::addColumn<bool>("sounds");
    QTest::addColumn<bool>("voicePasswords");
    QTest::addColumn<bool>("silent");
    QTest::newRow("21.09.2009") << 1 << 1 << "21.09.2009" << false << false << false << false;
    QTest::newRow("22.09.2009") << 1 << 1 << "22.09.2009" << true << false << false << false;
    QTest::newRow("27.11.2009") << 1 << 1 << "27.11.2009" << true << false << false << false;
    QTest::newRow("28.11.2009") << 1 << 1 << "28.11.2009" << true << true << false << false;
    QTest::newRow("19.12.2009") << 1 << 1 << "19.12.2009" << true << true << false << true;
    QTest::newRow("20.12.2009") << 1 << 1 << "20.12.2009" << true << true << false << false;
    QTest::newRow("15.04.2010") << 1 << 1 << "15.04.2010" << true << true << true << false;
    QTest::newRow("15.04.2010 system") << 1 << 0 << "15.04.2010" << true << false << false << false;
    QTest::newRow("04.06.2010") << 1 << 1 << "04.06.2010" << true << true << true << false;
    QTest::newRow("05.06.2010") << 1 << 1 << "05.06.2010" << true << true << true << true;
    QTest::newRow("4-loop 18.04.2012") << 0 << 1 << "18.04.2012" << true << true << false << true;
    QTest::newRow("4-loop 19.04.2012") << 0 << 1 << "19.04.2012/1" << true << true << true << true;
    QTest::newRow("no firmware") << 2 << 1 << "" << false << false << false << false;
}

void TestDopParams::gates() {
    QFETCH(int, type);
    QFETCH(int, mode);
    QFETCH(QString, version);
    QFETCH(bool, techLoop);
    QFETCH(bool, sounds);
    QFETCH(bool, voicePasswords);
    QFETCH(bool, silent);
    DopParams page;
    settings.header->deviceType = type;
    settings.header->workMode = mode;
    SetFirmwareVersion(*settings.header, version);
    page.TPribSlot(type);
    page.IfChangeRegim();
    QCOMPARE(Shown(page, "CbNTShl"), techLoop);
    QCOMPARE(Shown(page, "label_3"), techLoop);
    QCOMPARE(Shown(page, "chbUseSounds"), sounds);
    QCOMPARE(Shown(page, "cbRechPass"), voicePasswords);
    QCOMPARE(Shown(page, "cbTihPS"), silent);
}

// The 4-loop model with firmware before 19.04.2012 forces voice passwords off
// at once; a later version or another model gives the value back.
void TestDopParams::voicePasswordMemo() {
    DopParams page;
    settings.header->workMode = MODE_AUTONOMOUS;
    settings.extra->useVoicePasswords = 1;
    settings.extra->useVoiceMessages = 1;
    page.CancelClick();
    auto* box = Child<QCheckBox>(page, "cbRechPass");
    SetFirmwareVersion(*settings.header, QStringLiteral("18.04.2012"));
    page.TPribSlot(DEV_D4M);
    QCOMPARE(settings.extra->useVoicePasswords, u8(0));
    QVERIFY(!box->isChecked());
    page.TPribSlot(DEV_D4M); // a second hiding keeps the first value
    SetFirmwareVersion(*settings.header, QStringLiteral("19.04.2012/1"));
    page.VersionChange();
    QCOMPARE(settings.extra->useVoicePasswords, u8(1));
    QVERIFY(box->isChecked());

    // An apply while forced off makes the drop final.
    SetFirmwareVersion(*settings.header, QStringLiteral("18.04.2012"));
    page.VersionChange();
    page.ApplyClick();
    settings.header->deviceType = DEV_D8M;
    page.TPribSlot(DEV_D8M);
    QCOMPARE(settings.extra->useVoicePasswords, u8(0));
}

// A loop the new model lacks is remembered and comes back with a model that
// has it; only an apply (or a load) makes the drop final.
void TestDopParams::techLoopMemo() {
    DopParams page;
    SetFirmwareVersion(*settings.header, QStringLiteral("19.04.2012/1"));
    auto* combo = Child<QComboBox>(page, "CbNTShl");
    settings.extra->techLoop = 7;
    page.TPribSlot(DEV_D8M);
    QCOMPARE(combo->currentIndex(), 7);
    page.TPribSlot(DEV_VororaZ);
    QCOMPARE(combo->currentText(), QStringLiteral("Не используется"));
    QCOMPARE(settings.extra->techLoop, 0);
    page.TPribSlot(DEV_D4M); // still lacks loop 7: stays remembered
    QCOMPARE(settings.extra->techLoop, 0);
    QCOMPARE(combo->currentIndex(), 0);
    page.TPribSlot(DEV_D8M);
    QCOMPARE(settings.extra->techLoop, 7);
    QCOMPARE(combo->currentIndex(), 7);

    page.TPribSlot(DEV_D4M);
    page.ApplyClick();
    page.TPribSlot(DEV_D8M);
    QCOMPARE(settings.extra->techLoop, 0);

    settings.extra->techLoop = 6;
    page.TPribSlot(DEV_D4M);
    page.ForgetRemembered();
    page.TPribSlot(DEV_D8M);
    QCOMPARE(settings.extra->techLoop, 0);
}

// Refilling the list reports -1, then 0, then the chosen loop.
void TestDopParams::techLoopSignal() {
    DopParams page;
    SetFirmwareVersion(*settings.header, QStringLiteral("19.04.2012/1"));
    settings.extra->techLoop = 3;
    QSignalSpy spy(&page, &DopParams::SigNumTehShlChange);
    page.TPribSlot(DEV_D8M);
    QCOMPARE(IntArgs(spy), (QList<int>{-1, 0, 3}));
}

// A technological loop no model has (a damaged image) is shown as no choice
// and sent back as it came, never as -1.
void TestDopParams::loopOutsideEveryList() {
    DopParams page;
    SetFirmwareVersion(*settings.header, QStringLiteral("19.04.2012/1"));
    settings.header->deviceType = DEV_D8M;
    settings.extra->techLoop = 12;
    const QByteArray source = BuildPackCR99(settings);
    page.TPribSlot(DEV_D8M);
    page.CancelClick();
    QCOMPARE(Child<QComboBox>(page, "CbNTShl")->currentIndex(), -1);
    page.ApplyClick();
    QCOMPARE(settings.extra->techLoop, 12);
    QCOMPARE(BuildPackCR99(settings).toHex(' '), source.toHex(' '));
}

void TestDopParams::storesAndLoads() {
    DopParams page;
    settings.header->workMode = MODE_AUTONOMOUS;
    SetFirmwareVersion(*settings.header, QStringLiteral("19.04.2012/1"));
    page.TPribSlot(DEV_D8M);
    auto* prefix = Child<QLineEdit>(page, "leCallPrefix");
    QCOMPARE(prefix->maxLength(), 10);
    int pos = 0;
    QString typed = QStringLiteral("8a");
    QCOMPARE(prefix->validator()->validate(typed, pos), QValidator::Invalid);
    typed = QStringLiteral("+375");
    QCOMPARE(prefix->validator()->validate(typed, pos), QValidator::Acceptable);

    Child<QCheckBox>(page, "chbUseTamper")->setChecked(true);
    Child<QCheckBox>(page, "chBSaveStatusPrib")->setChecked(true);
    Child<QCheckBox>(page, "chbUseSounds")->setChecked(true);
    Child<QCheckBox>(page, "cbRechPass")->setChecked(true);
    Child<QComboBox>(page, "CbNTShl")->setCurrentIndex(8);
    prefix->setText(typed);
    QSignalSpy sounds(&page, &DopParams::SigUseSounds);
    page.ApplyClick();
    QCOMPARE(sounds.size(), 1);
    const ExtraOptions& e = *settings.extra;
    QCOMPARE((QList<int>{e.useTamper, e.saveStateOnPowerOff, e.useVoiceMessages,
                         e.useVoicePasswords, e.techLoop, e.silentArming}),
             (QList<int>{1, 1, 1, 1, 8, 0}));
    QCOMPARE(e.callPrefix, typed);

    // Voice passwords only with voice messages: unticking one unticks both.
    Child<QCheckBox>(page, "chbUseSounds")->setChecked(false);
    QVERIFY(!Child<QCheckBox>(page, "cbRechPass")->isChecked());
    QVERIFY(!Child<QCheckBox>(page, "cbRechPass")->isEnabled());
    page.CancelClick();
    QVERIFY(Child<QCheckBox>(page, "cbRechPass")->isChecked());
}

// Within one apply the main window's sound action follows the page's voice
// message box; model and mode changes in the main window re-gate the page.
void TestDopParams::soundActionFollowsApply() {
    DeviceFixture fx;
    QVERIFY(fx.open());
    fx.action("actSounds")->setVisible(true); // a hidden action is never enabled
    auto* window = fx.main->findChild<PribParWindow*>();
    const DopParams& page = *window->dopParams();
    fx.widget<QComboBox>("cbVersion")
        ->setCurrentIndex(int(MainWindow::FirmwareVersions().indexOf("19.04.2012/45")));
    fx.widget<QRadioButton>("RbRegAuto")->click();
    QVERIFY(Shown(page, "chbUseSounds"));
    Child<QCheckBox>(page, "chbUseSounds")->setChecked(true);
    QVERIFY(!fx.action("actSounds")->isEnabled());
    window->findChild<QPushButton*>(QStringLiteral("pbApply"))->click();
    QVERIFY(fx.action("actSounds")->isEnabled());
    fx.widget<QRadioButton>("RbRegKsar")->click();
    QVERIFY(!Shown(page, "chbUseSounds"));
    QVERIFY(!fx.action("actSounds")->isEnabled());

    fx.widget<QComboBox>("cbVersion")
        ->setCurrentIndex(int(MainWindow::FirmwareVersions().indexOf("18.12.2009")));
    fx.widget<QRadioButton>("RbD4M")->click();
    QVERIFY(!Shown(page, "cbTihPS"));
    fx.widget<QComboBox>("cbVersion")
        ->setCurrentIndex(int(MainWindow::FirmwareVersions().indexOf("19.12.2009")));
    QVERIFY(Shown(page, "cbTihPS"));
}

QTEST_MAIN(TestDopParams)
#include "tst_dopparams.moc"
