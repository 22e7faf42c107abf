// The image control: fit arithmetic, pictures given by the page (kept or deleted as asked),
// the skin's image with a chosen sub-image, and the look on screen.
#include "ControlScreen.h"

#include "corlist/controls/ImageControl.h"
#include "corlist/image/Image.h"
#include "corlist/skin/SkinKinds.h"

#include "ce/wingdi.h"

using namespace corlist;
using controltest::ControlScreen;

namespace {

struct FitCase {
    LONG width, height;
    RECT area;
    RECT expected;
};

TEST(FitRect, KeepsTheAspectAndCentresInTheArea) {
    const FitCase cases[] = {
        {100, 50, {0, 0, 40, 40}, {0, 10, 40, 30}},      // wide: full width
        {50, 100, {0, 0, 40, 40}, {10, 0, 30, 40}},      // tall: full height
        {10, 10, {0, 0, 40, 20}, {10, 0, 30, 20}},       // small pictures are enlarged
        {30, 20, {5, 5, 35, 25}, {5, 5, 35, 25}},        // same aspect fills it
        {16384, 1, {0, 0, 120, 80}, {0, 39, 120, 40}},   // never thinner than a pixel
        {0, 10, {0, 0, 40, 40}, {0, 0, 0, 0}},           // no picture
        {10, 10, {0, 0, 0, 40}, {0, 0, 0, 0}},           // no room
        {-5, 10, {0, 0, 40, 40}, {0, 0, 0, 0}},
    };
    for (const FitCase& c : cases) {
        RECT r = FitRect(c.width, c.height, c.area);
        EXPECT_EQ(r.left, c.expected.left) << c.width << "x" << c.height;
        EXPECT_EQ(r.top, c.expected.top) << c.width << "x" << c.height;
        EXPECT_EQ(r.right, c.expected.right) << c.width << "x" << c.height;
        EXPECT_EQ(r.bottom, c.expected.bottom) << c.width << "x" << c.height;
    }
}

// A 30x20 picture whose colour changes along x and y.
uint16_t Gradient(int x, int y) {
    return uint16_t(((x * 31 / 30) << 11) | ((y * 63 / 20) << 5) | 12);
}

const char* kSkin =
    "<skin><control name='Main'><fill color='#C6D3E7'/>"
    "<imgctrl name='Icon' rect='4,4,40,40' source='icons.png' imgList='2,1'>"
    "<image name='Border' source='frame.png' transColor='#FF00FF'/></imgctrl>"
    "<imgctrl name='Photo' rect='50,4,66,72'><fill color='#000000'/></imgctrl>"
    "</control></skin>";

constexpr UINT kIcon = 1003, kPhoto = 21;
const ControlTableRow kRows[] = {{SkinKind::kImgCtrl, "Icon", kIcon}, {SkinKind::kImgCtrl, "Photo", kPhoto}, {}};

class ImageControlTest : public ControlScreen {
protected:
    void SetUp() override {
        ControlScreen::SetUp();
        // The frame: a 40x40 picture whose inside is the key colour (palette entry 5).
        Build(kSkin, {{u"icons.png", Picture(32, 16, 4)}, {u"frame.png", Picture(40, 40, 6)}}, "Main", kRows);
    }
};

TEST_F(ImageControlTest, APictureIsFittedAndASkinImageShowsItsSubImage) {
    auto& icon = Find<ImageControl>(kIcon);
    auto& photo = Find<ImageControl>(kPhoto);
    EXPECT_STREQ(photo.KindName(), "image");
    EXPECT_FALSE(photo.HasPicture());
    photo.SetPicture(Rgb565Picture(30, 20, &Gradient));
    EXPECT_TRUE(photo.HasPicture());
    RECT r = photo.PictureRect();
    EXPECT_EQ(r.left, 50);
    EXPECT_EQ(r.right, 116);
    EXPECT_EQ(r.bottom - r.top, 44);
    EXPECT_EQ(r.top, 4 + (72 - 44) / 2);
    icon.SetImageIndex(1);
    ExpectScreenMatches("control-image.png");
}

TEST_F(ImageControlTest, OwnedBitmapsAreDeletedWhenReplacedAndOthersAreLeft) {
    auto& photo = Find<ImageControl>(kPhoto);
    HDC screen = GetDC(nullptr);
    HBITMAP owned = CreateCompatibleBitmap(screen, 8, 6);
    HBITMAP kept = CreateCompatibleBitmap(screen, 8, 6);
    ReleaseDC(nullptr, screen);
    photo.SetBitmap(owned, true);
    EXPECT_EQ(photo.PictureRect().bottom - photo.PictureRect().top, 66 * 6 / 8);
    photo.SetBitmap(kept, false);
    EXPECT_EQ(GetObjectType(owned), 0u);
    photo.ClearPicture();
    EXPECT_NE(GetObjectType(kept), 0u);
    EXPECT_FALSE(photo.HasPicture());
    DeleteObject(kept);
}

} // namespace
