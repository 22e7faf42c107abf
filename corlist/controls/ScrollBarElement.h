// The skin side of a scroll bar ("scrollbar"), and the base of the letter bar's: the bar's
// thickness and the thumb's length and position, each times the coordinate scale.
#pragma once

#include "corlist/controls/ControlElement.h"

namespace corlist {

class ScrollBarElement : public ControlElement {
public:
    void CopyFrom(const SkinElement& other) override;
    // The control attributes and "scrollerSize", "trackerSize", "trackerPos".
    bool SetAttribute(const char* name, const char* value, common::NodeArena& arena) override;

    int ScrollerSize() const { return m_scrollerSize; }
    int TrackerSize() const { return m_trackerSize; }
    int TrackerPos() const { return m_trackerPos; }
    // The thumb's fill ("Scroller"), looked up once; null when there is none.
    FillElement* Thumb();

private:
    int m_scrollerSize = 0;
    int m_trackerSize = 0;
    int m_trackerPos = 0;
    bool m_thumbLookedUp = false;
    FillElement* m_thumb = nullptr; // a child's element; the skin owns it
};

} // namespace corlist
