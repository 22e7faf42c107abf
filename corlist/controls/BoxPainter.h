// Painting of one box of a box descriptor without a control: the box control paints itself
// with it, and a pop-up menu paints its rows with it. A box is filled with rounded corners as
// its style says, split at the separator while focused, and shows a large main text with an
// optional small second line, a check mark and paging arrows.
#pragma once

#include "ce/types.h"

#include <cstdint>

namespace corlist {

class BoxElement;
class DrawSurface;
class FillElement;

// Corners of a rounded fill.
namespace Corner {
constexpr uint32_t kTopLeft = 0x1;
constexpr uint32_t kTopRight = 0x2;
constexpr uint32_t kBottomLeft = 0x4;
constexpr uint32_t kBottomRight = 0x8;
constexpr uint32_t kLeft = kTopLeft | kBottomLeft;
constexpr uint32_t kRight = kTopRight | kBottomRight;
} // namespace Corner

// What one box shows.
struct BoxRow {
    const WCHAR* text = nullptr;   // the main text (null: none)
    const WCHAR* second = nullptr; // the second line (null: none)
    uint32_t style = 0;            // BoxStyle bits: corners, textsmall, multirows, singlebox, header
    bool focused = false;
    bool disabled = false;
    bool checked = false;
    bool previous = false; // paging arrows
    bool next = false;
    int textIndent = 0; // pixels the texts keep free on the left (a menu row's icon)
};

// The parts of a box: with the focus and a separator inside it, the part left of the
// separator (with the box's left corners) and the rest (with its right corners); otherwise
// the whole box in `rest` with all its corners and an empty `focus`.
struct BoxParts {
    RECT focus{};
    RECT rest{};
    uint32_t focusCorners = 0;
    uint32_t restCorners = 0;
};
BoxParts SplitBox(const RECT& box, int separator, uint32_t corners, bool split);
// The Corner bits of BoxStyle bits.
uint32_t BoxCorners(uint32_t style);
// The radius of rounded box corners: 4 platform border widths.
int BoxCornerRadius();

// Paints `rect` with `fill`, the corners named by `corners` rounded as quarter circles of
// `radius` (in the fill's brush), cut to `clip`.
void FillRounded(DrawSurface& surface, FillElement& fill, const RECT& rect, const RECT& clip, uint32_t corners,
                 int radius);
// Paints one box of `element` into `rect`, cut to `clip`.
void PaintBox(DrawSurface& surface, BoxElement& element, const RECT& rect, const RECT& clip, const BoxRow& row);
// The areas of the paging arrows of a box in `rect` (empty without the arrow image).
RECT PreviousArrowRect(BoxElement& element, const RECT& rect);
RECT NextArrowRect(BoxElement& element, const RECT& rect);

} // namespace corlist
