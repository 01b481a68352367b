// The voice-message window through the main window: the default list, the
// size check by firmware, choosing and listening to files, playlists, the
// sound image, and uploads to the simulated device with their progress and
// failures.

#include "SoundTestFiles.h"
#include "app/DeviceFixture.h"

#include "link/LinkTiming.h"
#include "service/SoundPlayer.h"
#include "service/SoundTable.h"
#include "service/Sounds.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QScopeGuard>
#include <QSoundEffect>
#include <QTableView>
#include <QToolButton>

namespace {
const QString kReady = QStringLiteral("Файлы готовы к записи!   ");
const QString kError = QStringLiteral("Обнаружена ошибка!   ");
const QString kOverLimit = QStringLiteral("Внимание! Размер файлов превышает 128 Кб.   ");

struct FakePlayer final : SoundPlayer {
    FakePlayer() { setSoundPlayer(this); }
    ~FakePlayer() override { setSoundPlayer(nullptr); }
    void play(const QString& path) override { played << path; }
    QStringList played;
};

// A file dialog during which the list is reloaded, as a change of the device
// family does while the user is choosing; then a file is chosen.
struct ReloadingPrompt final : Prompt {
    ReloadingPrompt() { setPrompt(this); }
    ~ReloadingPrompt() override { setPrompt(nullptr); }
    int message(Kind, QWidget*, const QString&, const QString&, int, int) override { return Ok; }
    QString openFileName(QWidget*, const QString&, const QString&, const QString&) override {
        window->LoadPlayList(playlist);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return chosen;
    }
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
    QString existingDirectory(QWidget*, const QString&, const QString&) override { return {}; }
    QString item(QWidget*, const QString&, const QString&, const QStringList&, int, bool,
                 bool* ok) override {
        *ok = false;
        return {};
    }
    QString text(QWidget*, const QString&, const QString&, const QString&, bool* ok) override {
        *ok = false;
        return {};
    }
    Sounds* window = nullptr;
    QString playlist, chosen;
};

// One report of the link as the window showed it right after taking it.
struct Shown {
    QList<int> report;
    QString status, file, total;
    bool progressVisible;
    qint64 totalBytes = 0;
};

// A main window on the simulated device whose working directory holds the
// WAV files of the given data sizes ("1.wav", ...) and a default playlist
// naming them, and the voice-message window shown.
class SoundFixture : public DeviceFixture {
public:
    bool open(const QList<int>& sizes) {
        QDir().mkpath(shell.file(QStringLiteral("sound")));
        QStringList names, paths;
        for (int i = 0; i < sizes.size(); ++i) {
            paths << wav(QStringLiteral("%1.wav").arg(i + 1), sizes.at(i));
            names << QStringLiteral("Сообщение %1").arg(i + 1);
        }
        if (!sizes.isEmpty() &&
            !WriteAll(shell.file(QStringLiteral("sound/DefaultSounds.playlist")),
                      PlaylistText(int(sizes.size()), names, paths)))
            return false;
        if (!DeviceFixture::open())
            return false;
        window = main->sounds();
        view = window->findChild<QTableView*>(QStringLiteral("tvSounds"));
        window->show();
        return true;
    }
    QString wav(const QString& name, int size) {
        const QString path = shell.file(QStringLiteral("sound/") + name);
        return WriteAll(path, Wav(size)) ? path : QString();
    }
    void click(const char* button) {
        window->findChild<QAbstractButton*>(QString::fromLatin1(button))->click();
    }
    QString cell(int r, int c) const { return view->model()->index(r, c).data().toString(); }
    // The reports of an upload, each with what the window showed after it.
    void record() {
        QObject::connect(main->portWork(), &PortWork::SigSetSoundWriteProgress, window,
                         [this](int code, int s, int p) {
                             shown.append({{code, s, p},
                                           window->statusLabel->text(),
                                           window->fileLabel->text(),
                                           window->totalLabel->text(),
                                           window->progressDialog->isVisible(),
                                           window->totalBytesWritten});
                         });
    }
    Sounds* window = nullptr;
    QTableView* view = nullptr;
    QList<Shown> shown;
};
} // namespace

