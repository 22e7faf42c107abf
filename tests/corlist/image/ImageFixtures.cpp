#include "ImageFixtures.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>
#include <png.h>

namespace imagetest {

Rgb PatternAt(int x, int y, int width, int height) {
    return {width > 1 ? x * 255 / (width - 1) : 0, height > 1 ? y * 255 / (height - 1) : 0, 96};
}

Rgb PaletteColour(int index) {
    static const Rgb kColours[] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0},
                                   {0, 255, 255}, {255, 0, 255}, {128, 128, 128}, {255, 255, 255}};
    return kColours[index % 8];
}

namespace {

void AppendPng(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void FlushPng(png_structp) {}

int ChannelsOf(int colourType) {
    switch (colourType) {
    case PNG_COLOR_TYPE_GRAY: return 1;
    case PNG_COLOR_TYPE_GRAY_ALPHA: return 2;
    case PNG_COLOR_TYPE_RGB: return 3;
    case PNG_COLOR_TYPE_RGB_ALPHA: return 4;
    default: return 1;
    }
}

// One sample at the file's depth, packed into the row.
void PutSample(Bytes& row, int index, int depth, unsigned value) {
    if (depth == 16) {
        row[2 * index] = uint8_t(value), row[2 * index + 1] = uint8_t(value);
    } else if (depth == 8) {
        row[index] = uint8_t(value);
    } else {
        int perByte = 8 / depth;
        int shift = 8 - depth * (1 + index % perByte);
        row[index / perByte] |= uint8_t((value & ((1u << depth) - 1)) << shift);
    }
}

} // namespace

Bytes MakePng(const PngSpec& spec) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, AppendPng, FlushPng);
    if (spec.stored)
        png_set_compression_level(png, 0);
    png_set_IHDR(png, info, spec.width, spec.height, spec.depth, spec.colourType,
                 spec.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (spec.colourType == PNG_COLOR_TYPE_PALETTE) {
        png_color palette[256];
        for (int i = 0; i < spec.paletteEntries; ++i) {
            Rgb c = PaletteColour(i);
            palette[i] = {png_byte(c.red), png_byte(c.green), png_byte(c.blue)};
        }
        png_set_PLTE(png, info, palette, spec.paletteEntries);
        if (spec.paletteAlpha) {
            png_byte alpha[1] = {0}; // entry 0 fully transparent
            png_set_tRNS(png, info, alpha, 1, nullptr);
        }
    }
    png_write_info(png, info);
    int channels = ChannelsOf(spec.colourType);
    int passes = png_set_interlace_handling(png);
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < spec.height; ++y) {
            Bytes row((size_t(spec.width) * channels * spec.depth + 7) / 8, 0);
            for (int x = 0; x < spec.width; ++x) {
                Rgb c = PatternAt(x, y, spec.width, spec.height);
                unsigned samples[4] = {unsigned(c.red), unsigned(c.green), unsigned(c.blue), unsigned(x * 16 % 256)};
                if (spec.colourType == PNG_COLOR_TYPE_PALETTE) {
                    samples[0] = unsigned((x + y) % spec.paletteEntries);
                } else if (channels <= 2) {
                    samples[0] = unsigned(c.red) >> (8 - (spec.depth > 8 ? 8 : spec.depth));
                    samples[1] = samples[3];
                } else if (channels == 4) {
                    samples[3] = unsigned(x * 16 % 256);
                }
                for (int s = 0; s < channels; ++s)
                    PutSample(row, x * channels + s, spec.depth, samples[s]);
            }
            png_write_row(png, row.data());
        }
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

