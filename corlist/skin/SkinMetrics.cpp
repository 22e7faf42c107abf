#include "corlist/skin/SkinMetrics.h"

#include "ce/user.h"

#include <algorithm>
#include <atomic>

namespace corlist {

namespace {
// Written by the UI thread while a skin is read; relaxed atomics keep other readers sound.
std::atomic<int> g_coordinateScale{1};
} // namespace

int ScreenCoordinateScale(int width, int height) {
    return std::min(width, height) >= 480 ? 2 : 1;
}

int OrientationClass(int width, int height) {
    if (width == height)
        return 3;
    if (width < height)
        return 0;
    if (width == 400 || width == 800)
        return 2;
    return 1;
}

int CoordinateScale() {
    return g_coordinateScale.load(std::memory_order_relaxed);
}

void SetCoordinateScale(int scale) {
    g_coordinateScale.store(scale, std::memory_order_relaxed);
}

int ScreenCoordinateScale() {
    return ScreenCoordinateScale(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

int OrientationClass() {
    return OrientationClass(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

} // namespace corlist
