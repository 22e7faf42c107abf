// A "color" element: a colour of the skin and how strongly the skin's colour mask tints it.
// The base of the pen, fill and font elements, which all carry a colour.
#pragma once

#include "corlist/skin/SkinElement.h"
#include "corlist/skin/SkinKinds.h"

#include "ce/types.h"

namespace corlist {

class ColorElement : public SkinElement {
public:
    ColorElement() = default;

    void CopyFrom(const SkinElement& other) override;
    // "color" (colour notation) and "opacity" (percent, clamped to 0..100).
    bool SetAttribute(const char* name, const char* value, common::NodeArena& arena) override;

    // The colour the skin gave, kColourNone when none.
    COLORREF BaseColour() const { return m_base; }
    // The colour drawn: the base colour, or the base tinted by the skin's colour mask.
    COLORREF EffectiveColour() const { return m_effective; }
    void SetEffectiveColour(COLORREF colour) { m_effective = colour; }
    // -1 when "opacity" was never given, else 0..255.
    int TintWeight() const { return m_tintWeight; }

private:
    COLORREF m_base = kColourNone;
    COLORREF m_effective = kColourNone;
    int m_tintWeight = -1;
};

} // namespace corlist
