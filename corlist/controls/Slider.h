// A slider ("slider"): a thumb (the element's image "Slider") that the pen moves along the
// control between a minimum and a maximum the page sets. Pressing on the thumb grabs it where
// it was touched; pressing on the track moves the thumb's centre there at once; either way
// the thumb then follows the pen, drawn with the image's second sub-image while it is held. The owner hears every change while the pen moves and the
// final position when it is lifted. The unnamed fill paints the track, a "Range" fill the
// part from the minimum to the thumb (between the thumbs of a double slider).
#pragma once

#include "corlist/controls/Control.h"

namespace corlist {

class ImageElement;

class Slider : public Control {
public:
    // Notification codes (high word of WM_COMMAND, sent with the position as the lParam):
    // the first thumb's while it moves and on release; the second thumb's are 0x10 higher.
    static constexpr WORD kChanging = 0x10;
    static constexpr WORD kChanged = 0x11;
    static constexpr WORD kSecondThumb = 0x10;

    Slider() : Slider(1) {}

    void Paint(DrawSurface& surface, const RECT& clip) override;
    int OnStylus(int event, int x, int y) override;
    const char* KindName() const override { return "slider"; }
    std::u16string Text() const override;

    // The range (swapped when given the wrong way round); positions are clamped into it.
    void SetRange(int minimum, int maximum);
    void SetPosition(int position) { MoveThumb(0, position); }
    int Position(int thumb = 0) const { return m_positions[thumb == 1 && m_thumbs == 2 ? 1 : 0]; }
    int Minimum() const { return m_minimum; }
    int Maximum() const { return m_maximum; }
    int ThumbCount() const { return m_thumbs; }

    // The x of a thumb's centre at `position`.
    int ThumbCentre(int position) const;
    // The position whose thumb centre is nearest to `x`, clamped to the range.
    int PositionAt(int x) const;
    // The thumb nearest to `x` (on a tie the one that can move that way).
    int ThumbAt(int x) const;
    // The thumb that follows the pen, -1 when none.
    int Dragging() const { return m_dragging; }

protected:
    explicit Slider(int thumbs);
    // Moves a thumb, clamped to the range and, on a double slider, to the other thumb.
    // True when its position changed.
    bool MoveThumb(int thumb, int position);

private:
    ImageElement* ThumbImage() const;
    int ThumbWidth() const;
    void SendChange(int thumb, WORD code);

    int m_thumbs = 1;
    int m_positions[2] = {0, 0};
    int m_minimum = 0;
    int m_maximum = 100;
    int m_dragging = -1;
    int m_grabOffset = 0; // from the thumb's centre to where the pen holds it
};

} // namespace corlist
