// Conversions the loader applies to a decoded bitmap whatever codec made it: scaling down
// to cover a requested size, and delivery in the screen's formats.
#pragma once

#include "corlist/image/Image.h"

namespace corlist {

// The size, aspect ratio kept, whose one side equals the request and whose other side
// still covers it; the picture's own size when that is not smaller.
void CoverSize(LONG width, LONG height, LONG requestWidth, LONG requestHeight, LONG* outWidth, LONG* outHeight);
// Scales the image down to CoverSize of the request: colour pixels are averaged over the
// source area each target pixel covers, indexed pixels take the nearest source pixel.
// Nothing happens without a request or when the picture is not larger.
DWORD ScaleToCover(Image* image, LONG requestWidth, LONG requestHeight);
// Colour bitmaps above 8 bits per pixel become RGB565 (each channel cut to its top bits,
// not dithered, so a key colour stays exact); indexed bitmaps stay as they are.
DWORD ConvertToScreenFormat(Image* image);

} // namespace corlist
