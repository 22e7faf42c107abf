// The skin's colour mask: "color", "fill" and "font" elements with a tint weight move
// their colour toward the mask.
#pragma once

#include "ce/types.h"

namespace common {
struct XmlNode;
}

namespace corlist {

// Each channel becomes base × (256 − weight) / 256 + mask × weight / 256, every term
// truncated; a base of none counts as black.
COLORREF TintColour(COLORREF base, COLORREF mask, int weight);
// Tints every element of the tree once. Copied nodes share the object of the node they
// were copied from, so the walk neither tints them nor descends into them.
void TintTree(common::XmlNode* root, COLORREF mask);

} // namespace corlist
