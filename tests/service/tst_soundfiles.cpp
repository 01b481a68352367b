// WAV check, upload packets, sound image, default playlist and playlist files.

#include "SoundTestFiles.h"

#include "service/SoundFiles.h"
#include "service/Sounds.h"
#include "settings/TextCodec.h"

#include <QTest>

namespace {
quint32 Entry(const QByteArray& image, int i) {
    return qFromLittleEndian<quint32>(image.constData() + 4 * i);
}
bool AllErased(const QByteArray& bytes) {
    return bytes.count(char(0xFF)) == bytes.size();
}
QByteArray Patched(QByteArray b, int at, quint32 v) {
    qToLittleEndian(v, b.data() + at);
    return b;
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
    void image();
    void defaultPlaylist();
    void playlistRoundTrip();
    void playlistCounts_data();
    void playlistCounts();

private:
    QString file(const QString& name, const QByteArray& bytes) {
        return WriteAll(dir.filePath(name), bytes) ? dir.filePath(name) : QString();
    }
    TempWorkDir dir;
};

void TestSoundFiles::wavCheck_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("size");
    QTest::newRow("8000 Hz, 8 bits, mono") << Wav(1000) << 1000;
    QTest::newRow("no data") << Wav(0) << 0;
    QTest::newRow("data chunk named otherwise") << Wav(10).replace(36, 4, "LIST") << 10;
    QTest::newRow("high byte of the channel count") << Wav(10).replace(23, 1, "\x02") << 10;
    QTest::newRow("11025 Hz") << Wav(10, 11025) << -1;
    QTest::newRow("16 bits") << Wav(10, 8000, 1, 16) << -1;
    QTest::newRow("stereo") << Wav(10, 8000, 2) << -1;
    QTest::newRow("not PCM") << Wav(10, 8000, 1, 8, 3) << -1;
    QTest::newRow("not RIFF") << Wav(10).replace(0, 4, "RIFX") << -1;
    QTest::newRow("RIFF size one short") << Patched(Wav(10), 4, 45) << -1;
    QTest::newRow("43 bytes") << Wav(0).left(43) << -1;
    // The header promises more than the file holds.
    QTest::newRow("data cut short") << Patched(Wav(1000).left(1043), 4, 1035) << -1;
    QTest::newRow("negative data size") << Patched(Wav(10), 40, quint32(-5)) << -1;
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

void TestSoundFiles::image() {
    const QString a = file(QStringLiteral("a.wav"), Wav(1000));
    const QString b = file(QStringLiteral("b.wav"), Wav(2000));
    QByteArray img = BuildSoundImage({{a, 1000}, {b, 2000}});
    QCOMPARE(img.size(), kSoundImageSize);
    QCOMPARE(Entry(img, 0), 5095u);
    QCOMPARE(Entry(img, 1), 7095u);
    QVERIFY(AllErased(img.mid(8, 4096 - 8)));
    QCOMPARE(img.mid(4096, 3000), SoundData(1000) + SoundData(2000));
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

void TestSoundFiles::defaultPlaylist() {
    const QDate d(2010, 12, 3);
    const QString firmware8 = QStringLiteral("./sound/Zididazizizo.sound8.031210.playlist");
    const QString family8 = QStringLiteral("./sound/Zididazizizo.sound8.playlist");
    const QString undated6 = QStringLiteral("./sound/Zididazizizo.sound6..playlist");
    QVERIFY(QDir().mkpath(QStringLiteral("sound")));
    QCOMPARE(Sounds::DefaultPlaylistPath(1, d), QStringLiteral("./sound/DefaultSounds.playlist"));
    QVERIFY(WriteAll(family8, {}) && WriteAll(undated6, {}));
    QCOMPARE(Sounds::DefaultPlaylistPath(1, d), family8);
    QVERIFY(WriteAll(firmware8, {}));
    QCOMPARE(Sounds::DefaultPlaylistPath(1, d), firmware8);
    QCOMPARE(Sounds::DefaultPlaylistPath(3, QDate()), undated6);
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
    QCOMPARE(read.size(), 3);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(read.at(i).name + read.at(i).path, written.at(i).name + written.at(i).path);
    QVERIFY(IsValidUtf8(ReadAll(path)));
}

void TestSoundFiles::playlistCounts_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("entries"); // -1: refused
    QTest::addColumn<QString>("first");
    QStringList names, paths;
    for (int i = 1; i <= 170; ++i)
        names << QStringLiteral("n%1").arg(i);
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

QTEST_MAIN(TestSoundFiles)
#include "tst_soundfiles.moc"
