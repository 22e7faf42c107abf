// The pixel formats as tiny value types with inline accessors, and the dispatch from a
// surface's layout to its format. Every raster loop is written once against this
// interface and instantiated per format:
//   Load/Store move a raw pixel value (an index for indexed layouts),
//   ToRgb/FromRgb convert between a raw value and 0x00RRGGBB.
#pragma once

#include "ce/types.h"
#include "gdi/Surface.h"

#include <cstring>

namespace platform {

inline uint32_t RgbFromColorRef(COLORREF color) {
    return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}
inline COLORREF ColorRefFromRgb(uint32_t rgb) {
    return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
}

struct Format565 {
    static constexpr uint32_t kMask = 0xFFFF;
    uint32_t Mask() const { return kMask; }
    uint32_t Load(const uint8_t* row, int x) const {
        uint16_t v;
        std::memcpy(&v, row + 2 * x, 2);
        return v;
    }
    void Store(uint8_t* row, int x, uint32_t raw) const {
        uint16_t v = uint16_t(raw);
        std::memcpy(row + 2 * x, &v, 2);
    }
    uint32_t ToRgb(uint32_t raw) const {
        uint32_t r = (raw >> 11) & 31, g = (raw >> 5) & 63, b = raw & 31;
        return (((r << 3) | (r >> 2)) << 16) | (((g << 2) | (g >> 4)) << 8) | ((b << 3) | (b >> 2));
    }
    uint32_t FromRgb(uint32_t rgb) const {
        return ((rgb >> 8) & 0xF800) | ((rgb >> 5) & 0x07E0) | ((rgb >> 3) & 0x1F);
    }
};

struct Format555 {
    static constexpr uint32_t kMask = 0x7FFF;
    uint32_t Mask() const { return kMask; }
    uint32_t Load(const uint8_t* row, int x) const {
        uint16_t v;
        std::memcpy(&v, row + 2 * x, 2);
        return v;
    }
    void Store(uint8_t* row, int x, uint32_t raw) const {
        uint16_t v = uint16_t(raw & kMask);
        std::memcpy(row + 2 * x, &v, 2);
    }
    uint32_t ToRgb(uint32_t raw) const {
        uint32_t r = (raw >> 10) & 31, g = (raw >> 5) & 31, b = raw & 31;
        return (((r << 3) | (r >> 2)) << 16) | (((g << 3) | (g >> 2)) << 8) | ((b << 3) | (b >> 2));
    }
    uint32_t FromRgb(uint32_t rgb) const {
        return ((rgb >> 9) & 0x7C00) | ((rgb >> 6) & 0x03E0) | ((rgb >> 3) & 0x1F);
    }
};

// Three bytes per pixel in blue, green, red order.
struct Format24 {
    static constexpr uint32_t kMask = 0xFFFFFF;
    uint32_t Mask() const { return kMask; }
    uint32_t Load(const uint8_t* row, int x) const {
        const uint8_t* p = row + 3 * x;
        return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16);
    }
    void Store(uint8_t* row, int x, uint32_t raw) const {
        uint8_t* p = row + 3 * x;
        p[0] = uint8_t(raw);
        p[1] = uint8_t(raw >> 8);
        p[2] = uint8_t(raw >> 16);
    }
    uint32_t ToRgb(uint32_t raw) const { return raw & kMask; }
    uint32_t FromRgb(uint32_t rgb) const { return rgb & kMask; }
};

// A little-endian DWORD 0xAARRGGBB. Drawing clears the alpha byte, as the device's GDI
// does; only AlphaBlend reads it.
struct Format32 {
    static constexpr uint32_t kMask = 0xFFFFFF;
    uint32_t Mask() const { return kMask; }
    uint32_t Load(const uint8_t* row, int x) const {
        uint32_t v;
        std::memcpy(&v, row + 4 * x, 4);
        return v & kMask;
    }
    void Store(uint8_t* row, int x, uint32_t raw) const {
        uint32_t v = raw & kMask;
        std::memcpy(row + 4 * x, &v, 4);
    }
    uint32_t ToRgb(uint32_t raw) const { return raw & kMask; }
    uint32_t FromRgb(uint32_t rgb) const { return rgb & kMask; }
};

// 1, 4 or 8 bits per pixel, most significant bits first, through a colour table.
struct FormatIndexed {
    int bits = 8;
    const uint32_t* table = nullptr;
    uint32_t count = 0;
    uint32_t mask = 0xFF;

    uint32_t Mask() const { return mask; }

    uint32_t Load(const uint8_t* row, int x) const {
        uint32_t bitOffset = uint32_t(x) * uint32_t(bits);
        uint32_t shift = 8 - bits - (bitOffset & 7);
        return (row[bitOffset >> 3] >> shift) & mask;
    }
    void Store(uint8_t* row, int x, uint32_t raw) const {
        uint32_t bitOffset = uint32_t(x) * uint32_t(bits);
        uint32_t shift = 8 - bits - (bitOffset & 7);
        uint8_t& byte = row[bitOffset >> 3];
        byte = uint8_t((byte & ~(mask << shift)) | ((raw & mask) << shift));
    }
    // Indexes beyond the table read as its first entry.
    uint32_t ToRgb(uint32_t raw) const { return raw < count ? table[raw] : table[0]; }
    uint32_t FromRgb(uint32_t rgb) const;
};

// Calls `body(format)` with the format value of the surface's layout.
template <typename Body> decltype(auto) WithFormat(const Surface& surface, Body&& body) {
    switch (surface.Layout()) {
    case PixelLayout::Rgb565:
        return body(Format565{});
    case PixelLayout::Rgb555:
        return body(Format555{});
    case PixelLayout::Rgb24:
        return body(Format24{});
    case PixelLayout::Rgb32:
        return body(Format32{});
    default:
        break;
    }
    FormatIndexed format;
    format.bits = surface.BitsPerPixel();
    format.mask = (1u << format.bits) - 1;
    format.table = surface.ColorTable().data();
    format.count = uint32_t(surface.ColorTable().size());
    return body(format);
}

} // namespace platform
