// Exported device-context functions: creation, state, capabilities, origins and clipping.
#include "ce/kernel.h"
#include "ce/wingdi.h"
#include "device/Device.h"
#include "gdi/Dc.h"
#include "gdi/Gdi.h"
#include "gdi/GdiObjectTable.h"
#include "gdi/RegionObject.h"

#include <algorithm>
#include <cmath>
#include <utility>

using namespace platform;

namespace {

// Clip regions start from everything when a DC has none yet.
constexpr LONG kUnlimited = 1 << 30;

void ScreenSize(int& width, int& height) {
    width = 240;
    height = 320;
    if (Device* device = Device::Current()) {
        width = device->Options().screenWidth;
        height = device->Options().screenHeight;
    }
}

// 96 dpi on QVGA screens, 192 dpi from VGA (480 pixels on the short side) up.
int ScreenDpi() {
    int width, height;
    ScreenSize(width, height);
    return std::min(width, height) >= 480 ? 192 : 96;
}

int ClipComplexity(const Dc& dc) { return dc.Clip().Complexity(); }

// Makes sure the DC has a clip region to narrow down.
Region& UserClip(Dc& dc) {
    DcState& state = dc.State();
    if (!state.hasClip) {
        state.hasClip = true;
        state.clip = Region(RECT{-kUnlimited, -kUnlimited, kUnlimited, kUnlimited});
    }
    return state.clip;
}

} // namespace

namespace platform {

std::shared_ptr<Dc> MakeDc(bool memory) {
    auto context = std::make_shared<Dc>(memory);
    auto& table = GdiObjectTable::Instance();
    std::lock_guard lock(table.SelectionMutex());
    DcState& state = context->State();
    HGDIOBJ pen = StockObject(BLACK_PEN), brush = StockObject(WHITE_BRUSH), font = StockObject(SYSTEM_FONT);
    context->Select(state.pen, pen, table.Lookup(pen));
    context->Select(state.brush, brush, table.Lookup(brush));
    context->Select(state.font, font, table.Lookup(font));
    if (memory) {
        HGDIOBJ bitmap = StockObject(-1);
        context->Select(state.bitmap, bitmap, table.Lookup(bitmap));
    }
    return context;
}

HDC CreateSurfaceDc(std::shared_ptr<Surface> surface, const Region& visible, POINT origin) {
    auto context = MakeDc(false);
    context->AttachSurface(std::move(surface), visible, origin);
    return reinterpret_cast<HDC>(GdiObjectTable::Instance().Insert(std::move(context)));
}

} // namespace platform

