#include "ce/uiview.h"
#include "user/MessageBoxWindow.h"

#include "kernel/ProcessTable.h"
#include "user/MessageBoxes.h"
#include "user/SystemLook.h"
#include "user/UserPrivate.h"

#include <algorithm>

namespace platform {

const char16_t* MessageBoxWindow::kClassName = u"Dialog";

namespace {

const char16_t* Label(int id) {
    switch (id) {
    case IDOK:
        return u"OK";
    case IDCANCEL:
        return u"Cancel";
    case IDABORT:
        return u"Abort";
    case IDRETRY:
        return u"Retry";
    case IDIGNORE:
        return u"Ignore";
    case IDYES:
        return u"Yes";
    case IDNO:
        return u"No";
    default:
        return u"";
    }
}

} // namespace

MessageBoxWindow::MessageBoxWindow(std::u16string text, std::u16string title, UINT type)
    : m_text(std::move(text)), m_title(std::move(title)), m_type(type),
      m_buttons(MessageBoxes::Buttons(type)) {
    size_t wanted = (type & MB_DEFMASK) >> 8;
    m_default = wanted < m_buttons.size() ? wanted : 0;
}

MessageBoxWindow::~MessageBoxWindow() {
    if (m_hwnd && IsWindow(m_hwnd))
        DestroyWindow(m_hwnd);
    if (m_font)
        DeleteObject(m_font);
    if (m_bold)
        DeleteObject(m_bold);
}

bool MessageBoxWindow::Create(HWND owner) {
    // The class belongs to the system, so every process can show a box.
    SystemLook::RegisterSystemClass(kClassName, DefWindowProcW);
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    m_scale = SystemLook::Scale();
    m_font = SystemLook::MakeFont(12 * m_scale, FW_NORMAL);
    m_bold = SystemLook::MakeFont(12 * m_scale, FW_BOLD);
    Layout();
    int x = (width - m_size.cx) / 2, y = std::max(0, (height - m_size.cy) / 2);
    DWORD exStyle = (m_type & MB_TOPMOST) ? WS_EX_TOPMOST : 0;
    m_hwnd = CreateWindowExW(exStyle, kClassName, m_title.c_str(), WS_POPUP, x, y, m_size.cx,
                             m_size.cy, owner, nullptr, nullptr, nullptr);
    if (!m_hwnd)
        return false;
    SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(m_hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc));
    return true;
}

