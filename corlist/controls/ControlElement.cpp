#include "corlist/controls/ControlElement.h"

#include "common/XmlReader.h"
#include "corlist/skin/AttributeTable.h"
#include "corlist/skin/AttributeValues.h"
#include "corlist/skin/FillElement.h"
#include "corlist/skin/FontElement.h"
#include "corlist/skin/SkinKinds.h"

namespace corlist {

namespace {

enum Attribute { kRect, kPos, kPosX, kPosY, kSize, kSizeX, kSizeY, kShadowRect, kStyle, kBackgroundOpacity };

const AttributeTable& Attributes() {
    static const AttributeTable table{
        {kRect, "rect"},   {kPos, "pos"},     {kPosX, "posx"},   {kPosY, "posy"},
        {kSize, "size"},   {kSizeX, "sizex"}, {kSizeY, "sizey"}, {kShadowRect, "shadowrect"},
        {kStyle, "style"}, {kBackgroundOpacity, "bkgopacity"},
    };
    return table;
}

uint32_t* Words(RectSpec& spec) {
    static_assert(sizeof(RectSpec) == 4 * sizeof(uint32_t));
    return &spec.x;
}

} // namespace

void ControlElement::CopyFrom(const SkinElement& other) {
    const auto& source = static_cast<const ControlElement&>(other);
    for (int i = 0; i < kOrientationCount; ++i)
        m_rects[i] = source.m_rects[i];
    m_shadow = source.m_shadow;
    m_style = source.m_style;
    m_backgroundOpacity = source.m_backgroundOpacity;
}

bool ControlElement::SetAttribute(const char* name, const char* value, common::NodeArena&) {
    switch (Attributes().Find(name)) {
    case kRect:
        return SetCoordinates(value, 0, 4);
    case kPos:
        return SetCoordinates(value, 0, 2);
    case kPosX:
        return SetCoordinates(value, 0, 1);
    case kPosY:
        return SetCoordinates(value, 1, 1);
    case kSize:
        return SetCoordinates(value, 2, 2);
    case kSizeX:
        return SetCoordinates(value, 2, 1);
    case kSizeY:
        return SetCoordinates(value, 3, 1);
    case kShadowRect: {
        bool unsetAll = false;
        if (!ParseCoordinates(value, 0, 4, Words(m_shadow), unsetAll) && unsetAll)
            m_shadow.Unset();
        return true;
    }
    case kStyle: {
        uint32_t words = ParseWordBits(value, {{"touch", 0xC00000}, {"touchv", 0x800000}, {"touchh", 0x400000},
                                               {"check", 0x200000}, {"hide", 0x1}});
        m_style |= words & ~0x1u;
        if (words & 0x1)
            m_style &= ~ControlStyle::kVisible;
        return true;
    }
    case kBackgroundOpacity: {
        int percent = 0;
        if (ParseInteger(value, percent))
            m_backgroundOpacity = PercentToWeight(percent, 25600);
        return true;
    }
    default:
        return false;
    }
}

// The portrait words from position `first` on; an item that unsets unsets the whole
// portrait placement.
bool ControlElement::SetCoordinates(const char* value, int first, int count) {
    bool unsetAll = false;
    if (!ParseCoordinates(value, first, count, Words(m_rects[0]) + first, unsetAll) && unsetAll)
        m_rects[0].Unset();
    return true;
}

SkinElement* ControlElement::Child(uint32_t kind, const char* name) const {
    common::XmlNode* node = m_node ? common::XmlReader::FindNode(m_node->firstChild, name, kind) : nullptr;
    return node ? static_cast<SkinElement*>(node->element) : nullptr;
}

// The element object of the first child of `kind`, named or not.
SkinElement* ControlElement::FirstChild(uint32_t kind) const {
    common::XmlNode* node = m_node ? m_node->firstChild : nullptr;
    while (node && node->Kind() != kind)
        node = node->nextSibling;
    return node ? static_cast<SkinElement*>(node->element) : nullptr;
}

FontElement* ControlElement::Font(const char* name) {
    if (name)
        return static_cast<FontElement*>(Child(SkinKind::kFont, name));
    if (!m_fontLookedUp) {
        m_fontLookedUp = true;
        m_font = static_cast<FontElement*>(FirstChild(SkinKind::kFont));
    }
    return m_font;
}

FillElement* ControlElement::Fill(const char* name) {
    if (name)
        return static_cast<FillElement*>(Child(SkinKind::kFill, name));
    if (!m_fillLookedUp) {
        m_fillLookedUp = true;
        m_fill = static_cast<FillElement*>(FirstChild(SkinKind::kFill));
    }
    return m_fill;
}

} // namespace corlist
