// Exported system functions of the window manager: metrics, beeps and cursors. Beeps and
// cursors are recorded, not played or drawn: the console reads them back.
#include "ce/kernel.h"
#include "ce/user.h"
#include "user/UserPrivate.h"

using namespace platform;

namespace {

// Panels of 480 pixels and more run at double density; metrics scale with them.
int Scale() { return std::min(Wm().ScreenWidth(), Wm().ScreenHeight()) >= 480 ? 2 : 1; }

int Metric(int index) {
    int scale = Scale();
    switch (index) {
    case SM_CXSCREEN:
    case SM_CXFULLSCREEN:
    case SM_CXVIRTUALSCREEN:
        return Wm().ScreenWidth();
    case SM_CYSCREEN:
    case SM_CYVIRTUALSCREEN:
        return Wm().ScreenHeight();
    case SM_CYFULLSCREEN:
        return Wm().ScreenHeight() - 26 * scale;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB:
        return 13 * scale;
    case SM_CYCAPTION:
    case SM_CYMENU:
        return 26 * scale;
    case SM_CXBORDER:
    case SM_CYBORDER:
        // Programs take the border width as the screen's density factor.
        return scale;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
    case SM_CXEDGE:
    case SM_CYEDGE:
        return 2 * scale;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR:
        return 32 * scale;
    case SM_CXSMICON:
    case SM_CYSMICON:
        return 16 * scale;
    case SM_CXICONSPACING:
    case SM_CYICONSPACING:
        return 64 * scale;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
        return 4 * scale;
    case SM_MOUSEPRESENT:
    case SM_CMONITORS:
        return 1;
    case SM_DEBUG:
    case SM_XVIRTUALSCREEN:
    case SM_YVIRTUALSCREEN:
        return 0;
    default:
        return 0;
    }
}

// Cursors of the system are fixed handles made from their resource number.
HCURSOR SystemCursor(ULONG_PTR id) { return reinterpret_cast<HCURSOR>(0x10000 + id); }

} // namespace

CE_API int GetSystemMetrics(int index) {
    auto lock = LockUser();
    return Metric(index);
}

CE_API BOOL MessageBeep(UINT type) {
    auto lock = LockUser();
    Wm().RecordBeepLocked(type);
    return TRUE;
}

CE_API HCURSOR LoadCursorW(HINSTANCE instance, LPCWSTR cursorName) {
    auto id = reinterpret_cast<ULONG_PTR>(cursorName);
    // FIXME: cursors from a module's resources need the resource loader.
    if (instance || !IS_INTRESOURCE(cursorName)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    static constexpr ULONG_PTR kKnown[] = {32512, 32513, 32514, 32515, 32516, 32648, 32649, 32650};
    for (ULONG_PTR known : kKnown)
        if (known == id)
            return SystemCursor(id);
    SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
}

CE_API HCURSOR SetCursor(HCURSOR cursor) {
    auto lock = LockUser();
    HCURSOR old = Wm().m_cursor;
    Wm().m_cursor = cursor;
    return old;
}

CE_API HCURSOR GetCursor() {
    auto lock = LockUser();
    return Wm().m_cursor;
}
