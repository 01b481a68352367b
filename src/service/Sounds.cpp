#include "service/Sounds.h"

#include "link/Protocol.h"
#include "service/SoundTable.h"
#include "settings/DeviceSettings.h"
#include "settings/Firmware.h"
#include "settings/Prompt.h"
#include "settings/SafeFile.h"
#include "ui_Sounds.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

const QString kSoundFolder = QStringLiteral("./sound");
const QString kDefaultPlaylist = QStringLiteral("./sound/DefaultSounds.playlist");
const QString kPlaylistFilter = QStringLiteral("Файлы PLAYLIST (*.playlist);;Все файлы (*.*)");
const QString kWarningTitle = QStringLiteral("Предупреждение");
const QString kErrorFound = QStringLiteral("Обнаружена ошибка!   ");
const QString kReady = QStringLiteral("Файлы готовы к записи!   ");
// Firmware before 03.12.2010 keeps at most 128 KiB of sound.
constexpr qint64 kOldFirmwareLimit = 128 * 1024;

QString BadFileText(int number) {
    return QStringLiteral("Обнаружена ошибка! Возможно файл №") + QString::number(number) +
           QStringLiteral(" повреждён.");
}

// The data bytes of a message's packets: all but the first packet's header.
qint64 DataBytes(const QList<QByteArray>& packets) {
    qint64 n = 0;
    for (const QByteArray& p : packets)
        n += p.size();
    return packets.isEmpty() ? 0 : n - kSoundHeaderSize;
}

} // namespace

Sounds::Sounds(QWidget* parent)
    : QDialog(parent), progressDialog(new QDialog(this)), totalLabel(new QLabel(progressDialog)),
      fileLabel(new QLabel(progressDialog)), sizeLabel(new QLabel(this)),
      statusLabel(new QLabel(this)), totalBar(new QProgressBar(progressDialog)),
      fileBar(new QProgressBar(progressDialog)), statusBar(new QStatusBar(this)),
      soundTable(new SoundTable(this)), ui(new Ui::Sounds) {
    ui->setupUi(this);

    progressDialog->setModal(true);
    progressDialog->setWindowTitle(QStringLiteral("Запись речевых сообщений"));
    progressDialog->setMinimumSize(400, 120);
    progressDialog->setMaximumSize(400, 120);
    auto* progressLayout = new QVBoxLayout(progressDialog);
    for (QProgressBar* bar : {fileBar, totalBar}) {
        bar->setAlignment(Qt::AlignCenter);
        bar->setTextVisible(false);
    }
    progressLayout->addWidget(fileLabel);
    progressLayout->addWidget(fileBar);
    progressLayout->addWidget(totalLabel);
    progressLayout->addWidget(totalBar);

    statusBar->setSizeGripEnabled(false);
    statusBar->addPermanentWidget(statusLabel);
    statusBar->addPermanentWidget(sizeLabel);
    sizeLabel->setText(QStringLiteral("Текущий объём данных: 0 байт"));
    ui->gridLayout->addWidget(statusBar, 2, 0, 1, 4);

    ui->tvSounds->setModel(soundTable);
    ui->tvSounds->setColumnWidth(0, 100);
    ui->tvSounds->setColumnWidth(1, 390);
    ui->tvSounds->setColumnWidth(2, 100);
    ui->tvSounds->horizontalHeader()->setSectionsClickable(false);
    auto* delegate = new SoundPathDelegate(this);
    ui->tvSounds->setItemDelegateForColumn(1, delegate);

    connect(delegate, &SoundPathDelegate::SigSetNewFileSize, this, &Sounds::SetNewSoundSize);
    connect(ui->tvSounds, &QTableView::clicked, this, &Sounds::EditCurrentRow);
    connect(ui->tbLoad, &QToolButton::clicked, this, &Sounds::ExecLoadPlaylistDialog);
    connect(ui->tbSave, &QToolButton::clicked, this, &Sounds::ExecSavePlaylistDialog);
    connect(ui->pbTestSize, &QPushButton::clicked, this, &Sounds::ControlSizeClick);
    connect(ui->tbCreateImage, &QToolButton::clicked, this, &Sounds::SaveImageClick);
    connect(ui->pbWriteSounds, &QPushButton::clicked, this, &Sounds::ProgrammingClick);
    connect(ui->pbCancel, &QPushButton::clicked, this, &QWidget::hide);
    connect(progressDialog, &QDialog::rejected, this, &Sounds::CancelUpload);

    LoadPlayList(kDefaultPlaylist);
}

