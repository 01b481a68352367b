// Voice messages. Without a window: the WAV check, upload packets, the sound
// image, the default playlist and playlist files. Through the main window: the
// list, the size check by firmware, choosing and listening to files,
// playlists, the sound image, and uploads to the simulated device with their
// progress and failures.

#include "app/DeviceFixture.h"

#include "link/LinkTiming.h"
#include "link/Protocol.h"
#include "link/ReadRecBaseThread.h"
#include "service/SoundPlayer.h"
#include "service/SoundTable.h"
#include "service/Sounds.h"
#include "settings/TextCodec.h"

#include <QLabel>
#include <QProgressBar>
#include <QScopeGuard>
#include <QSoundEffect>
#include <QTableView>
#include <QToolButton>
#include <QtEndian>

namespace {
const QString kReady = QStringLiteral("Файлы готовы к записи!   ");
const QString kOverLimit = QStringLiteral("Внимание! Размер файлов превышает 128 Кб.   ");

// Data bytes 0, 1, 2, ... modulo 251, so that every packet can be told apart.
QByteArray SoundData(int size) {
    QByteArray d(size, '\0');
    for (int i = 0; i < size; ++i)
        d[i] = char(i % 251);
    return d;
}
QByteArray Patched(QByteArray b, int at, quint32 v) {
    qToLittleEndian(v, b.data() + at);
    return b;
}
// A WAV file with the canonical 44-byte header and `dataSize` data bytes.
QByteArray Wav(int dataSize, quint32 rate = 8000, quint16 channels = 1, quint16 bits = 8,
               quint16 format = 1) {
    QByteArray h = QByteArray("RIFF....WAVEfmt ") + QByteArray(20, '\0') + "data....";
    h = Patched(h, 4, 36 + dataSize);
    h = Patched(h, 16, 16);
    qToLittleEndian(format, h.data() + 20);
    qToLittleEndian(channels, h.data() + 22);
    h = Patched(h, 24, rate);
    h = Patched(h, 28, rate * channels * bits / 8);
    qToLittleEndian(quint16(channels * bits / 8), h.data() + 32);
    qToLittleEndian(bits, h.data() + 34);
    return Patched(h, 40, dataSize) + SoundData(dataSize);
}
// A playlist file's text with the count and the given names and paths.
QByteArray PlaylistText(int count, const QStringList& names, const QStringList& paths) {
    QString t = QStringLiteral("[Sound_count]\nsoundCount=%1\n\n[Sound]\n").arg(count);
    for (int i = 0; i < names.size(); ++i)
        t += QStringLiteral("Name%1=%2\nPath%1=%3\n").arg(i + 1).arg(names.at(i), paths.value(i));
    return t.toUtf8();
}
quint32 Entry(const QByteArray& image, int i) {
    return qFromLittleEndian<quint32>(image.constData() + 4 * i);
}
bool AllErased(const QByteArray& bytes) {
    return bytes.count(char(0xFF)) == bytes.size();
}

struct FakePlayer final : SoundPlayer {
    FakePlayer() { setSoundPlayer(this); }
    ~FakePlayer() override { setSoundPlayer(nullptr); }
    void play(const QString& path) override { played << path; }
    QStringList played;
};

// The main window on the simulated device, its working directory holding WAV
// files "1.wav", ... of the given data sizes and a default playlist of them;
// the voice-message window shown.
struct SoundFixture : DeviceFixture {
    bool open(const QList<int>& sizes) {
        QDir().mkpath(shell.file(QStringLiteral("sound")));
        if ((!sizes.isEmpty() && playlist(QStringLiteral("DefaultSounds"), {}, sizes).isEmpty()) ||
            !DeviceFixture::open())
            return false;
        window = main->sounds();
        view = window->findChild<QTableView*>(QStringLiteral("tvSounds"));
        window->show();
        return true;
    }
    // WAV files "<stem>1.wav", ... of the given data sizes and the playlist
    // "sound/<list>.playlist" of them; its path, empty when not written.
    QString playlist(const QString& list, const QString& stem, const QList<int>& sizes) {
        QStringList names, paths;
        for (int i = 0; i < sizes.size(); ++i) {
            paths << wav(QStringLiteral("%1%2.wav").arg(stem).arg(i + 1), sizes.at(i));
            names << QStringLiteral("Сообщение %1").arg(i + 1);
        }
        const QString path = shell.file(QStringLiteral("sound/%1.playlist").arg(list));
        return WriteAll(path, PlaylistText(int(sizes.size()), names, paths)) ? path : QString();
    }
    QString wav(const QString& name, int size, const QByteArray& bytes = {}) {
        const QString path = shell.file(QStringLiteral("sound/") + name);
        return WriteAll(path, bytes.isEmpty() ? Wav(size) : bytes) ? path : QString();
    }
    void click(const char* button) {
        window->findChild<QAbstractButton*>(QString::fromLatin1(button))->click();
    }
    QString cell(int r, int c) const { return view->model()->index(r, c).data().toString(); }
    QString status() const { return window->statusLabel->text(); }
    // Clicks the name of the row and gives back the path editor that opens.
    PathEditor* editRow(int r) {
        const QModelIndex name = view->model()->index(r, 0);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(name).center());
        return qobject_cast<PathEditor*>(view->indexWidget(name.siblingAtColumn(1)));
    }
    // Starts an upload and records, per report of the link, "code message
    // packet" and what the window showed after it.
    void upload() {
        QObject::connect(main->portWork(), &PortWork::SigSetSoundWriteProgress, window,
                         [this](int code, int s, int p) {
                             reports << QStringLiteral("%1 %2 %3").arg(code).arg(s).arg(p);
                             statuses << window->statusLabel->text();
                             labels << window->fileLabel->text() + QStringLiteral(" | ") +
                                           window->totalLabel->text();
                             bytes << window->totalBytesWritten;
                         });
        prompt.buttons.enqueue(Prompt::Yes);
        click("pbWriteSounds");
    }
    Sounds* window = nullptr;
    QTableView* view = nullptr;
    QStringList reports, statuses, labels;
    QList<qint64> bytes;
};
} // namespace

