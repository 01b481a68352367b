#include "link/UsbLayer.h"

#include "link/LibFtdiUsbLayer.h"

#include <QThread>

#include <atomic>

UsbLayer::~UsbLayer() = default;

void UsbLayer::WaitForData(FT_HANDLE, int timeoutMs) {
    QThread::msleep(ulong(timeoutMs));
}

namespace {
std::atomic<UsbLayer*> g_layer{nullptr};
}

UsbLayer& ActiveUsbLayer() {
    UsbLayer* l = g_layer.load();
    if (l)
        return *l;
    static LibFtdiUsbLayer real;
    return real;
}

void SetUsbLayer(UsbLayer* layer) {
    g_layer = layer;
}
