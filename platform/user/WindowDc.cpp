// Exported window DCs and painting: GetDC/GetWindowDC/ReleaseDC and BeginPaint/EndPaint.
// A window DC draws on its top-level window's backing surface inside the window's visible
// region (see WindowSurfaces); BeginPaint narrows it to the update area, which it
// validates before sending WM_ERASEBKGND, as on the device.
#include "ce/kernel.h"
#include "ce/user.h"
#include "ce/wingdi.h"
#include "display/Display.h"
#include "gdi/Dc.h"
#include "gdi/Gdi.h"
#include "user/UserPrivate.h"
#include "user/WindowSurfaces.h"

#include <cstring>

using namespace platform;

namespace {

// The target of a DC on `hwnd`, clipped to `area` (client coordinates) when given.
bool TargetFor(HWND hwnd, const RECT* area, DcTarget& target) {
    auto lock = LockUser();
    WindowObject* window = Wm().m_windows.Find(hwnd);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    target = WindowSurfaces::TargetLocked(*window);
    if (area) {
        RECT onSurface{area->left + target.origin.x, area->top + target.origin.y,
                       area->right + target.origin.x, area->bottom + target.origin.y};
        target.visible.Intersect(onSurface);
    }
    return true;
}

HDC MakeWindowDc(HWND hwnd, const RECT* area) {
    DcTarget target;
    if (!TargetFor(hwnd, area, target))
        return nullptr;
    // The GDI's table lock is taken here, after the WaitHub lock was let go.
    return CreateSurfaceDc(std::move(target.surface), target.visible, target.origin);
}

HDC MakeScreenDc() {
    std::shared_ptr<Surface> screen = Display::Instance().LatestScreen();
    if (!screen) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    Region all(RECT{0, 0, screen->Width(), screen->Height()});
    return CreateSurfaceDc(std::move(screen), all, POINT{0, 0});
}

// Takes the update area of `hwnd` and validates it; false for a stale handle.
bool TakeUpdate(HWND hwnd, RECT& area, bool& erase) {
    auto lock = LockUser();
    WindowObject* window = Wm().m_windows.Find(hwnd);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    area = window->m_needsPaint ? window->m_update : RECT{};
    erase = window->m_needsPaint && window->m_needsErase;
    ValidateLocked(*window, nullptr);
    return true;
}

} // namespace

CE_API HDC GetDC(HWND hwnd) { return hwnd ? MakeWindowDc(hwnd, nullptr) : MakeScreenDc(); }

CE_API HDC GetWindowDC(HWND hwnd) { return GetDC(hwnd); }

CE_API int ReleaseDC(HWND, HDC dc) {
    auto context = Dc::FromHandle(dc);
    // Memory DCs belong to DeleteDC.
    if (!context || context->IsMemory())
        return 0;
    return DeleteDC(dc) ? 1 : 0;
}

CE_API HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT paint) {
    if (!paint) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    RECT area;
    bool erase;
    if (!TakeUpdate(hwnd, area, erase))
        return nullptr;
    HDC dc = MakeWindowDc(hwnd, &area);
    if (!dc)
        return nullptr;
    std::memset(paint, 0, sizeof *paint);
    paint->hdc = dc;
    paint->rcPaint = area;
    // WM_ERASEBKGND returning zero leaves the erasing to the window's WM_PAINT.
    paint->fErase = erase && SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) == 0;
    return dc;
}

CE_API BOOL EndPaint(HWND, const PAINTSTRUCT* paint) {
    if (!paint || !paint->hdc)
        return FALSE;
    return ReleaseDC(nullptr, paint->hdc) ? TRUE : FALSE;
}
