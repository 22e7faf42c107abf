// The frame's main page in the gallery: built from the skin's "mainwnd" with the page's own
// control table and filled with sample contacts, in its normal, number-typed and
// group-selection states.
#pragma once

#include "ce/user.h"

#include <filesystem>
#include <functional>
#include <string>

namespace corlist {
class ControlHost;
class DrawSurface;
class Skin;
} // namespace corlist

namespace gallery {

// The picture file of a screen by its name (the caller records it as saved).
using ScreenFile = std::function<std::filesystem::path(const std::string& screen)>;

// The main-page screens "mainwnd", "mainwnd-number" and "mainwnd-group" of a screen
// `area` large; false when one could not be built or saved.
bool ShootMainPage(corlist::Skin& skin, const RECT& area, const ScreenFile& file);

// Shared with Gallery.cpp (which defines them): paints the host's screen (then `overlay`,
// when given, and the pop-up) and saves it as PNG; registers `className` with `procedure` and creates a visible
// top-level window of that class as large as `area` (null on failure).
bool SaveSurface(corlist::ControlHost& host, const std::filesystem::path& path,
                 const std::function<void(corlist::DrawSurface&)>& overlay = nullptr);
HWND CreateParentWindow(const WCHAR* className, WNDPROC procedure, const RECT& area);

} // namespace gallery
