#include "corlist/controls/EditControl.h"

#include "corlist/controls/Button.h"
#include "corlist/controls/ControlOwner.h"
#include "corlist/controls/EditElement.h"
#include "corlist/controls/LibraryText.h"
#include "corlist/skin/DrawSurface.h"
#include "corlist/skin/FontElement.h"
#include "corlist/skin/SurfaceFill.h"

#include "ce/aygshell.h"
#include "ce/clipboard.h"
#include "ce/kernel.h"
#include "ce/user.h"

namespace corlist {

namespace {
// The label string of an edit command is its number plus this.
constexpr UINT kEditLabelOffset = 5000;
} // namespace


namespace {

constexpr const WCHAR* kPasswordShown = u"********";
// Posted to the edit window when it lost the focus: it is removed once its own message
// handling is over.
constexpr UINT kEndEditMessage = WM_USER + 0x7E1;

int BorderWidth() {
    return GetSystemMetrics(SM_CXBORDER);
}

} // namespace

EditControl::EditControl(UINT label) : m_text(LoadLabel(label)) {
    m_state |= ControlState::kFocusable;
}

EditControl::~EditControl() {
    DropEditWindow();
}

// Gives the edit window its own procedure back and destroys it.
void EditControl::DropEditWindow() {
    if (!m_editWindow)
        return;
    HWND window = m_editWindow;
    m_editWindow = nullptr;
    SetWindowLongPtrW(window, GWL_USERDATA, 0);
    SetWindowLongPtrW(window, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(m_editProcedure));
    DestroyWindow(window);
}

std::u16string EditControl::Text() const {
    std::u16string text = m_editWindow ? WindowText() : m_text;
    return m_password && !text.empty() ? std::u16string(kPasswordShown) : text;
}

void EditControl::SetText(const std::u16string& text) {
    m_text = text.substr(0, kTextLimit);
    if (m_editWindow)
        SetWindowTextW(m_editWindow, m_text.c_str());
    Invalidate();
}

std::u16string EditControl::WindowText() const {
    int length = GetWindowTextLengthW(m_editWindow);
    std::u16string text(size_t(length > 0 ? length : 0) + 1, u'\0');
    GetWindowTextW(m_editWindow, text.data(), int(text.size()));
    text.resize(size_t(length > 0 ? length : 0));
    return text;
}

void EditControl::Paint(DrawSurface& surface, const RECT& clip) {
    if (!IsVisible() || IsEmptyRect(Rect()))
        return;
    auto* element = static_cast<EditElement*>(Descriptor());
    RECT rect = Rect();
    if (element && element->Border() != kColourNone) {
        FillRect(surface, rect, element->Border(), 0);
        int border = BorderWidth();
        rect = {rect.left + border, rect.top + border, rect.right - border, rect.bottom - border};
    }
    if (element && element->Background() != kColourNone)
        FillRect(surface, rect, element->Background(), 0);
    FontElement* font = element ? (IsEnabled() ? element->Font() : element->DisabledFont()) : nullptr;
    std::u16string shown = m_password && !m_text.empty() ? std::u16string(kPasswordShown) : m_text;
    if (font && !shown.empty() && !m_editWindow) {
        RECT area{rect.left + 2 * BorderWidth(), rect.top, rect.right - 2 * BorderWidth(), rect.bottom};
        font->DrawText(surface, shown.c_str(), int(shown.size()), area, DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    }
    PaintContent(surface, clip);
}

int EditControl::OnStylus(int event, int x, int y) {
    if (event == StylusEvent::kDown)
        return IsEnabled() ? Tracking::kTrack : Tracking::kNone;
    if (event == StylusEvent::kUp && x >= Rect().left && x < Rect().right && y >= Rect().top && y < Rect().bottom)
        BeginEdit();
    return Tracking::kNone;
}

bool EditControl::BeginEdit() {
    if (m_editWindow)
        return true;
    if (!IsEnabled() || !Owner() || !Owner()->Window())
        return false;
    int border = BorderWidth();
    RECT rect = Rect();
    DWORD style = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | (m_password ? ES_PASSWORD : 0);
    m_editWindow = CreateWindowExW(0, u"EDIT", m_text.c_str(), style, rect.left + 2 * border + 1, rect.top + 2 * border + 1,
                                   rect.right - rect.left - (4 * border + 2), rect.bottom - rect.top - (4 * border + 2),
                                   Owner()->Window(), reinterpret_cast<HMENU>(static_cast<uintptr_t>(Number())),
                                   GetModuleHandleW(nullptr), nullptr);
    if (!m_editWindow)
        return false;
    SetWindowLongPtrW(m_editWindow, GWL_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_editProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(m_editWindow, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&EditControl::EditProcedure)));
    auto* element = static_cast<EditElement*>(Descriptor());
    if (FontElement* font = element ? element->Font() : nullptr)
        SendMessageW(m_editWindow, WM_SETFONT, reinterpret_cast<WPARAM>(font->Font()), FALSE);
    SendMessageW(m_editWindow, EM_LIMITTEXT, kTextLimit, 0);
    SendMessageW(m_editWindow, EM_SETSEL, 0, -1);
    ::SetFocus(m_editWindow);
    Invalidate();
    return true;
}

void EditControl::EndEdit() {
    if (!m_editWindow)
        return;
    m_text = WindowText();
    DropEditWindow();
    Invalidate();
}

LRESULT CALLBACK EditControl::EditProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* control = reinterpret_cast<EditControl*>(GetWindowLongPtrW(hwnd, GWL_USERDATA));
    if (!control)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    return control->HandleEdit(message, wParam, lParam);
}