CE_API HDC CreateCompatibleDC(HDC dc) {
    if (dc && !Dc::FromHandle(dc)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    HGDIOBJ handle = GdiObjectTable::Instance().Insert(MakeDc(true));
    return reinterpret_cast<HDC>(handle);
}

CE_API BOOL DeleteDC(HDC dc) {
    if (!Dc::FromHandle(dc) || !GdiObjectTable::Instance().Remove(dc)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}

CE_API int SaveDC(HDC dc) {
    auto context = DcForCall(dc, false);
    return context ? context->Save() : 0;
}

CE_API BOOL RestoreDC(HDC dc, int savedDc) {
    auto context = DcForCall(dc, false);
    if (!context || !context->Restore(savedDc)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return TRUE;
}

// Every DC reports the screen: a 16-bit display of DeviceOptions' size.
CE_API int GetDeviceCaps(HDC dc, int index) {
    if (dc && !Dc::FromHandle(dc)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    int width, height;
    ScreenSize(width, height);
    int dpi = ScreenDpi();
    switch (index) {
    case TECHNOLOGY:
        return DT_RASDISPLAY;
    case HORZRES:
        return width;
    case VERTRES:
        return height;
    case HORZSIZE:
        return int(std::lround(width * 25.4 / dpi));
    case VERTSIZE:
        return int(std::lround(height * 25.4 / dpi));
    case BITSPIXEL:
        return 16;
    case PLANES:
        return 1;
    case NUMCOLORS:
        return -1;
    case NUMBRUSHES:
    case NUMPENS:
        return -1;
    case NUMFONTS:
        return 0;
    case RASTERCAPS:
        return RC_BITBLT | RC_BITMAP64 | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT;
    case ASPECTX:
    case ASPECTY:
        return 36;
    case ASPECTXY:
        return 51;
    case LOGPIXELSX:
    case LOGPIXELSY:
        return dpi;
    case SIZEPALETTE:
        return 0;
    default:
        return 0;
    }
}

CE_API COLORREF SetTextColor(HDC dc, COLORREF color) {
    auto context = DcForCall(dc, false);
    if (!context)
        return CLR_INVALID;
    return std::exchange(context->State().textColor, color & 0xFFFFFF);
}

CE_API COLORREF GetTextColor(HDC dc) {
    auto context = DcForCall(dc, false);
    return context ? context->State().textColor : CLR_INVALID;
}

CE_API COLORREF SetBkColor(HDC dc, COLORREF color) {
    auto context = DcForCall(dc, false);
    if (!context)
        return CLR_INVALID;
    return std::exchange(context->State().bkColor, color & 0xFFFFFF);
}

CE_API COLORREF GetBkColor(HDC dc) {
    auto context = DcForCall(dc, false);
    return context ? context->State().bkColor : CLR_INVALID;
}

CE_API int SetBkMode(HDC dc, int mode) {
    auto context = DcForCall(dc, false);
    if (!context)
        return 0;
    if (mode != TRANSPARENT && mode != OPAQUE) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return std::exchange(context->State().bkMode, mode);
}

CE_API int GetBkMode(HDC dc) {
    auto context = DcForCall(dc, false);
    return context ? context->State().bkMode : 0;
}

CE_API UINT SetTextAlign(HDC dc, UINT align) {
    auto context = DcForCall(dc, false);
    if (!context)
        return GDI_ERROR;
    return std::exchange(context->State().textAlign, align & (TA_UPDATECP | TA_CENTER | TA_BASELINE));
}

CE_API UINT GetTextAlign(HDC dc) {
    auto context = DcForCall(dc, false);
    return context ? context->State().textAlign : GDI_ERROR;
}

namespace {
BOOL SetOrigin(HDC dc, POINT DcState::*member, int x, int y, LPPOINT previous) {
    auto context = DcForCall(dc, false);
    if (!context)
        return FALSE;
    POINT& origin = context->State().*member;
    if (previous)
        *previous = origin;
    origin = POINT{x, y};
    return TRUE;
}

BOOL GetOrigin(HDC dc, POINT DcState::*member, LPPOINT origin) {
    auto context = DcForCall(dc, false);
    if (!context || !origin)
        return FALSE;
    *origin = context->State().*member;
    return TRUE;
}
} // namespace

CE_API BOOL SetViewportOrgEx(HDC dc, int x, int y, LPPOINT previous) {
    return SetOrigin(dc, &DcState::viewportOrg, x, y, previous);
}
CE_API BOOL GetViewportOrgEx(HDC dc, LPPOINT origin) {
    return GetOrigin(dc, &DcState::viewportOrg, origin);
}
CE_API BOOL SetWindowOrgEx(HDC dc, int x, int y, LPPOINT previous) {
    return SetOrigin(dc, &DcState::windowOrg, x, y, previous);
}
CE_API BOOL GetWindowOrgEx(HDC dc, LPPOINT origin) {
    return GetOrigin(dc, &DcState::windowOrg, origin);
}

CE_API int IntersectClipRect(HDC dc, int left, int top, int right, int bottom) {
    auto context = DcForCall(dc, false);
    if (!context)
        return ERROR;
    UserClip(*context).Intersect(context->ToDevice(RECT{left, top, right, bottom}));
    return ClipComplexity(*context);
}

CE_API int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom) {
    auto context = DcForCall(dc, false);
    if (!context)
        return ERROR;
    UserClip(*context).Subtract(context->ToDevice(RECT{left, top, right, bottom}));
    return ClipComplexity(*context);
}

// The region is in device units relative to the DC's origin; null removes the clip.
CE_API int SelectClipRgn(HDC dc, HRGN region) {
    auto context = DcForCall(dc, false);
    if (!context)
        return ERROR;
    DcState& state = context->State();
    if (!region) {
        state.hasClip = false;
        state.clip = Region();
        return ClipComplexity(*context);
    }
    auto found = GdiObjectTable::Instance().LookupAs<RegionObject>(region, GdiKind::Region);
    if (!found) {
        SetLastError(ERROR_INVALID_HANDLE);
        return ERROR;
    }
    state.hasClip = true;
    state.clip = found->m_region;
    return ClipComplexity(*context);
}

CE_API int GetClipBox(HDC dc, LPRECT rect) {
    auto context = DcForCall(dc, false);
    if (!context || !rect)
        return ERROR;
    Region clip = context->Clip();
    if (clip.IsEmpty()) {
        *rect = RECT{0, 0, 0, 0};
        return NULLREGION;
    }
    RECT bounds = clip.Bounds();
    POINT topLeft = context->SurfaceToLogical(POINT{bounds.left, bounds.top});
    POINT bottomRight = context->SurfaceToLogical(POINT{bounds.right, bounds.bottom});
    *rect = RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
    return clip.Complexity();
}
