// The narrow bar beside a list that shows where the visible rows lie: a thumb whose length
// is the share of the list in view and whose position follows the scroll position. A bar
// that is a child or a sibling of a list view follows that list.
#pragma once

#include "corlist/controls/Control.h"

namespace corlist {

class ListView;
class ScrollBarElement;

class ScrollBar : public Control {
public:
    ~ScrollBar() override;

    // Follows the list it lies in, or the first list among its siblings.
    void Attached(Control* parent) override;
    void Paint(DrawSurface& surface, const RECT& clip) override;
    const char* KindName() const override { return "scrollbar"; }

    // The list followed (null: none); the list tells the bar when it goes away.
    virtual void SetList(ListView* list);
    ListView* List() const { return m_list; }
    // The thumb in surface coordinates; empty when the list fits its view.
    RECT ThumbRect() const;

protected:
    ScrollBarElement* Element() const;
    void PaintThumb(DrawSurface& surface, const RECT& clip);

    ListView* m_list = nullptr; // back-link: the list owns no bar, the bar does not own it
};

} // namespace corlist
