#include "settings/DeviceSettings.h"
#include "settings/Firmware.h"
#include "settings/ImageDecoder.h"
#include "settings/ImageEEPROM.h"
#include "settings/ImageLayout.h"
#include "settings/LayoutCR99.h"
#include "settings/Sections.h"
#include "support/ScriptedPrompt.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "support/Files.h"

namespace {

const QString kLoaded = QStringLiteral("Образ EEPROM успешно загружен!");
const QString kNotLoaded = QStringLiteral("Не удалось загрузить образ EEPROM!");

QList<GsmOperator> Operators() {
    return {
        {QStringLiteral("МТС"), QStringLiteral("*100#"), QStringLiteral("internet.mts.ru"),
         QStringLiteral("mts"), QStringLiteral("mts")},
        // Login and access point at their full widths (10 and 25 bytes).
        {QStringLiteral("Билайн"), QStringLiteral("#102#"),
         QStringLiteral("a123456789012345678901234"), QStringLiteral("abcdefghij"),
         QStringLiteral("beeline")},
        {QStringLiteral("Мегафон"), QStringLiteral("*105"), QStringLiteral("internet"),
         QStringLiteral("gdata"), QStringLiteral("0123456789")},
    };
}

DeviceSettings Defaults(const QString& version) {
    DeviceSettings s;
    SetFirmwareVersion(*s.header, version);
    s.gsmOperators = Operators();
    return s;
}

template <typename A> void Pattern(A& a, unsigned seed) {
    for (size_t i = 0; i < a.size(); ++i)
        a[i] = u8(((seed >> (i % 16)) ^ (i * 7 + seed)) & 1u);
}
template <typename A> void Pattern2(A& a, unsigned seed) {
    for (size_t i = 0; i < a.size(); ++i)
        Pattern(a[i], seed * 31 + unsigned(i) * 5);
}

// Every field the image carries set away from its default, each within what
// its bits can hold.
DeviceSettings Rich(const QString& version) {
    DeviceSettings s = Defaults(version);
    DeviceHeader& h = *s.header;
    h.deviceType = DEV_D8M;
    h.workMode = MODE_AUTONOMOUS;
    h.useSim = {1, 1};
    h.simOperator = {1, 2};
    h.checkBalance = {1, 0};

    ConnectionParams& c = *s.connection;
    c.objectNumber = "4321";
    c.csdDetail = 1;
    c.reserveReceiversFirst = 1;
    c.connectByGprs = 1;
    c.testWhenOpen = 1;
    c.testInterval = 9;
    c.testAttempts = 3;
    Pattern(c.testReceiver, 5);
    c.rapidResponseAttempts = 4;
    c.serverProtocol = 2;
    c.asyncTransfer = 1;
    c.deleteUnsent = 1;

    s.phoneOptions->callAttemptsOpenClose = {3, 1, 0, 15, 2};
    s.phoneOptions->callAttemptsAlarm = {5, 0, 9, 1, 2};
    s.phoneOptions->alarmCallUntilAnswer = 1;

    for (int k = 0; k < kAllNumbers; ++k)
        s.phones->number[k] =
            QStringLiteral("%1").arg(9161234500LL + k * 37, 10, 10, QLatin1Char('0'));
    // Entries 5, 7, 8 and 9 make the raw use-flag byte of the second SIM ':'.
    s.phones->useFlag = {1, 0, 1, 1, 0, 1, 0, 1, 1, 1, 0};

    ServerSettings& sv = *s.servers;
    sv.serverIp = {QStringLiteral("192.168.001.010"), QStringLiteral("010.000.000.001")};
    sv.serverPort = {QStringLiteral("05000"), QStringLiteral("08080")};
    sv.useDns = {1, 0};
    sv.dnsName = {QStringLiteral("srv.example.ru"), QStringLiteral("сервер.рф")};
    sv.udPop = {2, 5};
    sv.perez = {1, 0};
    sv.obnov = {0, 1};
    sv.udPop3 = 7;
    sv.useGprsMode2 = 1;
    sv.serverPassword = QStringLiteral("Пароль-1");

    ExtraOptions& e = *s.extra;
    e.disarmDelayOn = 0;
    e.disarmDelayLoop = 5;
    e.disarmDelayTime = 3;
    e.armDelayOn = 1;
    e.armDelayLoop = 2;
    e.armDelayTime = 7;
    e.useTamper = 1;
    e.saveStateOnPowerOff = 1;
    e.useVoiceMessages = 1;
    e.silentArming = 1;
    e.useVoicePasswords = 1;
    e.techLoop = 6;
    e.callPrefix = QStringLiteral("8101234567"); // full width

    OutputsConfig& o = *s.outputs;
    o.outputType = {1, 2, 3, 15};
    o.adminPassword = {QStringLiteral("3333"), QStringLiteral("4444")};
    o.userPassword = {QStringLiteral("1111"), QStringLiteral("2222")};
    Pattern2(o.outputLoop, 3);
    o.outputFlagA = {1, 0, 1, 1};
    o.keepOnPowerOff = {0, 1, 1, 0};
    o.outputZone = {1, 2, 3, 7};

    LoopFunctions& lf = *s.loopFunctions;
    for (int j = 0; j < kLoops; ++j) {
        lf.openAnalysis[j] = j % 4;
        lf.closeAnalysis[j] = (j + 1) % 4;
    }
    Pattern(lf.openLight, 1);
    Pattern(lf.openSiren, 2);
    Pattern(lf.closeLight, 3);
    Pattern(lf.closeSiren, 4);
    lf.errorOpenClose = 1;

    LoopLimits& ll = *s.loopLimits;
    for (int j = 0; j < kLoops; ++j) {
        ll.minLevel[j] = u32(j * 97 + 3);
        ll.maxLevel[j] = u32(1023 - j * 41);
    }
    Pattern(ll.reverse, 6);
    Pattern(ll.radio, 7);

    SmsNumberFlags& sf = *s.smsFlags;
    Pattern(sf.cboz, 8);
    Pattern(sf.cbza, 9);
    Pattern(sf.cb_p_vx_sn, 10);
    Pattern(sf.checkbox, 11);
    Pattern(sf.cbDrugieOt, 12);
    Pattern(sf.cbDrugieZa, 13);
    Pattern(sf.cbts, 14);
    sf.checkbox13 = 1;
    sf.objectIdInSms = 1;

    SntpSettings& sn = *s.sntp;
    sn.useSntp = 0;
    sn.sntpVersion = 3;
    sn.cb3 = 0;
    sn.cb4 = 1;
    sn.sntpIp = QStringLiteral("193.123.045.067");
    sn.sntpPort = QStringLiteral("00123");
    sn.sntpDns = QStringLiteral("pool.ntp.org");

    Pattern(s.extraSms->smsService, 15);
    Pattern(s.extraSms->smsSimChange, 16);
    Pattern(s.extraSms->smsUserOut1, 17);
    Pattern(s.extraSms->smsUserOut2, 18);

    Pattern2(s.zones->keyLoop, 19);
    for (int k = 0; k < kOrdinaryKeys; ++k)
        s.zones->eepromKeyName[k] = QStringLiteral("Ключ%1").arg(k);
    Pattern2(s.callMatrix->openClose, 20);
    Pattern2(s.callMatrix->alarm, 21);

    NavigationSettings& nav = *s.navigation;
    nav.gpsReceiver = 1;
    nav.distanceFilter = QStringLiteral("1234"); // full width
    Pattern(nav.loopFrequent, 22);
    nav.relayFrequent = {1, 1, 0, 1};
    nav.cb13 = 1;
    nav.timeZone = 11;
    nav.updateTimeFromGps = 1;

    ConsoleSmsSettings& cs = *s.consoleSms;
    Pattern2(cs.eventNumber, 23);
    for (int k = 0; k < kMainNumbers; ++k)
        cs.number[k] = QStringLiteral("89%1").arg(10000000 + k * 1111, 8, 10, QLatin1Char('0'));
    cs.objectName = QStringLiteral("Объект-1");
    for (int j = 0; j < kLoops; ++j)
        cs.loopName[j] = QStringLiteral("Шлейф%1").arg(j);
    cs.cb1 = 1;
    cs.cb2to5 = {0, 1, 1, 0};
    for (int ev = 0; ev < kConsoleEvents; ++ev) {
        cs.eventKind[ev] = (ev * 5) % 16;
        cs.eventText[0][ev] = QStringLiteral("Событие %1 длина").arg(ev); // 15 characters
        cs.eventText[1][ev] = QStringLiteral("Т%1").arg(ev);
        cs.eventText[2][ev] = QStringLiteral("Текст%1").arg(ev);
    }
    Pattern(cs.withKeyName, 24);
    Pattern(cs.withLoopName, 25);
    Pattern(cs.withTime, 26);

    Pattern(s.cameras->useCamera, 27);
    Pattern2(s.cameras->execCamera, 28);

    RemoteProgSettings& rp = *s.remoteProg;
    rp.serverAddress = {QStringLiteral("remote.example.ru"), QStringLiteral("10.0.0.1")};
    rp.serverPort = {8080, 443};
    rp.phoneNumber = {QStringLiteral("9031234567"), QStringLiteral("9267654321")};
    rp.smsKeyWord = QStringLiteral("Ключ№1");
    rp.connectToServer = 1;
    rp.useProgIfNoProtect = 1;

    TimeTriggers& tt = *s.timeTriggers;
    for (int i = 0; i < kTimeTriggers; ++i) {
        tt.evTime[i] = i % 3 == 2 ? QTime() : QTime(i * 2, i * 5, 0);
        tt.evType[i] = i % 4;
        Pattern(tt.evDay[i], 29 + unsigned(i));
    }
    return s;
}

#define CARRIED(field) QVERIFY2((got.field) == (want.field), #field)

// Every field the image carries at this firmware, compared between the
// decoded settings and the ones the image was made from.
void CompareCarried(const DeviceSettings& got, const DeviceSettings& want) {
    const DeviceHeader& h = *want.header;
    CARRIED(servers->serverIp);
    CARRIED(servers->serverPort);
    CARRIED(header->useSim);
    CARRIED(header->checkBalance);
    for (int sim = 0; sim < kSims; ++sim)
        if (want.header->useSim[sim])
            CARRIED(header->simOperator[sim]);
    CARRIED(navigation->distanceFilter);
    CARRIED(connection->objectNumber);
    CARRIED(outputs->userPassword);
    CARRIED(outputs->adminPassword);
    CARRIED(phones->number);
    CARRIED(phones->useFlag);
    CARRIED(smsFlags->cboz);
    CARRIED(smsFlags->cbza);
    CARRIED(smsFlags->cbts);
    CARRIED(phoneOptions->callAttemptsOpenClose);
    CARRIED(phoneOptions->callAttemptsAlarm);
    CARRIED(extra->saveStateOnPowerOff);
    CARRIED(connection->csdDetail);
    CARRIED(navigation->gpsReceiver);
    CARRIED(extra->callPrefix);
    CARRIED(zones->keyLoop);
    CARRIED(loopLimits->minLevel);
    CARRIED(loopLimits->maxLevel);
    CARRIED(loopLimits->reverse);
    CARRIED(header->workMode);
    CARRIED(connection->reserveReceiversFirst);
    CARRIED(connection->connectByGprs);
    CARRIED(loopFunctions->openAnalysis);
    CARRIED(loopFunctions->closeAnalysis);
    CARRIED(loopFunctions->openLight);
    CARRIED(loopFunctions->openSiren);
    CARRIED(loopFunctions->closeLight);
    CARRIED(loopFunctions->closeSiren);
    CARRIED(extra->useTamper);
    CARRIED(extra->armDelayOn);
    CARRIED(extra->armDelayLoop);
    CARRIED(extra->armDelayTime);
    CARRIED(extra->disarmDelayOn);
    CARRIED(extra->disarmDelayLoop);
    CARRIED(extra->disarmDelayTime);
    if (Cr99HasSmsOptions(h)) {
        CARRIED(smsFlags->checkbox);
        CARRIED(smsFlags->checkbox13);
        CARRIED(smsFlags->checkbox14);
        CARRIED(phoneOptions->alarmCallUntilAnswer);
        CARRIED(extra->techLoop);
    }
    if (Cr99HasServerBlock(h)) {
        CARRIED(servers->useDns);
        CARRIED(servers->perez);
        if (!Cr99FixedServerAttempts(h))
            CARRIED(servers->udPop);
        CARRIED(servers->obnov);
        CARRIED(servers->udPop3);
        CARRIED(servers->dnsName);
        CARRIED(connection->testWhenClosed);
        CARRIED(connection->testWhenOpen);
        CARRIED(connection->testInterval);
        // Four bits of "attempts - 1": the device's range is 1..16.
        QCOMPARE(got.connection->testAttempts, ((want.connection->testAttempts - 1) & 0x0F) + 1);
        CARRIED(connection->testReceiver);
        CARRIED(servers->useGprsMode2);
        CARRIED(extra->useVoiceMessages);
        CARRIED(connection->rapidResponseAttempts);
        CARRIED(smsFlags->cb_p_vx_sn);
    }
    if (Cr99HasObjectIdBit(h))
        CARRIED(smsFlags->objectIdInSms);
    if (Cr99HasOutputs(h)) {
        CARRIED(outputs->outputType);
        CARRIED(outputs->outputLoop);
    }
    if (Cr99HasCallMatrix(h)) {
        CARRIED(callMatrix->openClose);
        CARRIED(callMatrix->alarm);
    }
    if (Cr99HasConsoleBlock(h)) {
        if (Cr99VoicePasswordsAllowed(h))
            CARRIED(extra->useVoicePasswords);
        else
            QCOMPARE(got.extra->useVoicePasswords, u8(0));
        CARRIED(consoleSms->cb1);
        CARRIED(consoleSms->cb2to5);
        CARRIED(consoleSms->number);
        CARRIED(consoleSms->eventNumber);
        CARRIED(consoleSms->eventKind);
        CARRIED(consoleSms->withTime);
        CARRIED(consoleSms->withKeyName);
        CARRIED(consoleSms->withLoopName);
        CARRIED(consoleSms->objectName);
        CARRIED(consoleSms->loopName);
        CARRIED(zones->eepromKeyName);
        CARRIED(consoleSms->eventText);
        CARRIED(sntp->sntpVersion);
        CARRIED(sntp->cb3);
        CARRIED(sntp->cb4);
        CARRIED(sntp->useSntp);
        CARRIED(sntp->sntpIp);
        CARRIED(sntp->sntpPort);
        CARRIED(sntp->sntpDns);
    }
    if (Cr99HasSmsEvents(h)) {
        CARRIED(extra->silentArming);
        CARRIED(extraSms->smsService);
        CARRIED(extraSms->smsSimChange);
        CARRIED(smsFlags->cbDrugieZa);
        CARRIED(smsFlags->cbDrugieOt);
    }
    if (Cr99HasOutputFlags(h))
        CARRIED(outputs->outputFlagA);
    if (Cr99HasNavigation(h)) {
        CARRIED(navigation->cb13);
        CARRIED(navigation->relayFrequent);
        CARRIED(connection->serverProtocol);
        CARRIED(navigation->loopFrequent);
    }
    if (Cr99HasTimeZone(h)) {
        CARRIED(navigation->updateTimeFromGps);
        CARRIED(navigation->timeZone);
        CARRIED(extraSms->smsUserOut1);
        CARRIED(extraSms->smsUserOut2);
        CARRIED(outputs->keepOnPowerOff);
    }
    if (Cr99HasRadioMask(h))
        CARRIED(loopLimits->radio);
    if (Cr99HasCameras(h)) {
        CARRIED(cameras->useCamera);
        CARRIED(cameras->execCamera);
    }
    if (FwOnOrAfter(h, fw::k19_04_2012) && h.firmwareSubVersion != 0) {
        CARRIED(remoteProg->serverAddress);
        CARRIED(remoteProg->serverPort);
        CARRIED(remoteProg->phoneNumber);
        CARRIED(remoteProg->smsKeyWord);
        CARRIED(remoteProg->connectToServer);
        CARRIED(remoteProg->useProgIfNoProtect);
        CARRIED(loopFunctions->errorOpenClose);
        CARRIED(connection->asyncTransfer);
        CARRIED(connection->deleteUnsent);
        CARRIED(servers->serverPassword);
        CARRIED(timeTriggers->evTime);
        CARRIED(timeTriggers->evType);
        CARRIED(timeTriggers->evDay);
        CARRIED(outputs->outputZone);
    }
}

void WriteOrFail(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

} // namespace

class TstImageEEPROM : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();
    void takeField_data();
    void takeField();
    void roundTrip_data();
    void roundTrip();
    void goldenLandmarks_data();
    void goldenLandmarks();
    void goldenTextRegions();
    void smsEventsOf19122009();
    void oldDeviceReadsLoad_data();
    void oldDeviceReadsLoad();
    void everyOtherLengthRefused();
    void unreadableAndCancelled();
    void saveKeepsDeviceBytes();
    void writeFailureReported();
    void truncatedAndRandomImagesDecodeSafely();

private:
    QTemporaryDir m_dir;
    QString m_oldCwd;
    QString path(const QString& name) const { return m_dir.filePath(name); }
};

