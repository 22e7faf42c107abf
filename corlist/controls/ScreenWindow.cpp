#include "corlist/controls/ScreenWindow.h"

#include "ce/commctrl.h"
#include "ce/uiview.h"

namespace corlist {

RECT ScreenWindow::ClientArea() const {
    RECT area{};
    if (m_window)
        GetClientRect(m_window, &area);
    return area;
}

void ScreenWindow::SetModal(Control* popup) {
    m_modal = popup;
    m_tracked = nullptr;
}

void ScreenWindow::InvalidateArea(const RECT& rect) {
    if (m_window)
        InvalidateRect(m_window, &rect, FALSE);
}

bool ScreenWindow::HandleScreenMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    result = 0;
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return true;
    case WM_SIZE:
        OnSize();
        return true;
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
        OnStylus(message, lParam);
        return true;
    case WM_DIALORA_DESCRIBE:
        result = DescribeScreen(*reinterpret_cast<IUiSink*>(lParam));
        return true;
    default:
        return false;
    }
}

void ScreenWindow::ForwardKey(UINT message, WPARAM wParam, LPARAM lParam) {
    if (Control* target = m_modal ? m_modal : m_screen)
        target->OnKey(message, wParam, lParam);
}

void ScreenWindow::ReleaseScreen() {
    m_root.RemoveChildren();
    m_screen = nullptr;
    m_modal = nullptr;
    m_tracked = nullptr;
    // The surface belongs to the window: a window made again (perhaps on another device)
    // must not paint into the old one's pixels.
    m_surface.Destroy();
}

// The screen, then the pop-up over it; 1 tells the console the window answered.
LRESULT ScreenWindow::DescribeScreen(IUiSink& sink) {
    POINT origin{0, 0};
    ClientToScreen(m_window, &origin);
    if (m_screen)
        m_screen->Describe(sink, 0, origin);
    if (m_modal)
        m_modal->Describe(sink, 0, origin);
    return 1;
}

// Paints the invalid part of the screen into the surface, and the surface onto the window.
void ScreenWindow::OnPaint() {
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

void ScreenWindow::OnStylus(UINT message, LPARAM lParam) {
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
void ScreenWindow::OnSize() {
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