class TestSounds : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        PrepareApplication();
        kwlink::SetLinkTimeScale(0.1);
    }
    void withoutDefaultList();
    void sizeLimit_data();
    void sizeLimit();
    void chooseAndListen();
    void uploadTwoMessages();
    void uploadFailures_data();
    void uploadFailures();
    void nothingHandedOver();
    void playlistsAndImage();
    void realPlayer();
};

void TestSounds::withoutDefaultList() {
    SoundFixture fx;
    QVERIFY(fx.open({}));
    QCOMPARE(fx.view->model()->rowCount(), 160);
    QVERIFY(!fx.view->isRowHidden(159));
    QCOMPARE(fx.cell(159, 2), QStringLiteral("Ошибка!"));
    // The version chosen at start-up gave its verdict without a box.
    QCOMPARE(fx.window->statusLabel->text(), kError);
    QVERIFY(fx.prompt.asked.isEmpty());
    fx.click("pbTestSize");
    QCOMPARE(fx.prompt.count(QStringLiteral("Обнаружена ошибка! Возможно файл №1 повреждён.")), 1);
    QCOMPARE(fx.window->sizeLabel->text(), QString());
}

void TestSounds::sizeLimit_data() {
    QTest::addColumn<QString>("version"); // empty: no date at all
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("status");
    QTest::newRow("02.12.2010, 128 KiB") << "02.12.2010" << 131072 << kReady;
    QTest::newRow("02.12.2010, one byte more") << "02.12.2010" << 131073 << kOverLimit;
    QTest::newRow("03.12.2010, one byte more") << "03.12.2010" << 131073 << kReady;
    QTest::newRow("no date, one byte more") << "" << 131073 << kOverLimit;
}

void TestSounds::sizeLimit() {
    QFETCH(QString, version);
    QFETCH(int, size);
    QFETCH(QString, status);
    SoundFixture fx;
    QVERIFY(fx.open({size - 1000, 1000}));
    if (version.isEmpty())
        g_deviceSettings->header->firmwareDate = QDate();
    else
        fx.widget<QComboBox>("cbVersion")->setCurrentText(version);
    const QString count = QStringLiteral(" Количество файлов: 2. Объём данных: %1 байт").arg(size);
    if (!version.isEmpty()) {
        QCOMPARE(fx.window->statusLabel->text(), status);
        QCOMPARE(fx.window->sizeLabel->text(), count);
    }
    fx.click("pbTestSize");
    QCOMPARE(fx.window->statusLabel->text(), status);
    QCOMPARE(fx.window->sizeLabel->text(), count);
    fx.prompt.buttons.enqueue(Prompt::No);
    fx.click("pbWriteSounds");
    QCOMPARE(fx.prompt.count(QStringLiteral("Записать звуковые сообщения?")),
             status == kReady ? 1 : 0);
    QVERIFY(fx.prompt.count(QStringLiteral("Предупреждение")) == 0);
}

