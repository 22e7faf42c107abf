#include "corlist/controls/LetterBarElement.h"

#include "corlist/skin/AttributeTable.h"
#include "corlist/skin/AttributeValues.h"
#include "corlist/skin/ColorElement.h"
#include "corlist/skin/SkinKinds.h"
#include "corlist/skin/SkinMetrics.h"

namespace corlist {

namespace {

enum Attribute { kLettersArea, kPreviewSize };

const AttributeTable& Attributes() {
    static const AttributeTable table{{kLettersArea, "lettersArea"}, {kPreviewSize, "previewSize"}};
    return table;
}

} // namespace

void LetterBarElement::CopyFrom(const SkinElement& other) {
    ScrollBarElement::CopyFrom(other);
    const auto& source = static_cast<const LetterBarElement&>(other);
    m_lettersArea = source.m_lettersArea;
    m_previewSize = source.m_previewSize;
}

bool LetterBarElement::SetAttribute(const char* name, const char* value, common::NodeArena& arena) {
    if (ScrollBarElement::SetAttribute(name, value, arena))
        return true;
    switch (Attributes().Find(name)) {
    case kLettersArea: {
        bool unsetAll = false;
        if (!ParseCoordinates(value, 0, 4, &m_lettersArea.x, unsetAll) && unsetAll)
            m_lettersArea.Unset();
        return true;
    }
    case kPreviewSize: {
        int width = 0, height = 0;
        if (ParseIntegerPair(value, width, height) && width > 0 && height > 0 && width <= 1024 && height <= 1024)
            m_previewSize = SIZE{width * CoordinateScale(), height * CoordinateScale()};
        else
            m_previewSize = SIZE{50, 50};
        return true;
    }
    default:
        return false;
    }
}

COLORREF LetterBarElement::NamedColour(const char* name) const {
    auto* colour = static_cast<ColorElement*>(Child(SkinKind::kColor, name));
    return colour ? colour->EffectiveColour() : kColourNone;
}

} // namespace corlist
