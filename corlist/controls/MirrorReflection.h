// The reflection under an icon: the icon's lower rows mirrored below it, fading out.
#pragma once

#include "ce/types.h"

namespace corlist {

class DrawSurface;

// Mirrors the last `rows` rows of `icon` (as drawn on the surface) below it, the first
// reflected row mixed in at 12/32 and each further one fainter; cut to `limit` and the
// surface's clip.
void DrawReflection(DrawSurface& surface, const RECT& icon, int rows, const RECT& limit);

} // namespace corlist
