// The element objects the skin makes for the kinds it knows.
#include "corlist/skin/ColorElement.h"
#include "corlist/skin/EffectElement.h"
#include "corlist/skin/FillElement.h"
#include "corlist/skin/FontElement.h"
#include "corlist/skin/ImageElement.h"
#include "corlist/skin/PenElement.h"
#include "corlist/skin/Skin.h"

namespace corlist {

SkinElement* Skin::CreateElementObject(uint32_t kind) {
    switch (kind) {
    case SkinKind::kColor:
        return MakeElement<ColorElement>();
    case SkinKind::kPen:
        return MakeElement<PenElement>();
    case SkinKind::kFill:
        return MakeElement<FillElement>();
    case SkinKind::kFont:
        return MakeElement<FontElement>();
    case SkinKind::kImage:
        return MakeElement<ImageElement>(static_cast<SkinImageProvider&>(*this));
    case SkinKind::kEffect:
        return MakeElement<EffectElement>();
    case SkinKind::kApplication:
    case SkinKind::kMacros:
    case SkinKind::kDefaults:
        return nullptr;
    default:
        return kind >= SkinKind::kFirstControlKind && m_descriptorFactory ? m_descriptorFactory(*this, kind)
                                                                            : nullptr;
    }
}

} // namespace corlist
