// The receive parser fed any bytes in chunks of any size, with read-timer
// expiries, the program's commands and the operator's breaks in between, in
// every mode. Its buffers must stay bounded and what it reports must make
// sense.

#include "FuzzSupport.h"

#include "link/LinkTiming.h"
#include "link/Protocol.h"
#include "link/ReadRecBaseThread.h"
#include "settings/DeviceSettings.h"
#include "settings/Firmware.h"

namespace {

class ParserOnly : public ReadRecBaseThread {
public:
    qint64 written = 0;
    ParserOnly() { portOpen = true; }
    void WriteData(const QByteArray& data, int) override { written += data.size(); }
    bool ClosePort() override { return true; }
    bool OpenPort(int, ulong&) override { return true; }
    void Feed(const QByteArray& bytes) {
        chunk = bytes;
        ReceptByte();
        chunk.clear();
    }

protected:
    void run() override {}
};

// A thermometer frame still arriving (255 records) and one more chunk.
constexpr int kMaxWaiting = 20 * 255 + 3 + 256;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A read of an image with an unknown access point adds to "GSM.cfg".
    static const bool entered = !FuzzWorkDir(true).isEmpty();
    (void)entered;
    static DeviceSettings settings;
    FuzzInput in(data, size);
    SetDefaultSettings(&settings, false);
    SetFirmwareVersion(*settings.header,
                       FuzzFirmwareVersions().at(in.below(int(FuzzFirmwareVersions().size()))));
    settings.sounds->packets = {{"a0", "a1"}, {"b0"}};
    g_deviceSettings = &settings;

    ParserOnly t;
    QObject::connect(&t, &ReadRecBaseThread::SigTransTestPack, [](bool, const QByteArray& pack) {
        FUZZ_CHECK(pack.size() <= proto::kTestPacketMax, "a test packet past its length");
        for (int m = 1; m < 8; ++m) {
            bool ok = false;
            proto::TestPacketLoopCode(pack, m, &ok);
            FUZZ_CHECK(ok == (2 * m < pack.size() - 1), "a loop pair read past the final M");
        }
    });
    QObject::connect(&t, &ReadRecBaseThread::SigSetupVersion,
                     [](const QString& version, uchar, uchar) {
                         // Empty when a reset forgets the device.
                         FUZZ_CHECK(version.isEmpty() || version.size() == 10,
                                    "a version that is not a date text");
                     });
    QObject::connect(&t, &ReadRecBaseThread::SigImageEEPROMTransfer, [](const QByteArray& img) {
        FUZZ_CHECK(img.size() <= 3840, "a memory read past the memory");
    });

    while (!in.empty()) {
        const int op = in.byte();
        switch (op % 12) {
        case 0:
            t.TimeOut();
            break;
        case 1:
            t.BreakOperation();
            break;
        case 2:
            t.BreakReadEEPROM();
            break;
        case 3:
            t.ResetAll();
            break;
        case 4: // the read command, as PortWork starts it
            t.BeginMemoryRead();
            break;
        case 5:
            t.AppendTestCommand(in.below(proto::TC_DEL_KEY_LAST + 3) - 2);
            break;
        case 6:
            t.ClearTestCommands();
            break;
        case 7: { // test mode, the key table and the key write
            QMutexLocker l(&t.stateMutex);
            t.testMode = op & 0x10;
            t.keyWriteMode = op & 0x20;
            t.currentCommand = (op & 0x40) ? proto::TC_KEYS_REQUESTED : 0;
            break;
        }
        case 8:
            t.imageForTransfer = op & 0x10;
            break;
        case 9: // an upload begun, or given up
            if (op & 0x10) {
                t.DropSoundUpload(op & 0x20);
            } else {
                settings.sounds->packets = {{"a0", "a1"}, {"b0"}};
                t.BeginSoundUpload();
            }
            break;
        default: // bytes from the device, a chunk of 1..64
            t.Feed(in.take(in.byte() % 64 + 1));
            break;
        }
        QMutexLocker l(&t.stateMutex);
        FUZZ_CHECK(t.rxBuffer.size() <= kMaxWaiting, "the receive buffer grew past a frame");
        FUZZ_CHECK(t.packBuffer.size() <= 256, "the packet buffer grew past a key table");
        FUZZ_CHECK(t.eepromImage.size() <= 3840, "a memory read past the memory");
        FUZZ_CHECK(t.blockCounter >= 0 && t.blockCounter <= 400, "a block counter past a read");
    }
    g_deviceSettings = nullptr;
    return 0;
}
