// A bitmap: its surface plus, for DIB sections, the header the caller gave so that
// GetObject can report it. A bitmap is selected into at most one device context.
#pragma once

#include "gdi/GdiObject.h"
#include "gdi/Surface.h"

#include <memory>

namespace platform {

class BitmapObject : public GdiObject {
public:
    explicit BitmapObject(std::shared_ptr<Surface> surface)
        : GdiObject(GdiKind::Bitmap), m_surface(std::move(surface)) {}
    const std::shared_ptr<Surface>& GetSurface() const { return m_surface; }

    bool m_isDib = false;
    // What owns the pixels of a surface over borrowed memory (a memory section), kept as
    // long as the bitmap.
    std::shared_ptr<void> m_memoryOwner;
    BITMAPINFOHEADER m_header{};
    DWORD m_masks[3] = {0, 0, 0};

private:
    std::shared_ptr<Surface> m_surface;
};

} // namespace platform
