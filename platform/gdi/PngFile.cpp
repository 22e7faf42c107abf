#include "gdi/PngFile.h"

#include "gdi/Raster.h"

#include <png.h>

#include <cstring>
#include <system_error>
#include <vector>

namespace platform {

// libpng's simplified API keeps its error jumps inside libpng: no longjmp crosses this code.
bool SavePng(const Surface& surface, const std::filesystem::path& path) {
    int width = surface.Width(), height = surface.Height();
    std::vector<uint8_t> pixels(size_t(width) * size_t(height) * 3);
    std::vector<int> columns(static_cast<size_t>(width));
    for (int x = 0; x < width; ++x)
        columns[size_t(x)] = x;
    std::vector<uint32_t> row(static_cast<size_t>(width));
    for (int y = 0; y < height; ++y) {
        ReadRow(surface, y, columns.data(), width, row.data(), nullptr, nullptr);
        uint8_t* out = pixels.data() + size_t(y) * size_t(width) * 3;
        for (int x = 0; x < width; ++x) {
            out[3 * x] = uint8_t(row[size_t(x)] >> 16);
            out[3 * x + 1] = uint8_t(row[size_t(x)] >> 8);
            out[3 * x + 2] = uint8_t(row[size_t(x)]);
        }
    }
    png_image image;
    std::memset(&image, 0, sizeof(image));
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(width);
    image.height = png_uint_32(height);
    image.format = PNG_FORMAT_RGB;
    std::filesystem::path temporary = path;
    temporary += ".tmp";
    if (!png_image_write_to_file(&image, temporary.c_str(), 0, pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return false;
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    return !error;
}

std::shared_ptr<Surface> LoadPng(const std::filesystem::path& path) {
    png_image image;
    std::memset(&image, 0, sizeof(image));
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return nullptr;
    image.format = PNG_FORMAT_BGR;
    auto surface = image.width <= png_uint_32(Surface::kMaxSide) && image.height <= png_uint_32(Surface::kMaxSide)
                       ? Surface::Create(int(image.width), int(image.height), PixelLayout::Rgb24, true)
                       : nullptr;
    if (!surface) {
        png_image_free(&image);
        return nullptr;
    }
    if (!png_image_finish_read(&image, nullptr, surface->Bits(), png_int_32(surface->Stride()), nullptr)) {
        png_image_free(&image);
        return nullptr;
    }
    return surface;
}

} // namespace platform