Bytes MakeJpeg(const JpegSpec& spec) {
    jpeg_compress_struct info;
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(spec.width);
    info.image_height = JDIMENSION(spec.height);
    info.input_components = spec.grey ? 1 : spec.cmyk ? 4 : 3;
    info.in_color_space = spec.grey ? JCS_GRAYSCALE : spec.cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, spec.quality, TRUE);
    if (spec.progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    if (!spec.exif.empty()) {
        Bytes segment = {'E', 'x', 'i', 'f', 0, 0};
        segment.insert(segment.end(), spec.exif.begin(), spec.exif.end());
        jpeg_write_marker(&info, JPEG_APP0 + 1, segment.data(), unsigned(segment.size()));
    }
    Bytes row(size_t(spec.width) * 4);
    while (info.next_scanline < info.image_height) {
        int y = int(info.next_scanline);
        for (int x = 0; x < spec.width; ++x) {
            Rgb c = PatternAt(x, y, spec.width, spec.height);
            if (spec.grey) {
                row[x] = uint8_t(c.red);
            } else if (spec.cmyk) { // inverted: 255 is no ink
                row[4 * x] = uint8_t(c.red), row[4 * x + 1] = uint8_t(c.green), row[4 * x + 2] = uint8_t(c.blue);
                row[4 * x + 3] = 255;
            } else {
                row[3 * x] = uint8_t(c.red), row[3 * x + 1] = uint8_t(c.green), row[3 * x + 2] = uint8_t(c.blue);
            }
        }
        JSAMPROW pointer = row.data();
        jpeg_write_scanlines(&info, &pointer, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes out(buffer, buffer + size);
    free(buffer);
    return out;
}

namespace {

void Put16(Bytes& out, size_t at, unsigned value) {
    out[at] = uint8_t(value), out[at + 1] = uint8_t(value >> 8);
}
void Put32(Bytes& out, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out[at + i] = uint8_t(value >> (8 * i));
}
void Entry(Bytes& out, size_t at, unsigned tag, unsigned type, uint32_t count, uint32_t value) {
    Put16(out, at, tag), Put16(out, at + 2, type), Put32(out, at + 4, count), Put32(out, at + 8, value);
}

} // namespace

Bytes MakeExifBlock() {
    // Header 8, IFD0 at 8 with 4 entries (2 + 48 + 4 = 54 bytes), the sub-IFD at 62 with 2
    // entries (2 + 24 + 4 = 30), then the texts and rationals.
    Bytes out(200, 0);
    out[0] = 'I', out[1] = 'I';
    Put16(out, 2, 42);
    Put32(out, 4, 8);
    Put16(out, 8, 4);
    Entry(out, 10, 0x010F, 2, 6, 100);  // Make "Tavik"
    Entry(out, 22, 0x0110, 2, 4, 0);     // Model "Z1" (inline)
    out[30] = 'Z', out[31] = '1';
    Entry(out, 34, 0x0132, 2, 20, 110); // DateTime
    Entry(out, 46, 0x8769, 4, 1, 62);   // EXIF sub-IFD
    Put32(out, 58, 0);                  // no IFD1
    Put16(out, 62, 2);
    Entry(out, 64, 0x829A, 5, 1, 140);  // ExposureTime
    Entry(out, 76, 0x829D, 5, 1, 148);  // FNumber
    Put32(out, 88, 0);
    std::memcpy(&out[100], "Tavik", 6);
    std::memcpy(&out[110], "2026:12:07 10:11:12", 20);
    Put32(out, 140, 1), Put32(out, 144, 125);
    Put32(out, 148, 28), Put32(out, 152, 10);
    return out;
}

Bytes MakeBmp(const BmpSpec& spec) {
    bool indexed = spec.bits <= 8;
    int entries = indexed ? 1 << spec.bits : 0;
    size_t masks = spec.bitfields ? 12 : 0;
    size_t rowBytes = ((size_t(spec.width) * spec.bits + 31) / 32) * 4;
    size_t offset = 14 + 40 + masks + size_t(entries) * 4;
    Bytes out(offset + rowBytes * spec.height, 0);
    out[0] = 'B', out[1] = 'M';
    Put32(out, 2, uint32_t(out.size()));
    Put32(out, 10, uint32_t(offset));
    Put32(out, 14, 40);
    Put32(out, 18, uint32_t(spec.width));
    Put32(out, 22, uint32_t(spec.topDown ? -spec.height : spec.height));
    Put16(out, 26, 1);
    Put16(out, 28, unsigned(spec.bits));
    Put32(out, 30, spec.bitfields ? 3 : 0);
    if (spec.bitfields) {
        bool is16 = spec.bits == 16;
        Put32(out, 54, is16 ? 0xF800 : 0xFF0000), Put32(out, 58, is16 ? 0x07E0 : 0xFF00);
        Put32(out, 62, is16 ? 0x001F : 0xFF);
    }
    for (int i = 0; i < entries; ++i) {
        Rgb c = PaletteColour(i);
        size_t at = 54 + masks + size_t(i) * 4;
        out[at] = uint8_t(c.blue), out[at + 1] = uint8_t(c.green), out[at + 2] = uint8_t(c.red);
    }
    for (int y = 0; y < spec.height; ++y) {
        size_t row = offset + rowBytes * size_t(spec.topDown ? y : spec.height - 1 - y);
        for (int x = 0; x < spec.width; ++x) {
            Rgb c = PatternAt(x, y, spec.width, spec.height);
            if (indexed) {
                int index = (x + y) % entries;
                int perByte = 8 / spec.bits;
                out[row + x / perByte] |= uint8_t(index << (8 - spec.bits * (1 + x % perByte)));
            } else if (spec.bits == 16) { // 555 unless bit fields
                unsigned v = spec.bitfields ? ((c.red >> 3) << 11) | ((c.green >> 2) << 5) | (c.blue >> 3)
                                            : ((c.red >> 3) << 10) | ((c.green >> 3) << 5) | (c.blue >> 3);
                Put16(out, row + 2 * x, v);
            } else {
                size_t at = row + size_t(x) * (spec.bits / 8);
                out[at] = uint8_t(c.blue), out[at + 1] = uint8_t(c.green), out[at + 2] = uint8_t(c.red);
            }
        }
    }
    return out;
}

Rgb PixelOf(const corlist::ImageBitmap& bitmap, int x, int y) {
    const BYTE* row = bitmap.Row(y);
    switch (bitmap.BitsPerPixel()) {
    case 8: {
        const RGBQUAD& c = bitmap.colours[row[x]];
        return {c.rgbRed, c.rgbGreen, c.rgbBlue};
    }
    case 16: {
        unsigned v = row[2 * x] | (unsigned(row[2 * x + 1]) << 8);
        return {int(((v >> 11) & 0x1F) << 3), int(((v >> 5) & 0x3F) << 2), int((v & 0x1F) << 3)};
    }
    default: {
        const BYTE* p = row + x * (bitmap.BitsPerPixel() / 8);
        return {p[2], p[1], p[0]};
    }
    }
}

int AlphaOf(const corlist::ImageBitmap& bitmap, int x, int y) {
    return bitmap.BitsPerPixel() == 32 ? bitmap.Row(y)[4 * x + 3] : 255;
}

} // namespace imagetest
