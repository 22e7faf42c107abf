// What image elements need from the skin they belong to: decoded package images, shared
// and counted. The skin implements it; tests may give their own.
#pragma once

#include "ce/types.h"

namespace corlist {

class Image;
struct SkinImageSlot;

class SkinImageProvider {
public:
    virtual ~SkinImageProvider() = default;
    // The slot of the named entry with its decoded image, loading it on first use; null
    // when the image is not available. `loadOptions` asks for the skin's load options
    // (palette kept, grey as alpha, colour as RGB565); `keep` keeps the entry's data.
    virtual SkinImageSlot* AcquireImage(LPCWSTR name, bool loadOptions, bool keep) = 0;
    // Gives up one use of an image handed out by AcquireImage.
    virtual void ReleaseImage(Image* image) = 0;
};

} // namespace corlist
