// Exported drawing functions: fills, pattern blits, shapes, lines, pixels and gradients.
#include "ce/kernel.h"
#include "ce/wingdi.h"
#include "gdi/BrushObject.h"
#include "gdi/Gdi.h"
#include "gdi/Painter.h"
#include "gdi/PenObject.h"
#include "gdi/PixelFormats.h"
#include "gdi/Raster.h"

#include <algorithm>
#include <vector>

using namespace platform;

namespace {

// Hostile point counts are refused before anything is copied.
constexpr int kMaxPoints = 1 << 20;

COLORREF BrushColor(const Dc& dc) {
    const BrushObject* brush = dc.Brush();
    return brush ? brush->Color() : 0;
}

bool HasBrush(const Dc& dc) { return dc.Brush() && !dc.Brush()->IsHollow(); }

BOOL DrawBox(HDC dc, int left, int top, int right, int bottom, LONG cornerWidth, LONG cornerHeight) {
    auto context = DcForCall(dc);
    if (!context)
        return FALSE;
    Painter painter(*context);
    RECT box = context->ToSurface(RECT{left, top, right, bottom});
    painter.RoundedBox(box, cornerWidth, cornerHeight, context->Pen(), context->Brush());
    return TRUE;
}

std::vector<POINT> SurfacePoints(const Dc& dc, const POINT* points, int count) {
    std::vector<POINT> mapped(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        mapped[size_t(i)] = dc.ToSurface(points[i].x, points[i].y);
    return mapped;
}

// Linear interpolation of a 16-bit vertex channel to 8 bits at step `index` of `steps`.
uint32_t Channel(COLOR16 from, COLOR16 to, int64_t index, int64_t steps) {
    int64_t value = int64_t(from) + (int64_t(to) - from) * index / steps;
    return uint32_t(std::clamp<int64_t>(value, 0, 0xFFFF) >> 8);
}

COLORREF Interpolate(const TRIVERTEX& a, const TRIVERTEX& b, int64_t index, int64_t steps) {
    return RGB(Channel(a.Red, b.Red, index, steps), Channel(a.Green, b.Green, index, steps),
               Channel(a.Blue, b.Blue, index, steps));
}

// One gradient rectangle: the colour runs from the first vertex at the left (top) edge
// towards the second at the right (bottom) edge.
void FillGradientRect(Dc& dc, Painter& painter, const TRIVERTEX& first, const TRIVERTEX& second,
                      bool vertical) {
    const TRIVERTEX* a = &first;
    const TRIVERTEX* b = &second;
    POINT p = dc.ToSurface(a->x, a->y), q = dc.ToSurface(b->x, b->y);
    if ((vertical ? p.y > q.y : p.x > q.x)) {
        std::swap(a, b);
        std::swap(p, q);
    }
    RECT box = NormalizedRect(p.x, p.y, q.x, q.y);
    RECT visible = IntersectRects(box, painter.Clip().Bounds());
    if (IsEmptyRect(visible))
        return;
    int64_t steps = vertical ? int64_t(box.bottom) - box.top : int64_t(box.right) - box.left;
    if (vertical) {
        for (LONG y = visible.top; y < visible.bottom; ++y)
            painter.Span(y, box.left, box.right, Interpolate(*a, *b, y - box.top, steps));
        return;
    }
    for (LONG x = visible.left; x < visible.right; ++x)
        painter.Fill(RECT{x, box.top, x + 1, box.bottom}, Interpolate(*a, *b, x - box.left, steps));
}

} // namespace

CE_API int FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
    auto context = DcForCall(dc);
    auto fill = BrushForCall(brush);
    if (!context || !rect || !fill) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (!fill->IsHollow())
        Painter(*context).Fill(context->ToSurface(*rect), fill->Color());
    return 1;
}

CE_API BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop) {
    auto context = DcForCall(dc);
    if (!context)
        return FALSE;
    if (RopUsesSource(rop)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (RopUsesPattern(rop) && !HasBrush(*context))
        return TRUE;
    RECT rect{x, y, LONG(std::clamp<int64_t>(int64_t(x) + width, INT32_MIN, INT32_MAX)),
              LONG(std::clamp<int64_t>(int64_t(y) + height, INT32_MIN, INT32_MAX))};
    Painter(*context).Fill(context->ToSurface(rect), BrushColor(*context), rop);
    return TRUE;
}

CE_API BOOL Rectangle(HDC dc, int left, int top, int right, int bottom) {
    return DrawBox(dc, left, top, right, bottom, 0, 0);
}

CE_API BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int width, int height) {
    return DrawBox(dc, left, top, right, bottom, width, height);
}

