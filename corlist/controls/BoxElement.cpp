#include "corlist/controls/BoxElement.h"

#include "corlist/skin/AttributeTable.h"
#include "corlist/skin/AttributeValues.h"
#include "corlist/skin/FillElement.h"
#include "corlist/skin/FontElement.h"
#include "corlist/skin/ImageElement.h"
#include "corlist/skin/SkinKinds.h"
#include "corlist/skin/SkinMetrics.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace corlist {

uint32_t ParseBoxStyle(const char* text) {
    static const struct {
        const char* word;
        uint32_t bits;
    } kWords[] = {{"textsmall", BoxStyle::kTextSmall}, {"rup", BoxStyle::kRoundTop},
                  {"rdown", BoxStyle::kRoundBottom},   {"round", BoxStyle::kRound},
                  {"singlebox", BoxStyle::kSingleBox}, {"multirows", BoxStyle::kMultiRows}};
    uint32_t bits = 0;
    std::string word;
    for (const char* p = text ? text : "";; ++p) {
        if (*p != ',' && *p != 0) {
            if (*p != ' ' && *p != '\t')
                word += *p;
            continue;
        }
        for (const auto& known : kWords)
            if (word == known.word)
                bits |= known.bits;
        word.clear();
        if (*p == 0)
            return bits;
    }
}

void BoxElement::CopyFrom(const SkinElement& other) {
    ControlElement::CopyFrom(other);
    const auto& source = static_cast<const BoxElement&>(other);
    m_boxStyle = source.m_boxStyle;
    m_separator = source.m_separator;
    m_separatorPercent = source.m_separatorPercent;
}

bool BoxElement::SetAttribute(const char* name, const char* value, common::NodeArena& arena) {
    if (EqualsIgnoringCase(name, "separator")) {
        std::string text = value ? value : "";
        bool percent = !text.empty() && text.find('%') != std::string::npos;
        if (percent)
            text.erase(text.find('%'));
        int number = 0;
        if (!ParseInteger(text.c_str(), number))
            return true; // unreadable: the separator stays as it was
        m_separatorPercent = percent;
        if (percent)
            m_separator = number >= 0 && number <= 100 ? number : kDefaultSeparatorPercent;
        else
            m_separator = number > 0 ? int(std::min<int64_t>(int64_t(number) * CoordinateScale(), 0xFFFF)) : 0;
        return true;
    }
    // "style" carries the control's words ("hide", "touch" ...) and the box words alike.
    if (EqualsIgnoringCase(name, "style"))
        m_boxStyle |= ParseBoxStyle(value);
    return ControlElement::SetAttribute(name, value, arena);
}

int BoxElement::SeparatorPosition(int width) const {
    if (width <= 0)
        return 0;
    int64_t position = m_separatorPercent ? int64_t(width) * m_separator / 100 : m_separator;
    return int(std::min<int64_t>(position, width));
}

const BoxElement::Looks& BoxElement::Collected() {
    if (m_looksCollected)
        return m_looks;
    m_looksCollected = true;
    m_looks.text = static_cast<FillElement*>(Child(SkinKind::kFill, "Text"));
    m_looks.textFocus = static_cast<FillElement*>(Child(SkinKind::kFill, "TextFocus"));
    m_looks.focus = static_cast<FillElement*>(Child(SkinKind::kFill, "Focus"));
    m_looks.header = static_cast<FillElement*>(Child(SkinKind::kFill, "header"));
    m_looks.small = static_cast<FontElement*>(Child(SkinKind::kFont, nullptr));
    if (!m_looks.small)
        m_looks.small = Font();
    m_looks.large = static_cast<FontElement*>(Child(SkinKind::kFont, "TextLarge"));
    if (!m_looks.large)
        m_looks.large = m_looks.small;
    m_looks.disabled = static_cast<FontElement*>(Child(SkinKind::kFont, "Disabled"));
    m_looks.check = static_cast<ImageElement*>(Child(SkinKind::kImage, "Check"));
    m_looks.next = static_cast<ImageElement*>(Child(SkinKind::kImage, "next"));
    m_looks.previous = static_cast<ImageElement*>(Child(SkinKind::kImage, "prev"));
    return m_looks;
}

FillElement* BoxElement::TextFill() { return Collected().text; }
FillElement* BoxElement::TextFocusFill() { return Collected().textFocus; }
FillElement* BoxElement::FocusFill() { return Collected().focus; }
FillElement* BoxElement::HeaderFill() { return Collected().header; }
FontElement* BoxElement::LargeFont() { return Collected().large; }
FontElement* BoxElement::SmallFont() { return Collected().small; }
FontElement* BoxElement::DisabledFont() { return Collected().disabled; }
ImageElement* BoxElement::CheckImage() { return Collected().check; }
ImageElement* BoxElement::NextImage() { return Collected().next; }
ImageElement* BoxElement::PreviousImage() { return Collected().previous; }

} // namespace corlist
