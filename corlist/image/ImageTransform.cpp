#include "corlist/image/ImageTransform.h"

#include <cstring>

namespace corlist {

namespace {

// Blue, green, red and alpha of one pixel of a 16-bit (RGB565, or RGB555 when `rgb555`),
// 24-bit or 32-bit row.
void ReadPixel(const BYTE* row, LONG x, int bits, unsigned channels[4], bool rgb555 = false) {
    if (bits == 16) {
        unsigned v = row[2 * x] | (unsigned(row[2 * x + 1]) << 8);
        unsigned r = rgb555 ? (v >> 10) & 0x1F : (v >> 11) & 0x1F, b = v & 0x1F;
        unsigned g = rgb555 ? ((v >> 5) & 0x1F) << 1 : (v >> 5) & 0x3F;
        channels[0] = (b << 3) | (b >> 2), channels[1] = (g << 2) | (g >> 4), channels[2] = (r << 3) | (r >> 2);
        channels[3] = 255;
        return;
    }
    const BYTE* p = row + x * (bits / 8);
    channels[0] = p[0], channels[1] = p[1], channels[2] = p[2];
    channels[3] = bits == 32 ? p[3] : 255;
}

void WritePixel(BYTE* row, LONG x, int bits, const unsigned channels[4]) {
    if (bits == 16) {
        unsigned v = ((channels[2] >> 3) << 11) | ((channels[1] >> 2) << 5) | (channels[0] >> 3);
        row[2 * x] = BYTE(v), row[2 * x + 1] = BYTE(v >> 8);
        return;
    }
    BYTE* p = row + x * (bits / 8);
    p[0] = BYTE(channels[0]), p[1] = BYTE(channels[1]), p[2] = BYTE(channels[2]);
    if (bits == 32)
        p[3] = BYTE(channels[3]);
}

// The source span [first, last) that target position t of `target` covers in `source`.
void SpanOf(LONG t, LONG target, LONG source, LONG& first, LONG& last) {
    first = LONG(int64_t(t) * source / target);
    last = LONG(int64_t(t + 1) * source / target);
    if (last <= first)
        last = first + 1;
}

void AverageRow(const ImageBitmap& from, ImageBitmap& to, LONG y) {
    LONG top, bottom;
    SpanOf(y, to.Height(), from.Height(), top, bottom);
    int bits = from.BitsPerPixel();
    for (LONG x = 0; x < to.Width(); ++x) {
        LONG left, right;
        SpanOf(x, to.Width(), from.Width(), left, right);
        unsigned sum[4] = {}, pixel[4];
        for (LONG sy = top; sy < bottom; ++sy) {
            const BYTE* row = from.Row(sy);
            for (LONG sx = left; sx < right; ++sx) {
                ReadPixel(row, sx, bits, pixel);
                for (int c = 0; c < 4; ++c)
                    sum[c] += pixel[c];
            }
        }
        unsigned count = unsigned((bottom - top) * (right - left));
        for (unsigned& channel : sum)
            channel = (channel + count / 2) / count;
        WritePixel(to.Row(y), x, bits, sum);
    }
}

void NearestRow(const ImageBitmap& from, ImageBitmap& to, LONG y) {
    const BYTE* source = from.Row(LONG(int64_t(y) * from.Height() / to.Height()));
    BYTE* target = to.Row(y);
    int bits = from.BitsPerPixel();
    for (LONG x = 0; x < to.Width(); ++x) {
        LONG sx = LONG(int64_t(x) * from.Width() / to.Width());
        unsigned index = (source[sx * bits / 8] >> (8 - bits - (sx * bits) % 8)) & ((1u << bits) - 1);
        int shift = 8 - bits - int((x * bits) % 8);
        BYTE& out = target[x * bits / 8];
        out = BYTE((out & ~(((1u << bits) - 1) << shift)) | (index << shift));
    }
}

bool IsRgb565(const ImageBitmap& bitmap) {
    return bitmap.header.biCompression != BI_BITFIELDS || bitmap.masks[0] == 0xF800;
}

} // namespace

void CoverSize(LONG width, LONG height, LONG requestWidth, LONG requestHeight, LONG* outWidth, LONG* outHeight) {
    *outWidth = width;
    *outHeight = height;
    if (requestWidth <= 0 || requestHeight <= 0 || width <= requestWidth || height <= requestHeight)
        return;
    // The side whose ratio to the request is the smaller one meets the request exactly.
    if (int64_t(width) * requestHeight >= int64_t(height) * requestWidth) {
        *outHeight = requestHeight;
        *outWidth = LONG((int64_t(width) * requestHeight + height - 1) / height);
    } else {
        *outWidth = requestWidth;
        *outHeight = LONG((int64_t(height) * requestWidth + width - 1) / width);
    }
}

DWORD ScaleToCover(Image* image, LONG requestWidth, LONG requestHeight) {
    ImageBitmap& from = image->Bitmap();
    LONG width, height;
    CoverSize(from.Width(), from.Height(), requestWidth, requestHeight, &width, &height);
    if (width == from.Width() && height == from.Height())
        return kImageOk;
    int bits = from.BitsPerPixel();
    if (bits == 16 && !IsRgb565(from))
        return kImageUnsupported;
    ImageBitmap to;
    const void* table = bits <= 8 ? static_cast<const void*>(from.colours) : nullptr;
    int entries = bits <= 8 ? int(from.header.biClrUsed) : 0;
    DWORD result = CreateBitmap(&to, width, height, bits, table, entries);
    if (result != kImageOk)
        return result;
    to.flags = from.flags;
    for (LONG y = 0; y < height; ++y) {
        if (bits <= 8)
            NearestRow(from, to, y);
        else
            AverageRow(from, to, y);
    }
    image->ReplaceBitmap(to);
    return kImageOk;
}

DWORD ConvertToScreenFormat(Image* image) {
    ImageBitmap& from = image->Bitmap();
    int bits = from.BitsPerPixel();
    if (bits <= 8 || (bits == 16 && IsRgb565(from)))
        return kImageOk;
    ImageBitmap to;
    DWORD result = CreateBitmap(&to, from.Width(), from.Height(), 16, nullptr, 0);
    if (result != kImageOk)
        return result;
    to.flags = from.flags;
    unsigned pixel[4];
    bool rgb555 = bits == 16;
    for (LONG y = 0; y < from.Height(); ++y) {
        const BYTE* source = from.Row(y);
        BYTE* target = to.Row(y);
        for (LONG x = 0; x < from.Width(); ++x) {
            ReadPixel(source, x, bits, pixel, rgb555);
            WritePixel(target, x, 16, pixel);
        }
    }
    image->ReplaceBitmap(to);
    return kImageOk;
}

} // namespace corlist
