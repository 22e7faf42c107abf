// Where a control lies, as its skin writes it: four coordinate words (x, y, width, height)
// per orientation class, resolved against the parent's rectangle when the screen is laid out.
#pragma once

#include "ce/types.h"

#include <cstdint>

namespace corlist {

namespace CoordinateBit {
constexpr uint32_t kValueMask = 0xFFFF;
constexpr uint32_t kPercent = 0x1000000;   // a percentage of the parent's extent
constexpr uint32_t kCentred = 0x2000000;   // centred in the parent
constexpr uint32_t kFromFarEdge = 0x80000000; // measured from the parent's right or bottom
constexpr uint32_t kUnset = 0x40404040;
} // namespace CoordinateBit

struct RectSpec {
    uint32_t x = CoordinateBit::kUnset;
    uint32_t y = CoordinateBit::kUnset;
    uint32_t width = CoordinateBit::kUnset;
    uint32_t height = CoordinateBit::kUnset;

    // A placement with any word unset cannot be used.
    bool IsSet() const;
    void Unset() { *this = RectSpec{}; }
};

// Orientation classes: portrait, landscape, wide landscape, square.
constexpr int kOrientationCount = 4;

// Reads `count` comma-separated coordinates of `text` into `words`, starting at position
// `first` of the x, y, width, height order (the position decides whether 0 means "to the far
// edge"). False when fewer items are given (nothing changes); extra items are ignored. An
// item that starts with 'x' or is 2000 or more sets `unsetAll` instead: the caller then
// unsets the whole placement.
bool ParseCoordinates(const char* text, int first, int count, uint32_t* words, bool& unsetAll);

// The placement a control uses in orientation class `orientation`: its own when set,
// else the portrait one (wide landscape tries landscape first). Null when none is set.
const RectSpec* ChooseRectSpec(const RectSpec (&specs)[kOrientationCount], int orientation);

// The rectangle of `spec` inside `parent` (null: plain left, top, width, height), with the
// right and bottom clamped to the screen.
RECT ResolveRect(const RectSpec& spec, const RECT* parent, int screenWidth, int screenHeight);

} // namespace corlist
