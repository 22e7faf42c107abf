#include "corlist/controls/ScrollBarElement.h"

#include "corlist/skin/AttributeTable.h"
#include "corlist/skin/AttributeValues.h"

namespace corlist {

namespace {

enum Attribute { kScrollerSize, kTrackerSize, kTrackerPos };

const AttributeTable& Attributes() {
    static const AttributeTable table{
        {kScrollerSize, "scrollerSize"}, {kTrackerSize, "trackerSize"}, {kTrackerPos, "trackerPos"}};
    return table;
}

} // namespace

void ScrollBarElement::CopyFrom(const SkinElement& other) {
    ControlElement::CopyFrom(other);
    const auto& source = static_cast<const ScrollBarElement&>(other);
    m_scrollerSize = source.m_scrollerSize;
    m_trackerSize = source.m_trackerSize;
    m_trackerPos = source.m_trackerPos;
}

bool ScrollBarElement::SetAttribute(const char* name, const char* value, common::NodeArena& arena) {
    if (ControlElement::SetAttribute(name, value, arena))
        return true;
    int* field = nullptr;
    switch (Attributes().Find(name)) {
    case kScrollerSize:
        field = &m_scrollerSize;
        break;
    case kTrackerSize:
        field = &m_trackerSize;
        break;
    case kTrackerPos:
        field = &m_trackerPos;
        break;
    default:
        return false;
    }
    ParseScaledSize(value, *field);
    return true;
}

FillElement* ScrollBarElement::Thumb() {
    if (!m_thumbLookedUp) {
        m_thumbLookedUp = true;
        m_thumb = Fill("Scroller");
    }
    return m_thumb;
}

} // namespace corlist
