// A full programming run and a full 3840-byte memory read through the real
// PortWork, COM layer and a pseudo-terminal, against the simulated device
// pacing both directions at the 9600-baud wire rate. Prints each run's time
// beside the wire time of the bytes exchanged. Run by hand.

#include "link/ComPort.h"
#include "link/PortWork.h"
#include "link/ReadRecBaseThread.h"
#include "settings/DeviceSettings.h"
#include "settings/ImageEEPROM.h"
#include "sim/SimDevice.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <cstdio>

namespace {
constexpr double kWireBytesPerSecond = 960.0;

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

void Report(const char* what, qint64 ms, const SimDevice& sim) {
    const qint64 bytes = sim.BytesSent() + sim.BytesReceived();
    const double wireMs = 1000.0 * double(bytes) / kWireBytesPerSecond;
    std::printf("%-12s %6lld bytes  %8.1f ms  wire %8.1f ms  ratio %.3f\n", what,
                static_cast<long long>(bytes), double(ms), wireMs, double(ms) / wireMs);
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

    SimDevice sim;
    sim.SetIdentity(3, settings.header->firmwareDate, 1);
    DeviceSettings source(settings);
    source.connection->objectNumber = "4321";
    sim.SetMemoryImage(ImageEEPROM::BuildImage(source));
    if (!sim.Start()) {
        std::fprintf(stderr, "no pseudo-terminal\n");
        return 1;
    }
    sim.SetPaced(true);
    const int com = AddComPortPath(sim.SlavePath());
    PortWork port;
    ulong err = 0;
    if (!port.readThread->OpenPort(com, err)) {
        std::fprintf(stderr, "cannot open %s: %lu\n", qPrintable(sim.SlavePath()), err);
        return 1;
    }
    sim.SendGreeting();
    if (!WaitFor(port, &PortWork::SigSetupVersion)) {
        std::fprintf(stderr, "no ready packet\n");
        return 1;
    }

    int failures = 0;
    sim.ResetCounters();
    QElapsedTimer t;
    t.start();
    port.StartProgramming();
    if (WaitFor(port, &PortWork::SigProgrammingOk))
        Report("programming", t.elapsed(), sim);
    else
        ++failures;

    sim.ResetCounters();
    t.restart();
    port.ReadEEPROMClick();
    if (WaitFor(port, &PortWork::SigFillFields) && settings.connection->objectNumber == "4321")
        Report("memory read", t.elapsed(), sim);
    else
        ++failures;

    port.ClosePort();
    sim.Stop();
    if (failures)
        std::fprintf(stderr, "%d run(s) failed\n", failures);
    return failures ? 1 : 0;
}
