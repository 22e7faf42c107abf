// The tab control: slot and icon arithmetic, selection by the pen with the command words it
// sends, highlighting, owner drawing, a control without tabs, and its look.
#include "ControlScreen.h"

#include "corlist/controls/TabControl.h"
#include "corlist/controls/TabElement.h"
#include "corlist/skin/SkinKinds.h"

using namespace corlist;
using controltest::ControlScreen;

namespace {

struct SlotCase {
    int count;
    int twoTabWidth;
    std::vector<std::pair<LONG, LONG>> expected; // left, right of each slot
};

TEST(TabSlots, EqualSlotsOrTwoTabsAtTheEnds) {
    const RECT area{10, 5, 130, 45};
    const SlotCase cases[] = {
        {0, 16, {}},
        {1, 16, {{10, 130}}},
        {3, 16, {{10, 50}, {50, 90}, {90, 130}}},
        {7, 16, {{10, 27}, {27, 44}, {44, 61}, {61, 78}, {78, 95}, {95, 112}, {112, 130}}},
        {2, 16, {{10, 26}, {104, 120}}}, // the second ends 10 before the right edge
        {2, 0, {{10, 70}, {60, 120}}},   // no icon: half the width each
        {2, 500, {{10, 70}, {60, 120}}}, // never wider than half
    };
    for (const SlotCase& c : cases) {
        std::vector<RECT> slots = TabSlots(area, c.count, c.twoTabWidth, 10);
        ASSERT_EQ(slots.size(), c.expected.size()) << c.count;
        for (size_t i = 0; i < slots.size(); ++i) {
            EXPECT_EQ(slots[i].left, c.expected[i].first) << c.count << " tab " << i;
            EXPECT_EQ(slots[i].right, c.expected[i].second) << c.count << " tab " << i;
            EXPECT_EQ(slots[i].top, 5);
            EXPECT_EQ(slots[i].bottom, 45);
        }
    }
    EXPECT_TRUE(TabSlots(RECT{10, 0, 10, 40}, 3, 16, 10).empty()); // no width to divide
}

TEST(TabIconOrigin, CentredThenRaisedForTheReflectionAndTheLabel) {
    const RECT area{0, 0, 120, 40}, slot{40, 0, 80, 40};
    const SIZE icon{16, 16};
    const struct {
        uint32_t style;
        POINT expected;
    } cases[] = {
        {0, {52, 12}},
        {TabStyle::kMirror, {52, 8}},
        {TabStyle::kText, {52, 12 - 7}},
        {TabStyle::kMirror | TabStyle::kText, {52, 8 - 7}},
    };
    for (const auto& c : cases) {
        POINT origin = TabIconOrigin(slot, area, icon, c.style, 1);
        EXPECT_EQ(origin.x, c.expected.x) << c.style;
        EXPECT_EQ(origin.y, c.expected.y) << c.style;
    }
}

const char* kSkin =
    "<skin><control name='Main'><fill color='#FFFFFF'/>"
    "<tabctrl name='Tabs' rect='0,0,0,48' style='mirror,TEXT'>"
    "<fill color='#10489C' gradient='#000000'/>"
    "<fill name='Selected' color='#6A8FD0'/>"
    "<image source='icons.png' imgList='3,1'/>"
    "<image name='Pressed' source='pressed.png' imgList='3,1'/>"
    "<font size='8' color='#C0C0C0'/><font name='Selected' size='8' color='#FFFFFF' weight='700'/>"
    "</tabctrl>"
    "<tabctrl name='Empty' rect='0,50,0,30'><fill color='#404040'/></tabctrl>"
    "</control></skin>";

constexpr UINT kTabs = 30, kEmpty = 31;
constexpr UINT kCalls = 2001, kContacts = 2002, kMessages = 2003;
const ControlTableRow kRows[] = {{SkinKind::kTabCtrl, "Tabs", kTabs}, {SkinKind::kTabCtrl, "Empty", kEmpty}, {}};

class TabControlTest : public ControlScreen {
protected:
    void SetUp() override {
        ControlScreen::SetUp();
        Build(kSkin, {{u"icons.png", Picture(42, 14, 3)}, {u"pressed.png", Picture(42, 14)}}, "Main", kRows);
        m_tabs = &Find<TabControl>(kTabs);
        m_tabs->AddTab(kCalls, 0);
        m_tabs->AddTab(kContacts, 1, 1);
        m_tabs->AddTab(kMessages, 2, 2);
        m_tabs->SetTabLabel(0, u"Calls");
        m_tabs->SetTabLabel(1, u"People");
        m_tabs->SetTabLabel(2, u"SMS");
    }
    TabControl* m_tabs = nullptr;
};

TEST_F(TabControlTest, ReleasingOnATabSelectsItAndSendsItsCommandWords) {
    EXPECT_EQ(m_tabs->TabRect(1).left, 40);
    EXPECT_EQ(m_tabs->Selected(), -1);
    Tap(50, 20);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].Number(), kContacts);
    EXPECT_EQ(commands[0].Code(), 0xFFFF); // none was selected before
    EXPECT_EQ(commands[0].lParam, 1);
    EXPECT_EQ(m_tabs->Text(), u"People");
    Tap(110, 20);
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[1].Number(), kMessages);
    EXPECT_EQ(commands[1].Code(), 1);
    EXPECT_EQ(commands[1].lParam, 2);
    EXPECT_EQ(m_tabs->Selected(), 2);
}

TEST_F(TabControlTest, ThePenHighlightsAndAReleaseOutsideKeepsTheSelection) {
    m_tabs->Select(0);
    Down(50, 20);
    EXPECT_EQ(m_tabs->Highlighted(), 1);
    Move(100, 20);
    EXPECT_EQ(m_tabs->Highlighted(), 2);
    Move(100, 70); // off the tabs
    EXPECT_EQ(m_tabs->Highlighted(), -1);
    Up(100, 70);
    EXPECT_EQ(m_tabs->Selected(), 0);
    EXPECT_EQ(m_tabs->Highlighted(), -1);
    EXPECT_TRUE(commands.empty());
}

TEST_F(TabControlTest, AControlWithoutTabsLaysOutAndAnswersNothing) {
    auto& empty = Find<TabControl>(kEmpty);
    EXPECT_EQ(empty.TabCount(), 0);
    empty.SetRect(&empty.Rect()); // lays out again with no tabs
    EXPECT_EQ(empty.TabAt(10, 60), -1);
    Tap(10, 60);
    EXPECT_TRUE(commands.empty());
    EXPECT_EQ(empty.Text(), u"");
    m_tabs->RemoveAllTabs();
    m_tabs->SetRect(nullptr);
    EXPECT_EQ(m_tabs->Selected(), -1);
    ExpectScreenMatches("control-tab-empty.png");
}

TEST_F(TabControlTest, AnOwnerDrawnControlAsksForEachTab) {
    m_tabs->Select(2);
    m_tabs->SetOwnerDraw(true);
    drawAnswer = 1;
    ExpectScreenMatches("control-tab-owner.png"); // the background and the selected fill only
    ASSERT_EQ(drawRequests.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(drawRequests[i].control, kTabs);
        EXPECT_EQ(drawRequests[i].item, m_tabs->TabCommand(int(i)));
        EXPECT_EQ(drawRequests[i].rect.left, m_tabs->TabRect(int(i)).left);
        EXPECT_EQ(drawRequests[i].rect.right, m_tabs->TabRect(int(i)).right);
    }
}

TEST_F(TabControlTest, TabsWithReflectionsAndLabels) {
    m_tabs->Select(1);
    ExpectScreenMatches("control-tab.png", 16, 120);
}

} // namespace
