// A "fill" element: a rectangle painted with a background image (its first child "image"),
// a two-colour gradient, or a solid or translucent colour.
#pragma once

#include "corlist/skin/ColorElement.h"

namespace corlist {

class DrawSurface;
class ImageElement;

class FillElement : public ColorElement {
public:
    FillElement() = default;
    ~FillElement() override;

    void CopyFrom(const SkinElement& other) override;
    // Those of "color", and "gradient" (colour notation) and "gradientType" (0 vertical,
    // anything else horizontal).
    bool SetAttribute(const char* name, const char* value, common::NodeArena& arena) override;

    // Paints `rect`: the background image when the fill has one (nothing else, even when
    // it cannot be loaded); otherwise a gradient from the effective colour to the gradient
    // colour when one is set and the platform draws it; otherwise the effective colour with
    // the tint weight (FillRect) over `rect` cut to `clip`. A gradient the platform refused
    // once is not tried again by this element.
    void Paint(DrawSurface& surface, const RECT& rect, const RECT& clip);
    // A solid brush of the effective colour, created on first use (and again when the
    // colour changed since); the platform's shared null brush when the fill has no colour.
    // The element owns the brush.
    HBRUSH Brush();
    // The first child node of kind image, looked up once; null when there is none.
    ImageElement* BackgroundImage();

    COLORREF GradientColour() const { return m_gradient; }
    void SetGradientColour(COLORREF colour) { m_gradient = colour; }
    bool HorizontalGradient() const { return m_horizontal; }

private:
    bool PaintGradient(DrawSurface& surface, const RECT& rect, const RECT& clip);

    COLORREF m_gradient = kColourNone;
    bool m_horizontal = false;
    HBRUSH m_brush = nullptr;
    COLORREF m_brushColour = kColourNone;
    bool m_imageLookedUp = false;
    ImageElement* m_image = nullptr; // a child node's element; the skin owns it
    bool m_gradientFailed = false;
};

} // namespace corlist
