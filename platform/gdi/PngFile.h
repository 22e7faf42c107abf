// PNG files of surfaces: screenshots and golden images. Writing goes to a temporary file
// renamed into place, so a failed save never leaves half a picture.
#pragma once

#include "gdi/Surface.h"

#include <filesystem>
#include <memory>

namespace platform {

bool SavePng(const Surface& surface, const std::filesystem::path& path);
// A top-down 24-bit surface with the picture (alpha dropped), or null for a file that
// is missing, broken or larger than the surface caps.
std::shared_ptr<Surface> LoadPng(const std::filesystem::path& path);

} // namespace platform
