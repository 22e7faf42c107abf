#include "corlist/controls/TabControl.h"

#include "corlist/controls/Button.h"
#include "corlist/controls/ControlOwner.h"
#include "corlist/controls/MirrorReflection.h"
#include "corlist/controls/TabElement.h"
#include "corlist/skin/DrawSurface.h"
#include "corlist/skin/FillElement.h"
#include "corlist/skin/FontElement.h"
#include "corlist/skin/ImageElement.h"

#include "ce/commctrl.h"
#include "ce/user.h"

#include <algorithm>
#include <cstdint>

namespace corlist {

std::vector<RECT> TabSlots(const RECT& area, int count, int twoTabWidth, int endGap) {
    std::vector<RECT> slots;
    int64_t width = area.right - area.left;
    if (count <= 0 || width <= 0)
        return slots; // nothing to divide
    if (count == 2) {
        LONG slotWidth = LONG(std::clamp<int64_t>(twoTabWidth > 0 ? twoTabWidth : width / 2, 0, width / 2));
        LONG secondRight = area.right - endGap;
        slots.push_back(RECT{area.left, area.top, area.left + slotWidth, area.bottom});
        slots.push_back(RECT{secondRight - slotWidth, area.top, secondRight, area.bottom});
        return slots;
    }
    for (int i = 0; i < count; ++i)
        slots.push_back(RECT{LONG(area.left + width * i / count), area.top, LONG(area.left + width * (i + 1) / count),
                             area.bottom});
    return slots;
}

POINT TabIconOrigin(const RECT& slot, const RECT& area, SIZE icon, uint32_t tabStyle, int border) {
    POINT origin{slot.left + (slot.right - slot.left - icon.cx) / 2, area.top + (area.bottom - area.top - icon.cy) / 2};
    if (tabStyle & TabStyle::kMirror)
        origin.y -= icon.cy / 4;
    if (tabStyle & TabStyle::kText)
        origin.y -= 7 * border;
    return origin;
}

TabElement* TabControl::Element() const {
    return static_cast<TabElement*>(Descriptor());
}

int TabControl::AddTab(UINT command, int image, int pressedImage) {
    Tab tab;
    tab.command = command;
    tab.image = image;
    tab.pressedImage = pressedImage < 0 ? -1 : pressedImage;
    tab.label = LoadLabel(command);
    m_tabs.push_back(std::move(tab));
    LayoutTabs();
    Invalidate();
    return int(m_tabs.size()) - 1;
}

void TabControl::RemoveAllTabs() {
    m_tabs.clear();
    m_selected = -1;
    m_highlighted = -1;
    Invalidate();
}

void TabControl::SetTabLabel(int index, const std::u16string& label) {
    if (index < 0 || index >= TabCount())
        return;
    m_tabs[size_t(index)].label = label;
    InvalidateTab(index);
}

void TabControl::Select(int index) {
    if (index < -1 || index >= TabCount() || index == m_selected)
        return;
    InvalidateTab(m_selected);
    m_selected = index;
    InvalidateTab(m_selected);
}

std::u16string TabControl::Text() const {
    return m_selected >= 0 ? m_tabs[size_t(m_selected)].label : std::u16string();
}

RECT TabControl::TabRect(int index) const {
    return index >= 0 && index < TabCount() ? m_tabs[size_t(index)].slot : RECT{};
}

UINT TabControl::TabCommand(int index) const {
    return index >= 0 && index < TabCount() ? m_tabs[size_t(index)].command : 0;
}

int TabControl::TabAt(int x, int y) const {
    for (size_t i = 0; i < m_tabs.size(); ++i) {
        const RECT& slot = m_tabs[i].slot;
        if (x >= slot.left && x < slot.right && y >= slot.top && y < slot.bottom)
            return int(i);
    }
    return -1;
}

void TabControl::Layout(const RECT* parent) {
    Control::Layout(parent);
    LayoutTabs();
}

void TabControl::LayoutTabs() {
    TabElement* element = Element();
    ImageElement* icons = element ? element->Icons() : nullptr;
    int border = GetSystemMetrics(SM_CXBORDER);
    int iconWidth = icons ? int(icons->SubImageSize().cx) : 0;
    std::vector<RECT> slots = TabSlots(Rect(), TabCount(), iconWidth, 10 * border);
    for (size_t i = 0; i < slots.size(); ++i)
        m_tabs[i].slot = slots[i];
}

void TabControl::Paint(DrawSurface& surface, const RECT& clip) {
    if (!IsVisible() || IsEmptyRect(Rect()))
        return;
    TabElement* element = Element();
    if (FillElement* background = element ? element->Background() : nullptr)
        background->Paint(surface, Rect(), clip);
    // While the pen is down the highlighted tab shows as the selected one.
    int shown = m_highlighted >= 0 ? m_highlighted : m_selected;
    if (shown >= 0 && element)
        PaintSelectedFill(surface, clip, m_tabs[size_t(shown)].slot);
    for (size_t i = 0; i < m_tabs.size(); ++i) {
        bool selected = int(i) == shown;
        if ((State() & kOwnerDrawTabs) && OfferTab(surface, m_tabs[i], selected))
            continue;
        PaintTab(surface, clip, m_tabs[i], selected);
    }
    PaintContent(surface, clip);
}

// The "Selected" fill in a centred area of its picture's size, or over the whole slot.
void TabControl::PaintSelectedFill(DrawSurface& surface, const RECT& clip, const RECT& slot) {
    FillElement* fill = Element()->SelectedFill();
    if (!fill)
        return;
    RECT area = slot;
    ImageElement* picture = fill->BackgroundImage();
    SIZE size = picture ? picture->SubImageSize() : SIZE{0, 0};
    if (size.cx > 0 && size.cy > 0) {
        area.left = slot.left + (slot.right - slot.left - size.cx) / 2;
        area.top = slot.top + (slot.bottom - slot.top - size.cy) / 2;
        area.right = area.left + size.cx;
        area.bottom = area.top + size.cy;
    }
    fill->Paint(surface, area, clip);
}

void TabControl::PaintTab(DrawSurface& surface, const RECT& clip, const Tab& tab, bool selected) {
    TabElement* element = Element();
    if (!element)
        return;
    PaintIcon(surface, clip, tab, selected);
    FontElement* font = selected ? element->SelectedFont() : element->LabelFont();
    if (!(element->TabStyleBits() & TabStyle::kText) || !font || tab.label.empty())
        return;
    RECT area = tab.slot;
    area.bottom = Rect().bottom - 4 * GetSystemMetrics(SM_CXBORDER);
    font->DrawText(surface, tab.label.c_str(), int(tab.label.size()), area, DT_CENTER | DT_BOTTOM | DT_SINGLELINE);
}

void TabControl::PaintIcon(DrawSurface& surface, const RECT& clip, const Tab& tab, bool selected) {
    TabElement* element = Element();
    ImageElement* image = element->Icons();
    int index = tab.image;
    if (selected && tab.pressedImage >= 0 && element->PressedIcons()) {
        image = element->PressedIcons();
        index = tab.pressedImage;
    }
    SIZE size = image ? image->SubImageSize() : SIZE{0, 0};
    if (size.cx <= 0 || size.cy <= 0)
        return;
    POINT origin = TabIconOrigin(tab.slot, Rect(), size, element->TabStyleBits(), GetSystemMetrics(SM_CXBORDER));
    RECT icon{origin.x, origin.y, origin.x + size.cx, origin.y + size.cy};
    image->Draw(surface, icon, index, &clip);
    if (element->TabStyleBits() & TabStyle::kMirror) {
        RECT limit = IntersectRects(clip, Rect());
        DrawReflection(surface, icon, size.cy / 2, limit);
    }
}

// WM_DRAWITEM for one tab: its command as the item, its slot as the rectangle; true when the
// owner answered 1 (it drew the tab).
bool TabControl::OfferTab(DrawSurface& surface, const Tab& tab, bool selected) {
    if (!Owner())
        return false;
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_STATIC;
    item.CtlID = Number();
    item.itemID = tab.command;
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = selected ? ODS_SELECTED : 0;
    item.hwndItem = Owner()->Window();
    item.hDC = surface.Dc();
    item.rcItem = tab.slot;
    item.itemData = reinterpret_cast<ULONG_PTR>(this);
    return SendMessageW(Owner()->Window(), WM_DRAWITEM, Number(), reinterpret_cast<LPARAM>(&item)) == 1;
}

void TabControl::InvalidateTab(int index) {
    if (index >= 0 && index < TabCount())
        Invalidate(&m_tabs[size_t(index)].slot);
}

void TabControl::Highlight(int index) {
    if (index == m_highlighted)
        return;
    InvalidateTab(m_highlighted);
    InvalidateTab(m_selected);
    m_highlighted = index;
    InvalidateTab(m_highlighted);
}

int TabControl::OnStylus(int event, int x, int y) {
    switch (event) {
    case StylusEvent::kDown:
        Highlight(TabAt(x, y));
        return Tracking::kTrack;
    case StylusEvent::kMove:
        Highlight(TabAt(x, y));
        return Tracking::kNone;
    case StylusEvent::kUp: {
        int index = TabAt(x, y);
        Highlight(-1);
        if (index < 0)
            return Tracking::kNone; // released outside the tabs: the selection stays
        int previous = m_selected;
        Select(index);
        if (Owner())
            SendMessageW(Owner()->Window(), WM_COMMAND,
                         WPARAM((uint32_t(previous) & 0xFFFF) << 16 | (m_tabs[size_t(index)].command & 0xFFFF)),
                         LPARAM(index));
        return Tracking::kNone;
    }
    default:
        return Control::OnStylus(event, x, y);
    }
}

} // namespace corlist
