// One window: its class, procedure, styles, place in the tree and in the z-order, its
// text and data, the thread whose queue receives its messages and its update area.
// Every field is guarded by the WaitHub lock; window procedures are called with copies.
#pragma once

#include "ce/user.h"

#include <memory>
#include <string>
#include <vector>

namespace platform {

class MessageQueue;
class Surface;
class WindowClass;

class WindowObject {
public:
    HWND m_handle = nullptr;
    std::shared_ptr<WindowClass> m_class;
    WNDPROC m_proc = nullptr;
    DWORD m_style = 0;
    DWORD m_exStyle = 0;
    // Back-links by handle; the table owns every window.
    HWND m_parent = nullptr;
    HWND m_owner = nullptr;
    // Child windows, topmost first.
    std::vector<HWND> m_children;
    // Relative to the parent's client area; screen coordinates for a top-level window.
    // Windows have no non-client area: the client area is the whole window.
    RECT m_rect{};
    std::u16string m_text;
    LONG_PTR m_userData = 0;
    LONG_PTR m_id = 0;
    HINSTANCE m_instance = nullptr;
    std::vector<BYTE> m_extra; // cbWndExtra bytes
    std::shared_ptr<MessageQueue> m_queue;
    DWORD m_threadId = 0;
    DWORD m_processId = 0;
    // The pop-up owned by this window that was active last (SetForegroundWindow(h | 1)).
    HWND m_lastActivePopup = nullptr;
    // Bounding rectangle of the invalid area, in client coordinates.
    RECT m_update{};
    bool m_needsPaint = false;
    bool m_needsErase = false;
    // Backing store of a top-level window (RGB565, the window's size), made when the
    // window first paints; children paint into their top-level's. The compositor and DCs
    // share it, so a DC outliving a resize draws on the old store harmlessly.
    std::shared_ptr<Surface> m_surface;
    // Set once DestroyWindow began, so a nested call does not destroy it twice.
    bool m_destroying = false;

    bool IsChild() const { return (m_style & WS_CHILD) != 0; }
    bool IsTopmost() const { return (m_exStyle & WS_EX_TOPMOST) != 0; }
    LONG Width() const { return m_rect.right - m_rect.left; }
    LONG Height() const { return m_rect.bottom - m_rect.top; }
};

} // namespace platform
