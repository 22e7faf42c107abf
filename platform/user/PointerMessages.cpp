#include "user/PointerMessages.h"

namespace platform {

bool CarriesPointer(UINT message, LPARAM lParam) {
    if (lParam == 0)
        return false;
    switch (message) {
    case WM_CREATE:
    case WM_NCCREATE:
    case WM_SETTEXT:
    case WM_GETTEXT:
    case WM_SETTINGCHANGE:
    case WM_GETMINMAXINFO:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
    case WM_WINDOWPOSCHANGING:
    case WM_WINDOWPOSCHANGED:
    case WM_COPYDATA:
    case WM_NOTIFY:
    case WM_HELP:
    case WM_STYLECHANGING:
    case WM_STYLECHANGED:
    case WM_NCCALCSIZE:
    case WM_GETDLGCODE:
        return true;
    // WM_DBNOTIFICATION is not here: its structure is allocated by the database for the
    // receiver, who frees it, so nothing of the sender's is followed after the post.
    default:
        return false;
    }
}

} // namespace platform
