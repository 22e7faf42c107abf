// Exported GDI object functions: stock objects, creation, selection, deletion, queries
// and regions.
#include "ce/kernel.h"
#include "ce/wingdi.h"
#include "gdi/BitmapObject.h"
#include "gdi/BrushObject.h"
#include "gdi/Dc.h"
#include "gdi/FontObject.h"
#include "gdi/Gdi.h"
#include "gdi/GdiObjectTable.h"
#include "gdi/PenObject.h"
#include "gdi/RegionObject.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <mutex>

using namespace platform;

namespace platform {

namespace {

constexpr int kStockCount = DEFAULT_GUI_FONT + 1;
std::array<HGDIOBJ, kStockCount> g_stock{};
HGDIOBJ g_stockBitmap = nullptr;
std::once_flag g_stockOnce;

HGDIOBJ InsertStock(std::shared_ptr<GdiObject> object) {
    object->MarkStock();
    return GdiObjectTable::Instance().Insert(std::move(object));
}

HGDIOBJ StockBrush(UINT style, COLORREF color) {
    return InsertStock(std::make_shared<BrushObject>(LOGBRUSH{style, color, 0}));
}

HGDIOBJ StockPen(UINT style, COLORREF color) {
    return InsertStock(std::make_shared<PenObject>(LOGPEN{style, POINT{1, 0}, color}));
}

// The system font: the device's 8-point sans serif at 96 dpi.
HGDIOBJ StockFont() {
    LOGFONTW font{};
    font.lfHeight = -12;
    font.lfWeight = FW_NORMAL;
    std::memcpy(font.lfFaceName, u"Tahoma", sizeof(u"Tahoma"));
    return InsertStock(std::make_shared<FontObject>(font, FontFace::Resolve(font)));
}

void CreateStockObjects() {
    g_stock[WHITE_BRUSH] = StockBrush(BS_SOLID, RGB(255, 255, 255));
    g_stock[LTGRAY_BRUSH] = StockBrush(BS_SOLID, RGB(192, 192, 192));
    g_stock[GRAY_BRUSH] = StockBrush(BS_SOLID, RGB(128, 128, 128));
    g_stock[DKGRAY_BRUSH] = StockBrush(BS_SOLID, RGB(64, 64, 64));
    g_stock[BLACK_BRUSH] = StockBrush(BS_SOLID, RGB(0, 0, 0));
    g_stock[NULL_BRUSH] = StockBrush(BS_NULL, 0);
    g_stock[WHITE_PEN] = StockPen(PS_SOLID, RGB(255, 255, 255));
    g_stock[BLACK_PEN] = StockPen(PS_SOLID, RGB(0, 0, 0));
    g_stock[NULL_PEN] = StockPen(PS_NULL, 0);
    g_stock[SYSTEM_FONT] = StockFont();
    g_stock[DEFAULT_GUI_FONT] = g_stock[SYSTEM_FONT];
    // The 1x1 monochrome bitmap every new memory DC starts with.
    auto surface = Surface::Create(1, 1, PixelLayout::Indexed1, true, {0x000000, 0xFFFFFF});
    g_stockBitmap = InsertStock(std::make_shared<BitmapObject>(surface));
}

} // namespace

HGDIOBJ StockObject(int index) {
    std::call_once(g_stockOnce, CreateStockObjects);
    if (index == -1)
        return g_stockBitmap;
    if (index < 0 || index >= kStockCount)
        return nullptr;
    return g_stock[size_t(index)];
}

void ShutdownGdi() { GdiObjectTable::Instance().Clear(); }

std::shared_ptr<Dc> DcForCall(HDC dc, bool drawable) {
    auto result = Dc::FromHandle(dc);
    if (!result || (drawable && !result->Target())) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return result;
}

std::shared_ptr<BrushObject> BrushForCall(HBRUSH brush) {
    // Window classes and FillRect take (HBRUSH)(COLOR_xxx + 1).
    // GDI handles are never that small (their generation sits above bit 31).
    auto value = reinterpret_cast<uintptr_t>(brush);
    uintptr_t plain = value & ~uintptr_t(SYS_COLOR_INDEX_FLAG);
    if (plain >= 1 && plain <= 32 && (value == plain || value == (plain | SYS_COLOR_INDEX_FLAG)))
        brush = GetSysColorBrush(int(plain - 1));
    return GdiObjectTable::Instance().LookupAs<BrushObject>(brush, GdiKind::Brush);
}

} // namespace platform

