#include "gdi/Raster.h"

#include "gdi/PixelFormats.h"

#include <algorithm>

namespace platform {

uint32_t FormatIndexed::FromRgb(uint32_t rgb) const {
    uint32_t best = 0;
    int64_t bestDistance = INT64_MAX;
    for (uint32_t i = 0; i < count && i <= mask; ++i) {
        int dr = int((table[i] >> 16) & 0xFF) - int((rgb >> 16) & 0xFF);
        int dg = int((table[i] >> 8) & 0xFF) - int((rgb >> 8) & 0xFF);
        int db = int(table[i] & 0xFF) - int(rgb & 0xFF);
        int64_t distance = int64_t(dr) * dr + int64_t(dg) * dg + int64_t(db) * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

namespace {

uint8_t RopCode(DWORD rop) { return uint8_t((rop >> 16) & 0xFF); }

// Any ternary raster operation, bit by bit over the eight P/S/D combinations.
struct RopGeneric {
    uint8_t code;
    uint32_t operator()(uint32_t p, uint32_t s, uint32_t d) const {
        uint32_t result = 0;
        for (int i = 0; i < 8; ++i)
            if ((code >> i) & 1)
                result |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
        return result;
    }
};

// Calls `body(op)` with a specialised functor for the common operations.
template <typename Body> void WithRop(DWORD rop, Body&& body) {
    switch (RopCode(rop)) {
    case 0xCC:
        return body([](uint32_t, uint32_t s, uint32_t) { return s; });
    case 0xF0:
        return body([](uint32_t p, uint32_t, uint32_t) { return p; });
    case 0xEE:
        return body([](uint32_t, uint32_t s, uint32_t d) { return s | d; });
    case 0x88:
        return body([](uint32_t, uint32_t s, uint32_t d) { return s & d; });
    case 0x66:
        return body([](uint32_t, uint32_t s, uint32_t d) { return s ^ d; });
    case 0x33:
        return body([](uint32_t, uint32_t s, uint32_t) { return ~s; });
    case 0x55:
        return body([](uint32_t, uint32_t, uint32_t d) { return ~d; });
    case 0x5A:
        return body([](uint32_t p, uint32_t, uint32_t d) { return p ^ d; });
    case 0x00:
        return body([](uint32_t, uint32_t, uint32_t) { return 0u; });
    case 0xFF:
        return body([](uint32_t, uint32_t, uint32_t) { return ~0u; });
    default:
        return body(RopGeneric{RopCode(rop)});
    }
}

// Clamps a run of `count` pixels at (x, y) to the surface; returns false when nothing is left.
// `skip` receives how many leading pixels were cut off.
bool ClampRun(const Surface& target, int& x, int y, int& count, int& skip) {
    skip = 0;
    if (y < 0 || y >= target.Height() || count <= 0)
        return false;
    if (x < 0) {
        skip = int(std::min<int64_t>(-int64_t(x), count));
        count -= skip;
        x = 0;
    }
    count = int(std::min<int64_t>(count, int64_t(target.Width()) - x));
    return count > 0;
}

uint32_t Mix(uint32_t from, uint32_t to, uint32_t weight) {
    return (from * (255 - weight) + to * weight + 127) / 255;
}

} // namespace

bool RopUsesSource(DWORD rop) {
    uint8_t code = RopCode(rop);
    return (((code >> 2) ^ code) & 0x33) != 0;
}

bool RopUsesPattern(DWORD rop) {
    uint8_t code = RopCode(rop);
    return (((code >> 4) ^ code) & 0x0F) != 0;
}

void RasterFill(Surface& target, RECT rect, uint32_t patternRgb, DWORD rop) {
    rect.left = std::max<LONG>(rect.left, 0);
    rect.top = std::max<LONG>(rect.top, 0);
    rect.right = std::min<LONG>(rect.right, target.Width());
    rect.bottom = std::min<LONG>(rect.bottom, target.Height());
    if (rect.right <= rect.left || rect.bottom <= rect.top)
        return;
    WithFormat(target, [&](auto format) {
        uint32_t pattern = format.FromRgb(patternRgb);
        WithRop(rop, [&](auto op) {
            for (LONG y = rect.top; y < rect.bottom; ++y) {
                uint8_t* row = target.Row(y);
                for (LONG x = rect.left; x < rect.right; ++x)
                    format.Store(row, x, op(pattern, 0, format.Load(row, x)));
            }
        });
    });
}

void RasterRow(Surface& target, int x, int y, const uint32_t* source, const uint8_t* keep,
               int count, uint32_t patternRgb, DWORD rop) {
    int skip;
    if (!ClampRun(target, x, y, count, skip))
        return;
    source += skip;
    if (keep)
        keep += skip;
    WithFormat(target, [&](auto format) {
        uint32_t pattern = format.FromRgb(patternRgb);
        uint8_t* row = target.Row(y);
        WithRop(rop, [&](auto op) {
            for (int i = 0; i < count; ++i) {
                if (keep && !keep[i])
                    continue;
                uint32_t s = format.FromRgb(source[i] & 0xFFFFFF);
                format.Store(row, x + i, op(pattern, s, format.Load(row, x + i)));
            }
        });
    });
}

void RasterBlendRow(Surface& target, int x, int y, const uint32_t* source, int count,
                    uint32_t constantAlpha, bool perPixel) {
    int skip;
    if (!ClampRun(target, x, y, count, skip))
        return;
    source += skip;
    constantAlpha = std::min<uint32_t>(constantAlpha, 255);
    WithFormat(target, [&](auto format) {
        uint8_t* row = target.Row(y);
        for (int i = 0; i < count; ++i) {
            uint32_t s = source[i];
            uint32_t alpha = perPixel ? ((s >> 24) * constantAlpha + 127) / 255 : constantAlpha;
            uint32_t d = format.ToRgb(format.Load(row, x + i));
            uint32_t out = 0;
            for (int shift = 0; shift <= 16; shift += 8) {
                uint32_t sc = (((s >> shift) & 0xFF) * constantAlpha + 127) / 255;
                uint32_t dc = (((d >> shift) & 0xFF) * (255 - alpha) + 127) / 255;
                out |= std::min<uint32_t>(sc + dc, 255) << shift;
            }
            format.Store(row, x + i, format.FromRgb(out));
        }
    });
}

void RasterCoverageRow(Surface& target, int x, int y, const uint8_t* coverage, int count,
                       uint32_t rgb) {
    int skip;
    if (!ClampRun(target, x, y, count, skip))
        return;
    coverage += skip;
    WithFormat(target, [&](auto format) {
        uint8_t* row = target.Row(y);
        uint32_t solid = format.FromRgb(rgb);
        for (int i = 0; i < count; ++i) {
            uint32_t weight = coverage[i];
            if (weight == 0)
                continue;
            if (weight == 255) {
                format.Store(row, x + i, solid);
                continue;
            }
            uint32_t d = format.ToRgb(format.Load(row, x + i));
            uint32_t out = 0;
            for (int shift = 0; shift <= 16; shift += 8)
                out |= Mix((d >> shift) & 0xFF, (rgb >> shift) & 0xFF, weight) << shift;
            format.Store(row, x + i, format.FromRgb(out));
        }
    });
}

void ReadRow(const Surface& source, int y, const int* columns, int count, uint32_t* pixels,
             const uint32_t* keyRaw, uint8_t* keep) {
    bool hasAlpha = source.Layout() == PixelLayout::Rgb32;
    WithFormat(source, [&](auto format) {
        bool rowInside = y >= 0 && y < source.Height();
        const uint8_t* row = rowInside ? source.Row(y) : nullptr;
        for (int i = 0; i < count; ++i) {
            int column = columns[i];
            if (!row || column < 0 || column >= source.Width()) {
                pixels[i] = 0xFF000000u;
                if (keep)
                    keep[i] = 0;
                continue;
            }
            uint32_t raw = format.Load(row, column);
            uint32_t alpha = 0xFF000000u;
            if (hasAlpha)
                alpha = uint32_t(row[4 * column + 3]) << 24;
            pixels[i] = format.ToRgb(raw) | alpha;
            if (keep)
                keep[i] = !keyRaw || raw != *keyRaw;
        }
    });
}

uint32_t RawFromRgb(const Surface& surface, uint32_t rgb) {
    return WithFormat(surface, [&](auto format) { return format.FromRgb(rgb & 0xFFFFFF); });
}

uint32_t RoundToSurface(const Surface& surface, uint32_t rgb) {
    return WithFormat(surface,
                      [&](auto format) { return format.ToRgb(format.FromRgb(rgb & 0xFFFFFF)); });
}

uint32_t GetPixelRgb(const Surface& surface, int x, int y) {
    if (!surface.Contains(x, y))
        return 0;
    return WithFormat(surface,
                      [&](auto format) { return format.ToRgb(format.Load(surface.Row(y), x)); });
}

void SetPixelRgb(Surface& surface, int x, int y, uint32_t rgb) {
    if (!surface.Contains(x, y))
        return;
    WithFormat(surface, [&](auto format) { format.Store(surface.Row(y), x, format.FromRgb(rgb)); });
}

} // namespace platform
