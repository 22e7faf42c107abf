// A tab control ("tabctrl"): a row of tabs the page adds, one of them selected. Each tab has
// a command number (also the string number of its label), an icon of the control's image
// list and optionally an icon of the "Pressed" list shown while it is selected. The pen
// highlights the tab under it; lifting it on a tab selects that tab and tells the owner.
#pragma once

#include "corlist/controls/Control.h"

#include <string>
#include <vector>

namespace corlist {

class TabElement;

// The slot of each of `count` tabs in `area`: equal slots side by side, except that two tabs
// get slots of `twoTabWidth` (at most half the width) at both ends, the second one ending
// `endGap` before the right edge. No slots for no tabs.
std::vector<RECT> TabSlots(const RECT& area, int count, int twoTabWidth, int endGap);
// The top-left corner of an `icon` in `slot`: centred in the slot across and in `area`
// down; with the mirror style a quarter icon higher (icon and reflection are centred), with
// the text style 7 borders higher.
POINT TabIconOrigin(const RECT& slot, const RECT& area, SIZE icon, uint32_t tabStyle, int border);

class TabControl : public Control {
public:
    // Bit of the derived state: the owner draws each tab (one WM_DRAWITEM per tab).
    static constexpr uint32_t kOwnerDrawTabs = 0x1;
    // The WM_COMMAND of a selection: the tab's command in the low word, the index of the tab
    // selected before in the high word (0xFFFF for none); the tab's index as the lParam.

    TabControl() = default;

    void Layout(const RECT* parent) override;
    void Paint(DrawSurface& surface, const RECT& clip) override;
    int OnStylus(int event, int x, int y) override;
    const char* KindName() const override { return "tab"; }
    std::u16string Text() const override;

    // Appends a tab; `pressedImage` < 0: none. Returns its index.
    int AddTab(UINT command, int image, int pressedImage = -1);
    void RemoveAllTabs();
    // Replaces the label of tab `index` (the string of its command by default).
    void SetTabLabel(int index, const std::u16string& label);
    // Selects tab `index` (-1: none) without telling the owner.
    void Select(int index);
    int Selected() const { return m_selected; }
    int Highlighted() const { return m_highlighted; }
    int TabCount() const { return int(m_tabs.size()); }
    // The index of the tab at the point, -1 when none.
    int TabAt(int x, int y) const;
    RECT TabRect(int index) const;
    UINT TabCommand(int index) const;
    void SetOwnerDraw(bool ownerDraw) { SetFlags(kOwnerDrawTabs, ownerDraw ? kOwnerDrawTabs : 0, true); }

private:
    struct Tab {
        UINT command = 0;
        int image = 0;
        int pressedImage = -1;
        std::u16string label;
        RECT slot{};
    };

    TabElement* Element() const;
    void LayoutTabs();
    void PaintTab(DrawSurface& surface, const RECT& clip, const Tab& tab, bool selected);
    void PaintSelectedFill(DrawSurface& surface, const RECT& clip, const RECT& slot);
    void PaintIcon(DrawSurface& surface, const RECT& clip, const Tab& tab, bool selected);
    bool OfferTab(DrawSurface& surface, const Tab& tab, bool selected);
    void Highlight(int index);
    void InvalidateTab(int index);

    std::vector<Tab> m_tabs;
    int m_selected = -1;
    int m_highlighted = -1;
};

} // namespace corlist
