#include "corlist/controls/BoxControl.h"

#include "corlist/controls/BoxElement.h"
#include "corlist/controls/BoxPainter.h"
#include "corlist/controls/Button.h"
#include "corlist/controls/ControlOwner.h"
#include "corlist/skin/DrawSurface.h"

#include "ce/user.h"

namespace corlist {

namespace {
bool Inside(const RECT& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}
} // namespace

BoxControl::BoxControl(UINT label) : m_text(LoadLabel(label)) {
    m_state |= ControlState::kFocusable;
}

BoxElement* BoxControl::Element() const {
    return static_cast<BoxElement*>(Descriptor());
}

void BoxControl::SetText(const std::u16string& text) {
    m_text = text;
    Invalidate();
}

void BoxControl::SetSecondText(const std::u16string& text) {
    m_second = text;
    Invalidate();
}

bool BoxControl::IsChecked() const {
    return (State() & kChecked) ||
           ((State() & ControlState::kCheck) && (State() & ControlState::kPressed));
}

void BoxControl::SetPaging(bool previous, bool next) {
    SetFlags(kHasPrevious | kHasNext, (previous ? kHasPrevious : 0) | (next ? kHasNext : 0), true);
}

void BoxControl::Paint(DrawSurface& surface, const RECT& clip) {
    if (!IsVisible() || IsEmptyRect(Rect()) || !Element())
        return;
    BoxElement& element = *Element();
    BoxRow row;
    row.text = m_text.c_str();
    row.second = m_second.c_str();
    row.style = element.BoxStyleBits();
    row.focused = HasFocus() || ((State() & ControlState::kPressed) && !(State() & ControlState::kCheck));
    row.disabled = !IsEnabled();
    row.checked = IsChecked();
    row.previous = State() & kHasPrevious;
    row.next = State() & kHasNext;
    PaintBox(surface, element, Rect(), clip, row);
    PaintContent(surface, clip);
}

WORD BoxControl::ArrowAt(int x, int y) const {
    if (!Element())
        return 0;
    if ((State() & kHasPrevious) && Inside(PreviousArrowRect(*Element(), Rect()), x, y))
        return kPagePrevious;
    if ((State() & kHasNext) && Inside(NextArrowRect(*Element(), Rect()), x, y))
        return kPageNext;
    return 0;
}

void BoxControl::SendPaging(WORD code) {
    if (Owner())
        SendMessageW(Owner()->Window(), WM_COMMAND, WPARAM(uint32_t(code) << 16 | (Number() & 0xFFFF)), 0);
}

int BoxControl::OnStylus(int event, int x, int y) {
    if (!IsEnabled() && (event == StylusEvent::kDown || event == StylusEvent::kUp))
        return Tracking::kNone; // a disabled box takes no taps
    if (event == StylusEvent::kDown) {
        m_pressedArrow = ArrowAt(x, y);
        if (m_pressedArrow)
            return Tracking::kTrack;
    } else if (event == StylusEvent::kUp && m_pressedArrow) {
        WORD code = m_pressedArrow;
        m_pressedArrow = 0;
        if (ArrowAt(x, y) == code)
            SendPaging(code);
        return Tracking::kNone;
    }
    return Control::OnStylus(event, x, y);
}

int BoxControl::OnKey(UINT message, WPARAM key, LPARAM data) {
    if (message != WM_KEYDOWN || !IsEnabled())
        return Control::OnKey(message, key, data);
    if (key == VK_LEFT && (State() & kHasPrevious)) {
        SendPaging(kPagePrevious);
        return 0;
    }
    if (key == VK_RIGHT && (State() & kHasNext)) {
        SendPaging(kPageNext);
        return 0;
    }
    if (key == VK_RETURN && Number() != 0) {
        SendCommand(0);
        return 0;
    }
    return Control::OnKey(message, key, data);
}

} // namespace corlist
