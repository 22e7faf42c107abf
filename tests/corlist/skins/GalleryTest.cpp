// The main screens of the Default skins as the gallery saves them, at the small and the VGA
// size, against golden pictures: a change of the skin or of the drawing shows here.
#include "../../../skins/gallery/Gallery.h"
#include "gdi/PngFile.h"
#include "support/GoldenImage.h"
#include "support/TestDevice.h"

#include <gtest/gtest.h>

namespace {

TEST(Gallery, MainScreensMatchTheirGoldenPictures) {
    std::filesystem::path folder = testsupport::MakeTempFolder("dialora-gallery-test");
    gallery::Gallery screens(DIALORA_IMAGE_DIR, folder);
    std::string error;
    ASSERT_TRUE(screens.Run({{240, 320}, {480, 640}}, error)) << error;
    EXPECT_EQ(screens.Saved().size(), 2 * gallery::Gallery::ScreenNames().size());
    EXPECT_TRUE(std::filesystem::exists(folder / "index.html"));
    for (const char* name : {"controls-240x320.png", "menu-240x320.png", "messagebox-240x320.png",
                             "mainwnd-240x320.png", "mainwnd-number-240x320.png", "controls-480x640.png",
                             "list-480x640.png", "mainwnd-group-480x640.png"}) {
        auto picture = platform::LoadPng(folder / name);
        ASSERT_NE(picture, nullptr) << name;
        testsupport::ExpectMatchesGolden(*picture, (std::string("gallery-") + name).c_str(), 24, 40);
    }
    std::filesystem::remove_all(folder);
}

} // namespace
