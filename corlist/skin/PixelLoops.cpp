#include "corlist/skin/PixelLoops.h"

#include <algorithm>
#include <cstring>

namespace corlist {

void FillRow(uint16_t* target, int count, uint16_t value) {
    std::fill(target, target + count, value);
}

void MapRow(uint16_t* target, int count, const ChannelMaps& maps) {
    for (int i = 0; i < count; ++i) {
        uint16_t p = target[i];
        target[i] = uint16_t(maps.red[p >> 11] | maps.green[(p >> 5) & 63] | maps.blue[p & 31]);
    }
}

void CopyRow(uint16_t* target, const uint16_t* source, int count) {
    std::memcpy(target, source, size_t(count) * sizeof(uint16_t));
}

void CopyKeyedRow(uint16_t* target, const uint16_t* source, int count, uint16_t key) {
    for (int i = 0; i < count; ++i) {
        if (source[i] != key)
            target[i] = source[i];
    }
}

void CopyIndexedRow(uint16_t* target, const uint8_t* source, int count, const uint32_t* table) {
    for (int i = 0; i < count; ++i) {
        uint32_t value = table[source[i]];
        if (value != kSkipPixel)
            target[i] = uint16_t(value);
    }
}

void MixRow(uint16_t* target, const uint16_t* source, int count, uint32_t level) {
    for (int i = 0; i < count; ++i)
        target[i] = Blend565(target[i], source[i], level);
}

void CopyBgrRow(uint16_t* target, const uint8_t* source, int count) {
    for (int i = 0; i < count; ++i, source += 3)
        target[i] = uint16_t(((source[2] >> 3) << 11) | ((source[1] >> 2) << 5) | (source[0] >> 3));
}

void BlendRow(uint16_t* target, const uint16_t* source, const uint8_t* alpha, int count) {
    for (int i = 0; i < count; ++i) {
        uint32_t a = AlphaLevel(alpha[i]);
        if (a)
            target[i] = Blend565(target[i], source[i], a);
    }
}

void BlendIndexedRow(uint16_t* target, const uint8_t* source, const uint8_t* alpha, int count,
                     const uint32_t* table) {
    for (int i = 0; i < count; ++i) {
        uint32_t a = AlphaLevel(alpha[i]);
        uint32_t value = table[source[i]];
        if (a && value != kSkipPixel)
            target[i] = Blend565(target[i], uint16_t(value), a);
    }
}

void BlendSolidRow(uint16_t* target, uint16_t colour, const uint8_t* alpha, int count) {
    for (int i = 0; i < count; ++i) {
        uint32_t a = AlphaLevel(alpha[i]);
        if (a)
            target[i] = Blend565(target[i], colour, a);
    }
}

} // namespace corlist
