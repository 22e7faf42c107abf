#include "corlist/controls/RectSpec.h"

#include "corlist/skin/SkinMetrics.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace corlist {

namespace {

using namespace CoordinateBit;

constexpr long kLargestCoordinate = 2000;

const char* SkipBlanks(const char* text) {
    while (*text == ' ' || *text == '\t')
        ++text;
    return text;
}

// One item up to the next comma. False for an item that unsets the whole placement.
bool ParseItem(const char*& text, bool sizePosition, uint32_t& word) {
    text = SkipBlanks(text);
    if (*text == 'x' || *text == 'X')
        return false;
    if (*text == 'c' || *text == 'C') {
        word = kCentred;
    } else {
        char* end = nullptr;
        long value = std::strtol(text, &end, 10);
        if (value >= kLargestCoordinate || value <= -kLargestCoordinate)
            return false;
        end = const_cast<char*>(SkipBlanks(end));
        if (*end == '%')
            word = kPercent | uint32_t(std::clamp(value, 0L, 100L));
        else if (value < 0 || (value == 0 && sizePosition))
            word = kFromFarEdge | (uint32_t(-value * CoordinateScale()) & kValueMask);
        else
            word = uint32_t(value * CoordinateScale()) & kValueMask;
    }
    while (*text && *text != ',')
        ++text;
    if (*text == ',')
        ++text;
    return true;
}

// One axis: the start and end of a span of `extent` pixels from `origin` (the parent's
// left or top) to `far` (its right or bottom).
void ResolveAxis(uint32_t position, uint32_t size, LONG origin, LONG far, LONG& start, LONG& end) {
    LONG extent = far - origin;
    auto value = [](uint32_t word) { return LONG(word & kValueMask); };
    auto length = [&](uint32_t word) {
        return (word & kPercent) ? extent * value(word) / 100 : value(word);
    };
    LONG sizePixels = (size & kFromFarEdge) ? 0 : length(size);
    if (position & kCentred) {
        if (size & kFromFarEdge)
            sizePixels = std::max<LONG>(extent - value(size), 0);
        start = origin + (extent - sizePixels) / 2;
        end = start + sizePixels;
        return;
    }
    start = (position & kFromFarEdge) ? far - value(position) : origin + length(position);
    end = (size & kFromFarEdge) ? far - value(size) : start + sizePixels;
}

} // namespace

bool RectSpec::IsSet() const {
    return x != kUnset && y != kUnset && width != kUnset && height != kUnset;
}

bool ParseCoordinates(const char* text, int first, int count, uint32_t* words, bool& unsetAll) {
    unsetAll = false;
    if (!text)
        return false;
    uint32_t parsed[4] = {};
    for (int i = 0; i < count; ++i) {
        if (!*SkipBlanks(text))
            return false;
        if (!ParseItem(text, first + i >= 2, parsed[i])) {
            unsetAll = true;
            return false;
        }
    }
    std::copy(parsed, parsed + count, words);
    return true;
}

const RectSpec* ChooseRectSpec(const RectSpec (&specs)[kOrientationCount], int orientation) {
    if (orientation < 0 || orientation >= kOrientationCount)
        orientation = 0;
    if (specs[orientation].IsSet())
        return &specs[orientation];
    if (orientation == 2 && specs[1].IsSet())
        return &specs[1];
    return specs[0].IsSet() ? &specs[0] : nullptr;
}

RECT ResolveRect(const RectSpec& spec, const RECT* parent, int screenWidth, int screenHeight) {
    RECT rect{};
    if (parent) {
        ResolveAxis(spec.x, spec.width, parent->left, parent->right, rect.left, rect.right);
        ResolveAxis(spec.y, spec.height, parent->top, parent->bottom, rect.top, rect.bottom);
    } else {
        rect.left = LONG(spec.x & kValueMask);
        rect.top = LONG(spec.y & kValueMask);
        rect.right = rect.left + LONG(spec.width & kValueMask);
        rect.bottom = rect.top + LONG(spec.height & kValueMask);
    }
    rect.right = std::min<LONG>(rect.right, screenWidth);
    rect.bottom = std::min<LONG>(rect.bottom, screenHeight);
    return rect;
}

} // namespace corlist
