// Colour reduction of loaded images: a uniform palette for 256 colours or fewer, ordered
// dithering to 12-bit or 16-bit colour in place, and RGB565 colour tables.
#include "corlist/image/ImageLoader.h"

#include <cstring>

namespace corlist {

namespace {

// 4x4 ordered-dither thresholds, 0..15.
constexpr int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

struct Rgb {
    int red, green, blue;
};

Rgb PixelAt(const BYTE* row, LONG x, int bits) {
    if (bits == 16) {
        unsigned v = row[2 * x] | (unsigned(row[2 * x + 1]) << 8);
        unsigned r = (v >> 11) & 0x1F, g = (v >> 5) & 0x3F, b = v & 0x1F;
        return {int((r << 3) | (r >> 2)), int((g << 2) | (g >> 4)), int((b << 3) | (b >> 2))};
    }
    const BYTE* p = row + x * (bits / 8);
    return {p[2], p[1], p[0]};
}

// The step (0..levels-1) of a channel rounded to `levels` steps (2..256) with the dither
// threshold.
int DitherIndex(int value, int levels, int threshold) {
    int step = 255 / (levels - 1);
    int dithered = value + (threshold - 8) * step / 16;
    int index = (dithered + step / 2) / step;
    return index < 0 ? 0 : index >= levels ? levels - 1 : index;
}

// The same step back in 0..255.
int Dither(int value, int levels, int threshold) { return DitherIndex(value, levels, threshold) * 255 / (levels - 1); }

// Levels per channel whose product fits count (at least 2 each).
void ChooseLevels(DWORD count, int& red, int& green, int& blue) {
    red = green = blue = 2;
    for (bool grew = true; grew;) {
        grew = false;
        if (DWORD((green + 1) * red * blue) <= count) ++green, grew = true;
        if (DWORD(green * (red + 1) * blue) <= count) ++red, grew = true;
        if (DWORD(green * red * (blue + 1)) <= count) ++blue, grew = true;
    }
}

// The grey level (0..255) of a colour, with the usual luminance weights.
int GreyOf(Rgb c) { return (c.red * 77 + c.green * 150 + c.blue * 29 + 128) >> 8; }

// Fewer colours than the 2x2x2 cube needs: a grey ramp of `entries` levels.
int FillGreyRamp(RGBQUAD* table, int entries) {
    for (int i = 0; i < entries; ++i) {
        BYTE level = BYTE(i * 255 / (entries - 1));
        table[i] = RGBQUAD{level, level, level, 0};
    }
    return entries;
}

int FillCube(RGBQUAD* table, int red, int green, int blue) {
    for (int r = 0; r < red; ++r)
        for (int g = 0; g < green; ++g)
            for (int b = 0; b < blue; ++b)
                table[(r * green + g) * blue + b] =
                    RGBQUAD{BYTE(b * 255 / (blue - 1)), BYTE(g * 255 / (green - 1)), BYTE(r * 255 / (red - 1)), 0};
    return red * green * blue;
}

// A uniform palette of at most `count` colours (at least 2): the colour cube from 8, a grey
// ramp below. The header's colour count tells how many entries the picture uses.
DWORD ReduceToPalette(Image* image, DWORD count) {
    ImageBitmap& source = image->Bitmap();
    bool grey = count < 8;
    int red = 0, green = 0, blue = 0;
    RGBQUAD table[256] = {};
    int entries;
    if (grey) {
        entries = FillGreyRamp(table, count < 2 ? 2 : int(count));
    } else {
        ChooseLevels(count, red, green, blue);
        entries = FillCube(table, red, green, blue);
    }
    ImageBitmap target;
    if (CreateBitmap(&target, source.Width(), source.Height(), 8, table, entries) != kImageOk)
        return kImageReduceFailed;
    target.header.biClrUsed = DWORD(entries);
    for (LONG y = 0; y < source.Height(); ++y) {
        const BYTE* from = source.Row(y);
        BYTE* to = target.Row(y);
        for (LONG x = 0; x < source.Width(); ++x) {
            Rgb c = PixelAt(from, x, source.BitsPerPixel());
            int t = kBayer[y & 3][x & 3];
            if (grey) {
                to[x] = BYTE(DitherIndex(GreyOf(c), entries, t));
                continue;
            }
            int r = DitherIndex(c.red, red, t), g = DitherIndex(c.green, green, t), b = DitherIndex(c.blue, blue, t);
            to[x] = BYTE((r * green + g) * blue + b);
        }
    }
    image->ReplaceBitmap(target);
    return kImageOk;
}

// 12-bit (4 bits a channel) or 16-bit (5, 6, 5) colour, dithered in place.
void DitherInPlace(ImageBitmap& bitmap, bool twelveBit) {
    int bits = bitmap.BitsPerPixel();
    int redLevels = twelveBit ? 16 : 32, greenLevels = twelveBit ? 16 : 64, blueLevels = redLevels;
    for (LONG y = 0; y < bitmap.Height(); ++y) {
        BYTE* row = bitmap.Row(y);
        for (LONG x = 0; x < bitmap.Width(); ++x) {
            Rgb c = PixelAt(row, x, bits);
            int t = kBayer[y & 3][x & 3];
            int r = Dither(c.red, redLevels, t), g = Dither(c.green, greenLevels, t), b = Dither(c.blue, blueLevels, t);
            if (bits == 16) {
                unsigned v = unsigned((r >> 3) << 11) | unsigned((g >> 2) << 5) | unsigned(b >> 3);
                row[2 * x] = BYTE(v), row[2 * x + 1] = BYTE(v >> 8);
            } else {
                BYTE* p = row + x * (bits / 8);
                p[0] = BYTE(b), p[1] = BYTE(g), p[2] = BYTE(r);
            }
        }
    }
}

} // namespace

DWORD ReduceColours(Image* image, DWORD count) {
    if (!image || image->Bitmap().IsEmpty() || count == 0)
        return kImageReduceFailed;
    ImageBitmap& bitmap = image->Bitmap();
    int bits = bitmap.BitsPerPixel();
    if (bits <= 8 || (bits < 32 && (uint64_t(1) << bits) <= count))
        return kImageOk;
    if (bits == 16 && bitmap.header.biCompression == BI_BITFIELDS && bitmap.masks[0] != 0xF800)
        return kImageReduceFailed; // RGB555 pixels are not read here
    if (count <= 256)
        return ReduceToPalette(image, count);
    bool twelveBit = count <= 4096;
    DitherInPlace(bitmap, twelveBit);
    bitmap.flags |= twelveBit ? kBitmapReduced4096 : kBitmapReduced65536;
    return kImageOk;
}

void ConvertColourTableToRgb565(ImageBitmap& bitmap) {
    for (DWORD i = 0; i < bitmap.header.biClrUsed && i < 256; ++i) {
        const RGBQUAD& c = bitmap.colours[i];
        DWORD value = (DWORD(c.rgbRed >> 3) << 11) | (DWORD(c.rgbGreen >> 2) << 5) | DWORD(c.rgbBlue >> 3);
        std::memcpy(&bitmap.colours[i], &value, sizeof(value));
    }
}

} // namespace corlist
