#include "corlist/skin/ImagePlacement.h"

#include <algorithm>

namespace corlist {

RECT SubImageRect(int index, int width, int height, int columns, int rows) {
    columns = std::max(columns, 1);
    rows = std::max(rows, 1);
    if (index < 0 || int64_t(index) >= int64_t(columns) * rows)
        index = 0;
    int cellWidth = width / columns;
    int cellHeight = height / rows;
    if (cellWidth < 1 || cellHeight < 1)
        return RECT{};
    int left = (index % columns) * cellWidth;
    int top = (index / columns) * cellHeight;
    return RECT{left, top, left + cellWidth, top + cellHeight};
}

AxisSpans::AxisSpans(const Axis& axis, int clipStart, int clipEnd) : m_axis(axis), m_clipEnd(clipEnd) {
    m_axis.mask = std::max(m_axis.mask, 1);
    if (m_axis.sourceLength <= 0 || m_axis.targetLength < 0 || clipEnd <= clipStart) {
        m_done = true;
        return;
    }
    if (m_axis.tile > 0) {
        if (m_axis.targetLength == 0)
            m_axis.targetLength = m_axis.tile; // a target without size gets one cell
        // Cells wholly before the clip are skipped without visiting them.
        int64_t skip = (int64_t(clipStart) - m_axis.targetStart) / m_axis.tile;
        m_cell = std::max<int64_t>(skip, 0);
    }
}

bool AxisSpans::Next(Span& span) {
    if (m_done)
        return false;
    const Axis& a = m_axis;
    if (a.tile <= 0) {
        m_done = true;
        span = Span{a.sourceStart, a.targetStart, a.sourceLength};
        if (a.targetLength > 0 && a.targetLength < a.sourceLength) {
            span.source += (a.sourceLength - a.targetLength) / 2;
            span.length = a.targetLength;
        } else if (a.centre && a.targetLength > a.sourceLength) {
            span.target += (a.targetLength - a.sourceLength) / 2;
        }
        return true;
    }
    int64_t targetEnd = int64_t(a.targetStart) + a.targetLength;
    for (;; ++m_cell) {
        int64_t start = int64_t(a.targetStart) + m_cell * a.tile;
        if (start >= targetEnd || start >= m_clipEnd) {
            m_done = true;
            return false;
        }
        if (m_cell % a.mask != 0)
            continue;
        int64_t length = std::min<int64_t>({a.sourceLength, a.tile, targetEnd - start});
        ++m_cell;
        span = Span{a.sourceStart, int(start), int(length)};
        return true;
    }
}

} // namespace corlist
