#include "gdi/Surface.h"

#include <cstdlib>
#include <cstring>

namespace platform {

int Surface::BitsPerPixel(PixelLayout layout) {
    switch (layout) {
    case PixelLayout::Indexed1:
        return 1;
    case PixelLayout::Indexed4:
        return 4;
    case PixelLayout::Indexed8:
        return 8;
    case PixelLayout::Rgb555:
    case PixelLayout::Rgb565:
        return 16;
    case PixelLayout::Rgb24:
        return 24;
    case PixelLayout::Rgb32:
        return 32;
    }
    return 0;
}

uint64_t Surface::StrideFor(int width, int bitsPerPixel) {
    if (width <= 0 || width > kMaxSide || bitsPerPixel <= 0 || bitsPerPixel > 32)
        return 0;
    uint64_t bits = uint64_t(width) * uint64_t(bitsPerPixel);
    return ((bits + 31) / 32) * 4;
}

std::shared_ptr<Surface> Surface::Create(int width, int height, PixelLayout layout, bool topDown,
                                         std::vector<uint32_t> colorTable) {
    uint64_t stride = StrideFor(width, BitsPerPixel(layout));
    if (stride == 0 || height <= 0 || height > kMaxSide)
        return nullptr;
    uint64_t bytes = stride * uint64_t(height);
    if (bytes > kMaxBytes)
        return nullptr;
    bool indexed = layout == PixelLayout::Indexed1 || layout == PixelLayout::Indexed4 ||
                   layout == PixelLayout::Indexed8;
    if (indexed && colorTable.empty())
        return nullptr;
    auto surface = std::make_shared<Surface>();
    // calloc hands large blocks out as fresh zero pages, without a pass over them.
    surface->m_storage.reset(static_cast<uint8_t*>(std::calloc(bytes, 1)));
    if (!surface->m_storage)
        return nullptr;
    surface->m_bits = surface->m_storage.get();
    surface->m_width = width;
    surface->m_height = height;
    surface->m_layout = layout;
    surface->m_stride = ptrdiff_t(stride);
    surface->m_topDown = topDown;
    surface->m_colorTable = std::move(colorTable);
    return surface;
}

std::shared_ptr<Surface> Surface::Wrap(uint8_t* bits, int width, int height, ptrdiff_t stride,
                                       PixelLayout layout, bool topDown, std::vector<uint32_t> colorTable) {
    uint64_t minimum = StrideFor(width, BitsPerPixel(layout));
    bool indexed = BitsPerPixel(layout) <= 8;
    if ((indexed && colorTable.empty()) || !bits || minimum == 0 || height <= 0 || height > kMaxSide || stride <= 0 ||
        uint64_t(stride) < (uint64_t(width) * BitsPerPixel(layout) + 7) / 8)
        return nullptr;
    auto surface = std::make_shared<Surface>();
    surface->m_bits = bits;
    surface->m_width = width;
    surface->m_height = height;
    surface->m_layout = layout;
    surface->m_stride = stride;
    surface->m_topDown = topDown;
    if (indexed)
        surface->m_colorTable = std::move(colorTable);
    return surface;
}

} // namespace platform
