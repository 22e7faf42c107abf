// Kinetic scrolling of a list: the position follows the finger, stretches at half speed past
// the ends, flies on after a quick release and slows by a factor of 5 per second, and springs
// back when it rests beyond an end. Pure arithmetic on timed samples: the list feeds it the
// pen's points with their tick counts and calls Step on its animation timer.
#pragma once

#include "ce/types.h"

#include <array>
#include <cstddef>

namespace corlist {

// One pen position with the device tick count it was taken at.
struct ScrollSample {
    int x = 0;
    int y = 0;
    DWORD tick = 0;
};

class Scroller {
public:
    enum class Phase { Idle, Dragging, Flinging, SpringingBack };

    static constexpr int kStepMs = 25;        // one animation step
    static constexpr int kHistory = 20;       // samples kept
    static constexpr int kSpeedPairs = 5;     // sample pairs averaged into the release speed
    static constexpr DWORD kSpeedWindowMs = 300;
    static constexpr double kMinFlingSpeed = 15.0; // pixels per second
    static constexpr double kDecayBase = 5.0;      // the speed falls by this factor per second
    static constexpr double kStopSpeed = 60.0;     // a fling ends when it is this slow

    // Content and view extents per axis; the position is kept within the overscroll range.
    void SetSizes(SIZE content, SIZE view);
    SIZE ContentSize() const { return m_content; }
    SIZE ViewSize() const { return m_view; }

    // The scroll position (content coordinates of the view's top-left corner), rounded.
    int X() const;
    int Y() const;
    // Moves to a position inside the content and stops any movement.
    void ScrollTo(int x, int y);
    // The largest position inside the content on each axis (0 when it fits the view).
    int MaxX() const { return m_content.cx > m_view.cx ? m_content.cx - m_view.cx : 0; }
    int MaxY() const { return m_content.cy > m_view.cy ? m_content.cy - m_view.cy : 0; }
    // How far the position may go past an end while stretched.
    int OverscrollX() const { return m_view.cx / 3; }
    int OverscrollY() const { return m_view.cy / 3; }

    void StylusDown(int x, int y, DWORD tick);
    // True when the position changed.
    bool StylusMove(int x, int y, DWORD tick);
    // Starts a fling or a spring back, or goes idle.
    void StylusUp(int x, int y, DWORD tick);
    // One animation step; true when the position changed. The phase is Idle once it ends.
    bool Step();
    void Stop() { m_phase = Phase::Idle; }

    Phase CurrentPhase() const { return m_phase; }
    bool IsAnimating() const { return m_phase == Phase::Flinging || m_phase == Phase::SpringingBack; }
    bool ScrollsVertically() const { return m_activeY; }
    bool ScrollsHorizontally() const { return m_activeX; }
    // What the last release decided (pixels per second, positive toward larger positions).
    double ReleaseSpeedX() const { return m_speedX; }
    double ReleaseSpeedY() const { return m_speedY; }
    double FlingDistanceX() const { return m_distanceX; }
    double FlingDistanceY() const { return m_distanceY; }
    int FlingDurationMs() const { return m_flingEndMs; }
    int FlingTimeMs() const { return m_flingMs; }

    // The release speed along one axis of `count` samples (oldest first): the negated
    // average of the speeds of up to five consecutive pairs from the newest one, whose
    // older sample is at most 300 ms older than the newest; pairs taken at the same tick are
    // skipped, and a pair against the direction of those before it ends the average.
    static double ReleaseSpeed(const ScrollSample* samples, size_t count, bool vertical);
    // How far a fling of `speed` flies, and how long it lasts (ms) at overall speed `speed`.
    static double FlingDistance(double speed);
    static int FlingDurationMs(double speed);

private:
    void Record(int x, int y, DWORD tick);
    // The delta on one axis, halved while the position is or would be past an end.
    double Stretched(double position, double delta, int max) const;
    bool IsPastAnEnd() const;
    void StartSpringBack();
    bool StepFling();
    bool StepSpringBack();
    double ClampX(double x) const;
    double ClampY(double y) const;

    SIZE m_content{};
    SIZE m_view{};
    double m_x = 0;
    double m_y = 0;
    bool m_activeX = false;
    bool m_activeY = false;
    Phase m_phase = Phase::Idle;
    POINT m_start{};
    POINT m_last{};
    std::array<ScrollSample, kHistory> m_samples{};
    size_t m_sampleCount = 0; // the newest kHistory are kept, oldest first
    double m_speedX = 0;
    double m_speedY = 0;
    double m_flingStartX = 0;
    double m_flingStartY = 0;
    double m_distanceX = 0;
    double m_distanceY = 0;
    int m_flingMs = 0;
    int m_flingEndMs = 0;
};

} // namespace corlist