namespace {

template <typename T> T* HandleOf(HGDIOBJ object) { return reinterpret_cast<T*>(object); }

HGDIOBJ InsertObject(std::shared_ptr<GdiObject> object) {
    HGDIOBJ handle = GdiObjectTable::Instance().Insert(std::move(object));
    if (!handle)
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return handle;
}

// Puts `object` into the slot of its kind; bitmaps only into memory DCs and into one DC.
HGDIOBJ SelectInto(Dc& dc, HGDIOBJ handle, const std::shared_ptr<GdiObject>& object) {
    std::lock_guard lock(GdiObjectTable::Instance().SelectionMutex());
    DcState& state = dc.State();
    switch (object->Kind()) {
    case GdiKind::Pen:
        return dc.Select(state.pen, handle, object);
    case GdiKind::Brush:
        return dc.Select(state.brush, handle, object);
    case GdiKind::Font:
        return dc.Select(state.font, handle, object);
    case GdiKind::Bitmap:
        if (!dc.IsMemory())
            return nullptr;
        if (state.bitmap.object == object)
            return handle;
        if (!object->IsStock() && object->m_selectCount > 0)
            return nullptr;
        return dc.Select(state.bitmap, handle, object);
    default:
        return nullptr;
    }
}

} // namespace

CE_API HGDIOBJ GetStockObject(int index) {
    HGDIOBJ object = index == -1 ? nullptr : StockObject(index);
    if (!object)
        SetLastError(ERROR_INVALID_PARAMETER);
    return object;
}

CE_API BOOL DeleteObject(HGDIOBJ object) {
    auto& table = GdiObjectTable::Instance();
    std::lock_guard lock(table.SelectionMutex());
    auto found = table.Lookup(object);
    if (!found || found->Kind() == GdiKind::Dc || found->Kind() == GdiKind::MemoryDc) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (found->IsStock())
        return TRUE;
    // An object still selected into a device context stays: the DC would draw with it.
    if (found->m_selectCount > 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return table.Remove(object) ? TRUE : FALSE;
}

CE_API HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    auto context = DcForCall(dc, false);
    if (!context)
        return nullptr;
    auto found = GdiObjectTable::Instance().Lookup(object);
    if (!found) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (found->Kind() == GdiKind::Region)
        return reinterpret_cast<HGDIOBJ>(intptr_t(SelectClipRgn(dc, HandleOf<HRGN__>(object))));
    HGDIOBJ previous = SelectInto(*context, object, found);
    if (!previous)
        SetLastError(ERROR_INVALID_PARAMETER);
    return previous;
}

