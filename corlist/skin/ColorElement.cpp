#include "corlist/skin/ColorElement.h"

#include "corlist/skin/AttributeTable.h"
#include "corlist/skin/AttributeValues.h"
#include "corlist/skin/ColourNotation.h"

namespace corlist {

namespace {

enum Attribute { kColor, kOpacity };

const AttributeTable& Attributes() {
    static const AttributeTable table{{kColor, "color"}, {kOpacity, "opacity"}};
    return table;
}

} // namespace

void ColorElement::CopyFrom(const SkinElement& other) {
    const auto* source = dynamic_cast<const ColorElement*>(&other);
    if (!source)
        return;
    m_base = source->m_base;
    m_effective = source->m_effective;
    m_tintWeight = source->m_tintWeight;
}

bool ColorElement::SetAttribute(const char* name, const char* value, common::NodeArena&) {
    switch (Attributes().Find(name)) {
    case kColor:
        m_base = m_effective = ParseColour(value);
        return true;
    case kOpacity:
        if (int percent = 0; ParseInteger(value, percent))
            m_tintWeight = PercentToWeight(percent, 25500);
        return true;
    default:
        return false;
    }
}

} // namespace corlist
