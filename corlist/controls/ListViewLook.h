// The fonts, fills and colours a list paints its rows with, found once per look among the
// children of its descriptor (a "grid" or the "listview" itself) and of the list's own
// element, and kept by slot.
#pragma once

#include "ce/types.h"

#include <cstdint>

namespace corlist {

class ButtonElement;
class ControlElement;
class FillElement;
class FontElement;
class ImageElement;
class SkinElement;

namespace ListSlot {
constexpr int kText = 0;
constexpr int kFocusedText = 1;
constexpr int kTitle = 2;
constexpr int kFocusedTitle = 3;
constexpr int kHeaderText = 4;
constexpr int kBackground = 5;
constexpr int kHeader = 6;
constexpr int kOutArea = 7;
constexpr int kRow = 8;
constexpr int kSelected = 9;
constexpr int kUnfocused = 10;
constexpr int kChecked = 11;
constexpr int kStriped = 12;
constexpr int kRowLine = 13;
constexpr int kStripedLine = 14;
constexpr int kCheckBorder = 15;
constexpr int kCount = 16;
} // namespace ListSlot

// The state a row part is painted in.
namespace RowState {
constexpr int kNormal = 0;
constexpr int kFocused = 1;
constexpr int kSelectedUnfocused = 2;
constexpr int kChecked = 3;
} // namespace RowState

class ListViewLook {
public:
    // Looks the slots up among the children of `look`, then of `list` (either may be null).
    void Collect(ControlElement* look, ControlElement* list);

    // The slot a part (0 text, 2 title, 5 header cell, 8 row, 12 striped row) takes in
    // `state`; `header` for the header row.
    static int SlotFor(int part, int state, bool header);

    FontElement* Font(int slot) const;
    FillElement* Fill(int slot) const;
    // kColourNone when the slot has no colour.
    COLORREF Colour(int slot) const;
    // Whether a fill slot paints anything (a colour or a background image).
    bool Paints(int slot) const;
    ButtonElement* CheckBox() const { return m_checkBox; }
    // The pictures of the items (sub-images by image index), the first "image" child.
    ImageElement* Icons() const { return m_icons; }

private:
    SkinElement* m_slots[ListSlot::kCount] = {}; // elements of the skin; the skin owns them
    ButtonElement* m_checkBox = nullptr;
    ImageElement* m_icons = nullptr;
};

} // namespace corlist
