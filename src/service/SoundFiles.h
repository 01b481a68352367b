#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The files behind the voice-message list: WAV files, playlists, the upload
// packets and the sound memory image. No window is needed for any of them.

constexpr int kMaxSounds = 160;     // rows of the list, and messages a device holds
constexpr int kWavHeaderSize = 44;  // the canonical header; the data follow it
constexpr int kSoundHeaderSize = 6; // 'Y', message number, data size
constexpr int kFirstPacketData = 250;
constexpr int kPacketData = 256;
constexpr int kSoundDirectorySize = 4096;    // the image's table of end offsets
constexpr int kSoundImageSize = 4096 * 1024; // the device's sound memory
constexpr int kSoundImageMinData = 10;       // shorter data are padded with FF

// One message of the list: the WAV file and the data size it gave.
struct SoundRow {
    QString path;
    int size = -1; // -1: no usable file
};

// One message of a playlist.
struct PlaylistEntry {
    QString name;
    QString path;
};

using SoundPacketList = QList<QList<QByteArray>>;

// The data size D of an 8000 Hz, 8-bit, mono PCM WAV file with the canonical
// 44-byte header, or -1 when the file cannot be used: missing, shorter than
// its header, a header that does not say so, a RIFF size other than the
// file's size less 8, or a data size that is negative or runs past the file.
int IsWavFile(const QString& path);

// Up to `size` data bytes of the file, from byte 44 on; fewer when the file
// ends earlier, none when it cannot be read or `size` is negative.
QByteArray ReadSoundData(const QString& path, int size);

// The packets of message `row` (from 0): 'Y', (row + 1) & 0xFF, `size` as
// four little-endian bytes and the first 250 data bytes; then 256 data bytes
// each while more than 256 remain; then the rest, which is empty when all
// data fit the first packet.
QList<QByteArray> CutSoundPackets(int row, int size, const QByteArray& data);

// The packets of every row, in order. A row whose file no longer holds the
// data size it was chosen with makes the result empty, *badRow its index;
// the device would otherwise wait for bytes that never come.
SoundPacketList BuildSoundPackets(const QList<SoundRow>& rows, int* badRow);

// The sound memory image: a directory of the absolute offsets of each
// message's last byte (32-bit little-endian), 0xFF up to 4096, then the data
// back to back (each at least 10 bytes, padded with 0xFF), 0xFF up to 4 MiB;
// longer when the data run past 4 MiB.
QByteArray BuildSoundImage(const QList<SoundRow>& rows);

// The total data size of the rows, or -1 at the first row without a usable
// file, whose 1-based number then goes to *badFileNumber.
qint64 TotalSoundSize(const QList<SoundRow>& rows, int* badFileNumber);

// Reads a playlist: "soundCount" of group "Sound_count" (0 to 160), then
// "Name<n>" and "Path<n>" of group "Sound" for n = 1.., stopping at the first
// missing name. False when the file is missing, unreadable, damaged or has no
// count; *entries is then untouched.
bool ReadPlaylist(const QString& fileName, QList<PlaylistEntry>* entries);

// Writes the entries into the playlist, keeping other keys the file had.
// False when it could not be written; the old file is then left as it was.
bool WritePlaylist(const QString& fileName, const QList<PlaylistEntry>& entries);
