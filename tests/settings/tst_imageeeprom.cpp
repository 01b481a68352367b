#include "settings/DeviceSettings.h"
#include "settings/Firmware.h"
#include "settings/ImageDecoder.h"
#include "settings/ImageEEPROM.h"
#include "settings/ImageLayout.h"
#include "settings/LayoutCR99.h"
#include "settings/Sections.h"
#include "support/ByteCompare.h"
#include "support/Files.h"
#include "support/ScriptedPrompt.h"
#include "support/SettingsFixtures.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QtTest>

#include <optional>

using namespace fixtures;

namespace {

const QString kLoaded = QStringLiteral("Образ EEPROM успешно загружен!");
const QString kNotLoaded = QStringLiteral("Не удалось загрузить образ EEPROM!");
const QString kNotWritten = QStringLiteral("Не удалось записать файл образа EEPROM!");

const QStringList kVersions = {QStringLiteral("21.09.2009/1"), QStringLiteral("19.12.2009/1"),
                               QStringLiteral("16.08.2010/1"), QStringLiteral("03.12.2010/33"),
                               QStringLiteral("19.04.2012/45")};

// Answers every file dialog with `file` and notes the window each message box
// was given.
class ParentRecorder final : public Prompt {
public:
    QString file;
    QList<QWidget*> parents;
    ParentRecorder() { setPrompt(this); }
    ~ParentRecorder() override { setPrompt(nullptr); }
    int message(Kind, QWidget* p, const QString&, const QString&, int, int) override {
        parents << p;
        return Ok;
    }
    QString openFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return file;
    }
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return file;
    }
    QString existingDirectory(QWidget*, const QString&, const QString&) override { return {}; }
    QString item(QWidget*, const QString&, const QString&, const QStringList&, int, bool,
                 bool*) override {
        return {};
    }
    QString text(QWidget*, const QString&, const QString&, const QString&, bool*) override {
        return {};
    }
};

// Defaults and the rich settings at each release whose memory layout differs.
void VersionRows() {
    QTest::addColumn<QString>("version");
    QTest::addColumn<bool>("rich");
    for (const QString& v : kVersions) {
        QTest::newRow(qPrintable(v + QStringLiteral(" defaults"))) << v << false;
        QTest::newRow(qPrintable(v + QStringLiteral(" rich"))) << v << true;
    }
}

} // namespace

class TstImageEEPROM : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup() { g_deviceSettings = nullptr; }
    void takeField();
    void roundTrip_data() { VersionRows(); }
    void roundTrip();
    void goldenLandmarks_data() { VersionRows(); }
    void goldenLandmarks();
    void goldenTextRegions();
    void loadAcceptsDeviceReadLengths();
    void dialogsAndFailures();
    void truncatedAndRandomImagesDecodeSafely();

private:
    std::optional<TempWorkDir> m_dir;
    QString path(const QString& name) const { return m_dir->filePath(name); }
};

void TstImageEEPROM::initTestCase() {
    // "GSM.cfg" is a relative path: keep it inside the temporary directory.
    m_dir.emplace();
    QVERIFY(m_dir->isValid());
}

void TstImageEEPROM::cleanupTestCase() {
    m_dir.reset();
}

// Up to and including the first ':', at most maxLen bytes, within the source.
void TstImageEEPROM::takeField() {
    struct Case {
        const char* source;
        int start, maxLen;
        const char* field;
    };
    for (const Case& c :
         {Case{"123456789:x", 0, 10, "123456789:"}, Case{"1234567890:x", 0, 10, "1234567890"},
          Case{"ab:cd:", 3, 5, "cd:"}, Case{"abc", 1, 10, "bc"}, Case{":x", 0, 5, ":"},
          Case{"abc:", 0, 0, ""}, Case{"abc:", 9, 4, ""}, Case{"abc:", -1, 4, ""}})
        QVERIFY2(ImageEEPROM::TakeField(c.source, c.start, c.maxLen) == c.field, c.source);
}

