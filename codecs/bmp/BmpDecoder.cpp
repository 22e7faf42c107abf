#include "codecs/bmp/BmpDecoder.h"

#include <cstring>

namespace bmpcodec {

using namespace corlist;

namespace {

constexpr DWORD kCoreHeader = 12;
constexpr DWORD kMaxHeader = 124;

DWORD Read32(const BYTE* p) { return DWORD(p[0]) | (DWORD(p[1]) << 8) | (DWORD(p[2]) << 16) | (DWORD(p[3]) << 24); }
WORD Read16(const BYTE* p) { return WORD(p[0] | (p[1] << 8)); }

bool ReadExact(common::Stream* stream, void* buffer, LONG count) { return stream->Read(buffer, count) == count; }

// A channel of a bit-field pixel, scaled to 0..255.
struct Channel {
    int shift = 0;
    int width = 0;
    DWORD mask = 0;
    BYTE Of(DWORD pixel) const {
        if (width == 0)
            return 0;
        DWORD value = (pixel & mask) >> shift;
        return width >= 8 ? BYTE(value >> (width - 8)) : BYTE(value * 255 / ((1u << width) - 1));
    }
};

Channel ChannelOf(DWORD mask) {
    Channel channel;
    channel.mask = mask;
    if (!mask)
        return channel;
    while (!((mask >> channel.shift) & 1))
        ++channel.shift;
    while (channel.shift + channel.width < 32 && ((mask >> (channel.shift + channel.width)) & 1))
        ++channel.width;
    return channel;
}

} // namespace

struct BmpDecoder::Layout {
    LONG width = 0;
    LONG height = 0;
    bool topDown = false;
    int bits = 0;
    DWORD pixelOffset = 0;
    uint64_t rowBytes = 0;
    RGBQUAD palette[256] = {};
    int paletteEntries = 0;
    Channel channels[3];
};

DWORD BmpDecoder::ReadLayout(common::Stream* stream, Layout& layout) {
    BYTE file[14];
    BYTE header[kMaxHeader] = {};
    if (!ReadExact(stream, file, 14) || file[0] != 'B' || file[1] != 'M' || !ReadExact(stream, header, 4))
        return kImageBadData;
    DWORD headerSize = Read32(header);
    if ((headerSize != kCoreHeader && headerSize < 40) || headerSize > kMaxHeader ||
        !ReadExact(stream, header + 4, LONG(headerSize - 4)))
        return kImageBadData;
    layout.pixelOffset = Read32(file + 10);
    DWORD compression = BI_RGB;
    DWORD colours = 0;
    int64_t height;
    if (headerSize == kCoreHeader) {
        layout.width = Read16(header + 4);
        height = int16_t(Read16(header + 6));
        layout.bits = Read16(header + 10);
    } else {
        layout.width = LONG(Read32(header + 4));
        height = int32_t(Read32(header + 8));
        layout.bits = Read16(header + 14);
        compression = Read32(header + 16);
        colours = Read32(header + 32);
    }
    layout.topDown = height < 0;
    height = height < 0 ? -height : height;
    if (layout.width <= 0 || height == 0)
        return kImageBadData;
    if (layout.width > kMaxBitmapSide || height > kMaxBitmapSide)
        return kImageTooLarge;
    layout.height = LONG(height);
    int bits = layout.bits;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return kImageUnsupported;
    if (compression != BI_RGB && !(compression == BI_BITFIELDS && (bits == 16 || bits == 32)))
        return kImageUnsupported; // run-length and embedded JPEG/PNG pictures
    layout.rowBytes = ((uint64_t(layout.width) * unsigned(bits) + 31) / 32) * 4;
    DWORD masks[3] = {0, 0, 0};
    if (compression == BI_BITFIELDS) {
        // Masks follow a 40-byte header, or are part of a larger one.
        if (headerSize == 40 && !ReadExact(stream, header + 40, 12))
            return kImageBadData;
        masks[0] = Read32(header + 40), masks[1] = Read32(header + 44), masks[2] = Read32(header + 48);
        if (!masks[0] && !masks[1] && !masks[2])
            return kImageBadData;
    } else if (bits == 16) {
        masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
    } else {
        masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
    }
    for (int i = 0; i < 3; ++i)
        layout.channels[i] = ChannelOf(masks[i]);
    if (bits <= 8) {
        DWORD maximum = 1u << bits;
        if (colours > maximum)
            return kImageBadData;
        layout.paletteEntries = int(colours ? colours : maximum);
        int entrySize = headerSize == kCoreHeader ? 3 : 4;
        BYTE raw[256 * 4];
        if (!ReadExact(stream, raw, layout.paletteEntries * entrySize))
            return kImageBadData;
        for (int i = 0; i < layout.paletteEntries; ++i)
            layout.palette[i] = RGBQUAD{raw[i * entrySize], raw[i * entrySize + 1], raw[i * entrySize + 2], 0};
    }
    return kImageOk;
}

DWORD BmpDecoder::Decode(common::Stream* stream, ImageBitmap* bitmap, DWORD options, ExifInfo* info) {
    if (!stream || !bitmap || !m_context)
        return kImageBadArgument;
    if (info)
        *info = ExifInfo{};
    Layout layout;
    DWORD result = ReadLayout(stream, layout);
    if (result != kImageOk)
        return result;
    bool indexed = layout.bits <= 8 && (options & (kLoadKeepPalette | kLoadScreenFormat));
    result = m_context->createBitmap(bitmap, layout.width, layout.height, indexed ? 8 : 24,
                                     indexed ? layout.palette : nullptr, indexed ? layout.paletteEntries : 0);
    if (result != kImageOk)
        return result;
    result = ReadRows(stream, layout, bitmap);
    if (result != kImageOk)
        m_context->releaseBitmap(bitmap);
    Cleanup();
    return result;
}

DWORD BmpDecoder::ReadRows(common::Stream* stream, const Layout& layout, ImageBitmap* bitmap) {
    if (stream->Seek(LONG(layout.pixelOffset), common::kSeekBegin) != LONG(layout.pixelOffset))
        return kImageBadData;
    m_row = static_cast<BYTE*>(m_context->allocate(size_t(layout.rowBytes)));
    if (!m_row)
        return kImageNoMemory;
    bool indexed = bitmap->BitsPerPixel() == 8;
    for (LONG fileRow = 0; fileRow < layout.height; ++fileRow) {
        if (m_abortTest && m_abortTest())
            return kImageAborted;
        if (!ReadExact(stream, m_row, LONG(layout.rowBytes)))
            return kImageBadData;
        BYTE* target = bitmap->Row(layout.topDown ? fileRow : layout.height - 1 - fileRow);
        for (LONG x = 0; x < layout.width; ++x) {
            if (layout.bits <= 8) {
                int perByte = 8 / layout.bits;
                int shift = 8 - layout.bits * (1 + x % perByte);
                int index = (m_row[x / perByte] >> shift) & ((1 << layout.bits) - 1);
                if (indexed) {
                    target[x] = BYTE(index);
                    continue;
                }
                // An index beyond the palette is black.
                RGBQUAD c = index < layout.paletteEntries ? layout.palette[index] : RGBQUAD{};
                target[3 * x] = c.rgbBlue, target[3 * x + 1] = c.rgbGreen, target[3 * x + 2] = c.rgbRed;
                continue;
            }
            DWORD pixel = layout.bits == 16   ? Read16(m_row + 2 * x)
                          : layout.bits == 24 ? DWORD(m_row[3 * x]) | (DWORD(m_row[3 * x + 1]) << 8) |
                                                    (DWORD(m_row[3 * x + 2]) << 16)
                                              : Read32(m_row + 4 * x);
            target[3 * x] = layout.channels[2].Of(pixel);
            target[3 * x + 1] = layout.channels[1].Of(pixel);
            target[3 * x + 2] = layout.channels[0].Of(pixel);
        }
    }
    return kImageOk;
}

void BmpDecoder::Cleanup() {
    if (m_row && m_context)
        m_context->free(m_row);
    m_row = nullptr;
}

} // namespace bmpcodec
