// The kinetic scrolling arithmetic on synthetic pen streams: release speed, fling distance
// and duration, the rubber band at the ends, the hold that cancels a fling, spring back.
#include "corlist/controls/Scroller.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using corlist::ScrollSample;
using corlist::Scroller;

namespace {

// A vertical stream: `count` samples `step` pixels apart every `interval` ms from y0.
std::vector<ScrollSample> Stream(int y0, int step, DWORD interval, int count, DWORD start = 1000) {
    std::vector<ScrollSample> samples;
    for (int i = 0; i < count; ++i)
        samples.push_back(ScrollSample{100, y0 + i * step, start + DWORD(i) * interval});
    return samples;
}

TEST(ScrollerSpeed, ReleaseSpeedOfSampleStreams) {
    struct Case {
        const char* name;
        std::vector<ScrollSample> samples;
        double speed;
    };
    std::vector<Case> cases = {
        // The finger goes up 10 pixels every 20 ms: the content runs on at 500 px/s.
        {"steady upward", Stream(300, -10, 20, 10), 500.0},
        {"steady downward", Stream(100, 8, 20, 10), -400.0},
        {"one sample", Stream(300, -10, 20, 1), 0.0},
        {"finger resting", Stream(300, 0, 20, 10), 0.0},
        // Only the five newest pairs count: an early slow part is not averaged in.
        {"five newest pairs", [] {
             auto s = Stream(300, -2, 20, 5);
             auto fast = Stream(s.back().y - 20, -20, 20, 6, s.back().tick + 20);
             s.insert(s.end(), fast.begin(), fast.end());
             return s;
         }(), 1000.0},
        // A pair whose older sample is more than 300 ms before the newest is not taken.
        {"old pairs left out", {{100, 300, 0}, {100, 100, 100}, {100, 90, 420}, {100, 80, 440}}, 500.0},
        // The newest pair goes back: the one before it reverses the sum and ends the average.
        {"reversal ends the average", {{100, 300, 0}, {100, 290, 20}, {100, 280, 40}, {100, 300, 60}}, -1000.0},
        // Two samples with the same tick are skipped instead of dividing by zero.
        {"same tick skipped", {{100, 300, 0}, {100, 290, 20}, {100, 280, 40}, {100, 270, 40}}, 500.0},
        {"all one tick", {{100, 300, 40}, {100, 290, 40}, {100, 280, 40}}, 0.0},
    };
    for (const Case& c : cases) {
        double speed = Scroller::ReleaseSpeed(c.samples.data(), c.samples.size(), true);
        EXPECT_TRUE(std::isfinite(speed)) << c.name;
        EXPECT_NEAR(speed, c.speed, 1e-9) << c.name;
    }
}

TEST(ScrollerSpeed, FlingDistanceAndDurationFollowTheDecay) {
    const struct {
        double speed, distance;
        int durationMs;
    } cases[] = {
        {500, 1.6 * 500 / std::log(5.0), 1317}, // |ln(500/60) / ln 5| s
        {-500, -1.6 * 500 / std::log(5.0), 0},  // the duration is asked with the overall speed
        {60, 1.6 * 60 / std::log(5.0), 0},
        {3000, 1.6 * 3000 / std::log(5.0), 2431},
        {15, 1.6 * 15 / std::log(5.0), 861}, // slower than 60: the time it took to get there
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(Scroller::FlingDistance(c.speed), c.distance, 1e-9) << c.speed;
        EXPECT_EQ(Scroller::FlingDurationMs(c.speed), c.durationMs) << c.speed;
    }
}

class ScrollerRun : public ::testing::Test {
protected:
    void SetUp() override { m_scroller.SetSizes(SIZE{240, 4000}, SIZE{240, 300}); }
    // Presses at (100, y0), moves `count` times by `step` every 20 ms; returns the last tick.
    DWORD Drag(int y0, int step, int count, DWORD start = 1000) {
        m_scroller.StylusDown(100, y0, start);
        for (int i = 1; i <= count; ++i)
            m_scroller.StylusMove(100, y0 + i * step, start + DWORD(i) * 20);
        return start + DWORD(count) * 20;
    }
    int Settle() {
        int steps = 0;
        while (m_scroller.IsAnimating() && steps < 10000) {
            m_scroller.Step();
            ++steps;
        }
        return steps;
    }
    Scroller m_scroller;
};

TEST_F(ScrollerRun, ADragMovesTheListByItsDistance) {
    m_scroller.ScrollTo(0, 1000);
    DWORD last = Drag(250, -10, 12);
    EXPECT_EQ(m_scroller.Y(), 1120);
    m_scroller.StylusUp(100, 130, last + 400); // held still: no fling
    EXPECT_EQ(m_scroller.CurrentPhase(), Scroller::Phase::Idle);
    EXPECT_EQ(m_scroller.Y(), 1120);
}

TEST_F(ScrollerRun, AFlingFliesOnAndRestsWhereTheDecaySays) {
    DWORD last = Drag(300, -10, 10);
    EXPECT_EQ(m_scroller.Y(), 100);
    m_scroller.StylusUp(100, 200, last);
    ASSERT_EQ(m_scroller.CurrentPhase(), Scroller::Phase::Flinging);
    EXPECT_NEAR(m_scroller.ReleaseSpeedY(), 500.0, 1e-9);
    EXPECT_EQ(m_scroller.FlingDurationMs(), 1317);
    int steps = Settle();
    EXPECT_EQ(steps, 53); // 25 ms steps, the last one lands on 1317 ms
    EXPECT_EQ(m_scroller.FlingTimeMs(), 1317);
    double distance = 1.6 * 500 / std::log(5.0) * (1 - std::pow(5.0, -1.317));
    EXPECT_EQ(m_scroller.Y(), int(std::lround(100 + distance)));
}

TEST_F(ScrollerRun, HoldingStillBeforeTheReleaseCancelsTheFling) {
    const struct {
        DWORD hold;
        Scroller::Phase phase;
    } cases[] = {{0, Scroller::Phase::Flinging}, {300, Scroller::Phase::Flinging}, {301, Scroller::Phase::Idle},
                 {1000, Scroller::Phase::Idle}};
    for (const auto& c : cases) {
        m_scroller.ScrollTo(0, 0);
        DWORD last = Drag(300, -10, 10);
        m_scroller.StylusUp(100, 200, last + c.hold);
        EXPECT_EQ(m_scroller.CurrentPhase(), c.phase) << c.hold;
        EXPECT_EQ(m_scroller.Y(), 100) << c.hold;
    }
}

TEST_F(ScrollerRun, PullingPastTheTopStretchesAtHalfSpeedAndSpringsBack) {
    DWORD last = Drag(100, 10, 4); // the finger goes down 40 pixels at the top
    EXPECT_EQ(m_scroller.Y(), -20);
    m_scroller.StylusUp(100, 140, last);
    ASSERT_EQ(m_scroller.CurrentPhase(), Scroller::Phase::SpringingBack);
    std::vector<int> positions;
    while (m_scroller.IsAnimating()) {
        m_scroller.Step();
        positions.push_back(m_scroller.Y());
        ASSERT_LT(positions.size(), 100u);
    }
    // A quarter of the overshoot each step, at least a pixel.
    EXPECT_EQ(positions, (std::vector<int>{-15, -11, -8, -6, -4, -3, -2, -1, 0}));
}

TEST_F(ScrollerRun, TheStretchStopsAtTheOverscrollRange) {
    m_scroller.ScrollTo(0, 4000);
    EXPECT_EQ(m_scroller.Y(), 3700);
    Drag(290, -20, 14); // 280 pixels up at the bottom: 140 of stretch, at most 100
    EXPECT_EQ(m_scroller.Y(), 3800);
    m_scroller.StylusUp(100, 10, 2000);
    Settle();
    EXPECT_EQ(m_scroller.Y(), 3700);
}

TEST_F(ScrollerRun, AFlingPastTheEndStopsThereAndSpringsBack) {
    m_scroller.ScrollTo(0, 3600);
    DWORD last = Drag(300, -30, 10); // 1500 px/s toward the end
    m_scroller.StylusUp(100, 0, last);
    ASSERT_EQ(m_scroller.CurrentPhase(), Scroller::Phase::SpringingBack); // already past it
    Settle();
    EXPECT_EQ(m_scroller.Y(), 3700);

    m_scroller.ScrollTo(0, 3000);
    last = Drag(300, -30, 5);
    m_scroller.StylusUp(100, 150, last);
    ASSERT_EQ(m_scroller.CurrentPhase(), Scroller::Phase::Flinging);
    bool sprang = false;
    while (m_scroller.IsAnimating()) {
        m_scroller.Step();
        sprang |= m_scroller.CurrentPhase() == Scroller::Phase::SpringingBack;
        EXPECT_LE(m_scroller.Y(), 3700 + m_scroller.OverscrollY());
    }
    EXPECT_TRUE(sprang);
    EXPECT_EQ(m_scroller.Y(), 3700);
}

TEST_F(ScrollerRun, AListShorterThanItsViewDoesNotScroll) {
    m_scroller.SetSizes(SIZE{240, 200}, SIZE{240, 300});
    DWORD last = Drag(100, -10, 10);
    EXPECT_FALSE(m_scroller.ScrollsVertically());
    EXPECT_EQ(m_scroller.Y(), 0);
    m_scroller.StylusUp(100, 0, last);
    EXPECT_EQ(m_scroller.CurrentPhase(), Scroller::Phase::Idle);
}

TEST_F(ScrollerRun, ATouchStopsAFling) {
    DWORD last = Drag(300, -10, 10);
    m_scroller.StylusUp(100, 200, last);
    m_scroller.Step();
    int at = m_scroller.Y();
    m_scroller.StylusDown(100, 200, last + 25);
    EXPECT_FALSE(m_scroller.IsAnimating());
    EXPECT_FALSE(m_scroller.Step());
    EXPECT_EQ(m_scroller.Y(), at);
}

} // namespace
