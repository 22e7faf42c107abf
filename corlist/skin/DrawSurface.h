// The off-screen surface controls paint into: a top-down RGB565 DIB section selected into
// a memory DC. Pixel loops write through Row(); text and gradients go through the DC, which
// draws into the very same memory. The clip rectangle applies to both: it is kept here for
// the pixel loops and selected into the DC as its clip region.
#pragma once

#include "ce/types.h"
#include "ce/wingdi.h"

#include <cstdint>

namespace corlist {

class DrawSurface {
public:
    DrawSurface() = default;
    ~DrawSurface() { Destroy(); }
    DrawSurface(const DrawSurface&) = delete;
    DrawSurface& operator=(const DrawSurface&) = delete;

    // Makes a surface of width x height pixels (both 1..16384); the old one is destroyed
    // first. The clip is the whole surface. False when the platform refuses the bitmap or
    // the DC; the surface is then empty.
    bool Create(int width, int height);
    void Destroy();
    bool IsEmpty() const { return m_bits == nullptr; }

    HDC Dc() const { return m_dc; }
    HBITMAP Bitmap() const { return m_bitmap; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // Bytes from one row to the next.
    int Stride() const { return m_stride; }
    uint16_t* Row(int y) const {
        return reinterpret_cast<uint16_t*>(m_bits + ptrdiff_t(y) * m_stride);
    }
    uint16_t Pixel(int x, int y) const { return Row(y)[x]; }

    const RECT& Clip() const { return m_clip; }
    // The clip becomes `clip` cut to the surface (possibly empty), for pixels and DC alike.
    void SetClip(const RECT& clip);
    void ResetClip();
    // `rect` cut to the clip rectangle (and to `extra` when given); empty when nothing of
    // it may be drawn.
    RECT Clipped(const RECT& rect, const RECT* extra = nullptr) const;

private:
    HBITMAP m_bitmap = nullptr;
    HDC m_dc = nullptr;
    HGDIOBJ m_oldBitmap = nullptr;
    uint8_t* m_bits = nullptr;
    int m_width = 0;
    int m_height = 0;
    int m_stride = 0;
    RECT m_clip{};
};

// The intersection of two rectangles; empty (all zero) when they do not overlap.
RECT IntersectRects(const RECT& a, const RECT& b);
inline bool IsEmptyRect(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

} // namespace corlist
