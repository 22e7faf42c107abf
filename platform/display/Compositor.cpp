#include "display/Compositor.h"

#include "gdi/Region.h"

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

bool IsRgb565(const Surface& surface) { return surface.Layout() == PixelLayout::Rgb565; }

void FillRows(Surface& screen, uint16_t color) {
    for (int y = 0; y < screen.Height(); ++y) {
        auto* row = reinterpret_cast<uint16_t*>(screen.Row(y));
        std::fill(row, row + screen.Width(), color);
    }
}

// True when one opaque layer covers the whole screen: the background never shows.
bool Covered(const Surface& screen, const std::vector<ScreenLayer>& layers) {
    for (const ScreenLayer& layer : layers)
        if (layer.surface && IsRgb565(*layer.surface) && layer.rect.left <= 0 && layer.rect.top <= 0 &&
            layer.rect.left + layer.surface->Width() >= screen.Width() &&
            layer.rect.top + layer.surface->Height() >= screen.Height())
            return true;
    return false;
}

void CopyLayer(Surface& screen, const ScreenLayer& layer) {
    const Surface& source = *layer.surface;
    // The store may lag behind a resize: only what both the window and its store hold shows.
    RECT area{layer.rect.left, layer.rect.top,
              layer.rect.left + std::min<LONG>(layer.rect.right - layer.rect.left, source.Width()),
              layer.rect.top + std::min<LONG>(layer.rect.bottom - layer.rect.top, source.Height())};
    area = IntersectRects(area, RECT{0, 0, screen.Width(), screen.Height()});
    if (IsEmptyRect(area))
        return;
    size_t bytes = size_t(area.right - area.left) * 2;
    for (LONG y = area.top; y < area.bottom; ++y) {
        const uint8_t* from = source.Row(int(y - layer.rect.top)) + size_t(area.left - layer.rect.left) * 2;
        std::memcpy(screen.Row(int(y)) + size_t(area.left) * 2, from, bytes);
    }
}

} // namespace

void Compositor::Compose(Surface& screen, const std::vector<ScreenLayer>& layers, uint16_t background) {
    if (!IsRgb565(screen))
        return;
    if (!Covered(screen, layers))
        FillRows(screen, background);
    for (const ScreenLayer& layer : layers)
        if (layer.surface && IsRgb565(*layer.surface))
            CopyLayer(screen, layer);
}

RECT Compositor::Difference(const Surface& before, const Surface& after) {
    RECT whole{0, 0, after.Width(), after.Height()};
    if (before.Width() != after.Width() || before.Height() != after.Height() ||
        before.Layout() != after.Layout())
        return whole;
    size_t rowBytes = size_t(after.Width()) * size_t(after.BitsPerPixel() / 8);
    int bytesPerPixel = after.BitsPerPixel() / 8;
    RECT damage{after.Width(), after.Height(), 0, 0};
    for (int y = 0; y < after.Height(); ++y) {
        const uint8_t* a = before.Row(y);
        const uint8_t* b = after.Row(y);
        if (std::memcmp(a, b, rowBytes) == 0)
            continue;
        size_t first = 0, last = rowBytes;
        while (a[first] == b[first])
            ++first;
        while (a[last - 1] == b[last - 1])
            --last;
        damage.left = std::min<LONG>(damage.left, LONG(first / size_t(bytesPerPixel)));
        damage.right = std::max<LONG>(damage.right, LONG((last + size_t(bytesPerPixel) - 1) / size_t(bytesPerPixel)));
        damage.top = std::min<LONG>(damage.top, y);
        damage.bottom = y + 1;
    }
    return IsEmptyRect(damage) ? RECT{0, 0, 0, 0} : damage;
}

} // namespace platform
