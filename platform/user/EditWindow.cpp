#include "user/EditWindow.h"

#include "ce/kernel.h"
#include "user/SystemLook.h"

#include <algorithm>

namespace platform {

namespace {

bool ShiftHeld() { return GetKeyState(VK_SHIFT) < 0; }

} // namespace

// The edit's state lives in the window's own memory: GWLP_USERDATA stays the application's,
// which subclasses edit windows and keeps its own pointer there.
bool EditWindow::Register() { return SystemLook::RegisterSystemClass(kClassName, Proc, sizeof(LONG_PTR)); }

EditWindow::EditWindow(HWND hwnd, DWORD style) : m_hwnd(hwnd), m_buffer(style) {
    int scale = SystemLook::Scale();
    m_font = SystemLook::MakeFont(12 * scale, FW_NORMAL);
    m_lineHeight = 16 * scale;
    m_margin = 2 * scale;
    if (style & ES_PASSWORD)
        m_passwordChar = u'*';
}

std::u16string EditWindow::Shown() const {
    if (m_passwordChar)
        return std::u16string(m_buffer.Text().size(), m_passwordChar);
    return m_buffer.Text();
}

void EditWindow::Notify(WORD code) const {
    HWND parent = GetParent(m_hwnd);
    if (parent)
        SendMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(m_hwnd), code), reinterpret_cast<LPARAM>(m_hwnd));
}

// After an edit: the window repaints and the parent hears of a change or a refusal.
void EditWindow::Apply(EditBuffer::Refusal refusal, bool changed) {
    if (refusal == EditBuffer::Refusal::NotADigit || refusal == EditBuffer::Refusal::ReadOnly)
        MessageBeep(MB_OK);
    ScrollToCaret();
    InvalidateRect(m_hwnd, nullptr, FALSE);
    if (changed) {
        Notify(EN_UPDATE);
        Notify(EN_CHANGE);
    }
    if (refusal == EditBuffer::Refusal::Full)
        Notify(EN_MAXTEXT);
}

int EditWindow::TextWidth(const std::u16string& text) const {
    if (text.empty())
        return 0;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, m_font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &size);
    SelectObject(dc, old);
    DeleteDC(dc);
    return size.cx;
}

POINT EditWindow::PointOf(size_t position) const {
    size_t line = m_buffer.LineOf(position);
    size_t start = m_buffer.LineStart(line);
    std::u16string shown = Shown();
    int x = TextWidth(shown.substr(start, position - start));
    return POINT{m_margin + x - m_scrollX, m_margin + int(line) * m_lineHeight};
}

size_t EditWindow::PositionAt(POINT point) const {
    size_t lines = m_buffer.LineCount();
    long line = std::clamp<long>((point.y - m_margin) / std::max(m_lineHeight, 1), 0, long(lines) - 1);
    size_t start = m_buffer.LineStart(size_t(line)), end = m_buffer.LineEnd(size_t(line));
    std::u16string shown = Shown();
    int target = point.x - m_margin + m_scrollX;
    // The nearest boundary between characters.
    for (size_t i = start; i < end; ++i) {
        int left = TextWidth(shown.substr(start, i - start));
        int right = TextWidth(shown.substr(start, i + 1 - start));
        if (target < (left + right) / 2)
            return i;
    }
    return end;
}

void EditWindow::ScrollToCaret() {
    if (m_buffer.Style() & ES_MULTILINE)
        return;
    RECT client;
    GetClientRect(m_hwnd, &client);
    int width = std::max<int>(1, client.right - 2 * m_margin);
    int caretX = TextWidth(Shown().substr(0, m_buffer.Caret()));
    if (caretX - m_scrollX > width)
        m_scrollX = caretX - width;
    else if (caretX < m_scrollX)
        m_scrollX = caretX;
}

void EditWindow::Copy() const {
    // A password never leaves its window.
    if (m_passwordChar || !m_buffer.HasSelection())
        return;
    std::u16string text = m_buffer.SelectedText();
    HLOCAL memory = LocalAlloc(LMEM_FIXED, (text.size() + 1) * sizeof(char16_t));
    if (!memory)
        return;
    std::copy(text.begin(), text.end(), static_cast<char16_t*>(memory));
    static_cast<char16_t*>(memory)[text.size()] = 0;
    if (!OpenClipboard(m_hwnd)) {
        LocalFree(memory);
        return;
    }
    EmptyClipboard();
    if (!SetClipboardData(CF_UNICODETEXT, memory))
        LocalFree(memory);
    CloseClipboard();
}

void EditWindow::Paste() {
    if (!OpenClipboard(m_hwnd))
        return;
    std::u16string text;
    if (auto* data = static_cast<const char16_t*>(GetClipboardData(CF_UNICODETEXT))) {
        // The block's size bounds the text even when it lacks its terminator.
        size_t count = LocalSize(const_cast<char16_t*>(data)) / sizeof(char16_t);
        text.assign(data, std::find(data, data + count, u'\0'));
    }
    CloseClipboard();
    if (!text.empty())
        Apply(m_buffer.Replace(std::move(text)), true);
}

