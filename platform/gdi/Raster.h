// The pixel loops of the GDI: fills, raster-operation blits, alpha blending and glyph
// coverage, each written once against the pixel formats and instantiated per format.
// Callers pass rectangles and rows already clipped to the clip region; the loops clamp to
// the surface once more so that no caller's mistake can write outside it.
// Colours are 0x00RRGGBB (source rows carry the source alpha in the top byte).
#pragma once

#include "ce/types.h"
#include "gdi/Surface.h"

namespace platform {

// Whether a ternary raster operation reads the source / the pattern.
bool RopUsesSource(DWORD rop);
bool RopUsesPattern(DWORD rop);

// Applies `rop` with a solid pattern (and no source) to every pixel of `rect`.
void RasterFill(Surface& target, RECT rect, uint32_t patternRgb, DWORD rop);
// Applies `rop` to `count` pixels of row y from x on; `source` holds converted source
// pixels, `keep` (optional) marks the pixels to write.
void RasterRow(Surface& target, int x, int y, const uint32_t* source, const uint8_t* keep,
               int count, uint32_t patternRgb, DWORD rop);
// Source-over blending of 0xAARRGGBB pixels scaled by `constantAlpha`; with `perPixel` the
// pixels are premultiplied and carry their own alpha.
void RasterBlendRow(Surface& target, int x, int y, const uint32_t* source, int count,
                    uint32_t constantAlpha, bool perPixel);
// Blends `rgb` into row y with 0..255 coverage values (anti-aliased glyphs).
void RasterCoverageRow(Surface& target, int x, int y, const uint8_t* coverage, int count,
                       uint32_t rgb);

// Reads the source pixels at `columns` of row y as 0xAARRGGBB (alpha 0xFF unless the
// surface has 32 bits). With `keyRaw` set, keep[i] tells whether the raw pixel differs
// from the key (colour-keyed blits). Columns outside the surface read as black.
void ReadRow(const Surface& source, int y, const int* columns, int count, uint32_t* pixels,
             const uint32_t* keyRaw, uint8_t* keep);

// The raw value a colour has in the surface's format (the nearest table entry for
// indexed surfaces).
uint32_t RawFromRgb(const Surface& surface, uint32_t rgb);
// The colour a surface shows for `rgb` once stored (rounded to its format).
uint32_t RoundToSurface(const Surface& surface, uint32_t rgb);
uint32_t GetPixelRgb(const Surface& surface, int x, int y);
void SetPixelRgb(Surface& surface, int x, int y, uint32_t rgb);

} // namespace platform