// Sizes follow the text: the box is as wide as the screen allows and as tall as the
// wrapped text, the icon and the button row need.
void MessageBoxWindow::Layout() {
    int s = m_scale;
    int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    m_size.cx = screenWidth - 16 * s;
    int titleHeight = 20 * s, margin = 8 * s, iconSide = 32 * s, buttonHeight = 22 * s;
    m_titleBar = RECT{0, 0, m_size.cx, titleHeight};
    bool icon = (m_type & MB_ICONMASK) != 0;
    m_iconRect = icon ? RECT{margin, titleHeight + margin, margin + iconSide, titleHeight + margin + iconSide}
                      : RECT{margin, titleHeight + margin, margin, titleHeight + margin};
    LONG textLeft = icon ? m_iconRect.right + margin : margin;
    RECT text{textLeft, titleHeight + margin, m_size.cx - margin, titleHeight + margin};
    HDC measure = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(measure, m_font);
    DrawTextW(measure, m_text.c_str(), -1, &text, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(measure, old);
    DeleteDC(measure);
    text.right = m_size.cx - margin;
    m_textRect = text;
    LONG contentBottom = std::max(m_textRect.bottom, m_iconRect.bottom) + margin;
    m_size.cy = std::min<LONG>(contentBottom + buttonHeight + margin, screenHeight);
    LONG buttonTop = m_size.cy - margin - buttonHeight;
    m_textRect.bottom = std::min(m_textRect.bottom, buttonTop - margin);
    int count = int(m_buttons.size());
    int buttonWidth = std::min(64 * s, (int(m_size.cx) - margin * (count + 1)) / std::max(count, 1));
    int rowWidth = count * buttonWidth + (count - 1) * margin;
    int left = (int(m_size.cx) - rowWidth) / 2;
    m_buttonRects.clear();
    for (int i = 0; i < count; ++i) {
        LONG x = left + i * (buttonWidth + margin);
        m_buttonRects.push_back(RECT{x, buttonTop, x + buttonWidth, buttonTop + buttonHeight});
    }
}

void MessageBoxWindow::PaintIcon(HDC dc) {
    UINT icon = m_type & MB_ICONMASK;
    if (!icon)
        return;
    const RECT& r = m_iconRect;
    COLORREF fill = icon == MB_ICONHAND ? RGB(204, 32, 32)
                    : icon == MB_ICONEXCLAMATION ? RGB(240, 200, 0)
                                                 : RGB(32, 96, 200);
    HBRUSH brush = CreateSolidBrush(fill);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    if (icon == MB_ICONEXCLAMATION) {
        POINT triangle[] = {{(r.left + r.right) / 2, r.top}, {r.right, r.bottom}, {r.left, r.bottom}};
        Polygon(dc, triangle, 3);
    } else {
        Ellipse(dc, r.left, r.top, r.right, r.bottom);
    }
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(brush);
    const char16_t* glyph = icon == MB_ICONHAND ? u"X" : icon == MB_ICONQUESTION ? u"?"
                            : icon == MB_ICONEXCLAMATION ? u"!" : u"i";
    SetTextColor(dc, icon == MB_ICONEXCLAMATION ? RGB(0, 0, 0) : RGB(255, 255, 255));
    SelectObject(dc, m_bold);
    RECT glyphRect = r;
    if (icon == MB_ICONEXCLAMATION)
        glyphRect.top += (r.bottom - r.top) / 4;
    DrawTextW(dc, glyph, -1, &glyphRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void MessageBoxWindow::PaintButton(HDC dc, size_t index) {
    const RECT& r = m_buttonRects[index];
    bool pressed = m_pressed == int(index);
    bool isDefault = index == m_default;
    HBRUSH face = CreateSolidBrush(GetSysColor(pressed ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
    HPEN edge = CreatePen(PS_SOLID, isDefault ? 2 : 1,
                          GetSysColor(isDefault ? COLOR_HIGHLIGHT : COLOR_BTNSHADOW));
    HGDIOBJ oldBrush = SelectObject(dc, face);
    HGDIOBJ oldPen = SelectObject(dc, edge);
    RoundRect(dc, r.left, r.top, r.right, r.bottom, 6 * m_scale, 6 * m_scale);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(edge);
    DeleteObject(face);
    SelectObject(dc, m_font);
    SetTextColor(dc, GetSysColor(pressed ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT));
    RECT label = r;
    DrawTextW(dc, Label(m_buttons[index]), -1, &label, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void MessageBoxWindow::Paint(HDC dc) {
    RECT client{0, 0, m_size.cx, m_size.cy};
    SystemLook::Fill(dc, client, GetSysColor(COLOR_WINDOW));
    SystemLook::Fill(dc, m_titleBar, GetSysColor(COLOR_ACTIVECAPTION));
    SetBkMode(dc, TRANSPARENT);
    SelectObject(dc, m_bold);
    SetTextColor(dc, GetSysColor(COLOR_CAPTIONTEXT));
    RECT title = m_titleBar;
    title.left += 6 * m_scale;
    DrawTextW(dc, m_title.c_str(), -1, &title, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    PaintIcon(dc);
    SelectObject(dc, m_font);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    RECT text = m_textRect;
    DrawTextW(dc, m_text.c_str(), -1, &text, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    for (size_t i = 0; i < m_buttons.size(); ++i)
        PaintButton(dc, i);
    // A thin frame sets the box off from what lies below it.
    SystemLook::Frame(dc, RECT{0, 0, m_size.cx, m_size.cy});
}

int MessageBoxWindow::ButtonAt(POINT point) const {
    for (size_t i = 0; i < m_buttonRects.size(); ++i) {
        const RECT& r = m_buttonRects[i];
        if (point.x >= r.left && point.x < r.right && point.y >= r.top && point.y < r.bottom)
            return int(i);
    }
    return -1;
}

bool MessageBoxWindow::Has(int id) const {
    return std::find(m_buttons.begin(), m_buttons.end(), id) != m_buttons.end();
}

// Enter (the action key) takes the default button, Esc (back) cancels, the soft keys take
// the first and the last button, left and right move the default.
void MessageBoxWindow::OnKey(UINT key) {
    if (m_buttons.empty())
        return;
    switch (key) {
    case VK_RETURN:
        Finish(m_buttons[m_default]);
        break;
    case VK_ESCAPE:
        Finish(MessageBoxes::CancelResult(m_type));
        break;
    case VK_TSOFT1:
        Finish(m_buttons.front());
        break;
    case VK_TSOFT2:
        Finish(m_buttons.back());
        break;
    case VK_LEFT:
    case VK_RIGHT:
        m_default = key == VK_LEFT ? (m_default + m_buttons.size() - 1) % m_buttons.size()
                                   : (m_default + 1) % m_buttons.size();
        InvalidateRect(m_hwnd, nullptr, FALSE);
        break;
    default:
        break;
    }
}

// For the console's `ui`: the box as a "dialog" with its title, then its text and buttons
// (numbered by their results), in screen coordinates.
void MessageBoxWindow::Describe(IUiSink& sink) const {
    RECT window{};
    GetWindowRect(m_hwnd, &window);
    POINT origin{0, 0};
    ClientToScreen(m_hwnd, &origin);
    auto onScreen = [&origin](RECT rect) {
        OffsetRect(&rect, origin.x, origin.y);
        return rect;
    };
    sink.Item(0, UI_ITEM{0, "dialog", window, 0, m_title.c_str()});
    sink.Item(1, UI_ITEM{0, "text", onScreen(m_textRect), 0, m_text.c_str()});
    for (size_t i = 0; i < m_buttons.size() && i < m_buttonRects.size(); ++i) {
        DWORD state = (int(i) == m_pressed ? UIS_PRESSED : 0) | (i == m_default ? UIS_FOCUS : 0);
        sink.Item(1, UI_ITEM{m_buttons[i], "button", onScreen(m_buttonRects[i]), state, Label(m_buttons[i])});
    }
}

LRESULT MessageBoxWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DIALORA_DESCRIBE:
        Describe(*reinterpret_cast<IUiSink*>(lParam));
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        if (HDC dc = BeginPaint(m_hwnd, &paint)) {
            Paint(dc);
            EndPaint(m_hwnd, &paint);
        }
        return 0;
    }
    case WM_ERASEBKGND:
        return 1; // WM_PAINT covers every pixel
    case WM_LBUTTONDOWN:
        m_pressed = ButtonAt(POINT{SHORT(LOWORD(lParam)), SHORT(HIWORD(lParam))});
        SetCapture(m_hwnd);
        InvalidateRect(m_hwnd, nullptr, FALSE);
        return 0;
    case WM_LBUTTONUP: {
        int released = ButtonAt(POINT{SHORT(LOWORD(lParam)), SHORT(HIWORD(lParam))});
        ReleaseCapture();
        // A button counts when the stylus leaves the screen on the one it touched.
        if (released >= 0 && released == m_pressed)
            Finish(m_buttons[size_t(released)]);
        m_pressed = -1;
        InvalidateRect(m_hwnd, nullptr, FALSE);
        return 0;
    }
    case WM_KEYDOWN:
        OnKey(UINT(wParam));
        return 0;
    case WM_COMMAND:
        if (Has(int(LOWORD(wParam))))
            Finish(int(LOWORD(wParam)));
        return 0;
    case WM_CLOSE:
        Finish(MessageBoxes::CancelResult(m_type));
        return 0;
    default:
        return DefWindowProcW(m_hwnd, message, wParam, lParam);
    }
}

LRESULT CALLBACK MessageBoxWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* box = reinterpret_cast<MessageBoxWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!box || box->m_hwnd != hwnd)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    return box->Handle(message, wParam, lParam);
}

} // namespace platform
