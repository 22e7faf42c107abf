// The Today plug-in's strip in the gallery: "MainWnd" of the Today skin "Default" built in a
// window as wide as the screen and as high as the strip, with sample time-bar texts and the
// ten default items drawn into the item grid (two with badges, one pressed, one chosen
// with the keys).
#pragma once

#include "GalleryMainPage.h"

namespace gallery {

// Saves "today" for a screen `area` large; false when the skin does not load or the strip
// cannot be built or saved.
bool ShootToday(const RECT& area, const ScreenFile& file);

} // namespace gallery
