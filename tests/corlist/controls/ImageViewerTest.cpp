// The image viewer: fit, zoom and pan arithmetic, double taps, drags and keys, and the
// picture with its position tracker on screen.
#include "ControlScreen.h"

#include "corlist/controls/ImageViewer.h"
#include "corlist/controls/ViewGeometry.h"
#include "corlist/image/Image.h"
#include "corlist/skin/SkinKinds.h"

#include "ce/user.h"

using namespace corlist;
using controltest::ControlScreen;

namespace {

void ExpectRect(const RECT& r, LONG left, LONG top, LONG right, LONG bottom, const char* what) {
    EXPECT_EQ(r.left, left) << what;
    EXPECT_EQ(r.top, top) << what;
    EXPECT_EQ(r.right, right) << what;
    EXPECT_EQ(r.bottom, bottom) << what;
}

TEST(ViewGeometry, FitsZoomsAndPansWithinThePicture) {
    ViewGeometry view;
    view.SetPicture(200, 100);
    view.SetView(RECT{0, 0, 100, 100});
    EXPECT_DOUBLE_EQ(view.Scale(), 0.5);
    ExpectRect(view.PictureRect(), 0, 25, 100, 75, "fitted");
    ExpectRect(view.VisibleSource(), 0, 0, 200, 100, "fitted source");
    view.SetZoom(2);
    ExpectRect(view.PictureRect(), -50, 0, 150, 100, "zoom 2");
    ExpectRect(view.VisibleTarget(), 0, 0, 100, 100, "zoom 2 target");
    ExpectRect(view.VisibleSource(), 50, 0, 150, 100, "zoom 2 source");
    view.PanBy(80, 30); // as far as the left edge; no room up and down
    ExpectRect(view.VisibleSource(), 0, 0, 100, 100, "panned left");
    view.PanBy(-500, 0);
    ExpectRect(view.VisibleSource(), 100, 0, 200, 100, "panned right");
    view.SetZoom(100);
    EXPECT_EQ(view.Zoom(), ViewGeometry::kMaxZoom);
    EXPECT_DOUBLE_EQ(view.Scale(), 4);
    ExpectRect(view.VisibleSource(), 138, 38, 163, 63, "zoom 8 keeps the centre");
    view.SetZoom(0);
    EXPECT_EQ(view.Zoom(), 1);
    ExpectRect(view.PictureRect(), 0, 25, 100, 75, "back to fit");
    view.SetZoom(4);
    view.CentreOn(10, 50); // picture point 80 is shown at x 10
    EXPECT_DOUBLE_EQ(view.CentreX(), 80);
    view.CentreOn(-1000, 50); // held inside: half the view is 25 picture pixels
    EXPECT_DOUBLE_EQ(view.CentreX(), 25);
    view.SetZoom(1);
    view.ZoomAt(2, 75, 50); // picture point 150 was shown there
    EXPECT_DOUBLE_EQ(view.CentreX(), 150);
    ViewGeometry empty;
    empty.SetView(RECT{0, 0, 100, 100});
    EXPECT_EQ(empty.Scale(), 0);
    EXPECT_TRUE(IsEmptyRect(empty.VisibleSource()));
    empty.SetPicture(10, 10);
    empty.SetView(RECT{0, 0, 0, 100}); // no room: no scale, nothing divided
    EXPECT_EQ(empty.Scale(), 0);
    EXPECT_TRUE(IsEmptyRect(empty.PictureRect()));
}

// Squares of 10 pixels on a 240 pixel wide picture: yellow, and a blue growing red.
uint16_t Checks(int x, int y) {
    return ((x / 10 + y / 10) % 2) ? uint16_t(0xFFE0) : uint16_t(((x * 31 / 240) << 11) | 0x1F);
}

const char* kSkin =
    "<skin><control name='Main'><imageview name='Photo' rect='0,0,120,80' tracker='-34,-26,30,22' "
    "trackerCol='#FFFFFF' opacity='50'><fill color='#000000'/></imageview></control></skin>";

constexpr UINT kPhoto = 60;
const ControlTableRow kRows[] = {{SkinKind::kImageView, "Photo", kPhoto}, {}};

class ImageViewerTest : public ControlScreen {
protected:
    void SetUp() override {
        ControlScreen::SetUp();
        Build(kSkin, {}, "Main", kRows);
        m_viewer = &Find<ImageViewer>(kPhoto);
        m_viewer->SetPicture(Rgb565Picture(240, 160, &Checks));
    }
    ImageViewer* m_viewer = nullptr;
};

TEST_F(ImageViewerTest, ADoubleTapZoomsAtThePointAndDraggingPans) {
    EXPECT_EQ(m_viewer->Text(), u"100%");
    ExpectRect(m_viewer->TrackerRect(), 86, 54, 116, 76, "tracker");
    Tap(30, 20);
    EXPECT_EQ(m_viewer->Geometry().Zoom(), 1);
    Tap(30, 20);
    EXPECT_EQ(m_viewer->Geometry().Zoom(), 2);
    EXPECT_DOUBLE_EQ(m_viewer->Geometry().CentreX(), 60); // tapped picture point, held inside
    EXPECT_DOUBLE_EQ(m_viewer->Geometry().CentreY(), 40);
    EXPECT_EQ(m_viewer->Text(), u"200%");
    Down(60, 40);
    Move(40, 30);
    Up(20, 20); // the picture follows the pen: the centre moves the other way
    EXPECT_DOUBLE_EQ(m_viewer->Geometry().CentreX(), 100);
    EXPECT_DOUBLE_EQ(m_viewer->Geometry().CentreY(), 60);
    Tap(60, 60);
    Tap(60, 60); // a double tap while zoomed fits again
    EXPECT_EQ(m_viewer->Geometry().Zoom(), 1);
    Down(60, 40);
    Up(10, 10); // a fitted picture does not move
    EXPECT_DOUBLE_EQ(m_viewer->Geometry().CentreX(), 120);
}

TEST_F(ImageViewerTest, KeysZoomByStepsAndPanWhileZoomed) {
    EXPECT_EQ(m_viewer->OnKey(WM_KEYDOWN, VK_DOWN, 0), -1); // fitted already
    EXPECT_EQ(m_viewer->OnKey(WM_KEYDOWN, VK_LEFT, 0), -1);
    for (int zoom : {2, 4, 8}) {
        EXPECT_EQ(m_viewer->OnKey(WM_KEYDOWN, VK_UP, 0), 0);
        EXPECT_EQ(m_viewer->Geometry().Zoom(), zoom);
    }
    EXPECT_EQ(m_viewer->OnKey(WM_KEYDOWN, VK_UP, 0), -1);
    double centre = m_viewer->Geometry().CentreX();
    EXPECT_EQ(m_viewer->OnKey(WM_KEYDOWN, VK_RIGHT, 0), 0);
    EXPECT_GT(m_viewer->Geometry().CentreX(), centre);
    EXPECT_EQ(m_viewer->OnKey(WM_KEYDOWN, VK_DOWN, 0), 0);
    EXPECT_EQ(m_viewer->Geometry().Zoom(), 4);
}

TEST_F(ImageViewerTest, AZoomedPictureWithItsTracker) {
    m_viewer->SetZoom(2);
    ExpectScreenMatches("control-viewer.png");
}

} // namespace
