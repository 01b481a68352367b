#include "link/LinkTiming.h"

#include <algorithm>
#include <atomic>
#include <cmath>

namespace kwlink {
namespace {
std::atomic<double> g_scale{1.0};
}

void SetLinkTimeScale(double scale) {
    g_scale = std::max(scale, 0.001);
}

double LinkTimeScale() {
    return g_scale;
}

int ScaledMs(int ms) {
    const double s = g_scale;
    return std::max(1, int(std::lround(ms * s)));
}
} // namespace kwlink
