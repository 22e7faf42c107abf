#include "corlist/controls/DoubleSlider.h"

#include <algorithm>

namespace corlist {

void DoubleSlider::SetPositions(int low, int high) {
    if (low > high)
        std::swap(low, high);
    // Widen first so that neither thumb is held back by the other's old place.
    MoveThumb(0, Minimum());
    MoveThumb(1, Maximum());
    MoveThumb(0, low);
    MoveThumb(1, high);
}

} // namespace corlist