void TstImageEEPROM::initTestCase() {
    QVERIFY(m_dir.isValid());
    m_oldCwd = QDir::currentPath();
    // "GSM.cfg" is a relative path: keep it inside the temporary directory.
    QVERIFY(QDir::setCurrent(m_dir.path()));
}

void TstImageEEPROM::cleanupTestCase() {
    QDir::setCurrent(m_oldCwd);
    g_deviceSettings = nullptr;
}

void TstImageEEPROM::cleanup() {
    g_deviceSettings = nullptr;
}

void TstImageEEPROM::takeField_data() {
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("maxLen");
    QTest::addColumn<QByteArray>("field");
    QTest::newRow("up to and with ':'") << QByteArray("abc:def") << 0 << 10 << QByteArray("abc:");
    QTest::newRow("9 characters and ':'")
        << QByteArray("123456789:x") << 0 << 10 << QByteArray("123456789:");
    QTest::newRow("full width, no ':'")
        << QByteArray("1234567890:x") << 0 << 10 << QByteArray("1234567890");
    QTest::newRow("from start") << QByteArray("ab:cd:") << 3 << 5 << QByteArray("cd:");
    QTest::newRow("stops at end") << QByteArray("abc") << 1 << 10 << QByteArray("bc");
    QTest::newRow("empty field") << QByteArray(":x") << 0 << 5 << QByteArray(":");
    QTest::newRow("maxLen 0") << QByteArray("abc:") << 0 << 0 << QByteArray();
    QTest::newRow("negative maxLen") << QByteArray("abc:") << 0 << -3 << QByteArray();
    QTest::newRow("start past end") << QByteArray("abc:") << 9 << 4 << QByteArray();
    QTest::newRow("negative start") << QByteArray("abc:") << -1 << 4 << QByteArray();
}

