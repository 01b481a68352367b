#include "service/Sounds.h"

#include "settings/DeviceSettings.h"
#include "settings/Prompt.h"
#include "ui_Sounds.h"

#include <QFile>
#include <QtEndian>

Sounds::Sounds(QWidget* parent) : QDialog(parent), ui(new Ui::Sounds) {
    ui->setupUi(this);
    connect(ui->pbWriteSounds, &QPushButton::clicked, this, &Sounds::ProgrammingClick);
    connect(ui->pbCancel, &QPushButton::clicked, this, &QDialog::reject);
}

Sounds::~Sounds() {
    delete ui;
}

QList<QByteArray> Sounds::BuildSoundPackets(int number, const QByteArray& wavFile) {
    QList<QByteArray> packets;
    if (wavFile.size() <= kWavHeaderSize)
        return packets;
    const QByteArray data = wavFile.mid(kWavHeaderSize);
    QByteArray first;
    first.append('Y');
    first.append(char(number & 0xFF));
    char size[4];
    qToLittleEndian<quint32>(quint32(data.size()), size);
    first.append(size, 4);
    first.append(data.left(kFirstPacketData));
    packets << first;
    for (qsizetype pos = kFirstPacketData; pos < data.size(); pos += kPacketData)
        packets << data.mid(pos, kPacketData);
    return packets;
}

void Sounds::ChangeTypeVersion() {
    ui->countLabel->setText(QStringLiteral("Сообщений: %1").arg(soundFiles.size()));
}

void Sounds::ProgrammingClick() {
    if (soundFiles.isEmpty() || !g_deviceSettings)
        return;
    if (prompt().message(Prompt::Question, this, QStringLiteral("Подтверждение"),
                         QStringLiteral("Записать звуковые сообщения?"), Prompt::Yes | Prompt::No,
                         Prompt::No) != Prompt::Yes)
        return;
    QList<QList<QByteArray>> all;
    for (int i = 0; i < soundFiles.size(); ++i) {
        QFile f(soundFiles.at(i));
        if (!f.open(QIODevice::ReadOnly)) {
            prompt().message(Prompt::Critical, this, QStringLiteral("Ошибка"),
                             QStringLiteral("Не удалось прочитать файл %1").arg(soundFiles.at(i)));
            return;
        }
        all << BuildSoundPackets(i + 1, f.readAll());
    }
    g_deviceSettings->sounds->packets = all;
    emit SigStartSoundProgramm();
}

void Sounds::SetWriteProgress(int code, int nSound, int nPack) {
    ui->statusLabel->setText(
        QStringLiteral("Состояние %1: сообщение %2, пакет %3").arg(code).arg(nSound).arg(nPack));
}
