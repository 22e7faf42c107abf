#include "corlist/controls/TextElement.h"

namespace corlist {

void TextElement::SetNode(common::XmlNode* node) {
    ControlElement::SetNode(node);
    m_font.SetNode(node);
}

void TextElement::CopyFrom(const SkinElement& other) {
    ControlElement::CopyFrom(other);
    m_font.CopyFrom(static_cast<const TextElement&>(other).m_font);
}

bool TextElement::SetAttribute(const char* name, const char* value, common::NodeArena& arena) {
    return ControlElement::SetAttribute(name, value, arena) || m_font.SetAttribute(name, value, arena);
}

FontElement* TextElement::DisabledFont() {
    FontElement* disabled = ControlElement::Font("disabled");
    return disabled ? disabled : Font();
}

} // namespace corlist
