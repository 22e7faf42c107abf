// A "font" element: the face, size, weight and quality of a platform font, the DrawText
// format bits the skin adds, the text colour and an optional shadow colour.
#pragma once

#include "corlist/skin/ColorElement.h"

namespace corlist {

class DrawSurface;

class FontElement : public ColorElement {
public:
    // Largest character height in pixels a skin may ask for.
    static constexpr int kMaxSize = 2048;

    // The size starts at -10 times the platform's border width.
    FontElement();
    ~FontElement() override;

    void CopyFrom(const SkinElement& other) override;
    // Those of "color" (the text colour), and "fontname", "size" (times the coordinate
    // scale), "weight", "quality", "textstyle" (comma-separated words) and "shadow".
    bool SetAttribute(const char* name, const char* value, common::NodeArena& arena) override;

    // Draws `text` (`length` units, -1: zero-terminated) as DrawTextW does, with the
    // element's format bits OR-ed into `format`: first the shadow (when set) one pixel up and
    // to the left, then the text in the effective colour (when set). The DC's font, text
    // colour and background mode are restored. Returns DrawTextW's height of the last call.
    int DrawText(DrawSurface& surface, LPCWSTR text, int length, RECT& rect, UINT format);
    // The platform font, created on first use; the element owns it.
    HFONT Font();

    const WCHAR* FaceName() const { return m_face; }
    int Size() const { return m_size; }
    int Weight() const { return m_weight; }
    int Quality() const { return m_quality; }
    UINT Format() const { return m_format; }
    COLORREF ShadowColour() const { return m_shadow; }

private:
    WCHAR* m_face = nullptr; // in the skin's arena; null: the system font's face
    int m_size = 0;
    int m_weight = 400;
    int m_quality = 0;
    UINT m_format = 0;
    COLORREF m_shadow = kColourNone;
    HFONT m_font = nullptr;
};

} // namespace corlist
