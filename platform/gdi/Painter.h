// Draws shapes on a DC's surface through its clip region: filled rectangles, spans,
// pen lines with dash patterns and wide pens, and the span-based shapes (rectangles,
// rounded rectangles, ellipses) with a pen outline and a brush interior. Works in
// surface coordinates; the exported functions map logical coordinates first.
#pragma once

#include "gdi/Dc.h"
#include "gdi/Region.h"

#include <vector>

namespace platform {

class PenObject;
class BrushObject;

class Painter {
public:
    explicit Painter(Dc& dc);

    bool CanDraw() const { return m_surface && !m_clip.IsEmpty(); }
    const Region& Clip() const { return m_clip; }
    Surface& Target() { return *m_surface; }

    // Applies `rop` with the pattern colour to the clipped part of `rect`.
    void Fill(const RECT& rect, COLORREF color, DWORD rop = PATCOPY);
    // One row from x0 to x1 (exclusive).
    void Span(LONG y, LONG x0, LONG x1, COLORREF color) { Fill(RECT{x0, y, x1, y + 1}, color); }
    // A pen line from `from` to `to`; the end point is drawn only when `includeEnd`.
    void Line(POINT from, POINT to, const PenObject& pen, bool includeEnd);
    // A rectangle with corner ellipses of `cornerWidth` x `cornerHeight` (0 = square,
    // the full box = an ellipse): brush inside, pen outline along the edge.
    void RoundedBox(RECT box, LONG cornerWidth, LONG cornerHeight, const PenObject* pen,
                    const BrushObject* brush);
    // Fills a polygon with the alternate (even-odd) rule.
    void FillPolygon(const std::vector<POINT>& points, COLORREF color);

private:
    struct Dash {
        int on = 0;
        int off = 0;
    };
    void Stamp(LONG x, LONG y, int width, COLORREF color);

    Dc& m_dc;
    Surface* m_surface;
    Region m_clip;
};

} // namespace platform