void TstImageEEPROM::takeField() {
    QFETCH(QByteArray, source);
    QFETCH(int, start);
    QFETCH(int, maxLen);
    QFETCH(QByteArray, field);
    QCOMPARE(ImageEEPROM::TakeField(source, start, maxLen), field);
}

void TstImageEEPROM::roundTrip_data() {
    QTest::addColumn<QString>("version");
    QTest::addColumn<bool>("rich");
    const QStringList versions = {QStringLiteral("21.09.2009/1"), QStringLiteral("19.12.2009/1"),
                                  QStringLiteral("16.08.2010/1"), QStringLiteral("03.12.2010/33"),
                                  QStringLiteral("19.04.2012/45")};
    for (const QString& v : versions) {
        QTest::newRow(qPrintable(v + QStringLiteral(" defaults"))) << v << false;
        QTest::newRow(qPrintable(v + QStringLiteral(" rich"))) << v << true;
    }
}

// settings -> file -> settings, decoded over an object that differs in every
// carried field, so each field must really come from the file.
void TstImageEEPROM::roundTrip() {
    QFETCH(QString, version);
    QFETCH(bool, rich);
    QFile::remove(QStringLiteral("GSM.cfg"));
    DeviceSettings source = rich ? Rich(version) : Defaults(version);
    DeviceSettings target = rich ? Defaults(version) : Rich(version);
    *target.header = *source.header;

    ScriptedPrompt p;
    ImageEEPROM image;
    const QString file = path(QStringLiteral("round.image"));
    g_deviceSettings = &source;
    p.files.enqueue(file);
    QVERIFY(image.CreateImageEEPROM());
    QCOMPARE(QFileInfo(file).size(), qint64(image::kSize));

    g_deviceSettings = &target;
    QSignalSpy filled(&image, &ImageEEPROM::SigFillFields);
    p.files.enqueue(file);
    QVERIFY(image.LoadImageEEPROM());
    QCOMPARE(filled.count(), 1);
    QCOMPARE(p.count(kLoaded), 1);
    QCOMPARE(p.count(kNotLoaded), 0);

    CompareCarried(target, source);
    // Every access point was known: the operator list did not grow.
    QCOMPARE(target.gsmOperators.size(), Operators().size());
    QVERIFY(!QFileInfo::exists(QStringLiteral("GSM.cfg")));
    // A made image holds no device state: erased values, clamped.
    QCOMPARE(target.state->newestJournal, -1);
    QCOMPARE(target.state->stateByte, -1);
}

