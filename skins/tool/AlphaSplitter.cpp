#include "AlphaSplitter.h"

#include <png.h>

#include <cstring>
#include <system_error>

namespace skintool {

bool AlphaSplitter::Read(const std::filesystem::path& input) {
    png_image image;
    std::memset(&image, 0, sizeof(image));
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, input.c_str())) {
        m_error = input.string() + ": " + image.message;
        return false;
    }
    if (image.width == 0 || image.height == 0 || image.width > kMaxSide || image.height > kMaxSide ||
        uint64_t(image.width) * image.height > kMaxPixels) {
        png_image_free(&image);
        m_error = input.string() + ": picture too large";
        return false;
    }
    image.format = PNG_FORMAT_RGBA;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        m_error = input.string() + ": " + image.message;
        png_image_free(&image);
        return false;
    }
    return SetPixels(image.width, image.height, std::move(pixels));
}

bool AlphaSplitter::SetPixels(uint32_t width, uint32_t height, std::vector<uint8_t> rgba) {
    if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide ||
        uint64_t(width) * height > kMaxPixels) {
        m_error = "picture too large";
        return false;
    }
    if (rgba.size() != uint64_t(width) * height * 4) {
        m_error = "pixel count does not match the size";
        return false;
    }
    m_width = width;
    m_height = height;
    m_rgba = std::move(rgba);
    return true;
}

std::vector<uint8_t> AlphaSplitter::Colour() const {
    std::vector<uint8_t> colour;
    colour.reserve(m_rgba.size() / 4 * 3);
    for (size_t i = 0; i + 3 < m_rgba.size(); i += 4)
        colour.insert(colour.end(), m_rgba.begin() + long(i), m_rgba.begin() + long(i) + 3);
    return colour;
}

std::vector<uint8_t> AlphaSplitter::Alpha() const {
    std::vector<uint8_t> alpha;
    alpha.reserve(m_rgba.size() / 4);
    for (size_t i = 3; i < m_rgba.size(); i += 4)
        alpha.push_back(m_rgba[i]);
    return alpha;
}

bool AlphaSplitter::WritePicture(const std::filesystem::path& path, const std::vector<uint8_t>& pixels, bool grey) {
    png_image image;
    std::memset(&image, 0, sizeof(image));
    image.version = PNG_IMAGE_VERSION;
    image.width = m_width;
    image.height = m_height;
    image.format = grey ? PNG_FORMAT_GRAY : PNG_FORMAT_RGB;
    std::filesystem::path temporary = path;
    temporary += ".tmp";
    if (!png_image_write_to_file(&image, temporary.c_str(), 0, pixels.data(), 0, nullptr)) {
        m_error = path.string() + ": " + image.message;
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return false;
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) {
        m_error = path.string() + ": " + error.message();
        return false;
    }
    return true;
}

bool AlphaSplitter::Write(const std::filesystem::path& folder, const std::string& name) {
    if (m_rgba.empty()) {
        m_error = "no picture read";
        return false;
    }
    return WritePicture(folder / (name + ".png"), Colour(), false) &&
           WritePicture(folder / (name + "_a.png"), Alpha(), true);
}

} // namespace skintool
