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
const QString kOverLimit = QStringLiteral("Внимание! Размер файлов превышает 128 Кб.   ");

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
        QStringList names, paths;
        for (int i = 0; i < sizes.size(); ++i) {
            paths << wav(QStringLiteral("%1.wav").arg(i + 1), sizes.at(i));
            names << QStringLiteral("Сообщение %1").arg(i + 1);
        }
        const QString list = shell.file(QStringLiteral("sound/DefaultSounds.playlist"));
        if ((!sizes.isEmpty() && !WriteAll(list, PlaylistText(int(sizes.size()), names, paths))) ||
            !DeviceFixture::open())
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
    void withoutDefaultList();
    void sizeLimit_data();
    void sizeLimit();
    void chooseAndListen();
    void nothingHandedOver();
    void uploadTwoMessages();
    void uploadFailures_data();
    void uploadFailures();
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
    QCOMPARE(fx.status(), QStringLiteral("Обнаружена ошибка!   "));
    QVERIFY(fx.prompt.asked.isEmpty());
    fx.click("pbTestSize");
    QCOMPARE(fx.prompt.count(QStringLiteral("Обнаружена ошибка! Возможно файл №1 повреждён.")), 1);
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
    const QString count = QStringLiteral(" Количество файлов: 2. Объём данных: %1 байт").arg(size);
    if (version.isEmpty()) {
        g_deviceSettings->header->firmwareDate = QDate();
    } else {
        fx.widget<QComboBox>("cbVersion")->setCurrentText(version);
        QCOMPARE(fx.status(), status);
        QCOMPARE(fx.window->sizeLabel->text(), count);
    }
    fx.click("pbTestSize");
    QCOMPARE(fx.status(), status);
    QCOMPARE(fx.window->sizeLabel->text(), count);
    fx.click("pbWriteSounds"); // asks only when the list may be written
    QCOMPARE(fx.prompt.count(QStringLiteral("Записать звуковые сообщения?")),
             int(status == kReady));
}

void TestSounds::chooseAndListen() {
    SoundFixture fx;
    QVERIFY(fx.open({100, 200}));
    FakePlayer player;
    const QString b = fx.wav(QStringLiteral("b.wav"), 300);
    const QString refused = fx.shell.file(QStringLiteral("stereo.wav"));
    QVERIFY(WriteAll(refused, Wav(100, 8000, 2)));
    QVERIFY(fx.view->isRowHidden(2));

    PathEditor* editor = fx.editRow(1);
    QVERIFY(editor);
    fx.prompt.files << b << refused;
    editor->openButton->click();
    QCOMPARE(fx.cell(1, 1), b);
    QCOMPARE(fx.cell(1, 2), QStringLiteral("300 байт"));
    QCOMPARE(fx.window->sizeLabel->text(), QStringLiteral("Текущий объём данных: 400 байт"));
    editor->openButton->click();
    QCOMPARE(fx.prompt.count(QStringLiteral("Данный формат файла не поддерживается.")), 1);
    QCOMPARE(fx.cell(1, 1), b);
    editor->listenButton->click();
    QCOMPARE(player.played, QStringList{b});

    // Escape after a choice: path and size stay together.
    fx.prompt.files << fx.wav(QStringLiteral("c.wav"), 500);
    editor->openButton->click();
    QTest::keyClick(editor->openButton, Qt::Key_Escape);
    QTRY_VERIFY(!fx.view->indexWidget(fx.view->model()->index(1, 1)));
    QCOMPARE(fx.cell(1, 2), QStringLiteral("500 байт"));
    QVERIFY(fx.cell(1, 1).endsWith(QStringLiteral("c.wav")));
    QVERIFY(fx.window->grab().save(QDir::tempPath() + QStringLiteral("/state-sounds.png")));

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
    QCOMPARE(fx.status(), QStringLiteral("Ошибка записи! Попытка перезаписи сообщения №2.   "));
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

void TestSounds::playlistsAndImage() {
    SoundFixture fx;
    QVERIFY(fx.open({1000, 2000}));
    const QString list = fx.shell.file(QStringLiteral("saved.playlist"));
    const QString image = fx.shell.file(QStringLiteral("sound.bin"));
    fx.prompt.files << list << fx.shell.file(QStringLiteral("sound/1.wav")) << list << image;
    fx.click("tbSave");
    fx.click("tbLoad"); // not a playlist
    QCOMPARE(fx.prompt.count(QStringLiteral("Не удалось загрузить файл. Возможно файл повреждён.")),
             1);
    fx.click("tbLoad");
    QCOMPARE(fx.cell(1, 0), QStringLiteral("Сообщение 2"));
    QCOMPARE(fx.window->sizeLabel->text(),
             QStringLiteral(" Количество файлов: 2. Объём данных: 3000 байт"));
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
    fx.prompt.files << locked + QStringLiteral("/a.playlist") << locked + QStringLiteral("/a.bin");
    fx.click("tbSave");
    fx.click("tbCreateImage");
    QCOMPARE(fx.prompt.count(QStringLiteral("Возможно один из файлов повреждён.")), 1);
    QCOMPARE(fx.prompt.count(QStringLiteral("Не удалось записать файл")), 2);
    QCOMPARE(ReadAll(locked + QStringLiteral("/a.playlist")) +
                 ReadAll(locked + QStringLiteral("/a.bin")),
             QByteArray("oldold"));
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
