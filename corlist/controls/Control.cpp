#include "corlist/controls/Control.h"

#include "common/XmlNode.h"
#include "corlist/controls/ControlElement.h"
#include "corlist/controls/ControlFactory.h"
#include "corlist/controls/ControlOwner.h"
#include "corlist/controls/ModalLoop.h"
#include "corlist/skin/DrawSurface.h"
#include "corlist/skin/FillElement.h"
#include "corlist/skin/SkinKinds.h"
#include "corlist/skin/SkinMetrics.h"

#include "ce/commctrl.h"
#include "ce/uiview.h"
#include "ce/user.h"

#include <algorithm>
#include <strings.h>

namespace corlist {

namespace {

constexpr uint32_t kStyleFromDescriptor = ControlState::kVisible | ControlState::kTouchScrolling | ControlState::kCheck;

bool Contains(const RECT& rect, int x, int y) {
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

} // namespace

bool IsControlElement(const common::XmlNode* node) {
    return node->element && node->Kind() >= SkinKind::kFirstControlKind && node->Kind() < common::kGenericAttributeKind;
}

Control::Control() = default;

Control::~Control() {
    if (m_owner && m_owner->CurrentScreen() == this)
        m_owner->SetCurrentScreen(nullptr);
}

Control* Control::CreateChild(common::XmlNode* node, const ControlTableRow* table) {
    const ControlTableRow* row = FindControlRow(table, node->Kind(), node->name);
    auto* descriptor = static_cast<ControlElement*>(node->element);
    std::unique_ptr<Control> child = CreateControl(node->Kind(), row ? row->label : 0, descriptor);
    if (!child)
        return nullptr;
    Control* control = child.get();
    control->m_descriptor = descriptor;
    control->m_number = row ? row->number : 0;
    control->m_state = (control->m_state & ~kStyleFromDescriptor) | (descriptor->Style() & kStyleFromDescriptor);
    AddChild(std::move(child), control->m_state & ControlState::kVisible);
    control->Layout(&m_rect);
    const ControlTableRow* childTable = row && row->children ? row->children : table;
    for (common::XmlNode* grandchild = node->firstChild; grandchild; grandchild = grandchild->nextSibling)
        if (IsControlElement(grandchild))
            control->CreateChild(grandchild, childTable);
    control->Attached(this);
    return control;
}

void Control::Layout(const RECT* parent) {
    if (!(m_state & ControlState::kRectExplicit) && m_descriptor) {
        const RectSpec* spec = ChooseRectSpec(m_descriptor->RectSpecs(), OrientationClass());
        if (!spec)
            return; // an unplaced control keeps no rectangle and lays out nothing
        m_rect = ResolveRect(*spec, parent, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    }
    for (auto& child : m_children)
        child->Layout(&m_rect);
}

void Control::Paint(DrawSurface& surface, const RECT& clip) {
    if (!IsVisible() || IsEmptyRect(m_rect))
        return;
    if (FillElement* fill = m_descriptor ? m_descriptor->Fill() : nullptr)
        fill->Paint(surface, m_rect, clip);
    PaintContent(surface, clip);
}

void Control::PaintContent(DrawSurface& surface, const RECT& clip) {
    for (auto& child : m_children) {
        RECT area = IntersectRects(child->m_rect, clip);
        if (!child->IsVisible() || IsEmptyRect(area))
            continue;
        surface.SetClip(area);
        if (child->m_state & ControlState::kCachedSurface) {
            child->PaintCached(surface);
            child->BlitCached(surface);
        } else if (!(child->m_state & ControlState::kOwnerDraw) || !child->OfferToOwner(surface)) {
            child->Paint(surface, area);
        }
        surface.SetClip(clip);
    }
}

void Control::Notify(int event, Control* other, UINT flags) {
    if (event == ControlEvent::kFocusGained || event == ControlEvent::kFocusLost)
        Invalidate();
}

int Control::OnStylus(int event, int x, int y) {
    switch (event) {
    case StylusEvent::kDown:
        if (m_state & ControlState::kCheck)
            m_state ^= ControlState::kPressed;
        else
            m_state |= ControlState::kPressed;
        Invalidate();
        return Tracking::kTrack;
    case StylusEvent::kUp: {
        bool inside = Contains(m_rect, x, y);
        if (!(m_state & ControlState::kCheck))
            m_state &= ~ControlState::kPressed;
        else if (!inside)
            m_state ^= ControlState::kPressed;
        Invalidate();
        if (inside && m_number != 0)
            SendCommand(0);
        return Tracking::kNone;
    }
    case StylusEvent::kNotifyPlain:
    case StylusEvent::kNotifySent:
        SendCommand(event);
        return Tracking::kNone;
    case StylusEvent::kNotifyWithPoint:
        SendCommand(event, LPARAM((uint32_t(y) << 16) | (uint32_t(x) & 0xFFFF)));
        return Tracking::kNone;
    default:
        return Tracking::kNone;
    }
}

int Control::OnKey(UINT message, WPARAM key, LPARAM data) {
    if (message == WM_TIMER) {
        for (auto child = m_children.rbegin(); child != m_children.rend(); ++child)
            if ((*child)->IsVisible())
                (*child)->OnKey(message, key, data);
        return 0;
    }
    if (message == WM_KEYDOWN && (key == VK_UP || key == VK_DOWN)) {
        // The focused child may move the focus among its own children first.
        if (m_focused && m_focused->OnKey(message, key, data) == 0)
            return 0;
        return MoveFocus(key == VK_UP ? -1 : 1);
    }
    return m_focused ? m_focused->OnKey(message, key, data) : -1;
}

int Control::MoveFocus(int step) {
    std::vector<Control*> candidates;
    int current = -1;
    for (auto& child : m_children) {
        if (child.get() == m_focused)
            current = int(candidates.size());
        if (child->CanFocus())
            candidates.push_back(child.get());
    }
    if (candidates.empty())
        return -1;
    if (current < 0 || current >= int(candidates.size()) || candidates[size_t(current)] != m_focused) {
        candidates[step < 0 ? candidates.size() - 1 : 0]->SetFocus();
        return 0;
    }
    int next = current + step;
    if (next < 0)
        return 0; // the first one keeps the focus and the key
    if (next >= int(candidates.size()))
        return -1; // the parent may move on
    candidates[size_t(next)]->SetFocus();
    return 0;
}

Control* Control::HitTest(POINT point) {
    if (!IsVisible() || !Contains(m_rect, point.x, point.y))
        return nullptr;
    for (auto child = m_children.rbegin(); child != m_children.rend(); ++child)
        if (Control* hit = (*child)->HitTest(point))
            return hit;
    return this;
}

void Control::SetFlags(uint32_t clear, uint32_t set, bool redraw) {
    bool wasVisible = IsVisible();
    m_state = (m_state & ~clear) | set;
    if (wasVisible != IsVisible()) {
        if (!IsVisible() && m_parent && m_parent->m_focused == this) {
            m_parent->m_focused = nullptr;
            m_state &= ~ControlState::kFocused;
        }
        NotifySubtree(IsVisible() ? ControlEvent::kShown : ControlEvent::kHidden);
    }
    if (redraw && m_owner && !m_owner->IsBuilding() && (wasVisible || IsVisible()))
        m_owner->InvalidateArea(m_rect);
}

// Asks the owner window to draw the control (WM_DRAWITEM with the control's number and the
// surface's DC); true when the owner answered 1.
bool Control::OfferToOwner(DrawSurface& surface) {
    if (!m_owner)
        return false;
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_STATIC;
    item.CtlID = m_number;
    item.itemID = m_number;
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = (HasFocus() ? ODS_FOCUS : 0) | ((m_state & ControlState::kPressed) ? ODS_SELECTED : 0);
    item.hwndItem = m_owner->Window();
    item.hDC = surface.Dc();
    item.rcItem = m_rect;
    item.itemData = reinterpret_cast<ULONG_PTR>(this);
    return SendMessageW(m_owner->Window(), WM_DRAWITEM, m_number, reinterpret_cast<LPARAM>(&item)) == 1;
}

void Control::PaintCached(DrawSurface& surface) {
    int width = std::min<int>(m_rect.right, surface.Width());
    int height = std::min<int>(m_rect.bottom, surface.Height());
    if (width <= 0 || height <= 0)
        return;
    if (!m_cache || m_cache->Width() != width || m_cache->Height() != height) {
        m_cache = std::make_unique<DrawSurface>();
        m_cacheValid = false;
        if (!m_cache->Create(width, height)) {
            m_cache.reset();
            return;
        }
    }
    if (m_cacheValid)
        return;
    m_cache->SetClip(m_rect);
    Paint(*m_cache, m_cache->Clip());
    m_cache->ResetClip();
    m_cacheValid = true;
}

void Control::BlitCached(DrawSurface& surface) {
    if (!m_cache || !m_cacheValid) {
        // Without its own surface (no memory for it) the control paints directly.
        Paint(surface, surface.Clip());
        return;
    }
    RECT area = surface.Clipped(m_rect);
    if (!IsEmptyRect(area))
        BitBlt(surface.Dc(), area.left, area.top, area.right - area.left, area.bottom - area.top, m_cache->Dc(),
               area.left, area.top, SRCCOPY);
}

int Control::RunModal(ControlOwner* owner, const ControlTableRow* table, DWORD flags) {
    if (!owner)
        return 0;
    m_owner = owner;
    m_modalEnded = false;
    m_modalResult = 0;
    return RunModalLoop(*owner, *this);
}

void Control::EndModal(int result) {
    m_modalResult = result;
    m_modalEnded = true;
}

void Control::Describe(IUiSink& sink, int depth, POINT origin) {
    std::u16string text = Text();
    UI_ITEM item{};
    item.id = int(m_number);
    item.kind = KindName();
    item.rect = {m_rect.left + origin.x, m_rect.top + origin.y, m_rect.right + origin.x, m_rect.bottom + origin.y};
    item.state = (HasFocus() ? UIS_FOCUS : 0) | (IsVisible() ? 0 : UIS_HIDDEN) | (IsEnabled() ? 0 : UIS_DISABLED);
    if (m_state & ControlState::kPressed)
        item.state |= (m_state & ControlState::kCheck) ? UIS_CHECKED : UIS_PRESSED;
    item.text = text.c_str();
    sink.Item(depth, item);
    for (const auto& child : m_children)
        child->Describe(sink, depth + 1, origin);
}

void Control::NotifySubtree(int event) {
    Notify(event, nullptr, 0);
    for (auto& child : m_children)
        child->NotifySubtree(event);
}

Control* Control::FindById(UINT number) {
    if (m_number == number)
        return this;
    for (auto child = m_children.rbegin(); child != m_children.rend(); ++child)
        if (Control* found = (*child)->FindById(number))
            return found;
    return nullptr;
}

Control* Control::FindByDescriptor(uint32_t kind, const char* name, bool recursive) {
    for (auto& child : m_children) {
        const common::XmlNode* node = child->m_descriptor ? child->m_descriptor->Node() : nullptr;
        if (node && node->Kind() == kind &&
            (!name ? !node->name : node->name && strcasecmp(node->name, name) == 0))
            return child.get();
        if (recursive)
            if (Control* found = child->FindByDescriptor(kind, name, true))
                return found;
    }
    return nullptr;
}

void Control::SetRect(const RECT* rect) {
    if (rect) {
        m_state |= ControlState::kRectExplicit;
        m_rect = *rect;
        for (auto& child : m_children)
            child->Layout(&m_rect);
    } else {
        m_state &= ~ControlState::kRectExplicit;
        RECT parent = m_parent ? m_parent->m_rect : (m_owner ? m_owner->ClientArea() : RECT{});
        Layout(&parent);
    }
    Invalidate();
}

void Control::Invalidate(const RECT* rect) {
    for (Control* control = this; control; control = control->m_parent)
        control->m_cacheValid = false;
    if (!IsVisible() || !m_owner || m_owner->IsBuilding())
        return;
    RECT area = rect ? IntersectRects(*rect, m_rect) : m_rect;
    if (!IsEmptyRect(area))
        m_owner->InvalidateArea(area);
}

void Control::SetFocus() {
    if (HasFocus() || !m_parent)
        return;
    Control* previous = m_parent->m_focused;
    if (previous) {
        previous->Notify(ControlEvent::kFocusLost, this, 0);
        previous->m_state &= ~ControlState::kFocused;
        m_parent->m_focused = nullptr;
    }
    if (!CanFocus())
        return;
    m_parent->m_focused = this;
    m_state |= ControlState::kFocused;
    Notify(ControlEvent::kFocusGained, previous, 0);
}

void Control::AddChild(std::unique_ptr<Control> child, bool visible) {
    child->m_parent = this;
    child->m_owner = m_owner;
    if (visible)
        child->m_state |= ControlState::kVisible;
    else
        child->m_state &= ~ControlState::kVisible;
    m_children.push_back(std::move(child));
}

void Control::RemoveChildren() {
    m_focused = nullptr;
    m_children.clear();
}

void Control::SendCommand(int code, LPARAM parameter) {
    for (Control* ancestor = m_parent; ancestor; ancestor = ancestor->m_parent)
        if (ancestor->OnCommand(m_number, code))
            return;
    if (!m_owner)
        return;
    WPARAM command = (WPARAM(code) << 16) | (m_number & 0xFFFF);
    if (code == StylusEvent::kNotifyPlain || code == StylusEvent::kNotifyWithPoint)
        PostMessageW(m_owner->Window(), WM_COMMAND, command, parameter);
    else
        SendMessageW(m_owner->Window(), WM_COMMAND, command, parameter);
}

} // namespace corlist
