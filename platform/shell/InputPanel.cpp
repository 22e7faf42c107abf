#include "shell/InputPanel.h"

#include "ce/kernel.h"
#include "ce/wingdi.h"
#include "user/SystemLook.h"

#include <algorithm>
#include <string_view>

namespace platform {

// '\b' is the backspace key.
const char16_t* const InputPanel::kRows[] = {u"1234567890", u"qwertyuiop", u"asdfghjkl\b", u"zxcvbnm ,."};

namespace {

constexpr int kKeyHeight = 20;

std::u16string_view Row(int row) { return InputPanel::kRows[row]; }

} // namespace

InputPanel& InputPanel::Instance() {
    static InputPanel panel;
    return panel;
}

RECT InputPanel::Rect() const {
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    int panelHeight = kRowCount * kKeyHeight * SystemLook::Scale();
    return RECT{0, height - panelHeight, width, height};
}

bool InputPanel::IsShown() const { return m_hwnd && IsWindow(m_hwnd) && IsWindowVisible(m_hwnd); }

bool InputPanel::Show(bool on) {
    bool was = IsShown();
    if (on && !(m_hwnd && IsWindow(m_hwnd))) {
        SystemLook::RegisterSystemClass(kClassName, Proc);
        RECT r = Rect();
        m_hwnd = CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE, kClassName, u"Input Panel", WS_POPUP, r.left, r.top,
                                 r.right - r.left, r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
        if (!m_hwnd)
            return false;
    }
    if (m_hwnd && IsWindow(m_hwnd))
        ShowWindow(m_hwnd, on ? SW_SHOWNOACTIVATE : SW_HIDE);
    if (was != IsShown())
        SendNotifyMessageW(HWND_BROADCAST, WM_SETTINGCHANGE, SPI_SETSIPINFO, 0);
    return true;
}

RECT InputPanel::KeyInClient(int row, int column) const {
    RECT panel = Rect();
    int width = panel.right - panel.left, count = int(Row(row).size());
    int keyHeight = kKeyHeight * SystemLook::Scale();
    return RECT{width * column / count, row * keyHeight, width * (column + 1) / count, (row + 1) * keyHeight};
}

RECT InputPanel::KeyRect(char16_t ch) const {
    RECT panel = Rect();
    for (int row = 0; row < kRowCount; ++row) {
        size_t column = Row(row).find(ch);
        if (column != std::u16string_view::npos) {
            RECT key = KeyInClient(row, int(column));
            OffsetRect(&key, panel.left, panel.top);
            return key;
        }
    }
    return RECT{};
}

char16_t InputPanel::KeyAt(POINT client) const {
    for (int row = 0; row < kRowCount; ++row)
        for (size_t column = 0; column < Row(row).size(); ++column) {
            RECT key = KeyInClient(row, int(column));
            if (PtInRect(&key, client))
                return Row(row)[column];
        }
    return 0;
}

void InputPanel::Paint(HDC dc) const {
    RECT panel = Rect();
    SystemLook::Fill(dc, RECT{0, 0, panel.right - panel.left, panel.bottom - panel.top}, GetSysColor(COLOR_BTNSHADOW));
    HFONT font = SystemLook::MakeFont(11 * SystemLook::Scale(), FW_NORMAL);
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    for (int row = 0; row < kRowCount; ++row)
        for (size_t column = 0; column < Row(row).size(); ++column) {
            RECT key = KeyInClient(row, int(column));
            InflateRect(&key, -1, -1);
            SystemLook::Fill(dc, key, GetSysColor(COLOR_BTNFACE));
            char16_t ch = Row(row)[column];
            const char16_t* label = ch == u'\b' ? u"<-" : ch == u' ' ? u"sp" : nullptr;
            std::u16string text = label ? std::u16string(label) : std::u16string(1, ch);
            DrawTextW(dc, text.c_str(), -1, &key, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        }
    SelectObject(dc, oldFont);
    DeleteObject(font);
}

LRESULT CALLBACK InputPanel::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    InputPanel& panel = Instance();
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        if (HDC dc = BeginPaint(hwnd, &paint)) {
            panel.Paint(dc);
            EndPaint(hwnd, &paint);
        }
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONUP: {
        // A key types when the stylus leaves it.
        char16_t ch = panel.KeyAt(POINT{SHORT(LOWORD(lParam)), SHORT(HIWORD(lParam))});
        HWND focus = GetFocus();
        if (ch && focus && focus != hwnd)
            PostMessageW(focus, WM_CHAR, WPARAM(ch), 1);
        return 0;
    }
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace platform
