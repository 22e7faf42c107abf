// A DIB section of a chosen format selected into a memory DC, for GDI tests that check
// the very bytes drawing writes.
#pragma once

#include "ce/wingdi.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace gditest {

struct DibInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colors[256];
};

inline DibInfo MakeDibInfo(int width, int height, int bits, DWORD compression = BI_RGB) {
    DibInfo info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width;
    info.header.biHeight = height;
    info.header.biPlanes = 1;
    info.header.biBitCount = WORD(bits);
    info.header.biCompression = compression;
    if (compression == BI_BITFIELDS) {
        DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
        std::memcpy(info.colors, masks, sizeof(masks));
    }
    return info;
}

class Canvas {
public:
    // `height` negative: top-down. 16 bits means RGB565 (BI_BITFIELDS).
    Canvas(int width, int height, int bits) : m_width(width), m_height(height < 0 ? -height : height), m_bits(bits) {
        DibInfo info = MakeDibInfo(width, height, bits, bits == 16 ? BI_BITFIELDS : BI_RGB);
        bitmap = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &pixels, nullptr, 0);
        dc = CreateCompatibleDC(nullptr);
        m_old = SelectObject(dc, bitmap);
        m_topDown = height < 0;
    }
    ~Canvas() {
        SelectObject(dc, m_old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }

    size_t Stride() const { return ((size_t(m_width) * m_bits + 31) / 32) * 4; }
    const uint8_t* Row(int y) const {
        int memoryRow = m_topDown ? y : m_height - 1 - y;
        return static_cast<const uint8_t*>(pixels) + Stride() * size_t(memoryRow);
    }
    // The raw pixel as stored in the DIB's memory.
    uint32_t Raw(int x, int y) const {
        const uint8_t* p = Row(y) + size_t(x) * size_t(m_bits / 8);
        if (m_bits == 16)
            return uint32_t(p[0]) | (uint32_t(p[1]) << 8);
        if (m_bits == 24)
            return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16);
        return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
    }
    COLORREF Pixel(int x, int y) const { return GetPixel(dc, x, y); }
    void Clear(COLORREF color) {
        HBRUSH brush = CreateSolidBrush(color);
        RECT all{0, 0, m_width, m_height};
        FillRect(dc, &all, brush);
        DeleteObject(brush);
    }
    // Number of pixels that differ from `color`.
    int CountNot(COLORREF color) const {
        int count = 0;
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x)
                count += Pixel(x, y) != color;
        return count;
    }

    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    void* pixels = nullptr;

private:
    int m_width;
    int m_height;
    int m_bits;
    bool m_topDown = true;
    HGDIOBJ m_old = nullptr;
};

} // namespace gditest