CE_API BOOL Ellipse(HDC dc, int left, int top, int right, int bottom) {
    int64_t width = std::llabs(int64_t(right) - left), height = std::llabs(int64_t(bottom) - top);
    return DrawBox(dc, left, top, right, bottom, LONG(std::min<int64_t>(width, INT32_MAX)),
                   LONG(std::min<int64_t>(height, INT32_MAX)));
}

CE_API BOOL Polygon(HDC dc, const POINT* points, int count) {
    auto context = DcForCall(dc);
    if (!context || !points || count < 2 || count > kMaxPoints) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::vector<POINT> mapped = SurfacePoints(*context, points, count);
    Painter painter(*context);
    if (HasBrush(*context))
        painter.FillPolygon(mapped, BrushColor(*context));
    if (const PenObject* pen = context->Pen())
        for (size_t i = 0; i < mapped.size(); ++i)
            painter.Line(mapped[i], mapped[(i + 1) % mapped.size()], *pen, false);
    return TRUE;
}

CE_API BOOL Polyline(HDC dc, const POINT* points, int count) {
    auto context = DcForCall(dc);
    if (!context || !points || count < 2 || count > kMaxPoints) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::vector<POINT> mapped = SurfacePoints(*context, points, count);
    Painter painter(*context);
    if (const PenObject* pen = context->Pen())
        for (size_t i = 0; i + 1 < mapped.size(); ++i)
            painter.Line(mapped[i], mapped[i + 1], *pen, false);
    return TRUE;
}

CE_API BOOL MoveToEx(HDC dc, int x, int y, LPPOINT previous) {
    auto context = DcForCall(dc, false);
    if (!context)
        return FALSE;
    if (previous)
        *previous = context->State().position;
    context->State().position = POINT{x, y};
    return TRUE;
}

CE_API BOOL LineTo(HDC dc, int x, int y) {
    auto context = DcForCall(dc);
    if (!context)
        return FALSE;
    POINT from = context->State().position;
    if (const PenObject* pen = context->Pen())
        Painter(*context).Line(context->ToSurface(from.x, from.y), context->ToSurface(x, y), *pen, false);
    context->State().position = POINT{x, y};
    return TRUE;
}

CE_API COLORREF SetPixel(HDC dc, int x, int y, COLORREF color) {
    auto context = DcForCall(dc);
    if (!context)
        return CLR_INVALID;
    POINT p = context->ToSurface(x, y);
    if (!context->Clip().Contains(p.x, p.y))
        return CLR_INVALID;
    SetPixelRgb(*context->Target(), p.x, p.y, RgbFromColorRef(color));
    return ColorRefFromRgb(GetPixelRgb(*context->Target(), p.x, p.y));
}

CE_API COLORREF GetPixel(HDC dc, int x, int y) {
    auto context = DcForCall(dc);
    if (!context)
        return CLR_INVALID;
    POINT p = context->ToSurface(x, y);
    if (!context->Clip().Contains(p.x, p.y))
        return CLR_INVALID;
    return ColorRefFromRgb(GetPixelRgb(*context->Target(), p.x, p.y));
}

CE_API BOOL GradientFill(HDC dc, PTRIVERTEX vertices, ULONG vertexCount, PVOID mesh,
                         ULONG meshCount, ULONG mode) {
    auto context = DcForCall(dc);
    if (!context || !vertices || !mesh ||
        (mode != GRADIENT_FILL_RECT_H && mode != GRADIENT_FILL_RECT_V)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const auto* rects = static_cast<const GRADIENT_RECT*>(mesh);
    for (ULONG i = 0; i < meshCount; ++i) {
        if (rects[i].UpperLeft >= vertexCount || rects[i].LowerRight >= vertexCount) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
    }
    Painter painter(*context);
    for (ULONG i = 0; i < meshCount && painter.CanDraw(); ++i)
        FillGradientRect(*context, painter, vertices[rects[i].UpperLeft], vertices[rects[i].LowerRight],
                         mode == GRADIENT_FILL_RECT_V);
    return TRUE;
}
