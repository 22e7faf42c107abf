// The image loading interface of the UI library: codec registration, loading files and
// streams into images, colour reduction, JPEG header reading and JPEG saving.
#pragma once

#include "common/Stream.h"
#include "corlist/image/CodecRecord.h"
#include "corlist/image/Image.h"

#include <string>

namespace corlist {

// Once per process: keeps the low-memory callback, registers the built-in codec and
// indexes the library codecs named in the device registry. The host's folder (where codec
// libraries are looked for) is hostModule's file name cut after the last backslash. A
// second call does nothing.
void InitImages(LowMemoryCallback lowMemory, void* userData, HMODULE hostModule = nullptr);
// As InitImages, with the host's folder given ("\Program Files\Tavik Dialora\").
void InitImagesInFolder(LowMemoryCallback lowMemory, void* userData, std::u16string hostFolder);
// Releases the registry and the libraries it loaded, and forgets the callback. Images that
// still hold a decoder of a codec library must be emptied first.
void ShutdownImages();
// Accepts a record only when its size is sizeof(CodecRecord).
bool RegisterCodec(const CodecRecord* record, const CodecContext* context);
// The context the host lends codecs.
const CodecContext* HostCodecContext();

// Opens the path (or "http://" URL) through a 32768-byte buffered stream and loads it.
DWORD LoadImageFile(Image* image, LPCWSTR path, DWORD options);
// Decodes the stream with the decoder chosen by the path's extension. See ImageTypes.h
// for options and results.
DWORD LoadImageStream(Image* image, common::Stream* stream, LPCWSTR path, DWORD options, bool releaseDecoder);

// The process-wide abort flag; every load started while it is set ends with kImageAborted.
void SetAbort(bool abort);
bool IsAborted();

// Reduces an image above 8 bits per pixel to `count` colours: 256 or fewer makes an
// indexed image, up to 4096 dithers to 12-bit colour, more to 16-bit colour.
DWORD ReduceColours(Image* image, DWORD count);
// Rewrites every colour-table entry as its RGB565 value.
void ConvertColourTableToRgb565(ImageBitmap& bitmap);

DWORD ReadJpegInfo(common::Stream* stream, JpegInfo* info);
// Encodes the image as JPEG into the stream through the platform's Imaging API; the
// calling thread must have initialised COM.
bool SaveJpeg(const Image* image, common::Stream* stream);

} // namespace corlist
