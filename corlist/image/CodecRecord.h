// The contract between the image loader and a codec (built in or in a library that
// exports KGetImageLoadInterface): the codec record, its format entries, the context the
// loader gives it, and the decoder interface.
#pragma once

#include "common/Stream.h"
#include "corlist/image/ExifInfo.h"
#include "corlist/image/ImageBitmap.h"
#include "corlist/image/ImageTypes.h"

namespace corlist {

constexpr DWORD kCodecRecordVersion = 300;

// One file format of a codec. `extensions` holds wide strings one after another, ended by
// an empty string. A table ends with an entry whose `extensions` is null.
struct FormatEntry {
    const WCHAR* description;
    const WCHAR* primaryExtension;
    const WCHAR* extensions;
    DWORD flags;
};

class ImageDecoder {
public:
    // Fills `bitmap` from the stream. A bitmap whose header holds a negative width and
    // height asks for a reduced scale no smaller than that size. `info` (may be null)
    // receives the picture's metadata. Returns kImageOk or a result code.
    virtual DWORD Decode(common::Stream* stream, ImageBitmap* bitmap, DWORD options, ExifInfo* info) = 0;
    // Frees what a failed Decode left behind.
    virtual void Cleanup() = 0;
    // Destroys the decoder.
    virtual void Destroy() = 0;

protected:
    ~ImageDecoder() = default;
};

// What the loader lends a codec: the bitmap maker and allocator of the host, and its
// low-memory callback.
struct CodecContext {
    DWORD (*createBitmap)(ImageBitmap* bitmap, LONG width, LONG height, int bitsPerPixel, const void* table,
                          int entries);
    void (*releaseBitmap)(ImageBitmap* bitmap);
    void* (*allocate)(size_t bytes);
    void (*free)(void* block);
    LowMemoryCallback lowMemory;
    void* userData;
};

// Field order as on the device; `size` is this platform's sizeof(CodecRecord) (40 bytes
// there, where pointers take 32 bits).
struct CodecRecord {
    DWORD size;
    DWORD version;
    const FormatEntry* formats;
    // Non-zero when a decoder for that path was made into *decoder.
    BOOL (*createDecoder)(ImageDecoder** decoder, LPCWSTR path);
    void (*attach)(const CodecContext* context);
    void (*setAbortTest)(AbortTest test);
    void* reserved[4];
};

// The export a codec library provides.
using GetImageLoadInterfaceFn = const CodecRecord* (*)();
constexpr char kCodecEntryName[] = "KGetImageLoadInterface";

} // namespace corlist
