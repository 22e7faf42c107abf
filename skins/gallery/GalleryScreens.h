// The gallery's own screens, written in the skin's description language and read together
// with the Default skin's description, so they take its defaults, macros and pictures.
#pragma once

#include <string>

namespace gallery {

// Default.skn (the skin's text) with the gallery screens added inside its root element.
std::string WithGalleryScreens(const std::string& description);

} // namespace gallery
