// The system colours of the device's default (Windows Mobile 6 style) scheme and their
// brushes. The colour table is fixed: the scheme is not themable yet.
#include "ce/kernel.h"
#include "ce/wingdi.h"
#include "gdi/BrushObject.h"
#include "gdi/Gdi.h"
#include "gdi/GdiObjectTable.h"

#include <array>
#include <mutex>

using namespace platform;

namespace {

constexpr int kColorCount = 29;

// Blue title and highlight, white windows, light grey buttons and menus.
constexpr std::array<COLORREF, kColorCount> kScheme = {
    RGB(198, 211, 231), // COLOR_SCROLLBAR
    RGB(255, 255, 255), // COLOR_BACKGROUND
    RGB(16, 72, 156),   // COLOR_ACTIVECAPTION
    RGB(128, 128, 128), // COLOR_INACTIVECAPTION
    RGB(255, 255, 255), // COLOR_MENU
    RGB(255, 255, 255), // COLOR_WINDOW
    RGB(0, 0, 0),       // COLOR_WINDOWFRAME
    RGB(0, 0, 0),       // COLOR_MENUTEXT
    RGB(0, 0, 0),       // COLOR_WINDOWTEXT
    RGB(255, 255, 255), // COLOR_CAPTIONTEXT
    RGB(192, 192, 192), // COLOR_ACTIVEBORDER
    RGB(192, 192, 192), // COLOR_INACTIVEBORDER
    RGB(128, 128, 128), // COLOR_APPWORKSPACE
    RGB(49, 105, 198),  // COLOR_HIGHLIGHT
    RGB(255, 255, 255), // COLOR_HIGHLIGHTTEXT
    RGB(222, 227, 239), // COLOR_BTNFACE
    RGB(132, 150, 181), // COLOR_BTNSHADOW
    RGB(128, 128, 128), // COLOR_GRAYTEXT
    RGB(0, 0, 0),       // COLOR_BTNTEXT
    RGB(192, 192, 192), // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255), // COLOR_BTNHIGHLIGHT
    RGB(0, 0, 0),       // COLOR_3DDKSHADOW
    RGB(239, 243, 247), // COLOR_3DLIGHT
    RGB(0, 0, 0),       // COLOR_INFOTEXT
    RGB(255, 255, 225), // COLOR_INFOBK
    RGB(222, 227, 239), // COLOR_STATIC
    RGB(0, 0, 0),       // COLOR_STATICTEXT
    RGB(74, 125, 206),  // COLOR_GRADIENTACTIVECAPTION
    RGB(192, 192, 192), // COLOR_GRADIENTINACTIVECAPTION
};

std::array<HGDIOBJ, kColorCount> g_brushes{};
std::once_flag g_brushesOnce;

// Accepts the device's flagged indexes and plain ones.
int IndexOf(int index) { return index & ~SYS_COLOR_INDEX_FLAG; }

void CreateBrushes() {
    for (int i = 0; i < kColorCount; ++i) {
        auto brush = std::make_shared<BrushObject>(LOGBRUSH{BS_SOLID, kScheme[size_t(i)], 0});
        brush->MarkStock();
        g_brushes[size_t(i)] = GdiObjectTable::Instance().Insert(brush);
    }
}

} // namespace

CE_API DWORD GetSysColor(int index) {
    int plain = IndexOf(index);
    if (plain < 0 || plain >= kColorCount)
        return 0;
    return kScheme[size_t(plain)];
}

CE_API HBRUSH GetSysColorBrush(int index) {
    int plain = IndexOf(index);
    if (plain < 0 || plain >= kColorCount) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::call_once(g_brushesOnce, CreateBrushes);
    return reinterpret_cast<HBRUSH>(g_brushes[size_t(plain)]);
}
