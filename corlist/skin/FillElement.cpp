#include "corlist/skin/FillElement.h"

#include "common/XmlNode.h"
#include "corlist/skin/AttributeTable.h"
#include "corlist/skin/AttributeValues.h"
#include "corlist/skin/ColourNotation.h"
#include "corlist/skin/DrawSurface.h"
#include "corlist/skin/ImageElement.h"
#include "corlist/skin/SurfaceFill.h"

#include "ce/wingdi.h"

namespace corlist {

namespace {

enum Attribute { kGradient, kGradientType };

const AttributeTable& Attributes() {
    static const AttributeTable table{{kGradient, "gradient"}, {kGradientType, "gradientType"}};
    return table;
}

TRIVERTEX Vertex(LONG x, LONG y, COLORREF colour) {
    return TRIVERTEX{x, y, COLOR16((colour & 0xFF) << 8), COLOR16(colour & 0xFF00),
                     COLOR16(((colour >> 16) & 0xFF) << 8), 0};
}

} // namespace

FillElement::~FillElement() {
    if (m_brush)
        DeleteObject(m_brush);
}

void FillElement::CopyFrom(const SkinElement& other) {
    const auto* source = dynamic_cast<const FillElement*>(&other);
    if (!source)
        return;
    ColorElement::CopyFrom(other);
    m_gradient = source->m_gradient;
    m_horizontal = source->m_horizontal;
}

bool FillElement::SetAttribute(const char* name, const char* value, common::NodeArena& arena) {
    switch (Attributes().Find(name)) {
    case kGradient:
        m_gradient = ParseColour(value);
        return true;
    case kGradientType:
        if (int type = 0; ParseInteger(value, type))
            m_horizontal = type != 0;
        return true;
    default:
        return ColorElement::SetAttribute(name, value, arena);
    }
}

ImageElement* FillElement::BackgroundImage() {
    if (m_imageLookedUp)
        return m_image;
    m_imageLookedUp = true;
    for (const common::XmlNode* child = m_node ? m_node->firstChild : nullptr; child;
         child = child->nextSibling) {
        if (child->Kind() == SkinKind::kImage) {
            m_image = dynamic_cast<ImageElement*>(child->element);
            break;
        }
    }
    return m_image;
}

HBRUSH FillElement::Brush() {
    COLORREF colour = EffectiveColour();
    if (colour == kColourNone)
        return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    if (m_brush && m_brushColour != colour) {
        DeleteObject(m_brush);
        m_brush = nullptr;
    }
    if (!m_brush) {
        m_brush = CreateSolidBrush(colour);
        m_brushColour = colour;
    }
    return m_brush;
}

bool FillElement::PaintGradient(DrawSurface& surface, const RECT& rect, const RECT& clip) {
    HDC dc = surface.Dc();
    RECT area = surface.Clipped(clip);
    if (IsEmptyRect(area) || IsEmptyRect(rect))
        return true; // nothing to draw is not a failure of the platform
    TRIVERTEX vertices[2] = {Vertex(rect.left, rect.top, EffectiveColour()),
                             Vertex(rect.right, rect.bottom, m_gradient)};
    GRADIENT_RECT mesh{0, 1};
    int saved = SaveDC(dc);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    BOOL drawn = GradientFill(dc, vertices, 2, &mesh, 1,
                              m_horizontal ? GRADIENT_FILL_RECT_H : GRADIENT_FILL_RECT_V);
    RestoreDC(dc, saved);
    return drawn != FALSE;
}

void FillElement::Paint(DrawSurface& surface, const RECT& rect, const RECT& clip) {
    if (ImageElement* image = BackgroundImage()) {
        image->Draw(surface, rect, -1, &clip);
        return;
    }
    if (m_gradient != kColourNone && EffectiveColour() != kColourNone && !m_gradientFailed) {
        if (PaintGradient(surface, rect, clip))
            return;
        m_gradientFailed = true;
    }
    FillRect(surface, IntersectRects(rect, clip), EffectiveColour(), TintWeight());
}

} // namespace corlist