void TstImageEEPROM::goldenLandmarks_data() {
    QTest::addColumn<QString>("version");
    QTest::newRow("21.09.2009") << QStringLiteral("21.09.2009/1");
    QTest::newRow("19.12.2009") << QStringLiteral("19.12.2009/1");
    QTest::newRow("16.08.2010") << QStringLiteral("16.08.2010/1");
    QTest::newRow("03.12.2010/33") << QStringLiteral("03.12.2010/33");
    QTest::newRow("19.04.2012/45") << QStringLiteral("19.04.2012/45");
}

void TstImageEEPROM::goldenLandmarks() {
    QFETCH(QString, version);
    for (bool rich : {false, true}) {
        DeviceSettings s = rich ? Rich(version) : Defaults(version);
        ScriptedPrompt p;
        g_deviceSettings = &s;
        const QString file = path(QStringLiteral("golden.image"));
        p.files.enqueue(file);
        QVERIFY(ImageEEPROM().CreateImageEEPROM());
        const QByteArray img = ReadAll(file);
        QCOMPARE(img.size(), 3840);
        QCOMPARE(uchar(img.at(0)), uchar(0x5A));
        QCOMPARE(uchar(img.at(688)), uchar(0x00));
        QCOMPARE(uchar(img.at(963)), uchar(0x00));
        QCOMPARE(uchar(img.at(967)), uchar(0x00));
        const QList<QPair<int, int>> fills = {{91, 127},   {171, 171},   {222, 256},  {384, 464},
                                              {683, 687},  {689, 758},   {763, 767},  {888, 959},
                                              {968, 1007}, {1015, 1023}, {1623, 3583}};
        for (const auto& f : fills)
            for (int i = f.first; i <= f.second; ++i)
                QVERIFY2(uchar(img.at(i)) == 0xFF, qPrintable(QString::number(i)));
        QCOMPARE(img.mid(3584), BuildPackCRFF(s));
        QCOMPARE(img.mid(128, 43), BuildPackCRQQ(s).left(43));
        QCOMPARE(img.mid(172, 50), BuildPackCR77(s).left(50));
        QCOMPARE(img.mid(512, 83), BuildPackCR88(s).left(83));
        const QByteArray keys = BuildKeysPack(s);
        QCOMPARE(img.mid(768, 120), keys.mid(1, 120));
        QCOMPARE(img.mid(960, 3), keys.mid(121, 3));
        QCOMPARE(img.mid(964, 3), keys.mid(124, 3));
        const QByteArray s99 = BuildPackCR99(s);
        const int body = Cr99LayoutFor(*s.header).bodySize;
        QCOMPARE(img.mid(595, qMin(body, 88)), s99.left(qMin(body, 88)));
        if (body < 96) {
            // Before 17.02.2010 there are no output bytes to keep.
            QCOMPARE(img.mid(83, 8), QByteArray(8, '\xFF'));
        } else {
            QCOMPARE(img.mid(83, 8), s99.mid(88, 8));
        }
        if (body >= 705)
            QCOMPARE(img.mid(1024, 599), s99.mid(106, 599));
        else
            QCOMPARE(img.mid(1024, 599), QByteArray(599, '\xFF'));
        if (FwOnOrAfter(*s.header, fw::k16_08_2010)) {
            QCOMPARE(img.mid(1008, 7), s99.mid(705, 7));
            QCOMPARE(img.mid(759, 4), s99.mid(712, 4));
        }
    }
}

