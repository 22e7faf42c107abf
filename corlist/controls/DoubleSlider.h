// A double slider ("dslider"): a slider with two thumbs that choose a range; the pen takes
// the thumb nearest to it, and neither thumb passes the other.
#pragma once

#include "corlist/controls/Slider.h"

namespace corlist {

class DoubleSlider : public Slider {
public:
    DoubleSlider() : Slider(2) {}

    // Both positions, ordered and clamped to the range.
    void SetPositions(int low, int high);
    int Low() const { return Position(0); }
    int High() const { return Position(1); }
};

} // namespace corlist
