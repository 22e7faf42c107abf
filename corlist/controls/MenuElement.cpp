#include "corlist/controls/MenuElement.h"

#include "corlist/skin/AttributeTable.h"
#include "corlist/skin/AttributeValues.h"
#include "corlist/skin/ImageElement.h"
#include "corlist/skin/PenElement.h"
#include "corlist/skin/SkinKinds.h"
#include "corlist/skin/SkinMetrics.h"

#include "ce/user.h"

#include <algorithm>

namespace corlist {

namespace {

enum Attribute { kBorder, kOpacity, kMargins, kColumns, kRound, kRowHeight };

const AttributeTable& Attributes() {
    static const AttributeTable table{
        {kBorder, "border"}, {kOpacity, "opacity"}, {kMargins, "margins"},
        {kColumns, "columns"}, {kRound, "round"},   {kRowHeight, "rowheight"},
    };
    return table;
}

} // namespace

MenuElement::MenuElement()
    : m_border(GetSystemMetrics(SM_CXBORDER)), m_marginX(10 * GetSystemMetrics(SM_CXBORDER)),
      m_marginY(10 * GetSystemMetrics(SM_CXBORDER)) {}

void MenuElement::CopyFrom(const SkinElement& other) {
    ControlElement::CopyFrom(other);
    const auto& source = static_cast<const MenuElement&>(other);
    m_border = source.m_border;
    m_opacity = source.m_opacity;
    m_marginX = source.m_marginX;
    m_marginY = source.m_marginY;
    m_columns = source.m_columns;
    m_round = source.m_round;
    m_rowHeight = source.m_rowHeight;
}

bool MenuElement::SetAttribute(const char* name, const char* value, common::NodeArena& arena) {
    if (ControlElement::SetAttribute(name, value, arena))
        return true;
    int number = 0;
    switch (Attributes().Find(name)) {
    case kBorder:
        ParseScaledSize(value, m_border);
        return true;
    case kOpacity:
        if (ParseInteger(value, number))
            m_opacity = PercentToWeight(number, 25600);
        return true;
    case kMargins: {
        int x = 0;
        int y = 0;
        if (ParseIntegerPair(value, x, y) && x >= 0 && y >= 0 && x <= kMaxSkinSize && y <= kMaxSkinSize) {
            m_marginX = x * CoordinateScale();
            m_marginY = y * CoordinateScale();
        }
        return true;
    }
    case kColumns:
        if (ParseInteger(value, number))
            m_columns = std::clamp(number, 1, 16); // below 1 counts as 1
        return true;
    case kRound:
        if (ParseInteger(value, number))
            m_round = std::clamp(number, 0, kMaxSkinSize);
        return true;
    case kRowHeight:
        ParseScaledSize(value, m_rowHeight);
        return true;
    default:
        return false;
    }
}

PenElement* MenuElement::BorderPen() {
    return static_cast<PenElement*>(Child(SkinKind::kPen, "Border"));
}

PenElement* MenuElement::LinesPen() {
    return static_cast<PenElement*>(Child(SkinKind::kPen, "Lines"));
}

ImageElement* MenuElement::Icons() {
    return static_cast<ImageElement*>(Child(SkinKind::kImage, "Icons"));
}

} // namespace corlist
