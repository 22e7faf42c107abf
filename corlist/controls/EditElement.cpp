#include "corlist/controls/EditElement.h"

#include "corlist/skin/AttributeTable.h"
#include "corlist/skin/ColourNotation.h"

namespace corlist {

void EditElement::CopyFrom(const SkinElement& other) {
    TextElement::CopyFrom(other);
    const auto& source = static_cast<const EditElement&>(other);
    m_background = source.m_background;
    m_border = source.m_border;
}

bool EditElement::SetAttribute(const char* name, const char* value, common::NodeArena& arena) {
    if (EqualsIgnoringCase(name, "bkgnd")) {
        m_background = ParseColour(value);
        return true;
    }
    if (EqualsIgnoringCase(name, "border")) {
        m_border = ParseColour(value);
        return true;
    }
    return TextElement::SetAttribute(name, value, arena);
}

} // namespace corlist
