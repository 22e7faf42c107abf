// The letter bar's preview: while a finger rests on a letter the big letter is painted
// centred over the list in the "LetterPreview" look, follows the finger to other letters,
// and goes away on release; "previewSize" falls back to 50,50.
#include "ControlScreen.h"

#include "corlist/controls/ControlFactory.h"
#include "corlist/controls/LetterBar.h"
#include "corlist/controls/LetterBarElement.h"
#include "corlist/controls/ListView.h"
#include "corlist/skin/SkinKinds.h"

#include "ce/uiview.h"

#include <string>
#include <vector>

using namespace corlist;

namespace {

constexpr UINT kList = 40;
constexpr UINT kBar = 41;
const ControlTableRow kTable[] = {{SkinKind::kListView, "list", kList}, {SkinKind::kLetterBar, "letters", kBar}, {}};

const char* kSkin =
    "<skin><control name='Main'>"
    "<listview name='List' rect='0,0,-24,0'><grid itemRect='0,0,0,20'/><fill color='#FFFFFF'/>"
    "<fill name='Stripped' color='#DDE6F4'/><fill name='Row' color='#F4F4F4'/></listview>"
    "<letterbar name='Letters' rect='-24,0,0,0' previewSize='40,36'><font color='#000000' size='9'/>"
    "<fill name='LetterBkgnd' color='#E0E0E0'/><color name='ValLetter' color='#000000'/>"
    "<color name='InvLetter' color='#A0A0A0'/><color name='SelLetter' color='#FFFFFF'/>"
    "<fill name='Selection' color='#3169C6'/>"
    "<LetterPreview><fill color='#404040'/><font color='#FFFFFF' size='24' weight='700'/></LetterPreview>"
    "</letterbar></control></skin>";

struct LineSink : IUiSink {
    std::vector<std::string> lines;
    void Item(int, const UI_ITEM&) override {}
    void Line(int, const char* text) override { lines.emplace_back(text); }
};

class LetterPreviewTest : public controltest::ControlScreen {
protected:
    void Open() {
        Build(kSkin, {}, "Main", kTable, 160, 120);
        m_list = &Find<ListView>(kList);
        m_bar = &Find<LetterBar>(kBar);
        m_list->SetItemCount(60);
        m_bar->SetLetters({{u'A', 20, 0, 0}, {u'M', 20, 20, 0}, {u'Z', 20, 40, 0}});
    }
    // The centre of the cell of the shown letter `ch`.
    POINT CellOf(WCHAR ch) {
        const std::vector<BarLetter>& shown = m_bar->Shown();
        for (size_t k = 0; k < shown.size(); ++k)
            if (shown[k].ch == ch) {
                int bottom = k + 1 < shown.size() ? shown[k + 1].position : 120;
                return POINT{148, (shown[k].position + bottom) / 2};
            }
        ADD_FAILURE() << "no letter " << char(ch);
        return POINT{};
    }
    std::vector<std::string> BarLines() {
        LineSink sink;
        m_bar->Describe(sink, 0, POINT{0, 0});
        return sink.lines;
    }

    ListView* m_list = nullptr;
    LetterBar* m_bar = nullptr;
};

TEST_F(LetterPreviewTest, ThePreviewFollowsTheFingerAndGoesOnRelease) {
    Open();
    EXPECT_FALSE(m_bar->Preview().IsShown());
    EXPECT_EQ(m_list->Preview(), nullptr);
    POINT m = CellOf(u'M');
    Down(m.x, m.y);
    ASSERT_TRUE(m_bar->Preview().IsShown());
    EXPECT_EQ(m_bar->Preview().Letter(), u'M');
    EXPECT_EQ(m_list->Preview(), &m_bar->Preview());
    EXPECT_EQ(m_list->ScrollPosition(), 20 * 20); // the list jumped to M's first entry
    // Centred over the list (136 x 120).
    RECT area = m_bar->Preview().Area(m_list->Rect());
    EXPECT_EQ(area.left, 48);
    EXPECT_EQ(area.top, 42);
    EXPECT_EQ(area.right, 88);
    EXPECT_EQ(area.bottom, 78);
    EXPECT_EQ(BarLines().back(), "preview \"M\"");
    POINT z = CellOf(u'Z');
    Move(z.x, z.y);
    EXPECT_EQ(m_bar->Preview().Letter(), u'Z');
    Up(z.x, z.y);
    EXPECT_FALSE(m_bar->Preview().IsShown());
    EXPECT_EQ(m_list->Preview(), nullptr);
    EXPECT_EQ(BarLines().back().rfind("letters ", 0), 0u);
}

TEST_F(LetterPreviewTest, GoldenPreviewOverTheList) {
    Open();
    POINT m = CellOf(u'M');
    Down(m.x, m.y);
    ExpectScreenMatches("letter_preview.png", 24, 40);
    Up(m.x, m.y);
    // Gone again: the list is painted without it.
    ExpectScreenMatches("letter_preview_released.png", 24, 40);
}

TEST(LetterPreviewSize, UnreadableSizesFallBackTo50) {
    const struct {
        const char* value;
        LONG width, height;
    } cases[] = {
        {"40,36", 40, 36}, {"abc", 50, 50}, {"0,20", 50, 50}, {"20,-1", 50, 50}, {"99999,10", 50, 50}, {"", 50, 50},
    };
    for (const auto& c : cases) {
        LetterBarElement element;
        common::NodeArena arena;
        element.SetAttribute("previewSize", "12,12", arena);
        element.SetAttribute("previewSize", c.value, arena);
        EXPECT_EQ(element.PreviewSize().cx, c.width) << c.value;
        EXPECT_EQ(element.PreviewSize().cy, c.height) << c.value;
    }
}

} // namespace
