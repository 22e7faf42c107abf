// The rectangle helpers of the window manager. A null pointer fails (FALSE) rather than
// being dereferenced; results that would leave the 32-bit range saturate.
#include "ce/user.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

LONG Clamp(int64_t value) {
    return LONG(std::clamp<int64_t>(value, std::numeric_limits<LONG>::min(), std::numeric_limits<LONG>::max()));
}

bool Empty(const RECT& rect) { return rect.right <= rect.left || rect.bottom <= rect.top; }

} // namespace

CE_API BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom) {
    if (!rect)
        return FALSE;
    *rect = RECT{left, top, right, bottom};
    return TRUE;
}

CE_API BOOL SetRectEmpty(LPRECT rect) {
    if (!rect)
        return FALSE;
    *rect = RECT{};
    return TRUE;
}

CE_API BOOL CopyRect(LPRECT destination, const RECT* source) {
    if (!destination || !source)
        return FALSE;
    *destination = *source;
    return TRUE;
}

CE_API BOOL IntersectRect(LPRECT destination, const RECT* first, const RECT* second) {
    if (!destination || !first || !second)
        return FALSE;
    RECT result{std::max(first->left, second->left), std::max(first->top, second->top),
                std::min(first->right, second->right), std::min(first->bottom, second->bottom)};
    if (Empty(result)) {
        *destination = RECT{};
        return FALSE;
    }
    *destination = result;
    return TRUE;
}

CE_API BOOL UnionRect(LPRECT destination, const RECT* first, const RECT* second) {
    if (!destination || !first || !second)
        return FALSE;
    // An empty rectangle adds nothing to the union.
    bool firstEmpty = Empty(*first), secondEmpty = Empty(*second);
    if (firstEmpty && secondEmpty) {
        *destination = RECT{};
        return FALSE;
    }
    if (firstEmpty || secondEmpty) {
        *destination = firstEmpty ? *second : *first;
        return TRUE;
    }
    *destination = RECT{std::min(first->left, second->left), std::min(first->top, second->top),
                        std::max(first->right, second->right), std::max(first->bottom, second->bottom)};
    return TRUE;
}

CE_API BOOL OffsetRect(LPRECT rect, int dx, int dy) {
    if (!rect)
        return FALSE;
    *rect = RECT{Clamp(int64_t(rect->left) + dx), Clamp(int64_t(rect->top) + dy),
                 Clamp(int64_t(rect->right) + dx), Clamp(int64_t(rect->bottom) + dy)};
    return TRUE;
}

CE_API BOOL InflateRect(LPRECT rect, int dx, int dy) {
    if (!rect)
        return FALSE;
    *rect = RECT{Clamp(int64_t(rect->left) - dx), Clamp(int64_t(rect->top) - dy),
                 Clamp(int64_t(rect->right) + dx), Clamp(int64_t(rect->bottom) + dy)};
    return TRUE;
}

CE_API BOOL PtInRect(const RECT* rect, POINT point) {
    if (!rect)
        return FALSE;
    return point.x >= rect->left && point.x < rect->right && point.y >= rect->top && point.y < rect->bottom;
}

CE_API BOOL IsRectEmpty(const RECT* rect) { return !rect || Empty(*rect); }

CE_API BOOL EqualRect(const RECT* first, const RECT* second) {
    if (!first || !second)
        return FALSE;
    return first->left == second->left && first->top == second->top && first->right == second->right &&
           first->bottom == second->bottom;
}
