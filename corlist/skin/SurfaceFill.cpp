#include "corlist/skin/SurfaceFill.h"

#include "corlist/skin/ColourNotation.h"
#include "corlist/skin/SkinKinds.h"

namespace corlist {

namespace {

struct MapCache {
    COLORREF colour = kColourNone;
    int weight = -1;
    ChannelMaps maps{};
};

// The new 8-bit level of an expanded channel value.
int Toward(int base, int channel, int weight) {
    return base + channel * weight / 256;
}

void BuildMaps(ChannelMaps& maps, COLORREF colour, int weight) {
    int grey = (int(colour & 0xFF) + int((colour >> 8) & 0xFF) + int((colour >> 16) & 0xFF)) / 3;
    int base = grey * (256 - weight) / 256;
    for (int c = 0; c < 32; ++c) {
        int level = Toward(base, c * 8, weight);
        maps.red[c] = uint16_t((level >> 3) << 11);
        maps.blue[c] = uint16_t(level >> 3);
    }
    for (int c = 0; c < 64; ++c)
        maps.green[c] = uint16_t((Toward(base, c * 4, weight) >> 2) << 5);
}

} // namespace

const ChannelMaps& TranslucentMaps(COLORREF colour, int weight) {
    thread_local MapCache cache;
    if (cache.colour != colour || cache.weight != weight) {
        BuildMaps(cache.maps, colour, weight);
        cache.colour = colour;
        cache.weight = weight;
    }
    return cache.maps;
}

void FillRect(DrawSurface& surface, const RECT& rect, COLORREF colour, int weight) {
    if (colour == kColourNone || surface.IsEmpty())
        return;
    RECT r = surface.Clipped(rect);
    if (IsEmptyRect(r))
        return;
    int count = r.right - r.left;
    if (weight <= 0 || weight > 255) {
        uint16_t value = Rgb565FromColour(colour);
        for (int y = r.top; y < r.bottom; ++y)
            FillRow(surface.Row(y) + r.left, count, value);
        return;
    }
    const ChannelMaps& maps = TranslucentMaps(colour, weight);
    for (int y = r.top; y < r.bottom; ++y)
        MapRow(surface.Row(y) + r.left, count, maps);
}

} // namespace corlist
