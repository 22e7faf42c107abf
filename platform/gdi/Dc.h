// A device context: the drawing state (selected objects, colours, modes, origins, clip
// region) over a target surface.
//
// Coordinates: a logical point maps to the surface as
//     surface = logical - windowOrg + viewportOrg + origin
// where `origin` places the DC's device (0, 0) on the surface. A memory DC draws on the
// bitmap selected into it (origin 0, visible region = the whole bitmap). The window manager
// attaches a DC to a window's surface with AttachSurface: the top-level's backing surface,
// the window's visible region in surface coordinates (already clipped by siblings and
// parent) and the window's client origin on that surface. Drawing is limited to
//     visible ∩ (clip region + origin)
// where the clip region (SelectClipRgn, IntersectClipRect...) is in device units relative
// to the origin, as on the device.
#pragma once

#include "gdi/GdiObject.h"
#include "gdi/Region.h"
#include "gdi/Surface.h"

#include <memory>
#include <vector>

namespace platform {

class BitmapObject;
class BrushObject;
class FontObject;
class PenObject;

struct Selection {
    HGDIOBJ handle = nullptr;
    std::shared_ptr<GdiObject> object;
};

// Everything SaveDC saves.
struct DcState {
    Selection pen;
    Selection brush;
    Selection font;
    Selection bitmap;
    COLORREF textColor = 0x000000;
    COLORREF bkColor = 0xFFFFFF;
    int bkMode = OPAQUE;
    UINT textAlign = TA_LEFT | TA_TOP;
    POINT viewportOrg{0, 0};
    POINT windowOrg{0, 0};
    POINT position{0, 0};
    bool hasClip = false;
    Region clip;
};

class Dc : public GdiObject {
public:
    // A memory DC (CreateCompatibleDC) or a DC on a window surface.
    explicit Dc(bool memory);
    ~Dc() override;

    // The DC of `handle`, or null for a stale or foreign handle.
    static std::shared_ptr<Dc> FromHandle(HDC handle);

    bool IsMemory() const { return Kind() == GdiKind::MemoryDc; }
    // Window manager: draw on `surface`, limited to `visible` (surface coordinates), with
    // the DC's device origin at `origin` on the surface.
    void AttachSurface(std::shared_ptr<Surface> surface, const Region& visible, POINT origin);
    // The surface drawn on, or null (a DC with nothing to draw on draws nothing).
    Surface* Target() const { return m_surface.get(); }
    const std::shared_ptr<Surface>& TargetShared() const { return m_surface; }
    POINT Origin() const { return m_origin; }

    POINT ToSurface(LONG x, LONG y) const;
    // A logical rectangle on the surface, edges ordered.
    RECT ToSurface(const RECT& rect) const;
    // A logical rectangle in device units relative to the origin (clip regions).
    RECT ToDevice(const RECT& rect) const;
    POINT SurfaceToLogical(POINT point) const;
    // The pixels drawing may touch, in surface coordinates.
    Region Clip() const;

    DcState& State() { return m_state; }
    const DcState& State() const { return m_state; }
    BrushObject* Brush() const;
    PenObject* Pen() const;
    FontObject* Font() const;
    BitmapObject* Bitmap() const;

    // Puts `object` into `slot` and returns the previous handle; the caller holds
    // GdiObjectTable::SelectionMutex(). A bitmap also becomes the memory DC's target.
    HGDIOBJ Select(Selection& slot, HGDIOBJ handle, std::shared_ptr<GdiObject> object);
    // SaveDC / RestoreDC: levels count from 1; a negative level is relative to the top.
    int Save();
    bool Restore(int level);

private:
    static void Retain(const DcState& state);
    static void Release(const DcState& state);
    void TargetSelectedBitmap();

    std::shared_ptr<Surface> m_surface;
    Region m_visible;
    POINT m_origin{0, 0};
    DcState m_state;
    std::vector<DcState> m_saved;
};

} // namespace platform