// settings -> file -> settings, decoded over an object that differs in every
// field. Each field must either come back with the source's value or keep its
// own, and the image made from the decoded settings must be the very image
// that was loaded: no field the image carries was lost or altered.
void TstImageEEPROM::roundTrip() {
    QFETCH(QString, version);
    QFETCH(bool, rich);
    QFile::remove(QStringLiteral("GSM.cfg"));
    DeviceSettings source = rich ? Rich(version) : Defaults(version);
    DeviceSettings target = rich ? Defaults(version) : Rich(version);
    *target.header = *source.header;
    const QMap<QString, QString> kept = Dump(target);

    ScriptedPrompt p;
    ImageEEPROM image;
    QSignalSpy filled(&image, &ImageEEPROM::SigFillFields);
    const QString file = path(QStringLiteral("round.image"));
    g_deviceSettings = &source;
    p.files.enqueue(file);
    QVERIFY(image.CreateImageEEPROM());
    QCOMPARE(QFileInfo(file).size(), qint64(image::kSize));
    g_deviceSettings = &target;
    p.files.enqueue(file);
    QVERIFY(image.LoadImageEEPROM());
    QCOMPARE(filled.count(), 1);
    QCOMPARE(p.count(kLoaded), 1);

    // Four bits hold "attempts - 1": the device's range is 1..16 (the
    // model's default of 0 comes back as 16).
    DeviceSettings expected = source;
    expected.connection->testAttempts = ((source.connection->testAttempts - 1) & 0x0F) + 1;
    const QMap<QString, QString> got = Dump(target);
    const QMap<QString, QString> want = Dump(expected);
    QStringList wrong;
    for (auto it = got.cbegin(); it != got.cend(); ++it)
        if (!it.key().startsWith(QLatin1String("state->")) && it.value() != want.value(it.key()) &&
            it.value() != kept.value(it.key()))
            wrong << it.key() + QLatin1String(" = ") + it.value();
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QLatin1String("; "))));
    // The key table is not decoded, nor is the CRFF region before 19.04.2012.
    *target.keys = *source.keys;
    const bool crff =
        FwOnOrAfter(*source.header, fw::k19_04_2012) && source.header->firmwareSubVersion;
    const int decoded = crff ? image::kSize : image::kCrff;
    COMPARE_BYTES(ImageEEPROM::BuildImage(target).left(decoded),
                  ImageEEPROM::BuildImage(expected).left(decoded));

    // Every access point was known: no operator was added.
    QCOMPARE(target.gsmOperators.size(), Operators().size());
    QVERIFY(!QFileInfo::exists(QStringLiteral("GSM.cfg")));
    // A made image holds no device state: erased values, clamped.
    QCOMPARE(target.state->newestJournal, -1);
    QCOMPARE(target.state->stateByte, -1);
}

