// A set of pixels kept as disjoint rectangles: clip regions of device contexts and the
// visible part of a window's surface. Small and simple rather than banded: the device's
// clip regions hold a handful of rectangles.
#pragma once

#include "ce/types.h"

#include <vector>

namespace platform {

// Empty when right <= left or bottom <= top.
bool IsEmptyRect(const RECT& rect);
RECT IntersectRects(const RECT& a, const RECT& b);
// Orders the edges of a rectangle given by two corners.
RECT NormalizedRect(LONG left, LONG top, LONG right, LONG bottom);

class Region {
public:
    Region() = default;
    explicit Region(const RECT& rect);

    const std::vector<RECT>& Rects() const { return m_rects; }
    bool IsEmpty() const { return m_rects.empty(); }
    RECT Bounds() const;
    bool Contains(LONG x, LONG y) const;
    // NULLREGION, SIMPLEREGION or COMPLEXREGION.
    int Complexity() const;

    void Intersect(const RECT& rect);
    void Intersect(const Region& other);
    void Subtract(const RECT& rect);
    void Subtract(const Region& other);
    void Unite(const Region& other);
    void Offset(LONG dx, LONG dy);

private:
    std::vector<RECT> m_rects;
};

} // namespace platform
