#pragma once

#include <QByteArray>
#include <QDialog>
#include <QList>
#include <QStringList>

namespace Ui {
class Sounds;
}

// Voice messages: the sound files to upload and the upload's progress.
class Sounds : public QDialog {
    Q_OBJECT

public:
    static constexpr int kWavHeaderSize = 44;
    static constexpr int kFirstPacketData = 250;
    static constexpr int kPacketData = 256;

    explicit Sounds(QWidget* parent = nullptr);
    ~Sounds() override;

    // The packets of sound `number` (from 1) made from a whole WAV file: 'Y',
    // the number, the data size (4 bytes, little-endian) and the first data
    // bytes, then packets of 256 data bytes; the last holds the rest. A file
    // no longer than its header gives no packets.
    static QList<QByteArray> BuildSoundPackets(int number, const QByteArray& wavFile);

    // The sound files, in upload order.
    QStringList soundFiles;

signals:
    void SigStartSoundProgramm();

public slots:
    void ChangeTypeVersion();
    void ProgrammingClick();
    void SetWriteProgress(int code, int nSound, int nPack);

private:
    Ui::Sounds* ui;
};
