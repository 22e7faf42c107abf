// Process-wide values every skin reader and control uses: the coordinate scale (skin
// numbers times this are device pixels) and the orientation class of the screen.
#pragma once

namespace corlist {

// 2 when the smaller screen side is at least 480 pixels, else 1.
int ScreenCoordinateScale(int width, int height);
// 3 square, 0 portrait, 2 wide landscape (400 or 800 wide), else 1.
int OrientationClass(int width, int height);

// The current coordinate scale (1 until a skin is read).
int CoordinateScale();
void SetCoordinateScale(int scale);
// The scale for the current screen, from the platform's screen metrics.
int ScreenCoordinateScale();
// The orientation class of the current screen.
int OrientationClass();

} // namespace corlist