Sounds::~Sounds() {
    delete ui;
}

QString Sounds::DefaultPlaylistPath(int deviceType, const QDate& firmware) {
    int loops = 0;
    if (deviceType == DEV_D4M)
        loops = 4;
    else if (deviceType == DEV_D8M)
        loops = 8;
    else if (deviceType == DEV_VororaZ || deviceType == DEV_VoduzeR)
        loops = 6;
    const QString base = QStringLiteral("./sound/Zididazizizo.sound") + QString::number(loops);
    const QString forFirmware =
        base + QLatin1Char('.') +
        (firmware.isValid() ? firmware.toString(QStringLiteral("ddMMyy")) : QString()) +
        QStringLiteral(".playlist");
    if (QFileInfo::exists(forFirmware))
        return forFirmware;
    const QString forFamily = base + QStringLiteral(".playlist");
    if (QFileInfo::exists(forFamily))
        return forFamily;
    return kDefaultPlaylist;
}

qint64 Sounds::TotalSoundSize(int n) {
    if (n < 1)
        return 0;
    return ::TotalSoundSize(soundTable->Rows(n), &badFileNumber);
}

QString Sounds::Verdict(qint64 total) const {
    // A list without messages (a playlist counting none) is nothing to
    // write: its upload would start the device's sound mode and never feed it.
    if (total == -1 || soundCount < 1)
        return kErrorFound;
    const bool limited =
        !g_deviceSettings || !FwOnOrAfter(*g_deviceSettings->header, fw::k03_12_2010);
    if (limited && total > kOldFirmwareLimit)
        return QStringLiteral("Внимание! Размер файлов превышает 128 Кб.   ");
    return kReady;
}

QString Sounds::CountText(qint64 total) const {
    return QStringLiteral(" Количество файлов: %1.").arg(soundCount) +
           QStringLiteral(" Объём данных: ") + QString::number(total) + QStringLiteral(" байт");
}

void Sounds::WarnNotWritten(const QString& fileName) {
    prompt().message(Prompt::Warning, this, kWarningTitle,
                     QStringLiteral("Не удалось записать файл %1.").arg(fileName), Prompt::Ok);
}

void Sounds::EditCurrentRow(const QModelIndex& index) {
    if (!index.isValid() || index.column() == 1)
        return;
    const QModelIndex path = index.siblingAtColumn(1);
    ui->tvSounds->setCurrentIndex(path);
    if (!ui->tvSounds->indexWidget(path))
        ui->tvSounds->edit(path);
}

void Sounds::SetNewSoundSize(int) {
    // The delegate has put the chosen file's path and size into the model.
    sizeLabel->setText(QStringLiteral("Текущий объём данных: ") +
                       QString::number(TotalSoundSize(soundCount)) + QStringLiteral(" байт"));
}

bool Sounds::LoadPlayList(const QString& path) {
    QList<PlaylistEntry> entries;
    if (!ReadPlaylist(path, &entries))
        return false;
    soundCount = int(entries.size());
    for (int r = 0; r < soundCount; ++r) {
        soundTable->names[r] = entries.at(r).name;
        soundTable->paths[r] = entries.at(r).path;
        soundTable->sizes[r] = IsWavFile(entries.at(r).path);
    }
    soundTable->ResetTable();
    for (int r = 0; r < kMaxSounds; ++r)
        ui->tvSounds->setRowHidden(r, r >= soundCount);
    return true;
}

