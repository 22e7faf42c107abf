#include "corlist/controls/Slider.h"

#include "corlist/controls/ControlElement.h"
#include "corlist/controls/ControlOwner.h"
#include "corlist/skin/DrawSurface.h"
#include "corlist/skin/FillElement.h"
#include "corlist/skin/ImageElement.h"
#include "corlist/skin/SkinKinds.h"

#include "ce/user.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace corlist {

Slider::Slider(int thumbs) : m_thumbs(thumbs == 2 ? 2 : 1) {}

ImageElement* Slider::ThumbImage() const {
    return Descriptor() ? static_cast<ImageElement*>(Descriptor()->Child(SkinKind::kImage, "Slider")) : nullptr;
}

int Slider::ThumbWidth() const {
    ImageElement* image = ThumbImage();
    int width = image ? int(image->SubImageSize().cx) : 0;
    return std::clamp(width, 0, int(std::max<LONG>(0, Rect().right - Rect().left)));
}

std::u16string Slider::Text() const {
    std::string text = std::to_string(m_positions[0]);
    if (m_thumbs == 2)
        text += "," + std::to_string(m_positions[1]);
    return std::u16string(text.begin(), text.end());
}

void Slider::SetRange(int minimum, int maximum) {
    m_minimum = std::min(minimum, maximum);
    m_maximum = std::max(minimum, maximum);
    m_positions[0] = std::clamp(m_positions[0], m_minimum, m_maximum);
    m_positions[1] = std::clamp(m_positions[1], m_positions[0], m_maximum);
    Invalidate();
}

bool Slider::MoveThumb(int thumb, int position) {
    int low = m_minimum, high = m_maximum;
    if (m_thumbs == 2)
        (thumb == 0 ? high : low) = m_positions[thumb == 0 ? 1 : 0];
    int& current = m_positions[thumb == 1 && m_thumbs == 2 ? 1 : 0];
    int clamped = std::clamp(position, low, high);
    if (clamped == current)
        return false;
    current = clamped;
    Invalidate();
    return true;
}

int Slider::ThumbCentre(int position) const {
    int thumb = ThumbWidth();
    int64_t usable = int64_t(Rect().right - Rect().left) - thumb;
    int64_t span = int64_t(m_maximum) - m_minimum;
    int64_t offset = span > 0 && usable > 0 ? (int64_t(std::clamp(position, m_minimum, m_maximum)) - m_minimum) * usable / span : 0;
    return int(Rect().left + thumb / 2 + offset);
}

int Slider::PositionAt(int x) const {
    int thumb = ThumbWidth();
    int64_t usable = int64_t(Rect().right - Rect().left) - thumb;
    int64_t span = int64_t(m_maximum) - m_minimum;
    if (usable <= 0 || span <= 0)
        return m_minimum;
    int64_t offset = std::clamp<int64_t>(int64_t(x) - Rect().left - thumb / 2, 0, usable);
    return int(m_minimum + (offset * span * 2 + usable) / (usable * 2)); // rounded to the nearest
}

int Slider::ThumbAt(int x) const {
    if (m_thumbs == 1)
        return 0;
    int first = ThumbCentre(m_positions[0]), second = ThumbCentre(m_positions[1]);
    int64_t toFirst = std::abs(int64_t(x) - first), toSecond = std::abs(int64_t(x) - second);
    if (toFirst != toSecond)
        return toFirst < toSecond ? 0 : 1;
    return x < first ? 0 : 1; // stacked thumbs: the one that can move toward the pen
}

void Slider::SendChange(int thumb, WORD code) {
    if (!Owner() || Number() == 0)
        return;
    WORD full = WORD(code + (thumb == 1 ? kSecondThumb : 0));
    SendMessageW(Owner()->Window(), WM_COMMAND, WPARAM(uint32_t(full) << 16 | (Number() & 0xFFFF)),
                 LPARAM(Position(thumb)));
}

int Slider::OnStylus(int event, int x, int y) {
    switch (event) {
    case StylusEvent::kDown: {
        int thumb = ThumbAt(x);
        int centre = ThumbCentre(Position(thumb));
        int half = ThumbWidth() / 2;
        m_dragging = thumb;
        if (x >= centre - half && x <= centre + half) {
            m_grabOffset = x - centre; // held where it was touched: it stays until the pen moves
            Invalidate();
        } else {
            m_grabOffset = 0;
            if (MoveThumb(thumb, PositionAt(x)))
                SendChange(thumb, kChanging);
        }
        return Tracking::kTrack;
    }
    case StylusEvent::kMove:
        if (m_dragging >= 0 && MoveThumb(m_dragging, PositionAt(x - m_grabOffset)))
            SendChange(m_dragging, kChanging);
        return Tracking::kNone;
    case StylusEvent::kUp: {
        int thumb = m_dragging;
        if (thumb < 0)
            return Tracking::kNone;
        MoveThumb(thumb, PositionAt(x - m_grabOffset));
        m_dragging = -1;
        SendChange(thumb, kChanged); // the owner may rebuild the screen: nothing follows
        return Tracking::kNone;
    }
    default:
        return Control::OnStylus(event, x, y);
    }
}

void Slider::Paint(DrawSurface& surface, const RECT& clip) {
    if (!IsVisible() || IsEmptyRect(Rect()) || !Descriptor())
        return;
    if (auto* track = static_cast<FillElement*>(Descriptor()->Child(SkinKind::kFill, nullptr)))
        track->Paint(surface, Rect(), clip);
    int from = m_thumbs == 2 ? ThumbCentre(m_positions[0]) : Rect().left;
    int to = ThumbCentre(m_positions[m_thumbs - 1]);
    if (auto* range = static_cast<FillElement*>(Descriptor()->Child(SkinKind::kFill, "Range")); range && to > from)
        range->Paint(surface, RECT{from, Rect().top, to, Rect().bottom}, clip);
    if (ImageElement* image = ThumbImage()) {
        SIZE size = image->SubImageSize();
        for (int thumb = 0; thumb < m_thumbs; ++thumb) {
            int centre = ThumbCentre(m_positions[thumb]);
            LONG top = Rect().top + (Rect().bottom - Rect().top - size.cy) / 2;
            RECT place{centre - size.cx / 2, top, centre - size.cx / 2 + size.cx, top + size.cy};
            image->Draw(surface, place, m_dragging == thumb ? 1 : -1, &clip);
        }
    }
    PaintContent(surface, clip);
}

} // namespace corlist
