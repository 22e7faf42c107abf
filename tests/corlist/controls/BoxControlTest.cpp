// The box control: its separator and style words, the split of a focused box, paging
// arrows and taps, and the look of boxes (also painted without a control, as menu rows do).
#include "ControlScreen.h"

#include "corlist/controls/BoxControl.h"
#include "corlist/controls/BoxElement.h"
#include "corlist/controls/BoxPainter.h"
#include "corlist/skin/SkinKinds.h"
#include "corlist/skin/SkinMetrics.h"

#include "ce/user.h"

using namespace corlist;
using controltest::ControlScreen;

namespace {

TEST(BoxElement, SeparatorIsAPercentageOrScaledPixels) {
    const struct {
        const char* value;
        int scale;
        int expected; // in a box 120 wide
    } cases[] = {
        {"50%", 1, 60}, {"0%", 1, 0},    {"100%", 1, 120}, {"150%", 1, 39}, {"-5%", 1, 39}, {"20", 1, 20},
        {"20", 2, 40},  {"500", 1, 120}, {"-7", 1, 0},     {"abc", 1, 0},   {"", 1, 0},
    };
    int scale = CoordinateScale();
    for (const auto& c : cases) {
        SetCoordinateScale(c.scale);
        BoxElement element;
        common::NodeArena arena;
        EXPECT_TRUE(element.SetAttribute("Separator", c.value, arena));
        EXPECT_EQ(element.SeparatorPosition(120), c.expected) << c.value << " x" << c.scale;
        EXPECT_EQ(element.SeparatorPosition(0), 0);
    }
    SetCoordinateScale(scale);
}

TEST(BoxElement, StyleWordsAreCaseSensitive) {
    const struct {
        const char* value;
        uint32_t expected;
    } cases[] = {
        {"round", 0x6},        {"rup,rdown", 0x6},     {"Round,RUP", 0}, {" textsmall , multirows ", 0x21},
        {"singlebox", 0x10},   {"", 0},                {"roundx", 0},    {"rup,,hide", 0x2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseBoxStyle(c.value), c.expected) << c.value;
    BoxElement element;
    common::NodeArena arena;
    element.SetAttribute("style", "rdown,hide", arena);
    EXPECT_EQ(element.BoxStyleBits(), BoxStyle::kRoundBottom);
    EXPECT_FALSE(element.Style() & ControlStyle::kVisible); // the control's words still count
}

TEST(SplitBox, TheFocusedPartTakesTheLeftCorners) {
    const RECT box{10, 0, 130, 30};
    const uint32_t all = Corner::kLeft | Corner::kRight;
    BoxParts parts = SplitBox(box, 40, all, true);
    EXPECT_EQ(parts.focus.left, 10);
    EXPECT_EQ(parts.focus.right, 50);
    EXPECT_EQ(parts.rest.left, 50);
    EXPECT_EQ(parts.rest.right, 130);
    EXPECT_EQ(parts.focusCorners, Corner::kLeft);
    EXPECT_EQ(parts.restCorners, Corner::kRight);
    for (auto [separator, split] : {std::pair{40, false}, std::pair{0, true}}) {
        parts = SplitBox(box, separator, BoxCorners(BoxStyle::kRoundTop), split);
        EXPECT_TRUE(IsEmptyRect(parts.focus));
        EXPECT_EQ(parts.rest.left, 10);
        EXPECT_EQ(parts.rest.right, 130);
        EXPECT_EQ(parts.restCorners, Corner::kTopLeft | Corner::kTopRight);
    }
    parts = SplitBox(box, 500, all, true);
    EXPECT_EQ(parts.focus.right, 130);
    EXPECT_TRUE(IsEmptyRect(parts.rest));
}

const char* kSkin =
    "<skin><control name='Main'><fill color='#E0E0E0'/>"
    "<boxctrl name='Number' rect='2,2,116,24' separator='30%' style='round'>"
    "<fill name='Text' color='#FFFFFF'/><fill name='TextFocus' color='#C6D3E7'/>"
    "<fill name='Focus' color='#10489C' gradient='#6A8FD0'/><fill name='header' color='#404040'/>"
    "<font size='8' color='#606060'/><font name='TextLarge' size='10' color='#000000' weight='700'/>"
    "<font name='Disabled' size='10' color='#A0A0A0'/>"
    "<image name='Check' source='check.png'/><image name='prev' source='arrow.png'/>"
    "<image name='next' source='arrow.png'/></boxctrl>"
    "<boxctrl name='Mail' rect='2,28,116,24' separator='30%' style='rdown,textsmall'>"
    "<fill name='Text' color='#FFFFFF'/><font size='8' color='#000000'/>"
    "<font name='Disabled' size='9' color='#A0A0A0'/></boxctrl>"
    "</control></skin>";

constexpr UINT kNumber = 40, kMail = 41;
const ControlTableRow kRows[] = {{SkinKind::kBoxCtrl, "Number", kNumber}, {SkinKind::kBoxCtrl, "Mail", kMail}, {}};

class BoxControlTest : public ControlScreen {
protected:
    void SetUp() override {
        ControlScreen::SetUp();
        Build(kSkin, {{u"check.png", Picture(8, 8, 2)}, {u"arrow.png", Picture(6, 10, 3)}}, "Main", kRows);
        m_number = &Find<BoxControl>(kNumber);
        m_number->SetText(u"Mobile");
        m_number->SetSecondText(u"555 0100");
    }
    BoxControl* m_number = nullptr;
};

TEST_F(BoxControlTest, TapsSendTheCommandAndArrowsSendPagingCodes) {
    EXPECT_STREQ(m_number->KindName(), "box");
    EXPECT_EQ(m_number->Text(), u"Mobile");
    Tap(60, 12);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].Number(), kNumber);
    EXPECT_EQ(commands[0].Code(), 0);
    Tap(4, 12); // no arrows yet: an ordinary tap
    EXPECT_EQ(commands.size(), 2u);
    m_number->SetPaging(true, true);
    Tap(4, 12);
    Tap(115, 12);
    ASSERT_EQ(commands.size(), 4u);
    EXPECT_EQ(commands[2].Code(), BoxControl::kPagePrevious);
    EXPECT_EQ(commands[3].Code(), BoxControl::kPageNext);
    Down(4, 12);
    Up(60, 12); // released off the arrow: nothing
    EXPECT_EQ(commands.size(), 4u);
    m_number->SetEnabled(false);
    Tap(60, 12);
    EXPECT_EQ(commands.size(), 4u);
}

