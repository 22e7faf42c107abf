#include "gdi/Painter.h"

#include "gdi/BrushObject.h"
#include "gdi/PenObject.h"
#include "gdi/PixelFormats.h"
#include "gdi/Raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace platform {

namespace {

// Inclusive pixel range of a row of a box with elliptic corners (half radii a, b);
// empty when first > last. Pixels count when their centre lies inside.
struct RowSpan {
    LONG first = 1;
    LONG last = 0;
    bool Contains(LONG x) const { return x >= first && x <= last; }
};

RowSpan SpanOf(const RECT& box, double a, double b, LONG y) {
    RowSpan span;
    if (IsEmptyRect(box) || y < box.top || y >= box.bottom)
        return span;
    double centre = y + 0.5;
    double dy = 0;
    if (b > 0 && centre < box.top + b)
        dy = box.top + b - centre;
    else if (b > 0 && centre > box.bottom - b)
        dy = centre - (box.bottom - b);
    double inset = 0;
    if (dy > 0) {
        double ratio = std::min(1.0, dy / b);
        inset = a - a * std::sqrt(1.0 - ratio * ratio);
    }
    span.first = LONG(std::ceil(box.left + inset - 0.5));
    span.last = LONG(std::floor(box.right - inset - 0.5));
    return span;
}

// Cuts a very long line down to the part near `bounds` (Liang-Barsky), so that a hostile
// line of two billion pixels is not walked pixel by pixel. False when nothing is left.
bool ClipLongLine(POINT& from, POINT& to, const RECT& bounds) {
    double x0 = from.x, y0 = from.y, dx = double(to.x) - from.x, dy = double(to.y) - from.y;
    double t0 = 0, t1 = 1;
    double p[4] = {-dx, dx, -dy, dy};
    double q[4] = {x0 - bounds.left, bounds.right - x0, y0 - bounds.top, bounds.bottom - y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
    }
    if (t0 > t1)
        return false;
    from = POINT{LONG(std::lround(x0 + t0 * dx)), LONG(std::lround(y0 + t0 * dy))};
    to = POINT{LONG(std::lround(x0 + t1 * dx)), LONG(std::lround(y0 + t1 * dy))};
    return true;
}

constexpr int64_t kLongLine = 1 << 16;

} // namespace

Painter::Painter(Dc& dc) : m_dc(dc), m_surface(dc.Target()), m_clip(dc.Clip()) {}

void Painter::Fill(const RECT& rect, COLORREF color, DWORD rop) {
    if (!m_surface)
        return;
    uint32_t rgb = RgbFromColorRef(color);
    for (const RECT& clip : m_clip.Rects()) {
        RECT part = IntersectRects(rect, clip);
        if (!IsEmptyRect(part))
            RasterFill(*m_surface, part, rgb, rop);
    }
}

void Painter::Stamp(LONG x, LONG y, int width, COLORREF color) {
    LONG half = (width - 1) / 2;
    Fill(RECT{x - half, y - half, x - half + width, y - half + width}, color);
}

// Bresenham's line. One-pixel pens follow their dash pattern; the gaps take the
// background colour when the background mode is opaque.
void Painter::Line(POINT from, POINT to, const PenObject& pen, bool includeEnd) {
    if (pen.IsNull() || !CanDraw())
        return;
    Dash dash;
    if (pen.Log().lopnStyle == PS_DASH)
        dash = Dash{18, 6};
    else if (pen.Log().lopnStyle == PS_DOT)
        dash = Dash{3, 3};
    const DcState& state = m_dc.State();
    RECT bounds = m_clip.Bounds();
    LONG margin = pen.Width();
    if (std::max(std::llabs(int64_t(to.x) - from.x), std::llabs(int64_t(to.y) - from.y)) > kLongLine) {
        RECT near{bounds.left - margin, bounds.top - margin, bounds.right + margin, bounds.bottom + margin};
        if (!ClipLongLine(from, to, near))
            return;
        includeEnd = true;
    }
    int64_t x = from.x, y = from.y;
    int64_t dx = std::llabs(int64_t(to.x) - from.x), dy = -std::llabs(int64_t(to.y) - from.y);
    int64_t stepX = from.x < to.x ? 1 : -1, stepY = from.y < to.y ? 1 : -1;
    int64_t error = dx + dy;
    for (int64_t index = 0;; ++index) {
        bool atEnd = x == to.x && y == to.y;
        if (atEnd && !includeEnd)
            break;
        bool inside = x >= bounds.left - margin && x < bounds.right + margin &&
                      y >= bounds.top - margin && y < bounds.bottom + margin;
        if (inside) {
            bool on = dash.on == 0 || index % (dash.on + dash.off) < dash.on;
            if (on)
                Stamp(LONG(x), LONG(y), pen.Width(), pen.Color());
            else if (state.bkMode == OPAQUE)
                Stamp(LONG(x), LONG(y), 1, state.bkColor);
        }
        if (atEnd)
            break;
        int64_t twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += stepX;
        }
        if (twice <= dx) {
            error += dx;
            y += stepY;
        }
        // A line far outside the clip is walked only until it can no longer come back.
        if ((stepX > 0 ? x > bounds.right + margin : x < bounds.left - margin) ||
            (stepY > 0 ? y > bounds.bottom + margin : y < bounds.top - margin))
            break;
    }
}

