// The Imaging API of the device: the imaging factory, bitmap images over caller memory and
// the installed encoders (JPEG), as far as programs that save pictures use them.
#pragma once

#include "ce/objidl.h"

typedef DWORD PixelFormatID;
typedef DWORD PixelFormat;
#define PixelFormatIndexed 0x00010000u
#define PixelFormatGDI 0x00020000u
#define PixelFormatAlpha 0x00040000u
#define PixelFormat8bppIndexed 0x00030803u
#define PixelFormat16bppRGB565 0x00021006u
#define PixelFormat24bppRGB 0x00021808u
#define PixelFormat32bppRGB 0x00022009u
#define PixelFormat32bppARGB 0x0026200Au
// Bits per pixel of a format identifier.
#define GetPixelFormatSize(format) (((format) >> 8) & 0xFF)

#define ImageLockModeRead 0x0001u
#define ImageLockModeWrite 0x0002u
#define ImageLockModeUserInputBuf 0x0004u

#define PALFLAG_HASALPHA 0x0001u
#define PALFLAG_GRAYSCALE 0x0002u

#define IMGFLAG_NONE 0u
#define IMGFLAG_HASALPHA 0x0002u
#define IMGFLAG_COLORSPACE_RGB 0x0010u

#define ImageCodecFlagsEncoder 0x00000001u
#define ImageCodecFlagsDecoder 0x00000002u
#define ImageCodecFlagsBuiltin 0x00010000u

// Pixels of a bitmap; a negative Stride walks a bottom-up picture from its top row.
struct BitmapData {
    UINT Width;
    UINT Height;
    LONG Stride;
    ::PixelFormatID PixelFormat;
    void* Scan0;
    UINT_PTR Reserved;
};

// ARGB entries (0xAARRGGBB).
struct ColorPalette {
    UINT Flags;
    UINT Count;
    DWORD Entries[1];
};

struct ImageInfo {
    GUID RawDataFormat;
    ::PixelFormatID PixelFormat;
    UINT Width;
    UINT Height;
    UINT TileWidth;
    UINT TileHeight;
    double Xdpi;
    double Ydpi;
    UINT Flags;
};

struct ImageCodecInfo {
    CLSID Clsid;
    GUID FormatID;
    const WCHAR* CodecName;
    const WCHAR* DllName;
    const WCHAR* FormatDescription;
    const WCHAR* FilenameExtension;
    const WCHAR* MimeType;
    DWORD Flags;
    DWORD Version;
    DWORD SigCount;
    DWORD SigSize;
    const BYTE* SigPattern;
    const BYTE* SigMask;
};

// Receives the pixels of an image, one band of rows after the other.
struct IImageSink : IUnknown {
    // The image's size and format; subarea (optional) receives the part the sink wants.
    virtual HRESULT BeginSink(ImageInfo* info, RECT* subarea) = 0;
    virtual HRESULT EndSink(HRESULT status) = 0;
    virtual HRESULT SetPalette(const ColorPalette* palette) = 0;
    // Rows rect->top .. rect->bottom in the format of `data`, top to bottom.
    virtual HRESULT PushPixelData(const RECT* rect, const BitmapData* data, BOOL lastPass) = 0;
};

struct IImage : IUnknown {
    virtual HRESULT GetImageInfo(ImageInfo* info) = 0;
    // Begins the sink, pushes every pixel and ends the sink with the result.
    virtual HRESULT PushIntoSink(IImageSink* sink) = 0;
};

struct IBitmapImage : IUnknown {
    virtual HRESULT GetSize(SIZE* size) = 0;
    virtual HRESULT GetPixelFormatID(PixelFormatID* format) = 0;
    virtual HRESULT LockBits(const RECT* rect, UINT flags, PixelFormatID format, BitmapData* data) = 0;
    virtual HRESULT UnlockBits(const BitmapData* data) = 0;
    // The palette is copied in and out; GetPalette's result is freed with CoTaskMemFree.
    virtual HRESULT GetPalette(ColorPalette** palette) = 0;
    virtual HRESULT SetPalette(const ColorPalette* palette) = 0;
};

struct IImageEncoder : IUnknown {
    virtual HRESULT InitEncoder(IStream* stream) = 0;
    // Finishes the file and lets go of the stream.
    virtual HRESULT TerminateEncoder() = 0;
    virtual HRESULT GetEncodeSink(IImageSink** sink) = 0;
};

struct IImagingFactory : IUnknown {
    // A bitmap image over the caller's pixels (not copied: they must outlive the image).
    virtual HRESULT CreateBitmapFromBuffer(BitmapData* data, IBitmapImage** bitmap) = 0;
    // An array of *count entries, freed with CoTaskMemFree.
    virtual HRESULT GetInstalledEncoders(UINT* count, ImageCodecInfo** encoders) = 0;
    virtual HRESULT CreateImageEncoderToStream(const CLSID* clsid, IStream* stream,
                                               IImageEncoder** encoder) = 0;
};

extern "C" const CLSID CLSID_ImagingFactory;
extern "C" const IID IID_IImagingFactory;
extern "C" const IID IID_IImage;
extern "C" const IID IID_IBitmapImage;
extern "C" const IID IID_IImageSink;
extern "C" const IID IID_IImageEncoder;
// The format of JPEG files, and the installed JPEG encoder.
extern "C" const GUID ImageFormatJPEG;
extern "C" const CLSID CLSID_JpegEncoder;
