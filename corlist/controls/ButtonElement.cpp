#include "corlist/controls/ButtonElement.h"

#include "common/XmlNode.h"
#include "corlist/controls/TextElement.h"
#include "corlist/skin/SkinKinds.h"

#include <strings.h>

namespace corlist {

void ButtonElement::SetNode(common::XmlNode* node) {
    ControlElement::SetNode(node);
    m_image.SetNode(node);
}

void ButtonElement::CopyFrom(const SkinElement& other) {
    ControlElement::CopyFrom(other);
    m_image.CopyFrom(static_cast<const ButtonElement&>(other).m_image);
}

bool ButtonElement::SetAttribute(const char* name, const char* value, common::NodeArena& arena) {
    return ControlElement::SetAttribute(name, value, arena) || m_image.SetAttribute(name, value, arena);
}

// The first child that fits a slot fills it; later ones are ignored.
void ButtonElement::CollectLooks() {
    m_looksCollected = true;
    for (common::XmlNode* child = m_node ? m_node->firstChild : nullptr; child; child = child->nextSibling) {
        const char* name = child->name;
        uint32_t kind = child->Kind();
        if (kind == SkinKind::kImage && name) {
            auto* image = static_cast<ImageElement*>(child->element);
            if (!m_pressed && strcasecmp(name, "Pressed") == 0)
                m_pressed = image;
            else if (strncasecmp(name, "Type", 4) == 0 && name[4] >= '1' && name[4] <= '3' &&
                     !m_types[name[4] - '1'] && (name[4] == '1' || name[5] == 0))
                m_types[name[4] - '1'] = image;
        } else if (kind == SkinKind::kControl && name && !m_icon && strcasecmp(name, "Icon") == 0) {
            m_icon = static_cast<ControlElement*>(child->element);
        } else if (kind == SkinKind::kText && !name && !m_labelFont && child->element) {
            m_labelFont = static_cast<TextElement*>(child->element)->Font();
        }
    }
    if (!m_labelFont)
        m_labelFont = ControlElement::Font();
}

ImageElement* ButtonElement::PressedImage() {
    if (!m_looksCollected)
        CollectLooks();
    return m_pressed;
}

ImageElement* ButtonElement::TypeImage(int type) {
    if (!m_looksCollected)
        CollectLooks();
    return type >= 1 && type <= 3 ? m_types[type - 1] : nullptr;
}

ControlElement* ButtonElement::IconArea() {
    if (!m_looksCollected)
        CollectLooks();
    return m_icon;
}

FontElement* ButtonElement::LabelFont() {
    if (!m_looksCollected)
        CollectLooks();
    return m_labelFont;
}

} // namespace corlist