class TestSounds : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        PrepareApplication();
        kwlink::SetLinkTimeScale(0.1);
    }
    void wavCheck_data();
    void wavCheck();
    void packets_data();
    void packets();
    void image();
    void defaultPlaylist();
    void playlists_data();
    void playlists();

    void withoutDefaultList();
    void sizeLimit_data();
    void sizeLimit();
    void chooseAndListen();
    void nothingHandedOver();
    void uploadTwoMessages();
    void uploadFailures_data();
    void uploadFailures();
    void uploadBrokenOff_data();
    void uploadBrokenOff();
    void playlistsAndImage();
    void realPlayer();

private:
    QString file(const QString& name, const QByteArray& bytes) {
        return WriteAll(dir.filePath(name), bytes) ? dir.filePath(name) : QString();
    }
    TempWorkDir dir;
};

void TestSounds::wavCheck_data() {
    QTest::addColumn<QByteArray>("bytes"); // empty: no file
    QTest::addColumn<int>("size");
    QTest::newRow("8000 Hz, 8 bits, mono") << Wav(1000) << 1000;
    QTest::newRow("data chunk named otherwise") << Wav(10).replace(36, 4, "LIST") << 10;
    QTest::newRow("11025 Hz") << Wav(10, 11025) << -1;
    QTest::newRow("16 bits") << Wav(10, 8000, 1, 16) << -1;
    QTest::newRow("stereo") << Wav(10, 8000, 2) << -1;
    QTest::newRow("not PCM") << Wav(10, 8000, 1, 8, 3) << -1;
    QTest::newRow("not RIFF") << Wav(10).replace(0, 4, "RIFX") << -1;
    QTest::newRow("43 bytes") << Wav(0).left(43) << -1;
    // The header promises more than the file holds.
    QTest::newRow("data cut short") << Patched(Wav(1000).left(1043), 4, 1035) << -1;
    QTest::newRow("negative data size") << Patched(Wav(10), 40, quint32(-5)) << -1;
    QTest::newRow("no file") << QByteArray() << -1;
}

