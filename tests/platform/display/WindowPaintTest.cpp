// Window DCs and painting against a booted device: WM_PAINT and WM_ERASEBKGND in order,
// the class brush, clipping of children by their parent and siblings, and the
// compositor's z-order with the topmost band.
#include "DisplayTestSupport.h"

#include <vector>

using displaytest::DisplayTest;
using displaytest::Hook;

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kYellow = RGB(255, 255, 0);

class WindowPaint : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        RegisterBrushClass(u"White", kWhite);
        RegisterBrushClass(u"Red", kRed);
        RegisterBrushClass(u"Blue", kBlue);
        RegisterBrushClass(u"Green", kGreen);
        RegisterBrushClass(u"Yellow", kYellow);
        RegisterBrushClass(u"Bare", CLR_INVALID);
    }
};

TEST_F(WindowPaint, ChildrenAreClippedByTheirParentAndTheSiblingsAbove) {
    HWND top = Make(u"White", WS_POPUP | WS_VISIBLE, RECT{10, 40, 74, 88});
    HWND a = Make(u"Red", WS_CHILD | WS_VISIBLE, RECT{4, 4, 36, 28}, top);
    HWND b = Make(u"Blue", WS_CHILD | WS_VISIBLE, RECT{20, 16, 56, 40}, top); // above a
    // Inside a, reaching out of it and under b.
    Make(u"Green", WS_CHILD | WS_VISIBLE, RECT{20, 4, 48, 20}, a);
    ASSERT_TRUE(top && a && b);
    Pump();
    struct Probe {
        int x, y; // screen
        COLORREF expected;
        const char* what;
    } probes[] = {
        {10 + 1, 40 + 1, kWhite, "parent"},
        {10 + 5, 40 + 5, kRed, "first child"},
        {10 + 30, 40 + 10, kGreen, "grandchild inside its parent"},
        {10 + 40, 40 + 10, kWhite, "grandchild clipped by its parent"},
        {10 + 30, 40 + 20, kBlue, "sibling above covers the grandchild and its parent"},
        {10 + 55, 40 + 39, kBlue, "second child"},
        {10 + 60, 40 + 45, kWhite, "parent again"},
        {5, 40, RGB(0, 0, 0), "no window"},
    };
    for (const Probe& probe : probes)
        EXPECT_EQ(ScreenPixel(probe.x, probe.y), On565(probe.expected)) << probe.what;
    ExpectScreenMatchesGolden(RECT{10, 40, 74, 88}, "window-children.png");
}

TEST_F(WindowPaint, EraseComesInsidePaintAndFillsWithTheClassBrush) {
    std::vector<UINT> order;
    Hook() = [&](HWND, UINT message, WPARAM, LPARAM, LRESULT&) {
        if (message == WM_PAINT || message == WM_ERASEBKGND)
            order.push_back(message);
        return false;
    };
    HWND window = Make(u"Yellow", WS_POPUP | WS_VISIBLE, RECT{0, 0, 30, 30});
    Pump();
    EXPECT_EQ(order, (std::vector<UINT>{WM_PAINT, WM_ERASEBKGND}));
    EXPECT_EQ(ScreenPixel(15, 15), On565(kYellow));
    // Without erasing, only WM_PAINT comes.
    order.clear();
    InvalidateRect(window, nullptr, FALSE);
    Pump();
    EXPECT_EQ(order, (std::vector<UINT>{WM_PAINT}));
}

TEST_F(WindowPaint, PaintStructTellsWhetherTheWindowMustErase) {
    struct Case {
        const char16_t* className;
        bool handleErase;
        BOOL expectedErase;
    } cases[] = {
        {u"Red", false, FALSE},  // DefWindowProcW filled with the brush
        {u"Bare", false, TRUE},  // no brush: nothing erased
        {u"Bare", true, FALSE},  // the window erased itself
    };
    for (const Case& c : cases) {
        PAINTSTRUCT seen{};
        Hook() = [&](HWND hwnd, UINT message, WPARAM, LPARAM, LRESULT& result) {
            if (message == WM_ERASEBKGND && c.handleErase) {
                result = 1;
                return true;
            }
            if (message != WM_PAINT)
                return false;
            BeginPaint(hwnd, &seen);
            EndPaint(hwnd, &seen);
            return true;
        };
        HWND window = Make(c.className, WS_POPUP | WS_VISIBLE, RECT{0, 0, 20, 20});
        Pump();
        EXPECT_EQ(seen.fErase, c.expectedErase) << int(&c - cases);
        EXPECT_EQ(seen.rcPaint.right, 20);
        DestroyWindow(window);
    }
}