void TstImageEEPROM::goldenTextRegions() {
    DeviceSettings s = Defaults(QStringLiteral("16.08.2010/1"));
    const QByteArray img = ImageEEPROM::BuildImage(s);
    QCOMPARE(img.mid(1, 20), QByteArray("000.000.000.00000000"));
    const QByteArray sim1("mts:mts:internet.mts.ru:0:000173917391");
    QCOMPARE(img.mid(21, sim1.size()), sim1);
    QCOMPARE(img.mid(21 + sim1.size(), 83 - 21 - sim1.size()),
             QByteArray(83 - 21 - sim1.size(), '\xFF'));
    const QByteArray sim2 =
        QByteArray("mts:mts:internet.mts.ru:-:-:-:") + '\0' + QByteArray(":000.000.000.000000000");
    QCOMPARE(img.mid(257, sim2.size()), sim2);
    // Full-width USSD codes and "+7" keep no ':', so the decoder finds the
    // prefix where it looks for it.
    const QByteArray balance = QByteArray("*100#*100#-:1:+7+7:") + '\0' + ':' + '0' + '\0';
    QCOMPARE(img.mid(465, balance.size()), balance);
    QCOMPARE(uchar(img.at(465 + balance.size())), uchar(0xFF));

    // Full-width login, access point and distance filter keep the object
    // number and the passwords at their places.
    DeviceSettings r = Rich(QStringLiteral("16.08.2010/1"));
    const QByteArray rich = ImageEEPROM::BuildImage(r);
    const QByteArray richSim1("abcdefghijbeeline:a1234567890123456789012341234432111112222");
    QCOMPARE(rich.mid(21, richSim1.size()), richSim1);
}

