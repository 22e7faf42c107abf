#include "corlist/controls/BoxPainter.h"

#include "corlist/controls/BoxElement.h"
#include "corlist/skin/DrawSurface.h"
#include "corlist/skin/FillElement.h"
#include "corlist/skin/FontElement.h"
#include "corlist/skin/ImageElement.h"

#include "ce/user.h"

#include <algorithm>

namespace corlist {

namespace {

int Margin() {
    return 4 * GetSystemMetrics(SM_CXBORDER);
}

// Paints the quarter circle of one corner: the circle of the corner drawn in the corner's
// square only.
void RoundCorner(DrawSurface& surface, FillElement& fill, const RECT& square, const RECT& circle, const RECT& clip) {
    RECT area = IntersectRects(square, clip);
    if (IsEmptyRect(area))
        return;
    RECT saved = surface.Clip();
    surface.SetClip(IntersectRects(area, saved));
    HGDIOBJ oldBrush = SelectObject(surface.Dc(), fill.Brush());
    HGDIOBJ oldPen = SelectObject(surface.Dc(), GetStockObject(NULL_PEN));
    Ellipse(surface.Dc(), circle.left, circle.top, circle.right, circle.bottom);
    SelectObject(surface.Dc(), oldPen);
    SelectObject(surface.Dc(), oldBrush);
    surface.SetClip(saved);
}

// An image at its own size, centred vertically in `area` at its left edge.
void DrawAtLeft(DrawSurface& surface, ImageElement& image, const RECT& area, const RECT& clip, int index) {
    SIZE size = image.SubImageSize();
    LONG top = area.top + (area.bottom - area.top - size.cy) / 2;
    RECT place{area.left, top, area.left + size.cx, top + size.cy};
    image.Draw(surface, place, index, &clip);
}

void PaintTexts(DrawSurface& surface, BoxElement& element, RECT area, const BoxRow& row) {
    FontElement* disabled = row.disabled ? element.DisabledFont() : nullptr;
    FontElement* small = disabled ? disabled : element.SmallFont();
    FontElement* main = disabled ? disabled : (row.style & BoxStyle::kTextSmall) ? element.SmallFont() : element.LargeFont();
    bool twoLines = row.second && row.second[0];
    if (row.text && row.text[0] && main) {
        RECT place = area;
        UINT format = DT_LEFT | DT_SINGLELINE | DT_VCENTER;
        if (twoLines) {
            place.bottom = area.top + (area.bottom - area.top) / 2;
            format = DT_LEFT | DT_SINGLELINE | DT_BOTTOM;
        } else if (row.style & BoxStyle::kMultiRows) {
            format = DT_LEFT | DT_WORDBREAK;
        }
        main->DrawText(surface, row.text, -1, place, format);
    }
    if (twoLines && small) {
        RECT place = area;
        place.top = area.top + (area.bottom - area.top) / 2;
        small->DrawText(surface, row.second, -1, place, DT_LEFT | DT_SINGLELINE | DT_TOP);
    }
}

} // namespace

uint32_t BoxCorners(uint32_t style) {
    uint32_t corners = 0;
    if (style & BoxStyle::kRoundTop)
        corners |= Corner::kTopLeft | Corner::kTopRight;
    if (style & BoxStyle::kRoundBottom)
        corners |= Corner::kBottomLeft | Corner::kBottomRight;
    return corners;
}

int BoxCornerRadius() {
    return 4 * GetSystemMetrics(SM_CXBORDER);
}

BoxParts SplitBox(const RECT& box, int separator, uint32_t corners, bool split) {
    BoxParts parts;
    int width = box.right - box.left;
    if (!split || separator <= 0 || width <= 0) {
        parts.rest = box;
        parts.restCorners = corners;
        return parts;
    }
    LONG edge = box.left + std::min(separator, width);
    parts.focus = RECT{box.left, box.top, edge, box.bottom};
    parts.rest = RECT{edge, box.top, box.right, box.bottom};
    parts.focusCorners = corners & Corner::kLeft;
    parts.restCorners = corners & Corner::kRight;
    return parts;
}

void FillRounded(DrawSurface& surface, FillElement& fill, const RECT& rect, const RECT& clip, uint32_t corners,
                 int radius) {
    int r = std::min({radius, int(rect.right - rect.left) / 2, int(rect.bottom - rect.top) / 2});
    if (corners == 0 || r <= 0) {
        fill.Paint(surface, rect, clip);
        return;
    }
    // Bands without the rounded corners' squares, each painted over the whole rectangle so a
    // gradient stays continuous, then the corners as quarter circles.
    LONG top = rect.top + ((corners & (Corner::kTopLeft | Corner::kTopRight)) ? r : 0);
    LONG bottom = rect.bottom - ((corners & (Corner::kBottomLeft | Corner::kBottomRight)) ? r : 0);
    const RECT bands[3] = {
        {rect.left + ((corners & Corner::kTopLeft) ? r : 0), rect.top, rect.right - ((corners & Corner::kTopRight) ? r : 0), top},
        {rect.left, top, rect.right, bottom},
        {rect.left + ((corners & Corner::kBottomLeft) ? r : 0), bottom,
         rect.right - ((corners & Corner::kBottomRight) ? r : 0), rect.bottom},
    };
    for (const RECT& band : bands) {
        RECT area = IntersectRects(band, clip);
        if (!IsEmptyRect(area))
            fill.Paint(surface, rect, area);
    }
    const LONG d = 2 * r;
    if (corners & Corner::kTopLeft)
        RoundCorner(surface, fill, {rect.left, rect.top, rect.left + r, rect.top + r},
                    {rect.left, rect.top, rect.left + d, rect.top + d}, clip);
    if (corners & Corner::kTopRight)
        RoundCorner(surface, fill, {rect.right - r, rect.top, rect.right, rect.top + r},
                    {rect.right - d, rect.top, rect.right, rect.top + d}, clip);
    if (corners & Corner::kBottomLeft)
        RoundCorner(surface, fill, {rect.left, rect.bottom - r, rect.left + r, rect.bottom},
                    {rect.left, rect.bottom - d, rect.left + d, rect.bottom}, clip);
    if (corners & Corner::kBottomRight)
        RoundCorner(surface, fill, {rect.right - r, rect.bottom - r, rect.right, rect.bottom},
                    {rect.right - d, rect.bottom - d, rect.right, rect.bottom}, clip);
}

RECT PreviousArrowRect(BoxElement& element, const RECT& rect) {
    ImageElement* image = element.PreviousImage();
    SIZE size = image ? image->SubImageSize() : SIZE{0, 0};
    if (size.cx <= 0)
        return RECT{};
    return RECT{rect.left, rect.top, std::min(rect.right, rect.left + Margin() + size.cx), rect.bottom};
}

RECT NextArrowRect(BoxElement& element, const RECT& rect) {
    ImageElement* image = element.NextImage();
    SIZE size = image ? image->SubImageSize() : SIZE{0, 0};
    if (size.cx <= 0)
        return RECT{};
    return RECT{std::max(rect.left, rect.right - Margin() - size.cx), rect.top, rect.right, rect.bottom};
}

void PaintBox(DrawSurface& surface, BoxElement& element, const RECT& rect, const RECT& clip, const BoxRow& row) {
    if (IsEmptyRect(rect))
        return;
    uint32_t corners = BoxCorners(row.style);
    bool split = row.focused && !(row.style & (BoxStyle::kSingleBox | BoxStyle::kHeader));
    BoxParts parts = SplitBox(rect, element.SeparatorPosition(rect.right - rect.left), corners, split);
    FillElement* restFill = element.TextFill();
    if (row.style & BoxStyle::kHeader)
        restFill = element.HeaderFill() ? element.HeaderFill() : restFill;
    else if (row.focused)
        restFill = element.TextFocusFill() ? element.TextFocusFill() : restFill;
    if (FillElement* focusFill = element.FocusFill(); focusFill && !IsEmptyRect(parts.focus))
        FillRounded(surface, *focusFill, parts.focus, clip, parts.focusCorners, BoxCornerRadius());
    if (restFill)
        FillRounded(surface, *restFill, parts.rest, clip, parts.restCorners, BoxCornerRadius());

    RECT text{rect.left + Margin() + row.textIndent, rect.top, rect.right - Margin(), rect.bottom};
    if (RECT arrow = PreviousArrowRect(element, rect); row.previous && !IsEmptyRect(arrow)) {
        DrawAtLeft(surface, *element.PreviousImage(), RECT{rect.left + Margin(), rect.top, arrow.right, rect.bottom}, clip, -1);
        text.left = arrow.right;
    }
    if (RECT arrow = NextArrowRect(element, rect); row.next && !IsEmptyRect(arrow)) {
        DrawAtLeft(surface, *element.NextImage(), arrow, clip, -1);
        text.right = arrow.left;
    }
    if (ImageElement* check = element.CheckImage(); check && row.checked) {
        SIZE size = check->SubImageSize();
        text.right -= size.cx;
        DrawAtLeft(surface, *check, RECT{text.right, rect.top, text.right + size.cx, rect.bottom}, clip, -1);
    }
    PaintTexts(surface, element, text, row);
}

} // namespace corlist
