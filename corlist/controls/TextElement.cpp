#include "corlist/controls/TextElement.h"

#include <cstring>
#include <strings.h>

namespace corlist {

void TextElement::SetNode(common::XmlNode* node) {
    ControlElement::SetNode(node);
    m_font.SetNode(node);
}

void TextElement::CopyFrom(const SkinElement& other) {
    ControlElement::CopyFrom(other);
    m_font.CopyFrom(static_cast<const TextElement&>(other).m_font);
}

// "size" names both the control's width and height and the font's size: a pair is the
// control's, a single number the font's (a control size needs both).
bool TextElement::SetAttribute(const char* name, const char* value, common::NodeArena& arena) {
    if (name && value && strcasecmp(name, "size") == 0 && !std::strchr(value, ','))
        return m_font.SetAttribute(name, value, arena);
    return ControlElement::SetAttribute(name, value, arena) || m_font.SetAttribute(name, value, arena);
}

FontElement* TextElement::DisabledFont() {
    FontElement* disabled = ControlElement::Font("disabled");
    return disabled ? disabled : Font();
}

} // namespace corlist
