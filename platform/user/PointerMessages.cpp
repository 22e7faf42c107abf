#include "user/PointerMessages.h"

namespace platform {

namespace {
// Pointer-carrying messages the device header has no use for elsewhere.
constexpr UINT kGetMinMaxInfo = 0x0024;
constexpr UINT kCompareItem = 0x0039;
constexpr UINT kCopyData = 0x004A;
constexpr UINT kStyleChanging = 0x007C;
constexpr UINT kNcCalcSize = 0x0083;
} // namespace

bool CarriesPointer(UINT message, LPARAM lParam) {
    if (lParam == 0)
        return false;
    switch (message) {
    case WM_CREATE:
    case WM_NCCREATE:
    case WM_SETTEXT:
    case WM_GETTEXT:
    case WM_SETTINGCHANGE:
    case kGetMinMaxInfo:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case kCompareItem:
    case WM_WINDOWPOSCHANGING:
    case WM_WINDOWPOSCHANGED:
    case kCopyData:
    case WM_NOTIFY:
    case WM_HELP:
    case kStyleChanging:
    case WM_STYLECHANGED:
    case kNcCalcSize:
    case WM_GETDLGCODE:
        return true;
    default:
        return false;
    }
}

} // namespace platform
