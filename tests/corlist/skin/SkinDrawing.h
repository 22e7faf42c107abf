// Helpers of the drawing element tests: a booted device with a drawing surface, a fake
// skin that hands out pictures built in memory, picture builders in the formats the skin's
// load options deliver, and the comparison with golden PNGs.
#pragma once

#include "corlist/image/Image.h"
#include "corlist/skin/DrawSurface.h"
#include "corlist/skin/SkinImageProvider.h"
#include "corlist/skin/SkinImageSlot.h"
#include "support/TestDevice.h"

#include <cstdint>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace skintest {

// A SkinImageProvider over pictures added by name; it counts acquires and releases.
class FakeSkin : public corlist::SkinImageProvider {
public:
    ~FakeSkin() override;
    corlist::SkinImageSlot* AcquireImage(LPCWSTR name, bool loadOptions, bool keep) override;
    void ReleaseImage(corlist::Image* image) override;

    // Takes the picture as the entry `name`; a null picture makes a failed entry.
    void Add(const std::u16string& name, std::unique_ptr<corlist::Image> image);

    int acquires = 0;
    int releases = 0;

private:
    struct Entry {
        std::unique_ptr<corlist::Image> image;
        corlist::SkinImageSlot slot;
    };
    std::map<std::u16string, Entry> m_entries;
};

// An 8-bit picture with `palette` (COLORREFs) turned into an RGB565 table, as the skin's
// load options deliver it; `pixels` are row-major indexes.
std::unique_ptr<corlist::Image> IndexedImage(int width, int height, std::initializer_list<COLORREF> palette,
                                             const std::vector<uint8_t>& pixels);
// An 8-bit grey picture whose index is the alpha level.
std::unique_ptr<corlist::Image> AlphaImage(int width, int height, const std::vector<uint8_t>& levels);
// A 16-bit RGB565 picture.
std::unique_ptr<corlist::Image> Rgb565Image(int width, int height, const std::vector<uint16_t>& pixels);
// A 24-bit picture of COLORREFs.
std::unique_ptr<corlist::Image> Bgr24Image(int width, int height, const std::vector<COLORREF>& pixels);
// A picture of `bits` (8, 16, 24) filled with one colour (an index for 8 bits).
std::unique_ptr<corlist::Image> UniformImage(int width, int height, int bits, uint32_t value);

constexpr uint16_t Rgb565(int red, int green, int blue) {
    return uint16_t(((red >> 3) << 11) | ((green >> 2) << 5) | (blue >> 3));
}

// A booted device and a surface of the size asked for.
class SkinDrawingTest : public testsupport::TestDevice {
protected:
    void SetUp() override;
    void TearDown() override;
    // Makes the surface width x height, filled with `fill`.
    void MakeSurface(int width, int height, uint16_t fill);
    // The surface's pixels of one row, for readable failures.
    std::vector<uint16_t> RowOf(int y) const;
    // Compares the surface with tests/fixtures/golden/NAME; DIALORA_UPDATE_GOLDEN=1
    // rewrites it. `tolerance` per channel, up to `allowed` pixels beyond it.
    void ExpectMatchesGolden(const char* name, int tolerance = 0, int allowed = 0);

    corlist::DrawSurface m_surface;
    FakeSkin m_skin;
};

} // namespace skintest
