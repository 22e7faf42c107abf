// Loading skins: package paths, the load sequence and its failures, the fallback to the
// default package, well-known images, and the images elements share through their slots.
#include "SkinDevice.h"

#include "common/Settings.h"
#include "corlist/image/Image.h"
#include "corlist/skin/Skin.h"
#include "corlist/skin/SkinElement.h"
#include "corlist/skin/SkinMetrics.h"
#include "corlist/skin/SkinPath.h"
#include "user/MessageBoxes.h"

#include <atomic>
#include <thread>

using corlist::Skin;
using corlist::SkinImageSlot;
using namespace std::string_literals;

namespace {

TEST(SkinPath, NamesBecomeDevicePaths) {
    struct Case {
        const char16_t* name;
        int width;
        const char16_t* path;
    } cases[] = {
        {u"Black", 240, u"\\P\\Skins\\Black.rpk"},
        {u"Black.rpk", 240, u"\\P\\Skins\\Black.rpk"},
        {u"Black.RPK", 240, u"\\P\\Skins\\Black.RPK.rpk"}, // the extension test is case-sensitive
        {u"Black.v2", 240, u"\\P\\Skins\\Black.v2.rpk"},
        {u"Black.rpk2", 240, u"\\P\\Skins\\Black.rpk2"},
        {u"\\Storage Card\\Blue", 240, u"\\Storage Card\\Blue.rpk"},
        {u"A:x.rpk", 240, u"A:x.rpk"},
        {u"", 240, u"\\P\\Skins\\Default.rpk"},
        {nullptr, 479, u"\\P\\Skins\\Default.rpk"},
        {u"", 480, u"\\P\\Skins\\Default.vga.rpk"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(corlist::BuildPackagePath(c.name, u"\\P\\", c.width), c.path)
            << (c.name ? std::string(c.name, c.name + std::char_traits<char16_t>::length(c.name)) : "null");
}

TEST(SkinMetrics, ScaleAndOrientationFollowTheScreen) {
    EXPECT_EQ(corlist::ScreenCoordinateScale(240, 320), 1);
    EXPECT_EQ(corlist::ScreenCoordinateScale(640, 480), 2);
    EXPECT_EQ(corlist::ScreenCoordinateScale(800, 479), 1);
    EXPECT_EQ(corlist::OrientationClass(240, 240), 3);
    EXPECT_EQ(corlist::OrientationClass(480, 640), 0);
    EXPECT_EQ(corlist::OrientationClass(800, 480), 2);
    EXPECT_EQ(corlist::OrientationClass(400, 240), 2);
    EXPECT_EQ(corlist::OrientationClass(640, 480), 1);
}

using SkinLoad = skintest::SkinOnDevice;

TEST_F(SkinLoad, LoadReadsTheDescriptionOfThePackage) {
    WriteDescription("Black.rpk", "<skin><application vga='1'/><panel/></skin>");
    ASSERT_TRUE(m_skin.Load(u"Black"));
    ASSERT_NE(m_skin.Root(), nullptr);
    EXPECT_STREQ(m_skin.Root()->firstChild->nextSibling->name, "panel");
    EXPECT_EQ(m_skin.Vga(), 1);
    EXPECT_EQ(TakeTrace(), (std::vector<std::string>{"Open \"\\Skins\\Black.rpk\"\n", "LoadXML\n"}));
}

TEST_F(SkinLoad, LoadFailsWithoutPackageDescriptionOrRoot) {
    EXPECT_FALSE(m_skin.Load(u"Missing"));
    WriteSkinFile("Magic.rpk", "RP$\x01\0\0\0"s);
    EXPECT_FALSE(m_skin.Load(u"Magic"));
    WritePackage("NoDescription.rpk", {{u"Other.skn", "<skin/>"}});
    EXPECT_FALSE(m_skin.Load(u"NoDescription"));
    EXPECT_TRUE(m_skin.Load(u"NoDescription", u"Other.skn"));
    WriteDescription("NotXml.rpk", "just some words");
    EXPECT_FALSE(m_skin.Load(u"NotXml"));
    EXPECT_EQ(m_skin.Root(), nullptr);
}

TEST_F(SkinLoad, InitialiseFallsBackToTheDefaultPackage) {
    WriteDescription("Default.rpk", "<skin/>");
    common::SettingsRecord settings;
    std::u16string_view black = u"Black";
    black.copy(settings.skin, black.size());
    ASSERT_TRUE(m_skin.Initialise(settings));
    EXPECT_EQ(std::u16string(settings.skin), u"Default");
    EXPECT_NE(m_skin.Root(), nullptr);

    // A broken setting whose fallback is missing too, and a "Default" setting that fails,
    // fail without touching the setting.
    std::filesystem::remove(m_device->FsRoot() / "Skins" / "Default.rpk");
    black.copy(settings.skin, black.size());
    settings.skin[black.size()] = 0;
    EXPECT_FALSE(m_skin.Initialise(settings));
    EXPECT_EQ(std::u16string(settings.skin), u"Black");
    WriteDescription("default.rpk", "not xml");
    std::u16string_view lower = u"default";
    lower.copy(settings.skin, lower.size() + 1);
    EXPECT_FALSE(m_skin.Initialise(settings));
    EXPECT_EQ(std::u16string(settings.skin), u"default");
}

TEST_F(SkinLoad, WellKnownImagesAreFoundByNameAndKind) {
    WriteDescription("Black.rpk", "<skin><Images>"
                                  "<image name='bkgnd' source='a.png'/><image name='Bkgnd' source='b.png'/>"
                                  "<FaceL/><image name='MenuCategories'/></Images></skin>");
    common::SettingsRecord settings;
    std::u16string_view black = u"Black";
    black.copy(settings.skin, black.size());
    ASSERT_TRUE(m_skin.Initialise(settings));
    corlist::SkinElement* background = m_skin.WellKnownImage(corlist::WellKnownImage::kBackground, corlist::SkinKind::kImage);
    ASSERT_NE(background, nullptr);
    EXPECT_STREQ(background->Node()->name, "bkgnd"); // the first match wins
    EXPECT_EQ(m_skin.WellKnownImage(corlist::WellKnownImage::kFace, corlist::SkinKind::kImage), nullptr);
    EXPECT_NE(m_skin.WellKnownImage(corlist::WellKnownImage::kMenuCategories, corlist::SkinKind::kImage), nullptr);
    EXPECT_EQ(m_skin.WellKnownImage(corlist::WellKnownImage::kMenuCategories, corlist::SkinKind::kFill), nullptr);
    EXPECT_EQ(m_skin.WellKnownImage(corlist::WellKnownImage::kSim, corlist::SkinKind::kImage), nullptr);
    EXPECT_EQ(m_skin.WellKnownImage(8, corlist::SkinKind::kImage), nullptr);
}

TEST_F(SkinLoad, AnImageIsSharedAndDeletedAfterItsLastRelease) {
    imagetest::PngSpec spec;
    WritePackage("Black.rpk", {{u"Default.skn", "<skin/>"}, {u"Bkgnd.png", AsString(imagetest::MakePng(spec))}});
    ASSERT_TRUE(m_skin.Load(u"Black"));
    TakeTrace();
    SkinImageSlot* first = m_skin.AcquireImage(u"Bkgnd.png", true, false);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(first->image, nullptr);
    EXPECT_EQ(m_skin.AcquireImage(u"BKGND.PNG", true, false), first);
    EXPECT_EQ(m_skin.AcquireImage(u"Bkgnd.png", false, true), first);
    EXPECT_EQ(first->useCount, 3);
    EXPECT_EQ(TakeTrace(), std::vector<std::string>{"\"Bkgnd.png\" loaded\n"});
    corlist::Image* image = first->image;
    m_skin.ReleaseImage(image);
    m_skin.ReleaseImage(image);
    EXPECT_TRUE(TakeTrace().empty());
    EXPECT_EQ(first->useCount, 1);
    m_skin.ReleaseImage(image);
    EXPECT_EQ(TakeTrace(), std::vector<std::string>{"Deleted image: Bkgnd.png\n"});
    EXPECT_EQ(first->image, nullptr);
    EXPECT_EQ(first->useCount, 0);
}

TEST_F(SkinLoad, AFailedImageIsNotRetried) {
    WritePackage("Black.rpk", {{u"Default.skn", "<skin/>"}, {u"Broken.png", "\x89PNG\r\n\x1a\nbroken"}});
    ASSERT_TRUE(m_skin.Load(u"Black"));
    TakeTrace();
    EXPECT_EQ(m_skin.AcquireImage(u"Broken.png", true, false), nullptr);
    EXPECT_EQ(m_skin.AcquireImage(u"Broken.png", true, false), nullptr);
    EXPECT_EQ(TakeTrace(), std::vector<std::string>{"\"Broken.png\" loading FAILED \n"});
    int index = m_skin.Package().Find(u"Broken.png");
    EXPECT_TRUE(m_skin.Slot(index)->failed);
    EXPECT_EQ(m_skin.Slot(index)->useCount, 1);
    EXPECT_EQ(m_skin.AcquireImage(u"Missing.png", true, false), nullptr);
}

TEST_F(SkinLoad, ALooseFileReplacesThePackagedImage) {
    imagetest::PngSpec small;
    imagetest::PngSpec large;
    large.width = 40;
    WritePackage("Black.rpk", {{u"Default.skn", "<skin/>"}, {u"Bkgnd.png", AsString(imagetest::MakePng(small))}});
    WriteSkinFile("Bkgnd.png", AsString(imagetest::MakePng(large)));
    WriteSkinFile("Loose.png", AsString(imagetest::MakePng(large)));
    ASSERT_TRUE(m_skin.Load(u"Black"));
    SkinImageSlot* slot = m_skin.AcquireImage(u"Bkgnd.png", true, false);
    ASSERT_NE(slot, nullptr);
    EXPECT_EQ(slot->image->Bitmap().Width(), 40);
    // A loose file that is not an entry has no slot.
    EXPECT_EQ(m_skin.AcquireImage(u"Loose.png", true, false), nullptr);
}

TEST_F(SkinLoad, LoadOptionsGiveScreenFormatImages) {
    imagetest::PngSpec palette;
    palette.colourType = 3; // PNG_COLOR_TYPE_PALETTE
    imagetest::PngSpec colour;
    imagetest::PngSpec grey;
    grey.colourType = 0; // PNG_COLOR_TYPE_GRAY
    WritePackage("Black.rpk", {{u"Default.skn", "<skin/>"},
                               {u"p.png", AsString(imagetest::MakePng(palette))},
                               {u"c.png", AsString(imagetest::MakePng(colour))},
                               {u"g.png", AsString(imagetest::MakePng(grey))},
                               {u"t.png", AsString(imagetest::MakePng(colour))}});
    ASSERT_TRUE(m_skin.Load(u"Black"));
    EXPECT_EQ(m_skin.AcquireImage(u"p.png", true, false)->image->Bitmap().BitsPerPixel(), 8);
    EXPECT_EQ(m_skin.AcquireImage(u"c.png", true, false)->image->Bitmap().BitsPerPixel(), 16);
    EXPECT_EQ(m_skin.AcquireImage(u"g.png", true, false)->image->Bitmap().BitsPerPixel(), 8);
    EXPECT_EQ(m_skin.AcquireImage(u"t.png", false, false)->image->Bitmap().BitsPerPixel(), 24);
}

TEST_F(SkinLoad, ReloadingReleasesEverything) {
    imagetest::PngSpec spec;
    WritePackage("Black.rpk", {{u"Default.skn", "<skin><image source=\"Bkgnd.png\"/></skin>"},
                               {u"Bkgnd.png", AsString(imagetest::MakePng(spec))}});
    ASSERT_TRUE(m_skin.Load(u"Black"));
    ASSERT_NE(m_skin.AcquireImage(u"Bkgnd.png", true, false), nullptr);
    TakeTrace();
    ASSERT_TRUE(m_skin.Load(u"Black"));
    // Teardown drops images without a "Deleted image" line; the new skin starts empty.
    for (const std::string& line : TakeTrace())
        EXPECT_EQ(line.find("Deleted image"), std::string::npos) << line;
    EXPECT_EQ(m_skin.Slot(m_skin.Package().Find(u"Bkgnd.png"))->image, nullptr);
}

// An exception while the description is read is reported with a message box.
TEST_F(SkinLoad, AnExceptionWhileReadingShowsTheMessageBox) {
    WriteDescription("Black.rpk", "<skin><button/></skin>");
    m_skin.SetDescriptorFactory([](Skin&, uint32_t) -> corlist::SkinElement* { throw std::bad_alloc(); });
    std::atomic<bool> done = false;
    std::vector<platform::OpenMessageBox> seen;
    std::thread answerer([&] {
        while (!done) {
            auto boxes = platform::MessageBoxes::List();
            if (!boxes.empty()) {
                seen = boxes;
                std::string error;
                platform::MessageBoxes::Answer(IDCANCEL, error);
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    EXPECT_FALSE(m_skin.Load(u"Black"));
    done = true;
    answerer.join();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, u"Exception in LoadSkin");
    EXPECT_EQ(seen[0].title, u"Error");
    EXPECT_EQ(seen[0].type, UINT(MB_OKCANCEL));
    EXPECT_EQ(m_skin.Root(), nullptr);
}

} // namespace