void TstImageEEPROM::smsEventsOf19122009() {
    DeviceSettings s = Defaults(QStringLiteral("19.12.2009/1"));
    s.extraSms->smsService = {1, 0, 0, 0, 1};
    s.extraSms->smsSimChange = {0, 1, 0, 0, 0};
    s.smsFlags->cbDrugieZa = {0, 0, 1, 0, 0};
    s.smsFlags->cbDrugieOt = {0, 0, 0, 1, 0};
    const QByteArray img = ImageEEPROM::BuildImage(s);
    QCOMPARE(img.mid(1008, 4), QByteArray("\x11\x02\x04\x08", 4));
    QCOMPARE(img.mid(1012, 3), QByteArray(3, '\xFF'));
    QCOMPARE(img.mid(83, 8), QByteArray(8, '\xFF'));
}

void TstImageEEPROM::oldDeviceReadsLoad_data() {
    QTest::addColumn<int>("length");
    QTest::newRow("1023") << 1023;
    QTest::newRow("3590") << 3590;
}

// A memory read saved from an older device loads back; the regions past its
// end keep their values.
void TstImageEEPROM::oldDeviceReadsLoad() {
    QFETCH(int, length);
    const QString version = QStringLiteral("19.04.2012/45");
    const DeviceSettings source = Rich(version);
    DeviceSettings target = Defaults(version);
    *target.header = *source.header;
    const DeviceSettings before = target;
    const QString file = path(QStringLiteral("old.image"));
    WriteOrFail(file, ImageEEPROM::BuildImage(source).left(length));

    ScriptedPrompt p;
    g_deviceSettings = &target;
    p.files.enqueue(file);
    QVERIFY(ImageEEPROM().LoadImageEEPROM());
    QCOMPARE(p.count(kLoaded), 1);
    QCOMPARE(target.servers->serverIp, source.servers->serverIp);
    QCOMPARE(target.phones->number, source.phones->number);
    QCOMPARE(target.outputs->outputFlagA, source.outputs->outputFlagA); // byte 1012
    if (length < 1623) {
        QCOMPARE(target.consoleSms->objectName, before.consoleSms->objectName);
        QCOMPARE(target.sntp->sntpDns, before.sntp->sntpDns);
    } else {
        QCOMPARE(target.consoleSms->objectName, source.consoleSms->objectName);
    }
    QCOMPARE(target.remoteProg->serverAddress, before.remoteProg->serverAddress);
    QCOMPARE(target.timeTriggers->evType, before.timeTriggers->evType);
}