void TestSounds::chooseAndListen() {
    SoundFixture fx;
    QVERIFY(fx.open({100, 200}));
    FakePlayer player;
    const QString b = fx.wav(QStringLiteral("b.wav"), 300);
    WavSpec stereo;
    stereo.channels = 2;
    QVERIFY(WriteAll(fx.shell.file(QStringLiteral("stereo.wav")), Wav(stereo)));
    QVERIFY(fx.view->isRowHidden(2));

    // A click on the name opens the path editor of that row.
    const QModelIndex name = fx.view->model()->index(1, 0);
    QTest::mouseClick(fx.view->viewport(), Qt::LeftButton, {}, fx.view->visualRect(name).center());
    auto* editor = qobject_cast<PathEditor*>(fx.view->indexWidget(name.siblingAtColumn(1)));
    QVERIFY(editor);
    fx.prompt.files.enqueue(b);
    editor->openButton->click();
    QCOMPARE(fx.cell(1, 1), b);
    QCOMPARE(fx.cell(1, 2), QStringLiteral("300 байт"));
    QCOMPARE(fx.window->sizeLabel->text(), QStringLiteral("Текущий объём данных: 400 байт"));

    fx.prompt.files.enqueue(fx.shell.file(QStringLiteral("stereo.wav")));
    editor->openButton->click();
    QCOMPARE(fx.prompt.count(QStringLiteral("Данный формат файла не поддерживается.")), 1);
    QCOMPARE(fx.cell(1, 1), b);
    editor->openButton->click(); // cancelled
    QCOMPARE(fx.cell(1, 2), QStringLiteral("300 байт"));

    editor->listenButton->click();
    QCOMPARE(player.played, QStringList{b});

    // Escape after a choice: path and size stay together.
    const QString c = fx.wav(QStringLiteral("c.wav"), 500);
    fx.prompt.files.enqueue(c);
    editor->openButton->click();
    QTest::keyClick(editor->openButton, Qt::Key_Escape);
    QTRY_VERIFY(!fx.view->indexWidget(name.siblingAtColumn(1)));
    QCOMPARE(fx.cell(1, 1), c);
    QCOMPARE(fx.cell(1, 2), QStringLiteral("500 байт"));
    QVERIFY(fx.window->grab().save(QDir::tempPath() + QStringLiteral("/state-sounds.png")));

    // The editor goes with the list it belonged to; the choice goes with it.
    ReloadingPrompt reloading;
    reloading.window = fx.window;
    reloading.playlist = fx.shell.file(QStringLiteral("sound/DefaultSounds.playlist"));
    reloading.chosen = b;
    QTest::mouseClick(fx.view->viewport(), Qt::LeftButton, {}, fx.view->visualRect(name).center());
    editor = qobject_cast<PathEditor*>(fx.view->indexWidget(name.siblingAtColumn(1)));
    QVERIFY(editor);
    editor->openButton->click();
    QCOMPARE(fx.cell(1, 1), fx.shell.file(QStringLiteral("sound/2.wav")));
    QCOMPARE(fx.cell(1, 2), QStringLiteral("200 байт"));
}

void TestSounds::uploadTwoMessages() {
    SoundFixture fx;
    QVERIFY(fx.open({300, 600}));
    QVERIFY(fx.connect(4, QDate(2012, 4, 19), 45));
    fx.record();
    fx.prompt.buttons.enqueue(Prompt::Yes);
    fx.click("pbWriteSounds");
    QTRY_COMPARE_WITH_TIMEOUT(fx.window->statusLabel->text(),
                              QStringLiteral("Сообщения успешно записаны!   "), 10000);

    const QList<Shown> expected{
        {{0, 0, 0},
         kReady,
         "Файл №1: 250 из 300 байт записано",
         "Всего: 250 из 900 байт записано",
         true},
        {{0, 0, 1},
         kReady,
         "Файл №1: 300 из 300 байт записано",
         "Всего: 300 из 900 байт записано",
         true},
        {{1, 1, 0},
         "Речевое сообщение №1 успешно записано!   ",
         "Файл №1: 300 из 300 байт записано",
         "Всего: 300 из 900 байт записано",
         true},
        {{0, 1, 0},
         "Речевое сообщение №1 успешно записано!   ",
         "Файл №2: 250 из 600 байт записано",
         "Всего: 550 из 900 байт записано",
         true},
        {{0, 1, 1},
         "Речевое сообщение №1 успешно записано!   ",
         "Файл №2: 506 из 600 байт записано",
         "Всего: 806 из 900 байт записано",
         true},
        {{0, 1, 2},
         "Речевое сообщение №1 успешно записано!   ",
         "Файл №2: 600 из 600 байт записано",
         "Всего: 900 из 900 байт записано",
         true},
        {{2, 2, 0},
         "Сообщения успешно записаны!   ",
         "Файл №2: 600 из 600 байт записано",
         "Всего: 900 из 900 байт записано",
         false},
    };
    QCOMPARE(fx.shown.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        QCOMPARE(fx.shown.at(i).report, expected.at(i).report);
        QCOMPARE(fx.shown.at(i).status, expected.at(i).status);
        QCOMPARE(fx.shown.at(i).file, expected.at(i).file);
        QCOMPARE(fx.shown.at(i).total, expected.at(i).total);
        QCOMPARE(fx.shown.at(i).progressVisible, expected.at(i).progressVisible);
    }
    QCOMPARE(fx.sim.SoundPackets(), (SoundPacketList{CutSoundPackets(0, 300, SoundData(300)),
                                                     CutSoundPackets(1, 600, SoundData(600))}));
    QCOMPARE(fx.sim.SoundStarts(), 2);
    QVERIFY(g_deviceSettings->sounds->packets.isEmpty());
    QCOMPARE(fx.window->totalBar->value(), 0);
}

