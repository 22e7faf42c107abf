// Where windows draw: the backing surface of each top-level window and the part of it a
// window's DC may touch. Children share their top-level's surface; the device clips every
// window by its ancestors, by the siblings above it and by its own visible children
// (WS_CLIPSIBLINGS and WS_CLIPCHILDREN are implied). The compositor reads the surfaces
// through Layers(). Functions named ...Locked expect the WaitHub lock.
#pragma once

#include "gdi/Region.h"
#include "user/WindowObject.h"

#include <memory>
#include <vector>

namespace platform {

class Surface;

// One top-level window as the compositor stacks it.
struct ScreenLayer {
    std::shared_ptr<Surface> surface;
    RECT rect{}; // screen coordinates
};

// What a window DC draws on: the surface, the visible pixels (surface coordinates) and the
// window's origin on the surface.
struct DcTarget {
    std::shared_ptr<Surface> surface;
    Region visible;
    POINT origin{0, 0};
};

class WindowSurfaces {
public:
    // The top-level window that holds `window` (itself for a top-level window).
    static WindowObject* RootLocked(WindowObject& window);
    // Makes sure the top-level `root` has a surface of its size; false for an empty window
    // or one too large for a surface.
    static bool EnsureSurfaceLocked(WindowObject& root);
    // The surface and visible region of `window`; `visible` is empty for a hidden window.
    static DcTarget TargetLocked(WindowObject& window);
    // The visible top-level windows that have painted, bottom first, and the screen size
    // at that moment. Takes the lock.
    static std::vector<ScreenLayer> Layers(int& screenWidth, int& screenHeight);
};

} // namespace platform
