#include "corlist/skin/FontElement.h"

#include "corlist/skin/AttributeTable.h"
#include "corlist/skin/AttributeValues.h"
#include "corlist/skin/ColourNotation.h"
#include "corlist/skin/DrawSurface.h"
#include "corlist/skin/SkinMetrics.h"

#include "ce/user.h"
#include "ce/wingdi.h"

#include <algorithm>

namespace corlist {

namespace {

enum Attribute { kFontName, kSize, kWeight, kQuality, kTextStyle, kShadow };

const AttributeTable& Attributes() {
    static const AttributeTable table{{kFontName, "fontname"}, {kSize, "size"},
                                      {kWeight, "weight"},     {kQuality, "quality"},
                                      {kTextStyle, "textstyle"}, {kShadow, "shadow"}};
    return table;
}

UINT ParseTextStyle(const char* value) {
    return ParseWordBits(value, {{"top", 0},
                                 {"left", 0},
                                 {"right", DT_RIGHT},
                                 {"bottom", DT_BOTTOM | DT_SINGLELINE},
                                 {"centerv", DT_VCENTER | DT_SINGLELINE},
                                 {"centerh", DT_CENTER},
                                 {"wordbreak", DT_WORDBREAK},
                                 {"center", DT_CENTER | DT_VCENTER | DT_SINGLELINE},
                                 {"...", DT_END_ELLIPSIS | DT_SINGLELINE}});
}

} // namespace

FontElement::FontElement() : m_size(-10 * GetSystemMetrics(SM_CXBORDER)) {}

FontElement::~FontElement() {
    if (m_font)
        DeleteObject(m_font);
}

void FontElement::CopyFrom(const SkinElement& other) {
    const auto* source = dynamic_cast<const FontElement*>(&other);
    if (!source)
        return;
    ColorElement::CopyFrom(other);
    m_face = source->m_face; // both live in the same arena for the skin's whole life
    m_size = source->m_size;
    m_weight = source->m_weight;
    m_quality = source->m_quality;
    m_format = source->m_format;
    m_shadow = source->m_shadow;
}

bool FontElement::SetAttribute(const char* name, const char* value, common::NodeArena& arena) {
    int number = 0;
    switch (Attributes().Find(name)) {
    case kFontName:
        m_face = CopyWide(value, arena);
        return true;
    case kSize:
        if (ParseInteger(value, number))
            m_size = std::clamp(number, -kMaxSize, kMaxSize) * CoordinateScale();
        return true;
    case kWeight:
        if (ParseInteger(value, number))
            m_weight = std::clamp(number, 0, 1000);
        return true;
    case kQuality:
        if (ParseInteger(value, number))
            m_quality = number & 0xFF;
        return true;
    case kTextStyle:
        m_format = ParseTextStyle(value);
        return true;
    case kShadow:
        m_shadow = ParseColour(value);
        return true;
    default:
        return ColorElement::SetAttribute(name, value, arena);
    }
}

HFONT FontElement::Font() {
    if (m_font)
        return m_font;
    LOGFONTW font{};
    GetObjectW(GetStockObject(SYSTEM_FONT), sizeof(font), &font);
    if (m_face) {
        size_t i = 0;
        for (; i + 1 < LF_FACESIZE && m_face[i]; ++i)
            font.lfFaceName[i] = m_face[i];
        font.lfFaceName[i] = 0;
    }
    font.lfHeight = -m_size;
    font.lfWeight = m_weight;
    font.lfQuality = BYTE(m_quality);
    m_font = CreateFontIndirectW(&font);
    return m_font;
}

int FontElement::DrawText(DrawSurface& surface, LPCWSTR text, int length, RECT& rect, UINT format) {
    HDC dc = surface.Dc();
    if (!dc || !text)
        return 0;
    format |= m_format;
    HGDIOBJ oldFont = SelectObject(dc, Font());
    COLORREF oldColour = GetTextColor(dc);
    int oldMode = SetBkMode(dc, TRANSPARENT);
    int height = 0;
    if (m_shadow != kColourNone) {
        RECT shadow{rect.left - 1, rect.top - 1, rect.right - 1, rect.bottom - 1};
        SetTextColor(dc, m_shadow);
        height = DrawTextW(dc, text, length, &shadow, format);
    }
    if (EffectiveColour() != kColourNone) {
        SetTextColor(dc, EffectiveColour());
        height = DrawTextW(dc, text, length, &rect, format);
    }
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldColour);
    SelectObject(dc, oldFont);
    return height;
}

} // namespace corlist