void TestSounds::uploadFailures_data() {
    QTest::addColumn<int>("fault");
    QTest::addColumn<int>("at");
    QTest::addColumn<QList<int>>("codes"); // besides 0
    QTest::addColumn<QStringList>("statuses");
    QTest::newRow("rejected") << int(SimDevice::Fault::RejectSound) << 0 << QList<int>{3, 3, 3, 6}
                              << QStringList{
                                     "Ошибка записи! Попытка перезаписи сообщения №2.   ",
                                     "Ошибка записи! Попытка перезаписи сообщения №3.   ",
                                     "Ошибка записи! Попытка перезаписи сообщения №4.   ",
                                     "Ошибка записи! Не удалось записать сообщение в прибор.   "};
    QTest::newRow("silent") << int(SimDevice::Fault::Silence) << 1 << QList<int>{4, 4, 4, 5}
                            << QStringList{"Ошибка записи! Попытка записи №2.   ",
                                           "Ошибка записи! Попытка записи №3.   ",
                                           "Ошибка записи! Попытка записи №4.   ",
                                           "Ошибка записи! Прибор не отвечает.   "};
    QTest::newRow("past the last packet")
        << int(SimDevice::Fault::AskPastEnd) << 0 << QList<int>{7}
        << QStringList{"Ошибка записи! Перезапустите устройство и попробуйте снова.   "};
}

void TestSounds::uploadFailures() {
    QFETCH(int, fault);
    QFETCH(int, at);
    QFETCH(QList<int>, codes);
    QFETCH(QStringList, statuses);
    SoundFixture fx;
    QVERIFY(fx.open({300}));
    QVERIFY(fx.connect(4, QDate(2012, 4, 19), 45));
    fx.sim.ArmFault(SimDevice::Fault(fault), at, 4);
    fx.record();
    fx.prompt.buttons.enqueue(Prompt::Yes);
    fx.click("pbWriteSounds");
    QTRY_COMPARE_WITH_TIMEOUT(fx.window->statusLabel->text(), statuses.last(), 10000);
    QList<int> gotCodes;
    QStringList gotStatuses;
    for (const Shown& s : fx.shown) {
        if (s.report.at(0) != 0) {
            gotCodes << s.report.at(0);
            gotStatuses << s.status;
        }
        // A restarted message counts again from its start.
        if (s.report.at(0) == 3)
            QCOMPARE(s.totalBytes, 0);
    }
    QCOMPARE(gotCodes, codes);
    QCOMPARE(gotStatuses, statuses);
    QVERIFY(!fx.window->progressDialog->isVisible());
    QCOMPARE(fx.window->totalBytesWritten, 0);
}