// Every other length of a valid image, and a full-length one not marked as
// programmed, is refused with the message and leaves the settings as they were.
void TstImageEEPROM::everyOtherLengthRefused() {
    const QString version = QStringLiteral("19.04.2012/45");
    const QByteArray full = ImageEEPROM::BuildImage(Rich(version));
    DeviceSettings target = Defaults(version);
    const QByteArray fingerprint = ImageEEPROM::BuildImage(target);
    const QString file = path(QStringLiteral("cut.image"));
    ScriptedPrompt p;
    ImageEEPROM image;
    QSignalSpy filled(&image, &ImageEEPROM::SigFillFields);
    g_deviceSettings = &target;
    int refused = 0;
    for (int n = 0; n <= full.size() + 1; ++n) {
        if (n == 1023 || n == 3590 || n == 3840)
            continue;
        WriteOrFail(file, n <= full.size() ? full.left(n) : full + '\xFF');
        p.files.enqueue(file);
        QVERIFY2(!image.LoadImageEEPROM(), qPrintable(QString::number(n)));
        ++refused;
    }
    QByteArray unmarked = full;
    unmarked[0] = 'z';
    WriteOrFail(file, unmarked);
    p.files.enqueue(file);
    QVERIFY(!image.LoadImageEEPROM());
    ++refused;

    QCOMPARE(p.count(kNotLoaded), refused);
    QCOMPARE(p.count(kLoaded), 0);
    QCOMPARE(filled.count(), 0);
    QCOMPARE(ImageEEPROM::BuildImage(target), fingerprint);
    QCOMPARE(target.state->newestJournal, -1);
}

