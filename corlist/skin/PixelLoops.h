// The RGB565 row loops of the skin's drawing: fills, copies and alpha blends. Every loop
// works on one row of `count` pixels that the caller has already clipped; everything else
// in the skin calls these instead of touching pixels itself.
#pragma once

#include <cstdint>

namespace corlist {

// An entry of an indexed source's table: the RGB565 value, or kSkipPixel for an index that
// draws nothing (the transparent entry, indexes beyond the palette).
constexpr uint32_t kSkipPixel = 0x10000;

// Per-channel maps of a translucent fill: the new 5/6/5-bit field for every old one, each
// already shifted into place.
struct ChannelMaps {
    uint16_t red[32];
    uint16_t green[64];
    uint16_t blue[32];
};

// The blend level 0..32 of an 8-bit alpha value: rounded, so that 255 draws the source
// exactly and 0 leaves the pixel alone.
inline uint32_t AlphaLevel(uint8_t alpha) {
    return (uint32_t(alpha) + 4) >> 3;
}

// One pixel moved toward `source` by a / 32 (a in 0..32), computed on the green field and
// on the red and blue fields together.
inline uint16_t Blend565(uint16_t old, uint16_t source, uint32_t a) {
    int32_t oldRb = old & 0xF81F, oldG = old & 0x07E0;
    int32_t rb = (oldRb + (((int32_t(source & 0xF81F) - oldRb) * int32_t(a)) >> 5)) & 0xF81F;
    int32_t g = (oldG + (((int32_t(source & 0x07E0) - oldG) * int32_t(a)) >> 5)) & 0x07E0;
    return uint16_t(rb | g);
}

void FillRow(uint16_t* target, int count, uint16_t value);
void MapRow(uint16_t* target, int count, const ChannelMaps& maps);
void CopyRow(uint16_t* target, const uint16_t* source, int count);
// Copies the pixels that differ from `key`.
void CopyKeyedRow(uint16_t* target, const uint16_t* source, int count, uint16_t key);
// Copies 8-bit indexes through `table` (256 entries), leaving kSkipPixel entries alone.
void CopyIndexedRow(uint16_t* target, const uint8_t* source, int count, const uint32_t* table);
// Converts blue, green, red byte triples.
void CopyBgrRow(uint16_t* target, const uint8_t* source, int count);
// Blends by the 8-bit alpha values (AlphaLevel of 32).
void BlendRow(uint16_t* target, const uint16_t* source, const uint8_t* alpha, int count);
void BlendIndexedRow(uint16_t* target, const uint8_t* source, const uint8_t* alpha, int count,
                     const uint32_t* table);
// Moves every pixel toward `source` by one level 0..32 (a reflection fading out row by row).
void MixRow(uint16_t* target, const uint16_t* source, int count, uint32_t level);
// Paints one colour through the alpha values.
void BlendSolidRow(uint16_t* target, uint16_t colour, const uint8_t* alpha, int count);

} // namespace corlist