TEST_F(BoxControlTest, KeysPageAndTheActionKeySendsTheCommand) {
    m_number->SetFocus();
    EXPECT_TRUE(m_number->HasFocus());
    EXPECT_EQ(m_number->OnKey(WM_KEYDOWN, VK_LEFT, 0), -1); // no arrows
    m_number->SetPaging(false, true);
    EXPECT_EQ(m_number->OnKey(WM_KEYDOWN, VK_RIGHT, 0), 0);
    EXPECT_EQ(m_number->OnKey(WM_KEYDOWN, VK_RETURN, 0), 0);
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0].Code(), BoxControl::kPageNext);
    EXPECT_EQ(commands[1].Code(), 0);
}

TEST_F(BoxControlTest, FocusedSplitCheckedDisabledAndAHeaderRow) {
    m_number->SetFocus();
    m_number->SetChecked(true);
    m_number->SetPaging(true, false);
    auto& mail = Find<BoxControl>(kMail);
    mail.SetText(u"Home mail");
    mail.SetEnabled(false);
    ExpectScreenMatches("control-box.png", 16, 150);
}

TEST_F(BoxControlTest, ABoxIsPaintedWithoutAControl) {
    DrawSurface& surface = *m_host.Surface();
    RECT all{0, 0, 120, 80};
    surface.SetClip(all);
    Screen().Paint(surface, all);
    auto* element = static_cast<BoxElement*>(m_number->Descriptor());
    BoxRow header;
    header.text = u"Header";
    header.style = BoxStyle::kHeader | BoxStyle::kRoundTop | BoxStyle::kTextSmall;
    header.focused = true; // a header row never splits
    PaintBox(surface, *element, RECT{10, 54, 110, 78}, all, header);
    // The corner pixels outside the quarter circles keep the screen's fill.
    EXPECT_EQ(surface.Pixel(10, 54), surface.Pixel(5, 54));
    EXPECT_EQ(surface.Pixel(109, 54), surface.Pixel(5, 54));
    EXPECT_NE(surface.Pixel(60, 54), surface.Pixel(5, 54));
    EXPECT_NE(surface.Pixel(10, 77), surface.Pixel(5, 54)); // the bottom is square
}

} // namespace
