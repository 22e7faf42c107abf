// Exported bitmap creation: DIB sections in every device format, bitmaps compatible with
// the screen and plain device bitmaps.
#include "ce/kernel.h"
#include "ce/wingdi.h"
#include "gdi/BitmapObject.h"
#include "gdi/Gdi.h"
#include "gdi/GdiObjectTable.h"
#include "kernel/MappingObject.h"

#include <cstdlib>
#include <cstring>

using namespace platform;

namespace {

constexpr DWORD kMaxHeaderSize = 124; // BITMAPV5HEADER

struct DibFormat {
    PixelLayout layout = PixelLayout::Rgb565;
    DWORD masks[3] = {0, 0, 0};
};

// The layout of a DIB header, or false for a combination the device does not draw.
bool DibFormatOf(const BITMAPINFO& info, DibFormat& format) {
    const BITMAPINFOHEADER& header = info.bmiHeader;
    const auto* masks = reinterpret_cast<const DWORD*>(reinterpret_cast<const BYTE*>(&info) + header.biSize);
    bool bitfields = header.biCompression == BI_BITFIELDS;
    if (!bitfields && header.biCompression != BI_RGB)
        return false;
    switch (header.biBitCount) {
    case 1:
        format.layout = PixelLayout::Indexed1;
        return !bitfields;
    case 4:
        format.layout = PixelLayout::Indexed4;
        return !bitfields;
    case 8:
        format.layout = PixelLayout::Indexed8;
        return !bitfields;
    case 24:
        format.layout = PixelLayout::Rgb24;
        return !bitfields;
    case 16:
        if (!bitfields || (masks[0] == 0x7C00 && masks[1] == 0x03E0 && masks[2] == 0x001F)) {
            format.layout = PixelLayout::Rgb555;
            format.masks[0] = 0x7C00, format.masks[1] = 0x03E0, format.masks[2] = 0x001F;
            return true;
        }
        format.layout = PixelLayout::Rgb565;
        format.masks[0] = 0xF800, format.masks[1] = 0x07E0, format.masks[2] = 0x001F;
        return masks[0] == 0xF800 && masks[1] == 0x07E0 && masks[2] == 0x001F;
    case 32:
        format.layout = PixelLayout::Rgb32;
        format.masks[0] = 0xFF0000, format.masks[1] = 0xFF00, format.masks[2] = 0xFF;
        return !bitfields || (masks[0] == 0xFF0000 && masks[1] == 0xFF00 && masks[2] == 0xFF);
    default:
        return false;
    }
}

std::vector<uint32_t> ColorTableOf(const BITMAPINFO& info) {
    const BITMAPINFOHEADER& header = info.bmiHeader;
    if (header.biBitCount > 8)
        return {};
    DWORD maximum = 1u << header.biBitCount;
    DWORD count = header.biClrUsed == 0 || header.biClrUsed > maximum ? maximum : header.biClrUsed;
    const auto* quads = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(&info) + header.biSize);
    std::vector<uint32_t> table(count);
    for (DWORD i = 0; i < count; ++i)
        table[i] = (uint32_t(quads[i].rgbRed) << 16) | (uint32_t(quads[i].rgbGreen) << 8) | quads[i].rgbBlue;
    return table;
}

HBITMAP InsertBitmap(std::shared_ptr<BitmapObject> bitmap) {
    HGDIOBJ handle = GdiObjectTable::Instance().Insert(std::move(bitmap));
    return reinterpret_cast<HBITMAP>(handle);
}

} // namespace

