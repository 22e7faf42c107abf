// Stacks the backing surfaces of the top-level windows into the screen buffer: each layer
// is copied row by row where it lies on the screen, bottom layer first, over a background
// colour. Layers and screen are RGB565; a layer of another layout is skipped.
#pragma once

#include "gdi/Surface.h"
#include "user/WindowSurfaces.h"

#include <cstdint>
#include <vector>

namespace platform {

class Compositor {
public:
    // `layers` bottom first, rectangles in screen coordinates.
    static void Compose(Surface& screen, const std::vector<ScreenLayer>& layers,
                        uint16_t background);
    // The bounding rectangle of the pixels that differ between two screens of the same
    // size and layout; the whole screen when they do not match.
    static RECT Difference(const Surface& before, const Surface& after);
};

} // namespace platform
