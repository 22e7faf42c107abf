#include "corlist/controls/GridElement.h"

#include "corlist/skin/AttributeTable.h"
#include "corlist/skin/AttributeValues.h"

#include <cctype>
#include <string>

namespace corlist {

namespace {

enum Attribute { kItemRect, kImageRect, kTextRect, kHeaderHeight, kMarginX, kMarginY, kMode };

const AttributeTable& Attributes() {
    static const AttributeTable table{
        {kItemRect, "itemRect"}, {kImageRect, "imageRect"}, {kTextRect, "textRect"}, {kHeaderHeight, "headerHeight"},
        {kMarginX, "marginX"},   {kMarginY, "marginY"},     {kMode, "mode"},
    };
    return table;
}

// A rectangle attribute; an item that unsets unsets the whole rectangle, too few items
// change nothing.
void SetRect(RectSpec& spec, const char* value) {
    bool unsetAll = false;
    if (!ParseCoordinates(value, 0, 4, &spec.x, unsetAll) && unsetAll)
        spec.Unset();
}

void SetScaled(int& field, const char* value) {
    ParseScaledSize(value, field, true);
}

} // namespace

void GridElement::CopyFrom(const SkinElement& other) {
    ControlElement::CopyFrom(other);
    const auto& source = static_cast<const GridElement&>(other);
    m_item = source.m_item;
    m_image = source.m_image;
    m_text = source.m_text;
    m_headerHeight = source.m_headerHeight;
    m_marginX = source.m_marginX;
    m_marginY = source.m_marginY;
    m_mode = source.m_mode;
}

bool GridElement::SetAttribute(const char* name, const char* value, common::NodeArena& arena) {
    if (ControlElement::SetAttribute(name, value, arena))
        return true;
    switch (Attributes().Find(name)) {
    case kItemRect:
        SetRect(m_item, value);
        return true;
    case kImageRect:
        SetRect(m_image, value);
        return true;
    case kTextRect:
        SetRect(m_text, value);
        return true;
    case kHeaderHeight:
        SetScaled(m_headerHeight, value);
        return true;
    case kMarginX:
        SetScaled(m_marginX, value);
        return true;
    case kMarginY:
        SetScaled(m_marginY, value);
        return true;
    case kMode: {
        std::string word(value ? value : "");
        for (char& ch : word)
            ch = char(std::tolower(static_cast<unsigned char>(ch)));
        m_mode = word == "icons" ? Mode::Icons : Mode::Report;
        return true;
    }
    default:
        return false;
    }
}

} // namespace corlist
