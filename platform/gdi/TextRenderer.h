// Measures and draws runs of UTF-16 text with the font selected into a DC: glyphs from
// the face's cache blended into the surface with the text colour, the opaque background
// cell, underline and strike-out. Works in surface coordinates through a given clip.
#pragma once

#include "gdi/Dc.h"
#include "gdi/FontFace.h"

#include <string_view>
#include <vector>

namespace platform {

// The code point at `index` (a surrogate pair counts as one; a lone surrogate is U+FFFD),
// advancing `index` past it.
char32_t NextCodePoint(std::u16string_view text, size_t& index);

class TextRenderer {
public:
    // `dc` must have a font whose face resolved (Usable() tells).
    explicit TextRenderer(Dc& dc);

    bool Usable() const { return m_face != nullptr; }
    const FontMetrics& Metrics() const { return m_face->Metrics(); }
    int Height() const { return Metrics().ascent + Metrics().descent; }

    // Width of a run. Tabs jump to the next multiple of `tabWidth` (0: tabs have no width);
    // other control characters have no width.
    int Measure(std::u16string_view text, int tabWidth = 0) const;
    // The advance of every UTF-16 unit (the second unit of a pair gets 0).
    std::vector<int> Advances(std::u16string_view text) const;

    // Draws a run with its cell's top-left corner at `origin` (surface coordinates).
    // `dx` (optional) gives the advance of every UTF-16 unit. Fills the cell with the
    // background colour when the DC's background mode is opaque.
    void DrawRun(POINT origin, std::u16string_view text, const int* dx, int tabWidth,
                 const Region& clip);
    // Fills `rect` through `clip` (background, underline).
    void FillClipped(const RECT& rect, COLORREF color, const Region& clip);

private:
    void DrawGlyph(const Glyph& glyph, LONG penX, LONG baseline, uint32_t rgb, const Region& clip);

    Dc& m_dc;
    FontFace* m_face = nullptr;
    const LOGFONTW* m_log = nullptr;
};

} // namespace platform
