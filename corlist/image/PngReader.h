// The libpng side of the PNG decoder. libpng reports errors by longjmp, so everything a
// jump may cross lives in the plain PngJob structure, and the function that calls setjmp
// holds no C++ object with a destructor.
#pragma once

#include "common/Stream.h"
#include "corlist/image/ImageBitmap.h"
#include "corlist/image/ImageTypes.h"

#include <png.h>

namespace corlist {

struct PngJob {
    png_structp png;
    png_infop info;
    common::Stream* stream;
    ImageBitmap* bitmap;
    DWORD options;
    AbortTest abortTest;
    int passes;   // 7 for an interlaced file
    DWORD result; // the code reported when libpng jumps back
};

// Decodes into job->bitmap; returns kImageOk or a result code.
DWORD DecodePng(PngJob* job);

} // namespace corlist
