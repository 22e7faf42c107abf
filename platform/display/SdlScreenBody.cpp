// The phone body of the phone window, drawn once per screen size with the platform's own
// GDI into an RGB565 bitmap and kept as a texture.
#include "display/SdlScreen.h"

#include "ce/user.h"
#include "ce/wingdi.h"

#include <algorithm>
#include <iterator>

namespace platform {

namespace {

constexpr COLORREF kBodyColour = RGB(34, 36, 42);
constexpr COLORREF kBezelColour = RGB(12, 12, 14);
constexpr COLORREF kEarpieceColour = RGB(74, 76, 86);

// Fills a rounded rectangle without an outline.
void Rounded(HDC dc, const RECT& rect, COLORREF colour, int radius) {
    HBRUSH brush = CreateSolidBrush(colour);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    RoundRect(dc, rect.left, rect.top, rect.right + 1, rect.bottom + 1, radius, radius);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(brush);
}

HFONT LabelFont(int scale) {
    LOGFONTW font{};
    font.lfHeight = -12 * scale;
    font.lfWeight = FW_BOLD;
    font.lfQuality = ANTIALIASED_QUALITY;
    const char16_t face[] = u"DejaVu Sans";
    std::copy(std::begin(face), std::end(face), font.lfFaceName);
    return CreateFontIndirectW(&font);
}

void PaintKeys(HDC dc, const PhoneBody& body, int scale) {
    HFONT font = LabelFont(scale);
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(240, 242, 246));
    for (const BodyKey& key : body.Keys()) {
        Rounded(dc, key.rect, key.colour, 10 * scale);
        RECT label = key.rect;
        DrawTextW(dc, key.label, -1, &label, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    SelectObject(dc, oldFont);
    DeleteObject(font);
}

} // namespace

bool SdlScreen::PaintBody() {
    if (m_bodyTexture) {
        SDL_DestroyTexture(m_bodyTexture);
        m_bodyTexture = nullptr;
    }
    int width = m_body->WindowWidth();
    int height = m_body->WindowHeight();
    struct {
        BITMAPINFOHEADER header;
        DWORD masks[3];
    } info{};
    info.header = {sizeof(BITMAPINFOHEADER), width, -height, 1, 16, BI_BITFIELDS, 0, 0, 0, 0, 0};
    info.masks[0] = 0xF800;
    info.masks[1] = 0x07E0;
    info.masks[2] = 0x001F;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = dc ? CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0)
                        : nullptr;
    bool painted = false;
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(dc, bitmap);
        int scale = m_options.scale;
        RECT all{0, 0, width, height};
        Rounded(dc, all, kBodyColour, 36 * scale);
        RECT glass = m_body->Screen();
        RECT bezel{glass.left - 4 * scale, glass.top - 4 * scale, glass.right + 4 * scale, glass.bottom + 4 * scale};
        Rounded(dc, bezel, kBezelColour, 8 * scale);
        RECT earpiece{width / 2 - 30 * scale, 14 * scale, width / 2 + 30 * scale, 20 * scale};
        Rounded(dc, earpiece, kEarpieceColour, 6 * scale);
        PaintKeys(dc, *m_body, scale);
        m_bodyTexture = SDL_CreateTexture(m_renderer, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STATIC, width, height);
        int stride = ((width * 2) + 3) & ~3;
        painted = m_bodyTexture && SDL_UpdateTexture(m_bodyTexture, nullptr, bits, stride) == 0;
        SelectObject(dc, old);
    }
    if (bitmap)
        DeleteObject(bitmap);
    if (dc)
        DeleteDC(dc);
    return painted;
}

} // namespace platform
