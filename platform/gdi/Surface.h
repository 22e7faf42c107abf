// A block of pixels in one of the device's formats: the memory behind a bitmap, a window's
// backing store or the screen. Rows are DWORD-aligned; bottom-up surfaces keep row 0 at
// the end of the memory, as device-independent bitmaps do. The pixel memory is either
// owned or borrowed (Wrap), in which case the caller keeps it alive longer than the surface.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace platform {

enum class PixelLayout { Indexed1, Indexed4, Indexed8, Rgb555, Rgb565, Rgb24, Rgb32 };

class Surface {
public:
    // Largest surface side and pixel memory accepted; callers' sizes are checked against them.
    static constexpr int kMaxSide = 16384;
    static constexpr uint64_t kMaxBytes = 64ull << 20;

    // Null when the size is empty, too large or the layout needs a colour table it lacks.
    // `colorTable` holds 0x00RRGGBB entries (indexed layouts only).
    static std::shared_ptr<Surface> Create(int width, int height, PixelLayout layout,
                                           bool topDown, std::vector<uint32_t> colorTable = {});
    // A surface over memory the caller owns (stride in bytes, at least the row size);
    // indexed layouts need their `colorTable`.
    static std::shared_ptr<Surface> Wrap(uint8_t* bits, int width, int height, ptrdiff_t stride,
                                         PixelLayout layout, bool topDown, std::vector<uint32_t> colorTable = {});
    // Bytes of one DWORD-aligned row, or 0 when it exceeds the caps.
    static uint64_t StrideFor(int width, int bitsPerPixel);
    static int BitsPerPixel(PixelLayout layout);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    PixelLayout Layout() const { return m_layout; }
    int BitsPerPixel() const { return BitsPerPixel(m_layout); }
    ptrdiff_t Stride() const { return m_stride; }
    bool TopDown() const { return m_topDown; }
    uint8_t* Bits() { return m_bits; }
    const uint8_t* Bits() const { return m_bits; }
    size_t ByteSize() const { return size_t(m_stride) * size_t(m_height); }
    const std::vector<uint32_t>& ColorTable() const { return m_colorTable; }
    void SetColorTable(std::vector<uint32_t> table) { m_colorTable = std::move(table); }

    // Row y counted from the top of the picture, whatever the memory order.
    uint8_t* Row(int y) { return m_bits + RowOffset(y); }
    const uint8_t* Row(int y) const { return m_bits + RowOffset(y); }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }

private:
    ptrdiff_t RowOffset(int y) const {
        return (m_topDown ? ptrdiff_t(y) : ptrdiff_t(m_height - 1 - y)) * m_stride;
    }

    int m_width = 0;
    int m_height = 0;
    PixelLayout m_layout = PixelLayout::Rgb565;
    ptrdiff_t m_stride = 0;
    bool m_topDown = true;
    uint8_t* m_bits = nullptr;
    struct FreeStorage {
        void operator()(uint8_t* bits) const { std::free(bits); }
    };
    std::unique_ptr<uint8_t, FreeStorage> m_storage;
    std::vector<uint32_t> m_colorTable;
};

} // namespace platform
