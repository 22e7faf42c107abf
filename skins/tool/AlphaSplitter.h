// Splits a picture with transparency into the two pictures a skin carries: the colour
// picture ("NAME.png", 8-bit RGB) and its alpha picture ("NAME_a.png", 8-bit grey whose
// level is the opacity). The skin build runs it on every picture rendered from SVG.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace skintool {

class AlphaSplitter {
public:
    // Sides and pixel count a build picture may have; larger files are refused.
    static constexpr uint32_t kMaxSide = 8192;
    static constexpr uint64_t kMaxPixels = uint64_t(16) << 20;

    // Reads any PNG (palette, grey, with or without alpha, 8 or 16 bits) as 8-bit RGBA.
    // False with Error() set when the file is missing, damaged or too large.
    bool Read(const std::filesystem::path& input);
    // Reads RGBA pixels held in memory (width * height * 4 bytes).
    bool SetPixels(uint32_t width, uint32_t height, std::vector<uint8_t> rgba);

    // The colour picture: RGB of every pixel. A fully transparent pixel keeps the colour it
    // has, so a picture drawn without its alpha shows what the drawing left there.
    std::vector<uint8_t> Colour() const;
    // The alpha picture: one grey level per pixel.
    std::vector<uint8_t> Alpha() const;

    // Writes both pictures into `folder` as NAME.png and NAME_a.png, each through a
    // temporary file renamed into place. False with Error() set on failure.
    bool Write(const std::filesystem::path& folder, const std::string& name);

    uint32_t Width() const { return m_width; }
    uint32_t Height() const { return m_height; }
    const std::string& Error() const { return m_error; }

private:
    bool WritePicture(const std::filesystem::path& path, const std::vector<uint8_t>& pixels, bool grey);

    uint32_t m_width = 0;
    uint32_t m_height = 0;
    std::vector<uint8_t> m_rgba;
    std::string m_error;
};

} // namespace skintool