LRESULT EditControl::HandleEdit(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = m_editWindow;
    switch (message) {
    case WM_LBUTTONDOWN: {
        SHRGINFO gesture{sizeof(SHRGINFO), window, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, SHRG_RETURNCMD};
        if (SHRecognizeGesture(&gesture) == GN_CONTEXTMENU) {
            POINT screen = gesture.ptDown;
            ClientToScreen(window, &screen);
            ShowContextMenu(screen);
            return 0;
        }
        break;
    }
    case WM_CONTEXTMENU:
        ShowContextMenu(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            EndEdit();
            return 0;
        }
        break;
    case WM_KILLFOCUS:
        PostMessageW(window, kEndEditMessage, 0, 0);
        break;
    case kEndEditMessage:
        if (GetFocus() != window)
            EndEdit();
        return 0;
    default:
        break;
    }
    return CallWindowProcW(m_editProcedure, window, message, wParam, lParam);
}

bool EditControl::IsCommandEnabled(UINT command) const {
    bool empty = (m_editWindow ? GetWindowTextLengthW(m_editWindow) : int(m_text.size())) == 0;
    bool disabled = !IsEnabled();
    switch (command) {
    case EditCommand::kUndo:
        return !disabled && m_editWindow && SendMessageW(m_editWindow, EM_CANUNDO, 0, 0);
    case EditCommand::kCopy:
        return !empty;
    case EditCommand::kPaste:
        return !disabled && IsClipboardFormatAvailable(CF_UNICODETEXT);
    case EditCommand::kCut:
    case EditCommand::kClear:
    case EditCommand::kSelectAll:
        return !empty && !disabled;
    default:
        return false;
    }
}

void EditControl::ShowContextMenu(POINT screen) {
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return;
    static constexpr struct {
        UINT command;
        const WCHAR* text;
    } kRows[] = {{EditCommand::kUndo, u"Undo"}, {0, nullptr},
                 {EditCommand::kCut, u"Cut"},   {EditCommand::kCopy, u"Copy"},
                 {EditCommand::kPaste, u"Paste"}, {EditCommand::kClear, u"Clear"},
                 {0, nullptr},                  {EditCommand::kSelectAll, u"SelectAll"}};
    // The labels are the language's strings 5100-5105 (the commands' own numbers label
    // other things); the English names stand in when the language lacks them.
    for (const auto& row : kRows) {
        if (!row.text) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        std::u16string label = LibraryText(row.command + kEditLabelOffset);
        AppendMenuW(menu, MF_STRING | (IsCommandEnabled(row.command) ? MF_ENABLED : MF_GRAYED), row.command,
                    label.empty() ? row.text : label.c_str());
    }
    HWND owner = m_editWindow ? m_editWindow : (Owner() ? Owner()->Window() : nullptr);
    UINT chosen = UINT(TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, screen.x, screen.y, 0, owner, nullptr));
    DestroyMenu(menu);
    if (chosen != 0)
        RunCommand(chosen);
}

void EditControl::RunCommand(UINT command) {
    if (!m_editWindow || !IsCommandEnabled(command))
        return;
    switch (command) {
    case EditCommand::kUndo:
        SendMessageW(m_editWindow, EM_UNDO, 0, 0);
        SendMessageW(m_editWindow, EM_EMPTYUNDOBUFFER, 0, 0);
        break;
    case EditCommand::kCut:
        SendMessageW(m_editWindow, WM_CUT, 0, 0);
        break;
    case EditCommand::kCopy:
        SendMessageW(m_editWindow, WM_COPY, 0, 0);
        break;
    case EditCommand::kPaste:
        SendMessageW(m_editWindow, WM_PASTE, 0, 0);
        SendMessageW(m_editWindow, EM_SETSEL, 0, -1);
        break;
    case EditCommand::kClear:
        SendMessageW(m_editWindow, WM_CLEAR, 0, 0);
        break;
    case EditCommand::kSelectAll:
        SendMessageW(m_editWindow, EM_SETSEL, 0, -1);
        break;
    default:
        break;
    }
}

} // namespace corlist