void TstImageEEPROM::goldenLandmarks() {
    QFETCH(QString, version);
    QFETCH(bool, rich);
    const DeviceSettings s = rich ? Rich(version) : Defaults(version);
    const QByteArray img = ImageEEPROM::BuildImage(s);
    QCOMPARE(img.size(), 3840);
    QCOMPARE(img.at(0), '\x5A');
    QCOMPARE(img.at(688), '\0');
    QCOMPARE(img.at(963), '\0');
    QCOMPARE(img.at(967), '\0');
    const QList<QPair<int, int>> fills = {{91, 127},   {171, 171},   {222, 256},  {384, 464},
                                          {683, 687},  {689, 758},   {763, 767},  {888, 959},
                                          {968, 1007}, {1015, 1023}, {1623, 3583}};
    for (const auto& f : fills)
        COMPARE_BYTES(img.mid(f.first, f.second - f.first + 1), bytes::ff(f.second - f.first + 1));
    COMPARE_BYTES(img.mid(3584), BuildPackCRFF(s));
    COMPARE_BYTES(img.mid(128, 43), BuildPackCRQQ(s).left(43));
    COMPARE_BYTES(img.mid(172, 50), BuildPackCR77(s).left(50));
    COMPARE_BYTES(img.mid(512, 83), BuildPackCR88(s).left(83));
    const QByteArray keys = BuildKeysPack(s);
    COMPARE_BYTES(img.mid(768, 120), keys.mid(1, 120));
    COMPARE_BYTES(img.mid(960, 3), keys.mid(121, 3));
    COMPARE_BYTES(img.mid(964, 3), keys.mid(124, 3));

    // CR99: the body where the map puts it, erased where this firmware's
    // section has nothing; each tail block at its one place in the image,
    // wherever it sits in the section (19.12.2009: SMS events at 88..91).
    const QByteArray s99 = BuildPackCR99(s);
    const Cr99Layout l = Cr99LayoutFor(*s.header);
    auto body = [&](int from, int size) {
        QByteArray b = bytes::ff(size);
        for (int i = 0; i < size && from + i < l.bodySize; ++i)
            b[i] = s99.at(from + i);
        return b;
    };
    COMPARE_BYTES(img.mid(595, 88), body(0, 88));
    COMPARE_BYTES(img.mid(83, 8), body(88, 8));
    COMPARE_BYTES(img.mid(374, 10), body(96, 10));
    COMPARE_BYTES(img.mid(1024, 599), body(106, 599));
    auto tail = [&](int at, int size) { return at < 0 ? bytes::ff(size) : s99.mid(at, size); };
    COMPARE_BYTES(img.mid(1008, 4), tail(l.smsEvents, 4));
    COMPARE_BYTES(img.mid(1012, 1), tail(l.outputFlags, 1));
    COMPARE_BYTES(img.mid(1013, 2), tail(l.navigation, 2));
    COMPARE_BYTES(img.mid(759, 4), tail(l.timeZone, 4));
    if (FwEquals(*s.header, fw::k19_12_2009))
        QCOMPARE(l.smsEvents, 88);
}

void TstImageEEPROM::goldenTextRegions() {
    const QByteArray img = ImageEEPROM::BuildImage(Defaults(QStringLiteral("16.08.2010/1")));
    QCOMPARE(img.mid(1, 20), QByteArray("000.000.000.00000000"));
    const QByteArray sim1("mts:mts:internet.mts.ru:0:000173917391");
    COMPARE_BYTES(img.mid(21, 62), sim1 + bytes::ff(62 - sim1.size()));
    const QByteArray sim2 =
        QByteArray("mts:mts:internet.mts.ru:-:-:-:") + '\0' + QByteArray(":000.000.000.000000000");
    COMPARE_BYTES(img.mid(257, sim2.size()), sim2);
    // Full-width USSD codes and "+7" keep no ':', so the decoder finds the
    // prefix where it looks for it.
    const QByteArray balance = QByteArray("*100#*100#-:1:+7+7:") + '\0' + ':' + '0' + '\0';
    COMPARE_BYTES(img.mid(465, balance.size() + 1), balance + bytes::ff(1));

    // Full-width login, access point and distance filter keep the object
    // number and the passwords at their places.
    const QByteArray rich = ImageEEPROM::BuildImage(Rich(QStringLiteral("16.08.2010/1")));
    const QByteArray richSim1("abcdefghijbeeline:a1234567890123456789012341234432111112222");
    COMPARE_BYTES(rich.mid(21, richSim1.size()), richSim1);
}

