// Pictures generated for the image tests: PNG through libpng, JPEG through libjpeg, BMP by
// hand, each holding a known pattern so decoded pixels can be checked.
#pragma once

#include "corlist/image/ImageBitmap.h"

#include <cstdint>
#include <vector>

namespace imagetest {

using Bytes = std::vector<uint8_t>;

struct Rgb {
    int red, green, blue;
};

// The pattern: red grows along x, green along y, blue fixed.
Rgb PatternAt(int x, int y, int width, int height);

struct PngSpec {
    int width = 16;
    int height = 12;
    int colourType = 2; // PNG_COLOR_TYPE_*
    int depth = 8;
    bool interlaced = false;
    int paletteEntries = 4; // palette pictures: index (x + y) % entries
    bool paletteAlpha = false;
    bool stored = false; // no compression: the file is as large as its pixels
};
Bytes MakePng(const PngSpec& spec);
// The palette colour of entry i in palette fixtures.
Rgb PaletteColour(int index);

struct JpegSpec {
    int width = 64;
    int height = 48;
    bool grey = false;
    bool progressive = false;
    int quality = 95;
    bool cmyk = false; // Adobe-style inverted CMYK with no black ink
    Bytes exif; // the TIFF block of an EXIF APP1 segment; empty: none
};
Bytes MakeJpeg(const JpegSpec& spec);
// A little-endian TIFF block with Make, Model, DateTime and an EXIF sub-IFD with
// ExposureTime 1/125 and FNumber 28/10.
Bytes MakeExifBlock();

struct BmpSpec {
    int width = 5;
    int height = 3;
    int bits = 24;
    bool topDown = false;
    bool bitfields = false; // 16 bits: RGB565 masks; 32 bits: 0xFF0000, 0xFF00, 0xFF
};
Bytes MakeBmp(const BmpSpec& spec);

// The colour of a decoded pixel, through the colour table for indexed bitmaps.
Rgb PixelOf(const corlist::ImageBitmap& bitmap, int x, int y);
int AlphaOf(const corlist::ImageBitmap& bitmap, int x, int y);

} // namespace imagetest
