#include "corlist/calls/DialKeypad.h"

#include "common/Settings.h"
#include "common/XmlNode.h"
#include "corlist/controls/ControlElement.h"
#include "corlist/controls/ControlOwner.h"
#include "corlist/frame/MainPageTable.h"
#include "corlist/skin/DrawSurface.h"
#include "corlist/skin/FillElement.h"
#include "corlist/skin/ImageElement.h"
#include "corlist/skin/SkinKinds.h"
#include "corlist/skin/SkinMetrics.h"

#include "ce/kernel.h"
#include "ce/uiview.h"
#include "ce/user.h"

#include <algorithm>

namespace corlist {

namespace {

constexpr uint32_t kStyleFromDescriptor =
    ControlState::kVisible | ControlState::kTouchScrolling | ControlState::kCheck;

// Key releases that change the number: characters (except the talk key, which shares its
// code with a letter), the blank and the delete key.
bool ChangesNumber(WPARAM key) {
    return (key >= 48 && key <= 127 && key != VK_TTALK) || key == VK_SPACE || key == VK_BACK;
}

const char* HotName(HotCell hot) {
    switch (hot) {
    case HotCell::Friend:
        return "friend";
    case HotCell::Ice:
        return "ice";
    default:
        return "sms";
    }
}

} // namespace

DialKeypad::~DialKeypad() {
    StopRepeat();
}

DialKeypad* DialKeypad::CreatePane(Control& parent, common::XmlNode* node, const ControlTableRow* table) {
    if (!node || node->Kind() != SkinKind::kControl || !IsControlElement(node))
        return nullptr;
    const ControlTableRow* row = FindControlRow(table, node->Kind(), node->name);
    if (!row || row->number != MainControl::kKeypad)
        return nullptr;
    auto made = std::make_unique<DialKeypad>();
    DialKeypad* keypad = made.get();
    auto* descriptor = static_cast<ControlElement*>(node->element);
    keypad->m_descriptor = descriptor;
    keypad->m_number = row->number;
    keypad->m_state = (keypad->m_state & ~kStyleFromDescriptor) | (descriptor->Style() & kStyleFromDescriptor);
    parent.AddChild(std::move(made), keypad->IsVisible());
    keypad->Layout(&parent.Rect());
    const ControlTableRow* childTable = row->children ? row->children : table;
    for (common::XmlNode* child = node->firstChild; child; child = child->nextSibling)
        if (IsControlElement(child) && !KeypadLook::IsLayoutName(child->name))
            keypad->CreateChild(child, childTable);
    keypad->Attached(&parent);
    return keypad;
}

void DialKeypad::Attach(NumberField field) {
    m_field = std::move(field);
    m_attached = true;
    m_talkHeldAtAttach = (GetAsyncKeyState(VK_TTALK) & 0x8000) != 0;
    ChooseLayout();
    Invalidate();
}

void DialKeypad::Detach() {
    StopRepeat();
    Press(-1);
    m_penDown = false;
    m_field = nullptr;
    m_attached = false;
}

void DialKeypad::Layout(const RECT* parent) {
    Control::Layout(parent);
    ChooseLayout();
}

// A rotation may change the layout under a held pen: the press is dropped.
void DialKeypad::ChooseLayout() {
    std::string before = m_look.Name();
    bool wasPortrait = m_look.Layout().IsPortrait();
    m_look.Choose(m_descriptor ? m_descriptor->Node() : nullptr,
                  LogicalScreenWidth(GetSystemMetrics(SM_CXSCREEN), CoordinateScale()));
    if (m_look.Name() != before || m_look.Layout().IsPortrait() != wasPortrait) {
        StopRepeat();
        m_pressed = -1;
        m_penDown = false;
    }
}

DWORD DialKeypad::Flags() const {
    return m_settings ? m_settings->flags : 0;
}

POINT DialKeypad::PictureOrigin() const {
    SIZE picture = m_look.PictureSize();
    int spare = (m_rect.right - m_rect.left) - picture.cx;
    return POINT{m_rect.left + std::max(spare / 2, 0), m_rect.top};
}

int DialKeypad::CellIndexAt(int x, int y) const {
    if (x < m_rect.left || x >= m_rect.right || y < m_rect.top || y >= m_rect.bottom)
        return -1;
    POINT origin = PictureOrigin();
    return m_look.Layout().CellIndexAt(x - origin.x, y - origin.y);
}

RECT DialKeypad::CellOnSurface(int index) const {
    RECT cell = m_look.Layout().CellRect(index);
    POINT origin = PictureOrigin();
    return RECT{cell.left + origin.x, cell.top + origin.y, cell.right + origin.x, cell.bottom + origin.y};
}

uint32_t DialKeypad::CodeOf(int index) const {
    return m_look.Layout().CodeOf(index, Flags());
}

uint32_t DialKeypad::CellAt(POINT point) const {
    return CodeOf(CellIndexAt(point.x, point.y));
}

void DialKeypad::Press(int index) {
    if (index != m_pressed) {
        if (m_pressed >= 0) {
            RECT old = CellOnSurface(m_pressed);
            Invalidate(&old);
        }
        if (index >= 0) {
            RECT now = CellOnSurface(index);
            Invalidate(&now);
        }
    }
    m_pressed = index;
    m_pressTick = GetTickCount();
    if (index >= 0)
        m_state |= ControlState::kPressed;
    else
        m_state &= ~ControlState::kPressed;
}

void DialKeypad::Paint(DrawSurface& surface, const RECT& clip) {
    if (!IsVisible() || IsEmptyRect(m_rect))
        return;
    if (FillElement* fill = m_descriptor ? m_descriptor->Fill() : nullptr)
        fill->Paint(surface, m_rect, clip);
    if (ImageElement* picture = m_look.Picture()) {
        POINT origin = PictureOrigin();
        SIZE size = m_look.PictureSize();
        picture->Draw(surface, RECT{origin.x, origin.y, origin.x + size.cx, origin.y + size.cy}, -1, &clip);
    }
    int hotIndex = m_look.Layout().HotCellIndex();
    if (ImageElement* hot = hotIndex >= 0 ? m_look.Hot(HotCellFor(Flags())) : nullptr)
        hot->Draw(surface, CellOnSurface(hotIndex), -1, &clip);
    if (ImageElement* pressed = m_pressed >= 0 ? m_look.Pressed() : nullptr)
        pressed->Draw(surface, CellOnSurface(m_pressed), -1, &clip);
    PaintContent(surface, clip);
}

int DialKeypad::OnStylus(int event, int x, int y) {
    switch (event) {
    case StylusEvent::kDown:
        return PenDown(x, y);
    case StylusEvent::kMove:
        if (m_penDown)
            PenMove(x, y);
        return Tracking::kNone;
    case StylusEvent::kUp:
        if (m_penDown)
            PenUp(x, y);
        return Tracking::kNone;
    default:
        return Control::OnStylus(event, x, y);
    }
}

int DialKeypad::PenDown(int x, int y) {
    int index = CellIndexAt(x, y);
    if (index < 0) {
        PostNumber(kKeypadSearch);
        return Tracking::kNone;
    }
    if (Flags() & common::SettingsFlag::kVibrateOnTap)
        common::VibratePulse(kTickMs);
    m_penDown = true;
    Press(index);
    if (CodeOf(index) == KeypadCode::kDelete) {
        Type(VK_BACK);
        StartRepeat();
    }
    return Tracking::kTrack;
}

void DialKeypad::PenMove(int x, int y) {
    int index = CellIndexAt(x, y);
    if (index == m_pressed)
        return;
    StopRepeat();
    Press(index);
}

void DialKeypad::PenUp(int x, int y) {
    StopRepeat();
    int index = CellIndexAt(x, y);
    // A release on another cell than the highlighted one has only just arrived there.
    DWORD held = index == m_pressed ? GetTickCount() - m_pressTick : 0;
    m_penDown = false;
    Press(-1);
    uint32_t code = CodeOf(index);
    if (code == KeypadCode::kNone || code == KeypadCode::kDelete)
        return;
    if (KeypadCode::IsCommand(code)) {
        // The command may close the page: nothing is touched after it.
        if (m_owner)
            SendMessageW(m_owner->Window(), WM_COMMAND, KeypadCode::CommandId(code), 0);
        return;
    }
    Type(HeldCode(code, held));
}

void DialKeypad::StartRepeat() {
    StopRepeat();
    if (m_owner && m_owner->Window() && SetTimer(m_owner->Window(), kFirstRepeatTimer, kFirstRepeatMs, nullptr))
        m_repeatTimer = kFirstRepeatTimer;
}

void DialKeypad::StopRepeat() {
    if (!m_repeatTimer)
        return;
    if (m_owner && m_owner->Window())
        KillTimer(m_owner->Window(), m_repeatTimer);
    m_repeatTimer = 0;
}

void DialKeypad::OnTimer(UINT_PTR id) {
    if (id != m_repeatTimer)
        return;
    if (id == kFirstRepeatTimer) {
        StopRepeat();
        if (m_owner && m_owner->Window() && SetTimer(m_owner->Window(), kRepeatTimer, kRepeatMs, nullptr))
            m_repeatTimer = kRepeatTimer;
    }
    Type(VK_BACK);
}

int DialKeypad::OnKey(UINT message, WPARAM key, LPARAM data) {
    if (message == WM_TIMER) {
        if (key == kFirstRepeatTimer || key == kRepeatTimer) {
            OnTimer(key);
            return 0;
        }
        return Control::OnKey(message, key, data);
    }
    if (m_attached) {
        int handled = OnHardwareKey(message, key, data);
        if (handled == 0)
            return 0;
    }
    return Control::OnKey(message, key, data);
}

int DialKeypad::OnHardwareKey(UINT message, WPARAM key, LPARAM data) {
    switch (message) {
    case WM_KEYDOWN:
        if (m_field)
            m_field(message, key, data);
        return 0;
    case WM_KEYUP:
        if (m_field)
            m_field(message, key, data);
        if (key == VK_TTALK)
            TalkReleased();
        else if (ChangesNumber(key))
            PostNumber(kKeypadSearch);
        return 0;
    case WM_CHAR:
        Type(key);
        return 0;
    case WM_HOTKEY:
        // The frame overrides the talk key: its release arrives as a hot key.
        if (HIWORD(data) == VK_TTALK && (LOWORD(data) & MOD_KEYUP))
            TalkReleased();
        return HIWORD(data) == VK_TTALK ? 0 : -1;
    default:
        return -1;
    }
}

// The release of a talk key that was already down when the keypad was attached belongs to
// the press that opened the page: it does not dial, the next one does.
void DialKeypad::TalkReleased() {
    if (m_talkHeldAtAttach) {
        m_talkHeldAtAttach = false;
        return;
    }
    PostNumber(kKeypadDial);
}

void DialKeypad::Type(WPARAM ch) {
    if (m_field)
        m_field(WM_CHAR, ch, 0);
    PostNumber(kKeypadSearch);
}

void DialKeypad::PostNumber(WPARAM what) {
    if (m_owner && m_owner->Window())
        PostMessageW(m_owner->Window(), kKeypadNumberMessage, what, 0);
}

std::string DialKeypad::UiLine() const {
    if (m_look.Name().empty())
        return "keypad none";
    const KeypadLayout& layout = m_look.Layout();
    std::string line = "keypad " + m_look.Name() + (layout.IsPortrait() ? " portrait " : " landscape ") +
                       std::to_string(layout.Columns()) + "x" + std::to_string(layout.Rows()) + " cell " +
                       std::to_string(layout.CellWidth()) + "x" + std::to_string(layout.CellHeight());
    if (layout.IsPortrait())
        line += std::string(" hot ") + HotName(HotCellFor(Flags()));
    return line + " pressed " + CodeName(CodeOf(m_pressed));
}

void DialKeypad::Describe(IUiSink& sink, int depth, POINT origin) {
    Control::Describe(sink, depth, origin);
    sink.Line(depth + 1, UiLine().c_str());
}

} // namespace corlist
