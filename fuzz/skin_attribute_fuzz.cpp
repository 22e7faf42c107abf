// Arbitrary bytes as a skin attribute value given to every attribute of the colour, fill,
// effect and image elements and of the control descriptors, and read by the colour notation
// and the word lists. Values must stay in their ranges whatever the text.
#include "common/NodeArena.h"
#include "corlist/controls/BoxElement.h"
#include "corlist/controls/ButtonElement.h"
#include "corlist/controls/ControlElement.h"
#include "corlist/controls/EditElement.h"
#include "corlist/controls/GridElement.h"
#include "corlist/controls/ImageViewElement.h"
#include "corlist/controls/LetterBarElement.h"
#include "corlist/controls/MenuElement.h"
#include "corlist/controls/PopupDialogElement.h"
#include "corlist/controls/ScrollBarElement.h"
#include "corlist/controls/TabElement.h"
#include "corlist/controls/TextElement.h"
#include "corlist/skin/AttributeValues.h"
#include "corlist/skin/ColourNotation.h"
#include "corlist/skin/EffectElement.h"
#include "corlist/skin/FillElement.h"
#include "corlist/skin/ImageElement.h"
#include "corlist/skin/SkinImageProvider.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <algorithm>
#include <string>

namespace {

class NoImages : public corlist::SkinImageProvider {
public:
    corlist::SkinImageSlot* AcquireImage(LPCWSTR, bool, bool) override { return nullptr; }
    void ReleaseImage(corlist::Image*) override {}
};

void Check(bool condition) {
    if (!condition)
        std::abort();
}

// The attributes every control descriptor reads, then the ones of each kind.
constexpr const char* kControlAttributes[] = {"rect",  "pos",        "posx",  "posy",      "size",
                                              "sizex", "sizey",      "shadowrect", "style", "bkgopacity"};
constexpr const char* kKindAttributes[] = {
    "separator", "bkgnd",      "border",     "opacity",     "margins",     "columns",     "round",
    "rowheight", "titleH",     "tracker",    "trackerCol",  "itemRect",    "imageRect",   "textRect",
    "headerHeight", "marginX", "marginY",    "mode",        "scrollerSize", "trackerSize", "trackerPos",
    "lettersArea", "previewSize", "source",  "imgList",     "color",       "size",        "weight"};

void Feed(corlist::ControlElement& element, const char* value, common::NodeArena& arena) {
    for (const char* name : kControlAttributes)
        element.SetAttribute(name, value, arena);
    for (const char* name : kKindAttributes)
        element.SetAttribute(name, value, arena);
    Check(element.BackgroundOpacity() >= -1 && element.BackgroundOpacity() <= 256);
}

void FeedDescriptors(const char* value, common::NodeArena& arena, corlist::SkinImageProvider& skin) {
    corlist::ControlElement control;
    corlist::ButtonElement button(skin);
    corlist::TextElement text;
    corlist::EditElement edit;
    corlist::MenuElement menu;
    corlist::PopupDialogElement dialog;
    corlist::TabElement tab;
    corlist::BoxElement box;
    corlist::ImageViewElement view;
    corlist::GridElement grid;
    corlist::ScrollBarElement scrollBar;
    corlist::LetterBarElement letterBar;
    for (corlist::ControlElement* element : std::initializer_list<corlist::ControlElement*>{
             &control, &button, &text, &edit, &menu, &dialog, &tab, &box, &view, &grid, &scrollBar, &letterBar})
        Feed(*element, value, arena);
    Check(menu.Columns() >= 1 && menu.Columns() <= 16);
    Check(menu.Round() >= 0 && menu.MarginX() >= 0 && menu.MarginY() >= 0);
    for (int width : {0, 1, 100, 0x7FFFFFFF}) {
        int split = box.SeparatorPosition(width);
        Check(split >= 0 && split <= std::max(width, 0));
    }
    SIZE preview = letterBar.PreviewSize();
    Check(preview.cx > 0 && preview.cy > 0);
    Check(button.Image().Columns() >= 1 && button.Image().Rows() >= 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string value(reinterpret_cast<const char*>(data), size);
    value = value.c_str(); // attribute values end at their first 0
    COLORREF colour = corlist::ParseColour(value.c_str());
    Check(colour == corlist::kColourNone || colour <= 0xFFFFFF);
    int first = 0, second = 0;
    corlist::ParseIntegerPair(value.c_str(), first, second);
    corlist::ParseWordBits(value.c_str(), {{"center", 1}, {"...", 2}});

    common::NodeArena arena;
    corlist::FillElement fill;
    for (const char* name : {"color", "opacity", "gradient", "gradientType"})
        fill.SetAttribute(name, value.c_str(), arena);
    Check(fill.TintWeight() >= -1 && fill.TintWeight() <= 255);
    corlist::EffectElement effect;
    effect.SetAttribute("type", value.c_str(), arena);
    effect.SetAttribute("delay", value.c_str(), arena);

    NoImages skin;
    corlist::ImageElement image(skin);
    for (const char* name : {"source", "source_a", "transColor", "colorize", "flags", "imgindex", "imgList",
                             "opacity", "repeat", "repeatmask"})
        image.SetAttribute(name, value.c_str(), arena);
    Check(image.Columns() >= 1 && image.Rows() >= 1);
    Check(image.RepeatWidth() >= 0 && image.RepeatHeight() >= 0);
    Check(image.RepeatMaskWidth() >= 1 && image.RepeatMaskHeight() >= 1);
    Check(image.Opacity() >= -1 && image.Opacity() <= 256);

    FeedDescriptors(value.c_str(), arena, skin);
    return 0;
}
