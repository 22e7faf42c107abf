#include "corlist/skin/PenElement.h"

#include "ce/wingdi.h"

namespace corlist {

PenElement::~PenElement() {
    if (m_pen)
        DeleteObject(m_pen);
}

HPEN PenElement::Pen() {
    COLORREF colour = EffectiveColour();
    if (colour == kColourNone)
        return static_cast<HPEN>(GetStockObject(NULL_PEN));
    if (m_pen && m_penColour != colour) {
        DeleteObject(m_pen);
        m_pen = nullptr;
    }
    if (!m_pen) {
        m_pen = CreatePen(PS_SOLID, 1, colour);
        m_penColour = colour;
    }
    return m_pen;
}

} // namespace corlist
