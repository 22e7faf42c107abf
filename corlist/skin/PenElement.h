// A "pen" element: a colour drawn as a solid one-pixel platform pen. The skin's colour mask
// does not tint pens.
#pragma once

#include "corlist/skin/ColorElement.h"

namespace corlist {

class PenElement : public ColorElement {
public:
    PenElement() = default;
    ~PenElement() override;

    // The pen of the effective colour, created on first use and again when the colour has
    // changed since; the platform's null pen (shared) when there is no colour. The element
    // owns the pen: callers select it and must not delete it.
    HPEN Pen();

private:
    HPEN m_pen = nullptr;
    COLORREF m_penColour = kColourNone;
};

} // namespace corlist
