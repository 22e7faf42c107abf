// The bitmap of an image: a DIB header with its colour table or masks and the pixel bits,
// normally a DIB section of the platform. Plain data, so codec libraries fill it too.
#pragma once

#include "ce/wingdi.h"

namespace corlist {

struct ImageBitmap {
    // biHeight is positive; topDown tells the row order of `bits`.
    BITMAPINFOHEADER header{};
    RGBQUAD colours[256]{}; // biClrUsed entries, 8 bits per pixel or fewer
    DWORD masks[3]{};       // red, green, blue masks when biCompression is BI_BITFIELDS
    BYTE* bits = nullptr;
    LONG stride = 0;
    bool topDown = false;
    HBITMAP section = nullptr; // the DIB section owning `bits`
    DWORD flags = 0;           // kBitmapReduced4096, kBitmapReduced65536

    bool IsEmpty() const { return bits == nullptr; }
    LONG Width() const { return header.biWidth; }
    LONG Height() const { return header.biHeight; }
    int BitsPerPixel() const { return header.biBitCount; }
    // Row y counted from the top of the picture.
    BYTE* Row(LONG y) const { return bits + ptrdiff_t(topDown ? y : header.biHeight - 1 - y) * stride; }
};

// Largest bitmap side and pixel memory the loader makes; a hostile header beyond them fails.
constexpr LONG kMaxBitmapSide = 16384;
constexpr uint64_t kMaxBitmapBytes = 64ull << 20;

// Makes `bitmap` (emptied first) a DIB section of width x height (a negative height asks
// for top-down rows) at bits per pixel 1, 4, 8, 16, 24 or 32. For 8 bits or fewer `table`
// holds `entries` RGBQUADs (null: the default table; entries beyond 2^bits are ignored and
// missing ones are black); above 8 bits three masks (entries 3) ask for bit fields.
// Returns kImageOk, kImageBadArgument, kImageTooLarge, kImageUnsupported or kImageNoMemory.
DWORD CreateBitmap(ImageBitmap* bitmap, LONG width, LONG height, int bitsPerPixel, const void* table,
                   int entries);
// CreateBitmap with `sectionAttempts` tries of an ordinary DIB section (after each failure
// the host's low-memory callback is asked) before the last resort, a DIB section in a
// memory section of its own; 0 goes there at once.
DWORD CreateBitmapWithAttempts(ImageBitmap* bitmap, LONG width, LONG height, int bitsPerPixel, const void* table,
                               int entries, int sectionAttempts);
// Frees the pixels and empties the header; an empty bitmap is left alone.
void ReleaseBitmap(ImageBitmap* bitmap);

} // namespace corlist