TEST_F(WindowPaint, BeginPaintDrawsOnlyInsideTheUpdateArea) {
    bool blacken = false;
    Hook() = [&](HWND hwnd, UINT message, WPARAM, LPARAM, LRESULT&) {
        if (message != WM_PAINT || !blacken)
            return false;
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd, &paint);
        RECT all{0, 0, 100, 100};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        EndPaint(hwnd, &paint);
        return true;
    };
    HWND window = Make(u"White", WS_POPUP | WS_VISIBLE, RECT{0, 0, 40, 40});
    Pump();
    blacken = true;
    RECT part{10, 10, 20, 20};
    InvalidateRect(window, &part, FALSE);
    Pump();
    EXPECT_EQ(ScreenPixel(15, 15), RGB(0, 0, 0));
    EXPECT_EQ(ScreenPixel(25, 25), On565(kWhite));
    RECT update;
    EXPECT_FALSE(GetUpdateRect(window, &update, FALSE));
}

TEST_F(WindowPaint, AHiddenOrMovedChildLeavesItsPlaceToTheParent) {
    HWND top = Make(u"White", WS_POPUP | WS_VISIBLE, RECT{0, 0, 60, 60});
    HWND child = Make(u"Red", WS_CHILD | WS_VISIBLE, RECT{10, 10, 30, 30}, top);
    Pump();
    ASSERT_EQ(ScreenPixel(15, 15), On565(kRed));
    MoveWindow(child, 30, 30, 20, 20, TRUE);
    Pump();
    EXPECT_EQ(ScreenPixel(15, 15), On565(kWhite));
    EXPECT_EQ(ScreenPixel(35, 35), On565(kRed));
    ShowWindow(child, SW_HIDE);
    Pump();
    EXPECT_EQ(ScreenPixel(35, 35), On565(kWhite));
}

TEST_F(WindowPaint, GetDcDrawsThroughAndReleaseDcRefusesMemoryDcs) {
    HWND window = Make(u"White", WS_POPUP | WS_VISIBLE, RECT{0, 0, 20, 20});
    Pump();
    HDC dc = GetDC(window);
    ASSERT_NE(dc, nullptr);
    SetPixel(dc, 3, 4, kBlue);
    EXPECT_EQ(ReleaseDC(window, dc), 1);
    EXPECT_EQ(ScreenPixel(3, 4), On565(kBlue));
    HDC memory = CreateCompatibleDC(nullptr);
    EXPECT_EQ(ReleaseDC(window, memory), 0);
    EXPECT_TRUE(DeleteDC(memory));
    EXPECT_EQ(GetDC(reinterpret_cast<HWND>(0x12340)), nullptr);
    HDC screen = GetDC(nullptr);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, HORZRES), 240);
    ReleaseDC(nullptr, screen);
}

TEST_F(WindowPaint, TheCompositorStacksTopLevelWindowsInZOrderWithTheTopmostBandFirst) {
    HWND pinned = Make(u"Green", WS_POPUP | WS_VISIBLE, RECT{0, 0, 40, 40}, nullptr, WS_EX_TOPMOST);
    HWND lower = Make(u"Red", WS_POPUP | WS_VISIBLE, RECT{20, 20, 80, 80});
    HWND upper = Make(u"Blue", WS_POPUP | WS_VISIBLE, RECT{50, 50, 100, 100});
    Pump();
    EXPECT_EQ(ScreenPixel(30, 30), On565(kGreen)) << "the topmost window stays above later ones";
    EXPECT_EQ(ScreenPixel(60, 60), On565(kBlue));
    SetWindowPos(lower, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    Pump();
    EXPECT_EQ(ScreenPixel(60, 60), On565(kRed));
    EXPECT_EQ(ScreenPixel(30, 30), On565(kGreen));
    ShowWindow(pinned, SW_HIDE);
    Pump();
    EXPECT_EQ(ScreenPixel(30, 30), On565(kRed));
    EXPECT_EQ(ScreenPixel(10, 10), RGB(0, 0, 0));
    DestroyWindow(upper);
    EXPECT_EQ(ScreenPixel(90, 90), RGB(0, 0, 0));
}

} // namespace
