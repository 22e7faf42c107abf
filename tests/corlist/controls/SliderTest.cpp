// Sliders with one and two thumbs: positions from taps and drags (clamped, the nearest thumb
// taken, thumbs never passing each other), the commands they send, and their look.
#include "ControlScreen.h"

#include "corlist/controls/DoubleSlider.h"
#include "corlist/controls/Slider.h"
#include "corlist/skin/SkinKinds.h"

using namespace corlist;
using controltest::Command;
using controltest::ControlScreen;

namespace {

// The track is 100 wide from x = 10 with a 10 pixel thumb: centres run from 15 to 105.
const char* kSkin =
    "<skin><control name='Main'><fill color='#FFFFFF'/>"
    "<slider name='Volume' rect='10,10,100,20'><fill color='#C0C0C0'/><fill name='Range' color='#10489C'/>"
    "<image name='Slider' source='thumb.png' imgList='2,1'/></slider>"
    "<dslider name='Hours' rect='10,40,100,20'><fill color='#C0C0C0'/><fill name='Range' color='#6A8FD0'/>"
    "<image name='Slider' source='thumb.png' imgList='2,1'/></dslider>"
    "</control></skin>";

constexpr UINT kVolume = 50, kHours = 51;
const ControlTableRow kRows[] = {{SkinKind::kSlider, "Volume", kVolume}, {SkinKind::kDSlider, "Hours", kHours}, {}};

class SliderTest : public ControlScreen {
protected:
    void SetUp() override {
        ControlScreen::SetUp();
        Build(kSkin, {{u"thumb.png", Picture(20, 20, 3)}}, "Main", kRows);
        m_volume = &Find<Slider>(kVolume);
        m_hours = &Find<DoubleSlider>(kHours);
        m_volume->SetRange(0, 90);
        m_hours->SetRange(0, 90);
    }
    static void ExpectCommand(const Command& command, UINT number, WORD code, LPARAM position) {
        EXPECT_EQ(command.Number(), number);
        EXPECT_EQ(command.Code(), code);
        EXPECT_EQ(command.lParam, position);
    }
    Slider* m_volume = nullptr;
    DoubleSlider* m_hours = nullptr;
};

TEST_F(SliderTest, PositionsAndCentresFollowTheTrack) {
    const struct {
        int minimum, maximum, x, position;
    } cases[] = {
        {0, 90, 15, 0}, {0, 90, 60, 45}, {0, 90, 0, 0},   {0, 90, 200, 90}, {0, 90, 104, 89},
        {0, 9, 20, 1},  {0, 9, 19, 0},   {5, 5, 60, 5},   {-50, 40, 15, -50}, {90, 0, 105, 90},
    };
    for (const auto& c : cases) {
        m_volume->SetRange(c.minimum, c.maximum);
        EXPECT_EQ(m_volume->PositionAt(c.x), c.position) << c.minimum << ".." << c.maximum << " at " << c.x;
    }
    m_volume->SetRange(0, 9);
    EXPECT_EQ(m_volume->ThumbCentre(0), 15);
    EXPECT_EQ(m_volume->ThumbCentre(9), 105);
    EXPECT_EQ(m_volume->ThumbCentre(3), 45);
    m_volume->SetRange(7, 7); // an empty range divides nothing
    EXPECT_EQ(m_volume->ThumbCentre(7), 15);
    EXPECT_EQ(m_volume->Position(), 7);
}

TEST_F(SliderTest, ATapOnTheTrackJumpsAndTheReleaseReportsIt) {
    Tap(60, 20);
    EXPECT_EQ(m_volume->Position(), 45);
    ASSERT_EQ(commands.size(), 2u);
    ExpectCommand(commands[0], kVolume, Slider::kChanging, 45);
    ExpectCommand(commands[1], kVolume, Slider::kChanged, 45);
    EXPECT_EQ(m_volume->Text(), u"45");
}

TEST_F(SliderTest, AThumbHeldOffCentreFollowsThePenAndStopsAtTheEnds) {
    m_volume->SetPosition(45); // centre 60
    Down(62, 20);
    EXPECT_EQ(m_volume->Position(), 45); // grabbed, not moved
    EXPECT_EQ(m_volume->Dragging(), 0);
    Move(72, 25);
    EXPECT_EQ(m_volume->Position(), 55);
    Move(300, 25);
    EXPECT_EQ(m_volume->Position(), 90);
    Up(0, 25);
    EXPECT_EQ(m_volume->Position(), 0);
    EXPECT_EQ(m_volume->Dragging(), -1);
    ASSERT_EQ(commands.size(), 3u);
    ExpectCommand(commands[1], kVolume, Slider::kChanging, 90);
    ExpectCommand(commands[2], kVolume, Slider::kChanged, 0);
}

TEST_F(SliderTest, TheNearestThumbMovesAndNeverPassesTheOther) {
    m_hours->SetPositions(60, 20); // ordered: 20 and 60
    EXPECT_EQ(m_hours->Low(), 20);
    EXPECT_EQ(m_hours->High(), 60);
    EXPECT_EQ(m_hours->ThumbAt(30), 0);
    EXPECT_EQ(m_hours->ThumbAt(70), 1);
    Tap(90, 50); // nearer the second thumb (centre 75)
    EXPECT_EQ(m_hours->High(), 75);
    ExpectCommand(commands.back(), kHours, Slider::kChanged + Slider::kSecondThumb, 75);
    Down(35, 50); // on the first thumb
    Move(200, 50);
    Up(200, 50);
    EXPECT_EQ(m_hours->Low(), 75); // stopped at the second one
    EXPECT_EQ(m_hours->High(), 75);
    EXPECT_EQ(m_hours->Text(), u"75,75");
    // Stacked thumbs (both centred at 90): the pen right of them takes the second, left of
    // them the first.
    EXPECT_EQ(m_hours->ThumbAt(95), 1);
    EXPECT_EQ(m_hours->ThumbAt(90), 1);
    EXPECT_EQ(m_hours->ThumbAt(85), 0);
    m_hours->SetRange(0, 50);
    EXPECT_EQ(m_hours->Low(), 50);
}

TEST_F(SliderTest, SlidersWithTheirRanges) {
    m_volume->SetPosition(30);
    m_hours->SetPositions(20, 70);
    ExpectScreenMatches("control-slider.png");
}

} // namespace
