// Painting order of a screen without a skin: children over their parent, clipped to the
// area asked for, own surfaces painted only when they changed, owner-drawn children.
#include "corlist/controls/Control.h"
#include "corlist/controls/ControlOwner.h"
#include "corlist/skin/DrawSurface.h"
#include "support/TestDevice.h"

#include "ce/user.h"

#include <string>
#include <vector>

using namespace corlist;

namespace {

std::vector<std::string> g_painted;

class Patch : public Control {
public:
    Patch(std::string name, uint16_t colour) : m_name(std::move(name)), m_colour(colour) {}
    void Paint(DrawSurface& surface, const RECT& clip) override {
        g_painted.push_back(m_name);
        RECT area = surface.Clipped(Rect());
        for (LONG y = area.top; y < area.bottom; ++y)
            for (LONG x = area.left; x < area.right; ++x)
                surface.Row(int(y))[x] = m_colour;
        PaintContent(surface, clip);
    }

private:
    std::string m_name;
    uint16_t m_colour;
};

class FakeOwner : public ControlOwner {
public:
    HWND Window() const override { return nullptr; }
    void InvalidateArea(const RECT&) override {}
    bool IsBuilding() const override { return false; }
    void SetBuilding(bool) override {}
    RECT ClientArea() const override { return {0, 0, 40, 40}; }
    void SetCurrentScreen(Control*) override {}
    Control* CurrentScreen() const override { return nullptr; }
    DrawSurface* Surface() override { return nullptr; }
    void SetModal(Control*) override {}
    Control* Modal() const override { return nullptr; }
};

class ControlPaint : public testsupport::TestDevice {
protected:
    void SetUp() override {
        TestDevice::SetUp();
        g_painted.clear();
        ASSERT_TRUE(m_surface.Create(40, 40));
        m_root.SetOwner(&m_owner);
        RECT all{0, 0, 40, 40};
        m_root.SetRect(&all);
    }
    Patch* Add(Control& parent, const std::string& name, uint16_t colour, RECT rect) {
        auto patch = std::make_unique<Patch>(name, colour);
        Patch* raw = patch.get();
        parent.AddChild(std::move(patch), true);
        raw->SetRect(&rect);
        return raw;
    }
    void PaintAll() {
        RECT all{0, 0, 40, 40};
        m_surface.SetClip(all);
        m_root.Paint(m_surface, all);
    }

    FakeOwner m_owner;
    DrawSurface m_surface;
    Patch m_root{"root", 0x0000};
};

TEST_F(ControlPaint, ChildrenPaintOverTheirParentInOrderAndOnlyWhereAsked) {
    Patch* a = Add(m_root, "a", 0xF800, RECT{0, 0, 20, 20});
    Add(m_root, "b", 0x07E0, RECT{10, 10, 30, 30});
    Add(*a, "a1", 0x001F, RECT{0, 0, 5, 5});
    PaintAll();
    EXPECT_EQ(g_painted, (std::vector<std::string>{"root", "a", "a1", "b"}));
    EXPECT_EQ(m_surface.Pixel(15, 15), 0x07E0); // b lies over a
    EXPECT_EQ(m_surface.Pixel(2, 2), 0x001F);
    g_painted.clear();
    RECT corner{32, 32, 40, 40};
    m_surface.SetClip(corner);
    m_root.Paint(m_surface, corner);
    EXPECT_EQ(g_painted, (std::vector<std::string>{"root"}));
    // A hidden child is not painted.
    a->SetFlags(ControlState::kVisible, 0, false);
    g_painted.clear();
    PaintAll();
    EXPECT_EQ(g_painted, (std::vector<std::string>{"root", "b"}));
}

TEST_F(ControlPaint, AControlWithItsOwnSurfacePaintsOnlyAfterAChange) {
    Patch* cached = Add(m_root, "cached", 0xF800, RECT{5, 5, 25, 25});
    cached->SetFlags(0, ControlState::kCachedSurface, false);
    PaintAll();
    PaintAll();
    EXPECT_EQ(g_painted, (std::vector<std::string>{"root", "cached", "root"}));
    EXPECT_EQ(m_surface.Pixel(10, 10), 0xF800); // copied from its own surface
    EXPECT_EQ(m_surface.Pixel(30, 30), 0x0000);
    cached->Invalidate();
    g_painted.clear();
    PaintAll();
    EXPECT_EQ(g_painted, (std::vector<std::string>{"root", "cached"}));
}

} // namespace
