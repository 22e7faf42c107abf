#include "support/GoldenImage.h"

#include "gdi/PngFile.h"
#include "gdi/Raster.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace testsupport {

namespace {

bool Near(uint32_t a, uint32_t b, int tolerance) {
    for (int shift = 0; shift < 24; shift += 8) {
        int delta = int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF);
        if (delta > tolerance || delta < -tolerance)
            return false;
    }
    return true;
}

} // namespace

std::filesystem::path GoldenFolder() {
    // Tests run in the build folder, where __FILE__ names this file.
    return std::filesystem::path(__FILE__).parent_path().parent_path() / "fixtures" / "golden";
}

void ExpectMatchesGolden(const platform::Surface& surface, const char* name, int tolerance, int allowed) {
    auto path = GoldenFolder() / name;
    if (const char* update = std::getenv("DIALORA_UPDATE_GOLDEN"); update && *update == '1') {
        ASSERT_TRUE(platform::SavePng(surface, path));
    }
    auto golden = platform::LoadPng(path);
    ASSERT_NE(golden, nullptr) << path;
    ASSERT_EQ(golden->Width(), surface.Width());
    ASSERT_EQ(golden->Height(), surface.Height());
    int differences = 0;
    for (int y = 0; y < surface.Height(); ++y)
        for (int x = 0; x < surface.Width(); ++x)
            differences += !Near(platform::GetPixelRgb(surface, x, y), platform::GetPixelRgb(*golden, x, y), tolerance);
    EXPECT_LE(differences, allowed) << name;
}

} // namespace testsupport
