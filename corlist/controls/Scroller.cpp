#include "corlist/controls/Scroller.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace corlist {

namespace {

// Milliseconds from `older` to `newer`; tick counts wrap after 49 days.
int32_t TicksBetween(DWORD older, DWORD newer) {
    return int32_t(newer - older);
}

} // namespace

void Scroller::SetSizes(SIZE content, SIZE view) {
    m_content = SIZE{std::max<LONG>(content.cx, 0), std::max<LONG>(content.cy, 0)};
    m_view = SIZE{std::max<LONG>(view.cx, 0), std::max<LONG>(view.cy, 0)};
    if (m_phase == Phase::Idle) {
        m_x = std::clamp<double>(m_x, 0, MaxX());
        m_y = std::clamp<double>(m_y, 0, MaxY());
    } else {
        m_x = ClampX(m_x);
        m_y = ClampY(m_y);
    }
}

int Scroller::X() const {
    return int(std::lround(m_x));
}

int Scroller::Y() const {
    return int(std::lround(m_y));
}

void Scroller::ScrollTo(int x, int y) {
    m_phase = Phase::Idle;
    m_x = std::clamp(x, 0, MaxX());
    m_y = std::clamp(y, 0, MaxY());
}

double Scroller::ClampX(double x) const {
    return std::clamp<double>(x, -OverscrollX(), MaxX() + OverscrollX());
}

double Scroller::ClampY(double y) const {
    return std::clamp<double>(y, -OverscrollY(), MaxY() + OverscrollY());
}

void Scroller::Record(int x, int y, DWORD tick) {
    if (m_sampleCount == m_samples.size()) {
        std::move(m_samples.begin() + 1, m_samples.end(), m_samples.begin());
        --m_sampleCount;
    }
    m_samples[m_sampleCount++] = ScrollSample{x, y, tick};
}

void Scroller::StylusDown(int x, int y, DWORD tick) {
    m_phase = Phase::Dragging;
    m_activeX = m_content.cx > m_view.cx;
    m_activeY = m_content.cy > m_view.cy;
    m_start = m_last = POINT{x, y};
    m_sampleCount = 0;
    m_speedX = m_speedY = 0;
    Record(x, y, tick);
}

double Scroller::Stretched(double position, double delta, int max) const {
    double next = position + delta;
    if (position < 0 || position > max || next < 0 || next > max)
        return delta / 2;
    return delta;
}

bool Scroller::StylusMove(int x, int y, DWORD tick) {
    if (m_phase != Phase::Dragging)
        return false;
    // Content moves with the finger: the finger going up shows rows further down.
    double dx = m_last.x - x;
    double dy = m_last.y - y;
    m_last = POINT{x, y};
    Record(x, y, tick);
    double oldX = m_x, oldY = m_y;
    if (m_activeX)
        m_x = ClampX(m_x + Stretched(m_x, dx, MaxX()));
    if (m_activeY)
        m_y = ClampY(m_y + Stretched(m_y, dy, MaxY()));
    return X() != int(std::lround(oldX)) || Y() != int(std::lround(oldY));
}

bool Scroller::IsPastAnEnd() const {
    return m_x < 0 || m_x > MaxX() || m_y < 0 || m_y > MaxY();
}

void Scroller::StylusUp(int x, int y, DWORD tick) {
    if (m_phase != Phase::Dragging)
        return;
    if (x != m_last.x || y != m_last.y)
        StylusMove(x, y, tick);
    const ScrollSample* samples = m_samples.data();
    m_speedX = m_activeX ? ReleaseSpeed(samples, m_sampleCount, false) : 0;
    m_speedY = m_activeY ? ReleaseSpeed(samples, m_sampleCount, true) : 0;
    if (IsPastAnEnd()) {
        StartSpringBack();
        return;
    }
    double speed = std::hypot(m_speedX, m_speedY);
    int32_t age = m_sampleCount ? TicksBetween(m_samples[m_sampleCount - 1].tick, tick) : INT32_MAX;
    if (age < 0 || age > int32_t(kSpeedWindowMs) || speed < kMinFlingSpeed) {
        m_phase = Phase::Idle;
        return;
    }
    m_phase = Phase::Flinging;
    m_flingStartX = m_x;
    m_flingStartY = m_y;
    m_distanceX = FlingDistance(m_speedX);
    m_distanceY = FlingDistance(m_speedY);
    m_flingMs = 0;
    m_flingEndMs = FlingDurationMs(speed);
}

double Scroller::ReleaseSpeed(const ScrollSample* samples, size_t count, bool vertical) {
    if (count < 2)
        return 0;
    const ScrollSample& newest = samples[count - 1];
    double sum = 0;
    int taken = 0;
    for (size_t i = count - 1; i > 0 && taken < kSpeedPairs; --i) {
        const ScrollSample& newer = samples[i];
        const ScrollSample& older = samples[i - 1];
        int32_t span = TicksBetween(older.tick, newest.tick);
        if (span < 0 || span > int32_t(kSpeedWindowMs))
            break;
        int32_t elapsed = TicksBetween(older.tick, newer.tick);
        if (elapsed <= 0)
            continue; // two samples of one tick say nothing about the speed
        int distance = vertical ? newer.y - older.y : newer.x - older.x;
        double speed = distance * 1000.0 / elapsed;
        if (taken > 0 && ((sum > 0 && speed < 0) || (sum < 0 && speed > 0)))
            break;
        sum += speed;
        ++taken;
    }
    return taken ? -sum / taken : 0;
}

double Scroller::FlingDistance(double speed) {
    return 1.6 * speed / std::log(kDecayBase);
}

int Scroller::FlingDurationMs(double speed) {
    if (speed <= 0)
        return 0;
    return int(std::lround(std::fabs(std::log(speed / kStopSpeed) / std::log(kDecayBase)) * 1000.0));
}

void Scroller::StartSpringBack() {
    m_x = std::round(m_x);
    m_y = std::round(m_y);
    m_phase = IsPastAnEnd() ? Phase::SpringingBack : Phase::Idle;
}

bool Scroller::Step() {
    if (m_phase == Phase::Flinging)
        return StepFling();
    if (m_phase == Phase::SpringingBack)
        return StepSpringBack();
    return false;
}

bool Scroller::StepFling() {
    int oldX = X(), oldY = Y();
    m_flingMs = std::min(m_flingMs + kStepMs, m_flingEndMs);
    double travelled = 1.0 - std::pow(kDecayBase, -m_flingMs / 1000.0);
    if (std::fabs(m_distanceX) > 0.001)
        m_x = m_flingStartX + m_distanceX * travelled;
    m_y = m_flingStartY + m_distanceY * travelled;
    if (IsPastAnEnd()) {
        m_x = ClampX(m_x);
        m_y = ClampY(m_y);
        StartSpringBack();
    } else if (m_flingMs >= m_flingEndMs) {
        m_phase = Phase::Idle;
    }
    return X() != oldX || Y() != oldY;
}

// A quarter of the overshoot, at least one pixel, so the list always comes home.
bool Scroller::StepSpringBack() {
    auto home = [](double& position, int max) {
        int at = int(position);
        if (at < 0)
            at += (-at + 3) / 4;
        else if (at > max)
            at -= (at - max + 3) / 4;
        bool moved = at != int(position);
        position = at;
        return moved;
    };
    bool movedX = home(m_x, MaxX());
    bool movedY = home(m_y, MaxY());
    if (!IsPastAnEnd())
        m_phase = Phase::Idle;
    return movedX || movedY;
}

} // namespace corlist
