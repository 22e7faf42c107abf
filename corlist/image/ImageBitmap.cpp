// CreateBitmap: the DIB header with its default colour tables and masks, the DIB section,
// and the retries through the host's low-memory callback.
#include "corlist/image/ImageBitmap.h"

#include "corlist/image/ImageMemory.h"
#include "corlist/image/ImageTypes.h"

#include "ce/kernel.h"
#include "ce/memory.h"

#include <cstdlib>
#include <cstring>

namespace corlist {

namespace {

constexpr int kSectionAttempts = 4;

// The 16 standard VGA colours, as red, green, blue.
constexpr BYTE kVgaColours[16][3] = {
    {0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0}, {0, 0, 128},   {128, 0, 128},
    {0, 128, 128},   {192, 192, 192}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0},   {255, 255, 0},
    {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};

RGBQUAD Quad(BYTE red, BYTE green, BYTE blue) { return RGBQUAD{blue, green, red, 0}; }

void FillDefaultTable(RGBQUAD* colours, int bitsPerPixel) {
    if (bitsPerPixel == 1) {
        colours[0] = Quad(0, 0, 0);
        colours[1] = Quad(255, 255, 255);
    } else if (bitsPerPixel == 4) {
        for (int i = 0; i < 16; ++i)
            colours[i] = Quad(kVgaColours[i][0], kVgaColours[i][1], kVgaColours[i][2]);
    } else {
        for (int i = 0; i < 256; ++i)
            colours[i] = Quad(BYTE(i), BYTE(i), BYTE(i));
    }
}

// The masks a section of this depth accepts; false for masks the device cannot draw.
bool ChooseMasks(int bitsPerPixel, const DWORD* given, DWORD* masks, bool& bitfields) {
    static constexpr DWORD k565[3] = {0xF800, 0x07E0, 0x001F};
    static constexpr DWORD k555[3] = {0x7C00, 0x03E0, 0x001F};
    static constexpr DWORD k888[3] = {0xFF0000, 0x00FF00, 0x0000FF};
    bitfields = given != nullptr || bitsPerPixel == 16;
    const DWORD* chosen = bitsPerPixel == 16 ? k565 : k888;
    if (given) {
        bool known = std::memcmp(given, chosen, sizeof(k565)) == 0 ||
                     (bitsPerPixel == 16 && std::memcmp(given, k555, sizeof(k555)) == 0);
        if (!known || bitsPerPixel == 24)
            return false;
        chosen = given;
    }
    if (bitfields)
        std::memcpy(masks, chosen, sizeof(k565));
    return true;
}

struct SectionInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
};

// The last resort: a memory section of the bitmap's size taken as a whole and a DIB section
// over it; the DIB section keeps the memory, so the mapping handle is closed at once.
DWORD MakeSectionInMapping(ImageBitmap* bitmap, const BITMAPINFO* info, uint64_t bytes) {
    HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, DWORD(bytes >> 32),
                                        DWORD(bytes), nullptr);
    if (!mapping)
        return kImageNoMemory;
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &bits, mapping, 0);
    CloseHandle(mapping);
    if (!section)
        return kImageNoMemory;
    bitmap->section = section;
    bitmap->bits = static_cast<BYTE*>(bits);
    return kImageOk;
}

// The DIB section, retried after the low-memory callback; then one in a memory section.
DWORD MakePixels(ImageBitmap* bitmap, LONG requestedHeight, uint64_t bytes, int attempts) {
    SectionInfo info;
    info.header = bitmap->header;
    info.header.biHeight = requestedHeight;
    if (bitmap->header.biCompression == BI_BITFIELDS)
        std::memcpy(info.colours, bitmap->masks, sizeof(bitmap->masks));
    else
        std::memcpy(info.colours, bitmap->colours, sizeof(info.colours));
    auto* header = reinterpret_cast<BITMAPINFO*>(&info);
    for (int attempt = 1; attempt <= attempts; ++attempt) {
        void* bits = nullptr;
        HBITMAP section = CreateDIBSection(nullptr, header, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (section) {
            bitmap->section = section;
            bitmap->bits = static_cast<BYTE*>(bits);
            return kImageOk;
        }
        ImageMemory::AskForMemory(attempt, size_t(bytes));
    }
    return MakeSectionInMapping(bitmap, header, bytes);
}

} // namespace

DWORD CreateBitmapWithAttempts(ImageBitmap* bitmap, LONG width, LONG height, int bitsPerPixel, const void* table,
                               int entries, int sectionAttempts) {
    if (!bitmap)
        return kImageBadArgument;
    ReleaseBitmap(bitmap);
    if (bitsPerPixel != 1 && bitsPerPixel != 4 && bitsPerPixel != 8 && bitsPerPixel != 16 &&
        bitsPerPixel != 24 && bitsPerPixel != 32)
        return kImageBadArgument;
    int64_t rows = std::llabs(int64_t(height));
    if (width <= 0 || rows == 0)
        return kImageBadArgument;
    // 64-bit arithmetic and caps: a hostile size fails instead of wrapping to a small block.
    uint64_t stride = ((uint64_t(width) * unsigned(bitsPerPixel) + 31) / 8) & ~uint64_t(3);
    uint64_t bytes = stride * uint64_t(rows);
    if (width > kMaxBitmapSide || rows > kMaxBitmapSide || bytes > kMaxBitmapBytes)
        return kImageTooLarge;
    BITMAPINFOHEADER& header = bitmap->header;
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = width;
    header.biHeight = LONG(rows);
    header.biPlanes = 1;
    header.biBitCount = WORD(bitsPerPixel);
    header.biCompression = BI_RGB;
    header.biSizeImage = DWORD(bytes);
    if (bitsPerPixel <= 8) {
        int tableSize = 1 << bitsPerPixel;
        header.biClrUsed = DWORD(tableSize);
        if (table) {
            // Only the entries given are copied; the rest of the table stays black.
            int given = entries < 0 ? 0 : entries > tableSize ? tableSize : entries;
            std::memcpy(bitmap->colours, table, size_t(given) * sizeof(RGBQUAD));
        } else {
            FillDefaultTable(bitmap->colours, bitsPerPixel);
        }
    } else {
        bool bitfields = false;
        const DWORD* given = table && entries == 3 ? static_cast<const DWORD*>(table) : nullptr;
        if (!ChooseMasks(bitsPerPixel, given, bitmap->masks, bitfields))
            return kImageUnsupported;
        if (bitfields)
            header.biCompression = BI_BITFIELDS;
    }
    bitmap->stride = LONG(stride);
    bitmap->topDown = height < 0;
    DWORD result = MakePixels(bitmap, height, bytes, sectionAttempts);
    if (result != kImageOk)
        *bitmap = ImageBitmap{};
    return result;
}

DWORD CreateBitmap(ImageBitmap* bitmap, LONG width, LONG height, int bitsPerPixel, const void* table,
                   int entries) {
    return CreateBitmapWithAttempts(bitmap, width, height, bitsPerPixel, table, entries, kSectionAttempts);
}

void ReleaseBitmap(ImageBitmap* bitmap) {
    if (!bitmap)
        return;
    if (bitmap->section)
        DeleteObject(bitmap->section);
    *bitmap = ImageBitmap{};
}

} // namespace corlist
