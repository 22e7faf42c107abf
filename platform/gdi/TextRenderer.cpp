#include "gdi/TextRenderer.h"

#include "gdi/FontObject.h"
#include "gdi/PixelFormats.h"
#include "gdi/Raster.h"

#include <algorithm>

namespace platform {

char32_t NextCodePoint(std::u16string_view text, size_t& index) {
    char16_t unit = text[index++];
    if (unit >= 0xD800 && unit <= 0xDBFF && index < text.size()) {
        char16_t low = text[index];
        if (low >= 0xDC00 && low <= 0xDFFF) {
            ++index;
            return 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (char32_t(low) - 0xDC00);
        }
    }
    if (unit >= 0xD800 && unit <= 0xDFFF)
        return 0xFFFD;
    return unit;
}

TextRenderer::TextRenderer(Dc& dc) : m_dc(dc) {
    if (const FontObject* font = dc.Font()) {
        m_face = font->Face();
        m_log = &font->Log();
    }
}

int TextRenderer::Measure(std::u16string_view text, int tabWidth) const {
    int64_t width = 0;
    for (size_t i = 0; i < text.size();) {
        char32_t c = NextCodePoint(text, i);
        if (c == u'\t' && tabWidth > 0)
            width = (width / tabWidth + 1) * tabWidth;
        else if (c >= 0x20)
            width += m_face->Advance(c);
    }
    return int(std::min<int64_t>(width, INT32_MAX));
}

std::vector<int> TextRenderer::Advances(std::u16string_view text) const {
    std::vector<int> advances(text.size(), 0);
    for (size_t i = 0; i < text.size();) {
        size_t start = i;
        char32_t c = NextCodePoint(text, i);
        advances[start] = c >= 0x20 ? m_face->Advance(c) : 0;
    }
    return advances;
}

void TextRenderer::FillClipped(const RECT& rect, COLORREF color, const Region& clip) {
    Surface* surface = m_dc.Target();
    if (!surface)
        return;
    for (const RECT& part : clip.Rects())
        if (RECT piece = IntersectRects(rect, part); !IsEmptyRect(piece))
            RasterFill(*surface, piece, RgbFromColorRef(color), PATCOPY);
}

// Blends the glyph's coverage rows into every clip rectangle they cross.
void TextRenderer::DrawGlyph(const Glyph& glyph, LONG penX, LONG baseline, uint32_t rgb,
                             const Region& clip) {
    Surface& surface = *m_dc.Target();
    RECT box{penX + glyph.left, baseline - glyph.top, penX + glyph.left + glyph.width,
             baseline - glyph.top + glyph.height};
    for (const RECT& part : clip.Rects()) {
        RECT piece = IntersectRects(box, part);
        if (IsEmptyRect(piece))
            continue;
        for (LONG y = piece.top; y < piece.bottom; ++y) {
            const uint8_t* row = glyph.coverage.data() + size_t(y - box.top) * size_t(glyph.width);
            RasterCoverageRow(surface, piece.left, y, row + (piece.left - box.left),
                              int(piece.right - piece.left), rgb);
        }
    }
}

void TextRenderer::DrawRun(POINT origin, std::u16string_view text, const int* dx, int tabWidth,
                           const Region& clip) {
    if (!m_face || !m_dc.Target())
        return;
    const DcState& state = m_dc.State();
    const FontMetrics& metrics = Metrics();
    int64_t width = 0;
    if (dx)
        for (size_t i = 0; i < text.size(); ++i)
            width += dx[i];
    else
        width = Measure(text, tabWidth);
    LONG right = LONG(std::clamp<int64_t>(origin.x + width, INT32_MIN, INT32_MAX));
    LONG baseline = origin.y + metrics.ascent;
    if (state.bkMode == OPAQUE)
        FillClipped(RECT{origin.x, origin.y, right, baseline + metrics.descent}, state.bkColor, clip);
    uint32_t rgb = RgbFromColorRef(state.textColor);
    int64_t penX = origin.x;
    for (size_t i = 0; i < text.size();) {
        size_t start = i;
        char32_t c = NextCodePoint(text, i);
        int64_t advance = 0;
        if (c == u'\t' && tabWidth > 0 && !dx) {
            int64_t offset = penX - origin.x;
            advance = (offset / tabWidth + 1) * tabWidth - offset;
        } else if (c >= 0x20) {
            const Glyph& glyph = m_face->GetGlyph(c);
            DrawGlyph(glyph, LONG(penX), baseline, rgb, clip);
            advance = glyph.advance;
        }
        if (dx) {
            advance = 0;
            for (size_t unit = start; unit < i; ++unit)
                advance += dx[unit];
        }
        penX += advance;
        if (penX > INT32_MAX / 2 || penX < INT32_MIN / 2)
            break;
    }
    int thickness = metrics.underlineThickness;
    if (m_log && m_log->lfUnderline) {
        LONG y = baseline + metrics.underlinePosition;
        FillClipped(RECT{origin.x, y, right, y + thickness}, state.textColor, clip);
    }
    if (m_log && m_log->lfStrikeOut) {
        LONG y = baseline - metrics.strikeoutPosition;
        FillClipped(RECT{origin.x, y, right, y + thickness}, state.textColor, clip);
    }
}

} // namespace platform
