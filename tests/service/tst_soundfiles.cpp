// WAV check, upload packets, sound image, default playlist and playlist files.

#include "SoundTestFiles.h"
#include "app/DeviceFixture.h"

#include "service/SoundFiles.h"
#include "service/Sounds.h"
#include "settings/TextCodec.h"

#include <QScopeGuard>
#include <QTest>

Q_DECLARE_METATYPE(WavSpec)

namespace {
quint32 Entry(const QByteArray& image, int i) {
    return qFromLittleEndian<quint32>(image.constData() + 4 * i);
}
bool AllErased(const QByteArray& bytes) {
    return bytes.count(char(0xFF)) == bytes.size();
}
} // namespace

class TestSoundFiles : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(dir.isValid()); }
    void wavCheck_data();
    void wavCheck();
    void packets_data();
    void packets();
    void changedFiles();
    void image();
    void defaultPlaylist_data();
    void defaultPlaylist();
    void playlistRoundTrip();
    void playlistCounts_data();
    void playlistCounts();
    void unwritablePlaylist();

private:
    QString file(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        return WriteAll(path, bytes) ? path : QString();
    }
    TempWorkDir dir;
};

void TestSoundFiles::wavCheck_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("size");
    auto spec = [](auto edit) {
        WavSpec w;
        edit(w);
        return Wav(w);
    };
    auto patched = [](QByteArray b, int at, quint32 v) {
        qToLittleEndian(v, b.data() + at);
        return b;
    };
    QTest::newRow("8000 Hz, 8 bits, mono") << Wav(1000) << 1000;
    QTest::newRow("no data") << Wav(0) << 0;
    QTest::newRow("data chunk named otherwise") << Wav(10).replace(36, 4, "LIST") << 10;
    QTest::newRow("high byte of the channel count") << Wav(10).replace(23, 1, "\x02") << 10;
    QTest::newRow("11025 Hz") << spec([](WavSpec& w) { w.rate = 11025; }) << -1;
    QTest::newRow("16 bits") << spec([](WavSpec& w) { w.bits = 16; }) << -1;
    QTest::newRow("stereo") << spec([](WavSpec& w) { w.channels = 2; }) << -1;
    QTest::newRow("not PCM") << spec([](WavSpec& w) { w.format = 3; }) << -1;
    QTest::newRow("not RIFF") << Wav(10).replace(0, 4, "RIFX") << -1;
    QTest::newRow("RIFF size one short") << patched(Wav(10), 4, 45) << -1;
    QTest::newRow("43 bytes") << Wav(0).left(43) << -1;
    // The header promises more than the file holds.
    QTest::newRow("data cut short") << patched(Wav(1000).left(1043), 4, 1035) << -1;
    QTest::newRow("negative data size") << patched(Wav(10), 40, quint32(-5)) << -1;
}

void TestSoundFiles::wavCheck() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, size);
    QCOMPARE(IsWavFile(file(QStringLiteral("a.wav"), bytes)), size);
    QCOMPARE(IsWavFile(QString()), -1);
    QCOMPARE(IsWavFile(dir.filePath(QStringLiteral("missing.wav"))), -1);
}

void TestSoundFiles::packets_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<QList<int>>("lengths");
    QTest::newRow("10") << 10 << QList<int>{16, 0};
    QTest::newRow("250") << 250 << QList<int>{256, 0};
    QTest::newRow("251") << 251 << QList<int>{256, 1};
    QTest::newRow("506") << 506 << QList<int>{256, 256};
    QTest::newRow("507") << 507 << QList<int>{256, 256, 1};
}

void TestSoundFiles::packets() {
    QFETCH(int, size);
    QFETCH(QList<int>, lengths);
    const QList<QByteArray> p = CutSoundPackets(159, size, SoundData(size));
    QList<int> got;
    for (const QByteArray& b : p)
        got << int(b.size());
    QCOMPARE(got, lengths);
    QCOMPARE(p.at(0).left(2), QByteArray("Y\xA0")); // message 160
    QCOMPARE(qFromLittleEndian<quint32>(p.at(0).constData() + 2), quint32(size));
    QCOMPARE(p.join().mid(kSoundHeaderSize), SoundData(size));
}

