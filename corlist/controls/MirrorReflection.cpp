#include "corlist/controls/MirrorReflection.h"

#include "corlist/skin/DrawSurface.h"
#include "corlist/skin/PixelLoops.h"

namespace corlist {

namespace {
constexpr int kFirstLevel = 12; // of 32
} // namespace

void DrawReflection(DrawSurface& surface, const RECT& icon, int rows, const RECT& limit) {
    int height = icon.bottom - icon.top;
    if (surface.IsEmpty() || rows <= 0 || height <= 0)
        return;
    rows = rows < height ? rows : height;
    RECT target = surface.Clipped(RECT{icon.left, icon.bottom, icon.right, icon.bottom + rows}, &limit);
    int count = target.right - target.left;
    if (count <= 0)
        return;
    for (int y = target.top; y < target.bottom; ++y) {
        int k = y - icon.bottom;
        int sourceY = icon.bottom - 1 - k;
        if (sourceY < 0 || sourceY >= surface.Height())
            continue;
        auto level = uint32_t(kFirstLevel * (rows - k) / rows);
        MixRow(surface.Row(y) + target.left, surface.Row(sourceY) + target.left, count, level);
    }
}

} // namespace corlist
