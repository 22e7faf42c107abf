// The libjpeg side of the JPEG decoder. libjpeg reports errors by longjmp, so everything
// a jump may cross lives in the plain JpegJob structure, and the functions that call
// setjmp hold no C++ object with a destructor.
#pragma once

#include "common/Stream.h"
#include "corlist/image/ExifInfo.h"
#include "corlist/image/ImageBitmap.h"
#include "corlist/image/ImageTypes.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>
#include <jerror.h>

namespace corlist {

// As large as the loader's stream buffer, so reads pass it without a copy.
constexpr size_t kJpegInputChunk = 32768;

struct JpegJob {
    jpeg_decompress_struct info;
    jpeg_error_mgr errorManager;
    jmp_buf jump;
    jpeg_source_mgr source;
    common::Stream* stream;
    JOCTET buffer[kJpegInputChunk];
    // Decoding: the target, the options, the requested size (0: full size), the abort test.
    ImageBitmap* bitmap;
    DWORD options;
    LONG requestWidth;
    LONG requestHeight;
    AbortTest abortTest;
    ExifInfo* exif;
    BYTE* cmykRow;  // a row of CMYK samples, from ImageMemory; freed on every path
    DWORD result;   // the code reported when libjpeg jumps back
    // Called by libjpeg while it reads: polls the abort test and bounds the scans.
    jpeg_progress_mgr progress;
    int warnings;   // corrupt-data warnings so far
};

// Decodes into job->bitmap; returns kImageOk or a result code. The job must be zeroed
// apart from the input fields.
DWORD DecodeJpeg(JpegJob* job);
// Reads only the header into `out` (size, depth, version text, EXIF block).
DWORD ReadJpegHeader(JpegJob* job, JpegInfo* out);

} // namespace corlist
