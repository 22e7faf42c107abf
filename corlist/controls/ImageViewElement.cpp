#include "corlist/controls/ImageViewElement.h"

#include "corlist/skin/AttributeTable.h"
#include "corlist/skin/AttributeValues.h"
#include "corlist/skin/ColourNotation.h"

namespace corlist {

namespace {

enum Attribute { kTracker, kTrackerColour, kOpacity };

const AttributeTable& Attributes() {
    static const AttributeTable table{{kTracker, "tracker"}, {kTrackerColour, "trackerCol"}, {kOpacity, "opacity"}};
    return table;
}

} // namespace

void ImageViewElement::CopyFrom(const SkinElement& other) {
    ControlElement::CopyFrom(other);
    const auto& source = static_cast<const ImageViewElement&>(other);
    m_tracker = source.m_tracker;
    m_trackerColour = source.m_trackerColour;
    m_opacity = source.m_opacity;
}

bool ImageViewElement::SetAttribute(const char* name, const char* value, common::NodeArena& arena) {
    switch (Attributes().Find(name)) {
    case kTracker: {
        bool unsetAll = false;
        if (!ParseCoordinates(value, 0, 4, &m_tracker.x, unsetAll) && unsetAll)
            m_tracker.Unset();
        return true;
    }
    case kTrackerColour:
        m_trackerColour = ParseColour(value);
        return true;
    case kOpacity: {
        int percent = 0;
        if (ParseInteger(value, percent))
            m_opacity = PercentToWeight(percent, 25600);
        return true;
    }
    default:
        return ControlElement::SetAttribute(name, value, arena);
    }
}

} // namespace corlist