// A memory read of any firmware (1023, 3590 or 3840 bytes) marked 'Z' loads,
// and what lies past its end keeps its value; every other length, and an
// unmarked image, is refused with the message and changes nothing.
void TstImageEEPROM::loadAcceptsDeviceReadLengths() {
    const QString version = QStringLiteral("19.04.2012/45");
    const DeviceSettings source = Rich(version);
    const QByteArray full = ImageEEPROM::BuildImage(source);
    const QString file = path(QStringLiteral("cut.image"));
    ScriptedPrompt p;
    ImageEEPROM image;
    QSignalSpy filled(&image, &ImageEEPROM::SigFillFields);

    for (int n : {1023, 3590}) {
        DeviceSettings target = Defaults(version);
        *target.header = *source.header;
        const DeviceSettings before = target;
        g_deviceSettings = &target;
        QVERIFY(WriteAll(file, full.left(n)));
        p.files.enqueue(file);
        QVERIFY(image.LoadImageEEPROM());
        QCOMPARE(target.phones->number, source.phones->number);
        QCOMPARE(target.outputs->outputFlagA, source.outputs->outputFlagA); // byte 1012
        QCOMPARE(target.consoleSms->objectName,
                 (n < 1623 ? before : source).consoleSms->objectName);
        QCOMPARE(target.remoteProg->serverAddress, before.remoteProg->serverAddress);
    }
    QCOMPARE(p.count(kLoaded), 2);

    DeviceSettings target = Defaults(version);
    const QMap<QString, QString> before = Dump(target);
    g_deviceSettings = &target;
    int refused = 0;
    for (int n = 0; n <= full.size() + 1; ++n) {
        if (n == 1023 || n == 3590)
            continue;
        QByteArray bytes = n <= full.size() ? full.left(n) : full + '\xFF';
        if (n == full.size())
            bytes[0] = 'z'; // the whole image, not marked as programmed
        QVERIFY(WriteAll(file, bytes));
        p.files.enqueue(file);
        QVERIFY2(!image.LoadImageEEPROM(), qPrintable(QString::number(n)));
        ++refused;
    }
    QCOMPARE(p.count(kNotLoaded), refused);
    QCOMPARE(filled.count(), 2);
    QCOMPARE(Dump(target), before);
}

void TstImageEEPROM::dialogsAndFailures() {
    DeviceSettings s = Defaults(QStringLiteral("16.08.2010/1"));
    g_deviceSettings = &s;
    ImageEEPROM image;
    {
        ScriptedPrompt p;
        // Cancelled dialogs: nothing asked beyond the dialog, nothing written.
        QVERIFY(!image.LoadImageEEPROM());
        QVERIFY(!image.CreateImageEEPROM());
        QVERIFY(!image.SaveImageEEPROM(QByteArray(3840, 'Z')));
        QCOMPARE(p.asked.size(), 3);
        QCOMPARE(p.asked.at(0).title, QStringLiteral("Загрузка образа EEPROM"));
        QCOMPARE(p.asked.at(1).title, QStringLiteral("Формирование образа EEPROM"));
        QCOMPARE(p.asked.at(2).title, QStringLiteral("Сохранение образа EEPROM"));

        // Written as the device returned it, unchecked, of the read's length.
        QByteArray read(3590, '\0');
        for (int i = 0; i < read.size(); ++i)
            read[i] = char(i * 13);
        const QString file = path(QStringLiteral("read.image"));
        p.files.enqueue(file);
        QVERIFY(image.SaveImageEEPROM(read));
        QCOMPARE(ReadAll(file), read);

        // A file that cannot be written is reported, not reported as done;
        // one that cannot be read is refused.
        const QString bad = path(QStringLiteral("no-such-folder/x.image"));
        p.files << bad << bad << bad;
        QVERIFY(!image.CreateImageEEPROM());
        QVERIFY(!image.SaveImageEEPROM(read));
        QVERIFY(!image.LoadImageEEPROM());
        QCOMPARE(p.count(kNotWritten), 2);
        QCOMPARE(p.count(kNotLoaded), 1);
        QVERIFY(!QFileInfo::exists(bad));
    }
    // The message boxes belong to the window the owner set.
    ParentRecorder r;
    r.file = path(QStringLiteral("no-such-folder/x.image"));
    QWidget* const window = reinterpret_cast<QWidget*>(&s); // only compared, never used
    image.setParentWidget(window);
    QVERIFY(!image.LoadImageEEPROM());
    QVERIFY(!image.CreateImageEEPROM());
    QVERIFY(!image.SaveImageEEPROM(QByteArray(1023, 'Z')));
    QCOMPARE(r.parents, (QList<QWidget*>{window, window, window}));
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
    for (int round = 0; round < 300; ++round) {
        DeviceSettings t = Defaults(kVersions.at(round % kVersions.size()));
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