void TestSoundFiles::changedFiles() {
    const QString good = file(QStringLiteral("good.wav"), Wav(300));
    const QString shrunk = file(QStringLiteral("shrunk.wav"), Wav(300).left(200));
    int bad = -1;
    const SoundPacketList all = BuildSoundPackets({{good, 300}, {good, 300}}, &bad);
    QCOMPARE(all.size(), 2);
    QCOMPARE(all.at(1).at(0).at(1), '\x02');
    QCOMPARE(bad, -1);
    QVERIFY(BuildSoundPackets({{good, 300}, {shrunk, 300}}, &bad).isEmpty());
    QCOMPARE(bad, 1);
    QVERIFY(BuildSoundPackets({{dir.filePath(QStringLiteral("gone.wav")), 300}}, &bad).isEmpty());
    QCOMPARE(bad, 0);
}

void TestSoundFiles::image() {
    const QString a = file(QStringLiteral("a.wav"), Wav(1000));
    const QString b = file(QStringLiteral("b.wav"), Wav(2000));
    QByteArray img = BuildSoundImage({{a, 1000}, {b, 2000}});
    QCOMPARE(img.size(), kSoundImageSize);
    QCOMPARE(Entry(img, 0), 5095u);
    QCOMPARE(Entry(img, 1), 7095u);
    QVERIFY(AllErased(img.mid(8, 4096 - 8)));
    QCOMPARE(img.mid(4096, 1000), SoundData(1000));
    QCOMPARE(img.mid(5096, 2000), SoundData(2000));
    QVERIFY(AllErased(img.mid(7096)));

    // A row without a usable file keeps its place with ten erased bytes.
    img = BuildSoundImage({{QString(), -1}, {a, 1000}});
    QCOMPARE(Entry(img, 0), 4096u + 9);
    QVERIFY(AllErased(img.mid(4096, 10)));
    QCOMPARE(Entry(img, 1), 4106u + 999);

    // Data beyond the sound memory make the file longer.
    const QString big = file(QStringLiteral("big.wav"), Wav(2500000));
    img = BuildSoundImage({{big, 2500000}, {big, 2500000}});
    QCOMPARE(img.size(), 4096 + 5000000);
    QCOMPARE(Entry(img, 1), quint32(img.size() - 1));
    QCOMPARE(img.right(100), SoundData(2500000).right(100));
}

void TestSoundFiles::defaultPlaylist_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QDate>("firmware");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QString>("chosen");
    const QDate d(2010, 12, 3);
    const QString f8 = QStringLiteral("./sound/Zididazizizo.sound8.031210.playlist");
    const QString fam8 = QStringLiteral("./sound/Zididazizizo.sound8.playlist");
    const QString fallback = QStringLiteral("./sound/DefaultSounds.playlist");
    QTest::newRow("firmware's list") << 1 << d << QStringList{f8, fam8} << f8;
    QTest::newRow("family's list") << 1 << d << QStringList{fam8} << fam8;
    QTest::newRow("neither") << 1 << d << QStringList{} << fallback;
    QTest::newRow("no firmware date")
        << 1 << QDate() << QStringList{QStringLiteral("./sound/Zididazizizo.sound8..playlist")}
        << "./sound/Zididazizizo.sound8..playlist";
    QTest::newRow("six loops") << 3 << d
                               << QStringList{QStringLiteral(
                                      "./sound/Zididazizizo.sound6.playlist")}
                               << "./sound/Zididazizizo.sound6.playlist";
    QTest::newRow("four loops") << 0 << QDate(2009, 9, 21)
                                << QStringList{QStringLiteral(
                                       "./sound/Zididazizizo.sound4.210909.playlist")}
                                << "./sound/Zididazizizo.sound4.210909.playlist";
    QTest::newRow("unknown type") << 7 << d
                                  << QStringList{QStringLiteral(
                                         "./sound/Zididazizizo.sound0.playlist")}
                                  << "./sound/Zididazizizo.sound0.playlist";
}

