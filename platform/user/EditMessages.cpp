// The messages of an "EDIT" window: creation and destruction, text, focus and caret,
// keys and stylus, clipboard and the EM_* requests.
#include "user/EditWindow.h"

#include <algorithm>
#include <mutex>
#include <unordered_set>

namespace platform {

LRESULT EditWindow::OnEditMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    handled = true;
    switch (message) {
    case EM_GETSEL: {
        DWORD start = DWORD(m_buffer.SelectionStart()), end = DWORD(m_buffer.SelectionEnd());
        if (wParam)
            *reinterpret_cast<DWORD*>(wParam) = start;
        if (lParam)
            *reinterpret_cast<DWORD*>(lParam) = end;
        return MAKELONG(std::min<DWORD>(start, 0xFFFF), std::min<DWORD>(end, 0xFFFF));
    }
    case EM_SETSEL:
        m_buffer.SetSelection(long(int(wParam)), long(int(lParam)));
        Apply(EditBuffer::Refusal::None, false);
        return 0;
    case EM_REPLACESEL: {
        auto text = reinterpret_cast<const char16_t*>(lParam);
        Apply(m_buffer.Replace(text ? text : u"", wParam != 0), true);
        return 0;
    }
    case EM_LIMITTEXT:
        m_buffer.SetLimit(size_t(wParam));
        return 0;
    case EM_GETLIMITTEXT:
        return LRESULT(m_buffer.Limit());
    case EM_CANUNDO:
        return m_buffer.CanUndo();
    case EM_UNDO:
    case WM_UNDO: {
        bool undone = m_buffer.Undo();
        Apply(EditBuffer::Refusal::None, undone);
        return undone;
    }
    case EM_EMPTYUNDOBUFFER:
        m_buffer.ForgetUndo();
        return 0;
    case EM_SETPASSWORDCHAR:
        m_passwordChar = char16_t(wParam);
        InvalidateRect(m_hwnd, nullptr, FALSE);
        return 0;
    case EM_GETPASSWORDCHAR:
        return m_passwordChar;
    case EM_GETMODIFY:
        return m_buffer.Modified();
    case EM_SETMODIFY:
        m_buffer.SetModified(wParam != 0);
        return 0;
    case EM_GETLINECOUNT:
        return LRESULT(m_buffer.LineCount());
    case EM_SETREADONLY:
        m_buffer.SetStyle(wParam ? m_buffer.Style() | ES_READONLY : m_buffer.Style() & ~DWORD(ES_READONLY));
        return TRUE;
    default:
        handled = false;
        return 0;
    }
}

LRESULT EditWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    bool handled = false;
    LRESULT result = OnEditMessage(message, wParam, lParam, handled);
    if (handled)
        return result;
    switch (message) {
    case WM_CREATE: {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        if (create && create->lpszName)
            m_buffer.SetText(create->lpszName);
        return 0;
    }
    case WM_SETTEXT:
        m_buffer.SetText(lParam ? reinterpret_cast<const char16_t*>(lParam) : u"");
        m_scrollX = 0;
        DefWindowProcW(m_hwnd, message, wParam, lParam);
        Apply(EditBuffer::Refusal::None, true);
        return TRUE;
    case WM_GETTEXT: {
        auto* out = reinterpret_cast<char16_t*>(lParam);
        if (!out || wParam == 0)
            return 0;
        size_t count = std::min(m_buffer.Text().size(), size_t(wParam) - 1);
        m_buffer.Text().copy(out, count);
        out[count] = 0;
        return LRESULT(count);
    }
    case WM_GETTEXTLENGTH:
        return LRESULT(m_buffer.Text().size());
    case WM_GETDLGCODE:
        return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    case WM_SETFOCUS:
        m_focused = true;
        m_caretOn = true;
        SetTimer(m_hwnd, kCaretTimer, kBlinkMs, nullptr);
        InvalidateRect(m_hwnd, nullptr, FALSE);
        Notify(EN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        m_focused = false;
        m_caretOn = false;
        KillTimer(m_hwnd, kCaretTimer);
        InvalidateRect(m_hwnd, nullptr, FALSE);
        Notify(EN_KILLFOCUS);
        return 0;
    case WM_TIMER:
        if (wParam != kCaretTimer)
            break;
        m_caretOn = !m_caretOn;
        InvalidateRect(m_hwnd, nullptr, FALSE);
        return 0;
    case WM_CHAR:
        OnChar(char16_t(wParam));
        return 0;
    case WM_KEYDOWN:
        OnKey(UINT(wParam));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
        OnStylus(message, lParam);
        return 0;
    case WM_COPY:
        Copy();
        return 0;
    case WM_CUT:
        Copy();
        if (!m_passwordChar && m_buffer.HasSelection())
            Apply(m_buffer.Replace(u""), true);
        return 0;
    case WM_CLEAR:
        if (m_buffer.HasSelection())
            Apply(m_buffer.Replace(u""), true);
        return 0;
    case WM_PASTE:
        Paste();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        if (HDC dc = BeginPaint(m_hwnd, &paint)) {
            Paint(dc);
            EndPaint(m_hwnd, &paint);
        }
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(m_hwnd, message, wParam, lParam);
}

// The window memory slot that holds the edit's state.
constexpr int kStateIndex = 0;

namespace {
// Every edit's state, so that the ones whose windows are still open when the device shuts
// down (no window procedure runs then) are freed too.
std::mutex g_liveLock;
std::unordered_set<EditWindow*> g_live;
} // namespace

void EditWindow::ForgetAll() {
    std::lock_guard lock(g_liveLock);
    for (EditWindow* edit : g_live)
        delete edit;
    g_live.clear();
}

LRESULT CALLBACK EditWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* edit = reinterpret_cast<EditWindow*>(GetWindowLongPtrW(hwnd, kStateIndex));
    if (message == WM_NCCREATE && !edit) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        edit = new EditWindow(hwnd, create ? DWORD(create->style) : 0);
        SetWindowLongPtrW(hwnd, kStateIndex, reinterpret_cast<LONG_PTR>(edit));
        std::lock_guard lock(g_liveLock);
        g_live.insert(edit);
    }
    if (!edit)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, kStateIndex, 0);
        if (edit->m_font)
            DeleteObject(edit->m_font);
        {
            std::lock_guard lock(g_liveLock);
            g_live.erase(edit);
        }
        delete edit;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return edit->Handle(message, wParam, lParam);
}

} // namespace platform
