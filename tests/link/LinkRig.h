#pragma once

// A PortWork on a pseudo-terminal with the simulated device on the other end,
// over the real COM layer and receive thread, with the read-timer intervals
// scaled down.

#include "link/ComPort.h"
#include "link/LinkTiming.h"
#include "link/PortWork.h"
#include "link/ReadRecBaseThread.h"
#include "settings/DeviceSettings.h"
#include "sim/SimDevice.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

inline constexpr double kRigTimeScale = 0.1; // 2000 ms -> 200 ms, 10000 ms -> 1000 ms
inline const QDate kNewest(2012, 4, 19);     // 3840-byte image, CRFF asked
inline const QDate kMiddle(2011, 1, 10);     // two-byte block numbers, 3590 bytes
inline const QDate kOld(2010, 1, 10);        // one-byte block numbers, 1023 bytes

struct LinkRig {
    DeviceSettings settings;
    SimDevice sim;
    std::unique_ptr<PortWork> port;
    int comNumber = 0;

    explicit LinkRig(const QDate& firmware, uchar build = 1, uchar model = 2) {
        kwlink::SetLinkTimeScale(kRigTimeScale);
        SetDefaultSettings(&settings, false);
        settings.header->firmwareDate = firmware;
        settings.header->firmwareSubVersion = build;
        g_deviceSettings = &settings;
        sim.SetIdentity(model, firmware, build);
    }
    ~LinkRig() {
        if (port && port->IsPortOpen())
            port->ClosePort();
        port.reset();
        sim.Stop();
        ClearAddedComPortPaths();
        g_deviceSettings = nullptr;
    }

    bool Open() {
        if (!sim.Start())
            return false;
        comNumber = AddComPortPath(sim.SlavePath());
        port = std::make_unique<PortWork>();
        ulong err = 0;
        return port->readThread->OpenPort(comNumber, err);
    }

    // Greeting, answer and ready packet: the arguments of SigSetupVersion, or
    // nothing when it did not come.
    QList<QVariant> Handshake() {
        QSignalSpy version(port.get(), &PortWork::SigSetupVersion);
        sim.SendGreeting();
        return version.wait(15000) || !version.isEmpty() ? version.first() : QList<QVariant>();
    }

    bool Wait(const std::function<bool()>& pred, int ms = 15000) const {
        return sim.WaitUntil(pred, ms);
    }
};

// A parser field read under the parser's lock, as the receive thread may be
// writing it at the same moment.
template <typename T> T ParserState(const ReadRecBaseThread* t, T ReadRecBaseThread::*field) {
    QMutexLocker lock(&t->stateMutex);
    return t->*field;
}

// The first argument of every signal a spy caught, as ints.
inline QList<int> Codes(const QSignalSpy& spy) {
    QList<int> c;
    for (const auto& args : spy)
        c.append(args.at(0).toInt());
    return c;
}

// SigSetSoundWriteProgress triples.
inline QList<QList<int>> Progress(const QSignalSpy& spy) {
    QList<QList<int>> r;
    for (const auto& a : spy)
        r.append({a.at(0).toInt(), a.at(1).toInt(), a.at(2).toInt()});
    return r;
}
