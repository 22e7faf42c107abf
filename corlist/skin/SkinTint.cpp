#include "corlist/skin/SkinTint.h"

#include "common/XmlNode.h"
#include "corlist/skin/ColorElement.h"
#include "corlist/skin/FillElement.h"
#include "corlist/skin/SkinKinds.h"

#include <vector>

namespace corlist {

namespace {

void TintElement(common::XmlNode* node, COLORREF mask) {
    uint32_t kind = node->Kind();
    if (kind < SkinKind::kColor || kind > SkinKind::kFont || !node->element)
        return;
    auto* colour = static_cast<ColorElement*>(node->element);
    int weight = colour->TintWeight();
    if (weight <= 0)
        return;
    colour->SetEffectiveColour(TintColour(colour->BaseColour(), mask, weight));
    if (kind == SkinKind::kFill) {
        auto* fill = static_cast<FillElement*>(colour);
        if (fill->GradientColour() != kColourNone)
            fill->SetGradientColour(TintColour(fill->GradientColour(), mask, weight));
    }
}

} // namespace

COLORREF TintColour(COLORREF base, COLORREF mask, int weight) {
    if (base == kColourNone)
        base = 0;
    COLORREF result = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        uint32_t b = (base >> shift) & 0xFF;
        uint32_t m = (mask >> shift) & 0xFF;
        uint32_t channel = b * uint32_t(256 - weight) / 256 + m * uint32_t(weight) / 256;
        result |= (channel > 255 ? 255 : channel) << shift;
    }
    return result;
}

void TintTree(common::XmlNode* root, COLORREF mask) {
    std::vector<common::XmlNode*> pending;
    if (root)
        pending.push_back(root);
    while (!pending.empty()) {
        common::XmlNode* node = pending.back();
        pending.pop_back();
        if (node->kind & common::kBorrowedElementFlag)
            continue;
        TintElement(node, mask);
        for (common::XmlNode* child = node->firstChild; child; child = child->nextSibling)
            pending.push_back(child);
    }
}

} // namespace corlist
