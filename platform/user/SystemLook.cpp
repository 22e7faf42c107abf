#include "user/SystemLook.h"

#include "kernel/ProcessTable.h"
#include "user/UserPrivate.h"

#include <algorithm>
#include <string>

namespace platform {

int SystemLook::Scale() {
    return std::min(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)) >= 480 ? 2 : 1;
}

HFONT SystemLook::MakeFont(int height, int weight) {
    LOGFONTW font{};
    font.lfHeight = -height;
    font.lfWeight = weight;
    font.lfQuality = ANTIALIASED_QUALITY;
    std::u16string face = u"Tahoma";
    std::copy(face.begin(), face.end(), font.lfFaceName);
    return CreateFontIndirectW(&font);
}

void SystemLook::Fill(HDC dc, const RECT& rect, COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

void SystemLook::Frame(HDC dc, const RECT& rect) {
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
}

bool SystemLook::RegisterSystemClass(const char16_t* name, WNDPROC procedure, int extraBytes) {
    auto systemId = ProcessTable::Instance().SystemProcess()->Id();
    auto lock = LockUser();
    if (Wm().m_classes.Find(name, systemId))
        return true;
    WNDCLASSW info{};
    info.lpfnWndProc = procedure;
    info.lpszClassName = name;
    info.cbWndExtra = extraBytes;
    info.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    return Wm().m_classes.Register(info, systemId) != nullptr;
}

} // namespace platform