void TestSounds::nothingHandedOver() {
    SoundFixture fx;
    QVERIFY(fx.open({300}));
    QSignalSpy started(fx.window, &Sounds::SigStartSoundProgramm);
    g_deviceSettings->sounds->packets = {{"kept"}};
    fx.prompt.buttons.enqueue(Prompt::No);
    fx.click("pbWriteSounds");
    // The file shrank after it was chosen: its header would lie to the device.
    QVERIFY(WriteAll(fx.shell.file(QStringLiteral("sound/1.wav")), Wav(300).left(300)));
    fx.prompt.buttons.enqueue(Prompt::Yes);
    fx.click("pbWriteSounds");
    QCOMPARE(fx.prompt.count(QStringLiteral("Возможно файл №1 повреждён.")), 1);
    QCOMPARE(started.size(), 0);
    QCOMPARE(g_deviceSettings->sounds->packets, (SoundPacketList{{"kept"}}));

    // Reports about messages that were never handed over move nothing.
    const int bar = fx.window->totalBar->value();
    fx.window->SetWriteProgress(0, 0, 0);
    fx.window->SetWriteProgress(3, 4, 1);
    QVERIFY(!fx.window->progressDialog->isVisible());
    QCOMPARE(fx.window->totalBar->value(), bar);
    QCOMPARE(fx.window->totalBytesWritten, 0);
    QCOMPARE(fx.window->statusLabel->text(),
             QStringLiteral("Ошибка записи! Попытка перезаписи сообщения №2.   "));
}

void TestSounds::playlistsAndImage() {
    SoundFixture fx;
    QVERIFY(fx.open({1000, 2000}));
    const QString list = fx.shell.file(QStringLiteral("saved.playlist"));
    fx.prompt.files.enqueue(list);
    fx.click("tbSave");
    fx.prompt.files.enqueue(fx.shell.file(QStringLiteral("sound/1.wav"))); // not a playlist
    fx.click("tbLoad");
    QCOMPARE(fx.prompt.count(QStringLiteral("Не удалось загрузить файл. Возможно файл повреждён.")),
             1);
    QCOMPARE(fx.window->soundCount, 2);
    fx.prompt.files.enqueue(list);
    fx.click("tbLoad");
    QCOMPARE(fx.cell(1, 0), QStringLiteral("Сообщение 2"));
    QCOMPARE(fx.window->sizeLabel->text(),
             QStringLiteral(" Количество файлов: 2. Объём данных: 3000 байт"));

    const QString image = fx.shell.file(QStringLiteral("sound.bin"));
    fx.prompt.files.enqueue(image);
    fx.click("tbCreateImage");
    QCOMPARE(ReadAll(image), BuildSoundImage(fx.window->soundTable->Rows(2)));

    // Targets that cannot be replaced keep their old contents and say so.
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
    fx.prompt.files.enqueue(locked + QStringLiteral("/a.playlist"));
    fx.click("tbSave");
    fx.prompt.files.enqueue(locked + QStringLiteral("/a.bin"));
    fx.click("tbCreateImage");
    QCOMPARE(
        fx.prompt.count(QStringLiteral("Обнаружена ошибка! Возможно один из файлов повреждён.")),
        1);
    QCOMPARE(fx.prompt.count(QStringLiteral("Не удалось записать файл")), 2);
    QCOMPARE(ReadAll(locked + QStringLiteral("/a.playlist")), QByteArray("old"));
    QCOMPARE(ReadAll(locked + QStringLiteral("/a.bin")), QByteArray("old"));
}

void TestSounds::realPlayer() {
    TempWorkDir dir;
    const QString path = dir.filePath(QStringLiteral("a.wav"));
    QVERIFY(WriteAll(path, Wav(8000)));
    soundPlayer().play(path);
    auto* effect = qApp->findChild<QSoundEffect*>();
    QVERIFY(effect);
    QCOMPARE(effect->source(), QUrl::fromLocalFile(path));
    // Loaded, or refused for want of an audio device: either way not stuck.
    QTRY_VERIFY(effect->status() == QSoundEffect::Ready || effect->status() == QSoundEffect::Error);
}

QTEST_MAIN(TestSounds)
#include "tst_sounds.moc"