void TestSoundFiles::defaultPlaylist() {
    QFETCH(int, type);
    QFETCH(QDate, firmware);
    QFETCH(QStringList, present);
    QFETCH(QString, chosen);
    QVERIFY(QDir().mkpath(QStringLiteral("sound")));
    for (const QString& p : present)
        QVERIFY(WriteAll(p, PlaylistText(0, {}, {})));
    QCOMPARE(Sounds::DefaultPlaylistPath(type, firmware), chosen);
    for (const QString& p : present)
        QFile::remove(p);
}

void TestSoundFiles::playlistRoundTrip() {
    const QList<PlaylistEntry> written{
        {QStringLiteral("Тревога, шлейф 1"), QStringLiteral("/звуки/a=b, c.wav")},
        {QStringLiteral("Снятие"), QString()},
        {QStringLiteral("name;#3"), QStringLiteral("C:\\sound\\3.wav")}};
    const QString path = dir.filePath(QStringLiteral("list.playlist"));
    QVERIFY(WritePlaylist(path, written));
    QList<PlaylistEntry> read;
    QVERIFY(ReadPlaylist(path, &read));
    QCOMPARE(read.size(), written.size());
    for (int i = 0; i < read.size(); ++i) {
        QCOMPARE(read.at(i).name, written.at(i).name);
        QCOMPARE(read.at(i).path, written.at(i).path);
    }
    QVERIFY(IsValidUtf8(ReadAll(path)));
    // A shorter list leaves the older entries behind, unread.
    QVERIFY(WritePlaylist(path, written.mid(0, 1)));
    QVERIFY(ReadAll(path).contains("Name3"));
    QVERIFY(ReadPlaylist(path, &read));
    QCOMPARE(read.size(), 1);
}

void TestSoundFiles::playlistCounts_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("entries"); // -1: refused
    QTest::addColumn<QString>("first");
    QStringList names, paths;
    for (int i = 1; i <= 170; ++i) {
        names << QStringLiteral("n%1").arg(i);
        paths << QStringLiteral("p%1.wav").arg(i);
    }
    QTest::newRow("5 counted, 3 named") << PlaylistText(5, names.mid(0, 3), paths) << 3 << "n1";
    QTest::newRow("above 160") << PlaylistText(500, names, paths) << 160 << "n1";
    QTest::newRow("negative") << PlaylistText(-3, names.mid(0, 3), paths) << 0 << "";
    QTest::newRow("not a number") << QByteArray("[Sound_count]\nsoundCount=abc\n") << 0 << "";
    QTest::newRow("no count") << QByteArray("[Sound]\nName1=a\n") << -1 << "before";
    QTest::newRow("Windows-1251") << ToCp1251(QStringLiteral(
                                         "[Sound_count]\nsoundCount=1\n[Sound]\nName1=Тревога\n"))
                                  << 1 << "Тревога";
}

void TestSoundFiles::playlistCounts() {
    QFETCH(QByteArray, text);
    QFETCH(int, entries);
    QFETCH(QString, first);
    QList<PlaylistEntry> read{{QStringLiteral("before"), QString()}};
    QCOMPARE(ReadPlaylist(file(QStringLiteral("c.playlist"), text), &read), entries >= 0);
    QCOMPARE(read.size(), entries >= 0 ? entries : 1);
    if (!first.isEmpty())
        QCOMPARE(read.at(0).name, first);
    QVERIFY(!ReadPlaylist(dir.filePath(QStringLiteral("missing.playlist")), &read));
}

void TestSoundFiles::unwritablePlaylist() {
    const QString locked = dir.filePath(QStringLiteral("locked"));
    QVERIFY(QDir().mkdir(locked));
    const QString path = locked + QStringLiteral("/list.playlist");
    const QByteArray old = PlaylistText(1, {QStringLiteral("old")}, {});
    QVERIFY(WriteAll(path, old));
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
    const auto unlock = qScopeGuard([&] {
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    });
    WithoutPermissionOverride bound;
    if (WithoutPermissionOverride::canCreateIn(locked))
        QSKIP("folder permissions do not bind here");
    QVERIFY(!WritePlaylist(path, {{QStringLiteral("new"), QString()}}));
    QCOMPARE(ReadAll(path), old);
}

QTEST_MAIN(TestSoundFiles)
#include "tst_soundfiles.moc"
