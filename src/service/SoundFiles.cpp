#include "service/SoundFiles.h"

#include "settings/SettingsIniFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QtEndian>

namespace {

const QString kCountKey = QStringLiteral("Sound_count/soundCount");
const QString kSoundGroup = QStringLiteral("Sound");
constexpr char kErased = char(0xFF);
constexpr quint32 kSampleRate = 8000;

QByteArray LittleEndian32(quint32 v) {
    char b[4];
    qToLittleEndian(v, b);
    return QByteArray(b, 4);
}

} // namespace

int IsWavFile(const QString& path) {
    if (path.isEmpty())
        return -1;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const qint64 fileSize = file.size();
    const QByteArray h = file.read(kWavHeaderSize);
    file.close();
    if (h.size() < kWavHeaderSize)
        return -1;
    const uchar* p = reinterpret_cast<const uchar*>(h.constData());
    const qint64 riffSize = qFromLittleEndian<quint32>(p + 4);
    const qint32 dataSize = qFromLittleEndian<qint32>(p + 40);
    const bool ok = h.startsWith("RIFF") && riffSize == fileSize - 8 && h.mid(8, 8) == "WAVEfmt " &&
                    p[20] == 1 && p[22] == 1 && qFromLittleEndian<quint32>(p + 24) == kSampleRate &&
                    p[34] == 8 && dataSize < qint32(quint32(riffSize)) && dataSize >= 0 &&
                    kWavHeaderSize + qint64(dataSize) <= fileSize;
    return ok ? dataSize : -1;
}

QByteArray ReadSoundData(const QString& path, int size) {
    if (size < 0)
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(qint64(size) + kWavHeaderSize).mid(kWavHeaderSize);
}

QList<QByteArray> CutSoundPackets(int row, int size, const QByteArray& data) {
    QByteArray first;
    first.append('Y');
    first.append(char((row + 1) & 0xFF));
    first.append(LittleEndian32(quint32(size)));
    first.append(data.left(kFirstPacketData));
    QList<QByteArray> packets{first};
    qsizetype pos = qMin<qsizetype>(kFirstPacketData, data.size());
    while (data.size() - pos > kPacketData) {
        packets << data.mid(pos, kPacketData);
        pos += kPacketData;
    }
    packets << data.mid(pos);
    return packets;
}

SoundPacketList BuildSoundPackets(const QList<SoundRow>& rows, int* badRow) {
    SoundPacketList all;
    for (int i = 0; i < rows.size(); ++i) {
        const SoundRow& r = rows.at(i);
        const QByteArray data = ReadSoundData(r.path, r.size);
        if (r.size < 0 || data.size() != r.size) {
            if (badRow)
                *badRow = i;
            return {};
        }
        all << CutSoundPackets(i, r.size, data);
    }
    return all;
}

QByteArray BuildSoundImage(const QList<SoundRow>& rows) {
    QByteArray image(kSoundImageSize, kErased);
    qint64 pos = kSoundDirectorySize;
    const int entries = qMin(int(rows.size()), kSoundDirectorySize / 4);
    for (int i = 0; i < entries; ++i) {
        QByteArray data = ReadSoundData(rows.at(i).path, rows.at(i).size);
        if (data.size() < kSoundImageMinData)
            data.append(QByteArray(kSoundImageMinData - data.size(), kErased));
        if (pos + data.size() > image.size())
            image.resize(pos + data.size());
        image.replace(pos, data.size(), data);
        image.replace(4 * i, 4, LittleEndian32(quint32(pos + data.size() - 1)));
        pos += data.size();
    }
    return image;
}

qint64 TotalSoundSize(const QList<SoundRow>& rows, int* badFileNumber) {
    qint64 total = 0;
    for (int k = 0; k < rows.size(); ++k) {
        if (rows.at(k).size < 0) {
            if (badFileNumber)
                *badFileNumber = k + 1;
            return -1;
        }
        total += rows.at(k).size;
    }
    return total;
}

bool ReadPlaylist(const QString& fileName, QList<PlaylistEntry>* entries) {
    if (!entries || !QFileInfo(fileName).isFile())
        return false;
    IniFileStore store(fileName);
    if (!store.isOpen())
        return false;
    QSettings& ini = *store.settings();
    if (ini.status() != QSettings::NoError || !ini.contains(kCountKey))
        return false;
    const int count = qBound(0, ini.value(kCountKey).toInt(), kMaxSounds);
    QList<PlaylistEntry> read;
    ini.beginGroup(kSoundGroup);
    for (int n = 1; n <= count; ++n) {
        const QString nameKey = QStringLiteral("Name%1").arg(n);
        if (!ini.contains(nameKey))
            break;
        read.append(
            {IniTextValue(ini, nameKey), IniTextValue(ini, QStringLiteral("Path%1").arg(n))});
    }
    ini.endGroup();
    *entries = read;
    return true;
}

bool WritePlaylist(const QString& fileName, const QList<PlaylistEntry>& entries) {
    IniFileStore store(fileName);
    if (!store.isOpen())
        return false;
    QSettings& ini = *store.settings();
    ini.setValue(kCountKey, int(entries.size()));
    ini.beginGroup(kSoundGroup);
    for (int i = 0; i < entries.size(); ++i) {
        ini.setValue(QStringLiteral("Name%1").arg(i + 1), entries.at(i).name);
        ini.setValue(QStringLiteral("Path%1").arg(i + 1), entries.at(i).path);
    }
    ini.endGroup();
    return store.commit();
}