CE_API HGDIOBJ GetCurrentObject(HDC dc, UINT type) {
    auto context = DcForCall(dc, false);
    if (!context)
        return nullptr;
    std::lock_guard lock(GdiObjectTable::Instance().SelectionMutex());
    const DcState& state = context->State();
    switch (type) {
    case OBJ_PEN:
        return state.pen.handle;
    case OBJ_BRUSH:
        return state.brush.handle;
    case OBJ_FONT:
        return state.font.handle;
    case OBJ_BITMAP:
        return state.bitmap.handle;
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
}

CE_API DWORD GetObjectType(HGDIOBJ object) {
    auto found = GdiObjectTable::Instance().Lookup(object);
    if (!found) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return DWORD(found->Kind());
}

namespace {

int CopyOut(const void* data, int needed, int size, LPVOID buffer) {
    if (!buffer)
        return needed;
    if (size < needed) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(buffer, data, size_t(needed));
    return needed;
}

int GetBitmapObject(const BitmapObject& bitmap, int size, LPVOID buffer) {
    if (!buffer)
        return bitmap.m_isDib ? int(sizeof(DIBSECTION)) : int(sizeof(BITMAP));
    const Surface& surface = *bitmap.GetSurface();
    DIBSECTION section{};
    section.dsBm.bmWidth = surface.Width();
    section.dsBm.bmHeight = surface.Height();
    section.dsBm.bmWidthBytes = LONG(surface.Stride());
    section.dsBm.bmPlanes = 1;
    section.dsBm.bmBitsPixel = WORD(surface.BitsPerPixel());
    if (!bitmap.m_isDib)
        return CopyOut(&section.dsBm, sizeof(BITMAP), size, buffer);
    section.dsBm.bmBits = const_cast<uint8_t*>(surface.Bits());
    if (size < int(sizeof(DIBSECTION)))
        return CopyOut(&section.dsBm, sizeof(BITMAP), size, buffer);
    section.dsBmih = bitmap.m_header;
    std::memcpy(section.dsBitfields, bitmap.m_masks, sizeof(section.dsBitfields));
    return CopyOut(&section, sizeof(DIBSECTION), size, buffer);
}

} // namespace

CE_API int GetObjectW(HGDIOBJ object, int size, LPVOID buffer) {
    auto found = GdiObjectTable::Instance().Lookup(object);
    if (!found) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    switch (found->Kind()) {
    case GdiKind::Bitmap:
        return GetBitmapObject(static_cast<BitmapObject&>(*found), size, buffer);
    case GdiKind::Pen:
        return CopyOut(&static_cast<PenObject&>(*found).Log(), sizeof(LOGPEN), size, buffer);
    case GdiKind::Brush:
        return CopyOut(&static_cast<BrushObject&>(*found).Log(), sizeof(LOGBRUSH), size, buffer);
    case GdiKind::Font:
        return CopyOut(&static_cast<FontObject&>(*found).Log(), sizeof(LOGFONTW), size, buffer);
    default:
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
}

CE_API HBRUSH CreateSolidBrush(COLORREF color) {
    LOGBRUSH brush{BS_SOLID, color & 0xFFFFFF, 0};
    return HandleOf<HBRUSH__>(InsertObject(std::make_shared<BrushObject>(brush)));
}

CE_API HBRUSH CreateBrushIndirect(const LOGBRUSH* brush) {
    if (!brush || (brush->lbStyle != BS_SOLID && brush->lbStyle != BS_NULL)) {
        // FIXME: hatched and pattern brushes are not supported yet.
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    LOGBRUSH copy = *brush;
    copy.lbColor &= 0xFFFFFF;
    return HandleOf<HBRUSH__>(InsertObject(std::make_shared<BrushObject>(copy)));
}

CE_API HPEN CreatePen(int style, int width, COLORREF color) {
    LOGPEN pen{UINT(style), POINT{width, 0}, color & 0xFFFFFF};
    return CreatePenIndirect(&pen);
}

CE_API HPEN CreatePenIndirect(const LOGPEN* pen) {
    if (!pen) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    LOGPEN copy = *pen;
    copy.lopnStyle &= 0x0F;
    // Dash and dot patterns exist for one-pixel pens only; wider pens draw solid.
    if (copy.lopnStyle != PS_NULL && copy.lopnStyle != PS_DASH && copy.lopnStyle != PS_DOT)
        copy.lopnStyle = PS_SOLID;
    copy.lopnWidth.x = std::clamp<LONG>(copy.lopnWidth.x, 0, 255);
    copy.lopnWidth.y = 0;
    if (copy.lopnWidth.x > 1 && copy.lopnStyle != PS_NULL)
        copy.lopnStyle = PS_SOLID;
    return HandleOf<HPEN__>(InsertObject(std::make_shared<PenObject>(copy)));
}

CE_API HFONT CreateFontIndirectW(const LOGFONTW* font) {
    if (!font) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    FontFace* face = FontFace::Resolve(*font);
    if (!face) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    LOGFONTW copy = *font;
    copy.lfFaceName[LF_FACESIZE - 1] = 0;
    return HandleOf<HFONT__>(InsertObject(std::make_shared<FontObject>(copy, face)));
}

CE_API HRGN CreateRectRgn(int left, int top, int right, int bottom) {
    Region region(NormalizedRect(left, top, right, bottom));
    return HandleOf<HRGN__>(InsertObject(std::make_shared<RegionObject>(std::move(region))));
}

CE_API HRGN CreateRectRgnIndirect(const RECT* rect) {
    if (!rect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}

namespace {
std::shared_ptr<RegionObject> RegionOf(HRGN region) {
    return GdiObjectTable::Instance().LookupAs<RegionObject>(region, GdiKind::Region);
}
} // namespace

CE_API int CombineRgn(HRGN destination, HRGN source1, HRGN source2, int mode) {
    auto target = RegionOf(destination);
    auto first = RegionOf(source1);
    auto second = mode == RGN_COPY ? first : RegionOf(source2);
    if (!target || !first || !second || mode < RGN_AND || mode > RGN_COPY) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return ERROR;
    }
    Region result = first->m_region;
    if (mode == RGN_AND) {
        result.Intersect(second->m_region);
    } else if (mode == RGN_OR) {
        result.Unite(second->m_region);
    } else if (mode == RGN_DIFF) {
        result.Subtract(second->m_region);
    } else if (mode == RGN_XOR) {
        Region both = first->m_region;
        both.Intersect(second->m_region);
        result.Unite(second->m_region);
        result.Subtract(both);
    }
    target->m_region = std::move(result);
    return target->m_region.Complexity();
}

CE_API int GetRgnBox(HRGN region, LPRECT rect) {
    auto found = RegionOf(region);
    if (!found || !rect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return ERROR;
    }
    *rect = found->m_region.Bounds();
    return found->m_region.Complexity();
}

CE_API BOOL PtInRegion(HRGN region, int x, int y) {
    auto found = RegionOf(region);
    return found && found->m_region.Contains(x, y) ? TRUE : FALSE;
}

CE_API BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom) {
    auto found = RegionOf(region);
    if (!found) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    found->m_region = Region(NormalizedRect(left, top, right, bottom));
    return TRUE;
}
