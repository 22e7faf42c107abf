// The skin side of an image viewer ("imageview"): the control attributes plus "tracker"
// (x,y,width,height inside the viewer, in the coordinate syntax of "rect"), "trackerCol"
// (the colour of the tracker) and "opacity" (percent of the tracker's visible-part fill,
// kept as 0..256).
#pragma once

#include "corlist/controls/ControlElement.h"
#include "corlist/skin/SkinKinds.h"

namespace corlist {

class ImageViewElement : public ControlElement {
public:
    ImageViewElement() = default;

    void CopyFrom(const SkinElement& other) override;
    bool SetAttribute(const char* name, const char* value, common::NodeArena& arena) override;

    const RectSpec& Tracker() const { return m_tracker; }
    COLORREF TrackerColour() const { return m_trackerColour; }
    // 0..256; 128 when not given.
    int Opacity() const { return m_opacity; }

private:
    RectSpec m_tracker;
    COLORREF m_trackerColour = kColourNone;
    int m_opacity = 128;
};

} // namespace corlist
