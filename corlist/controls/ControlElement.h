// The skin side of a control ("control" and "listview" elements, and the base of every
// other control descriptor): where the control lies in each orientation, its style bits,
// its background opacity, and the font and fill among its children that it paints with.
#pragma once

#include "corlist/controls/RectSpec.h"
#include "corlist/skin/SkinElement.h"

#include <cstdint>

namespace corlist {

class FillElement;
class FontElement;

namespace ControlStyle {
constexpr uint32_t kVisible = 0x4000000;
constexpr uint32_t kTouchVertical = 0x800000;
constexpr uint32_t kTouchHorizontal = 0x400000;
constexpr uint32_t kCheck = 0x200000;
} // namespace ControlStyle

class ControlElement : public SkinElement {
public:
    ControlElement() = default;

    void CopyFrom(const SkinElement& other) override;
    // "rect", "pos", "posx", "posy", "size", "sizex", "sizey", "shadowrect", "style" and
    // "bkgopacity"; the portrait rectangle is the one the attributes set.
    bool SetAttribute(const char* name, const char* value, common::NodeArena& arena) override;

    const RectSpec (&RectSpecs() const)[kOrientationCount] { return m_rects; }
    RectSpec& Rect(int orientation) { return m_rects[orientation]; }
    uint32_t Style() const { return m_style; }
    // -1 when not given, else 0..256.
    int BackgroundOpacity() const { return m_backgroundOpacity; }

    // The first "font" / "fill" child, looked up once; with a name, the child of that name
    // (ignoring case), looked up each time.
    FontElement* Font(const char* name = nullptr);
    FillElement* Fill(const char* name = nullptr);
    // The element object of the first child of `kind` named `name` (null: the first
    // unnamed one), or null.
    SkinElement* Child(uint32_t kind, const char* name) const;
    SkinElement* FirstChild(uint32_t kind) const;

private:
    bool SetCoordinates(const char* value, int first, int count);

    RectSpec m_rects[kOrientationCount];
    RectSpec m_shadow; // read and kept; nothing paints it
    uint32_t m_style = ControlStyle::kVisible;
    int m_backgroundOpacity = -1;
    bool m_fontLookedUp = false;
    bool m_fillLookedUp = false;
    FontElement* m_font = nullptr; // children's objects; the skin owns them
    FillElement* m_fill = nullptr;
};

} // namespace corlist