void TestSounds::wavCheck() {
    QFETCH(QByteArray, bytes);
    const QString name = QStringLiteral("a.wav");
    QTEST(IsWavFile(bytes.isEmpty() ? dir.filePath("missing.wav") : file(name, bytes)), "size");
}

void TestSounds::packets_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<QList<int>>("lengths");
    QTest::newRow("10") << 10 << QList<int>{16, 0};
    QTest::newRow("250") << 250 << QList<int>{256, 0};
    QTest::newRow("251") << 251 << QList<int>{256, 1};
    QTest::newRow("506") << 506 << QList<int>{256, 256};
    QTest::newRow("507") << 507 << QList<int>{256, 256, 1};
}

// Packets of message 160: the header, then the data split at 250 and 256 bytes.
void TestSounds::packets() {
    QFETCH(int, size);
    const QList<QByteArray> p = CutSoundPackets(159, size, SoundData(size));
    QList<int> got;
    for (const QByteArray& b : p)
        got << int(b.size());
    QTEST(got, "lengths");
    QCOMPARE(p.at(0).left(6), Patched("Y\xA0....", 2, quint32(size)));
    QCOMPARE(p.join().mid(kSoundHeaderSize), SoundData(size));
}

void TestSounds::image() {
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

void TestSounds::defaultPlaylist() {
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

void TestSounds::playlists_data() {
    QTest::addColumn<QByteArray>("text"); // empty: written by the program
    QTest::addColumn<int>("entries");     // -1: refused
    QTest::addColumn<QString>("first");
    QStringList names, paths;
    for (int i = 1; i <= 170; ++i)
        names << QStringLiteral("n%1").arg(i);
    QTest::newRow("round trip") << QByteArray() << 3 << "Тревога, шлейф 1";
    QTest::newRow("5 counted, 3 named") << PlaylistText(5, names.mid(0, 3), paths) << 3 << "n1";
    QTest::newRow("above 160") << PlaylistText(500, names, paths) << 160 << "n1";
    QTest::newRow("negative") << PlaylistText(-3, names.mid(0, 3), paths) << 0 << "";
    QTest::newRow("not a number") << QByteArray("[Sound_count]\nsoundCount=abc\n") << 0 << "";
    QTest::newRow("no count") << QByteArray("[Sound]\nName1=a\n") << -1 << "before";
    QTest::newRow("Windows-1251") << ToCp1251(QStringLiteral(
                                         "[Sound_count]\nsoundCount=1\n[Sound]\nName1=Тревога\n"))
                                  << 1 << "Тревога";
}

// Written in UTF-8 and read back whole; counts clamped to 0..160 and to the
// names present; a file without a count, or none, leaves the list alone.
void TestSounds::playlists() {
    QFETCH(QByteArray, text);
    QFETCH(int, entries);
    const QList<PlaylistEntry> written{
        {QStringLiteral("Тревога, шлейф 1"), QStringLiteral("/звуки/a=b, c.wav")},
        {QStringLiteral("Снятие"), QString()},
        {QStringLiteral("name;#3"), QStringLiteral("C:\\sound\\3.wav")}};
    const QString path = dir.filePath(QStringLiteral("c.playlist"));
    QVERIFY(text.isEmpty() ? WritePlaylist(path, written) : WriteAll(path, text));
    QList<PlaylistEntry> read{{QStringLiteral("before"), QString()}};
    QCOMPARE(ReadPlaylist(path, &read), entries >= 0);
    QCOMPARE(read.size(), entries >= 0 ? entries : 1);
    QTEST(read.value(0).name, "first");
    if (text.isEmpty()) {
        QVERIFY(IsValidUtf8(ReadAll(path)));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(read.at(i).name + read.at(i).path, written.at(i).name + written.at(i).path);
    }
    QVERIFY(!ReadPlaylist(dir.filePath(QStringLiteral("missing.playlist")), &read));
}

void TestSounds::withoutDefaultList() {
    SoundFixture fx;
    QVERIFY(fx.open({}));
    QCOMPARE(fx.view->model()->rowCount(), 160);
    QVERIFY(!fx.view->isRowHidden(159));
    QCOMPARE(fx.cell(159, 2), QStringLiteral("Ошибка!"));
    // The version chosen at start-up gave its verdict without a box.
    QCOMPARE(fx.status(), QStringLiteral("Обнаружена ошибка!   "));
    QVERIFY(fx.prompt.asked.isEmpty());
    fx.click("pbTestSize");
    QCOMPARE(fx.prompt.count(QStringLiteral("Обнаружена ошибка! Возможно файл №1 повреждён.")), 1);

    // A playlist that counts no message leaves nothing to write: no upload
    // may start the device's sound mode.
    const QString none = fx.shell.file(QStringLiteral("none.playlist"));
    QVERIFY(WriteAll(none, PlaylistText(0, {}, {})));
    fx.prompt.files << none;
    fx.click("tbLoad");
    QVERIFY(fx.view->isRowHidden(0));
    QCOMPARE(fx.status(), QStringLiteral("Обнаружена ошибка!   "));
    QSignalSpy started(fx.window, &Sounds::SigStartSoundProgramm);
    fx.prompt.buttons << Prompt::Yes;
    fx.click("pbWriteSounds");
    QCOMPARE(fx.prompt.count(QStringLiteral("Записать звуковые сообщения?")), 0);
    QVERIFY(started.isEmpty());
}

void TestSounds::sizeLimit_data() {
    QTest::addColumn<QString>("version"); // empty: no date at all
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("status");
    QTest::newRow("02.12.2010, 128 KiB") << "02.12.2010" << 131072 << kReady;
    QTest::newRow("02.12.2010, one byte more") << "02.12.2010" << 131073 << kOverLimit;
    QTest::newRow("03.12.2010, one byte more") << "03.12.2010" << 131073 << kReady;
}

// The verdict on choosing the version and on the check; only a list that may
// be written is offered for the upload.
void TestSounds::sizeLimit() {
    QFETCH(QString, version);
    QFETCH(int, size);
    QFETCH(QString, status);
    SoundFixture fx;
    QVERIFY(fx.open({size - 1000, 1000}));
    const QString count = QStringLiteral(" Количество файлов: 2. Объём данных: %1 байт").arg(size);
    if (version.isEmpty()) {
        g_deviceSettings->header->firmwareDate = QDate();
    } else {
        fx.widget<QComboBox>("cbVersion")->setCurrentText(version);
        QCOMPARE(fx.status() + fx.window->sizeLabel->text(), status + count);
    }
    fx.click("pbTestSize");
    QCOMPARE(fx.status() + fx.window->sizeLabel->text(), status + count);
    fx.click("pbWriteSounds");
    QCOMPARE(fx.prompt.count(QStringLiteral("Записать звуковые сообщения?")),
             int(status == kReady));
}

void TestSounds::chooseAndListen() {
    SoundFixture fx;
    QVERIFY(fx.open({100, 200}));
    FakePlayer player;
    const QString b = fx.wav(QStringLiteral("b.wav"), 300);
    const QString refused = fx.wav(QStringLiteral("stereo.wav"), 100, Wav(100, 8000, 2));
    QVERIFY(fx.view->isRowHidden(2));

    PathEditor* editor = fx.editRow(1);
    QVERIFY(editor);
    fx.prompt.files << b << refused;
    editor->openButton->click();
    QCOMPARE(fx.cell(1, 1) + fx.cell(1, 2), b + QStringLiteral("300 байт"));
    QCOMPARE(fx.window->sizeLabel->text(), QStringLiteral("Текущий объём данных: 400 байт"));
    editor->openButton->click();
    QCOMPARE(fx.prompt.count(QStringLiteral("Данный формат файла не поддерживается.")), 1);
    QCOMPARE(fx.cell(1, 1), b);
    editor->listenButton->click();
    QCOMPARE(player.played, QStringList{b});

    // Escape after a choice: path and size stay together.
    const QString c = fx.wav(QStringLiteral("c.wav"), 500);
    fx.prompt.files << c;
    editor->openButton->click();
    QTest::keyClick(editor->openButton, Qt::Key_Escape);
    QTRY_VERIFY(!fx.view->indexWidget(fx.view->model()->index(1, 1)));
    QCOMPARE(fx.cell(1, 1) + fx.cell(1, 2), c + QStringLiteral("500 байт"));

    // A list reloaded while the file dialog is open takes the editor along.
    editor = fx.editRow(1);
    fx.prompt.whileChoosing = [&] {
        fx.window->LoadPlayList(QStringLiteral("sound/DefaultSounds.playlist"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    fx.prompt.files << b;
    editor->openButton->click();
    QCOMPARE(fx.cell(1, 2), QStringLiteral("200 байт"));
}

// A file that shrank after it was chosen stops the upload before block 21 is
// touched; reports while no upload runs move nothing.
void TestSounds::nothingHandedOver() {
    SoundFixture fx;
    QVERIFY(fx.open({300}));
    QSignalSpy started(fx.window, &Sounds::SigStartSoundProgramm);
    g_deviceSettings->sounds->packets = {{"kept"}};
    fx.prompt.buttons.enqueue(Prompt::No);
    fx.click("pbWriteSounds");
    QVERIFY(WriteAll(fx.shell.file(QStringLiteral("sound/1.wav")), Wav(300).left(300)));
    fx.prompt.buttons.enqueue(Prompt::Yes);
    fx.click("pbWriteSounds");
    QCOMPARE(fx.prompt.count(QStringLiteral("Возможно файл №1 повреждён.")), 1);
    QCOMPARE(started.size(), 0);
    QCOMPARE(g_deviceSettings->sounds->packets, (SoundPacketList{{"kept"}}));

    const int bar = fx.window->totalBar->value();
    const QString status = fx.status();
    for (int code : {0, 3, 2, proto::kSoundBrokenOff})
        fx.window->SetWriteProgress(code, 0, 1);
    QVERIFY(!fx.window->progressDialog->isVisible());
    QCOMPARE(fx.window->totalBar->value(), bar);
    QCOMPARE(fx.status(), status);
}

void TestSounds::uploadTwoMessages() {
    SoundFixture fx;
    QVERIFY(fx.open({300, 600}));
    QVERIFY(fx.connect(4, QDate(2012, 4, 19), 45));
    fx.upload();
    QTRY_COMPARE_WITH_TIMEOUT(fx.status(), QStringLiteral("Сообщения успешно записаны!   "), 10000);
    QCOMPARE(fx.reports.join(QLatin1Char(',')),
             QStringLiteral("0 0 0,0 0 1,1 1 0,0 1 0,0 1 1,0 1 2,2 2 0"));
    QCOMPARE(fx.statuses.at(2), QStringLiteral("Речевое сообщение №1 успешно записано!   "));
    QCOMPARE(fx.labels.mid(0, 2) + fx.labels.mid(3, 3),
             (QStringList{"Файл №1: 250 из 300 байт записано | Всего: 250 из 900 байт записано",
                          "Файл №1: 300 из 300 байт записано | Всего: 300 из 900 байт записано",
                          "Файл №2: 250 из 600 байт записано | Всего: 550 из 900 байт записано",
                          "Файл №2: 506 из 600 байт записано | Всего: 806 из 900 байт записано",
                          "Файл №2: 600 из 600 байт записано | Всего: 900 из 900 байт записано"}));
    QVERIFY(!fx.window->progressDialog->isVisible());
    QCOMPARE(fx.sim.SoundPackets(), (SoundPacketList{CutSoundPackets(0, 300, SoundData(300)),
                                                     CutSoundPackets(1, 600, SoundData(600))}));
    QVERIFY(g_deviceSettings->sounds->packets.isEmpty());
}

void TestSounds::uploadFailures_data() {
    QTest::addColumn<int>("fault");
    QTest::addColumn<int>("at");
    QTest::addColumn<QStringList>("statuses"); // of the reports other than code 0
    const QString again = QStringLiteral("Ошибка записи! Попытка перезаписи сообщения №%1.   ");
    const QString retry = QStringLiteral("Ошибка записи! Попытка записи №%1.   ");
    QTest::newRow("rejected, codes 3 and 6")
        << int(SimDevice::Fault::RejectSound) << 0
        << QStringList{again.arg(2), again.arg(3), again.arg(4),
                       "Ошибка записи! Не удалось записать сообщение в прибор.   "};
    QTest::newRow("silent, codes 4 and 5") << int(SimDevice::Fault::Silence) << 1
                                           << QStringList{retry.arg(2), retry.arg(3), retry.arg(4),
                                                          "Ошибка записи! Прибор не отвечает.   "};
    QTest::newRow("past the last packet, code 7")
        << int(SimDevice::Fault::AskPastEnd) << 0
        << QStringList{"Ошибка записи! Перезапустите устройство и попробуйте снова.   "};
}

void TestSounds::uploadFailures() {
    QFETCH(int, fault);
    QFETCH(int, at);
    QFETCH(QStringList, statuses);
    SoundFixture fx;
    QVERIFY(fx.open({300}));
    QVERIFY(fx.connect(4, QDate(2012, 4, 19), 45));
    fx.sim.ArmFault(SimDevice::Fault(fault), at, 4);
    fx.upload();
    QTRY_COMPARE_WITH_TIMEOUT(fx.status(), statuses.last(), 10000);
    QStringList failures;
    for (int i = 0; i < fx.reports.size(); ++i) {
        if (!fx.reports.at(i).startsWith(QLatin1Char('0')))
            failures << fx.statuses.at(i);
        // A rejected message counts again from its start.
        if (fx.reports.at(i).startsWith(QLatin1Char('3')))
            QCOMPARE(fx.bytes.at(i), 0);
    }
    QCOMPARE(failures, statuses);
    QVERIFY(!fx.window->progressDialog->isVisible());
}

// An upload that cannot finish ends as failed: the device hangs up, the user
// closes the port or presses Escape on the progress window. The next upload,
// of other files, sends its own packets from the first.
void TestSounds::uploadBrokenOff_data() {
    QTest::addColumn<int>("how"); // 0 the device hangs up, 1 the port is closed, 2 Escape
    QTest::addColumn<QString>("status");
    const QString lost = QStringLiteral("Ошибка записи! Связь с прибором прервана.   ");
    QTest::newRow("the device hangs up") << 0 << lost;
    QTest::newRow("the port is closed") << 1 << lost;
    QTest::newRow("Escape") << 2 << QStringLiteral("Запись сообщений прервана.   ");
}

void TestSounds::uploadBrokenOff() {
    QFETCH(int, how);
    QFETCH(QString, status);
    // The device holds in the middle of the upload, far from any time-out.
    kwlink::SetLinkTimeScale(1.0);
    const auto restore = qScopeGuard([] { kwlink::SetLinkTimeScale(0.1); });
    SoundFixture fx;
    QVERIFY(fx.open({300, 600}));
    QVERIFY(fx.connect(4, QDate(2012, 4, 19), 45));
    PortWork* link = fx.main->portWork();
    fx.sim.ArmFault(how == 0 ? SimDevice::Fault::HangUp : SimDevice::Fault::Hold, 2);
    fx.upload();
    if (how == 0) {
        QTRY_VERIFY_WITH_TIMEOUT(!link->IsPortOpen(), 10000);
    } else {
        QTRY_VERIFY_WITH_TIMEOUT(fx.sim.Held() && fx.window->progressDialog->isVisible(), 10000);
        if (how == 1)
            fx.action("actOpenClosePort")->trigger();
        else
            QTest::keyClick(fx.window->progressDialog, Qt::Key_Escape);
    }
    QTRY_COMPARE_WITH_TIMEOUT(fx.status(), status, 10000);
    QVERIFY(!fx.window->progressDialog->isVisible());
    QVERIFY(g_deviceSettings->sounds->packets.isEmpty());
    {
        QMutexLocker l(&link->readThread->stateMutex);
        QVERIFY(!link->readThread->soundUploadRunning && link->readThread->soundAttempt == 0);
    }
    if (how == 0)
        return; // the link's own test takes a device switched on again
    fx.sim.Reset();
    if (how == 1)
        QVERIFY(fx.connect(4, QDate(2012, 4, 19), 45));
    QVERIFY(fx.window->LoadPlayList(
        fx.playlist(QStringLiteral("other"), QStringLiteral("o"), {700, 400})));
    fx.prompt.buttons.enqueue(Prompt::Yes);
    fx.click("pbWriteSounds");
    QTRY_COMPARE_WITH_TIMEOUT(fx.status(), QStringLiteral("Сообщения успешно записаны!   "), 10000);
    QCOMPARE(fx.sim.SoundPackets(), (SoundPacketList{CutSoundPackets(0, 700, SoundData(700)),
                                                     CutSoundPackets(1, 400, SoundData(400))}));
    QCOMPARE(fx.sim.SoundStarts(), 2);
}

// Saved and loaded back (a WAV file refused as a playlist), the image of the
// list; targets that cannot be replaced keep their old contents and say so.
void TestSounds::playlistsAndImage() {
    SoundFixture fx;
    QVERIFY(fx.open({1000, 2000}));
    const QString list = fx.shell.file(QStringLiteral("saved.playlist"));
    const QString image = fx.shell.file(QStringLiteral("sound.bin"));
    fx.prompt.files << list << fx.shell.file(QStringLiteral("sound/1.wav")) << list << image;
    fx.click("tbSave");
    fx.click("tbLoad");
    QCOMPARE(fx.prompt.count(QStringLiteral("Не удалось загрузить файл. Возможно файл повреждён.")),
             1);
    fx.click("tbLoad");
    QCOMPARE(fx.cell(1, 0), QStringLiteral("Сообщение 2"));
    QCOMPARE(fx.window->sizeLabel->text(),
             QStringLiteral(" Количество файлов: 2. Объём данных: 3000 байт"));
    fx.click("tbCreateImage");
    QCOMPARE(ReadAll(image), BuildSoundImage(fx.window->soundTable->Rows(2)));

    const QString locked = fx.shell.file(QStringLiteral("locked"));
    QVERIFY(QDir().mkdir(locked));
    QVERIFY(WriteAll(locked + QStringLiteral("/a.playlist"), "old"));
    QVERIFY(WriteAll(locked + QStringLiteral("/a.bin"), "old"));
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
    const auto unlock = qScopeGuard([&] {
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    });
    WithoutPermissionOverride bound;
    if (WithoutPermissionOverride::canCreateIn(locked))
        QSKIP("folder permissions do not bind here");
    fx.window->soundTable->sizes[1] = -1; // the image is still written, after a warning
    fx.prompt.files << locked + QStringLiteral("/a.playlist") << locked + QStringLiteral("/a.bin");
    fx.click("tbSave");
    fx.click("tbCreateImage");
    QCOMPARE(fx.prompt.count(QStringLiteral("Возможно один из файлов повреждён.")), 1);
    QCOMPARE(fx.prompt.count(QStringLiteral("Не удалось записать файл")), 2);
    QCOMPARE(ReadAll(locked + QStringLiteral("/a.playlist")) +
                 ReadAll(locked + QStringLiteral("/a.bin")),
             QByteArray("oldold"));
}

// Loaded, or refused for want of an audio device: either way not stuck.
void TestSounds::realPlayer() {
    const QString path = file(QStringLiteral("a.wav"), Wav(8000));
    soundPlayer().play(path);
    auto* effect = qApp->findChild<QSoundEffect*>();
    QVERIFY(effect);
    QCOMPARE(effect->source(), QUrl::fromLocalFile(path));
    QTRY_VERIFY_WITH_TIMEOUT(
        effect->status() == QSoundEffect::Ready || effect->status() == QSoundEffect::Error, 15000);
}

QTEST_MAIN(TestSounds)
#include "tst_sounds.moc"
