#include "corlist/skin/EffectElement.h"

#include "corlist/skin/AttributeTable.h"
#include "corlist/skin/AttributeValues.h"

namespace corlist {

namespace {

enum Attribute { kType, kDelay };

const AttributeTable& Attributes() {
    static const AttributeTable table{{kType, "type"}, {kDelay, "delay"}};
    return table;
}

} // namespace

void EffectElement::CopyFrom(const SkinElement& other) {
    if (const auto* source = dynamic_cast<const EffectElement*>(&other)) {
        m_type = source->m_type;
        m_delay = source->m_delay;
    }
}

bool EffectElement::SetAttribute(const char* name, const char* value, common::NodeArena&) {
    switch (Attributes().Find(name)) {
    case kType:
        ParseInteger(value, m_type);
        return true;
    case kDelay:
        ParseInteger(value, m_delay);
        return true;
    default:
        return false;
    }
}

} // namespace corlist
