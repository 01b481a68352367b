// The service parameters page: what each firmware, model and work mode shows,
// the choices it remembers while a gate hides them, and what it stores.

#include "app/AppTestSupport.h"

#include "editor/DopParams.h"
#include "settings/Firmware.h"
#include "settings/Sections.h"

#include <QCheckBox>
#include <QComboBox>

namespace {

template <class W = QCheckBox> W* Child(const QWidget& page, const char* name) {
    return page.findChild<W*>(QString::fromLatin1(name));
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
    void loopOutsideEveryList();
    void voiceRule();

private:
    DeviceSettings settings;
};

void TestDopParams::init() {
    settings = DeviceSettings();
    SetDefaultSettings(&settings, false);
    g_deviceSettings = &settings;
}

void TestDopParams::gates_data() {
    // Shown: technological loop, voice messages, voice passwords, silent arming.
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("version");
    QTest::newRow("21.09.2009") << "----" << 1 << 1 << "21.09.2009";
    QTest::newRow("22.09.2009") << "T---" << 1 << 1 << "22.09.2009";
    QTest::newRow("28.11.2009") << "TS--" << 1 << 1 << "28.11.2009";
    QTest::newRow("19.12.2009") << "TS-Q" << 1 << 1 << "19.12.2009";
    QTest::newRow("20.12.2009") << "TS--" << 1 << 1 << "20.12.2009";
    QTest::newRow("15.04.2010") << "TSP-" << 1 << 1 << "15.04.2010";
    QTest::newRow("15.04.2010 system") << "T---" << 1 << 0 << "15.04.2010";
    QTest::newRow("05.06.2010") << "TSPQ" << 1 << 1 << "05.06.2010";
    QTest::newRow("4-loop 18.04.2012") << "TS-Q" << 0 << 1 << "18.04.2012";
    QTest::newRow("4-loop 19.04.2012") << "TSPQ" << 0 << 1 << "19.04.2012/1";
    QTest::newRow("no firmware") << "----" << 2 << 1 << "";
}

void TestDopParams::gates() {
    QFETCH(int, type);
    QFETCH(int, mode);
    QFETCH(QString, version);
    QFETCH(QString, shown);
    DopParams page;
    settings.header->deviceType = type;
    settings.header->workMode = mode;
    SetFirmwareVersion(*settings.header, version);
    page.TPribSlot(type);
    page.IfChangeRegim();
    QString seen;
    for (const char* name : {"CbNTShl", "chbUseSounds", "cbRechPass", "cbTihPS"})
        seen += Child<QWidget>(page, name)->isVisibleTo(&page) ? "TSPQ"[seen.size()] : '-';
    QCOMPARE(seen, shown);
    QCOMPARE(Child<QWidget>(page, "label_3")->isVisibleTo(&page), shown.startsWith('T'));
}

// The 4-loop model with firmware before 19.04.2012 forces voice passwords off
// at once; a later version or another model gives the value back, unless an
// apply came in between.
void TestDopParams::voicePasswordMemo() {
    DopParams page;
    settings.header->workMode = MODE_AUTONOMOUS;
    settings.extra->useVoicePasswords = 1;
    settings.extra->useVoiceMessages = 1;
    page.CancelClick();
    auto* box = Child(page, "cbRechPass");
    SetFirmwareVersion(*settings.header, QStringLiteral("18.04.2012"));
    page.TPribSlot(DEV_D4M);
    QCOMPARE(settings.extra->useVoicePasswords, u8(0));
    QVERIFY(!box->isChecked());
    page.TPribSlot(DEV_D4M); // a second hiding keeps the first value
    SetFirmwareVersion(*settings.header, QStringLiteral("19.04.2012/1"));
    page.VersionChange();
    QCOMPARE(settings.extra->useVoicePasswords, u8(1));
    QVERIFY(box->isChecked());

    SetFirmwareVersion(*settings.header, QStringLiteral("18.04.2012"));
    page.VersionChange();
    page.ApplyClick();
    settings.header->deviceType = DEV_D8M;
    page.TPribSlot(DEV_D8M);
    QCOMPARE(settings.extra->useVoicePasswords, u8(0));
}

// A loop the new model lacks is remembered and comes back with a model that
// has it; an apply or a load makes the drop final. Refilling the list tells
// -1, then 0, then the chosen loop.
void TestDopParams::techLoopMemo() {
    DopParams page;
    SetFirmwareVersion(*settings.header, QStringLiteral("19.04.2012/1"));
    auto* combo = Child<QComboBox>(page, "CbNTShl");
    settings.extra->techLoop = 7;
    QSignalSpy told(&page, &DopParams::SigNumTehShlChange);
    page.TPribSlot(DEV_D8M);
    QCOMPARE(IntArgs(told), (QList<int>{-1, 0, 7}));
    const QList<std::pair<int, int>> steps{// model, then loop stored and shown
                                           {DEV_VororaZ, 0},
                                           {DEV_D4M, 0}, // still lacks loop 7
                                           {DEV_D8M, 7}};
    for (auto [type, loop] : steps) {
        page.TPribSlot(type);
        QCOMPARE(settings.extra->techLoop, loop);
        QCOMPARE(combo->currentIndex(), loop);
    }
    // The oldest firmware shows none; a newer one gives the loop back.
    for (const char* version : {"21.09.2009", "19.04.2012/1"}) {
        SetFirmwareVersion(*settings.header, QString::fromLatin1(version));
        page.VersionChange();
    }
    QCOMPARE(combo->currentIndex(), 7);
    for (auto drop : {&DopParams::ApplyClick, &DopParams::ForgetRemembered}) {
        settings.extra->techLoop = 6;
        page.TPribSlot(DEV_D4M);
        (page.*drop)();
        page.TPribSlot(DEV_D8M);
        QCOMPARE(settings.extra->techLoop, 0);
    }
}

// A technological loop no model has (a damaged image) is shown as no choice,
// also after the oldest firmware hid it, and sent back as it came, never as -1.
void TestDopParams::loopOutsideEveryList() {
    DopParams page;
    SetFirmwareVersion(*settings.header, QStringLiteral("19.04.2012/1"));
    settings.header->deviceType = DEV_D8M;
    settings.extra->techLoop = 12;
    const QByteArray source = BuildPackCR99(settings);
    page.TPribSlot(DEV_D8M);
    page.CancelClick();
    for (const char* version : {"21.09.2009", "19.04.2012/1"}) {
        SetFirmwareVersion(*settings.header, QString::fromLatin1(version));
        page.VersionChange();
    }
    QCOMPARE(Child<QComboBox>(page, "CbNTShl")->currentIndex(), -1);
    page.ApplyClick();
    QCOMPARE(settings.extra->techLoop, 12);
    QCOMPARE(BuildPackCR99(settings).toHex(' '), source.toHex(' '));
}

// Voice passwords come only with voice messages: unticking one unticks both
// until a cancel reloads them.
void TestDopParams::voiceRule() {
    DopParams page;
    settings.header->workMode = MODE_AUTONOMOUS;
    settings.extra->useVoiceMessages = settings.extra->useVoicePasswords = 1;
    SetFirmwareVersion(*settings.header, QStringLiteral("19.04.2012/1"));
    page.TPribSlot(DEV_D8M);
    page.CancelClick();
    Child(page, "chbUseSounds")->setChecked(false);
    QVERIFY(!Child(page, "cbRechPass")->isChecked() && !Child(page, "cbRechPass")->isEnabled());
    page.CancelClick();
    QVERIFY(Child(page, "cbRechPass")->isChecked());
}

QTEST_MAIN(TestDopParams)
#include "tst_dopparams.moc"