void EditWindow::OnChar(char16_t ch) {
    switch (ch) {
    case 0x03: // Ctrl+C
        Copy();
        return;
    case 0x16: // Ctrl+V
        Paste();
        return;
    case 0x18: // Ctrl+X
        Copy();
        if (!m_passwordChar && m_buffer.HasSelection())
            Apply(m_buffer.Replace(u""), true);
        return;
    case 0x1A: // Ctrl+Z
        Apply(EditBuffer::Refusal::None, m_buffer.Undo());
        return;
    case u'\b':
        Apply(EditBuffer::Refusal::None, m_buffer.DeleteBackward());
        return;
    case u'\r':
        if (m_buffer.Style() & ES_MULTILINE) {
            size_t before = m_buffer.Text().size();
            auto refusal = m_buffer.Replace(u"\r\n");
            Apply(refusal, m_buffer.Text().size() != before || refusal == EditBuffer::Refusal::None);
        }
        return;
    default:
        break;
    }
    if (ch < 0x20)
        return;
    std::u16string before = m_buffer.Text();
    auto refusal = m_buffer.Replace(std::u16string(1, ch), true, true);
    Apply(refusal, m_buffer.Text() != before);
}

void EditWindow::OnKey(UINT key) {
    size_t caret = m_buffer.Caret();
    size_t line = m_buffer.LineOf(caret);
    bool extend = ShiftHeld();
    switch (key) {
    case VK_LEFT:
        m_buffer.MoveCaret(caret > 0 ? caret - 1 : 0, extend);
        break;
    case VK_RIGHT:
        m_buffer.MoveCaret(caret + 1, extend);
        break;
    case VK_HOME:
        m_buffer.MoveCaret(m_buffer.LineStart(line), extend);
        break;
    case VK_END:
        m_buffer.MoveCaret(m_buffer.LineEnd(line), extend);
        break;
    case VK_UP:
    case VK_DOWN: {
        if (!(m_buffer.Style() & ES_MULTILINE))
            return;
        if ((key == VK_UP && line == 0) || (key == VK_DOWN && line + 1 >= m_buffer.LineCount()))
            return;
        size_t column = caret - m_buffer.LineStart(line);
        size_t target = key == VK_UP ? line - 1 : line + 1;
        m_buffer.MoveCaret(std::min(m_buffer.LineStart(target) + column, m_buffer.LineEnd(target)), extend);
        break;
    }
    case VK_DELETE:
        Apply(EditBuffer::Refusal::None, m_buffer.DeleteForward());
        return;
    default:
        return;
    }
    Apply(EditBuffer::Refusal::None, false);
}

void EditWindow::OnStylus(UINT message, LPARAM lParam) {
    POINT point{SHORT(LOWORD(lParam)), SHORT(HIWORD(lParam))};
    if (message == WM_LBUTTONDOWN) {
        if (GetFocus() != m_hwnd)
            SetFocus(m_hwnd);
        m_buffer.MoveCaret(PositionAt(point), ShiftHeld());
        m_dragging = true;
        SetCapture(m_hwnd);
    } else if (message == WM_MOUSEMOVE && m_dragging) {
        m_buffer.MoveCaret(PositionAt(point), true);
    } else if (message == WM_LBUTTONUP && m_dragging) {
        m_buffer.MoveCaret(PositionAt(point), true);
        m_dragging = false;
        ReleaseCapture();
    }
    Apply(EditBuffer::Refusal::None, false);
}

void EditWindow::PaintLine(HDC dc, size_t start, size_t end, int y) {
    std::u16string shown = Shown();
    size_t selStart = std::clamp(m_buffer.SelectionStart(), start, end);
    size_t selEnd = std::clamp(m_buffer.SelectionEnd(), start, end);
    int x = m_margin - m_scrollX;
    const size_t cuts[] = {start, selStart, selEnd, end};
    for (int part = 0; part < 3; ++part) {
        std::u16string piece = shown.substr(cuts[part], cuts[part + 1] - cuts[part]);
        if (piece.empty())
            continue;
        int width = TextWidth(piece);
        bool selected = part == 1 && (m_focused || (m_buffer.Style() & ES_NOHIDESEL));
        if (selected)
            SystemLook::Fill(dc, RECT{x, y, x + width, y + m_lineHeight}, GetSysColor(COLOR_HIGHLIGHT));
        SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        ExtTextOutW(dc, x, y, 0, nullptr, piece.c_str(), UINT(piece.size()), nullptr);
        x += width;
    }
}

void EditWindow::Paint(HDC dc) {
    RECT client;
    GetClientRect(m_hwnd, &client);
    bool enabled = IsWindowEnabled(m_hwnd);
    SystemLook::Fill(dc, client, GetSysColor(enabled ? COLOR_WINDOW : COLOR_BTNFACE));
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = SelectObject(dc, m_font);
    for (size_t line = 0; line < m_buffer.LineCount(); ++line) {
        int y = m_margin + int(line) * m_lineHeight;
        if (y >= client.bottom)
            break;
        PaintLine(dc, m_buffer.LineStart(line), m_buffer.LineEnd(line), y);
    }
    SelectObject(dc, oldFont);
    if (m_focused && m_caretOn) {
        POINT at = PointOf(m_buffer.Caret());
        SystemLook::Fill(dc, RECT{at.x, at.y, at.x + std::max(1, m_margin / 2), at.y + m_lineHeight},
                         GetSysColor(COLOR_WINDOWTEXT));
    }
    if (GetWindowLongW(m_hwnd, GWL_STYLE) & WS_BORDER) {
        SystemLook::Frame(dc, RECT{0, 0, client.right, client.bottom});
    }
}

} // namespace platform
