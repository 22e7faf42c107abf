#include "corlist/skin/DrawSurface.h"

#include <algorithm>

namespace corlist {

namespace {

constexpr int kMaxSide = 16384;

struct Rgb565Info {
    BITMAPINFOHEADER header;
    DWORD masks[3];
};

} // namespace

RECT IntersectRects(const RECT& a, const RECT& b) {
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    if (IsEmptyRect(r))
        return RECT{};
    return r;
}

bool DrawSurface::Create(int width, int height) {
    Destroy();
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide)
        return false;
    Rgb565Info info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width;
    info.header.biHeight = -height; // top-down
    info.header.biPlanes = 1;
    info.header.biBitCount = 16;
    info.header.biCompression = BI_BITFIELDS;
    info.masks[0] = 0xF800;
    info.masks[1] = 0x07E0;
    info.masks[2] = 0x001F;
    void* bits = nullptr;
    m_bitmap = CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                &bits, nullptr, 0);
    m_dc = m_bitmap ? CreateCompatibleDC(nullptr) : nullptr;
    if (!m_bitmap || !m_dc || !bits) {
        Destroy();
        return false;
    }
    m_oldBitmap = SelectObject(m_dc, m_bitmap);
    m_bits = static_cast<uint8_t*>(bits);
    m_width = width;
    m_height = height;
    m_stride = (width * 2 + 3) & ~3;
    m_clip = RECT{0, 0, width, height};
    return true;
}

void DrawSurface::Destroy() {
    if (m_dc) {
        if (m_oldBitmap)
            SelectObject(m_dc, m_oldBitmap);
        DeleteDC(m_dc);
    }
    if (m_bitmap)
        DeleteObject(m_bitmap);
    m_bitmap = nullptr;
    m_dc = nullptr;
    m_oldBitmap = nullptr;
    m_bits = nullptr;
    m_width = m_height = m_stride = 0;
    m_clip = RECT{};
}

void DrawSurface::SetClip(const RECT& clip) {
    if (!m_dc)
        return;
    m_clip = IntersectRects(clip, RECT{0, 0, m_width, m_height});
    HRGN region = CreateRectRgnIndirect(&m_clip);
    SelectClipRgn(m_dc, region);
    DeleteObject(region);
}

void DrawSurface::ResetClip() {
    SetClip(RECT{0, 0, m_width, m_height});
}

RECT DrawSurface::Clipped(const RECT& rect, const RECT* extra) const {
    RECT r = IntersectRects(rect, m_clip);
    return extra ? IntersectRects(r, *extra) : r;
}

} // namespace corlist