void Sounds::ChangeTypeVersion() {
    if (g_deviceSettings) {
        const DeviceHeader& h = *g_deviceSettings->header;
        LoadPlayList(DefaultPlaylistPath(h.deviceType, h.firmwareDate));
    }
    const qint64 total = TotalSoundSize(soundCount);
    sizeLabel->setText(CountText(total));
    statusLabel->setText(Verdict(total));
}

void Sounds::ExecSavePlaylistDialog() {
    const QString file =
        prompt().saveFileName(nullptr, QStringLiteral("Сохранение списка речевых сообщений"),
                              kSoundFolder, kPlaylistFilter);
    if (file.isEmpty())
        return;
    QList<PlaylistEntry> entries;
    for (int r = 0; r < soundCount; ++r)
        entries.append({soundTable->names.at(r), soundTable->paths.at(r)});
    if (!WritePlaylist(file, entries))
        WarnNotWritten(file);
}

void Sounds::ExecLoadPlaylistDialog() {
    const QString file =
        prompt().openFileName(nullptr, QStringLiteral("Загрузка списка речевых сообщений"),
                              kSoundFolder, kPlaylistFilter);
    if (file.isEmpty())
        return;
    if (LoadPlayList(file)) {
        ControlSizeClick();
        return;
    }
    prompt().message(Prompt::Warning, this, kWarningTitle,
                     QStringLiteral("Не удалось загрузить файл. Возможно файл повреждён."),
                     Prompt::Ok);
}

bool Sounds::ControlSizeClick() {
    const qint64 total = TotalSoundSize(soundCount);
    if (total == -1) {
        statusLabel->setText(kErrorFound);
        sizeLabel->clear();
        prompt().message(Prompt::Warning, this, kWarningTitle, BadFileText(badFileNumber),
                         Prompt::Ok);
        return false;
    }
    sizeLabel->setText(CountText(total));
    const QString verdict = Verdict(total);
    statusLabel->setText(verdict);
    return verdict == kReady;
}

void Sounds::SaveImageClick() {
    if (soundCount >= 1 && TotalSoundSize(soundCount) == -1)
        prompt().message(Prompt::Warning, this, kWarningTitle,
                         QStringLiteral("Обнаружена ошибка! Возможно один из файлов повреждён."),
                         Prompt::Ok);
    const QString file = prompt().saveFileName(
        nullptr, QStringLiteral("Сохранение образа"), kSoundFolder,
        QStringLiteral("Файлы образов речевых сообщений (*.bin);;Все файлы (*.*)"));
    if (file.isEmpty())
        return;
    if (!WriteFileAtomically(file, BuildSoundImage(soundTable->Rows(soundCount))))
        WarnNotWritten(file);
}

void Sounds::ProgrammingClick() {
    if (!ControlSizeClick() || !g_deviceSettings)
        return;
    if (prompt().message(Prompt::Question, this, QStringLiteral("Подтверждение"),
                         QStringLiteral("Записать звуковые сообщения?"), Prompt::Yes | Prompt::No,
                         Prompt::No) != Prompt::Yes)
        return;
    // A file may have changed since it was chosen; the device must get the
    // data size its header announces.
    int badRow = -1;
    const SoundPacketList packets = BuildSoundPackets(soundTable->Rows(soundCount), &badRow);
    if (badRow >= 0) {
        statusLabel->setText(kErrorFound);
        prompt().message(Prompt::Warning, this, kWarningTitle, BadFileText(badRow + 1), Prompt::Ok);
        return;
    }
    // Block 21 is never replaced while the link may still read it.
    if (uploading)
        emit SigStopSoundProgramm();
    g_deviceSettings->sounds->packets = packets;
    sentPackets = packets;
    uploading = true;
    emit SigStartSoundProgramm();
}

void Sounds::EndUpload() {
    uploading = false;
    totalBar->setValue(0);
    fileBar->setValue(0);
    progressDialog->hide();
    totalBytesWritten = 0;
}

