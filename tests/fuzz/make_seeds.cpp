// Writes the seed corpora of the fuzz targets from what the program's own
// writers and the simulated device produce, each in the input form its
// target reads. Run by hand from the build tree when a format changes:
//     fuzz_seeds <source>/tests/fuzz/corpus

#include "settings/DeviceSettings.h"
#include "settings/Firmware.h"
#include "settings/ImageEEPROM.h"
#include "settings/OperatorPresetFile.h"
#include "settings/SensorTypes.h"
#include "settings/SettingsIniFile.h"
#include "settings/TextCodec.h"
#include "sim/SimDevice.h"
#include "support/Files.h"
#include "support/SettingsFixtures.h"

#include "FuzzSupport.h"

#include <QCoreApplication>
#include <QCryptographicHash>

using namespace fixtures;

namespace {

QString g_root;

void Seed(const char* target, const QByteArray& bytes) {
    const QString folder = g_root + '/' + target;
    QDir().mkpath(folder);
    const QByteArray name = QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex();
    WriteAll(folder + '/' + QString::fromLatin1(name.left(16)), bytes);
}

QByteArray Byte(int v) {
    return QByteArray(1, char(v));
}

// A file through one of the program's writers, as bytes.
template <typename Write> QByteArray Written(Write write) {
    QTemporaryDir dir;
    const QString file = dir.filePath("GSM.cfg");
    write(file, dir.path());
    return ReadAll(file);
}

// The parser target's form: op 9 (a chunk) with its length, per chunk.
QByteArray AsChunks(const QList<QByteArray>& frames, int chunk) {
    QByteArray out;
    for (const QByteArray& f : frames)
        for (int pos = 0; pos < f.size(); pos += chunk)
            out += Byte(9) + Byte(qMin(chunk, int(f.size()) - pos) - 1) + f.mid(pos, chunk);
    return out;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds <corpus folder>\n");
        return 2;
    }
    g_root = QString::fromLocal8Bit(argv[1]);
    const QStringList& versions = FuzzFirmwareVersions();
    const QList<int> picked = {0, 11, 17, 20};

    for (int v : picked) {
        const QString version = versions.at(v);
        for (const DeviceSettings& s : {Defaults(version), Rich(version)}) {
            Seed("fuzz_settingsfile", Byte(v) + Written([&s](const QString& f, const QString&) {
                                          SaveSettingsFile(f, &s);
                                      }));
            QByteArray image = ImageEEPROM::BuildImage(s);
            Seed("fuzz_imagedecode", Byte(v) + Byte(0) + image);
            Seed("fuzz_imagedecode", Byte(v) + Byte(1 + 2 * 3) + image.left(700));
        }
    }

    const QList<GsmOperator> ops = Operators();
    Seed("fuzz_operatorfile", Byte(1) + Written([&ops](const QString&, const QString& dir) {
                                  OperatorPresetFile(dir).write(ops);
                              }));
    Seed("fuzz_operatorfile", Byte(0) + Written([&ops](const QString&, const QString& dir) {
                                  QList<GsmOperator> list = ops.mid(0, 1);
                                  OperatorPresetFile(dir).write(list);
                                  OperatorPresetFile(dir).append(&list, ops.at(2));
                              }));
    Seed("fuzz_operatorfile", Byte(0));

    // Sensor files: code, name and unit at their places, the table stretched
    // from the head by the target.
    for (int i = 0; i < 3; ++i) {
        QByteArray head(sensorfile::kTableOffset + 16, '\0');
        head[sensorfile::kCodeA] = char(i);
        head[sensorfile::kCodeB] = char(i == 2 ? 0xF0 : 0x10 + i);
        head.replace(sensorfile::kNameOffset, 6, ToCp1251(QStringLiteral("Датчик")));
        head.replace(sensorfile::kUnitOffset, 2, ToCp1251(QStringLiteral("°C")));
        while (head.size() % 4)
            head.append('\0');
        QByteArray one = Byte(1) + Byte(2 * i + 1) + Byte(int(head.size()) / 4) + head;
        Seed("fuzz_sensortypes", one + Byte(i) + QByteArray(8, char(i)));
    }

    using S = SimDevice;
    const QDate newest(2012, 4, 19), old(2010, 1, 10);
    QList<QByteArray> read = {S::Greeting(), S::ReadyPacket(3, newest, 1)};
    for (int b = 1; b <= 6; ++b)
        read << S::MemoryFrame(b, QByteArray(10, char('Z' + b)), true);
    read << S::MemoryFrame(384, QByteArray(10, 'e'), true);
    Seed("fuzz_receiveparser", Byte(20) + Byte(4) + AsChunks(read, 7));
    QList<QByteArray> oldRead = {S::ReadyPacket(1, old, 1)};
    for (int b = 1; b <= 4; ++b)
        oldRead << S::MemoryFrame(b, QByteArray(11, 'Z'), false);
    oldRead << S::MemoryFrame(0x5E, {}, false);
    Seed("fuzz_receiveparser", Byte(4) + Byte(4) + AsChunks(oldRead, 15));
    Seed("fuzz_receiveparser",
         Byte(20) + AsChunks({S::Request("CRAA"), S::Request("CR99"), S::Request("CR55"),
                              S::Request("CRZZ"),
                              S::ServiceFrame(2, "\0"
                                                 "24/05/17,10:20:30"),
                              S::ServiceFrame(5, "17"), S::ServiceFrame(1, "\x01")},
                             5));
    Seed("fuzz_receiveparser", Byte(20) + Byte(7) + Byte(0x10) + Byte(5) + Byte(2) +
                                   AsChunks({"K012345678901M", "L0123456789ABM",
                                             S::KeyTableBlock(QByteArray(254, '\x11'))},
                                            14));
    Seed("fuzz_receiveparser",
         Byte(20) +
             AsChunks({S::Request("CRaa?"), S::Request("CR&&"), S::Request("CR--?"),
                       S::Request("CRGE"), S::Request("CRGA")},
                      8) +
             Byte(0) + Byte(1));

    for (uchar model : {0, 1, 2, 3, 4, 9})
        for (const QDate& date : {old, QDate(2010, 12, 3), newest, QDate(2018, 12, 18)})
            Seed("fuzz_announcement", S::ReadyPacket(model, date, model == 0 ? 0 : 33));
    return 0;
}
