// Arbitrary bytes as a skin attribute value given to every attribute of the colour, fill,
// effect and image elements, and read by the colour notation and the word lists. Values
// must stay in their ranges whatever the text.
#include "common/NodeArena.h"
#include "corlist/skin/AttributeValues.h"
#include "corlist/skin/ColourNotation.h"
#include "corlist/skin/EffectElement.h"
#include "corlist/skin/FillElement.h"
#include "corlist/skin/ImageElement.h"
#include "corlist/skin/SkinImageProvider.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
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
    return 0;
}
