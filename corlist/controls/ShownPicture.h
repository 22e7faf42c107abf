// A picture a page hands to a control to show (a contact picture, a photo): an image of the
// loader or a platform bitmap, drawn scaled through the platform's stretching blit. The
// control keeps it until another one replaces it.
#pragma once

#include "corlist/image/Image.h"

#include "ce/types.h"

#include <memory>

namespace corlist {

class DrawSurface;


class ShownPicture {
public:
    ShownPicture() = default;
    ~ShownPicture();
    ShownPicture(const ShownPicture&) = delete;
    ShownPicture& operator=(const ShownPicture&) = delete;

    // Takes the image (null: none).
    void SetImage(std::unique_ptr<Image> image);
    // Shows `bitmap`; with `owned` the picture deletes it when it is replaced or destroyed,
    // otherwise the caller keeps it alive while it is shown.
    void SetBitmap(HBITMAP bitmap, bool owned);
    void Clear();

    // The bitmap drawn: the image's DIB section or the bitmap given; null when none.
    HBITMAP Bitmap() const;
    // The picture's size; 0 x 0 without one.
    SIZE Size() const;
    bool IsEmpty() const { return Size().cx <= 0 || Size().cy <= 0; }
    // Draws the `source` part of the picture stretched over `target`, cut to the surface's
    // clip. False when there is nothing to draw or the platform refused.
    bool Draw(DrawSurface& surface, const RECT& source, const RECT& target) const;

private:
    std::unique_ptr<Image> m_image;
    HBITMAP m_bitmap = nullptr;
    bool m_ownsBitmap = false;
};

// The largest rectangle of the picture's aspect (width x height) that fits `area`, centred
// in it; pictures are enlarged as well as reduced. Empty when a size is not positive.
RECT FitRect(LONG width, LONG height, const RECT& area);

} // namespace corlist
