#include "corlist/controls/PopupDialogElement.h"

#include "corlist/skin/AttributeTable.h"
#include "corlist/skin/AttributeValues.h"
#include "corlist/skin/FillElement.h"
#include "corlist/skin/SkinKinds.h"
#include "corlist/skin/SkinMetrics.h"

#include "ce/user.h"

#include <algorithm>

namespace corlist {

namespace {

enum Attribute { kBorder, kTitleHeight, kOpacity, kRound };

const AttributeTable& Attributes() {
    static const AttributeTable table{{kBorder, "border"}, {kTitleHeight, "titleH"}, {kOpacity, "opacity"}, {kRound, "round"}};
    return table;
}

} // namespace

PopupDialogElement::PopupDialogElement() : m_border(GetSystemMetrics(SM_CXBORDER)) {}

void PopupDialogElement::CopyFrom(const SkinElement& other) {
    ControlElement::CopyFrom(other);
    const auto& source = static_cast<const PopupDialogElement&>(other);
    m_border = source.m_border;
    m_titleHeight = source.m_titleHeight;
    m_opacity = source.m_opacity;
    m_round = source.m_round;
}

bool PopupDialogElement::SetAttribute(const char* name, const char* value, common::NodeArena& arena) {
    if (ControlElement::SetAttribute(name, value, arena))
        return true;
    int number = 0;
    int id = Attributes().Find(name);
    if (id < 0)
        return false;
    if (!ParseInteger(value, number))
        return true;
    switch (id) {
    case kBorder:
        m_border = std::clamp(number, 0, kMaxSkinSize) * CoordinateScale();
        break;
    case kTitleHeight:
        m_titleHeight = std::clamp(number, 0, kMaxSkinSize) * CoordinateScale();
        break;
    case kOpacity:
        m_opacity = PercentToWeight(number, 25600);
        break;
    default:
        m_round = std::clamp(number, 0, kMaxSkinSize);
        break;
    }
    return true;
}

FillElement* PopupDialogElement::BodyFill() {
    return static_cast<FillElement*>(Child(SkinKind::kFill, nullptr));
}

} // namespace corlist