void Sounds::CancelUpload() {
    if (!uploading)
        return;
    emit SigStopSoundProgramm();
    statusLabel->setText(QStringLiteral("Запись сообщений прервана.   "));
    EndUpload();
}

void Sounds::SetWriteProgress(int code, int nSound, int nPack) {
    // Reports name messages and packets of the list handed over; one that
    // lies outside it moves no counter and no bar.
    if (!uploading)
        return;
    const bool knownSound = nSound >= 0 && nSound < sentPackets.size();
    const auto retryText = [nPack] { return QString::number(qAbs(qint64(nPack)) + 1); };
    switch (code) {
    case 0: {
        if (!knownSound || nPack < 0 || nPack >= sentPackets.at(nSound).size())
            return;
        const qint64 total = TotalSoundSize(soundCount);
        if (!progressDialog->isVisible()) {
            progressDialog->show();
            int all = 0;
            for (const auto& message : sentPackets)
                all += int(message.size());
            fileBar->setMaximum(int(sentPackets.at(0).size()));
            totalBar->setMaximum(all);
            fileBar->setValue(0);
            totalBar->setValue(0);
            fileBytesWritten = 0;
            totalBytesWritten = 0;
        }
        totalBar->setValue(totalBar->value() + 1);
        const qint64 bytes =
            sentPackets.at(nSound).at(nPack).size() - (nPack == 0 ? kSoundHeaderSize : 0);
        fileBytesWritten += bytes;
        totalBytesWritten += bytes;
        fileBar->setValue(nPack);
        fileLabel->setText(QStringLiteral("Файл №") + QString::number(nSound + 1) +
                           QStringLiteral(": ") + QString::number(fileBytesWritten) +
                           QStringLiteral(" из ") + QString::number(soundTable->sizes.at(nSound)) +
                           QStringLiteral(" байт записано"));
        totalLabel->setText(QStringLiteral("Всего: ") + QString::number(totalBytesWritten) +
                            QStringLiteral(" из ") + QString::number(total) +
                            QStringLiteral(" байт записано"));
        return;
    }
    case 1:
        if (nSound != 0)
            statusLabel->setText(QStringLiteral("Речевое сообщение №") + QString::number(nSound) +
                                 QStringLiteral(" успешно записано!   "));
        if (knownSound) {
            fileBar->setMaximum(int(sentPackets.at(nSound).size()));
            fileBytesWritten = 0;
        }
        return;
    case 2:
        uploading = false;
        statusLabel->setText(QStringLiteral("Сообщения успешно записаны!   "));
        progressDialog->hide();
        totalBar->setValue(0);
        fileBar->setValue(0);
        return;
    case 3:
        statusLabel->setText(QStringLiteral("Ошибка записи! Попытка перезаписи сообщения №") +
                             retryText() + QStringLiteral(".   "));
        if (knownSound) {
            qint64 bytes = 0;
            int packets = 0;
            for (int m = 0; m < nSound; ++m) {
                bytes += DataBytes(sentPackets.at(m));
                packets += int(sentPackets.at(m).size());
            }
            totalBytesWritten = bytes;
            totalBar->setValue(packets);
            fileBytesWritten = 0;
        }
        return;
    case 4:
        statusLabel->setText(QStringLiteral("Ошибка записи! Попытка записи №") + retryText() +
                             QStringLiteral(".   "));
        return;
    case 5:
        statusLabel->setText(QStringLiteral("Ошибка записи! Прибор не отвечает.   "));
        EndUpload();
        return;
    case 6:
        statusLabel->setText(
            QStringLiteral("Ошибка записи! Не удалось записать сообщение в прибор.   "));
        EndUpload();
        return;
    case 7:
        statusLabel->setText(
            QStringLiteral("Ошибка записи! Перезапустите устройство и попробуйте снова.   "));
        EndUpload();
        return;
    case proto::kSoundBrokenOff:
        statusLabel->setText(QStringLiteral("Ошибка записи! Связь с прибором прервана.   "));
        EndUpload();
        return;
    }
}
