#include "gdi/Region.h"

#include "ce/wingdi.h"

#include <algorithm>
#include <cstdint>

namespace platform {

bool IsEmptyRect(const RECT& rect) { return rect.right <= rect.left || rect.bottom <= rect.top; }

RECT IntersectRects(const RECT& a, const RECT& b) {
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    if (IsEmptyRect(r))
        return RECT{0, 0, 0, 0};
    return r;
}

RECT NormalizedRect(LONG left, LONG top, LONG right, LONG bottom) {
    return RECT{std::min(left, right), std::min(top, bottom), std::max(left, right),
                std::max(top, bottom)};
}

Region::Region(const RECT& rect) {
    if (!IsEmptyRect(rect))
        m_rects.push_back(rect);
}

RECT Region::Bounds() const {
    if (m_rects.empty())
        return RECT{0, 0, 0, 0};
    RECT bounds = m_rects.front();
    for (const RECT& r : m_rects) {
        bounds.left = std::min(bounds.left, r.left);
        bounds.top = std::min(bounds.top, r.top);
        bounds.right = std::max(bounds.right, r.right);
        bounds.bottom = std::max(bounds.bottom, r.bottom);
    }
    return bounds;
}

bool Region::Contains(LONG x, LONG y) const {
    for (const RECT& r : m_rects)
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom)
            return true;
    return false;
}

int Region::Complexity() const {
    if (m_rects.empty())
        return NULLREGION;
    return m_rects.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

void Region::Intersect(const RECT& rect) {
    std::vector<RECT> kept;
    for (const RECT& r : m_rects) {
        RECT part = IntersectRects(r, rect);
        if (!IsEmptyRect(part))
            kept.push_back(part);
    }
    m_rects = std::move(kept);
}

void Region::Intersect(const Region& other) {
    std::vector<RECT> kept;
    for (const RECT& a : m_rects)
        for (const RECT& b : other.m_rects) {
            RECT part = IntersectRects(a, b);
            if (!IsEmptyRect(part))
                kept.push_back(part);
        }
    m_rects = std::move(kept);
}

// Each rectangle minus `cut` leaves up to four pieces: above, below, left and right of it.
void Region::Subtract(const RECT& cut) {
    if (IsEmptyRect(cut))
        return;
    std::vector<RECT> kept;
    for (const RECT& r : m_rects) {
        RECT overlap = IntersectRects(r, cut);
        if (IsEmptyRect(overlap)) {
            kept.push_back(r);
            continue;
        }
        RECT pieces[4] = {{r.left, r.top, r.right, overlap.top},
                          {r.left, overlap.bottom, r.right, r.bottom},
                          {r.left, overlap.top, overlap.left, overlap.bottom},
                          {overlap.right, overlap.top, r.right, overlap.bottom}};
        for (const RECT& piece : pieces)
            if (!IsEmptyRect(piece))
                kept.push_back(piece);
    }
    m_rects = std::move(kept);
}

void Region::Subtract(const Region& other) {
    for (const RECT& r : other.m_rects)
        Subtract(r);
}

void Region::Unite(const Region& other) {
    for (const RECT& r : other.m_rects) {
        Region piece(r);
        piece.Subtract(*this);
        m_rects.insert(m_rects.end(), piece.m_rects.begin(), piece.m_rects.end());
    }
}

// Saturates instead of wrapping: callers' coordinates are hostile.
static LONG Shifted(LONG value, LONG delta) {
    return LONG(std::clamp<int64_t>(int64_t(value) + delta, INT32_MIN, INT32_MAX));
}

void Region::Offset(LONG dx, LONG dy) {
    for (RECT& r : m_rects) {
        r.left = Shifted(r.left, dx);
        r.right = Shifted(r.right, dx);
        r.top = Shifted(r.top, dy);
        r.bottom = Shifted(r.bottom, dy);
    }
}

} // namespace platform
