// The skin side of a box control ("boxctrl"), a tile with one or two lines of text: the
// control attributes plus "separator" (where the focused box splits: a percentage of its
// width, 33% when out of 0..100, or a number of pixels times the coordinate scale) and the
// case-sensitive "style" words textsmall, rup, rdown, round, singlebox and multirows. Its
// looks are children found by name: the fills "Text", "TextFocus", "Focus" and "header",
// the fonts "TextLarge" and "Disabled" (the unnamed font draws small text), and the images
// "Check", "next" and "prev".
#pragma once

#include "corlist/controls/ControlElement.h"

namespace corlist {

class FillElement;
class FontElement;
class ImageElement;

namespace BoxStyle {
constexpr uint32_t kTextSmall = 0x1;
constexpr uint32_t kRoundTop = 0x2;
constexpr uint32_t kRoundBottom = 0x4;
constexpr uint32_t kRound = 0x6;
constexpr uint32_t kSingleBox = 0x10;
constexpr uint32_t kMultiRows = 0x20;
// Not a skin word: a pop-up menu paints its header rows with the "header" fill.
constexpr uint32_t kHeader = 0x100;
} // namespace BoxStyle

class BoxElement : public ControlElement {
public:
    static constexpr int kDefaultSeparatorPercent = 33;

    BoxElement() = default;

    void CopyFrom(const SkinElement& other) override;
    bool SetAttribute(const char* name, const char* value, common::NodeArena& arena) override;

    uint32_t BoxStyleBits() const { return m_boxStyle; }
    // Where a box `width` pixels wide splits (0: it does not), at most `width`.
    int SeparatorPosition(int width) const;

    FillElement* TextFill();
    FillElement* TextFocusFill();
    FillElement* FocusFill();
    FillElement* HeaderFill();
    // The font of large text ("TextLarge", else the small one), of small text (the first
    // unnamed font, else the first font) and of disabled text ("Disabled", else null).
    FontElement* LargeFont();
    FontElement* SmallFont();
    FontElement* DisabledFont();
    ImageElement* CheckImage();
    ImageElement* NextImage();
    ImageElement* PreviousImage();

private:
    struct Looks {
        // Children's objects; the skin owns them.
        FillElement* text = nullptr;
        FillElement* textFocus = nullptr;
        FillElement* focus = nullptr;
        FillElement* header = nullptr;
        FontElement* large = nullptr;
        FontElement* small = nullptr;
        FontElement* disabled = nullptr;
        ImageElement* check = nullptr;
        ImageElement* next = nullptr;
        ImageElement* previous = nullptr;
    };
    // The looks, collected on first use.
    const Looks& Collected();

    uint32_t m_boxStyle = 0;
    int m_separator = 0; // pixels, or a percentage
    bool m_separatorPercent = false;
    bool m_looksCollected = false;
    Looks m_looks;
};

// The bits of the case-sensitive style words of `text`; unknown words add nothing.
uint32_t ParseBoxStyle(const char* text);

} // namespace corlist
