#include "corlist/controls/ListViewLook.h"

#include "corlist/controls/ButtonElement.h"
#include "corlist/controls/ControlElement.h"
#include "corlist/skin/ColorElement.h"
#include "corlist/skin/FillElement.h"
#include "corlist/skin/FontElement.h"
#include "corlist/skin/ImageElement.h"
#include "corlist/skin/SkinKinds.h"

namespace corlist {

namespace {

struct SlotName {
    uint32_t kind;
    const char* name; // null: the first unnamed child of the kind
    int fallback;     // the slot used when this one is absent, -1: none
};

constexpr SlotName kSlots[ListSlot::kCount] = {
    {SkinKind::kFont, nullptr, -1},          {SkinKind::kFont, "FocusedText", ListSlot::kText},
    {SkinKind::kFont, "Title", -1},          {SkinKind::kFont, "FocusedTitle", ListSlot::kTitle},
    {SkinKind::kFont, "Header", ListSlot::kText}, {SkinKind::kFill, nullptr, -1},
    {SkinKind::kFill, "Header", -1},         {SkinKind::kFill, "OutArea", ListSlot::kBackground},
    {SkinKind::kFill, "Row", -1},            {SkinKind::kFill, "Selected", -1},
    {SkinKind::kFill, "Unfocused", -1},      {SkinKind::kFill, "Checked", -1},
    {SkinKind::kFill, "Stripped", -1},       {SkinKind::kColor, "RowLine", -1},
    {SkinKind::kColor, "StrippedLine", -1},  {SkinKind::kColor, "CheckBorder", -1},
};

SkinElement* Find(ControlElement* look, ControlElement* list, uint32_t kind, const char* name) {
    for (ControlElement* owner : {look, list})
        if (SkinElement* found = owner ? owner->Child(kind, name) : nullptr)
            return found;
    return nullptr;
}

} // namespace

void ListViewLook::Collect(ControlElement* look, ControlElement* list) {
    for (int slot = 0; slot < ListSlot::kCount; ++slot)
        m_slots[slot] = Find(look, list, kSlots[slot].kind, kSlots[slot].name);
    // Fallbacks point to lower slots, which are already settled.
    for (int slot = 0; slot < ListSlot::kCount; ++slot)
        if (!m_slots[slot] && kSlots[slot].fallback >= 0)
            m_slots[slot] = m_slots[kSlots[slot].fallback];
    m_checkBox = static_cast<ButtonElement*>(Find(look, list, SkinKind::kButton, "checkbox"));
    m_icons = nullptr;
    for (ControlElement* owner : {look, list})
        if (!m_icons && owner)
            m_icons = static_cast<ImageElement*>(owner->FirstChild(SkinKind::kImage));
}

int ListViewLook::SlotFor(int part, int state, bool header) {
    if (header)
        return part == ListSlot::kText || part == ListSlot::kTitle ? ListSlot::kHeaderText : ListSlot::kHeader;
    bool row = part == ListSlot::kRow || part == ListSlot::kStriped;
    if (state == RowState::kFocused) {
        if (part == ListSlot::kText)
            return ListSlot::kFocusedText;
        if (part == ListSlot::kTitle)
            return ListSlot::kFocusedTitle;
        if (row)
            return ListSlot::kSelected;
    }
    if (row && state == RowState::kSelectedUnfocused)
        return ListSlot::kUnfocused;
    if (row && state == RowState::kChecked)
        return ListSlot::kChecked;
    return part;
}

FontElement* ListViewLook::Font(int slot) const {
    return slot >= 0 && slot < ListSlot::kCount && kSlots[slot].kind == SkinKind::kFont
               ? static_cast<FontElement*>(m_slots[slot])
               : nullptr;
}

FillElement* ListViewLook::Fill(int slot) const {
    return slot >= 0 && slot < ListSlot::kCount && kSlots[slot].kind == SkinKind::kFill
               ? static_cast<FillElement*>(m_slots[slot])
               : nullptr;
}

COLORREF ListViewLook::Colour(int slot) const {
    if (slot < 0 || slot >= ListSlot::kCount || kSlots[slot].kind != SkinKind::kColor || !m_slots[slot])
        return kColourNone;
    return static_cast<ColorElement*>(m_slots[slot])->EffectiveColour();
}

bool ListViewLook::Paints(int slot) const {
    FillElement* fill = Fill(slot);
    return fill && (fill->EffectiveColour() != kColourNone || fill->BackgroundImage());
}

} // namespace corlist
