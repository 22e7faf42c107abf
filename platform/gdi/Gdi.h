// Helpers shared by the exported GDI functions, and the device's boot/shutdown hook.
#pragma once

#include "ce/wingdi.h"
#include "gdi/Dc.h"

#include <memory>

namespace platform {

class BrushObject;

// Stock object `index` (created on first use, never deleted), or null for an unknown index.
HGDIOBJ StockObject(int index);
// Drops every non-stock GDI object (device shutdown).
void ShutdownGdi();

// A new DC with the default objects selected (black pen, white brush, system font; memory
// DCs also the 1x1 monochrome bitmap). The window manager creates window DCs with
// `memory` false and then calls Dc::AttachSurface.
std::shared_ptr<Dc> MakeDc(bool memory);
// Window manager: a DC drawing on `surface` inside `visible` (surface coordinates) with
// its device origin at `origin`; released with DeleteDC (ReleaseDC/EndPaint).
HDC CreateSurfaceDc(std::shared_ptr<Surface> surface, const Region& visible, POINT origin);

// The DC of `dc` with a surface to draw on; sets ERROR_INVALID_HANDLE and returns null for
// a stale handle. `drawable` false accepts a DC with no target as well.
std::shared_ptr<Dc> DcForCall(HDC dc, bool drawable = true);
// The brush a caller passed: a brush handle or a system colour index + 1.
std::shared_ptr<BrushObject> BrushForCall(HBRUSH brush);

} // namespace platform
