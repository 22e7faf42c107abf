// What the loader keeps of a picture's EXIF block for display: camera, dates, exposure.
#pragma once

#include "ce/types.h"

namespace corlist {

struct ExifRational {
    DWORD numerator = 0;
    DWORD denominator = 0;
};

struct ExifInfo {
    bool present = false;
    char make[64] = {};
    char model[64] = {};
    char dateTime[20] = {};         // "YYYY:MM:DD HH:MM:SS"
    char dateTimeOriginal[20] = {};
    WORD orientation = 0;           // 1..8, 0 when absent
    WORD isoSpeed = 0;
    WORD flash = 0;
    ExifRational exposureTime;
    ExifRational fNumber;
    ExifRational focalLength;
};

// Header facts of a JPEG file (ReadJpegInfo).
struct JpegInfo {
    ExifInfo exif;
    LONG width = 0;
    LONG height = 0;
    int bitsPerPixel = 0;
    WCHAR version[32] = {}; // "Ver.1.01", plus " - progressive"
};

} // namespace corlist