void TstImageEEPROM::unreadableAndCancelled() {
    DeviceSettings target = Defaults(QStringLiteral("16.08.2010/1"));
    g_deviceSettings = &target;
    ScriptedPrompt p;
    ImageEEPROM image;
    // Cancelled dialogs: nothing asked beyond the dialog, nothing written.
    QVERIFY(!image.LoadImageEEPROM());
    QVERIFY(!image.CreateImageEEPROM());
    QVERIFY(!image.SaveImageEEPROM(QByteArray(3840, 'Z')));
    QCOMPARE(p.asked.size(), 3);
    QCOMPARE(p.asked.at(0).title, QStringLiteral("Загрузка образа EEPROM"));
    QCOMPARE(p.asked.at(1).title, QStringLiteral("Формирование образа EEPROM"));
    QCOMPARE(p.asked.at(2).title, QStringLiteral("Сохранение образа EEPROM"));

    p.files.enqueue(path(QStringLiteral("missing.image")));
    QVERIFY(!image.LoadImageEEPROM());
    QCOMPARE(p.count(kNotLoaded), 1);
}

void TstImageEEPROM::saveKeepsDeviceBytes() {
    QByteArray read(3590, '\0');
    for (int i = 0; i < read.size(); ++i)
        read[i] = char(i * 13);
    read[0] = 'X'; // not checked: the bytes are the device's
    ScriptedPrompt p;
    const QString file = path(QStringLiteral("read.image"));
    p.files.enqueue(file);
    QVERIFY(ImageEEPROM().SaveImageEEPROM(read));
    QCOMPARE(ReadAll(file), read);
    QCOMPARE(p.count(QStringLiteral("Не удалось")), 0);
}

void TstImageEEPROM::writeFailureReported() {
    DeviceSettings s = Defaults(QStringLiteral("16.08.2010/1"));
    g_deviceSettings = &s;
    ScriptedPrompt p;
    ImageEEPROM image;
    const QString bad = path(QStringLiteral("no-such-folder/x.image"));
    p.files.enqueue(bad);
    QVERIFY(!image.CreateImageEEPROM());
    p.files.enqueue(bad);
    QVERIFY(!image.SaveImageEEPROM(QByteArray(1023, 'Z')));
    QCOMPARE(p.count(QStringLiteral("Не удалось записать файл образа EEPROM!")), 2);
    QVERIFY(!QFileInfo::exists(bad));
}

// Under the sanitizer build: no prefix of a valid image and no random bytes
// make the decoder read outside the image, and what lies past the end of a
// prefix keeps its value.
void TstImageEEPROM::truncatedAndRandomImagesDecodeSafely() {
    const QString version = QStringLiteral("19.04.2012/45");
    const DeviceSettings source = Rich(version);
    const QByteArray full = ImageEEPROM::BuildImage(source);
    DeviceSettings start = Defaults(version);
    *start.header = *source.header;
    start.state->newestJournal = 7;
    start.state->journalEvent.fill(0x42);
    for (int n = 0; n <= full.size(); ++n) {
        DeviceSettings t = start;
        QByteArray img = full.left(n);
        QVERIFY(ParseImage(img, &t, QString()));
        QVERIFY(img.isEmpty());
        if (n < 1792) {
            QCOMPARE(t.state->newestJournal, 7);
            QCOMPARE(t.state->journalEvent, start.state->journalEvent);
        }
        if (n < 3840)
            QCOMPARE(t.remoteProg->serverAddress, start.remoteProg->serverAddress);
        if (n < 16)
            QCOMPARE(t.servers->serverIp, start.servers->serverIp);
        if (QTest::currentTestFailed())
            return;
    }

    QRandomGenerator rng(20261207);
    const QStringList versions = {QStringLiteral("21.09.2009/1"), QStringLiteral("19.12.2009/1"),
                                  QStringLiteral("01.05.2010/1"), QStringLiteral("03.12.2010/33"),
                                  version};
    for (int round = 0; round < 300; ++round) {
        DeviceSettings t = Defaults(versions.at(round % versions.size()));
        QByteArray img(rng.bounded(4200), '\0');
        for (char& c : img)
            c = char(rng.bounded(256));
        // Sprinkle separators so the field walks take every branch.
        for (int i = 0; i < img.size() / 8; ++i)
            img[rng.bounded(img.size())] = ':';
        QVERIFY(ParseImage(img, &t, QString()));
        QVERIFY(t.state->newestJournal >= -1 && t.state->newestJournal < kJournalRecords);
        QVERIFY(t.state->stateByte == -1 || (t.state->stateByte >= 1 && t.state->stateByte <= 8));
    }
}

QTEST_GUILESS_MAIN(TstImageEEPROM)
#include "tst_imageeeprom.moc"
