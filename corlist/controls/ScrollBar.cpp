#include "corlist/controls/ScrollBar.h"

#include "corlist/controls/ListView.h"
#include "corlist/controls/ScrollBarElement.h"
#include "corlist/skin/DrawSurface.h"
#include "corlist/skin/FillElement.h"
#include "corlist/skin/SkinMetrics.h"
#include "corlist/skin/SurfaceFill.h"

#include "ce/user.h"

#include <algorithm>

namespace corlist {

ScrollBar::~ScrollBar() {
    SetList(nullptr);
}

ScrollBarElement* ScrollBar::Element() const {
    return static_cast<ScrollBarElement*>(Descriptor());
}

void ScrollBar::SetList(ListView* list) {
    if (m_list == list)
        return;
    if (m_list)
        m_list->RemoveBar(this);
    m_list = list;
    if (m_list)
        m_list->AddBar(this);
}

void ScrollBar::Attached(Control* parent) {
    if (auto* list = dynamic_cast<ListView*>(parent)) {
        SetList(list);
        return;
    }
    if (!parent)
        return;
    for (auto& sibling : parent->Children())
        if (auto* list = dynamic_cast<ListView*>(sibling.get())) {
            SetList(list);
            return;
        }
}

RECT ScrollBar::ThumbRect() const {
    ScrollBarElement* element = Element();
    int length = m_rect.bottom - m_rect.top;
    if (length <= 0)
        return RECT{};
    int size = 0, at = 0;
    if (m_list) {
        const Scroller& scroller = m_list->Scrolling();
        int content = scroller.ContentSize().cy, view = scroller.ViewSize().cy;
        if (content <= view || content <= 0)
            return RECT{};
        size = element && element->TrackerSize() > 0 ? element->TrackerSize()
                                                      : int(int64_t(length) * view / content);
        size = std::clamp(size, std::min(8 * CoordinateScale(), length), length);
        int position = std::clamp(scroller.Y(), 0, scroller.MaxY());
        at = int(int64_t(length - size) * position / std::max(scroller.MaxY(), 1));
    } else if (element && element->TrackerSize() > 0) {
        size = std::min(element->TrackerSize(), length);
        at = std::clamp(element->TrackerPos(), 0, length - size);
    } else {
        return RECT{};
    }
    return RECT{m_rect.left, m_rect.top + at, m_rect.right, m_rect.top + at + size};
}

void ScrollBar::Paint(DrawSurface& surface, const RECT& clip) {
    if (!IsVisible() || IsEmptyRect(m_rect))
        return;
    if (FillElement* fill = Element() ? Element()->Fill() : nullptr; fill && fill != Element()->Thumb())
        fill->Paint(surface, m_rect, clip);
    PaintThumb(surface, clip);
}

// With a colour, the thumb's long edges are one-pixel lines of it, inset by the border
// width, and the fill lies one pixel inside them.
void ScrollBar::PaintThumb(DrawSurface& surface, const RECT& clip) {
    FillElement* thumb = Element() ? Element()->Thumb() : nullptr;
    RECT rect = ThumbRect();
    if (!thumb || IsEmptyRect(rect))
        return;
    COLORREF colour = thumb->EffectiveColour();
    if (colour == kColourNone) {
        thumb->Paint(surface, rect, clip);
        return;
    }
    int border = GetSystemMetrics(SM_CXBORDER);
    RECT left{rect.left + border, rect.top, rect.left + border + 1, rect.bottom};
    RECT right{rect.right - border - 1, rect.top, rect.right - border, rect.bottom};
    FillRect(surface, left, colour, 0);
    FillRect(surface, right, colour, 0);
    RECT inside{left.right, rect.top, right.left, rect.bottom};
    if (!IsEmptyRect(inside))
        thumb->Paint(surface, inside, clip);
}

} // namespace corlist
