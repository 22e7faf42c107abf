// Compresses an RGB picture (3 bytes a pixel, top row first) as baseline JPEG with
// libjpeg into a COM stream.
#pragma once

#include "ce/objidl.h"

#include <cstdint>

namespace platform {

// False when libjpeg fails or the stream does not take every byte.
bool WriteJpeg(const uint8_t* rgb, uint32_t width, uint32_t height, int quality, IStream* stream);

} // namespace platform
