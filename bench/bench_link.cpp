// A full programming run and a full 3840-byte memory read through the real
// PortWork and receive threads against the simulated device pacing both
// directions at the 9600-baud wire rate: over the COM layer and a
// pseudo-terminal, then over the USB layer (the in-memory adapter, bridged to
// the device's pseudo-terminal) with the adapter's defaults (16 ms latency
// timer, no event character) and with what the program sets. Prints each run's time beside the wire
// time of the bytes exchanged, and for the USB path with the program's setup whether it stays
// within 1.05 of the wire time. Run by hand; exits with 1 when a run fails.
//
// The in-memory adapter holds received bytes like the real one: until its
// latency timer, counted from the last packet it handed over, runs out. The
// device answers a fixed time after the program's acknowledgement, which the
// program sends right after such a packet, so every memory frame meets the
// timer at the same point of its period; what the timer costs per frame
// therefore depends on the turnaround times of this machine.

#include "link/ComPort.h"
#include "link/FakeUsbLayer.h"
#include "link/PortWork.h"
#include "link/ReadRecBaseThread.h"
#include "settings/DeviceSettings.h"
#include "settings/ImageEEPROM.h"
#include "sim/SimDevice.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <atomic>
#include <cstdio>
#include <functional>
#include <thread>
#include <utility>

namespace {
constexpr double kWireBytesPerSecond = 960.0;
constexpr double kUsbRatioLimit = 1.05;

// Runs the event loop until `signal` of `port` fires or 120 s pass.
template <typename Signal> bool WaitFor(PortWork& port, Signal signal) {
    QEventLoop loop;
    bool fired = false;
    auto c = QObject::connect(&port, signal, &loop, [&] {
        fired = true;
        loop.quit();
    });
    QTimer::singleShot(120000, &loop, &QEventLoop::quit);
    loop.exec();
    QObject::disconnect(c);
    return fired;
}

double Report(const char* path, const char* what, qint64 ms, const SimDevice& sim) {
    const qint64 bytes = sim.BytesSent() + sim.BytesReceived();
    const double wireMs = 1000.0 * double(bytes) / kWireBytesPerSecond;
    const double ratio = double(ms) / wireMs;
    std::printf("%-22s %-12s %6lld bytes  %8.1f ms  wire %8.1f ms  ratio %.3f\n", path, what,
                static_cast<long long>(bytes), double(ms), wireMs, ratio);
    std::fflush(stdout);
    return ratio;
}

// The simulated device behind the in-memory USB adapter: what the program
// writes goes out on the device's line, and what the device sends is fed to
// the adapter as it comes off the line, at the wire's pace.
class UsbBridge {
public:
    FakeUsbLayer fake;

    bool Start(const QString& linePath) {
        int err = 0;
        if (!line_.Open(linePath, err))
            return false;
        fake.AddDevice("BENCH1", "USB <-> Serial");
        fake.onWrite = [this](int, const QByteArray& bytes) {
            line_.Write(bytes.constData(), int(bytes.size()), 2000);
        };
        reader_ = std::thread([this] {
            char buffer[256];
            while (!quit_) {
                if (line_.WaitForData(5) != ComPort::Wait::Data)
                    continue;
                const int n = line_.Read(buffer, int(sizeof buffer));
                if (n > 0)
                    fake.Feed(0, QByteArray(buffer, n));
            }
        });
        SetUsbLayer(&fake);
        return true;
    }
    ~UsbBridge() {
        quit_ = true;
        if (reader_.joinable())
            reader_.join();
        SetUsbLayer(nullptr);
    }

private:
    ComPort line_;
    std::thread reader_;
    std::atomic<bool> quit_{false};
};

struct Ratios {
    double programming = 0;
    double read = 0;
    bool ok = false;
};

enum class Path { Com, UsbDefaultTimer, UsbProgramTimer };

Ratios Run(Path path, DeviceSettings& settings) {
    const char* label = path == Path::Com               ? "COM"
                        : path == Path::UsbDefaultTimer ? "USB, adapter defaults"
                                                        : "USB, program's setup";
    Ratios r;
    SimDevice sim;
    sim.SetIdentity(3, settings.header->firmwareDate, 1);
    DeviceSettings source(settings);
    source.connection->objectNumber = "4321";
    sim.SetMemoryImage(ImageEEPROM::BuildImage(source));
    if (!sim.Start()) {
        std::fprintf(stderr, "no pseudo-terminal\n");
        return r;
    }
    sim.SetPaced(true);
    UsbBridge bridge;
    PortWork port;
    ulong err = 0;
    bool open = false;
    if (path == Path::Com) {
        open = port.readThread->OpenPort(AddComPortPath(sim.SlavePath()), err);
    } else if (bridge.Start(sim.SlavePath())) {
        if (path == Path::UsbDefaultTimer)
            bridge.fake.PinLatencyTimer(0, FakeUsbLayer::kDefaultLatencyMs);
        port.CreateReadThread(false);
        open = port.readThread->OpenPort(0, err);
    }
    if (!open) {
        std::fprintf(stderr, "%s: cannot open the port (%lu)\n", label, err);
        return r;
    }
    sim.SendGreeting();
    if (!WaitFor(port, &PortWork::SigSetupVersion)) {
        std::fprintf(stderr, "%s: no ready packet\n", label);
        return r;
    }

    settings.connection->objectNumber = "0001";
    sim.ResetCounters();
    QElapsedTimer t;
    t.start();
    port.StartProgramming();
    const bool programmed = WaitFor(port, &PortWork::SigProgrammingOk);
    if (programmed)
        r.programming = Report(label, "programming", t.elapsed(), sim);

    sim.ResetCounters();
    t.restart();
    port.ReadEEPROMClick();
    const bool read =
        WaitFor(port, &PortWork::SigFillFields) && settings.connection->objectNumber == "4321";
    if (read)
        r.read = Report(label, "memory read", t.elapsed(), sim);

    port.ClosePort();
    sim.Stop();
    r.ok = programmed && read;
    if (!r.ok)
        std::fprintf(stderr, "%s: a run failed\n", label);
    return r;
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    qputenv("QT_LOGGING_RULES", "*.debug=false");

    DeviceSettings settings;
    SetDefaultSettings(&settings, false);
    settings.header->firmwareDate = QDate(2012, 4, 19);
    settings.header->firmwareSubVersion = 1;
    g_deviceSettings = &settings;

    const Ratios com = Run(Path::Com, settings);
    const Ratios usbDefault = Run(Path::UsbDefaultTimer, settings);
    const Ratios usb = Run(Path::UsbProgramTimer, settings);
    g_deviceSettings = nullptr;

    const bool ok = com.ok && usbDefault.ok && usb.ok;
    if (usb.ok) {
        for (const auto& [what, ratio] :
             {std::pair{"programming", usb.programming}, std::pair{"memory read", usb.read}})
            std::printf("USB, program's setup  %-12s within %.2f of the wire: %s\n", what,
                        kUsbRatioLimit, ratio <= kUsbRatioLimit ? "yes" : "no");
    }
    return ok ? 0 : 1;
}