// The outline is what lies inside the box but outside the box deflated by the pen width.
void Painter::RoundedBox(RECT box, LONG cornerWidth, LONG cornerHeight, const PenObject* pen,
                         const BrushObject* brush) {
    if (!CanDraw())
        return;
    // Shapes beyond a billion pixels are hostile: bounding them keeps the edge arithmetic
    // below overflow.
    constexpr LONG kFar = 1 << 30;
    box = RECT{std::clamp(box.left, -kFar, kFar), std::clamp(box.top, -kFar, kFar),
               std::clamp(box.right, -kFar, kFar), std::clamp(box.bottom, -kFar, kFar)};
    bool hasPen = pen && !pen->IsNull();
    if (!hasPen) {
        // Without a pen the shape is one pixel smaller on the right and at the bottom.
        box.right -= 1;
        box.bottom -= 1;
    }
    if (IsEmptyRect(box))
        return;
    double a = std::min<double>(std::abs(double(cornerWidth)), double(box.right) - box.left) / 2;
    double b = std::min<double>(std::abs(double(cornerHeight)), double(box.bottom) - box.top) / 2;
    int width = hasPen ? pen->Width() : 0;
    RECT inner{box.left + width, box.top + width, box.right - width, box.bottom - width};
    double innerA = std::max(0.0, a - width), innerB = std::max(0.0, b - width);
    RECT rows = IntersectRects(box, m_clip.Bounds());
    for (LONG y = rows.top; y < rows.bottom; ++y) {
        RowSpan outer = SpanOf(box, a, b, y);
        RowSpan hole = SpanOf(inner, innerA, innerB, y);
        if (outer.first > outer.last)
            continue;
        if (brush && !brush->IsHollow() && hole.first <= hole.last)
            Span(y, hole.first, hole.last + 1, brush->Color());
        if (!hasPen)
            continue;
        if (hole.first > hole.last) {
            Span(y, outer.first, outer.last + 1, pen->Color());
            continue;
        }
        Span(y, outer.first, std::min(hole.first, outer.last + 1), pen->Color());
        Span(y, std::max(hole.last + 1, outer.first), outer.last + 1, pen->Color());
    }
}

void Painter::FillPolygon(const std::vector<POINT>& points, COLORREF color) {
    if (points.size() < 3 || !CanDraw())
        return;
    LONG top = points[0].y, bottom = points[0].y;
    for (const POINT& p : points) {
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    RECT clip = m_clip.Bounds();
    LONG first = std::max(top, clip.top), last = std::min(bottom, clip.bottom);
    std::vector<double> crossings;
    for (LONG y = first; y < last; ++y) {
        double centre = y + 0.5;
        crossings.clear();
        for (size_t i = 0; i < points.size(); ++i) {
            const POINT& p = points[i];
            const POINT& q = points[(i + 1) % points.size()];
            if ((p.y <= centre) == (q.y <= centre))
                continue;
            crossings.push_back(p.x + (centre - p.y) * (double(q.x) - p.x) / (double(q.y) - p.y));
        }
        std::sort(crossings.begin(), crossings.end());
        for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
            double from = std::clamp(std::ceil(crossings[i] - 0.5), double(clip.left), double(clip.right));
            double to = std::clamp(std::ceil(crossings[i + 1] - 0.5), double(clip.left), double(clip.right));
            Span(y, LONG(from), LONG(to), color);
        }
    }
}

} // namespace platform
