// Where an image element's pixels go: the sub-image of a grid, and along each axis the
// spans (source start, target start, length) that one draw covers, cropped, centred or
// tiled. Pure arithmetic, so every rule is tested without pixels.
#pragma once

#include "ce/types.h"

#include <cstdint>

namespace corlist {

// The rectangle of sub-image `index` in a picture of width x height split into a grid of
// columns x rows (each at least 1). An index outside 0 .. columns x rows - 1 selects 0.
// Empty when a cell would be less than one pixel.
RECT SubImageRect(int index, int width, int height, int columns, int rows);

struct Span {
    int source = 0; // first source column (or row)
    int target = 0; // where it lands
    int length = 0;
};

// The spans of one axis. Without a tile size (0 or less) there is one span: a target
// narrower than the source crops it by half the difference on each side, a wider one
// centres it when `centre` is set, and a target of length 0 takes the source's own
// length. With a tile size the target is cut into cells of that size from its start; the
// source is drawn at the start of every cell whose number is a multiple of `mask` (below 1
// counts as 1), cut to the cell and to the target. Only spans that reach into
// [clipStart, clipEnd) are produced.
class AxisSpans {
public:
    struct Axis {
        int sourceStart;
        int sourceLength;
        int targetStart;
        int targetLength;
        bool centre;
        int tile;
        int mask;
    };
    AxisSpans(const Axis& axis, int clipStart, int clipEnd);

    // The next span; false when there are no more.
    bool Next(Span& span);

private:
    Axis m_axis;
    int m_clipEnd;
    int64_t m_cell = 0;  // the next cell's number when tiling
    bool m_done = false;
};

} // namespace corlist
