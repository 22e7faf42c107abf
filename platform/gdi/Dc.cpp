#include "gdi/Dc.h"

#include "gdi/BitmapObject.h"
#include "gdi/BrushObject.h"
#include "gdi/FontObject.h"
#include "gdi/GdiObjectTable.h"
#include "gdi/PenObject.h"

#include <algorithm>
#include <cstdint>

namespace platform {

namespace {

LONG Saturate(int64_t value) { return LONG(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX)); }

void Adjust(const Selection& selection, int delta) {
    if (selection.object)
        selection.object->m_selectCount += delta;
}

} // namespace

Dc::Dc(bool memory) : GdiObject(memory ? GdiKind::MemoryDc : GdiKind::Dc) {}

Dc::~Dc() {
    std::lock_guard lock(GdiObjectTable::Instance().SelectionMutex());
    Release(m_state);
    for (const DcState& saved : m_saved)
        Release(saved);
}

std::shared_ptr<Dc> Dc::FromHandle(HDC handle) {
    auto object = GdiObjectTable::Instance().Lookup(handle);
    if (!object || (object->Kind() != GdiKind::Dc && object->Kind() != GdiKind::MemoryDc))
        return nullptr;
    return std::static_pointer_cast<Dc>(object);
}

void Dc::AttachSurface(std::shared_ptr<Surface> surface, const Region& visible, POINT origin) {
    m_surface = std::move(surface);
    m_visible = visible;
    if (m_surface)
        m_visible.Intersect(RECT{0, 0, m_surface->Width(), m_surface->Height()});
    m_origin = origin;
}

POINT Dc::ToSurface(LONG x, LONG y) const {
    return POINT{Saturate(int64_t(x) - m_state.windowOrg.x + m_state.viewportOrg.x + m_origin.x),
                 Saturate(int64_t(y) - m_state.windowOrg.y + m_state.viewportOrg.y + m_origin.y)};
}

RECT Dc::ToSurface(const RECT& rect) const {
    POINT a = ToSurface(rect.left, rect.top);
    POINT b = ToSurface(rect.right, rect.bottom);
    return NormalizedRect(a.x, a.y, b.x, b.y);
}

RECT Dc::ToDevice(const RECT& rect) const {
    RECT r = ToSurface(rect);
    Region region(r);
    region.Offset(-m_origin.x, -m_origin.y);
    return region.IsEmpty() ? RECT{0, 0, 0, 0} : region.Bounds();
}

POINT Dc::SurfaceToLogical(POINT point) const {
    return POINT{Saturate(int64_t(point.x) - m_origin.x - m_state.viewportOrg.x + m_state.windowOrg.x),
                 Saturate(int64_t(point.y) - m_origin.y - m_state.viewportOrg.y + m_state.windowOrg.y)};
}

Region Dc::Clip() const {
    if (!m_surface)
        return Region();
    Region clip = m_visible;
    if (m_state.hasClip) {
        Region user = m_state.clip;
        user.Offset(m_origin.x, m_origin.y);
        clip.Intersect(user);
    }
    return clip;
}

BrushObject* Dc::Brush() const { return static_cast<BrushObject*>(m_state.brush.object.get()); }
PenObject* Dc::Pen() const { return static_cast<PenObject*>(m_state.pen.object.get()); }
FontObject* Dc::Font() const { return static_cast<FontObject*>(m_state.font.object.get()); }
BitmapObject* Dc::Bitmap() const { return static_cast<BitmapObject*>(m_state.bitmap.object.get()); }

void Dc::Retain(const DcState& state) {
    Adjust(state.pen, 1);
    Adjust(state.brush, 1);
    Adjust(state.font, 1);
    Adjust(state.bitmap, 1);
}

void Dc::Release(const DcState& state) {
    Adjust(state.pen, -1);
    Adjust(state.brush, -1);
    Adjust(state.font, -1);
    Adjust(state.bitmap, -1);
}

void Dc::TargetSelectedBitmap() {
    BitmapObject* bitmap = Bitmap();
    if (!IsMemory() || !bitmap)
        return;
    const auto& surface = bitmap->GetSurface();
    AttachSurface(surface, Region(RECT{0, 0, surface->Width(), surface->Height()}), POINT{0, 0});
}

HGDIOBJ Dc::Select(Selection& slot, HGDIOBJ handle, std::shared_ptr<GdiObject> object) {
    HGDIOBJ previous = slot.handle;
    Adjust(slot, -1);
    slot.handle = handle;
    slot.object = std::move(object);
    Adjust(slot, 1);
    if (&slot == &m_state.bitmap)
        TargetSelectedBitmap();
    return previous;
}

int Dc::Save() {
    std::lock_guard lock(GdiObjectTable::Instance().SelectionMutex());
    m_saved.push_back(m_state);
    Retain(m_state);
    return int(m_saved.size());
}

bool Dc::Restore(int level) {
    std::lock_guard lock(GdiObjectTable::Instance().SelectionMutex());
    int64_t depth = int64_t(m_saved.size());
    int64_t target = level < 0 ? depth + level + 1 : level;
    if (target < 1 || target > depth)
        return false;
    while (int64_t(m_saved.size()) > target) {
        Release(m_saved.back());
        m_saved.pop_back();
    }
    Release(m_state);
    m_state = std::move(m_saved.back());
    m_saved.pop_back();
    TargetSelectedBitmap();
    return true;
}

} // namespace platform
