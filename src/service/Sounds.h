#pragma once

#include "service/SoundFiles.h"

#include <QDate>
#include <QDialog>
#include <QModelIndex>

class QLabel;
class QProgressBar;
class QStatusBar;
class SoundTable;

namespace Ui {
class Sounds;
}

// The voice messages of a device in autonomous mode: the list of WAV files,
// its check against the device's memory, playlists, the sound image file and
// the upload to the device with its progress.
class Sounds : public QDialog {
    Q_OBJECT

public:
    explicit Sounds(QWidget* parent = nullptr);
    ~Sounds() override;

    // The playlist for a device type and firmware date: the one made for
    // that firmware, else the one for the device's loop count, else
    // "./sound/DefaultSounds.playlist" whether it exists or not.
    static QString DefaultPlaylistPath(int deviceType, const QDate& firmware);

    // The data size of rows 0 to n - 1, or -1 at the first row without a
    // usable file (its number goes to badFileNumber).
    qint64 TotalSoundSize(int n);

    QDialog* progressDialog;
    QLabel* totalLabel;
    QLabel* fileLabel;
    QLabel* sizeLabel;
    QLabel* statusLabel;
    QProgressBar* totalBar;
    QProgressBar* fileBar;
    QStatusBar* statusBar;
    SoundTable* soundTable;
    int soundCount = kMaxSounds;
    qint64 fileBytesWritten = 0;
    qint64 totalBytesWritten = 0;

signals:
    void SigStartSoundProgramm();
    // The user gave up the running upload: the link stops feeding it.
    void SigStopSoundProgramm();

public slots:
    void EditCurrentRow(const QModelIndex& index);
    void SetNewSoundSize(int value);
    bool LoadPlayList(const QString& path);
    void ChangeTypeVersion();
    void ExecSavePlaylistDialog();
    void ExecLoadPlaylistDialog();
    bool ControlSizeClick();
    void SaveImageClick();
    void ProgrammingClick();
    void SetWriteProgress(int code, int nSound, int nPack);
    // Escape or the close button of the progress window: the upload ends
    // here and in the link, so block 21 is free for the next one.
    void CancelUpload();

private:
    // The status text for a total: an error (a bad file or no message at
    // all), over the size limit, or ready.
    QString Verdict(qint64 total) const;
    QString CountText(qint64 total) const;
    void WarnNotWritten(const QString& fileName);
    void EndUpload();

    Ui::Sounds* ui;
    int badFileNumber = 0;
    // The packets handed to the link, for the progress display: the link
    // empties block 21 while reports may still be on their way.
    SoundPacketList sentPackets;
    // From the hand-over to the link until the upload's end; reports that
    // come outside it belong to an upload given up and are not shown.
    bool uploading = false;
};