namespace {

// The pixels of a DIB section: fresh memory, or the memory section's from `offset`, which
// must be DWORD-aligned and leave room for every row.
std::shared_ptr<Surface> SectionSurface(const BITMAPINFO& info, PixelLayout layout, HANDLE section, DWORD offset,
                                        std::shared_ptr<void>& owner) {
    const BITMAPINFOHEADER& header = info.bmiHeader;
    bool topDown = header.biHeight < 0;
    int rows = int(std::llabs(int64_t(header.biHeight)));
    if (!section)
        return Surface::Create(header.biWidth, rows, layout, topDown, ColorTableOf(info));
    auto mapping = MappingObject::FromHandle(section);
    uint64_t stride = Surface::StrideFor(header.biWidth, Surface::BitsPerPixel(layout));
    if (!mapping || offset % 4 != 0 || stride == 0 || !mapping->Contains(offset, stride * uint64_t(rows)))
        return nullptr;
    owner = mapping;
    return Surface::Wrap(mapping->Data() + offset, header.biWidth, rows, ptrdiff_t(stride), layout, topDown,
                         ColorTableOf(info));
}

} // namespace

CE_API HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits,
                                HANDLE section, DWORD offset) {
    if (bits)
        *bits = nullptr;
    DibFormat format;
    // FIXME: palette-index colour tables (DIB_PAL_COLORS) are not supported.
    if (!info || usage != DIB_RGB_COLORS || info->bmiHeader.biSize < sizeof(BITMAPINFOHEADER) ||
        info->bmiHeader.biSize > kMaxHeaderSize || !DibFormatOf(*info, format)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const BITMAPINFOHEADER& header = info->bmiHeader;
    int64_t rows = std::llabs(int64_t(header.biHeight));
    if (header.biWidth <= 0 || rows == 0 || rows > Surface::kMaxSide) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::shared_ptr<void> owner;
    auto surface = SectionSurface(*info, format.layout, section, offset, owner);
    if (!surface) {
        SetLastError(section ? ERROR_INVALID_PARAMETER : ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    auto bitmap = std::make_shared<BitmapObject>(surface);
    bitmap->m_isDib = true;
    bitmap->m_memoryOwner = std::move(owner);
    bitmap->m_header = header;
    bitmap->m_header.biSize = sizeof(BITMAPINFOHEADER);
    bitmap->m_header.biSizeImage = DWORD(surface->ByteSize());
    std::memcpy(bitmap->m_masks, format.masks, sizeof(format.masks));
    HBITMAP handle = InsertBitmap(std::move(bitmap));
    if (handle && bits)
        *bits = surface->Bits();
    return handle;
}

// Bitmaps compatible with a DC have the screen's format, RGB565, whatever the DC holds.
CE_API HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height) {
    if (width < 0 || height < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (width == 0 || height == 0)
        return reinterpret_cast<HBITMAP>(StockObject(-1));
    auto surface = Surface::Create(width, height, PixelLayout::Rgb565, true);
    if (!surface) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return InsertBitmap(std::make_shared<BitmapObject>(surface));
}

// Device bitmaps of 1, 16, 24 or 32 bits; `bits` rows are WORD-aligned.
CE_API HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
    PixelLayout layout;
    std::vector<uint32_t> table;
    switch (bitsPerPixel) {
    case 1:
        layout = PixelLayout::Indexed1;
        table = {0x000000, 0xFFFFFF};
        break;
    case 16:
        layout = PixelLayout::Rgb565;
        break;
    case 24:
        layout = PixelLayout::Rgb24;
        break;
    case 32:
        layout = PixelLayout::Rgb32;
        break;
    default:
        // FIXME: 4- and 8-bit device bitmaps need the system palette.
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (planes != 1 || width < 0 || height < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (width == 0 || height == 0)
        return reinterpret_cast<HBITMAP>(StockObject(-1));
    auto surface = Surface::Create(width, height, layout, true, std::move(table));
    if (!surface) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if (bits) {
        size_t sourceStride = ((size_t(width) * bitsPerPixel + 15) / 16) * 2;
        for (int y = 0; y < height; ++y)
            std::memcpy(surface->Row(y), static_cast<const uint8_t*>(bits) + sourceStride * size_t(y), sourceStride);
    }
    return InsertBitmap(std::make_shared<BitmapObject>(surface));
}
