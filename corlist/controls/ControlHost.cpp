#include "corlist/controls/ControlHost.h"

#include "corlist/controls/ScreenBuilder.h"

#include "ce/commctrl.h"
#include "ce/kernel.h"
#include "ce/uiview.h"

#include <mutex>

namespace corlist {

namespace {

std::mutex g_classLock;

ATOM RegisterHostClass(HINSTANCE instance) {
    WNDCLASSW windowClass{};
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = &ControlHost::WindowProcedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = ControlHost::kClassName;
    return RegisterClassW(&windowClass);
}

} // namespace

bool RegisterControlHostClass() {
    std::lock_guard lock(g_classLock);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW existing{};
    if (GetClassInfoW(instance, ControlHost::kClassName, &existing) && existing.lpfnWndProc == &ControlHost::WindowProcedure)
        return true;
    if (!RegisterHostClass(instance)) {
        // A class left behind by an earlier instance of the library is replaced.
        UnregisterClassW(ControlHost::kClassName, instance);
        if (!RegisterHostClass(instance))
            return false;
    }
    return true;
}

ControlHost::~ControlHost() {
    Destroy();
}

bool ControlHost::Create(Skin& skin, const char* descriptor, const ControlTableRow* table, HWND parent, DWORD style,
                         const RECT& rect) {
    if (!RegisterControlHostClass())
        return false;
    m_window = CreateWindowExW(0, kClassName, u"", style & ~WS_VISIBLE, rect.left, rect.top, rect.right - rect.left,
                               rect.bottom - rect.top, parent, nullptr, GetModuleHandleW(nullptr), this);
    if (!m_window)
        return false;
    SetWindowLongPtrW(m_window, GWL_USERDATA, reinterpret_cast<LONG_PTR>(this));
    OnSize();
    if (!BuildScreen(m_root, *this, nullptr, skin, descriptor, table, 0)) {
        Destroy();
        return false;
    }
    if (style & WS_VISIBLE)
        SetWindowPos(m_window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    return true;
}

void ControlHost::Destroy() {
    m_root.RemoveChildren();
    m_screen = nullptr;
    m_modal = nullptr;
    if (m_window) {
        SetWindowLongPtrW(m_window, GWL_USERDATA, 0);
        DestroyWindow(m_window);
        m_window = nullptr;
    }
    // The surface belongs to the window: a host made again (perhaps on another device) must
    // not paint into the old one's pixels.
    m_surface.Destroy();
    m_tracked = nullptr;
}

RECT ControlHost::ClientArea() const {
    RECT area{};
    if (m_window)
        GetClientRect(m_window, &area);
    return area;
}

void ControlHost::SetModal(Control* popup) {
    m_modal = popup;
    m_tracked = nullptr;
}

void ControlHost::InvalidateArea(const RECT& rect) {
    if (m_window)
        InvalidateRect(m_window, &rect, FALSE);
}

LRESULT CALLBACK ControlHost::WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* host = reinterpret_cast<ControlHost*>(GetWindowLongPtrW(hwnd, GWL_USERDATA));
    if (!host)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    return host->Handle(message, wParam, lParam);
}

LRESULT ControlHost::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_SIZE:
        OnSize();
        return 0;
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
        OnStylus(message, lParam);
        return 0;
    case WM_DIALORA_DESCRIBE:
        return DescribeScreen(*reinterpret_cast<IUiSink*>(lParam));
    case WM_COMMAND:
    case WM_DRAWITEM:
    case WM_NOTIFY:
        // The page that made the host hears its controls, as a dialog's parent would.
        if (HWND parent = GetParent(m_window))
            return SendMessageW(parent, message, wParam, lParam);
        return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_TIMER:
        if (Control* target = m_modal ? m_modal : m_screen)
            target->OnKey(message, wParam, lParam);
        return 0;
    default:
        return DefWindowProcW(m_window, message, wParam, lParam);
    }
}

// The screen, then the pop-up over it; 1 tells the console the window answered.
LRESULT ControlHost::DescribeScreen(IUiSink& sink) {
    POINT origin{0, 0};
    ClientToScreen(m_window, &origin);
    if (m_screen)
        m_screen->Describe(sink, 0, origin);
    if (m_modal)
        m_modal->Describe(sink, 0, origin);
    return 1;
}

// Paints the invalid part of the screen into the surface, and the surface onto the window.
void ControlHost::OnPaint() {
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(m_window, &paint);
    if (m_screen && !m_surface.IsEmpty()) {
        RECT clip = m_surface.Clipped(paint.rcPaint);
        if (!IsEmptyRect(clip)) {
            m_surface.SetClip(clip);
            m_screen->Paint(m_surface, clip);
            if (m_modal) {
                m_surface.SetClip(clip);
                m_modal->Paint(m_surface, clip);
            }
            m_surface.ResetClip();
            BitBlt(dc, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top, m_surface.Dc(), clip.left,
                   clip.top, SRCCOPY);
        }
    }
    EndPaint(m_window, &paint);
}

void ControlHost::OnStylus(UINT message, LPARAM lParam) {
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (message == WM_LBUTTONDOWN) {
        // A modal pop-up takes every tap, also one outside it (which closes a menu).
        if (m_modal) {
            m_tracked = m_modal->HitTest(point);
            if (!m_tracked)
                m_tracked = m_modal;
        } else {
            m_tracked = m_screen ? m_screen->HitTest(point) : nullptr;
        }
        if (m_tracked && m_tracked->OnStylus(StylusEvent::kDown, point.x, point.y) != Tracking::kNone)
            SetCapture(m_window);
        else
            m_tracked = nullptr;
        return;
    }
    if (!m_tracked)
        return;
    Control* tracked = m_tracked;
    if (message == WM_LBUTTONUP) {
        m_tracked = nullptr;
        ReleaseCapture();
    }
    // The command the release sends may rebuild the screen: nothing is touched after it.
    tracked->OnStylus(message == WM_LBUTTONUP ? StylusEvent::kUp : StylusEvent::kMove, point.x, point.y);
}

// The surface follows the window's size, and the screen is laid out again in it.
void ControlHost::OnSize() {
    RECT area = ClientArea();
    int width = area.right - area.left;
    int height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return;
    if (m_surface.Width() != width || m_surface.Height() != height)
        m_surface.Create(width, height);
    if (m_screen)
        m_screen->SetRect(&area);
}

} // namespace corlist
