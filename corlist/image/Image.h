// An image of the loader: the bitmap, the picture's EXIF details and, until released, the
// decoder that produced it. The image owns all three.
#pragma once

#include "corlist/image/CodecRecord.h"

namespace corlist {

class Image {
public:
    Image() = default;
    ~Image() { Empty(); }
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    // Frees the bitmap and the decoder; the requested size stays.
    void Empty();
    // Asks the next load for a reduced scale no smaller than width x height (0: full size).
    void SetRequestedSize(LONG width, LONG height);
    LONG RequestedWidth() const { return m_requestWidth; }
    LONG RequestedHeight() const { return m_requestHeight; }

    ImageBitmap& Bitmap() { return m_bitmap; }
    const ImageBitmap& Bitmap() const { return m_bitmap; }
    ExifInfo& Info() { return m_info; }
    const ExifInfo& Info() const { return m_info; }

    ImageDecoder* Decoder() const { return m_decoder; }
    // Takes ownership of `decoder`, destroying the one held before.
    void SetDecoder(ImageDecoder* decoder);
    void ReleaseDecoder() { SetDecoder(nullptr); }
    // Swaps in a new bitmap (colour reduction), releasing the old one.
    void ReplaceBitmap(ImageBitmap& bitmap);

private:
    ImageBitmap m_bitmap;
    ExifInfo m_info;
    ImageDecoder* m_decoder = nullptr;
    LONG m_requestWidth = 0;
    LONG m_requestHeight = 0;
};

} // namespace corlist
