// Exported blits: BitBlt and StretchBlt with raster operations, colour-keyed
// TransparentImage/TransparentBlt and AlphaBlend. All of them go through one stretching
// row loop: destination pixels are mapped to source pixels (nearest neighbour, mirrored
// when the extents' signs differ), read as colours through the source's format and written
// through the destination's.
#include "ce/kernel.h"
#include "ce/wingdi.h"
#include "gdi/BitmapObject.h"
#include "gdi/BrushObject.h"
#include "gdi/Gdi.h"
#include "gdi/GdiObjectTable.h"
#include "gdi/PixelFormats.h"
#include "gdi/Raster.h"

#include <algorithm>
#include <cstring>
#include <vector>

using namespace platform;

namespace {

enum class BlitMode { Rop, ColorKey, Alpha };

struct BlitSpec {
    BlitMode mode = BlitMode::Rop;
    DWORD rop = SRCCOPY;
    uint32_t keyRgb = 0;
    BLENDFUNCTION blend{};
};

// A source: a surface and the mapping of its logical coordinates.
struct BlitSource {
    std::shared_ptr<Surface> surface;
    std::shared_ptr<Dc> dc; // null when a bitmap handle was passed (identity mapping)

    POINT ToSurface(LONG x, LONG y) const { return dc ? dc->ToSurface(x, y) : POINT{x, y}; }
};

LONG Add(LONG a, LONG b) { return LONG(std::clamp<int64_t>(int64_t(a) + b, INT32_MIN, INT32_MAX)); }

// Source index of destination step `i` of `steps` over `sourceSteps` source pixels.
int64_t SourceStep(int64_t i, int64_t steps, int64_t sourceSteps, bool mirrored) {
    int64_t index = ((2 * i + 1) * sourceSteps) / (2 * steps);
    return mirrored ? sourceSteps - 1 - index : index;
}

// A private copy of the source when it is the destination surface, so that overlapping
// blits read the pixels as they were before the blit.
std::shared_ptr<Surface> Snapshot(const std::shared_ptr<Surface>& source, const Surface* target) {
    if (source.get() != target)
        return source;
    auto copy = Surface::Create(source->Width(), source->Height(), source->Layout(), true, source->ColorTable());
    if (!copy)
        return nullptr;
    for (int y = 0; y < source->Height(); ++y)
        std::memcpy(copy->Row(y), source->Row(y), size_t(std::min<ptrdiff_t>(copy->Stride(), source->Stride())));
    return copy;
}

struct Mapping {
    RECT box;           // destination on its surface
    LONG sourceLeft;    // source box on its surface
    LONG sourceTop;
    int64_t sourceWidth;
    int64_t sourceHeight;
    bool mirrorX;
    bool mirrorY;
};

void BlitRows(Dc& target, const Surface& source, const Mapping& map, const BlitSpec& spec) {
    Surface& surface = *target.Target();
    const BrushObject* brush = target.Brush();
    uint32_t pattern = brush ? RgbFromColorRef(brush->Color()) : 0;
    uint32_t keyRaw = RawFromRgb(source, spec.keyRgb);
    bool keyed = spec.mode == BlitMode::ColorKey &&
                 (source.BitsPerPixel() > 8 || RoundToSurface(source, spec.keyRgb) == spec.keyRgb);
    int64_t width = int64_t(map.box.right) - map.box.left, height = int64_t(map.box.bottom) - map.box.top;
    std::vector<int> columns;
    std::vector<uint32_t> pixels;
    std::vector<uint8_t> keep;
    Region region = target.Clip();
    for (const RECT& clip : region.Rects()) {
        RECT part = IntersectRects(map.box, clip);
        if (IsEmptyRect(part))
            continue;
        size_t count = size_t(part.right - part.left);
        columns.resize(count);
        pixels.resize(count);
        keep.resize(count);
        for (size_t i = 0; i < count; ++i)
            columns[i] = int(map.sourceLeft + SourceStep(part.left - map.box.left + int64_t(i), width, map.sourceWidth, map.mirrorX));
        for (LONG y = part.top; y < part.bottom; ++y) {
            int sourceY = int(map.sourceTop + SourceStep(y - map.box.top, height, map.sourceHeight, map.mirrorY));
            ReadRow(source, sourceY, columns.data(), int(count), pixels.data(), keyed ? &keyRaw : nullptr, keep.data());
            if (spec.mode == BlitMode::Alpha)
                RasterBlendRow(surface, part.left, y, pixels.data(), int(count), spec.blend.SourceConstantAlpha,
                               spec.blend.AlphaFormat == AC_SRC_ALPHA);
            else
                RasterRow(surface, part.left, y, pixels.data(), keep.data(), int(count), pattern,
                          spec.mode == BlitMode::Rop ? spec.rop : SRCCOPY);
        }
    }
}

BOOL Blit(HDC dc, int x, int y, int width, int height, const BlitSource* source, int sourceX,
          int sourceY, int sourceWidth, int sourceHeight, const BlitSpec& spec) {
    auto target = DcForCall(dc);
    if (!target)
        return FALSE;
    if (!source) {
        const BrushObject* brush = target->Brush();
        RECT box = target->ToSurface(RECT{x, y, Add(x, width), Add(y, height)});
        Region region = target->Clip();
        for (const RECT& clip : region.Rects())
            if (RECT part = IntersectRects(box, clip); !IsEmptyRect(part))
                RasterFill(*target->Target(), part, brush ? RgbFromColorRef(brush->Color()) : 0, spec.rop);
        return TRUE;
    }
    POINT d0 = target->ToSurface(x, y), d1 = target->ToSurface(Add(x, width), Add(y, height));
    POINT s0 = source->ToSurface(sourceX, sourceY);
    POINT s1 = source->ToSurface(Add(sourceX, sourceWidth), Add(sourceY, sourceHeight));
    Mapping map{NormalizedRect(d0.x, d0.y, d1.x, d1.y), std::min(s0.x, s1.x), std::min(s0.y, s1.y),
                std::llabs(int64_t(s1.x) - s0.x), std::llabs(int64_t(s1.y) - s0.y),
                (d1.x < d0.x) != (s1.x < s0.x), (d1.y < d0.y) != (s1.y < s0.y)};
    if (IsEmptyRect(map.box) || map.sourceWidth == 0 || map.sourceHeight == 0)
        return TRUE;
    auto pixels = Snapshot(source->surface, target->Target());
    if (!pixels) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    BlitRows(*target, *pixels, map, spec);
    return TRUE;
}

// The source of a blit from a DC; false for a stale handle or a DC without a surface.
bool SourceFromDc(HDC dc, BlitSource& source) {
    source.dc = Dc::FromHandle(dc);
    if (!source.dc || !source.dc->Target()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    source.surface = source.dc->TargetShared();
    return true;
}

BOOL RopBlit(HDC dc, int x, int y, int width, int height, HDC sourceDc, int sourceX, int sourceY,
             int sourceWidth, int sourceHeight, DWORD rop) {
    BlitSpec spec;
    spec.rop = rop;
    if (!RopUsesSource(rop))
        return Blit(dc, x, y, width, height, nullptr, 0, 0, 0, 0, spec);
    BlitSource source;
    if (!SourceFromDc(sourceDc, source))
        return FALSE;
    return Blit(dc, x, y, width, height, &source, sourceX, sourceY, sourceWidth, sourceHeight, spec);
}

} // namespace

CE_API BOOL BitBlt(HDC dc, int x, int y, int width, int height, HDC source, int sourceX,
                   int sourceY, DWORD rop) {
    return RopBlit(dc, x, y, width, height, source, sourceX, sourceY, width, height, rop);
}

CE_API BOOL StretchBlt(HDC dc, int x, int y, int width, int height, HDC source, int sourceX,
                       int sourceY, int sourceWidth, int sourceHeight, DWORD rop) {
    return RopBlit(dc, x, y, width, height, source, sourceX, sourceY, sourceWidth, sourceHeight, rop);
}

// The source may be a DC or a bitmap handle, as on the device.
CE_API BOOL TransparentImage(HDC dc, int x, int y, int width, int height, HANDLE source,
                             int sourceX, int sourceY, int sourceWidth, int sourceHeight,
                             COLORREF transparent) {
    BlitSource from;
    if (auto bitmap = GdiObjectTable::Instance().LookupAs<BitmapObject>(source, GdiKind::Bitmap)) {
        from.surface = bitmap->GetSurface();
    } else if (!SourceFromDc(reinterpret_cast<HDC>(source), from)) {
        return FALSE;
    }
    if (width < 0 || height < 0 || sourceWidth < 0 || sourceHeight < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    BlitSpec spec;
    spec.mode = BlitMode::ColorKey;
    spec.keyRgb = RgbFromColorRef(transparent);
    return Blit(dc, x, y, width, height, &from, sourceX, sourceY, sourceWidth, sourceHeight, spec);
}

CE_API BOOL TransparentBlt(HDC dc, int x, int y, int width, int height, HDC source, int sourceX,
                           int sourceY, int sourceWidth, int sourceHeight, UINT transparent) {
    return TransparentImage(dc, x, y, width, height, source, sourceX, sourceY, sourceWidth,
                            sourceHeight, transparent);
}

// The source rectangle must lie inside the source surface and extents be positive.
CE_API BOOL AlphaBlend(HDC dc, int x, int y, int width, int height, HDC source, int sourceX,
                       int sourceY, int sourceWidth, int sourceHeight, BLENDFUNCTION blend) {
    BlitSource from;
    if (!SourceFromDc(source, from))
        return FALSE;
    POINT s0 = from.ToSurface(sourceX, sourceY);
    RECT inside{0, 0, from.surface->Width(), from.surface->Height()};
    bool fits = s0.x >= inside.left && s0.y >= inside.top && int64_t(s0.x) + sourceWidth <= inside.right &&
                int64_t(s0.y) + sourceHeight <= inside.bottom;
    if (blend.BlendOp != AC_SRC_OVER || width < 0 || height < 0 || sourceWidth < 0 ||
        sourceHeight < 0 || !fits) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    BlitSpec spec;
    spec.mode = BlitMode::Alpha;
    spec.blend = blend;
    return Blit(dc, x, y, width, height, &from, sourceX, sourceY, sourceWidth, sourceHeight, spec);
}
