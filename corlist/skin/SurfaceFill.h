// Filling a rectangle of a DrawSurface with a colour, solid or translucent.
#pragma once

#include "corlist/skin/DrawSurface.h"
#include "corlist/skin/PixelLoops.h"

namespace corlist {

// Fills `rect` (cut to the surface's clip) with `colour`. A weight of 1..255 makes the fill
// translucent: the pixels are darkened or lightened toward the grey level g of the colour
// (the average of its channels), each channel c becoming g * (1 - w) + c * w with
// w = weight / 256, so the hue of the colour does not matter. Any other weight (0, the -1
// of an element without "opacity", above 255) fills solid. kColourNone fills nothing.
void FillRect(DrawSurface& surface, const RECT& rect, COLORREF colour, int weight);

// The channel maps of a translucent fill. The last colour and weight's maps are kept (per
// thread) and reused until another pair is asked for.
const ChannelMaps& TranslucentMaps(COLORREF colour, int weight);

} // namespace corlist
