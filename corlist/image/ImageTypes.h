// Result codes, load options and callbacks of the image loader, shared by the loader, the
// built-in codec and codec libraries.
#pragma once

#include "ce/types.h"

#include <cstddef>

namespace corlist {

// Results of loading.
constexpr DWORD kImageOk = 0;
constexpr DWORD kImageReduceFailed = 0x20000001;
constexpr DWORD kImageDecoderException = 0x20000002;
constexpr DWORD kImageOpenFailed = 0x20000004;
constexpr DWORD kImageNoDecoder = 0x20000009;
constexpr DWORD kImageAborted = 0x2000000F;
// The decoders' own errors.
constexpr DWORD kImageBadData = 0x20000010;     // wrong signature, damaged or truncated data
constexpr DWORD kImageTooLarge = 0x20000011;    // dimensions beyond the bitmap caps
constexpr DWORD kImageNoMemory = 0x20000012;    // memory ran out, also after the low-memory callback
constexpr DWORD kImageUnsupported = 0x20000013; // a valid file in a variant not decoded here
constexpr DWORD kImageBadArgument = 0x20000014;

// Load options. When none of kLoadFormatMask is given, kLoadTrueColour is assumed.
constexpr DWORD kLoadCoverRequest = 0x20;    // with a requested size: scaled down to cover it exactly
constexpr DWORD kLoadTrueColour = 0x100;     // 24 bits, 32 with alpha
constexpr DWORD kLoadScreenFormat = 0x200;   // palettes and grey 8-bit indexed, other colour RGB565
constexpr DWORD kLoadKeepPalette = 0x800;    // palette and grey pictures stay 8-bit indexed
constexpr DWORD kLoadReduce4096 = 0x1000;    // true colour dithered to 12-bit colour
constexpr DWORD kLoadReduce65536 = 0x2000;   // true colour dithered to 16-bit colour
constexpr DWORD kLoadFormatMask = 0x3800;
constexpr DWORD kLoadRgb565Table = 0x20000;  // colour-table entries rewritten as RGB565 values

// Bitmap flags.
constexpr DWORD kBitmapReduced4096 = 0x1000;
constexpr DWORD kBitmapReduced65536 = 0x2000;

// Asked before an allocation is given up: attempt number (1 first), bytes needed, the
// host's user data. Returning 0 gives up; anything else retries after the host freed memory.
using LowMemoryCallback = int (*)(int attempt, size_t bytes, void* userData);
// Returns non-zero when loading must stop.
using AbortTest = int (*)();

} // namespace corlist
